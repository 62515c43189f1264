#include "calc/StretchLevel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calc/Bands.h"
#include "calc/Format.h"
#include "calc/Terms.h"

const char* const kRadiusErrorMessage = "Felaktig radie. Beräkning kan ej utföras på sträckan!";

namespace {
constexpr double kPi = 3.141592653589793;

inline double sqr(double x) { return x * x; }
// Degrees to radians, in the order π·angle/180.
inline double rad(double degrees) { return kPi * degrees / 180.0; }
// Arccos and arcsin arguments that rounding pushed outside [−1, 1] are taken back into it.
inline double unit(double x)
{
    if (x > 1.0) return 1.0;
    if (x < -1.0) return -1.0;
    if (std::isnan(x)) return 1.0;
    return x;
}

const char* const kStars = "********************";

// One call of the stretch procedure: the stretch data widened once, the running sums, and
// the level of one source point.
class StretchWalk {
public:
    StretchWalk(const ProjectRecord& r, int s, const Array1<double, 7>& emission, double& Leq,
                Array1<double, 7>& totals, double dLc, const StretchLevelContext& ctx)
        : r_(r), s_(s), E_(emission), Leq_(Leq), totals_(totals), dLc_(dLc), ctx_(ctx), trace_(ctx.trace)
    {
        hrF_ = r.receiverHeight[s];
        zrF_ = r.receiverGroundHeight[s];
        hbF_ = r.screenCrestHeight[s];
        zbF_ = r.screenBaseHeight[s];
        aF_ = r.screenDistance[s];
        ztF_ = r.trackHeight[s];
        hr_ = hrF_;
        zr_ = zrF_;
        zt_ = ztF_;
        Gs_ = r.groundSource[s];
        Gr_ = r.groundReceiver[s];
        Gm_ = r.groundMiddle[s];
        for (int b = 1; b <= 7; ++b) totals_[b] = 0.0;
    }

    void startPass(int pass)
    {
        pass_ = pass;
        prev_ = 0.0;
    }

    // Level of one source point. Dscr is the reference distance handed to the screen term;
    // straightPath selects the straight 3-D distance as the path of the distance and
    // air-absorption terms (case B) instead of the screen term's path. Returns true when
    // the stretch (or pass) ends after this point.
    bool point(double position, double R, double len, double dLv, double Dscr, bool straightPath, bool curved,
               double segL)
    {
        if (trace_) tracePointHead(position, R, straightPath, segL);

        const float Rf = static_cast<float>(R);
        const float Df = static_cast<float>(Dscr);
        const double lenTerm = 10.0 * Log10(len);
        double pointLevel = 0.0;
        for (int b = 1; b <= 7; ++b) {
            if (trace_) {
                const std::string prefix = formatInt(b) + ": ";
                trace_->write(TraceFile::Ld, prefix);
                trace_->write(TraceFile::La, prefix);
                trace_->line(TraceFile::Ls, prefix);
                trace_->line(TraceFile::Lg, prefix);
            }
            double dLs = 0.0, He = 0.0, Lpath = 0.0, dLg = 0.0, dLd = 0.0, dLa = 0.0;
            ScreenTerm(r_, s_, b, BandFrequency[b], hrF_, zrF_, hbF_, zbF_, aF_, ztF_, Rf, Df, dLs, He, Lpath, trace_);
            GroundTerm(r_, s_, b, He, Gm_, Gr_, Gs_, hr_, zr_, zt_, R, dLg, trace_);
            double path = Lpath;
            if (straightPath) path = std::sqrt(sqr(R) + sqr(zt_ + SourceHeight[b] - (zr_ + hr_)));
            DistanceTerm(path, dLd, trace_);
            AirAbsorptionTerm(b, path, dLa, trace_);

            const double Lp = lenTerm + E_[b] + dLc_ + dLd + dLa + dLs + dLg + dLv + AWeighting[b];
            pointLevel = AddLevel(pointLevel, Lp);
            totals_[b] = AddLevel(totals_[b], Lp);
            dLs_[b] = dLs;
            dLg_[b] = dLg;
            dLd_[b] = dLd;
            dLa_[b] = dLa;
            Lp_[b] = Lp;
        }
        Leq_ = AddLevel(Leq_, pointLevel);

        bool stop = false;
        if (pointLevel == 0.0)
            stop = true;
        else if (Leq_ - prev_ < 0.0001)
            stop = true;
        else
            prev_ = Leq_;

        if (trace_) tracePointBlock(dLv, curved);
        if (ctx_.observer) ctx_.observer(SourcePointInfo{pass_, position, R, len, dLv, pointLevel});
        return stop;
    }

