#pragma once
// Little-endian byte building for the help file's structures, and the
// compressed integer forms the topic records use.

#include <QByteArray>
#include <cstdint>

namespace ts::helpfile {

inline void putU8(QByteArray& out, unsigned v) { out.append(char(v & 0xFF)); }
inline void putU16(QByteArray& out, unsigned v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}
inline void putU32(QByteArray& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}
inline void putS16(QByteArray& out, int v) { putU16(out, unsigned(std::uint16_t(std::int16_t(v)))); }
inline void putS32(QByteArray& out, std::int32_t v) { putU32(out, std::uint32_t(v)); }
inline void setU32(QByteArray& out, qsizetype at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((v >> (8 * i)) & 0xFF);
}
inline void setS32(QByteArray& out, qsizetype at, std::int32_t v) { setU32(out, at, std::uint32_t(v)); }
inline void setU16(QByteArray& out, qsizetype at, unsigned v)
{
    out[at] = char(v & 0xFF);
    out[at + 1] = char((v >> 8) & 0xFF);
}
// A byte string with its NUL; NULs inside it become blanks.
inline QByteArray stringz(const QByteArray& text)
{
    QByteArray out = text;
    out.replace('\0', ' ');
    out.append('\0');
    return out;
}

// A byte string padded with NULs (or cut) to exactly `size` bytes.
inline void putFixed(QByteArray& out, const QByteArray& text, int size)
{
    const QByteArray cut = text.left(size);
    out += cut;
    out.append(QByteArray(size - cut.size(), '\0'));
}

// Compressed unsigned short: one byte 2v below 128, else the word 2v+1
// (v at most 32767).
inline void putCompressedU16(QByteArray& out, unsigned v)
{
    if (v < 128)
        putU8(out, v * 2);
    else
        putU16(out, v * 2 + 1);
}
// Compressed signed short: one byte 2(v+64) for -64..63, else the word
// 2(v+16384)+1 (v in -16384..16383).
inline void putCompressedS16(QByteArray& out, int v)
{
    if (v >= -64 && v < 64)
        putU8(out, unsigned(2 * (v + 64)));
    else
        putU16(out, unsigned(2 * (v + 16384) + 1));
}
// Compressed unsigned long: the word 2v below 32768, else the long 2v+1.
inline void putCompressedU32(QByteArray& out, std::uint32_t v)
{
    if (v < 32768)
        putU16(out, v * 2);
    else
        putU32(out, v * 2 + 1);
}
// Compressed signed long: the word 2(v+16384) for -16384..16383, else the
// long 2(v+2^30)+1.
inline void putCompressedS32(QByteArray& out, std::int32_t v)
{
    if (v >= -16384 && v < 16384)
        putU16(out, unsigned(2 * (v + 16384)));
    else
        putU32(out, std::uint32_t(2 * (std::int64_t(v) + (std::int64_t(1) << 30)) + 1));
}

} // namespace ts::helpfile
