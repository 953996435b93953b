#pragma once
// The help file's lookup files: |SYSTEM (title, contents topic, windows,
// locale), |CONTEXT (Topic ID hash -> topic), |CTXOMAP (Application Call ID
// -> topic), |TTLBTREE (topic -> title), the keyword index (|KWBTREE,
// |KWDATA, |KWMAP and the A-keyword files) and |VIOLA (topic -> window).
// Topics are named by their topic offsets.

#include "HelpFileFormat.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ts {
struct WindowRecord;
}

namespace ts::helpfile {

struct SystemValues {
    QByteArray Title;                  // empty: no title record
    std::optional<std::int32_t> ContentsTopic; // the contents topic's offset; none without topics
    bool Compressed = false;           // |TOPIC blocks LZ77-compressed
    std::vector<QByteArray> Macros;    // run when the file opens, in order
    QByteArray ContentsFileName;       // the .cnt beside the help file; empty: none
    std::uint32_t GenerationTime = 0;  // seconds since 1970
    std::uint16_t Locale = format::DefaultLcid;
};

// A window definition (90 bytes) as the HPJ describes the window. `warn`
// hears of a name or caption too long for the record.
QByteArray windowRecord(const WindowRecord& window, const std::function<void(const QString&)>& warn);

QByteArray systemFile(const SystemValues& values, const std::vector<QByteArray>& windowRecords);

// (hash, topic offset) pairs, sorted by the hash as signed numbers; unique.
QByteArray contextFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries);

// (Application Call ID, topic offset) pairs.
QByteArray contextMapFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries);

// (topic offset, title) pairs in topic order.
QByteArray titleFile(const std::vector<std::pair<std::int32_t, QByteArray>>& entries);

// (topic offset, window number) pairs in topic order.
QByteArray windowMapFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries);

struct KeywordFiles {
    QByteArray Tree; // |KWBTREE or |AWBTREE
    QByteArray Data; // |KWDATA or |AWDATA
    QByteArray Map;  // |KWMAP or |AWMAP
};
// One keyword with the offsets of the topics that carry it, ascending.
struct KeywordEntry {
    QByteArray Keyword;
    std::vector<std::int32_t> Topics;
};
// The keywords in their order (keywordLess).
KeywordFiles keywordFiles(const std::vector<KeywordEntry>& keywords);

// Keyword order as Windows compares words, which is how Microsoft's help
// compiler sorts the index and the viewer searches it: letter case and
// accents count only between keywords otherwise equal (so "Überblick" sorts
// among the U's), hyphens and apostrophes are passed over ("Automation"
// before "Auto-Reply", as the indexes of Microsoft's compilers have it), and
// other symbols come before digits and digits before letters. Keywords are
// Windows-1252 bytes.
bool keywordLess(const QByteArray& a, const QByteArray& b);

// A keyword's place in that order, worked out once for many comparisons:
// `letters` is the first level (letters without case or accent, digits,
// symbols), what a search as one types compares.
struct KeywordOrderKey {
    std::u32string letters;
    std::u16string accents;
    std::vector<bool> upper;
    QString text;
};
KeywordOrderKey keywordOrderKey(const QString& keyword);
bool keywordLess(const KeywordOrderKey& a, const KeywordOrderKey& b);

// What makes two keywords one: the same text without regard to letter case
// ("Start" and "start", "Über" and "über").
QString keywordIdentity(const QByteArray& keyword);

} // namespace ts::helpfile
