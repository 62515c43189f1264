#include "calc/Terms.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calc/Bands.h"
#include "calc/Format.h"

// Both terms work in double precision: the single-precision inputs are widened first, and
// every formula keeps the operation order of the method so results match it to the last bit.

namespace {
inline double sqr(double x) { return x * x; }

// Number of break points that may be read: the stored count limited to the slots.
int usablePoints(const ProjectRecord& r, int s) { return std::clamp(r.bpCount[s], 0, kMaxBreakPoints); }

// Reference ground height for the screen's height factor: the height at the bottom of the
// last descent of the profile, in stored point order.
double referenceGroundHeight(const ProjectRecord& r, int s)
{
    const auto& z = r.bpHeight[s];
    double g = z[1];
    const int n = usablePoints(r, s);
    for (int i = 2; i <= n; ++i)
        if (z[i] < z[i - 1]) g = z[i];
    return g;
}
}  // namespace

void ScreenTerm(const ProjectRecord& r, int s, int b, int f, float hr_, float zr_, float hb_, float zb_, float a_,
                float zt_, float R_, float D_, double& dLs, double& He, double& L, TraceSink* trace)
{
    const double hr = hr_, zr = zr_, hb = hb_, zb = zb_, a = a_, zt = zt_, R = R_, D = D_;

    if (D <= 0.0 || R <= 0.0 || b < 1 || b > 7 || std::isnan(D) || std::isnan(R)) {
        dLs = 0.0;
        L = 0.0;
        if (trace) trace->line(TraceFile::Ls, "dLs = 0");
        return;
    }

    const double Hs = zt + SourceHeight[b];
    const double Hr = zr + hr;
    const double Hb = zb + hb;

    if (a == 0.0 || r.screenType[s] == 0) {
        // No screen: the path over a slightly raised mid-point.
        const double Lm = Hs - (Hs - Hr) / 2.0;
        const double Lm2 = Lm + (R / 2.0) * (R / 2.0) / (16.0 * R);
        L = std::sqrt(sqr(Lm2 - Hs) + sqr(R / 2.0)) + std::sqrt(sqr(Lm2 - Hr) + sqr(R / 2.0));
        He = 0.0;
        dLs = 0.0;
        if (trace) trace->line(TraceFile::Ls, "dLs = 0");
        return;
    }

    const double g = referenceGroundHeight(r, s);

    const double r1 = (a / D) * R;
    const double r2 = R - r1;
    const double Dh = r1 * r2 / (16.0 * R);
    const double Ls = Hs - (a / D) * (Hs - Hr);
    const double Lr = Ls + Dh;
    He = Hb - Ls - Dh;

    const double dss = std::sqrt(sqr(Hs - Hb) + sqr(r1));
    const double dsr = std::sqrt(sqr(Hb - Hr) + sqr(r2));
    const double ds1 = std::sqrt(sqr(Hs - Lr) + sqr(r1));
    const double dr1 = std::sqrt(sqr(Lr - Hr) + sqr(r2));
    const double ddir = std::sqrt(sqr(Hs - Hr) + sqr(R));

    const bool overCrest = Ls < Hb;
    const double delta = overCrest ? dss + dsr - ds1 - dr1 : 2.0 * ddir - ds1 - dr1 - dss - dsr;

    double Ch = f * (Hb - g) / 250.0;
    if (Ch > 1.0) Ch = 1.0;

    const double arg = 0.094 * delta * f + 3.0;
    dLs = arg <= 0.0 ? 0.0 : -10.0 * Ch * Log10(arg);

    if (r.screenType[s] == 2) {
        const double k = 1.0 - 5.0 / (3.0 * r1);
        dLs = k >= 0.7 ? dLs * k : dLs * 0.7;
    }
    if (dLs > 0.0) dLs = 0.0;
    if (dLs < -20.0) dLs = -20.0;

    L = Hb > Lr ? dss + dsr : ds1 + dr1;

    if (trace) {
        const char sep = trace->decimalSeparator();
        auto F = [sep](double x) { return formatFixed(x, 2, sep); };
        const std::string dh = formatGeneral(Dh, 7, sep);
        trace->line(TraceFile::Ls, "Dh = (" + F(r1) + "*" + F(r2) + ")/(" + F(16.0 * R) + ")=" + dh + "  ");
        if (overCrest)
            trace->line(TraceFile::Ls, "He = " + F(Hb - Ls) + "-" + dh + "=" + F(He));
        else
            trace->line(TraceFile::Ls, "He = -(" + F(Hb - Ls) + "+" + dh + ")=" + F(He));
        if (overCrest)
            trace->line(TraceFile::Ls,
                        "& = " + F(dss) + "+" + F(dsr) + "-" + F(ds1) + "-" + F(dr1) + "=" + F(delta));
        else
            trace->line(TraceFile::Ls, "& = 2*" + F(ddir) + "-" + F(ds1) + "-" + F(dr1) + "-" + F(dss) + "-" +
                                           F(dsr) + "=" + F(delta));
        trace->line(TraceFile::Ls, "Ch = " + formatInt(f) + "(" + F(hb) + ")/250=" + F(Ch));
        // The coefficient reads 0.0094 in this line while 0.094 is computed.
        trace->line(TraceFile::Ls,
                    "dLs = -10*" + F(Ch) + "*lg(0.0094*" + F(delta) + "*" + formatInt(f) + "+3)=" + F(dLs));
    }
}

