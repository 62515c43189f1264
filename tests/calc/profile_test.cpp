// Angle factors, effective screen heights, the line-of-sight classification with its
// warnings and labels, and the middle-zone mean height.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/Profile.h"

namespace {

// A straight stretch 1 with the given break points (distance, height); first "SM", last
// "MT", the others "BP".
ProjectRecord Profile(std::initializer_list<std::pair<float, float>> points, float receiverHeight = 2.0f)
{
    ProjectRecord r = startupDefaults("2026-01-01 00:00:00");
    int p = 0;
    for (auto [dist, height] : points) {
        ++p;
        r.bpDistance[1][p] = dist;
        r.bpHeight[1][p] = height;
        r.bpLabel[1][p].setBytes("BP");
    }
    r.bpCount[1] = p;
    r.bpLabel[1][1].setBytes("SM");
    r.bpLabel[1][p].setBytes("MT");
    r.perpDistance[1] = r.bpDistance[1][p];
    r.receiverHeight[1] = receiverHeight;
    r.trackHeight[1] = r.bpHeight[1][1];
    r.receiverGroundHeight[1] = r.bpHeight[1][p];
    return r;
}

void AddScreen(ProjectRecord& r, float distance, float crest, int type = 1)
{
    r.screenType[1] = type;
    r.screenDistance[1] = distance;
    r.screenCrestHeight[1] = crest;
}

double Deg(double a) { return std::fabs(std::cos(3.141592653589793 * a / 180)); }

}  // namespace

TEST(AngleFactors, EveryCaseOfTheAngleRange)
{
    // Maximum line at the end nearest the normal (on it when the range reaches it); equivalent
    // line in the middle of the larger part on one side of the normal, not cut to whole degrees.
    struct Case {
        int from, to;
        double maxAngle, eqAngle;
    } const cases[] = {
        {60, 120, 0, 15}, {0, 100, 0, 45}, {80, 180, 0, 45}, {0, 179, 0, 45},  // 45 against 44.5
        {100, 140, 10, 30}, {20, 70, 20, 45}, {70, 20, 20, 45}, {90, 150, 0, 30}, {100, 101, 10, 10.5},
    };
    for (const Case& c : cases) {
        ProjectRecord r = startupDefaults("x");
        r.angleFrom[1] = c.from;
        r.angleTo[1] = c.to;
        AngleFactors f;
        ComputeAngleFactors(r, 1, f);
        EXPECT_NEAR(f.MaxFactor, Deg(c.maxAngle), 1e-6) << c.from << ".." << c.to;
        EXPECT_NEAR(f.EqFactor, Deg(c.eqAngle), 1e-6) << c.from << ".." << c.to;
    }
    // Equal angles keep the previous values.
    ProjectRecord r = startupDefaults("x");
    AngleFactors f{0.25f, 0.75f};
    r.angleFrom[2] = r.angleTo[2] = 45;
    ComputeAngleFactors(r, 2, f);
    EXPECT_EQ(f.EqFactor, 0.25f);
    EXPECT_EQ(f.MaxFactor, 0.75f);
}

TEST(EffectiveScreenHeights, CurvedLineOfSightAndGuards)
{
    ProjectRecord r = Profile({{0, 0}, {100, 0}});
    AddScreen(r, 10, 3);
    double low = 0, high = 0;
    EffectiveScreenHeights(r, 1, 1.0, low, high);
    // Dh1 = Dh2 = 10·90/1600 = 0.5625; Ls1 = 2.18, Ls2 = 0.65.
    EXPECT_NEAR(low, 3 - 2.18 - 0.5625, 1e-12);
    EXPECT_NEAR(high, 3 - 0.65 - 0.5625, 1e-12);
    EffectiveScreenHeights(r, 1, 0.0, low, high);  // factor 0: no curvature term on line 1
    EXPECT_NEAR(low, 3 - 2.18, 1e-12);
    EXPECT_FALSE(std::isnan(high));
    // A curved stretch measures from the start distance; no distance at all gives 0, never NaN.
    r.shape[1] = 1;
    r.startDistance[1] = 100;
    r.perpDistance[1] = 0;
    EffectiveScreenHeights(r, 1, 1.0, low, high);
    EXPECT_NEAR(low, 0.2575, 1e-12);
    r.startDistance[1] = 0;
    EffectiveScreenHeights(r, 1, 1.0, low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 0.0);
}

