#include "calc/MaxLevel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <string>

#include "calc/Bands.h"
#include "calc/Format.h"
#include "calc/StretchLevel.h"
#include "calc/TrainTypes.h"

namespace {

const TraceFile kAllFiles[] = {TraceFile::Main, TraceFile::Ld, TraceFile::La, TraceFile::Ls, TraceFile::Lg};

void traceAll(TraceSink* tr, const std::string& text)
{
    if (!tr) return;
    for (TraceFile f : kAllFiles) tr->line(f, text);
}

void traceMain(TraceSink* tr, const std::string& text)
{
    if (tr) tr->line(TraceFile::Main, text);
}

std::string F2(TraceSink* tr, double v) { return formatFixed(v, 2, tr->decimalSeparator()); }
std::string G(TraceSink* tr, double v) { return formatGeneral(v, 15, tr->decimalSeparator()); }

const char* sideText(bool before) { return before ? "m före normalen" : "m efter normalen"; }

void traceStretchHeading(TraceSink* tr, const ProjectRecord& r, int p, int s)
{
    traceMain(tr, "***** STRÄCKA " + formatInt(p) + " *****");
    const int shape = r.shape[s];
    traceMain(tr, shape == 0 ? "Sträckform: Rak" : (shape == 1 ? "Sträckform: Konvex" : "Sträckform: Konkav"));
    traceMain(tr, "Vinkelområde: " + formatInt(r.angleFrom[s]) + "-" + formatInt(r.angleTo[s]));
    if (shape == 0) {
        traceMain(tr, "Vinkelrätt mottagaravstånd: " + G(tr, r.perpDistance[s]));
    } else {
        traceMain(tr, "Mottagaravstånd startpunkt: " + G(tr, r.startDistance[s]));
        traceMain(tr, "Mottagaravstånd slutpunkt: " + G(tr, r.endDistance[s]));
        traceMain(tr, "Radie: " + G(tr, r.radius[s]));
    }
    traceMain(tr, "Marktyp källdel: " + G(tr, r.groundSource[s]));
    traceMain(tr, "Marktyp mottagardel: " + G(tr, r.groundReceiver[s]));
    traceMain(tr, "Marktyp mellandel: " + G(tr, r.groundMiddle[s]));
    switch (r.bankCorrection[s]) {
    case 1: traceMain(tr, "Bankorrektion: Räl med skarv (3dB)"); break;
    case 2: traceMain(tr, "Bankorrektion: Bro utan ballast (6dB)"); break;
    case 3: traceMain(tr, "Bankorrektion: Bro med ballast (3dB)"); break;
    default: traceMain(tr, "Bankorrektion: Nej"); break;
    }
    traceMain(tr, "Fasadreflektion: " + formatInt(r.facadeReflectionOn));
}

void traceStretchEnds(TraceSink* tr, const SlotGeometry& g)
{
    if (!g.curved) {
        traceMain(tr, "Sträckan börjar " + formatInt(g.S) + sideText(g.startBefore));
        traceMain(tr, "Sträckan slutar " + formatInt(g.E) + sideText(g.endBefore));
    } else {
        traceMain(tr, "Sträckan börjar vid 0m ");
        traceMain(tr, "Sträckan slutar vid " + formatInt(g.E) + "m");
    }
    traceMain(tr, "");
}

std::string positionText(const TrackSlots& ts, const TrackPos& p)
{
    if (p.slot >= 1 && p.slot <= ts.n && ts.g[p.slot].curved) return formatInt(p.x) + "m";
    return formatInt(p.x) + sideText(p.before);
}

void tracePlacements(TraceSink* tr, const TrackSlots& ts, int p, const Placement& full, const SlotGeometry& g)
{
    if (!tr) return;
    traceMain(tr, "***** STRÄCKA " + formatInt(p) + " (full tåglängd) *****");
    traceMain(tr, "Start sträcka " + formatInt(full.rear.slot));
    traceMain(tr, "Start position: " + positionText(ts, full.rear));
    traceMain(tr, "Stopp sträcka " + formatInt(full.front.slot));
    traceMain(tr, "Stopp position: " + positionText(ts, full.front));
    traceMain(tr, "***** STRÄCKA " + formatInt(p) + " (tåglängd ej längre än sträckan) *****");
    traceMain(tr, "Start position: " + positionText(ts, TrackPos{p, g.confinedFrom, g.startBefore, g.shape}));
    traceMain(tr, "Stopp position: " + positionText(ts, TrackPos{p, g.confinedTo, g.endBefore, g.shape}));
    traceMain(tr, std::string(72, '*'));
}

// Side flags of a stretch from its angles (curved stretches included).
void flagsFromAngles(const ProjectRecord& r, int s, bool& rearBefore, bool& frontBefore)
{
    if (r.angleTo[s] <= 90) {
        rearBefore = frontBefore = true;
    } else if (r.angleFrom[s] < 90) {
        rearBefore = true;
        frontBefore = false;
    } else {
        rearBefore = frontBefore = false;
    }
}

}  // namespace

