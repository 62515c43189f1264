// The cross-section dialog driven through its widgets: break-point editing rules, the
// distance basis, the screen list, the line-of-sight warnings and the closing.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include "main_fixture.h"
#include "ui/Brytpunkt.h"
#include "ui/Form1.h"
#include "ui/Medelhojd.h"

namespace {

const char* const kRefused = "Värdet kan inte ändras";
using Floats = std::vector<float>;

class CrossSectionDialog : public ::testing::Test {
protected:
    ProjectRecord r = startupDefaults("2026-01-01 00:00:00");
    DocumentState doc;
    AngleFactors factors;
    ProfileCheck check;
    ScopedScriptedPlatform platform_;
    std::unique_ptr<TForm_MedelHojd> dlg;
    int refreshed = 0;

    void open(int s = 1)
    {
        dlg = std::make_unique<TForm_MedelHojd>(CrossSectionContext{r, doc, factors, check});
        dlg->refreshCommandState = [this] { ++refreshed; };
        dlg->openStretch(s);
        dlg->show();
    }
    ProfileTable* points() { return dlg->breakPointTable(); }
    QString cell(ProfileTable* t, int row, int col) { return t->item(row, col)->text(); }
    QStringList messages() { return platform_->messageTexts(); }
    QRadioButton* basis(const char* name) { return dlg->findChild<QRadioButton*>(QString::fromLatin1(name)); }
    QString label(const char* name) { return dlg->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
};

}  // namespace

TEST_F(CrossSectionDialog, OpeningFixesTheEndPointsAndRepairsTheCount)
{
    r.perpDistance[1] = 40;
    open();
    ProfileTable* t = points();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tvärsektion - spår 1:1"));
    EXPECT_EQ(pointDistances(r), (Floats{0, 40}));  // the receiver takes the perpendicular distance
    EXPECT_EQ(t->horizontalHeaderItem(1)->text(), QStringLiteral("MT"));
    // F5 on either point does nothing; their distances cannot be edited, their heights can.
    for (int col = 0; col < 2; ++col) {
        t->setCurrentCell(0, col);
        QTest::keyClick(t, Qt::Key_F5);
        EXPECT_EQ(typeInGrid(t, 0, col, QStringLiteral("5")), nullptr);
    }
    EXPECT_EQ(t->columnCount(), 2);
    EXPECT_EQ(messages(), QStringList({kRefused, kRefused}));
    ASSERT_TRUE(enterInGrid(t, 1, 0, QStringLiteral("1.5")));
    ASSERT_TRUE(enterInGrid(t, 1, 1, QStringLiteral("-2")));
    EXPECT_EQ(r.trackHeight[1], 1.5f);
    EXPECT_EQ(r.receiverGroundHeight[1], -2.0f);
    EXPECT_TRUE(doc.modified);

    // An opening that changes nothing leaves the document unmodified; the receiver point
    // taking a new distance is a change.
    setProfile(r, {{0, 0}, {10, 0}, {50, 0}});
    doc.modified = false;
    refreshed = 0;
    open();
    dlg->Button_OKClick();
    EXPECT_FALSE(doc.modified);
    r.perpDistance[1] = 60;
    open();
    dlg->Button_OKClick();
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(refreshed, 1);

    // A damaged point count is repaired.
    r.bpCount[1] = 0;
    open();
    EXPECT_EQ(pointDistances(r), (Floats{0, 60}));
    r.bpCount[1] = 1000;
    EXPECT_NO_FATAL_FAILURE(open());
    EXPECT_EQ(r.bpCount[1], 33);
}

TEST_F(CrossSectionDialog, DistanceEntryMovesMergesOrIsRefused)
{
    setProfile(r, {{0, 0}, {10, 1}, {20, 2}, {30, 3}, {50, 0}});
    open();
    ProfileTable* t = points();
    // Between its neighbours only the distance changes; beyond the next point the point
    // moves into order with its height and label; and back before an earlier point.
    ASSERT_TRUE(enterInGrid(t, 0, 1, QStringLiteral("12.5")));
    EXPECT_EQ(pointDistances(r), (Floats{0, 12.5f, 20, 30, 50}));
    ASSERT_TRUE(enterInGrid(t, 0, 1, QStringLiteral("25")));
    EXPECT_EQ(pointDistances(r), (Floats{0, 20, 25, 30, 50}));
    EXPECT_EQ(pointHeights(r), (Floats{0, 2, 1, 3, 0}));
    EXPECT_EQ(cell(t, 0, 2), QStringLiteral("25.0"));
    ASSERT_TRUE(enterInGrid(t, 0, 3, QStringLiteral("5")));
    EXPECT_EQ(pointDistances(r), (Floats{0, 5, 20, 25, 50}));
    EXPECT_EQ(pointHeights(r), (Floats{0, 3, 2, 1, 0}));
    // Onto an existing point: the two merge, keeping the edited point's height; the freed
    // last slot is cleared.
    ASSERT_TRUE(enterInGrid(t, 0, 1, QStringLiteral("25")));
    EXPECT_EQ(pointDistances(r), (Floats{0, 20, 25, 50}));
    EXPECT_EQ(pointHeights(r), (Floats{0, 2, 3, 0}));
    EXPECT_TRUE(r.bpLabel[1][4].equals("MT"));
    EXPECT_EQ(r.bpDistance[1][5], 0.0f);
    EXPECT_EQ(r.bpLabel[1][5].length(), 0);
    EXPECT_EQ(t->columnCount(), 4);

    // Outside the profile: the cell stays in editing, without a message, until a valid value
    // is typed or Escape abandons the entry.
    for (const char* v : {"50", "60", "0"}) {
        QLineEdit* e = typeInGrid(t, 0, 1, QString::fromLatin1(v));
        ASSERT_NE(e, nullptr);
        QTest::keyClick(e, Qt::Key_Return);
        EXPECT_EQ(t->activeEditor(), e) << v;
        QTest::keyClick(e, Qt::Key_Escape);
        EXPECT_EQ(t->activeEditor(), nullptr);
    }
    EXPECT_EQ(cell(t, 0, 1), QStringLiteral("20.0"));
    EXPECT_EQ(messages().size(), 0);
    QLineEdit* e = typeInGrid(t, 0, 1, QStringLiteral("70"));
    QTest::keyClick(e, Qt::Key_Return);
    e->setText(QStringLiteral("22"));
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(r.bpDistance[1][2], 22.0f);
    // A cell emptied or holding only a sign is 0, as in every table.
    ASSERT_TRUE(enterInGrid(t, 1, 1, QStringLiteral("-")));
    EXPECT_EQ(r.bpHeight[1][2], 0.0f);
}

TEST_F(CrossSectionDialog, KeysAndClicksThatEndAnEntry)
{
    setProfile(r, {{0, 0}, {10, 1}, {20, 2}, {50, 0}});
    open();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    ProfileTable* t = points();
    // Enter moves from the distance to the height of the same point; Right and Left store and
    // move to the next or previous point, not beyond the first; Enter never closes the dialog.
    ASSERT_TRUE(enterInGrid(t, 0, 1, QStringLiteral("11")));
    EXPECT_EQ(std::pair(t->currentRow(), t->currentColumn()), std::pair(1, 1));
    QTest::keyClick(typeInGrid(t, 1, 1, QStringLiteral("4")), Qt::Key_Right);
    EXPECT_EQ(t->currentColumn(), 2);
    QTest::keyClick(typeInGrid(t, 1, 0, QStringLiteral("7")), Qt::Key_Left);
    EXPECT_EQ(t->currentColumn(), 0);
    EXPECT_EQ(pointHeights(r), (Floats{7, 4, 2, 0}));
    EXPECT_EQ(r.trackHeight[1], 7.0f);
    QTest::keyClick(t, Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());

    // Down is no way out; a click elsewhere stores a valid entry and drops a refused one.
    t->setFocus();
    auto clickCell = [&](int row, int col) {
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(t->item(row, col)).center());
    };
    QLineEdit* e = typeInGrid(t, 1, 1, QStringLiteral("6"));
    ASSERT_NE(e, nullptr);
    QTest::keyClick(e, Qt::Key_Down);
    EXPECT_EQ(t->activeEditor(), e);
    clickCell(1, 2);
    EXPECT_EQ(t->activeEditor(), nullptr);
    EXPECT_EQ(r.bpHeight[1][2], 6.0f);
    ASSERT_NE(typeInGrid(t, 0, 2, QStringLiteral("80")), nullptr);  // beyond the receiver
    clickCell(1, 0);
    EXPECT_EQ(t->activeEditor(), nullptr);
    EXPECT_EQ(cell(t, 0, 2), QStringLiteral("20.0"));
}

