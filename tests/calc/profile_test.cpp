// Angle factors, effective screen heights, the line-of-sight classification with its
// warnings and labels, and the middle-zone mean height.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/Profile.h"
#include "projects.h"

namespace {

// Stretch 1 straight over the given break points (distance, height), the receiver 2 m above
// the last.
ProjectRecord Profile(const std::vector<std::pair<float, float>>& points)
{
    ProjectRecord r = startupDefaults("2026-01-01 00:00:00");
    setProfile(r, 1, points);
    const int n = r.bpCount[1];
    r.perpDistance[1] = r.bpDistance[1][n];
    r.trackHeight[1] = r.bpHeight[1][1];
    r.receiverGroundHeight[1] = r.bpHeight[1][n];
    return r;
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
    EXPECT_TRUE(f.EqFactor == 0.25f && f.MaxFactor == 0.75f);
}

TEST(AnalyseProfile, ClassificationOfTheBreakPoints)
{
    // States: 1 a point above the line source–crest, 2 above crest–receiver, 3 above
    // source–receiver with a screen that does not cut it, 4 the same without a screen.
    struct Case {
        std::vector<std::pair<float, float>> points;
        float screenAt, crest;
        const char* label2;  // label of point 2, or nullptr
        int state;
    } const cases[] = {
        {{{0, 0}, {20, 3}, {100, 0}}, 60, 1, nullptr, 1},
        {{{0, 0}, {80, 3}, {100, 0}}, 40, 1, nullptr, 2},
        {{{0, 0}, {60, 3}, {100, 0}}, 80, 0.1f, nullptr, 3},
        {{{0, 0}, {50, 2.25f}, {100, 0}}, 0, 0, nullptr, 4},
        // Rounded picture coordinates, halves to even: 1.25 m is 100·1.25/2 = 62.5 → 62, Y 98,
        // and the line source–receiver at x 300 is 97.5 → 98: not above. 1.26 m gives Y 97.
        {{{0, 0}, {50, 1.25f}, {100, 0}}, 0, 0, nullptr, 0},
        {{{0, 0}, {50, 1.26f}, {100, 0}}, 0, 0, nullptr, 4},
        // A later point overwrites an earlier state.
        {{{0, 0}, {20, 3}, {90, 4}, {100, 0}}, 60, 1, nullptr, 2},
        {{{0, 0}, {20, 3}, {90, 0}, {100, 0}}, 60, 1, nullptr, 1},
        // Points after the first "MT" and points labelled "SK" are never counted.
        {{{0, 0}, {50, 0}, {80, 20}, {100, 0}}, 0, 0, "MT", 0},
        {{{0, 0}, {20, 3}, {100, 0}}, 60, 1, "SK", 0},
        // A high point at the crest's distance: the crest–receiver line has no slope there.
        {{{0, 0}, {50, 10}, {50, 0}}, 50, 20, nullptr, 0},
    };
    for (const Case& c : cases) {
        ProjectRecord r = Profile(c.points);
        if (c.screenAt > 0) setScreen(r, 1, 1, c.screenAt, c.crest);
        if (c.label2) r.bpLabel[1][2].setBytes(c.label2);
        ProfileCheck check;
        EXPECT_EQ(AnalyseProfile(r, 1, AngleFactors{1, 1}, check).state, c.state) << c.points[1].second;
    }
    // Picture coordinates: zmin 0, zmax 2 (the receiver's head), source at 0.5 m.
    ProfileCheck check;
    ProjectRecord r = Profile({{0, 0}, {50, 1.25f}, {100, 0}});
    ProfileAnalysis a = AnalyseProfile(r, 1, AngleFactors{1, 1}, check);
    ASSERT_TRUE(a.picture.valid);
    EXPECT_EQ((std::vector<int>{a.picture.Ys, a.picture.Yr, a.picture.Y[2]}), (std::vector<int>{135, 60, 98}));
    EXPECT_EQ(a.screenHeightText + a.screenBaseText, "");
    r = Profile({{0, 0}, {50, 10}, {50, 0}});
    setScreen(r, 1, 1, 50, 20);
    a = AnalyseProfile(r, 1, AngleFactors{1, 1}, check);
    EXPECT_EQ(a.picture.Xb, 550);
    EXPECT_TRUE(a.picture.screenCuts);
}

TEST(AnalyseProfile, ScreenWarningsOncePerArming)
{
    AngleFactors f{1, 1};
    ProfileCheck check;
    check.WarningArmed = true;
    ProjectRecord r = Profile({{0, 0}, {20, 3}, {100, 0}});
    setScreen(r, 1, 1, 60, 1);
    ProfileAnalysis a = AnalyseProfile(r, 1, f, check);
    ASSERT_TRUE(a.warningDue);
    EXPECT_EQ(a.warningText, "Kontrollera skärmens placering eftersom\r\nnågon/några brytpunkter ligger ovanför "
                             "siktlinjen\r\nmellan källan och skärmkrönet!");
    EXPECT_FALSE(check.WarningArmed);
    EXPECT_FALSE(AnalyseProfile(r, 1, f, check).warningDue);  // the same state again

    // State 2 would warn but is not armed; back to 0 re-arms.
    r = Profile({{0, 0}, {80, 3}, {100, 0}});
    setScreen(r, 1, 1, 40, 1);
    EXPECT_FALSE(AnalyseProfile(r, 1, f, check).warningDue);
    r.bpHeight[1][2] = 0;
    AnalyseProfile(r, 1, f, check);
    EXPECT_TRUE(check.WarningArmed);
    r.bpHeight[1][2] = 3;
    a = AnalyseProfile(r, 1, f, check);
    EXPECT_TRUE(a.warningDue);
    EXPECT_EQ(a.warningText, ProfileWarningText(2));
    EXPECT_NE(a.warningText.find("mellan skärmkrönet och mottagaren!"), std::string::npos);
    EXPECT_NE(ProfileWarningText(3).find("mellan källan och mottagaren!"), std::string::npos);

    // A ridge without a screen: its box comes at OK and at a calculation, not here.
    check.WarningArmed = true;
    r = Profile({{0, 0}, {50, 2.25f}, {100, 0}});
    a = AnalyseProfile(r, 1, f, check);
    EXPECT_EQ(check.ProfileState, 4);
    EXPECT_FALSE(a.warningDue);
    EXPECT_FALSE(check.WarningArmed);
}

TEST(AnalyseProfile, DegenerateProfilesAndTheScreenFoot)
{
    AngleFactors f{1, 1};
    ProfileCheck check;
    // No receiver distance: nothing classified, no coordinates; the trailing-point rule keeps
    // two points.
    ProjectRecord r = Profile({{0, 0}, {0, 0}});
    check.WarningArmed = false;
    ProfileAnalysis a = AnalyseProfile(r, 1, f, check);
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
    setScreen(r, 1, 1, 10, 2);
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

TEST(AnalyseProfile, ResultLabelsStoredScreenEffectsAndTheCurvedLineOfSight)
{
    ProfileCheck check;
    AngleFactors f{0.5f, 1.0f};
    ProjectRecord r = Profile({{0, 0}, {100, 0}});
    setScreen(r, 1, 1, 10, 3);
    ProfileAnalysis a = AnalyseProfile(r, 1, f, check);
    double lo, hi, maxLo, maxHi;
    EffectiveScreenHeights(r, 1, 0.5, lo, hi);
    EffectiveScreenHeights(r, 1, 1.0, maxLo, maxHi);
    EXPECT_EQ(
        (std::vector<float>{r.screenEffectEqA[1], r.screenEffectEqB[1], r.screenEffectMaxA[1], r.screenEffectMaxB[1]}),
        (std::vector<float>{float(lo), float(hi), float(maxLo), float(maxHi)}));
    EXPECT_EQ(a.low, lo);  // basis "Vinkelrätt": the equivalent-level pair
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

    // A curved stretch measures from the start distance (as a straight one 100 m out would);
    // no distance at all gives 0, never NaN.
    r.screenCrestHeight[1] = 3;
    r.shape[1] = 1;
    r.startDistance[1] = 100;
    r.perpDistance[1] = 0;
    EffectiveScreenHeights(r, 1, 1.0, lo, hi);
    EXPECT_NEAR(lo, 0.2575, 1e-12);
    r.startDistance[1] = 0;
    EffectiveScreenHeights(r, 1, 1.0, lo, hi);
    EXPECT_TRUE(lo == 0.0 && hi == 0.0);
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
