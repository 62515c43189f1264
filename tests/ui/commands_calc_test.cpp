// The calculation command through the window: results page against the engine, the states
// of the commands around a run, the screen-case refusal, radius errors, messages and "Avbryt".

#include <QProgressBar>
#include <QSignalSpy>

#include "calc/Run.h"
#include "commands_fixture.h"
#include "ui/Berakning.h"
#include "ui/NumberText.h"
#include "ui/ResultPage.h"

namespace {
struct EngineRun {
    bool ran = false;
    CalcResults res;
    QStringList messages;
};
}  // namespace

class CalcCommand : public CommandsTest {
protected:
    // What the engine gives for the project as the window holds it, on a copy.
    EngineRun engine()
    {
        EngineRun e;
        ProjectRecord copy = r();
        AngleFactors f = form->angleFactors();
        RunSettings rs;
        rs.segmentLength = doc().segmentLength;
        rs.facadeBoxChecked = form->CheckBox_Korrektion()->isChecked();
        rs.indoorBoxChecked = form->CheckBox_Inneniva()->isChecked();
        e.ran = RunCalculation(copy, rs, f, [&](const RunMessage& m) { e.messages << QString::fromStdString(m.text); },
                               {}, e.res);
        return e;
    }
    QString cell(QTableWidget* t, int row, int col) { return t->item(row, col)->text(); }
    ResultPage* page() { return form->resultPage(); }
    void calculate() { QTest::mouseClick(form->Button_Berakning(), Qt::LeftButton); }
};

TEST_F(CalcCommand, NewProjectFilledThroughTheTablesShowsTheEngineResults)
{
    ASSERT_TRUE(form->fileCommands().newCommand());
    EXPECT_FALSE(item("Meny_Resultat_Berakning")->isEnabled());
    fillCompleteProject();
    addStretches(1);
    choose(stretches(), 1, 2, "2");  // second stretch on track 2
    type(stretches(), 6, 2, "80");
    ASSERT_TRUE(trains()->model()->setData(trains()->model()->index(6, 0), Qt::Checked, Qt::CheckStateRole));
    ASSERT_TRUE(firstMissingInput(r()).complete());
    EXPECT_TRUE(item("Meny_Resultat_Berakning")->isEnabled());
    EXPECT_FALSE(menu("Meny_Resultat_Utskrift")->isEnabled());  // no current results yet

    const EngineRun expected = engine();
    ASSERT_TRUE(expected.ran);
    QSignalSpy current(form.get(), &TForm_Skenbrus::resultsCurrentChanged);
    const QSize size = form->size();
    calculate();

    EXPECT_TRUE(resultsShown());
    QApplication::processEvents();
    EXPECT_EQ(form->size(), size);  // the window keeps its size for the results page
    EXPECT_EQ(form->PageControl()->currentWidget(), form->Pagecontrol_Resultat());
    EXPECT_TRUE(form->resultsCurrent());
    ASSERT_EQ(current.count(), 1);
    EXPECT_TRUE(current.at(0).at(0).toBool());
    EXPECT_FALSE(form->Button_Berakning()->isEnabled());
    EXPECT_FALSE(item("Meny_Resultat_Berakning")->isEnabled());
    EXPECT_TRUE(menu("Meny_Resultat_Utskrift")->isEnabled());
    EXPECT_TRUE(item("Meny_Resultat_Utskrift_Granska")->isEnabled());
    EXPECT_FALSE(form->CheckBox_Inneniva()->isVisible());
    EXPECT_FALSE(form->CheckBox_Korrektion()->isVisible());
    EXPECT_EQ(form->PageControl()->property("helpContext").toInt(), 80);

    const CalcResults& got = form->results();
    EXPECT_EQ(got.FreeFieldEq, expected.res.FreeFieldEq);
    for (int s = 1; s <= 2; ++s) {
        EXPECT_EQ(got.StretchEqLevel[s], expected.res.StretchEqLevel[s]);
        EXPECT_EQ(got.StretchMaxLevel[s], expected.res.StretchMaxLevel[s]);
    }
    QTableWidget* res = page()->OvcTable_Res;
    EXPECT_EQ(cell(res, 0, 0), "Resultat");
    EXPECT_EQ(cell(res, 0, 1), "Ekv. ");
    EXPECT_EQ(cell(res, 0, 3), QString::fromUtf8("Max. samv. tåg/spår"));
    EXPECT_EQ(cell(res, 1, 0), QString::fromUtf8("Frifältsvärde (dBA)"));
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(cell(res, 1, c), ResultPage::wholeText(expected.res.ResultGrid[1][c])) << c;
    EXPECT_TRUE(res->isRowHidden(2));  // no option box: no corrected row
    EXPECT_EQ(res->width(), 700 + 2 * res->frameWidth());  // two tracks
    EXPECT_FALSE(res->isColumnHidden(3));

    QTableWidget* del = page()->OvcTable_DelRes;
    EXPECT_EQ(cell(del, 0, 0), QString::fromUtf8("Delsträcka"));
    EXPECT_EQ(cell(del, 1, 0), QString::fromUtf8("Bullertillskott för ekv. nivå (dBA)"));
    for (int s = 1; s <= 2; ++s) {
        EXPECT_EQ(cell(del, 1, s), ResultPage::tenthText(expected.res.StretchEqLevel[s]));
        EXPECT_EQ(cell(del, 2, s), ResultPage::tenthText(expected.res.StretchMaxLevel[s]));
    }
    EXPECT_TRUE(del->isColumnHidden(3));
    QTableWidget* spar = page()->OvcTable_SparRes;
    for (int k = 1; k <= 2; ++k) {
        EXPECT_EQ(cell(spar, 1, k), ResultPage::tenthText(expected.res.TrackEqLevel[k]));
        EXPECT_EQ(cell(spar, 2, k), ResultPage::tenthText(expected.res.TrackMaxLevel[k]));
    }
    // Tracks above stretches, 20 pixels apart.
    EXPECT_EQ(spar->y(), res->geometry().bottom() + 1 + 20);
    EXPECT_EQ(del->y(), spar->geometry().bottom() + 1 + 20);

    // Any edit hides the results again and re-enables the calculation.
    form->PageControl()->setCurrentWidget(form->PageControl_TagInfo());
    type(trains(), 3, 1, "130");
    EXPECT_FALSE(resultsShown());
    EXPECT_FALSE(form->resultsCurrent());
    ASSERT_EQ(current.count(), 2);
    EXPECT_FALSE(current.at(1).at(0).toBool());
    EXPECT_TRUE(form->Button_Berakning()->isEnabled());
    EXPECT_TRUE(item("Meny_Resultat_Berakning")->isEnabled());
    EXPECT_FALSE(menu("Meny_Resultat_Utskrift")->isEnabled());
    EXPECT_TRUE(form->CheckBox_Inneniva()->isVisible());
}

