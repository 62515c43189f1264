#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "calc/Bands.h"
#include "calc/StretchLevel.h"
#include "projects.h"

namespace {
double tanDeg(double d) { return std::tan(kPi * d / 180.0); }

// The source points of a stretch-1 walk (emission 80 dB in every band) and its level.
struct Walk {
    double Leq = 0.0;
    Array1<double, 7> bandTotals{};
    std::vector<SourcePointInfo> points;
    CalcResults results;
    std::vector<std::pair<double, double>> placement(int pass = 0) const  // (position, length)
    {
        std::vector<std::pair<double, double>> v;
        for (const auto& p : points)
            if (pass == 0 || p.pass == pass) v.emplace_back(p.position, p.length);
        return v;
    }
    double length() const
    {
        double sum = 0.0;
        for (const auto& p : points) sum += p.length;
        return sum;
    }
};

Walk walk(const ProjectRecord& r, int seg, bool bandTotals = false)
{
    Walk w;
    StretchLevelContext ctx;
    ctx.segmentLength = seg;
    ctx.bandTotals = bandTotals;
    ctx.observer = [&w](const SourcePointInfo& p) { w.points.push_back(p); };
    Array1<double, 7> e;
    e.fill(80.0);
    const StretchLevel level = StretchEquivalentLevel(r, 1, e, 0.0, ctx, w.results);
    w.Leq = level.Leq;
    for (int b = 1; b <= 7; ++b) w.bandTotals[b] = level.bandTotals[b];
    return w;
}

using Points = std::vector<std::pair<double, double>>;
}  // namespace

TEST(StretchCaseA, SegmentsAndRemainderPoints)
{
    EXPECT_EQ(stretchCaseOf(straight(0, 180, 10), 1), StretchCase::B);  // taken as 1..179
    EXPECT_EQ(stretchCaseOf(straight(0, 90, 10), 1), StretchCase::A);
    EXPECT_EQ(stretchCaseOf(straight(90, 180, 10), 1), StretchCase::A);
    struct Case {
        int a1, a2, segment;
        Points placement;
    } const cases[] = {
        // D = 10, 17° from the normal: the far end rounds to 3 m; before the normal too.
        {90, 107, 1, {{0, 1}, {1, 1}, {2, 1}, {2.5, 0.5}}},
        {73, 90, 1, {{0, 1}, {1, 1}, {2, 1}, {2.5, 0.5}}},
        // xe = 4 and xe = 5 with 2 m segments; at 5 the last full point keeps the remainder 0.
        {90, 112, 2, {{0, 2}, {2, 2}, {3, 1}}},
        {90, 117, 2, {{0, 2}, {2, 2}, {4, 0}}},
        {90, 90, 3, {{0, 3}}},  // coinciding ends: one point standing for a whole segment
    };
    for (const Case& c : cases) EXPECT_EQ(walk(straight(c.a1, c.a2, 10), c.segment).placement(), c.placement) << c.a1;
    EXPECT_NEAR(walk(straight(90, 90, 10), 3).Leq - walk(straight(90, 90, 10), 1).Leq, 10.0 * std::log10(3.0), 1e-9);
}

TEST(StretchCaseA, LongStretchEndsByTheStopRule)
{
    // 1..89° at 10 m reaches 573 m out; every point but the last adds at least 0.0001 dB.
    const Walk w = walk(straight(0, 89, 10), 1);
    EXPECT_LT(w.points.back().position, 572.0);
    double acc = 0.0;
    for (std::size_t i = 0; i < w.points.size(); ++i) {
        const double next = AddLevel(acc, w.points[i].level);
        EXPECT_EQ(next - acc < 0.0001, i + 1 == w.points.size()) << i;
        acc = next;
    }
    EXPECT_DOUBLE_EQ(acc, w.Leq);
}

TEST(StretchCaseB, TwoPassesAroundTheNormal)
{
    // 45..135 at 10 m: the central segment, 1..9 and ~0.5 m at ~9.75 on each side.
    const Walk w = walk(straight(45, 135, 10), 1);
    const double xe = 10.0 * tanDeg(45);
    Points side;
    for (int x = 1; x <= 9; ++x) side.emplace_back(x, 1.0);
    side.emplace_back(9.5 + (xe - 9.5) / 2.0, xe - 9.5);
    Points pass1{{0, 1}};
    pass1.insert(pass1.end(), side.begin(), side.end());
    EXPECT_EQ(w.placement(1), pass1);
    EXPECT_EQ(w.placement(2), side);

    // Symmetric and shorter than a segment: one central point for the whole stretch.
    EXPECT_EQ(walk(straight(89, 91, 10), 1).placement(), (Points{{0, 20.0 * tanDeg(1)}}));
}

