#include "calc/MaxLevel.h"

#include <cmath>
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

void StretchGeometry(const ElementContext& ctx, int s, long long L, SlotGeometry& g, bool& radiusInvalid,
                     bool placeOnArc)
{
    const ProjectRecord& r = *ctx.rec;
    radiusInvalid = false;
    g = SlotGeometry{};
    g.stretch = s;
    g.a1 = r.angleFrom[s];
    g.a2 = r.angleTo[s];
    g.shape = r.shape[s];
    g.curved = r.shape[s] != 0;
    const double d = r.perpDistance[s];
    const int a1 = g.a1, a2 = g.a2;

    if (!g.curved) {
        if (a2 <= 90) {  // wholly before the normal
            const int b1 = a1 == 0 ? 1 : a1;
            g.S = RoundEven(std::tan(degToRad(90.0 - b1)) * d);
            g.E = a2 == 90 ? 0 : RoundEven(std::tan(degToRad(90.0 - a2)) * d);
            // Ends that coincide give a stretch of 1 m instead of one without an inside.
            if (g.S == g.E) g.S = g.E + 1;
            g.startBefore = g.endBefore = true;
            g.length = g.S - g.E;
            g.confinedFrom = g.S;
            g.confinedTo = g.E;
            if (g.S - g.E > L) g.confinedFrom = g.E + L;
        } else if (a1 >= 90) {  // wholly after the normal
            g.S = a1 == 90 ? 0 : RoundEven(std::tan(degToRad(a1 - 90.0)) * d);
            const int b2 = a2 == 180 ? 179 : a2;
            g.E = RoundEven(std::tan(degToRad(b2 - 90.0)) * d);
            if (g.S == g.E) g.E = g.S + 1;
            g.startBefore = g.endBefore = false;
            g.length = g.E - g.S;
            g.confinedFrom = g.S;
            g.confinedTo = g.E;
            if (g.E - g.S > L) g.confinedTo = g.S + L;
        } else {  // across the normal
            g.across = true;
            const int b1 = a1 == 0 ? 1 : a1;
            const int b2 = a2 == 180 ? 179 : a2;
            g.S = RoundEven(std::tan(degToRad(90.0 - b1)) * d);
            g.E = RoundEven(std::tan(degToRad(b2 - 90.0)) * d);
            if (g.S == 0 && g.E == 0) g.S = g.E = 1;
            g.startBefore = true;
            g.endBefore = false;
            g.length = g.S + g.E;
            g.confinedFrom = g.S;
            g.confinedTo = g.E;
            if (g.S + g.E > L) {
                const long long h = L / 2;  // truncated
                if (g.S <= h) {
                    g.confinedTo = L - g.S;
                } else if (g.E >= h) {
                    g.confinedFrom = h;
                    g.confinedTo = L - h;
                } else {
                    g.confinedFrom = L - g.E;
                }
            }
        }
        return;
    }

    const double rs = r.startDistance[s];
    const double re = r.endDistance[s];
    const double R = r.radius[s];
    const double c = a2 == 180 ? rs + re : std::sqrt(rs * rs + re * re - 2.0 * rs * re * std::cos(degToRad(a2 - a1)));
    g.startBefore = g.endBefore = true;
    if (2.0 * R < c) {
        radiusInvalid = true;
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
    const double cw = std::sqrt(rs * rs + re * re - 2.0 * rs * re * std::cos(degToRad(a2)));
    g.walkTheta = clampedAcos((2.0 * R * R - cw * cw) / (2.0 * R * R));
    g.walkArc = g.walkTheta * R;
    if (placeOnArc && g.E > L) PlaceTrainOnArc(ctx, s, L, g.E, g.confinedFrom, g.confinedTo);
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

double WalkElements(const WalkContext& w, const TrackSlots& ts, const TrackPos& start, long long count,
                    int confineSlot)
{
    const ProjectRecord& r = *w.elem.rec;
    const bool pass3 = confineSlot > 0;
    const bool cached = w.cache && !w.elem.trace;
    int q = start.slot;
    double x0 = static_cast<double>(start.x);
    double f = 0.5;
    bool before = start.before;
    bool passed = false;
    double P = 0.0;
    // On a consistent track no walk takes more elements than this; past it only elements
    // of a runaway walk (inconsistent input) would follow.
    long long limit = 2 * ts.extent + 16;
    if (pass3) {
        const SlotGeometry& g = ts.g[confineSlot];
        limit = std::llabs(g.confinedFrom) + std::llabs(g.confinedTo) + 4;
    } else if (count < limit) {
        limit = count;
    }
    for (long long e = 0; e < limit; ++e) {
        if (q < 1 || q > ts.n) break;  // past the last slot the remaining elements are left out
        const SlotGeometry& g = ts.g[q];
        const int s = g.stretch;
        double x;
        double lvl;
        if (!g.curved) {
            x = before ? x0 - f : x0 + f;
            const int sw = ElementSwitchTerm(r, s, x, before, pass3 && !g.across, passed);
            lvl = cached ? w.cache->level(g, q, x, sw) : LevelAtPointStraight(w.elem, w.v, sw, s, true, *w.coef, x);
        } else {
            x = x0 + f;
            lvl = cached ? w.cache->level(g, q, x, 0)
                         : LevelAtPointCurved(w.elem, w.v, s, true, *w.coef, g.walkArc, g.walkTheta, x);
        }
        P = AddLevel(P, lvl);

        const double end = static_cast<double>(pass3 ? g.confinedTo : g.E);
        bool ended;
        if (g.curved) {
            ended = x >= end;
        } else if (g.across) {
            // The end lies after the normal; the walk only ends once it is on that side,
            // and turns there after the element centred 0.5 m before the normal.
            ended = !before && x + 0.5 >= end;
            if (before && (x == 0.5 || x0 == 0.0)) {
                before = false;
                x0 = 0.0;
                f = -0.5;
            }
        } else {
            ended = before ? x - 0.5 <= end : x + 0.5 >= end;
        }
        f += 1.0;
        if (ended) {
            if (pass3) break;
            ++q;
            if (q > ts.n) break;
            const SlotGeometry& gn = ts.g[q];
            x0 = static_cast<double>(gn.S);
            f = 0.5;
            before = !gn.curved && gn.a1 < 90;
            passed = false;
        }
    }
    return P;
}

double RunMaximumLevel(const ProjectRecord& r, CalcResults& res, const MaxRunHooks& hooks)
{
    TraceSink* tr = hooks.trace;
    res.StretchMaxLevel.fill(0.0f);
    res.StretchMaxLevelFullTrain.fill(0.0);
    res.TrackMaxLevel.fill(0.0);
    res.TrackMaxStretch.fill(0);
    res.TrackMaxAngle.fill(0);
    res.TrackMaxTrain.fill(0);
    res.SimultaneousMaxLevel = 0.0;

    const int stretchCount = r.stretchCount < 0 ? 0 : (r.stretchCount > kMaxStretches ? kMaxStretches : r.stretchCount);
    const int trainCount = r.trainCount < 0 ? 0 : (r.trainCount > kMaxTrains ? kMaxTrains : r.trainCount);
    int N = stretchCount > 0 ? r.track[stretchCount] : 0;
    if (N > kMaxTracks) N = kMaxTracks;

    ElementContext elem;
    elem.rec = &r;
    elem.frames = &res;
    elem.allSwedish = AllTrainsSwedish(r);
    elem.trace = nullptr;
    ElementCache cache;

    for (int k = 1; k <= N; ++k) {
        bool cacheReady = false;
        traceAll(tr, "***** SPÅR " + formatInt(k) + " *****");
        traceAll(tr, "");
        double trackFullMax = 0.0;
        res.TrackMaxTrain[k] = 0;
        res.TrackMaxStretch[k] = 0;
        res.TrackMaxAngle[k] = 0;
        float M = 0.0f;

        TrackSlots ts;
        for (int s = 1; s <= stretchCount; ++s)
            if (r.track[s] == k && r.orderInTrack[s] >= 1 && r.orderInTrack[s] <= 8) ts.order[r.orderInTrack[s]] = s;
        ts.n = CountOrderedStretches(ts.order);

        for (int t = 1; t <= trainCount; ++t) {
            double W = 0.0;
            if (tr) {
                traceMain(tr, "***** TÅG " + formatInt(t) + " *****");
                traceMain(tr, "Total tåglängd: " + formatInt(r.trainLengthPerDay[t]));
                traceMain(tr, "Tågets längd: " + formatInt(r.maxTrainLength[t]));
                traceMain(tr, "Hastighet: " + formatInt(r.speed[t]));
                traceMain(tr, "Tågtyp: " + formatInt(r.trainType[t]));
                traceMain(tr, "");
            }
            if (r.runs(t, k)) {
                const long long L = r.maxTrainLength[t];
                const int v = r.speed[t];
                const Coefficients& coef = GetTrainType(r.nationality[t], r.trainType[t]).EmissionCoefficients;
                elem.train = t;
                long long T = 0;
                bool lengthUnknown = false;
                for (int p = 1; p <= ts.n; ++p) {
                    const int s = ts.order[p];
                    if (tr) traceStretchHeading(tr, r, p, s);
                    bool invalid = false;
                    StretchGeometry(elem, s, L, ts.g[p], invalid, !res.RadiusError);
                    if (invalid) res.RadiusError = lengthUnknown = true;
                    if (ts.g[p].curved && res.RadiusError && hooks.message) hooks.message(kRadiusErrorMessage);
                    if (tr) traceStretchEnds(tr, ts.g[p]);
                    T += ts.g[p].length;
                }
                ComputeExtent(ts);
                // A stretch with an invalid radius has no length: the track's length is
                // unknown then, and the run is withheld anyway.
                if (T < L && !lengthUnknown) res.TrainLongerThanTrack = true;

                if (!res.RadiusError) {
                    if (!tr) {
                        if (!cacheReady) cache.beginTrack(ts);
                        cacheReady = true;
                        cache.beginTrain(elem, coef, v);
                    }
                    SweepContext sc;
                    sc.cache = tr ? nullptr : &cache;
                    sc.slots = &ts;
                    sc.elem = elem;
                    sc.coef = &coef;
                    sc.v = v;
                    WalkContext wc;
                    wc.elem = elem;
                    wc.elem.trace = tr;
                    wc.coef = &coef;
                    wc.v = v;
                    wc.cache = tr ? nullptr : &cache;

                    Array1<Placement, 8> full{}, shiftedPl{};
                    Array1<bool, 8> shifted{};

                    // Pass 1: placement.
                    for (int p = 1; p <= ts.n; ++p) {
                        const SlotGeometry& g = ts.g[p];
                        shifted[p] = false;
                        if (g.length < L) {
                            TrackPos rear{p, g.S, g.curved ? false : g.startBefore, g.shape};
                            TrackPos front{p, g.E, g.curved ? false : g.endBefore, g.shape};
                            full[p] = GrowTrainPlacement(sc, p, g.length, rear, front, L);
                        } else {
                            bool rb = false, fb = false;
                            flagsFromAngles(r, g.stretch, rb, fb);
                            const Placement confined{TrackPos{p, g.confinedFrom, rb, g.shape},
                                                     TrackPos{p, g.confinedTo, fb, g.shape}};
                            shiftedPl[p] = confined;
                            const SlideResult sl =
                                SlideShortTrain(sc, p, TrackPos{p, g.confinedFrom, g.startBefore, g.shape},
                                                TrackPos{p, g.confinedTo, g.endBefore, g.shape});
                            shiftedPl[p] = sl.placement;
                            shifted[p] = sl.shifted;
                            full[p] = confined;
                        }
                        tracePlacements(tr, ts, p, full[p], g);
                    }

                    // Pass 2: the full-length train.
                    traceAll(tr, "***** FULL TÅGLÄNGD *****");
                    for (int p = 1; p <= ts.n && full[p].has(); ++p) {
                        traceAll(tr, "***** STRÄCKA " + formatInt(p) + " *****");
                        traceAll(tr, "");
                        const double P = WalkElements(wc, ts, full[p].rear, L, 0);
                        if (W < P) W = P;
                        double& F = res.StretchMaxLevelFullTrain[ts.order[p]];
                        if (F < P) F = P;
                        if (F < 0.0) F = 0.0;
                    }
                    auto recordMiddle = [&](const Placement& pl) {
                        const TrackPos mid = TrainMiddle(ts, pl, L, L + T);
                        res.TrackMaxStretch[k] = static_cast<std::uint8_t>(ts.order[mid.slot]);
                        res.TrackMaxAngle[k] = TrackPositionAngle(r, ts, mid);
                    };
                    for (int p = 1; p <= ts.n && (full[p].has() || shiftedPl[p].has()); ++p) {
                        if (!shifted[p]) {
                            const double V = res.StretchMaxLevelFullTrain[ts.order[p]];
                            if (M < V) {
                                M = static_cast<float>(V);
                                recordMiddle(full[p]);
                            }
                        } else {
                            const double P = WalkElements(wc, ts, shiftedPl[p].rear, L, 0);
                            if (M < P) {
                                M = static_cast<float>(P);
                                recordMiddle(shiftedPl[p]);
                            }
                        }
                    }
                    if (tr) {
                        traceMain(tr, "Tågets maxvärde för:");
                        for (int p = 1; p <= ts.n; ++p)
                            traceMain(tr, "Sträcka " + formatInt(p) + ": " +
                                              F2(tr, res.StretchMaxLevelFullTrain[ts.order[p]]));
                        traceMain(tr, "Hela spåret: " + F2(tr, W));
                        traceMain(tr, "");
                    }

                    // Pass 3: the train kept inside each stretch.
                    traceAll(tr, "***** TÅGLÄNGD EJ LÄNGRE ÄN STRÄCKAN *****");
                    for (int p = 1; p <= ts.n; ++p) {
                        traceAll(tr, "***** STRÄCKA " + formatInt(p) + " *****");
                        traceAll(tr, "");
                        const SlotGeometry& g = ts.g[p];
                        const double P = WalkElements(wc, ts, TrackPos{p, g.confinedFrom, g.startBefore, g.shape},
                                                      0, p);
                        const double Rr = RoundToTenth(P);
                        float& X = res.StretchMaxLevel[ts.order[p]];
                        if (X < Rr) X = static_cast<float>(Rr);
                        if (X < 0.0f) X = 0.0f;
                    }
                    if (tr) {
                        traceMain(tr, "Tågets maxvärde för:");
                        double sum = 0.0;
                        for (int p = 1; p <= ts.n; ++p) {
                            const float X = res.StretchMaxLevel[ts.order[p]];
                            traceMain(tr, "Sträcka " + formatInt(p) + ": " + F2(tr, X));
                            sum = AddLevel(sum, X);
                        }
                        traceMain(tr, "Hela spåret: " + F2(tr, sum));
                        traceMain(tr, "");
                    }
                }
            }
            if (trackFullMax < W) {
                trackFullMax = W;
                res.TrackMaxTrain[k] = t;
            }
            if (hooks.progress)
                hooks.progress(50 + RoundEven(((k - 1) / static_cast<double>(N) +
                                               (t / static_cast<double>(trainCount)) / N) *
                                              50.0));
            if (res.TrackMaxLevel[k] < M) res.TrackMaxLevel[k] = M;
            if (res.TrackMaxLevel[k] < 0.0) res.TrackMaxLevel[k] = 0.0;
        }
        res.SimultaneousMaxLevel = AddLevel(res.SimultaneousMaxLevel, res.TrackMaxLevel[k]);
    }

    if (res.TrainLongerThanTrack && hooks.warning) hooks.warning(kTrainLongerThanTrackText);
    return res.SimultaneousMaxLevel;
}
