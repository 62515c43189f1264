// The study windows driven by mouse and keyboard: heights, guideline values (remembered),
// the table with its marks, the chart's series, "Kopiera", "Avbryt", the PDF and the menu.

#include <QClipboard>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QtCharts/QChart>

#include "commands_fixture.h"
#include "ui/StudyCommands.h"
#include "ui/StudyDialog.h"

namespace {
const QString kExample = QStringLiteral(SKENBRUS_SOURCE_DIR "/examples/stationsvagen.sdb");

// The example project open in the window.
class StudyDialogTest : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        ASSERT_TRUE(form->fileCommands().openStartupFile(kExample));
    }
    std::unique_ptr<StudyDialog> open(StudyKind kind)
    {
        RunSettings rs;
        rs.facadeBoxChecked = form->CheckBox_Korrektion()->isChecked();
        rs.indoorBoxChecked = form->CheckBox_Inneniva()->isChecked();
        auto d = std::make_unique<StudyDialog>(kind, StudyContext{r(), doc(), rs, {}, settings.get(), '.'});
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
            for (int c = 0; c < t->columnCount(); ++c) n += t->item(r, c) && t->item(r, c)->data(Qt::UserRole).toBool();
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
    EXPECT_EQ(marked(d->Table_Studie), 6);  // 61/64 dBA free field and facade on all three floors

    // A guideline value that is no number is refused before anything runs, and not remembered.
    retype(d->Edit_RiktvardeMax, QStringLiteral("mycket"));
    QTest::mouseClick(d->Button_Berakna, Qt::LeftButton);
    EXPECT_EQ(plat->messageTexts().back(), QStringLiteral("Riktvärdet \"mycket\" är inget tal. Skriv t.ex. 55 eller lämna fältet tomt."));
    EXPECT_TRUE(d->Edit_RiktvardeMax->hasFocus());
    EXPECT_EQ(d->Table_Studie->rowCount(), 3);
    QTest::keyClick(d.get(), Qt::Key_Escape);
    auto again = open(StudyKind::Floors);
    EXPECT_EQ(again->Edit_RiktvardeEkv->text(), QStringLiteral("60,5"));
    EXPECT_EQ(again->Edit_RiktvardeMax->text(), QString());
}

TEST_F(StudyDialogTest, ScreenStudyByMouseCopyPdfAndAvbryt)
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

    // The clipboard takes the table in CR LF lines: title, header, the rows.
    QTest::mouseClick(d->Button_Kopiera, Qt::LeftButton);
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("SKÄRMHÖJDSSTUDIE\r\n")));
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 2 + 13);
    EXPECT_EQ(text.count(QLatin1Char('\n')), 2 + 13);

    const QString pdf = dir.filePath(QStringLiteral("skarm"));
    plat->fileAnswers.push_back(pdf);
    QTest::mouseClick(d->Button_SparaPdf, Qt::LeftButton);
    QFile f(pdf + QStringLiteral(".pdf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1);  // one page
    EXPECT_FALSE(d->writePdf(dir.filePath(QStringLiteral("no/such/folder/x.pdf"))));
    EXPECT_TRUE(plat->messageTexts().back().startsWith(QStringLiteral("Kan inte skriva filen")));

    // "Avbryt" pressed while the heights run (the meter lets the window take the click) leaves
    // no rows of the cancelled run behind.
    QTimer::singleShot(0, d.get(), [&d] {
        EXPECT_FALSE(d->Button_Berakna->isEnabled());
        QTest::mouseClick(d->Button_Avbryt, Qt::LeftButton);
    });
    QTest::mouseClick(d->Button_Berakna, Qt::LeftButton);
    EXPECT_FALSE(d->hasResults());
    EXPECT_EQ(d->Table_Studie->rowCount(), 0);
    EXPECT_EQ(d->Label_Status->text(), QStringLiteral("Beräkningen avbröts."));
    EXPECT_FALSE(d->Button_Kopiera->isEnabled());
    EXPECT_TRUE(d->Button_Berakna->isEnabled());
}

TEST_F(StudyDialogTest, MenuItemsFollowTheCompletenessCheckAndOpenTheWindow)
{
    QAction* floors = form->studyCommands().Meny_Resultat_Vaningsstudie();
    QAction* screen = form->studyCommands().Meny_Resultat_Skarmhojdsstudie();
    EXPECT_TRUE(menu("Meny_Resultat")->actions().contains(floors));
    EXPECT_TRUE(floors->isEnabled());
    ASSERT_TRUE(form->fileCommands().newCommand());
    EXPECT_FALSE(floors->isEnabled());  // a new project is not complete
    ASSERT_TRUE(form->fileCommands().openStartupFile(kExample));

    // The menu item opens the window on the window's project; it closes with "Stäng".
    QString title;
    QTimer::singleShot(0, form.get(), [&title] {
        auto* d = qobject_cast<StudyDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        title = d->windowTitle();
        QTest::mouseClick(d->Button_Stang, Qt::LeftButton);
    });
    floors->trigger();
    EXPECT_EQ(title, QStringLiteral("Våningsstudie"));

    for (int s = 1; s <= r().stretchCount; ++s) r().screenType[s] = 0;
    screen->trigger();
    EXPECT_EQ(plat->messageTexts().back(), QStringLiteral("Ingen delsträcka har skärm. Lägg in en skärm i tvärsektionen först."));
}
