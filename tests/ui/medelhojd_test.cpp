// The cross-section dialog driven through its widgets: break-point editing rules, the
// distance basis, the screen list, the line-of-sight warnings and the closing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ui_events.h"
#include "ui/Medelhojd.h"
#include "ui/Platform.h"
#include "ui/ProfileTable.h"
#include "ui/Form1.h"
#include "ui/Brytpunkt.h"

namespace {

const char* const kRefused = "Värdet kan inte ändras";

class CrossSectionDialog : public ::testing::Test {
protected:
    ProjectRecord r = startupDefaults("2026-01-01 00:00:00");
    DocumentState doc;
    AngleFactors factors;
    ProfileCheck check;
    ScopedScriptedPlatform platform_;
    std::unique_ptr<TForm_MedelHojd> dlg;
    int refreshed = 0;

    // Straight stretch 1 with the points (distance, height); first "SM", last "MT".
    void setProfile(std::initializer_list<std::pair<float, float>> points)
    {
        int p = 0;
        for (auto [d, h] : points) {
            ++p;
            r.bpDistance[1][p] = d;
            r.bpHeight[1][p] = h;
            r.bpLabel[1][p].setBytes("BP");
        }
        r.bpLabel[1][1].setBytes("SM");
        r.bpLabel[1][p].setBytes("MT");
        r.bpCount[1] = p;
        r.perpDistance[1] = r.bpDistance[1][p];
    }

    void open(int s = 1)
    {
        dlg = std::make_unique<TForm_MedelHojd>(CrossSectionContext{r, doc, factors, check});
        dlg->refreshCommandState = [this] { ++refreshed; };
        dlg->openStretch(s);
        dlg->show();
    }

    // Types text into a cell of a table as a user does: the first key opens the editor.
    QLineEdit* type(ProfileTable* t, int row, int col, const QString& text)
    {
        t->setCurrentCell(row, col);
        QTest::keyClicks(t, text.left(1));
        QLineEdit* e = t->activeEditor();
        if (e) QTest::keyClicks(e, text.mid(1));
        return e;
    }
    bool enter(ProfileTable* t, int row, int col, const QString& text)
    {
        QLineEdit* e = type(t, row, col, text);
        if (!e) return false;
        QTest::keyClick(e, Qt::Key_Return);
        return true;
    }
    QString cell(ProfileTable* t, int row, int col) { return t->item(row, col)->text(); }
    QStringList messages() { return platform_->messageTexts(); }
};

}  // namespace

TEST_F(CrossSectionDialog, NewStretchHasTwoFixedPoints)
{
    r.perpDistance[1] = 40;
    open();
    ProfileTable* t = dlg->breakPointTable();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tvärsektion - spår 1:1"));
    EXPECT_EQ(r.bpDistance[1][2], 40.0f);  // the receiver point takes the perpendicular distance
    ASSERT_EQ(t->columnCount(), 2);
    EXPECT_EQ(t->horizontalHeaderItem(0)->text(), QStringLiteral("SM"));
    EXPECT_EQ(t->horizontalHeaderItem(1)->text(), QStringLiteral("MT"));
    EXPECT_EQ(cell(t, 0, 1), QStringLiteral("40.0"));

    // F5 on either point does nothing.
    for (int col = 0; col < 2; ++col) {
        t->setCurrentCell(0, col);
        QTest::keyClick(t, Qt::Key_F5);
    }
    EXPECT_EQ(r.bpCount[1], 2);
    EXPECT_EQ(t->columnCount(), 2);

    // Their distances cannot be edited; their heights can.
    EXPECT_EQ(type(t, 0, 0, QStringLiteral("5")), nullptr);
    EXPECT_EQ(type(t, 0, 1, QStringLiteral("5")), nullptr);
    EXPECT_EQ(messages(), QStringList({kRefused, kRefused}));
    ASSERT_TRUE(enter(t, 1, 0, QStringLiteral("1.5")));
    ASSERT_TRUE(enter(t, 1, 1, QStringLiteral("-2")));
    EXPECT_EQ(r.bpHeight[1][1], 1.5f);
    EXPECT_EQ(r.trackHeight[1], 1.5f);
    EXPECT_EQ(r.receiverGroundHeight[1], -2.0f);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(r.bpDistance[1][1], 0.0f);
}

