#pragma once
// Placing a train of L metres on the stretches of one track where it is loudest: growing
// a long train outwards metre by metre, sliding a short one across a stretch end, seeding
// a train on an arc at the point nearest the receiver. All searches are greedy and compare
// only the two neighbouring metres.
//
// A track position is (slot, whole metres, before-normal flag). On a straight stretch the
// position is the distance from the foot of the normal and the flag tells the side; on a
// curved stretch it is the arc length from the start point and the flag plays no part.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "calc/Bands.h"
#include "calc/ElementLevel.h"
#include "model/Array1.h"
#include "model/ProjectRecord.h"

inline double degToRad(double deg) { return deg * (kPi / 180.0); }
inline double radToDeg(double rad) { return rad * (180.0 / kPi); }
// arccos / arcsin with the argument clamped into [−1, 1]; a NaN argument counts as 1
// (arccos) or 0 (arcsin), so degenerate geometry never yields NaN.
inline double clampedAcos(double a)
{
    if (std::isnan(a)) return 0.0;
    return std::acos(a < -1.0 ? -1.0 : (a > 1.0 ? 1.0 : a));
}
inline double clampedAsin(double a)
{
    if (std::isnan(a)) return 0.0;
    return std::asin(a < -1.0 ? -1.0 : (a > 1.0 ? 1.0 : a));
}

struct TrackPos {
    int slot = 0;
    long long x = 0;
    bool before = false;
    int shape = 0;  // shape of the slot's stretch
    friend bool operator==(const TrackPos&, const TrackPos&) = default;
};

// A train on the track: rear and front. A zero rear slot means "no placement".
struct Placement {
    TrackPos rear, front;
    bool has() const { return rear.slot != 0; }
    friend bool operator==(const Placement&, const Placement&) = default;
};

// One slot of the track order with the stretch's geometry in whole metres.
struct SlotGeometry {
    int stretch = 0;
    int a1 = 0, a2 = 0;  // angleFrom, angleTo as stored
    int shape = 0;
    bool curved = false;
    bool across = false;  // straight, a1 < 90 < a2
    long long S = 0, E = 0;
    bool startBefore = true, endBefore = true;
    long long length = 0;
    long long confinedFrom = 0, confinedTo = 0;
    double arcLength = 0.0;  // curved: arc length of the geometry table
    // Curved: central angle with the chord from cos(angleTo), and θ·R; the element levels
    // use these.
    double walkTheta = 0.0, walkArc = 0.0;
    bool radiusInvalid = false;  // curved: the chord exceeds twice the radius
};

struct TrackSlots {
    Array1<int, 8> order{};
    int n = 0;
    Array1<SlotGeometry, 8> g{};
    // Sum over the slots of |S| + |E| + 2: no search on a consistent track takes more
    // steps than this, so every loop is cut there (it only ever stops runaway walks on
    // inconsistent input such as angleFrom > angleTo).
    long long extent = 0;
};

// Sets `extent` from the slots' ends.
void ComputeExtent(TrackSlots& ts);

// Number of leading non-empty slots (0..8).
int CountOrderedStretches(const Array1<int, 8>& order);

// A position is at its slot's start/end only on that end's side (position 0 matches
// either side; on a curve the flag plays no part).
bool AtStretchStart(const TrackSlots& ts, const TrackPos& p);
bool AtStretchEnd(const TrackSlots& ts, const TrackPos& p);
// One metre towards the front / the rear inside the slot's stretch.
void StepInsideForward(const SlotGeometry& g, TrackPos& p);
void StepInsideBackward(const SlotGeometry& g, TrackPos& p);
// The stepping rule: at the slot's end the next slot is entered one metre inside.
void StepForward(const TrackSlots& ts, TrackPos& p);
void StepBackward(const TrackSlots& ts, TrackPos& p);
// Position at the start (end) of slot q with the geometry table's start (end) flag.
TrackPos SlotStart(const TrackSlots& ts, int q);
TrackPos SlotEnd(const TrackSlots& ts, int q);

