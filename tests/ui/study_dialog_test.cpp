// The study windows driven by mouse and keyboard: heights, guideline values (remembered),
// the table with its marks, the chart's series, "Kopiera", "Avbryt", the PDF and the menu.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtCharts/QChart>
#include <gtest/gtest.h>
#include <memory>

#include "model/ProjectFile.h"
#include "ui/FileCommands.h"
#include "ui/Platform.h"
#include "ui/Settings.h"
#include "ui/StudyCommands.h"
#include "ui/StudyDialog.h"
#include "ui/main.h"

namespace {
const QString kExample = QStringLiteral(SKENBRUS_SOURCE_DIR "/examples/stationsvagen.sdb");

class StudyDialogTest : public ::testing::Test {
protected:
    ScopedScriptedPlatform plat;
    QTemporaryDir dir;
    std::unique_ptr<AppSettings> settings = std::make_unique<AppSettings>(dir.filePath(QStringLiteral("skenbrus.ini")));
    ProjectRecord record = readProject(kExample.toStdString());
    DocumentState doc;

    std::unique_ptr<StudyDialog> open(StudyKind kind)
    {
        doc.currentFileName = kExample.toStdString();
        RunSettings rs;
        rs.facadeBoxChecked = record.facadeReflectionOn == 1;
        rs.indoorBoxChecked = record.indoorLevelOn == 1;
        auto d = std::make_unique<StudyDialog>(kind, StudyContext{record, doc, rs, {}, settings.get(), '.'});
        d->threads = 2;
        d->show();
        QApplication::setActiveWindow(d.get());
        (void)QTest::qWaitForWindowActive(d.get());
        return d;
    }
    static void retype(QWidget* w, const QString& text)
    {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Delete);
        QTest::keyClicks(w, text);
    }
    static int marked(const QTableWidget* t)
    {
        int n = 0;
        for (int r = 0; r < t->rowCount(); ++r)
            for (int c = 0; c < t->columnCount(); ++c)
                n += t->item(r, c) && t->item(r, c)->data(Qt::UserRole).toBool();
        return n;
    }
};
}  // namespace