TEST_F(CrossSectionDialog, InternalValueClipboard)
{
    setProfile(r, {{0, 0}, {10, 1}, {20, 2}, {50, 0}});
    open();
    ProfileTable* t = points();
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    auto key = [t](int row, int col, Qt::Key k) {
        t->setCurrentCell(row, col);
        QTest::keyClick(t, k, Qt::ControlModifier);
    };
    key(1, 2, Qt::Key_C);
    EXPECT_EQ(dlg->valueClipboard(), 2.0);
    key(1, 1, Qt::Key_V);
    EXPECT_EQ(r.bpHeight[1][2], 2.0f);
    // Pasting a distance follows the typing rules: refused on the receiver point, merging
    // onto an existing point.
    key(0, 2, Qt::Key_C);
    key(0, 3, Qt::Key_V);
    EXPECT_EQ(messages(), QStringList({kRefused}));
    key(0, 1, Qt::Key_V);
    EXPECT_EQ(pointDistances(r), (Floats{0, 20, 50}));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));
}

TEST_F(CrossSectionDialog, DistanceBasisScalesShownAndTypedDistances)
{
    setProfile(r, {{0, 0}, {10, 1}, {50, 0}});
    r.angleFrom[1] = 120;  // equivalent line at 60°: factor 0.5
    r.angleTo[1] = 180;
    r.bpDistanceBasis[1] = 2;
    open();
    EXPECT_EQ(r.bpDistanceBasis[1], 0);  // reset at the opening
    EXPECT_EQ(factors.EqFactor, 0.5f);
    EXPECT_FALSE(basis("RadioButton_Slutposition")->isVisible());
    basis("RadioButton_Ekvivalent")->click();
    EXPECT_EQ(r.bpDistanceBasis[1], 1);
    ProfileTable* t = points();
    EXPECT_EQ(cell(t, 0, 2), QStringLiteral("100.0"));
    ASSERT_TRUE(enterInGrid(t, 0, 1, QStringLiteral("30")));
    EXPECT_EQ(r.bpDistance[1][2], 15.0f);
    ASSERT_TRUE(enterInGrid(t, 0, 1, QStringLiteral("90")));  // up to the displayed receiver distance
    EXPECT_EQ(r.bpDistance[1][2], 45.0f);
    basis("RadioButton_Vinkelratt")->click();
    EXPECT_EQ(cell(t, 0, 1), QStringLiteral("45.0"));
    // A factor of 0 leaves the distances as stored.
    factors.MaxFactor = 0.0f;
    r.angleFrom[1] = r.angleTo[1] = 90;  // equal angles keep the factors
    dlg->openStretch(1);
    basis("RadioButton_Max")->click();
    EXPECT_EQ(dlg->displayScale(), 1.0);

    // A curved stretch: start and end positions.
    r.shape[1] = 1;
    r.startDistance[1] = 40;
    r.endDistance[1] = 60;
    r.track[1] = 2;
    r.orderInTrack[1] = 3;
    open();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tvärsektion - spår 2:3"));
    EXPECT_EQ(label("Label_Stracka"), QStringLiteral("KRÖKT STRÄCKA"));
    EXPECT_EQ(r.bpDistanceBasis[1], 3);
    EXPECT_FALSE(basis("RadioButton_Max")->isVisible());
    basis("RadioButton_Slutposition")->click();
    EXPECT_EQ(r.bpDistanceBasis[1], 4);
    EXPECT_EQ(cell(points(), 0, 2), QStringLiteral("60.0"));
}

