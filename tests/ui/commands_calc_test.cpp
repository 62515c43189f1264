// The calculation command through the window: results page against the engine, the states
// of the commands around a run, the screen-case refusal, radius errors, messages and "Avbryt".

#include <QProgressBar>
#include <QSignalSpy>

#include "calc/Run.h"
#include "commands_fixture.h"
#include "ui/Berakning.h"
#include "ui/ResultPage.h"

class CalcCommand : public CommandsTest {
protected:
    QStringList engineMessages;
    // What the engine gives for the project as the window holds it, on a copy.
    CalcResults engine()
    {
        CalcResults res;
        ProjectRecord copy = r();
        AngleFactors f = form->angleFactors();
        RunSettings rs;
        rs.segmentLength = doc().segmentLength, rs.facadeBoxChecked = form->CheckBox_Korrektion()->isChecked();
        rs.indoorBoxChecked = form->CheckBox_Inneniva()->isChecked();
        const auto message = [&](const RunMessage& m) { engineMessages << QString::fromStdString(m.text); };
        RunCalculation(copy, rs, f, message, {}, res);
        return res;
    }
    QString cell(QTableWidget* t, int row, int col) { return t->item(row, col)->text(); }
    // "&Beräkning" as button and menu item, and the print menu.
    std::vector<bool> commandsEnabled()
    {
        return {form->Button_Berakning()->isEnabled(), item("Meny_Resultat_Berakning")->isEnabled(),
                menu("Meny_Resultat_Utskrift")->isEnabled()};
    }
    // A refused or stopped run leaves no results page and no progress window.
    void expectNoResults()
    {
        EXPECT_EQ(std::tuple(resultsShown(), form->resultsCurrent(), form->calculationCommand().Form_Berakning()->isVisible()),
                  std::tuple(false, false, false));
    }
};

TEST_F(CalcCommand, ResultsPageShowsTheEngineResultsUntilTheNextEdit)
{
    fillCompleteProject();
    addStretches(1);
    choose(stretches(), 1, 2, "2");  // second stretch on track 2
    type(stretches(), 6, 2, "80");
    ASSERT_TRUE(trains()->model()->setData(trains()->model()->index(6, 0), Qt::Checked, Qt::CheckStateRole));
    r().facadeDistance = 1.0f, r().facadeReflectionOn = 1, r().indoorLevelOn = 1;
    form->showProject();
    EXPECT_EQ(commandsEnabled(), (std::vector<bool>{true, true, false}));  // no current results yet

    const CalcResults expected = engine();
    QSignalSpy current(form.get(), &TForm_Skenbrus::resultsCurrentChanged);
    const QSize size = form->size();
    calculate();
    QApplication::processEvents();
    // The window keeps its size for the results page, which hides the option boxes.
    ASSERT_EQ(current.count(), 1);
    EXPECT_EQ(std::tuple(form->size(), form->PageControl()->currentWidget(), form->CheckBox_Inneniva()->isVisible(),
                         form->PageControl()->property("helpContext").toInt(), commandsEnabled()),
              std::tuple(size, form->Pagecontrol_Resultat(), false, 80, std::vector<bool>{false, false, true}));

    // Whole decibels in the grid with the rows of the option boxes, tenths per stretch and track.
    QTableWidget* res = named<QTableWidget>("OvcTable_Res");
    QTableWidget* del = named<QTableWidget>("OvcTable_DelRes");
    QTableWidget* spar = named<QTableWidget>("OvcTable_SparRes");
    for (int row = 1; row <= 3; ++row)
        for (int c = 1; c <= 3; ++c) EXPECT_EQ(cell(res, row, c), ResultPage::wholeText(expected.ResultGrid[row][c]));
    EXPECT_EQ(cell(res, 3, 0), QString::fromStdString(expected.ResultRowLabel[3]).left(70));
    EXPECT_FALSE(res->isColumnHidden(3));  // two tracks: the simultaneous column
    EXPECT_EQ(cell(del, 1, 2), ResultPage::tenthText(expected.StretchEqLevel[2]));
    EXPECT_EQ(cell(spar, 2, 2), ResultPage::tenthText(expected.TrackMaxLevel[2]));

    // Any edit hides the results again and re-enables the calculation.
    form->PageControl()->setCurrentWidget(form->PageControl_TagInfo());
    type(trains(), 3, 1, "130");
    expectNoResults();
    ASSERT_EQ(current.count(), 2);
    EXPECT_EQ(commandsEnabled(), (std::vector<bool>{true, true, false}));
    EXPECT_TRUE(form->CheckBox_Inneniva()->isVisible());
}

