// The help document and the reader's parts on their own: pictures of every
// packing and depth, a document built by hand, a file laid out as the
// Windows 3.0 compiler does.

#include "HelpReaderSupport.h"

#include "helpfile/ContextHash.h"
#include "helpfile/HelpFileBytes.h"
#include "helpfile/HelpFileContainer.h"
#include "helpfile/Lz77.h"
#include "helpfile/PictureReader.h"

using namespace ts;
using namespace ts::testing;

// -------------------------------------------------------- pictures, alone

namespace {

// A picture file (|bm<n>) holding one bitmap: the header with compressed
// numbers, the palette (B, G, R, 0 each) and the packed pixels.
QByteArray pictureFile(int type, int packing, int bits, int width, int height, const QByteArray& palette,
                       const QByteArray& packed)
{
    using namespace ts::helpfile;
    QByteArray head;
    putU8(head, unsigned(type));
    putU8(head, unsigned(packing));
    putCompressedU32(head, 96);
    putCompressedU32(head, 96);
    putCompressedU16(head, 1);
    putCompressedU16(head, unsigned(bits));
    putCompressedU32(head, std::uint32_t(width));
    putCompressedU32(head, std::uint32_t(height));
    putCompressedU32(head, std::uint32_t(palette.size() / 4));
    putCompressedU32(head, 0);
    putCompressedU32(head, std::uint32_t(packed.size()));
    putCompressedU32(head, 0);
    putU32(head, std::uint32_t(head.size() + 8 + palette.size()));
    putU32(head, 0);
    QByteArray file;
    putU16(file, 0x506C);
    putU16(file, 1);
    putU32(file, 8);
    return file + head + palette + packed;
}

QByteArray rgbaOf(std::initializer_list<std::uint32_t> pixels)
{
    QByteArray out;
    for (const std::uint32_t rgb : pixels)
        out += QByteArray(1, char(rgb >> 16)) + char(rgb >> 8) + char(rgb) + char(0xFF);
    return out;
}

} // namespace

TEST(HelpReaderPictures, EveryPackingAndDepthDecodes)
{
    using helpfile::reading::decodePicture;
    // 3 x 2 pixels of 8 bits: bottom row red, green, blue; top row white. Rows padded to 4 bytes.
    const QByteArray palette("\x00\x00\xff\x00\x00\xff\x00\x00\xff\x00\x00\x00\xff\xff\xff\x00", 16);
    const QByteArray pixels("\x00\x01\x02\x00\x03\x03\x03\x00", 8);
    const QByteArray rle("\x84\x00\x01\x02\x00\x03\x03\x01\x00", 9); // 4 copied, 3 repeated, 1 repeated
    const QByteArray expected = rgbaOf({0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF});
    const std::vector<std::pair<int, QByteArray>> packings{
        {0, pixels}, {1, rle}, {2, helpfile::lz77Compress(pixels)}, {3, helpfile::lz77Compress(rle)}};
    for (const auto& [packing, packed] : packings) {
        const HelpPicture p = decodePicture(pictureFile(6, packing, 8, 3, 2, palette, packed), 1252);
        EXPECT_EQ(p.problem, QString()) << packing;
        EXPECT_EQ(p.image.rgba, expected) << packing;
    }
    // A monochrome device-dependent bitmap: no palette, rows padded to 2 bytes only.
    const HelpPicture ddb = decodePicture(pictureFile(5, 0, 1, 10, 2, QByteArray(), QByteArray("\xaa\x80\x00\x00", 4)), 1252);
    EXPECT_EQ(ddb.image.rgba.mid(0, 8), rgbaOf({0, 0}));
    EXPECT_EQ(ddb.image.rgba.mid(40, 12), rgbaOf({0xFFFFFF, 0, 0xFFFFFF}));
    // 16 bits (5-5-5) and 32 bits (B, G, R, unused).
    EXPECT_EQ(decodePicture(pictureFile(6, 0, 16, 1, 1, QByteArray(), QByteArray("\x00\x7c\x00\x00", 4)), 1252).image.rgba,
              rgbaOf({0xFF0000}));
    EXPECT_EQ(decodePicture(pictureFile(6, 0, 32, 1, 1, QByteArray(), QByteArray("\x10\x20\x30\x00", 4)), 1252).image.rgba,
              rgbaOf({0x302010}));
    // Damage: a size no data can fill is refused before anything is allocated;
    // pixels cut short are said, and what there is shows.
    const HelpPicture huge = decodePicture(pictureFile(6, 1, 24, 1000000, 1000000, QByteArray(), rle), 1252);
    EXPECT_EQ(huge.format, HelpPicture::Format::Missing);
    EXPECT_FALSE(huge.problem.isEmpty());
    const HelpPicture cut = decodePicture(pictureFile(6, 0, 8, 3, 2, palette, pixels.left(5)), 1252);
    EXPECT_EQ(cut.problem, QStringLiteral("the bitmap's pixels are cut short or damaged"));
    EXPECT_EQ(decodePicture(QByteArray("lP", 2), 1252).problem, QStringLiteral("not a picture"));
}

