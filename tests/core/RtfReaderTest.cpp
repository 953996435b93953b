#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <gtest/gtest.h>

#include <climits>

using namespace ts;

namespace {

RichDocument readRtf(const char* rtf)
{
    return RtfReader::read(QByteArray(rtf));
}

QStringList texts(const RichDocument& d)
{
    return d.paragraphTexts();
}

QStringList list(std::initializer_list<QString> items)
{
    return QStringList(items);
}

} // namespace

// What a classic Windows rich-edit control saves: \deflang, \fprq, a symbol
// font, every later paragraph on a line starting "\par ", a final "\par }"
// and a NUL behind the closing brace.
TEST(RtfReader, ClassicRichEditBlockKeepsItsParagraphsAndFormats)
{
    const char rtf[] =
        "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}"
        "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 Arial;}}\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
        "\\deflang1033\\pard\\plain\\f2\\fs16 First \\plain\\f2\\fs16\\cf1\\b red bold\r\n"
        "\\par \\pard\\qc\\plain\\f2\\fs20 Second\r\n"
        "\\par \\pard\\li400\\fi-200\\plain\\f1\\fs16 \\'b7\\plain\\f2\\fs16\\tab Third\r\n"
        "\\par }\r\n";
    QByteArray bytes(rtf, sizeof(rtf)); // the terminating NUL is part of the block
    const RichDocument d = RtfReader::read(bytes);

    ASSERT_EQ(d.Paragraphs.size(), 3u);
    EXPECT_EQ(texts(d), list({QStringLiteral("First red bold"), QStringLiteral("Second"),
                              QStringLiteral("\uF0B7\tThird")}));

    const Paragraph& p0 = d.Paragraphs[0];
    ASSERT_EQ(p0.Runs.size(), 2u);
    EXPECT_EQ(p0.Runs[0].Format.Face, QStringLiteral("Arial"));
    EXPECT_EQ(p0.Runs[0].Format.Size, 16);
    EXPECT_FALSE(p0.Runs[0].Format.Colour.has_value());
    EXPECT_TRUE(p0.Runs[1].Format.Bold);
    EXPECT_EQ(p0.Runs[1].Format.Colour, std::optional<std::uint32_t>(0xFF0000));

    EXPECT_EQ(d.Paragraphs[1].Align, Alignment::Center);
    EXPECT_EQ(d.Paragraphs[1].Runs[0].Format.Size, 20);

    const Paragraph& p2 = d.Paragraphs[2];
    EXPECT_EQ(p2.Align, Alignment::Left);
    EXPECT_EQ(p2.LeftIndent, 400);
    EXPECT_EQ(p2.FirstIndent, -200);
    ASSERT_EQ(p2.Runs.size(), 2u);
    EXPECT_EQ(p2.Runs[0].Format.Face, QStringLiteral("Symbol"));
    EXPECT_EQ(p2.Runs[1].Text, QStringLiteral("\tThird"));
}

TEST(RtfReader, RichEditWithGeneratorAndParAtLineEnds)
{
    const char rtf[] =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041;}\\viewkind4\\uc1 \r\n"
        "\\pard\\f0\\fs17\\lang1033 one\\par\r\n"
        "two\\par\r\n"
        "three\\par\r\n"
        "}\r\n";
    const RichDocument d = readRtf(rtf);
    EXPECT_EQ(texts(d), list({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}));
    EXPECT_EQ(d.Paragraphs[2].Runs[0].Format.Size, 17);
}

