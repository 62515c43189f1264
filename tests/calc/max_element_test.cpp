// Level of one source element: emission, near-field correction, switch term, distances.

#include <gtest/gtest.h>

#include <cmath>

#include "TraceCapture.h"
#include "calc/ElementLevel.h"
#include "max_fixture.h"

namespace {

struct Element {
    ProjectRecord rec;
    CalcResults frames;
    ElementContext ctx;
    explicit Element(const ProjectRecord& r, int train = 1) : rec(r)
    {
        ctx.rec = &rec;
        ctx.frames = &frames;
        ctx.train = train;
        ctx.allSwedish = AllTrainsSwedish(rec);
    }
    const Coefficients& coef(int t = 1) const
    {
        return GetTrainType(rec.nationality[t], rec.trainType[t]).EmissionCoefficients;
    }
    double straight(double x, int sw = 0, int v = 100) { return LevelAtPointStraight(ctx, v, sw, 1, false, coef(), x); }
};

}  // namespace

TEST(MaxElement, EmissionAndSwitchTerm)
{
    // v = 100 km/h, (A, B) = (10, 33): 0 + 20 + 43.8 + 33 = 96.8 dB.
    EXPECT_DOUBLE_EQ(ElementEmission(EmissionPair{10, 33}, 100), 96.8);
    // v = 0: both logarithms are 0.
    EXPECT_DOUBLE_EQ(ElementEmission(EmissionPair{10, 33}, 0), 43.8 + 33);
    // Doubling the speed adds (A + 10)·lg 2.
    EXPECT_NEAR(ElementEmission(EmissionPair{20, 30}, 200) - ElementEmission(EmissionPair{20, 30}, 100),
                30.0 * std::log10(2.0), 1e-12);
    // A switch raises the element level by 6 dB.
    Element e(maxProject(0, 180, 25.0f));
    EXPECT_NEAR(e.straight(12.0, 6) - e.straight(12.0, 0), 6.0, 1e-9);
}

TEST(MaxElement, StraightDistanceAndTrace)
{
    // d = 30 m, x = 40 m: r = 50 m, the same level as at the foot of the normal 50 m away.
    Element e(maxProject(0, 180, 30.0f));
    TraceCapture tc(TracePass::Maximum);
    e.ctx.trace = &tc;
    const double l = LevelAtPointStraight(e.ctx, 100, 0, 1, true, e.coef(), 40.0);
    ASSERT_FALSE(tc.lines(TraceFile::Main).empty());
    EXPECT_EQ(tc.lines(TraceFile::Main).front(), "Meter: 40.00 avstånd: 50.00");
    EXPECT_EQ(tc.lines(TraceFile::Main)[8], "dLCv: 0");
    EXPECT_EQ(tc.lines(TraceFile::Main)[10].rfind("LpTotal minus?: ", 0), 0u);
    // Tracing changes nothing, and only |x| matters.
    EXPECT_EQ(l, e.straight(40.0));
    EXPECT_EQ(l, e.straight(-40.0));
    Element far(maxProject(0, 180, 50.0f));
    EXPECT_NEAR(l, far.straight(0.0), 1e-9);
}

TEST(MaxElement, NearFieldCorrectionOnlyInAllSwedishProjects)
{
    ProjectRecord r = maxProject(0, 180, 50.0f);
    // Other Swedish types: +1.5 dB at r = 50 m, none at 150 m; types 4 and 8: +6 dB falling to
    // 0 at 200 m, so +4.5 dB at 50 m.
    for (auto [type, rNone, gain50] : {std::tuple{2, 150.0, 1.5}, {4, 200.0, 4.5}}) {
        r.trainType[1] = type;
        Element sw(r), off(r);
        ASSERT_TRUE(sw.ctx.allSwedish);
        off.ctx.allSwedish = false;
        EXPECT_NEAR(sw.straight(0.0) - off.straight(0.0), gain50, 1e-9) << type;
        const double x = std::sqrt(rNone * rNone - 2500.0);
        EXPECT_NEAR(sw.straight(x) - off.straight(x), 0.0, 1e-12) << type;
    }

    // One Finnish train anywhere in the project: no correction for any train.
    r.trainCount = 2;
    r.nationality[2] = 2;
    r.trainType[2] = 0;
    EXPECT_FALSE(AllTrainsSwedish(r));
    r.nationality[2] = 1;
    EXPECT_TRUE(AllTrainsSwedish(r));
}

TEST(MaxElement, CurvedDistanceFromTheArcFrame)
{
    ProjectRecord r = maxProject(60, 120, 0.0f);
    makeCurved(r, 1, 1, 60, 120, 100, 100, 100);
    Element e(r);
    // At x = 0 the distance is startDistance whatever the frame holds.
    e.frames.CurveReceiverX[1] = 1234.0;
    e.frames.CurveStartY[1] = -77.0;
    EXPECT_EQ(CurvedElementDistance(e.ctx, 1, 104.72, kPi / 3.0, 0.0), 100.0);
    // Konvex with r1 = r2 = R = 100 over 60°: the receiver is the centre, every point is 100 m away.
    e.frames.CurveReceiverX[1] = 0.0;
    e.frames.CurveReceiverY[1] = 0.0;
    e.frames.CurveStartY[1] = 0.0;
    const double arc = kPi / 3.0 * 100.0;
    for (double x : {1.0, 30.5, 104.0}) EXPECT_NEAR(CurvedElementDistance(e.ctx, 1, arc, kPi / 3.0, x), 100.0, 1e-9);
    // A zero arc length falls back to φ = x / R.
    EXPECT_NEAR(CurvedElementDistance(e.ctx, 1, 0.0, kPi / 3.0, 50.0), 100.0, 1e-9);
}
