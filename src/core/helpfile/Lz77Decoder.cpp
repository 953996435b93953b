#include "Lz77Decoder.h"

#include "HelpFileFormat.h"

namespace ts::helpfile::reading {

Lz77Result lz77Decompress(const char* data, qsizetype size, qsizetype maxOutput)
{
    Lz77Result result;
    // Room for everything the input can give, but never more than allowed.
    result.bytes.resize(qMax<qsizetype>(0, qMin(maxOutput, lz77MaxOutput(size))));
    char* out = result.bytes.data();
    const qsizetype room = result.bytes.size();
    qsizetype written = 0;
    qsizetype in = 0;
    while (in < size && !result.damaged && !result.cutShort) {
        const auto flags = std::uint8_t(data[in++]);
        for (int bit = 0; bit < format::Lz77ItemsPerFlag && in < size; ++bit) {
            if (written >= room) {
                result.cutShort = true;
                break;
            }
            if (!(flags & (1 << bit))) {
                out[written++] = data[in++];
                continue;
            }
            if (in + 1 >= size) {
                in = size; // a lone byte at the end: the input ends mid-item
                break;
            }
            const unsigned word = std::uint8_t(data[in]) | unsigned(std::uint8_t(data[in + 1])) << 8;
            in += 2;
            const qsizetype distance = qsizetype(word & ((1u << format::Lz77DistanceBits) - 1)) + 1;
            qsizetype length = qsizetype(word >> format::Lz77DistanceBits) + format::Lz77MinMatch;
            if (distance > written) {
                result.damaged = true;
                break;
            }
            if (length > room - written) {
                length = room - written;
                result.cutShort = true;
            }
            // One byte at a time: the copy may overlap what it produces.
            for (qsizetype i = 0; i < length; ++i, ++written)
                out[written] = out[written - distance];
        }
    }
    result.bytes.truncate(written);
    return result;
}

} // namespace ts::helpfile::reading
