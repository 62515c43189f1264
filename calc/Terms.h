#pragma once
// The four propagation terms of one source point and band: screen, ground, distance and air
// absorption. Everything that does not depend on the band (path lengths, zone widths, the
// screen's geometry, the scaled break points) is worked out once per source point; the
// band loop only adds what the band changes. Every formula keeps the operation order of the
// method, so the results are the same to the last bit however the work is shared out.

#include "calc/Trace.h"
#include "model/Array1.h"
#include "model/ProjectRecord.h"

// The cross-section as the ground term reads it: break points in stored order.
struct ProfileView {
    const Array1<float, kMaxBreakPoints>* distance = nullptr;
    const Array1<float, kMaxBreakPoints>* height = nullptr;
    int count = 0;        // usable points, 0..33
    double Dref = 0.0;    // distance the stored profile is drawn for (perpendicular or start distance)
};

// One stretch's data read by the terms, widened to double once.
struct StretchTermData {
    double hr = 0, zr = 0;  // receiver height above its ground, ground height at the receiver
    double hb = 0, zb = 0;  // screen crest above its foot, ground height at the screen foot
    double a = 0;           // track–screen distance
    double zt = 0;          // ground height at the track
    int screenType = 0;     // 0 none, 1 absorbing, 2 reflecting
    double groundRef = 0;   // reference ground height of the screen's height factor
    double Gs = 0, Gr = 0, Gm = 0;  // porous fractions of source, receiver and middle zone
    ProfileView profile;
    // The height-dependent exponentials of the ground band functions for the last height
    // seen per band and end (source 0, receiver 1). Without a screen or a cross-section the
    // heights are the same at every source point, so each is computed once per stretch; a
    // value is only reused for exactly the same height, so the bits stay the same.
    struct HeightExp {
        double h = 0.0, e1 = 0.0, e2 = 0.0;
        bool known = false;
    };
    mutable HeightExp heightExp[8][2];
};
StretchTermData TermDataOf(const ProjectRecord& r, int s);

// Path from one source point to the receiver for the screen term. R and D are the
// single-precision horizontal and perpendicular distances the method hands to it.
struct ScreenPath {
    const StretchTermData* stretch = nullptr;
    float R = 0.0f, D = 0.0f;
};
struct ScreenResult {
    double dLs = 0.0;  // −20..0 dB
    double He = 0.0;   // effective screen height (0 without a screen)
    double L = 0.0;    // path length for the distance and air-absorption terms
};
// In the guard case (D ≤ 0, R ≤ 0, band outside 1..7) everything is 0.
ScreenResult ScreenTerm(const ScreenPath& path, int b, TraceSink* trace = nullptr);

// Ground term dLg for the horizontal distance R and the screen's effective height He.
double GroundTerm(const StretchTermData& stretch, double R, int b, double He, TraceSink* trace = nullptr);

// Band-independent geometry of one source point, worked out once for its seven bands.
struct ScreenGeometry {
    bool valid = false;   // not the guard case
    bool screen = false;  // a screen that acts (type > 0 and a ≠ 0)
    double R = 0, D = 0, Hr = 0, Hb = 0;
    double frac = 0, r1 = 0, r2 = 0, Dh = 0, dsr = 0, r1sq = 0, r2sq = 0, Rsq = 0;
    double half = 0, halfSq = 0, rise = 0;  // without a screen: R/2, (R/2)², the mid-point rise
};
ScreenGeometry ScreenGeometryOf(const StretchTermData& st, float R, float D);
ScreenResult ScreenBand(const StretchTermData& st, const ScreenGeometry& g, int b, TraceSink* trace);

struct GroundGeometry {
    bool valid = false;  // R > 0
    double R = 0, dp = 0, W = 0, B = 0, Hsi = 0;
    double spread50 = 0;   // 1 − e^(−dp/50)
    double spreadA = 0;    // 1 − e^(−2.8·10⁻⁶·dp²)
    bool profile = false;  // the break points can be scaled to the path
    Array1<double, kMaxBreakPoints> x{};  // break-point distances scaled to the path
};
GroundGeometry GroundGeometryOf(const StretchTermData& st, double R);
double GroundBand(const StretchTermData& st, const GroundGeometry& g, int b, double He, TraceSink* trace);

// The band values of one source point.
struct BandTerms {
    double dLs = 0.0, He = 0.0, path = 0.0, dLg = 0.0, dLd = 0.0, dLa = 0.0;
};

// A source point with its band-independent geometry. R is the horizontal distance (double
// for the ground term, rounded to single for the screen term), D the perpendicular
// distance of the screen term. With `straightPath` the distance and air-absorption terms
// use the straight 3-D distance from the band's source height instead of the screen
// term's path.
class SourcePoint {
public:
    SourcePoint(const StretchTermData& stretch, double R, float D, bool straightPath = false);
    // The four terms of band b in the method's order. `trace` receives the ground, distance
    // and air-absorption lines, `screenTrace` the screen lines (either may be null).
    BandTerms terms(int b, TraceSink* trace = nullptr, TraceSink* screenTrace = nullptr) const;

private:
    const StretchTermData& stretch_;
    double R_;
    bool straightPath_;
    ScreenGeometry screen_;
    GroundGeometry ground_;
};
