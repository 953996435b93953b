// The pieces of the built-in help compiler that are easy to get wrong: the
// context hash, LZ77 (checked with a small decoder), B+ trees of many pages,
// the exact topic records of a small help file, and what the compile log
// reports. Reading whole help files back is the help file reader's test.

#include "helpfile/BPlusTree.h"
#include "helpfile/ContextHash.h"
#include "helpfile/HelpCompiler.h"
#include "helpfile/Lz77.h"
#include "helpfile/TopicLayout.h"
#include "helpfile/TopicText.h"
#include "model/IoError.h"
#include "model/Project.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;
using namespace ts::helpfile;

namespace {

// The decoder that defines the format: a flag byte per eight items, bit set
// = (length-3, distance-1) word, clear = literal.
QByteArray lz77Decode(const QByteArray& in)
{
    QByteArray out;
    qsizetype i = 0;
    while (i < in.size()) {
        const auto flags = static_cast<unsigned char>(in[i++]);
        for (int bit = 0; bit < 8 && i < in.size(); ++bit) {
            if (!(flags & (1u << bit))) {
                out += in[i++];
                continue;
            }
            if (i + 1 >= in.size())
                return "<cut pair>";
            const unsigned w = unsigned(static_cast<unsigned char>(in[i])) | unsigned(static_cast<unsigned char>(in[i + 1])) << 8;
            i += 2;
            const qsizetype distance = (w & 0x0FFF) + 1;
            const int length = int(w >> 12) + 3;
            if (distance > out.size())
                return "<reference before start>";
            for (int k = 0; k < length; ++k)
                out += out[out.size() - distance];
        }
    }
    return out;
}

std::int32_t s32(const QByteArray& b, qsizetype at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return std::int32_t(v);
}
int s16(const QByteArray& b, qsizetype at) { return std::int16_t(std::uint16_t(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8)); }

QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text)); }

RichDocument paragraph(std::vector<Run> runs)
{
    RichDocument d;
    d.Paragraphs.front().Runs = std::move(runs);
    return d;
}

} // namespace

TEST(HelpCompiler, ContextHashMatchesKnownValues)
{
    EXPECT_EQ(contextHash("MORE"), 0x00241459);
    EXPECT_EQ(contextHash("INTRO"), 0x053D9A5C);
    EXPECT_EQ(contextHash("SECOND"), 0x370E6D04);
    EXPECT_EQ(contextHash("CONTENTS"), 0x25F4558A);
    EXPECT_EQ(contextHash("intro"), contextHash("INTRO"));
    EXPECT_EQ(contextHash(""), 1);
}

TEST(HelpCompiler, Lz77RoundTripsAndCompresses)
{
    QByteArray text;
    for (int i = 0; i < 400; ++i)
        text += "The quick brown fox " + QByteArray::number(i % 37) + " jumps; ";
    QByteArray noise(5000, '\0');
    QRandomGenerator random(7);
    for (char& c : noise)
        c = char(random.bounded(256));
    const QByteArray runs = QByteArray(3000, 'a') + QByteArray(20, 'b') + QByteArray(5000, '\0');
    for (const QByteArray& data : {text, noise, runs, QByteArray("ab"), QByteArray()}) {
        const QByteArray packed = lz77Compress(data);
        EXPECT_EQ(lz77Decode(packed), data);
    }
    EXPECT_LT(lz77Compress(text).size(), text.size() / 4);
    EXPECT_LE(lz77Compress(noise).size(), noise.size() * 9 / 8 + 1);

    // Growing a block piece by piece decodes to the same bytes.
    Lz77Block block;
    for (qsizetype at = 0; at < text.size(); at += 700)
        block.append(text.mid(at, 700));
    EXPECT_EQ(lz77Decode(block.compressed()), text);

    // Taking back an append, and going on from a checkpoint in a new block,
    // give what appending only the kept bytes gives.
    Lz77Block direct;
    direct.append(text.left(3000));
    direct.append(text.mid(3000, 2000));
    Lz77Block kept;
    kept.append(text.left(3000));
    const Lz77Block::Checkpoint mark = kept.checkpoint();
    kept.append(noise.left(2000));
    kept.rewind(mark);
    kept.append(text.mid(3000, 2000));
    EXPECT_EQ(kept.compressed(), direct.compressed());
    EXPECT_EQ(lz77Decode(kept.compressed()), text.left(5000));
    Lz77Block resumed;
    resumed.resume(text.left(3000), kept.compressed(), mark);
    resumed.append(text.mid(3000, 2000));
    EXPECT_EQ(resumed.compressed(), kept.compressed());
}