// A word processor's document: style sheet, \info, {\*\...} destinations,
// \uN with its ANSI stand-in under \uc1 and \uc2, a picture as hex and as
// \bin data holding braces, an embedded object and a field.
TEST(RtfReader, WordProcessorDocument)
{
    const char rtf[] =
        "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deflang1033\r\n"
        "{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
        "{\\f1\\fswiss\\fcharset0\\fprq2 Arial{\\*\\falt Helvetica};}"
        "{\\f2\\fnil\\fcharset2\\fprq2 Wingdings;}}\r\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
        "{\\stylesheet{\\ql \\li0\\ri0\\widctlpar\\f0\\fs24\\lang1033 \\snext0 Normal;}"
        "{\\*\\cs10 \\additive Default Paragraph Font;}}\r\n"
        "{\\info{\\title Some title}{\\author Someone}{\\creatim\\yr2001\\mo5\\dy3\\hr10\\min2}}\r\n"
        "{\\*\\generator Microsoft Word 10.0.2627;}{\\*\\rsidtbl \\rsid1\\rsid2}\r\n"
        "\\paperw12240\\paperh15840\\margl1800\\margr1800 \\widowctrl\\ftnbj\\viewkind1\\viewscale100\r\n"
        "\\sectd \\linex0\\endnhere\\sectlinegrid360\\sectdefaultcl \r\n"
        "\\pard\\plain \\ql \\li0\\ri0\\widctlpar\\rin0\\lin0\\itap0 \\fs24\\lang1033\\langfe1033 "
        "{\\b\\f1\\insrsid1 Heading}{\\insrsid1 \\par }\r\n"
        "\\pard \\qj \\li720\\ri360\\fi-360 {\\insrsid2 Caf\\'e9 \\u8364\\'80 5 \\u1046\\'3f and "
        "\\uc2\\u8226\\'95\\'b7 dot}{\\par }\r\n"
        "{\\*\\bkmkstart pic}{\\pict\\wmetafile8\\picw100\\pich100 0100090000036e0000000000450000}"
        "{\\*\\bkmkend pic}{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0105}{\\result x}}"
        "text {\\pict\\bin6 {}\\}{\\ after}\\par\r\n"
        "{\\field{\\*\\fldinst { HYPERLINK \"http://example.com\" }}{\\fldrslt {\\cf2\\ul link}}}"
        "\\par }{\\*\\themedata 504b0304}{\\*\\datastore 0105}}";
    const RichDocument d = readRtf(rtf);

    EXPECT_EQ(texts(d), list({QStringLiteral("Heading"), QStringLiteral("Caf\u00e9 \u20ac 5 \u0416 and \u2022 dot"),
                              QStringLiteral("text "), QStringLiteral("link")}));
    const Paragraph& heading = d.Paragraphs[0];
    EXPECT_EQ(heading.Runs[0].Format.Face, QStringLiteral("Arial"));
    EXPECT_TRUE(heading.Runs[0].Format.Bold);
    EXPECT_EQ(heading.Runs[0].Format.Size, 24);

    const Paragraph& body = d.Paragraphs[1];
    EXPECT_EQ(body.Align, Alignment::Justify);
    EXPECT_EQ(body.LeftIndent, 720);
    EXPECT_EQ(body.RightIndent, 360);
    EXPECT_EQ(body.FirstIndent, -360);
    ASSERT_EQ(body.Runs.size(), 1u);
    EXPECT_EQ(body.Runs[0].Format.Face, QStringLiteral("Times New Roman"));

    const ts::Run& link = d.Paragraphs[3].Runs[0];
    EXPECT_TRUE(link.Format.Underline);
    EXPECT_EQ(link.Format.Colour, std::optional<std::uint32_t>(0x0000FF));
}

