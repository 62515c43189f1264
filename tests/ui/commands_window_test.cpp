// The main window as a whole: the completeness check and its jump, project texts, shortcuts,
// the country menu and the settings, the option check boxes with their dialogs, help, and
// pending cell edits before a command.

#include <QSpinBox>

#include "commands_fixture.h"
#include "ui/FasadAvst.h"

class WindowCommands : public CommandsTest {
protected:
    // The facade-distance dialog answered as a user does: F1 for its help, the distance and Enter;
    // a refused value gets `answers` (after Retry the dialog is still open: Enter again, Abort).
    void answerFacade(const QString& text, std::deque<MsgAnswer> answers = {})
    {
        answerDialog([this, text, answers](QDialog& d) {
            QLineEdit* e = qobject_cast<TForm_FasadAvst*>(&d)->editor();
            d.show();
            QApplication::setActiveWindow(&d);  // the shortcut needs its window active
            QTest::keyClick(e, Qt::Key_F1);
            e->selectAll();
            QTest::keyClicks(e, text);
            plat->answers = answers;
            QTest::keyClick(e, Qt::Key_Return);
            if (d.isVisible()) QTest::keyClick(e, Qt::Key_Return);  // the queue is empty: Abort
            return d.result();
        });
    }
};

TEST_F(WindowCommands, ShortcutsBelongToOneItem)
{
    // "&Skrivare" only shows Ctrl+S, which saves (pressed with "&Skrivare" enabled in the file
    // commands' test).
    EXPECT_TRUE(item("Meny_Resultat_Utskrift_Skrivare")->text().endsWith("\tCtrl+S"));

    // Ctrl+H opens.
    const QString example = QStringLiteral(SKENBRUS_SOURCE_DIR "/examples/stationsvagen.sdb");
    plat->fileAnswers.push_back(example);
    QTest::keyClick(trains(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(QString::fromStdString(doc().currentFileName), example);
}

TEST_F(WindowCommands, CountryMenuKeepsOneTickAndWritesTheSetting)
{
    const auto ticked = [&] {
        return std::vector<bool>{item("Meny_Arkiv_Land_Norge")->isChecked(), item("Meny_Arkiv_Land_Sverige")->isChecked(),
                                 item("Meny_Arkiv_Land_Finland")->isChecked()};
    };
    EXPECT_EQ(ticked(), (std::vector<bool>{false, true, false}));
    item("Meny_Arkiv_Land_Norge")->trigger();
    item("Meny_Arkiv_Land_Norge")->trigger();  // the ticked item stays ticked
    // Existing trains keep their nationality.
    EXPECT_EQ(std::tuple(ticked(), r().country, settings->land(), r().nationality[1]),
              std::tuple(std::vector<bool>{true, false, false}, 0, QString("Norge"), 1));
    item("Meny_Arkiv_Land_Finland")->trigger();
    ASSERT_TRUE(form->fileCommands().newCommand());
    EXPECT_EQ(r().nationality[6], 2);  // New takes the chosen country

    // Open ticks the country of the file as if it had been chosen.
    ProjectRecord p = startupDefaults("2026-01-01 00:00:00");
    p.country = 0;
    for (int t = 1; t <= kMaxTrains; ++t) p.nationality[t] = 0;
    writeProject(path("norsk.sdb").toStdString(), p);
    openFile(path("norsk.sdb"));
    EXPECT_EQ(std::tuple(ticked(), settings->land(), doc().modified),
              std::tuple(std::vector<bool>{true, false, false}, QString("Norge"), false));
}

TEST_F(WindowCommands, OnlyTheSegmentTheUserSetsBecomesTheSetting)
{
    type(stretches(), 6, 1, "45");
    ASSERT_EQ(form->SpinEdit1()->maximum(), 22);
    form->SpinEdit1()->setValue(5);  // not focused: not a setting
    EXPECT_EQ(settings->segment(), 1);
    form->SpinEdit1()->setFocus();
    QTest::keyClick(form->SpinEdit1(), Qt::Key_Up);
    EXPECT_EQ(std::pair(settings->segment(), form->SpinEdit1()->value()), std::pair(6, 6));
}

TEST_F(WindowCommands, OptionBoxClicksOpenTheirDialogsUnlessTickedByTheReader)
{
    QTest::mouseClick(form->CheckBox_Inneniva(), Qt::LeftButton);
    EXPECT_TRUE(doc().modified);
    QTest::mouseClick(form->CheckBox_Inneniva(), Qt::LeftButton);  // clearing opens nothing
    EXPECT_EQ(r().indoorLevelOn, 0);

    // A file with the indoor level on: ticked without a dialog, the next click clears it
    // without one, and a later tick asks again.
    ProjectRecord p = startupDefaults("2026-01-01 00:00:00");
    p.indoorLevelOn = 1;
    writeProject(path("inne.sdb").toStdString(), p);
    plat->answers = {MsgAnswer::No};
    openFile(path("inne.sdb"));
    EXPECT_EQ(std::pair(form->CheckBox_Inneniva()->isChecked(), doc().modified), std::pair(true, false));
    QTest::mouseClick(form->CheckBox_Inneniva(), Qt::LeftButton);
    EXPECT_FALSE(form->CheckBox_Inneniva()->isChecked());
    QTest::mouseClick(form->CheckBox_Inneniva(), Qt::LeftButton);
    EXPECT_EQ(plat->dialogs, std::vector<QString>(2, "TForm_Inneniva"));
}

TEST_F(WindowCommands, FacadeDialogTakesHalfToTwentyMetresAndItsEditsHideTheResults)
{
    calculateComplete();
    // The right button opens the dialog whether or not the box is ticked; a changed distance
    // is an edit.
    answerFacade("0.5");
    QTest::mouseClick(form->CheckBox_Korrektion(), Qt::RightButton);
    EXPECT_EQ(std::tuple(r().facadeDistance, form->CheckBox_Korrektion()->isChecked(), form->resultsCurrent(), resultsShown(),
                         form->Button_Berakning()->isEnabled()),
              std::tuple(0.5f, false, false, false, true));

    for (const auto& [typed, stored] : {std::pair("12,5", 12.5f), std::pair("20", 20.0f)}) {  // either separator
        answerFacade(typed);
        QTest::mouseClick(form->CheckBox_Korrektion(), Qt::LeftButton);
        EXPECT_EQ(std::pair(form->CheckBox_Korrektion()->isChecked(), r().facadeDistance), std::pair(true, stored));
        if (stored < 20.0f) QTest::mouseClick(form->CheckBox_Korrektion(), Qt::LeftButton);  // cleared again
    }
    EXPECT_TRUE(plat->messages.empty());

    answerFacade("20.1", {MsgAnswer::Retry});
    QTest::mouseClick(form->CheckBox_Korrektion(), Qt::RightButton);
    ASSERT_EQ(plat->messages.size(), 2u);
    EXPECT_EQ(std::pair(plat->messages[0].text, plat->messages[0].buttons),
              std::pair(QString("Fasadavståndet måste ligga mellan 0.5 och 20 meter!"), MsgButtons::AbortRetry));
    // Abort: the distance is 0 and the box is cleared, as the project would read back.
    EXPECT_EQ(std::tuple(r().facadeDistance, form->CheckBox_Korrektion()->isChecked(), r().facadeReflectionOn, plat->helpContexts),
              std::tuple(0.0f, false, 0, std::vector<int>(4, 201)));
}

TEST_F(WindowCommands, TestaMovesToTheFirstMissingCell)
{
    form->PageControl()->setCurrentWidget(form->PageControl_Delstrackor());
    item("Meny_Resultat_Testa")->trigger();
    EXPECT_EQ(std::tuple(form->PageControl()->currentWidget(), trains()->hasFocus(), trains()->currentRow(), trains()->currentColumn()),
              std::tuple(form->PageControl_TagInfo(), true, 1, 1));

    fillCompleteProject();
    addStretches(1);
    form->PageControl()->setCurrentWidget(form->PageControl_TagInfo());
    item("Meny_Resultat_Testa")->trigger();
    const MissingInput m = firstMissingInput(r());
    ASSERT_EQ(m.table, MissingInput::Table::Stretch);
    EXPECT_EQ(std::tuple(stretches()->hasFocus(), stretches()->currentRow(), stretches()->currentColumn()), std::tuple(true, m.row, 2));
}

TEST_F(WindowCommands, PendingCellEditIsTakenBeforeACommandOrStopsIt)
{
    // A valid entry in progress is stored before Save As writes.
    showPage(trains());
    ASSERT_NE(typeInGrid(trains(), 1, 1, "2500"), nullptr);
    saveAs(path("p.sdb"));
    EXPECT_EQ(onDisk(path("p.sdb")).trainLengthPerDay[1], 2500);

    // A refused one shows its message and the command does not run.
    showPage(stretches());
    ASSERT_NE(typeInGrid(stretches(), 4, 1, "400"), nullptr);
    saveAs(path("q.sdb"));
    EXPECT_EQ(std::tuple(QFile::exists(path("q.sdb")), plat->fileAnswers.size(), lastMessage().isEmpty()),
              std::tuple(false, 1u, false));  // the file dialog was not shown
    plat->fileAnswers.clear();
}

TEST_F(WindowCommands, CalculationIsEnabledExactlyWhenTheProjectIsComplete)
{
    // Filled, then a second stretch without distance, then a second train without values.
    const std::pair<std::function<void()>, bool> steps[] = {
        {[] {}, false}, {[&] { fillCompleteProject(); }, true}, {[&] { addStretches(1); }, false},
        {[&] { type(stretches(), 6, 2, "80"); }, true}, {[&] { addTrains(1); }, false},
        {[&] { form->OvcSpinner1DownClick(); }, true}};
    for (const auto& [step, enabled] : steps) {
        step();
        EXPECT_EQ(std::pair(form->Button_Berakning()->isEnabled(), firstMissingInput(r()).complete()),
                  std::pair(enabled, enabled));
    }
}

TEST_F(WindowCommands, ProjectTextsAreCutAndStoredInWindows1252)
{
    QTableWidget* info = form->StringGrid_Info();
    info->item(0, 1)->setText(QString::fromUtf8("Kv. Åsen, bostäder"));
    EXPECT_EQ(std::pair(r().objectName.bytes(), doc().modified), std::pair(std::string("Kv. \xC5sen, bost\xE4" "der"), true));
    info->item(2, 1)->setText(QString(50, QLatin1Char('x')));
    EXPECT_EQ(info->item(2, 1)->text().size(), 39);
}

TEST_F(WindowCommands, StartupSettingsGiveCountryAndSegment)
{
    settings->setLand("Norge");
    settings->setSegment(3);
    form->applyStartupSettings(*settings);
    EXPECT_EQ(shown(trains(), 5, 1), "Norskt");
    // The segment is clamped into the range the distances allow.
    type(stretches(), 6, 1, "100");
    EXPECT_EQ(std::pair(form->SpinEdit1()->value(), doc().segmentLength), std::pair(3, 3));
}

TEST_F(WindowCommands, HelpFollowsTheFocusedRowOrField)
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
