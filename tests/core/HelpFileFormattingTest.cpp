// What the compiler makes of formatting beyond runs of text: paragraph and
// line spacing and tab stops in the paragraph records, what the format
// cannot show said once per topic in the log, pictures in project
// subfolders and RLE-compressed, and the keyword index in Windows' order.
// Read back with the tests' own reader of help files.

#include "HelpFileReader.h"
#include "TopicSamples.h"

#include "helpfile/HelpCompiler.h"
#include "helpfile/ParagraphInfo.h"
#include "model/Project.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;
using namespace ts::testing;
namespace hr = ts::hlpread;

namespace {

class HelpFileFormatting : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Project project;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project.ProjectPath = dir.filePath(QStringLiteral("Formats.tsp"));
    }

    void put(const QString& name, const QByteArray& bytes)
    {
        QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    hr::HelpFile compile(HelpCompileReport& report)
    {
        try {
            return hr::readHelpFile(compileHelpFileBytes(project, report));
        } catch (const hr::HelpFileError& e) {
            ADD_FAILURE() << "the compiled file does not read back: " << e.what();
            return {};
        }
    }
};

Paragraph text(const QString& s, const CharFormat& f = CharFormat())
{
    Paragraph p;
    p.Runs = {ts::Run{s, f}};
    return p;
}

QByteArray le(quint32 v, int n)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += char(v >> (8 * i));
    return b;
}

// A BMP file with a grey palette and the given pixel data and compression.
QByteArray bmp(int width, int height, int bits, int compression, const QByteArray& data)
{
    QByteArray palette;
    for (int i = 0; i < (1 << bits); ++i)
        palette += QByteArray(3, char(i * 16)) + '\0';
    const quint32 offset = 14 + 40 + quint32(palette.size());
    return "BM" + le(offset + quint32(data.size()), 4) + le(0, 4) + le(offset, 4) + le(40, 4) + le(quint32(width), 4) +
           le(quint32(height), 4) + le(1, 2) + le(quint32(bits), 2) + le(quint32(compression), 4) +
           le(quint32(data.size()), 4) + le(2835, 4) + le(2835, 4) + le(0, 4) + le(0, 4) + palette + data;
}

} // namespace

