#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <climits>
#include <random>

using namespace ts;

namespace {

CharFormat fmt(const QString& face = QStringLiteral("Arial"), int size = 16)
{
    CharFormat f;
    f.Face = face;
    f.Size = size;
    return f;
}

Paragraph para(std::vector<ts::Run> runs, Alignment align = Alignment::Left, int li = 0, int ri = 0, int fi = 0)
{
    Paragraph p;
    p.Runs = std::move(runs);
    p.Align = align;
    p.LeftIndent = li;
    p.RightIndent = ri;
    p.FirstIndent = fi;
    return p;
}

RichDocument doc(std::vector<Paragraph> paragraphs)
{
    RichDocument d;
    d.Paragraphs = std::move(paragraphs);
    return d;
}

QByteArray lines(std::initializer_list<const char*> ls)
{
    QByteArray out;
    for (const char* l : ls)
        out += QByteArray(l) + "\r\n";
    return out;
}

const char* OpeningArial = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}";

// A document that uses every formatting feature the program keeps.
RichDocument everyFeature()
{
    CharFormat black = fmt();
    black.Colour = 0x000000;
    CharFormat link = fmt();
    link.Strike = true;
    CharFormat popup = fmt(QStringLiteral("Times New Roman"), 20);
    popup.Underline = true;
    CharFormat hidden = fmt();
    hidden.Hidden = true;
    CharFormat loud = fmt(QStringLiteral("Courier New"), 24);
    loud.Colour = 0xFF0000;
    loud.Bold = loud.Italic = loud.Underline = true;
    CharFormat symbol = fmt(QStringLiteral("Wingdings"), 18);
    CharFormat blue = fmt(QStringLiteral("Verdana"), 8);
    blue.Colour = 0x0000FF;
    blue.Italic = true;

    return doc({
        para({ts::Run{QStringLiteral("Start "), black}, ts::Run{QStringLiteral("a link"), link},
              ts::Run{QStringLiteral("-->INTRO2"), hidden}, ts::Run{QStringLiteral(" and a "), fmt()},
              ts::Run{QStringLiteral("pop-up"), popup}, ts::Run{QStringLiteral("-->GLOSS>note"), hidden}}),
        para({ts::Run{QStringLiteral("Centred\tand\u2028broken {bmc pic.bmp} \\ back"), loud}}, Alignment::Center, 400),
        para({ts::Run{QString(), blue}}, Alignment::Right, 0, 300),
        para({ts::Run{QStringLiteral("\uF04A\uF0B7"), symbol}, ts::Run{QStringLiteral(" Caf\u00e9 \u20ac \u0416\u4E2D \U0001F600"), blue}},
             Alignment::Justify, 720, 360, -360),
        para({ts::Run{QStringLiteral("last"), fmt(QStringLiteral("Arial"), 48)}}),
        para({ts::Run{QString(), fmt()}}),
    });
}

} // namespace

TEST(RtfWriter, WritesTheLineShape)
{
    CharFormat black = fmt();
    black.Colour = 0x000000;
    CharFormat link = fmt();
    link.Strike = true;
    CharFormat red = fmt(QStringLiteral("Courier New"), 24);
    red.Colour = 0xFF0000;
    red.Bold = red.Italic = red.Underline = true;
    CharFormat hidden = fmt(QStringLiteral("Courier New"), 24);
    hidden.Hidden = true;

    const RichDocument d = doc({
        para({ts::Run{QStringLiteral("First paragraph with "), black}, ts::Run{QStringLiteral("a link-->INTRO2"), link},
              ts::Run{QStringLiteral(" and more"), fmt()}}),
        para({ts::Run{QStringLiteral("Second "), red}, ts::Run{QStringLiteral("hidden text"), hidden}}, Alignment::Center, 400),
        para({ts::Run{QString(), fmt()}}, Alignment::Justify, -100, 200, 300),
    });
    EXPECT_EQ(RtfWriter::write(d),
              lines({"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                     "{\\f1\\fnil\\fcharset0 Courier New;}}",
                     "{\\colortbl ;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}",
                     "\\pard\\plain\\f0\\fs16\\cf1 First paragraph with \\plain\\f0\\fs16\\strike a link-->INTRO2"
                     "\\plain\\f0\\fs16  and more",
                     "\\par \\pard\\qc\\li400\\plain\\f1\\fs24\\cf2\\b\\i\\ul Second \\plain\\f1\\fs24\\v hidden text",
                     "\\par \\pard\\qj\\li-100\\ri200\\fi300\\plain\\f0\\fs16 ",
                     "}"}));
}