    TraceSink* trace() const { return trace_; }
    std::string F2(double x) const { return formatFixed(x, 2, trace_->decimalSeparator()); }
    std::string G(double x) const { return formatGeneral(x, 15, trace_->decimalSeparator()); }

private:
    void tracePointHead(double position, double R, bool caseB, double segL)
    {
        const std::string head = "meter: " + G(position) + " avstånd: " + G(R) + " ";
        if (caseB)
            trace_->line(TraceFile::Main, head + "från: " + G(position - segL / 2.0) + " till: " +
                                              G(position + segL / 2.0));
        else
            trace_->line(TraceFile::Main, head);
        for (auto f : {TraceFile::Ld, TraceFile::La, TraceFile::Ls, TraceFile::Lg}) trace_->line(f, head);
    }

    std::string list(const Array1<double, 7>& v, bool general) const
    {
        std::string s;
        for (int b = 1; b <= 7; ++b) s += (general ? G(v[b]) : F2(v[b])) + " ";
        return s + " ";
    }

    void tracePointBlock(double dLv, bool curved)
    {
        for (auto f : {TraceFile::Ld, TraceFile::La, TraceFile::Ls, TraceFile::Lg}) trace_->line(f, "");
        auto& t = *trace_;
        constexpr auto M = TraceFile::Main;
        if (!curved) {
            t.line(M, "Lw: " + list(E_, false));
            t.line(M, "dLc: " + F2(dLc_));
            t.line(M, "dLd: " + list(dLd_, false));
            t.line(M, "dLa: " + list(dLa_, false));
            t.line(M, "dLg: " + list(dLg_, false));
            t.line(M, "dLs: " + list(dLs_, false));
            t.line(M, "dLr: " + F2(ctx_.FacadeCorrection));
            t.line(M, "dLCv: " + F2(dLv));
            t.line(M, "Lp: " + list(Lp_, false));
            t.line(M, "LpSum: " + list(totals_, false));
            t.line(M, "LpTotal: " + F2(Leq_));
        } else {
            t.line(M, "Lw0: " + list(E_, true));
            t.line(M, "dLc: " + G(dLc_));
            t.line(M, "dLd: " + list(dLd_, true));
            t.line(M, "dLs: " + list(dLs_, true));
            t.line(M, "dLg: " + list(dLg_, true));
            t.line(M, "dLr: " + G(ctx_.FacadeCorrection));
            t.line(M, "dLa: " + list(dLa_, true));
        }
        t.line(M, "");
    }

    const ProjectRecord& r_;
    int s_;
    const Array1<double, 7>& E_;
    double& Leq_;
    Array1<double, 7>& totals_;
    double dLc_;
    const StretchLevelContext& ctx_;
    TraceSink* trace_;

    float hrF_, zrF_, hbF_, zbF_, aF_, ztF_;
    double hr_, zr_, zt_, Gs_, Gr_, Gm_;
    int pass_ = 1;
    double prev_ = 0.0;
    Array1<double, 7> dLs_{}, dLg_{}, dLd_{}, dLa_{}, Lp_{};
};

// The switch and crossing term: 6 dB on the points within P..P + 10 m, tested while the zone
// has not been passed.
struct SwitchState {
    bool on = false;  // switchesOn = 1
    double P = 0.0;
    bool done = false;

