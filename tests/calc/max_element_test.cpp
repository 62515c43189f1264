// Level of one source element: emission, near-field correction, switch term, distances.

#include <gtest/gtest.h>

#include <cmath>

#include "TraceCapture.h"
#include "calc/ElementLevel.h"
#include "max_fixture.h"

namespace {
// Level of the element x m from the foot of the normal on stretch 1 of r (train 1, 100 km/h).
double straightLevel(const ProjectRecord& r, double x, int switchTerm = 0, bool allSwedish = true,
                     TraceSink* trace = nullptr)
{
    CalcResults frames;
    ElementContext ctx;
    ctx.rec = &r;
    ctx.frames = &frames;
    ctx.train = 1;
    ctx.allSwedish = allSwedish && AllTrainsSwedish(r);
    ctx.trace = trace;
    const Coefficients& coef = GetTrainType(r.nationality[1], r.trainType[1]).EmissionCoefficients;
    return LevelAtPointStraight(ctx, 100, switchTerm, 1, trace != nullptr, coef, x);
}
}  // namespace

TEST(MaxElement, EmissionSwitchDistanceAndTrace)
{
    // v = 100 km/h, (A, B) = (10, 33): 0 + 20 + 43.8 + 33 = 96.8 dB; v = 0: both logarithms 0;
    // doubling the speed adds (A + 10)·lg 2.
    EXPECT_DOUBLE_EQ(ElementEmission(EmissionPair{10, 33}, 100), 96.8);
    EXPECT_DOUBLE_EQ(ElementEmission(EmissionPair{10, 33}, 0), 43.8 + 33);
    EXPECT_NEAR(ElementEmission(EmissionPair{20, 30}, 200) - ElementEmission(EmissionPair{20, 30}, 100),
                30.0 * std::log10(2.0), 1e-12);
    const ProjectRecord r = maxProject(0, 180, 30.0f);
    EXPECT_NEAR(straightLevel(r, 12.0, 6) - straightLevel(r, 12.0), 6.0, 1e-9);  // a switch: +6 dB
    // d = 30 m, x = 40 m: r = 50 m, the level at the foot of the normal 50 m away; only |x|
    // matters and tracing changes nothing.
    TraceCapture tc(TracePass::Maximum);
    const double l = straightLevel(r, 40.0, 0, true, &tc);
    const auto& main = tc.lines(TraceFile::Main);
    ASSERT_GT(main.size(), 10u);
    EXPECT_EQ(main.front(), "Meter: 40.00 avstånd: 50.00");
    EXPECT_EQ(main[8], "dLCv: 0");
    EXPECT_EQ(main[10].rfind("LpTotal minus?: ", 0), 0u);
    EXPECT_EQ(l, straightLevel(r, 40.0));
    EXPECT_EQ(l, straightLevel(r, -40.0));
    EXPECT_NEAR(l, straightLevel(maxProject(0, 180, 50.0f), 0.0), 1e-9);
}

TEST(MaxElement, NearFieldCorrectionOnlyInAllSwedishProjects)
{
    ProjectRecord r = maxProject(0, 180, 50.0f);
    // Other Swedish types: +1.5 dB at r = 50 m, none at 150 m; types 4 and 8: +6 dB falling to
    // 0 at 200 m, so +4.5 dB at 50 m.
    for (auto [type, rNone, gain50] : {std::tuple{2, 150.0, 1.5}, {4, 200.0, 4.5}}) {
        r.trainType[1] = type;
        EXPECT_NEAR(straightLevel(r, 0.0) - straightLevel(r, 0.0, 0, false), gain50, 1e-9) << type;
        const double x = std::sqrt(rNone * rNone - 2500.0);
        EXPECT_NEAR(straightLevel(r, x) - straightLevel(r, x, 0, false), 0.0, 1e-12) << type;
    }
    // One Finnish train anywhere in the project: no correction for any train.
    setTrain(r, 2, 1000, 30, 100);
    EXPECT_TRUE(AllTrainsSwedish(r));
    r.nationality[2] = 2;
    EXPECT_FALSE(AllTrainsSwedish(r));
}

TEST(MaxElement, CurvedDistanceFromTheArcFrame)
{
    ProjectRecord r = maxProject(60, 120, 0.0f);
    makeCurved(r, 1, 1, 60, 120, 100, 100, 100);
    CalcResults frames;
    ElementContext ctx;
    ctx.rec = &r;
    ctx.frames = &frames;
    // At x = 0 the distance is startDistance whatever the frame holds.
    frames.CurveReceiverX[1] = 1234.0;
    frames.CurveStartY[1] = -77.0;
    EXPECT_EQ(CurvedElementDistance(ctx, 1, 104.72, kPi / 3.0, 0.0), 100.0);
    // Konvex with r1 = r2 = R = 100 over 60°: the receiver is the centre, every point is 100 m
    // away; a zero arc length falls back to φ = x / R.
    frames = CalcResults{};
    for (double x : {1.0, 30.5, 104.0}) EXPECT_NEAR(CurvedElementDistance(ctx, 1, kPi / 3.0 * 100.0, kPi / 3.0, x), 100.0, 1e-9);
    EXPECT_NEAR(CurvedElementDistance(ctx, 1, 0.0, kPi / 3.0, 50.0), 100.0, 1e-9);
}
