#pragma once
// Numbers as the user types and sees them: the locale's decimal separator, one decimal for
// real fields ("#######.#"), plain integers for integer fields.

#include <QString>
#include <optional>

QChar decimalSeparator();
// A real with one decimal in the locale's form.
QString realText(double v, int decimals = 1);
// Parses a typed real (either separator accepted); nullopt when it is not a number.
std::optional<double> parseReal(const QString& text);
// Parses a typed integer within the signed 32-bit range; nullopt otherwise.
std::optional<int> parseInt(const QString& text);
