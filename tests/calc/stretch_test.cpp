#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "calc/Bands.h"
#include "calc/StretchLevel.h"
#include "model/ProjectRecord.h"
#include "TraceCapture.h"

namespace {
// Stretch 1: straight, flat ground at height 0, porous, no screen, two-point profile.
ProjectRecord straight(int a1, int a2, float D)
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.angleFrom[1] = a1;
    r.angleTo[1] = a2;
    r.perpDistance[1] = D;
    r.bpDistance[1][2] = D;
    return r;
}

ProjectRecord curved(int shape, int a1, int a2, float r1, float r2, float Rc)
{
    ProjectRecord r = straight(a1, a2, 0.0f);
    r.shape[1] = shape;
    r.startDistance[1] = r1;
    r.endDistance[1] = r2;
    r.radius[1] = Rc;
    return r;
}

Array1<double, 7> flatEmission(double level = 80.0)
{
    Array1<double, 7> e;
    e.fill(level);
    return e;
}

struct Walk {
    double Leq = 0.0;
    std::vector<SourcePointInfo> points;
    std::vector<std::string> messages;
    CalcResults results;

    std::vector<SourcePointInfo> pass(int p) const
    {
        std::vector<SourcePointInfo> v;
        for (const auto& x : points)
            if (x.pass == p) v.push_back(x);
        return v;
    }
    double totalLength() const
    {
        double sum = 0.0;
        for (const auto& p : points) sum += p.length;
        return sum;
    }
};

Walk walk(const ProjectRecord& r, int seg, Array1<double, 7> emission = flatEmission(), TraceSink* trace = nullptr,
          CalcResults* shared = nullptr)
{
    Walk w;
    if (shared) w.results = *shared;
    StretchLevelContext ctx;
    ctx.segmentLength = seg;
    ctx.trace = trace;
    ctx.message = [&w](const std::string& m) { w.messages.push_back(m); };
    ctx.observer = [&w](const SourcePointInfo& p) { w.points.push_back(p); };
    Array1<double, 7> totals{};
    StretchEquivalentLevel(r, 1, emission, w.Leq, totals, 0.0, ctx, w.results);
    if (shared) *shared = w.results;
    return w;
}

void expectPoints(const std::vector<SourcePointInfo>& got, const std::vector<std::pair<double, double>>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i].position, want[i].first, 1e-9) << "point " << i;
        EXPECT_NEAR(got[i].length, want[i].second, 1e-9) << "point " << i;
    }
}
}  // namespace

TEST(StretchCase, ChosenFromShapeAndAdjustedAngles)
{
    EXPECT_EQ(stretchCaseOf(straight(0, 180, 10), 1), StretchCase::B);
    EXPECT_EQ(stretchCaseOf(straight(0, 90, 10), 1), StretchCase::A);
    EXPECT_EQ(stretchCaseOf(straight(90, 180, 10), 1), StretchCase::A);
    EXPECT_EQ(stretchCaseOf(straight(89, 91, 10), 1), StretchCase::B);
    EXPECT_EQ(stretchCaseOf(curved(2, 0, 180, 10, 10, 100), 1), StretchCase::C);
}

TEST(StretchCaseA, SegmentsAndRemainderPoints)
{
    // D = 10 and 17° from the normal: the far end rounds to 3 m (10·tan 17° = 3.06).
    expectPoints(walk(straight(90, 107, 10), 1).points, {{0, 1}, {1, 1}, {2, 1}, {2.5, 0.5}});
    // The same stretch before the normal is walked from the normal outwards too.
    expectPoints(walk(straight(73, 90, 10), 1).points, {{0, 1}, {1, 1}, {2, 1}, {2.5, 0.5}});
    // xe = 4 with 2 m segments: points at 0 and 2, then 1 m at 3.
    expectPoints(walk(straight(90, 112, 10), 2).points, {{0, 2}, {2, 2}, {3, 1}});
    // xe = 5 with 2 m segments: the point at 4 ends exactly at xe and keeps a remainder of 0.
    Walk w5 = walk(straight(90, 117, 10), 2);
    expectPoints(w5.points, {{0, 2}, {2, 2}, {4, 0}});
    // A zero length gives a 0 dB length term, not −∞: the point still counts like 1 m.
    Walk one = walk(straight(90, 117, 10), 1);
    EXPECT_GT(w5.points[2].level, one.points[4].level - 0.5);
}

