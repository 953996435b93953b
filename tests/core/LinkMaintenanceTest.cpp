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

TopicRecord topic(const char* id, QByteArray header, QByteArray body)
{
    TopicRecord t;
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

TEST(RenameInLinks, RenamesTargetsInJumpsAndPopupsOnlyKeepingTheirFormat)
{
    RichDocument d = doc({
        para({run("Start here-->SETUP", struck(true)), run(" then a>SETUP as text ", plain()),
              run("Pop-->SETUP", underlined())}),
        para({run("Guide-->setup", struck()), run(" ", plain()), run("Next-->SETUPX", struck())}),
    });
    EXPECT_EQ(renameInLinks(d, topicIdRename(QStringLiteral("SETUP"), QStringLiteral("INSTALL"))), 3);
    const RichDocument expected = doc({
        para({run("Start here-->INSTALL", struck(true)), run(" then a>SETUP as text ", plain()),
              run("Pop-->INSTALL", underlined())}),
        // Typed in lower case, found through the upper-cased name; SETUPX is
        // another name and stays.
        para({run("Guide-->INSTALL", struck()), run(" ", plain()), run("Next-->SETUPX", struck())}),
    });
    EXPECT_EQ(d, expected);
}

TEST(RenameInLinks, RewritesOnlyWholeTopicIdsAtTheirPlaceInTheMarkup)
{
    const LinkRename intro = topicIdRename(QStringLiteral("INTRO"), QStringLiteral("X"));
    RichDocument d = doc({
        para({run("a-->INTRO2 b-->INTRO_OLD c-->XSETUP>main d-->INTRO>popup e-->INTRO", struck()),
              run(" INTRO and -->INTRO in plain text", plain())}),
        // A window that happens to share the ID's letters, a link into another
        // help file and a macro are none of the topic's business.
        // A macro runs to the end of its hotspot, blanks included.
        para({run("f-->MAIN>INTRO g-->INTRO@other.hlp h-->!JumpId(x.hlp, INTRO)", underlined()), run(" ", plain()),
              run("i-->intro", underlined())}),
    });
    EXPECT_EQ(renameInLinks(d, intro), 3);
    EXPECT_EQ(d, doc({
                     para({run("a-->INTRO2 b-->INTRO_OLD c-->XSETUP>main d-->X>popup e-->X", struck()),
                           run(" INTRO and -->INTRO in plain text", plain())}),
                     para({run("f-->MAIN>INTRO g-->INTRO@other.hlp h-->!JumpId(x.hlp, INTRO)", underlined()),
                           run(" ", plain()), run("i-->X", underlined())}),
                 }));

    // A name ends where the hotspot ends; one that starts outside it is plain text.
    RichDocument edges = doc({para({run("x-->INTRO", struck()), run("2 tail", plain())}),
                              para({run("x-->", plain()), run("INTRO", struck())}),
                              para({run("x-->", struck()), run("INTRO", plain())})});
    EXPECT_EQ(renameInLinks(edges, intro), 2);
    EXPECT_EQ(edges, doc({para({run("x-->X", struck()), run("2 tail", plain())}),
                          para({run("x-->", plain()), run("X", struck())}),
                          para({run("x-->", struck()), run("INTRO", plain())})}));

    // µ has no capital in the code page, so a stored ID keeps it and a link
    // typed in lower case still finds it.
    RichDocument micro = doc({para({ts::Run{QStringLiteral("-->\u00B5code"), struck()}})});
    EXPECT_EQ(renameInLinks(micro, topicIdRename(QStringLiteral("\u00B5CODE"), QStringLiteral("MICRO"))), 1);
    EXPECT_EQ(micro, doc({para({run("-->MICRO", struck())})}));
}

TEST(RenameInLinks, WindowChangesRewriteOnlyWholeWindowNames)
{
    // Deleting window "m": each >m becomes >main; >M, >main and >mx are other names.
    RichDocument d = doc({para({run("A-->T>m B-->U>M C-->V>m D-->m E-->W>mx", struck())}),
                          para({run("x-->T>m", plain())})});
    EXPECT_EQ(renameInLinks(d, windowRename(QStringLiteral("m"), QStringLiteral("main"))), 2);
    EXPECT_EQ(d, doc({para({run("A-->T>main B-->U>M C-->V>main D-->m E-->W>mx", struck())}),
                      para({run("x-->T>m", plain())})}));

    // Deleting "pop" leaves "popup", a topic called POP and a macro alone.
    RichDocument p = doc({para({run("-->SETUP>pop -->SETUP>popup -->POP -->!Pop(x>pop)", underlined())})});
    EXPECT_EQ(renameInLinks(p, windowRename(QStringLiteral("pop"), QStringLiteral("main"))), 1);
    EXPECT_EQ(p, doc({para({run("-->SETUP>main -->SETUP>popup -->POP -->!Pop(x>pop)", underlined())})}));

    // A move to another window touches only the moved topic's links that name
    // the old window; a topic called MAIN is not the window main.
    RichDocument moved = doc({para({run("a-->setup>main b-->SETUP c-->SETUP>Main d-->SETUPX>main e-->MAIN", struck())})});
    EXPECT_EQ(renameInLinks(moved, topicWindowMove(QStringLiteral("SETUP"), QStringLiteral("main"), QStringLiteral("pop"))), 1);
    EXPECT_EQ(moved, doc({para({run("a-->setup>pop b-->SETUP c-->SETUP>Main d-->SETUPX>main e-->MAIN", struck())})}));
}

TEST(RenameInContentsEntry, RewritesWholeNamesExactly)
{
    const LinkRename intro = topicIdRename(QStringLiteral("INTRO"), QStringLiteral("X"));
    const auto renamed = [](const char* text, const LinkRename& r) {
        return renameInContentsEntry(QString::fromLatin1(text), r).toStdString();
    };
    EXPECT_EQ(renamed("Intro=INTRO", intro), "Intro=X");
    EXPECT_EQ(renamed("Intro=INTRO>popup", intro), "Intro=X>popup");
    EXPECT_EQ(renamed("Two=INTRO2", intro), "Two=INTRO2");
    EXPECT_EQ(renamed("Old=INTRO_OLD>INTRO", intro), "Old=INTRO_OLD>INTRO");
    EXPECT_EQ(renamed("Lower=intro", intro), "Lower=intro");
    EXPECT_EQ(renamed("Elsewhere=INTRO@other.hlp", intro), "Elsewhere=INTRO@other.hlp");
    EXPECT_EQ(renamed("INTRO book", intro), "INTRO book");

    const LinkRename pop = windowRename(QStringLiteral("pop"), QStringLiteral("main"));
    EXPECT_EQ(renamed("A=T>pop", pop), "A=T>main");
    EXPECT_EQ(renamed("A=T>popup", pop), "A=T>popup");
    EXPECT_EQ(renamed("A=pop", pop), "A=pop");
    EXPECT_EQ(renamed("A=T@f.hlp>pop", pop), "A=T@f.hlp>pop");

    const LinkRename move = topicWindowMove(QStringLiteral("MAIN"), QStringLiteral("main"), QStringLiteral("pop"));
    EXPECT_EQ(renamed("A=MAIN>main", move), "A=MAIN>pop");
    EXPECT_EQ(renamed("A=MAINX>main", move), "A=MAINX>main");
    EXPECT_EQ(renamed("A=MAIN", move), "A=MAIN");
}

class UpdateLinksTest : public ::testing::Test {
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

TEST_F(UpdateLinksTest, RewritesExactlyTheBlocksWhereANameChanged)
{
    const QByteArray linked = RtfWriter::write(doc({para({run("Go-->SETUP", struck())})}));
    // Written by another program: a rewrite would change its bytes.
    const QByteArray plainMention("{\\rtf1\\ansi See a>SETUP here\\par}");
    const QByteArray unrelated("{\\rtf1\\ansi Nothing to see-->SETUPX\\par}");
    project.addTopic(topic("ONE", QByteArray(), linked));
    project.addTopic(topic("TWO", plainMention, unrelated));
    project.addTopic(topic("THREE", unrelated, QByteArray()));

    std::vector<int> steps;
    updateLinks(project, topicIdRename(QStringLiteral("SETUP"), QStringLiteral("INSTALL")),
                [&](int s) { steps.push_back(s); });

    EXPECT_EQ(steps, (std::vector<int>{682, 682, 682}));
    EXPECT_TRUE(project.topic(0).HeaderRtf.isEmpty());
    EXPECT_EQ(project.topic(0).BodyRtf, RtfWriter::write(doc({para({run("Go-->INSTALL", struck())})})));
    // Mentioned but not as a link: the bytes stay as they were.
    EXPECT_EQ(project.topic(1).HeaderRtf, plainMention);
    EXPECT_EQ(project.topic(1).BodyRtf, unrelated);
    EXPECT_EQ(project.topic(2).HeaderRtf, unrelated);
    EXPECT_FALSE(QFile::exists(contentsPath())); // no contents file, none made
}

TEST_F(UpdateLinksTest, TopicIdRenameRewritesTheContentsEntriesThatNameIt)
{
    const QString tail = QString(400, QLatin1Char('x'));
    writeAll(contentsPath(), QByteArray("SETUP book\r\n\tSetup=SETUP\r\n\tSetupX=SETUPX\r\n"
                                        "\tLower=setup\r\n\t\tLong=SETUP>win ") +
                                 tail.toLatin1() + "\r\n");
    const QByteArray before = readAll(contentsPath());
    project.addTopic(topic("ONE", QByteArray(), QByteArray()));

    updateLinks(project, topicIdRename(QStringLiteral("SETUP"), QStringLiteral("INSTALL")));

    const QByteArray renamed = QByteArray("SETUP book\r\n\tSetup=INSTALL\r\n\tSetupX=SETUPX\r\n"
                                          "\tLower=setup\r\n\t\tLong=INSTALL>win ") +
                               tail.toLatin1() + "\r\n";
    // The file waits for the project's Save; the commands see the new entries.
    EXPECT_EQ(readAll(contentsPath()), before);
    EXPECT_EQ(ContentsFile::bytesFor(project), renamed);
    // A second rename starts from the pending entries.
    updateLinks(project, topicIdRename(QStringLiteral("INSTALL"), QStringLiteral("INSTALL2")));
    EXPECT_EQ(ContentsFile::bytesFor(project), QByteArray(renamed).replace("=INSTALL", "=INSTALL2"));
    ContentsFile::savePending(project);
    EXPECT_EQ(readAll(contentsPath()), QByteArray(renamed).replace("=INSTALL", "=INSTALL2"));
    EXPECT_FALSE(project.PendingContents);

    // Nothing to rewrite: nothing waits, and the file keeps its own line ends.
    writeAll(contentsPath(), "Other=OTHER\n");
    updateLinks(project, topicIdRename(QStringLiteral("SETUP"), QStringLiteral("INSTALL")));
    EXPECT_FALSE(project.PendingContents);
    EXPECT_EQ(readAll(contentsPath()), QByteArray("Other=OTHER\n"));
}

TEST_F(UpdateLinksTest, WindowDeletionRewritesTopicsAndContents)
{
    project.addTopic(topic("ONE", RtfWriter::write(doc({para({run("Head-->T>OLDWIN", underlined())})})),
                           RtfWriter::write(doc({para({run("Go-->T>OLDWIN", struck()), run(" >OLDWIN", plain())})}))));
    writeAll(contentsPath(), "Page=T>OLDWIN\r\nOther=OLDWIN\r\nLonger=T>OLDWIN2\r\n");

    updateLinks(project, windowRename(QStringLiteral("OLDWIN"), QStringLiteral("main")));

    EXPECT_EQ(project.topic(0).HeaderRtf, RtfWriter::write(doc({para({run("Head-->T>main", underlined())})})));
    EXPECT_EQ(project.topic(0).BodyRtf,
              RtfWriter::write(doc({para({run("Go-->T>main", struck()), run(" >OLDWIN", plain())})})));
    // Only the window part of an entry, whole.
    EXPECT_EQ(ContentsFile::bytesFor(project), QByteArray("Page=T>main\r\nOther=OLDWIN\r\nLonger=T>OLDWIN2\r\n"));

    // A topic moved from "main" to "pop".
    project.topic(0).BodyRtf = RtfWriter::write(doc({para({run("-->T>main -->MAIN>main", struck())})}));
    updateLinks(project, topicWindowMove(QStringLiteral("T"), QStringLiteral("main"), QStringLiteral("pop")));
    EXPECT_EQ(project.topic(0).BodyRtf, RtfWriter::write(doc({para({run("-->T>pop -->MAIN>main", struck())})})));
}

TEST_F(UpdateLinksTest, ABadContentsFileIsReportedAndLeftAsItWasAfterTheTopicsAreDone)
{
    const QByteArray bad("Top=SETUP\r\n\t\t\tToo deep=SETUP\r\n");
    writeAll(contentsPath(), bad);
    project.addTopic(topic("ONE", QByteArray(), RtfWriter::write(doc({para({run("-->SETUP", struck())})}))));

    try {
        updateLinks(project, topicIdRename(QStringLiteral("SETUP"), QStringLiteral("INSTALL")));
        FAIL() << "no error for a bad contents file";
    } catch (const ContentsLevelError& e) {
        EXPECT_TRUE(e.message().contains(contentsPath())) << e.message().toStdString();
        EXPECT_EQ(e.line(), 2);
    }
    EXPECT_EQ(readAll(contentsPath()), bad); // not cut down to the lines read
    EXPECT_EQ(project.topic(0).BodyRtf, RtfWriter::write(doc({para({run("-->INSTALL", struck())})})));
}

TEST_F(UpdateLinksTest, CountsTheLinksThatADeletionWouldLeaveDangling)
{
    project.addTopic(topic("INSTALL", QByteArray(), RtfWriter::write(doc({para({run("Self-->INSTALL", struck())})}))));
    project.addTopic(topic("A", RtfWriter::write(doc({para({run("Up-->install", underlined())})})),
                           RtfWriter::write(doc({para({run("Go-->INSTALL>main", struck()), run(" and ", plain()),
                                                       run("-->INSTALL2", struck())})}))));
    project.addTopic(topic("B", QByteArray(), RtfWriter::write(doc({para({run("-->INSTALL@other.hlp -->INSTALL", struck())})}))));
    project.addTopic(topic("C", QByteArray(), RtfWriter::write(doc({para({run("Mentions -->INSTALL", plain())})}))));

    // Its own link goes with it; another file's topic and plain text are no links.
    EXPECT_EQ(countLinksTo(project, 0).deleteQuestion(QStringLiteral("INSTALL")),
              QStringLiteral("3 links in 2 topics open INSTALL. Delete it anyway?"));
    writeAll(contentsPath(), "Book\r\n\tInstall=INSTALL\r\n\tElsewhere=INSTALL@other.hlp\r\n");
    const LinksToTopic withContents = countLinksTo(project, 0);
    EXPECT_EQ(withContents.deleteQuestion(QStringLiteral("INSTALL")),
              QStringLiteral("3 links in 2 topics and 1 contents entry open INSTALL. Delete it anyway?"));
    EXPECT_EQ(countLinksTo(project, 3).deleteQuestion(QStringLiteral("C")), QString());
    EXPECT_EQ((LinksToTopic{1, 1, 0}).deleteQuestion(QStringLiteral("X")),
              QStringLiteral("1 link in 1 topic opens X. Delete it anyway?"));
    EXPECT_EQ((LinksToTopic{0, 0, 2}).deleteQuestion(QStringLiteral("X")),
              QStringLiteral("2 contents entries open X. Delete it anyway?"));
}
