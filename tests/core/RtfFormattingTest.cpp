// What word processors put into RTF beyond runs of text: paragraph and line
// spacing, tab stops, WinHelp-style hotspots, list labels, footnote marks
// and the character formats help files show in part. Each is read from RTF
// as the program it comes from writes it, written, and read back the same.

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <gtest/gtest.h>

#include <map>

using namespace ts;

namespace {

// Read -> write -> read gives the same paragraphs, and writing again gives
// the same bytes.
void expectRoundTrip(const RichDocument& d)
{
    const QByteArray once = RtfWriter::write(d);
    const RichDocument again = RtfReader::read(once);
    EXPECT_EQ(again, d) << once.toStdString();
    EXPECT_EQ(RtfWriter::write(again), once);
}

RichDocument read(const char* rtf) { return RtfReader::read(QByteArray(rtf)); }

QString text(const RichDocument& d) { return d.paragraphTexts().join(QLatin1Char('|')); }

} // namespace

TEST(RtfFormatting, ParagraphAndLineSpacingSurvive)
{
    // LibreOffice's body text, pandoc's paragraphs, Word's exact and at-least spacing.
    const RichDocument lo = read("{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}}"
                                 "\\pard\\plain \\s0\\sb0\\sa140\\sl276\\slmult1 One\\par"
                                 "\\pard\\plain \\sb240\\sa0 Two\\par}");
    ASSERT_EQ(lo.Paragraphs.size(), 2u);
    EXPECT_EQ(lo.Paragraphs[0].SpaceAfter, 140);
    EXPECT_EQ(lo.Paragraphs[0].LineSpacing, 276);
    EXPECT_TRUE(lo.Paragraphs[0].LineSpacingMultiple);
    EXPECT_EQ(lo.Paragraphs[1].SpaceBefore, 240);
    EXPECT_EQ(lo.Paragraphs[1].LineSpacing, 0);
    expectRoundTrip(lo);

    const RichDocument pandoc = read("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 \\fswiss Helvetica;}}\n"
                                     "{\\pard \\ql \\f0 \\sa180 \\li0 \\fi0 A paragraph.\\par}\n"
                                     "{\\pard \\ql \\f0 \\sa180 \\li720 \\fi-360 \\bullet \\tx360\\tab Item\\par}\n}");
    ASSERT_EQ(pandoc.Paragraphs.size(), 2u);
    EXPECT_EQ(pandoc.Paragraphs[0].SpaceAfter, 180);
    EXPECT_EQ(pandoc.Paragraphs[1].FirstIndent, -360);
    expectRoundTrip(pandoc);

    const RichDocument word = read("{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}"
                                   "\\pard\\sl-360\\slmult0 Exactly\\par\\pard\\sl300 At least\\par}");
    EXPECT_EQ(word.Paragraphs[0].LineSpacing, -360);
    EXPECT_FALSE(word.Paragraphs[0].LineSpacingMultiple);
    EXPECT_EQ(word.Paragraphs[1].LineSpacing, 300);
    expectRoundTrip(word);

    // The words stand in the line's paragraph words, and a paragraph
    // without spacing writes what it always did.
    Paragraph p;
    p.Runs.front().Text = QStringLiteral("x");
    RichDocument plain;
    plain.Paragraphs = {p};
    EXPECT_EQ(RtfWriter::write(plain),
              QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
                         "{\\colortbl ;}\r\n\\pard\\plain\\f0\\fs16 x\r\n}\r\n"));
    p.SpaceBefore = 120;
    p.SpaceAfter = 60;
    p.LineSpacing = 360;
    p.LineSpacingMultiple = true;
    plain.Paragraphs = {p};
    EXPECT_TRUE(RtfWriter::write(plain).contains("\r\n\\pard\\sb120\\sa60\\sl360\\slmult1\\plain\\f0\\fs16 x\r\n"));
}

TEST(RtfFormatting, TabStopsSurviveWithTheirKindAndLeader)
{
    const RichDocument d = read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
                                "\\pard\\tx720\\tqc\\tx4320\\tqr\\tldot\\tx8640\\tqdec\\tx6000 a\\tab b\\tab c\\par"
                                "\\tx1000 same paragraph properties\\par\\pard none\\par}");
    ASSERT_EQ(d.Paragraphs.size(), 3u);
    using K = TabStop::Kind;
    using L = TabStop::Leader;
    const std::vector<TabStop> expected{{720, K::Left, L::None}, {4320, K::Center, L::None},
                                        {6000, K::Decimal, L::None}, {8640, K::Right, L::Dots}};
    EXPECT_EQ(d.Paragraphs[0].Tabs, expected);
    EXPECT_EQ(d.Paragraphs[1].Tabs.size(), 5u); // \tx adds to the stops in force
    EXPECT_TRUE(d.Paragraphs[2].Tabs.empty());  // \pard clears them
    expectRoundTrip(d);
    EXPECT_TRUE(RtfWriter::write(d).contains("\\pard\\tx720\\tqc\\tx4320\\tqdec\\tx6000\\tqr\\tldot\\tx8640\\plain"));
}

