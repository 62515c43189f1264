#include <gtest/gtest.h>

#include <cmath>

#include "calc/SitePlan.h"
#include "calc/StretchLevel.h"
#include "projects.h"

namespace {
constexpr double kPi = 3.141592653589793;
double cotDeg(double d) { return 1.0 / std::tan(kPi * d / 180.0); }
double dist(PlanPoint a, PlanPoint b = {}) { return std::hypot(a.x - b.x, a.y - b.y); }
#define EXPECT_POINT(p, X, Y) EXPECT_NEAR(dist((p), PlanPoint{(X), (Y)}), 0.0, 1e-6)

}  // namespace

TEST(SitePlan, StraightStretchesWithScreenSwitchesAndOpenEnds)
{
    ProjectRecord r = straight(20, 110, 60.0f);
    setScreen(r, 1, 1, 5.0f);
    r.switchesOn[1] = 1;
    r.switchStart[1] = 20;
    const SitePlan plan = buildSitePlan(r);
    ASSERT_EQ(plan.stretches.size(), 1u);
    const PlanStretch& p = plan.stretches[0];
    EXPECT_EQ(p.kind, PlanStretch::Kind::Straight);
    EXPECT_FALSE(p.openStart || p.openEnd);
    ASSERT_EQ(p.line.size(), 2u);
    EXPECT_POINT(p.line[0], -60.0 * cotDeg(20), 60.0);  // -164.85: before the normal
    EXPECT_POINT(p.line[1], -60.0 * cotDeg(110), 60.0);  // +21.84: after it
    EXPECT_POINT(p.labelAt, (p.line[0].x + p.line[1].x) / 2.0, 60.0);
    // The screen 5 m from the track centre towards the receiver, over the same angles.
    ASSERT_EQ(p.screen.size(), 2u);
    EXPECT_POINT(p.screen[0], -55.0 * cotDeg(20), 55.0);
    EXPECT_POINT(p.screen[1], -55.0 * cotDeg(110), 55.0);
    // The stretch crosses the normal and the zone fits on the before side: 20..30 m out.
    ASSERT_EQ(p.switchZone.size(), 2u);
    EXPECT_POINT(p.switchZone[0], -20.0, 60.0);
    EXPECT_POINT(p.switchZone[1], -30.0, 60.0);
    EXPECT_TRUE(plan.missing.empty());
    EXPECT_LE(plan.min.x, p.line[0].x);
    EXPECT_EQ(plan.min.y, 0.0);  // the receiver is in view

    for (auto [a1, a2, x] : {std::tuple{0, 180, 0.0}, {0, 60, -10.0 * cotDeg(60)}, {120, 180, 10.0 * cotDeg(60)}}) {
        const PlanStretch p = buildSitePlan(straight(a1, a2, 10.0f)).stretches.at(0);
        EXPECT_EQ(p.openStart, a1 == 0);
        EXPECT_EQ(p.openEnd, a2 == 180);
        ASSERT_EQ(p.line.size(), 1u);
        EXPECT_POINT(p.line[0], x, 10.0);
        EXPECT_TRUE(a2 != 60 || p.labelAt.x < p.line[0].x);  // the label on the drawn, open part
        if (a2 == 180 && a1 == 0) {
            EXPECT_POINT(p.startDirection, -1.0, 0.0);
            EXPECT_POINT(p.endDirection, 1.0, 0.0);
        }
    }
}

