// Placement of a train on a track, with element levels injected where the decision of a
// search is under test.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "calc/MaxLevel.h"
#include "max_fixture.h"

namespace {

using Levels = std::function<double(const TrackPos&)>;

double injected(const SweepContext& c, const TrackPos& p) { return (*static_cast<const Levels*>(c.user))(p); }

struct Sweep {
    ProjectRecord rec;
    CalcResults frames;
    TrackSlots ts;
    Levels levels;
    SweepContext ctx;
    Coefficients coef = GetTrainType(1, 0).EmissionCoefficients;

    Sweep(const ProjectRecord& r, long long L, std::vector<int> stretches, Levels lv) : rec(r), levels(std::move(lv))
    {
        ts = slotsOf(rec, frames, L, stretches);
        ctx.slots = &ts;
        ctx.elem.rec = &rec;
        ctx.elem.frames = &frames;
        ctx.coef = &coef;
        ctx.v = 100;
        if (levels) {
            ctx.level = &injected;
            ctx.user = &levels;
        }
    }
    Placement grow(int p, long long L)
    {
        const SlotGeometry& g = ts.g[p];
        return GrowTrainPlacement(ctx, p, g.length, TrackPos{p, g.S, g.startBefore, g.shape},
                                  TrackPos{p, g.E, g.endBefore, g.shape}, L);
    }
    SlideResult slide(int p)
    {
        const SlotGeometry& g = ts.g[p];
        return SlideShortTrain(ctx, p, TrackPos{p, g.confinedFrom, g.startBefore, g.shape},
                               TrackPos{p, g.confinedTo, g.endBefore, g.shape});
    }
};

// 45..90 and 90..135 at 20 m: 20 m before the normal, then 20 m after it.
ProjectRecord twoSides(float d = 20.0f)
{
    ProjectRecord r = maxProject(45, 90, d);
    addStretch(r, 1, 90, 135, d);
    return r;
}

}  // namespace

TEST(MaxGrowth, TrainFromTheTrackStartGrowsOnlyForward)
{
    Sweep sw(twoSides(), 30, {1, 2}, [](const TrackPos&) { return 50.0; });
    // From slot 1 the rear already stands at the start of the track: the front enters slot 2
    // one metre after the normal and grows to cover 30 m.
    EXPECT_EQ(sw.grow(1, 30), (Placement{TrackPos{1, 20, true, 0}, TrackPos{2, 10, false, 0}}));
    // From slot 2 the front stands at the end of the track: the rear grows backward.
    EXPECT_EQ(sw.grow(2, 30), (Placement{TrackPos{1, 10, true, 0}, TrackPos{2, 20, false, 0}}));
}

TEST(MaxGrowth, GrowsOnTheLouderSideAndTiesGoForward)
{
    // Three slots: 0..45, 45..135 across the normal, 135..180; a 60 m train from slot 2.
    ProjectRecord r = maxProject(20, 45, 20.0f);
    addStretch(r, 1, 45, 135, 20.0f);
    addStretch(r, 1, 135, 160, 20.0f);
    // Slot 1 louder than slot 3: the train grows backward.
    Sweep back(r, 60, {1, 2, 3}, [](const TrackPos& p) { return p.slot == 1 ? 60.0 : 50.0; });
    EXPECT_EQ(back.grow(2, 60), (Placement{TrackPos{1, 40, true, 0}, TrackPos{2, 20, false, 0}}));
    // Equal levels: every step extends the front.
    Sweep tie(r, 60, {1, 2, 3}, [](const TrackPos&) { return 55.0; });
    EXPECT_EQ(tie.grow(2, 60), (Placement{TrackPos{2, 20, true, 0}, TrackPos{3, 40, false, 0}}));
    // Alternating winners: the rear wins only while it is strictly louder.
    Sweep alt(r, 60, {1, 2, 3}, [](const TrackPos& p) { return p.slot == 1 ? 55.0 - p.x * 0.1 : 52.0; });
    // Rear candidates at 21 .. 29 m (slot 1) are louder than 52 dB; from 30 m on the front
    // takes the remaining 11 metres.
    const Placement pl = alt.grow(2, 60);
    EXPECT_EQ(pl.rear, (TrackPos{1, 29, true, 0}));
    EXPECT_EQ(pl.front, (TrackPos{3, 31, false, 0}));
}

TEST(MaxGrowth, TrainLongerThanTheTrackCoversItAll)
{
    // 500 m train on two 100 m stretches: both ends end up blocked, covering the 200 m.
    ProjectRecord r = twoSides(100.0f);
    Sweep sw(r, 500, {1, 2}, [](const TrackPos& p) { return p.slot == 2 ? 70.0 : 60.0; });
    const Placement want{TrackPos{1, 100, true, 0}, TrackPos{2, 100, false, 0}};
    EXPECT_EQ(sw.grow(1, 500), want);
    EXPECT_EQ(sw.grow(2, 500), want);
    Growth g;
    g.rear = TrackPos{2, 50, false, 0};
    g.front = TrackPos{2, 60, false, 0};
    g.covered = 10;
    g.L = 500;
    EXPECT_EQ(GrowFrontOnly(sw.ctx, g), want);
    EXPECT_TRUE(g.rearBlocked && g.frontBlocked);
}

