#include "richtext/RichDocument.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {

RichDocument threeParagraphs()
{
    // "ab" CR LF "" CR LF "cde": "ab" at 0..2, CR LF at 2 and 3, the empty
    // paragraph at 4, CR LF at 4 and 5, "cde" at 6..9.
    return RichDocument::fromPlainText(QStringLiteral("ab\r\n\r\ncde"));
}

} // namespace

TEST(RichDocument, PositionsCountAParagraphBreakAsTwo)
{
    const RichDocument d = threeParagraphs();
    ASSERT_EQ(d.paragraphTexts(), QStringList({QStringLiteral("ab"), QString(), QStringLiteral("cde")}));
    EXPECT_EQ(d.length(), d.plainText().size());
    EXPECT_EQ(d.length(), 9);

    using P = RichDocument::TextPosition;
    EXPECT_EQ(d.positionOf(P{0, 0}), 0);
    EXPECT_EQ(d.positionOf(P{1, 0}), 4);
    EXPECT_EQ(d.positionOf(P{2, 1}), 7);
    EXPECT_EQ(d.locate(0), (P{0, 0}));
    EXPECT_EQ(d.locate(2), (P{0, 2}));
    EXPECT_EQ(d.locate(3), (P{0, 2})); // between CR and LF
    EXPECT_EQ(d.locate(4), (P{1, 0}));
    EXPECT_EQ(d.locate(5), (P{1, 0}));
    EXPECT_EQ(d.locate(6), (P{2, 0}));
    EXPECT_EQ(d.locate(9), (P{2, 3}));
    EXPECT_EQ(d.locate(500), (P{2, 3}));
    EXPECT_EQ(d.locate(-5), (P{0, 0}));
    for (qsizetype pos = 0; pos <= d.length(); ++pos) {
        if (pos == 3 || pos == 5)
            continue;
        EXPECT_EQ(d.positionOf(d.locate(pos)), pos);
    }
}

TEST(RichDocument, SymbolFacesAreKnownWhateverTheirCase)
{
    EXPECT_TRUE(isSymbolFontFace(QStringLiteral("Symbol")));
    EXPECT_TRUE(isSymbolFontFace(QStringLiteral("wingdings 3")));
    EXPECT_TRUE(isSymbolFontFace(QStringLiteral("MARLETT")));
    EXPECT_FALSE(isSymbolFontFace(QStringLiteral("Wingdings 4")));
    EXPECT_FALSE(isSymbolFontFace(QStringLiteral("Arial")));
}
