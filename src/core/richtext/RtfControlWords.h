#pragma once
// The middle layer of the RTF reader: the control words it understands, each
// with its kind. Everything not in the table is skipped by the reader.

#include <cstddef>
#include <cstdint>

namespace ts::rtf {

enum class WordKind : std::uint8_t {
    Flag,        // acts without a parameter (\par, \pard, \plain)
    Toggle,      // on, or off with parameter 0 (\b, \b0)
    Value,       // takes its parameter (\fs24, \cf2, \li400)
    Destination, // starts a destination: its group is read specially
    Skip,        // a destination whose whole group is passed over
    Symbol,      // stands for one character (\tab, \emdash)
};

enum class WordId : std::uint8_t {
    // flags
    Par, Pard, Plain, Ql, Qc, Qr, Qj, UlNone,
    Ansi, Mac, Pc, Pca, // the document's character set
    TabRight, TabCenter, TabDecimal, LeaderDots, LeaderHyphens, LeaderUnderline, LeaderThick, LeaderEquals,
    Superscript, Subscript, NoSuperSub, FootnoteMark,
    UnicodePair, // {\upr{ANSI text}{\*\ud{Unicode text}}}
    // toggles
    Bold, Italic, Underline, Strike, Hidden, DoubleUnderline, SmallCaps,
    // values
    Font, FontSize, Colour, LeftIndent, FirstIndent, RightIndent,
    SpaceBefore, SpaceAfter, LineSpacing, LineMultiple, TabPosition, BarTab, Raise, Lower, Highlight,
    // lists
    ListLevel, LevelFormat, LevelStart, LevelFollow, ListId, ListNumber, ListLevelNumber,
    // how footnote and endnote marks are numbered
    FootnoteNumbering, EndnoteNumbering,
    Deff, AnsiCpg, FontCharset, FontCodePage, Red, Green, Blue, Unicode, UnicodeSkip,
    // destinations read specially
    FontTable, ColourTable,
    // destinations whose text is the document's own (read as if the group
    // were plain)
    TransparentDestination,
    ListTableDestination, ListOverridesDestination, LevelTextDestination, ListTextDestination,
    FieldDestination, FieldInstructionDestination, LevelMarkerDestination,
    // destinations skipped whole
    SkippedDestination,
    ListDefinition, ListOverride, // skipped outside their tables
    Footnote,                     // skipped; an endnote renumbers its mark
    // characters
    Character,
    Cell, // a table cell's end: a tab, and the end of a list item
};

struct WordInfo {
    const char* name;
    WordKind kind;
    WordId id;
    char16_t character; // Symbol words: the character they stand for
};

// The entry for a control word name, or nullptr. `hash` is hashName(name, size).
const WordInfo* lookupWord(const char* name, std::size_t size, std::uint32_t hash);

} // namespace ts::rtf