TEST_F(CrossSectionDialog, DistanceEntryMovesAndMergesPoints)
{
    setProfile({{0, 0}, {10, 1}, {20, 2}, {30, 3}, {50, 0}});
    open();
    ProfileTable* t = dlg->breakPointTable();

    // Between its neighbours: only the distance changes.
    ASSERT_TRUE(enter(t, 0, 1, QStringLiteral("12.5")));
    EXPECT_EQ(r.bpDistance[1][2], 12.5f);
    EXPECT_EQ(r.bpHeight[1][2], 1.0f);

    // Beyond the next point: the point moves into order with its height and label.
    ASSERT_TRUE(enter(t, 0, 1, QStringLiteral("25")));
    EXPECT_EQ(r.bpCount[1], 5);
    EXPECT_EQ(r.bpDistance[1][2], 20.0f);
    EXPECT_EQ(r.bpHeight[1][2], 2.0f);
    EXPECT_EQ(r.bpDistance[1][3], 25.0f);
    EXPECT_EQ(r.bpHeight[1][3], 1.0f);
    EXPECT_TRUE(r.bpLabel[1][3].equals("BP"));
    EXPECT_EQ(cell(t, 0, 2), QStringLiteral("25.0"));
    // And back before an earlier point.
    ASSERT_TRUE(enter(t, 0, 3, QStringLiteral("5")));
    EXPECT_EQ(r.bpDistance[1][2], 5.0f);
    EXPECT_EQ(r.bpHeight[1][2], 3.0f);
    EXPECT_EQ(r.bpDistance[1][3], 20.0f);
    EXPECT_EQ(r.bpDistance[1][4], 25.0f);
    EXPECT_TRUE(r.bpLabel[1][5].equals("MT"));

    // Onto an existing point: the two merge, keeping the edited point's height.
    ASSERT_TRUE(enter(t, 0, 1, QStringLiteral("25")));  // point 2 (5 m, height 3) onto 25 m
    EXPECT_EQ(r.bpCount[1], 4);
    EXPECT_EQ(r.bpDistance[1][2], 20.0f);
    EXPECT_EQ(r.bpDistance[1][3], 25.0f);
    EXPECT_EQ(r.bpHeight[1][3], 3.0f);
    EXPECT_TRUE(r.bpLabel[1][4].equals("MT"));
    EXPECT_EQ(r.bpDistance[1][4], 50.0f);
    // The freed last slot is cleared.
    EXPECT_EQ(r.bpDistance[1][5], 0.0f);
    EXPECT_EQ(r.bpHeight[1][5], 0.0f);
    EXPECT_EQ(r.bpLabel[1][5].length(), 0);
    EXPECT_EQ(t->columnCount(), 4);
}

TEST_F(CrossSectionDialog, DistanceOutsideTheProfileKeepsTheCellEditing)
{
    setProfile({{0, 0}, {10, 1}, {50, 0}});
    open();
    ProfileTable* t = dlg->breakPointTable();
    for (const char* v : {"50", "60", "0"}) {
        QLineEdit* e = type(t, 0, 1, QString::fromLatin1(v));
        ASSERT_NE(e, nullptr);
        QTest::keyClick(e, Qt::Key_Return);
        EXPECT_EQ(t->activeEditor(), e) << v;  // still editing
        EXPECT_EQ(r.bpDistance[1][2], 10.0f);
        QTest::keyClick(e, Qt::Key_Escape);  // abandoned
        EXPECT_EQ(t->activeEditor(), nullptr);
    }
    EXPECT_EQ(cell(t, 0, 1), QStringLiteral("10.0"));
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(messages().isEmpty());
    // A valid value typed after a refused one is taken.
    QLineEdit* e = type(t, 0, 1, QStringLiteral("70"));
    QTest::keyClick(e, Qt::Key_Return);
    e->setText(QStringLiteral("30"));
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(r.bpDistance[1][2], 30.0f);
}

