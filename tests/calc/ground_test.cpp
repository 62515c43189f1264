#include <gtest/gtest.h>

#include <cmath>

#include "calc/Terms.h"
#include "TraceCapture.h"

namespace {
ProjectRecord twoPoints()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.perpDistance[1] = 100.0f;
    return r;
}

// A profile that meets the zones in every way a segment can (source zone to 15 m, middle
// zone 15..40 m, receiver zone beyond, for R = 100 at 500 Hz and a 2 m receiver).
ProjectRecord profiled()
{
    ProjectRecord r = twoPoints();
    const float x[] = {0, 10, 20, 30, 45, 100}, z[] = {0, 1, 1, 1, 2, 0};
    r.bpCount[1] = 6;
    for (int i = 1; i <= 6; ++i) {
        r.bpDistance[1][i] = x[i - 1];
        r.bpHeight[1][i] = z[i - 1];
    }
    return r;
}

// Stretch 1 of r with all three ground factors G, a 2 m receiver on ground height zr.
StretchTermData terms(const ProjectRecord& r, double G, double zr = 0)
{
    StretchTermData d = TermDataOf(r, 1);
    d.Gs = d.Gr = d.Gm = G;
    d.hr = 2.0;
    d.zr = zr;
    return d;
}

double ground(const ProjectRecord& r, int b, double He, double G, double R, double zr = 0, TraceSink* t = nullptr)
{
    return GroundTerm(terms(r, G, zr), R, b, He, t);
}

double mixedGround(const ProjectRecord& r, int b, double Gm, double Gr, double Gs, double R, TraceSink* t)
{
    StretchTermData d = terms(r, 0);
    d.Gm = Gm;
    d.Gr = Gr;
    d.Gs = Gs;
    return GroundTerm(d, R, b, 0.0, t);
}

std::string line(const TraceCapture& t, const std::string& prefix)
{
    for (const auto& l : t.lines(TraceFile::Lg))
        if (l.rfind(prefix, 0) == 0) return l;
    return "";
}
}  // namespace

TEST(GroundTerm, HardAndPorousGround)
{
    const ProjectRecord r = twoPoints();
    // Hard ground, dp = 200: 3 + 3m with m = 1 − 30·(hs + 2)/200.
    EXPECT_NEAR(ground(r, 1, 0, 0, 200), 3.0 + 3.0 * 0.37, 1e-12);
    EXPECT_NEAR(ground(r, 4, 0, 0, 200), 3.0 + 3.0 * 0.625, 1e-12);
    EXPECT_NEAR(ground(r, 7, 0, 0, 200), 3.0 + 3.0 * 0.58, 1e-12);
    // Porous ground: nothing at 2000 and 4000 Hz, less than hard ground in between.
    EXPECT_EQ(ground(r, 6, 0, 1, 200), 0.0);
    EXPECT_EQ(ground(r, 7, 0, 1, 200), 0.0);
    for (int b = 2; b <= 5; ++b) EXPECT_LT(ground(r, b, 0, 1, 200), ground(r, b, 0, 0, 200));
    // 63 Hz ignores the ground factors; with 30·(2.2 + 2) = 126 m ≥ dp the middle zone is gone.
    EXPECT_EQ(ground(r, 1, 0, 1, 200), ground(r, 1, 0, 0, 200));
    TraceCapture t;
    EXPECT_EQ(ground(r, 1, 0, 1, 126, 0, &t), 3.0);
    EXPECT_EQ(t.lines(TraceFile::Lg)[2], "m = 0");
    EXPECT_GT(ground(r, 1, 0, 1, 127), 3.0);
}

TEST(GroundTerm, MixedGroundTraceMatchesHandComputation)
{
    // 250 Hz, Gs 0.25, Gr 0.75, Gm 0.5, dp 200: m = 0.55, b(1) and b(2) by hand.
    TraceCapture t;
    EXPECT_NEAR(mixedGround(twoPoints(), 3, 0.5, 0.75, 0.25, 200.0, &t), -4.021554399000836, 1e-12);
    EXPECT_EQ(t.lines(TraceFile::Lg),
              (std::vector<std::string>{"dLgs = 1.5 - 0.25*b(h)=-0.80", "dLgi = 1.5 - 0.75*b(h)=-4.04",
                                        "dLgc = 3*0.55(1-0.50=0.83", "Hsi: 0.00", "Hgg: 0.00", "Hsc: 1.00",
                                        "Hic: 2.00", "dLg = -4.02"}));
    t.clear();  // 125 Hz uses a(h)
    EXPECT_NEAR(mixedGround(twoPoints(), 2, 0.5, 1.0, 1.0, 200.0, &t), -2.0167964683127, 1e-12);
    EXPECT_EQ(t.lines(TraceFile::Lg)[0], "dLgs = 1.5 - 1.00*a(h)=-1.26");
    t.clear();
    mixedGround(twoPoints(), 6, 0.5, 1.0, 0.2, 200.0, &t);
    EXPECT_EQ(t.lines(TraceFile::Lg)[0], "dLgs = 1.5 - (1-0.20)=1.20");
}

