#pragma once
// Small projects and helpers for the maximum-level tests.

#include <string>
#include <vector>

#include "calc/MaxLevel.h"
#include "model/ProjectRecord.h"
#include "projects.h"

// One straight stretch on track 1, one Swedish X2 train of `length` m at `speed` km/h.
inline ProjectRecord maxProject(int a1, int a2, float d, int length = 30, int speed = 100)
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.trainCount = 1;
    r.stretchCount = 1;
    r.angleFrom[1] = a1;
    r.angleTo[1] = a2;
    r.perpDistance[1] = d;
    r.shape[1] = 0;
    r.track[1] = 1;
    r.orderInTrack[1] = 1;
    r.trainLengthPerDay[1] = 1000;
    r.maxTrainLength[1] = length;
    r.speed[1] = speed;
    r.nationality[1] = 1;
    r.trainType[1] = 0;
    r.runsOnTrack[1][1] = 1;
    return r;
}

// Adds a straight stretch as the next slot of track k.
inline int addStretch(ProjectRecord& r, int track, int a1, int a2, float d)
{
    const int s = ++r.stretchCount;
    r.angleFrom[s] = a1;
    r.angleTo[s] = a2;
    r.perpDistance[s] = d;
    r.shape[s] = 0;
    r.track[s] = track;
    int order = 0;
    for (int i = 1; i < s; ++i)
        if (r.track[i] == track && r.orderInTrack[i] > order) order = r.orderInTrack[i];
    r.orderInTrack[s] = order + 1;
    for (int t = 1; t <= r.trainCount; ++t) r.runsOnTrack[t][track] = 1;
    return s;
}

// Slots of one track built from the geometry table (trains of length L).
inline TrackSlots slotsOf(const ProjectRecord& r, const CalcResults& frames, long long L,
                          const std::vector<int>& stretches)
{
    ElementContext ctx;
    ctx.rec = &r;
    ctx.frames = &frames;
    TrackSlots ts;
    int p = 0;
    for (int s : stretches) {
        ts.order[++p] = s;
        ts.g[p] = StretchGeometry(ctx, s, L);
    }
    ts.n = p;
    ComputeExtent(ts);
    return ts;
}

struct RunOutcome {
    CalcResults res;
    std::vector<std::string> messages;
    std::vector<std::string> warnings;
};

inline RunOutcome runMax(const ProjectRecord& r, CalcResults frames = {}, TraceSink* trace = nullptr)
{
    RunOutcome o;
    o.res = frames;
    MaxRunHooks h;
    h.trace = trace;
    h.message = [&](const std::string& m) { o.messages.push_back(m); };
    h.warning = [&](const std::string& m) { o.warnings.push_back(m); };
    RunMaximumLevel(r, o.res, h);
    return o;
}
