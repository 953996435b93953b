// The pieces of the built-in help compiler that are easy to get wrong: the
// context hash, B+ trees of many pages and of exactly full pages,
// the exact topic records of a small help file, and what the compile log
// reports. Reading whole help files back is the help file reader's test.

#include "HelpFileReader.h"
#include "TopicSamples.h"

#include "contents/ContentsFile.h"
#include "helpfile/BPlusTree.h"
#include "helpfile/ContextHash.h"
#include "helpfile/HelpCompiler.h"
#include "helpfile/HelpPictures.h"
#include "helpfile/TopicLayout.h"
#include "helpfile/TopicText.h"
#include "helpsource/CntWriter.h"
#include "links/LinkMarkup.h"
#include "model/IoError.h"
#include "model/Project.h"
#include "model/WholeFile.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;
using namespace ts::helpfile;

namespace {

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

TEST(HelpCompiler, BTreePagesHoldWhatFitsAndEveryKeyStaysFindable)
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

    // Pages of 70 bytes. A leaf holds 8 header bytes and two entries of 31;
    // an index page 6 header bytes and eight keys of 6 with their page
    // numbers: both full to the byte. One byte more moves an entry, or a
    // key, to the next page.
    const auto small = [](int count, int entryBytes) {
        std::vector<BTreeEntry> v;
        for (int i = 0; i < count; ++i) {
            const QByteArray key = QByteArray::number(100000 + i);
            v.push_back({key, key + QByteArray(entryBytes - 6, 'x')});
        }
        return buildBTree(v, {70, 0x0002, "z"});
    };
    const auto pagesAndLevels = [](const BTreeResult& r) { return std::pair{s16(r.Bytes, 30), s16(r.Bytes, 32)}; };
    const BTreeResult full = small(18, 31);
    EXPECT_EQ(full.LeafPages, 9);
    EXPECT_EQ(full.EntriesBeforeLeaf, (std::vector<int>{0, 2, 4, 6, 8, 10, 12, 14, 16}));
    EXPECT_EQ(pagesAndLevels(full), std::pair(10, 2));
    for (int p : {0, 8, 9}) // a leaf, the last leaf, the index page: no byte free
        EXPECT_EQ(s16(full.Bytes, 38 + p * 70), 0) << p;
    EXPECT_EQ(s16(full.Bytes, 38 + 9 * 70 + 2), 8); // keys on the index page
    EXPECT_EQ(small(18, 32).LeafPages, 18);
    EXPECT_EQ(pagesAndLevels(small(20, 31)), std::pair(13, 3)); // ten leaves: 9 + 1 under a root
}

TEST(HelpCompiler, TopicRecordsOfASmallHelpFileAreExact)
{
    // Two topics: INTRO "See more." with "more" a jump to MORE, and MORE
    // "Second topic."; one font, Arial 10 pt; uncompressed.
    Project project;
    TopicRecord intro, more;
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
    EXPECT_EQ(hlpread::lz77Decompress(packed.Bytes.mid(12)).left(want.size() - 12), want.mid(12));
    EXPECT_GE(packed.Bytes.size(), 12 + 68);
    // A last block is never shorter than 68 bytes: the end record alone is padded to them.
    EXPECT_EQ(layOutTopics({}, true).Bytes.size(), 12 + 68);
}

