// The break-point dialog and the screen dialog on their own.

#include <gtest/gtest.h>

#include <QLabel>

#include "main_fixture.h"
#include "ui/Brytpunkt.h"
#include "ui/Form1.h"

namespace {

using Floats = std::vector<float>;
const char* const kTooFar = "Brytpunktens avstånd är större än mottagarens!";

class SmallDialogs : public ::testing::Test {
protected:
    ProjectRecord r = startupDefaults("2026-01-01 00:00:00");
    ScopedScriptedPlatform platform_;

    QStringList messages() { return platform_->messageTexts(); }
    static QString basisText(QDialog& d) { return d.findChild<QLabel*>(QStringLiteral("Label_Basis"))->text(); }
    static QString cell(GridView* t, int row) { return t->model()->index(row - 1, 0).data().toString(); }
    // Adds a point through the dialog's OK.
    static bool add(TForm_Brytpunkt& d, double distance, double height, double scale = 1.0)
    {
        d.prepare(1, scale == 1.0 ? 0 : 1, scale);
        d.setValues(distance, height);
        d.Button_OKClick();
        return d.changed();
    }
};

}  // namespace

TEST_F(SmallDialogs, BreakPointIsInsertedMergedOrRefused)
{
    setProfile(r, {{0, 0}, {12.3f, 1}, {40, 0}});
    TForm_Brytpunkt d(r);
    d.prepare(1, 0, 1.0);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Ny Brytpunkt"));
    EXPECT_EQ(basisText(d), QStringLiteral("Anges längs normalen (vinkelrätt)"));
    // At a distance that rounds to an existing point only its height changes.
    EXPECT_TRUE(add(d, 12.34, 7));
    EXPECT_EQ(pointDistances(r), (Floats{0, 12.3f, 40}));
    EXPECT_EQ(pointHeights(r), (Floats{0, 7, 0}));
    // Outside the profile (also after rounding to one decimal): the message, nothing changes.
    const ProjectRecord before = r;
    for (double dist : {0.0, 0.04, 40.0, 39.96, 55.0}) EXPECT_FALSE(add(d, dist, 3)) << dist;
    EXPECT_EQ(messages(), QStringList(5, QString::fromUtf8(kTooFar)));
    EXPECT_TRUE(r == before);
    // In displayed units the new point is stored unrounded.
    EXPECT_TRUE(add(d, 50, 2, 1.0 / 0.75));  // equivalent line: 40 m shows as 53.33
    EXPECT_EQ(basisText(d), QStringLiteral("Anges längs ekvivalentnivåns beräkningslinje"));
    EXPECT_EQ(r.bpDistance[1][3], static_cast<float>(50 / (1.0 / 0.75)));
    EXPECT_TRUE(r.bpLabel[1][4].equals("MT"));

    // A 34th point would be written past the arrays: refused; a height at an existing
    // distance is still taken.
    for (int p = 1; p <= 33; ++p) {
        r.bpDistance[1][p] = static_cast<float>(p - 1);
        r.bpLabel[1][p].setBytes(p == 1 ? "SM" : p == 33 ? "MT" : "BP");
    }
    r.bpCount[1] = 33;
    const ProjectRecord full = r;
    platform_->messages.clear();
    EXPECT_FALSE(add(d, 4.5, 1));
    EXPECT_EQ(messages(), QStringList(QStringLiteral("Högst 33 brytpunkter per delsträcka!")));
    EXPECT_TRUE(r == full);
    EXPECT_TRUE(add(d, 5, 1));
    EXPECT_EQ(r.bpHeight[1][6], 1.0f);
}