TEST(StretchCaseA, CoincidingEndsGiveOnePointOfOneSegment)
{
    // 90..90: one point at the foot of the normal standing for a whole segment.
    Walk w1 = walk(straight(90, 90, 10), 1);
    Walk w3 = walk(straight(90, 90, 10), 3);
    expectPoints(w1.points, {{0, 1}});
    expectPoints(w3.points, {{0, 3}});
    EXPECT_NEAR(w3.Leq - w1.Leq, 10.0 * std::log10(3.0), 1e-9);
    EXPECT_NEAR(w1.points[0].R, 10.0, 1e-12);
}

TEST(StretchCaseA, LongStretchEndsByTheStopRule)
{
    // 1..89° at 10 m: the far end lies 573 m out, but far points stop adding 0.0001 dB.
    Walk w = walk(straight(0, 89, 10), 1);
    ASSERT_GT(w.points.size(), 50u);
    EXPECT_LT(w.points.back().position, 572.0);
    // Each point but the last raised the level by at least 0.0001 dB.
    double acc = 0.0;
    for (std::size_t i = 0; i < w.points.size(); ++i) {
        double next = AddLevel(acc, w.points[i].level);
        if (i + 1 < w.points.size()) {
            EXPECT_GE(next - acc, 0.0001);
        } else {
            EXPECT_LT(next - acc, 0.0001);
        }
        acc = next;
    }
    EXPECT_DOUBLE_EQ(acc, w.Leq);
}

TEST(StretchCaseB, TwoPassesAroundTheNormal)
{
    // 45..135 at 10 m, 1 m segments: the central segment, 1..9 and ~0.5 m at ~9.75 on each side.
    Walk w = walk(straight(45, 135, 10), 1);
    std::vector<std::pair<double, double>> side;
    for (int x = 1; x <= 9; ++x) side.emplace_back(x, 1.0);
    const double xe = 10.0 * std::tan(3.141592653589793 * 45 / 180.0);
    side.emplace_back(9.5 + (xe - 9.5) / 2.0, xe - 9.5);
    std::vector<std::pair<double, double>> pass1{{0, 1}};
    pass1.insert(pass1.end(), side.begin(), side.end());
    expectPoints(w.pass(1), pass1);
    expectPoints(w.pass(2), side);
    EXPECT_NEAR(w.totalLength(), 20.0, 1e-9);
}

TEST(StretchCaseB, ShortSymmetricStretchIsOneCentralPoint)
{
    Walk w = walk(straight(89, 91, 10), 1);
    const double t = 10.0 * std::tan(3.141592653589793 * 1 / 180.0);
    ASSERT_EQ(w.points.size(), 1u);
    EXPECT_EQ(w.points[0].position, 0.0);
    EXPECT_NEAR(w.points[0].length, 2.0 * t, 1e-12);
}

TEST(StretchCaseB, FullSegmentsFollowAShortenedCentralSegment)
{
    // 45..92 at 10 m: side 2 is only 0.35 m long, so the central segment shrinks to 0.70 m
    // and covers it; side 1 must still be walked in full 1 m segments out to 10 m.
    Walk w = walk(straight(45, 92, 10), 1);
    const double t2 = 10.0 * std::tan(3.141592653589793 * 2 / 180.0);
    const double xe = 10.0 * std::tan(3.141592653589793 * 45 / 180.0);
    EXPECT_TRUE(w.pass(2).empty());
    ASSERT_GE(w.points.size(), 10u);
    EXPECT_NEAR(w.points[0].length, 2.0 * t2, 1e-12);
    EXPECT_NEAR(w.points[1].position, 0.5 + t2, 1e-12);
    EXPECT_EQ(w.points[1].length, 1.0);
    EXPECT_NEAR(w.totalLength(), xe + t2, 1e-9);  // the whole track, nothing dropped

    // The mirror case: side 1 short, side 2 walked in pass 2 after the shortened centre.
    Walk m = walk(straight(88, 135, 10), 1);
    const double t1 = 10.0 * std::tan(3.141592653589793 * 2 / 180.0);
    ASSERT_EQ(m.pass(1).size(), 1u);
    EXPECT_NEAR(m.pass(1)[0].length, 2.0 * t1, 1e-12);
    EXPECT_NEAR(m.pass(2)[0].position, t1 + 0.5, 1e-12);
    EXPECT_NEAR(m.totalLength(), xe + t1, 1e-9);
}

