#pragma once
// What a compiled help file (.HLP) shows, independent of its bytes: the
// file-wide values, windows, fonts, topics with their text as paragraphs of
// runs, pictures, keyword tables, [MAP] numbers and the contents file found
// beside it. The help file reader (helpfile/HelpFileReader.h) builds it; the
// viewer, the importer and the publishers work from it and never from bytes.
//
// Ownership and errors. A HelpDocument is a value: copying it is cheap, and
// copies share the decoded topic text and pictures. Nothing here throws. What
// the reader could not read is listed in `problems` (and, for a topic's text,
// in that topic's HelpTopicContent::problems); a damaged file still gives
// everything that could be read.
//
// Laziness. A topic's paragraphs and a picture's pixels are decoded the first
// time content() or picture() asks for them, and kept. Both are const and
// safe to call from several threads; the references they return stay valid
// while the document (or a copy of it) lives, so keep the document, not a
// temporary, when holding one. A document built by hand (tests, a converter)
// supplies them with setContent() and setPicture().
//
// Units: paragraph metrics and tab stops in twips (1/1440 inch); font sizes in
// half-points; colours 0xRRGGBB; window positions in 1/1024 of the screen.
// Text is Unicode, decoded with the help file's code page (codePage below).
// Inside a run, a tab is '\t', a line break U+2028, a non-breaking space
// U+00A0, a non-breaking hyphen U+2011.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ts {

// ------------------------------------------------------------------ problems

// Something the reader could not read, or read only in part. `text()` is the
// complete message for the user: "FILE.HLP: |TOPIC at offset 0x1234, topic 5
// (Title): the record is cut short".
struct HelpProblem {
    QString file;           // the help file's name (or the .CNT's)
    QString internalFile;   // "|TOPIC", "|bm3", ... or empty for the file itself
    qint64 offset = -1;     // in the internal file (or in the topic text), -1 unknown
    int topic = -1;         // topic index, -1 when not about one topic
    QString message;

    QString text() const;
};

// ------------------------------------------------------------------- fonts

struct HelpFont {
    enum class Family { Unknown, Modern, Roman, Swiss, Script, Decorative };

    QString face;                       // "Arial"; empty when the font table names none
    int halfPoints = 20;                // 10 pt = 20
    Family family = Family::Unknown;
    std::optional<std::uint32_t> colour; // 0xRRGGBB; empty = automatic (the window's text colour)
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool doubleUnderline = false;
    bool strikeOut = false;
    bool smallCaps = false;

    friend bool operator==(const HelpFont&, const HelpFont&) = default;
};

// ----------------------------------------------------------------- windows

// A window definition (a WINDOW record of the help file). Each field counts
// only when its flag is set; `flags` keeps the stored flag word, so that an
// importer can keep what the file says. The index in HelpDocument::windows is
// the window number that topics, jumps and [CONFIG-n] macros use.
struct HelpWindowDefinition {
    enum Field : std::uint16_t {
        TypeValid = 0x0001,
        NameValid = 0x0002,
        CaptionValid = 0x0004,
        XValid = 0x0008,
        YValid = 0x0010,
        WidthValid = 0x0020,
        HeightValid = 0x0040,
        StateValid = 0x0080,
        ScrollingColourValid = 0x0100,
        NonScrollingColourValid = 0x0200,
        OnTop = 0x0400,
        AutoSizeHeight = 0x0800,
    };

    std::uint16_t flags = 0;
    QString type;     // "main", "secondary" or empty
    QString name;     // "main", "(w95sec)", ...; compare without regard to case
    QString caption;
    int x = 0, y = 0, width = 0, height = 0; // 1/1024 of the screen
    int state = 0;                           // the state word as stored (show mode, buttons)
    std::uint32_t scrollingColour = 0xFFFFFF;    // 0xRRGGBB
    std::uint32_t nonScrollingColour = 0xFFFFFF; // 0xRRGGBB
    QStringList configMacros; // [CONFIG-n] macros run when this window opens, in order

