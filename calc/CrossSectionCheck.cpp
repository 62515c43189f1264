#include "calc/CrossSectionCheck.h"

#include "calc/Profile.h"

int FirstScreenCaseStretch(const ProjectRecord& r)
{
    // The classification may drop a trailing point or a misplaced screen, and it stores
    // screen-effect fields: all of that happens on the copy only.
    ProjectRecord work = r;
    const int count = r.stretchCount < 1 ? 0 : (r.stretchCount > kMaxStretches ? kMaxStretches : r.stretchCount);
    for (int s = 1; s <= count; ++s) {
        if (work.crossSectionOn[s] != 1) continue;
        AngleFactors factors;
        ProfileCheck check;
        if (AnalyseProfile(work, s, factors, check).state == 4) return s;
    }
    return 0;
}

std::string ScreenCaseStretchWarning(int s)
{
    return "Tvärsnittet för delsträcka " + std::to_string(s) +
           " bör räknas som skärmfall eftersom\r\nnågon/några brytpunkter ligger ovanför siktlinjen!";
}
