#include "TopicStream.h"

#include "ByteCursor.h"
#include "HelpFileFormat.h"
#include "Lz77Decoder.h"

#include <algorithm>

namespace ts::helpfile::reading {

namespace {

const QString TopicFile = QStringLiteral("|TOPIC");

} // namespace

void TopicStream::read(const QByteArray& topicFile, const SystemValues& system, ReadProblems& problems)
{
    oldFormat_ = system.oldFormat();
    compressed_ = system.compressed();
    blockSize_ = system.topicBlockSize();
    addressBlock_ = oldFormat_ ? blockSize_ : format::DecompressedBlockSize;
    fileSize_ = topicFile.size();
    readBlocks(topicFile, problems);
    walk(problems);
}

void TopicStream::readBlocks(const QByteArray& topicFile, ReadProblems& problems)
{
    const qsizetype blocks = (topicFile.size() + blockSize_ - 1) / blockSize_;
    blockStart_.reserve(size_t(blocks));
    blockLength_.reserve(size_t(blocks));
    if (!compressed_)
        stream_.reserve(topicFile.size());
    for (qsizetype b = 0; b < blocks; ++b) {
        const qsizetype from = b * blockSize_ + format::TopicBlockHeaderSize;
        const qsizetype size = qMin<qsizetype>(blockSize_ - format::TopicBlockHeaderSize, topicFile.size() - from);
        blockStart_.push_back(stream_.size());
        if (size <= 0) {
            blockLength_.push_back(0);
            continue;
        }
        if (!compressed_) {
            stream_.append(topicFile.constData() + from, size);
        } else {
            const Lz77Result data = lz77Decompress(topicFile.constData() + from, size, format::DecompressedBlockSize);
            // Bytes past the most a block may hold (zero padding, say) cannot be
            // addressed and are left alone; a reference before the start is damage.
            if (data.damaged)
                problems.add(TopicFile, from, QStringLiteral("topic block %1 does not decompress cleanly").arg(b));
            stream_.append(data.bytes);
        }
        blockLength_.push_back(stream_.size() - blockStart_.back());
    }
}

int TopicStream::blockOf(std::int32_t pos) const
{
    return int((qint64(pos) - format::TopicBlockHeaderSize) / addressBlock_);
}

qsizetype TopicStream::indexOf(std::int32_t pos) const
{
    if (pos < format::TopicBlockHeaderSize)
        return -1;
    const qint64 block = (qint64(pos) - format::TopicBlockHeaderSize) / addressBlock_;
    const qint64 offset = (qint64(pos) - format::TopicBlockHeaderSize) % addressBlock_;
    if (block >= qint64(blockStart_.size()) || offset >= blockLength_[size_t(block)])
        return -1;
    return blockStart_[size_t(block)] + offset;
}

void TopicStream::walk(ReadProblems& problems)
{
    std::int32_t pos = format::TopicBlockHeaderSize;
    qsizetype previous = -1;
    std::int32_t nextTopic = -1; // where the chain goes on when a topic's records are damaged
    int block = -1;
    std::uint32_t characters = 0;
    while (true) {
        const qsizetype at = indexOf(pos);
        if (at < 0 || at <= previous || at + format::RecordHeaderSize > stream_.size()) {
            if (at >= 0 && at <= previous)
                problems.add(TopicFile, pos, QStringLiteral("the record chain turns back; the topics after it are lost"));
            else
                problems.add(TopicFile, pos, QStringLiteral("the record chain leads outside the topic text; the topics after it are lost"));
            break;
        }
        ByteCursor c(stream_, at);
        TopicLinkRecord r;
        const std::int32_t blockSize = c.s32();
        const std::int32_t dataLen2 = c.s32();
        c.s32(); // previous record
        const std::int32_t next = c.s32();
        const std::int32_t dataLen1 = c.s32();
        r.type = c.u8();
        r.pos = pos;
        r.at = at;
        if (dataLen1 < format::RecordHeaderSize || blockSize < dataLen1 || dataLen2 < 0) {
            problems.add(TopicFile, pos, QStringLiteral("a damaged record header"));
            if (nextTopic > pos && indexOf(nextTopic) > at) {
                previous = at;
                pos = nextTopic;
                nextTopic = -1;
                continue;
            }
            break;
        }
        r.linkData1End = qMin<qsizetype>(at + dataLen1, stream_.size());
        r.end = qMin<qsizetype>(at + qsizetype(blockSize), stream_.size());
        r.textLength = dataLen2;
        if (r.end < at + qsizetype(blockSize))
            problems.add(TopicFile, pos, QStringLiteral("the last record is cut short"));

        if (r.type == format::RecordTopicHeader && !oldFormat_) {
            ByteCursor header(stream_, at + format::RecordHeaderSize, r.linkData1End);
            header.skip(24);
            nextTopic = header.s32();
        }
        const int recordBlock = blockOf(pos);
        if (recordBlock != block) {
            block = recordBlock;
            characters = 0;
        }
        r.topicOffset = oldFormat_ ? std::uint32_t(pos) : (std::uint32_t(block) << format::TopicOffsetBlockShift) + characters;
        if (!oldFormat_ && (r.type == format::RecordText || r.type == format::RecordTable)) {
            ByteCursor text(stream_, at + format::RecordHeaderSize, r.linkData1End);
            text.csl();
            r.topicLength = text.cus();
            characters += std::uint32_t(r.topicLength);
        }
        records_.push_back(r);
        previous = at;
        if (oldFormat_) {
            if (next <= 0 || qint64(pos) + next >= fileSize_)
                break;
            pos = std::int32_t(qint64(pos) + next);
        } else {
            if (next <= 0)
                break;
            pos = next;
        }
    }
}

ByteCursor TopicStream::linkData1(const TopicLinkRecord& record) const
{
    return ByteCursor(stream_, record.at + format::RecordHeaderSize, record.linkData1End);
}

QByteArray TopicStream::text(const TopicLinkRecord& record, const PhraseTable& phrases, bool* damaged) const
{
    const char* stored = stream_.constData() + record.linkData1End;
    const qsizetype storedSize = qMax<qsizetype>(0, record.end - record.linkData1End);
    if (damaged)
        *damaged = false;
    if (record.textLength <= storedSize)
        return QByteArray(stored, record.textLength);
    if (phrases.method() == PhraseTable::Method::None) {
        if (damaged)
            *damaged = true;
        return QByteArray(stored, storedSize);
    }
    // Expanded text can be at most a few times the stored bytes; a larger
    // stated length is damage and is not allocated.
    const qsizetype limit = qMin<qsizetype>(record.textLength, storedSize * 256 + 16);
    bool bad = false;
    QByteArray out = phrases.expand(stored, storedSize, limit, &bad);
    if (damaged)
        *damaged = bad || limit < record.textLength;
    return out;
}

int TopicStream::recordAt(std::int32_t pos) const
{
    const auto it = std::lower_bound(records_.begin(), records_.end(), pos,
                                     [](const TopicLinkRecord& r, std::int32_t p) { return r.pos < p; });
    return it != records_.end() && it->pos == pos ? int(it - records_.begin()) : -1;
}

} // namespace ts::helpfile::reading
