#include "calc/Terms.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calc/Bands.h"
#include "calc/Geometry.h"
#include "calc/Format.h"

// Both terms work in double precision: the single-precision inputs are widened first, and
// every formula keeps the operation order of the method so results match it to the last bit.

namespace {
using geometry::sqr;

// Reference ground height for the screen's height factor: the height at the bottom of the
// last descent of the profile, in stored point order.
double referenceGroundHeight(const Array1<float, kMaxBreakPoints>& z, int n)
{
    double g = z[1];
    for (int i = 2; i <= n; ++i)
        if (z[i] < z[i - 1]) g = z[i];
    return g;
}
}  // namespace

StretchTermData TermDataOf(const ProjectRecord& r, int s)
{
    StretchTermData d;
    d.hr = r.receiverHeight[s];
    d.zr = r.receiverGroundHeight[s];
    d.hb = r.screenCrestHeight[s];
    d.zb = r.screenBaseHeight[s];
    d.a = r.screenDistance[s];
    d.zt = r.trackHeight[s];
    d.screenType = r.screenType[s];
    d.Gs = r.groundSource[s];
    d.Gr = r.groundReceiver[s];
    d.Gm = r.groundMiddle[s];
    d.profile.distance = &r.bpDistance[s];
    d.profile.height = &r.bpHeight[s];
    d.profile.count = std::clamp(r.bpCount[s], 0, kMaxBreakPoints);  // a damaged count never leaves the arrays
    d.profile.Dref = r.shape[s] == 0 ? static_cast<double>(r.perpDistance[s]) : static_cast<double>(r.startDistance[s]);
    d.groundRef = referenceGroundHeight(r.bpHeight[s], d.profile.count);
    return d;
}

// ---------------------------------------------------------------------------------------
// Screen term.

ScreenGeometry ScreenGeometryOf(const StretchTermData& st, float Rs, float Ds)
{
    ScreenGeometry g;
    const double R = Rs, D = Ds;
    if (D <= 0.0 || R <= 0.0 || std::isnan(D) || std::isnan(R)) return g;
    g.valid = true;
    g.R = R;
    g.D = D;
    g.Hr = st.zr + st.hr;
    g.Hb = st.zb + st.hb;
    g.screen = !(st.a == 0.0 || st.screenType == 0);
    if (!g.screen) {
        // The path over a slightly raised mid-point.
        g.half = R / 2.0;
        g.halfSq = sqr(R / 2.0);
        g.rise = (R / 2.0) * (R / 2.0) / (16.0 * R);
        return g;
    }
    g.frac = st.a / D;
    g.r1 = g.frac * R;
    g.r2 = R - g.r1;
    g.Dh = g.r1 * g.r2 / (16.0 * R);
    g.dsr = std::sqrt(sqr(g.Hb - g.Hr) + sqr(g.r2));
    g.r1sq = sqr(g.r1);
    g.r2sq = sqr(g.r2);
    g.Rsq = sqr(R);
    return g;
}

namespace {
// The crest geometry of one band: heights of the line of sight and the four path lengths.
struct CrestPaths {
    double Ls, He, dss, ds1, dr1, delta;
    bool overCrest;
};

void traceScreen(TraceSink& t, const StretchTermData& st, const ScreenGeometry& g, int f, const CrestPaths& c,
                 double ddir, double Ch, double dLs)
{
    const char sep = t.decimalSeparator();
    auto F = [sep](double x) { return formatFixed(x, 2, sep); };
    const std::string dh = formatGeneral(g.Dh, 7, sep);
    const std::string rise = F(g.Hb - c.Ls);
    t.line(TraceFile::Ls, "Dh = (" + F(g.r1) + "*" + F(g.r2) + ")/(" + F(16.0 * g.R) + ")=" + dh + "  ");
    if (c.overCrest) {
        t.line(TraceFile::Ls, "He = " + rise + "-" + dh + "=" + F(c.He));
        t.line(TraceFile::Ls, "& = " + F(c.dss) + "+" + F(g.dsr) + "-" + F(c.ds1) + "-" + F(c.dr1) + "=" + F(c.delta));
    } else {
        t.line(TraceFile::Ls, "He = -(" + rise + "+" + dh + ")=" + F(c.He));
        t.line(TraceFile::Ls, "& = 2*" + F(ddir) + "-" + F(c.ds1) + "-" + F(c.dr1) + "-" + F(c.dss) + "-" +
                                  F(g.dsr) + "=" + F(c.delta));
    }
    t.line(TraceFile::Ls, "Ch = " + formatInt(f) + "(" + F(st.hb) + ")/250=" + F(Ch));
    // The coefficient reads 0.0094 in this line while 0.094 is computed.
    t.line(TraceFile::Ls, "dLs = -10*" + F(Ch) + "*lg(0.0094*" + F(c.delta) + "*" + formatInt(f) + "+3)=" + F(dLs));
}

// Attenuation from the path difference, the height factor and the screen type, limited
// to −20..0 dB.
double screenAttenuation(const StretchTermData& st, const ScreenGeometry& g, double delta, int f, double Ch)
{
    const double arg = 0.094 * delta * f + 3.0;
    double dLs = arg <= 0.0 ? 0.0 : -10.0 * Ch * Log10(arg);
    if (st.screenType == 2) {
        const double k = 1.0 - 5.0 / (3.0 * g.r1);
        dLs = k >= 0.7 ? dLs * k : dLs * 0.7;
    }
    if (dLs > 0.0) dLs = 0.0;
    if (dLs < -20.0) dLs = -20.0;
    return dLs;
}
}  // namespace

