// The ground and screen terms of one source point, with their trace lines.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/Terms.h"
#include "TraceCapture.h"
#include "projects.h"

namespace {
ProjectRecord twoPoints() { return straight(0, 180, 100.0f); }

// A profile that meets the zones in every way a segment can (source zone to 15 m, middle
// zone 15..40 m, receiver zone beyond, for R = 100 at 500 Hz and a 2 m receiver).
ProjectRecord profiled()
{
    ProjectRecord r = twoPoints();
    setProfile(r, 1, {{0, 0}, {10, 1}, {20, 1}, {30, 1}, {45, 2}, {100, 0}});
    return r;
}

struct Ground {
    double Gs, Gr, Gm;
};
const Ground hard{0, 0, 0}, porous{1, 1, 1};

// The ground term of stretch 1 of r, a 2 m receiver on ground height zr.
double ground(const ProjectRecord& r, int b, double He, Ground G, double R, double zr = 0, TraceSink* t = nullptr)
{
    StretchTermData d = TermDataOf(r, 1);
    d.Gs = G.Gs;
    d.Gr = G.Gr;
    d.Gm = G.Gm;
    d.hr = 2.0;
    d.zr = zr;
    return GroundTerm(d, R, b, He, t);
}

std::string line(const TraceCapture& t, const std::string& prefix)
{
    for (const auto& l : t.lines(TraceFile::Lg))
        if (l.rfind(prefix, 0) == 0) return l;
    return "";
}
// Stretch 1 with a flat two-point profile at height 0 and the given screen type.
ProjectRecord flat(int screenType)
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.screenType[1] = screenType;
    return r;
}

// Receiver 2 m at R = D = 20 unless given; the screen foot at height 0.
ScreenResult screen(const ProjectRecord& r, int b, float hb, float a, float R = 20, float D = 20, float hr = 2,
                    TraceSink* t = nullptr)
{
    StretchTermData d = TermDataOf(r, 1);
    d.hb = hb;
    d.a = a;
    d.hr = hr;
    return ScreenTerm(ScreenPath{&d, R, D}, b, t);
}
}  // namespace

TEST(GroundTerm, HardPorousAndMixedGroundByHand)
{
    const ProjectRecord r = twoPoints();
    // Hard ground, dp = 200: 3 + 3m with m = 1 − 30·(hs + 2)/200.
    for (auto [b, m] : {std::pair{1, 0.37}, {4, 0.625}, {7, 0.58}}) EXPECT_NEAR(ground(r, b, 0, hard, 200), 3 + 3 * m, 1e-12);
    // Porous ground: nothing at 2000 and 4000 Hz, less than hard ground in between.
    for (int b : {6, 7}) EXPECT_EQ(ground(r, b, 0, porous, 200), 0.0);
    for (int b = 2; b <= 5; ++b) EXPECT_LT(ground(r, b, 0, porous, 200), ground(r, b, 0, hard, 200));
    // 63 Hz ignores the ground factors; with 30·(2.2 + 2) = 126 m ≥ dp the middle zone is gone.
    EXPECT_EQ(ground(r, 1, 0, porous, 200), ground(r, 1, 0, hard, 200));
    TraceCapture t;
    EXPECT_EQ(ground(r, 1, 0, porous, 126, 0, &t), 3.0);
    EXPECT_EQ(t.lines(TraceFile::Lg)[2], "m = 0");
    EXPECT_GT(ground(r, 1, 0, porous, 127), 3.0);

    // Mixed ground, 250 Hz, Gs 0.25, Gr 0.75, Gm 0.5, dp 200: m = 0.55, b(1) and b(2) by hand.
    t.clear();
    EXPECT_NEAR(ground(twoPoints(), 3, 0, {0.25, 0.75, 0.5}, 200, 0, &t), -4.021554399000836, 1e-12);
    EXPECT_EQ(t.lines(TraceFile::Lg),
              (std::vector<std::string>{"dLgs = 1.5 - 0.25*b(h)=-0.80", "dLgi = 1.5 - 0.75*b(h)=-4.04",
                                        "dLgc = 3*0.55(1-0.50=0.83", "Hsi: 0.00", "Hgg: 0.00", "Hsc: 1.00",
                                        "Hic: 2.00", "dLg = -4.02"}));
    EXPECT_NEAR(ground(twoPoints(), 2, 0, {1, 1, 0.5}, 200), -2.0167964683127, 1e-12);

    // The trace lines of the other forms: 125 Hz uses a(h), 2000 Hz (1 − G). A screen, He = 2,
    // dp = 200: hs = 0.5 + 2·(1 − 15/200) = 2.35, hr = 2 + 2·(1 − 60/200) = 3.4; with 30·hs ≥ dp
    // the source does not grow.
    for (auto [b, G, He, R, want] : {std::tuple{2, Ground{1, 1, 0.5}, 0.0, 200.0, "dLgs = 1.5 - 1.00*a(h)=-1.26"},
                                     {6, {0.2, 1, 0.5}, 0.0, 200.0, "dLgs = 1.5 - (1-0.20)=1.20"},
                                     {4, porous, 2.0, 200.0, "Hsc: 2.35"}, {4, porous, 2.0, 200.0, "Hic: 3.40"},
                                     {4, porous, 2.0, 10.0, "Hsc: 0.50"}}) {
        TraceCapture z;
        ground(twoPoints(), b, He, G, R, 0, &z);
        EXPECT_EQ(line(z, std::string(want).substr(0, 5)), want);
    }
}

