#include "calc/StretchLevel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "calc/Bands.h"
#include "calc/Geometry.h"
#include "calc/Format.h"
#include "calc/Terms.h"

const char* const kRadiusErrorMessage = "Felaktig radie. Beräkning kan ej utföras på sträckan!";

namespace {
using geometry::sqr;
using geometry::rad;
using geometry::unit;

const char* const kStars = "********************";

// How one source point is described to the walk.
struct PointInput {
    double position;      // as traced
    double R;             // horizontal distance to the receiver
    double len;           // length of track the point stands for
    double dLv;           // switch term
    double Dscreen;       // reference distance of the screen term
    bool straightPath;    // case B: the straight 3-D path for the distance and air terms
    double segment;       // the segment, for the "från/till" of case B's trace
};

// One call of the stretch procedure: the stretch data widened once, the running sums, and
// the level of one source point.
class StretchWalk {
public:
    StretchWalk(const ProjectRecord& r, int s, const Array1<double, 7>& emission, double dLc,
                const StretchLevelContext& ctx)
        : terms_(TermDataOf(r, s)), E_(emission), dLc_(dLc), ctx_(ctx), trace_(ctx.trace),
          totals_(ctx.bandTotals || ctx.trace), curved_(r.shape[s] != 0)
    {
    }

    void startPass(int pass)
    {
        pass_ = pass;
        prev_ = 0.0;
    }

    // Adds the level of one source point. Returns true when the stretch (or pass) ends after it.
    bool point(const PointInput& p)
    {
        if (trace_) tracePointHead(p);
        const SourcePoint source(terms_, p.R, static_cast<float>(p.Dscreen), p.straightPath);
        if (!(p.len == lastLen_)) {  // most points stand for a full segment
            lastLen_ = p.len;
            lenTerm_ = 10.0 * Log10(p.len);
        }
        const double lenTerm = lenTerm_;
        double pointLevel = 0.0;
        for (int b = 1; b <= 7; ++b) {
            if (trace_) traceBandPrefix(b);
            const BandTerms t = source.terms(b, trace_, trace_);
            const double Lp = lenTerm + E_[b] + dLc_ + t.dLd + t.dLa + t.dLs + t.dLg + p.dLv + AWeighting[b];
            const bool intoTotal = totals_ && result.bandTotals[b] != 0.0;
            const double energy = pointLevel != 0.0 || intoTotal ? Pow10(Lp / 10.0) : 0.0;
            pointLevel = AddLevelEnergy(pointLevel, Lp, energy);
            if (totals_) result.bandTotals[b] = AddLevelEnergy(result.bandTotals[b], Lp, energy);
            if (trace_) {
                bands_[b] = t;
                Lp_[b] = Lp;
            }
        }
        result.Leq = AddLevel(result.Leq, pointLevel);

        bool stop = false;
        if (pointLevel == 0.0 || result.Leq - prev_ < 0.0001)
            stop = true;
        else
            prev_ = result.Leq;

        if (trace_) tracePointBlock(p.dLv);
        if (ctx_.observer) ctx_.observer(SourcePointInfo{pass_, p.position, p.R, p.len, p.dLv, pointLevel});
        return stop;
    }

    TraceSink* trace() const { return trace_; }
    std::string F2(double x) const { return formatFixed(x, 2, trace_->decimalSeparator()); }
    std::string G(double x) const { return formatGeneral(x, 15, trace_->decimalSeparator()); }

    StretchLevel result;

private:
    void traceBandPrefix(int b)
    {
        const std::string prefix = formatInt(b) + ": ";
        trace_->write(TraceFile::Ld, prefix);
        trace_->write(TraceFile::La, prefix);
        trace_->line(TraceFile::Ls, prefix);
        trace_->line(TraceFile::Lg, prefix);
    }

    void tracePointHead(const PointInput& p)
    {
        const std::string head = "meter: " + G(p.position) + " avstånd: " + G(p.R) + " ";
        if (p.straightPath)
            trace_->line(TraceFile::Main, head + "från: " + G(p.position - p.segment / 2.0) + " till: " +
                                              G(p.position + p.segment / 2.0));
        else
            trace_->line(TraceFile::Main, head);
        for (auto f : {TraceFile::Ld, TraceFile::La, TraceFile::Ls, TraceFile::Lg}) trace_->line(f, head);
    }