TEST(GroundTerm, ScreenRaisesSourceAndReceiver)
{
    // He = 2, dp = 200: hs = 0.5 + 2·(1 − 15/200) = 2.35, hr = 2 + 2·(1 − 60/200) = 3.4.
    TraceCapture t;
    ground(twoPoints(), 4, 2.0, 1, 200, 0, &t);
    EXPECT_EQ(line(t, "Hsc: "), "Hsc: 2.35");
    EXPECT_EQ(line(t, "Hic: "), "Hic: 3.40");
    t.clear();  // 30·hs ≥ dp: the source does not grow
    ground(twoPoints(), 4, 2.0, 1, 10, 0, &t);
    EXPECT_EQ(line(t, "Hsc: "), "Hsc: 0.50");
}

TEST(GroundTerm, ProfileCorrectionCoversAllZoneCases)
{
    // Hgg = 0.2 + 0.4 + 0.5333, Q = 0.2292 + 1.375; hs → 0 (clamped),
    // hr = (0 − 1.1333 + 2) + (2 − 1.6042) = 1.2625, m = 0.62125.
    TraceCapture t;
    const double d = ground(profiled(), 4, 0, 0, 100, 0, &t);
    EXPECT_NEAR(d, 4.86375, 1e-12);
    EXPECT_EQ(line(t, "Hgg: "), "Hgg: 1.13");
    EXPECT_EQ(line(t, "Hsc: "), "Hsc: 0.00");
    EXPECT_EQ(line(t, "Hic: "), "Hic: 1.26");

    // Curved stretches scale the profile with the start distance.
    ProjectRecord c = profiled();
    c.shape[1] = 1;
    c.perpDistance[1] = 37.0f;
    c.startDistance[1] = 100.0f;
    EXPECT_EQ(ground(c, 4, 0, 0, 100), d);
    // R / D = 2 puts every point twice as far out.
    ProjectRecord halfD = profiled(), doubled = profiled();
    halfD.perpDistance[1] = 50.0f;
    for (int i = 1; i <= 6; ++i) doubled.bpDistance[1][i] *= 2.0f;
    EXPECT_EQ(ground(halfD, 4, 0, 0, 100), ground(doubled, 4, 0, 0, 100));
    EXPECT_NE(ground(halfD, 4, 0, 0, 100), d);
}

TEST(GroundTerm, ProfileCorrectionSkippedWhenItCannotApply)
{
    const ProjectRecord flat = twoPoints();
    TraceCapture t;
    ground(flat, 4, 0, 0, 100, 0, &t);
    EXPECT_EQ(line(t, "Hgg: "), "Hgg: 0.00");
    ProjectRecord noRef = profiled();  // no reference distance: no division by zero
    noRef.perpDistance[1] = 0.0f;
    EXPECT_EQ(ground(noRef, 4, 0, 0, 100), ground(flat, 4, 0, 0, 100));
    // Receiver ground 100 m up: dp is long but the middle zone R − W − A is negative.
    const double steep = ground(profiled(), 4, 0, 0, 70, 100);
    EXPECT_TRUE(std::isfinite(steep));
    EXPECT_EQ(steep, ground(flat, 4, 0, 0, 70, 100));
    EXPECT_EQ(ground(profiled(), 4, 0, 0, 70), ground(flat, 4, 0, 0, 70));  // A + W ≥ dp

    for (auto [b, R] : {std::pair{0, 100.0}, {8, 100.0}, {4, 0.0}, {4, -5.0}}) {
        TraceCapture z;
        EXPECT_EQ(ground(flat, b, 0, 0, R, 0, &z), 0.0);
        EXPECT_EQ(z.lines(TraceFile::Lg), std::vector<std::string>{"dLg = 0"});
    }
}
