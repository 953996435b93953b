#pragma once
// A reader of compiled WinHelp 4 files for the tests, written on its own from
// the file format and sharing nothing with the compiler but the format's
// named numbers (helpfile/HelpFileFormat.h). It walks the whole
// file, checks the structures as it goes (headers, every B+ tree page by page,
// the |TOPIC record chain and its positions) and decodes what the compiler
// stored: system records, windows, fonts, topics with their text, formatting
// and hotspots, keywords, map numbers and pictures.
//
// Anything wrong is thrown as HelpFileError with a message that says what is
// wrong and where; the reader never reads outside the bytes it was given.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace ts::hlpread {

class HelpFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The context hash of a Topic ID.
std::int32_t contextHash(const QByteArray& topicId);

// LZ77 as |TOPIC blocks use it; throws on a back-reference before the start.
QByteArray lz77Decompress(const QByteArray& in);

struct InternalFile {
    QByteArray name;
    std::uint32_t headerOffset = 0; // of its 9-byte header in the file
    std::uint32_t reserved = 0;
    std::uint32_t used = 0;
    std::uint8_t flags = 0;
    QByteArray data;
};

struct BTreeInfo {
    std::uint16_t flags = 0;
    int pageSize = 0;
    QByteArray structure;
    int rootPage = 0;
    int totalPages = 0;
    int levels = 0;
    int totalEntries = 0;
    QList<int> leafPages; // in key order
};

// A B+ tree leaf entry: its fields in Structure order, raw bytes each
// (STRINGZ without the NUL).
using BTreeEntry = QList<QByteArray>;

struct WindowRecord {
    std::uint16_t flags = 0;
    QByteArray type, name, caption;
    std::int16_t x = 0, y = 0, width = 0, height = 0;
    std::uint16_t state = 0;
    std::uint32_t scrollColour = 0;    // 0x00BBGGRR, as the bytes R, G, B, 0 read
    std::uint32_t nonScrollColour = 0; // the same
};

struct SystemInfo {
    std::uint16_t magic = 0, minor = 0, major = 0, flags = 0;
    std::uint32_t generated = 0;
    QList<int> recordTypes; // in file order
    std::optional<QByteArray> title, copyright, cntName;
    std::optional<std::uint32_t> contents;
    QList<QByteArray> configMacros;
    QList<WindowRecord> windows;
    std::optional<std::uint16_t> lcid;
    std::optional<QByteArray> charset; // record 11's bytes
};

struct FontDescriptor {
    std::uint8_t attributes = 0; // 1 bold, 2 italic, 4 underline, 8 strike, 0x10 double, 0x20 small caps
    std::uint8_t halfPoints = 0;
    std::uint8_t family = 0;
    std::uint16_t faceIndex = 0;
    QByteArray face;
    std::uint32_t colour = 0; // 0xRRGGBB
};

struct Hotspot {
    enum Kind { Jump, Popup, Macro };
    std::uint8_t code = 0;
    Kind kind = Jump;
    bool plain = false;           // drawn without colour and underline
    std::int32_t hash = 0;        // jumps and pop-ups
    int linkKind = -1;            // -1 short form, else 0, 1, 4 or 6
    int windowNumber = -1;        // kind 1
    QByteArray windowName, file;  // kinds 4 and 6
    QByteArray macro;             // macro hotspots, without the NUL
    QByteArray text;              // the hotspot's text as shown
};

struct Picture {
    std::uint8_t code = 0; // 0x86 in line, 0x87 left, 0x88 right
    int number = 0;        // |bmN
};

// One piece of a paragraph, in order.
struct Piece {
    enum Kind { Text, Tab, LineBreak, NbSpace, NbHyphen, Picture, Button };
    Kind kind = Text;
    QByteArray text;   // Text; Button: the stored string ("!Caption,Macro")
    int font = -1;     // descriptor in force
    int hotspot = -1;  // index into Paragraph::hotspots while inside one
    int picture = -1;  // Picture: index into Paragraph::pictures
};

