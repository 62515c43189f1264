#pragma once
// The results of a calculation run. They live until the next run (the window keeps one
// instance); the report and the exports read them.

#include <cstdint>
#include <string>
#include <vector>

#include "model/Array1.h"

struct CalcResults {
    // Equivalent level.
    double FacadeCorrection = 0.0;
    Array1<float, 8> StretchEqLevel{};   // rounded to 0.1 dB, never negative
    Array1<double, 4> TrackEqLevel{};    // not rounded, never negative
    float FreeFieldEq = 0.0f;            // whole dB, never negative

    // Maximum level.
    Array1<float, 8> StretchMaxLevel{};             // train kept inside the stretch, 0.1 dB
    Array1<double, 8> StretchMaxLevelFullTrain{};   // full-length train
    Array1<double, 4> TrackMaxLevel{};
    Array1<std::uint8_t, 4> TrackMaxStretch{};      // stretch holding the train middle
    Array1<int, 4> TrackMaxAngle{};                 // degrees 0..180 of the train middle
    Array1<int, 4> TrackMaxTrain{};
    bool TrainLongerThanTrack = false;
    double SimultaneousMaxLevel = 0.0;

    // Result grid: rows 1 free field, 2 and 3 corrected; columns 1 Ekv., 2 Max., 3 Max. samv.
    Array1<Array1<float, 3>, 3> ResultGrid{};
    // Row texts; [1] is always "Frifältsvärde (dBA)", [2]/[3] are "" while not renewed.
    Array1<std::string, 3> ResultRowLabel{};
    int correctedRows = 0;  // 0, 1 or 2 corrected rows shown by the last completed display

    bool RadiusError = false;

    // Arc frames of curved stretches, stored by the equivalent pass for the maximum pass.
    Array1<double, 8> CurveStartX{}, CurveStartY{}, CurveEndX{}, CurveEndY{}, CurveReceiverX{}, CurveReceiverY{};
};
