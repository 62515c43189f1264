#include "calc/TrainSweep.h"

#include <cmath>
#include <cstdlib>

#include "calc/Bands.h"

int CountOrderedStretches(const Array1<int, 8>& order)
{
    int n = 0;
    while (n < 8 && order[n + 1] != 0) ++n;
    return n;
}

void ComputeExtent(TrackSlots& ts)
{
    long long e = 0;
    for (int q = 1; q <= ts.n; ++q) e += std::llabs(ts.g[q].S) + std::llabs(ts.g[q].E) + 2;
    ts.extent = e;
}

bool AtStretchStart(const TrackSlots& ts, const TrackPos& p)
{
    const SlotGeometry& g = ts.g[p.slot];
    return p.x == g.S && (g.curved || p.x == 0 || p.before == g.startBefore);
}

bool AtStretchEnd(const TrackSlots& ts, const TrackPos& p)
{
    const SlotGeometry& g = ts.g[p.slot];
    return p.x == g.E && (g.curved || p.x == 0 || p.before == g.endBefore);
}

TrackPos SlotStart(const TrackSlots& ts, int q)
{
    const SlotGeometry& g = ts.g[q];
    return TrackPos{q, g.S, g.startBefore, g.shape};
}

TrackPos SlotEnd(const TrackSlots& ts, int q)
{
    const SlotGeometry& g = ts.g[q];
    return TrackPos{q, g.E, g.endBefore, g.shape};
}

void StepInsideForward(const SlotGeometry& g, TrackPos& p)
{
    if (g.curved) {
        p.x += 1;
    } else if (g.a2 <= 90) {
        p.x -= 1;
    } else if (g.a1 >= 90 || !p.before) {
        p.x += 1;
    } else if (p.x == 0) {
        p.before = false;  // the normal is crossed
        p.x += 1;
    } else {
        p.x -= 1;
    }
}

void StepInsideBackward(const SlotGeometry& g, TrackPos& p)
{
    if (g.curved) {
        p.x -= 1;
    } else if (g.a2 <= 90) {
        p.x += 1;
    } else if (g.a1 >= 90) {
        p.x -= 1;
    } else if (p.before) {
        p.x += 1;
    } else if (p.x == 0) {
        p.before = true;
        p.x += 1;
    } else {
        p.x -= 1;
    }
}

void StepForward(const TrackSlots& ts, TrackPos& p)
{
    if (p.slot < ts.n && AtStretchEnd(ts, p)) {
        const int q = p.slot + 1;
        const SlotGeometry& g = ts.g[q];
        p.slot = q;
        p.shape = g.shape;
        p.x = g.S;
        if (g.curved) {
            p.x += 1;
            p.before = false;
            return;
        }
        p.before = g.startBefore;
        StepInsideForward(g, p);
        return;
    }
    StepInsideForward(ts.g[p.slot], p);
}

void StepBackward(const TrackSlots& ts, TrackPos& p)
{
    if (p.slot > 1 && AtStretchStart(ts, p)) {
        const int q = p.slot - 1;
        const SlotGeometry& g = ts.g[q];
        p.slot = q;
        p.shape = g.shape;
        p.x = g.E;
        if (g.curved) {
            p.x -= 1;
            p.before = false;
            return;
        }
        p.before = g.endBefore;
        StepInsideBackward(g, p);
        return;
    }
    StepInsideBackward(ts.g[p.slot], p);
}

void ElementCache::beginTrack(const TrackSlots& ts)
{
    pool_.clear();
    pool_.reserve(4096);
    for (int q = 1; q <= 8; ++q) {
        SlotTable& t = slots_[q];
        t.size = 0;
        t.e.reset();
        if (q > ts.n) continue;
        const SlotGeometry& g = ts.g[q];
        const long long far = std::llabs(g.S) > std::llabs(g.E) ? std::llabs(g.S) : std::llabs(g.E);
        const long long size = 2 * (far + 2) + 1;
        if (size > (1LL << 22)) continue;  // beyond some 2000 km: computed without the table
        t.e.reset(static_cast<Entry*>(std::calloc(static_cast<std::size_t>(size), sizeof(Entry))));
        if (t.e) t.size = size;
    }
}

