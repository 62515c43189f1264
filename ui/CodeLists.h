#pragma once
// The record's code texts (model/CodeTexts.h) as the window's drop-down lists take them.

#include <QString>
#include <QStringList>

#include "model/CodeTexts.h"

template <std::size_t N>
QStringList codeList(const std::array<std::string_view, N>& names)
{
    QStringList l;
    for (std::string_view n : names) l << QString::fromUtf8(n.data(), static_cast<qsizetype>(n.size()));
    return l;
}