TEST(RtfWriter, EmptyDocumentIsOneEmptyParagraph)
{
    const QByteArray expected = lines({OpeningArial, "{\\colortbl ;}", "\\pard\\plain\\f0\\fs16 ", "}"});
    EXPECT_EQ(RtfWriter::write(RichDocument()), expected);
    RichDocument none;
    none.Paragraphs.clear();
    EXPECT_EQ(RtfWriter::write(none), expected);
    EXPECT_EQ(RtfWriter::write(RtfReader::read(expected)), expected);
}

TEST(RtfWriter, EscapesText)
{
    const RichDocument d = doc({para({ts::Run{QStringLiteral("a\\b{c}d\t\u00e9\u20ac\u008d\u0080\u0416\uFFFD\U0001F600"
                                                        "\u2028-->x\u0001 \u00a0"),
                                          fmt()}})});
    EXPECT_EQ(RtfWriter::write(d),
              lines({OpeningArial, "{\\colortbl ;}",
                     "\\pard\\plain\\f0\\fs16 a\\\\b\\{c\\}d\\tab \\'e9\\'80\\'8d\\u128?\\u1046?\\u-3?\\u-10179?\\u-8704?"
                     "\\line -->x\\'01 \\'a0",
                     "}"}));
}

TEST(RtfWriter, NumbersFontsAndColoursInOrderOfFirstUse)
{
    CharFormat times = fmt(QStringLiteral("Times New Roman"));
    times.Colour = 0x0000FF;
    CharFormat arial = fmt();
    arial.Colour = 0xFF0000;
    CharFormat timesRed = fmt(QStringLiteral("Times New Roman"));
    timesRed.Colour = 0xFF0000;
    CharFormat unused = fmt(QStringLiteral("Unused"));
    unused.Colour = 0x123456;
    CharFormat stripped = fmt(QStringLiteral(" Bad;{Face}\\\r "));
    CharFormat clean = fmt(QStringLiteral("BadFace"));
    clean.Colour = 0xFF000000u | 0x0000FF; // bits above the colour are not part of it

    const RichDocument d = doc({
        para({ts::Run{QStringLiteral("t"), times}, ts::Run{QStringLiteral("a"), arial}}),
        para({ts::Run{QString(), unused}, ts::Run{QStringLiteral("tr"), timesRed}}),
        // Only the last run of a paragraph without text is written, so only it counts.
        para({ts::Run{QString(), unused}, ts::Run{QString(), stripped}}),
        para({ts::Run{QStringLiteral("c"), clean}}),
    });
    const QByteArray out = RtfWriter::write(d);
    EXPECT_TRUE(out.startsWith(lines({"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Times New Roman;}"
                                      "{\\f1\\fnil\\fcharset0 Arial;}{\\f2\\fnil\\fcharset0 BadFace;}}",
                                      "{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}"})))
        << out.constData();
    EXPECT_TRUE(out.contains("\\pard\\plain\\f0\\fs16\\cf1 t\\plain\\f1\\fs16\\cf2 a\r\n"));
    EXPECT_TRUE(out.contains("\\par \\pard\\plain\\f0\\fs16\\cf2 tr\r\n"));
    EXPECT_TRUE(out.contains("\\par \\pard\\plain\\f2\\fs16 \r\n"));
    EXPECT_TRUE(out.contains("\\par \\pard\\plain\\f2\\fs16\\cf1 c\r\n"));
    EXPECT_FALSE(out.contains("Unused"));
    EXPECT_EQ(RtfWriter::write(RtfReader::read(out)), out);
}

TEST(RtfWriter, MergesRunsThatLookTheSameAndDropsEmptyOnes)
{
    CharFormat bold = fmt();
    bold.Bold = true;
    const RichDocument d = doc({para({ts::Run{QStringLiteral("ab"), fmt()}, ts::Run{QString(), bold}, ts::Run{QStringLiteral("cd"), fmt()},
                                      ts::Run{QStringLiteral("ef"), bold}, ts::Run{QStringLiteral("g"), fmt(QStringLiteral("Ar;ial"))}})});
    const QByteArray out = RtfWriter::write(d);
    EXPECT_TRUE(out.contains("\r\n\\pard\\plain\\f0\\fs16 abcd\\plain\\f0\\fs16\\b ef\\plain\\f0\\fs16 g\r\n")) << out.constData();
    EXPECT_EQ(RtfWriter::write(RtfReader::read(out)), out);
}