    bool has(Field field) const { return (flags & field) != 0; }
    bool hasPosition() const { return has(XValid) && has(YValid) && has(WidthValid) && has(HeightValid); }
    bool onTop() const { return has(OnTop); }
    bool autoSizeHeight() const { return has(AutoSizeHeight); }
};

// ---------------------------------------------------------------- hotspots

// Where a jump, pop-up or macro hotspot leads.
struct HelpHotspot {
    enum class Kind { Jump, Popup, Macro };

    Kind kind = Kind::Jump;
    // False for hotspots drawn in the text's own font, colour and underline
    // (the "%" hotspots and invisible picture hotspots); true for the green,
    // underlined ones.
    bool drawnAsHotspot = true;

    // Jumps and pop-ups: the target's context hash, and its Topic ID when the
    // file tells it (picture hotspots and files with a Topic ID table do).
    std::int32_t targetHash = 0;
    QString targetId;
    // Old (3.0) files address topics by number instead of hash; -1 otherwise.
    int targetTopicNumber = -1;
    // The target topic in this document, resolved when the file is read;
    // -1 when it lies in another file or the file does not define it.
    int targetTopic = -1;
    // The window to show the target in: its name (empty = the current or
    // the target's own window) and, when the file gives it, its number.
    QString window;
    int windowNumber = -1;
    QString file; // another help file, empty = this one

    QString macro; // Kind::Macro: the macro text as stored, e.g. "ALink(`Files', 0)"
};

// -------------------------------------------------------------- paragraphs

// Where a picture or embedded window sits ({bmc}/{bml}/{bmr}, {ewc}/...).
enum class HelpPlacement { InLine, Left, Right };

// An embedded window in the text: a {button}, an {mci} player or an {ewc}
// window of a DLL (which no viewer here can show).
struct HelpEmbeddedWindow {
    enum class Kind { Button, Media, Window };

    Kind kind = Kind::Window;
    QString definition; // the stored string, e.g. "!Caption,Macro" or "DLL,Class,Param"
    // Button: caption and macro. Media: the file (a "helpfile+file" name is a
    // baggage file of this help file) and the stored options.
    QString caption, macro, file, options;
    // Window: the DLL, the window class and its parameter.
    QString dll, windowClass, parameter;
    int width = 0, height = 0; // as stored; meaning not known for sure
};

struct HelpRun {
    enum class Kind { Text, Picture, EmbeddedWindow };

    Kind kind = Kind::Text;
    QString text;    // Kind::Text only
    int font = -1;   // index into HelpDocument::fonts; -1 = the default font
    int hotspot = -1; // index into HelpTopicContent::hotspots while inside one

    // Kind::Picture: the picture number (HelpDocument::picture(n)), or, for a
    // picture stored in the text itself, an index into
    // HelpTopicContent::pictures with `picture` -1.
    int picture = -1;
    int pictureInTopic = -1;
    HelpPlacement placement = HelpPlacement::InLine; // pictures and embedded windows
    std::optional<HelpEmbeddedWindow> embedded;      // Kind::EmbeddedWindow
};

struct HelpTabStop {
    enum class Kind { Left, Right, Center };
    int position = 0; // twips from the left indent's origin
    Kind kind = Kind::Left;
    friend bool operator==(const HelpTabStop&, const HelpTabStop&) = default;
};

struct HelpBorder {
    bool box = false, top = false, left = false, bottom = false, right = false;
    bool thick = false, doubleLine = false;
    int width = 0; // twips, 0 = the default
    bool any() const { return box || top || left || bottom || right; }
};

// One row of a table; consecutive rows with no other paragraph between them
// form one table.
struct HelpTableRow {
    struct Column {
        int width = 0; // fixed-width rows: twips; variable rows: share of 32767
        int gap = 0;   // the space before the column's text, same unit
    };
    std::vector<Column> columns;
    bool fixedWidth = true;
    int minimumWidth = 0; // variable rows: the least width, in twips
};