TEST_F(CrossSectionDialog, ScreenOffAndOnRestoresItsValues)
{
    setProfile(r, {{0, 0}, {10, 0}, {50, 0}});
    r.screenType[1] = 2;
    r.screenDistance[1] = 20;
    r.screenCrestHeight[1] = 3;
    open();
    QComboBox* list = dlg->screenList();
    ProfileTable* st = dlg->screenTable();
    EXPECT_EQ(cell(st, 0, 0), QStringLiteral("20.0"));

    // Chosen with the mouse in the dropped list.
    const auto pick = [list](int index) {
        QTest::mouseClick(list, Qt::LeftButton);
        ASSERT_TRUE(list->view()->isVisible());
        clickInList(list, index);
    };
    pick(0);
    EXPECT_EQ(r.screenType[1], 0);
    EXPECT_EQ(r.screenDistance[1] + r.screenCrestHeight[1] + r.screenBaseHeight[1], 0.0f);
    EXPECT_FALSE(st->item(0, 0)->flags() & Qt::ItemIsEditable);  // greyed
    EXPECT_EQ(typeInGrid(st, 0, 0, QStringLiteral("5")), nullptr);
    EXPECT_TRUE(label("Label_EffektivSkarmhojd").isEmpty());

    // On again: the screen dialog opens with the remembered values; OK keeps them.
    QString shownLimit;
    onNextModal([&](QWidget*) {
        TForm1* sd = dlg->screenDialog();
        shownLimit = sd->table()->verticalHeaderItem(0)->text();
        EXPECT_EQ(sd->screenDistance(), 20.0);
        sd->Button_OKClick();
    });
    pick(1);
    EXPECT_EQ(shownLimit, QStringLiteral("Avstånd spårmitt-skärm (<50.0m)"));
    EXPECT_EQ(r.screenType[1], 1);
    EXPECT_EQ(r.screenDistance[1], 20.0f);
    EXPECT_EQ(r.screenCrestHeight[1], 3.0f);
    EXPECT_TRUE(label("Label_EffektivSkarmhojd").startsWith(QStringLiteral("Effektiv Skärmhöjd: ")));
    EXPECT_EQ(label("Label_MarkhojdSkarm"), QStringLiteral("Markhöjd vid skärm: 0.00"));
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

    // The screen table: the distance must lie inside the profile (the cell stays in editing
    // otherwise), the foot follows the ground, Enter moves on, F1 is help 211.
    r.screenType[1] = 1;
    r.screenDistance[1] = 20;
    r.bpHeight[1][2] = 2;
    open();
    st = dlg->screenTable();
    QLineEdit* e = typeInGrid(st, 0, 0, QStringLiteral("50"));
    ASSERT_NE(e, nullptr);
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(st->activeEditor(), e);
    e->setText(QStringLiteral("30"));
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(r.screenDistance[1], 30.0f);
    EXPECT_EQ(st->currentRow(), 1);
    EXPECT_EQ(r.screenBaseHeight[1], 1.0f);  // 2 − 2·20/40
    ASSERT_TRUE(enterInGrid(st, 1, 0, QStringLiteral("4.5")));
    EXPECT_EQ(r.screenCrestHeight[1], 4.5f);
    QTest::keyClick(st, Qt::Key_F1);
    EXPECT_EQ(platform_->helpContexts, std::vector<int>{211});
}

