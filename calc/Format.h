#pragma once
// Number texts of the trace, the report and the exports.

#include <string>

// Fixed-point with the given decimals; halves of the shown digit round away from zero,
// decided on the value's 17 significant digits (so 0.125 gives "0.13").
std::string formatFixed(double x, int decimals, char sep = '.');
// General format: the shortest text of the value rounded to `precision` significant
// digits, no trailing zeros; scientific ("1.5E20", "1E-6") for very large or small values.
std::string formatGeneral(double x, int precision = 15, char sep = '.');
// An integer in plain decimal.
std::string formatInt(long long v);