TEST(HelpCompiler, BTreeOfManyPagesKeepsEveryKeyFindable)
{
    // 3000 keyword-like entries over 1 KB pages: two index levels.
    std::vector<BTreeEntry> entries;
    for (int i = 0; i < 3000; ++i) {
        BTreeEntry e;
        e.Key = QByteArray("keyword ") + QByteArray::number(100000 + i) + '\0';
        e.Bytes = e.Key + QByteArray(6, char(i & 0x7F));
        entries.push_back(e);
    }
    const BTreeResult tree = buildBTree(entries, {1024, 0x0002, "F24"});
    const QByteArray& b = tree.Bytes;
    ASSERT_EQ(s16(b, 0), 0x293B);
    const int pages = s16(b, 30), levels = s16(b, 32), root = s16(b, 26);
    EXPECT_EQ(b.size(), 38 + pages * 1024);
    EXPECT_EQ(levels, 3);
    EXPECT_EQ(root, pages - 1);
    EXPECT_EQ(s32(b, 34), 3000);
    const auto page = [&b](int p) { return b.mid(38 + p * 1024, 1024); };

    // The leaves, followed through their links, hold every entry in order.
    int count = 0, previous = -1;
    for (int p = 0; p != -1; p = s16(page(p), 6)) {
        const QByteArray leaf = page(p);
        EXPECT_EQ(s16(leaf, 4), previous);
        EXPECT_EQ(tree.EntriesBeforeLeaf[size_t(p)], count);
        qsizetype at = 8;
        for (int e = 0; e < s16(leaf, 2); ++e, ++count) {
            ASSERT_EQ(leaf.mid(at, 21), entries[size_t(count)].Bytes) << "entry " << count;
            at += 21;
        }
        EXPECT_EQ(s16(leaf, 0), 1024 - at);
        previous = p;
    }
    EXPECT_EQ(count, 3000);

    // A search from the root reaches the leaf of each key.
    for (int i = 0; i < 3000; i += 97) {
        const QByteArray& key = entries[size_t(i)].Key;
        int p = root;
        for (int level = 1; level < levels; ++level) {
            const QByteArray index = page(p);
            int child = s16(index, 4);
            qsizetype at = 6;
            for (int k = 0; k < s16(index, 2); ++k) {
                const QByteArray stored = index.mid(at, 15);
                if (stored > key)
                    break;
                child = s16(index, at + 15);
                at += 17;
            }
            p = child;
        }
        EXPECT_TRUE(page(p).contains(key)) << "key " << i;
    }
}