TEST_F(CrossSectionDialog, KeysWhileTypingMoveTheCursor)
{
    setProfile({{0, 0}, {10, 1}, {20, 2}, {50, 0}});
    open();
    ProfileTable* t = dlg->breakPointTable();
    // Enter moves from the distance to the height of the same point.
    ASSERT_TRUE(enter(t, 0, 1, QStringLiteral("11")));
    EXPECT_EQ(t->currentRow(), 1);
    EXPECT_EQ(t->currentColumn(), 1);
    // Right stores and moves to the next point, Left to the previous one.
    QLineEdit* e = type(t, 1, 1, QStringLiteral("4"));
    QTest::keyClick(e, Qt::Key_Right);
    EXPECT_EQ(r.bpHeight[1][2], 4.0f);
    EXPECT_EQ(t->currentColumn(), 2);
    e = type(t, 1, 0, QStringLiteral("7"));
    QTest::keyClick(e, Qt::Key_Left);  // not beyond the first point
    EXPECT_EQ(r.bpHeight[1][1], 7.0f);
    EXPECT_EQ(t->currentColumn(), 0);
    EXPECT_EQ(r.trackHeight[1], 7.0f);
    // Enter never closes the dialog.
    QTest::keyClick(t, Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(CrossSectionDialog, InternalValueClipboard)
{
    setProfile({{0, 0}, {10, 1}, {20, 2}, {50, 0}});
    open();
    ProfileTable* t = dlg->breakPointTable();
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    t->setCurrentCell(1, 2);
    QTest::keyClick(t, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(dlg->valueClipboard(), 2.0);
    t->setCurrentCell(1, 1);
    QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(r.bpHeight[1][2], 2.0f);
    // Pasting a distance follows the typing rules: refused on the receiver point...
    t->setCurrentCell(0, 2);
    QTest::keyClick(t, Qt::Key_C, Qt::ControlModifier);
    t->setCurrentCell(0, 3);
    QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(messages(), QStringList({kRefused}));
    // ...and merging onto an existing point.
    t->setCurrentCell(0, 1);
    QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(r.bpCount[1], 3);
    EXPECT_EQ(r.bpDistance[1][2], 20.0f);
    EXPECT_EQ(r.bpHeight[1][2], 2.0f);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));
}

TEST_F(CrossSectionDialog, EquivalentBasisScalesShownAndTypedDistances)
{
    setProfile({{0, 0}, {10, 1}, {50, 0}});
    r.angleFrom[1] = 120;  // equivalent line at 60°: factor 0.5
    r.angleTo[1] = 180;
    r.bpDistanceBasis[1] = 2;
    open();
    EXPECT_EQ(r.bpDistanceBasis[1], 0);  // reset at the opening
    EXPECT_EQ(factors.EqFactor, 0.5f);
    QRadioButton* eq = dlg->findChild<QRadioButton*>(QStringLiteral("RadioButton_Ekvivalent"));
    ASSERT_NE(eq, nullptr);
    EXPECT_TRUE(eq->isVisible());
    EXPECT_FALSE(dlg->findChild<QRadioButton*>(QStringLiteral("RadioButton_Slutposition"))->isVisible());
    eq->click();
    EXPECT_EQ(r.bpDistanceBasis[1], 1);
    ProfileTable* t = dlg->breakPointTable();
    EXPECT_EQ(cell(t, 0, 1), QStringLiteral("20.0"));
    EXPECT_EQ(cell(t, 0, 2), QStringLiteral("100.0"));
    ASSERT_TRUE(enter(t, 0, 1, QStringLiteral("30")));
    EXPECT_EQ(r.bpDistance[1][2], 15.0f);
    // A distance is accepted up to the displayed receiver distance.
    ASSERT_TRUE(enter(t, 0, 1, QStringLiteral("90")));
    EXPECT_EQ(r.bpDistance[1][2], 45.0f);
    dlg->findChild<QRadioButton*>(QStringLiteral("RadioButton_Vinkelratt"))->click();
    EXPECT_EQ(cell(t, 0, 1), QStringLiteral("45.0"));

    // A factor of 0 leaves the distances as stored.
    factors.MaxFactor = 0.0f;
    r.angleFrom[1] = r.angleTo[1] = 90;  // equal angles keep the factors
    dlg->openStretch(1);
    dlg->findChild<QRadioButton*>(QStringLiteral("RadioButton_Max"))->click();
    EXPECT_EQ(dlg->displayScale(), 1.0);
}

TEST_F(CrossSectionDialog, CurvedStretchUsesStartAndEndPositions)
{
    r.shape[1] = 1;
    r.startDistance[1] = 40;
    r.endDistance[1] = 60;
    r.track[1] = 2;
    r.orderInTrack[1] = 3;
    open();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tvärsektion - spår 2:3"));
    EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("Label_Stracka"))->text(), QStringLiteral("KRÖKT STRÄCKA"));
    EXPECT_EQ(r.bpDistance[1][2], 40.0f);
    EXPECT_EQ(r.bpDistanceBasis[1], 3);
    EXPECT_FALSE(dlg->findChild<QRadioButton*>(QStringLiteral("RadioButton_Max"))->isVisible());
    dlg->findChild<QRadioButton*>(QStringLiteral("RadioButton_Slutposition"))->click();
    EXPECT_EQ(r.bpDistanceBasis[1], 4);
    EXPECT_EQ(cell(dlg->breakPointTable(), 0, 1), QStringLiteral("60.0"));
}

