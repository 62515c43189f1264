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
    // "&Beräkning" as button and menu item, and the print menu.
    std::vector<bool> commandsEnabled()
    {
        return {form->Button_Berakning()->isEnabled(), item("Meny_Resultat_Berakning")->isEnabled(),
                menu("Meny_Resultat_Utskrift")->isEnabled()};
    }
};

TEST_F(CalcCommand, NewProjectFilledThroughTheTablesShowsTheEngineResults)
{
    ASSERT_TRUE(form->fileCommands().newCommand());
    fillCompleteProject();
    addStretches(1);
    choose(stretches(), 1, 2, "2");  // second stretch on track 2
    type(stretches(), 6, 2, "80");
    ASSERT_TRUE(trains()->model()->setData(trains()->model()->index(6, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(commandsEnabled(), (std::vector<bool>{true, true, false}));  // no current results yet

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
    EXPECT_EQ(commandsEnabled(), (std::vector<bool>{false, false, true}));
    EXPECT_FALSE(form->CheckBox_Inneniva()->isVisible());
    EXPECT_EQ(form->PageControl()->property("helpContext").toInt(), 80);

    // The tables show the engine's results: whole decibels in the grid, tenths per stretch
    // and per track.
    QTableWidget* res = page()->OvcTable_Res;
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(cell(res, 1, c), ResultPage::wholeText(expected.res.ResultGrid[1][c])) << c;
    EXPECT_TRUE(res->isRowHidden(2));  // no option box: no corrected row
    EXPECT_FALSE(res->isColumnHidden(3));  // two tracks: the simultaneous column
    QTableWidget* del = page()->OvcTable_DelRes;
    QTableWidget* spar = page()->OvcTable_SparRes;
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(cell(del, 1, i), ResultPage::tenthText(expected.res.StretchEqLevel[i]));
        EXPECT_EQ(cell(del, 2, i), ResultPage::tenthText(expected.res.StretchMaxLevel[i]));
        EXPECT_EQ(cell(spar, 1, i), ResultPage::tenthText(expected.res.TrackEqLevel[i]));
        EXPECT_EQ(cell(spar, 2, i), ResultPage::tenthText(expected.res.TrackMaxLevel[i]));
    }
    EXPECT_TRUE(del->isColumnHidden(3));
    EXPECT_EQ(form->results().FreeFieldEq, expected.res.FreeFieldEq);

    // Any edit hides the results again and re-enables the calculation.
    form->PageControl()->setCurrentWidget(form->PageControl_TagInfo());
    type(trains(), 3, 1, "130");
    EXPECT_FALSE(resultsShown());
    EXPECT_FALSE(form->resultsCurrent());
    ASSERT_EQ(current.count(), 2);
    EXPECT_EQ(commandsEnabled(), (std::vector<bool>{true, true, false}));
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
    EXPECT_TRUE(res->isColumnHidden(3));  // one track: no simultaneous column
    for (int row = 2; row <= 3; ++row) {
        EXPECT_FALSE(res->isRowHidden(row));
        EXPECT_EQ(cell(res, row, 0), QString::fromStdString(expected.res.ResultRowLabel[row]).left(70));
        for (int c = 1; c <= 2; ++c) EXPECT_EQ(cell(res, row, c), ResultPage::wholeText(expected.res.ResultGrid[row][c]));
    }
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

TEST_F(CalcCommand, BlockedCrossSectionRefusesWithBeepAndWarningFromButtonAndMenu)
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

    // The same from the menu: refused, and the item goes grey until the next edit.
    item("Meny_Resultat_Berakning")->trigger();
    EXPECT_EQ(plat->messages.size(), 2u);
    EXPECT_EQ(commandsEnabled(), (std::vector<bool>{true, false, false}));
    type(trains(), 3, 1, "121");
    r().crossSectionOn[1] = 0;
    item("Meny_Resultat_Berakning")->trigger();
    EXPECT_TRUE(form->resultsCurrent());
    EXPECT_EQ(commandsEnabled(), (std::vector<bool>{false, false, true}));
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
    EXPECT_TRUE(plat->messages.empty());
    // The next run is not cancelled by the old press.
    QObject::disconnect(progress->meter(), nullptr, nullptr, nullptr);
    calculate();
    EXPECT_TRUE(form->resultsCurrent());
    EXPECT_GT(form->results().FreeFieldEq, first.FreeFieldEq);
}
