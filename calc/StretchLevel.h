#pragma once
// The equivalent level that one stretch contributes at the receiver: the stretch is cut into
// segments, each represented by one source point, and the band levels of the points are
// added energetically until a further point no longer raises the level by 0.0001 dB.

#include <functional>
#include <string>

#include "calc/Results.h"
#include "calc/Trace.h"
#include "model/Array1.h"
#include "model/ProjectRecord.h"

// Shown for every curved stretch met while a radius error is set.
extern const char* const kRadiusErrorMessage;

// One source point as the walk made it: position (as traced), horizontal distance R, the
// length of track it stands for, the switch term and its A-weighted level.
struct SourcePointInfo {
    int pass = 1;  // 1 or 2 in case B, else 1
    double position = 0.0;
    double R = 0.0;
    double length = 0.0;
    double dLv = 0.0;
    double level = 0.0;
};

struct StretchLevelContext {
    int segmentLength = 1;           // metres; values below 1 are taken as 1
    bool bandTotals = false;         // also sum the band levels per band (always while tracing)
    double FacadeCorrection = 0.0;   // written to the trace only
    TraceSink* trace = nullptr;      // the equivalent-pass trace, nullptr when off
    // Receives kRadiusErrorMessage; may be empty.
    std::function<void(const std::string&)> message;
    // Sees every source point (used to check the segment placement); may be empty.
    std::function<void(const SourcePointInfo&)> observer;
};

// The three ways a stretch is walked: A straight on one side of the normal, B straight
// across the normal, C curved.
enum class StretchCase { A, B, C };
StretchCase stretchCaseOf(const ProjectRecord& r, int s);

struct StretchLevel {
    double Leq = 0.0;                // A-weighted stretch level
    Array1<double, 7> bandTotals{};  // energy sum per band (when asked for or traced)
};

// The equivalent level of stretch s from its band emission and bank correction dLc. Sets
// results.RadiusError and, for curved stretches, the arc frame results.Curve*[s].
StretchLevel StretchEquivalentLevel(const ProjectRecord& r, int s, const Array1<double, 7>& BandEmission, double dLc,
                                    const StretchLevelContext& ctx, CalcResults& results);