TEST(HelpCompiler, TopicRecordsOfASmallHelpFileAreExact)
{
    // Two topics: INTRO "See more." with "more" a jump to MORE, and MORE
    // "Second topic."; one font, Arial 10 pt; uncompressed.
    Project project;
    TTopicRecord intro, more;
    intro.TopicID.setBytes("INTRO");
    more.TopicID.setBytes("MORE");
    project.addTopic(intro);
    project.addTopic(more);
    CharFormat plain;
    plain.Size = 20;
    CharFormat jump = plain;
    jump.Strike = true;
    HelpFonts fonts;
    HelpPictures pictures{QString()};
    const std::map<std::int32_t, int> byHash{{contextHash("INTRO"), 0}, {contextHash("MORE"), 1}};
    QStringList problems;
    TopicTextEncoder encoder(project, fonts, pictures, byHash, [&](const QString& p) { problems << p; });
    std::vector<LaidOutTopic> topics(2);
    topics[0].Title = "Introduction";
    topics[0].Scrolling = encoder.encode(paragraph({{QStringLiteral("See "), plain}, {QStringLiteral("more-->MORE"), jump}, {QStringLiteral("."), plain}}));
    topics[1].Title = "More";
    topics[1].Scrolling = encoder.encode(paragraph({{QStringLiteral("Second topic."), plain}}));
    const TopicFileLayout layout = layOutTopics(topics, false);

    QByteArray want = hex("FFFFFFFF 0C000000 00000000"
                          "3D000000 0C000000 FFFFFFFF 49000000 31000000 02"
                          "74000000 FFFFFFFF FFFFFFFF 00000000 FFFFFFFF 49000000 80000000");
    want += "Introduction";
    want += hex("37000000 0E000000 0C000000 80000000 29000000 20"
                "2280 1C 0080 0000 0000 800000 E359142400 89 82 FF");
    want += QByteArray("\0See \0more\0.\0\0", 14);
    want += hex("35000000 04000000 49000000 B5000000 31000000 02"
                "68000000 FFFFFFFF FFFFFFFF 01000000 FFFFFFFF B5000000 E8000000");
    want += "More";
    want += hex("33000000 10000000 80000000 E8000000 23000000 20"
                "1680 20 0080 0000 0000 800000 82 FF");
    want += QByteArray("\0Second topic.\0\0", 16);
    want += hex("31000000 00000000 B5000000 FFFFFFFF 31000000 02"
                "18000000 FFFFFFFF FFFFFFFF 02000000 FFFFFFFF FFFFFFFF FFFFFFFF");
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(layout.Compressed);
    EXPECT_EQ(layout.Bytes.toHex(' '), want.toHex(' '));
    EXPECT_EQ(layout.Offsets, (std::vector<std::int32_t>{0, 0x0E, 0x1E}));
    const QByteArray font = hex("0100 0100 0800 2800") + QByteArray("Arial").leftJustified(32, '\0')
                            + hex("00 14 03 0000 000000 010100");
    EXPECT_EQ(fonts.bytes().toHex(), font.toHex());

    // Compressed, the same records decode back from the one block.
    const TopicFileLayout packed = layOutTopics(topics, true);
    ASSERT_TRUE(packed.Compressed);
    EXPECT_EQ(packed.Bytes.left(12), want.left(12));
    EXPECT_EQ(lz77Decode(packed.Bytes.mid(12)).left(want.size() - 12), want.mid(12));
    EXPECT_GE(packed.Bytes.size(), 12 + 68);
}

namespace {

// A 2x2 4-bit BMP.
QByteArray smallBmp()
{
    QByteArray b = hex("424D 00000000 0000 0000 76000000"
                       "28000000 02000000 02000000 0100 0400 00000000 08000000 00000000 00000000 10000000 00000000");
    b += QByteArray(64, '\x7F');
    b += hex("01000000 10000000");
    return b;
}

} // namespace

