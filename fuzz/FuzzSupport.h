#pragma once
// Shared by the fuzz targets. Each target's LLVMFuzzerTestOneInput is its
// whole check: it is linked with libFuzzer for fuzzing, and with ReplayMain.cpp
// into a plain program that the test suite runs over the kept inputs.

#include <QByteArray>
#include <QString>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fuzzsupport {

// Stops on a failed check, so that libFuzzer keeps the input and the replay
// program fails.
[[noreturn]] inline void fail(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
    std::abort();
}

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The input cut into `count` pieces at the first count - 1 NUL bytes; pieces
// that the input does not reach are empty.
inline std::vector<QByteArray> pieces(const QByteArray& input, int count)
{
    std::vector<QByteArray> out;
    qsizetype from = 0;
    for (int i = 0; i + 1 < count; ++i) {
        const qsizetype nul = from <= input.size() ? input.indexOf('\0', from) : -1;
        if (nul < 0) {
            out.push_back(input.mid(from));
            from = input.size() + 1;
        } else {
            out.push_back(input.mid(from, nul - from));
            from = nul + 1;
        }
    }
    out.push_back(from <= input.size() ? input.mid(from) : QByteArray());
    return out;
}

// Text for a check from raw bytes: UTF-8 where it is valid; otherwise each
// byte pair becomes one UTF-16 unit, so any character (lone surrogates
// included) can reach the code under test.
inline QString textOf(const QByteArray& bytes)
{
    if (bytes.startsWith('\x01')) {
        const QByteArray rest = bytes.mid(1);
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(rest.constData()), rest.size() / 2);
    }
    return QString::fromUtf8(bytes);
}

inline QByteArray printable(const QString& text) { return text.toUtf8().toPercentEncoding(" =>[]"); }

} // namespace fuzzsupport
