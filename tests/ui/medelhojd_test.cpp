// The cross-section dialog driven through its widgets (the edit cycle of its number grids,
// break-point editing, the distance basis, the screen list, the warnings and the closing), and
// its break-point and screen dialogs.

#include <QClipboard>
#include <QLabel>
#include <QRadioButton>

#include "main_fixture.h"
#include "ui/Brytpunkt.h"
#include "ui/Form1.h"
#include "ui/Medelhojd.h"

namespace {

const char* const kRefused = "Värdet kan inte ändras";
using Floats = std::vector<float>;
using Step = std::function<void()>;

class CrossSectionDialog : public ::testing::Test {
protected:
    ProjectRecord r = startupDefaults("2026-01-01 00:00:00");
    DocumentState doc;
    AngleFactors factors;
    ProfileCheck check;
    ScopedScriptedPlatform platform_;
    std::unique_ptr<TForm_MedelHojd> dlg;
    GridView* t = nullptr;  // the grid under test; the break-point grid has a column per point
    int refreshed = 0;

    void open(bool active = false)
    {
        dlg = std::make_unique<TForm_MedelHojd>(CrossSectionContext{r, doc, factors, check});
        QObject::connect(dlg.get(), &TForm_MedelHojd::closedWithChanges, [this] { ++refreshed; });
        dlg->openStretch(1);
        dlg->show();
        t = dlg->breakPointTable();
        if (!active) return;
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    static QString cell(GridView* g, int row, int col) { return g->model()->index(row - 1, col - 1).data().toString(); }
    static QLineEdit* entry(GridView* g) { return qobject_cast<QLineEdit*>(g->cellDelegate()->editor()); }
    void click(int row, int col, bool twice = false)
    {
        const QPoint p = t->visualRect(t->model()->index(row - 1, col - 1)).center();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, p);
        if (twice) QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, p);
    }
    void enter(int row, int col, const char* text) { ASSERT_TRUE(enterInGrid(t, row, col, QString::fromUtf8(text))); }
    std::pair<int, int> current() const { return {t->currentRow(), t->currentColumn()}; }
    QStringList messages() { return platform_->messageTexts(); }
    // The next dialog the cross-section dialog runs is shown and goes to f, which works it.
    void answer(std::function<int(QDialog&)> f) { platform_->dialogAnswers.push_back([f](QDialog& d) { return d.show(), f(d); }); }
    QAbstractButton* basis(const char* name) { return dlg->findChild<QRadioButton*>(QString::fromLatin1(name)); }
    void setScreen(int type, float at, float crest) { r.screenType[1] = type, r.screenDistance[1] = at, r.screenCrestHeight[1] = crest; }
};

}  // namespace

