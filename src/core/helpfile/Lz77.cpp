#include "Lz77.h"

#include "HelpFileFormat.h"

namespace ts::helpfile {
namespace {

constexpr int HashBits = 13;
constexpr int MinMatch = format::Lz77MinMatch;
constexpr int MaxMatch = format::Lz77MaxMatch;
constexpr int Window = format::Lz77Window;
constexpr int ItemsPerFlag = format::Lz77ItemsPerFlag;
constexpr int ChainLimit = 12; // candidates tried per position; enough for help text

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
    items_ = ItemsPerFlag;
    head_.assign(size_t(1) << HashBits, -1);
    prev_.clear();
}

inline void Lz77Block::emitLiteral(char c)
{
    if (items_ == ItemsPerFlag) {
        flagAt_ = qsizetype(out_.size());
        out_.push_back('\0');
        items_ = 0;
    }
    out_.push_back(c);
    ++items_;
}

inline void Lz77Block::emitMatch(int distance, int length)
{
    if (items_ == ItemsPerFlag) {
        flagAt_ = qsizetype(out_.size());
        out_.push_back('\0');
        items_ = 0;
    }
    out_[size_t(flagAt_)] = char(static_cast<unsigned char>(out_[size_t(flagAt_)]) | (1u << items_));
    const unsigned word = unsigned(length - MinMatch) << format::Lz77DistanceBits | unsigned(distance - 1);
    out_.push_back(char(word & 0xFF));
    out_.push_back(char(word >> 8));
    ++items_;
}

inline void Lz77Block::insertHash(qsizetype pos)
{
    if (pos + MinMatch > qsizetype(raw_.size()))
        return;
    const unsigned h = hash3(raw_.data() + pos);
    prev_[size_t(pos)] = head_[h];
    head_[h] = int(pos);
}

void Lz77Block::append(const QByteArray& bytes)
{
    const auto start = qsizetype(raw_.size());
    raw_.insert(raw_.end(), bytes.begin(), bytes.end());
    prev_.resize(raw_.size(), -1);
    out_.reserve(out_.size() + size_t(bytes.size()) + size_t(bytes.size()) / 8 + 2);
    const char* data = raw_.data();
    const auto end = qsizetype(raw_.size());
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
                if (data[candidate + bestLength] != data[pos + bestLength]) {
                    candidate = prev_[size_t(candidate)];
                    continue;
                }
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

Lz77Block::Checkpoint Lz77Block::checkpoint() const
{
    Checkpoint c;
    c.Raw = qsizetype(raw_.size());
    c.Out = qsizetype(out_.size());
    c.FlagAt = flagAt_;
    c.Items = items_;
    c.Flag = flagAt_ >= 0 ? out_[size_t(flagAt_)] : char(0);
    return c;
}

void Lz77Block::rewind(const Checkpoint& c)
{
    // Hashes were added in rising positions; taking them off in falling
    // order restores every chain.
    for (qsizetype p = qsizetype(raw_.size()) - MinMatch; p >= qMax<qsizetype>(0, c.Raw - (MinMatch - 1)); --p)
        head_[hash3(raw_.data() + p)] = prev_[size_t(p)];
    raw_.resize(size_t(c.Raw));
    prev_.resize(size_t(c.Raw));
    out_.resize(size_t(c.Out));
    flagAt_ = c.FlagAt;
    items_ = c.Items;
    if (flagAt_ >= 0)
        out_[size_t(flagAt_)] = c.Flag;
}

void Lz77Block::resume(const QByteArray& raw, const QByteArray& compressed, const Checkpoint& c)
{
    clear();
    raw_.assign(raw.begin(), raw.begin() + c.Raw);
    out_.assign(compressed.begin(), compressed.begin() + c.Out);
    flagAt_ = c.FlagAt;
    items_ = c.Items;
    if (flagAt_ >= 0)
        out_[size_t(flagAt_)] = c.Flag;
    prev_.assign(raw_.size(), -1);
    for (qsizetype p = 0; p + MinMatch <= c.Raw; ++p)
        insertHash(p);
}

QByteArray Lz77Block::compressed() const { return QByteArray(out_.data(), qsizetype(out_.size())); }

QByteArray lz77Compress(const QByteArray& data)
{
    Lz77Block block;
    block.append(data);
    return block.compressed();
}

} // namespace ts::helpfile
