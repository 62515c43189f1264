#pragma once
// The site plan: what the stretch table describes, turned into lines in metres in one plan
// frame, for drawing. The receiver lies at the origin, x runs along the track direction
// (angle 0° looks towards −x, 180° towards +x) and y points from the receiver towards the
// tracks (90°, the normal). A point seen at angle a and distance d lies at
// d·(−cos a, sin a); on a straight stretch at perpendicular distance D that is
// (−D·cot a, D). Curved stretches are placed in the arc frame of the equivalent-level
// calculation, turned so that the receiver sits at the origin.

#include <string>
#include <vector>

#include "model/ProjectRecord.h"

struct PlanPoint {
    double x = 0.0;
    double y = 0.0;
};

struct PlanStretch {
    enum class Kind { Straight, Arc, RadiusError };
    int stretch = 0;  // 1..8
    int track = 1;    // 1..4
    Kind kind = Kind::Straight;
    // The track centre line from the end seen at angleFrom to the end at angleTo (an arc is
    // sampled densely enough to draw as a polyline). For a radius error: the chord.
    std::vector<PlanPoint> line;
    // An end at 0° or 180° lies at infinity: the line goes on from its first (last) point
    // in the direction given, to the edge of whatever is drawn.
    bool openStart = false;
    bool openEnd = false;
    PlanPoint startDirection;  // unit vector, when openStart
    PlanPoint endDirection;    // unit vector, when openEnd
    // Arcs: centre and radius.
    PlanPoint centre;
    double radius = 0.0;
    // The screen, towards the receiver at screenDistance from the track centre; empty
    // without a screen. It shares the open ends of the track line.
    std::vector<PlanPoint> screen;
    int screenType = 0;  // 1 Absorb., 2 Reflekt.
    // The switch and crossing zone: 10 m of track; empty without switches.
    std::vector<PlanPoint> switchZone;
    // Where the stretch number goes: the middle of the stretch (of its finite part).
    PlanPoint labelAt;
};

struct SitePlan {
    std::vector<PlanStretch> stretches;  // the stretches that could be placed, in order
    std::vector<int> missing;            // stretches without usable geometry
    bool facade = false;                 // facade correction on, with a usable distance
    double facadeDistance = 0.0;         // behind the receiver: the facade lies at y = −distance
    // The extent that shows everything finite (receiver included) and a part of the open ends.
    PlanPoint min, max;
};

// Places stretches 1..stretchCount (limited to 1..8). Values the table would refuse
// (angles outside 0..180 or reversed, distances that are 0, negative, not finite or
// beyond any real site) never fail: what can be placed is placed, the rest is listed in
// `missing`.
SitePlan buildSitePlan(const ProjectRecord& r);

// The arc frame of a curved stretch as the equivalent level computes it: origin at the
// centre, start A = (−Rc, 0), the arc running towards +y for Konvex and −y for Konkav,
// receiver M. radiusError: the radius is too small for the chord.
struct ArcFrame {
    bool radiusError = false;
    double theta = 0.0;  // central angle, radians
    PlanPoint A, B, M;
};
ArcFrame arcFrameOf(double r1, double r2, int a1, int a2, double Rc, bool convex);

// The text a stretch without geometry gets in the status line: "Delsträcka 4 saknar geometri".
std::vector<std::string> sitePlanMissingTexts(const SitePlan& plan);