TEST(RtfWriter, SymbolFontsKeepTheirBytes)
{
    const RichDocument d = doc({para({ts::Run{QStringLiteral("x"), fmt()},
                                      ts::Run{QStringLiteral("\uF04AJ\u00e9\u0416\t\uF05C"), fmt(QStringLiteral("Wingdings"))},
                                      ts::Run{QStringLiteral("\uF0B7"), fmt(QStringLiteral("symbol"))},
                                      ts::Run{QStringLiteral("\uF0B7"), fmt(QStringLiteral("Tahoma"))}})});
    const QByteArray out = RtfWriter::write(d);
    EXPECT_TRUE(out.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                               "{\\f1\\fnil\\fcharset2 Wingdings;}{\\f2\\fnil\\fcharset2 symbol;}"
                               "{\\f3\\fnil\\fcharset0 Tahoma;}}\r\n"))
        << out.constData();
    EXPECT_TRUE(out.contains("\\plain\\f1\\fs16 JJ\\'e9\\u1046?\\tab \\'5c\\plain\\f2\\fs16 \\'b7"
                             "\\plain\\f3\\fs16 \\u-3913?\r\n"))
        << out.constData();

    // Read back, a symbol font's bytes are U+F000 + byte, whatever they were typed as.
    const RichDocument back = RtfReader::read(out);
    EXPECT_EQ(back.Paragraphs[0].Runs[1].Text, QStringLiteral("\uF04A\uF04A\uF0E9\u0416\t\uF05C"));
    EXPECT_EQ(back.Paragraphs[0].Runs[3].Text, QStringLiteral("\uF0B7"));
    EXPECT_EQ(RtfWriter::write(back), out);
}

TEST(RtfWriter, EveryParagraphIsOneLineOfTheRightShape)
{
    const QByteArray out = RtfWriter::write(everyFeature());
    QList<QByteArray> ls = out.split('\n');
    ASSERT_EQ(ls.takeLast(), QByteArray());
    for (QByteArray& l : ls) {
        ASSERT_TRUE(l.endsWith('\r'));
        l.chop(1);
        EXPECT_FALSE(l.contains('\r'));
    }
    ASSERT_EQ(ls.size(), 2 + 6 + 1);
    EXPECT_TRUE(ls[0].startsWith("{\\rtf1"));
    EXPECT_TRUE(ls[1].startsWith("{\\colortbl ;"));
    EXPECT_EQ(ls.last(), QByteArray("}"));
    // "\par \pard", the paragraph words, "\plain" and the run's words, no blank
    // among them, then one blank.
    const QRegularExpression head(QStringLiteral(R"(^(\\par )?\\pard(\\[a-z]+-?\d*)*\\plain(\\[a-z]+-?\d*)* )"));
    for (int i = 2; i < ls.size() - 1; ++i) {
        const QString line = QString::fromLatin1(ls[i]);
        EXPECT_TRUE(head.match(line).hasMatch()) << ls[i].constData();
        EXPECT_EQ(line.startsWith(QStringLiteral("\\par \\pard")), i > 2) << ls[i].constData();
    }
    EXPECT_EQ(ls[4], QByteArray("\\par \\pard\\qr\\ri300\\plain\\f3\\fs8\\cf3\\i "));
}

TEST(RtfWriter, RoundTripKeepsEveryFeature)
{
    const RichDocument d = everyFeature();
    const QByteArray once = RtfWriter::write(d);
    const RichDocument back = RtfReader::read(once);
    EXPECT_EQ(RtfWriter::write(back), once);

    // Apart from symbol-font text, which comes back in its U+F000 form, the
    // document itself survives.
    EXPECT_EQ(back.Paragraphs.size(), d.Paragraphs.size());
    for (std::size_t i = 0; i < d.Paragraphs.size(); ++i) {
        if (i == 3)
            continue;
        EXPECT_EQ(back.Paragraphs[i], d.Paragraphs[i]) << "paragraph " << i;
    }
    EXPECT_EQ(back.Paragraphs[3].Runs[0], d.Paragraphs[3].Runs[0]);
    EXPECT_EQ(back.plainText(), d.plainText());
}

