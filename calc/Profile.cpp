#include "calc/Profile.h"

#include <algorithm>
#include <cmath>

#include "calc/Bands.h"
#include "calc/Format.h"

namespace {
// Nearest integer, halves to even, for picture coordinates. A value that cannot be a pixel
// (NaN, or far outside any picture because of a tiny receiver distance) is held at a bound
// far outside the frame, so it never turns into undefined behaviour.
int Pixel(double v)
{
    if (std::isnan(v)) return 0;
    v = std::clamp(v, -1.0e8, 1.0e8);
    return RoundEven(v);
}

bool ValidStretch(int s) { return s >= 1 && s <= kMaxStretches; }

bool LabelIs(const ProjectRecord& r, int s, int p, const char* text) { return r.bpLabel[s][p].equals(text); }
}  // namespace

const char* const kScreenCaseWarning =
    "Tvärsnittet bör räknas som skärmfall eftersom\r\nnågon/några brytpunkter ligger ovanför siktlinjen!";

std::string ProfileWarningText(int state)
{
    const std::string head = "Kontrollera skärmens placering eftersom\r\nnågon/några brytpunkter ligger ovanför siktlinjen\r\n";
    switch (state) {
    case 1: return head + "mellan källan och skärmkrönet!";
    case 2: return head + "mellan skärmkrönet och mottagaren!";
    case 3: return head + "mellan källan och mottagaren!";
    default: return {};
    }
}

void ComputeAngleFactors(const ProjectRecord& r, int s, AngleFactors& factors)
{
    if (!ValidStretch(s)) return;
    const double from = r.angleFrom[s];
    const double to = r.angleTo[s];
    if (from == to) return;
    const double lo = std::min(from, to);
    const double hi = std::max(from, to);
    const double span = hi - lo;
    double maxAngle;
    double eqAngle;
    if (lo > 90) {
        maxAngle = lo - 90;
        eqAngle = (lo - 90) + span / 2;
    } else if (lo == 90) {
        maxAngle = 180;
        eqAngle = span / 2;
    } else if (hi >= 90) {
        maxAngle = 180;
        const double before = (90 - lo) / 2;
        const double after = (hi - 90) / 2;
        eqAngle = before > after ? before : after;
    } else {
        maxAngle = 90 - hi;
        eqAngle = (90 - hi) + span / 2;
    }
    factors.MaxFactor = static_cast<float>(std::fabs(std::cos(kPi * maxAngle / 180)));
    factors.EqFactor = static_cast<float>(std::fabs(std::cos(kPi * eqAngle / 180)));
}

void EffectiveScreenHeights(const ProjectRecord& r, int s, double k, double& low, double& high)
{
    if (!ValidStretch(s)) {
        low = high = 0.0;
        return;
    }
    const double Hb = static_cast<double>(r.screenBaseHeight[s]) + static_cast<double>(r.screenCrestHeight[s]);
    const double Hr = static_cast<double>(r.receiverGroundHeight[s]) + static_cast<double>(r.receiverHeight[s]);
    const double a = r.screenDistance[s];
    const double D = r.shape[s] != 0 ? r.startDistance[s] : r.perpDistance[s];
    if (D == 0.0) {
        // No receiver distance: the line of sight has no slope to measure against.
        low = 0.0;
        high = 0.0;
        return;
    }
    const double Hs1 = static_cast<double>(r.trackHeight[s]) + SourceHeight[1];
    const double Ls1 = Hs1 - (Hs1 - Hr) * a / D;
    const double Dh1 = k != 0.0 ? (k * a) * (k * D - k * a) / (16 * k * D) : 0.0;
    const double He1 = Hb - Ls1 - Dh1;

    const double Hs2 = static_cast<double>(r.trackHeight[s]) + SourceHeight[4];
    const double Ls2 = Hs2 - (Hs2 - Hr) * a / D;
    const double Dh2 = (D - a) * a / (16 * D);
    const double He2 = Hb - Ls2 - Dh2;

    if (He1 <= He2) {
        low = He1;
        high = He2;
    } else {
        low = He2;
        high = He1;
    }
}

int ProfilePointCount(const ProjectRecord& r, int s)
{
    return ValidStretch(s) ? std::clamp<int>(r.bpCount[s], 2, kMaxBreakPoints) : 2;
}

