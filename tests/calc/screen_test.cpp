#include <gtest/gtest.h>

#include <cmath>

#include "calc/Bands.h"
#include "calc/Terms.h"
#include "model/ProjectRecord.h"
#include "TraceCapture.h"

namespace {
// Stretch 1 with a flat two-point profile at height 0 and the given screen type.
ProjectRecord flatRecord(int screenType)
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.screenType[1] = screenType;
    r.bpCount[1] = 2;
    r.bpHeight[1][1] = 0.0f;
    r.bpHeight[1][2] = 0.0f;
    return r;
}

struct ScreenOut {
    double dLs = 0, He = 0, L = 0;
};

ScreenOut screen(const ProjectRecord& r, int b, float hr, float zr, float hb, float zb, float a, float zt, float R,
                 float D, TraceSink* trace = nullptr, double heIn = 0.0)
{
    ScreenOut o;
    o.He = heIn;
    ScreenTerm(r, 1, b, BandFrequency[b], hr, zr, hb, zb, a, zt, R, D, o.dLs, o.He, o.L, trace);
    return o;
}
}  // namespace

// A 3 m absorbing screen 5 m from the track, receiver 20 m away at 2 m, 1000 Hz: every
// intermediate value checked against numbers worked out by hand.
TEST(ScreenTerm, AbsorbingScreenMatchesHandComputation)
{
    ProjectRecord r = flatRecord(1);
    TraceCapture t;
    ScreenOut o = screen(r, 5, 2.0f, 0.0f, 3.0f, 0.0f, 5.0f, 0.0f, 20.0f, 20.0f, &t);
    EXPECT_NEAR(o.He, 1.815625, 1e-12);
    EXPECT_NEAR(o.dLs, -17.1756878294718, 1e-9);
    EXPECT_NEAR(o.L, 20.579466227917727, 1e-9);  // over the crest

    const std::vector<std::string> expected{
        "Dh = (5.00*15.00)/(320.00)=0.234375  ",
        "He = 2.05-0.234375=1.82",
        "& = 5.55+15.03-5.03-15.02=0.52",
        "Ch = 1000(3.00)/250=1.00",
        "dLs = -10*1.00*lg(0.0094*0.52*1000+3)=-17.18",
    };
    EXPECT_EQ(t.lines(TraceFile::Ls), expected);
    for (auto f : {TraceFile::Main, TraceFile::Ld, TraceFile::La, TraceFile::Lg}) EXPECT_TRUE(t.lines(f).empty());

    // The same trace with a decimal comma.
    TraceCapture comma(TracePass::Equivalent, ',');
    screen(r, 5, 2.0f, 0.0f, 3.0f, 0.0f, 5.0f, 0.0f, 20.0f, 20.0f, &comma);
    EXPECT_EQ(comma.lines(TraceFile::Ls)[0], "Dh = (5,00*15,00)/(320,00)=0,234375  ");
}

TEST(ScreenTerm, ReflectingScreenIsWeakenedByDistanceFactor)
{
    // r1 = 5 m: k = 1 − 5/15 = 0.667 < 0.7, so the factor 0.7 applies.
    ProjectRecord refl = flatRecord(2);
    ScreenOut o = screen(refl, 5, 2.0f, 0.0f, 3.0f, 0.0f, 5.0f, 0.0f, 20.0f, 20.0f);
    EXPECT_NEAR(o.dLs, -17.1756878294718 * 0.7, 1e-9);

    // r1 = 10 m: k = 1 − 5/30 = 0.8333.
    ProjectRecord abs = flatRecord(1);
    ScreenOut a1 = screen(abs, 4, 2.0f, 0.0f, 2.5f, 0.0f, 10.0f, 0.0f, 40.0f, 40.0f);
    ScreenOut a2 = screen(refl, 4, 2.0f, 0.0f, 2.5f, 0.0f, 10.0f, 0.0f, 40.0f, 40.0f);
    ASSERT_LT(a1.dLs, -1.0);
    ASSERT_GT(a1.dLs, -20.0);
    EXPECT_NEAR(a2.dLs / a1.dLs, 1.0 - 5.0 / 30.0, 1e-12);
    EXPECT_EQ(a1.He, a2.He);
    EXPECT_EQ(a1.L, a2.L);
}

TEST(ScreenTerm, CrestOnLineOfSightGivesNegativePathDifference)
{
    // Source 0.5 m (500 Hz), receiver 0.5 m, crest 0.5 m: the crest lies on the straight line.
    ProjectRecord r = flatRecord(1);
    TraceCapture t;
    ScreenOut o = screen(r, 4, 0.5f, 0.0f, 0.5f, 0.0f, 5.0f, 0.0f, 10.0f, 10.0f, &t);
    ASSERT_EQ(t.lines(TraceFile::Ls).size(), 5u);
    EXPECT_EQ(t.lines(TraceFile::Ls)[1].rfind("He = -(0.00+", 0), 0u);
    EXPECT_EQ(t.lines(TraceFile::Ls)[2].rfind("& = 2*", 0), 0u);
    EXPECT_LT(o.dLs, -4.0);
    EXPECT_GT(o.dLs, -10.0 * std::log10(3.0));  // δ < 0 attenuates less than lg 3
    EXPECT_LT(o.He, 0.0);                        // crest under the raised line
    EXPECT_NEAR(o.L, 2.0 * std::sqrt(0.15625 * 0.15625 + 25.0), 1e-9);  // through the raised point
}