TEST(StretchCaseB, FullSegmentsFollowAShortenedCentralSegment)
{
    // 45..92 at 10 m: side 2 is 0.35 m, the central segment shrinks to 0.70 m and covers it;
    // side 1 is still walked in full 1 m segments out to 10 m, so no track is dropped.
    const double t = 10.0 * tanDeg(2), xe = 10.0 * tanDeg(45);
    const Walk w = walk(straight(45, 92, 10), 1);
    EXPECT_TRUE(w.placement(2).empty());
    ASSERT_GE(w.points.size(), 10u);
    EXPECT_EQ(w.placement()[1], (std::pair{0.5 + t, 1.0}));
    EXPECT_NEAR(w.length(), xe + t, 1e-9);
    // Mirrored: side 1 short, side 2 walked in pass 2 from the edge of the central segment.
    const Walk m = walk(straight(88, 135, 10), 1);
    EXPECT_EQ(m.placement(1), (Points{{0, 2.0 * t}}));
    EXPECT_NEAR(m.placement(2)[0].first, t + 0.5, 1e-12);
    EXPECT_NEAR(m.length(), xe + t, 1e-9);
}

TEST(StretchSwitches, SixDecibelsOnTheSwitchZoneOnce)
{
    // Points of each pass given 6 dB; no point outside the zone 20..30 m gets anything.
    auto zonePoints = [](const ProjectRecord& r) {
        std::pair<int, int> n;
        for (const auto& p : walk(r, 1).points) {
            EXPECT_TRUE(p.dLv == 0.0 || (p.dLv == 6.0 && p.position >= 20 && p.position <= 30));
            (p.pass == 1 ? n.first : n.second) += p.dLv == 6.0;
        }
        return n;
    };
    // Case A from 0 to 103 m: 11 points.
    ProjectRecord r = straight(90, 169, 20);
    r.switchesOn[1] = 1;
    r.switchStart[1] = 20;
    EXPECT_EQ(zonePoints(r), std::pair(11, 0));
    // Case B: on the first side long enough to hold the zone, and only there.
    r.angleFrom[1] = 45;
    r.angleTo[1] = 135;
    r.perpDistance[1] = 50;
    EXPECT_EQ(zonePoints(r), std::pair(11, 0));
    r.angleFrom[1] = 80;  // side 1 is 8.8 m: the zone lies on side 2
    EXPECT_EQ(zonePoints(r), std::pair(0, 11));
}

TEST(StretchCaseC, ArcPointsAndDegenerateArcs)
{
    // r1 = r2 = Rc = 100, 60..120: θ = 60°, S = 104.72 m. Konvex: every point 100 m away, the
    // last one in the middle of the remainder; Konkav: the ends 100 m away, the middle 73.2 m.
    const double S = 100.0 * kPi / 3.0;
    const Walk v = walk(curved(1, 60, 120, 100, 100, 100), 1);
    ASSERT_EQ(v.points.size(), 105u);
    for (const auto& p : v.points) EXPECT_NEAR(p.R, 100.0, 1e-9);
    EXPECT_NEAR(v.length(), S, 1e-9);
    EXPECT_NEAR(v.points.back().position, 104.0 + (S - 104.0) / 2.0, 1e-9);
    const Walk k = walk(curved(2, 60, 120, 100, 100, 100), 1);
    EXPECT_NEAR(k.points.front().R, 100.0, 1.0);
    EXPECT_NEAR(k.points[52].R, 73.2, 0.1);
    EXPECT_EQ(walk(curved(1, 0, 180, 100, 100, 100), 5).results.CurveEndX[1], 100.0);  // half circle
    // Zero chord (r1 = r2, a1 = a2): θ = S = 0, one point, nothing undefined.
    const Walk z = walk(curved(1, 60, 60, 100, 100, 50), 1);
    ASSERT_EQ(z.points.size(), 1u);
    EXPECT_TRUE(std::isfinite(z.Leq));
}

TEST(StretchLevel, SegmentLengthScreenAndBandTotals)
{
    // Halving the segment changes a level by at most 0.1 dB; across the normal even a 15 m
    // segment does. (On one side of the normal the first segment is centred on the end
    // nearest the normal, so long segments reach past it.)
    for (auto [a1, a2] : {std::pair{0, 180}, {20, 110}, {95, 170}, {0, 80}}) {
        const double fine = walk(straight(a1, a2, 30), 1).Leq;
        EXPECT_NEAR(fine, walk(straight(a1, a2, 30), 2).Leq, 0.1);
        if (a1 < 90 && a2 > 90) {
            EXPECT_NEAR(fine, walk(straight(a1, a2, 30), 15).Leq, 0.1);
        }
    }
    // A 2 m absorbing screen 5 m from the track.
    ProjectRecord sc = straight(0, 180, 25);
    sc.screenType[1] = 1;
    sc.screenDistance[1] = 5.0f;
    sc.screenCrestHeight[1] = 2.0f;
    const Walk plain = walk(straight(0, 180, 25), 1), summed = walk(straight(0, 180, 25), 1, true);
    EXPECT_LT(walk(sc, 1).Leq, plain.Leq - 1.0);
    // Band totals only when asked for; they add up to the level, which they do not change.
    EXPECT_EQ(plain.Leq, summed.Leq);
    double all = 0.0;
    for (int b = 1; b <= 7; ++b) {
        EXPECT_EQ(plain.bandTotals[b], 0.0);
        all = AddLevel(all, summed.bandTotals[b]);
    }
    EXPECT_NEAR(all, summed.Leq, 1e-9);
}
