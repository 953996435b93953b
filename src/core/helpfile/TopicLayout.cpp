#include "TopicLayout.h"

#include "HelpFileBytes.h"
#include "Lz77.h"

#include <optional>

namespace ts::helpfile {
namespace {

constexpr qsizetype BlockSize = 4096;
constexpr qsizetype BlockData = BlockSize - 12;         // 4084
constexpr qsizetype CompressedBlockRaw = 0x4000 - 12;   // record data a compressed block may hold
constexpr qsizetype CompressionMargin = 24;             // per record, for the positions filled in later
constexpr qsizetype LastBlockMinimum = 68;              // shorter last blocks are misread by some readers
constexpr qsizetype RecordHeader = 21;
constexpr qsizetype TopicHeaderData = 28;

struct ChainRecord {
    unsigned char Type = 0x20;
    int Topic = 0;                 // the topic it belongs to (the topic count for the end record)
    const TextRecord* Text = nullptr;
    const QByteArray* Title = nullptr;
    qsizetype Size = 0;
    int Block = 0;
    std::int32_t Pos = 0;          // block * 0x4000 + 12 + offset in the block's data
    std::int32_t Offset = 0;       // block * 0x8000 + characters before it in the block
    // For topic headers: indices into the chain, -1 when there is none.
    int FirstNonScrolling = -1, FirstScrolling = -1, NextTopic = -1;
    qsizetype TopicBytes = 0;
};

qsizetype linkData1Size(const ChainRecord& r) { return r.Type == 2 ? TopicHeaderData : r.Text->LinkData1.size(); }

// The record's bytes; `posOf(i)` gives the position of chain record i, or
// of the record expected there while the layout is still being decided.
template <typename PosOf>
QByteArray recordBytes(const std::vector<ChainRecord>& chain, size_t i, PosOf posOf)
{
    const ChainRecord& r = chain[i];
    QByteArray out;
    out.reserve(r.Size);
    const QByteArray& data2 = r.Type == 2 ? *r.Title : r.Text->LinkData2;
    putS32(out, std::int32_t(r.Size));
    putS32(out, std::int32_t(data2.size()));
    putS32(out, i == 0 ? -1 : chain[i - 1].Pos);
    putS32(out, i + 1 < chain.size() ? posOf(i + 1) : -1);
    putS32(out, std::int32_t(RecordHeader + linkData1Size(r)));
    putU8(out, r.Type);
    if (r.Type == 2) {
        const bool end = r.NextTopic < 0;
        putS32(out, end ? 24 : std::int32_t(r.TopicBytes));
        putS32(out, -1); // no browse sequence
        putS32(out, -1);
        putS32(out, r.Topic);
        putS32(out, r.FirstNonScrolling < 0 ? -1 : posOf(size_t(r.FirstNonScrolling)));
        putS32(out, r.FirstScrolling < 0 ? -1 : posOf(size_t(r.FirstScrolling)));
        putS32(out, end ? -1 : posOf(size_t(r.NextTopic)));
    } else {
        out += r.Text->LinkData1;
    }
    out += data2;
    return out;
}

std::vector<ChainRecord> chainOf(const std::vector<LaidOutTopic>& topics)
{
    std::vector<ChainRecord> chain;
    for (int t = 0; t < int(topics.size()); ++t) {
        const LaidOutTopic& topic = topics[size_t(t)];
        const size_t head = chain.size();
        ChainRecord header;
        header.Type = 2;
        header.Topic = t;
        header.Title = &topic.Title;
        header.Size = RecordHeader + TopicHeaderData + topic.Title.size();
        chain.push_back(header);
        const auto addText = [&](const std::vector<TextRecord>& records, int& first) {
            for (const TextRecord& text : records) {
                if (first < 0)
                    first = int(chain.size());
                ChainRecord r;
                r.Topic = t;
                r.Text = &text;
                r.Size = RecordHeader + text.LinkData1.size() + text.LinkData2.size();
                chain.push_back(r);
            }
        };
        int firstNonScrolling = -1, firstScrolling = -1;
        addText(topic.NonScrolling, firstNonScrolling);
        addText(topic.Scrolling, firstScrolling);
        ChainRecord& h = chain[head];
        h.FirstNonScrolling = firstNonScrolling;
        h.FirstScrolling = firstScrolling;
        h.NextTopic = int(chain.size());
        for (size_t i = head; i < chain.size(); ++i)
            h.TopicBytes += chain[i].Size;
    }
    static const QByteArray noTitle;
    ChainRecord end;
    end.Type = 2;
    end.Topic = int(topics.size());
    end.Title = &noTitle;
    end.Size = RecordHeader + TopicHeaderData;
    chain.push_back(end);
    return chain;
}

std::int32_t posOf(int block, qsizetype offset) { return std::int32_t(block * 0x4000 + 12 + offset); }

// Block headers for every block: computed in one pass over the chain.
std::vector<QByteArray> blockHeaders(const std::vector<ChainRecord>& chain, int blocks)
{
    std::vector<QByteArray> headers;
    headers.reserve(size_t(blocks));
    std::int32_t lastLink = -1, lastHeader = 0;
    size_t i = 0;
    for (int b = 0; b < blocks; ++b) {
        while (i < chain.size() && chain[i].Block < b) {
            lastLink = chain[i].Pos;
            if (chain[i].Type == 2)
                lastHeader = chain[i].Pos;
            ++i;
        }
        QByteArray h;
        putS32(h, lastLink);
        putS32(h, i < chain.size() ? chain[i].Pos : -1);
        putS32(h, lastHeader);
        headers.push_back(h);
    }
    return headers;
}

std::optional<QByteArray> layOutCompressed(std::vector<ChainRecord>& chain)
{
    // Deciding the blocks: each record is compressed with the positions it
    // would most likely get; the margin per record covers the difference.
    int block = 0;
    qsizetype offset = 0;
    std::int32_t chars = 0;
    int inBlock = 0;
    Lz77Block lz;
    for (size_t i = 0; i < chain.size(); ++i) {
        ChainRecord& r = chain[i];
        for (int attempt = 0; attempt < 2; ++attempt) {
            r.Block = block;
            r.Pos = posOf(block, offset);
            r.Offset = std::int32_t(block * 0x8000 + chars);
            // Records ahead are expected right behind this one.
            const auto expected = [&](size_t k) {
                qsizetype at = offset;
                for (size_t j = i; j < k; ++j)
                    at += chain[j].Size;
                return posOf(block, at);
            };
            bool fits = offset + r.Size <= CompressedBlockRaw;
            if (fits) {
                const QByteArray bytes = recordBytes(chain, i, expected);
                const qsizetype budget = BlockData - CompressionMargin * (inBlock + 1);
                if (lz.compressedSize() + bytes.size() + bytes.size() / 8 + 2 <= budget) {
                    lz.append(bytes);
                } else {
                    Lz77Block trial = lz;
                    trial.append(bytes);
                    fits = trial.compressedSize() <= budget;
                    if (fits)
                        lz = std::move(trial);
                }
            }
            if (fits)
                break;
            if (inBlock == 0)
                return std::nullopt; // too large for any block
            ++block;
            offset = 0;
            chars = 0;
            inBlock = 0;
            lz.clear();
        }
        offset += r.Size;
        ++inBlock;
        if (r.Type == 0x20)
            chars += r.Text->TopicLength;
    }

    // Writing: every position is known now.
    const int blocks = block + 1;
    const std::vector<QByteArray> headers = blockHeaders(chain, blocks);
    const auto actual = [&chain](size_t k) { return chain[k].Pos; };
    QByteArray out;
    size_t i = 0;
    for (int b = 0; b < blocks; ++b) {
        lz.clear();
        for (; i < chain.size() && chain[i].Block == b; ++i)
            lz.append(recordBytes(chain, i, actual));
        QByteArray data = lz.compressed();
        if (data.size() > BlockData)
            return std::nullopt;
        const qsizetype padTo = b + 1 < blocks ? BlockData : qMax<qsizetype>(data.size(), LastBlockMinimum);
        data.append(QByteArray(padTo - data.size(), '\0'));
        out += headers[size_t(b)];
        out += data;
    }
    return out;
}

QByteArray layOutUncompressed(std::vector<ChainRecord>& chain)
{
    int block = 0;
    qsizetype offset = 0;
    std::int32_t chars = 0;
    for (ChainRecord& r : chain) {
        // The record header and LinkData1 never cross into the next block.
        if (offset + RecordHeader + linkData1Size(r) > BlockData) {
            ++block;
            offset = 0;
            chars = 0;
        }
        r.Block = block;
        r.Pos = posOf(block, offset);
        r.Offset = std::int32_t(block * 0x8000 + chars);
        if (r.Type == 0x20)
            chars += r.Text->TopicLength;
        offset += r.Size;
        while (offset >= BlockData) {
            offset -= BlockData;
            ++block;
            chars = 0;
        }
    }
    const int blocks = offset == 0 && block > 0 ? block : block + 1;
    QByteArray stream(qsizetype(block) * BlockData + offset, '\0');
    const auto actual = [&chain](size_t k) { return chain[k].Pos; };
    for (size_t i = 0; i < chain.size(); ++i) {
        const ChainRecord& r = chain[i];
        const qsizetype at = qsizetype(r.Block) * BlockData + (r.Pos - r.Block * 0x4000 - 12);
        const QByteArray bytes = recordBytes(chain, i, actual);
        stream.replace(at, bytes.size(), bytes);
    }
    const std::vector<QByteArray> headers = blockHeaders(chain, blocks);
    QByteArray out;
    out.reserve(stream.size() + 12 * blocks);
    for (int b = 0; b < blocks; ++b) {
        out += headers[size_t(b)];
        out += stream.mid(qsizetype(b) * BlockData, BlockData);
    }
    return out;
}

} // namespace

TopicFileLayout layOutTopics(const std::vector<LaidOutTopic>& topics, bool compress)
{
    std::vector<ChainRecord> chain = chainOf(topics);
    TopicFileLayout layout;
    for (const ChainRecord& r : chain)
        layout.RecordBytes += r.Size;
    std::optional<QByteArray> bytes;
    if (compress)
        bytes = layOutCompressed(chain);
    layout.Compressed = bytes.has_value();
    layout.Bytes = bytes ? *bytes : layOutUncompressed(chain);
    for (const ChainRecord& r : chain)
        if (r.Type == 2)
            layout.Offsets.push_back(r.Offset);
    return layout;
}

} // namespace ts::helpfile