namespace {
// The ground band functions of the method, for the corrected height h over the ground
// distance dp.
double bandA(double h, double dp)
{
    return 1.5 + 3.0 * std::exp(-0.12 * sqr(h - 5.0)) * (1.0 - std::exp(-dp / 50.0)) +
           5.7 * std::exp(-0.09 * sqr(h)) * (1.0 - std::exp(-2.8 * Power(10.0, -6.0) * sqr(dp)));
}
double bandB(double h, double dp) { return 1.5 + 8.6 * std::exp(-0.09 * sqr(h)) * (1.0 - std::exp(-dp / 50.0)); }
double bandC(double h, double dp) { return 1.5 + 14.0 * std::exp(-0.46 * sqr(h)) * (1.0 - std::exp(-dp / 50.0)); }
double bandD(double h, double dp) { return 1.5 + 5.0 * std::exp(-0.9 * sqr(h)) * (1.0 - std::exp(-dp / 50.0)); }

double bandFunction(int b, double h, double dp)
{
    switch (b) {
    case 2: return bandA(h, dp);
    case 3: return bandB(h, dp);
    case 4: return bandC(h, dp);
    default: return bandD(h, dp);
    }
}

// Mean middle-zone ground height Hgg and receiver-zone sum Q of the cross-section of stretch s,
// its break-point distances scaled to the horizontal path R. Returns false when the profile
// cannot be scaled (no reference distance) or the middle zone has no length.
bool profileHeights(const ProjectRecord& r, int s, int n, double zt, double zr, double R, double A, double W,
                    double& Hgg, double& Q)
{
    const double Dref = r.shape[s] == 0 ? static_cast<double>(r.perpDistance[s])
                                        : static_cast<double>(r.startDistance[s]);
    const double B = R - W;
    const double M = R - W - A;
    if (!(Dref > 0.0) || !(M > 0.0)) return false;

    const auto& bpd = r.bpDistance[s];
    const auto& Z = r.bpHeight[s];
    for (int i = 1; i <= n - 1; ++i) {
        const double x1 = bpd[i] * R / Dref;
        const double x2 = bpd[i + 1] * R / Dref;
        const double z1 = Z[i], z2 = Z[i + 1];
        double hseg;
        if (i == 1)
            hseg = (zt + z2) / 2.0;
        else if (i + 1 == n)
            hseg = (zr + z1) / 2.0;
        else
            hseg = (z1 + z2) / 2.0;
        // Height of the straight line between the two stored points.
        auto h = [&](double x) { return z1 == z2 ? z1 : z1 + (z2 - z1) * (x - x1) / (x2 - x1); };

        if (x1 >= A && x2 <= B) {
            Hgg += (x2 - x1) / M * hseg;
        } else if (x2 <= B && x1 < A && x2 > A) {
            Hgg += (x2 - A) / M * h((A + x2) / 2.0);
        } else if (x1 >= A && x1 < B && x2 > B) {
            Hgg += (B - x1) / M * h((x1 + B) / 2.0);
            Q += (x2 - B) / B * h((B + x2) / 2.0);
        } else if (x1 < A && x2 > B) {
            Hgg += h((A + B) / 2.0);
            Q += (x2 - B) / B * h((B + x2) / 2.0);
        } else if (x1 >= B) {
            Q += (x2 - x1) / B * (z1 + z2) / 2.0;
        }
    }
    return true;
}
}  // namespace