// Uncompressed, the record stream is cut into blocks of 4084 bytes. A
// record's fixed part (its header and LinkData1) never crosses into the next
// block, and a record ending exactly at a block's end leaves the next record
// to open the next block, with no empty block after the last.
TEST(HelpCompiler, UncompressedRecordsMeetTheBlockEndsExactly)
{
    // One topic whose records take `bytes` bytes (its 49-byte header and a
    // text record of 7 characters), then the 49-byte end record.
    const auto layout = [](qsizetype bytes) {
        std::vector<LaidOutTopic> topics(1);
        topics[0].Scrolling.push_back(TextRecord{QByteArray(10, '\x01'), QByteArray(bytes - 49 - 31, 'x'), 7});
        const TopicFileLayout l = layOutTopics(topics, false);
        EXPECT_EQ(l.RecordBytes, bytes + 49);
        return std::pair{l.Offsets, l.Bytes.size()};
    };
    using Offsets = std::vector<std::int32_t>;
    EXPECT_EQ(layout(4034), std::pair(Offsets{0, 7}, qsizetype(12 + 4083)));
    EXPECT_EQ(layout(4035), std::pair(Offsets{0, 7}, qsizetype(4096))); // the end record fills the block
    EXPECT_EQ(layout(4036), std::pair(Offsets{0, 0x8000}, qsizetype(2 * 12 + 4084 + 49)));
    EXPECT_EQ(layout(4083), std::pair(Offsets{0, 0x8000}, qsizetype(2 * 12 + 4084 + 49)));
    EXPECT_EQ(layout(4084), std::pair(Offsets{0, 0x8000}, qsizetype(2 * 12 + 4084 + 49))); // the topic fills it
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
    TopicRecord t;
    t.TopicID.setBytes("INTRO");
    t.Keywords.setBytes("Start; start;printing");
    t.BodyRtf = RtfWriter::write(paragraph({{QStringLiteral("Go-->NOWHERE"), jump},
                                           {QStringLiteral(" and "), plain},
                                           {QStringLiteral("here-->OTHER>nowin"), jump},
                                           {QStringLiteral(" {bmc C:\\PICS\\LOGO.BMP} {bmct C:\\X\\GONE.BMP} {bmct photo.bmp} \u0416\u0417"), plain},
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
        QStringLiteral("Topic INTRO: 2 characters cannot be shown in a Windows-1252 help file"),
    };
    EXPECT_EQ(report.logLines.mid(0, report.logLines.size() - 1), expectedProblems);
    EXPECT_EQ(report.warnings, expectedProblems.size());
    EXPECT_EQ(report.logLines.last(), QStringLiteral("3 topics, 3 jumps, 2 keywords, 2 bitmaps; 6 warnings, 0 errors"));

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

namespace {

// The project compiled in memory: the report, and the file read back.
std::pair<HelpCompileReport, hlpread::HelpFile> compiled(const Project& project)
{
    HelpCompileReport report;
    const QByteArray bytes = compileHelpFileBytes(project, report);
    return {report, hlpread::readHelpFile(bytes)};
}

QStringList problemsOf(const HelpCompileReport& report) { return report.logLines.mid(0, report.logLines.size() - 1); }

} // namespace

// One of a kind is counted in the singular, in a problem and in the summary.
TEST(HelpCompiler, CountsOfOneInTheLogAreSingular)
{
    Project project;
    TopicRecord t;
    t.TopicID.setBytes("ONE");
    t.Keywords.setBytes("single");
    t.BodyRtf = RtfWriter::write(paragraph({{QStringLiteral("A \u0416 here"), CharFormat()}}));
    project.addTopic(t);
    const auto [report, read] = compiled(project);
    EXPECT_EQ(report.logLines,
              (QStringList{QStringLiteral("Topic ONE: 1 character cannot be shown in a Windows-1252 help file"),
                           QStringLiteral("1 topic, 0 jumps, 1 keyword, 0 bitmaps; 1 warning, 0 errors")}));
}

// Window names of 8 characters and captions of 50 are stored whole; longer
// ones are cut, and the log says so. Positions are held within 16 bits.
TEST(HelpCompiler, WindowRecordsHoldNamesOf8AndCaptionsOf50)
{
    Project project;
    const struct {
        const char* name;
        int caption;
        std::int32_t left, top;
    } windows[] = {{"popupwindow", 0, 0, 0}, {"eightchr", 50, 32767, -32768}, {"ninechars", 51, 32768, -32769}};
    for (const auto& w : windows) {
        WindowRecord r = WindowRecord::defaultWindow();
        r.Name.setBytes(w.name);
        r.Caption.setBytes(QByteArray(w.caption, 'c'));
        r.DefaultPosition = false;
        r.Left = w.left;
        r.Top = w.top;
        project.addWindow(r);
    }
    TopicRecord t;
    t.TopicID.setBytes("INTRO");
    project.addTopic(t);
    const auto [report, read] = compiled(project);
    EXPECT_EQ(problemsOf(report),
              (QStringList{QStringLiteral("Window popupwindow: the name is longer than 8 characters; stored as popupwin"),
                           QStringLiteral("Window ninechars: the name is longer than 8 characters; stored as ninechar"),
                           QStringLiteral("Window ninechars: the caption is longer than 50 characters; cut after \"%1\"")
                               .arg(QString(50, QLatin1Char('c')))}));
    ASSERT_EQ(read.system.windows.size(), 4);
    const QByteArray names[] = {"popupwin", "eightchr", "ninechar"};
    const int captions[] = {0, 50, 50};
    const std::pair<int, int> positions[] = {{0, 0}, {32767, -32768}, {32767, -32768}};
    for (int k = 0; k < 3; ++k) {
        const hlpread::WindowRecord& w = read.system.windows[k + 1];
        EXPECT_EQ(w.name, names[k]);
        EXPECT_EQ(w.caption, QByteArray(captions[k], 'c')) << names[k].constData();
        EXPECT_EQ(std::pair(int(w.x), int(w.y)), positions[k]) << names[k].constData();
    }
}

// Buttons, macro hotspots and jumps into other help files are stored up to
// the longest command a paragraph holds; one character more, or far more,
// and they are left out, which the log says.
TEST(HelpCompiler, CommandsUpToTheLongestAreStored)
{
    CharFormat plain, jump;
    jump.Strike = true;
    const auto many = [](int n, char c) { return QString(n, QLatin1Char(c)); };
    const std::pair<QString, CharFormat> paragraphs[] = {
        {QStringLiteral("{button At,JumpId(%1)}").arg(many(1973, 'a')), plain},
        {QStringLiteral("{button Up,JumpId(%1)}").arg(many(1974, 'a')), plain},
        {QStringLiteral("{button Go,ExecFile(%1)}").arg(many(3000, 'a')), plain},
        {QStringLiteral("m-->!JumpId(%1)").arg(many(1988, 'a')), jump},
        {QStringLiteral("m-->!JumpId(%1)").arg(many(1989, 'a')), jump},
        {QStringLiteral("f-->OTHER@%1.hlp").arg(many(1987, 'f')), jump},
        {QStringLiteral("f-->OTHER@%1.hlp").arg(many(1988, 'f')), jump},
    };
    RichDocument body;
    body.Paragraphs.clear();
    for (const auto& [text, format] : paragraphs)
        body.Paragraphs.push_back(paragraph({{text, format}}).Paragraphs.front());
    Project project;
    TopicRecord t;
    t.TopicID.setBytes("INTRO");
    t.BodyRtf = RtfWriter::write(body);
    project.addTopic(t);

    const auto [report, read] = compiled(project);
    EXPECT_EQ(problemsOf(report),
              (QStringList{QStringLiteral("Topic INTRO: button Up: caption and macro are too long; left out"),
                           QStringLiteral("Topic INTRO: button Go: caption and macro are too long; left out"),
                           QStringLiteral("Topic INTRO: macro link !JumpId(%1) is empty or too long; left out")
                               .arg(many(1989, 'a')),
                           QStringLiteral("Topic INTRO: jump to OTHER: the help file or window name is too long; left out")}));
    ASSERT_EQ(read.topics.size(), 1);
    const QList<hlpread::Paragraph>& stored = read.topics[0].body;
    ASSERT_EQ(stored.size(), 7);
    EXPECT_EQ(stored[0].plainText(), "{button At,JumpId(" + QByteArray(1973, 'a') + ")}");
    EXPECT_TRUE(stored[1].plainText().isEmpty());
    EXPECT_TRUE(stored[2].plainText().isEmpty());
    ASSERT_EQ(stored[3].hotspots.size(), 1);
    EXPECT_EQ(stored[3].hotspots[0].macro, "JumpId(" + QByteArray(1988, 'a') + ')');
    EXPECT_TRUE(stored[4].hotspots.isEmpty());
    ASSERT_EQ(stored[5].hotspots.size(), 1);
    EXPECT_EQ(stored[5].hotspots[0].file, QByteArray(1987, 'f') + ".hlp");
    EXPECT_TRUE(stored[6].hotspots.isEmpty());
}

// Pictures at the limits of their sizes: the widest and tallest stored, and
// pixel data on both sides of 32768 bytes, where the stored sizes change
// form, read back whole; a pixel more is refused. Damaged files are refused
// where the bytes end, not a byte sooner.
TEST(HelpCompiler, PicturesAtTheLimitsOfTheirSizes)
{
    QTemporaryDir dir;
    const auto put = [&dir](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const struct {
        const char* name;
        int width, height, bits;
    } stored[] = {{"Wide.bmp", 32767, 1, 1}, {"Tall.bmp", 1, 32767, 1}, {"Below.bmp", 8, 8191, 4}, {"At.bmp", 8, 8192, 4}};
    QString text;
    for (const auto& picture : stored) {
        put(QString::fromLatin1(picture.name), ts::testing::bmpFile(picture.width, picture.height, picture.bits));
        text += links::bitmapMarkup(dir.filePath(QString::fromLatin1(picture.name)), false);
    }
    put(QStringLiteral("TooWide.bmp"), ts::testing::bmpFile(32768, 1, 1));
    text += links::bitmapMarkup(dir.filePath(QStringLiteral("TooWide.bmp")), false);
    // A palette of 0 colours (what most programs write) is as many as the
    // depth allows; more than that are as many too.
    for (const char count : {0, 17}) {
        QByteArray bmp = ts::testing::bmpFile(5, 3, 4);
        bmp[46] = count;
        const QString name = QStringLiteral("Count%1.bmp").arg(int(count));
        put(name, bmp);
        text += links::bitmapMarkup(dir.filePath(name), false);
    }
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
    project.addTopic(ts::testing::topic("P", "P", "", QByteArray(), RtfWriter::write(paragraph({{text, CharFormat()}}))));
    const auto [report, h] = compiled(project);
    ASSERT_EQ(h.bitmaps.size(), 6);
    for (int n : {4, 5}) {
        EXPECT_EQ(h.bitmaps[n].coloursUsed, 16u) << n;
        EXPECT_EQ(h.bitmaps[n].palette, ts::testing::bmpFile(5, 3, 4).mid(54, 64)) << n;
    }
    for (int n = 0; n < 4; ++n) {
        const QByteArray source = ts::testing::bmpFile(stored[n].width, stored[n].height, stored[n].bits);
        EXPECT_EQ(h.bitmaps[n].width, quint32(stored[n].width)) << stored[n].name;
        EXPECT_EQ(h.bitmaps[n].height, quint32(stored[n].height)) << stored[n].name;
        EXPECT_EQ(h.bitmaps[n].pixels, source.mid(14 + 40 + (stored[n].bits == 1 ? 8 : 64))) << stored[n].name;
    }
    EXPECT_EQ(report.warnings, 1);
    EXPECT_TRUE(report.logLines.join(QLatin1Char('\n')).contains(QLatin1String("TooWide.bmp has an impossible size")))
        << report.logLines.join(QLatin1Char('\n')).toStdString();

    const auto refusal = [](const QByteArray& bmp) {
        QString why;
        return HelpPictures::pictureFromBmp(bmp, false, &why) ? QStringLiteral("stored") : why;
    };
    const QByteArray small = ts::testing::bmpFile(2, 2, 4);
    EXPECT_EQ(refusal(small), QStringLiteral("stored"));
    EXPECT_EQ(refusal(small.left(small.size() - 1)), QStringLiteral("is cut short"));
    EXPECT_EQ(refusal(small.left(54)), QStringLiteral("is cut short"));
    EXPECT_EQ(refusal(small.left(53)), QStringLiteral("is not a BMP file"));
    QByteArray b = small;
    b[14] = 39; // the picture header's size
    EXPECT_EQ(refusal(b), QStringLiteral("has a picture header this compiler does not know"));
    // Pixels may begin right after the header, not inside it; the palette
    // must be there to its last byte.
    b = small;
    b[10] = 54; // where the pixels begin
    EXPECT_EQ(refusal(b), QStringLiteral("stored"));
    EXPECT_EQ(refusal(b.left(54 + 64)), QStringLiteral("stored"));
    EXPECT_EQ(refusal(b.left(54 + 63)), QStringLiteral("is cut short"));
    b[10] = 53;
    EXPECT_EQ(refusal(b), QStringLiteral("is cut short"));
    // A top-down picture may be as tall as a bottom-up one.
    b = ts::testing::bmpFile(1, 32767, 1);
    const auto setHeight = [&b](qint32 height) {
        for (int i = 0; i < 4; ++i)
            b[22 + i] = char(quint32(height) >> (8 * i));
    };
    setHeight(-32767);
    EXPECT_EQ(refusal(b), QStringLiteral("stored"));
    for (qint32 height : {-32768, 0, 32768}) {
        setHeight(height);
        EXPECT_EQ(refusal(b), QStringLiteral("has an impossible size")) << height;
    }
}

TEST(HelpCompiler, AFileThatCannotBeWrittenFailsWithTheReasonInTheLog)
{
    QTemporaryDir dir;
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
    TopicRecord t;
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

// The help file names the .cnt the build writes beside it, and names none
// when the project has no contents file to write one from.
TEST(HelpCompiler, TheContentsFileNamedIsTheOneTheBuildWrites)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
    TopicRecord t;
    t.TopicID.setBytes("INTRO");
    project.addTopic(t);
    HelpCompileReport report;
    EXPECT_FALSE(hlpread::readHelpFile(compileHelpFileBytes(project, report)).system.cntName.has_value());

    writeWholeFile(ContentsFile::pathFor(project), "Introduction=INTRO\r\n");
    const hlpread::HelpFile h = hlpread::readHelpFile(compileHelpFileBytes(project, report));
    EXPECT_EQ(h.system.cntName, QFileInfo(CntWriter::pathFor(project)).fileName().toLatin1());
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(u'\n').toStdString();
}