namespace {
// Straight stretch wholly before the normal (a2 ≤ 90): positions fall towards the normal.
void geometryBefore(SlotGeometry& g, double d, long long trainLength)
{
    const int b1 = g.a1 == 0 ? 1 : g.a1;
    g.S = RoundEven(std::tan(degToRad(90.0 - b1)) * d);
    g.E = g.a2 == 90 ? 0 : RoundEven(std::tan(degToRad(90.0 - g.a2)) * d);
    // Ends that coincide give a stretch of 1 m instead of one without an inside.
    if (g.S == g.E) g.S = g.E + 1;
    g.startBefore = g.endBefore = true;
    g.length = g.S - g.E;
    g.confinedFrom = g.S;
    g.confinedTo = g.E;
    if (g.S - g.E > trainLength) g.confinedFrom = g.E + trainLength;
}

// Straight stretch wholly after the normal (a1 ≥ 90): positions rise away from it.
void geometryAfter(SlotGeometry& g, double d, long long trainLength)
{
    g.S = g.a1 == 90 ? 0 : RoundEven(std::tan(degToRad(g.a1 - 90.0)) * d);
    const int b2 = g.a2 == 180 ? 179 : g.a2;
    g.E = RoundEven(std::tan(degToRad(b2 - 90.0)) * d);
    if (g.S == g.E) g.E = g.S + 1;
    g.startBefore = g.endBefore = false;
    g.length = g.E - g.S;
    g.confinedFrom = g.S;
    g.confinedTo = g.E;
    if (g.E - g.S > trainLength) g.confinedTo = g.S + trainLength;
}

// Straight stretch across the normal: a train kept inside it straddles the normal, From
// metres before and To metres after it.
void geometryAcross(SlotGeometry& g, double d, long long trainLength)
{
    g.across = true;
    const int b1 = g.a1 == 0 ? 1 : g.a1;
    const int b2 = g.a2 == 180 ? 179 : g.a2;
    g.S = RoundEven(std::tan(degToRad(90.0 - b1)) * d);
    g.E = RoundEven(std::tan(degToRad(b2 - 90.0)) * d);
    if (g.S == 0 && g.E == 0) g.S = g.E = 1;
    g.startBefore = true;
    g.endBefore = false;
    g.length = g.S + g.E;
    g.confinedFrom = g.S;
    g.confinedTo = g.E;
    if (g.S + g.E <= trainLength) return;
    const long long h = trainLength / 2;  // truncated
    if (g.S <= h) {
        g.confinedTo = trainLength - g.S;
    } else if (g.E >= h) {
        g.confinedFrom = h;
        g.confinedTo = trainLength - h;
    } else {
        g.confinedFrom = trainLength - g.E;
    }
}

// Curved stretch: arc positions from 0 to its whole metres; the train is seeded at the point
// nearest the receiver when it is shorter than the arc.
void geometryCurved(const ElementContext& ctx, int s, SlotGeometry& g, long long trainLength, bool placeOnArc)
{
    const ProjectRecord& r = *ctx.rec;
    const double rs = r.startDistance[s];
    const double re = r.endDistance[s];
    const double R = r.radius[s];
    const double c =
        g.a2 == 180 ? rs + re : std::sqrt(rs * rs + re * re - 2.0 * rs * re * std::cos(degToRad(g.a2 - g.a1)));
    g.startBefore = g.endBefore = true;
    if (2.0 * R < c) {
        g.radiusInvalid = true;
        return;
    }
    const double theta = clampedAcos((2.0 * R * R - c * c) / (2.0 * R * R));
    g.S = 0;
    g.arcLength = radToDeg(theta) / 360.0 * 2.0 * kPi * R;
    g.E = CheckedTrunc(g.arcLength);
    if (g.E == 0) g.E = 1;
    g.length = g.E;
    g.confinedFrom = 0;
    g.confinedTo = g.E;
    // The element levels use the central angle of the chord from cos(angleTo).
    const double cw = std::sqrt(rs * rs + re * re - 2.0 * rs * re * std::cos(degToRad(g.a2)));
    g.walkTheta = clampedAcos((2.0 * R * R - cw * cw) / (2.0 * R * R));
    g.walkArc = g.walkTheta * R;
    if (placeOnArc && g.E > trainLength) {
        const ArcPlacement seeded = PlaceTrainOnArc(ctx, s, trainLength, g.E);
        g.confinedFrom = seeded.rear;
        g.confinedTo = seeded.front;
    }
}
}  // namespace