TEST(SitePlan, ArcsBulgeAwayWhenConvexTowardsWhenConcaveInTheCalculationsFrame)
{
    // Radius 100 through the points 100 m away at 60° and 120°.
    const PlanStretch vex = buildSitePlan(curved(1, 60, 120, 100, 100, 100)).stretches.at(0);
    const PlanStretch cav = buildSitePlan(curved(2, 60, 120, 100, 100, 100)).stretches.at(0);
    for (const PlanStretch* p : {&vex, &cav}) {
        EXPECT_EQ(p->kind, PlanStretch::Kind::Arc);
        EXPECT_EQ(p->radius, 100.0);
        for (PlanPoint q : p->line) EXPECT_NEAR(dist(q, p->centre), 100.0, 1e-6);
    }
    // Convex: the receiver is the centre, every point 100 m away. Concave: the centre lies
    // beyond the track and the middle of the arc comes nearer than the chord.
    EXPECT_POINT(vex.centre, 0.0, 0.0);
    EXPECT_NEAR(dist(vex.labelAt), 100.0, 1e-6);
    EXPECT_NEAR(dist(cav.centre), 100.0 * std::sqrt(3.0), 1e-6);
    EXPECT_GT(cav.centre.y, 0.0);
    EXPECT_LT(dist(cav.labelAt), 50.0 * std::sqrt(3.0));

    // A screen 5 m towards the receiver: inside the convex arc, outside the concave one.
    ProjectRecord r = curved(2, 60, 120, 100, 100, 100);
    setScreen(r, 1, 2, 5.0f);
    const PlanStretch scr = buildSitePlan(r).stretches.at(0);
    ASSERT_FALSE(scr.screen.empty());
    for (PlanPoint q : scr.screen) EXPECT_NEAR(dist(q, scr.centre), 105.0, 1e-6);
    r.shape[1] = 1;
    const SitePlan inner = buildSitePlan(r);
    for (PlanPoint q : inner.stretches.at(0).screen) EXPECT_NEAR(dist(q), 95.0, 1e-6);

    // A half circle lies on the track's side of the receiver.
    for (int shape : {1, 2}) {
        const PlanStretch p = buildSitePlan(curved(shape, 0, 180, 100, 100, 100)).stretches.at(0);
        EXPECT_POINT(p.line.front(), -100.0, 0.0);
        EXPECT_POINT(p.line.back(), 100.0, 0.0);
        EXPECT_POINT(p.labelAt, 0.0, 100.0);
    }
    // A radius too small for the chord draws the chord.
    const PlanStretch chord = buildSitePlan(curved(1, 60, 120, 100, 100, 40)).stretches.at(0);
    EXPECT_EQ(chord.kind, PlanStretch::Kind::RadiusError);
    ASSERT_EQ(chord.line.size(), 2u);
    EXPECT_POINT(chord.line[0], -50.0, 50.0 * std::sqrt(3.0));
    EXPECT_POINT(chord.line[1], 50.0, 50.0 * std::sqrt(3.0));

    // Uneven end distances: the arc must still run from the typed start to the typed end,
    // and its frame must be the one the calculation stores for the maximum level.
    for (int shape : {1, 2}) {
        for (auto [a1, a2, r1, r2, Rc] : {std::tuple{30, 150, 80.0f, 120.0f, 150.0f}, {10, 70, 200.0f, 90.0f, 400.0f}}) {
            const ProjectRecord r = curved(shape, a1, a2, r1, r2, Rc);
            const PlanStretch p = buildSitePlan(r).stretches.at(0);
            EXPECT_POINT(p.line.front(), -r1 * std::cos(kPi * a1 / 180), r1 * std::sin(kPi * a1 / 180));
            EXPECT_POINT(p.line.back(), -r2 * std::cos(kPi * a2 / 180), r2 * std::sin(kPi * a2 / 180));

            Array1<double, 7> emission{};
            CalcResults res;
            StretchEquivalentLevel(r, 1, emission, 0.0, StretchLevelContext{}, res);
            const ArcFrame f = arcFrameOf(r1, r2, a1, a2, Rc, shape == 1);
            EXPECT_EQ((std::vector<double>{f.A.x, f.A.y, f.B.x, f.B.y, f.M.x, f.M.y}),
                      (std::vector<double>{res.CurveStartX[1], res.CurveStartY[1], res.CurveEndX[1], res.CurveEndY[1],
                                           res.CurveReceiverX[1], res.CurveReceiverY[1]}));
        }
    }
}

TEST(SitePlan, BadInputDrawsWhatItCan)
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.stretchCount = 6;
    r.angleFrom[1] = 120;  // reversed in a stored file
    r.angleTo[1] = 30;
    r.perpDistance[1] = 40.0f;
    r.perpDistance[2] = std::nanf("");
    r.shape[3] = 1;  // radius 0
    r.startDistance[3] = r.endDistance[3] = 50.0f;
    r.perpDistance[4] = 1e30f;
    r.angleFrom[5] = 180;  // both ends at infinity on one side
    r.perpDistance[5] = 10.0f;
    r.angleFrom[6] = -40;  // out of range: taken as 0
    r.angleTo[6] = 400;
    r.perpDistance[6] = 10.0f;
    r.facadeReflectionOn = 1;
    r.facadeDistance = 2.0f;
    SitePlan plan = buildSitePlan(r);
    EXPECT_EQ(plan.missing, (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(sitePlanMissingTexts(plan).front(), "Delsträcka 2 saknar geometri");
    ASSERT_EQ(plan.stretches.size(), 2u);
    EXPECT_POINT(plan.stretches[0].line[0], -40.0 * cotDeg(30), 40.0);
    EXPECT_TRUE(plan.stretches[1].openStart && plan.stretches[1].openEnd);
    EXPECT_TRUE(plan.facade);
    EXPECT_EQ(plan.min.y, -2.0);
    for (double v : {plan.min.x, plan.min.y, plan.max.x, plan.max.y}) EXPECT_TRUE(std::isfinite(v));

    // Nothing placeable at all: an empty plan around the receiver.
    r = straight(0, 180, 0.0f);
    plan = buildSitePlan(r);
    EXPECT_TRUE(plan.stretches.empty());
    EXPECT_EQ(plan.missing, std::vector<int>{1});
}