TEST_F(CrossSectionDialog, HowAnEntryStartsAndEnds)
{
    setProfile(r, {{0, 0}, {10, 1}, {20, 2}, {50, 0}});
    open(true);
    // A number character, F2 or a double click starts an entry; a letter or a click on the
    // current cell does not.
    const std::pair<Step, bool> cases[] = {
        {[&] { QTest::keyClick(t, Qt::Key_7); }, true}, {[&] { QTest::keyClick(t, Qt::Key_Comma); }, true},
        {[&] { QTest::keyClick(t, Qt::Key_F2); }, true}, {[&] { click(2, 2, true); }, true},
        {[&] { QTest::keyClick(t, Qt::Key_A); }, false}, {[&] { click(2, 2); }, false}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        t->setCurrentCell(2, 2);
        cases[i].first();
        EXPECT_EQ(entry(t) != nullptr, cases[i].second) << i;
        if (entry(t)) QTest::keyClick(entry(t), Qt::Key_Escape);
    }
    EXPECT_EQ(pointHeights(r), (Floats{0, 1, 2, 0}));
    // The end points' distances are fixed: the refusal is explained, by typing or a double click.
    click(1, 4, true);
    EXPECT_EQ(typeInGrid(t, 1, 1, QStringLiteral("5")), nullptr);
    EXPECT_EQ(messages(), QStringList({kRefused, kRefused}));
    // Only the height row takes a minus sign; seven whole digits and one decimal at most,
    // after either separator; a cell holding no digit is 0.
    enter(1, 2, "-3");
    enter(2, 2, "-12345678,25");
    EXPECT_EQ(std::pair(r.bpDistance[1][2], r.bpHeight[1][2]), std::pair(3.0f, -1234567.2f));
    enter(2, 2, "-");
    EXPECT_EQ(r.bpHeight[1][2], 0.0f);

    // Click a cell, type, Enter: stored, and on to the height of the point; Enter there goes
    // to the next point. Right and Left store and move a point, not beyond the first. Enter
    // and Escape never close the dialog.
    click(1, 2);
    QTest::keyClick(t, '1');
    QTest::keyClick(entry(t), '1');
    QTest::keyClick(entry(t), Qt::Key_Return);
    EXPECT_EQ(std::pair(r.bpDistance[1][2], current()), std::pair(11.0f, std::pair(2, 2)));
    const std::tuple<int, int, Qt::Key, std::pair<int, int>> moves[] = {
        {2, 2, Qt::Key_Return, {1, 3}}, {2, 2, Qt::Key_Right, {2, 3}}, {2, 1, Qt::Key_Left, {2, 1}}};
    for (const auto& [row, col, key, to] : moves) {
        QTest::keyClick(typeInGrid(t, row, col, QString::number(col + 5)), key);
        EXPECT_EQ(current(), to);
    }
    EXPECT_EQ(std::pair(pointHeights(r), r.trackHeight[1]), std::pair(Floats{6, 7, 2, 0}, 6.0f));
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Escape}) QTest::keyClick(t, k);
    EXPECT_TRUE(dlg->isVisible());

    // A distance outside the profile is refused without a message: the entry keeps what was
    // typed through Enter, Left, Right, Down and Tab until Escape abandons it, or a click in
    // the grid or on another control leaves the cell and abandons it.
    const Step leave[] = {[&] { QTest::keyClick(entry(t), Qt::Key_Escape); }, [&] { click(2, 1); },
                          [&] { QTest::mouseClick(dlg->receiverHeightField(), Qt::LeftButton); }};
    for (const Step& how : leave)
        for (const char* v : {"50", "0"}) {
            QLineEdit* e = typeInGrid(t, 1, 2, QString::fromLatin1(v));
            for (Qt::Key k : {Qt::Key_Return, Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_Tab})
                QTest::keyClick(e, k);
            ASSERT_EQ(entry(t), e);
            EXPECT_EQ(e->text(), QString::fromLatin1(v));
            how();
            EXPECT_EQ(std::pair(entry(t) == nullptr, cell(t, 1, 2)), std::pair(true, QStringLiteral("11.0")));
        }
    EXPECT_EQ(std::pair(current(), messages().size()), std::pair(std::pair(1, 2), qsizetype(2)));  // no new one
    // A click elsewhere in the grid, or on another control, stores a valid entry.
    ASSERT_NE(typeInGrid(t, 2, 2, QStringLiteral("3")), nullptr);
    click(2, 3);
    ASSERT_NE(typeInGrid(t, 2, 3, QStringLiteral("5")), nullptr);
    QTest::mouseClick(dlg->receiverHeightField(), Qt::LeftButton);
    EXPECT_EQ(std::pair(pointHeights(r), current()), std::pair(Floats{6, 3, 5, 0}, std::pair(2, 3)));
}

