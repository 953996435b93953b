#pragma once
// |TOPIC as one continuous stream of records. The blocks are read (and
// decompressed) once and joined, since Microsoft's compilers let a record run
// on into the next block; then the record chain is walked from the first
// record, each record placed by its TOPICPOS and given its TOPICOFFSET (the
// position that |CONTEXT, keywords and browse links refer to).

#include "ByteCursor.h"
#include "PhraseTable.h"
#include "ReadProblems.h"
#include "SystemReader.h"

#include <QByteArray>
#include <vector>

namespace ts::helpfile::reading {

struct TopicLinkRecord {
    std::uint8_t type = 0;
    std::int32_t pos = 0;           // TOPICPOS
    qsizetype at = 0;               // of its header in the stream
    qsizetype linkData1End = 0;     // stream index after LinkData1
    qsizetype end = 0;              // stream index after the stored LinkData2
    qsizetype textLength = 0;       // LinkData2 once expanded
    std::uint32_t topicOffset = 0;  // TOPICOFFSET of its first character
    int topicLength = 0;            // characters it adds (text and table records)
};

class TopicStream {
public:
    void read(const QByteArray& topicFile, const SystemValues& system, ReadProblems& problems);

    const std::vector<TopicLinkRecord>& records() const { return records_; }
    // LinkData1 (after the 21-byte header) and the expanded LinkData2.
    ByteCursor linkData1(const TopicLinkRecord& record) const;
    QByteArray text(const TopicLinkRecord& record, const PhraseTable& phrases, bool* damaged) const;
    // The record at a TOPICPOS; -1 when no record starts there.
    int recordAt(std::int32_t pos) const;
    qsizetype streamSize() const { return stream_.size(); }

private:
    void readBlocks(const QByteArray& topicFile, ReadProblems& problems);
    void walk(ReadProblems& problems);
    qsizetype indexOf(std::int32_t pos) const;
    int blockOf(std::int32_t pos) const;

    bool oldFormat_ = false;
    bool compressed_ = false;
    int blockSize_ = 4096;
    qsizetype addressBlock_ = 0x4000; // TOPICPOS units per block
    qsizetype fileSize_ = 0;
    QByteArray stream_;
    std::vector<qsizetype> blockStart_, blockLength_;
    std::vector<TopicLinkRecord> records_;
};

} // namespace ts::helpfile::reading