TEST(AnalyseProfile, RidgesWithoutScreenAndPictureRounding)
{
    ProfileCheck check;
    AngleFactors f{1, 1};
    ProjectRecord r = Profile({{0, 0}, {30, 0}, {60, 0}, {100, 0}});
    ProfileAnalysis a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(a.state, 0);
    EXPECT_TRUE(check.WarningArmed);
    EXPECT_FALSE(a.warningDue);
    EXPECT_EQ(a.screenHeightText + a.screenBaseText, "");
    // Coordinates: zmin 0, zmax 2 (the receiver's head), source at 0.5 m.
    ASSERT_TRUE(a.picture.valid);
    EXPECT_EQ(a.picture.Ys, 135);
    EXPECT_EQ(a.picture.Yr, 60);

    // A ridge 1 m above the straight line source–receiver: its box comes at OK and at a
    // calculation, not here.
    r = Profile({{0, 0}, {50, 2.25f}, {100, 0}});
    a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(a.state, 4);
    EXPECT_EQ(check.ProfileState, 4);
    EXPECT_FALSE(a.warningDue);
    EXPECT_FALSE(check.WarningArmed);

    // The classification compares rounded picture coordinates, halves to even: a point of
    // 1.25 m has 100·1.25/2 = 62.5 → 62, so Y = 98; the line source–receiver at x 300 is
    // 135 + (60 − 135)·250/500 = 97.5 → 98. Not above. 1.26 m gives [63] → Y 97, above.
    r = Profile({{0, 0}, {50, 1.25f}, {100, 0}});
    a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(a.picture.Y[2], 98);
    EXPECT_EQ(a.state, 0);
    r.bpHeight[1][2] = 1.26f;
    EXPECT_EQ(AnalyseProfile(r, 1, f, check).state, 4);
}

TEST(AnalyseProfile, ScreenStatesWarnOncePerArming)
{
    AngleFactors f{1, 1};
    ProfileCheck check;
    check.WarningArmed = true;
    // State 1: a hump between source and a tall screen, above the line source–crest.
    ProjectRecord r = Profile({{0, 0}, {20, 3}, {100, 0}});
    AddScreen(r, 60, 1);
    ProfileAnalysis a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(a.state, 1);
    ASSERT_TRUE(a.warningDue);
    EXPECT_EQ(a.warningText, "Kontrollera skärmens placering eftersom\r\nnågon/några brytpunkter ligger ovanför "
                             "siktlinjen\r\nmellan källan och skärmkrönet!");
    EXPECT_FALSE(check.WarningArmed);
    EXPECT_FALSE(AnalyseProfile(r, 1, f, check).warningDue);  // the same state again

    // State 2 would warn but is not armed; back to 0 re-arms.
    r = Profile({{0, 0}, {80, 3}, {100, 0}});
    AddScreen(r, 40, 1);
    a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(a.state, 2);
    EXPECT_FALSE(a.warningDue);
    r.bpHeight[1][2] = 0;
    EXPECT_EQ(AnalyseProfile(r, 1, f, check).state, 0);
    EXPECT_TRUE(check.WarningArmed);
    r.bpHeight[1][2] = 3;
    a = AnalyseProfile(r, 1, f, check);
    EXPECT_TRUE(a.warningDue);
    EXPECT_EQ(a.warningText, ProfileWarningText(2));
    EXPECT_NE(a.warningText.find("mellan skärmkrönet och mottagaren!"), std::string::npos);

    // State 3: a low screen that does not cut the line, and a ridge above it.
    check.WarningArmed = true;
    r = Profile({{0, 0}, {60, 3}, {100, 0}});
    AddScreen(r, 80, 0.1f);
    a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(a.state, 3);
    EXPECT_NE(a.warningText.find("mellan källan och mottagaren!"), std::string::npos);

    // A later point overwrites an earlier state: hump before the screen, then one after it.
    r = Profile({{0, 0}, {20, 3}, {90, 4}, {100, 0}});
    AddScreen(r, 60, 1);
    EXPECT_EQ(AnalyseProfile(r, 1, f, check).state, 2);
    r.bpHeight[1][3] = 0;
    EXPECT_EQ(AnalyseProfile(r, 1, f, check).state, 1);
    // Points after the first "MT" are not visited.
    r = Profile({{0, 0}, {50, 0}, {80, 20}, {100, 0}});
    r.bpLabel[1][2].setBytes("MT");
    EXPECT_EQ(AnalyseProfile(r, 1, f, check).state, 0);
    // A point labelled "SK" is never counted.
    r = Profile({{0, 0}, {20, 3}, {100, 0}});
    r.bpLabel[1][2].setBytes("SK");
    AddScreen(r, 60, 1);
    EXPECT_EQ(AnalyseProfile(r, 1, f, check).state, 0);
}