TEST_F(CrossSectionDialog, ScreenOffAndOnRestoresItsValues)
{
    setProfile({{0, 0}, {10, 0}, {50, 0}});
    r.screenType[1] = 2;
    r.screenDistance[1] = 20;
    r.screenCrestHeight[1] = 3;
    open();
    QComboBox* list = dlg->screenList();
    ProfileTable* st = dlg->screenTable();
    EXPECT_EQ(list->currentIndex(), 2);
    EXPECT_EQ(cell(st, 0, 0), QStringLiteral("20.0"));
    EXPECT_TRUE(st->item(0, 0)->flags() & Qt::ItemIsEditable);

    // Chosen with the mouse in the dropped list.
    const auto pick = [list](int index) {
        QTest::mouseClick(list, Qt::LeftButton);
        ASSERT_TRUE(list->view()->isVisible());
        clickInList(list, index);
    };
    pick(0);
    EXPECT_EQ(r.screenType[1], 0);
    EXPECT_EQ(r.screenDistance[1], 0.0f);
    EXPECT_EQ(r.screenCrestHeight[1], 0.0f);
    EXPECT_EQ(r.screenBaseHeight[1], 0.0f);
    EXPECT_FALSE(st->item(0, 0)->flags() & Qt::ItemIsEditable);  // greyed
    EXPECT_EQ(type(st, 0, 0, QStringLiteral("5")), nullptr);
    EXPECT_TRUE(dlg->findChild<QLabel*>(QStringLiteral("Label_EffektivSkarmhojd"))->text().isEmpty());

    // On again: the screen dialog opens with the remembered values; OK keeps them.
    QString shownLimit;
    onNextModal([&](QWidget*) {
        TForm1* sd = dlg->screenDialog();
        shownLimit = sd->table()->verticalHeaderItem(0)->text();
        EXPECT_EQ(sd->screenDistance(), 20.0);
        EXPECT_EQ(sd->crestHeight(), 3.0);
        sd->Button_OKClick();
    });
    pick(1);
    EXPECT_EQ(shownLimit, QStringLiteral("Avstånd spårmitt-skärm (<50.0m)"));
    EXPECT_EQ(r.screenType[1], 1);
    EXPECT_EQ(r.screenDistance[1], 20.0f);
    EXPECT_EQ(r.screenCrestHeight[1], 3.0f);
    EXPECT_TRUE(dlg->findChild<QLabel*>(QStringLiteral("Label_EffektivSkarmhojd"))->text().startsWith(
        QStringLiteral("Effektiv Skärmhöjd: ")));
    EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("Label_MarkhojdSkarm"))->text(),
              QStringLiteral("Markhöjd vid skärm: 0.00"));
    // Between the two kinds only the type changes.
    list->setCurrentIndex(2);
    EXPECT_EQ(r.screenType[1], 2);
    EXPECT_EQ(r.screenDistance[1], 20.0f);

    // Cancelled in the screen dialog: back to "Nej".
    list->setCurrentIndex(0);
    QTimer::singleShot(0, [&] { dlg->screenDialog()->Button_AvbrytClick(); });
    list->setCurrentIndex(1);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(r.screenType[1], 0);
}

