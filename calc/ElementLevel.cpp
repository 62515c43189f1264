#include "calc/ElementLevel.h"

#include <cmath>
#include <string>

#include "calc/Bands.h"
#include "calc/Format.h"
#include "calc/Terms.h"

bool AllTrainsSwedish(const ProjectRecord& r)
{
    const int n = r.trainCount < kMaxTrains ? r.trainCount : kMaxTrains;
    for (int t = 1; t <= n; ++t)
        if (r.nationality[t] != 1) return false;
    return true;
}

double ElementEmission(const EmissionPair& c, int v)
{
    const double vd = v;
    return c.A * Log10(vd / 100.0) + 10.0 * Log10(vd) + 43.8 + c.B;
}

Array1<double, 7> TrainEmission(const Coefficients& coef, int v)
{
    Array1<double, 7> e{};
    for (int b = 1; b <= 7; ++b) e[b] = ElementEmission(coef[b], v);
    return e;
}

namespace {

// Lw raised by the near-field correction: +3 dB at the track falling to 0 at 100 m, or
// +6 dB falling to 0 at 200 m for the Swedish types 4 and 8; only in all-Swedish projects.
double withNearField(bool allSwedish, bool type4Or8, double Lw, double r)
{
    if (!allSwedish) return Lw;
    if (!type4Or8) {
        if (r <= 100.0) return Lw + 3.0 - 3.0 * r / 100.0;
    } else if (r <= 200.0) {
        return Lw + 6.0 - 3.0 * r / 100.0;
    }
    return Lw;
}

bool type4Or8(const ElementContext& ctx) { return ctx.allSwedish && IsSwedishType4Or8(*ctx.rec, ctx.train); }

// Band level of the element from its emission and terms, in the order of the level formula.
double bandLevel(double Lw, double dLc, double dLd, double dLa, double dLs, double dLg, bool curved, int switchTerm,
                 int b)
{
    double Lp = Lw + dLc + dLd + dLa + dLs + dLg;
    if (!curved) Lp = Lp + switchTerm;
    return Lp + AWeighting[b];
}

const StretchTermData& termData(const ElementContext& ctx, int s, StretchTermData& local)
{
    if (ctx.terms) return (*ctx.terms)[s];
    local = TermDataOf(*ctx.rec, s);
    return local;
}

struct BandValues {
    Array1<double, 7> Lw{}, Lp{};
    Array1<BandTerms, 7> terms{};
};

void writeBands(TraceSink& tr, const char* label, const Array1<double, 7>& v)
{
    const char sep = tr.decimalSeparator();
    std::string s = label;
    for (int b = 1; b <= 7; ++b) {
        s += formatFixed(v[b], 2, sep);
        s += ' ';
    }
    s += ' ';
    tr.line(TraceFile::Main, s);
}

void writeBands(TraceSink& tr, const char* label, const BandValues& bv, double BandTerms::*term)
{
    Array1<double, 7> v{};
    for (int b = 1; b <= 7; ++b) v[b] = bv.terms[b].*term;
    writeBands(tr, label, v);
}

// The seven bands of one element with its trace: `tr` is the sink for this element, the
// screen term gets `screenTr`. Returns the A-weighted element level.
double tracedElementLevel(const ElementContext& ctx, int v, int switchTerm, bool curved, int s, TraceSink* tr,
                          TraceSink* screenTr, const Coefficients& coef, double r, float D, BandValues& out)
{
    const double dLc = BankCorrection(*ctx.rec, s);
    const bool nearType = type4Or8(ctx);
    StretchTermData local;
    const SourcePoint point(termData(ctx, s, local), r, D);
    double level = 0.0;
    for (int b = 1; b <= 7; ++b) {
        const std::string prefix = formatInt(b) + ": ";
        tr->write(TraceFile::Ld, prefix);
        tr->write(TraceFile::La, prefix);
        tr->line(TraceFile::Lg, prefix);
        if (screenTr) screenTr->line(TraceFile::Ls, prefix);
        out.terms[b] = point.terms(b, tr, screenTr);
        out.Lw[b] = withNearField(ctx.allSwedish, nearType, ElementEmission(coef[b], v), r);
        const BandTerms& t = out.terms[b];
        out.Lp[b] = bandLevel(out.Lw[b], dLc, t.dLd, t.dLa, t.dLs, t.dLg, curved, switchTerm, b);
        level = AddLevel(level, out.Lp[b]);
    }
    return level;
}

void traceHeader(TraceSink& tr, double x, double r)
{
    const char sep = tr.decimalSeparator();
    const std::string line = "Meter: " + formatFixed(x, 2, sep) + " avstånd: " + formatFixed(r, 2, sep);
    for (TraceFile f : {TraceFile::Main, TraceFile::Ld, TraceFile::La, TraceFile::Ls, TraceFile::Lg})
        tr.line(f, line);
}

void traceFooter(TraceSink& tr, const ElementContext& ctx, int s, int switchTerm, const BandValues& bv,
                 const char* totalLabel, double level)
{
    const char sep = tr.decimalSeparator();
    for (TraceFile f : {TraceFile::Ld, TraceFile::La, TraceFile::Ls, TraceFile::Lg}) tr.line(f, "");
    writeBands(tr, "Lw: ", bv.Lw);
    tr.line(TraceFile::Main, "dLc: " + formatFixed(BankCorrection(*ctx.rec, s), 2, sep));
    writeBands(tr, "dLd: ", bv, &BandTerms::dLd);
    writeBands(tr, "dLa: ", bv, &BandTerms::dLa);
    writeBands(tr, "dLg: ", bv, &BandTerms::dLg);
    writeBands(tr, "dLs: ", bv, &BandTerms::dLs);
    tr.line(TraceFile::Main, "dLr: " + formatFixed(ctx.frames ? ctx.frames->FacadeCorrection : 0.0, 2, sep));
    tr.line(TraceFile::Main, "dLCv: " + formatInt(switchTerm));
    writeBands(tr, "Lp: ", bv.Lp);
    tr.line(TraceFile::Main, std::string(totalLabel) + formatFixed(level, 2, sep));
    tr.line(TraceFile::Main, "");
}

}  // namespace