TEST_F(CrossSectionDialog, LineOfSightWarnings)
{
    // A ridge above the line of sight warns only at OK, with a beep; the dialog closes all the same.
    setProfile(r, {{0, 0}, {25, 0}, {50, 0}});
    open();
    ASSERT_TRUE(enterInGrid(points(), 1, 1, QStringLiteral("3")));
    EXPECT_EQ(check.ProfileState, 4);
    EXPECT_EQ(messages().size() + platform_->beeps, 0);
    dlg->Button_OKClick();
    EXPECT_EQ(platform_->beeps, 1);
    EXPECT_EQ(messages(), QStringList(QString::fromUtf8(kScreenCaseWarning)));
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(refreshed, 1);

    // A hump before a screen that cuts the line: state 1, warned once per arming.
    platform_->messages.clear();
    setProfile(r, {{0, 0}, {20, 3}, {100, 0}});
    r.screenType[1] = 1;
    r.screenDistance[1] = 60;
    r.screenCrestHeight[1] = 1;
    open();
    EXPECT_EQ(check.ProfileState, 1);
    EXPECT_EQ(messages(), QStringList(QString::fromStdString(ProfileWarningText(1))));
    ProfileTable* t = points();
    ASSERT_TRUE(enterInGrid(t, 1, 1, QStringLiteral("3.5")));  // still state 1: no second warning
    EXPECT_EQ(messages().size(), 1);
    ASSERT_TRUE(enterInGrid(t, 1, 1, QStringLiteral("0")));  // back to 0 re-arms
    EXPECT_EQ(check.ProfileState, 0);
    ASSERT_TRUE(enterInGrid(t, 1, 1, QStringLiteral("3")));
    EXPECT_EQ(messages().size(), 2);
    dlg->Button_OKClick();  // no box for states 1 to 3
    EXPECT_EQ(messages().size(), 2);
    open();  // a new opening arms again
    EXPECT_EQ(messages().size(), 3);
}

