#pragma once
// Writes a RichDocument as RTF in the program's line shape (CR LF ends):
//
//   {\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Arial;}...}
//   {\colortbl ;\red255\green0\blue0;}
//   \pard\plain\f0\fs16 First paragraph \plain\f0\fs16\strike link
//   \par \pard\qc\li400\plain\f0\fs24\cf1 Second paragraph
//   }
//
// Opening lines hold no paragraph text; every paragraph is one line; every
// paragraph after the first starts "\par \pard"; each run starts "\plain"
// with its complete character words, then one blank, then the escaped text.
// Paragraph spacing (\sb \sa \sl \slmult), tab stops (\tqr \tldot \tx ...) and the
// character words \uldb \scaps \super \sub \highlight are written only where a
// paragraph or run has them, so a document without them writes the bytes it
// always did. write(read(write(d))) == write(d).
//
// What a line holds is what reads back: runs without text are left out
// (a paragraph without text is written with the format of its last run),
// and neighbouring runs whose words come out the same are written as one.
// Face names lose the characters a font table cannot hold (; { } \ and
// control characters) and surrounding blanks. Faces of the symbol fonts
// (isSymbolFontFace) are marked \fcharset2 and their text is written as
// 8-bit codes: U+F000 + byte as that byte, characters of Windows-1252 as
// their byte (printable ASCII as it stands, the rest as \'hh); other
// characters as \uN?.
//
// The font and colour tables can be built over several documents, so that the
// help-source writer can emit one combined file paragraph by paragraph.

#include "RichDocument.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

namespace ts {

class RtfWriter {
public:
    // The whole document, in the line shape above.
    static QByteArray write(const RichDocument& document);

    // Registers the fonts and colours of a document, in order of first use.
    void addToTables(const RichDocument& document);
    void addToTables(const Paragraph& paragraph);

    // The opening lines: "{\rtf1...{\fonttbl...}}" CR LF "{\colortbl ;...}" CR LF.
    QByteArray openingLines() const;
    // One paragraph line without its line end. The first paragraph of a
    // document starts "\pard", every later one "\par \pard". All fonts and
    // colours of the paragraph must have been registered.
    void appendParagraphLine(QByteArray& out, const Paragraph& paragraph, bool first) const;
    // The closing line "}" CR LF.
    static QByteArray closingLine();

private:
    struct WordCache;
    struct FaceCache;
    // Returns a size estimate of the paragraph's line.
    qsizetype addToTables(const Paragraph& paragraph, FaceCache& cache);
    void appendParagraphLine(QByteArray& out, const Paragraph& paragraph, bool first, WordCache& cache) const;
    // The font number of a face, the cache's recent faces looked at first.
    int cachedFontIndex(WordCache& cache, const QString& face) const;
    int fontIndex(const QString& face) const;
    int colourIndex(std::uint32_t rgb) const;

    // Fonts in order of first use, by the name the table holds (a face name
    // without the characters a table cannot hold); faces as given map to them.
    std::vector<QString> fonts_;
    std::vector<bool> fontSymbol_; // written \fcharset2
    QHash<QString, int> fontByName_;
    QHash<QString, int> fontIndex_;
    std::vector<std::uint32_t> colours_;
    QHash<std::uint32_t, int> colourIndex_;
};

} // namespace ts