void ElementCache::beginTrain(const ElementContext& ctx, const Coefficients& coef, int v)
{
    ctx_ = ctx;
    ctx_.trace = nullptr;
    coef_ = &coef;
    v_ = v;
    emission_ = TrainEmission(coef, v);
    ++gen_;  // levels of earlier trains no longer count
}

double ElementCache::direct(const SlotGeometry& g, double x, int switchTerm) const
{
    if (g.curved) return LevelAtPointCurved(ctx_, v_, g.stretch, false, *coef_, g.walkArc, g.walkTheta, x);
    return LevelAtPointStraight(ctx_, v_, switchTerm, g.stretch, false, *coef_, x);
}

// The table entry of position x, or null when x has none (not on the half-metre grid,
// outside the table, an unknown switch term).
ElementCache::Entry* ElementCache::entry(const SlotGeometry& g, int q, double x, int switchTerm)
{
    SlotTable& t = slots_[q];
    // A straight element's level depends on |x| only; a curved one's on x.
    const double key = g.curved ? 2.0 * x : 2.0 * std::fabs(x);
    if (!(key >= 0.0 && key < static_cast<double>(t.size)) || key != std::floor(key) ||
        (switchTerm != 0 && switchTerm != 6))
        return nullptr;
    return &t.e.get()[static_cast<std::size_t>(key)];
}

double ElementCache::level(const SlotGeometry& g, int q, double x, int switchTerm)
{
    Entry* en = entry(g, q, x, switchTerm);
    if (!en) return direct(g, x, switchTerm);
    const int k = switchTerm == 6 ? 1 : 0;
    if (en->gen[k] == gen_) return en->level[k];
    const int s = g.stretch;
    double r;
    float D;
    if (g.curved) {
        r = CurvedElementDistance(ctx_, s, g.walkArc, g.walkTheta, x);
        D = ctx_.rec->startDistance[s];
    } else {
        D = ctx_.rec->perpDistance[s];
        const double d = D;
        r = std::sqrt(d * d + x * x);
    }
    if (en->terms == 0) {
        pool_.push_back(ElementPropagation(ctx_, s, r, D));
        en->terms = static_cast<int>(pool_.size());
    }
    en->level[k] = ElementLevelFromTerms(ctx_, emission_, switchTerm, g.curved, s, r,
                                         pool_[static_cast<std::size_t>(en->terms - 1)]);
    en->gen[k] = gen_;
    return en->level[k];
}

ElementCache::LevelEnergy ElementCache::levelEnergy(const SlotGeometry& g, int q, double x, int switchTerm)
{
    const double lvl = level(g, q, x, switchTerm);
    Entry* en = entry(g, q, x, switchTerm);
    if (!en) return {lvl, Pow10(lvl / 10.0)};
    const int k = switchTerm == 6 ? 1 : 0;
    if (en->energyGen[k] != gen_) {
        en->energy[k] = Pow10(lvl / 10.0);
        en->energyGen[k] = gen_;
    }
    return {lvl, en->energy[k]};
}

double LevelAtTrackPosition(const SweepContext& c, const TrackPos& p)
{
    const SlotGeometry& g = c.slots->g[p.slot];
    const ProjectRecord& r = *c.elem.rec;
    const int s = g.stretch;
    if (c.cache) {
        int sw = 0;
        if (!g.curved && r.switchesOn[s] == 1 && r.switchStart[s] <= p.x &&
            p.x <= static_cast<long long>(r.switchStart[s]) + 10)
            sw = 6;
        return c.cache->level(g, p.slot, static_cast<double>(p.x), sw);
    }
    if (g.curved)
        return LevelAtPointCurved(c.elem, c.v, s, false, *c.coef, g.walkArc, g.walkTheta, static_cast<double>(p.x));
    int sw = 0;
    if (r.switchesOn[s] == 1 && r.switchStart[s] <= p.x && p.x <= static_cast<long long>(r.switchStart[s]) + 10)
        sw = 6;
    return LevelAtPointStraight(c.elem, c.v, sw, s, false, *c.coef, static_cast<double>(p.x));
}