TEST_F(CalcCommand, RefusedRunsShowTheirMessagesAndNoResults)
{
    // A radius the chord does not fit: the engine's messages in order.
    fillCompleteProject();
    r().shape[1] = 1, r().angleFrom[1] = 60, r().angleTo[1] = 120, r().maxTrainLength[1] = 600;
    r().startDistance[1] = r().endDistance[1] = 100.0f;
    r().radius[1] = 40.0f;  // chord 100 m does not fit
    form->showProject();
    ASSERT_TRUE(engine().RadiusError);
    calculate();
    EXPECT_EQ(plat->messageTexts(), engineMessages);
    EXPECT_EQ(plat->messages.front().text, QString::fromUtf8("Felaktig radie. Beräkning kan ej utföras på sträckan!"));
    expectNoResults();
    EXPECT_EQ(form->results().StretchEqLevel[1], 0.0f);

    // A cross-section in use whose ridge stands above the line of sight (no screen) refuses
    // the run with a beep whichever cross-section was classified last.
    setProfile(r(), {{0, 0}, {20, 5}, {45, 0}});
    r().shape[1] = 0, r().crossSectionOn[1] = 1;
    form->profileCheck().ProfileState = 0;
    const ProjectRecord before = r();
    plat->messages.clear();
    calculate();
    EXPECT_EQ(plat->beeps, 1);
    EXPECT_EQ(plat->messageTexts(),
              QStringList{QString::fromUtf8("Tvärsnittet för delsträcka 1 bör räknas som skärmfall eftersom\n"
                                            "någon/några brytpunkter ligger ovanför siktlinjen!")});
    expectNoResults();
    EXPECT_TRUE(r() == before);
    // The same from the menu: refused, and the item goes grey until the next edit.
    item("Meny_Resultat_Berakning")->trigger();
    EXPECT_EQ(std::pair(plat->messages.size(), commandsEnabled()), std::pair(2ul, std::vector<bool>{true, false, false}));
    type(trains(), 3, 1, "121");
    r().crossSectionOn[1] = 0;
    item("Meny_Resultat_Berakning")->trigger();
    EXPECT_TRUE(form->resultsCurrent());
}

TEST_F(CalcCommand, AvbrytStopsTheRunAndKeepsThePreviousResults)
{
    calculateComplete();
    EXPECT_TRUE(named<QTableWidget>("OvcTable_Res")->isRowHidden(2));  // no option box: no corrected row
    EXPECT_TRUE(named<QTableWidget>("OvcTable_Res")->isColumnHidden(3));  // one track: no simultaneous column
    const CalcResults first = form->results();

    type(trains(), 1, 1, "9000");
    TForm_Berakning* progress = form->calculationCommand().Form_Berakning();
    QObject::connect(progress->meter(), &QProgressBar::valueChanged, [&](int v) {
        if (v > 0) QTest::mouseClick(progress->cancelButton(), Qt::LeftButton);
    });
    calculate();
    expectNoResults();
    EXPECT_EQ(std::pair(form->results().FreeFieldEq, plat->messages.size()), std::pair(first.FreeFieldEq, 0ul));
    // The next run is not cancelled by the old press.
    QObject::disconnect(progress->meter(), nullptr, nullptr, nullptr);
    calculate();
    EXPECT_TRUE(form->resultsCurrent());
    EXPECT_GT(form->results().FreeFieldEq, first.FreeFieldEq);
}