TEST_F(SmallDialogs, BreakPointTypedInTheGrid)
{
    setProfile(r, {{0, 0}, {10, 1}, {40, 0}});
    TForm_Brytpunkt d(r);
    d.prepare(1, 0, 1.0);
    d.show();
    GridView* t = d.table();
    // Four whole digits at most; Escape abandons an entry and, outside one, stays in the grid
    // (it does not cancel the dialog).
    QLineEdit* e = typeInGrid(t, 1, 1, QStringLiteral("123456"));
    EXPECT_EQ(e->text(), QStringLiteral("1234"));
    QTest::keyClick(e, Qt::Key_Escape);
    QTest::keyClick(t, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(cell(t, 1), QStringLiteral("0.0"));
    // Enter on the height row finishes the dialog when the distance lies inside the profile.
    ASSERT_TRUE(enterInGrid(t, 1, 1, QStringLiteral("20")));
    EXPECT_TRUE(d.isVisible());
    ASSERT_TRUE(enterInGrid(t, 2, 1, QStringLiteral("-1.5")));
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(pointDistances(r), (Floats{0, 10, 20, 40}));
    EXPECT_EQ(pointHeights(r), (Floats{0, 1, -1.5f, 0}));
    EXPECT_TRUE(r.bpLabel[1][3].equals("BP"));
    // The values stay for the next opening.
    d.prepare(1, 0, 1.0);
    EXPECT_EQ(cell(t, 1), QStringLiteral("20.0"));
    EXPECT_EQ(d.newHeight(), -1.5);
    // With a distance beyond the receiver Enter only moves on.
    d.show();
    d.setValues(60, 2);
    ASSERT_TRUE(enterInGrid(t, 2, 1, QStringLiteral("2")));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(t->currentRow(), 1);
}

TEST_F(SmallDialogs, ScreenDialogLimitRetryAbortStoreAndCancel)
{
    setProfile(r, {{0, 0}, {10, 0}, {50, 0}});
    r.screenType[1] = 1;
    r.screenDistance[1] = 12;
    r.screenCrestHeight[1] = 2;
    TForm1 d(r);
    d.prepare(1, 0, 1.0);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("SKÄRM"));
    EXPECT_EQ(d.table()->model()->headerData(0, Qt::Vertical).toString(),
              QStringLiteral("Avstånd spårmitt-skärm (<50.0m)"));
    EXPECT_EQ(cell(d.table(), 1), QStringLiteral("12.0"));
    // Distance equal to the limit: Retry returns to the distance row.
    d.setValues(50, 4);
    d.table()->setCurrentCell(2, 1);
    platform_->answers.push_back(MsgAnswer::Retry);
    d.Button_OKClick();
    ASSERT_EQ(platform_->messages.size(), 1u);
    EXPECT_EQ(platform_->messages[0].text,
              QStringLiteral("Avståndet mellan spårmitt och skärm\n\rmåste vara mindre än 50 meter!"));
    EXPECT_EQ(platform_->messages[0].buttons, MsgButtons::AbortRetry);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.table()->currentRow(), 1);
    // Abort: closed, nothing stored, the screen stays on.
    d.Button_OKClick();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.outcome(), TForm1::Outcome::Aborted);
    EXPECT_EQ(r.screenType[1], 1);
    EXPECT_EQ(r.screenDistance[1], 12.0f);
    EXPECT_EQ(r.screenCrestHeight[1], 2.0f);

    // Typed along the maximum line (limit 62.5): Enter on the height row stores the distance
    // rounded to one decimal in stretch units.
    r.screenType[1] = 2;
    d.prepare(1, 2, 1.0 / 0.8);
    EXPECT_EQ(basisText(d), QStringLiteral("Anges längs maxnivåns beräkningslinje"));
    EXPECT_EQ(d.limit(), 62.5);
    d.show();
    ASSERT_TRUE(enterInGrid(d.table(), 1, 1, QStringLiteral("25.1")));
    ASSERT_TRUE(enterInGrid(d.table(), 2, 1, QStringLiteral("-0.5")));
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.outcome(), TForm1::Outcome::Stored);
    EXPECT_EQ(r.screenDistance[1], static_cast<float>(20.1));  // 25.1·0.8 to one decimal
    EXPECT_EQ(r.screenCrestHeight[1], -0.5f);
    QTest::keyClick(d.table(), Qt::Key_F1);
    EXPECT_EQ(platform_->helpContexts, std::vector<int>{211});
    // "&Avbryt" switches the screen off and stores nothing.
    d.prepare(1, 2, 1.0 / 0.8);
    EXPECT_DOUBLE_EQ(d.screenDistance(), static_cast<double>(static_cast<float>(20.1)) / 0.8);
    d.Button_AvbrytClick();
    EXPECT_EQ(d.outcome(), TForm1::Outcome::Cancelled);
    EXPECT_EQ(r.screenType[1], 0);
    EXPECT_EQ(r.screenDistance[1], static_cast<float>(20.1));
}
