// The settings file and the small windows: indoor level, about and help.

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "model/DocumentState.h"
#include "model/ProjectRecord.h"
#include "ui/About.h"
#include "ui/HelpWindow.h"
#include "ui/Inneniva.h"
#include "ui/Settings.h"
#include "ui/SitePlanPage.h"
#include "ui/StudyDialog.h"

TEST(Settings, MissingKeysAreWrittenWithDefaultsAsNumbers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/skenbrus.ini"));
    EXPECT_TRUE(AppSettings(path).currentDir().isEmpty());  // the folder made, the missing keys written
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    for (const char* line : {"[Skenbrus]", "[Debug]", "Land=Sverige", "Segment=1", "Ekvivalent=0", "Max=0"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    EXPECT_FALSE(text.contains(QStringLiteral("CurrentDir")));
    {
        QSettings raw(path, QSettings::IniFormat);
        raw.setValue(QStringLiteral("Debug/Ekvivalent"), 1);
        raw.setValue(QStringLiteral("Skenbrus/Land"), QStringLiteral("norge"));  // exact comparison
    }
    AppSettings s(path);
    EXPECT_EQ(std::pair(s.traceEquivalent(), s.country()), std::pair(true, 2));
    s.setLand(QStringLiteral("Norge"));
    EXPECT_EQ(AppSettings(path).country(), 0);
}

TEST(IndoorDialog, EditingRecomputesTheInsulation)
{
    ProjectRecord r = startupDefaults("x");
    DocumentState doc;
    TForm_Inneniva dlg(r, doc);
    dlg.show();
    QTableWidget* g = dlg.grid();
    g->item(2, 1)->setText(QStringLiteral("29"));  // the same Rw: recomputed from the formula
    EXPECT_NEAR(r.facadeInsulation, -29.99, 0.005);
    EXPECT_EQ(std::tuple(g->item(4, 1)->text(), doc.modified, g->item(4, 1)->flags() & Qt::ItemIsEditable),
              std::tuple(QStringLiteral("-30.0"), true, Qt::ItemFlags()));
    g->item(0, 1)->setText(QStringLiteral("0"));
    EXPECT_EQ(std::pair(r.windowArea, r.facadeInsulation), std::pair(0.0f, -23.0f));
    g->item(1, 1)->setText(QStringLiteral("abc"));  // refused: the old value comes back
    EXPECT_EQ(std::pair(g->item(1, 1)->text(), r.roomAbsorption), std::pair(QStringLiteral("10.0"), 10.0f));
}

TEST(SmallWindows, AboutAndHelp)
{
    TForm_About about;
    EXPECT_EQ(about.findChild<QWidget*>(QStringLiteral("Label_Version"))->property("text").toString(),
              QStringLiteral("Version 4.5.0.4"));

    // Every help context the program asks for has its topic (the site plan's once fell back to
    // the contents).
    HelpWindow help;
    for (int c : {10, 50, 51, 52, 53, 54, 55, 56, 80, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111,
                  112, 201, 202, 211, SitePlanPage::kHelpContext, StudyDialog::kHelpContext}) {
        help.showTopic(c);
        EXPECT_EQ(help.browser()->source().fragment(), QStringLiteral("h%1").arg(c));
    }
    EXPECT_FALSE(HelpWindow::hasTopic(999));

    // Asked from a modal dialog the help is modal above it (it once opened behind, unusable);
    // asked from the window it is not.
    QDialog dlg;
    QTimer::singleShot(0, &dlg, [&] {
        help.showTopic(202);
        EXPECT_TRUE(help.isVisible() && help.windowModality() == Qt::ApplicationModal);
        help.close();
        dlg.reject();
    });
    dlg.exec();
    help.showTopic(10);
    EXPECT_EQ(help.windowModality(), Qt::NonModal);
    help.close();
}
