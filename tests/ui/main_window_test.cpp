// The main window as a whole: completeness check, project texts, the start-up settings and help.

#include <QSpinBox>

#include "commands_fixture.h"

using MainWindow = CommandsTest;

TEST_F(MainWindow, CalculationIsEnabledExactlyWhenTheProjectIsComplete)
{
    const auto enabled = [&] {
        EXPECT_EQ(form->Button_Berakning()->isEnabled(), firstMissingInput(r()).complete());
        return form->Button_Berakning()->isEnabled();
    };
    EXPECT_FALSE(enabled());
    fillCompleteProject();
    EXPECT_TRUE(enabled());
    // A second stretch without distance, then a second train without values.
    addStretches(1);
    EXPECT_FALSE(enabled());
    type(stretches(), 6, 2, "80");
    EXPECT_TRUE(enabled());
    addTrains(1);
    EXPECT_FALSE(enabled());
    form->OvcSpinner1DownClick();
    EXPECT_TRUE(enabled());
}

TEST_F(MainWindow, ProjectTextsAreCutAndStoredInWindows1252)
{
    QTableWidget* info = form->StringGrid_Info();
    info->item(0, 1)->setText(QString::fromUtf8("Kv. Åsen, bostäder"));
    EXPECT_EQ(r().objectName.bytes(), std::string("Kv. \xC5sen, bost\xE4" "der"));
    EXPECT_TRUE(doc().modified);
    info->item(2, 1)->setText(QString(50, QLatin1Char('x')));
    EXPECT_EQ(info->item(2, 1)->text().size(), 39);
}

TEST_F(MainWindow, StartupSettingsGiveCountryAndSegment)
{
    settings->setLand("Norge");
    settings->setSegment(3);
    form->applyStartupSettings(*settings);
    EXPECT_EQ(shown(trains(), 5, 1), "Norskt");
    // The segment is clamped into the range the distances allow.
    type(stretches(), 6, 1, "100");
    EXPECT_EQ(form->SpinEdit1()->value(), 3);
    EXPECT_EQ(doc().segmentLength, 3);
    // A train added later is of the country's nationality.
    addTrains(1);
    EXPECT_EQ(r().nationality[2], 0);
}

TEST_F(MainWindow, HelpFollowsTheFocusedRowOrField)
{
    item("Meny_Hjalp_Innehall")->trigger();
    showPage(stretches());
    stretches()->setCurrentCell(9, 1);
    QTest::keyClick(stretches(), Qt::Key_F1);
    showPage(trains());
    trains()->setCurrentCell(6, 1);
    EXPECT_EQ(form->focusedHelpContext(), 56);
    open(trains(), 3, 1);  // an open editor answers for its table
    EXPECT_EQ(form->focusedHelpContext(), 53);
    form->StringGrid_Info()->setFocus();
    item("Meny_Hjalp_AktuelltFalt")->trigger();
    EXPECT_EQ(plat->helpContexts, (std::vector<int>{0, 106, 10}));
}
