#pragma once
// Lays the topics' records out into |TOPIC: blocks of 4096 bytes, each a
// 12-byte block header and 4084 bytes of record data, or (compressed) up to
// 16372 bytes of record data LZ77-compressed into those 4084 bytes (fewer
// when the zero bytes padding the block, which decompress too, would take
// the block past 16 KB). Every
// record is chained to its neighbours by position; each topic opens with a
// topic header record that points to its first non-scrolling and scrolling
// text records and to the next topic; a last, empty topic header ends the
// chain.

#include "TopicText.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace ts::helpfile {

struct LaidOutTopic {
    QByteArray Title;                    // Windows-1252, stored without NUL
    std::vector<TextRecord> NonScrolling; // the header region, may be empty
    std::vector<TextRecord> Scrolling;    // the body region
};

struct TopicFileLayout {
    QByteArray Bytes;                  // the |TOPIC file
    bool Compressed = false;           // whether the blocks are LZ77-compressed
    std::vector<std::int32_t> Offsets; // per topic the topic offset of its header, then the end record's
    qsizetype RecordBytes = 0;         // record data before compression
};

// Compressed when asked and every block fits; otherwise uncompressed (a
// single record too large for a compressed block makes the whole file
// uncompressed, which every reader accepts).
TopicFileLayout layOutTopics(const std::vector<LaidOutTopic>& topics, bool compress);

} // namespace ts::helpfile
