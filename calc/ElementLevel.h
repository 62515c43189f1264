#pragma once
// Level at the receiver of one one-metre source element of the train being calculated, on
// a straight or a curved stretch. These are the only places where the maximum-level
// emission is formed; the propagation terms come from Bands.h and Terms.h.

#include "calc/Results.h"
#include "calc/Terms.h"
#include "calc/Trace.h"
#include "calc/TrainTypes.h"
#include "model/Array1.h"
#include "model/ProjectRecord.h"

using Coefficients = Array1<EmissionPair, 7>;

// What the element procedures read besides their arguments: the project, the arc frames
// stored by the equivalent pass (and the facade correction shown in the trace), the
// current train and whether every train of the project is Swedish.
struct ElementContext {
    const ProjectRecord* rec = nullptr;
    const CalcResults* frames = nullptr;
    int train = 1;
    bool allSwedish = false;
    TraceSink* trace = nullptr;  // maximum-pass trace; nullptr = off
    // The stretches' term data, prepared once per run; null: prepared on each call.
    const Array1<StretchTermData, 8>* terms = nullptr;
};

// True when every train 1..trainCount has nationality 1 (Svenskt).
bool AllTrainsSwedish(const ProjectRecord& r);

// Emission of the element in band b before the near-field correction:
// A·lg(v/100) + 10·lg(v) + 43.8 + B.
double ElementEmission(const EmissionPair& c, int v);

// Horizontal distance from the receiver to the point at arc position x of curved stretch s.
// x = 0 gives startDistance exactly. φ = x / arcLength · θ; when the arc length is 0 or θ
// is not finite, φ = x / R.
double CurvedElementDistance(const ElementContext& ctx, int s, double arcLength, double theta, double x);

// Emission of the train in every band (ElementEmission for each coefficient pair).
Array1<double, 7> TrainEmission(const Coefficients& coef, int v);

// The propagation terms of one element per band (index 0..6 = band 1..7); they depend on
// the stretch and the distance only, not on the train.
struct ElementTerms {
    double dLd[7], dLa[7], dLs[7], dLg[7];
};
// Terms at horizontal distance r; D is the perpendicular distance handed to the screen term.
ElementTerms ElementPropagation(const ElementContext& ctx, int s, double r, float D);
// The element level from the train's emission per band and the terms, band by band in the
// order of the level formula (bit for bit the same as LevelAtPointStraight/Curved).
double ElementLevelFromTerms(const ElementContext& ctx, const Array1<double, 7>& emission, int switchTerm,
                             bool curved, int s, double r, const ElementTerms& t);

// Straight stretch s, element at distance x from the normal (either side); switchTerm 0 or 6.
double LevelAtPointStraight(const ElementContext& ctx, int v, int switchTerm, int s, bool traceFlag,
                            const Coefficients& coef, double x);

// Curved stretch s, element at arc position x; theta is the central angle (radians) and
// arcLength = θ·R.
double LevelAtPointCurved(const ElementContext& ctx, int v, int s, bool traceFlag, const Coefficients& coef,
                          double arcLength, double theta, double x);
