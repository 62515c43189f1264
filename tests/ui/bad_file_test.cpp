// The same bad project file gets the same message from every command-line command and from
// the window.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "main_fixture.h"
#include "model/ProjectFile.h"
#include "ui/FileCommands.h"

namespace {
// stderr of skenbrus-cli with the arguments, CR-free as a terminal shows it.
QString cliMessage(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(SKENBRUS_CLI_PATH), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
    EXPECT_NE(p.exitCode(), 0) << args.join(' ').toStdString();
    return QString::fromUtf8(p.readAllStandardError()).trimmed();
}

// The smallest complete project: one train on track 1, one straight stretch 45 m away.
ProjectRecord completeProject()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.trainLengthPerDay[1] = 3000;
    r.maxTrainLength[1] = 200;
    r.speed[1] = 120;
    r.perpDistance[1] = 45.0f;
    r.bpDistance[1][2] = 45.0f;
    return r;
}
}  // namespace

class BadFileTest : public MainWindowTest {
protected:
    QTemporaryDir dir;
    QString write(const QString& name, const ProjectRecord& r)
    {
        const QString p = dir.filePath(name);
        writeProject(p.toStdString(), r);
        return p;
    }
    // The messages of the named commands for the file (all commands that read a project).
    QStringList messages(const QString& file, const QStringList& commands)
    {
        QStringList out;
        for (const QStringList& a :
             {QStringList{"calc", file}, {"calc", file, "--json"}, {"export", "resultat", file},
              {"export", "strackdata", file}, {"report", file, "-o", dir.filePath("r.pdf")},
              {"study", "floors", file, "--heights", "1.5,4.5"}, {"show", file},
              {"plan", file, "-o", dir.filePath("p.svg")}}) {
            if (!commands.contains(a[0])) continue;
            out << cliMessage(a);
        }
        return out;
    }
};

TEST_F(BadFileTest, UnreadableFileSameMessageEverywhere)
{
    ASSERT_TRUE(dir.isValid());
    QFile f(dir.filePath("kort.sdb"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("abc");
    f.close();
    for (const QString& file : {f.fileName(), dir.filePath("saknas.sdb")}) {
        plat->messages.clear();
        EXPECT_FALSE(form->fileCommands().openStartupFile(file));
        ASSERT_EQ(plat->messages.size(), 1u);
        const QString window = lastMessage();
        EXPECT_TRUE(window.contains(QFileInfo(file).fileName())) << window.toStdString();
        for (const QString& m : messages(file, {"calc", "export", "report", "study", "show", "plan"})) EXPECT_EQ(m, window);
    }
}

TEST_F(BadFileTest, ScreenCaseAndIncompleteSameMessageEverywhere)
{
    ASSERT_TRUE(dir.isValid());
    // A cross-section in use with a ridge above the line of sight and no screen.
    ProjectRecord r = completeProject();
    r.crossSectionOn[1] = 1;
    r.bpCount[1] = 3;
    r.bpDistance[1][3] = 45.0f;
    r.bpLabel[1][3].setBytes("MT");
    r.bpLabel[1][2].setBytes("BP");
    r.bpDistance[1][2] = 25.0f;
    r.bpHeight[1][2] = 5.0f;
    const QString blocked = write("blockerad.sdb", r);
    ASSERT_TRUE(form->fileCommands().openStartupFile(blocked));
    plat->messages.clear();
    QTest::mouseClick(form->Button_Berakning(), Qt::LeftButton);
    ASSERT_EQ(plat->messages.size(), 1u);
    const QString window = lastMessage();
    EXPECT_TRUE(window.startsWith(QString::fromUtf8("Tvärsnittet för delsträcka 1"))) << window.toStdString();
    EXPECT_EQ(plat->beeps, 1);
    // The study reports the refusal per height in its table.
    for (const QString& m : messages(blocked, {"calc", "export", "report"})) EXPECT_EQ(m, window);

    // The window never calculates an incomplete project; the commands all say what is missing.
    r = completeProject();
    r.speed[1] = 0;
    const QString incomplete = write("ofullstandig.sdb", r);
    ASSERT_TRUE(form->fileCommands().openStartupFile(incomplete));
    EXPECT_FALSE(form->Button_Berakning()->isEnabled());
    for (const QString& m : messages(incomplete, {"calc", "export", "report", "study"}))
        EXPECT_EQ(m, QString::fromUtf8("Projektet är ofullständigt: värde saknas i raden \"Hastighet (km/h)\" för tåg 1."));
}
