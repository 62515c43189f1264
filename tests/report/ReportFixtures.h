#pragma once
// Projects and results shared by the report, export and column tests.

#include "calc/Results.h"
#include "model/Cp1252.h"
#include "model/ProjectRecord.h"

// Two tracks, two Swedish trains, three stretches: a straight one on each side of the
// normal on track 1 (the second with a screen and a cross-section) and a curve on track 2.
inline ProjectRecord twoTrackProject()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.objectName.setBytes(toCp1252("Stationsvägen 3"));
    r.description.setBytes(toCp1252("Nybyggnad, fasad mot spåret"));
    r.caseOfficer.setBytes(toCp1252("Åsa Öberg"));
    r.trainCount = 2;
    r.trainLengthPerDay[1] = 1200, r.maxTrainLength[1] = 300, r.speed[1] = 160;
    r.nationality[1] = 1, r.trainType[1] = 0;  // X2
    r.trainLengthPerDay[2] = 800, r.maxTrainLength[2] = 400, r.speed[2] = 100;
    r.nationality[2] = 1, r.trainType[2] = 5;  // Gods
    r.runsOnTrack[2][2] = 0;

    r.stretchCount = 3;
    r.track[1] = 1, r.orderInTrack[1] = 1, r.angleFrom[1] = 0, r.angleTo[1] = 90, r.perpDistance[1] = 25.0f;
    r.track[2] = 1, r.orderInTrack[2] = 2, r.angleFrom[2] = 90, r.angleTo[2] = 180, r.perpDistance[2] = 25.5f;
    r.groundSource[2] = 0.0f, r.bankCorrection[2] = 1, r.switchesOn[2] = 1, r.switchStart[2] = 40;
    r.screenType[2] = 1, r.screenDistance[2] = 4.0f, r.screenCrestHeight[2] = 3.5f, r.trackHeight[2] = 0.5f;
    r.screenBaseHeight[2] = 3.0f, r.crossSectionOn[2] = 1, r.receiverGroundHeight[2] = 1.2f;
    r.screenEffectEqA[2] = 2.3f, r.screenEffectEqB[2] = 3.1f;
    r.screenEffectMaxA[2] = 2.5f, r.screenEffectMaxB[2] = 3.4f;
    r.track[3] = 2, r.orderInTrack[3] = 1, r.shape[3] = 1, r.angleFrom[3] = 30, r.angleTo[3] = 150;
    r.perpDistance[3] = 12.0f, r.startDistance[3] = 40.0f, r.endDistance[3] = 45.5f, r.radius[3] = 800.0f;
    r.groundMiddle[3] = 0.35f, r.bankCorrection[3] = 2;

    r.indoorLevelOn = 1;
    r.facadeReflectionOn = 1;
    r.facadeDistance = 10.0f;
    return r;
}

inline CalcResults twoTrackResults()
{
    CalcResults res;
    res.FacadeCorrection = 1.5;
    res.FreeFieldEq = 57.0f;  // + 1.5 = 58.5 must round to the even 58
    res.StretchEqLevel[1] = 54.3f, res.StretchEqLevel[2] = 52.1f, res.StretchEqLevel[3] = 50.6f;
    res.StretchMaxLevel[1] = 76.0f, res.StretchMaxLevel[2] = 74.2f, res.StretchMaxLevel[3] = 70.1f;
    res.StretchMaxLevelFullTrain[1] = 77.25, res.StretchMaxLevelFullTrain[2] = 75.04;
    res.StretchMaxLevelFullTrain[3] = 70.96;
    res.TrackEqLevel[1] = 56.3214, res.TrackEqLevel[2] = 50.6;
    res.TrackMaxLevel[1] = 78.4412, res.TrackMaxLevel[2] = 71.75;
    res.TrackMaxStretch[1] = 1, res.TrackMaxStretch[2] = 3;
    res.TrackMaxAngle[1] = 87, res.TrackMaxAngle[2] = 94;
    res.ResultGrid[1][1] = 57.0f;
    res.ResultGrid[1][2] = 78.4412f;
    res.ResultGrid[1][3] = 79.0f;
    return res;
}