// ------------------------------------------------------ documents by hand

TEST(HelpDocumentModel, ADocumentBuiltByHandLooksUpAndRenders)
{
    HelpDocument doc;
    doc.topics.resize(2);
    doc.topics[0].title = QStringLiteral("Alpha");
    doc.topics[0].topicId = QStringLiteral("ALPHA");
    doc.topics[1].title = QStringLiteral("Beta");
    doc.topics[1].hash = helpfile::contextHash("BETA");
    doc.topics[1].hasHash = true;
    doc.topics[1].topicOffset = 100;
    doc.keywordTables[QLatin1Char('K')] = {{QStringLiteral("beta"), {1}, {100}},
                                           {QStringLiteral("Alpha"), {0, 1}, {0, 100}},
                                           {QStringLiteral("alpha two"), {0}, {0}},
                                           {QStringLiteral("Auto-Reply"), {1}, {100}},
                                           {QStringLiteral("Überblick"), {0}, {0}},
                                           {QStringLiteral("Automation"), {0}, {0}}};
    doc.finishBuilding();
    EXPECT_EQ(doc.findTopic(QStringLiteral("alpha")), 0);
    EXPECT_EQ(doc.findTopic(QStringLiteral("beta")), 1);
    EXPECT_EQ(doc.topics[1].idOrHash(), HelpDocument::hashText(helpfile::contextHash("BETA")));
    EXPECT_EQ(doc.topicAtOffset(150), 1);
    // The index in keyword order (as the compiler writes it), searched as
    // one types without regard to case, accents or hyphens.
    QStringList order;
    for (const HelpKeyword& k : doc.keywordTables.at(QLatin1Char('K')))
        order << k.text;
    EXPECT_EQ(order, (QStringList{QStringLiteral("Alpha"), QStringLiteral("alpha two"), QStringLiteral("Automation"),
                                  QStringLiteral("Auto-Reply"), QStringLiteral("beta"), QStringLiteral("Überblick")}));
    EXPECT_EQ(doc.firstKeywordFrom(QLatin1Char('K'), QStringLiteral("ALPHA T")), 1);
    EXPECT_EQ(doc.firstKeywordFrom(QLatin1Char('K'), QStringLiteral("auto-r")), 3);
    EXPECT_EQ(doc.firstKeywordFrom(QLatin1Char('K'), QStringLiteral("UBER")), 5);
    EXPECT_EQ(doc.firstKeywordFrom(QLatin1Char('K'), QStringLiteral("zz")), 6);
    EXPECT_EQ(doc.findKeyword(QLatin1Char('K'), QStringLiteral("ALPHA"))->topics, (std::vector<int>{0, 1}));
    EXPECT_EQ(doc.findKeyword(QLatin1Char('K'), QStringLiteral("überblick")), &doc.keywordTables.at(QLatin1Char('K'))[5]);
    EXPECT_EQ(doc.findKeyword(QLatin1Char('K'), QStringLiteral("Auto-reply")), &doc.keywordTables.at(QLatin1Char('K'))[3]);
    EXPECT_EQ(doc.findKeyword(QLatin1Char('A'), QStringLiteral("alpha")), nullptr);

    // A paragraph with a jump, then a table row of two cells, the first of two paragraphs.
    HelpTopicContent content;
    HelpHotspot jump;
    jump.targetHash = helpfile::contextHash("ALPHA");
    jump.window = QStringLiteral("side");
    content.hotspots = {jump};
    content.tableRows.resize(1);
    auto paragraph = [](std::vector<HelpRun> runs, int column = -1) {
        HelpParagraph p;
        p.runs = std::move(runs);
        p.tableRow = column >= 0 ? 0 : -1;
        p.column = column;
        return p;
    };
    auto text = [](const QString& t, int hotspot = -1) {
        HelpRun r;
        r.text = t;
        r.hotspot = hotspot;
        return r;
    };
    content.scrolling = {paragraph({text(QStringLiteral("See ")), text(QStringLiteral("alpha"), 0), text(QStringLiteral("."))}),
                         paragraph({text(QStringLiteral("a1"))}, 0), paragraph({text(QStringLiteral("a2"))}, 0),
                         paragraph({text(QStringLiteral("b"))}, 1)};
    doc.setContent(1, content);
    EXPECT_EQ(doc.topicText(1, HelpDocument::TextStyle::MarkedLinks),
              QStringLiteral("See [jump alpha -> ALPHA>side].\na1\na2\tb\n"));
    EXPECT_EQ(doc.topicText(1), QStringLiteral("See alpha.\na1\na2\tb\n"));
    EXPECT_TRUE(doc.content(0).scrolling.empty());
    EXPECT_EQ(doc.picture(3).format, HelpPicture::Format::Missing);
}

