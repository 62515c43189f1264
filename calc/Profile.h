#pragma once
// Computations on the terrain cross-section of a stretch: angle factors, effective screen
// heights, line-of-sight classification and the middle-zone mean height.

#include <string>

#include "model/Array1.h"
#include "model/ProjectRecord.h"

// The angle factors of the equivalent-level and maximum-level calculation lines. They are
// program-wide working values: equal angles leave the previous values in place.
struct AngleFactors {
    float EqFactor = 0.0f;
    float MaxFactor = 0.0f;
};

void ComputeAngleFactors(const ProjectRecord& r, int s, AngleFactors& factors);
// Effective screen heights (low, high) of stretch s for the line with factor k.
void EffectiveScreenHeights(const ProjectRecord& r, int s, double k, double& low, double& high);

// Outcome of the last line-of-sight classification, kept by the program beside the record.
// ProfileState: 0 nothing above the line of sight; 1 a point between source and screen lies
// above the line source–crest; 2 a point beyond the screen lies above the line
// crest–receiver; 3 the screen does not cut the line of sight and a point lies above the line
// source–receiver; 4 no screen and a point above the line source–receiver.
// WarningArmed: the next problem state may show its warning (set when the cross-section
// dialog opens and whenever the state returns to 0).
struct ProfileCheck {
    int ProfileState = 0;  // a value of enum ProfileState
    bool WarningArmed = false;
};

// The values of ProfileCheck::ProfileState.
enum class ProfileState {
    Clear = 0,
    AboveSourceToCrest = 1,
    AboveCrestToReceiver = 2,
    ScreenMissesSight = 3,
    ScreenCase = 4,  // refuses the calculation
};

// The warning of states 1..3 (UTF-8, with their CR LF line breaks); empty for other states.
std::string ProfileWarningText(int state);
// The warning given for state 4 at the dialog's OK and when a calculation is started (which
// then does not run).
extern const char* const kScreenCaseWarning;

enum class ScreenLabelColour { None, Green, Red, Blue };

// Integer picture coordinates in the fixed logical frame x 50..550, y <= 160 (smaller y is
// higher). Index p of X and Y is break point p.
struct ProfilePicture {
    bool valid = false;  // false when the receiver distance is 0: no coordinates exist
    int count = 0;       // break points drawn (bpCount after the trailing-point rule)
    double xr = 0.0, zmin = 0.0, zmax = 0.0;
    double Hs = 0.0, Hr = 0.0, Hb = 0.0;
    Array1<int, 33> X{}, Y{};
    int Ys = 0, Yr = 0;          // source (x 50) and receiver (x 550)
    bool hasScreen = false;
    bool screenCuts = false;     // the crest stands above the straight line of sight
    int Xb = 0, Yb = 0;          // crest
    int Yfoot = 0;               // screen foot (screenBaseHeight)
};

struct ProfileAnalysis {
    int state = 0;
    bool warningDue = false;     // beep and show warningText (states 1..3, once per arming)
    std::string warningText;
    bool pointDropped = false;   // a trailing point at distance 0 was removed
    bool screenRemoved = false;  // the screen foot lay before the profile: screenType := 0
    // Result labels; both empty without a screen.
    std::string screenHeightText;  // "Effektiv Skärmhöjd: low - high m  "
    std::string screenBaseText;    // "Markhöjd vid skärm: h"
    ScreenLabelColour colour = ScreenLabelColour::None;
    double low = 0.0, high = 0.0;  // the pair shown in the label
    ProfilePicture picture;
};

// The number of break points of stretch s taken into [2, 33] so that a damaged file never
// makes a loop leave the arrays.
int ProfilePointCount(const ProjectRecord& r, int s);

// The classification run after every change in the cross-section dialog. It may drop a
// trailing point at distance 0 (never below two points), sets screenBaseHeight from the
// profile (or removes a screen whose foot lies before the profile), classifies the profile
// against the line of sight, arms or disarms the warning, stores the four screen-effect
// fields with the given factors and returns the label texts. No user interface: the caller
// beeps and shows warningText when warningDue is set. sep is the decimal separator of the
// label numbers.
ProfileAnalysis AnalyseProfile(ProjectRecord& r, int s, const AngleFactors& factors, ProfileCheck& check,
                               char sep = '.');

// Zone split of the picture: source height 0.5 m, receiver height receiverHeight.
struct MiddleZone {
    double dp = 0.0, A = 0.0, W = 0.0;
    double xn = 0.0;          // displayed distance of the last point
    bool threeZones = false;  // A + W < dp: "Källdel", "Mellandel", "Mottagardel"
    bool drawMean = false;    // the dashed mean height is drawn (three zones and A < xn − W)
    float mean = 0.0f;        // the mean height over [A, xn − W]
};
MiddleZone MiddleZoneSplit(const ProjectRecord& r, int s, double displayScale);
// The length-weighted mean ground height of the middle zone, with distances as displayed
// (stored distance times displayScale); 0 when the zone is empty.
float MiddleZoneMeanHeight(const ProjectRecord& r, int s, double displayScale = 1.0);
