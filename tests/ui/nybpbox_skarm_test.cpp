// The break-point dialog and the screen dialog on their own.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ui/Platform.h"
#include "ui/ProfileTable.h"
#include "ui/Form1.h"
#include "ui/Brytpunkt.h"

namespace {

class SmallDialogs : public ::testing::Test {
protected:
    ProjectRecord r = startupDefaults("2026-01-01 00:00:00");
    ScopedScriptedPlatform platform_;

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
    }
    QStringList messages() { return platform_->messageTexts(); }
    QString basisText(QDialog& d) { return d.findChild<QLabel*>(QStringLiteral("Label_Basis"))->text(); }
    void enter(ProfileTable* t, int row, const QString& text)
    {
        t->setCurrentCell(row, 0);
        QTest::keyClicks(t, text.left(1));
        QLineEdit* e = t->activeEditor();
        ASSERT_NE(e, nullptr);
        QTest::keyClicks(e, text.mid(1));
        QTest::keyClick(e, Qt::Key_Return);
    }
};

const char* const kTooFar = "Brytpunktens avstånd är större än mottagarens!";

}  // namespace

TEST_F(SmallDialogs, BreakPointAtARoundedExistingDistanceOnlyChangesItsHeight)
{
    setProfile({{0, 0}, {12.3f, 1}, {40, 0}});
    TForm_Brytpunkt d(r);
    d.prepare(1, 0, 1.0);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Ny Brytpunkt"));
    EXPECT_EQ(basisText(d), QStringLiteral("Anges längs normalen (vinkelrätt)"));
    d.setValues(12.34, 7);
    d.Button_OKClick();
    EXPECT_TRUE(d.changed());
    EXPECT_EQ(r.bpCount[1], 3);
    EXPECT_EQ(r.bpHeight[1][2], 7.0f);
    EXPECT_EQ(r.bpDistance[1][2], 12.3f);
    EXPECT_TRUE(r.bpLabel[1][2].equals("BP"));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(SmallDialogs, BreakPointOutsideTheProfileIsRefused)
{
    setProfile({{0, 0}, {10, 1}, {40, 0}});
    const ProjectRecord before = r;
    TForm_Brytpunkt d(r);
    for (double dist : {0.0, 0.04, 40.0, 39.96, 55.0}) {
        d.prepare(1, 0, 1.0);
        d.setValues(dist, 3);
        d.Button_OKClick();
        EXPECT_FALSE(d.changed()) << dist;
    }
    EXPECT_EQ(messages(), QStringList(5, QString::fromUtf8(kTooFar)));
    EXPECT_TRUE(r == before);
}

TEST_F(SmallDialogs, NewBreakPointIsInsertedBeforeTheReceiver)
{
    setProfile({{0, 0}, {10, 1}, {40, 0}});
    TForm_Brytpunkt d(r);
    d.prepare(1, 0, 1.0);
    d.show();
    // Typed in the table; Enter on the height row finishes the dialog.
    enter(d.table(), 0, QStringLiteral("20"));
    EXPECT_TRUE(d.isVisible());
    enter(d.table(), 1, QStringLiteral("-1.5"));
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.changed());
    EXPECT_EQ(r.bpCount[1], 4);
    EXPECT_EQ(r.bpDistance[1][3], 20.0f);
    EXPECT_EQ(r.bpHeight[1][3], -1.5f);
    EXPECT_TRUE(r.bpLabel[1][3].equals("BP"));
    EXPECT_TRUE(r.bpLabel[1][4].equals("MT"));
    EXPECT_EQ(r.bpDistance[1][4], 40.0f);

    // The values stay for the next opening.
    d.prepare(1, 0, 1.0);
    EXPECT_EQ(d.newDistance(), 20.0);
    EXPECT_EQ(d.newHeight(), -1.5);
    EXPECT_EQ(d.table()->item(0, 0)->text(), QStringLiteral("20.0"));
}