    double term(double x)
    {
        if (!on || done) return 0.0;
        if (P > x) return 0.0;
        if (P + 10.0 < x) {
            done = true;
            return 0.0;
        }
        if (P + 10.0 == x) {
            done = true;
            return 6.0;
        }
        return 6.0;
    }
};

void positionHeader(TraceSink* t, const std::string& start, const std::string& end)
{
    t->line(TraceFile::Main, "***** POSITION *****");
    t->line(TraceFile::Main, start);
    t->line(TraceFile::Main, end);
}

void positionFooter(TraceSink* t)
{
    t->line(TraceFile::Main, "");
    t->line(TraceFile::Main, kStars);
    t->line(TraceFile::Main, "");
}

// Straight stretch on one side of the normal.
void caseA(StretchWalk& w, const ProjectRecord& r, int s, int a1, int a2, double seg)
{
    const double D = r.perpDistance[s];
    const bool before = a2 <= 90;
    double xs, xe;
    if (before) {
        xs = RoundEven(D * std::tan(rad(90 - a2)));
        xe = RoundEven(D * std::tan(rad(90 - a1)));
    } else {
        xs = RoundEven(D * std::tan(rad(a1 - 90)));
        xe = RoundEven(D * std::tan(rad(a2 - 90)));
    }
    if (TraceSink* t = w.trace()) {
        const char* side = before ? "m före normalen" : "m efter normalen";
        positionHeader(t, "StartPosition: " + w.F2(xs) + side, "SlutPosition: " + w.F2(xe) + side);
        positionFooter(t);
    }

    SwitchState sw{r.switchesOn[s] == 1, static_cast<double>(r.switchStart[s]), false};

    double L;
    bool single = false;
    if (xe - xs >= seg) {
        L = seg;
    } else {
        L = xe - xs;
        single = true;
    }
    double off = 0.0, rem = 0.0;
    if (seg / 2.0 + xs + off > xe) {
        rem = xe - (L / 2.0 + xs + off - seg);
        off = off - seg + rem;
    }
    w.startPass(1);
    for (;;) {
        const double x = xs + off;
        const double R = std::sqrt(sqr(D) + sqr(x));
        const double dLv = sw.term(x);
        const double len = L / 2.0 + xs + off < xe ? L : rem;
        if (w.point(x, R, len, dLv, D, false, false, L) || single) return;
        if (L / 2.0 + xs + off >= xe) return;
        off = off + seg;
        if (seg / 2.0 + xs + off > xe) {
            rem = xe - (L / 2.0 + xs + off - seg);
            off = off - seg + rem;
        }
    }
}

// One pass of case B from the given first segment outwards to xe.
void walkPassB(StretchWalk& w, const ProjectRecord& r, int s, int pass, double off, double L, double xe,
               double seg, bool single, SwitchState& sw, bool switchActive)
{
    const double D = r.perpDistance[s];
    w.startPass(pass);
    for (;;) {
        const double x = off;
        const double R = std::sqrt(sqr(D) + sqr(x));
        const double dLv = switchActive ? sw.term(x) : 0.0;
        if (w.point(x, R, L, dLv, D, true, false, L) || single) return;
        if (L != seg && off != 0.0) return;
        if (L / 2.0 + off >= xe) return;
        if (L != seg) {
            // The first full segment after a shortened central one.
            off = seg / 2.0 + L / 2.0;
            L = seg;
        } else {
            off = off + seg;
        }
        if (seg / 2.0 + off > xe) {
            const double e = off - seg / 2.0;
            L = xe - e;
            off = e + L / 2.0;
        }
    }
}

// Straight stretch crossing the normal: pass 1 on the a1 side with the central segment,
// pass 2 on the a2 side.
void caseB(StretchWalk& w, const ProjectRecord& r, int s, int a1, int a2, double seg)
{
    const double D = r.perpDistance[s];
    const bool switchesOn = r.switchesOn[s] == 1;
    const double P = r.switchStart[s];
    SwitchState sw{switchesOn, P, false};

    auto header = [&] {
        if (TraceSink* t = w.trace()) {
            positionHeader(t, "StartPosition: " + w.F2(D * std::tan(rad(90 - a1))) + "m före normalen",
                           "SlutPosition: " + w.F2(D * std::tan(rad(a2 - 90))) + "m efter normalen");
            positionFooter(t);
        }
    };

    // Pass 1.
    header();
    double L = seg;
    double Lc = L;
    double off = 0.0;
    double xe = D * std::tan(rad(90 - a1));
    const double T2 = D * std::tan(rad(a2 - 90));
    bool C2 = false, single = false;
    if (T2 + xe < L) {
        if (a2 - 90 == 90 - a1) {
            L = T2 + xe;
            C2 = true;
            single = true;
        } else if (a2 - 90 > 90 - a1) {
            L = Lc = 2.0 * xe;
        } else {
            L = 2.0 * T2;
            C2 = true;
        }
    } else {
        if (L / 2.0 > T2) {
            L = 2.0 * T2;
            C2 = true;
        } else if (L / 2.0 > xe) {
            L = Lc = 2.0 * xe;
        }
    }
    bool active = switchesOn && P >= 0.0 && P + 10.0 <= xe && !sw.done;
    walkPassB(w, r, s, 1, off, L, xe, seg, single, sw, active);
    if (C2) return;

    // Pass 2.
    if (active) sw.done = true;
    header();
    L = seg;
    off = 0.0;
    single = false;
    xe = D * std::tan(rad(a2 - 90));
    if (L / 2.0 < xe) {
        if (Lc / 2.0 + L > xe) {
            L = xe - Lc / 2.0;
            off = Lc / 2.0 + L / 2.0;
            single = true;
        } else {
            off = Lc / 2.0 + L / 2.0;
        }
    } else {
        L = xe - Lc / 2.0;
        off = Lc / 2.0 + L / 2.0;
    }
    active = switchesOn && P >= 0.0 && P + 10.0 <= xe && !sw.done;
    walkPassB(w, r, s, 2, off, L, xe, seg, single, sw, active);
}

// Curved stretch: an arc of radius Rc from the start point A to the end point B.
void caseC(StretchWalk& w, const ProjectRecord& r, int s, double seg, double& Leq, const StretchLevelContext& ctx,
           CalcResults& results)
{
    const int a1 = r.angleFrom[s], a2 = r.angleTo[s];
    const double r1 = r.startDistance[s], r2 = r.endDistance[s], Rc = r.radius[s];
    const bool convex = r.shape[s] == 1;

    double c, theta = 0.0, gamma = 0.0;
    if (a2 == 180) {
        c = r1 + r2;
        theta = kPi;
        gamma = 0.0;
    } else {
        c = std::sqrt(sqr(r1) + sqr(r2) - 2.0 * r1 * r2 * std::cos(rad(a2 - a1)));
        if (2.0 * Rc < c) {
            results.RadiusError = true;
        } else {
            theta = std::acos(unit((2.0 * sqr(Rc) - sqr(c)) / (2.0 * sqr(Rc))));
            gamma = c == 0.0 ? 0.0 : std::acos(unit((sqr(r1) + sqr(c) - sqr(r2)) / (2.0 * r1 * c)));
        }
    }
    if (results.RadiusError) {
        if (ctx.message) ctx.message(kRadiusErrorMessage);
        Leq = 0.0;
        return;
    }

    const double S = theta * Rc;
    double L;
    bool single = false;
    if (seg < S) {
        L = seg;
    } else {
        L = S;
        single = true;
    }
    double off = 0.0;

    // Plan frame with its origin at the arc's centre; convex arcs run towards increasing y.
    const double ys = convex ? 1.0 : -1.0;
    const double Ax = -Rc, Ay = 0.0;
    double Bx, By;
    const int thetaDeg = RoundEven(theta * 180.0 / kPi);
    if (thetaDeg == 180) {
        Bx = Rc;
        By = 0.0;
    } else if (thetaDeg == 90) {
        Bx = 0.0;
        By = ys * Rc;
    } else {
        Bx = -Rc * std::cos(theta);
        By = convex ? Rc * std::sin(theta) : -Rc * std::sin(theta);
    }
    double Mx, My;
    if (convex && gamma == 0.0) {
        Mx = 0.0;
        My = 0.0;
    } else {
        const double beta = convex ? gamma - (kPi - theta) / 2.0 : gamma + (kPi - theta) / 2.0;
        Mx = -Rc + r1 * std::cos(beta);
        My = -r1 * std::sin(beta);
    }
    results.CurveStartX[s] = Ax;
    results.CurveStartY[s] = Ay;
    results.CurveEndX[s] = Bx;
    results.CurveEndY[s] = By;
    results.CurveReceiverX[s] = Mx;
    results.CurveReceiverY[s] = My;

    if (TraceSink* t = w.trace()) {
        positionHeader(t, "StartPosition: 0m", "SlutPosition: " + w.F2(S) + "m");
        t->line(TraceFile::Main, "Punkt 1 ( " + w.F2(Ax) + " , " + w.F2(Ay) + " )");
        t->line(TraceFile::Main, "Punkt 2 ( " + w.F2(Bx) + " , " + w.F2(By) + " )");
        t->line(TraceFile::Main, "Mottagare ( " + w.F2(Mx) + " , " + w.F2(My) + " )");
        positionFooter(t);
    }

    w.startPass(1);
    for (;;) {
        const double u = S == 0.0 ? 0.0 : theta * (off + L / 2.0) / S;
        const double Px = -Rc * std::cos(u);
        const double Py = convex ? Rc * std::sin(u) : -Rc * std::sin(u);
        const double rho = std::sqrt(sqr(Px - Mx) + sqr(Py - My));
        if (w.point(off + L / 2.0, rho, L, 0.0, r1, false, true, L) || single) return;
        if (off + L >= S) return;
        off = off + seg;
        if (off + seg > S) L = S - (off - seg + L);
    }
}
}  // namespace