TEST_F(CalcCommand, OptionBoxesGiveTheCorrectedRows)
{
    fillCompleteProject();
    r().facadeDistance = 1.0f;
    r().facadeReflectionOn = 1;
    r().indoorLevelOn = 1;
    form->showProject();
    const EngineRun expected = engine();
    calculate();
    QTableWidget* res = page()->OvcTable_Res;
    EXPECT_FALSE(res->isRowHidden(2));
    EXPECT_FALSE(res->isRowHidden(3));
    EXPECT_TRUE(res->isColumnHidden(3));  // one track: no simultaneous column
    EXPECT_EQ(res->width(), 560 + 2 * res->frameWidth());
    for (int row = 2; row <= 3; ++row) {
        EXPECT_EQ(cell(res, row, 0), QString::fromStdString(expected.res.ResultRowLabel[row]).left(70));
        for (int c = 1; c <= 2; ++c) EXPECT_EQ(cell(res, row, c), ResultPage::wholeText(expected.res.ResultGrid[row][c]));
    }
    EXPECT_TRUE(cell(res, 2, 0).startsWith(QString::fromUtf8("Innenivå efter korrektion för fasadisolering (")));
    EXPECT_TRUE(cell(res, 3, 0).startsWith(QString::fromUtf8("Utenivå framför fasad")));
    EXPECT_EQ(cell(res, 3, 1).toInt(), cell(res, 1, 1).toInt() + 3);
}

// A cross-section in use whose ridge stands above the line of sight (no screen): the run is
// refused whichever cross-section was classified last.
static void blockStretch(ProjectRecord& r, int s)
{
    r.crossSectionOn[s] = 1;
    r.bpCount[s] = 3;
    r.bpDistance[s][3] = r.bpDistance[s][2];
    r.bpLabel[s][3] = r.bpLabel[s][2];
    r.bpDistance[s][2] = r.bpDistance[s][3] / 2;
    r.bpHeight[s][2] = 5.0f;
    r.bpLabel[s][2].setBytes("BP");
}