TEST_F(CrossSectionDialog, ScreenTableEntries)
{
    setProfile({{0, 0}, {10, 2}, {50, 0}});
    r.screenType[1] = 1;
    r.screenDistance[1] = 20;
    r.screenCrestHeight[1] = 3;
    open();
    ProfileTable* st = dlg->screenTable();
    // The distance must lie inside the profile; the cell stays in editing otherwise.
    QLineEdit* e = type(st, 0, 0, QStringLiteral("50"));
    ASSERT_NE(e, nullptr);
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(st->activeEditor(), e);
    e->setText(QStringLiteral("30"));
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(r.screenDistance[1], 30.0f);
    EXPECT_EQ(st->currentRow(), 1);
    // The foot follows the ground: 2 − 2·20/40 = 1.
    EXPECT_EQ(r.screenBaseHeight[1], 1.0f);
    ASSERT_TRUE(enter(st, 1, 0, QStringLiteral("4.5")));
    EXPECT_EQ(r.screenCrestHeight[1], 4.5f);
    QTest::keyClick(st, Qt::Key_F1);
    EXPECT_EQ(platform_->helpContexts, std::vector<int>{211});
}

TEST_F(CrossSectionDialog, RidgeAboveTheLineWarnsOnlyAtOk)
{
    setProfile({{0, 0}, {25, 0}, {50, 0}});
    open();
    ProfileTable* t = dlg->breakPointTable();
    ASSERT_TRUE(enter(t, 1, 1, QStringLiteral("3")));  // a ridge well above the line of sight
    EXPECT_EQ(check.ProfileState, 4);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(platform_->beeps, 0);
    dlg->Button_OKClick();
    EXPECT_EQ(platform_->beeps, 1);
    EXPECT_EQ(messages(), QStringList(QString::fromUtf8(kScreenCaseWarning)));
    EXPECT_FALSE(dlg->isVisible());  // closed all the same
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(refreshed, 1);
}

TEST_F(CrossSectionDialog, ScreenWarningsOncePerArming)
{
    // A hump between the source and a screen that cuts the line: state 1, warned at opening.
    setProfile({{0, 0}, {20, 3}, {100, 0}});
    r.screenType[1] = 1;
    r.screenDistance[1] = 60;
    r.screenCrestHeight[1] = 1;
    open();
    EXPECT_EQ(check.ProfileState, 1);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], QString::fromStdString(ProfileWarningText(1)));
    EXPECT_EQ(platform_->beeps, 1);
    // Still state 1 after another edit: no second warning.
    ProfileTable* t = dlg->breakPointTable();
    ASSERT_TRUE(enter(t, 1, 1, QStringLiteral("3.5")));
    EXPECT_EQ(check.ProfileState, 1);
    EXPECT_EQ(messages().size(), 1);
    // Back to 0 re-arms; a new problem warns again.
    ASSERT_TRUE(enter(t, 1, 1, QStringLiteral("0")));
    EXPECT_EQ(check.ProfileState, 0);
    ASSERT_TRUE(enter(t, 1, 1, QStringLiteral("3")));
    EXPECT_EQ(messages().size(), 2);
    // OK gives no box for states 1 to 3.
    dlg->Button_OKClick();
    EXPECT_EQ(messages().size(), 2);
    // A new opening arms again.
    open();
    EXPECT_EQ(messages().size(), 3);
}

TEST_F(CrossSectionDialog, ReceiverHeightHelpAndInfoLine)
{
    setProfile({{0, 0}, {50, 0}});
    open();
    // It opens on the first break point, whose hint is shown at once.
    EXPECT_EQ(dlg->breakPointTable()->currentColumn(), 0);
    EXPECT_EQ(dlg->infoLine()->text(), QStringLiteral("F4: Lägg till brytpunkt; F5: Ta bort brytpunkt...."));
    QLineEdit* field = dlg->receiverHeightField();
    EXPECT_EQ(field->text(), QStringLiteral("2.0"));
    field->setText(QStringLiteral("4.5"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(r.receiverHeight[1], 4.5f);
    EXPECT_TRUE(dlg->isVisible());
    QTest::keyClick(field, Qt::Key_F1);
    QTest::keyClick(dlg->breakPointTable(), Qt::Key_F1);
    EXPECT_EQ(platform_->helpContexts, (std::vector<int>{110, 110}));

    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    field->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), field);
    {
        EXPECT_EQ(dlg->infoLine()->text(), QStringLiteral("Mottagarens höjd över marken (m) ..."));
        dlg->breakPointTable()->setFocus();
        EXPECT_EQ(dlg->infoLine()->text(), QStringLiteral("F4: Lägg till brytpunkt; F5: Ta bort brytpunkt...."));
        dlg->screenTable()->setCurrentCell(1, 0);
        dlg->screenTable()->setFocus();
        EXPECT_EQ(dlg->infoLine()->text(), QStringLiteral("Skärmkrönets höjd över marknivån (m) ..."));
        dlg->screenTable()->setCurrentCell(2, 0);
        EXPECT_EQ(dlg->infoLine()->text(), QStringLiteral("Ange skärmfall (Nej/Ja) ..."));
        // Leaving the break-point table clears the line.
        dlg->breakPointTable()->setFocus();
        dlg->findChild<QWidget*>(QStringLiteral("Button_OK"))->setFocus();
        EXPECT_EQ(dlg->infoLine()->text(), QString());
    }
}