SlotGeometry StretchGeometry(const ElementContext& ctx, int s, long long trainLength, bool placeOnArc)
{
    const ProjectRecord& r = *ctx.rec;
    SlotGeometry g;
    g.stretch = s;
    g.a1 = r.angleFrom[s];
    g.a2 = r.angleTo[s];
    g.shape = r.shape[s];
    g.curved = r.shape[s] != 0;
    const double d = r.perpDistance[s];
    if (g.curved)
        geometryCurved(ctx, s, g, trainLength, placeOnArc);
    else if (g.a2 <= 90)
        geometryBefore(g, d, trainLength);
    else if (g.a1 >= 90)
        geometryAfter(g, d, trainLength);
    else
        geometryAcross(g, d, trainLength);
    return g;
}

double RoundToTenth(double P) { return RoundEven(P * 10.0) / 10.0; }

int ElementSwitchTerm(const ProjectRecord& r, int s, double x, bool before, bool plain, bool& passed)
{
    if (r.switchesOn[s] != 1) return 0;
    const double sw = r.switchStart[s];
    const double lo = x - 0.5;
    const double hi = x + 0.5;
    if (plain) return (sw <= lo && hi <= sw + 10.0) ? 6 : 0;
    if (passed) return 0;
    if (before) {  // walking towards the normal
        if (hi <= sw + 10.0) {
            if (lo >= sw) {
                if (lo == sw) passed = true;
                return 6;
            }
            passed = true;
        }
        return 0;
    }
    if (lo >= sw) {  // walking away from the normal
        if (hi <= sw + 10.0) {
            if (hi == sw + 10.0) passed = true;
            return 6;
        }
        passed = true;
    }
    return 0;
}