TEST_F(CalcCommand, BlockedCrossSectionRefusesWithBeepAndWarning)
{
    fillCompleteProject();
    blockStretch(r(), 1);
    form->profileCheck().ProfileState = 0;
    const ProjectRecord before = r();
    calculate();
    EXPECT_EQ(plat->beeps, 1);
    ASSERT_EQ(plat->messages.size(), 1u);
    EXPECT_EQ(plat->messages[0].text, QString::fromUtf8("Tvärsnittet för delsträcka 1 bör räknas som skärmfall eftersom\n"
                                                        "någon/några brytpunkter ligger ovanför siktlinjen!"));
    EXPECT_EQ(plat->messages[0].buttons, MsgButtons::Ok);
    EXPECT_FALSE(resultsShown());
    EXPECT_FALSE(form->resultsCurrent());
    EXPECT_FALSE(form->calculationCommand().Form_Berakning()->isVisible());
    EXPECT_TRUE(r() == before);
}

TEST_F(CalcCommand, RadiusErrorShowsTheMessagesInOrderAndNoResultsPage)
{
    fillCompleteProject();
    r().shape[1] = 1;
    r().angleFrom[1] = 60;
    r().angleTo[1] = 120;
    r().startDistance[1] = r().endDistance[1] = 100.0f;
    r().radius[1] = 40.0f;  // chord 100 m does not fit
    r().maxTrainLength[1] = 600;
    form->showProject();
    ASSERT_TRUE(form->Button_Berakning()->isEnabled());
    const EngineRun expected = engine();
    ASSERT_TRUE(expected.res.RadiusError);
    ASSERT_GE(expected.messages.size(), 1);

    calculate();
    EXPECT_EQ(plat->messageTexts(), expected.messages);
    EXPECT_EQ(plat->messages.front().text, QString::fromUtf8("Felaktig radie. Beräkning kan ej utföras på sträckan!"));
    EXPECT_FALSE(resultsShown());
    EXPECT_FALSE(form->resultsCurrent());
    EXPECT_FALSE(form->calculationCommand().Form_Berakning()->isVisible());
    EXPECT_EQ(form->results().StretchEqLevel[1], 0.0f);
}

TEST_F(CalcCommand, AvbrytStopsTheRunAndKeepsThePreviousResults)
{
    fillCompleteProject();
    calculate();
    ASSERT_TRUE(form->resultsCurrent());
    const CalcResults first = form->results();

    type(trains(), 1, 1, "9000");
    ASSERT_FALSE(resultsShown());
    TForm_Berakning* progress = form->calculationCommand().Form_Berakning();
    std::vector<int> seen;
    QObject::connect(progress->meter(), &QProgressBar::valueChanged, [&](int v) {
        seen.push_back(v);
        if (v > 0) progress->cancelButton()->click();
    });
    calculate();
    EXPECT_FALSE(seen.empty());
    EXPECT_FALSE(resultsShown());
    EXPECT_FALSE(form->resultsCurrent());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(form->results().FreeFieldEq, first.FreeFieldEq);
    EXPECT_EQ(form->results().StretchEqLevel[1], first.StretchEqLevel[1]);
    EXPECT_TRUE(plat->messages.empty());
    // The next run is not cancelled by the old press.
    QObject::disconnect(progress->meter(), nullptr, nullptr, nullptr);
    calculate();
    EXPECT_TRUE(form->resultsCurrent());
    EXPECT_GT(form->results().FreeFieldEq, first.FreeFieldEq);
}

TEST_F(CalcCommand, MenuItemRunsTheCalculationAndStaysDisabledUntilTheNextEdit)
{
    fillCompleteProject();
    blockStretch(r(), 1);  // refused: nothing shown, the item still goes grey
    item("Meny_Resultat_Berakning")->trigger();
    EXPECT_EQ(plat->messages.size(), 1u);
    EXPECT_FALSE(item("Meny_Resultat_Berakning")->isEnabled());
    EXPECT_TRUE(form->Button_Berakning()->isEnabled());
    type(trains(), 3, 1, "121");
    EXPECT_TRUE(item("Meny_Resultat_Berakning")->isEnabled());
    r().crossSectionOn[1] = 0;
    item("Meny_Resultat_Berakning")->trigger();
    EXPECT_TRUE(form->resultsCurrent());
    EXPECT_FALSE(item("Meny_Resultat_Berakning")->isEnabled());
}