ScreenResult ScreenBand(const StretchTermData& st, const ScreenGeometry& g, int b, TraceSink* trace)
{
    if (!g.valid || b < 1 || b > 7) {
        if (trace) trace->line(TraceFile::Ls, "dLs = 0");
        return {};
    }
    const double Hs = st.zt + SourceHeight[b];
    ScreenResult out;
    if (!g.screen) {
        const double Lm = Hs - (Hs - g.Hr) / 2.0;
        const double Lm2 = Lm + g.rise;
        out.L = std::sqrt(sqr(Lm2 - Hs) + g.halfSq) + std::sqrt(sqr(Lm2 - g.Hr) + g.halfSq);
        if (trace) trace->line(TraceFile::Ls, "dLs = 0");
        return out;
    }
    CrestPaths c;
    c.Ls = Hs - g.frac * (Hs - g.Hr);
    const double Lr = c.Ls + g.Dh;
    c.He = g.Hb - c.Ls - g.Dh;
    c.dss = std::sqrt(sqr(Hs - g.Hb) + g.r1sq);
    c.ds1 = std::sqrt(sqr(Hs - Lr) + g.r1sq);
    c.dr1 = std::sqrt(sqr(Lr - g.Hr) + g.r2sq);
    c.overCrest = c.Ls < g.Hb;
    double ddir = 0.0;
    if (c.overCrest) {
        c.delta = c.dss + g.dsr - c.ds1 - c.dr1;
    } else {
        ddir = std::sqrt(sqr(Hs - g.Hr) + g.Rsq);
        c.delta = 2.0 * ddir - c.ds1 - c.dr1 - c.dss - g.dsr;
    }
    const int f = BandFrequency[b];
    double Ch = f * (g.Hb - st.groundRef) / 250.0;
    if (Ch > 1.0) Ch = 1.0;
    out.dLs = screenAttenuation(st, g, c.delta, f, Ch);
    out.He = c.He;
    out.L = g.Hb > Lr ? c.dss + g.dsr : c.ds1 + c.dr1;
    if (trace) traceScreen(*trace, st, g, f, c, ddir, Ch, out.dLs);
    return out;
}

ScreenResult ScreenTerm(const ScreenPath& path, int b, TraceSink* trace)
{
    return ScreenBand(*path.stretch, ScreenGeometryOf(*path.stretch, path.R, path.D), b, trace);
}

// ---------------------------------------------------------------------------------------
// Ground term.

GroundGeometry GroundGeometryOf(const StretchTermData& st, double R)
{
    static const double kSpreadA = -2.8 * Power(10.0, -6.0);
    GroundGeometry g;
    if (!(R > 0.0)) return g;
    g.valid = true;
    g.R = R;
    g.dp = std::sqrt(sqr(st.zr - st.zt) + sqr(R));
    g.W = 30.0 * st.hr;
    if (g.W > g.dp) g.W = g.dp;
    g.B = R - g.W;
    g.Hsi = st.zt - (st.zt - st.zr) / 2.0;
    g.spread50 = 1.0 - std::exp(-g.dp / 50.0);
    g.spreadA = 1.0 - std::exp(kSpreadA * sqr(g.dp));
    const ProfileView& p = st.profile;
    g.profile = p.count > 2 && p.Dref > 0.0;
    if (g.profile)
        for (int i = 1; i <= p.count; ++i) g.x[i] = (*p.distance)[i] * R / p.Dref;
    return g;
}

