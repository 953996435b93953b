#include "TopicLayout.h"

#include "HelpFileBytes.h"
#include "HelpFileFormat.h"
#include "Lz77.h"

#include <optional>

namespace ts::helpfile {
namespace {

using namespace format;

constexpr qsizetype BlockData = TopicBlockSize - TopicBlockHeaderSize; // 4084
// Record data a compressed block may hold: positions count it in 16 KB steps.
constexpr qsizetype CompressedBlockRaw = (qsizetype(1) << TopicPosBlockShift) - TopicBlockHeaderSize;
constexpr qsizetype DecompressedBlock = DecompressedBlockSize; // what a compressed block may decompress to
constexpr qsizetype CompressionMargin = 24;             // per record, for the positions filled in later
constexpr qsizetype LastBlockMinimum = 68;              // shorter last blocks are misread by some readers

struct ChainRecord {
    unsigned char Type = RecordText;
    int Topic = 0;                 // the topic it belongs to (the topic count for the end record)
    const TextRecord* Text = nullptr;
    const QByteArray* Title = nullptr;
    qsizetype Size = 0;
    int Block = 0;
    std::int32_t Pos = 0;          // TOPICPOS: block << 14 | 12 + offset in the block's data
    std::int32_t Offset = 0;       // TOPICOFFSET: block << 15 | characters before it in the block
    // For topic headers: indices into the chain, -1 when there is none.
    int FirstNonScrolling = -1, FirstScrolling = -1, NextTopic = -1;
    qsizetype TopicBytes = 0;
};

qsizetype linkData1Size(const ChainRecord& r) { return r.Type == RecordTopicHeader ? TopicHeaderSize : r.Text->LinkData1.size(); }

// The record's bytes; `posOf(i)` gives the position of chain record i, or
// of the record expected there while the layout is still being decided.
template <typename PosOf>
QByteArray recordBytes(const std::vector<ChainRecord>& chain, size_t i, PosOf posOf)
{
    const ChainRecord& r = chain[i];
    QByteArray out;
    out.reserve(r.Size);
    const QByteArray& data2 = r.Type == RecordTopicHeader ? *r.Title : r.Text->LinkData2;
    putS32(out, std::int32_t(r.Size));
    putS32(out, std::int32_t(data2.size()));
    putS32(out, i == 0 ? NoTopicPos : chain[i - 1].Pos);
    putS32(out, i + 1 < chain.size() ? posOf(i + 1) : NoTopicPos);
    putS32(out, std::int32_t(RecordHeaderSize + linkData1Size(r)));
    putU8(out, r.Type);
    if (r.Type == RecordTopicHeader) {
        const bool end = r.NextTopic < 0;
        putS32(out, end ? EndTopicBlockSize : std::int32_t(r.TopicBytes));
        putS32(out, NoTopicPos); // no browse sequence
        putS32(out, NoTopicPos);
        putS32(out, r.Topic);
        putS32(out, r.FirstNonScrolling < 0 ? NoTopicPos : posOf(size_t(r.FirstNonScrolling)));
        putS32(out, r.FirstScrolling < 0 ? NoTopicPos : posOf(size_t(r.FirstScrolling)));
        putS32(out, end ? NoTopicPos : posOf(size_t(r.NextTopic)));
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
        header.Type = RecordTopicHeader;
        header.Topic = t;
        header.Title = &topic.Title;
        header.Size = RecordHeaderSize + TopicHeaderSize + topic.Title.size();
        chain.push_back(header);
        const auto addText = [&](const std::vector<TextRecord>& records, int& first) {
            for (const TextRecord& text : records) {
                if (first < 0)
                    first = int(chain.size());
                ChainRecord r;
                r.Topic = t;
                r.Text = &text;
                r.Size = RecordHeaderSize + text.LinkData1.size() + text.LinkData2.size();
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
    end.Type = RecordTopicHeader;
    end.Topic = int(topics.size());
    end.Title = &noTitle;
    end.Size = RecordHeaderSize + TopicHeaderSize;
    chain.push_back(end);
    return chain;
}

std::int32_t posOf(int block, qsizetype offset)
{
    return std::int32_t((qsizetype(block) << TopicPosBlockShift) + TopicBlockHeaderSize + offset);
}
std::int32_t offsetOf(int block, std::int32_t characters)
{
    return std::int32_t((block << TopicOffsetBlockShift) + characters);
}

// Block headers for every block: computed in one pass over the chain.
std::vector<QByteArray> blockHeaders(const std::vector<ChainRecord>& chain, int blocks)
{
    std::vector<QByteArray> headers;
    headers.reserve(size_t(blocks));
    std::int32_t lastLink = NoTopicPos, lastHeader = 0;
    size_t i = 0;
    for (int b = 0; b < blocks; ++b) {
        while (i < chain.size() && chain[i].Block < b) {
            lastLink = chain[i].Pos;
            if (chain[i].Type == RecordTopicHeader)
                lastHeader = chain[i].Pos;
            ++i;
        }
        QByteArray h;
        putS32(h, lastLink);
        putS32(h, i < chain.size() ? chain[i].Pos : NoTopicPos);
        putS32(h, lastHeader);
        headers.push_back(h);
    }
    return headers;
}

// A compressed block while the layout is decided: the records it holds from
// `First` on, what they were compressed from and where each one starts, so
// that writing recompresses only from the first record whose bytes came out
// different.
struct CompressedBlock {
    size_t First = 0;
    QByteArray Raw;
    QByteArray Compressed;
    std::vector<Lz77Block::Checkpoint> Checkpoints; // before each record
    std::vector<qsizetype> Ends;                     // raw size after each record
};

// Compresses record i into the block when it fits, at the positions it would
// most likely get (the records ahead right behind it); the margin per record
// covers the difference. Leaves `lz` as it was when the record does not fit.
bool appendCompressed(const std::vector<ChainRecord>& chain, size_t i, qsizetype offset, CompressedBlock& block,
                      Lz77Block& lz)
{
    const ChainRecord& r = chain[i];
    if (offset + r.Size > CompressedBlockRaw)
        return false;
    const int inBlock = int(i - block.First);
    const auto expected = [&](size_t k) {
        qsizetype at = offset;
        for (size_t j = i; j < k; ++j)
            at += chain[j].Size;
        return posOf(r.Block, at);
    };
    const QByteArray bytes = recordBytes(chain, i, expected);
    const qsizetype margin = CompressionMargin * (inBlock + 1);
    const Lz77Block::Checkpoint before = lz.checkpoint();
    lz.append(bytes);
    // The zero bytes that pad the block decompress too, at most one byte
    // each: with them the block must still decompress to no more than a
    // reader's block buffer holds.
    const bool fits = lz.compressedSize() + margin <= BlockData
                      && offset + r.Size + (BlockData - lz.compressedSize()) + margin <= DecompressedBlock;
    if (!fits) {
        lz.rewind(before);
        return false;
    }
    block.Raw += bytes;
    block.Checkpoints.push_back(before);
    block.Ends.push_back(block.Raw.size());
    return true;
}

// Decides which records go into which block and gives every record its
// position; nothing when a record is too large for any block.
std::optional<std::vector<CompressedBlock>> compressedBlocks(std::vector<ChainRecord>& chain, Lz77Block& lz)
{
    std::vector<CompressedBlock> blocks(1);
    qsizetype offset = 0;
    std::int32_t chars = 0;
    for (size_t i = 0; i < chain.size(); ++i) {
        ChainRecord& r = chain[i];
        for (int attempt = 0; attempt < 2; ++attempt) {
            CompressedBlock& block = blocks.back();
            const int number = int(blocks.size()) - 1;
            r.Block = number;
            r.Pos = posOf(number, offset);
            r.Offset = offsetOf(number, chars);
            if (appendCompressed(chain, i, offset, block, lz))
                break;
            if (i == block.First)
                return std::nullopt; // too large for any block
            block.Compressed = lz.compressed();
            blocks.push_back(CompressedBlock{i, {}, {}, {}, {}});
            offset = 0;
            chars = 0;
            lz.clear();
        }
        offset += r.Size;
        if (r.Type == RecordText)
            chars += r.Text->TopicLength;
    }
    blocks.back().Compressed = lz.compressed();
    return blocks;
}

// Writes the blocks with every position known now, recompressing a block
// from the first record whose bytes differ from what it was compressed from.
std::optional<QByteArray> writeCompressed(const std::vector<ChainRecord>& chain,
                                          const std::vector<CompressedBlock>& blocks, Lz77Block& lz)
{
    const std::vector<QByteArray> headers = blockHeaders(chain, int(blocks.size()));
    const auto actual = [&chain](size_t k) { return chain[k].Pos; };
    QByteArray out;
    out.reserve(qsizetype(blocks.size()) * TopicBlockSize);
    for (size_t b = 0; b < blocks.size(); ++b) {
        const CompressedBlock& block = blocks[b];
        const size_t end = b + 1 < blocks.size() ? blocks[b + 1].First : chain.size();
        QByteArray data = block.Compressed;
        for (size_t i = block.First; i < end; ++i) {
            const size_t n = i - block.First;
            const qsizetype from = block.Checkpoints[n].Raw;
            const QByteArray bytes = recordBytes(chain, i, actual);
            if (QByteArrayView(bytes) == QByteArrayView(block.Raw).sliced(from, block.Ends[n] - from))
                continue;
            lz.resume(block.Raw, block.Compressed, block.Checkpoints[n]);
            lz.append(bytes);
            for (size_t k = i + 1; k < end; ++k)
                lz.append(recordBytes(chain, k, actual));
            data = lz.compressed();
            break;
        }
        if (data.size() > BlockData || block.Raw.size() + BlockData - data.size() > DecompressedBlock)
            return std::nullopt;
        const qsizetype padTo = b + 1 < blocks.size() ? BlockData : qMax<qsizetype>(data.size(), LastBlockMinimum);
        data.append(QByteArray(padTo - data.size(), '\0'));
        out += headers[b];
        out += data;
    }
    return out;
}

std::optional<QByteArray> layOutCompressed(std::vector<ChainRecord>& chain)
{
    Lz77Block lz;
    const std::optional<std::vector<CompressedBlock>> blocks = compressedBlocks(chain, lz);
    if (!blocks)
        return std::nullopt;
    return writeCompressed(chain, *blocks, lz);
}

QByteArray layOutUncompressed(std::vector<ChainRecord>& chain)
{
    int block = 0;
    qsizetype offset = 0;
    std::int32_t chars = 0;
    for (ChainRecord& r : chain) {
        // The record header and LinkData1 never cross into the next block.
        if (offset + RecordHeaderSize + linkData1Size(r) > BlockData) {
            ++block;
            offset = 0;
            chars = 0;
        }
        r.Block = block;
        r.Pos = posOf(block, offset);
        r.Offset = offsetOf(block, chars);
        if (r.Type == RecordText)
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
        const qsizetype at = qsizetype(r.Block) * BlockData + (r.Pos - posOf(r.Block, 0));
        const QByteArray bytes = recordBytes(chain, i, actual);
        stream.replace(at, bytes.size(), bytes);
    }
    const std::vector<QByteArray> headers = blockHeaders(chain, blocks);
    QByteArray out;
    out.reserve(stream.size() + TopicBlockHeaderSize * blocks);
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
        if (r.Type == RecordTopicHeader)
            layout.Offsets.push_back(r.Offset);
    return layout;
}

} // namespace ts::helpfile
