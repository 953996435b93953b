#pragma once
// Rich text as the program holds it between the editors, the topic records
// and the writers: paragraphs of styled runs. Text is Unicode in memory.
//
// A paragraph always holds at least one run; an empty paragraph holds one run
// with empty text, which carries the character format the paragraph ends in.
// Inside a paragraph, a tab is '\t' and a line break (\line) is U+2028.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace ts {

// Raised or lowered text (\super, \sub).
enum class VerticalPosition : std::uint8_t { Normal, Superscript, Subscript };

struct CharFormat {
    QString Face = QStringLiteral("Arial"); // font face name
    int Size = 16;                           // half-points (16 = 8 pt)
    std::optional<std::uint32_t> Colour;      // 0xRRGGBB; empty = automatic
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    bool Hidden = false;
    // What word processors add and help files show in part: a double
    // underline (\uldb, kept apart from Underline), small capitals, raised or
    // lowered text and a highlight (background) colour.
    bool DoubleUnderline = false;
    bool SmallCaps = false;
    VerticalPosition Vertical = VerticalPosition::Normal;
    std::optional<std::uint32_t> Highlight; // 0xRRGGBB; empty = none

    friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

struct Run {
    QString Text;
    CharFormat Format;

    friend bool operator==(const Run&, const Run&) = default;
};

enum class Alignment { Left, Center, Right, Justify };

// A tab stop (\tx with \tqr, \tqc, \tqdec and a leader such as \tldot).
struct TabStop {
    enum class Kind : std::uint8_t { Left, Right, Center, Decimal };
    enum class Leader : std::uint8_t { None, Dots, Hyphens, Underline, ThickLine, Equals };
    // What a paragraph holds at most, as the RTF reader keeps it: 64 stops,
    // none further right than 22 inches (wider than any page).
    static constexpr std::size_t MaxPerParagraph = 64;
    static constexpr int MaxPosition = 31680;

    int Position = 0; // twips from the left margin
    Kind Align = Kind::Left;
    Leader Fill = Leader::None;

    friend bool operator==(const TabStop&, const TabStop&) = default;
};

struct Paragraph {
    Alignment Align = Alignment::Left;
    int LeftIndent = 0;  // twips
    int FirstIndent = 0; // twips, relative to LeftIndent
    int RightIndent = 0; // twips
    int SpaceBefore = 0; // twips (\sb)
    int SpaceAfter = 0;  // twips (\sa)
    // Line spacing as RTF's \sl gives it: 0 single, > 0 at least, < 0
    // exactly that many twips; with LineSpacingMultiple (\slmult1) a
    // multiple of single spacing in 240ths (276 = 1.15 lines).
    int LineSpacing = 0;
    bool LineSpacingMultiple = false;
    std::vector<TabStop> Tabs; // ascending positions
    std::vector<Run> Runs{Run{}};

    QString text() const;
    bool isEmpty() const; // no text in any run

    friend bool operator==(const Paragraph&, const Paragraph&) = default;
};

class RichDocument {
public:
    // An empty document: one empty paragraph.
    RichDocument();

    std::vector<Paragraph> Paragraphs;

    // Plain text, one entry per paragraph.
    QStringList paragraphTexts() const;
    // Plain text with paragraphs joined by "\r\n": character positions in it
    // count a paragraph break as two, as the editor's selection does.
    QString plainText() const;
    bool isEmpty() const; // one paragraph without text

    // Character positions in plainText(): a paragraph break counts two.
    struct TextPosition {
        qsizetype Paragraph = 0; // index into Paragraphs
        qsizetype Offset = 0;    // characters from the paragraph's start
        friend bool operator==(const TextPosition&, const TextPosition&) = default;
    };
    qsizetype length() const; // == plainText().size()
    qsizetype positionOf(const TextPosition& at) const;
    // The paragraph and offset of a position; positions past the end give the
    // end of the last paragraph, and a position inside a paragraph break (its
    // second character) gives the end of the paragraph before it.
    TextPosition locate(qsizetype position) const;

    // Merges neighbouring runs of equal format and drops empty runs (keeping
    // one in an empty paragraph); ensures at least one paragraph.
    void normalize();

    // A document of plain text, one paragraph per line ("\r\n", "\n" or "\r"),
    // every run in `format`.
    static RichDocument fromPlainText(const QString& text, const CharFormat& format = CharFormat());

    friend bool operator==(const RichDocument&, const RichDocument&) = default;
};

// Fonts whose text is symbols in 8-bit codes rather than letters (Symbol,
// Wingdings, ...): their bytes are held as U+F000 + byte and written back
// as bytes in a font marked as a symbol font. The name is compared without
// regard to letter case.
bool isSymbolFontFace(const QString& face);

} // namespace ts