TEST_F(CrossSectionDialog, AddAndDeleteBreakPoints)
{
    setProfile({{0, 0}, {10, 0}, {40, 0}});
    open();
    ProfileTable* t = dlg->breakPointTable();
    QTimer::singleShot(0, [&] {
        TForm_Brytpunkt* bp = dlg->breakPointDialog();
        bp->setValues(20, 5);
        bp->Button_OKClick();
    });
    t->setCurrentCell(0, 1);
    QTest::keyClick(t, Qt::Key_F4);
    ASSERT_EQ(t->columnCount(), 4);
    EXPECT_EQ(t->horizontalHeaderItem(2)->text(), QStringLiteral("BP"));
    EXPECT_EQ(cell(t, 1, 2), QStringLiteral("5.0"));
    EXPECT_EQ(check.ProfileState, 4);  // the new point stands above the line
    EXPECT_TRUE(doc.modified);
    // F5 removes it again.
    t->setCurrentCell(0, 2);
    QTest::keyClick(t, Qt::Key_F5);
    EXPECT_EQ(r.bpCount[1], 3);
    EXPECT_EQ(r.bpDistance[1][4], 0.0f);
    EXPECT_EQ(r.bpLabel[1][4].length(), 0);
    EXPECT_EQ(check.ProfileState, 0);
}

TEST_F(CrossSectionDialog, UnchangedOpeningLeavesTheDocumentUnmodified)
{
    setProfile({{0, 0}, {10, 0}, {50, 0}});
    r.angleFrom[1] = 30;
    open();
    dlg->Button_OKClick();
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(refreshed, 0);
    // The opening's own writes count as a change: the receiver point takes the distance.
    r.perpDistance[1] = 60;
    open();
    dlg->Button_OKClick();
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(refreshed, 1);
}

TEST_F(CrossSectionDialog, DamagedPointCountIsRepairedAtOpening)
{
    r.bpCount[1] = 0;
    r.perpDistance[1] = 30;
    open();
    EXPECT_EQ(r.bpCount[1], 2);
    EXPECT_EQ(r.bpDistance[1][2], 30.0f);
    r.bpCount[1] = 1000;
    EXPECT_NO_FATAL_FAILURE(open());
    EXPECT_EQ(r.bpCount[1], 33);
}

TEST_F(CrossSectionDialog, ClickingElsewhereStoresAValidEntryAndDropsARefusedOne)
{
    setProfile({{0, 0}, {10, 1}, {20, 2}, {50, 0}});
    open();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    ProfileTable* t = dlg->breakPointTable();
    t->setFocus();
    auto clickCell = [&](int row, int col) {
        const QRect rect = t->visualItemRect(t->item(row, col));
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, rect.center());
    };
    QLineEdit* e = type(t, 1, 1, QStringLiteral("6"));
    ASSERT_NE(e, nullptr);
    QTest::keyClick(e, Qt::Key_Down);  // not a way out of an entry
    EXPECT_EQ(t->activeEditor(), e);
    clickCell(1, 2);
    EXPECT_EQ(t->activeEditor(), nullptr);
    EXPECT_EQ(r.bpHeight[1][2], 6.0f);
    e = type(t, 0, 2, QStringLiteral("80"));  // beyond the receiver
    ASSERT_NE(e, nullptr);
    clickCell(1, 0);
    EXPECT_EQ(t->activeEditor(), nullptr);
    EXPECT_EQ(r.bpDistance[1][3], 20.0f);
    EXPECT_EQ(cell(t, 0, 2), QStringLiteral("20.0"));
}