namespace {
// The ground band functions a(h), b(h), c(h), d(h) of the method for the corrected height h
// of end `end` (0 source, 1 receiver).
double bandFunction(const StretchTermData& st, const GroundGeometry& g, int b, int end, double h)
{
    StretchTermData::HeightExp& x = st.heightExp[b][end];
    if (!x.known || x.h != h) {
        switch (b) {
        case 2:
            x.e1 = std::exp(-0.12 * sqr(h - 5.0));
            x.e2 = std::exp(-0.09 * sqr(h));
            break;
        case 3: x.e1 = std::exp(-0.09 * sqr(h)); break;
        case 4: x.e1 = std::exp(-0.46 * sqr(h)); break;
        default: x.e1 = std::exp(-0.9 * sqr(h)); break;
        }
        x.h = h;
        x.known = true;
    }
    switch (b) {
    case 2: return 1.5 + 3.0 * x.e1 * g.spread50 + 5.7 * x.e2 * g.spreadA;
    case 3: return 1.5 + 8.6 * x.e1 * g.spread50;
    case 4: return 1.5 + 14.0 * x.e1 * g.spread50;
    default: return 1.5 + 5.0 * x.e1 * g.spread50;
    }
}

// Mean middle-zone ground height Hgg and receiver-zone sum Q over the break points scaled to
// the path, for the source-zone width A and the middle-zone length M.
struct ProfileHeights {
    double Hgg = 0.0, Q = 0.0;
};
ProfileHeights profileHeights(const StretchTermData& st, const GroundGeometry& g, double A, double M)
{
    ProfileHeights out;
    const int n = st.profile.count;
    const auto& Z = *st.profile.height;
    const double B = g.B;
    for (int i = 1; i <= n - 1; ++i) {
        const double x1 = g.x[i], x2 = g.x[i + 1];
        const double z1 = Z[i], z2 = Z[i + 1];
        const double hseg = i == 1 ? (st.zt + z2) / 2.0 : (i + 1 == n ? (st.zr + z1) / 2.0 : (z1 + z2) / 2.0);
        // Height of the straight line between the two stored points.
        auto h = [&](double x) { return z1 == z2 ? z1 : z1 + (z2 - z1) * (x - x1) / (x2 - x1); };
        if (x1 >= A && x2 <= B) {
            out.Hgg += (x2 - x1) / M * hseg;
        } else if (x2 <= B && x1 < A && x2 > A) {
            out.Hgg += (x2 - A) / M * h((A + x2) / 2.0);
        } else if (x1 >= A && x1 < B && x2 > B) {
            out.Hgg += (B - x1) / M * h((x1 + B) / 2.0);
            out.Q += (x2 - B) / B * h((B + x2) / 2.0);
        } else if (x1 < A && x2 > B) {
            out.Hgg += h((A + B) / 2.0);
            out.Q += (x2 - B) / B * h((B + x2) / 2.0);
        } else if (x1 >= B) {
            out.Q += (x2 - x1) / B * (z1 + z2) / 2.0;
        }
    }
    return out;
}

// Source and receiver heights of one band after the screen raise and the profile correction.
struct GroundHeights {
    double hs, hr, Hgg = 0.0;
};
GroundHeights correctedHeights(const StretchTermData& st, const GroundGeometry& g, int b, double He)
{
    GroundHeights h{SourceHeight[b], st.hr};
    double A = 30.0 * h.hs;
    if (A > g.dp) A = g.dp;
    if (h.hs < 5.0 && He > 0.0) h.hs = h.hs + He * (1.0 - A / g.dp);
    if (h.hr < 5.0 && He > 0.0) h.hr = h.hr + He * (1.0 - g.W / g.dp);
    if (st.profile.count > 2 && A + g.W < g.dp) {
        const double M = g.R - g.W - A;
        // Without a reference distance or a middle zone the profile cannot be scaled.
        if (g.profile && M > 0.0) {
            const ProfileHeights p = profileHeights(st, g, A, M);
            h.Hgg = p.Hgg;
            h.hs = h.hs + (g.Hsi - p.Hgg);
            if (h.hs < 0.0) h.hs = 0.0;
            h.hr = (g.Hsi - p.Hgg + h.hr) + (h.hr - p.Q);
            if (h.hr < 0.0) h.hr = 0.0;
        }
    }
    return h;
}

struct ZoneTerms {
    double dLgs, dLgi, dLgc, m;
    bool mZero;
};

void traceGround(TraceSink& t, const StretchTermData& st, const GroundGeometry& g, int b, const GroundHeights& h,
                 const ZoneTerms& z, double dLg)
{
    const char sep = t.decimalSeparator();
    auto F = [sep](double x) { return formatFixed(x, 2, sep); };
    const std::string middle = "dLgc = 3*" + F(z.m) + "(1-" + F(st.Gm) + "=" + F(z.dLgc);
    if (b == 1) {
        t.line(TraceFile::Lg, "dLgs = 1.5");
        t.line(TraceFile::Lg, "dLgi = 1.5");
        t.line(TraceFile::Lg,
               z.mZero ? "m = 0" : "m = 1-30(" + F(h.hs) + "+" + F(h.hr) + ")/" + F(g.dp) + "=" + F(z.m));
        t.line(TraceFile::Lg, "dLgc = 3*" + F(z.m) + "=" + F(z.dLgc));
    } else if (b <= 5) {
        static const char* const fn[] = {"", "", "*a(h)=", "*b(h)=", "*c(h)=", "*d(h)="};
        t.line(TraceFile::Lg, "dLgs = 1.5 - " + F(st.Gs) + fn[b] + F(z.dLgs));
        t.line(TraceFile::Lg, "dLgi = 1.5 - " + F(st.Gr) + fn[b] + F(z.dLgi));
        t.line(TraceFile::Lg, middle);
    } else {
        t.line(TraceFile::Lg, "dLgs = 1.5 - (1-" + F(st.Gs) + ")=" + F(z.dLgs));
        t.line(TraceFile::Lg, "dLgi = 1.5 - (1-" + F(st.Gr) + ")=" + F(z.dLgi));
        t.line(TraceFile::Lg, middle);
    }
    t.line(TraceFile::Lg, "Hsi: " + F(g.Hsi));
    t.line(TraceFile::Lg, "Hgg: " + F(h.Hgg));
    t.line(TraceFile::Lg, "Hsc: " + F(h.hs));
    t.line(TraceFile::Lg, "Hic: " + F(h.hr));
    t.line(TraceFile::Lg, "dLg = " + F(dLg));
}
}  // namespace