TEST(RtfReader, CharacterFormatFollowsGroupsAndToggles)
{
    const char rtf[] =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl ;\\red1\\green2\\blue3;}"
        "a{\\b b{\\i\\f1 c}d\\b0 e}{\\ul u\\ul0 n\\ul v\\ulnone w}{\\strike s} {\\v h\\v0 x}{\\cf1\\fs30 c\\plain p}"
        "{\\uldb d}{\\b1 o}}";
    const RichDocument d = readRtf(rtf);
    ASSERT_EQ(d.Paragraphs.size(), 1u);
    const std::vector<ts::Run>& r = d.Paragraphs[0].Runs;
    EXPECT_EQ(d.plainText(), QStringLiteral("abcdeunvws hxcpdo"));

    auto formatAt = [&](QChar ch) -> const CharFormat& {
        for (const ts::Run& run : r)
            if (run.Text.contains(ch))
                return run.Format;
        ADD_FAILURE() << "no run holds " << int(ch.unicode());
        return r.front().Format;
    };
    EXPECT_FALSE(formatAt(u'a').Bold);
    EXPECT_TRUE(formatAt(u'b').Bold);
    EXPECT_TRUE(formatAt(u'c').Italic);
    EXPECT_TRUE(formatAt(u'c').Bold);
    EXPECT_EQ(formatAt(u'c').Face, QStringLiteral("Courier New"));
    EXPECT_EQ(formatAt(u'd').Face, QStringLiteral("Arial"));
    EXPECT_FALSE(formatAt(u'd').Italic);
    EXPECT_FALSE(formatAt(u'e').Bold);
    EXPECT_TRUE(formatAt(u'u').Underline);
    EXPECT_FALSE(formatAt(u'n').Underline);
    EXPECT_TRUE(formatAt(u'v').Underline);
    EXPECT_FALSE(formatAt(u'w').Underline);
    EXPECT_TRUE(formatAt(u's').Strike);
    EXPECT_TRUE(formatAt(u'h').Hidden);
    EXPECT_FALSE(formatAt(u'x').Hidden);
    EXPECT_TRUE(formatAt(u'o').Bold);
    EXPECT_TRUE(formatAt(u'd').Bold);
    EXPECT_TRUE(r.back().Format.Bold);
    EXPECT_TRUE(r[r.size() - 2].Format.DoubleUnderline); // \uldb, kept apart from \ul
    EXPECT_FALSE(r[r.size() - 2].Format.Underline);
    // \plain drops colour and size back to the defaults.
    const ts::Run* coloured = nullptr;
    const ts::Run* plain = nullptr;
    for (const ts::Run& run : r) {
        if (run.Text == QStringLiteral("c") && run.Format.Colour)
            coloured = &run;
        if (run.Text == QStringLiteral("p"))
            plain = &run;
    }
    ASSERT_TRUE(coloured && plain);
    EXPECT_EQ(*coloured->Format.Colour, 0x010203u);
    EXPECT_EQ(coloured->Format.Size, 30);
    EXPECT_FALSE(plain->Format.Colour.has_value());
    EXPECT_EQ(plain->Format.Size, 24);
}

TEST(RtfReader, ColourTableEntriesAndIndices)
{
    // Without the leading ';' entry 0 is a real colour; out-of-range indices
    // and entries without components are automatic; text without \cf is too.
    const char rtf[] =
        "{\\rtf1{\\colortbl\\red0\\green0\\blue0;;\\red0\\green128\\blue0;}"
        "a{\\cf0 b}{\\cf1 c}{\\cf2 d}{\\cf9 e}{\\cf-4 f}}";
    const RichDocument d = readRtf(rtf);
    std::vector<std::optional<std::uint32_t>> colours;
    for (const ts::Run& r : d.Paragraphs[0].Runs)
        for (int i = 0; i < r.Text.size(); ++i)
            colours.push_back(r.Format.Colour);
    const std::vector<std::optional<std::uint32_t>> expected{
        std::nullopt, 0x000000u, std::nullopt, 0x008000u, std::nullopt, std::nullopt};
    EXPECT_EQ(colours, expected);
}

TEST(RtfReader, SpecialCharactersAndEscapes)
{
    const char rtf[] =
        "{\\rtf1 a\\{b\\}c\\\\d\\~e\\-f\\_g\\tab h\\line i\\emdash\\endash\\lquote\\rquote"
        "\\ldblquote\\rdblquote\\bullet j\\'e9\\'80\\'8d\tk}";
    const RichDocument d = readRtf(rtf);
    EXPECT_EQ(d.plainText(), QStringLiteral("a{b}c\\d\u00a0e\u00adf\u2011g\th\u2028i\u2014\u2013\u2018\u2019"
                                            "\u201c\u201d\u2022j\u00e9\u20ac\u008d\tk"));
    // A hexadecimal escape takes two digits, never a third.
    EXPECT_EQ(readRtf("{\\rtf1 \\'414\\'e9e}").plainText(), QStringLiteral("A4\u00e9e"));
}