TEST_F(HelpFileFormatting, SpacingAndTabStopsAreInTheParagraphRecords)
{
    Paragraph spaced = text(QStringLiteral("spaced"));
    spaced.SpaceBefore = 120;
    spaced.SpaceAfter = 240;
    spaced.LineSpacing = -360;
    Paragraph multiple = text(QStringLiteral("1.15 lines of 10 pt"));
    multiple.Runs.front().Format.Size = 20;
    multiple.LineSpacing = 276;
    multiple.LineSpacingMultiple = true;
    Paragraph tabbed = text(QStringLiteral("a\tb\tc\td"));
    using K = TabStop::Kind;
    tabbed.Tabs = {{720, K::Left, TabStop::Leader::None}, {4320, K::Center, TabStop::Leader::None},
                   {6000, K::Decimal, TabStop::Leader::None}, {8640, K::Right, TabStop::Leader::Dots}};
    project.addTopic(topic("FORMATS", "Formats", "", QByteArray(), rtf({spaced, multiple, tabbed, text(QStringLiteral("plain"))})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    ASSERT_EQ(h.topics.size(), 1);
    const QList<hr::Paragraph>& body = h.topics[0].body;
    ASSERT_EQ(body.size(), 4);
    EXPECT_EQ(body[0].spaceBefore, 12);
    EXPECT_EQ(body[0].spaceAfter, 24);
    EXPECT_EQ(body[0].lineSpacing, -36);
    EXPECT_EQ(body[0].bits & 0x000E, 0x000E);
    EXPECT_EQ(body[1].lineSpacing, 28); // 1.15 x 1.2 x 10 pt = 276 twips, at least
    EXPECT_EQ(body[2].tabs, (QList<std::pair<int, int>>{{72, 0}, {432, 2}, {600, 0}, {864, 1}}));
    EXPECT_EQ(body[3].bits, 0); // nothing set, nothing stored
    EXPECT_EQ(body[3].plainText(), QByteArray("plain"));

    // A record stores 64 stops at most: at the limit, one past it, far past.
    // (Stored topics never bring more; the RTF reader keeps 64 too.)
    for (int count : {64, 65, 200}) {
        Paragraph many = text(QStringLiteral("a\tb"));
        for (int t = 1; t <= count; ++t)
            many.Tabs.push_back({2000 + t * 100, K::Left, TabStop::Leader::None}); // each in two bytes
        const QByteArray info = helpfile::paragraphInfo(many, true, true);
        ASSERT_GE(info.size(), 4) << count;
        EXPECT_EQ(quint8(info[0]) | quint8(info[1]) << 8, 0x0200) << count; // tab stops only
        // The count as a compressed signed word (64 no longer fits a byte),
        // then each left stop as a compressed unsigned word.
        const int stored = ((quint8(info[2]) | quint8(info[3]) << 8) - 1) / 2 - 16384;
        EXPECT_EQ(stored, 64) << count;
        ASSERT_EQ(info.size(), 4 + 64 * 2) << count;
        EXPECT_EQ(((quint8(info[info.size() - 2]) | quint8(info[info.size() - 1]) << 8) - 1) / 2, 840) << count;
    }
}

// One log line per topic and kind of formatting the help file cannot show,
// however often it is met; what the fonts can hold (double underline, small
// capitals) goes into the font instead.
TEST_F(HelpFileFormatting, WhatWinHelpCannotShowIsSaidOncePerTopic)
{
    CharFormat raised, lowered, marked, doubled, caps;
    raised.Vertical = VerticalPosition::Superscript;
    lowered.Vertical = VerticalPosition::Subscript;
    marked.Highlight = 0xFFFF00;
    doubled.DoubleUnderline = true;
    caps.SmallCaps = true;
    Paragraph justified = text(QStringLiteral("justified"));
    justified.Align = Alignment::Justify;
    Paragraph mixed;
    mixed.Runs = {ts::Run{QStringLiteral("x"), CharFormat()}, ts::Run{QStringLiteral("2"), raised}, ts::Run{QStringLiteral("y"), raised},
                  ts::Run{QStringLiteral("2"), lowered}, ts::Run{QStringLiteral("m"), marked},
                  ts::Run{QStringLiteral("d"), doubled}, ts::Run{QStringLiteral("c"), caps}};
    Paragraph leaders = text(QStringLiteral("a\tb"));
    leaders.Tabs = {{4000, TabStop::Kind::Decimal, TabStop::Leader::Dots}};
    project.addTopic(topic("FORMATS", "Formats", "", QByteArray(), rtf({justified, mixed, justified, leaders})));
    project.addTopic(topic("PLAIN", "Plain", "", QByteArray(), rtf({text(QStringLiteral("nothing to say"))})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    QStringList notices = report.logLines.filter(QStringLiteral("Topic "));
    EXPECT_EQ(notices, (QStringList{QStringLiteral("Topic FORMATS: justified text is shown left-aligned"),
                                    QStringLiteral("Topic FORMATS: superscript text is shown on the line, like the text around it"),
                                    QStringLiteral("Topic FORMATS: subscript text is shown on the line, like the text around it"),
                                    QStringLiteral("Topic FORMATS: highlighted text is shown without its highlight colour"),
                                    QStringLiteral("Topic FORMATS: decimal tab stops are shown as left tab stops"),
                                    QStringLiteral("Topic FORMATS: tab leaders (dots or lines before a tab stop) are not shown")}));
    ASSERT_EQ(h.topics.size(), 2);
    EXPECT_EQ(h.topics[0].body[0].align(), hr::Paragraph::Left);
    QList<int> attributes;
    for (const hr::Piece& piece : h.topics[0].body[1].pieces)
        if (piece.kind == hr::Piece::Text && (piece.text == "d" || piece.text == "c"))
            attributes << h.font(piece.font).attributes;
    EXPECT_EQ(attributes, (QList<int>{0x10, 0x20}));
}

TEST_F(HelpFileFormatting, PicturesInProjectSubfoldersAndRleCompressed)
{
    // 6 x 3 at 8 bits: a run and three literal pixels; a run; a run, a jump
    // of two pixels, a run, then the end.
    const QByteArray rle8 = QByteArray::fromHex("0305" "0003010203" "00" "0000" "0609" "0000" "0207" "00020200" "0208" "0001");
    const QByteArray plain8 = QByteArray::fromHex("050505010203" "0000" "090909090909" "0000" "070700000808" "0000");
    // 5 x 2 at 4 bits: a run of two alternating colours; five literal pixels.
    const QByteArray rle4 = QByteArray::fromHex("0512" "0000" "0005345670" "00" "0001");
    const QByteArray plain4 = QByteArray::fromHex("12121000" "34567000");
    put(QStringLiteral("pics/rle8.bmp"), bmp(6, 3, 8, 1, rle8));
    put(QStringLiteral("Pics/Sub/rle4.bmp"), bmp(5, 2, 4, 2, rle4));
    project.addTopic(topic("P", "P", "", QByteArray(),
                           rtf({text(QStringLiteral("{bmc pics\\rle8.bmp} {bmc PICS/SUB/RLE4.BMP} {bmc pics/rle8.bmp}"))})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(h.bitmaps.size(), 2); // the same file named twice is one picture
    EXPECT_EQ(h.bitmaps[0].bitCount, 8);
    EXPECT_EQ(h.bitmaps[0].pixels, plain8);
    EXPECT_EQ(h.bitmaps[1].bitCount, 4);
    EXPECT_EQ(h.bitmaps[1].pixels, plain4);
    EXPECT_EQ(h.bitmaps[0].packing, 0);

    // Damaged codes: a run past the row's end, a jump past the picture, a
    // literal stretch cut short. What lies inside the picture is kept, the
    // rest stays colour 0, and nothing is written outside it.
    const QByteArray damaged = QByteArray::fromHex("0a05" "0000" "0002ff7f" "0306" "0006010203");
    put(QStringLiteral("damaged.bmp"), bmp(4, 2, 8, 1, damaged));
    project.topic(0).BodyRtf = rtf({text(QStringLiteral("{bmc damaged.bmp}"))});
    const hr::HelpFile again = compile(report);
    ASSERT_EQ(again.bitmaps.size(), 1);
    EXPECT_EQ(again.bitmaps[0].pixels, QByteArray::fromHex("05050505" "00000000"));
}

TEST_F(HelpFileFormatting, KeywordsSortAsWindowsComparesThem)
{
    project.addTopic(topic("A", "A", "Zebra;\xDC" "berblick;\x80uro;apple;Auto-Reply;Automation;Umlaut", QByteArray(),
                           rtf({text(QStringLiteral("a"))})));
    project.addTopic(topic("B", "B", "\xFC" "berblick;APPLE;2nd", QByteArray(), rtf({text(QStringLiteral("b"))})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    QList<QByteArray> order;
    for (const auto& [keyword, topics] : h.kKeywords)
        order << keyword;
    EXPECT_EQ(order, (QList<QByteArray>{"\x80uro", "2nd", "apple", "Automation", "Auto-Reply", "\xDC" "berblick",
                                        "Umlaut", "Zebra"}));
    ASSERT_EQ(h.kKeywords.size(), 8);
    EXPECT_EQ(h.kKeywords[5].second.size(), 2); // "Überblick" and "überblick" are one keyword
}
