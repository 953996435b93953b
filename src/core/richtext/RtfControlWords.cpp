#include "RtfControlWords.h"

#include "RtfTokenizer.h"

#include <array>

namespace ts::rtf {
namespace {

using K = WordKind;
using W = WordId;

// Words that end a paragraph in the reader's model: page and section breaks
// and table rows become paragraph breaks, a table cell a tab.
constexpr WordInfo WordTable[] = {
    {"par", K::Flag, W::Par, 0},
    {"page", K::Flag, W::Par, 0},
    {"sect", K::Flag, W::Par, 0},
    {"row", K::Flag, W::Par, 0},
    {"nestrow", K::Flag, W::Par, 0},
    {"pard", K::Flag, W::Pard, 0},
    {"upr", K::Flag, W::UnicodePair, 0},
    {"plain", K::Flag, W::Plain, 0},
    {"ql", K::Flag, W::Ql, 0},
    {"qc", K::Flag, W::Qc, 0},
    {"qr", K::Flag, W::Qr, 0},
    {"qj", K::Flag, W::Qj, 0},
    {"qd", K::Flag, W::Qj, 0},
    {"ulnone", K::Flag, W::UlNone, 0},
    {"ansi", K::Flag, W::Ansi, 0},
    {"mac", K::Flag, W::Mac, 0},
    {"pc", K::Flag, W::Pc, 0},
    {"pca", K::Flag, W::Pca, 0},
    {"tqr", K::Flag, W::TabRight, 0},
    {"tqc", K::Flag, W::TabCenter, 0},
    {"tqdec", K::Flag, W::TabDecimal, 0},
    {"tldot", K::Flag, W::LeaderDots, 0},
    {"tlmdot", K::Flag, W::LeaderDots, 0},
    {"tlhyph", K::Flag, W::LeaderHyphens, 0},
    {"tlul", K::Flag, W::LeaderUnderline, 0},
    {"tlth", K::Flag, W::LeaderThick, 0},
    {"tleq", K::Flag, W::LeaderEquals, 0},
    {"super", K::Flag, W::Superscript, 0},
    {"sub", K::Flag, W::Subscript, 0},
    {"nosupersub", K::Flag, W::NoSuperSub, 0},
    {"chftn", K::Flag, W::FootnoteMark, 0},

    {"b", K::Toggle, W::Bold, 0},
    {"i", K::Toggle, W::Italic, 0},
    {"ul", K::Toggle, W::Underline, 0},
    {"uld", K::Toggle, W::Underline, 0},
    {"uldb", K::Toggle, W::DoubleUnderline, 0},
    {"scaps", K::Toggle, W::SmallCaps, 0},
    {"uldash", K::Toggle, W::Underline, 0},
    {"uldashd", K::Toggle, W::Underline, 0},
    {"uldashdd", K::Toggle, W::Underline, 0},
    {"ulhwave", K::Toggle, W::Underline, 0},
    {"ulldash", K::Toggle, W::Underline, 0},
    {"ulth", K::Toggle, W::Underline, 0},
    {"ulthd", K::Toggle, W::Underline, 0},
    {"ulthdash", K::Toggle, W::Underline, 0},
    {"ulthdashd", K::Toggle, W::Underline, 0},
    {"ulthdashdd", K::Toggle, W::Underline, 0},
    {"ulthldash", K::Toggle, W::Underline, 0},
    {"ululdbwave", K::Toggle, W::Underline, 0},
    {"ulw", K::Toggle, W::Underline, 0},
    {"ulwave", K::Toggle, W::Underline, 0},
    {"strike", K::Toggle, W::Strike, 0},
    {"striked", K::Toggle, W::Strike, 0},
    {"v", K::Toggle, W::Hidden, 0},

    {"f", K::Value, W::Font, 0},
    {"fs", K::Value, W::FontSize, 0},
    {"cf", K::Value, W::Colour, 0},
    {"li", K::Value, W::LeftIndent, 0},
    {"fi", K::Value, W::FirstIndent, 0},
    {"ri", K::Value, W::RightIndent, 0},
    {"sb", K::Value, W::SpaceBefore, 0},
    {"sa", K::Value, W::SpaceAfter, 0},
    {"sl", K::Value, W::LineSpacing, 0},
    {"slmult", K::Value, W::LineMultiple, 0},
    {"tx", K::Value, W::TabPosition, 0},
    {"tb", K::Value, W::BarTab, 0},
    {"up", K::Value, W::Raise, 0},
    {"dn", K::Value, W::Lower, 0},
    {"highlight", K::Value, W::Highlight, 0},
    {"deff", K::Value, W::Deff, 0},
    {"ansicpg", K::Value, W::AnsiCpg, 0},
    {"fcharset", K::Value, W::FontCharset, 0},
    {"cpg", K::Value, W::FontCodePage, 0},
    {"red", K::Value, W::Red, 0},
    {"green", K::Value, W::Green, 0},
    {"blue", K::Value, W::Blue, 0},
    {"u", K::Value, W::Unicode, 0},
    {"uc", K::Value, W::UnicodeSkip, 0},

    {"fonttbl", K::Destination, W::FontTable, 0},
    {"colortbl", K::Destination, W::ColourTable, 0},
    // Properties of a nested table: word processors also put the cells'
    // text in this group.
    {"nesttableprops", K::Destination, W::TransparentDestination, 0},
    // The Unicode text of a \upr pair.
    {"ud", K::Destination, W::TransparentDestination, 0},

    {"stylesheet", K::Skip, W::SkippedDestination, 0},
    {"info", K::Skip, W::SkippedDestination, 0},
    {"pict", K::Skip, W::SkippedDestination, 0},
    {"object", K::Skip, W::SkippedDestination, 0},
    {"nonshppict", K::Skip, W::SkippedDestination, 0},
    {"shp", K::Skip, W::SkippedDestination, 0},
    {"shpinst", K::Skip, W::SkippedDestination, 0},
    {"header", K::Skip, W::SkippedDestination, 0},
    {"headerl", K::Skip, W::SkippedDestination, 0},
    {"headerr", K::Skip, W::SkippedDestination, 0},
    {"headerf", K::Skip, W::SkippedDestination, 0},
    {"footer", K::Skip, W::SkippedDestination, 0},
    {"footerl", K::Skip, W::SkippedDestination, 0},
    {"footerr", K::Skip, W::SkippedDestination, 0},
    {"footerf", K::Skip, W::SkippedDestination, 0},
    {"footnote", K::Skip, W::Footnote, 0},
    {"generator", K::Skip, W::SkippedDestination, 0},
    // Footnote and endnote numbers: 0 arabic, 1 lower and 2 upper letters,
    // 3 lower and 4 upper roman (the character stands for the form).
    {"ftnnar", K::Flag, W::FootnoteNumbering, u'0'},
    {"ftnnalc", K::Flag, W::FootnoteNumbering, u'1'},
    {"ftnnauc", K::Flag, W::FootnoteNumbering, u'2'},
    {"ftnnrlc", K::Flag, W::FootnoteNumbering, u'3'},
    {"ftnnruc", K::Flag, W::FootnoteNumbering, u'4'},
    {"aftnnar", K::Flag, W::EndnoteNumbering, u'0'},
    {"aftnnalc", K::Flag, W::EndnoteNumbering, u'1'},
    {"aftnnauc", K::Flag, W::EndnoteNumbering, u'2'},
    {"aftnnrlc", K::Flag, W::EndnoteNumbering, u'3'},
    {"aftnnruc", K::Flag, W::EndnoteNumbering, u'4'},
    {"ftnsep", K::Skip, W::SkippedDestination, 0},
    {"ftnsepc", K::Skip, W::SkippedDestination, 0},
    {"ftncn", K::Skip, W::SkippedDestination, 0},
    {"aftnsep", K::Skip, W::SkippedDestination, 0},
    {"aftnsepc", K::Skip, W::SkippedDestination, 0},
    {"aftncn", K::Skip, W::SkippedDestination, 0},
    {"annotation", K::Skip, W::SkippedDestination, 0},
    {"atnid", K::Skip, W::SkippedDestination, 0},
    {"atnauthor", K::Skip, W::SkippedDestination, 0},
    {"field", K::Destination, W::FieldDestination, 0},
    {"fldinst", K::Destination, W::FieldInstructionDestination, 0},
    {"datafield", K::Skip, W::SkippedDestination, 0},
    {"xe", K::Skip, W::SkippedDestination, 0},
    {"tc", K::Skip, W::SkippedDestination, 0},
    {"txe", K::Skip, W::SkippedDestination, 0},
    {"rxe", K::Skip, W::SkippedDestination, 0},
    {"listtable", K::Destination, W::ListTableDestination, 0},
    {"listoverridetable", K::Destination, W::ListOverridesDestination, 0},
    {"leveltext", K::Destination, W::LevelTextDestination, 0},
    {"levelmarker", K::Destination, W::LevelMarkerDestination, 0},
    {"listtext", K::Destination, W::ListTextDestination, 0},
    {"pntext", K::Destination, W::ListTextDestination, 0},
    {"listlevel", K::Flag, W::ListLevel, 0},
    {"levelnfc", K::Value, W::LevelFormat, 0},
    {"levelnfcn", K::Value, W::LevelFormat, 0},
    {"levelstartat", K::Value, W::LevelStart, 0},
    {"levelfollow", K::Value, W::LevelFollow, 0},
    {"listid", K::Value, W::ListId, 0},
    {"ls", K::Value, W::ListNumber, 0},
    {"ilvl", K::Value, W::ListLevelNumber, 0},
    // List definitions outside their tables, and the flat stand-in that
    // follows nested tables (their cells are read from \nestcell and \nestrow).
    {"list", K::Skip, W::ListDefinition, 0},
    {"listoverride", K::Skip, W::ListOverride, 0},
    {"nonesttables", K::Skip, W::SkippedDestination, 0},
    {"revtbl", K::Skip, W::SkippedDestination, 0},
    {"rsidtbl", K::Skip, W::SkippedDestination, 0},
    {"filetbl", K::Skip, W::SkippedDestination, 0},
    {"template", K::Skip, W::SkippedDestination, 0},
    {"private", K::Skip, W::SkippedDestination, 0},
    {"fchars", K::Skip, W::SkippedDestination, 0},
    {"lchars", K::Skip, W::SkippedDestination, 0},
    {"pgdsctbl", K::Skip, W::SkippedDestination, 0},
    {"macpict", K::Skip, W::SkippedDestination, 0},
    {"objdata", K::Skip, W::SkippedDestination, 0},

    {"tab", K::Symbol, W::Character, u'\t'},
    {"cell", K::Symbol, W::Cell, u'\t'},
    {"nestcell", K::Symbol, W::Cell, u'\t'},
    {"line", K::Symbol, W::Character, u'\u2028'},
    {"emdash", K::Symbol, W::Character, u'\u2014'},
    {"endash", K::Symbol, W::Character, u'\u2013'},
    {"emspace", K::Symbol, W::Character, u'\u2003'},
    {"enspace", K::Symbol, W::Character, u'\u2002'},
    {"qmspace", K::Symbol, W::Character, u'\u2005'},
    {"lquote", K::Symbol, W::Character, u'\u2018'},
    {"rquote", K::Symbol, W::Character, u'\u2019'},
    {"ldblquote", K::Symbol, W::Character, u'\u201C'},
    {"rdblquote", K::Symbol, W::Character, u'\u201D'},
    {"bullet", K::Symbol, W::Character, u'\u2022'},
};

constexpr std::size_t WordCount = sizeof(WordTable) / sizeof(WordTable[0]);
constexpr std::size_t Slots = 512; // a power of two, well above twice the word count
static_assert(WordCount < 256 && Slots > 2 * WordCount);

// Open addressing over the name hash; slot value = index + 1, 0 = empty.
// Built at compile time, so a lookup is one hash probe and one compare.
constexpr std::array<std::uint8_t, Slots> makeSlots()
{
    std::array<std::uint8_t, Slots> table{};
    for (std::size_t i = 0; i < WordCount; ++i) {
        std::size_t n = 0;
        while (WordTable[i].name[n])
            ++n;
        std::size_t s = hashName(WordTable[i].name, n) & (Slots - 1);
        while (table[s] != 0)
            s = (s + 1) & (Slots - 1);
        table[s] = std::uint8_t(i + 1);
    }
    return table;
}

constexpr std::array<std::uint8_t, Slots> SlotTable = makeSlots();

constexpr std::array<std::uint8_t, WordCount> makeLengths()
{
    std::array<std::uint8_t, WordCount> lengths{};
    for (std::size_t i = 0; i < WordCount; ++i) {
        std::size_t n = 0;
        while (WordTable[i].name[n])
            ++n;
        lengths[i] = std::uint8_t(n);
    }
    return lengths;
}

constexpr std::array<std::uint8_t, WordCount> Lengths = makeLengths();

} // namespace

const WordInfo* lookupWord(const char* name, std::size_t size, std::uint32_t hash)
{
    if (size == 0 || size > 32)
        return nullptr;
    std::size_t s = hash & (Slots - 1);
    while (const std::uint8_t v = SlotTable[s]) {
        if (Lengths[v - 1] == size) {
            const char* w = WordTable[v - 1].name;
            std::size_t i = 0;
            while (i < size && w[i] == name[i])
                ++i;
            if (i == size)
                return &WordTable[v - 1];
        }
        s = (s + 1) & (Slots - 1);
    }
    return nullptr;
}

} // namespace ts::rtf
