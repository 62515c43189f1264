// The same bad project file gets the same message from every command-line command and from
// the window: a file too short, a missing one, a blocked cross-section and an incomplete project.

#include <QProcess>
#include <QTemporaryDir>
#include <fstream>

#include "main_fixture.h"
#include "model/ProjectFile.h"

namespace {
class BadFileTest : public MainWindowTest {
protected:
    QTemporaryDir dir;
    // stderr of skenbrus-cli for each command named in `commands` that reads a project,
    // CR-free as a terminal shows it.
    QStringList cliMessages(const QString& file, const QStringList& commands)
    {
        QStringList out;
        for (const QStringList& args :
             {QStringList{"calc", file}, {"calc", file, "--json"}, {"export", "resultat", file},
              {"export", "strackdata", file}, {"report", file, "-o", dir.filePath("r.pdf")},
              {"study", "floors", file, "--heights", "1.5,4.5"}, {"show", file},
              {"plan", file, "-o", dir.filePath("p.svg")}}) {
            if (!commands.contains(args[0])) continue;
            QProcess p;
            p.start(QStringLiteral(SKENBRUS_CLI_PATH), args);
            EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
            EXPECT_NE(p.exitCode(), 0) << args.join(' ').toStdString();
            out << QString::fromUtf8(p.readAllStandardError()).trimmed();
        }
        return out;
    }
};
}  // namespace

TEST_F(BadFileTest, SameMessageEverywhere)
{
    // Too short to hold a project, and missing: the window names the file.
    std::ofstream(dir.filePath("kort.sdb").toStdString()) << "abc";
    for (const QString& file : {dir.filePath("kort.sdb"), dir.filePath("saknas.sdb")}) {
        plat->messages.clear();
        EXPECT_FALSE(form->fileCommands().openStartupFile(file));
        ASSERT_EQ(plat->messages.size(), 1u);
        const QString window = lastMessage();
        EXPECT_TRUE(window.contains(QFileInfo(file).fileName())) << window.toStdString();
        for (const QString& m : cliMessages(file, {"calc", "export", "report", "study", "show", "plan"}))
            EXPECT_EQ(m, window);
    }

    // A cross-section in use with a ridge above the line of sight and no screen.
    fillCompleteProject();
    setProfile(r(), {{0, 0}, {25, 5}, {45, 0}});
    r().crossSectionOn[1] = 1;
    const QString blocked = dir.filePath("blockerad.sdb");
    writeProject(blocked.toStdString(), r());
    ASSERT_TRUE(form->fileCommands().openStartupFile(blocked));
    plat->messages.clear();
    QTest::mouseClick(form->Button_Berakning(), Qt::LeftButton);
    ASSERT_EQ(plat->messages.size(), 1u);
    // The study reports the refusal per height in its table.
    for (const QString& m : cliMessages(blocked, {"calc", "export", "report"})) EXPECT_EQ(m, lastMessage());

    // The window never calculates an incomplete project; the commands all say what is missing.
    r().crossSectionOn[1] = 0, r().speed[1] = 0;
    const QString incomplete = dir.filePath("ofullstandig.sdb");
    writeProject(incomplete.toStdString(), r());
    ASSERT_TRUE(form->fileCommands().openStartupFile(incomplete));
    EXPECT_FALSE(form->Button_Berakning()->isEnabled());
    for (const QString& m : cliMessages(incomplete, {"calc", "export", "report", "study"}))
        EXPECT_EQ(m, QString::fromUtf8("Projektet är ofullständigt: värde saknas i raden \"Hastighet (km/h)\" för tåg 1."));
}