TEST(AnalyseProfile, DegenerateProfilesAndTheScreenFoot)
{
    AngleFactors f{1, 1};
    ProfileCheck check;
    // Crest at x 550 with a high point at the same distance: the crest–receiver line has no
    // slope there, so the point counts as not above it.
    ProjectRecord r = Profile({{0, 0}, {50, 10}, {50, 0}});
    AddScreen(r, 50, 20);
    ProfileAnalysis a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(a.picture.Xb, 550);
    EXPECT_TRUE(a.picture.screenCuts);
    EXPECT_EQ(a.state, 0);
    // No receiver distance: nothing classified, no coordinates; the trailing-point rule keeps
    // two points.
    r = Profile({{0, 0}, {0, 0}});
    check.WarningArmed = false;
    a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(a.state, 0);
    EXPECT_FALSE(a.picture.valid);
    EXPECT_TRUE(check.WarningArmed);
    EXPECT_EQ(r.bpCount[1], 2);

    r = Profile({{0, 0}, {40, 4}, {100, 0}});
    r.bpCount[1] = 4;  // a fourth slot at distance 0 is dropped
    AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(r.bpCount[1], 3);
    r.bpCount[1] = 500;  // a damaged count never reads past the arrays
    EXPECT_NO_THROW(AnalyseProfile(r, 1, f, check));

    // The screen foot: interpolated, on a point, beyond the receiver on the last segment
    // extended; before the track centre the screen is removed.
    r = Profile({{0, 0}, {40, 4}, {100, 0}});
    AddScreen(r, 10, 2);
    for (auto [distance, foot] : {std::pair{10.0f, 1.0f}, {40.0f, 4.0f}, {70.0f, 2.0f}, {115.0f, -1.0f}}) {
        r.screenDistance[1] = distance;
        AnalyseProfile(r, 1, f, check);
        EXPECT_FLOAT_EQ(r.screenBaseHeight[1], foot) << distance;
    }
    EXPECT_EQ(r.screenType[1], 1);
    r.screenDistance[1] = -5;
    a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(r.screenType[1], 0);
    EXPECT_TRUE(a.screenRemoved);
    EXPECT_EQ(a.screenHeightText, "");
}

TEST(AnalyseProfile, ResultLabelsAndStoredScreenEffects)
{
    ProfileCheck check;
    AngleFactors f{0.5f, 1.0f};
    ProjectRecord r = Profile({{0, 0}, {100, 0}});
    AddScreen(r, 10, 3);
    ProfileAnalysis a = AnalyseProfile(r, 1, f, check);
    double lo, hi;
    EffectiveScreenHeights(r, 1, 0.5, lo, hi);
    EXPECT_EQ(r.screenEffectEqA[1], static_cast<float>(lo));
    EXPECT_EQ(r.screenEffectEqB[1], static_cast<float>(hi));
    EXPECT_EQ(a.low, lo);  // basis "Vinkelrätt": the equivalent-level pair
    EffectiveScreenHeights(r, 1, 1.0, lo, hi);
    EXPECT_EQ(r.screenEffectMaxA[1], static_cast<float>(lo));
    EXPECT_EQ(r.screenEffectMaxB[1], static_cast<float>(hi));
    // 3 − 2.18 − 0.28125 = 0.53875 and 3 − 0.65 − 0.5625 = 1.7875.
    EXPECT_EQ(a.screenHeightText, "Effektiv Skärmhöjd: 0.54 - 1.79 m  ");
    EXPECT_EQ(a.screenBaseText, "Markhöjd vid skärm: 0.00");
    EXPECT_EQ(a.colour, ScreenLabelColour::Green);
    r.bpDistanceBasis[1] = 2;  // any other basis: the maximum-level pair
    EXPECT_EQ(AnalyseProfile(r, 1, f, check, ',').screenHeightText, "Effektiv Skärmhöjd: 0,26 - 1,79 m  ");
    r.screenCrestHeight[1] = 0.1f;  // both negative
    EXPECT_EQ(AnalyseProfile(r, 1, f, check).colour, ScreenLabelColour::Red);
    r.screenCrestHeight[1] = 1.5f;  // one of each
    EXPECT_EQ(AnalyseProfile(r, 1, f, check).colour, ScreenLabelColour::Blue);
}

TEST(MiddleZone, MeanHeightOverTheMiddleZone)
{
    // xr 100, receiver 2 m: A 15, W 60, zone [15, 40].
    ProjectRecord r = Profile({{0, 0}, {30, 2}, {100, 0}});
    MiddleZone z = MiddleZoneSplit(r, 1, 1.0);
    EXPECT_TRUE(z.threeZones && z.drawMean);
    EXPECT_DOUBLE_EQ(z.A, 15);
    EXPECT_DOUBLE_EQ(z.W, 60);
    // [15, 30] at height 1.5 and [30, 40] at 2 − 2·5/70; displayed distances twice the
    // stored ones: zone [15, 140].
    EXPECT_NEAR(MiddleZoneMeanHeight(r, 1, 1.0), 15.0 / 25 * 1.5 + 10.0 / 25 * (2 - 2.0 * 5 / 70), 1e-6);
    EXPECT_NEAR(MiddleZoneMeanHeight(r, 1, 2.0), 45.0 / 125 * 1.25 + 80.0 / 125 * (2 - 2.0 * 40 / 140), 1e-6);
    // A tall receiver: A + W exceeds dp, two zones, no mean line.
    r.receiverHeight[1] = 4;
    z = MiddleZoneSplit(r, 1, 1.0);
    EXPECT_FALSE(z.threeZones || z.drawMean);
    EXPECT_EQ(z.mean, 0.0f);
    // Zone empty on the displayed scale although A + W < dp.
    r.receiverHeight[1] = 2;
    z = MiddleZoneSplit(r, 1, 0.5);
    EXPECT_TRUE(z.threeZones);
    EXPECT_FALSE(z.drawMean);
}