namespace {
// The state of one element walk: slot, base position, offset of the element centre, side
// of the normal and whether the stretch's switch zone has been passed.
struct Walker {
    int q;
    double x0;
    double f = 0.5;
    bool before;
    bool passed = false;
};

// Level and energy of the element centred at x of the walker's slot.
ElementCache::LevelEnergy elementAt(const WalkContext& w, const SlotGeometry& g, int q, double x, int sw)
{
    if (w.cache && !w.elem.trace) return w.cache->levelEnergy(g, q, x, sw);
    const double lvl = g.curved ? LevelAtPointCurved(w.elem, w.v, g.stretch, true, *w.coef, g.walkArc, g.walkTheta, x)
                                : LevelAtPointStraight(w.elem, w.v, sw, g.stretch, true, *w.coef, x);
    return {lvl, Pow10(lvl / 10.0)};
}

// Whether the element at x ends its stretch (against `end`); a walk across the normal turns
// there after the element centred 0.5 m before it.
bool endsStretch(const SlotGeometry& g, Walker& k, double x, double end)
{
    if (g.curved) return x >= end;
    if (!g.across) return k.before ? x - 0.5 <= end : x + 0.5 >= end;
    const bool ended = !k.before && x + 0.5 >= end;
    if (k.before && (x == 0.5 || k.x0 == 0.0)) {
        k.before = false;
        k.x0 = 0.0;
        k.f = -0.5;
    }
    return ended;
}

// Elements a walk may take: on a consistent track no walk takes more, past it only elements
// of a runaway walk (inconsistent input) would follow.
long long walkLimit(const TrackSlots& ts, long long count, int confineSlot)
{
    if (confineSlot > 0) {
        const SlotGeometry& g = ts.g[confineSlot];
        return std::llabs(g.confinedFrom) + std::llabs(g.confinedTo) + 4;
    }
    const long long limit = 2 * ts.extent + 16;
    return count < limit ? count : limit;
}
}  // namespace

double WalkElements(const WalkContext& w, const TrackSlots& ts, const TrackPos& start, long long count,
                    int confineSlot)
{
    const ProjectRecord& r = *w.elem.rec;
    const bool pass3 = confineSlot > 0;
    Walker k{start.slot, static_cast<double>(start.x), 0.5, start.before};
    double P = 0.0;
    const long long limit = walkLimit(ts, count, confineSlot);
    for (long long e = 0; e < limit; ++e) {
        if (k.q < 1 || k.q > ts.n) break;  // past the last slot the remaining elements are left out
        const SlotGeometry& g = ts.g[k.q];
        const double x = g.curved || !k.before ? k.x0 + k.f : k.x0 - k.f;
        const int sw = g.curved ? 0 : ElementSwitchTerm(r, g.stretch, x, k.before, pass3 && !g.across, k.passed);
        const ElementCache::LevelEnergy el = elementAt(w, g, k.q, x, sw);
        P = AddLevelEnergy(P, el.level, el.energy);
        const bool ended = endsStretch(g, k, x, static_cast<double>(pass3 ? g.confinedTo : g.E));
        k.f += 1.0;
        if (!ended) continue;
        if (pass3 || ++k.q > ts.n) break;
        const SlotGeometry& next = ts.g[k.q];
        k = Walker{k.q, static_cast<double>(next.S), 0.5, !next.curved && next.a1 < 90};
    }
    return P;
}

