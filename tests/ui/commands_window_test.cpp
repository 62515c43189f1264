// Menus, shortcuts, the country menu and the settings file, the option check boxes with
// their dialogs, the completeness jump, help and About.

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QSpinBox>
#include <QTableWidget>

#include "commands_fixture.h"
#include "ui/About.h"
#include "ui/FasadAvst.h"

using WindowCommands = CommandsTest;

TEST_F(WindowCommands, ShortcutsAndStartStatesOfTheMenus)
{
    QStringList tops;
    for (QAction* a : form->menuBar()->actions()) tops << a->text();
    EXPECT_EQ(tops, (QStringList{"&Arkiv", "&Resultat", "A&vsluta", QString::fromUtf8("&Hjälp")}));
    // Ctrl+S belongs to "&Spara" alone; "&Skrivare" only shows it.
    QList<QAction*> withCtrlS;
    for (QAction* a : form->findChildren<QAction*>())
        if (a->shortcut() == QKeySequence("Ctrl+S")) withCtrlS << a;
    EXPECT_EQ(withCtrlS, QList<QAction*>{form->Meny_Arkiv_Spara});
    EXPECT_TRUE(form->Meny_Resultat_Utskrift_Skrivare->text().endsWith("\tCtrl+S"));
    EXPECT_EQ(form->Meny_Arkiv_Hamta->shortcut(), QKeySequence("Ctrl+H"));
    EXPECT_EQ(form->Meny_Resultat_Utskrift_Granska->shortcut(), QKeySequence("Ctrl+G"));
    EXPECT_FALSE(form->Meny_Resultat_Utskrift_Exportera->isVisible());
    EXPECT_FALSE(form->Meny_Resultat_Berakning->isEnabled());
    EXPECT_FALSE(form->Meny_Resultat_Utskrift->isEnabled());
    EXPECT_TRUE(form->Meny_Resultat_Testa->isEnabled());

    // Ctrl+H opens.
    ProjectRecord p = startupDefaults("2026-01-01 00:00:00");
    p.trainCount = 3;
    writeProject(path("h.sdb").toStdString(), p);
    plat->fileAnswers.push_back(path("h.sdb"));
    QTest::keyClick(trains(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(r().trainCount, 3);
}

TEST_F(WindowCommands, CountryMenuKeepsOneTickAndWritesTheSetting)
{
    EXPECT_TRUE(form->Meny_Arkiv_Land_Sverige->isChecked());
    form->Meny_Arkiv_Land_Norge->trigger();
    EXPECT_TRUE(form->Meny_Arkiv_Land_Norge->isChecked());
    EXPECT_FALSE(form->Meny_Arkiv_Land_Sverige->isChecked());
    EXPECT_EQ(r().country, 0);
    EXPECT_EQ(settings->land(), "Norge");
    EXPECT_EQ(r().nationality[1], 1);  // existing trains keep theirs
    form->Meny_Arkiv_Land_Norge->trigger();  // the ticked item stays ticked
    EXPECT_TRUE(form->Meny_Arkiv_Land_Norge->isChecked());
    form->Meny_Arkiv_Land_Finland->trigger();
    EXPECT_EQ(settings->land(), "Finland");
    ASSERT_TRUE(form->newCommand());
    EXPECT_EQ(r().nationality[1], 2);  // New takes the chosen country
    EXPECT_EQ(r().nationality[6], 2);

    // Open ticks the country of the file as if it had been chosen.
    ProjectRecord p = startupDefaults("2026-01-01 00:00:00");
    p.country = 0;
    for (int t = 1; t <= kMaxTrains; ++t) p.nationality[t] = 0;
    writeProject(path("norsk.sdb").toStdString(), p);
    openFile(path("norsk.sdb"));
    EXPECT_TRUE(form->Meny_Arkiv_Land_Norge->isChecked());
    EXPECT_FALSE(form->Meny_Arkiv_Land_Finland->isChecked());
    EXPECT_EQ(settings->land(), "Norge");
    EXPECT_FALSE(doc().modified);
}

TEST_F(WindowCommands, SettingsFileHoldsItsKeysAsNumbersAndTheFocusedSegment)
{
    type(stretches(), 6, 1, "45");
    ASSERT_EQ(form->SpinEdit1->maximum(), 22);
    form->SpinEdit1->setValue(5);  // not focused: not a setting
    EXPECT_EQ(settings->segment(), 1);
    form->SpinEdit1->setFocus();
    QTest::keyClick(form->SpinEdit1, Qt::Key_Up);
    EXPECT_EQ(settings->segment(), form->SpinEdit1->value());
    EXPECT_GT(settings->segment(), 1);

    fillCompleteProject();
    saveAs(path("p.sdb"));
    QFile f(settings->path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    for (const char* line : {"[Skenbrus]", "[Debug]", "Land=Sverige", "Ekvivalent=0", "Max=0"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    EXPECT_TRUE(text.contains(QStringLiteral("Segment=%1").arg(settings->segment())));
    EXPECT_TRUE(text.contains(QStringLiteral("CurrentDir=")));
    EXPECT_EQ(settings->currentDir(), dir.path());
}

TEST_F(WindowCommands, OptionBoxClicksOpenTheirDialogsUnlessTickedByTheReader)
{
    int indoor = 0, facade = 0;
    form->indoorDialog = [&] { ++indoor; };
    form->facadeDialog = [&] {
        ++facade;
        r().facadeDistance = 5.0f;
    };

    QTest::mouseClick(form->CheckBox_Inneniva, Qt::LeftButton);
    EXPECT_EQ(indoor, 1);
    EXPECT_EQ(r().indoorLevelOn, 1);
    EXPECT_TRUE(doc().modified);
    QTest::mouseClick(form->CheckBox_Inneniva, Qt::LeftButton);  // clearing opens nothing
    EXPECT_EQ(indoor, 1);
    EXPECT_EQ(r().indoorLevelOn, 0);

    // A file with the indoor level on: ticked without a dialog, the next click clears it
    // without one, and a later tick asks again.
    ProjectRecord p = startupDefaults("2026-01-01 00:00:00");
    p.indoorLevelOn = 1;
    p.facadeReflectionOn = 1;
    p.facadeDistance = 25.0f;  // outside 0.5..20 m: read with the correction off
    writeProject(path("inne.sdb").toStdString(), p);
    plat->answers = {MsgAnswer::No};
    openFile(path("inne.sdb"));
    EXPECT_TRUE(form->CheckBox_Inneniva->isChecked());
    EXPECT_FALSE(form->CheckBox_Korrektion->isChecked());
    EXPECT_EQ(r().facadeReflectionOn, 0);
    EXPECT_EQ(indoor, 1);
    EXPECT_EQ(facade, 0);
    EXPECT_FALSE(doc().modified);
    QTest::mouseClick(form->CheckBox_Inneniva, Qt::LeftButton);
    EXPECT_FALSE(form->CheckBox_Inneniva->isChecked());
    EXPECT_EQ(indoor, 1);
    QTest::mouseClick(form->CheckBox_Inneniva, Qt::LeftButton);
    EXPECT_EQ(indoor, 2);

    // The right button opens the dialog whether or not the box is ticked.
    QTest::mouseClick(form->CheckBox_Korrektion, Qt::RightButton);
    EXPECT_EQ(facade, 1);
    EXPECT_FALSE(form->CheckBox_Korrektion->isChecked());
    QTest::mouseClick(form->CheckBox_Korrektion, Qt::LeftButton);
    EXPECT_EQ(facade, 2);
    EXPECT_EQ(r().facadeReflectionOn, 1);
}

TEST_F(WindowCommands, FacadeDialogFromTheBoxTakesHalfToTwentyMetres)
{
    auto enter = [&](const QString& text, std::deque<MsgAnswer> answers = {}) {
        plat->answers = answers;
        onNextModal([text](QWidget* w) {
            auto* d = qobject_cast<TForm_FasadAvst*>(w);
            ASSERT_NE(d, nullptr);
            QTest::keyClick(d->editor(), Qt::Key_F1);  // its own help topic
            d->editor()->setText(text);
            QTest::keyClick(d->editor(), Qt::Key_Return);
            // A refused value leaves the dialog open after Retry: give up with Abort then.
            if (d->isVisible()) {
                ScriptedPlatform& p = static_cast<ScriptedPlatform&>(platform());
                p.answers = {MsgAnswer::Abort};
                QTest::keyClick(d->editor(), Qt::Key_Return);
            }
        });
    };
    enter("0.5");
    QTest::mouseClick(form->CheckBox_Korrektion, Qt::LeftButton);
    EXPECT_FLOAT_EQ(r().facadeDistance, 0.5f);
    EXPECT_TRUE(plat->messages.empty());

    enter("20");
    QTest::mouseClick(form->CheckBox_Korrektion, Qt::RightButton);
    EXPECT_FLOAT_EQ(r().facadeDistance, 20.0f);
    EXPECT_TRUE(plat->messages.empty());

    enter("20.1", {MsgAnswer::Retry});
    QTest::mouseClick(form->CheckBox_Korrektion, Qt::RightButton);
    ASSERT_EQ(plat->messages.size(), 2u);
    EXPECT_EQ(plat->messages[0].text, "Fasadavståndet måste ligga mellan 0.5 och 20 meter!");
    EXPECT_EQ(plat->messages[0].buttons, MsgButtons::AbortRetry);
    // Abort: the distance is 0 and the box is cleared, as the project would read back.
    EXPECT_EQ(r().facadeDistance, 0.0f);
    EXPECT_FALSE(form->CheckBox_Korrektion->isChecked());
    EXPECT_EQ(r().facadeReflectionOn, 0);
    EXPECT_EQ(plat->helpContexts, (std::vector<int>{201, 201, 201}));
}

TEST_F(WindowCommands, EditAfterARunThroughAnOptionDialogHidesTheResults)
{
    fillCompleteProject();
    QTest::mouseClick(form->Button_Berakning, Qt::LeftButton);
    ASSERT_TRUE(form->resultsCurrent());
    form->facadeDialog = [&] { r().facadeDistance = 3.0f; };
    QTest::mouseClick(form->CheckBox_Korrektion, Qt::RightButton);
    EXPECT_FALSE(form->resultsCurrent());
    EXPECT_FALSE(resultsShown());
    EXPECT_TRUE(form->Button_Berakning->isEnabled());
}

TEST_F(WindowCommands, TestaMovesToTheFirstMissingCell)
{
    form->PageControl->setCurrentWidget(form->PageControl_Delstrackor);
    form->Meny_Resultat_Testa->trigger();
    EXPECT_EQ(form->PageControl->currentWidget(), form->PageControl_TagInfo);
    EXPECT_TRUE(trains()->hasFocus());
    EXPECT_EQ(trains()->currentRow(), 1);
    EXPECT_EQ(trains()->currentColumn(), 1);

    type(trains(), 1, 1, "3000");
    type(trains(), 2, 1, "200");
    type(trains(), 3, 1, "120");
    addStretches(1);
    type(stretches(), 6, 1, "45");
    form->PageControl->setCurrentWidget(form->PageControl_TagInfo);
    form->Meny_Resultat_Testa->trigger();
    const MissingInput m = firstMissingInput(r());
    ASSERT_EQ(m.table, MissingInput::Table::Stretch);
    EXPECT_EQ(form->PageControl->currentWidget(), form->PageControl_Delstrackor);
    EXPECT_TRUE(stretches()->hasFocus());
    EXPECT_EQ(stretches()->currentRow(), m.row);
    EXPECT_EQ(stretches()->currentColumn(), 2);
}

TEST_F(WindowCommands, HelpFollowsTheFocusedFieldAndAboutShowsTheVersion)
{
    form->Meny_Hjalp_Innehall->trigger();
    showPage(stretches());
    stretches()->setCurrentCell(6, 1);
    QTest::keyClick(stretches(), Qt::Key_F1);
    form->StringGrid_Info->setFocus();
    form->Meny_Hjalp_AktuelltFalt->trigger();
    EXPECT_EQ(plat->helpContexts, (std::vector<int>{0, 105, 10}));

    form->Meny_Hjalp_Om->trigger();
    EXPECT_TRUE(form->Form_About->isVisible());
    auto* version = form->Form_About->findChild<QLabel*>("Label_Version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Version 4.5.0.4");
    QTest::mouseClick(form->Form_About->findChild<QPushButton*>("Button_Ok"), Qt::LeftButton);
    EXPECT_FALSE(form->Form_About->isVisible());
}

TEST_F(WindowCommands, PendingCellEditIsTakenBeforeACommandOrStopsIt)
{
    // A valid entry in progress is stored before Save As writes.
    auto* e = qobject_cast<QLineEdit*>(open(trains(), 1, 1));
    ASSERT_NE(e, nullptr);
    e->setText("2500");
    saveAs(path("p.sdb"));
    EXPECT_EQ(onDisk(path("p.sdb")).trainLengthPerDay[1], 2500);

    // A refused one shows its message and the command does not run.
    e = qobject_cast<QLineEdit*>(open(stretches(), 4, 1));
    ASSERT_NE(e, nullptr);
    e->setText("400");
    const size_t files = plat->fileAnswers.size();
    plat->fileAnswers.push_back(path("q.sdb"));
    form->Meny_Arkiv_SparaSom->trigger();
    EXPECT_FALSE(QFile::exists(path("q.sdb")));
    EXPECT_EQ(plat->fileAnswers.size(), files + 1);  // the dialog was not shown
    EXPECT_FALSE(lastMessage().isEmpty());
}