TEST(ScreenTerm, AttenuationIsLimitedAndScaledByHeightFactor)
{
    ProjectRecord r = flatRecord(1);
    // A 10 m screen at 4000 Hz: limited to −20 dB.
    EXPECT_EQ(screen(r, 7, 2.0f, 0.0f, 10.0f, 0.0f, 5.0f, 0.0f, 20.0f, 20.0f).dLs, -20.0);

    // 63 Hz, crest 2 m above the reference ground: Ch = 63·2/250 = 0.504 of the full value.
    TraceCapture t;
    ScreenOut low = screen(r, 1, 2.0f, 0.0f, 2.0f, 0.0f, 5.0f, 0.0f, 20.0f, 20.0f, &t);
    EXPECT_EQ(t.lines(TraceFile::Ls)[3], "Ch = 63(2.00)/250=0.50");
    ProjectRecord deep = flatRecord(1);
    deep.bpHeight[1][2] = -10.0f;  // reference ground far below: Ch limited to 1
    ScreenOut full = screen(deep, 1, 2.0f, 0.0f, 2.0f, 0.0f, 5.0f, 0.0f, 20.0f, 20.0f);
    ASSERT_LT(full.dLs, 0.0);
    EXPECT_NEAR(low.dLs / full.dLs, 0.504, 1e-12);
}

TEST(ScreenTerm, ReferenceGroundIsBottomOfLastDescent)
{
    // Heights 0, −1, 2, 1.5: the last descent ends at 1.5 (not the lowest point −1).
    ProjectRecord r = flatRecord(1);
    r.bpCount[1] = 4;
    const float z[] = {0.0f, -1.0f, 2.0f, 1.5f};
    for (int i = 1; i <= 4; ++i) r.bpHeight[1][i] = z[i - 1];
    TraceCapture t;
    screen(r, 1, 2.0f, 0.0f, 3.0f, 0.0f, 5.0f, 0.0f, 20.0f, 20.0f, &t);
    EXPECT_EQ(t.lines(TraceFile::Ls)[3], "Ch = 63(3.00)/250=0.38");  // 63·(3 − 1.5)/250

    // A corrupt point count never reads past the profile.
    r.bpCount[1] = 1000;
    EXPECT_NO_FATAL_FAILURE(screen(r, 1, 2.0f, 0.0f, 3.0f, 0.0f, 5.0f, 0.0f, 20.0f, 20.0f));
}

TEST(ScreenTerm, WithoutScreenGivesCurvedPathAndNoAttenuation)
{
    // R = 100, source and receiver at the same height: L = 2·√(1.5625² + 50²).
    for (int type : {0, 1}) {
        ProjectRecord r = flatRecord(type);
        const float a = type == 0 ? 10.0f : 0.0f;  // screen data entered but type 0, or no distance
        TraceCapture t;
        ScreenOut o = screen(r, 4, 0.5f, 0.0f, 3.0f, 0.0f, a, 0.0f, 100.0f, 100.0f, &t, 4.0);
        EXPECT_EQ(o.dLs, 0.0);
        EXPECT_EQ(o.He, 0.0);
        EXPECT_NEAR(o.L, 2.0 * std::sqrt(1.5625 * 1.5625 + 2500.0), 1e-12);
        EXPECT_NEAR(o.L, 100.05, 0.01);
        EXPECT_EQ(t.lines(TraceFile::Ls), std::vector<std::string>{"dLs = 0"});
    }
}

TEST(ScreenTerm, DegenerateInputLeavesHeAndGivesZeroPath)
{
    ProjectRecord r = flatRecord(1);
    struct Case {
        int b;
        float R, D;
    } cases[] = {{4, 20.0f, 0.0f}, {4, 0.0f, 20.0f}, {4, -3.0f, 20.0f}, {0, 20.0f, 20.0f}, {8, 20.0f, 20.0f}};
    for (const auto& c : cases) {
        TraceCapture t;
        ScreenOut o;
        o.He = 7.5;
        ScreenTerm(r, 1, c.b, 500, 2.0f, 0.0f, 3.0f, 0.0f, 5.0f, 0.0f, c.R, c.D, o.dLs, o.He, o.L, &t);
        EXPECT_EQ(o.dLs, 0.0);
        EXPECT_EQ(o.L, 0.0);
        EXPECT_EQ(o.He, 7.5);
        EXPECT_EQ(t.lines(TraceFile::Ls), std::vector<std::string>{"dLs = 0"});
    }
}
