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
    QString basisText(QDialog& d) { return d.findChild<QLabel*>(QStringLiteral("Label_Basis"))->text(); }
    // Adds a point through the dialog's OK.
    bool add(TForm_Brytpunkt& d, double distance, double height, double scale = 1.0)
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
}

TEST_F(SmallDialogs, BreakPointTypedInTheTableFinishesOnEnterInTheHeightRow)
{
    setProfile(r, {{0, 0}, {10, 1}, {40, 0}});
    TForm_Brytpunkt d(r);
    d.prepare(1, 0, 1.0);
    d.show();
    ASSERT_TRUE(enterInGrid(d.table(), 0, 0, QStringLiteral("20")));
    EXPECT_TRUE(d.isVisible());
    ASSERT_TRUE(enterInGrid(d.table(), 1, 0, QStringLiteral("-1.5")));
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(pointDistances(r), (Floats{0, 10, 20, 40}));
    EXPECT_EQ(pointHeights(r), (Floats{0, 1, -1.5f, 0}));
    EXPECT_TRUE(r.bpLabel[1][3].equals("BP"));
    // The values stay for the next opening.
    d.prepare(1, 0, 1.0);
    EXPECT_EQ(d.table()->item(0, 0)->text(), QStringLiteral("20.0"));
    EXPECT_EQ(d.newHeight(), -1.5);
    // Enter on the height row with a distance beyond the receiver only moves on.
    d.show();
    d.setValues(60, 2);
    ASSERT_TRUE(enterInGrid(d.table(), 1, 0, QStringLiteral("2")));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.table()->currentRow(), 0);
}

TEST_F(SmallDialogs, ThirtyFourthBreakPointIsRefused)
{
    for (int p = 1; p <= 33; ++p) {
        r.bpDistance[1][p] = static_cast<float>(p - 1);
        r.bpLabel[1][p].setBytes(p == 1 ? "SM" : p == 33 ? "MT" : "BP");
    }
    r.bpCount[1] = 33;
    const ProjectRecord before = r;
    TForm_Brytpunkt d(r);
    EXPECT_FALSE(add(d, 4.5, 1));
    EXPECT_EQ(messages(), QStringList(QStringLiteral("Högst 33 brytpunkter per delsträcka!")));
    EXPECT_TRUE(r == before);
    // A height at an existing distance is still taken.
    EXPECT_TRUE(add(d, 5, 1));
    EXPECT_EQ(r.bpHeight[1][6], 1.0f);
}

TEST_F(SmallDialogs, ScreenDialogLimitAbortAndRetry)
{
    setProfile(r, {{0, 0}, {10, 0}, {50, 0}});
    r.screenType[1] = 1;
    r.screenDistance[1] = 12;
    r.screenCrestHeight[1] = 2;
    TForm1 d(r);
    d.prepare(1, 0, 1.0);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("SKÄRM"));
    EXPECT_EQ(d.table()->verticalHeaderItem(0)->text(), QStringLiteral("Avstånd spårmitt-skärm (<50.0m)"));
    EXPECT_EQ(d.table()->item(0, 0)->text(), QStringLiteral("12.0"));
    // Distance equal to the limit: Retry returns to the distance row.
    d.setValues(50, 4);
    platform_->answers.push_back(MsgAnswer::Retry);
    d.Button_OKClick();
    ASSERT_EQ(platform_->messages.size(), 1u);
    EXPECT_EQ(platform_->messages[0].text,
              QStringLiteral("Avståndet mellan spårmitt och skärm\n\rmåste vara mindre än 50 meter!"));
    EXPECT_EQ(platform_->messages[0].buttons, MsgButtons::AbortRetry);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.table()->currentRow(), 0);
    // Abort: closed, nothing stored, the screen stays on.
    d.Button_OKClick();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.outcome(), TForm1::Outcome::Aborted);
    EXPECT_EQ(r.screenType[1], 1);
    EXPECT_EQ(r.screenDistance[1], 12.0f);
    EXPECT_EQ(r.screenCrestHeight[1], 2.0f);
}

TEST_F(SmallDialogs, ScreenDialogStoresRoundedAndCancelSwitchesOff)
{
    setProfile(r, {{0, 0}, {10, 0}, {50, 0}});
    r.screenType[1] = 2;
    TForm1 d(r);
    d.prepare(1, 2, 1.0 / 0.8);  // maximum line: limit 62.5
    EXPECT_EQ(basisText(d), QStringLiteral("Anges längs maxnivåns beräkningslinje"));
    EXPECT_EQ(d.limit(), 62.5);
    d.show();
    ASSERT_TRUE(enterInGrid(d.table(), 0, 0, QStringLiteral("25.1")));
    ASSERT_TRUE(enterInGrid(d.table(), 1, 0, QStringLiteral("-0.5")));  // Enter on the height row finishes
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.outcome(), TForm1::Outcome::Stored);
    EXPECT_EQ(r.screenDistance[1], static_cast<float>(20.1));  // 25.1·0.8 to one decimal
    EXPECT_EQ(r.screenCrestHeight[1], -0.5f);
    QTest::keyClick(d.table(), Qt::Key_F1);
    EXPECT_EQ(platform_->helpContexts, std::vector<int>{211});
    d.prepare(1, 2, 1.0 / 0.8);
    EXPECT_DOUBLE_EQ(d.screenDistance(), static_cast<double>(static_cast<float>(20.1)) / 0.8);
    d.Button_AvbrytClick();
    EXPECT_EQ(d.outcome(), TForm1::Outcome::Cancelled);
    EXPECT_EQ(r.screenType[1], 0);
    EXPECT_EQ(r.screenDistance[1], static_cast<float>(20.1));
}