    std::string list(double BandTerms::*term, bool general) const
    {
        std::string s;
        for (int b = 1; b <= 7; ++b) s += (general ? G(bands_[b].*term) : F2(bands_[b].*term)) + " ";
        return s + " ";
    }
    std::string list(const Array1<double, 7>& v, bool general) const
    {
        std::string s;
        for (int b = 1; b <= 7; ++b) s += (general ? G(v[b]) : F2(v[b])) + " ";
        return s + " ";
    }

    void tracePointBlock(double dLv)
    {
        for (auto f : {TraceFile::Ld, TraceFile::La, TraceFile::Ls, TraceFile::Lg}) trace_->line(f, "");
        auto& t = *trace_;
        constexpr auto M = TraceFile::Main;
        if (!curved_) {
            t.line(M, "Lw: " + list(E_, false));
            t.line(M, "dLc: " + F2(dLc_));
            t.line(M, "dLd: " + list(&BandTerms::dLd, false));
            t.line(M, "dLa: " + list(&BandTerms::dLa, false));
            t.line(M, "dLg: " + list(&BandTerms::dLg, false));
            t.line(M, "dLs: " + list(&BandTerms::dLs, false));
            t.line(M, "dLr: " + F2(ctx_.FacadeCorrection));
            t.line(M, "dLCv: " + F2(dLv));
            t.line(M, "Lp: " + list(Lp_, false));
            t.line(M, "LpSum: " + list(result.bandTotals, false));
            t.line(M, "LpTotal: " + F2(result.Leq));
        } else {
            t.line(M, "Lw0: " + list(E_, true));
            t.line(M, "dLc: " + G(dLc_));
            t.line(M, "dLd: " + list(&BandTerms::dLd, true));
            t.line(M, "dLs: " + list(&BandTerms::dLs, true));
            t.line(M, "dLg: " + list(&BandTerms::dLg, true));
            t.line(M, "dLr: " + G(ctx_.FacadeCorrection));
            t.line(M, "dLa: " + list(&BandTerms::dLa, true));
        }
        t.line(M, "");
    }

