#include "UserInteger.h"

#include <cstdint>
#include <limits>

namespace ts {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<int> parseUserInteger(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    if (i == n)
        return std::nullopt;

    std::int64_t value = 0;
    if (text.at(i) == QLatin1Char('$')) {
        // Hexadecimal: a value above the largest positive integer is refused
        // rather than wrapped into a negative number the user never typed.
        ++i;
        if (i == n)
            return std::nullopt;
        for (; i < n; ++i) {
            const int d = hexDigit(text.at(i));
            if (d < 0)
                return std::nullopt;
            value = value * 16 + d;
            if (value > std::numeric_limits<int>::max())
                return std::nullopt;
        }
        return int(value);
    }

    bool negative = false;
    if (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return std::nullopt;
    const std::int64_t limit = negative ? -std::int64_t(std::numeric_limits<int>::min())
                                        : std::int64_t(std::numeric_limits<int>::max());
    for (; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return int(negative ? -value : value);
}

QString notAnIntegerMessage(const QString& text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

} // namespace ts