enum class HelpAlignment { Left, Center, Right };

struct HelpParagraph {
    int spaceBefore = 0, spaceAfter = 0; // twips
    // Positive: at least this line height; negative: exactly its magnitude; 0: single.
    int lineSpacing = 0;
    int leftIndent = 0, rightIndent = 0;
    int firstIndent = 0; // relative to the left indent, may be negative
    HelpAlignment align = HelpAlignment::Left;
    bool keepTogether = false;
    std::vector<HelpTabStop> tabs;
    HelpBorder border;
    // Table cells: the row (index into HelpTopicContent::tableRows) and the
    // column; -1 outside tables. A cell may hold several paragraphs.
    int tableRow = -1;
    int column = -1;
    // The position of the paragraph's first character, as |CONTEXT entries
    // and [MAP] numbers that point into a topic give it (see HelpLocation).
    std::uint32_t topicOffset = 0;
    std::vector<HelpRun> runs;

    QString text() const; // the runs' text; pictures and windows add nothing
};

// --------------------------------------------------------------- pictures

// Decoded pixels: RGBA, 8 bits each, rows top to bottom, no padding, so
// QImage(pixels, width, height, QImage::Format_RGBA8888) shows them.
struct HelpImage {
    int width = 0, height = 0;
    QByteArray rgba; // width * height * 4 bytes
    bool isNull() const { return width <= 0 || height <= 0; }
};

// A rectangle of a picture that acts as a hotspot (a segmented picture).
struct HelpPictureHotspot {
    QRect area;         // in picture pixels from the top-left corner
    QString name;       // the author's name for it
    HelpHotspot hotspot; // drawnAsHotspot false = an invisible hotspot
};

struct HelpPicture {
    enum class Format { Missing, Bitmap, Metafile };

    Format format = Format::Missing;
    HelpImage image;     // Bitmap
    // Metafile: a Windows metafile (.WMF) with its placeable header, and its
    // size in 0.01 mm. Kept as bytes: core draws nothing.
    QByteArray metafile;
    int metafileWidth = 0, metafileHeight = 0;
    // Transparent bitmap ({bmct}): the background colour's pixels have alpha 0.
    bool transparent = false;
    int xDpi = 0, yDpi = 0;       // as stored; often 0 or meaningless
    int resolutions = 1;          // a multi-resolution picture holds several; the first is decoded
    std::vector<HelpPictureHotspot> hotspots;
    QString problem;              // why the picture is Missing or incomplete, empty if fine
};

// The text of one topic, decoded on demand (HelpDocument::content()).
struct HelpTopicContent {
    std::vector<HelpParagraph> nonScrolling; // the band that stays above the text
    std::vector<HelpParagraph> scrolling;
    std::vector<HelpHotspot> hotspots;       // HelpRun::hotspot indexes these
    std::vector<HelpTableRow> tableRows;     // HelpParagraph::tableRow indexes these
    std::vector<HelpPicture> pictures;       // pictures stored in the text itself (rare)
    std::vector<HelpProblem> problems;       // what could not be decoded in this topic
};

// ------------------------------------------------------------------ topics

struct HelpTopic {
    QString title;
    // The Topic ID when the file stores it (a Topic ID table, or the contents
    // file naming it); otherwise empty, and only `hash` identifies the topic.
    QString topicId;
    std::int32_t hash = 0;            // the context hash of its (first) Topic ID
    bool hasHash = false;             // false when no context entry points here
    std::vector<std::int32_t> hashes; // every context hash that points at the topic's start
    std::uint32_t topicOffset = 0;    // where the file's references point
    int window = -1;                  // its own window (index into windows), -1 = current or main
    // Keywords by footnote letter ('K' the index, 'A' for ALink, any other
    // letter for custom tables), each list in the tables' order.
    std::map<QChar, QStringList> keywords;
    int browsePrevious = -1, browseNext = -1; // topic indexes in the browse sequence
    QStringList entryMacros;          // run when the topic is shown
    QString sourceFile;               // the topic's source file when the file records it