double GroundBand(const StretchTermData& st, const GroundGeometry& g, int b, double He, TraceSink* trace)
{
    if (b < 1 || b > 7 || !g.valid) {
        if (trace) trace->line(TraceFile::Lg, "dLg = 0");
        return 0.0;
    }
    const GroundHeights h = correctedHeights(st, g, b, He);
    ZoneTerms z;
    z.mZero = 30.0 * (h.hs + h.hr) >= g.dp;
    z.m = z.mZero ? 0.0 : 1.0 - 30.0 * (h.hs + h.hr) / g.dp;
    if (z.m < 0.0) z.m = 0.0;
    z.dLgc = b == 1 ? 3.0 * z.m : 3.0 * z.m * (1.0 - st.Gm);
    if (b == 1) {
        z.dLgs = 1.5;
        z.dLgi = 1.5;
    } else if (b <= 5) {
        z.dLgs = 1.5 - st.Gs * bandFunction(st, g, b, 0, h.hs);
        z.dLgi = 1.5 - st.Gr * bandFunction(st, g, b, 1, h.hr);
    } else {
        z.dLgs = 1.5 * (1.0 - st.Gs);
        z.dLgi = 1.5 * (1.0 - st.Gr);
    }
    const double dLg = z.dLgs + z.dLgc + z.dLgi;
    if (trace) traceGround(*trace, st, g, b, h, z, dLg);
    return dLg;
}

double GroundTerm(const StretchTermData& stretch, double R, int b, double He, TraceSink* trace)
{
    return GroundBand(stretch, GroundGeometryOf(stretch, R), b, He, trace);
}

// ---------------------------------------------------------------------------------------
// All four terms of a source point.

SourcePoint::SourcePoint(const StretchTermData& stretch, double R, float D, bool straightPath)
    : stretch_(stretch),
      R_(R),
      straightPath_(straightPath),
      screen_(ScreenGeometryOf(stretch, static_cast<float>(R), D)),
      ground_(GroundGeometryOf(stretch, R))
{
}

BandTerms SourcePoint::terms(int b, TraceSink* trace, TraceSink* screenTrace) const
{
    BandTerms t;
    const ScreenResult screen = ScreenBand(stretch_, screen_, b, screenTrace);
    t.dLs = screen.dLs;
    t.He = screen.He;
    t.path = screen.L;
    t.dLg = GroundBand(stretch_, ground_, b, t.He, trace);
    if (straightPath_) t.path = std::sqrt(sqr(R_) + sqr(stretch_.zt + SourceHeight[b] - (stretch_.zr + stretch_.hr)));
    t.dLd = DistanceTerm(t.path, trace);
    t.dLa = AirAbsorptionTerm(b, t.path, trace);
    return t;
}