// ------------------------------------------------------------- HC 3.0 files

namespace {

// A help file as the Windows 3.0 compiler lays it out: 2 KB topic blocks
// addressed by raw offset, links between records as distances, text records
// of type 1, jumps by topic number through |TOMAP, |Phrases stored plainly.
QByteArray oldStyleHelpFile()
{
    using namespace ts::helpfile;
    struct Record {
        int type;
        QByteArray linkData1, linkData2;
        int expandedLength = -1; // of linkData2 once its phrases are expanded; -1: as stored
    };
    auto header = [](int previous, int next) {
        QByteArray d;
        putS32(d, 0);
        putS32(d, previous);
        putS32(d, next);
        return d;
    };
    auto text = [](const QByteArray& commands) -> QByteArray {
        QByteArray paragraph("\x00\x80\x00\x00", 4);
        putU16(paragraph, 0x0010); // left indent
        putCompressedS16(paragraph, 36);
        QByteArray d;
        putCompressedS32(d, std::int32_t(paragraph.size() + commands.size()));
        return d + paragraph + commands;
    };
    const QByteArray jump("\x80\x00\x00\xe1\x01\x00\x00\x00\x89\x82\xff", 11);
    // Phrase 0 is "second"; the code 01 01 stands for it and a blank.
    const QByteArray phrased = QByteArray("The \x01\x01topic.", 12) + '\0' + '\0';
    const std::vector<Record> records{
        {2, header(-1, 1), "First"},
        {1, text(jump), '\0' + QByteArray(2100, 'x') + " See " + '\0' + "second" + '\0' + "." + '\0' + '\0'},
        {2, header(0, -1), "Second"},
        {1, text(QByteArray("\x82\xff", 2)), phrased, int(QByteArray("The second topic.").size()) + 2},
    };
    // Stream positions, then raw offsets: 2036 data bytes behind each 12-byte block header.
    std::vector<qsizetype> at;
    qsizetype stream = 0;
    for (const Record& r : records) {
        at.push_back(stream);
        stream += 21 + r.linkData1.size() + r.linkData2.size();
    }
    auto raw = [](qsizetype s) { return std::int32_t(s / 2036 * 2048 + 12 + s % 2036); };
    QByteArray data;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        putS32(data, std::int32_t(21 + r.linkData1.size() + r.linkData2.size()));
        putS32(data, r.expandedLength >= 0 ? r.expandedLength : std::int32_t(r.linkData2.size()));
        putS32(data, i == 0 ? -1 : raw(at[i]) - raw(at[i - 1]));
        putS32(data, i + 1 < records.size() ? raw(at[i + 1]) - raw(at[i]) : 0);
        putS32(data, std::int32_t(21 + r.linkData1.size()));
        putU8(data, unsigned(r.type));
        data += r.linkData1 + r.linkData2;
    }
    QByteArray topic;
    for (qsizetype from = 0; from < data.size(); from += 2036) {
        putS32(topic, -1);
        putS32(topic, 12);
        putS32(topic, 0);
        topic += data.mid(from, 2036);
    }
    QByteArray system;
    putU16(system, 0x036C);
    putU16(system, 15);
    putU16(system, 1);
    putU32(system, 0);
    putU16(system, 0);
    system += QByteArray("Old Help") + '\0';
    QByteArray font;
    for (const unsigned v : {1u, 1u, 8u, 28u})
        putU16(font, v);
    putFixed(font, "Arial", 20);
    font += QByteArray("\x01\x14\x03\x00\x00\x00\x00\x00\x00\x00\x00", 11);
    QByteArray phrases;
    for (const unsigned v : {1u, 0x100u, 4u, 10u})
        putU16(phrases, v);
    phrases += "second";
    QByteArray map;
    putU32(map, std::uint32_t(raw(at[0])));
    putU32(map, std::uint32_t(raw(at[2])));
    HelpFileContainer file;
    file.add("|SYSTEM", system);
    file.add("|TOPIC", topic);
    file.add("|FONT", font);
    file.add("|Phrases", phrases);
    file.add("|TOMAP", map);
    return file.bytes();
}

} // namespace