namespace {

double levelOf(const SweepContext& c, const TrackPos& p) { return c.level ? c.level(c, p) : LevelAtTrackPosition(c, p); }

// Level of a candidate, reusing the previous evaluation when the candidate is unchanged
// (the level depends on slot and position only, so the reuse changes no result).
struct CachedLevel {
    bool valid = false;
    int slot = 0;
    long long x = 0;
    double level = 0.0;
    double get(const SweepContext& c, const TrackPos& p)
    {
        if (!valid || slot != p.slot || x != p.x) {
            level = levelOf(c, p);
            slot = p.slot;
            x = p.x;
            valid = true;
        }
        return level;
    }
};

TrackPos enteredAtStart(const TrackSlots& ts, int q, bool before)
{
    return TrackPos{q, ts.g[q].S, before, ts.g[q].shape};
}

TrackPos enteredAtEnd(const TrackSlots& ts, int q, bool before)
{
    return TrackPos{q, ts.g[q].E, before, ts.g[q].shape};
}

// A position whose flag was turned at 0 onto a side a one-sided straight stretch does not
// have lies outside that stretch.
bool onMissingSide(const SlotGeometry& g, const TrackPos& p)
{
    if (g.curved || p.x <= 0) return false;
    if (g.a1 >= 90 && p.before) return true;
    if (g.a2 <= 90 && !p.before) return true;
    return false;
}

}  // namespace

Placement GrowTrainPlacement(const SweepContext& c, int p, long long covered, TrackPos rear, TrackPos front,
                             long long L)
{
    const TrackSlots& ts = *c.slots;
    (void)p;
    Growth g;
    g.rear = rear;
    g.front = front;
    g.covered = covered;
    g.L = L;
    CachedLevel back, fwd;
    long long guard = ts.extent + 2;
    do {
        if (g.rear.slot == 1 && AtStretchStart(ts, g.rear)) return GrowFrontOnly(c, g);
        if (g.front.slot == ts.n && AtStretchEnd(ts, g.front)) return GrowBackOnly(c, g);
        TrackPos b = g.rear;
        StepBackward(ts, b);
        TrackPos f = g.front;
        StepForward(ts, f);
        const double Lb = back.get(c, b);
        const double Lf = fwd.get(c, f);
        if (Lb > Lf)
            g.rear = b;
        else
            g.front = f;
        g.covered += 1;
    } while (g.covered < L && --guard > 0);
    return Placement{g.rear, g.front};
}

Placement GrowFrontOnly(const SweepContext& c, Growth& g)
{
    const TrackSlots& ts = *c.slots;
    long long guard = ts.extent + 2;
    while (g.covered < g.L && !g.frontBlocked && --guard > 0) {
        if (AtStretchEnd(ts, g.front)) {
            if (g.front.slot >= ts.n) {
                g.frontBlocked = true;
                if (!g.rearBlocked) GrowBackOnly(c, g);
                break;
            }
            const int q = g.front.slot + 1;
            g.front = enteredAtStart(ts, q, !ts.g[q].curved && ts.g[q].a1 < 90);
        }
        StepInsideForward(ts.g[g.front.slot], g.front);
        g.covered += 1;
    }
    return Placement{g.rear, g.front};
}

Placement GrowBackOnly(const SweepContext& c, Growth& g)
{
    const TrackSlots& ts = *c.slots;
    long long guard = ts.extent + 2;
    while (g.covered < g.L && !g.rearBlocked && --guard > 0) {
        if (AtStretchStart(ts, g.rear)) {
            if (g.rear.slot <= 1) {
                g.rearBlocked = true;
                if (!g.frontBlocked) GrowFrontOnly(c, g);
                break;
            }
            const int q = g.rear.slot - 1;
            g.rear = enteredAtEnd(ts, q, !ts.g[q].curved && ts.g[q].a2 <= 90);
        }
        StepInsideBackward(ts.g[g.rear.slot], g.rear);
        g.covered += 1;
    }
    return Placement{g.rear, g.front};
}