TEST(RtfReader, UnicodeSkipCountsFollowTheirGroup)
{
    // \uc0: nothing to skip; \uc2 inside a group ends with it; a group end
    // stops a pending skip; a control word counts as one skipped character.
    const char rtf[] = "{\\rtf1\\uc0\\u1046 a{\\uc2\\u1047 bc d}\\u1048 e\\u1049{x}\\uc1\\u1050\\par f\\u1051}";
    const RichDocument d = readRtf(rtf);
    EXPECT_EQ(texts(d), list({QStringLiteral("\u0416a\u0417 d\u0418e\u0419x\u041af\u041b")}));

    // Negative and large parameters name UTF-16 units; pairs make one character.
    EXPECT_EQ(readRtf("{\\rtf1\\u-10179?\\u-8704?\\u61623?}").plainText(), QStringLiteral("\U0001F600\uF0B7"));

    // A \upr pair: the Unicode text, not the ANSI text beside it.
    EXPECT_EQ(readRtf("{\\rtf1 \"{\\upr{[G]}{\\*\\ud{[\\uc0\\u915]}}}\"}").plainText(), QStringLiteral("\"[\u0393]\""));
}

TEST(RtfReader, SymbolFontBytesKeepTheirCodes)
{
    const char rtf[] =
        "{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset2 Wingdings;}{\\f2\\fdecor Symbol;}}"
        "\\f1 J\\'b7\\{\\u74?\\f2 a\\f0 b}";
    const RichDocument d = readRtf(rtf);
    const std::vector<ts::Run>& r = d.Paragraphs[0].Runs;
    ASSERT_EQ(r.size(), 3u);
    // \uN is Unicode in any font; a symbol face without \fcharset is a symbol font too.
    EXPECT_EQ(r[0].Text, QStringLiteral("\uF04A\uF0B7\uF07BJ"));
    EXPECT_EQ(r[0].Format.Face, QStringLiteral("Wingdings"));
    EXPECT_EQ(r[1].Text, QStringLiteral("\uF061"));
    EXPECT_EQ(r[2].Text, QStringLiteral("b"));
}

TEST(RtfReader, FontTablesInOtherForms)
{
    // Entries without their own groups, a missing ';', numbers out of order,
    // an unknown number in the text (falls back to \deff), names with escapes.
    const char rtf[] =
        "{\\rtf1\\deff3{\\fonttbl\\f3\\fswiss Helvetica;\\f7\\froman Times}{\\fonttbl{\\f9 Caf\\'e9 \\u1046?;}}"
        "a\\f7 b\\f9 c\\f42 d}";
    const RichDocument d = readRtf(rtf);
    const std::vector<ts::Run>& r = d.Paragraphs[0].Runs;
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].Format.Face, QStringLiteral("Helvetica"));
    EXPECT_EQ(r[1].Format.Face, QStringLiteral("Times"));
    EXPECT_EQ(r[2].Format.Face, QStringLiteral("Caf\u00e9 \u0416"));
    EXPECT_EQ(r[3].Format.Face, QStringLiteral("Helvetica"));
}

