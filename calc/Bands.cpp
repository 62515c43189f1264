#include "calc/Bands.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "calc/Format.h"

const Array1<int, 7> BandFrequency{{63, 125, 250, 500, 1000, 2000, 4000}};
const Array1<double, 7> AirAbsorption{{0.0, 0.0, 0.001, 0.002, 0.004, 0.007, 0.017}};
const Array1<double, 7> SourceHeight{{2.2, 1.7, 1.0, 0.5, 0.6, 0.7, 0.8}};
const Array1<double, 7> AWeighting{{-26.2, -16.1, -8.6, -3.2, 0.0, 1.2, 1.0}};

double Log10(double x)
{
    if (!(x > 0.0)) return 0.0;
    return std::log(x) / std::log(10.0);
}

double Pow10(double x) { return std::exp(x * std::log(10.0)); }

double Power(double base, double exponent) { return std::exp(exponent * std::log(base)); }

double AddLevel(double acc, double x)
{
    if (acc != 0.0) return 10.0 * Log10(Pow10(acc / 10.0) + Pow10(x / 10.0));
    return x;
}

namespace {
void checkConvertible(double x)
{
    if (!(x >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) - 0.5 &&
          x <= static_cast<double>(std::numeric_limits<std::int32_t>::max()) + 0.5))
        throw std::range_error("Talet kan inte avrundas: " + formatGeneral(x));
}
}  // namespace

std::int32_t RoundEven(double x)
{
    checkConvertible(x);
    double r = std::nearbyint(x);  // default rounding mode: halves to even
    if (r > std::numeric_limits<std::int32_t>::max()) r = std::numeric_limits<std::int32_t>::max();
    if (r < std::numeric_limits<std::int32_t>::min()) r = std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

std::int32_t CheckedTrunc(double x)
{
    checkConvertible(x);
    double r = std::trunc(x);
    if (r > std::numeric_limits<std::int32_t>::max()) r = std::numeric_limits<std::int32_t>::max();
    if (r < std::numeric_limits<std::int32_t>::min()) r = std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

double BankCorrection(const ProjectRecord& r, int s)
{
    switch (r.bankCorrection[s]) {
    case 1: return 3.0;
    case 2: return 6.0;
    case 3: return 3.0;
    default: return 0.0;
    }
}

bool IsSwedishType4Or8(const ProjectRecord& r, int t)
{
    return r.nationality[t] == 1 && (r.trainType[t] == 4 || r.trainType[t] == 8);
}

void DistanceTerm(double r, double& dLd, TraceSink* trace)
{
    if (r == 0.0) {
        dLd = 0.0;
        if (trace)
            trace->line(TraceFile::Ld, trace->pass() == TracePass::Equivalent ? "-10*Log(4*Pi*0*0)=0"
                                                                               : "-10*Log(4*P1*0*0)=0");
        return;
    }
    dLd = -10.0 * Log10(12.566370614359172 * r * r);
    if (trace) {
        const char sep = trace->decimalSeparator();
        const std::string rs = formatFixed(r, 2, sep);
        trace->line(TraceFile::Ld, "-10*Log(4*Pi*" + rs + "*" + rs + ")=" + formatFixed(dLd, 2, sep));
    }
}

void AirAbsorptionTerm(int b, double r, double& dLa, TraceSink* trace)
{
    if (b < 1 || b > 7 || r == 0.0) {
        dLa = 0.0;
        if (trace) trace->line(TraceFile::La, "-0*" + formatFixed(r, 2, trace->decimalSeparator()) + "=0");
        return;
    }
    dLa = -AirAbsorption[b] * r;
    if (trace) {
        const char sep = trace->decimalSeparator();
        // Begun as a string object: g++ 12 for Windows warns wrongly (-Wrestrict) on "-" + string.
        trace->line(TraceFile::La, std::string(1, '-') + formatGeneral(AirAbsorption[b], 15, sep) + "*" +
                                       formatFixed(r, 2, sep) + "=" + formatFixed(dLa, 2, sep));
    }
}
