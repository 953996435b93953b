#pragma once
// "1 topic", "3 topics": a number with its noun in the number that fits.

#include <QString>

namespace ts {

inline QString countText(qint64 count, const QString& one, const QString& many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

} // namespace ts
