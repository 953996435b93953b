#include "contents/ContentsFile.h"
#include "links/LinkMaintenance.h"
#include "model/Project.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;

namespace {

CharFormat plain() { return CharFormat(); }

CharFormat struck(bool bold = false)
{
    CharFormat f;
    f.Strike = true;
    f.Bold = bold;
    return f;
}

CharFormat underlined()
{
    CharFormat f;
    f.Underline = true;
    return f;
}

Run run(const char* text, const CharFormat& format) { return Run{QString::fromLatin1(text), format}; }

Paragraph para(std::vector<Run> runs)
{
    Paragraph p;
    p.Runs = std::move(runs);
    return p;
}

RichDocument doc(std::vector<Paragraph> paragraphs)
{
    RichDocument d;
    d.Paragraphs = std::move(paragraphs);
    return d;
}

TTopicRecord topic(const char* id, QByteArray header, QByteArray body)
{
    TTopicRecord t;
    t.TopicID.setBytes(id);
    t.HeaderRtf = std::move(header);
    t.BodyRtf = std::move(body);
    return t;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(SearchJumps, RenamesTargetsInJumpsAndPopupsOnlyKeepingTheirFormat)
{
    RichDocument d = doc({
        para({run("Start here-->SETUP", struck(true)), run(" then a>SETUP as text ", plain()),
              run("Pop-->SETUP", underlined())}),
        para({run("Guide-->setup", struck()), run(" ", plain()), run("Next-->SETUPX", struck())}),
    });
    EXPECT_TRUE(SearchJumps(d, QStringLiteral("SETUP"), QStringLiteral("INSTALL"), false));
    const RichDocument expected = doc({
        para({run("Start here-->INSTALL", struck(true)), run(" then a>SETUP as text ", plain()),
              run("Pop-->INSTALL", underlined())}),
        // Typed in lower case, found through the upper-cased paragraph; the
        // match is a plain substring, so SETUPX becomes INSTALLX.
        para({run("Guide-->INSTALL", struck()), run(" ", plain()), run("Next-->INSTALLX", struck())}),
    });
    EXPECT_EQ(d, expected);
}

TEST(SearchJumps, FindsWithoutReplacingOutsideHotspotsAndJudgesByTheFirstCharacter)
{
    RichDocument outside = doc({para({run("a>SETUP and -->SETUP", plain())})});
    const RichDocument before = outside;
    EXPECT_TRUE(SearchJumps(outside, QStringLiteral("SETUP"), QStringLiteral("INSTALL"), false));
    EXPECT_EQ(outside, before);

    // µ has no capital in the code page, so a stored ID keeps it and a
    // link typed in lower case still finds it.
    RichDocument micro = doc({para({ts::Run{QStringLiteral("-->\u00B5code"), struck()}})});
    EXPECT_TRUE(SearchJumps(micro, QStringLiteral("\u00B5CODE"), QStringLiteral("MICRO"), false));
    EXPECT_EQ(micro, doc({para({run("-->MICRO", struck())})}));

    RichDocument absent = doc({para({run("Nothing-->ELSE", struck())})});
    EXPECT_FALSE(SearchJumps(absent, QStringLiteral("SETUP"), QStringLiteral("INSTALL"), false));

    // The occurrence starts in a struck-out run and ends in a plain one: the
    // whole of it is replaced in the struck-out format.
    RichDocument straddling = doc({para({run("x-->SE", struck()), run("TUP tail", plain())})});
    EXPECT_TRUE(SearchJumps(straddling, QStringLiteral("SETUP"), QStringLiteral("INSTALL"), false));
    EXPECT_EQ(straddling, doc({para({run("x-->INSTALL", struck()), run(" tail", plain())})}));

    // Starting in plain text leaves it, although the rest is struck out.
    RichDocument plainStart = doc({para({run("x>", plain()), run("SETUP", struck())})});
    const RichDocument plainBefore = plainStart;
    EXPECT_TRUE(SearchJumps(plainStart, QStringLiteral("SETUP"), QStringLiteral("INSTALL"), false));
    EXPECT_EQ(plainStart, plainBefore);
}

TEST(SearchJumps, WindowModeComparesExactlyAndNeverSearchesTheReplacementAgain)
{
    // Deleting window "m": each >m inside a hotspot becomes >main once, even
    // though >main itself holds >m; >M is another name.
    RichDocument d = doc({para({run("A-->T>m B-->U>M C-->V>m", struck())}), para({run("x>m", plain())})});
    EXPECT_TRUE(SearchJumps(d, QStringLiteral(">m"), QStringLiteral(">main"), true));
    EXPECT_EQ(d, doc({para({run("A-->T>main B-->U>M C-->V>main", struck())}), para({run("x>m", plain())})}));

    // Deleting "pop" also rewrites the start of "popup".
    RichDocument p = doc({para({run("-->SETUP>pop -->SETUP>popup", underlined())})});
    EXPECT_TRUE(SearchJumps(p, QStringLiteral(">pop"), QStringLiteral(">main"), true));
    EXPECT_EQ(p, doc({para({run("-->SETUP>main -->SETUP>mainup", underlined())})}));

    // A move to another window touches only links that name the window.
    RichDocument moved = doc({para({run("a-->SETUP>main b-->SETUP c-->SETUP>Main", struck())})});
    EXPECT_TRUE(SearchJumps(moved, QStringLiteral("SETUP>main"), QStringLiteral("SETUP>pop"), true));
    EXPECT_EQ(moved, doc({para({run("a-->SETUP>pop b-->SETUP c-->SETUP>Main", struck())})}));

    RichDocument empty = doc({para({run("-->X", struck())})});
    EXPECT_FALSE(SearchJumps(empty, QString(), QStringLiteral(">main"), true));
}

class UpdateJumpsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
    }
    QString contentsPath() const { return dir.filePath(QStringLiteral("Demo.tsc")); }