namespace {
// One track of the run: its slots and the running values of its train passes.
struct TrackRun {
    const ProjectRecord& r;
    CalcResults& res;
    const MaxRunHooks& hooks;
    ElementContext elem;
    ElementCache& cache;
    int k;
    TrackSlots ts;
    float M = 0.0f;  // running track maximum over all trains
    bool cacheReady = false;
};

void traceTrainHeading(TraceSink* tr, const ProjectRecord& r, int t)
{
    if (!tr) return;
    traceMain(tr, "***** TÅG " + formatInt(t) + " *****");
    traceMain(tr, "Total tåglängd: " + formatInt(r.trainLengthPerDay[t]));
    traceMain(tr, "Tågets längd: " + formatInt(r.maxTrainLength[t]));
    traceMain(tr, "Hastighet: " + formatInt(r.speed[t]));
    traceMain(tr, "Tågtyp: " + formatInt(r.trainType[t]));
    traceMain(tr, "");
}

// The slots' geometry for a train of trainLength metres; returns the track length. Sets
// TrainLongerThanTrack, and RadiusError for an invalid radius.
long long slotGeometry(TrackRun& run, long long trainLength)
{
    TraceSink* tr = run.hooks.trace;
    long long trackLength = 0;
    bool lengthUnknown = false;
    for (int p = 1; p <= run.ts.n; ++p) {
        const int s = run.ts.order[p];
        if (tr) traceStretchHeading(tr, run.r, p, s);
        run.ts.g[p] = StretchGeometry(run.elem, s, trainLength, !run.res.RadiusError);
        if (run.ts.g[p].radiusInvalid) run.res.RadiusError = lengthUnknown = true;
        if (run.ts.g[p].curved && run.res.RadiusError && run.hooks.message) run.hooks.message(kRadiusErrorMessage);
        if (tr) traceStretchEnds(tr, run.ts.g[p]);
        trackLength += run.ts.g[p].length;
    }
    ComputeExtent(run.ts);
    // A stretch with an invalid radius has no length: the track's length is unknown then,
    // and the run is withheld anyway.
    if (trackLength < trainLength && !lengthUnknown) run.res.TrainLongerThanTrack = true;
    return trackLength;
}

struct TrainPlacements {
    Array1<Placement, 8> full{}, shifted{};
    Array1<bool, 8> isShifted{};
};

// Pass 1: where the full-length train stands from each slot, and where a train shorter than
// its stretch is slid to.
TrainPlacements placeTrain(const TrackRun& run, const SweepContext& sc, long long trainLength)
{
    const TrackSlots& ts = run.ts;
    TrainPlacements pl;
    for (int p = 1; p <= ts.n; ++p) {
        const SlotGeometry& g = ts.g[p];
        if (g.length < trainLength) {
            const TrackPos rear{p, g.S, g.curved ? false : g.startBefore, g.shape};
            const TrackPos front{p, g.E, g.curved ? false : g.endBefore, g.shape};
            pl.full[p] = GrowTrainPlacement(sc, p, g.length, rear, front, trainLength);
        } else {
            bool rb = false, fb = false;
            flagsFromAngles(run.r, g.stretch, rb, fb);
            pl.full[p] = Placement{TrackPos{p, g.confinedFrom, rb, g.shape}, TrackPos{p, g.confinedTo, fb, g.shape}};
            const SlideResult sl = SlideShortTrain(sc, p, TrackPos{p, g.confinedFrom, g.startBefore, g.shape},
                                                   TrackPos{p, g.confinedTo, g.endBefore, g.shape});
            pl.shifted[p] = sl.placement;
            pl.isShifted[p] = sl.shifted;
        }
        tracePlacements(run.hooks.trace, ts, p, pl.full[p], g);
    }
    return pl;
}

// Energy sums of full-length walks from a rear position. A walk is a pure function of its
// start for the running train, so an equal start gives the sum already found (not while
// tracing, which must see every walk).
class FullWalks {
public:
    FullWalks(const WalkContext& wc, const TrackSlots& ts, long long trainLength)
        : wc_(wc), ts_(ts), trainLength_(trainLength)
    {
    }
    double from(const TrackPos& rear)
    {
        if (!wc_.elem.trace)
            for (int i = 0; i < count_; ++i)
                if (known_[i].first == rear) return known_[i].second;
        const double P = WalkElements(wc_, ts_, rear, trainLength_, 0);
        if (count_ < static_cast<int>(known_.size())) known_[count_++] = {rear, P};
        return P;
    }

private:
    const WalkContext& wc_;
    const TrackSlots& ts_;
    long long trainLength_;
    std::array<std::pair<TrackPos, double>, 16> known_{};
    int count_ = 0;
};

// Pass 2: the full-length train from each slot; returns the whole-track maximum W.
double fullTrainPass(TrackRun& run, FullWalks& walks, const TrainPlacements& pl, long long trainLength,
                     long long trackLength)
{
    TraceSink* tr = run.hooks.trace;
    const TrackSlots& ts = run.ts;
    double W = 0.0;
    traceAll(tr, "***** FULL TÅGLÄNGD *****");
    for (int p = 1; p <= ts.n && pl.full[p].has(); ++p) {
        traceAll(tr, "***** STRÄCKA " + formatInt(p) + " *****");
        traceAll(tr, "");
        const double P = walks.from(pl.full[p].rear);
        if (W < P) W = P;
        double& F = run.res.StretchMaxLevelFullTrain[ts.order[p]];
        if (F < P) F = P;
        if (F < 0.0) F = 0.0;
    }
    auto recordMiddle = [&](const Placement& placement) {
        const TrackPos mid = TrainMiddle(ts, placement, trainLength, trainLength + trackLength);
        run.res.TrackMaxStretch[run.k] = static_cast<std::uint8_t>(ts.order[mid.slot]);
        run.res.TrackMaxAngle[run.k] = TrackPositionAngle(run.r, ts, mid);
    };
    for (int p = 1; p <= ts.n && (pl.full[p].has() || pl.shifted[p].has()); ++p) {
        const double P =
            pl.isShifted[p] ? walks.from(pl.shifted[p].rear) : run.res.StretchMaxLevelFullTrain[ts.order[p]];
        if (run.M < P) {
            run.M = static_cast<float>(P);
            recordMiddle(pl.isShifted[p] ? pl.shifted[p] : pl.full[p]);
        }
    }
    if (tr) {
        traceMain(tr, "Tågets maxvärde för:");
        for (int p = 1; p <= ts.n; ++p)
            traceMain(tr, "Sträcka " + formatInt(p) + ": " + F2(tr, run.res.StretchMaxLevelFullTrain[ts.order[p]]));
        traceMain(tr, "Hela spåret: " + F2(tr, W));
        traceMain(tr, "");
    }
    return W;
}

// Pass 3: the train kept inside each stretch.
void confinedPass(TrackRun& run, const WalkContext& wc)
{
    TraceSink* tr = run.hooks.trace;
    const TrackSlots& ts = run.ts;
    traceAll(tr, "***** TÅGLÄNGD EJ LÄNGRE ÄN STRÄCKAN *****");
    for (int p = 1; p <= ts.n; ++p) {
        traceAll(tr, "***** STRÄCKA " + formatInt(p) + " *****");
        traceAll(tr, "");
        const SlotGeometry& g = ts.g[p];
        const double P = WalkElements(wc, ts, TrackPos{p, g.confinedFrom, g.startBefore, g.shape}, 0, p);
        const double rounded = RoundToTenth(P);
        float& X = run.res.StretchMaxLevel[ts.order[p]];
        if (X < rounded) X = static_cast<float>(rounded);
        if (X < 0.0f) X = 0.0f;
    }
    if (!tr) return;
    traceMain(tr, "Tågets maxvärde för:");
    double sum = 0.0;
    for (int p = 1; p <= ts.n; ++p) {
        const float X = run.res.StretchMaxLevel[ts.order[p]];
        traceMain(tr, "Sträcka " + formatInt(p) + ": " + F2(tr, X));
        sum = AddLevel(sum, X);
    }
    traceMain(tr, "Hela spåret: " + F2(tr, sum));
    traceMain(tr, "");
}

// One train on the track: geometry, placement and the three passes. Returns the
// whole-track maximum W of the full-length train (0 when it does not run here).
double trainPass(TrackRun& run, int t)
{
    const ProjectRecord& r = run.r;
    TraceSink* tr = run.hooks.trace;
    traceTrainHeading(tr, r, t);
    if (!r.runs(t, run.k)) return 0.0;
    const long long trainLength = r.maxTrainLength[t];
    const int v = r.speed[t];
    const Coefficients& coef = GetTrainType(r.nationality[t], r.trainType[t]).EmissionCoefficients;
    run.elem.train = t;
    const long long trackLength = slotGeometry(run, trainLength);
    if (run.res.RadiusError) return 0.0;

    ElementCache* cache = tr ? nullptr : &run.cache;
    if (cache) {
        if (!run.cacheReady) cache->beginTrack(run.ts);
        run.cacheReady = true;
        cache->beginTrain(run.elem, coef, v);
    }
    SweepContext sc;
    sc.cache = cache;
    sc.slots = &run.ts;
    sc.elem = run.elem;
    sc.coef = &coef;
    sc.v = v;
    WalkContext wc{run.elem, &coef, v, cache};
    wc.elem.trace = tr;

    const TrainPlacements pl = placeTrain(run, sc, trainLength);
    FullWalks walks(wc, run.ts, trainLength);
    const double W = fullTrainPass(run, walks, pl, trainLength, trackLength);
    confinedPass(run, wc);
    return W;
}

// The stretches of track k in their order.
TrackSlots trackSlots(const ProjectRecord& r, int k, int stretchCount)
{
    TrackSlots ts;
    for (int s = 1; s <= stretchCount; ++s)
        if (r.track[s] == k && r.orderInTrack[s] >= 1 && r.orderInTrack[s] <= 8) ts.order[r.orderInTrack[s]] = s;
    ts.n = CountOrderedStretches(ts.order);
    return ts;
}

// Every train on track k; the track's maxima.
void trackPass(TrackRun& run, int N, int trainCount)
{
    CalcResults& res = run.res;
    const int k = run.k;
    traceAll(run.hooks.trace, "***** SPÅR " + formatInt(k) + " *****");
    traceAll(run.hooks.trace, "");
    double trackFullMax = 0.0;
    res.TrackMaxTrain[k] = 0;
    res.TrackMaxStretch[k] = 0;
    res.TrackMaxAngle[k] = 0;
    for (int t = 1; t <= trainCount; ++t) {
        const double W = trainPass(run, t);
        if (trackFullMax < W) {
            trackFullMax = W;
            res.TrackMaxTrain[k] = t;
        }
        if (run.hooks.progress)
            run.hooks.progress(50 + RoundEven(((k - 1) / static_cast<double>(N) +
                                               (t / static_cast<double>(trainCount)) / N) *
                                              50.0));
        if (res.TrackMaxLevel[k] < run.M) res.TrackMaxLevel[k] = run.M;
        if (res.TrackMaxLevel[k] < 0.0) res.TrackMaxLevel[k] = 0.0;
    }
    res.SimultaneousMaxLevel = AddLevel(res.SimultaneousMaxLevel, res.TrackMaxLevel[k]);
}
}  // namespace