StretchCase stretchCaseOf(const ProjectRecord& r, int s)
{
    if (r.shape[s] != 0) return StretchCase::C;
    int a1 = r.angleFrom[s], a2 = r.angleTo[s];
    if (a1 == 0) a1 = 1;
    if (a2 == 180) a2 = 179;
    return a2 <= 90 || a1 >= 90 ? StretchCase::A : StretchCase::B;
}

void StretchEquivalentLevel(const ProjectRecord& r, int s, Array1<double, 7> BandEmission, double& Leq,
                            Array1<double, 7>& totals, double dLc, const StretchLevelContext& ctx,
                            CalcResults& results)
{
    const double seg = std::max(1, ctx.segmentLength);
    StretchWalk w(r, s, BandEmission, Leq, totals, dLc, ctx);
    // Straight stretches take the ends of the angle range one degree in from the track's
    // direction, where the tangent stays finite.
    int a1 = r.angleFrom[s], a2 = r.angleTo[s];
    if (a1 == 0) a1 = 1;
    if (a2 == 180) a2 = 179;
    switch (stretchCaseOf(r, s)) {
    case StretchCase::A: caseA(w, r, s, a1, a2, seg); break;
    case StretchCase::B: caseB(w, r, s, a1, a2, seg); break;
    case StretchCase::C: caseC(w, r, s, seg, Leq, ctx, results); break;
    }
}