    // The Topic ID, or the hash as "0x0024A1F3" when the ID is not known.
    QString idOrHash() const;
};

// --------------------------------------------------------------- indexes

struct HelpKeyword {
    QString text;
    std::vector<int> topics; // topic indexes, in the file's order
    // Positions inside topics (topicOffset values) for each entry of `topics`.
    std::vector<std::uint32_t> offsets;
};

// A position in the document: a topic and, for targets inside a topic, the
// topicOffset of the place (compare with HelpParagraph::topicOffset).
struct HelpLocation {
    int topic = -1;
    std::uint32_t topicOffset = 0;
    bool atTopicStart = true;
    bool isValid() const { return topic >= 0; }
};

// A [MAP] number and where it leads.
struct HelpMapEntry {
    int number = 0;
    HelpLocation location; // invalid when the number names no topic
};

// ---------------------------------------------------------- contents file

// One line of a contents file (.CNT).
struct HelpContentsEntry {
    enum class Kind { Book, Topic, Macro, Include };

    Kind kind = Kind::Topic;
    int level = 1;
    QString text;
    QString topicId;  // Topic: the Topic ID; Include: the included file's name
    QString window;   // ">window", empty = the default
    QString file;     // "@file.hlp", empty = the base file
    QString macro;    // Macro: the macro after "!"
    int topic = -1;   // Topic in this help file: the topic index, -1 when not found
};

struct HelpContents {
    QString path;            // the file read; empty when none was found
    QString base;            // :Base file.hlp
    QString baseWindow;      // :Base file.hlp>window
    QString title;           // :Title
    QStringList links;       // :Link files
    struct Index { QString title, file; };
    std::vector<Index> indexes; // :Index title=file
    std::vector<HelpContentsEntry> entries; // included files' entries follow their Include entry
};

// ----------------------------------------------------------- the document

class HelpDocument {
public:
    HelpDocument();

    // --- the file
    QString fileName;         // as opened (path or name), for messages
    bool readable = false;    // false: not a help file, or nothing could be read (see problems)
    int versionMajor = 0, versionMinor = 0; // 1.15 = 3.0, 1.21 = 3.1, 1.33 = 4.0
    int versionFlags = 0;
    QDateTime generated;      // UTC; invalid when not stored
    bool compressed = false;  // LZ77 topic text
    QString phraseCompression; // "", "Phrases" or "Hall"
    int codePage = 1252;
    int lcid = 0;
    QString compilerName() const; // "HC 3.0", "HC 3.1", "HCW 4.00", ...

    // --- file-wide values
    QString title;
    QString copyright;
    QString citation;
    QString contentsFileName;  // as the help file names it, e.g. ".\\3dmm.cnt"
    QString indexSeparators;
    QByteArray icon;           // an .ICO file, when the help file carries one
    int contentsTopic = -1;    // topic index of the contents topic
    QStringList configMacros;  // run when the file opens, in order

    std::vector<HelpWindowDefinition> windows;
    std::vector<HelpFont> fonts;
    std::vector<HelpTopic> topics;   // in file order
    std::vector<HelpMapEntry> mapEntries; // [MAP], in stored order
    // The file picture |bmN was made from, where it is known (a project's
    // bitmaps; a help file keeps only the number): N -> "SHOT1.BMP".
    std::map<int, QString> pictureFiles;
    // Keyword tables by footnote letter, each in keyword order (as the help
    // compilers sort them, helpfile::keywordLess; finishBuilding() sorts
    // them again).
    std::map<QChar, std::vector<HelpKeyword>> keywordTables;
    QStringList baggageFiles;  // names of files carried along ([BAGGAGE])
    HelpContents contents;     // the contents file beside the help file, if any
    std::vector<HelpProblem> problems;