TEST_F(CrossSectionDialog, OpeningClosingReceiverHeightHelpAndInfoLine)
{
    r.perpDistance[1] = 40;
    open(true);
    // The receiver takes the perpendicular distance.
    EXPECT_EQ(std::pair(dlg->windowTitle(), pointDistances(r)), std::pair(QStringLiteral("Tvärsektion - spår 1:1"), Floats{0, 40}));
    // It opens on the first break point, whose hint is shown at once; the line follows the
    // focus and the screen table's row.
    EXPECT_EQ(std::pair(current(), dlg->infoLine()->text()),
              std::pair(std::pair(1, 1), QStringLiteral("F4: Lägg till brytpunkt; F5: Ta bort brytpunkt....")));
    dlg->screenTable()->setCurrentCell(2, 1);
    dlg->screenTable()->setFocus();
    EXPECT_EQ(dlg->infoLine()->text(), QStringLiteral("Skärmkrönets höjd över marknivån (m) ..."));
    QLineEdit* field = dlg->receiverHeightField();
    field->setText(QStringLiteral("4.5"));
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_F1}) QTest::keyClick(field, k);
    QTest::keyClick(t, Qt::Key_F1);
    EXPECT_EQ(std::tuple(r.receiverHeight[1], dlg->isVisible(), platform_->helpContexts),
              std::tuple(4.5f, true, std::vector<int>{110, 110}));
    // F5 on either end point does nothing; their heights go to the track and the receiver.
    for (int col : {1, 2}) t->setCurrentCell(1, col), QTest::keyClick(t, Qt::Key_F5);
    enter(2, 1, "1.5");
    enter(2, 2, "-2");
    EXPECT_EQ(std::tuple(r.trackHeight[1], r.receiverGroundHeight[1], r.bpCount[1], doc.modified),
              std::tuple(1.5f, -2.0f, 2, true));
    // An opening that changes nothing leaves the document unmodified; the receiver point
    // taking a new distance is a change.
    setProfile(r, {{0, 0}, {10, 0}, {50, 0}});
    for (float perp : {50.0f, 60.0f}) {
        doc.modified = false;
        r.perpDistance[1] = perp;
        open();
        dlg->Button_OKClick();
        EXPECT_EQ(std::pair(doc.modified, refreshed), std::pair(perp == 60, perp == 60 ? 1 : 0));
    }
    // A damaged point count is repaired.
    r.bpCount[1] = 0;
    open();
    EXPECT_EQ(pointDistances(r), (Floats{0, 60}));
    r.bpCount[1] = 1000;
    EXPECT_NO_FATAL_FAILURE(open());
    EXPECT_EQ(r.bpCount[1], 33);
}

TEST_F(CrossSectionDialog, DistanceEntryMovesOrMergesThePoint)
{
    setProfile(r, {{0, 0}, {10, 1}, {20, 2}, {30, 3}, {50, 0}});
    open();
    // Between its neighbours only the distance changes; beyond the next point the point moves
    // into order with its height and label, the cursor with it; and back before an earlier point.
    // Onto an existing point the two merge, keeping the edited point's height; the freed last
    // slot is cleared.
    const std::tuple<int, const char*, Floats, Floats, int> steps[] = {
        {2, "12.5", {0, 12.5f, 20, 30, 50}, {0, 1, 2, 3, 0}, 2}, {2, "25", {0, 20, 25, 30, 50}, {0, 2, 1, 3, 0}, 3},
        {4, "5", {0, 5, 20, 25, 50}, {0, 3, 2, 1, 0}, 2}, {2, "25", {0, 20, 25, 50}, {0, 2, 3, 0}, 3}};
    for (const auto& [col, text, distances, heights, to] : steps) {
        enter(1, col, text);
        EXPECT_EQ(std::tuple(pointDistances(r), pointHeights(r), t->currentColumn()), std::tuple(distances, heights, to)) << text;
    }
    EXPECT_EQ(std::tuple(cell(t, 1, 3), r.bpLabel[1][4].equals("MT"), r.bpDistance[1][5], r.bpLabel[1][5].length(),
                         t->model()->columnCount()),
              std::tuple(QStringLiteral("25.0"), true, 0.0f, 0, 4));
}

TEST_F(CrossSectionDialog, ValueClipboardAndAddingAndDeletingPoints)
{
    setProfile(r, {{0, 0}, {10, 1}, {20, 0.5f}, {50, 0}});
    open();
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    auto key = [this](int row, int col, Qt::Key k) {
        t->setCurrentCell(row, col);
        QTest::keyClick(t, k, Qt::ControlModifier);
    };
    key(2, 3, Qt::Key_C);
    key(2, 2, Qt::Key_V);
    EXPECT_EQ(r.bpHeight[1][2], 0.5f);
    // In an entry Ctrl+C takes the typed value and Ctrl+V puts the value in, to be stored by Enter.
    QLineEdit* e = typeInGrid(t, 2, 2, QStringLiteral("8"));
    QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Escape);
    e = typeInGrid(t, 2, 3, QStringLiteral("1"));
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(std::pair(dlg->valueClipboard(), r.bpHeight[1][3]), std::pair(8.0, 8.0f));
    // Pasting a distance follows the typing rules: refused on the receiver point, merging
    // onto an existing point. The system clipboard is left alone.
    key(1, 3, Qt::Key_C);
    key(1, 4, Qt::Key_V);
    EXPECT_EQ(messages(), QStringList({kRefused}));
    key(1, 2, Qt::Key_V);
    EXPECT_EQ(std::pair(pointDistances(r), QApplication::clipboard()->text()), std::pair(Floats{0, 20, 50}, QStringLiteral("untouched")));
    // F4 adds a point through the break-point dialog (Enter on its height row finishes it), F5
    // removes it again.
    answer([](QDialog& d) {
        auto* g = child<GridView>(&d, "OvcTable_Brytpunkt");
        EXPECT_TRUE(enterInGrid(g, 1, 1, QStringLiteral("30")) && enterInGrid(g, 2, 1, QStringLiteral("50")));
        return d.result();
    });
    QTest::keyClick(t, Qt::Key_F4);
    // The new point stands above the line.
    EXPECT_EQ(std::pair(t->model()->headerData(2, Qt::Horizontal).toString() + cell(t, 2, 3), check.ProfileState),
              std::pair(QStringLiteral("BP50.0"), 4));
    t->setCurrentCell(1, 3);
    QTest::keyClick(t, Qt::Key_F5);
    EXPECT_EQ(pointDistances(r), (Floats{0, 20, 50}));
    EXPECT_EQ(std::pair(r.bpLabel[1][4].length(), check.ProfileState), std::pair(0, 0));
}