TEST_F(StudyDialogTest, FloorStudyFromTheKeyboardWithGuidelineValues)
{
    auto d = open(StudyKind::Floors);
    // Up to the highest receiver (4.5 m in the example) + 9 m.
    EXPECT_EQ(d->Edit_Till->value(), 13.5);

    retype(d->Edit_Till, QStringLiteral("7.5"));
    QTest::keyClick(d->Edit_Till, Qt::Key_Return);  // the default button "Beräkna"
    ASSERT_TRUE(d->hasResults());
    EXPECT_EQ(d->Table_Studie->rowCount(), 3);
    EXPECT_EQ(d->Table_Studie->item(2, 0)->text(), QStringLiteral("7.5"));
    // Free field, facade (the example has the facade option on) and maximum.
    EXPECT_EQ(d->chart()->series().size(), 3);
    EXPECT_EQ(marked(d->Table_Studie), 0);

    // Guideline values mark the cells above them and add their lines; no new run is needed.
    QTest::keyClick(d.get(), Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(d->Edit_RiktvardeEkv->hasFocus());
    QTest::keyClicks(d->Edit_RiktvardeEkv, QStringLiteral("60,5"));
    QTest::keyClick(d->Edit_RiktvardeEkv, Qt::Key_Tab);
    EXPECT_EQ(d->chart()->series().size(), 4);
    // 61/64 dBA free field and facade on all three floors.
    EXPECT_EQ(marked(d->Table_Studie), 6);
    EXPECT_EQ(settings->studyText(QStringLiteral("RiktvardeEkv")), QStringLiteral("60,5"));

    // A guideline value that is no number is refused before anything runs.
    retype(d->Edit_RiktvardeMax, QStringLiteral("mycket"));
    QTest::mouseClick(d->Button_Berakna, Qt::LeftButton);
    EXPECT_EQ(plat->messageTexts().back(), QStringLiteral("Riktvärdet \"mycket\" är inget tal. Skriv t.ex. 55 eller lämna fältet tomt."));
    EXPECT_TRUE(d->Edit_RiktvardeMax->hasFocus());
    retype(d->Edit_RiktvardeMax, QString());

    // A step that gives more than 200 heights.
    retype(d->Edit_Steg, QStringLiteral("0.01"));
    retype(d->Edit_Till, QStringLiteral("13.5"));
    QTest::mouseClick(d->Button_Berakna, Qt::LeftButton);
    EXPECT_EQ(plat->messageTexts().back(), QStringLiteral("Högst 200 höjder kan beräknas på en gång (1201 angavs)."));
    EXPECT_EQ(d->Table_Studie->rowCount(), 3);

    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    // The next window starts with the remembered values.
    auto again = open(StudyKind::Floors);
    EXPECT_EQ(again->Edit_RiktvardeEkv->text(), QStringLiteral("60,5"));
    EXPECT_EQ(again->Edit_RiktvardeMax->text(), QString());
}

TEST_F(StudyDialogTest, ScreenStudyByMouseCopyAndPdf)
{
    auto d = open(StudyKind::Screen);
    ASSERT_EQ(d->ComboBox_Delstracka->count(), 2);  // every screen, and stretch 3, the only one
    EXPECT_EQ(d->ComboBox_Delstracka->itemText(1), QStringLiteral("Delsträcka 3 (Absorb.)"));
    d->ComboBox_Delstracka->setFocus();
    QTest::keyClick(d->ComboBox_Delstracka, Qt::Key_Down);
    EXPECT_EQ(d->ComboBox_Delstracka->currentData().toInt(), 3);
    EXPECT_EQ(d->Edit_Till->value(), 6.0);
    QTest::mouseClick(d->Button_Berakna, Qt::LeftButton);
    ASSERT_TRUE(d->hasResults());
    EXPECT_EQ(d->Table_Studie->rowCount(), 13);  // 0 to 6 m in steps of 0.5 m
    EXPECT_EQ(d->Gauge_Studie->value(), 100);

    QGuiApplication::clipboard()->setText(QStringLiteral("förra"));
    QTest::mouseClick(d->Button_Kopiera, Qt::LeftButton);
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_EQ(text, d->clipboardText());
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + 1 + 13 + 1);  // title, header, rows, the empty rest after the last CR LF
    EXPECT_EQ(lines[0], QStringLiteral("SKÄRMHÖJDSSTUDIE"));
    EXPECT_EQ(lines[14].split(QLatin1Char('\t')).size(), d->Table_Studie->columnCount());
    EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));

    const QString pdf = dir.filePath(QStringLiteral("skarm"));
    plat->fileAnswers.push_back(pdf);
    QTest::mouseClick(d->Button_SparaPdf, Qt::LeftButton);
    QFile f(pdf + QStringLiteral(".pdf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
    EXPECT_FALSE(d->writePdf(dir.filePath(QStringLiteral("no/such/folder/x.pdf"))));
    EXPECT_TRUE(plat->messageTexts().back().startsWith(QStringLiteral("Kan inte skriva filen")));
}

TEST_F(StudyDialogTest, AvbrytLeavesNoTable)
{
    auto d = open(StudyKind::Floors);
    QTest::mouseClick(d->Button_Berakna, Qt::LeftButton);
    ASSERT_TRUE(d->hasResults());
    // "Avbryt" pressed while the heights run (the meter lets the window take the click).
    QTimer::singleShot(0, d.get(), [&d] {
        EXPECT_TRUE(d->Button_Avbryt->isEnabled());
        EXPECT_FALSE(d->Button_Berakna->isEnabled());
        QTest::mouseClick(d->Button_Avbryt, Qt::LeftButton);
    });
    QTest::mouseClick(d->Button_Berakna, Qt::LeftButton);
    EXPECT_FALSE(d->hasResults());
    EXPECT_EQ(d->Table_Studie->rowCount(), 0);
    EXPECT_EQ(d->Label_Status->text(), QStringLiteral("Beräkningen avbröts."));
    EXPECT_FALSE(d->Button_Kopiera->isEnabled());
    EXPECT_FALSE(d->Button_Avbryt->isEnabled());
    EXPECT_TRUE(d->Button_Berakna->isEnabled());
}

TEST_F(StudyDialogTest, MenuItemsFollowTheCompletenessCheck)
{
    TForm_Skenbrus form;
    form.applyStartupSettings(*settings);
    QAction* floors = form.studyCommands().Meny_Resultat_Vaningsstudie();
    QAction* screen = form.studyCommands().Meny_Resultat_Skarmhojdsstudie();
    EXPECT_TRUE(form.findChild<QMenu*>(QStringLiteral("Meny_Resultat"))->actions().contains(floors));
    EXPECT_FALSE(floors->isEnabled());  // a new project is not complete
    ASSERT_TRUE(form.fileCommands().openStartupFile(kExample));
    EXPECT_TRUE(floors->isEnabled());
    EXPECT_TRUE(screen->isEnabled());

    // The menu item opens the window on the window's project; it closes with "Stäng".
    QString title;
    QTimer::singleShot(0, &form, [&title] {
        auto* d = qobject_cast<StudyDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        title = d->windowTitle();
        QTest::mouseClick(d->Button_Stang, Qt::LeftButton);
    });
    floors->trigger();
    EXPECT_EQ(title, QStringLiteral("Våningsstudie"));

    for (int s = 1; s <= form.record().stretchCount; ++s) form.record().screenType[s] = 0;
    screen->trigger();
    EXPECT_EQ(plat->messageTexts().back(), QStringLiteral("Ingen delsträcka har skärm. Lägg in en skärm i tvärsektionen först."));
}