TEST(StretchSwitches, SixDecibelsOnTheSwitchZone)
{
    // Case A from 0 to 103 m with the zone at 20..30 m: 11 points get +6 dB.
    ProjectRecord r = straight(90, 169, 20);
    r.switchesOn[1] = 1;
    r.switchStart[1] = 20;
    Walk w = walk(r, 1);
    int n = 0;
    for (const auto& p : w.points) {
        const bool inZone = p.position >= 20 && p.position <= 30;
        EXPECT_EQ(p.dLv, inZone ? 6.0 : 0.0) << p.position;
        n += inZone;
    }
    EXPECT_EQ(n, 11);
    r.switchesOn[1] = 0;
    EXPECT_LT(walk(r, 1).Leq, w.Leq);

    // Case B: the zone is taken on the first side long enough to hold it, once.
    ProjectRecord b = straight(45, 135, 50);
    b.switchesOn[1] = 1;
    b.switchStart[1] = 20;
    Walk wb = walk(b, 1);
    int n1 = 0, n2 = 0;
    for (const auto& p : wb.points) (p.pass == 1 ? n1 : n2) += p.dLv == 6.0;
    EXPECT_EQ(n1, 11);
    EXPECT_EQ(n2, 0);
    b.angleFrom[1] = 80;  // side 1 is only 8.8 m long: the zone lies on side 2
    wb = walk(b, 1);
    n1 = n2 = 0;
    for (const auto& p : wb.points) (p.pass == 1 ? n1 : n2) += p.dLv == 6.0;
    EXPECT_EQ(n1, 0);
    EXPECT_EQ(n2, 11);
}

TEST(StretchCaseC, ConvexArcAroundTheReceiver)
{
    // r1 = r2 = Rc = 100, 60..120: θ = 60°, S = 104.72 m, M at the centre, every point 100 m away.
    Walk w = walk(curved(1, 60, 120, 100, 100, 100), 1);
    const CalcResults& c = w.results;
    EXPECT_FALSE(c.RadiusError);
    EXPECT_DOUBLE_EQ(c.CurveStartX[1], -100.0);
    EXPECT_DOUBLE_EQ(c.CurveStartY[1], 0.0);
    EXPECT_NEAR(c.CurveEndX[1], -50.0, 1e-9);
    EXPECT_NEAR(c.CurveEndY[1], 86.60254037844386, 1e-9);
    EXPECT_NEAR(c.CurveReceiverX[1], 0.0, 1e-9);
    EXPECT_NEAR(c.CurveReceiverY[1], 0.0, 1e-9);
    const double S = 100.0 * 3.141592653589793 / 3.0;
    EXPECT_NEAR(w.totalLength(), S, 1e-9);
    ASSERT_EQ(w.points.size(), 105u);
    for (const auto& p : w.points) EXPECT_NEAR(p.R, 100.0, 1e-9);
    EXPECT_NEAR(w.points.back().length, S - 104.0, 1e-9);
    EXPECT_NEAR(w.points.back().position, 104.0 + (S - 104.0) / 2.0, 1e-9);
}

TEST(StretchCaseC, ConcaveArcFrame)
{
    Walk w = walk(curved(2, 60, 120, 100, 100, 100), 1);
    const CalcResults& c = w.results;
    EXPECT_NEAR(c.CurveEndX[1], -50.0, 1e-9);
    EXPECT_NEAR(c.CurveEndY[1], -86.60254037844386, 1e-9);
    EXPECT_NEAR(c.CurveReceiverX[1], -150.0, 1e-9);
    EXPECT_NEAR(c.CurveReceiverY[1], -86.60254037844386, 1e-9);
    // Both ends lie r1 = r2 = 100 m from the receiver, the middle of the arc nearer (73.2 m).
    EXPECT_NEAR(w.points.front().R, 100.0, 1.0);
    EXPECT_NEAR(w.points.back().R, 100.0, 1.0);
    EXPECT_NEAR(w.points[52].R, 73.2, 0.1);

    // A half circle (a2 = 180): the end point lies opposite the start.
    Walk half = walk(curved(1, 0, 180, 100, 100, 100), 5);
    EXPECT_DOUBLE_EQ(half.results.CurveEndX[1], 100.0);
    EXPECT_DOUBLE_EQ(half.results.CurveEndY[1], 0.0);
}

TEST(StretchCaseC, DegenerateArcStaysFinite)
{
    // Zero chord (r1 = r2, a1 = a2): θ = 0, S = 0 — one point, no NaN.
    Walk w = walk(curved(1, 60, 60, 100, 100, 50), 1);
    ASSERT_EQ(w.points.size(), 1u);
    EXPECT_TRUE(std::isfinite(w.Leq));
    EXPECT_TRUE(std::isfinite(w.points[0].R));
}

