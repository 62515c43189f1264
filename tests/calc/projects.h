#pragma once
// Small projects shared by the engine tests, built on the start-up project (one X2 train on
// every track, flat profiles), and the full run as the program does it.

#include <algorithm>
#include <utility>
#include <vector>

#include "calc/Run.h"
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

// Stretch s gets the break points (distance, height), labelled "SM", "BP"…, "MT".
inline void setProfile(ProjectRecord& r, int s, const std::vector<std::pair<float, float>>& points)
{
    int p = 0;
    for (auto [x, z] : points) {
        r.bpDistance[s][++p] = x;
        r.bpHeight[s][p] = z;
        r.bpLabel[s][p].setBytes("BP");
    }
    r.bpCount[s] = p;
    r.bpLabel[s][1].setBytes("SM");
    r.bpLabel[s][p].setBytes("MT");
}

// Stretch s gets a screen (type 1 absorbing, 2 reflecting) `distance` m from the track centre.
inline void setScreen(ProjectRecord& r, int s, int type, float distance, float crest = 3.0f)
{
    r.screenType[s] = type;
    r.screenDistance[s] = distance;
    r.screenCrestHeight[s] = crest;
}

// Adds a straight stretch as the next slot of the track; returns its number.
inline int addStretch(ProjectRecord& r, int track, int a1, int a2, float D)
{
    const int s = ++r.stretchCount;
    r.angleFrom[s] = a1;
    r.angleTo[s] = a2;
    r.perpDistance[s] = r.bpDistance[s][2] = D;
    r.track[s] = track;
    int order = 0;
    for (int i = 1; i < s; ++i)
        if (r.track[i] == track) order = std::max(order, r.orderInTrack[i]);
    r.orderInTrack[s] = order + 1;
    return s;
}

// Train t (a Swedish X2 on every track unless changed) with its length a day, length and speed.
inline void setTrain(ProjectRecord& r, int t, int perDay, int length, int speed)
{
    r.trainCount = std::max(r.trainCount, t);
    r.trainLengthPerDay[t] = perDay;
    r.maxTrainLength[t] = length;
    r.speed[t] = speed;
}

struct Calculation {
    bool ran = false;
    CalcResults res;
    AngleFactors factors;
    std::vector<RunMessage> messages;
    std::vector<int> progress;
};

// The full run of r, from the results `start`; r keeps what the run writes into it.
inline Calculation calculate(ProjectRecord& r, const RunSettings& st = {}, const CalcResults& start = {})
{
    Calculation o;
    o.res = start;
    o.ran = RunCalculation(
        r, st, o.factors, [&o](const RunMessage& m) { o.messages.push_back(m); },
        [&o](int p) { o.progress.push_back(p); }, o.res);
    return o;
}
