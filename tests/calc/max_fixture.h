#pragma once
// Small projects and helpers for the maximum-level tests.

#include <string>
#include <vector>

#include "calc/MaxLevel.h"
#include "projects.h"

// One straight stretch on track 1, one Swedish X2 train of `length` m at `speed` km/h.
inline ProjectRecord maxProject(int a1, int a2, float d, int length = 30, int speed = 100)
{
    ProjectRecord r = straight(a1, a2, d);
    setTrain(r, 1, 1000, length, speed);
    return r;
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
