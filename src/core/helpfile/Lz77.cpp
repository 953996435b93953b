#include "Lz77.h"

namespace ts::helpfile {
namespace {

constexpr int HashBits = 13;
constexpr int MinMatch = 3;
constexpr int MaxMatch = 18;
constexpr int Window = 4096;
constexpr int ChainLimit = 24; // candidates tried per position; enough for help text

unsigned hash3(const char* p)
{
    const unsigned v = unsigned(static_cast<unsigned char>(p[0])) << 16
                       | unsigned(static_cast<unsigned char>(p[1])) << 8 | static_cast<unsigned char>(p[2]);
    return (v * 2654435761u) >> (32 - HashBits);
}

} // namespace

Lz77Block::Lz77Block() { clear(); }

void Lz77Block::clear()
{
    raw_.clear();
    out_.clear();
    flagAt_ = -1;
    items_ = 8;
    head_.assign(size_t(1) << HashBits, -1);
    prev_.clear();
}

void Lz77Block::emitLiteral(char c)
{
    if (items_ == 8) {
        flagAt_ = out_.size();
        out_.append('\0');
        items_ = 0;
    }
    out_.append(c);
    ++items_;
}

void Lz77Block::emitMatch(int distance, int length)
{
    if (items_ == 8) {
        flagAt_ = out_.size();
        out_.append('\0');
        items_ = 0;
    }
    out_[flagAt_] = char(static_cast<unsigned char>(out_[flagAt_]) | (1u << items_));
    const unsigned word = unsigned(length - MinMatch) << 12 | unsigned(distance - 1);
    out_.append(char(word & 0xFF));
    out_.append(char(word >> 8));
    ++items_;
}

void Lz77Block::insertHash(qsizetype pos)
{
    if (pos + MinMatch > raw_.size())
        return;
    const unsigned h = hash3(raw_.constData() + pos);
    prev_[size_t(pos)] = head_[h];
    head_[h] = int(pos);
}

void Lz77Block::append(const QByteArray& bytes)
{
    const qsizetype start = raw_.size();
    raw_ += bytes;
    prev_.resize(size_t(raw_.size()), -1);
    const char* data = raw_.constData();
    const qsizetype end = raw_.size();
    // Positions before `start` whose three bytes reached into the new data
    // had no hash yet.
    for (qsizetype p = qMax<qsizetype>(0, start - (MinMatch - 1)); p < start; ++p)
        if (p + MinMatch > start)
            insertHash(p);

    qsizetype pos = start;
    while (pos < end) {
        int bestLength = 0;
        int bestDistance = 0;
        if (pos + MinMatch <= end) {
            const int limit = int(qMin<qsizetype>(MaxMatch, end - pos));
            int candidate = head_[hash3(data + pos)];
            for (int tries = 0; candidate >= 0 && tries < ChainLimit; ++tries) {
                const qsizetype distance = pos - candidate;
                if (distance > Window)
                    break;
                int length = 0;
                while (length < limit && data[candidate + length] == data[pos + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = int(distance);
                    if (length == limit)
                        break;
                }
                candidate = prev_[size_t(candidate)];
            }
        }
        if (bestLength >= MinMatch) {
            emitMatch(bestDistance, bestLength);
            for (int i = 0; i < bestLength; ++i)
                insertHash(pos + i);
            pos += bestLength;
        } else {
            emitLiteral(data[pos]);
            insertHash(pos);
            ++pos;
        }
    }
}

QByteArray lz77Compress(const QByteArray& data)
{
    Lz77Block block;
    block.append(data);
    return block.compressed();
}

} // namespace ts::helpfile
