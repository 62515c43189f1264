#include <gtest/gtest.h>

#include <cmath>

#include "calc/Bands.h"
#include "calc/Terms.h"
#include "model/ProjectRecord.h"
#include "TraceCapture.h"

namespace {
ProjectRecord twoPointRecord()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.bpCount[1] = 2;
    r.perpDistance[1] = 100.0f;
    return r;
}

// A valley-and-ridge profile that visits every way a segment can meet the three zones
// (source zone up to 15 m, middle zone 15..40 m, receiver zone beyond, for R = 100 at 500 Hz
// with a 2 m receiver).
void setProfile(ProjectRecord& r)
{
    const float x[] = {0, 10, 20, 30, 45, 100};
    const float z[] = {0, 1, 1, 1, 2, 0};
    r.bpCount[1] = 6;
    for (int i = 1; i <= 6; ++i) {
        r.bpDistance[1][i] = x[i - 1];
        r.bpHeight[1][i] = z[i - 1];
    }
}

double ground(const ProjectRecord& r, int b, double He, double G, double hr, double zr, double zt, double R,
              TraceSink* trace = nullptr)
{
    double dLg = 99.0;
    GroundTerm(r, 1, b, He, G, G, G, hr, zr, zt, R, dLg, trace);
    return dLg;
}

std::string lineStartingWith(const TraceCapture& t, const std::string& prefix)
{
    for (const auto& l : t.lines(TraceFile::Lg))
        if (l.rfind(prefix, 0) == 0) return l;
    return "";
}
}  // namespace

TEST(GroundTerm, HardGroundGivesReflectionPlusMiddleZone)
{
    ProjectRecord r = twoPointRecord();
    // dp = 200, receiver 2 m: m = 1 − 30·(hs + 2)/200.
    EXPECT_NEAR(ground(r, 1, 0, 0, 2, 0, 0, 200), 3.0 + 3.0 * 0.37, 1e-12);   // hs 2.2
    EXPECT_NEAR(ground(r, 4, 0, 0, 2, 0, 0, 200), 3.0 + 3.0 * 0.625, 1e-12);  // hs 0.5
    EXPECT_NEAR(ground(r, 7, 0, 0, 2, 0, 0, 200), 3.0 + 3.0 * 0.58, 1e-12);   // hs 0.8
    for (int b = 1; b <= 7; ++b) {
        double d = ground(r, b, 0, 0, 2, 0, 0, 5000);
        EXPECT_GT(d, 3.0);
        EXPECT_LE(d, 6.0);
    }
}

TEST(GroundTerm, PorousGroundAndLowBand)
{
    ProjectRecord r = twoPointRecord();
    EXPECT_EQ(ground(r, 6, 0, 1, 2, 0, 0, 200), 0.0);
    EXPECT_EQ(ground(r, 7, 0, 1, 2, 0, 0, 200), 0.0);
    // 63 Hz ignores the ground factors.
    EXPECT_EQ(ground(r, 1, 0, 1, 2, 0, 0, 200), ground(r, 1, 0, 0, 2, 0, 0, 200));
    // Source 2.2 m and receiver 2 m: 30·(hs + hr) = 126 m, so m = 0 up to dp = 126 m.
    TraceCapture t;
    EXPECT_EQ(ground(r, 1, 0, 1, 2, 0, 0, 126, &t), 3.0);
    EXPECT_EQ(t.lines(TraceFile::Lg)[2], "m = 0");
    EXPECT_GT(ground(r, 1, 0, 1, 2, 0, 0, 127), 3.0);
    // Porous ground attenuates more than hard ground in the middle bands.
    for (int b = 2; b <= 5; ++b) EXPECT_LT(ground(r, b, 0, 1, 2, 0, 0, 200), ground(r, b, 0, 0, 2, 0, 0, 200));
}

TEST(GroundTerm, MixedGroundTraceBlockMatchesHandComputation)
{
    // 250 Hz, Gs 0.25, Gr 0.75, Gm 0.5, dp 200: m = 1 − 30·3/200 = 0.55.
    ProjectRecord r = twoPointRecord();
    TraceCapture t;
    double dLg = 0;
    GroundTerm(r, 1, 3, 0.0, 0.5, 0.75, 0.25, 2.0, 0.0, 0.0, 200.0, dLg, &t);
    EXPECT_NEAR(dLg, -4.021554399000836, 1e-12);
    const std::vector<std::string> expected{
        "dLgs = 1.5 - 0.25*b(h)=-0.80", "dLgi = 1.5 - 0.75*b(h)=-4.04", "dLgc = 3*0.55(1-0.50=0.83",
        "Hsi: 0.00", "Hgg: 0.00", "Hsc: 1.00", "Hic: 2.00", "dLg = -4.02",
    };
    EXPECT_EQ(t.lines(TraceFile::Lg), expected);

    // 125 Hz, all porous except the middle zone at one half: band function a(h).
    t.clear();
    GroundTerm(r, 1, 2, 0.0, 0.5, 1.0, 1.0, 2.0, 0.0, 0.0, 200.0, dLg, &t);
    EXPECT_NEAR(dLg, -2.0167964683127, 1e-12);
    EXPECT_EQ(t.lines(TraceFile::Lg)[0], "dLgs = 1.5 - 1.00*a(h)=-1.26");

    t.clear();
    GroundTerm(r, 1, 6, 0.0, 0.5, 1.0, 0.2, 2.0, 0.0, 0.0, 200.0, dLg, &t);
    EXPECT_EQ(t.lines(TraceFile::Lg)[0], "dLgs = 1.5 - (1-0.20)=1.20");
    EXPECT_EQ(t.lines(TraceFile::Lg)[1], "dLgi = 1.5 - (1-1.00)=0.00");
}

