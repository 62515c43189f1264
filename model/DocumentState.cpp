#include "model/DocumentState.h"

#include <algorithm>
#include <cmath>

#include "model/ProjectRecord.h"

int refreshSegmentLength(const ProjectRecord& r, int setting, SegmentControl& control)
{
    control.lower = 1;
    const int n = std::clamp(r.stretchCount, 1, kMaxStretches);
    for (int s = 1; s <= n; ++s) {
        double d;
        if (r.shape[s] == 0)
            d = r.perpDistance[s];
        else
            d = r.startDistance[s] >= r.endDistance[s] ? r.endDistance[s] : r.startDistance[s];
        if (!(d > 0.0)) continue;
        const double half = std::nearbyint(std::min(d, 4.0e9) / 2.0);  // halves to even
        const int m = static_cast<int>(half);
        if (s == 1 || m < control.upper) control.upper = m;
    }
    int v = setting;
    // A spin control whose two limits are equal has no range: the setting is taken as it is.
    if (control.lower != control.upper) v = std::clamp(v, control.lower, std::max(control.lower, control.upper));
    // A segment of 0 m would make a stretch far too loud: never below 1.
    if (v < 1) v = 1;
    control.value = v;
    return v;
}
