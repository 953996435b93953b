#include "Windows1252.h"

namespace ts::cp1252 {
namespace {

// Unicode code points of bytes 0x80..0x9F. Undefined bytes keep their own value.
constexpr char16_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString decode(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(data);
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char b = src[i];
        dst[i] = (b >= 0x80 && b < 0xA0) ? High[b - 0x80] : char16_t(b);
    }
    return out;
}

QString decode(const QByteArray& bytes)
{
    return decode(bytes.constData(), bytes.size());
}

int byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (High[i] == c)
            return 0x80 + i;
    return -1;
}

bool canEncode(const QString& text)
{
    for (QChar c : text)
        if (byteFor(c.unicode()) < 0)
            return false;
    return true;
}

QByteArray encode(const QString& text, char replacement)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    const char16_t* src = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = src[i];
        if (c < 0x80) {
            dst[i] = char(c);
            continue;
        }
        const int b = byteFor(c);
        dst[i] = b >= 0 ? char(b) : replacement;
    }
    return out;
}

QString filter(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (byteFor(c.unicode()) >= 0)
            out.append(c);
    return out;
}

} // namespace ts::cp1252