TEST(GroundTerm, ScreenRaisesSourceAndReceiver)
{
    ProjectRecord r = twoPointRecord();
    TraceCapture t;
    // He = 2, dp = 200: hs = 0.5 + 2·(1 − 15/200) = 2.35, hr = 2 + 2·(1 − 60/200) = 3.4.
    ground(r, 4, 2.0, 1, 2, 0, 0, 200, &t);
    EXPECT_EQ(lineStartingWith(t, "Hsc: "), "Hsc: 2.35");
    EXPECT_EQ(lineStartingWith(t, "Hic: "), "Hic: 3.40");
    // When 30·hs reaches dp, the source does not grow.
    t.clear();
    ground(r, 4, 2.0, 1, 2, 0, 0, 10, &t);
    EXPECT_EQ(lineStartingWith(t, "Hsc: "), "Hsc: 0.50");
    // A negative He raises nothing.
    t.clear();
    ground(r, 4, -2.0, 1, 2, 0, 0, 200, &t);
    EXPECT_EQ(lineStartingWith(t, "Hsc: "), "Hsc: 0.50");
}

TEST(GroundTerm, ProfileCorrectionCoversAllZoneCases)
{
    ProjectRecord r = twoPointRecord();
    setProfile(r);
    TraceCapture t;
    // Hgg = 0.2 + 0.4 + 0.5333 = 1.1333, Q = 0.2292 + 1.375 = 1.6042; hs → 0 (clamped),
    // hr = (0 − 1.1333 + 2) + (2 − 1.6042) = 1.2625, m = 0.62125.
    double d = ground(r, 4, 0, 0, 2, 0, 0, 100, &t);
    EXPECT_NEAR(d, 4.86375, 1e-12);
    EXPECT_EQ(lineStartingWith(t, "Hgg: "), "Hgg: 1.13");
    EXPECT_EQ(lineStartingWith(t, "Hsc: "), "Hsc: 0.00");
    EXPECT_EQ(lineStartingWith(t, "Hic: "), "Hic: 1.26");

    // A curved stretch scales the profile with its start distance, not the perpendicular one.
    ProjectRecord c = r;
    c.shape[1] = 1;
    c.perpDistance[1] = 37.0f;
    c.startDistance[1] = 100.0f;
    EXPECT_EQ(ground(c, 4, 0, 0, 2, 0, 0, 100), d);

    // The profile is stretched to the path: R / D = 2 puts every point twice as far out.
    ProjectRecord halfD = r;
    halfD.perpDistance[1] = 50.0f;
    ProjectRecord doubled = r;
    for (int i = 1; i <= 6; ++i) doubled.bpDistance[1][i] = r.bpDistance[1][i] * 2.0f;
    EXPECT_EQ(ground(halfD, 4, 0, 0, 2, 0, 0, 100), ground(doubled, 4, 0, 0, 2, 0, 0, 100));
    EXPECT_NE(ground(halfD, 4, 0, 0, 2, 0, 0, 100), d);
}

TEST(GroundTerm, ProfileCorrectionSkippedWhenItCannotApply)
{
    ProjectRecord flat = twoPointRecord();
    const double plain = ground(flat, 4, 0, 0, 2, 0, 0, 100);

    // Two points only: no correction, Hgg stays 0.
    TraceCapture t;
    ground(flat, 4, 0, 0, 2, 0, 0, 100, &t);
    EXPECT_EQ(lineStartingWith(t, "Hgg: "), "Hgg: 0.00");

    // No reference distance: the correction is skipped instead of dividing by zero.
    ProjectRecord noRef = twoPointRecord();
    setProfile(noRef);
    noRef.perpDistance[1] = 0.0f;
    EXPECT_EQ(ground(noRef, 4, 0, 0, 2, 0, 0, 100), plain);

    // Receiver ground 100 m above the track: dp is large but the middle zone R − W − A < 0.
    ProjectRecord steep = twoPointRecord();
    setProfile(steep);
    const double d = ground(steep, 4, 0, 0, 2, 100, 0, 70);
    EXPECT_TRUE(std::isfinite(d));
    // The heights stay uncorrected, exactly as with a two-point profile.
    EXPECT_EQ(d, ground(flat, 4, 0, 0, 2, 100, 0, 70));

    // Zones wider than the path (A + W ≥ dp): no correction either.
    ProjectRecord near = twoPointRecord();
    setProfile(near);
    EXPECT_EQ(ground(near, 4, 0, 0, 2, 0, 0, 70), ground(flat, 4, 0, 0, 2, 0, 0, 70));
}

TEST(GroundTerm, DegenerateInputGivesZero)
{
    ProjectRecord r = twoPointRecord();
    for (auto [b, R] : {std::pair{0, 100.0}, {8, 100.0}, {4, 0.0}, {4, -5.0}}) {
        TraceCapture t;
        EXPECT_EQ(ground(r, b, 0, 0, 2, 0, 0, R, &t), 0.0);
        EXPECT_EQ(t.lines(TraceFile::Lg), std::vector<std::string>{"dLg = 0"});
    }
}