TEST(GroundTerm, ProfileCorrectionInAllZoneCasesAndWhereItCannotApply)
{
    // Hgg = 0.2 + 0.4 + 0.5333, Q = 0.2292 + 1.375; hs → 0 (clamped),
    // hr = (0 − 1.1333 + 2) + (2 − 1.6042) = 1.2625, m = 0.62125.
    TraceCapture t;
    const double d = ground(profiled(), 4, 0, hard, 100, 0, &t);
    EXPECT_NEAR(d, 4.86375, 1e-12);
    EXPECT_EQ(line(t, "Hgg: "), "Hgg: 1.13");
    EXPECT_EQ(line(t, "Hsc: "), "Hsc: 0.00");
    EXPECT_EQ(line(t, "Hic: "), "Hic: 1.26");

    // Curved stretches scale the profile with the start distance.
    ProjectRecord c = profiled();
    c.shape[1] = 1;
    c.perpDistance[1] = 37.0f;
    c.startDistance[1] = 100.0f;
    EXPECT_EQ(ground(c, 4, 0, hard, 100), d);
    // R / D = 2 puts every point twice as far out.
    ProjectRecord halfD = profiled(), doubled = profiled();
    halfD.perpDistance[1] = 50.0f;
    for (int i = 1; i <= 6; ++i) doubled.bpDistance[1][i] *= 2.0f;
    EXPECT_EQ(ground(halfD, 4, 0, hard, 100), ground(doubled, 4, 0, hard, 100));
    EXPECT_NE(ground(halfD, 4, 0, hard, 100), d);

    // Where it cannot apply: a flat profile, no reference distance, no middle zone.
    const ProjectRecord flat = twoPoints();
    t.clear();
    ground(flat, 4, 0, hard, 100, 0, &t);
    EXPECT_EQ(line(t, "Hgg: "), "Hgg: 0.00");
    ProjectRecord noRef = profiled();  // no reference distance: no division by zero
    noRef.perpDistance[1] = 0.0f;
    EXPECT_EQ(ground(noRef, 4, 0, hard, 100), ground(flat, 4, 0, hard, 100));
    // Receiver ground 100 m up: dp is long but the middle zone R − W − A is negative.
    const double steep = ground(profiled(), 4, 0, hard, 70, 100);
    EXPECT_TRUE(std::isfinite(steep));
    EXPECT_EQ(steep, ground(flat, 4, 0, hard, 70, 100));
    EXPECT_EQ(ground(profiled(), 4, 0, hard, 70), ground(flat, 4, 0, hard, 70));  // A + W ≥ dp

    for (auto [b, R] : {std::pair{0, 100.0}, {8, 100.0}, {4, 0.0}, {4, -5.0}}) {
        TraceCapture z;
        EXPECT_EQ(ground(flat, b, 0, hard, R, 0, &z), 0.0);
        EXPECT_EQ(z.lines(TraceFile::Lg), std::vector<std::string>{"dLg = 0"});
    }
}