namespace {
// Step 1: a trailing point at distance 0 is dropped; two points always remain. Returns the
// number of points.
int dropTrailingPoint(ProjectRecord& r, int s, ProfileAnalysis& out)
{
    int n = ProfilePointCount(r, s);
    if (r.bpDistance[s][n] == 0.0f && n > 2) {
        --n;
        r.bpCount[s] = n;
        out.pointDropped = true;
    }
    return n;
}

// Step 2: the ground height at the screen foot, interpolated in the profile segment that holds
// the screen (extrapolated beyond the last point); a foot before that segment removes the screen.
void placeScreenFoot(ProjectRecord& r, int s, int n, ProfileAnalysis& out)
{
    if (r.screenType[s] <= 0) return;
    const auto& d = r.bpDistance[s];
    const auto& h = r.bpHeight[s];
    const double a = r.screenDistance[s];
    int i = n - 1;
    for (int j = 1; j <= n - 1; ++j)
        if (d[j + 1] > a) {
            i = j;
            break;
        }
    if (d[i] == a) {
        r.screenBaseHeight[s] = h[i];
    } else if (d[i] < a) {
        const double x1 = d[i], x2 = d[i + 1];
        const double z1 = h[i], z2 = h[i + 1];
        // Two points at one distance give no slope: the ground is taken as level there.
        const double z = x2 != x1 ? z1 + (z2 - z1) * (a - x1) / (x2 - x1) : z1;
        r.screenBaseHeight[s] = static_cast<float>(z);
    } else {
        r.screenType[s] = 0;
        out.screenRemoved = true;
    }
}

// Step 3: source, receiver and crest heights and the picture's height range.
void pictureRange(const ProjectRecord& r, int s, int n, ProfilePicture& pic)
{
    const auto& h = r.bpHeight[s];
    pic.count = n;
    pic.hasScreen = r.screenType[s] > 0;
    pic.Hs = static_cast<double>(h[1]) + 0.5;
    pic.Hr = static_cast<double>(h[n]) + static_cast<double>(r.receiverHeight[s]);
    pic.xr = r.bpDistance[s][n];
    pic.Hb = static_cast<double>(r.screenBaseHeight[s]) + static_cast<double>(r.screenCrestHeight[s]);
    pic.zmax = static_cast<double>(h[1]) + 0.5;
    pic.zmin = h[1];
    for (int i = 2; i <= n; ++i) {
        const double top =
            LabelIs(r, s, i, "MT") ? static_cast<double>(h[i]) + static_cast<double>(r.receiverHeight[s]) : h[i];
        if (top > pic.zmax) pic.zmax = top;
        if (h[i] < pic.zmin) pic.zmin = h[i];
    }
    if (pic.Hb > pic.zmax) pic.zmax = pic.Hb;
}

// Steps 4 and 5: integer picture coordinates, and whether the screen cuts the straight line
// of sight. Needs a receiver distance.
void pictureCoordinates(const ProjectRecord& r, int s, ProfilePicture& pic)
{
    const double a = r.screenDistance[s];
    auto X = [&](double dist) { return Pixel(500 * dist / pic.xr) + 50; };
    auto Y = [&](double z) { return 160 - Pixel(100 * (z - pic.zmin) / (pic.zmax - pic.zmin)); };
    pic.valid = true;
    for (int i = 1; i <= pic.count; ++i) {
        pic.X[i] = X(r.bpDistance[s][i]);
        pic.Y[i] = Y(r.bpHeight[s][i]);
    }
    pic.Ys = Y(pic.Hs);
    pic.Yr = Y(pic.Hr);
    pic.Xb = X(a);
    pic.Yb = Y(pic.Hb);
    pic.Yfoot = Y(r.screenBaseHeight[s]);
    pic.screenCuts = pic.hasScreen && pic.Hb > pic.Hs - (a / pic.xr) * (pic.Hs - pic.Hr);
}

// The state a point sets when it lies above the line of sight that concerns it, else 0.
ProfileState pointState(const ProjectRecord& r, int s, const ProfilePicture& pic, int i)
{
    const int Xi = pic.X[i], Yi = pic.Y[i];
    const bool mt = LabelIs(r, s, i, "MT");
    const bool sk = LabelIs(r, s, i, "SK");
    auto above = [Yi](double line) { return Yi < Pixel(line); };
    if (pic.screenCuts && static_cast<double>(r.bpDistance[s][i]) < r.screenDistance[s]) {
        // Nearer than the screen: the line source–crest.
        if (!sk && pic.Xb != 50 && above(pic.Yb + static_cast<double>(pic.Ys - pic.Yb) * (pic.Xb - Xi) / (pic.Xb - 50)))
            return ProfileState::AboveSourceToCrest;
    } else if (pic.screenCuts) {
        // At or beyond the screen: the line crest–receiver.
        if (!mt && !sk && pic.Xb != 550 &&
            above(pic.Yb + static_cast<double>(pic.Yr - pic.Yb) * (Xi - pic.Xb) / (550 - pic.Xb)))
            return ProfileState::AboveCrestToReceiver;
    } else {
        const bool aboveSight = above(pic.Ys + static_cast<double>(pic.Yr - pic.Ys) * (Xi - 50) / 500);
        if (pic.hasScreen && !mt && !sk && aboveSight) return ProfileState::ScreenMissesSight;
        if (!pic.hasScreen && !mt && aboveSight) return ProfileState::ScreenCase;
    }
    return ProfileState::Clear;
}

// Step 6: the points from 2 up to the receiver point against the line of sight; a later
// point overwrites the state of an earlier one.
ProfileState classify(const ProjectRecord& r, int s, const ProfilePicture& pic)
{
    ProfileState state = ProfileState::Clear;
    for (int i = 2; i <= pic.count; ++i) {
        const ProfileState p = pointState(r, s, pic, i);
        if (p != ProfileState::Clear) state = p;
        if (LabelIs(r, s, i, "MT")) break;
    }
    return state;
}

// Step 7: the warning of states 1..3, once per arming; state 0 arms it, state 4 disarms it.
void armWarning(ProfileState state, ProfileCheck& check, ProfileAnalysis& out)
{
    if (state == ProfileState::Clear) {
        check.WarningArmed = true;
    } else if (state == ProfileState::ScreenCase) {
        check.WarningArmed = false;
    } else if (check.WarningArmed) {
        out.warningDue = true;
        out.warningText = ProfileWarningText(static_cast<int>(state));
        check.WarningArmed = false;
    }
}

// Step 8: the four screen-effect fields and the texts of the result labels.
void screenResults(ProjectRecord& r, int s, const AngleFactors& factors, char sep, ProfileAnalysis& out)
{
    double lo, hi;
    EffectiveScreenHeights(r, s, factors.EqFactor, lo, hi);
    r.screenEffectEqA[s] = static_cast<float>(lo);
    r.screenEffectEqB[s] = static_cast<float>(hi);
    const double eqLow = lo, eqHigh = hi;
    EffectiveScreenHeights(r, s, factors.MaxFactor, lo, hi);
    r.screenEffectMaxA[s] = static_cast<float>(lo);
    r.screenEffectMaxB[s] = static_cast<float>(hi);
    out.low = r.bpDistanceBasis[s] == 0 ? eqLow : lo;
    out.high = r.bpDistanceBasis[s] == 0 ? eqHigh : hi;
    out.screenHeightText =
        "Effektiv Skärmhöjd: " + formatFixed(out.low, 2, sep) + " - " + formatFixed(out.high, 2, sep) + " m  ";
    out.screenBaseText = "Markhöjd vid skärm: " + formatFixed(r.screenBaseHeight[s], 2, sep);
    if (out.low > 0 && out.high > 0)
        out.colour = ScreenLabelColour::Green;
    else if (out.low < 0 && out.high < 0)
        out.colour = ScreenLabelColour::Red;
    else
        out.colour = ScreenLabelColour::Blue;
}
}  // namespace