TEST(RtfFormatting, WinHelpHotspotsBecomeLinkMarkup)
{
    const RichDocument d = read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
                                "See {\\uldb the overview}{\\v OVERVIEW}, "
                                "{\\strike a window}{\\v MORE>second}, "
                                "{\\ul a term}{\\v %GLOSS}, "
                                "{\\uldb another file}{\\v INTRO@other.hlp}, "
                                "{\\uldb run it}{\\v !ExecFile(\"notepad.exe\")} and "
                                "{\\ul not a link}{\\v two words}.\\par}");
    ASSERT_EQ(d.Paragraphs.size(), 1u);
    std::vector<std::pair<QString, int>> links; // text, 1 jump / 2 pop-up
    QString hidden;
    for (const ts::Run& r : d.Paragraphs[0].Runs) {
        EXPECT_FALSE(r.Format.DoubleUnderline) << r.Text.toStdString();
        if (r.Format.Hidden)
            hidden += r.Text;
        else if (r.Format.Strike || r.Format.Underline)
            links.emplace_back(r.Text, r.Format.Strike ? 1 : 2);
    }
    EXPECT_EQ(links, (std::vector<std::pair<QString, int>>{
                         {QStringLiteral("the overview-->OVERVIEW"), 1},
                         {QStringLiteral("a window-->MORE>second"), 1},
                         {QStringLiteral("a term-->GLOSS"), 2},
                         {QStringLiteral("another file-->INTRO@other.hlp"), 1},
                         {QStringLiteral("run it-->!ExecFile(\"notepad.exe\")"), 1},
                         {QStringLiteral("not a link"), 2}}));
    EXPECT_EQ(hidden, QStringLiteral("two words")); // not a target: stays hidden text
    expectRoundTrip(d);

    // A document that holds such a hotspot writes it as the reader reads it.
    RichDocument held;
    CharFormat jump;
    jump.Strike = true;
    CharFormat target;
    target.Hidden = true;
    held.Paragraphs.front().Runs = {ts::Run{QStringLiteral("go"), jump}, ts::Run{QStringLiteral("THERE"), target}};
    const QByteArray written = RtfWriter::write(held);
    EXPECT_TRUE(written.contains("\\strike go-->THERE\r\n")) << written.toStdString();
    EXPECT_EQ(RtfWriter::write(RtfReader::read(written)), written);

    // Hidden text in a symbol font reads as its bytes would in any font: a
    // non-breaking space (held as itself, or as the byte read back) is no
    // Topic ID character, before and after writing.
    target.Face = QStringLiteral("Symbol");
    for (const QString& text : {QStringLiteral("A\u00A0B"), QStringLiteral("A\uF0A0B")}) {
        held.Paragraphs.front().Runs = {ts::Run{QStringLiteral("go"), jump}, ts::Run{text, target}};
        const QByteArray once = RtfWriter::write(held);
        EXPECT_FALSE(once.contains("-->")) << once.toStdString();
        EXPECT_EQ(RtfWriter::write(RtfReader::read(once)), once);
    }
}