TEST_F(CrossSectionDialog, DistanceBasisScalesShownAndTypedDistances)
{
    setProfile(r, {{0, 0}, {10, 1}, {50, 0}});
    r.angleFrom[1] = 120, r.angleTo[1] = 180;  // equivalent line at 60°: factor 0.5
    r.bpDistanceBasis[1] = 2;
    open();
    EXPECT_EQ(std::pair(r.bpDistanceBasis[1], factors.EqFactor), std::pair(0, 0.5f));  // reset at the opening
    basis("RadioButton_Ekvivalent")->click();
    EXPECT_EQ(std::pair(r.bpDistanceBasis[1], cell(t, 1, 3)), std::pair(1, QStringLiteral("100.0")));
    enter(1, 2, "90");  // up to the displayed receiver distance
    basis("RadioButton_Vinkelratt")->click();
    EXPECT_EQ(std::pair(r.bpDistance[1][2], cell(t, 1, 2)), std::pair(45.0f, QStringLiteral("45.0")));
    // A factor of 0 (never computed) leaves the distances as stored.
    factors.MaxFactor = 0.0f;
    r.angleFrom[1] = r.angleTo[1] = 90;  // equal angles keep the factors
    dlg->openStretch(1);
    basis("RadioButton_Max")->click();
    EXPECT_EQ(dlg->displayScale(), 1.0);
    // A curved stretch: start and end positions, the end scaled by end/start.
    r.shape[1] = 1, r.startDistance[1] = 40, r.endDistance[1] = 60;
    open();
    EXPECT_EQ(std::tuple(child<QLabel>(dlg.get(), "Label_Stracka")->text(), r.bpDistanceBasis[1],
                         basis("RadioButton_Max")->isVisible()),
              std::tuple(QStringLiteral("KRÖKT STRÄCKA"), 3, false));
    basis("RadioButton_Slutposition")->click();
    EXPECT_EQ(std::pair(r.bpDistanceBasis[1], cell(t, 1, 3)), std::pair(4, QStringLiteral("60.0")));
}

