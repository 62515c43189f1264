// File commands through the menus: Save, Save As, Open and New with their questions, the
// title bar and CurrentDir, and the flows that must not lose the user's unsaved work.

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <fstream>

#include "commands_fixture.h"

using FileCommandsTest = CommandsTest;

TEST_F(FileCommandsTest, SaveAsSaveAndCtrlSStampTheFileAndOpenBringsItBack)
{
    calculateComplete();
    ASSERT_TRUE(item("Meny_Resultat_Utskrift_Skrivare")->isEnabled());  // it shows Ctrl+S too
    const QString a = path("a.sdb");
    const QString title = QStringLiteral("Skenbrus  ") + QDir::toNativeSeparators(dir.path() + "/") + " - [a.sdb]";
    // Save As, Save and Ctrl+S each stamp the project before the write, so the file holds the
    // time of its own save. The texts are edited in the record: the results stay current.
    const std::function<void()> saves[] = {[&] { saveAs(a); }, [&] { form->fileCommands().saveCommand(); },
                                           [&] { QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier); }};
    for (int i = 0; i < 3; ++i) {
        r().objectName.setBytes("Kv. Banvakten " + std::to_string(i));
        r().lastUpdate.setBytes("2001-01-01 00:00:00"), doc().modified = true;
        saves[i]();
        const std::string stamp = r().lastUpdate.bytes();
        EXPECT_NE(stamp, "2001-01-01 00:00:00");
        EXPECT_EQ(std::tuple(doc().modified, onDisk(a).lastUpdate.bytes(), onDisk(a).objectName.bytes(),
                             form->StringGrid_Info()->item(3, 1)->text(), form->windowTitle()),
                  std::tuple(false, stamp, r().objectName.bytes(), QString::fromStdString(stamp), title));
    }
    EXPECT_EQ(settings->currentDir(), dir.path());

    // Open in another session: everything comes back, unmodified, with its folder remembered
    // and without the results or a line-of-sight state left by the last project.
    QDir(dir.path()).mkpath("other");
    settings->setCurrentDir(dir.filePath("other"));
    form->profileCheck().ProfileState = 4;
    openFile(a);
    EXPECT_EQ(std::tuple(form->profileCheck().ProfileState, resultsShown(), form->StringGrid_Info()->item(0, 1)->text(),
                         settings->currentDir(), doc().modified),
              std::tuple(0, false, QString("Kv. Banvakten 2"), dir.path(), false));
    form->profileCheck().ProfileState = 4;
    ASSERT_TRUE(form->fileCommands().newCommand());
    EXPECT_EQ(form->profileCheck().ProfileState, 0);
}

TEST_F(FileCommandsTest, RefusedTargetsAndUnreadableFilesChangeNothing)
{
    type(trains(), 1, 1, "3000");
    saveAs(path("missing/x.sdb"));
    EXPECT_EQ(std::pair(lastMessage(), doc().currentFileName.empty()),
              std::pair(QString("Du måste spara filen i en existerande katalog!"), true));

    saveAs(path("good.sdb"));
    type(trains(), 1, 1, "4000");
    openFile(path("finns-inte.sdb"));
    EXPECT_EQ(lastMessage(), QString::fromUtf8("Du måste välja en giltig skenbrus-databasfil!"));
    // A file that is no project, opened after No to the question: name and modified state stay.
    std::ofstream(path("bad.sdb").toStdString()) << "kort";
    plat->answers = {MsgAnswer::No};
    openFile(path("bad.sdb"));
    EXPECT_EQ(std::pair(lastMessage(), doc().modified), std::pair(QString("bad.sdb är ingen giltig skenbrusfil!"), true));
    // Save therefore never writes into the rejected file.
    ASSERT_TRUE(form->fileCommands().saveCommand());
    EXPECT_EQ(std::pair(onDisk(path("good.sdb")).trainLengthPerDay[1], QFileInfo(path("bad.sdb")).size()), std::pair(4000, 4ll));
}

// Open, New and closing ask before they drop unsaved work. Cancel, or Yes when the project is
// not saved after all (Save As cancelled, a failed write), keeps the project and the window.
TEST_F(FileCommandsTest, OpenNewAndCloseAskAndKeepWorkThatWasNotSaved)
{
    writeProject(path("other.sdb").toStdString(), startupDefaults("2026-01-01 00:00:00"));
    struct Command {
        std::function<bool()> run;
        QString unnamed, named;  // the questions
    };
    const Command commands[] = {
        {[&] { plat->fileAnswers.push_front(path("other.sdb")); return form->fileCommands().openCommand(); },
         QString::fromUtf8("Vill du spara ändringar?"), QString::fromUtf8("Vill du spara ändringar i p.sdb?")},
        {[&] { return form->fileCommands().newCommand(); }, QString::fromUtf8("Vill du spara ändringar?"),
         QString::fromUtf8("Vill du spara ändringar i ") + dir.filePath("gone/p.sdb") + "?"},
        {[&] { return form->close(); }, "Data har ändrats. Vill du spara innan programmet stängs?",
         "Data har ändrats i p.sdb. Vill du spara innan programmet stängs?"}};
    type(trains(), 1, 1, "3000");
    const ProjectRecord before = r();
    for (const Command& c : commands) {
        plat->answers = {MsgAnswer::Cancel, MsgAnswer::Yes};  // Yes runs Save As, cancelled here
        EXPECT_FALSE(c.run());
        EXPECT_FALSE(c.run());
        EXPECT_EQ(plat->messageTexts().mid(plat->messages.size() - 2), QStringList(2, c.unnamed));
        EXPECT_TRUE(r() == before && doc().modified);
    }
    // Yes with a name given: the work is saved, then the other project opens.
    plat->answers = {MsgAnswer::Yes};
    plat->fileAnswers = {path("mine.sdb")};
    EXPECT_TRUE(commands[0].run());
    EXPECT_TRUE(onDisk(path("mine.sdb")).trainLengthPerDay[1] == 3000 && form->windowTitle().endsWith(" - [other.sdb]"));

    // The folder of the project has gone: the named question, then the error; a failed save
    // keeps the old stamp.
    QDir(dir.path()).mkpath("gone");
    saveAs(dir.filePath("gone/p.sdb"));
    ASSERT_TRUE(QDir(dir.filePath("gone")).removeRecursively());
    type(trains(), 1, 1, "5000");
    for (const Command& c : commands) {
        const size_t asked = plat->messages.size();
        plat->answers = {MsgAnswer::Yes};
        EXPECT_FALSE(c.run());
        ASSERT_EQ(plat->messages.size(), asked + 2);
        EXPECT_EQ(std::tuple(plat->messages[asked].text, plat->messages.back().icon, doc().modified),
                  std::tuple(c.named, MsgIcon::Error, true));
    }
    r().lastUpdate.setBytes("2001-01-01 00:00:00");
    EXPECT_FALSE(form->fileCommands().saveCommand());
    EXPECT_EQ(r().lastUpdate.bytes(), "2001-01-01 00:00:00");

    // No drops the work unwritten and lets each command go on.
    for (const Command& c : commands) {
        type(trains(), 1, 1, "500");
        const size_t asked = plat->messages.size();
        plat->answers = {MsgAnswer::No};
        EXPECT_TRUE(c.run());
        EXPECT_EQ(plat->messages.size(), asked + 1);
    }
    EXPECT_EQ(onDisk(path("other.sdb")).trainLengthPerDay[1], 0);
}