TEST(RtfFormatting, ListLabelsAndFootnoteMarksAreText)
{
    // Word: the label in \listtext, a Symbol bullet in the Symbol font.
    const RichDocument word = read(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f1\\fcharset2 Symbol;}}"
        "{\\listtext\\pard\\plain\\f1 \\'b7\\tab}\\pard\\fi-360\\li720\\ls1 First\\par"
        "{\\listtext\\pard\\plain\\f0 2.\\tab}\\pard\\fi-360\\li720\\ls2 Second\\par}");
    ASSERT_EQ(word.Paragraphs.size(), 2u);
    EXPECT_EQ(word.Paragraphs[0].Runs.front().Format.Face, QStringLiteral("Symbol"));
    EXPECT_EQ(word.Paragraphs[0].text(), QStringLiteral("\uF0B7\tFirst"));
    EXPECT_EQ(word.Paragraphs[0].FirstIndent, -360);
    EXPECT_EQ(word.Paragraphs[0].LeftIndent, 720);
    EXPECT_EQ(word.Paragraphs[1].text(), QStringLiteral("2.\tSecond"));

    // WordPad and old Word: \pntext.
    const RichDocument wordpad = read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}"
                                      "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}"
                                      "\\fi-720\\li720 Point\\par}");
    EXPECT_EQ(wordpad.Paragraphs[0].text(), QStringLiteral("\uF0B7\tPoint"));

    // A list defined in the list table: the labels come from its levels
    // (LibreOffice's reading), numbered through the document, also without
    // any \listtext; a nested level restarts under each item; a bullet level
    // in the Symbol font keeps its code; a cell of a list is an item.
    const char* table =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
        "{\\*\\listtable{\\list\\listtemplateid9"
        "{\\listlevel\\levelnfc0\\levelstartat1\\levelfollow0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-360\\li720}"
        "{\\listlevel\\levelnfc4\\levelstartat1\\levelfollow1{\\leveltext\\'04\\'00.\\'01);}{\\levelnumbers\\'01\\'03;}}"
        "\\listid5}"
        "{\\list{\\listlevel\\levelnfc23\\levelfollow0{\\leveltext\\'01\\'b7;}\\f1\\fi-360\\li360}\\listid6}}"
        "{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}{\\listoverride\\listid6\\ls2}}";
    const RichDocument listed = RtfReader::read(QByteArray(table) + QByteArray(
        "{\\listtext 9.\\tab}\\pard\\ls1 One\\par"
        "\\pard\\ls1\\ilvl1 Sub\\par\\pard\\ls1\\ilvl1 Sub\\par"
        "\\pard\\ls1 Two\\par\\pard\\ls1\\ilvl1 Sub again\\par"
        "\\pard\\ls2 Dot\\par\\pard\\intbl\\ls1 Cell\\cell Cell\\cell\\row}"));
    EXPECT_EQ(text(listed), QStringLiteral("1.\tOne|1.a) Sub|1.b) Sub|2.\tTwo|2.a) Sub again|\uF0B7\tDot|"
                                           "3.\tCell\t4.\tCell\t"));
    EXPECT_EQ(listed.Paragraphs[0].FirstIndent, -360); // the level's indents, as the paragraph sets none
    EXPECT_EQ(listed.Paragraphs[0].LeftIndent, 720);
    EXPECT_EQ(listed.Paragraphs[5].Runs.front().Format.Face, QStringLiteral("Symbol"));
    expectRoundTrip(listed);

    // TextEdit names its bullet's shape and writes a numbered-looking template.
    const RichDocument textEdit = read("{\\rtf1\\ansi{\\fonttbl\\f0 Helvetica;}"
                                       "{\\*\\listtable{\\list\\listtemplateid1\\listhybrid{\\listlevel\\levelnfc23"
                                       "\\levelfollow0{\\*\\levelmarker \\{disc\\}}{\\leveltext\\'02\\'05.;}}\\listid1}}"
                                       "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                                       "\\pard\\ls1{\\listtext\\t\\'a5\\t}Item\\par}");
    EXPECT_EQ(text(textEdit), QStringLiteral("\u2022\tItem"));

    // Footnote marks show their numbers; the footnotes' own text is not body text.
    const RichDocument notes = read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
                                    "One{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} First note.} and "
                                    "two{\\super\\chftn}{\\footnote{\\super\\chftn} Second note.}.\\par}");
    EXPECT_EQ(text(notes), QStringLiteral("One1 and two2."));
    // Endnotes count apart, in their own form (Word: i, ii, ...).
    const RichDocument endnotes = read("{\\rtf1\\ansi\\aftnnrlc{\\fonttbl{\\f0 Arial;}}"
                                       "A{\\super\\chftn}{\\footnote\\ftnalt{\\super\\chftn} End.} "
                                       "B{\\super\\chftn}{\\footnote{\\super\\chftn} Foot.} "
                                       "C{\\super\\chftn}{\\footnote\\ftnalt{\\super\\chftn} End.}\\par}");
    EXPECT_EQ(text(endnotes), QStringLiteral("Ai B1 Cii"));
    // A SYMBOL field without a result shows its character in its font.
    const RichDocument symbolField = read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
                                          "({\\field{\\*\\fldinst SYMBOL 74 \\\\f \"Wingdings\" \\\\s 12}{\\fldrslt }})\\par}");
    ASSERT_EQ(symbolField.Paragraphs[0].Runs.size(), 3u);
    EXPECT_EQ(symbolField.Paragraphs[0].Runs[1].Text, QStringLiteral("\uF04A"));
    EXPECT_EQ(symbolField.Paragraphs[0].Runs[1].Format.Face, QStringLiteral("Wingdings"));
    EXPECT_EQ(notes.Paragraphs[0].Runs[1].Format.Vertical, VerticalPosition::Superscript);
    expectRoundTrip(notes);
}