TEST(HelpCompiler, LogNamesEachProblemAndTheFileStaysUsable)
{
    QTemporaryDir dir;
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
    TWindowRecord pop = TWindowRecord::defaultWindow();
    pop.Name.setBytes("popupwindow"); // longer than a window record holds
    project.addWindow(pop);
    QFile bmp(dir.filePath(QStringLiteral("Logo.bmp")));
    ASSERT_TRUE(bmp.open(QIODevice::WriteOnly));
    bmp.write(smallBmp());
    bmp.close();
    QFile photo(dir.filePath(QStringLiteral("Photo.bmp"))); // 1x1, 24 bits: no palette to be transparent with
    ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
    photo.write(hex("424D 3A000000 0000 0000 36000000 28000000 01000000 01000000 0100 1800 00000000 04000000"
                    "00000000 00000000 00000000 00000000 FFFFFF00"));
    photo.close();

    CharFormat plain, jump, popup;
    jump.Strike = true;
    popup.Underline = true;
    TTopicRecord t;
    t.TopicID.setBytes("INTRO");
    t.Keywords.setBytes("Start; start;printing");
    t.BodyRtf = RtfWriter::write(paragraph({{QStringLiteral("Go-->NOWHERE"), jump},
                                           {QStringLiteral(" and "), plain},
                                           {QStringLiteral("here-->OTHER>nowin"), jump},
                                           {QStringLiteral(" {bmc C:\\PICS\\LOGO.BMP} {bmct C:\\X\\GONE.BMP} {bmct photo.bmp} \u0416\u0417"), plain},
                                           {QStringLiteral("{button Go,ExecFile(") + QString(3000, QLatin1Char('a'))
                                                + QStringLiteral(")}"),
                                            plain},
                                           {QStringLiteral("term-->OTHER"), popup}}));
    project.addTopic(t);
    t.TopicID.setBytes("OTHER");
    t.Keywords.setBytes("printing");
    t.BodyRtf.clear();
    project.addTopic(t);
    t.TopicID.setBytes("Intro"); // hashes like INTRO
    project.addTopic(t);

    const HelpCompileReport report = compileHelpFile(project);
    EXPECT_EQ(report.topics, 3);
    EXPECT_EQ(report.jumps, 3);
    EXPECT_EQ(report.keywords, 2); // "Start" and "start" are one keyword
    EXPECT_EQ(report.bitmaps, 2);
    EXPECT_EQ(report.errors, 0);
    const QStringList expectedProblems = {
        QStringLiteral("Topic Intro: its Topic ID hashes like that of topic INTRO (duplicate context); jumps to Intro open INTRO"),
        QStringLiteral("Topic INTRO: jump to NOWHERE: no topic has this Topic ID"),
        QStringLiteral("Topic INTRO: jump to OTHER names the window nowin, which does not exist; it opens in the current window"),
        QStringLiteral("Topic INTRO: bitmap C:\\X\\GONE.BMP not found beside the project or at that path"),
        QStringLiteral("Topic INTRO: bitmap %1 has no colour palette, so it cannot be transparent; stored opaque "
                       "(save it with 256 colours or fewer)")
            .arg(dir.filePath(QStringLiteral("Photo.bmp"))),
        QStringLiteral("Topic INTRO: button Go: caption and macro are too long; left out"),
        QStringLiteral("Topic INTRO: 2 characters cannot be shown in a Windows-1252 help file"),
        QStringLiteral("Window popupwindow: the name is longer than 8 characters; stored as popupwin"),
    };
    EXPECT_EQ(report.logLines.mid(0, report.logLines.size() - 1), expectedProblems);
    EXPECT_EQ(report.warnings, expectedProblems.size());
    EXPECT_EQ(report.logLines.last(), QStringLiteral("3 topics, 3 jumps, 2 keywords, 2 bitmaps; 8 warnings, 0 errors"));

    QFile hlp(dir.filePath(QStringLiteral("Demo.HLP")));
    ASSERT_TRUE(hlp.open(QIODevice::ReadOnly));
    const QByteArray bytes = hlp.readAll();
    EXPECT_EQ(bytes.left(4), hex("3F5F0300"));
    EXPECT_EQ(s32(bytes, 12), bytes.size());
    for (const char* name : {"|AWBTREE", "|CONTEXT", "|CTXOMAP", "|FONT", "|KWBTREE", "|SYSTEM", "|TOPIC", "|TTLBTREE", "|VIOLA", "|bm0"})
        EXPECT_TRUE(bytes.contains(QByteArray(name, qsizetype(qstrlen(name)) + 1))) << name;
    QFile log(dir.filePath(QStringLiteral("Demo.LOG")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), (report.logLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
}

TEST(HelpCompiler, AFileThatCannotBeWrittenFailsWithTheReasonInTheLog)
{
    QTemporaryDir dir;
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
    TTopicRecord t;
    t.TopicID.setBytes("INTRO");
    project.addTopic(t);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Demo.HLP"))); // a folder where the file should go
    EXPECT_THROW(compileHelpFile(project), IoError);
    QFile log(dir.filePath(QStringLiteral("Demo.LOG")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(log.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Demo.HLP"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("0 warnings, 1 error"))) << text.toStdString();
}

TEST(HelpCompiler, MacrosGetTheirBareArgumentQuoted)
{
    EXPECT_EQ(quotedMacro(QStringLiteral("ExecFile(http://example.com) ")), QStringLiteral("ExecFile(\"http://example.com\")"));
    EXPECT_EQ(quotedMacro(QStringLiteral("Alink(printing;paper)")), QStringLiteral("Alink(\"printing;paper\")"));
    EXPECT_EQ(quotedMacro(QStringLiteral("ExecFile(\"notepad.exe\")")), QStringLiteral("ExecFile(\"notepad.exe\")"));
    EXPECT_EQ(quotedMacro(QStringLiteral("JumpId(`a.hlp', `B')")), QStringLiteral("JumpId(`a.hlp', `B')"));
    EXPECT_EQ(quotedMacro(QStringLiteral("ExecFile(a, b)")), QStringLiteral("ExecFile(a, b)"));
}
