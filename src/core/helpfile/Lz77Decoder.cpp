#include "Lz77Decoder.h"

#include "HelpFileFormat.h"

namespace ts::helpfile::reading {

Lz77Result lz77Decompress(const char* data, qsizetype size, qsizetype maxOutput)
{
    Lz77Result result;
    QByteArray& out = result.bytes;
    out.reserve(qMin(maxOutput, lz77MaxOutput(size)));
    qsizetype in = 0;
    while (in < size) {
        const auto flags = std::uint8_t(data[in++]);
        for (int bit = 0; bit < 8 && in < size; ++bit) {
            if (out.size() >= maxOutput) {
                result.cutShort = true;
                return result;
            }
            if (!(flags & (1 << bit))) {
                out.append(data[in++]);
                continue;
            }
            if (in + 1 >= size)
                return result; // a lone byte at the end: the input ends mid-item
            const unsigned word = std::uint8_t(data[in]) | unsigned(std::uint8_t(data[in + 1])) << 8;
            in += 2;
            const qsizetype distance = qsizetype(word & 0x0FFF) + 1;
            const qsizetype length = qsizetype(word >> 12) + format::Lz77MinMatch;
            if (distance > out.size()) {
                result.damaged = true;
                return result;
            }
            for (qsizetype i = 0; i < length; ++i) {
                if (out.size() >= maxOutput) {
                    result.cutShort = true;
                    return result;
                }
                out.append(out.at(out.size() - distance));
            }
        }
    }
    return result;
}

} // namespace ts::helpfile::reading
