#pragma once
// The maximum-level run: per track and train, the stretches in track order, the train
// placed where it is loudest, and the energy sum of its one-metre source elements; per
// stretch, per track and for simultaneous trains on all tracks.

#include <functional>
#include <string>

#include "calc/ElementLevel.h"
#include "calc/Results.h"
#include "calc/Trace.h"
#include "calc/TrainSweep.h"
#include "model/ProjectRecord.h"

inline constexpr const char* kTrainLongerThanTrackText = "Något/några tågs maxlängd är längre än spåren de trafikerar!";

struct MaxRunHooks {
    TraceSink* trace = nullptr;                              // maximum-pass trace; nullptr = off
    std::function<void(const std::string&)> message;         // plain message box (invalid radius)
    std::function<void(const std::string&)> warning;         // warning box (train longer than track)
    std::function<void(int percent)> progress;               // progress meter, 50..100
};

// Geometry of stretch s in whole metres for a train of trainLength metres (ends, side flags, length,
// the train kept inside the stretch). A curved stretch whose chord exceeds twice its
// radius is marked `radiusInvalid` and left with length 0. `placeOnArc` false skips the
// arc seeding (used once the run knows it will not place trains).
SlotGeometry StretchGeometry(const ElementContext& ctx, int s, long long trainLength, bool placeOnArc = true);

// Switch term (0 or 6 dB) of the element centred at x on straight stretch s. `plain`
// applies the plain containment rule; otherwise the walk's direction (towards the normal
// while `before`) and its switch-passed flag decide.
int ElementSwitchTerm(const ProjectRecord& r, int s, double x, bool before, bool plain, bool& passed);

// The stored stretch maximum: P rounded to 0.1 dB, halves to even (81.25 → 81.2).
double RoundToTenth(double P);

struct WalkContext {
    ElementContext elem;  // its trace is the maximum-pass sink (or null)
    const Coefficients* coef = nullptr;
    int v = 0;
    ElementCache* cache = nullptr;  // optional; only used while the trace is off
};

// Energy sum of one-metre elements walked from `start`: at most `count` elements along
// the track (pass 2), or, when `confineSlot` > 0, inside that slot from its confined rear
// to its confined front (pass 3).
double WalkElements(const WalkContext& w, const TrackSlots& ts, const TrackPos& start, long long count,
                    int confineSlot);

// Computes the maximum-level results into `res` (StretchMaxLevel, StretchMaxLevelFullTrain,
// TrackMaxLevel/Stretch/Angle/Train, TrainLongerThanTrack, SimultaneousMaxLevel) and sets
// res.RadiusError for an invalid radius. Expects the equivalent pass to have stored the
// arc frames and RadiusError in `res`. Returns SimultaneousMaxLevel.
double RunMaximumLevel(const ProjectRecord& r, CalcResults& res, const MaxRunHooks& hooks);