ElementTerms ElementPropagation(const ElementContext& ctx, int s, double r, float D)
{
    StretchTermData local;
    const SourcePoint point(termData(ctx, s, local), r, D);
    ElementTerms t;
    for (int b = 1; b <= 7; ++b) {
        const BandTerms bt = point.terms(b);
        t.dLd[b - 1] = bt.dLd;
        t.dLa[b - 1] = bt.dLa;
        t.dLs[b - 1] = bt.dLs;
        t.dLg[b - 1] = bt.dLg;
    }
    return t;
}

double ElementLevelFromTerms(const ElementContext& ctx, const Array1<double, 7>& emission, int switchTerm,
                             bool curved, int s, double r, const ElementTerms& t)
{
    const double dLc = BankCorrection(*ctx.rec, s);
    const bool nearType = type4Or8(ctx);
    double level = 0.0;
    for (int b = 1; b <= 7; ++b) {
        const double Lw = withNearField(ctx.allSwedish, nearType, emission[b], r);
        const int i = b - 1;
        level = AddLevel(level, bandLevel(Lw, dLc, t.dLd[i], t.dLa[i], t.dLs[i], t.dLg[i], curved, switchTerm, b));
    }
    return level;
}

double CurvedElementDistance(const ElementContext& ctx, int s, double arcLength, double theta, double x)
{
    const ProjectRecord& rec = *ctx.rec;
    if (x == 0.0) return rec.startDistance[s];
    const double R = rec.radius[s];
    double phi;
    if (arcLength != 0.0 && std::isfinite(theta))
        phi = x / arcLength * theta;
    else
        phi = x / R;
    const double X = -R * std::cos(phi);
    const double startY = ctx.frames ? ctx.frames->CurveStartY[s] : 0.0;
    const double Y = rec.shape[s] == 1 ? startY + R * std::sin(phi) : startY - R * std::sin(phi);
    const double mx = ctx.frames ? ctx.frames->CurveReceiverX[s] : 0.0;
    const double my = ctx.frames ? ctx.frames->CurveReceiverY[s] : 0.0;
    return std::sqrt((mx - X) * (mx - X) + (my - Y) * (my - Y));
}

double LevelAtPointStraight(const ElementContext& ctx, int v, int switchTerm, int s, bool traceFlag,
                            const Coefficients& coef, double x)
{
    const float d = ctx.rec->perpDistance[s];
    const double dd = d;
    const double r = std::sqrt(dd * dd + x * x);
    TraceSink* tr = traceFlag ? ctx.trace : nullptr;
    if (!tr) {
        const ElementTerms t = ElementPropagation(ctx, s, r, d);
        return ElementLevelFromTerms(ctx, TrainEmission(coef, v), switchTerm, false, s, r, t);
    }
    traceHeader(*tr, x, r);
    BandValues bv;
    const double level = tracedElementLevel(ctx, v, switchTerm, false, s, tr, tr, coef, r, d, bv);
    traceFooter(*tr, ctx, s, switchTerm, bv, "LpTotal minus?: ", level);
    return level;
}

double LevelAtPointCurved(const ElementContext& ctx, int v, int s, bool traceFlag, const Coefficients& coef,
                          double arcLength, double theta, double x)
{
    const double r = CurvedElementDistance(ctx, s, arcLength, theta, x);
    const float D = ctx.rec->startDistance[s];
    TraceSink* tr = traceFlag ? ctx.trace : nullptr;
    if (!tr) {
        const ElementTerms t = ElementPropagation(ctx, s, r, D);
        return ElementLevelFromTerms(ctx, TrainEmission(coef, v), 0, true, s, r, t);
    }
    traceHeader(*tr, x, r);
    BandValues bv;
    const double level = tracedElementLevel(ctx, v, 0, true, s, tr, nullptr, coef, r, D, bv);
    traceFooter(*tr, ctx, s, 0, bv, "LpTotal: ", level);
    return level;
}
