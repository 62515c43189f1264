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
        ctx.level = &injected;
        ctx.user = &levels;
    }
    Placement grow(int p, long long L)
    {
        const SlotGeometry& g = ts.g[p];
        return GrowTrainPlacement(ctx, p, g.length, TrackPos{p, g.S, g.startBefore, g.shape},
                                  TrackPos{p, g.E, g.endBefore, g.shape}, L);
    }
    std::pair<Placement, bool> slide(int p)  // the placement, and whether it moved
    {
        const SlotGeometry& g = ts.g[p];
        const SlideResult s = SlideShortTrain(ctx, p, TrackPos{p, g.confinedFrom, g.startBefore, g.shape},
                                              TrackPos{p, g.confinedTo, g.endBefore, g.shape});
        return {s.placement, s.shifted};
    }
};

// Positions before and after the normal on a straight slot.
TrackPos before(int slot, long long x) { return TrackPos{slot, x, true, 0}; }
TrackPos after(int slot, long long x) { return TrackPos{slot, x, false, 0}; }

// 45..90 and 90..135 at 20 m: 20 m before the normal, then 20 m after it.
ProjectRecord twoSides(float d = 20.0f)
{
    ProjectRecord r = maxProject(45, 90, d);
    addStretch(r, 1, 90, 135, d);
    return r;
}

}  // namespace

TEST(MaxSweep, GrowthAndSlideFollowTheStrictlyLouderSide)
{
    // From slot 1 the rear already stands at the start of the track: the front enters slot 2
    // one metre after the normal and grows to cover 30 m. From slot 2 the rear grows backward.
    Sweep sw(twoSides(), 30, {1, 2}, [](const TrackPos&) { return 50.0; });
    EXPECT_EQ(sw.grow(1, 30), (Placement{before(1, 20), after(2, 10)}));
    EXPECT_EQ(sw.grow(2, 30), (Placement{before(1, 10), after(2, 20)}));
    // A 500 m train on two 100 m stretches: both ends end up blocked, covering the 200 m.
    Sweep all(twoSides(100.0f), 500, {1, 2}, [](const TrackPos& p) { return p.slot == 2 ? 70.0 : 60.0; });
    const Placement whole{before(1, 100), after(2, 100)};
    EXPECT_EQ(all.grow(1, 500), whole);
    EXPECT_EQ(all.grow(2, 500), whole);
    Growth g{after(2, 50), after(2, 60), 10, 500};
    EXPECT_EQ(GrowFrontOnly(all.ctx, g), whole);
    EXPECT_TRUE(g.rearBlocked && g.frontBlocked);

    // Three slots: 20..45, 45..135 across the normal, 135..160; a 60 m train from slot 2.
    ProjectRecord r = maxProject(20, 45, 20.0f);
    addStretch(r, 1, 45, 135, 20.0f);
    addStretch(r, 1, 135, 160, 20.0f);
    // Slot 1 louder than slot 3: the train grows backward. Equal levels: every step extends
    // the front.
    Sweep back(r, 60, {1, 2, 3}, [](const TrackPos& p) { return p.slot == 1 ? 60.0 : 50.0; });
    EXPECT_EQ(back.grow(2, 60), (Placement{before(1, 40), after(2, 20)}));
    Sweep tie(r, 60, {1, 2, 3}, [](const TrackPos&) { return 55.0; });
    EXPECT_EQ(tie.grow(2, 60), (Placement{before(2, 20), after(3, 40)}));
    // The rear wins only while strictly louder: candidates at 21 .. 29 m of slot 1 beat
    // 52 dB; from 30 m on the front takes the remaining 11 metres.
    Sweep alt(r, 60, {1, 2, 3}, [](const TrackPos& p) { return p.slot == 1 ? 55.0 - p.x * 0.1 : 52.0; });
    EXPECT_EQ(alt.grow(2, 60), (Placement{before(1, 29), after(3, 31)}));

    // A 20 m train on 90..135 at 100 m after a louder 45..90 stretch: the rear enters slot 1
    // while each gained metre is strictly louder than the front metre given up.
    const ProjectRecord wide = twoSides(100.0f);
    Sweep slideBack(wide, 20, {1, 2}, [](const TrackPos& p) {
        return p.slot == 2 ? 70.0 : p.x <= 5 ? 80.0 - 0.1 * p.x : 0.0;
    });
    EXPECT_EQ(slideBack.slide(2), (std::pair{Placement{before(1, 5), after(2, 15)}, true}));
    // A quieter neighbour, or an equal one: the train stays where it was.
    for (double neighbour : {60.0, 70.0}) {
        Sweep stay(wide, 20, {1, 2}, [neighbour](const TrackPos& p) { return p.slot == 1 ? neighbour : 70.0; });
        EXPECT_EQ(stay.slide(2), (std::pair{Placement{after(2, 0), after(2, 20)}, false})) << neighbour;
    }
    // Forward: the train on 45..90, confined to its last 20 m before the normal, with a
    // louder stretch after the normal.
    Sweep fwd(wide, 20, {1, 2}, [](const TrackPos& p) { return p.slot == 1 ? 70.0 : p.x <= 3 ? 80.0 : 0.0; });
    ASSERT_EQ(fwd.ts.g[1].confinedFrom, 20);
    EXPECT_EQ(fwd.slide(1), (std::pair{Placement{before(1, 17), after(2, 3)}, true}));
}

TEST(MaxMiddle, MiddleOfATrainOnOneSlotAndAcrossSlots)
{
    // 31 m train from 31 m to 0 m before the normal at d = 20: 31 steps, 16 from the rear
    // give x = 15 and the angle Trunc(90 − 36.87) = 53. A 30 m train: also x = 15. Rear and
    // front together: no step.
    const ProjectRecord r = maxProject(0, 90, 20.0f);
    TrackSlots ts = slotsOf(r, CalcResults{}, 31, {1});
    EXPECT_EQ(TrainMiddle(ts, Placement{before(1, 31), before(1, 0)}, 31, 31 + 1146), before(1, 15));
    EXPECT_EQ(TrainMiddle(ts, Placement{before(1, 30), before(1, 0)}, 30, 30 + 1146), before(1, 15));
    EXPECT_EQ(TrainMiddle(ts, Placement{before(1, 7), before(1, 7)}, 1, 1147), before(1, 7));
    EXPECT_EQ(TrackPositionAngle(r, ts, before(1, 15)), 53);
    EXPECT_EQ(TrackPositionAngle(r, ts, before(1, 0)), 90);
    EXPECT_EQ(TrackPositionAngle(r, ts, after(1, 40)), 153);  // 90 + 63.43

    // Across slots: rear 10 m before, front 20 m after the normal (slot 2 is entered at 1 m).
    // A front at the start of slot 2 is reached from the end of slot 1; one that stepping
    // never reaches stops at the bound: N := L.
    ts = slotsOf(twoSides(), CalcResults{}, 30, {1, 2});
    EXPECT_EQ(TrainMiddle(ts, Placement{before(1, 10), after(2, 20)}, 30, 30 + 40), after(2, 5));
    EXPECT_EQ(TrainMiddle(ts, Placement{before(1, 10), after(2, 0)}, 10, 50), before(1, 5));
    EXPECT_EQ(TrainMiddle(ts, Placement{before(1, 10), before(1, 15)}, 6, 50), before(1, 7));
}
