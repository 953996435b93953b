// The built-in help compiler, checked by reading its output back with the
// tests' own reader (support/HelpFileReader) and comparing it with the
// project (support/HelpFileChecks): projects, links, pictures, windows and
// a full topic table. Long and unusual text is HelpFileTextTest's.

#include "HelpFileChecks.h"

#include "links/LinkMarkup.h"

#include <QDir>

using namespace ts;
using namespace ts::testing;

TEST(HelpFileReader, HashesAndBadInput)
{
    // The documented context hashes.
    EXPECT_EQ(hr::contextHash("MORE"), 0x00241459);
    EXPECT_EQ(hr::contextHash("INTRO"), 0x053D9A5C);
    EXPECT_EQ(hr::contextHash("intro"), 0x053D9A5C);
    EXPECT_EQ(hr::contextHash("SECOND"), 0x370E6D04);
    EXPECT_EQ(hr::contextHash("CONTENTS"), 0x25F4558A);
    EXPECT_EQ(hr::contextHash(""), 1);

    // A small compiled file, damaged byte by byte and cut short: the reader
    // reads it or says what is wrong, and never reads outside the bytes.
    Project p;
    p.ProjectPath = QDir::temp().filePath(QStringLiteral("TsReaderCheck.tsp"));
    p.addTopic(topic("INTRO", "Introduction", "start", rtf({para({run("Intro")})}),
                     rtf({para({run("See "), run("more-->MORE", with(fmt(), &CharFormat::Strike)), run(".")})})));
    p.addTopic(topic("MORE", "More", "", QByteArray(), rtf({para({run("Second topic.")})})));
    HelpCompileReport report;
    const QByteArray good = compileHelpFileBytes(p, report);
    ASSERT_NO_THROW(hr::readHelpFile(good));
    int refused = 0;
    for (qsizetype i = 0; i < good.size(); ++i) {
        QByteArray bad = good;
        bad[i] = char(bad[i] ^ 0x5A);
        try {
            hr::readHelpFile(bad);
        } catch (const hr::HelpFileError& e) {
            ++refused;
            EXPECT_FALSE(QByteArray(e.what()).isEmpty());
        }
    }
    EXPECT_GT(refused, good.size() / 2); // most of the file is structure

    EXPECT_THROW(hr::readHelpFile(good.left(good.size() - 1)), hr::HelpFileError);
    QByteArray badMagic = good;
    badMagic[0] = 'X';
    try {
        hr::readHelpFile(badMagic);
        ADD_FAILURE() << "a wrong magic was read";
    } catch (const hr::HelpFileError& e) {
        EXPECT_STREQ(e.what(), "file header: not a help file (wrong magic) at offset 0x0");
    }
}

// The project of the HPJ example: INTRO with Application Call ID 100, a
// topic without one, the window "main" as a new project has it; then a
// second window as the example's "pop" line describes. Compiled to disk.
TEST_F(HelpFile, ExampleProjectReadsBack)
{
    project.addTopic(topic("INTRO", "Introduction", "start", rtf({para({run("Introduction", with(fmt(), &CharFormat::Bold))})}),
                           rtf({para({run("Welcome. "), run("Next-->SECOND", with(fmt(), &CharFormat::Strike))})})));
    project.topic(0).HasCallId = true;
    project.topic(0).CallId = 100;
    project.addTopic(topic("SECOND", "Second", "", QByteArray(), rtf({para({run("Second topic.")})})));
    project.topic(1).CallId = 7; // not mapped: HasCallId is off

    const HelpCompileReport written = compileHelpFile(project);
    EXPECT_EQ(written.errors, 0);
    EXPECT_EQ(written.warnings, 0) << written.logLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(written.topics, 2);
    hr::HelpFile h;
    ASSERT_NO_THROW(h = hr::readHelpFile(dir.filePath(QStringLiteral("Demo.HLP"))));
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
    EXPECT_EQ(h.map, (QList<std::pair<std::int32_t, std::uint32_t>>{{100, h.topics[0].topicOffset}}));
    ASSERT_EQ(h.system.windows.size(), 1);
    EXPECT_EQ(h.system.windows[0].flags, 0x0303);
    EXPECT_EQ(h.system.windows[0].name, QByteArray("main"));
    EXPECT_EQ(*h.system.contents, h.topics[0].topicOffset);
    EXPECT_EQ(h.system.recordTypes.count(6), 1);
    EXPECT_EQ(h.trees["|CONTEXT"].levels, 1);

    // The example's second window line: pop="Pop-up",(10,20,500,400),16900,...,1
    WindowRecord pop = window("pop", "Pop-up");
    pop.DefaultPosition = false;
    pop.Left = 10;
    pop.Top = 20;
    pop.Width = 500;
    pop.Height = 400;
    pop.Buttons[Browse] = pop.Buttons[Back] = true;
    pop.OnTop = true;
    ASSERT_TRUE(project.addWindow(pop));
    project.topic(1).WindowIndex = 1;
    HelpCompileReport report;
    h = compile(report);
    checkAgainstProject(project, h, pictures);
    ASSERT_EQ(h.system.windows.size(), 2);
    EXPECT_EQ(h.system.windows[1].flags, 0x077F);
    EXPECT_EQ(h.system.windows[1].state, 16900);
}