    QTemporaryDir dir;
    Project project;
};

TEST_F(UpdateJumpsTest, RewritesExactlyTheBlocksThatHoldTheSearchedText)
{
    const QByteArray linked = RtfWriter::write(doc({para({run("Go-->SETUP", struck())})}));
    // Written by another program: a rewrite would change its bytes.
    const QByteArray plainMention("{\\rtf1\\ansi See a>SETUP here\\par}");
    const QByteArray unrelated("{\\rtf1\\ansi Nothing to see\\par}");
    project.AddTopic(topic("ONE", QByteArray(), linked));
    project.AddTopic(topic("TWO", plainMention, unrelated));
    project.AddTopic(topic("THREE", unrelated, QByteArray()));

    std::vector<int> steps;
    UpdateJumps(project, QStringLiteral("SETUP"), QStringLiteral("INSTALL"), [&](int s) { steps.push_back(s); });

    EXPECT_EQ(steps, (std::vector<int>{682, 682, 682}));
    EXPECT_TRUE(project.Topic(0).HeaderRtf.isEmpty());
    EXPECT_EQ(project.Topic(0).BodyRtf, RtfWriter::write(doc({para({run("Go-->INSTALL", struck())})})));
    // Found but not in a hotspot: same text, written back in our own form.
    EXPECT_EQ(project.Topic(1).HeaderRtf, RtfWriter::write(RtfReader::read(plainMention)));
    EXPECT_NE(project.Topic(1).HeaderRtf, plainMention);
    EXPECT_EQ(project.Topic(1).BodyRtf, unrelated);
    EXPECT_EQ(project.Topic(2).HeaderRtf, unrelated);
    EXPECT_FALSE(QFile::exists(contentsPath())); // no contents file, none made
}

TEST_F(UpdateJumpsTest, TopicIdRenameRewritesTheFirstEqualsOccurrenceOfEachContentsEntry)
{
    const QString tail = QString(400, QLatin1Char('x'));
    writeAll(contentsPath(), QByteArray("SETUP book\r\n\tSetup=SETUP\r\n\tTwice=SETUP and =SETUP\r\n"
                                        "\tLower=setup\r\n\t\tLong=SETUP>win ") +
                                 tail.toLatin1() + "\r\n");
    project.AddTopic(topic("ONE", QByteArray(), QByteArray()));

    UpdateJumps(project, QStringLiteral("SETUP"), QStringLiteral("INSTALL"));

    EXPECT_EQ(readAll(contentsPath()), QByteArray("SETUP book\r\n\tSetup=INSTALL\r\n\tTwice=INSTALL and =SETUP\r\n"
                                                  "\tLower=setup\r\n\t\tLong=INSTALL>win ") +
                                           tail.toLatin1() + "\r\n");
    EXPECT_FALSE(project.WindowLinkMode);
}

TEST_F(UpdateJumpsTest, WindowDeletionRewritesTopicsAndContentsAndClearsTheFlag)
{
    project.AddTopic(topic("ONE", RtfWriter::write(doc({para({run("Head-->T>OLDWIN", underlined())})})),
                           RtfWriter::write(doc({para({run("Go-->T>OLDWIN", struck()), run(" >OLDWIN", plain())})}))));
    writeAll(contentsPath(), "Page=T>OLDWIN\r\nOther=OLDWIN\r\n");
    project.WindowLinkMode = true;

    UpdateJumps(project, QStringLiteral(">OLDWIN"), QStringLiteral(">main"));

    EXPECT_FALSE(project.WindowLinkMode);
    EXPECT_EQ(project.Topic(0).HeaderRtf, RtfWriter::write(doc({para({run("Head-->T>main", underlined())})})));
    EXPECT_EQ(project.Topic(0).BodyRtf,
              RtfWriter::write(doc({para({run("Go-->T>main", struck()), run(" >OLDWIN", plain())})})));
    // No "=" in front in window mode, and the comparison is exact.
    EXPECT_EQ(readAll(contentsPath()), QByteArray("Page=T>main\r\nOther=OLDWIN\r\n"));
}

TEST_F(UpdateJumpsTest, ABadContentsFileIsReportedAndLeftAsItWasAfterTheTopicsAreDone)
{
    const QByteArray bad("Top=SETUP\r\n\t\t\tToo deep=SETUP\r\n");
    writeAll(contentsPath(), bad);
    project.AddTopic(topic("ONE", QByteArray(), RtfWriter::write(doc({para({run("-->SETUP", struck())})}))));

    try {
        UpdateJumps(project, QStringLiteral("SETUP"), QStringLiteral("INSTALL"));
        FAIL() << "no error for a bad contents file";
    } catch (const ContentsLevelError& e) {
        EXPECT_TRUE(e.message().contains(contentsPath())) << e.message().toStdString();
        EXPECT_EQ(e.line(), 2);
    }
    EXPECT_EQ(readAll(contentsPath()), bad); // not cut down to the lines read
    EXPECT_EQ(project.Topic(0).BodyRtf, RtfWriter::write(doc({para({run("-->INSTALL", struck())})})));
}