struct Paragraph {
    std::uint16_t bits = 0;
    int spaceBefore = 0, spaceAfter = 0, lineSpacing = 0;
    int leftIndent = 0, rightIndent = 0, firstIndent = 0; // 10-twip units
    std::optional<std::uint8_t> border;
    QList<std::pair<int, int>> tabs; // position, type (0 left)
    bool nonScrolling = false;
    QList<Piece> pieces;
    QList<Hotspot> hotspots;
    QList<Picture> pictures;

    enum Align { Left, Center, Right };
    Align align() const;
    // The text as shown: tab '\t', line break '\n', non-breaking space 0xA0,
    // a picture "{bm N}", a button "{button Caption,Macro}" (its stored
    // string without the leading '!').
    QByteArray plainText() const;
};

struct Topic {
    std::int32_t topicPos = 0;
    std::uint32_t topicOffset = 0;
    std::int32_t blockSize = 0, browseBack = -1, browseForward = -1, topicNumber = 0;
    std::int32_t nonScroll = -1, scroll = -1, nextTopic = -1;
    QByteArray title;
    QList<QByteArray> entryMacros;
    QList<Paragraph> header, body;
};

struct Bitmap {
    std::uint16_t magic = 0;
    std::uint8_t type = 0, packing = 0;
    std::uint32_t xdpi = 0, ydpi = 0;
    int planes = 0, bitCount = 0;
    std::uint32_t width = 0, height = 0, coloursUsed = 0, coloursImportant = 0;
    QByteArray palette; // colorsUsed x B, G, R, 0
    QByteArray pixels;
};

struct HelpFile {
    std::uint32_t directoryOffset = 0, totalSize = 0;
    std::int32_t freeList = 0;
    QList<InternalFile> files;    // in directory order
    QMap<QByteArray, BTreeInfo> trees; // every B+ tree by file name; "" is the directory
    qsizetype unusedBytes = 0;    // bytes of the file no internal file covers

    SystemInfo system;
    QList<FontDescriptor> fonts;
    QList<QByteArray> faces;

    // |TOPIC: topics in chain order, the final empty topic header not
    // included; its TOPICOFFSET is kept apart.
    QList<Topic> topics;
    std::uint32_t endOffset = 0;
    bool compressed = false;
    int topicBlocks = 0;
    qsizetype topicUncompressedSize = 0; // record stream bytes, padding excluded
    int crossingRecords = 0;             // records whose text runs into another block

    QMap<std::int32_t, std::uint32_t> context;            // hash -> TOPICOFFSET
    QList<std::pair<std::int32_t, std::uint32_t>> map;    // |CTXOMAP in stored order
    QMap<std::uint32_t, QByteArray> titles;               // |TTLBTREE
    QMap<std::uint32_t, std::int32_t> viola;              // |VIOLA
    // Keywords in stored order with their TOPICOFFSETs; K and A.
    QList<std::pair<QByteArray, QList<std::uint32_t>>> kKeywords, aKeywords;
    QMap<int, Bitmap> bitmaps;                             // |bmN by N

    const InternalFile* file(const QByteArray& name) const;
    // The topic whose header has this TOPICOFFSET, or null.
    const Topic* topicAt(std::uint32_t topicOffset) const;
    const FontDescriptor& font(int number) const; // throws when out of range
};

// Reads and checks the whole file.
HelpFile readHelpFile(const QByteArray& bytes);
HelpFile readHelpFile(const QString& path);

// One B+ tree on its own: checks every page and returns the leaf entries in
// key order. `less` orders two keys (first fields); keys must rise strictly.
std::vector<BTreeEntry> readBTree(const QByteArray& data, const QByteArray& what, BTreeInfo& info,
                                  bool (*less)(const QByteArray&, const QByteArray&));

} // namespace ts::hlpread
