// The study windows opened from "&Resultat" and driven by mouse and keyboard: heights, guideline
// values (remembered), the table with its marks, the chart's series, "Kopiera", "Avbryt", the PDF.

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
    // Chooses the study's menu item; `work` gets the real window, shown and active, and works it.
    void study(const char* menuItem, std::function<void(StudyDialog&)> work)
    {
        answerDialog([work](QDialog& d) {
            d.show();
            QApplication::setActiveWindow(&d);
            (void)QTest::qWaitForWindowActive(&d);
            work(static_cast<StudyDialog&>(d));
            return d.result();
        });
        item(menuItem)->trigger();
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
    study("Meny_Resultat_Vaningsstudie", [this](StudyDialog& d) {
        auto* till = child<QDoubleSpinBox>(&d, "Edit_Till");
        auto* ekv = child<QLineEdit>(&d, "Edit_RiktvardeEkv");
        auto* table = child<QTableWidget>(&d, "Table_Studie");
        // Up to the highest receiver (4.5 m in the example) + 9 m.
        EXPECT_EQ(till->value(), 13.5);
        till->setFocus();
        QTest::keyClick(till, Qt::Key_A, Qt::ControlModifier);  // the text selected, typing replaces it
        QTest::keyClicks(till, QStringLiteral("7.5"));
        QTest::keyClick(till, Qt::Key_Return);  // the default button "Beräkna"
        ASSERT_TRUE(d.hasResults());
        EXPECT_EQ(table->item(2, 0)->text(), QStringLiteral("7.5"));
        // Free field, facade (the example has the facade option on) and maximum.
        EXPECT_EQ(std::pair(d.chart()->series().size(), marked(table)), std::pair(qsizetype(3), 0));

        // Guideline values mark the cells above them and add their lines; no new run is needed.
        QTest::keyClick(&d, Qt::Key_E, Qt::AltModifier);
        EXPECT_TRUE(ekv->hasFocus());
        QTest::keyClicks(ekv, QStringLiteral("60,5"));
        QTest::keyClick(ekv, Qt::Key_Tab);
        // 61/64 dBA free field and facade on all three floors.
        EXPECT_EQ(std::pair(d.chart()->series().size(), marked(table)), std::pair(qsizetype(4), 6));

        // A guideline value that is no number is refused before anything runs, and not remembered.
        QTest::keyClicks(child<QLineEdit>(&d, "Edit_RiktvardeMax"), QStringLiteral("mycket"));
        QTest::mouseClick(child<QPushButton>(&d, "Button_Berakna"), Qt::LeftButton);
        EXPECT_EQ(plat->messageTexts().back(), QStringLiteral("Riktvärdet \"mycket\" är inget tal. Skriv t.ex. 55 eller lämna fältet tomt."));
        EXPECT_TRUE(child<QLineEdit>(&d, "Edit_RiktvardeMax")->hasFocus());
        EXPECT_EQ(table->rowCount(), 3);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    study("Meny_Resultat_Vaningsstudie", [this](StudyDialog& d) {  // opened again; F1 shows help; "Stäng" closes it
        EXPECT_EQ(std::pair(child<QLineEdit>(&d, "Edit_RiktvardeEkv")->text(), child<QLineEdit>(&d, "Edit_RiktvardeMax")->text()),
                  std::pair(QStringLiteral("60,5"), QString()));
        QTest::keyClick(child<QLineEdit>(&d, "Edit_RiktvardeEkv"), Qt::Key_F1);
        EXPECT_EQ(plat->helpContexts, std::vector<int>{StudyDialog::kHelpContext});
        clickButton(d, "Button_Stang");
        EXPECT_FALSE(d.isVisible());
    });
}

TEST_F(StudyDialogTest, ScreenStudyByMouseCopyPdfAndAvbryt)
{
    study("Meny_Resultat_Skarmhojdsstudie", [this](StudyDialog& d) {
        auto* stretch = child<QComboBox>(&d, "ComboBox_Delstracka");
        auto* berakna = child<QPushButton>(&d, "Button_Berakna");
        auto* table = child<QTableWidget>(&d, "Table_Studie");
        ASSERT_EQ(stretch->count(), 2);  // every screen, and stretch 3, the only one
        EXPECT_EQ(stretch->itemText(1), QStringLiteral("Delsträcka 3 (Absorb.)"));
        stretch->setFocus();
        QTest::keyClick(stretch, Qt::Key_Down);
        EXPECT_EQ(std::pair(stretch->currentData().toInt(), child<QDoubleSpinBox>(&d, "Edit_Till")->value()), std::pair(3, 6.0));
        QTest::mouseClick(berakna, Qt::LeftButton);
        ASSERT_TRUE(d.hasResults());
        EXPECT_EQ(table->rowCount(), 13);  // 0 to 6 m in steps of 0.5 m

        // The clipboard takes the table in CR LF lines: title, header, the rows.
        QTest::mouseClick(child<QPushButton>(&d, "Button_Kopiera"), Qt::LeftButton);
        const QString text = QGuiApplication::clipboard()->text();
        EXPECT_TRUE(text.startsWith(QStringLiteral("SKÄRMHÖJDSSTUDIE\r\n")));
        EXPECT_EQ(std::pair(text.count(QStringLiteral("\r\n")), text.count(QLatin1Char('\n'))), std::pair(qsizetype(15), qsizetype(15)));

        plat->fileAnswers.push_back(path("skarm"));
        QTest::mouseClick(child<QPushButton>(&d, "Button_SparaPdf"), Qt::LeftButton);
        EXPECT_EQ(pdfPages(path("skarm.pdf")), 1);
        EXPECT_FALSE(d.writePdf(path("no/such/folder/x.pdf")));
        EXPECT_TRUE(plat->messageTexts().back().startsWith(QStringLiteral("Kan inte skriva filen")));

        // "Avbryt" pressed while the heights run (the meter lets the window take the click) leaves
        // no rows of the cancelled run behind.
        QTimer::singleShot(0, &d, [&] {
            EXPECT_FALSE(berakna->isEnabled());
            QTest::mouseClick(child<QPushButton>(&d, "Button_Avbryt"), Qt::LeftButton);
        });
        QTest::mouseClick(berakna, Qt::LeftButton);
        EXPECT_EQ(std::tuple(d.hasResults(), table->rowCount(), child<QLabel>(&d, "Label_Status")->text(),
                             child<QPushButton>(&d, "Button_Kopiera")->isEnabled(), berakna->isEnabled()),
                  std::tuple(false, 0, QStringLiteral("Beräkningen avbröts."), false, true));
    });
}

TEST_F(StudyDialogTest, MenuItemsFollowTheCompletenessCheck)
{
    QAction* floors = form->studyCommands().Meny_Resultat_Vaningsstudie();
    EXPECT_TRUE(menu("Meny_Resultat")->actions().contains(floors) && floors->isEnabled());
    ASSERT_TRUE(form->fileCommands().newCommand());
    EXPECT_FALSE(floors->isEnabled());  // a new project is not complete
    ASSERT_TRUE(form->fileCommands().openStartupFile(kExample));

    for (int s = 1; s <= r().stretchCount; ++s) r().screenType[s] = 0;
    form->studyCommands().Meny_Resultat_Skarmhojdsstudie()->trigger();
    EXPECT_EQ(plat->messageTexts().back(), QStringLiteral("Ingen delsträcka har skärm. Lägg in en skärm i tvärsektionen först."));
}
