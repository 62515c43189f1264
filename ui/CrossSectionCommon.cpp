#include "ui/CrossSectionCommon.h"

#include <cmath>

QString distanceBasisText(int basis)
{
    switch (basis) {
    case 1: return QStringLiteral("Anges längs ekvivalentnivåns beräkningslinje");
    case 2: return QStringLiteral("Anges längs maxnivåns beräkningslinje");
    case 3: return QStringLiteral("Anges längs startpositionens beräkningslinje");
    case 4: return QStringLiteral("Anges längs slutpositionens beräkningslinje");
    default: return QStringLiteral("Anges längs normalen (vinkelrätt)");
    }
}

double roundTenth(double x)
{
    // Values beyond any distance the tables can hold are left as they are.
    if (!(std::fabs(x) < 1.0e12)) return x;
    return std::nearbyint(x * 10) / 10;
}

int findLabel(const ProjectRecord& r, int s, int n, const char* text)
{
    for (int p = 1; p <= n; ++p)
        if (r.bpLabel[s][p].equals(text)) return p;
    return 0;
}