void GroundTerm(const ProjectRecord& r, int s, int b, double He, double Gm, double Gr, double Gs, double hr,
                double zr, double zt, double R, double& dLg, TraceSink* trace)
{
    if (b < 1 || b > 7 || !(R > 0.0)) {
        dLg = 0.0;
        if (trace) trace->line(TraceFile::Lg, "dLg = 0");
        return;
    }

    double hs = SourceHeight[b];
    const double dp = std::sqrt(sqr(zr - zt) + sqr(R));

    double A = 30.0 * hs;
    if (A > dp) A = dp;
    double W = 30.0 * hr;
    if (W > dp) W = dp;

    if (hs < 5.0 && He > 0.0) hs = hs + He * (1.0 - A / dp);
    if (hr < 5.0 && He > 0.0) hr = hr + He * (1.0 - W / dp);

    const double Hsi = zt - (zt - zr) / 2.0;
    double Hgg = 0.0, Q = 0.0;

    const int n = usablePoints(r, s);
    if (n > 2 && A + W < dp) {
        if (profileHeights(r, s, n, zt, zr, R, A, W, Hgg, Q)) {
            hs = hs + (Hsi - Hgg);
            if (hs < 0.0) hs = 0.0;
            hr = (Hsi - Hgg + hr) + (hr - Q);
            if (hr < 0.0) hr = 0.0;
        }
    }

    double m;
    const bool mZero = 30.0 * (hs + hr) >= dp;
    if (mZero) {
        m = 0.0;
    } else {
        m = 1.0 - 30.0 * (hs + hr) / dp;
        if (m < 0.0) m = 0.0;
    }

    double dLgs, dLgi;
    const double dLgc = b == 1 ? 3.0 * m : 3.0 * m * (1.0 - Gm);
    if (b == 1) {
        dLgs = 1.5;
        dLgi = 1.5;
    } else if (b <= 5) {
        dLgs = 1.5 - Gs * bandFunction(b, hs, dp);
        dLgi = 1.5 - Gr * bandFunction(b, hr, dp);
    } else {
        dLgs = 1.5 * (1.0 - Gs);
        dLgi = 1.5 * (1.0 - Gr);
    }
    dLg = dLgs + dLgc + dLgi;

    if (trace) {
        const char sep = trace->decimalSeparator();
        auto F = [sep](double x) { return formatFixed(x, 2, sep); };
        if (b == 1) {
            trace->line(TraceFile::Lg, "dLgs = 1.5");
            trace->line(TraceFile::Lg, "dLgi = 1.5");
            if (mZero)
                trace->line(TraceFile::Lg, "m = 0");
            else
                trace->line(TraceFile::Lg, "m = 1-30(" + F(hs) + "+" + F(hr) + ")/" + F(dp) + "=" + F(m));
            trace->line(TraceFile::Lg, "dLgc = 3*" + F(m) + "=" + F(dLgc));
        } else if (b <= 5) {
            static const char* const fn[] = {"", "", "*a(h)=", "*b(h)=", "*c(h)=", "*d(h)="};
            trace->line(TraceFile::Lg, "dLgs = 1.5 - " + F(Gs) + fn[b] + F(dLgs));
            trace->line(TraceFile::Lg, "dLgi = 1.5 - " + F(Gr) + fn[b] + F(dLgi));
            trace->line(TraceFile::Lg, "dLgc = 3*" + F(m) + "(1-" + F(Gm) + "=" + F(dLgc));
        } else {
            trace->line(TraceFile::Lg, "dLgs = 1.5 - (1-" + F(Gs) + ")=" + F(dLgs));
            trace->line(TraceFile::Lg, "dLgi = 1.5 - (1-" + F(Gr) + ")=" + F(dLgi));
            trace->line(TraceFile::Lg, "dLgc = 3*" + F(m) + "(1-" + F(Gm) + "=" + F(dLgc));
        }
        trace->line(TraceFile::Lg, "Hsi: " + F(Hsi));
        trace->line(TraceFile::Lg, "Hgg: " + F(Hgg));
        trace->line(TraceFile::Lg, "Hsc: " + F(hs));
        trace->line(TraceFile::Lg, "Hic: " + F(hr));
        trace->line(TraceFile::Lg, "dLg = " + F(dLg));
    }
}
