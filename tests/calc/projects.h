#pragma once
// Small projects shared by the engine tests: stretch 1 of the start-up project made straight or
// curved. The start-up profile is flat, from the track (0 m) to the receiver.

#include "model/ProjectRecord.h"

// Stretch s becomes an arc (shape 1 konvex, 2 konkav) from a1 to a2, r1 and r2 m from the receiver.
inline void makeCurved(ProjectRecord& r, int s, int shape, int a1, int a2, float r1, float r2, float Rc)
{
    r.shape[s] = shape;
    r.angleFrom[s] = a1;
    r.angleTo[s] = a2;
    r.startDistance[s] = r1;
    r.endDistance[s] = r2;
    r.radius[s] = Rc;
}

// Stretch 1 straight from a1 to a2 at D m, its profile reaching the receiver.
inline ProjectRecord straight(int a1, int a2, float D)
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.angleFrom[1] = a1;
    r.angleTo[1] = a2;
    r.perpDistance[1] = r.bpDistance[1][2] = D;
    return r;
}

inline ProjectRecord curved(int shape, int a1, int a2, float r1, float r2, float Rc)
{
    ProjectRecord r = straight(a1, a2, 0.0f);
    makeCurved(r, 1, shape, a1, a2, r1, r2, Rc);
    return r;
}
