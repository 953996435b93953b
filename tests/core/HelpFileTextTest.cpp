// The built-in help compiler with long and unusual text: characters
// Windows-1252 lacks, link markup in a symbol font, paragraphs too long for
// a block or a record, text that compresses very well. Read back with the
// tests' own reader.

#include "HelpFileChecks.h"

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

using namespace ts;
using namespace ts::testing;

namespace {

QString noise(int length)
{
    QString out;
    quint32 seed = 7;
    for (int i = 0; i < length; ++i) {
        seed = seed * 1103515245u + 12345u;
        out += QChar(u'a' + int(seed >> 16) % 26);
    }
    return out;
}

} // namespace

// Hyphens and spaces Windows-1252 lacks (word processors paste them) show
// as their plain forms, not as "?".
TEST_F(HelpFile, TypographicHyphensAndSpacesShowPlain)
{
    project.addTopic(topic("T", "T", "", QByteArray(), rtf({para({run(QStringLiteral("a\u2011b\u2003c\u2002d"))})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(h.topics.size(), 1);
    EXPECT_EQ(h.topics[0].body[0].plainText(), QByteArray("a-b c d"));
    // The topic file writes the non-breaking hyphen as RTF's own, which reads back as it was.
    EXPECT_TRUE(RtfWriter::write(RtfReader::read(project.topic(0).BodyRtf)).contains("a\\_b"));
}

// Link markup in a symbol font, as the reader gives it (U+F000 + byte): the
// same jump as in any other font.
TEST_F(HelpFile, SymbolFontLinksAreJumps)
{
    const CharFormat wingdings = with(fmt("Wingdings", 16), &CharFormat::Strike);
    project.addTopic(topic("A", "A", "", QByteArray(),
                           rtf({para({run(QStringLiteral("\uF0B7\uF02D\uF02D\uF03E\uF042"), wingdings)})})));
    project.addTopic(topic("B", "B", "", QByteArray(), rtf({para({run("b")})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(h.topics.size(), 2);
    ASSERT_EQ(h.topics[0].body.size(), 1);
    ASSERT_EQ(h.topics[0].body[0].hotspots.size(), 1);
    EXPECT_EQ(h.topics[0].body[0].hotspots[0].hash, hr::contextHash("B"));
    EXPECT_EQ(h.topics[0].body[0].plainText(), QByteArray("\xb7"));
}

// Paragraphs too long for one block of compressed text: stored as they are,
// or, past the longest paragraph a record can count, cut into paragraphs
// that together hold the text and nothing else; each cut is logged.
TEST_F(HelpFile, LongParagraphsReadBack)
{
    project.addTopic(topic("BIG", "Big", "", QByteArray(), rtf({para({run(noise(20000))}), para({run("after")})})));
    project.addTopic(topic("NEXT", "Next", "", QByteArray(), rtf({para({run("next topic")})})));
    HelpCompileReport report;
    hr::HelpFile h = compile(report);
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
    EXPECT_GT(h.topicBlocks, 1);
    // Too long for a compressed block: stored uncompressed, and the log says so.
    EXPECT_FALSE(report.topicsCompressed);
    EXPECT_TRUE(report.logLines.join(QLatin1Char('\n')).contains(QLatin1String("stored uncompressed")));

    for (int length : {30000, 30001, 45000, 70000}) {
        project.topic(0).BodyRtf = rtf({para({run(noise(length))}, Alignment::Left, 0, 360), para({run("after")})});
        h = compile(report);
        ASSERT_EQ(h.topics.size(), 2);
        QByteArray all;
        const QList<hr::Paragraph>& body = h.topics[0].body;
        for (const hr::Paragraph& p : body) {
            EXPECT_FALSE(p.plainText().isEmpty()) << "an empty paragraph was added to " << length << " characters";
            all += p.plainText();
        }
        EXPECT_EQ(all, noise(length).toLatin1() + "after");
        const qsizetype pieces = (length + 29999) / 30000;
        EXPECT_EQ(body.size(), pieces + 1) << length;
        // Only the paragraph's first line is indented.
        for (qsizetype k = 0; k < pieces; ++k)
            EXPECT_EQ(body[k].firstIndent, k == 0 ? 36 : 0) << length;
        const QString log = report.logLines.join(QLatin1Char('\n'));
        // One line for the cut, one for the file stored uncompressed.
        EXPECT_EQ(report.warnings, pieces > 1 ? 2 : 1) << log.toStdString();
        if (pieces > 1) {
            EXPECT_TRUE(log.startsWith(QStringLiteral("Topic BIG: a paragraph beginning \"%1\"").arg(noise(40))))
                << log.toStdString();
        }
    }

    // Words and a hotspot cut in a long paragraph: the cut falls after a
    // blank, and each part of the hotspot still jumps.
    QString words;
    while (words.size() < 40000)
        words += QStringLiteral("word%1 ").arg(words.size() % 97);
    project.topic(0).BodyRtf = rtf({para({run(words, with(fmt(), &CharFormat::Strike)), run("-->NEXT")})});
    h = compile(report);
    ASSERT_EQ(h.topics.size(), 2);
    const QList<hr::Paragraph>& body = h.topics[0].body;
    ASSERT_EQ(body.size(), 2);
    EXPECT_TRUE(body[0].plainText().endsWith(' '));
    EXPECT_EQ(body[0].plainText() + body[1].plainText(), words.toLatin1());
    for (const hr::Paragraph& p : body) {
        ASSERT_EQ(p.hotspots.size(), 1);
        EXPECT_EQ(p.hotspots[0].hash, hr::contextHash("NEXT"));
        EXPECT_EQ(p.hotspots[0].text, p.plainText());
    }
    EXPECT_EQ(report.jumps, 1);
}

// Text that compresses very well leaves much of a block as padding, which
// decompresses too: the block must still fit a reader's 16 KB block buffer
// (the reader checks), and the file stays compressed.
TEST_F(HelpFile, RepetitiveTextStaysWithinTheBlockBuffer)
{
    for (const char* id : {"A", "B", "C", "D"})
        project.addTopic(topic(id, id, "", QByteArray(), rtf({para({run(QString(13000, QLatin1Char('x')))})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
    EXPECT_TRUE(h.compressed);
}
