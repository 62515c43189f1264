#include "calc/TrainTypes.h"

#include <stdexcept>
#include <vector>

#include "calc/Bands.h"
#include "model/CodeTexts.h"

namespace {
using P = EmissionPair;

TagTypRec row(const char* name, int diesel, const char* traction, const char* sleeper, const char* cls,
              std::initializer_list<P> pairs)
{
    TagTypRec r{name, diesel, traction, sleeper, cls, {}};
    int b = 1;
    for (const P& p : pairs) r.EmissionCoefficients[b++] = p;
    return r;
}

const std::vector<TagTypRec>& list(int nationality)
{
    static const std::vector<TagTypRec> norwegian{
        row("Pass", 0, "El", "", "Pass", {{10, 33}, {14, 31}, {9, 35}, {14, 44}, {28, 44}, {25, 41}, {24, 37}}),
        row("Gods", 0, "El", "", "Gods", {{10, 36}, {14, 34}, {9, 38}, {14, 45}, {28, 42}, {25, 38}, {24, 36}}),
        row("BM65", 0, "El", "", "Pass", {{10, 32}, {14, 32}, {9, 36}, {14, 44}, {28, 42}, {25, 36}, {24, 27}}),
        row("BM70", 0, "El", "", "Pass", {{10, 30}, {14, 29}, {9, 33}, {14, 42}, {28, 41}, {25, 36}, {24, 31}}),
        row("BM69", 0, "El", "", "Pass", {{0, 34}, {0, 33}, {-6, 36}, {14, 43}, {28, 40}, {25, 34}, {24, 29}}),
    };
    static const std::vector<TagTypRec> swedish{
        row("X2", 0, "El", "Betong", "Pass", {{22, 29}, {25, 28}, {20, 33}, {12, 35}, {16, 36}, {29, 33}, {30, 27}}),
        row("Pass", 0, "El", "Betong", "Pass", {{8, 31}, {0, 32}, {0, 37}, {-10, 40}, {5, 42}, {15, 40}, {5, 35}}),
        row("PassTrä", 0, "El", "Trä", "Pass", {{10, 30}, {0, 31}, {0, 40}, {-5, 45}, {20, 42}, {35, 38}, {35, 32}}),
        row("X10-11", 0, "El", "Betong", "Pass", {{10, 33}, {6, 33}, {0, 35}, {0, 37}, {20, 37}, {25, 35}, {20, 28}}),
        row("GodsDi", 1, "Diesel", "Betong", "Gods",
            {{-12, 36}, {-12, 39}, {-12, 41}, {12, 45}, {12, 40}, {20, 39}, {18, 33}}),
        row("Gods", 0, "El", "Betong", "Gods", {{0, 32}, {0, 34}, {0, 40}, {5, 44}, {5, 42}, {5, 40}, {5, 34}}),
    };
    static const std::vector<TagTypRec> finnish{
        row("Sm", 0, "El", "Betong", "Pass", {{29, 39}, {14, 30}, {-3, 27}, {15, 32}, {26, 34}, {20, 33}, {18, 27}}),
        row("Sr1", 0, "Huvudsakligen el", "Betong", "Pass",
            {{24, 28}, {36, 25}, {9, 32}, {36, 34}, {39, 35}, {31, 35}, {24, 30}}),
        row("Gods", 0, "Huvudsakligen el", "Trä", "Gods",
            {{-13, 31}, {3, 33}, {1, 39}, {23, 45}, {27, 42}, {17, 36}, {14, 33}}),
        row("GodsRy", 0, "El", "Betong", "Gods",
            {{-1, 37}, {22, 44}, {14, 46}, {31, 49}, {30, 46}, {32, 45}, {26, 39}}),
    };
    static const std::vector<TagTypRec> none;
    switch (nationality) {
    case 0: return norwegian;
    case 1: return swedish;
    case 2: return finnish;
    default: return none;
    }
}
}  // namespace

int TrainTypeCount(int nationality) { return static_cast<int>(list(nationality).size()); }

const TagTypRec& GetTrainType(int nationality, int index)
{
    const auto& l = list(nationality);
    if (index < 0 || index >= static_cast<int>(l.size()))
        throw std::out_of_range("Tågtyp " + std::to_string(index) + " finns inte för nationalitet " +
                                std::to_string(nationality));
    return l[static_cast<std::size_t>(index)];
}

std::string TrainTypeListText(int nationality, std::string_view separator)
{
    std::string s;
    for (const auto& t : list(nationality)) {
        s += t.typeName;
        s += separator;
    }
    return s;
}

std::string trainTypeName(const ProjectRecord& r, int t)
{
    int n = r.nationality[t], i = r.trainType[t];
    if (i < 0 || i >= TrainTypeCount(n)) return {};
    return GetTrainType(n, i).typeName;
}

std::string nationalityName(int nationality) { return codeText(kNationalityNames, nationality); }

double TrainBandLevel(const ProjectRecord& r, int t, int b)
{
    const EmissionPair& p = GetTrainType(r.nationality[t], r.trainType[t]).EmissionCoefficients[b];
    const double v = r.speed[t];
    const double l = r.trainLengthPerDay[t];
    return p.A * Log10(v / 100.0) + 10.0 * Log10(l) + p.B;
}

Array1<double, 7> StretchBandEmission(const ProjectRecord& r, int s)
{
    Array1<double, 7> e{};
    const int k = r.track[s];
    for (int b = 1; b <= 7; ++b) {
        e[b] = 0.0;
        for (int t = 1; t <= r.trainCount; ++t) {
            if (k < 1 || k > 8 || !r.runs(t, k)) continue;
            e[b] = 10.0 * Log10(Pow10(e[b] / 10.0) + Pow10(TrainBandLevel(r, t, b) / 10.0));
        }
    }
    return e;
}