TEST_F(CrossSectionDialog, ReceiverHeightHelpAndInfoLine)
{
    setProfile(r, {{0, 0}, {50, 0}});
    open();
    const QString pointsHint = QStringLiteral("F4: Lägg till brytpunkt; F5: Ta bort brytpunkt....");
    // It opens on the first break point, whose hint is shown at once.
    EXPECT_EQ(points()->currentColumn(), 0);
    EXPECT_EQ(dlg->infoLine()->text(), pointsHint);
    QLineEdit* field = dlg->receiverHeightField();
    EXPECT_EQ(field->text(), QStringLiteral("2.0"));
    field->setText(QStringLiteral("4.5"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(r.receiverHeight[1], 4.5f);
    EXPECT_TRUE(dlg->isVisible());
    QTest::keyClick(field, Qt::Key_F1);
    QTest::keyClick(points(), Qt::Key_F1);
    EXPECT_EQ(platform_->helpContexts, (std::vector<int>{110, 110}));

    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    field->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dlg->infoLine()->text(), QStringLiteral("Mottagarens höjd över marken (m) ..."));
    points()->setFocus();
    EXPECT_EQ(dlg->infoLine()->text(), pointsHint);
    dlg->screenTable()->setCurrentCell(1, 0);
    dlg->screenTable()->setFocus();
    EXPECT_EQ(dlg->infoLine()->text(), QStringLiteral("Skärmkrönets höjd över marknivån (m) ..."));
    dlg->screenTable()->setCurrentCell(2, 0);
    EXPECT_EQ(dlg->infoLine()->text(), QStringLiteral("Ange skärmfall (Nej/Ja) ..."));
    // Leaving the break-point table clears the line.
    points()->setFocus();
    dlg->findChild<QWidget*>(QStringLiteral("Button_OK"))->setFocus();
    EXPECT_EQ(dlg->infoLine()->text(), QString());
}

TEST_F(CrossSectionDialog, AddAndDeleteBreakPoints)
{
    setProfile(r, {{0, 0}, {10, 0}, {40, 0}});
    open();
    ProfileTable* t = points();
    QTimer::singleShot(0, [&] {
        dlg->breakPointDialog()->setValues(20, 5);
        dlg->breakPointDialog()->Button_OKClick();
    });
    t->setCurrentCell(0, 1);
    QTest::keyClick(t, Qt::Key_F4);
    ASSERT_EQ(t->columnCount(), 4);
    EXPECT_EQ(t->horizontalHeaderItem(2)->text(), QStringLiteral("BP"));
    EXPECT_EQ(cell(t, 1, 2), QStringLiteral("5.0"));
    EXPECT_EQ(check.ProfileState, 4);  // the new point stands above the line
    // F5 removes it again.
    t->setCurrentCell(0, 2);
    QTest::keyClick(t, Qt::Key_F5);
    EXPECT_EQ(pointDistances(r), (Floats{0, 10, 40}));
    EXPECT_EQ(r.bpLabel[1][4].length(), 0);
    EXPECT_EQ(check.ProfileState, 0);
}