TEST(MaxSlide, ShortTrainSlidesIntoALouderNeighbourEitherWay)
{
    // A 20 m train on 90..135 at 100 m after a louder 45..90 stretch: the rear enters slot 1
    // while each gained metre is strictly louder than the front metre given up.
    ProjectRecord r = twoSides(100.0f);
    Sweep sw(r, 20, {1, 2}, [](const TrackPos& p) {
        if (p.slot == 1) return p.x <= 5 ? 80.0 - 0.1 * p.x : 0.0;
        return 70.0;
    });
    SlideResult s = sw.slide(2);
    EXPECT_TRUE(s.shifted);
    EXPECT_EQ(s.placement, (Placement{TrackPos{1, 5, true, 0}, TrackPos{2, 15, false, 0}}));

    // A quieter neighbour: the train stays where it was.
    Sweep quiet(r, 20, {1, 2}, [](const TrackPos& p) { return p.slot == 1 ? 60.0 : 70.0; });
    s = quiet.slide(2);
    EXPECT_FALSE(s.shifted);
    EXPECT_EQ(s.placement, (Placement{TrackPos{2, 0, false, 0}, TrackPos{2, 20, false, 0}}));

    // Equal levels never move it (the gained metre must be strictly louder).
    Sweep equal(r, 20, {1, 2}, [](const TrackPos&) { return 70.0; });
    EXPECT_FALSE(equal.slide(2).shifted);

    // Forward: the train on 45..90, confined to its last 20 m before the normal, with a
    // louder stretch after the normal.
    Sweep fwd(r, 20, {1, 2}, [](const TrackPos& p) {
        if (p.slot == 2) return p.x <= 3 ? 80.0 : 0.0;
        return 70.0;
    });
    ASSERT_EQ(fwd.ts.g[1].confinedFrom, 20);
    s = fwd.slide(1);
    EXPECT_TRUE(s.shifted);
    EXPECT_EQ(s.placement, (Placement{TrackPos{1, 17, true, 0}, TrackPos{2, 3, false, 0}}));
}

TEST(MaxArc, TrainIsSeededAtTheNearestPoint)
{
    // Konvex arc of radius 100 from (−100, 0); a receiver at (−100, −50) is nearest to the
    // start point, so the train grows forward only.
    ProjectRecord r = maxProject(0, 60, 0.0f);
    r.shape[1] = 1;
    r.radius[1] = 100.0f;
    r.startDistance[1] = 50.0f;
    r.endDistance[1] = 120.0f;
    CalcResults frames;
    frames.CurveStartY[1] = 0.0;
    frames.CurveReceiverX[1] = -100.0;
    frames.CurveReceiverY[1] = -50.0;
    ElementContext ctx;
    ctx.rec = &r;
    ctx.frames = &frames;
    EXPECT_EQ(ArcPointDistance(ctx, 1, 0), 50.0f);
    EXPECT_GT(ArcPointDistance(ctx, 1, 10), 50.0f);
    const ArcPlacement seeded = PlaceTrainOnArc(ctx, 1, 30, 100);
    EXPECT_EQ(seeded.rear, 0);
    EXPECT_EQ(seeded.front, 29);
}

TEST(MaxMiddle, MiddleOfATrainOnOneSlotAndAcrossSlots)
{
    // 31 m train from 31 m to 0 m before the normal at d = 20: 31 steps, 16 from the rear
    // give x = 15 and the angle Trunc(90 − 36.87) = 53. A 30 m train: also x = 15.
    ProjectRecord r = maxProject(0, 90, 20.0f);
    CalcResults frames;
    TrackSlots ts = slotsOf(r, frames, 31, {1});
    TrackPos mid = TrainMiddle(ts, Placement{TrackPos{1, 31, true, 0}, TrackPos{1, 0, true, 0}}, 31, 31 + 1146);
    EXPECT_EQ(mid, (TrackPos{1, 15, true, 0}));
    EXPECT_EQ(TrackPositionAngle(r, ts, mid), 53);
    mid = TrainMiddle(ts, Placement{TrackPos{1, 30, true, 0}, TrackPos{1, 0, true, 0}}, 30, 30 + 1146);
    EXPECT_EQ(mid, (TrackPos{1, 15, true, 0}));
    // Rear and front together: no step.
    mid = TrainMiddle(ts, Placement{TrackPos{1, 7, true, 0}, TrackPos{1, 7, true, 0}}, 1, 1147);
    EXPECT_EQ(mid.x, 7);
    EXPECT_EQ(TrackPositionAngle(r, ts, TrackPos{1, 0, true, 0}), 90);
    EXPECT_EQ(TrackPositionAngle(r, ts, TrackPos{1, 40, false, 0}), 153);  // 90 + 63.43

    // Across slots: rear 10 m before, front 20 m after the normal (slot 2 is entered at 1 m).
    ts = slotsOf(twoSides(), frames, 30, {1, 2});
    mid = TrainMiddle(ts, Placement{TrackPos{1, 10, true, 0}, TrackPos{2, 20, false, 0}}, 30, 30 + 40);
    EXPECT_EQ(mid, (TrackPos{2, 5, false, 0}));
    // A front at the start of slot 2 is reached from the end of slot 1.
    mid = TrainMiddle(ts, Placement{TrackPos{1, 10, true, 0}, TrackPos{2, 0, false, 0}}, 10, 50);
    EXPECT_EQ(mid, (TrackPos{1, 5, true, 0}));
    // A front that stepping never reaches stops at the bound: N := L.
    mid = TrainMiddle(ts, Placement{TrackPos{1, 10, true, 0}, TrackPos{1, 15, true, 0}}, 6, 50);
    EXPECT_EQ(mid, (TrackPos{1, 7, true, 0}));
}