TEST_F(CrossSectionDialog, ScreenOffAndOnRestoresItsValues)
{
    setProfile(r, {{0, 0}, {10, 0}, {50, 0}});
    setScreen(2, 20, 3);
    open();
    QComboBox* list = dlg->screenList();
    const auto pick = [list](int index) {  // with the mouse in the dropped list
        QTest::mouseClick(list, Qt::LeftButton);
        clickInList(list, index);
    };
    pick(0);
    EXPECT_EQ(std::pair(r.screenType[1], r.screenDistance[1] + r.screenCrestHeight[1] + r.screenBaseHeight[1]),
              std::pair(0, 0.0f));
    EXPECT_EQ(typeInGrid(dlg->screenTable(), 1, 1, QStringLiteral("5")), nullptr);  // greyed
    // On again: the screen dialog opens with the remembered values; OK keeps them.
    answer([](QDialog& d) {
        EXPECT_EQ(cell(child<GridView>(&d, "OvcTable_Skarm"), 1, 1), QStringLiteral("20.0"));
        return clickButton(d, "Button_OK");
    });
    pick(1);
    EXPECT_EQ(std::tuple(r.screenType[1], r.screenDistance[1], r.screenCrestHeight[1]), std::tuple(1, 20.0f, 3.0f));
    // Between the two kinds only the type changes; cancelled in the screen dialog: back to "Nej".
    list->setCurrentIndex(2);
    EXPECT_EQ(std::pair(r.screenType[1], r.screenDistance[1]), std::pair(2, 20.0f));
    list->setCurrentIndex(0);
    answer([](QDialog& d) { return clickButton(d, "Button_Avbryt"); });
    list->setCurrentIndex(1);
    EXPECT_EQ(std::tuple(list->currentIndex(), r.screenType[1], platform_->dialogAnswers.size()), std::tuple(0, 0, 0u));  // answered

    // The screen table: the distance must lie inside the profile, the foot follows the
    // ground, Enter moves on to the crest height, F1 is help 211.
    setScreen(1, 20, 3);
    r.bpHeight[1][2] = 2;
    open();
    t = dlg->screenTable();
    enter(1, 1, "50");
    ASSERT_NE(entry(t), nullptr);
    QTest::keyClick(entry(t), Qt::Key_Escape);
    enter(1, 1, "30");
    EXPECT_EQ(std::pair(r.screenBaseHeight[1], t->currentRow()), std::pair(1.0f, 2));  // 2 − 2·20/40
    enter(2, 1, "4.5");
    QTest::keyClick(t, Qt::Key_F1);
    EXPECT_EQ(std::tuple(r.screenDistance[1], r.screenCrestHeight[1], platform_->helpContexts),
              std::tuple(30.0f, 4.5f, std::vector<int>{211}));
}

TEST_F(CrossSectionDialog, LineOfSightWarnings)
{
    // A ridge above the line of sight warns only at OK, with a beep; the dialog closes all the same.
    setProfile(r, {{0, 0}, {25, 0}, {50, 0}});
    open();
    enter(2, 2, "3");
    EXPECT_EQ(std::pair(check.ProfileState, messages().size() + platform_->beeps), std::pair(4, qsizetype(0)));
    dlg->Button_OKClick();
    EXPECT_EQ(messages(), QStringList(QString::fromUtf8(kScreenCaseWarning)));
    EXPECT_EQ(std::tuple(platform_->beeps, dlg->isVisible(), refreshed), std::tuple(1, false, 1));
    // A hump before a screen that cuts the line: state 1, warned once per arming, and each
    // opening arms anew.
    platform_->messages.clear();
    setProfile(r, {{0, 0}, {20, 3}, {100, 0}});
    setScreen(1, 60, 1);
    open();
    EXPECT_EQ(messages(), QStringList(QString::fromStdString(ProfileWarningText(1))));
    enter(2, 2, "3.5");  // still state 1: no second warning
    dlg->Button_OKClick();  // and no box for states 1 to 3
    EXPECT_EQ(std::pair(check.ProfileState, messages().size()), std::pair(1, qsizetype(1)));
    open();
    EXPECT_EQ(messages().size(), 2);
}

// ---------------------------------------------------------------------------------------
// The break-point dialog and the screen dialog on their own.