// Element levels of the running train pass, remembered per slot and position so that each
// is computed once (the procedures are pure, so this changes no result). The propagation
// terms are kept for the whole track, as they do not depend on the train; the levels for
// the current train. Not used while the trace is on, which must see every call.
class ElementCache {
public:
    ElementCache() = default;
    ElementCache(const ElementCache&) = delete;
    ElementCache& operator=(const ElementCache&) = delete;
    // Sizes the tables for the slots of a track and forgets all terms.
    void beginTrack(const TrackSlots& ts);
    // The train of the next pass: its emission per band; forgets the levels.
    void beginTrain(const ElementContext& ctx, const Coefficients& coef, int v);
    // Level of the element at x (metres; straight: from the normal, either side; curved: arc
    // position) in slot q with the given switch term.
    double level(const SlotGeometry& g, int q, double x, int switchTerm);
    // The level and its energy Pow10(level / 10), for the energy sums of the walks.
    struct LevelEnergy {
        double level, energy;
    };
    LevelEnergy levelEnergy(const SlotGeometry& g, int q, double x, int switchTerm);

private:
    // One position (in half metres). Zero-filled memory is "nothing known", so the tables
    // are allocated zeroed and only the pages a run touches are ever written.
    struct Entry {
        int terms;                 // 1 + index into pool_, 0 = not yet computed
        std::uint32_t gen[2];      // train generation of level[0] (switch 0) / level[1] (switch 6)
        double level[2];
        std::uint32_t energyGen[2];  // train generation of energy[k]
        double energy[2];
    };
    struct FreeDeleter {
        void operator()(Entry* p) const { std::free(p); }
    };
    struct SlotTable {
        long long size = 0;
        std::unique_ptr<Entry, FreeDeleter> e;
    };
    double direct(const SlotGeometry& g, double x, int switchTerm) const;
    Entry* entry(const SlotGeometry& g, int q, double x, int switchTerm);
    Array1<SlotTable, 8> slots_{};
    std::vector<ElementTerms> pool_;
    Array1<double, 7> emission_{};
    ElementContext ctx_;
    const Coefficients* coef_ = nullptr;
    int v_ = 0;
    std::uint32_t gen_ = 0;
};

struct SweepContext;
using LevelFn = double (*)(const SweepContext&, const TrackPos&);

// What the sweep needs: the track, the element context (trace off), the train's
// coefficients and speed, and the level of a candidate position (LevelAtTrackPosition;
// tests may inject their own).
struct SweepContext {
    const TrackSlots* slots = nullptr;
    ElementContext elem;
    const Coefficients* coef = nullptr;
    int v = 0;
    LevelFn level = nullptr;
    const void* user = nullptr;
    ElementCache* cache = nullptr;  // optional
};

// Level of one element at a track position (trace off). Straight stretches add 6 dB when
// switchesOn = 1 and switchStart ≤ x ≤ switchStart + 10.
double LevelAtTrackPosition(const SweepContext& c, const TrackPos& p);

struct Growth {
    TrackPos rear, front;
    long long covered = 0;
    long long L = 0;
    bool rearBlocked = false, frontBlocked = false;
};

// Train longer than stretch p: starts from the whole stretch and grows on the louder side
// (ties grow the front) until it covers L metres or the track.
Placement GrowTrainPlacement(const SweepContext& c, int p, long long covered, TrackPos rear, TrackPos front,
                             long long L);
Placement GrowFrontOnly(const SweepContext& c, Growth& g);
Placement GrowBackOnly(const SweepContext& c, Growth& g);

struct SlideResult {
    Placement placement;
    bool shifted = false;
};
// Train not longer than stretch p, confined to it: slid backward into slot p − 1 while the
// gained rear metre is louder than the front metre given up, else forward into p + 1.
SlideResult SlideShortTrain(const SweepContext& c, int p, TrackPos rear, TrackPos front);

// Distance (single precision) from the receiver to the point j metres along curved stretch s.
float ArcPointDistance(const ElementContext& ctx, int s, long long j);
// Train of L metres on an arc of E whole metres (E > L): seeded at the nearest point and
// grown towards the nearer neighbour. Returns the arc positions of rear and front.
struct ArcPlacement {
    long long rear = 0, front = 0;
};
ArcPlacement PlaceTrainOnArc(const ElementContext& ctx, int s, long long L, long long E);

// Middle of a placement: steps from the rear towards the front. `bound` limits the count
// (L plus the track length); when it is hit, N := L.
TrackPos TrainMiddle(const TrackSlots& ts, const Placement& pl, long long L, long long bound);
// Angle (degrees, truncated) seen from the receiver of a track position.
int TrackPositionAngle(const ProjectRecord& r, const TrackSlots& ts, const TrackPos& p);
