// Stretch geometry in whole metres, the stepping rule, the element walk and the level of one
// element: emission, near-field correction, switch term, distances.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TraceCapture.h"
#include "calc/ElementLevel.h"
#include "calc/MaxLevel.h"
#include "max_fixture.h"

namespace {

// Positions of the elements a walk visits on the track of the given stretches, read from the trace.
std::vector<std::string> walkedPositions(const ProjectRecord& r, long long L, const std::vector<int>& stretches,
                                         const TrackPos& start, long long count, int confine)
{
    CalcResults frames;
    const TrackSlots ts = slotsOf(r, frames, L, stretches);
    TraceCapture tc(TracePass::Maximum);
    WalkContext w;
    w.elem.rec = &r;
    w.elem.frames = &frames;
    w.elem.trace = &tc;
    w.coef = &GetTrainType(1, 0).EmissionCoefficients;
    w.v = 100;
    WalkElements(w, ts, start, count, confine);
    std::vector<std::string> out;
    for (const auto& l : tc.lines(TraceFile::Main))
        if (l.rfind("Meter: ", 0) == 0) out.push_back(l.substr(7, l.find(' ', 7) - 7));
    return out;
}

// The position n steps forward (n < 0: backward) from p.
TrackPos step(const TrackSlots& ts, TrackPos p, int n)
{
    for (; n > 0; --n) StepForward(ts, p);
    for (; n < 0; ++n) StepBackward(ts, p);
    return p;
}


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

TEST(MaxGeometry, StraightStretchEndsAndTheTrainKeptInside)
{
    struct Case {
        int a1, a2;
        float d;
        long long L, S, E, length, from, to;
    };
    const Case cases[] = {
        {0, 90, 10, 30, 573, 0, 573, 30, 0},      // start angle taken as 1°; kept train from E + L
        {90, 180, 10, 30, 0, 573, 573, 0, 30},    // end angle taken as 179°
        {45, 90, 20, 30, 20, 0, 20, 20, 0},       // no longer than the train: its ends
        {90, 90, 20, 30, 1, 0, 1, 1, 0},          // coinciding ends give one metre
        {56, 57, 14.8f, 30, 11, 10, 1, 11, 10},   // both ends round to 10 m
        {179, 180, 10, 30, 573, 574, 1, 573, 574},
        {89, 91, 10, 30, 1, 1, 2, 1, 1},          // across, both ends 0: a metre each side
        {45, 135, 20, 30, 20, 20, 40, 15, 15},    // across: h = 15 each side
        {45, 135, 20, 31, 20, 20, 40, 15, 16},    // odd length: h = Trunc(31/2)
        {80, 135, 20, 20, 4, 20, 24, 4, 16},      // S ≤ h: the whole short side
        {45, 100, 20, 20, 20, 4, 24, 16, 4},      // E < h: the rest before the normal
        {80, 135, 20, 30, 4, 20, 24, 4, 20},      // longer train: the ends
    };
    for (const Case& c : cases) {
        const SlotGeometry g = slotsOf(maxProject(c.a1, c.a2, c.d), CalcResults{}, c.L, {1}).g[1];
        SCOPED_TRACE(std::to_string(c.a1) + ".." + std::to_string(c.a2) + " L " + std::to_string(c.L));
        EXPECT_EQ((std::vector<long long>{g.S, g.E, g.length, g.confinedFrom, g.confinedTo}),
                  (std::vector<long long>{c.S, c.E, c.length, c.from, c.to}));
        EXPECT_EQ(g.across, c.a1 < 90 && c.a2 > 90);
        EXPECT_EQ(g.startBefore, c.a1 < 90 || (c.a2 <= 90));
        EXPECT_EQ(g.endBefore, c.a2 <= 90);
    }
}

TEST(MaxStepping, StepsAndWalksAcrossSlotsAndTheNormalNotPastTheTrack)
{
    // The slots of a track end at the first gap.
    EXPECT_EQ(CountOrderedStretches(Array1<int, 8>{{3, 5, 0, 2, 0, 0, 0, 0}}), 2);
    EXPECT_EQ(CountOrderedStretches(Array1<int, 8>{{1, 2, 3, 4, 5, 6, 7, 8}}), 8);

    // A stretch across the normal with S > E: 45..120 at 20 m (S = 20, E = 12). Position 12
    // before the normal is not its end.
    ProjectRecord c = maxProject(45, 120, 20.0f);
    addStretch(c, 1, 120, 150, 20.0f);
    const TrackSlots tc = slotsOf(c, CalcResults{}, 30, {1, 2});
    EXPECT_EQ(step(tc, {1, 13, true, 0}, 1), (TrackPos{1, 12, true, 0}));
    EXPECT_FALSE(AtStretchEnd(tc, TrackPos{1, 12, true, 0}));
    EXPECT_EQ(step(tc, {1, 0, true, 0}, 1), (TrackPos{1, 1, false, 0}));
    EXPECT_TRUE(AtStretchEnd(tc, TrackPos{1, 12, false, 0}));
    EXPECT_EQ(step(tc, {1, 12, false, 0}, 1), (TrackPos{2, tc.g[2].S + 1, false, 0}));
    EXPECT_EQ(step(tc, step(tc, {1, 12, false, 0}, 1), -2), (TrackPos{1, 11, false, 0}));

    // 88..135 at 10 m: S = Round(tan 2° · 10) = 0; entering it steps to 1 m after the normal.
    ProjectRecord z = maxProject(45, 88, 10.0f);
    addStretch(z, 1, 88, 135, 10.0f);
    const TrackSlots tz = slotsOf(z, CalcResults{}, 30, {1, 2});
    ASSERT_EQ(tz.g[2].S, 0);
    EXPECT_EQ(step(tz, {1, tz.g[1].E, true, 0}, 1), (TrackPos{2, 1, false, 0}));

    using Positions = std::vector<std::string>;
    // Pass 3 on 45..135 at 20 m with a 30 m train: 15 elements before, 15 after.
    Positions pos = walkedPositions(maxProject(45, 135, 20.0f), 30, {1}, TrackPos{1, 15, true, 0}, 0, 1);
    ASSERT_EQ(pos.size(), 30u);
    EXPECT_EQ((Positions{pos.front(), pos[14], pos[15], pos.back()}), (Positions{"14.50", "0.50", "0.50", "14.50"}));
    // A full train across two slots: 60 of the 100 elements lie past the track.
    ProjectRecord r = maxProject(45, 90, 20.0f);
    addStretch(r, 1, 90, 135, 20.0f);
    pos = walkedPositions(r, 100, {1, 2}, TrackPos{1, 20, true, 0}, 100, 0);
    ASSERT_EQ(pos.size(), 40u);
    EXPECT_EQ((Positions{pos[0], pos[19], pos[20], pos[39]}), (Positions{"19.50", "0.50", "0.50", "19.50"}));
    // A curved stretch yields one element more than its arc length.
    ProjectRecord arc = maxProject(60, 120, 0.0f);
    makeCurved(arc, 1, 1, 60, 120, 100, 100, 100);
    pos = walkedPositions(arc, 200, {1}, TrackPos{1, 0, false, 1}, 200, 0);
    ASSERT_EQ(pos.size(), 105u);
    EXPECT_EQ(pos.back(), "104.50");
}

TEST(MaxElement, SwitchCountedOnlyInsideTheSwitchEmissionDistanceNearFieldAndTrace)
{
    // Switch from 20 m. Rows are the elements of walks (a new walk clears "passed"): towards the
    // normal 29.5 .. 20.5 earn 6 dB and 20.5 passes it, so 25.5 no longer counts; away from it
    // 29.5 closes it; an element straddling the start passes it without the 6 dB; the plain rule
    // of a confined train counts 20..30 whatever was passed.
    ProjectRecord r = maxProject(0, 90, 10.0f);
    r.switchesOn[1] = 1;
    r.switchStart[1] = 20;
    struct Step {
        double x;
        bool towards, plain, newWalk;
        int term;
        bool passed;
    } const walk[] = {
        {30.5, 1, 0, 1, 0, 0}, {29.5, 1, 0, 0, 6, 0}, {20.5, 1, 0, 0, 6, 1}, {25.5, 1, 0, 0, 0, 1},
        {19.5, 0, 0, 1, 0, 0}, {20.5, 0, 0, 0, 6, 0}, {29.5, 0, 0, 0, 6, 1}, {20.0, 1, 0, 1, 0, 1},
        {25.5, 1, 1, 0, 6, 1}, {30.0, 1, 1, 0, 0, 1},
    };
    bool passed = false;
    for (const Step& e : walk) {
        if (e.newWalk) passed = false;
        EXPECT_EQ(ElementSwitchTerm(r, 1, e.x, e.towards, e.plain, passed), e.term) << e.x;
        EXPECT_EQ(passed, e.passed) << e.x;
    }
    r.switchesOn[1] = 0;
    EXPECT_EQ(ElementSwitchTerm(r, 1, 25.5, true, true, passed), 0);

    // v = 100 km/h, (A, B) = (10, 33): 0 + 20 + 43.8 + 33 = 96.8 dB; v = 0: both logarithms 0;
    // doubling the speed adds (A + 10)·lg 2.
    EXPECT_DOUBLE_EQ(ElementEmission(EmissionPair{10, 33}, 100), 96.8);
    EXPECT_DOUBLE_EQ(ElementEmission(EmissionPair{10, 33}, 0), 43.8 + 33);
    EXPECT_NEAR(ElementEmission(EmissionPair{20, 30}, 200) - ElementEmission(EmissionPair{20, 30}, 100),
                30.0 * std::log10(2.0), 1e-12);
    const ProjectRecord open = maxProject(0, 180, 30.0f);
    EXPECT_NEAR(straightLevel(open, 12.0, 6) - straightLevel(open, 12.0), 6.0, 1e-9);  // a switch: +6 dB
    // d = 30 m, x = 40 m: r = 50 m, the level at the foot of the normal 50 m away; only |x|
    // matters and tracing changes nothing.
    TraceCapture tc(TracePass::Maximum);
    const double l = straightLevel(open, 40.0, 0, true, &tc);
    const auto& main = tc.lines(TraceFile::Main);
    ASSERT_GT(main.size(), 10u);
    EXPECT_EQ(main.front(), "Meter: 40.00 avstånd: 50.00");
    EXPECT_EQ(main[8], "dLCv: 0");
    EXPECT_EQ(main[10].rfind("LpTotal minus?: ", 0), 0u);
    EXPECT_EQ(l, straightLevel(open, 40.0));
    EXPECT_EQ(l, straightLevel(open, -40.0));
    ProjectRecord far = maxProject(0, 180, 50.0f);
    EXPECT_NEAR(l, straightLevel(far, 0.0), 1e-9);

    // The near field, only in all-Swedish projects: types 4 and 8 get +6 dB falling to 0 at
    // 200 m, so +4.5 dB at r = 50 m (the other types, and Finnish trains, are in the frozen results).
    far.trainType[1] = 4;
    EXPECT_NEAR(straightLevel(far, 0.0) - straightLevel(far, 0.0, 0, false), 4.5, 1e-9);
    EXPECT_NEAR(straightLevel(far, std::sqrt(37500.0)) - straightLevel(far, std::sqrt(37500.0), 0, false), 0.0, 1e-12);
    setTrain(far, 2, 1000, 30, 100);
    far.nationality[2] = 2;
    EXPECT_FALSE(AllTrainsSwedish(far));
}