TEST(StretchRadiusError, MessageForEveryCurvedStretchWhileSet)
{
    CalcResults shared;
    // c = 100 > 2·40: the radius error, the message, Leq = 0.
    Walk bad = walk(curved(1, 60, 120, 100, 100, 40), 1, flatEmission(), nullptr, &shared);
    EXPECT_TRUE(shared.RadiusError);
    EXPECT_EQ(bad.Leq, 0.0);
    EXPECT_TRUE(bad.points.empty());
    EXPECT_EQ(bad.messages, std::vector<std::string>{"Felaktig radie. Beräkning kan ej utföras på sträckan!"});
    // A later valid curved stretch of the same run is refused too.
    Walk later = walk(curved(2, 60, 120, 100, 100, 100), 1, flatEmission(), nullptr, &shared);
    EXPECT_EQ(later.Leq, 0.0);
    EXPECT_EQ(later.messages.size(), 1u);
    // Straight stretches are still computed.
    Walk line = walk(straight(0, 180, 20), 1, flatEmission(), nullptr, &shared);
    EXPECT_GT(line.Leq, 0.0);
    EXPECT_TRUE(line.messages.empty());
}

TEST(StretchLevel, PhysicalProperties)
{
    // Doubling the distance to a long straight stretch lowers the level by 2.5..6 dB.
    const double near = walk(straight(0, 180, 25), 1).Leq;
    const double far = walk(straight(0, 180, 50), 1).Leq;
    EXPECT_GT(near - far, 2.5);
    EXPECT_LT(near - far, 6.0);
    // A finer segment length changes the level by at most 0.1 dB: halving it anywhere, and
    // across the whole range on a stretch that crosses the normal (on one side of the normal
    // the first segment is centred on the end nearest the normal, so long segments reach
    // past it and add level there).
    for (auto [a1, a2] : {std::pair{0, 180}, {20, 110}, {95, 170}, {0, 80}}) {
        const double fine = walk(straight(a1, a2, 30), 1).Leq;
        EXPECT_NEAR(fine, walk(straight(a1, a2, 30), 2).Leq, 0.1) << a1 << ".." << a2;
        if (stretchCaseOf(straight(a1, a2, 30), 1) == StretchCase::B) {
            EXPECT_NEAR(fine, walk(straight(a1, a2, 30), 15).Leq, 0.1) << a1 << ".." << a2;
        }
    }
    // 3 dB more emission in every band raises the stretch by exactly that.
    EXPECT_NEAR(walk(straight(0, 180, 25), 1, flatEmission(83.0)).Leq - near, 3.0, 0.01);
    // A 2 m absorbing screen 5 m from the track lowers the level.
    ProjectRecord sc = straight(0, 180, 25);
    sc.screenType[1] = 1;
    sc.screenDistance[1] = 5.0f;
    sc.screenCrestHeight[1] = 2.0f;
    EXPECT_LT(walk(sc, 1).Leq, near - 1.0);
    // Half the angle range of a symmetric stretch is quieter than the whole.
    EXPECT_LT(walk(straight(0, 90, 25), 1).Leq, near - 2.0);
}

TEST(StretchLevel, SingleSourcePointMatchesItsBandTerms)
{
    // One point at the foot of the normal, hard ground: the point level is the energy sum of
    // Lp[b] = Lw + dLd + dLa + dLg + A-weighting over the bands, worked out separately.
    ProjectRecord r = straight(90, 90, 40);
    r.groundSource[1] = r.groundReceiver[1] = r.groundMiddle[1] = 0.0f;
    Walk w = walk(r, 1, flatEmission(70.0));
    // Hand values for R = 40, receiver 2 m: path 2·√((Lm' − H)² + 20²) per band, dLg = 3 + 3m.
    double sum = 0.0;
    const double aw[] = {-26.2, -16.1, -8.6, -3.2, 0.0, 1.2, 1.0};
    const double hs[] = {2.2, 1.7, 1.0, 0.5, 0.6, 0.7, 0.8};
    const double alpha[] = {0, 0, 0.001, 0.002, 0.004, 0.007, 0.017};
    for (int b = 0; b < 7; ++b) {
        const double Hs = hs[b], Hr = 2.0;
        const double Lm = (Hs + Hr) / 2.0 + 20.0 * 20.0 / 640.0;
        const double path = std::hypot(Lm - Hs, 20.0) + std::hypot(Lm - Hr, 20.0);
        const double m = std::max(0.0, 1.0 - 30.0 * (Hs + 2.0) / 40.0);
        const double Lp = 70.0 - 10.0 * std::log10(4.0 * 3.141592653589793 * path * path) - alpha[b] * path +
                          (3.0 + 3.0 * m) + aw[b];
        sum += std::pow(10.0, Lp / 10.0);
    }
    EXPECT_NEAR(w.Leq, 10.0 * std::log10(sum), 1e-9);
}
