#pragma once
// The projects the benchmarks share: the heavy project of 8 stretches on 4 tracks with 6 trains
// of 750 m, and the helpers that fill a stretch and a train.

#include "model/ProjectRecord.h"

namespace bench {

inline void setStretch(ProjectRecord& r, int s, int track, int order, int shape, int a1, int a2, float d, float rs = 0,
                       float re = 0, float radius = 0)
{
    r.track[s] = track;
    r.orderInTrack[s] = order;
    r.shape[s] = shape;
    r.angleFrom[s] = a1;
    r.angleTo[s] = a2;
    r.perpDistance[s] = d;
    r.startDistance[s] = rs;
    r.endDistance[s] = re;
    r.radius[s] = radius;
    r.groundSource[s] = 0.5f;
    r.groundReceiver[s] = 1.0f;
    r.groundMiddle[s] = 0.3f;
}

inline void setTrain(ProjectRecord& r, int t, int length, int speed, int type, int tracks)
{
    r.trainLengthPerDay[t] = 20 * length;
    r.maxTrainLength[t] = length;
    r.speed[t] = speed;
    r.nationality[t] = 1;
    r.trainType[t] = type;
    for (int k = 1; k <= tracks; ++k) r.runsOnTrack[t][k] = 1;
}

// 8 stretches on 4 tracks (two of them curved), 6 trains of 750 m, distances 10..500 m.
inline ProjectRecord heavyProject()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.stretchCount = 8;
    r.trainCount = 6;
    setStretch(r, 1, 1, 1, 0, 0, 70, 10.0f);
    setStretch(r, 2, 1, 2, 0, 70, 180, 10.0f);
    setStretch(r, 3, 2, 1, 0, 10, 95, 40.0f);
    setStretch(r, 4, 2, 2, 1, 0, 60, 0.0f, 150.0f, 200.0f, 400.0f);
    setStretch(r, 5, 3, 1, 0, 0, 120, 120.0f);
    setStretch(r, 6, 3, 2, 2, 0, 50, 0.0f, 250.0f, 300.0f, 600.0f);
    setStretch(r, 7, 4, 1, 0, 0, 90, 500.0f);
    setStretch(r, 8, 4, 2, 0, 90, 180, 500.0f);
    for (int t = 1; t <= 6; ++t) setTrain(r, t, 750, 80 + 20 * t, t % 6, 4);
    return r;
}

}  // namespace bench