TEST(RtfReader, FinalParEndsTheLastParagraph)
{
    EXPECT_EQ(texts(readRtf("{\\rtf1 a\\par b\\par }")), list({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(texts(readRtf("{\\rtf1 a\\par b\\par\r\n}\r\n")), list({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(texts(readRtf("{\\rtf1 a\\par b}")), list({QStringLiteral("a"), QStringLiteral("b")}));
    // An empty paragraph before the last \par stays.
    EXPECT_EQ(texts(readRtf("{\\rtf1 a\\par\\par }")), list({QStringLiteral("a"), QString()}));
    // Formatting after the last \par opens one more, empty, paragraph: this is
    // how the program's own writer ends a document whose last paragraph is empty.
    EXPECT_EQ(texts(readRtf("{\\rtf1 a\r\n\\par \\pard\\plain\\f0\\fs16 \r\n}")), list({QStringLiteral("a"), QString()}));
    // A lone \par is one empty paragraph; a document without any is one.
    EXPECT_EQ(readRtf("{\\rtf1\\par }").Paragraphs.size(), 1u);
    EXPECT_EQ(texts(readRtf("{\\rtf1}")), list({QString()}));
    EXPECT_EQ(texts(readRtf("{\\rtf1 x}")), list({QStringLiteral("x")}));
}

TEST(RtfReader, BytesAfterTheClosingBraceAreIgnored)
{
    const char raw[] = "{\\rtf1 one}\r\n\0\0{\\rtf1 two}garbage\\par more";
    EXPECT_EQ(texts(RtfReader::read(QByteArray(raw, sizeof(raw) - 1))), list({QStringLiteral("one")}));
}

TEST(RtfReader, ParagraphPropertiesBelongToTheParThatEndsThem)
{
    const RichDocument d = readRtf("{\\rtf1\\qc\\li100 a\\par\\pard b\\qr\\ri50\\par c\\pard\\fi-30\\par{\\qj d\\par}e}");
    ASSERT_EQ(d.Paragraphs.size(), 5u);
    EXPECT_EQ(d.Paragraphs[0].Align, Alignment::Center);
    EXPECT_EQ(d.Paragraphs[0].LeftIndent, 100);
    EXPECT_EQ(d.Paragraphs[1].Align, Alignment::Right); // set after its text, before its \par
    EXPECT_EQ(d.Paragraphs[1].LeftIndent, 0);
    EXPECT_EQ(d.Paragraphs[1].RightIndent, 50);
    EXPECT_EQ(d.Paragraphs[2].Align, Alignment::Left); // \pard before its \par reset it
    EXPECT_EQ(d.Paragraphs[2].FirstIndent, -30);
    EXPECT_EQ(d.Paragraphs[3].Align, Alignment::Justify);
    EXPECT_EQ(d.Paragraphs[4].Align, Alignment::Left); // the group that set \qj ended
    EXPECT_EQ(d.Paragraphs[4].FirstIndent, -30);
}

TEST(RtfReader, EmptyParagraphTakesTheFormatInEffectAtItsPar)
{
    const RichDocument d =
        readRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\f0 x\\par\\f1\\fs30\\b\\par\\f0\\b0 y\\par}");
    ASSERT_EQ(d.Paragraphs.size(), 3u);
    const Paragraph& empty = d.Paragraphs[1];
    ASSERT_EQ(empty.Runs.size(), 1u);
    EXPECT_TRUE(empty.Runs[0].Text.isEmpty());
    EXPECT_EQ(empty.Runs[0].Format.Face, QStringLiteral("Courier New"));
    EXPECT_EQ(empty.Runs[0].Format.Size, 30);
    EXPECT_TRUE(empty.Runs[0].Format.Bold);
}

TEST(RtfReader, OtherBreaksAndTables)
{
    // Page and section breaks end paragraphs; table cells become tabs and rows paragraphs.
    const RichDocument d = readRtf("{\\rtf1 a\\page b\\sect c\\par\\trowd\\intbl x\\cell y\\cell\\row z\\\r\nw}");
    EXPECT_EQ(texts(d), list({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("x\ty\t"),
                              QStringLiteral("z"), QStringLiteral("w")}));
}

TEST(RtfReader, InputThatIsNotRtfIsPlainText)
{
    EXPECT_EQ(texts(RtfReader::read(QByteArray("Line one\r\nLine two\nCaf\xe9\r\n"))),
              list({QStringLiteral("Line one"), QStringLiteral("Line two"), QStringLiteral("Caf\u00e9")}));
    EXPECT_EQ(texts(RtfReader::read(QByteArray("{rtf1 not rtf}"))), list({QStringLiteral("{rtf1 not rtf}")}));
    EXPECT_EQ(texts(RtfReader::read(QByteArray(" {\\rtf1 x}"))), list({QStringLiteral(" {\\rtf1 x}")}));
    EXPECT_EQ(texts(RtfReader::read(QByteArray("\xEF\xBB\xBF\xD0\x96"))), list({QStringLiteral("\u0416")}));
    const RichDocument empty = RtfReader::read(QByteArray());
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.Paragraphs.size(), 1u);
}

TEST(RtfReader, UnknownWordsAndDestinationsAreSkipped)
{
    const RichDocument d = readRtf(
        "{\\rtf1\\fooword12 a{\\*\\unknowndest {nested {deep}} \\par text}b{\\*}c{\\footnote note}"
        "{\\header head\\par}{\\*\\fldinst x}\\|\\:d\\abcdefghijklmnopqrstuvwxyzabcdefghijklmnop e}");
    EXPECT_EQ(texts(d), list({QStringLiteral("abcde")}));
}

// Broken input of every kind reads to something without crashing or hanging;
// these are the shapes the fuzzer found worth keeping too.
TEST(RtfReader, MalformedInputNeverBreaksTheReader)
{
    EXPECT_EQ(readRtf("{\\rtf1 abc").plainText(), QStringLiteral("abc"));
    EXPECT_EQ(readRtf("{\\rtf1 {\\b abc}}}} more").plainText(), QStringLiteral("abc"));
    EXPECT_EQ(readRtf("{\\rtf1 ab\\").plainText(), QStringLiteral("ab"));
    EXPECT_EQ(readRtf("{\\rtf1 a\\'4").plainText(), QStringLiteral("a\u0004"));
    EXPECT_EQ(readRtf("{\\rtf1 a\\'").plainText(), QStringLiteral("a"));
    EXPECT_EQ(readRtf("{\\rtf1 a\\'zz}").plainText(), QStringLiteral("azz"));
    EXPECT_EQ(readRtf("{\\rtf1 a\\u").plainText(), QStringLiteral("a"));
    EXPECT_EQ(readRtf("{\\rtf1 a\\u-").plainText(), QStringLiteral("a-"));
    EXPECT_EQ(readRtf("{\\rtf1 a\\bin99999999999 xyz}").plainText(), QStringLiteral("a"));
    EXPECT_EQ(readRtf("{\\rtf1 a\\bin-5 xyz}").plainText(), QStringLiteral("axyz"));
    EXPECT_EQ(readRtf("{\\rtf1 a{\\pict\\bin3 }}").plainText(), QStringLiteral("a"));
    EXPECT_EQ(readRtf("{\\rtf1\\uc2000000000\\u65 abc}").plainText(), QStringLiteral("A"));
    EXPECT_EQ(readRtf("{\\rtf1{\\fonttbl{\\f0 Arial").plainText(), QString());
    EXPECT_EQ(readRtf("{\\rtf1{\\colortbl\\red999999999999;}{\\cf0 x}}").Paragraphs[0].Runs[0].Format.Colour,
              std::optional<std::uint32_t>(0xFF0000));

    // Numbers past the range of int are held at its ends; the ends themselves are read as they are.
    for (const char* rtf : {"{\\rtf1\\fs99999999999999999999\\li-99999999999999999999 x}",
                            "{\\rtf1\\fs2147483648\\li-2147483649 x}", "{\\rtf1\\fs2147483647\\li-2147483648 x}"}) {
        const RichDocument huge = readRtf(rtf);
        EXPECT_EQ(huge.Paragraphs[0].Runs[0].Format.Size, INT_MAX) << rtf;
        EXPECT_EQ(huge.Paragraphs[0].LeftIndent, INT_MIN) << rtf;
    }

    // Nesting far deeper than any document: the deep part is passed over.
    // 512 groups, the document's own included, are read; the 513th is not.
    const auto nested = [](int depth) {
        QByteArray deep("{\\rtf1 a");
        deep += QByteArray(depth, '{') + "x" + QByteArray(depth, '}') + "b}";
        return RtfReader::read(deep).plainText();
    };
    EXPECT_EQ(nested(511), QStringLiteral("axb"));
    EXPECT_EQ(nested(512), QStringLiteral("ab"));
    EXPECT_EQ(nested(200000), QStringLiteral("ab"));
    const int depth = 200000;
    QByteArray unclosed("{\\rtf1 a");
    unclosed += QByteArray(depth, '{') + "x";
    EXPECT_EQ(RtfReader::read(unclosed).plainText(), QStringLiteral("a"));
}

// Inputs the fuzzer found, kept as they were found (minimized): each must read
// to a document that the writer writes stably.
TEST(RtfReader, FuzzFindingsStayFixed)
{
    const QByteArray findings[] = {
        // A run that starts with U+FEFF lost it when read back.
        QByteArray("\xEF\xBB\xBF\n\xEF\xBB\xBF"),
    };
    for (const QByteArray& input : findings) {
        const QByteArray once = RtfWriter::write(RtfReader::read(input));
        EXPECT_EQ(RtfWriter::write(RtfReader::read(once)), once) << input.toHex().constData();
    }
    EXPECT_EQ(readRtf("{\\rtf1 \\u-257?x}").plainText(), QStringLiteral("\uFEFFx"));
}