TEST(HelpReaderOldFiles, TopicsOfAWindows30FileRead)
{
    const HelpDocument doc = helpfile::readHelpFile(oldStyleHelpFile(), QStringLiteral("old.hlp"));
    EXPECT_EQ(problemsOf(doc), QString());
    EXPECT_EQ(doc.compilerName(), QStringLiteral("HC 3.0"));
    EXPECT_EQ(doc.title, QStringLiteral("Old Help"));
    ASSERT_EQ(doc.topics.size(), 2u);
    EXPECT_EQ(doc.topics[0].title, QStringLiteral("First"));
    EXPECT_EQ(doc.topics[1].title, QStringLiteral("Second"));
    EXPECT_EQ(doc.topics[0].browseNext, 1);
    EXPECT_EQ(doc.topics[1].browsePrevious, 0);
    EXPECT_EQ(doc.contentsTopic, 0);
    // The first topic's text runs on into the second block.
    EXPECT_EQ(doc.topicText(0, HelpDocument::TextStyle::MarkedLinks),
              QString(2100, QLatin1Char('x')) + QStringLiteral(" See [jump second -> #1].\n"));
    EXPECT_EQ(doc.content(0).hotspots.at(0).targetTopic, 1);
    EXPECT_EQ(doc.content(0).scrolling.at(0).leftIndent, 360);
    EXPECT_TRUE(doc.fontOf(doc.content(0).scrolling.at(0).runs.at(0)).bold);
    EXPECT_EQ(doc.topicText(1), QStringLiteral("The second topic.\n"));
}

