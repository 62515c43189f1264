#pragma once
// The train-type catalogue of the three nationalities and the emission of the trains.

#include <string>
#include <string_view>

#include "model/Array1.h"
#include "model/ProjectRecord.h"

struct EmissionPair {
    int A = 0;  // speed slope, dB per decade of speed
    int B = 0;  // level constant, dB
};

struct TagTypRec {
    std::string typeName;
    int dieselFlag = 0;
    std::string traction;   // "El", "Diesel", "Huvudsakligen el"
    std::string sleeper;    // "Betong", "Trä" or empty
    std::string trainClass; // "Pass" or "Gods"
    Array1<EmissionPair, 7> EmissionCoefficients{};
};

// 5 for Norskt (0), 6 for Svenskt (1), 4 for Finskt (2), 0 otherwise.
int TrainTypeCount(int nationality);
// The catalogue row; throws std::out_of_range for an index outside the list.
const TagTypRec& GetTrainType(int nationality, int index);
// Type names in index order, each followed by the separator.
std::string TrainTypeListText(int nationality, std::string_view separator);
// Name of the train's type, or "" when it lies outside its list.
std::string trainTypeName(const ProjectRecord& r, int t);
// "Norskt", "Svenskt", "Finskt".
std::string nationalityName(int nationality);

// Equivalent-level emission of train t in band b: Ab·lg(v/100) + 10·lg(ℓ) + Bb.
double TrainBandLevel(const ProjectRecord& r, int t, int b);
// Band emission of stretch s: energy sum of the trains on its track, starting from a
// level of 0 dB (all 0 when no train runs there).
Array1<double, 7> StretchBandEmission(const ProjectRecord& r, int s);
