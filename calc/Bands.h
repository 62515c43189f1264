#pragma once
// Per-band tables and the small numeric functions of the engine, the bank correction,
// and the distance and air-absorption terms.

#include <cmath>
#include <cstdint>
#include <numbers>

#include "calc/Trace.h"
#include "model/Array1.h"
#include "model/ProjectRecord.h"

inline constexpr double kPi = std::numbers::pi;

constexpr int kBands = 7;  // 63, 125, 250, 500, 1000, 2000, 4000 Hz

extern const Array1<int, 7> BandFrequency;
extern const Array1<double, 7> AirAbsorption;  // dB per metre
extern const Array1<double, 7> SourceHeight;   // m above the track
extern const Array1<double, 7> AWeighting;     // dB

// Common logarithm; 0 for a non-positive argument or NaN.
inline double Log10(double x)
{
    if (!(x > 0.0)) return 0.0;
    return std::log(x) / std::log(10.0);
}
// 10^x computed as e^(x·ln 10).
inline double Pow10(double x) { return std::exp(x * std::log(10.0)); }
// base^exponent as e^(exponent·ln base); base > 0.
double Power(double base, double exponent);
// Energetic addition; an accumulator holding exactly 0 counts as empty.
inline double AddLevel(double acc, double x)
{
    if (acc != 0.0) return 10.0 * Log10(Pow10(acc / 10.0) + Pow10(x / 10.0));
    return x;
}
// The same sum when the energy of x, Pow10(x / 10), is already at hand (same bits).
inline double AddLevelEnergy(double acc, double x, double energyOfX)
{
    if (acc != 0.0) return 10.0 * Log10(Pow10(acc / 10.0) + energyOfX);
    return x;
}
// Nearest integer, exact halves to the even neighbour. Throws std::range_error for NaN or
// a value outside the 32-bit range, so no undefined conversion reaches a result.
std::int32_t RoundEven(double x);
// Round (halves to even) and Trunc with the same range check.
std::int32_t CheckedTrunc(double x);

double BankCorrection(const ProjectRecord& r, int s);
bool IsSwedishType4Or8(const ProjectRecord& r, int t);

// The two terms with their trace lines.
double TracedDistanceTerm(double r, TraceSink& trace);
double TracedAirAbsorptionTerm(int b, double r, TraceSink& trace);

// dLd = −10·lg(4π·r·r); 0 for r = 0. Writes its trace line when trace is non-null.
inline double DistanceTerm(double r, TraceSink* trace = nullptr)
{
    if (trace) return TracedDistanceTerm(r, *trace);
    return r == 0.0 ? 0.0 : -10.0 * Log10(12.566370614359172 * r * r);
}
// dLa = −AirAbsorption[b]·r; 0 for a band outside 1..7 or r = 0.
inline double AirAbsorptionTerm(int b, double r, TraceSink* trace = nullptr)
{
    if (trace) return TracedAirAbsorptionTerm(b, r, *trace);
    return b < 1 || b > 7 || r == 0.0 ? 0.0 : -AirAbsorption[b] * r;
}