TEST(ScreenTerm, AbsorbingScreenMatchesHandComputation)
{
    // 3 m screen 5 m from the track, 1000 Hz: r1 = 5, r2 = 15, Dh = 75/320, Ls = 0.95,
    // δ = 5.5462 + 15.0333 − 5.0340 − 15.0222 = 0.5233, Ch = 1.
    TraceCapture t;
    ScreenResult o = screen(flat(1), 5, 3, 5, 20, 20, 2, &t);
    EXPECT_NEAR(o.L, 20.579466227917727, 1e-9);  // over the crest
    EXPECT_EQ(t.lines(TraceFile::Ls), (std::vector<std::string>{
                                          "Dh = (5.00*15.00)/(320.00)=0.234375  ", "He = 2.05-0.234375=1.82",
                                          "& = 5.55+15.03-5.03-15.02=0.52", "Ch = 1000(3.00)/250=1.00",
                                          "dLs = -10*1.00*lg(0.0094*0.52*1000+3)=-17.18"}));
    TraceCapture comma(TracePass::Equivalent, ',');
    screen(flat(1), 5, 3, 5, 20, 20, 2, &comma);
    EXPECT_EQ(comma.lines(TraceFile::Ls)[0], "Dh = (5,00*15,00)/(320,00)=0,234375  ");

    // Reflecting: r1 = 5 gives k = 0.667 < 0.7, so 0.7; r1 = 10 gives k = 5/6.
    EXPECT_NEAR(screen(flat(2), 5, 3, 5).dLs, o.dLs * 0.7, 1e-9);
    const ScreenResult a1 = screen(flat(1), 4, 2.5f, 10, 40, 40), a2 = screen(flat(2), 4, 2.5f, 10, 40, 40);
    EXPECT_NEAR(a2.dLs / a1.dLs, 5.0 / 6.0, 1e-12);
    EXPECT_EQ(a1.L, a2.L);
}

TEST(ScreenTerm, CrestOnTheLineOfSightLimitAndHeightFactor)
{
    // Source, receiver and crest all 0.5 m high (500 Hz): δ < 0, less than 10·lg 3 dB.
    TraceCapture s;
    ScreenResult o = screen(flat(1), 4, 0.5f, 5, 10, 10, 0.5f, &s);
    EXPECT_EQ(s.lines(TraceFile::Ls)[1].rfind("He = -(0.00+", 0), 0u);
    EXPECT_EQ(s.lines(TraceFile::Ls)[2].rfind("& = 2*", 0), 0u);
    EXPECT_LT(o.dLs, -4.0);
    EXPECT_GT(o.dLs, -10.0 * std::log10(3.0));
    EXPECT_NEAR(o.L, 2.0 * std::sqrt(0.15625 * 0.15625 + 25.0), 1e-9);  // through the raised point

    EXPECT_EQ(screen(flat(1), 7, 10, 5).dLs, -20.0);
    // 63 Hz, crest 2 m above the reference ground: Ch = 0.504 of the attenuation with Ch = 1.
    TraceCapture t;
    const ScreenResult low = screen(flat(1), 1, 2, 5, 20, 20, 2, &t);
    EXPECT_EQ(t.lines(TraceFile::Ls)[3], "Ch = 63(2.00)/250=0.50");
    ProjectRecord deep = flat(1);
    deep.bpHeight[1][2] = -10.0f;
    EXPECT_NEAR(low.dLs / screen(deep, 1, 2, 5).dLs, 0.504, 1e-12);

    // The reference ground is the bottom of the last descent (1.5 of 0, −1, 2, 1.5).
    ProjectRecord r = flat(1);
    r.bpCount[1] = 4;
    const float z[] = {0, -1, 2, 1.5f};
    for (int i = 1; i <= 4; ++i) r.bpHeight[1][i] = z[i - 1];
    TraceCapture g;
    screen(r, 1, 3, 5, 20, 20, 2, &g);
    EXPECT_EQ(g.lines(TraceFile::Ls)[3], "Ch = 63(3.00)/250=0.38");
    r.bpCount[1] = 1000;  // a corrupt count never reads past the profile
    screen(r, 1, 3, 5);
}

TEST(ScreenTerm, WithoutScreenAndDegenerateInput)
{
    // No screen (type 0 or at distance 0), R = 100, source and receiver 0.5 m: the open path
    // 2·√(1.5625² + 50²). D ≤ 0, R ≤ 0 or a band outside 1..7: no path at all.
    const double open = 2.0 * std::sqrt(1.5625 * 1.5625 + 2500.0);
    for (auto [type, a, b, R, D, L] : {std::tuple{0, 10.0f, 4, 100.0f, 100.0f, open}, {1, 0.0f, 4, 100.0f, 100.0f, open},
                                         {1, 5.0f, 4, 20.0f, 0.0f, 0.0}, {1, 5.0f, 4, 0.0f, 20.0f, 0.0},
                                         {1, 5.0f, 4, -3.0f, 20.0f, 0.0}, {1, 5.0f, 0, 20.0f, 20.0f, 0.0},
                                         {1, 5.0f, 8, 20.0f, 20.0f, 0.0}}) {
        TraceCapture t;
        const ScreenResult o = screen(flat(type), b, 3, a, R, D, 0.5f, &t);
        EXPECT_EQ(o.dLs, 0.0);
        EXPECT_EQ(o.He, 0.0);
        EXPECT_NEAR(o.L, L, 1e-12) << type << ' ' << a << ' ' << b << ' ' << R << ' ' << D;
        EXPECT_EQ(t.lines(TraceFile::Ls), std::vector<std::string>{"dLs = 0"});
    }
}