    const StretchTermData terms_;
    const Array1<double, 7>& E_;
    double dLc_;
    const StretchLevelContext& ctx_;
    TraceSink* trace_;
    bool totals_;
    bool curved_;
    int pass_ = 1;
    double prev_ = 0.0;
    double lastLen_ = std::numeric_limits<double>::quiet_NaN(), lenTerm_ = 0.0;
    Array1<BandTerms, 7> bands_{};
    Array1<double, 7> Lp_{};
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

// Straight stretch on one side of the normal, walked from the end nearer the normal.
void caseA(StretchWalk& w, const ProjectRecord& r, int s, int a1, int a2, double seg)
{
    const double D = r.perpDistance[s];
    const bool before = a2 <= 90;
    const double xs = RoundEven(D * std::tan(rad(before ? 90 - a2 : a1 - 90)));
    const double xe = RoundEven(D * std::tan(rad(before ? 90 - a1 : a2 - 90)));
    if (TraceSink* t = w.trace()) {
        const char* side = before ? "m före normalen" : "m efter normalen";
        positionHeader(t, "StartPosition: " + w.F2(xs) + side, "SlutPosition: " + w.F2(xe) + side);
        positionFooter(t);
    }
    SwitchState sw{r.switchesOn[s] == 1, static_cast<double>(r.switchStart[s]), false};

    // A stretch shorter than one segment is one point.
    const bool single = !(xe - xs >= seg);
    const double L = single ? xe - xs : seg;
    double off = 0.0, rem = 0.0;
    auto takeRemainder = [&] {
        if (seg / 2.0 + xs + off > xe) {
            rem = xe - (L / 2.0 + xs + off - seg);
            off = off - seg + rem;
        }
    };
    takeRemainder();
    w.startPass(1);
    for (;;) {
        const double x = xs + off;
        const double dLv = sw.term(x);
        const double len = L / 2.0 + xs + off < xe ? L : rem;
        if (w.point({x, std::sqrt(sqr(D) + sqr(x)), len, dLv, D, false, L}) || single) return;
        if (L / 2.0 + xs + off >= xe) return;
        off = off + seg;
        takeRemainder();
    }
}

// One pass of case B from its first segment outwards to xe.
struct PassB {
    double off = 0.0, L = 0.0, xe = 0.0;
    bool single = false;  // the pass is one point
};

void walkPassB(StretchWalk& w, const ProjectRecord& r, int s, int pass, PassB p, double seg, SwitchState& sw,
               bool switchActive)
{
    const double D = r.perpDistance[s];
    w.startPass(pass);
    for (;;) {
        const double x = p.off;
        const double dLv = switchActive ? sw.term(x) : 0.0;
        if (w.point({x, std::sqrt(sqr(D) + sqr(x)), p.L, dLv, D, true, p.L}) || p.single) return;
        if (p.L != seg && p.off != 0.0) return;
        if (p.L / 2.0 + p.off >= p.xe) return;
        if (p.L != seg) {
            // The first full segment after a shortened central one.
            p.off = seg / 2.0 + p.L / 2.0;
            p.L = seg;
        } else {
            p.off = p.off + seg;
        }
        if (seg / 2.0 + p.off > p.xe) {
            const double e = p.off - seg / 2.0;
            p.L = p.xe - e;
            p.off = e + p.L / 2.0;
        }
    }
}

// Pass 1 of case B: the a1 side with the central segment centred on the foot of the
// normal. Lc receives the central segment's length; coversSide2 tells that it already
// covers the a2 side, so that pass 2 is skipped.
PassB firstPassB(double D, int a1, int a2, double seg, double& Lc, bool& coversSide2)
{
    PassB p;
    p.L = seg;
    Lc = p.L;
    p.xe = D * std::tan(rad(90 - a1));
    const double T2 = D * std::tan(rad(a2 - 90));
    coversSide2 = false;
    if (T2 + p.xe < p.L) {  // the whole stretch is shorter than one segment
        if (a2 - 90 == 90 - a1) {
            p.L = T2 + p.xe;
            coversSide2 = p.single = true;
        } else if (a2 - 90 > 90 - a1) {
            p.L = Lc = 2.0 * p.xe;
        } else {
            p.L = 2.0 * T2;
            coversSide2 = true;
        }
    } else if (p.L / 2.0 > T2) {
        p.L = 2.0 * T2;
        coversSide2 = true;
    } else if (p.L / 2.0 > p.xe) {
        p.L = Lc = 2.0 * p.xe;
    }
    return p;
}

// Pass 2 of case B: the a2 side, from the edge of the central segment of length Lc.
PassB secondPassB(double D, int a2, double seg, double Lc)
{
    PassB p;
    p.L = seg;
    p.xe = D * std::tan(rad(a2 - 90));
    if (p.L / 2.0 < p.xe) {
        if (Lc / 2.0 + p.L > p.xe) {
            p.L = p.xe - Lc / 2.0;
            p.single = true;
        }
    } else {
        p.L = p.xe - Lc / 2.0;
    }
    p.off = Lc / 2.0 + p.L / 2.0;
    return p;
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
    auto active = [&](double xe) { return switchesOn && P >= 0.0 && P + 10.0 <= xe && !sw.done; };

    header();
    double Lc = seg;
    bool coversSide2 = false;
    const PassB first = firstPassB(D, a1, a2, seg, Lc, coversSide2);
    const bool firstActive = active(first.xe);
    walkPassB(w, r, s, 1, first, seg, sw, firstActive);
    if (coversSide2) return;

    if (firstActive) sw.done = true;
    header();
    const PassB second = secondPassB(D, a2, seg, Lc);
    walkPassB(w, r, s, 2, second, seg, sw, active(second.xe));
}

// The plan frame of a curved stretch with its origin at the arc's centre; convex arcs run
// towards increasing y.
struct ArcFrame {
    double theta = 0.0;  // central angle
    double S = 0.0;      // arc length
    double Ax = 0, Ay = 0, Bx = 0, By = 0, Mx = 0, My = 0;  // start, end, receiver
};

// Sets results.RadiusError when the radius is too small for the chord.
ArcFrame arcFrame(const ProjectRecord& r, int s, CalcResults& results)
{
    const int a1 = r.angleFrom[s], a2 = r.angleTo[s];
    const double r1 = r.startDistance[s], r2 = r.endDistance[s], Rc = r.radius[s];
    const bool convex = r.shape[s] == 1;
    ArcFrame f;
    double gamma = 0.0;  // angle at the start point between receiver and end point
    if (a2 == 180) {
        f.theta = kPi;
    } else {
        const double c = std::sqrt(sqr(r1) + sqr(r2) - 2.0 * r1 * r2 * std::cos(rad(a2 - a1)));
        if (2.0 * Rc < c) {
            results.RadiusError = true;
            return f;
        }
        f.theta = std::acos(unit((2.0 * sqr(Rc) - sqr(c)) / (2.0 * sqr(Rc))));
        gamma = c == 0.0 ? 0.0 : std::acos(unit((sqr(r1) + sqr(c) - sqr(r2)) / (2.0 * r1 * c)));
    }
    f.S = f.theta * Rc;
    f.Ax = -Rc;
    const int thetaDeg = RoundEven(f.theta * 180.0 / kPi);
    if (thetaDeg == 180) {
        f.Bx = Rc;
    } else if (thetaDeg == 90) {
        f.By = (convex ? 1.0 : -1.0) * Rc;
    } else {
        f.Bx = -Rc * std::cos(f.theta);
        f.By = convex ? Rc * std::sin(f.theta) : -Rc * std::sin(f.theta);
    }
    if (!(convex && gamma == 0.0)) {
        const double beta = convex ? gamma - (kPi - f.theta) / 2.0 : gamma + (kPi - f.theta) / 2.0;
        f.Mx = -Rc + r1 * std::cos(beta);
        f.My = -r1 * std::sin(beta);
    }
    return f;
}

// Curved stretch: an arc of radius Rc from the start point A to the end point B.
void caseC(StretchWalk& w, const ProjectRecord& r, int s, double seg, const StretchLevelContext& ctx,
           CalcResults& results)
{
    const ArcFrame f = arcFrame(r, s, results);
    if (results.RadiusError) {
        if (ctx.message) ctx.message(kRadiusErrorMessage);
        w.result.Leq = 0.0;
        return;
    }
    results.CurveStartX[s] = f.Ax;
    results.CurveStartY[s] = f.Ay;
    results.CurveEndX[s] = f.Bx;
    results.CurveEndY[s] = f.By;
    results.CurveReceiverX[s] = f.Mx;
    results.CurveReceiverY[s] = f.My;
    if (TraceSink* t = w.trace()) {
        positionHeader(t, "StartPosition: 0m", "SlutPosition: " + w.F2(f.S) + "m");
        t->line(TraceFile::Main, "Punkt 1 ( " + w.F2(f.Ax) + " , " + w.F2(f.Ay) + " )");
        t->line(TraceFile::Main, "Punkt 2 ( " + w.F2(f.Bx) + " , " + w.F2(f.By) + " )");
        t->line(TraceFile::Main, "Mottagare ( " + w.F2(f.Mx) + " , " + w.F2(f.My) + " )");
        positionFooter(t);
    }

    const double Rc = r.radius[s], r1 = r.startDistance[s];
    const bool convex = r.shape[s] == 1;
    const bool single = !(seg < f.S);  // an arc shorter than one segment is one point
    double L = single ? f.S : seg;
    double off = 0.0;
    w.startPass(1);
    for (;;) {
        const double u = f.S == 0.0 ? 0.0 : f.theta * (off + L / 2.0) / f.S;
        const double Px = -Rc * std::cos(u);
        const double Py = convex ? Rc * std::sin(u) : -Rc * std::sin(u);
        const double rho = std::sqrt(sqr(Px - f.Mx) + sqr(Py - f.My));
        if (w.point({off + L / 2.0, rho, L, 0.0, r1, false, L}) || single) return;
        if (off + L >= f.S) return;
        off = off + seg;
        if (off + seg > f.S) L = f.S - (off - seg + L);
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

StretchLevel StretchEquivalentLevel(const ProjectRecord& r, int s, const Array1<double, 7>& BandEmission, double dLc,
                                    const StretchLevelContext& ctx, CalcResults& results)
{
    const double seg = std::max(1, ctx.segmentLength);
    StretchWalk w(r, s, BandEmission, dLc, ctx);
    // Straight stretches take the ends of the angle range one degree in from the track's
    // direction, where the tangent stays finite.
    int a1 = r.angleFrom[s], a2 = r.angleTo[s];
    if (a1 == 0) a1 = 1;
    if (a2 == 180) a2 = 179;
    switch (stretchCaseOf(r, s)) {
    case StretchCase::A: caseA(w, r, s, a1, a2, seg); break;
    case StretchCase::B: caseB(w, r, s, a1, a2, seg); break;
    case StretchCase::C: caseC(w, r, s, seg, ctx, results); break;
    }
    return w.result;
}