    // --- topic text and pictures, decoded on first use
    // The text of topic `index`; an empty content for an index out of range.
    const HelpTopicContent& content(int index) const;
    // Picture |bm<number>; a Missing picture with a problem when there is none.
    const HelpPicture& picture(int number) const;
    QList<int> pictureNumbers() const;
    QByteArray baggage(const QString& name) const; // empty when not carried

    // The document's problems and those of every topic's text (decodes all).
    std::vector<HelpProblem> allProblems() const;

    // --- lookups
    // A topic by Topic ID (hashed, so case does not matter) or by a hash
    // written as idOrHash() writes it; -1 when none.
    int findTopic(const QString& topicIdOrHash) const;
    HelpLocation locate(std::int32_t hash) const;       // where a context hash leads
    HelpLocation locateMapNumber(int number) const;     // where a [MAP] number leads
    int topicAtOffset(std::uint32_t topicOffset) const; // the topic holding this position
    int windowByName(const QString& name) const;        // -1 when none
    // The keyword of a table matched without regard to case; null when none.
    const HelpKeyword* findKeyword(QChar table, const QString& keyword) const;
    // The index of the first keyword of the table that is not before `prefix`
    // in keyword order, without regard to case or accents: where an index
    // list scrolls to as one types.
    int firstKeywordFrom(QChar table, const QString& prefix) const;
    const HelpFont& fontOf(const HelpRun& run) const;
    // Where a hotspot leads, for people: "ID", "ID>window", "ID@file",
    // "!Macro(...)"; a hash as "0x...." when the Topic ID is not known.
    QString targetText(const HelpHotspot& hotspot) const;
    // A name the file gives for a hash (Topic ID table, picture hotspots,
    // the contents file); empty when none.
    QString idForHash(std::int32_t hash) const;

    // --- text
    enum class TextStyle {
        Plain,      // the text as shown: paragraphs on lines, tabs, line breaks as new lines
        MarkedLinks // also "[jump text -> ID]", "[pop-up text -> ID]", "[macro text -> !Macro(...)]"
    };
    QString topicText(int index, TextStyle style = TextStyle::Plain) const;

    // --- building (the reader, tests, converters)
    class ContentSource {
    public:
        virtual ~ContentSource() = default;
        virtual HelpTopicContent topicContent(int index) const = 0;
        virtual HelpPicture picture(int number) const = 0;
        virtual QList<int> pictureNumbers() const = 0;
        virtual QByteArray baggage(const QString& name) const = 0;
    };
    void setSource(std::shared_ptr<const ContentSource> source);
    void setContent(int index, HelpTopicContent content);
    void setPicture(int number, HelpPicture picture);
    void addIdName(std::int32_t hash, const QString& topicId);
    // A context entry: hash -> place, also places inside topics.
    void addContextTarget(std::int32_t hash, HelpLocation location);
    // Rebuilds the lookup tables after topics, keywords or map entries
    // changed (the reader calls it once at the end).
    void finishBuilding();

    static QString hashText(std::int32_t hash); // "0x0024A1F3"

private:
    struct Cache;
    std::shared_ptr<Cache> cache_;
    std::map<std::int32_t, HelpLocation> contextTargets_; // hash -> place
    std::map<std::int32_t, QString> idNames_;              // hash -> Topic ID
    std::vector<std::pair<std::uint32_t, int>> topicStarts_; // topicOffset -> topic, sorted
    // Per keyword table: each keyword's first level of keyword order, in
    // table order, and the place of each keyword by its case-folded text.
    std::map<QChar, std::vector<std::u32string>> keywordLetters_;
    std::map<QChar, QHash<QString, std::size_t>> keywordsByFoldedText_;
};

} // namespace ts
