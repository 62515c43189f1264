#include <gtest/gtest.h>

#include <cmath>

#include "calc/Bands.h"
#include "calc/Terms.h"
#include "TraceCapture.h"

namespace {
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

TEST(ScreenTerm, CrestOnTheLineOfSight)
{
    // Source, receiver and crest all 0.5 m high (500 Hz): δ < 0, less than 10·lg 3 dB.
    TraceCapture t;
    ScreenResult o = screen(flat(1), 4, 0.5f, 5, 10, 10, 0.5f, &t);
    EXPECT_EQ(t.lines(TraceFile::Ls)[1].rfind("He = -(0.00+", 0), 0u);
    EXPECT_EQ(t.lines(TraceFile::Ls)[2].rfind("& = 2*", 0), 0u);
    EXPECT_LT(o.dLs, -4.0);
    EXPECT_GT(o.dLs, -10.0 * std::log10(3.0));
    EXPECT_NEAR(o.L, 2.0 * std::sqrt(0.15625 * 0.15625 + 25.0), 1e-9);  // through the raised point
}

TEST(ScreenTerm, LimitAndHeightFactor)
{
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