TEST_F(HelpFile, EveryLinkAndFormatReadsBack)
{
    put(QStringLiteral("Pic16.bmp"), bmpFile(5, 3, 4));
    put(QStringLiteral("photo.BMP"), bmpFile(4, 2, 24));
    WindowRecord side = window("side", "Side window");
    side.DefaultPosition = false;
    side.Left = 100;
    side.Top = 50;
    side.Width = 400;
    side.Height = 600;
    side.TopicColour = 0xFFEBCA;
    side.NonScrollColour = 0x8269FF;
    side.AutoSizeHeight = side.OnTop = true;
    side.Buttons = {true, true, true, true, true, true};
    project.window(0).Caption.setBytes("Everything Help");
    ASSERT_TRUE(project.addWindow(side));
    WindowRecord note = window("note", "");
    note.AutoSizeHeight = true;
    ASSERT_TRUE(project.addWindow(note));

    const CharFormat strike = with(fmt(), &CharFormat::Strike);
    const CharFormat under = with(fmt(), &CharFormat::Underline);
    CharFormat red = fmt("Times New Roman", 28);
    red.Colour = 0xC00000;
    red.Bold = red.Italic = true;
    CharFormat mono = fmt("Courier New", 16);
    mono.Underline = true;
    const QString picture = links::bitmapMarkup(dir.filePath(QStringLiteral("pic16.bmp")), false);
    const QString transparent = links::bitmapMarkup(dir.filePath(QStringLiteral("pic16.bmp")), true);
    const QString photo = links::bitmapMarkup(dir.filePath(QStringLiteral("PHOTO.bmp")), false);

    project.addTopic(topic(
        "LINKS", "All the links", "links; Hotspots;HOTSPOTS ; ;", rtf({para({run("Links", red)}, Alignment::Center)}),
        rtf({
            para({run("Jump "), run("to formats-->FORMATS", strike), run(", pop-up "), run("note-->FORMATS", under)}),
            para({run("In a window "), run("side-->FORMATS>side", strike), run(" and pop-up ignoring it "),
                  run("p-->FORMATS>side", under), run(" spelled otherwise "), run("SIDE-->FORMATS>SIDE", strike)}),
            para({run("Other file "), run("there-->ELSEWHERE@other.hlp", strike), run(" pop "),
                  run("pp-->ELSEWHERE@other.hlp", under), run(" with window "),
                  run("tw-->ELSEWHERE>side@other.hlp", strike)}),
            para({run(links::webLink(QStringLiteral("site"), QStringLiteral("www.example.org"), false), strike),
                  run(" and "),
                  run(links::webLink(QString(), QStringLiteral("me@example.org"), true), strike)}),
            para({run(links::relatedTopicsButton(QStringLiteral("Related"), QStringLiteral("links;formats")))}),
            para({run(picture + QStringLiteral("between") + transparent + photo + picture)}),
        }),
        1));
    project.addTopic(topic(
        "FORMATS", "Formats", "formats;links", QByteArray(),
        rtf({
            para({run("Plain "), run("bold", with(fmt(), &CharFormat::Bold)), run(" italic", with(fmt(), &CharFormat::Italic)),
                  run(" underlined", under), run(" red", red), run(" mono", mono)}),
            para({run(QStringLiteral("tab\there, line\u2028break"))}, Alignment::Right, 720, -360, 1440),
            para({run("centred")}, Alignment::Center, 0, 200, 0),
            para({run("")}),
            para({run(QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac 100%"))}),
        }),
        2));
    project.addTopic(topic("EMPTY", "", "", rtf({para({run("")})}), QByteArray()));
    project.topic(1).HasCallId = true;
    project.topic(1).CallId = -5;
    project.topic(2).HasCallId = true;
    project.topic(2).CallId = 70000;

    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.errors, 0);
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
    Pictures pictures;
    checkAgainstProject(project, h, pictures);

    // Pictures: the 4-bit one plain and transparent, the 24-bit one; each
    // stored as a copy of its bitmap.
    ASSERT_EQ(pictures.inOrder.size(), 3u);
    ASSERT_EQ(h.bitmaps.size(), 3);
    for (int n = 0; n < 3; ++n) {
        const hr::Bitmap& b = h.bitmaps[n];
        const bool four = pictures.inOrder[size_t(n)].first == "PIC16.BMP";
        const QByteArray source = four ? bmpFile(5, 3, 4) : bmpFile(4, 2, 24);
        EXPECT_EQ(b.bitCount, four ? 4 : 24);
        EXPECT_EQ(b.width, four ? 5u : 4u);
        EXPECT_EQ(b.height, four ? 3u : 2u);
        EXPECT_EQ(b.coloursImportant, pictures.inOrder[size_t(n)].second ? 1u : 0u);
        EXPECT_EQ(b.palette, source.mid(54, four ? 64 : 0));
        EXPECT_EQ(b.pixels, source.mid(four ? 54 + 64 : 54));
    }
    // The keyword spelled twice is one keyword, kept in its first spelling.
    ASSERT_EQ(h.kKeywords.size(), 3);
    EXPECT_EQ(h.kKeywords[1].first, QByteArray("Hotspots"));
    // The fonts of the text, one descriptor each, with the family of the face.
    const std::map<QByteArray, int> family{{"Courier New", 1}, {"Times New Roman", 2}, {"Arial", 3}};
    std::set<QByteArray> faces;
    for (const hr::FontDescriptor& f : h.fonts) {
        faces.insert(f.face);
        EXPECT_EQ(f.family, family.at(f.face)) << f.face.constData();
    }
    EXPECT_EQ(faces.size(), 3u);
    for (qsizetype i = 0; i < h.fonts.size(); ++i)
        for (qsizetype k = i + 1; k < h.fonts.size(); ++k)
            EXPECT_FALSE(h.fonts[i].face == h.fonts[k].face && h.fonts[i].halfPoints == h.fonts[k].halfPoints &&
                         h.fonts[i].attributes == h.fonts[k].attributes && h.fonts[i].colour == h.fonts[k].colour)
                << "descriptors " << i << " and " << k << " are the same";
}

// Indents where their stored form grows from one byte to two, and the ends
// of the two-byte form; paragraphs of 120 to 131 characters, among which the
// stored text length grows from one byte to two: all read back as they were.
TEST_F(HelpFile, NumbersAtTheEdgesOfTheirStoredFormsReadBack)
{
    std::vector<Paragraph> body = {
        para({run("edges")}, Alignment::Left, 630, -640, 640),
        para({run("past them")}, Alignment::Left, 640, -650, 163830),
        para({run("ends")}, Alignment::Left, 163830, -163840, 0),
    };
    for (int n = 120; n <= 131; ++n)
        body.push_back(para({run(QString(n, QLatin1Char('t')))}));
    project.addTopic(topic("EDGES", "Edges", "", QByteArray(), rtf(body)));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
}

TEST_F(HelpFile, BrokenLinksAndPicturesAreWarningsAndTheFileStillReads)
{
    project.addTopic(topic("ONLY", "Only", "", QByteArray(),
                           rtf({para({run("gone-->NOWHERE", with(fmt(), &CharFormat::Strike)), run(" "),
                                      run("win-->ONLY>nowin", with(fmt(), &CharFormat::Strike)),
                                      run(QStringLiteral(" {bmc MISSING.BMP} "))})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.errors, 0);
    EXPECT_GE(report.warnings, 3);
    const QString log = report.logLines.join(QLatin1Char('\n'));
    for (const char* named : {"NOWHERE", "nowin", "MISSING.BMP"})
        EXPECT_TRUE(log.contains(QLatin1String(named), Qt::CaseInsensitive)) << named << " not in " << log.toStdString();
    EXPECT_TRUE(log.contains(QLatin1String("ONLY"))) << log.toStdString();
    ASSERT_EQ(h.topics.size(), 1);
    ASSERT_FALSE(h.topics[0].body.isEmpty());
    // A jump to a missing topic is still a jump: the viewer looks it up when clicked.
    ASSERT_FALSE(h.topics[0].body[0].hotspots.isEmpty());
    EXPECT_EQ(h.topics[0].body[0].hotspots[0].hash, hr::contextHash("NOWHERE"));
    EXPECT_TRUE(h.bitmaps.isEmpty());
}

// A picture inserted from another folder: the markup holds its path in
// capitals, and the file is found there.
TEST_F(HelpFile, PicturesAreFoundAtTheirOwnPathWhateverTheCase)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir(elsewhere.path()).mkdir(QStringLiteral("Pics")));
    QFile f(elsewhere.filePath(QStringLiteral("Pics/Logo.bmp")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bmpFile(5, 3, 4));
    f.close();
    const QString markup = links::bitmapMarkup(elsewhere.filePath(QStringLiteral("Pics/Logo.bmp")), false);
    ASSERT_TRUE(markup.contains(QStringLiteral("PICS/LOGO.BMP"))) << markup.toStdString();
    project.addTopic(topic("P", "P", "", QByteArray(),
                           rtf({para({run(markup + QStringLiteral(" {bmc ") + elsewhere.path().toUpper() +
                                          QStringLiteral("/PICS/GONE.BMP}"))})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(h.bitmaps.size(), 1);
    EXPECT_EQ(report.warnings, 1) << report.logLines.join(QLatin1Char('\n')).toStdString();
}

// A NUL that came in with a project file would end the title early in the
// title index but not in the topic: both show a blank there.
TEST_F(HelpFile, NulInATitleIsStoredAsABlank)
{
    project.addTopic(topic("A", QByteArray("Intro\0duction", 13), "", QByteArray(), rtf({para({run("x")})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    ASSERT_EQ(h.topics.size(), 1);
    EXPECT_EQ(h.topics[0].title, QByteArray("Intro duction"));
    EXPECT_EQ(h.titles.value(h.topics[0].topicOffset), QByteArray("Intro duction"));
}

// A project without topics still gives a file that reads: it names no
// contents topic rather than the end of the topic chain.
TEST_F(HelpFile, ProjectWithoutTopicsReadsBack)
{
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_TRUE(h.topics.isEmpty());
    EXPECT_FALSE(h.system.contents.has_value());
    EXPECT_EQ(report.logLines.first(), QStringLiteral("The project has no topics; the help file shows nothing"));
}

TEST_F(HelpFile, TopicTableFullReadsBack)
{
    const CharFormat strike = with(fmt(), &CharFormat::Strike);
    for (int i = 0; i < Project::TopicSlots; ++i) {
        const QByteArray id = "T" + QByteArray::number(i);
        const QByteArray next = "T" + QByteArray::number((i + 1) % Project::TopicSlots);
        std::vector<Paragraph> body;
        for (int k = 0; k < 3; ++k)
            body.push_back(para({run(QStringLiteral("Paragraph %1 of topic %2, with some words to fill the line. ").arg(k).arg(i)),
                                 run(QString::fromLatin1("next-->" + next), strike)}));
        ASSERT_TRUE(project.addTopic(topic(id, "Topic number " + QByteArray::number(i),
                                           "common;kw" + QByteArray::number(i % 700),
                                           i % 3 ? QByteArray() : rtf({para({run("Header")})}), rtf(body))));
        project.topic(i).HasCallId = i % 2;
        project.topic(i).CallId = 1000 + i;
    }
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.topics, Project::TopicSlots);
    EXPECT_EQ(report.warnings, 0);
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
    EXPECT_TRUE(h.compressed);
    EXPECT_GT(h.topicBlocks, 10);
    EXPECT_GE(h.trees["|CONTEXT"].levels, 2);
    EXPECT_GE(h.trees["|TTLBTREE"].levels, 2);
    EXPECT_GE(h.trees["|VIOLA"].levels, 2);
    EXPECT_GE(h.trees["|KWBTREE"].levels, 2);
    ASSERT_FALSE(h.kKeywords.isEmpty());
    EXPECT_EQ(h.kKeywords.first().first, QByteArray("common"));
    EXPECT_EQ(h.kKeywords.first().second.size(), Project::TopicSlots);
}
