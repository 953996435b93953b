#pragma once
// Undoes the LZ77 packing of topic blocks, phrase tables and pictures: groups
// of a flag byte and up to eight items, each a literal byte (flag bit 0) or a
// back-reference (flag bit 1) of 3..18 bytes at a distance of 1..4096.

#include <QByteArray>

namespace ts::helpfile::reading {

struct Lz77Result {
    QByteArray bytes;
    bool damaged = false;   // a back-reference reached before the start; output ends there
    bool cutShort = false;  // the output reached `maxOutput` before the input ended
};

// Decompresses at most `maxOutput` bytes, so the result never grows beyond
// what the caller allows for the input.
Lz77Result lz77Decompress(const char* data, qsizetype size, qsizetype maxOutput);
inline Lz77Result lz77Decompress(const QByteArray& data, qsizetype maxOutput)
{
    return lz77Decompress(data.constData(), data.size(), maxOutput);
}

// The largest output `size` compressed bytes can give (every item a longest
// back-reference), for bounding what a stated size may claim.
inline qsizetype lz77MaxOutput(qsizetype size) { return size / 17 * 144 + 144; }

} // namespace ts::helpfile::reading