namespace {
// Backward slide into slot q = p − 1: the rear enters q at its end and the train moves back
// while the gained rear metre is louder than the front metre given up and both ends stay
// where a train may stand.
void slideBackward(const SweepContext& c, int p, TrackPos& rear, TrackPos& front, bool& shifted)
{
    const TrackSlots& ts = *c.slots;
    const SlotGeometry& gp = ts.g[p];
    const SlotGeometry& gq = ts.g[p - 1];
    rear = enteredAtEnd(ts, p - 1, !gq.curved && gq.a2 <= 90);
    long long guard = ts.extent + 2;
    CachedLevel frontLevel;
    for (;;) {
        rear.x += rear.before ? 1 : -1;
        const double Lr = levelOf(c, rear);
        if (Lr <= frontLevel.get(c, front)) break;
        const bool rearInside = ((gq.a1 < 90 && !rear.before) ||
                                 (gq.a1 >= 90 && !rear.before && rear.x >= gq.confinedFrom) ||
                                 (gq.a1 < 90 && rear.before && rear.x <= gq.confinedFrom)) &&
                                !onMissingSide(gq, rear);
        const bool frontInside =
            ((gp.a1 >= 90 && front.x >= gp.S) || (gp.a1 < 90 && front.x < gp.S)) && !onMissingSide(gp, front);
        if (!rearInside || !frontInside || --guard <= 0) break;
        shifted = true;
        if (rear.x == 0 && !rear.before) rear.before = true;
        if (front.before) {
            front.x += 1;
        } else {
            front.x -= 1;
            if (front.x == 0) front.before = true;
        }
    }
    rear.x -= rear.before ? 1 : -1;  // undo the last rear move
    if (AtStretchEnd(ts, rear)) rear = enteredAtStart(ts, p, gp.startBefore);
}

// Forward slide into slot q = p + 1, the mirror image.
void slideForward(const SweepContext& c, int p, TrackPos& rear, TrackPos& front, bool& shifted)
{
    const TrackSlots& ts = *c.slots;
    const SlotGeometry& gp = ts.g[p];
    const SlotGeometry& gq = ts.g[p + 1];
    front = enteredAtStart(ts, p + 1, !gq.curved && gq.a1 < 90);
    long long guard = ts.extent + 2;
    CachedLevel rearLevel;
    for (;;) {
        front.x += front.before ? -1 : 1;
        const double Lf = levelOf(c, front);
        if (!(Lf > rearLevel.get(c, rear))) break;
        const bool frontInside = ((gq.a2 <= 90 && front.before && front.x >= gq.confinedTo) ||
                                  (gq.a2 > 90 && !front.before && front.x <= gq.confinedTo)) &&
                                 !onMissingSide(gq, front);
        const bool rearInside =
            ((gp.a2 <= 90 && rear.x > gp.E) || (gp.a2 > 90 && rear.x <= gp.E)) && !onMissingSide(gp, rear);
        if (!frontInside || !rearInside || --guard <= 0) break;
        shifted = true;
        if (front.x == 0) front.before = false;
        if (rear.before) {
            rear.x -= 1;
            if (rear.x == 0) rear.before = false;
        } else {
            rear.x += 1;
        }
    }
    front.x -= front.before ? -1 : 1;  // undo the last front move
    if (AtStretchStart(ts, front)) front = enteredAtEnd(ts, p, gp.endBefore);
}
}  // namespace

SlideResult SlideShortTrain(const SweepContext& c, int p, TrackPos rear, TrackPos front)
{
    const TrackSlots& ts = *c.slots;
    SlideResult res;
    const bool frontAtEnd = AtStretchEnd(ts, front);
    if (p > 1 && AtStretchStart(ts, rear)) slideBackward(c, p, rear, front, res.shifted);
    // The forward slide only when the backward slide has not moved the train.
    if (!res.shifted && frontAtEnd && p < ts.n) slideForward(c, p, rear, front, res.shifted);
    res.placement = Placement{rear, front};
    return res;
}

float ArcPointDistance(const ElementContext& ctx, int s, long long j)
{
    return static_cast<float>(CurvedElementDistance(ctx, s, 0.0, 0.0, static_cast<double>(j)));
}

