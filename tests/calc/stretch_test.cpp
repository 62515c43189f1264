// The source points of the equivalent-level walk along a stretch: its cases, degenerate
// stretches, and the band totals.

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
    StretchLevel level;
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
    w.level = StretchEquivalentLevel(r, 1, e, 0.0, ctx, w.results);
    return w;
}

using Points = std::vector<std::pair<double, double>>;
}  // namespace

TEST(StretchWalk, CasesDegenerateStretchesAndTheShortenedCentralSegment)
{
    for (auto [a1, a2, c] : {std::tuple{0, 180, StretchCase::B}, {0, 90, StretchCase::A}, {90, 180, StretchCase::A}})
        EXPECT_EQ(stretchCaseOf(straight(a1, a2, 10), 1), c) << a1;  // 0..180 taken as 1..179
    // Coinciding ends (90..90): one point standing for a whole segment.
    const Walk w1 = walk(straight(90, 90, 10), 1), w3 = walk(straight(90, 90, 10), 3);
    EXPECT_EQ(w3.placement(), (Points{{0, 3}}));
    EXPECT_NEAR(w3.level.Leq - w1.level.Leq, 10.0 * std::log10(3.0), 1e-9);
    // Symmetric and shorter than a segment: one central point for the whole stretch.
    EXPECT_EQ(walk(straight(89, 91, 10), 1).placement(), (Points{{0, 20.0 * tanDeg(1)}}));
    // A half circle ends opposite its start; a zero-chord arc (r1 = r2, a1 = a2) has θ = S = 0,
    // one point, nothing undefined.
    EXPECT_EQ(walk(curved(1, 0, 180, 100, 100, 100), 5).results.CurveEndX[1], 100.0);
    const Walk z = walk(curved(1, 60, 60, 100, 100, 50), 1);
    ASSERT_EQ(z.points.size(), 1u);
    EXPECT_TRUE(std::isfinite(z.level.Leq));

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

TEST(StretchLevel, BandTotalsOnlyWhenAskedForAndTheLevelUnchanged)
{
    const Walk plain = walk(straight(0, 180, 25), 1), summed = walk(straight(0, 180, 25), 1, true);
    EXPECT_EQ(plain.level.Leq, summed.level.Leq);
    double all = 0.0;
    for (int b = 1; b <= 7; ++b) {
        EXPECT_EQ(plain.level.bandTotals[b], 0.0);
        all = AddLevel(all, summed.level.bandTotals[b]);
    }
    EXPECT_NEAR(all, summed.level.Leq, 1e-9);
}