TEST(RtfWriter, ExtremeValuesRoundTrip)
{
    CharFormat f = fmt(QString(), INT_MAX);
    f.Colour = 0xFFFFFF;
    const RichDocument d =
        doc({para({ts::Run{QStringLiteral("x"), f}}, Alignment::Left, INT_MIN, INT_MAX, -1), para({ts::Run{QString(), fmt(QString(), 0)}})});
    const QByteArray once = RtfWriter::write(d);
    EXPECT_TRUE(once.contains("\\li-2147483648\\ri2147483647\\fi-1\\plain\\f0\\fs2147483647\\cf1 x")) << once.constData();
    EXPECT_TRUE(once.contains("{\\f0\\fnil\\fcharset0 ;}"));
    const RichDocument back = RtfReader::read(once);
    EXPECT_EQ(back, d);
    EXPECT_EQ(RtfWriter::write(back), once);
}

// The help-source writer registers several documents into one table and
// writes their paragraphs itself.
TEST(RtfWriter, TablesSpanSeveralDocuments)
{
    CharFormat red = fmt(QStringLiteral("Courier New"));
    red.Colour = 0xFF0000;
    const RichDocument a = doc({para({ts::Run{QStringLiteral("one"), fmt()}})});
    const RichDocument b = doc({para({ts::Run{QStringLiteral("two"), red}})});
    RtfWriter w;
    w.addToTables(a);
    w.addToTables(b);
    EXPECT_EQ(w.openingLines(), lines({"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                                       "{\\f1\\fnil\\fcharset0 Courier New;}}",
                                       "{\\colortbl ;\\red255\\green0\\blue0;}"}));
    QByteArray line;
    w.appendParagraphLine(line, b.Paragraphs[0], false);
    EXPECT_EQ(line, QByteArray("\\par \\pard\\plain\\f1\\fs16\\cf1 two"));
    line.clear();
    w.appendParagraphLine(line, a.Paragraphs[0], true);
    EXPECT_EQ(line, QByteArray("\\pard\\plain\\f0\\fs16 one"));
    EXPECT_EQ(RtfWriter::closingLine(), QByteArray("}\r\n"));
}

// Random documents over the characters and formats that need care: whatever
// the reader makes of the writer's output writes the same bytes again.
TEST(RtfWriter, RandomDocumentsRoundTrip)
{
    std::mt19937 rng(20240611);
    const QString faces[] = {QStringLiteral("Arial"), QStringLiteral("Wingdings"), QStringLiteral("Sym;bol"),
                             QStringLiteral(" Courier New "), QString(), QStringLiteral("Caf\u00e9 \u0416")};
    const char16_t chars[] = {u'a', u' ', u'\\', u'{', u'}', u'\t', u'\u2028', u'\u00e9', u'\u20ac', u'\u0416',
                              u'\uF041', u'\uF0B7', u'-', u'>', u'?', u'0', u'\u0001', char16_t(0xD83D), char16_t(0xDE00), u'\u0081'};
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    for (int round = 0; round < 300; ++round) {
        RichDocument d;
        d.Paragraphs.clear();
        const int paragraphs = 1 + pick(4);
        for (int p = 0; p < paragraphs; ++p) {
            Paragraph par;
            par.Runs.clear();
            par.Align = Alignment(pick(4));
            par.LeftIndent = pick(3) == 0 ? pick(2000) - 1000 : 0;
            par.FirstIndent = pick(3) == 0 ? pick(2000) - 1000 : 0;
            const int runs = pick(4);
            for (int r = 0; r < runs; ++r) {
                ts::Run run;
                run.Format.Face = faces[pick(6)];
                run.Format.Size = 8 + pick(3) * 8;
                if (pick(2))
                    run.Format.Colour = std::uint32_t(pick(3)) * 0x7F7F7Fu;
                run.Format.Bold = pick(2);
                run.Format.Strike = pick(2);
                run.Format.Hidden = pick(4) == 0;
                const int len = pick(6);
                for (int c = 0; c < len; ++c)
                    run.Text.append(QChar(chars[pick(20)]));
                par.Runs.push_back(run);
            }
            d.Paragraphs.push_back(par);
        }
        const QByteArray once = RtfWriter::write(d);
        const QByteArray twice = RtfWriter::write(RtfReader::read(once));
        ASSERT_EQ(twice, once) << "round " << round;
    }
}
