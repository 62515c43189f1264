#pragma once
// Numbers as the user types and sees them: the locale's decimal separator, one decimal for
// real fields ("#######.#"), plain integers for integer fields.

#include <QString>
#include <optional>

class QObject;
class QValidator;

QChar decimalSeparator();
// A real with one decimal in the locale's form.
QString realText(double v, int decimals = 1);
// Parses a typed real (either separator accepted); nullopt when it is not a number.
std::optional<double> parseReal(const QString& text);
// Parses a typed integer within the signed 32-bit range; nullopt otherwise.
std::optional<int> parseInt(const QString& text);

// What a number entry takes while it is typed, in every table and cross-section field: at
// most `integerDigits` whole digits, with `oneDecimal` one decimal after either separator,
// and a leading minus only when `negative`.
QValidator* numberValidator(QObject* parent, int integerDigits, bool oneDecimal, bool negative);

// A number typed into a table cell, the main tables and the cross-section tables alike: as
// parseReal and parseInt, except that a cell holding no digit (emptied, or only a sign or a
// decimal separator) holds 0.
std::optional<double> parseCellReal(const QString& text);
std::optional<int> parseCellInt(const QString& text);