double RunMaximumLevel(const ProjectRecord& r, CalcResults& res, const MaxRunHooks& hooks)
{
    res.StretchMaxLevel.fill(0.0f);
    res.StretchMaxLevelFullTrain.fill(0.0);
    res.TrackMaxLevel.fill(0.0);
    res.TrackMaxStretch.fill(0);
    res.TrackMaxAngle.fill(0);
    res.TrackMaxTrain.fill(0);
    res.SimultaneousMaxLevel = 0.0;

    const int stretchCount = std::clamp(r.stretchCount, 0, kMaxStretches);
    const int trainCount = std::clamp(r.trainCount, 0, kMaxTrains);
    const int N = stretchCount > 0 ? std::min(r.track[stretchCount], kMaxTracks) : 0;

    Array1<StretchTermData, 8> terms;
    for (int s = 1; s <= kMaxStretches; ++s) terms[s] = TermDataOf(r, s);
    ElementContext elem;
    elem.rec = &r;
    elem.frames = &res;
    elem.allSwedish = AllTrainsSwedish(r);
    elem.terms = &terms;
    ElementCache cache;
    for (int k = 1; k <= N; ++k) {
        TrackRun run{r, res, hooks, elem, cache, k, trackSlots(r, k, stretchCount)};
        trackPass(run, N, trainCount);
    }
    if (res.TrainLongerThanTrack && hooks.warning) hooks.warning(kTrainLongerThanTrackText);
    return res.SimultaneousMaxLevel;
}