TEST_F(CrossSectionDialog, BreakPointDialogTypedInsertedMergedOrRefused)
{
    setProfile(r, {{0, 0}, {12.3f, 1}, {40, 0}});
    TForm_Brytpunkt d(r);
    d.prepare(1, 0, 1.0);
    d.show();
    t = d.table();
    // Four whole digits at most; Escape abandons an entry and, outside one, stays in the grid
    // (it does not cancel the dialog). Enter on the height row finishes the dialog only with the
    // distance inside the profile (as F4 in the cross-section does); beyond the receiver it moves
    // on, without a message. The values stay for the next opening.
    QLineEdit* e = typeInGrid(t, 1, 1, QStringLiteral("123456"));
    EXPECT_EQ(e->text(), QStringLiteral("1234"));
    QTest::keyClick(e, Qt::Key_Escape);
    QTest::keyClick(t, Qt::Key_Escape);
    EXPECT_EQ(std::pair(d.isVisible(), cell(t, 1, 1)), std::pair(true, QStringLiteral("0.0")));
    enter(1, 1, "60");
    enter(2, 1, "-1.5");
    EXPECT_EQ(std::tuple(d.isVisible(), t->currentRow(), messages().size()), std::tuple(true, 1, qsizetype(0)));
    d.prepare(1, 0, 1.0);
    EXPECT_EQ(std::pair(cell(t, 1, 1), d.newHeight()), std::pair(QStringLiteral("60.0"), -1.5));

    const auto add = [&d](double distance, double height, double scale = 1.0) {
        d.prepare(1, scale == 1.0 ? 0 : 1, scale);
        d.setValues(distance, height);
        d.Button_OKClick();
        return d.changed();
    };
    // A new point goes in order; at a distance that rounds to an existing point only its height changes.
    EXPECT_TRUE(add(20, -1.5) && add(12.34, 7));
    EXPECT_EQ(std::pair(pointDistances(r), pointHeights(r)), std::pair(Floats{0, 12.3f, 20, 40}, Floats{0, 7, -1.5f, 0}));
    // Outside the profile (also after rounding to one decimal, a point at or before the track
    // centre too): the message, nothing changes.
    const ProjectRecord before = r;
    for (double dist : {0.0, 0.04, 40.0, 39.96, 55.0}) EXPECT_FALSE(add(dist, 3)) << dist;
    EXPECT_EQ(messages(), QStringList(5, QStringLiteral("Brytpunktens avstånd är större än mottagarens!")));
    EXPECT_TRUE(r == before);
    // In displayed units the new point is stored unrounded.
    EXPECT_TRUE(add(50, 2, 1.0 / 0.75));  // equivalent line: 40 m shows as 53.33
    EXPECT_EQ(r.bpDistance[1][4], static_cast<float>(50 / (1.0 / 0.75)));
    // A 34th point would be written past the arrays: refused; a height at an existing
    // distance is still taken.
    for (int p = 1; p <= 33; ++p) {
        r.bpDistance[1][p] = static_cast<float>(p - 1);
        r.bpLabel[1][p].setBytes(p == 1 ? "SM" : p == 33 ? "MT" : "BP");
    }
    r.bpCount[1] = 33;
    const ProjectRecord full = r;
    EXPECT_FALSE(add(4.5, 1));
    EXPECT_EQ(messages().back(), QStringLiteral("Högst 33 brytpunkter per delsträcka!"));
    EXPECT_TRUE(r == full);
    EXPECT_TRUE(add(5, 1));
    EXPECT_EQ(r.bpHeight[1][6], 1.0f);
}

TEST_F(CrossSectionDialog, ScreenDialogLimitRetryAbortAndStore)
{
    setProfile(r, {{0, 0}, {10, 0}, {50, 0}});
    setScreen(1, 12, 2);
    TForm1 d(r);
    d.prepare(1, 0, 1.0);
    d.show();
    t = d.table();
    EXPECT_EQ(t->model()->headerData(0, Qt::Vertical).toString() + cell(t, 1, 1),
              QStringLiteral("Avstånd spårmitt-skärm (<50.0m)12.0"));
    // Distance equal to the limit: Retry returns to the distance row; Abort closes, nothing
    // stored, the screen stays on.
    d.setValues(50, 4);
    t->setCurrentCell(2, 1);
    platform_->answers.push_back(MsgAnswer::Retry);
    d.Button_OKClick();
    ASSERT_EQ(platform_->messages.size(), 1u);
    EXPECT_EQ(std::pair(platform_->messages[0].text, platform_->messages[0].buttons),
              std::pair(QStringLiteral("Avståndet mellan spårmitt och skärm\n\rmåste vara mindre än 50 meter!"), MsgButtons::AbortRetry));
    EXPECT_EQ(std::pair(d.isVisible(), t->currentRow()), std::pair(true, 1));
    d.Button_OKClick();
    EXPECT_EQ(std::pair(d.isVisible(), d.outcome()), std::pair(false, TForm1::Outcome::Aborted));
    EXPECT_EQ(std::tuple(r.screenType[1], r.screenDistance[1], r.screenCrestHeight[1]), std::tuple(1, 12.0f, 2.0f));
    // Typed along the maximum line (limit 62.5): Enter on the height row stores the distance
    // rounded to one decimal in stretch units (25.1·0.8); F1 is help 211.
    d.prepare(1, 2, 1.0 / 0.8);
    d.show();
    enter(1, 1, "25.1");
    enter(2, 1, "-0.5");
    QTest::keyClick(t, Qt::Key_F1);
    EXPECT_EQ(std::pair(d.isVisible(), d.outcome()), std::pair(false, TForm1::Outcome::Stored));
    EXPECT_EQ(std::tuple(r.screenDistance[1], r.screenCrestHeight[1], platform_->helpContexts),
              std::tuple(static_cast<float>(20.1), -0.5f, std::vector<int>{211}));
}