TEST_F(SmallDialogs, BreakPointInDisplayedUnitsIsStoredUnrounded)
{
    setProfile({{0, 0}, {10, 1}, {40, 0}});
    TForm_Brytpunkt d(r);
    d.prepare(1, 1, 1.0 / 0.75);  // equivalent line: 40 m shows as 53.33
    EXPECT_EQ(basisText(d), QStringLiteral("Anges längs ekvivalentnivåns beräkningslinje"));
    d.setValues(50, 2);
    d.Button_OKClick();
    EXPECT_EQ(r.bpCount[1], 4);
    EXPECT_EQ(r.bpDistance[1][3], static_cast<float>(50 / (1.0 / 0.75)));
    // Enter on the height row with a distance beyond the receiver only moves on.
    d.prepare(1, 1, 1.0 / 0.75);
    d.show();
    d.setValues(60, 2);
    enter(d.table(), 1, QStringLiteral("2"));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.table()->currentRow(), 0);
}

TEST_F(SmallDialogs, ThirtyFourthBreakPointIsRefused)
{
    ProjectRecord& rr = r;
    for (int p = 1; p <= 33; ++p) {
        rr.bpDistance[1][p] = static_cast<float>(p - 1);
        rr.bpHeight[1][p] = 0;
        rr.bpLabel[1][p].setBytes(p == 1 ? "SM" : p == 33 ? "MT" : "BP");
    }
    rr.bpCount[1] = 33;
    const ProjectRecord before = rr;
    TForm_Brytpunkt d(rr);
    d.prepare(1, 0, 1.0);
    d.setValues(4.5, 1);
    d.Button_OKClick();
    EXPECT_FALSE(d.changed());
    EXPECT_EQ(messages(), QStringList(QStringLiteral("Högst 33 brytpunkter per delsträcka!")));
    EXPECT_TRUE(rr == before);
    // A height at an existing distance is still taken.
    d.prepare(1, 0, 1.0);
    d.setValues(5, 1);
    d.Button_OKClick();
    EXPECT_TRUE(d.changed());
    EXPECT_EQ(rr.bpHeight[1][6], 1.0f);
}

TEST_F(SmallDialogs, ScreenDialogLimitAbortAndRetry)
{
    setProfile({{0, 0}, {10, 0}, {50, 0}});
    r.screenType[1] = 1;
    r.screenDistance[1] = 12;
    r.screenCrestHeight[1] = 2;
    TForm1 d(r);
    d.prepare(1, 0, 1.0);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("SKÄRM"));
    EXPECT_EQ(d.table()->verticalHeaderItem(0)->text(), QStringLiteral("Avstånd spårmitt-skärm (<50.0m)"));
    EXPECT_EQ(d.table()->verticalHeaderItem(1)->text(), QStringLiteral("Skärmkrönets höjd över mark (m)"));
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
    setProfile({{0, 0}, {10, 0}, {50, 0}});
    r.screenType[1] = 2;
    TForm1 d(r);
    d.prepare(1, 2, 1.0 / 0.8);  // maximum line: limit 62.5
    EXPECT_EQ(basisText(d), QStringLiteral("Anges längs maxnivåns beräkningslinje"));
    EXPECT_EQ(d.limit(), 62.5);
    d.show();
    enter(d.table(), 0, QStringLiteral("25.1"));
    enter(d.table(), 1, QStringLiteral("-0.5"));  // Enter on the height row finishes
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.outcome(), TForm1::Outcome::Stored);
    EXPECT_EQ(r.screenDistance[1], static_cast<float>(20.1));  // 25.1·0.8 to one decimal
    EXPECT_EQ(r.screenCrestHeight[1], -0.5f);
    EXPECT_EQ(r.screenType[1], 2);
    QTest::keyClick(d.table(), Qt::Key_F1);
    EXPECT_EQ(platform_->helpContexts, std::vector<int>{211});

    d.prepare(1, 2, 1.0 / 0.8);
    EXPECT_DOUBLE_EQ(d.screenDistance(), static_cast<double>(static_cast<float>(20.1)) / 0.8);
    d.Button_AvbrytClick();
    EXPECT_EQ(d.outcome(), TForm1::Outcome::Cancelled);
    EXPECT_EQ(r.screenType[1], 0);
    EXPECT_EQ(r.screenDistance[1], static_cast<float>(20.1));
}
