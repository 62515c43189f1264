#pragma once
// Small helpers of the plane geometry that the stretch level, the propagation terms and the
// site plan share. The operation order is part of the results: keep it.

#include <cmath>

#include "calc/Bands.h"

namespace geometry {
inline double sqr(double x) { return x * x; }
// Degrees to radians, in the order π·angle/180.
inline double rad(double degrees) { return kPi * degrees / 180.0; }
// Arccos and arcsin arguments that rounding pushed outside [−1, 1] are taken back into it
// (NaN counts as 1).
inline double unit(double x)
{
    if (x > 1.0) return 1.0;
    if (x < -1.0) return -1.0;
    if (std::isnan(x)) return 1.0;
    return x;
}
}  // namespace geometry
