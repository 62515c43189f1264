// Numbers as the windows show and read them.
#include "ui/NumberText.h"

#include <QLocale>
#include <QRegularExpressionValidator>
#include <cmath>
#include <limits>

#include "calc/Format.h"

QChar decimalSeparator()
{
    const QString d = QLocale().decimalPoint();
    return d.isEmpty() ? QChar('.') : d.at(0);
}

QString realText(double v, int decimals)
{
    return QString::fromStdString(formatFixed(v, decimals, decimalSeparator().toLatin1() ? decimalSeparator().toLatin1() : '.'));
}

std::optional<double> parseReal(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QValidator* numberValidator(QObject* parent, int integerDigits, bool oneDecimal, bool negative)
{
    QString pattern = QStringLiteral("\\d{0,%1}").arg(integerDigits);
    if (oneDecimal) pattern += QStringLiteral("([.,]\\d?)?");
    if (negative) pattern.prepend(QStringLiteral("-?"));
    return new QRegularExpressionValidator(QRegularExpression(pattern), parent);
}

namespace {
bool holdsNoDigit(const QString& text)
{
    for (QChar c : text)
        if (c.isDigit()) return false;
    const QString t = text.trimmed();
    return t.isEmpty() || t == QLatin1String("-") || t == QLatin1String(".") || t == QLatin1String(",") ||
           t == QLatin1String("-.") || t == QLatin1String("-,");
}
}  // namespace

std::optional<double> parseCellReal(const QString& text)
{
    if (holdsNoDigit(text)) return 0.0;
    return parseReal(text);
}

std::optional<int> parseCellInt(const QString& text)
{
    if (holdsNoDigit(text)) return 0;
    return parseInt(text);
}

std::optional<int> parseInt(const QString& text)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(v);
}