ProfileAnalysis AnalyseProfile(ProjectRecord& r, int s, const AngleFactors& factors, ProfileCheck& check, char sep)
{
    ProfileAnalysis out;
    if (!ValidStretch(s)) return out;
    const int n = dropTrailingPoint(r, s, out);
    placeScreenFoot(r, s, n, out);
    pictureRange(r, s, n, out.picture);
    ProfileState state = ProfileState::Clear;
    // Without a receiver distance the picture has no coordinates and nothing is classified.
    if (out.picture.xr != 0.0) {
        pictureCoordinates(r, s, out.picture);
        state = classify(r, s, out.picture);
    }
    out.state = static_cast<int>(state);
    check.ProfileState = out.state;
    armWarning(state, check, out);
    if (out.picture.hasScreen) screenResults(r, s, factors, sep, out);
    return out;
}

MiddleZone MiddleZoneSplit(const ProjectRecord& r, int s, double displayScale)
{
    MiddleZone z;
    if (!ValidStretch(s)) return z;
    const int n = ProfilePointCount(r, s);
    const double hr = r.receiverHeight[s];
    const double xr = r.bpDistance[s][n];
    z.dp = std::sqrt((hr - 0.5) * (hr - 0.5) + xr * xr);
    z.A = std::min(30 * 0.5, z.dp);
    z.W = std::min(30 * hr, z.dp);
    z.xn = static_cast<double>(r.bpDistance[s][n]) * displayScale;
    z.threeZones = z.A + z.W < z.dp;
    const double B = z.xn - z.W;
    z.drawMean = z.threeZones && z.A < B;
    if (!z.drawMean) return z;

    const double M = B - z.A;
    double sum = 0.0;
    for (int i = 1; i < n; ++i) {
        const double x1 = static_cast<double>(r.bpDistance[s][i]) * displayScale;
        const double x2 = static_cast<double>(r.bpDistance[s][i + 1]) * displayScale;
        const double z1 = r.bpHeight[s][i];
        const double z2 = r.bpHeight[s][i + 1];
        const double from = std::max(x1, z.A);
        const double to = std::min(x2, B);
        if (!(to > from)) continue;
        const double mid = (from + to) / 2;
        const double zm = x2 != x1 ? z1 + (z2 - z1) * (mid - x1) / (x2 - x1) : z1;
        sum += (to - from) / M * zm;
    }
    z.mean = static_cast<float>(sum);
    return z;
}

float MiddleZoneMeanHeight(const ProjectRecord& r, int s, double displayScale)
{
    return MiddleZoneSplit(r, s, displayScale).mean;
}