TEST(RtfFormatting, CharacterFormatsHelpFilesShowInPart)
{
    const RichDocument d = read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green255\\blue0;}"
                                "{\\uldb double} {\\scaps caps} x{\\super 2} H{\\sub low}O {\\up6 up}{\\highlight1 marked}"
                                " {\\ul\\uldb both}\\par}");
    std::map<QString, CharFormat> formats;
    for (const ts::Run& r : d.Paragraphs[0].Runs)
        formats[r.Text] = r.Format;
    EXPECT_TRUE(formats[QStringLiteral("double")].DoubleUnderline);
    EXPECT_FALSE(formats[QStringLiteral("double")].Underline);
    EXPECT_TRUE(formats[QStringLiteral("caps")].SmallCaps);
    EXPECT_EQ(formats[QStringLiteral("2")].Vertical, VerticalPosition::Superscript);
    EXPECT_EQ(formats[QStringLiteral("low")].Vertical, VerticalPosition::Subscript);
    EXPECT_EQ(formats[QStringLiteral("up")].Vertical, VerticalPosition::Superscript);
    EXPECT_EQ(formats[QStringLiteral("marked")].Highlight, std::optional<std::uint32_t>(0xFFFF00));
    EXPECT_TRUE(formats[QStringLiteral("both")].Underline && formats[QStringLiteral("both")].DoubleUnderline);
    expectRoundTrip(d);
}

// Hostile or broken list tables and tab stops: the reader stays within its
// bounds and reads the text.
TEST(RtfFormatting, BrokenListsAndEndlessTabStopsStayBounded)
{
    QByteArray tabs = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}";
    for (int p = 0; p < 200; ++p) {
        tabs += "\\pard";
        for (int t = 0; t < 100; ++t)
            tabs += "\\tx" + QByteArray::number(p * 100 + t + 1);
        tabs += " x\\par";
    }
    const RichDocument d = RtfReader::read(tabs + "}");
    ASSERT_EQ(d.Paragraphs.size(), 200u);
    for (const Paragraph& p : d.Paragraphs)
        EXPECT_LE(p.Tabs.size(), 64u); // more than a line could use are not kept
    EXPECT_EQ(d.Paragraphs[0].Tabs.front().Position, 1);
    // At the limit and one past it: 64 stops are kept, the 65th is not.
    for (int count : {64, 65}) {
        QByteArray one = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard";
        for (int t = 1; t <= count; ++t)
            one += "\\tx" + QByteArray::number(t * 100);
        const RichDocument kept = RtfReader::read(one + " x\\par}");
        ASSERT_EQ(kept.Paragraphs[0].Tabs.size(), 64u) << count;
        EXPECT_EQ(kept.Paragraphs[0].Tabs.back().Position, 6400) << count;
    }

    // A list keeps 16 levels (\ilvl goes no deeper; a 17th definition is
    // not read into the 16th). A label template keeps 64 characters with
    // its length, and a length of 32 or more counts as a length.
    QByteArray limits = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list";
    for (char level = 'A'; level <= 'Q'; ++level)
        limits += QByteArray("{\\listlevel{\\leveltext\\'01") + level + ";}}";
    limits += "\\listid1}{\\list{\\listlevel{\\leveltext\\'3f" + QByteArray(63, 'x') + ";}}\\listid2}"
              "{\\list{\\listlevel{\\leveltext\\'40" + QByteArray(64, 'y') + ";}}\\listid3}"
              "{\\list{\\listlevel{\\leveltext\\'21" + QByteArray(40, 'z') + ";}}\\listid4}}"
              "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}"
              "{\\listoverride\\listid3\\ls3}{\\listoverride\\listid4\\ls4}}"
              "\\pard\\ls1\\ilvl15 p\\par\\pard\\ls1\\ilvl16 q\\par"
              "\\pard\\ls2 r\\par\\pard\\ls3 s\\par\\pard\\ls4 t\\par}";
    EXPECT_EQ(text(RtfReader::read(limits)),
              QStringLiteral("P\tp|P\tq|") + QString(63, QLatin1Char('x')) + QStringLiteral("\tr|") +
                  QString(63, QLatin1Char('y')) + QStringLiteral("\ts|") + QString(33, QLatin1Char('z')) +
                  QStringLiteral("\tt"));

    // A template longer than its text, a level number with no level, a list
    // with no levels, \ls with no table, a level beyond the list's.
    const RichDocument lists = read(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\listtable"
        "{\\list{\\listlevel\\levelnfc0{\\leveltext\\'09\\'00-\\'07;}}\\listid1}{\\list\\listid2}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}"
        "\\pard\\ls1 a\\par\\pard\\ls2 b\\par\\pard\\ls9 c\\par\\pard\\ls1\\ilvl5 d\\par}");
    EXPECT_EQ(text(lists), QStringLiteral("1-\ta|b|c|d"));
}