ArcPlacement PlaceTrainOnArc(const ElementContext& ctx, int s, long long L, long long E)
{
    const ProjectRecord& r = *ctx.rec;
    const double rs = r.startDistance[s];
    const double re = r.endDistance[s];
    const double R = r.radius[s];
    const double alpha = r.angleTo[s];
    const double c = std::sqrt(re * re + rs * rs - 2.0 * re * rs * std::cos(degToRad(alpha)));
    const double theta = radToDeg(clampedAcos((2.0 * R * R - c * c) / (2.0 * R * R)));
    const long long m = CheckedTrunc(theta / 360.0 * 2.0 * kPi * R);

    float best = r.startDistance[s];
    long long seed = 0;
    for (long long j = 1; j <= m; ++j) {
        const float d = ArcPointDistance(ctx, s, j);
        if (d < best) {
            best = d;
            seed = j;
        }
    }
    long long rr = seed, ff = seed;
    for (long long i = 1; i <= L - 1; ++i) {
        if (rr > 0 && ff < E) {
            const float dF = ArcPointDistance(ctx, s, ff + 1);
            const float dR = ArcPointDistance(ctx, s, rr - 1);
            if (dR < dF)
                rr -= 1;
            else
                ff += 1;
        } else if (rr == 0) {
            ff += 1;
        } else if (ff == E) {
            rr -= 1;
        }
    }
    return {rr, ff};
}

namespace {
bool reached(const TrackSlots& ts, const TrackPos& p, const TrackPos& front)
{
    if (p.slot == front.slot && p.x == front.x) {
        const SlotGeometry& g = ts.g[p.slot];
        if (g.curved || p.x == 0 || p.before == front.before) return true;
    }
    // The stepping rule enters a slot one metre inside, so it never visits the start of
    // the next slot: its previous slot's end counts as reaching it.
    return front.slot == p.slot + 1 && AtStretchEnd(ts, p) && AtStretchStart(ts, front);
}
}  // namespace

TrackPos TrainMiddle(const TrackSlots& ts, const Placement& pl, long long L, long long bound)
{
    TrackPos pos = pl.rear;
    long long N = 0;
    while (!reached(ts, pos, pl.front)) {
        if (N >= bound) {
            N = L;
            break;
        }
        StepForward(ts, pos);
        ++N;
    }
    const long long steps = N == 0 ? 0 : (N + 1) / 2;
    pos = pl.rear;
    for (long long i = 0; i < steps; ++i) StepForward(ts, pos);
    return pos;
}

int TrackPositionAngle(const ProjectRecord& r, const TrackSlots& ts, const TrackPos& p)
{
    const SlotGeometry& g = ts.g[p.slot];
    const int s = g.stretch;
    const double x = static_cast<double>(p.x);
    if (!g.curved) {
        if (p.x == 0) return 90;
        const double d = r.perpDistance[s];
        const double a = radToDeg(std::atan(x / d));
        return CheckedTrunc(p.before ? 90.0 - a : 90.0 + a);
    }
    const double R = r.radius[s];
    const double rs = r.startDistance[s];
    const double re = r.endDistance[s];
    const double a2 = r.angleTo[s];
    const double phi = x * 360.0 / (2.0 * kPi * R);
    const double beta = (180.0 - phi) / 2.0;
    const double c = std::sqrt(rs * rs + re * re - 2.0 * rs * re * std::cos(degToRad(a2)));
    const double g1 = radToDeg(clampedAsin(std::sin(degToRad(a2)) * re / c));
    const double g2 = radToDeg(clampedAcos(c / (2.0 * R)));
    const double psi = g1 + g2 - beta;
    double s2 = 2.0 * R * R - 2.0 * R * R * std::cos(degToRad(phi));
    if (!(s2 > 0.0)) s2 = 0.0;
    const double sl = std::sqrt(s2);
    const double m = std::sqrt(rs * rs + sl * sl - 2.0 * sl * rs * std::cos(degToRad(psi)));
    if (m == 0.0 || !std::isfinite(m)) return 0;
    return CheckedTrunc(radToDeg(clampedAsin(std::sin(degToRad(psi)) * sl / m)));
}
