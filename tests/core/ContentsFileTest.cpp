#include "contents/ContentsEntry.h"
#include "contents/ContentsFile.h"
#include "model/Project.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;

namespace {

// "level text" for every entry in pre-order: a compact picture of the tree.
QStringList shape(const ContentsTree& tree)
{
    QStringList out;
    for (const ContentsNode& n : contentsNodes(tree))
        out << QString::number(n.Level) + QLatin1Char(' ') + n.Entry->Text;
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ContentsFile, ReaderIgnoresKindsAndWriterGivesTheSameBytes)
{
    const QByteArray file("Intro=INTRO\r\n\tBook\r\n\t\tPage=PAGE>pop\r\n");
    const auto result = ContentsFile::parse(file);
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.Tree.size(), 1u);
    const ContentsEntry& top = result.Tree[0];
    EXPECT_EQ(top.Kind, ContentsKind::Topic);
    ASSERT_EQ(top.Children.size(), 1u);
    EXPECT_EQ(top.Children[0].Text, QStringLiteral("Book"));
    EXPECT_EQ(top.Children[0].Kind, ContentsKind::Heading);
    ASSERT_EQ(top.Children[0].Children.size(), 1u);
    EXPECT_EQ(top.Children[0].Children[0].Kind, ContentsKind::Topic);
    EXPECT_EQ(contentsNodeCount(result.Tree), 3);
    EXPECT_EQ(ContentsFile::serialize(result.Tree), file);
}

TEST(ContentsFile, LevelsWalkUpAndDownThePath)
{
    const auto result = ContentsFile::parse("A\r\n\tA1\r\n\t\tA1a\r\n\tA2\r\nB\r\n\tB1\r\n\t\tB1a\r\nC\r\n");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(shape(result.Tree), (QStringList{QStringLiteral("0 A"), QStringLiteral("1 A1"), QStringLiteral("2 A1a"),
                                               QStringLiteral("1 A2"), QStringLiteral("0 B"), QStringLiteral("1 B1"),
                                               QStringLiteral("2 B1a"), QStringLiteral("0 C")}));
    // A first line at level 1 goes to the top; its level-1 successor is its child.
    const auto indented = ContentsFile::parse("\tFirst\r\n\tSecond\r\n");
    ASSERT_TRUE(indented.ok());
    EXPECT_EQ(shape(indented.Tree), (QStringList{QStringLiteral("0 First"), QStringLiteral("1 Second")}));
}

TEST(ContentsFile, ALineTooDeepIsPlacedAsDeepAsItMayGoAndReported)
{
    // Four blanks are four levels, not one.
    auto r = ContentsFile::parse("Top\r\n    Deep\r\nNext\r\n");
    EXPECT_EQ(r.BadLine, 2);
    EXPECT_EQ(shape(r.Tree), (QStringList{QStringLiteral("0 Top"), QStringLiteral("1 Deep"), QStringLiteral("0 Next")}));
    EXPECT_EQ(r.repairMessage(), QStringLiteral("Line 2 'Deep' had an invalid level and was moved to level 1"));
    // One level deeper than the line before is fine; two is one too many.
    r = ContentsFile::parse("A\r\n\tB\r\n\t\tC\r\n\t\t\t\tD\r\n");
    EXPECT_EQ(r.BadLine, 4);
    EXPECT_EQ(shape(r.Tree), (QStringList{QStringLiteral("0 A"), QStringLiteral("1 B"), QStringLiteral("2 C"),
                                          QStringLiteral("3 D")}));

    r = ContentsFile::parse("\t\tFirst at level two\r\n\tSecond\r\n");
    EXPECT_EQ(shape(r.Tree), (QStringList{QStringLiteral("0 First at level two"), QStringLiteral("1 Second")}));
    EXPECT_EQ(r.repairMessage(),
              QStringLiteral("Line 1 'First at level two' had an invalid level and was moved to level 0"));

    // Later lines keep their own levels below the repaired one; every repair
    // is named, with the line counted in the file.
    r = ContentsFile::parse("A\r\n\tB\r\n\t\t\t\tDeep=B\r\n\t\t\tUnder=U\r\n\x1a\r\n\t\t\t\t\t\tDeeper\r\n\tC\r\n");
    EXPECT_EQ(shape(r.Tree), (QStringList{QStringLiteral("0 A"), QStringLiteral("1 B"), QStringLiteral("2 Deep=B"),
                                          QStringLiteral("3 Under=U"), QStringLiteral("4 Deeper"),
                                          QStringLiteral("1 C")}));
    EXPECT_EQ(r.repairMessage(), QStringLiteral("Line 3 'Deep=B' had an invalid level and was moved to level 2\n"
                                                "Line 6 'Deeper' had an invalid level and was moved to level 4"));
    EXPECT_EQ(r.BadLine, 3); // the first of them
    // Written back, the repaired tree reads without repairs.
    EXPECT_TRUE(ContentsFile::parse(ContentsFile::serialize(r.Tree)).ok());
}

TEST(ContentsFile, LineEndsCtrlZEmptyLinesAndNul)
{
    // LF and lone CR end lines like CR LF; the written file has CR LF.
    auto r = ContentsFile::parse("One\n\tTwo\rThree");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(shape(r.Tree), (QStringList{QStringLiteral("0 One"), QStringLiteral("1 Two"), QStringLiteral("0 Three")}));
    EXPECT_EQ(ContentsFile::serialize(r.Tree), QByteArray("One\r\n\tTwo\r\nThree\r\n"));

    // An empty line is a top-level heading without text; a final line end
    // adds no entry; a lone Ctrl-Z line is skipped, Ctrl-Z with text is not.
    r = ContentsFile::parse("A\r\n\r\n\x1a\r\n\x1aX\r\n\x1a");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(shape(r.Tree), (QStringList{QStringLiteral("0 A"), QStringLiteral("0 "), QStringLiteral("0 \x1aX")}));
    EXPECT_EQ(r.Tree[1].Kind, ContentsKind::Heading);
    // Indented, a lone Ctrl-Z is skipped too: as the first line it would
    // otherwise come to the top, where it could not be written back.
    r = ContentsFile::parse("\t\x1a\r\nB\r\n\t\x1a\r\n");
    EXPECT_EQ(shape(r.Tree), QStringList{QStringLiteral("0 B")});
    EXPECT_EQ(ContentsFile::parse(ContentsFile::serialize(r.Tree)).Tree, r.Tree);

    // A NUL byte ends the text.
    r = ContentsFile::parse(QByteArray("A\r\nB\0\r\nC\r\n", 10));
    EXPECT_EQ(shape(r.Tree), (QStringList{QStringLiteral("0 A"), QStringLiteral("0 B")}));

    EXPECT_TRUE(ContentsFile::parse(QByteArray()).Tree.empty());
}

TEST(ContentsFile, TextThatWouldNotReadBackIsRefused)
{
    const auto refusal = [](const QString& text) { return ContentsFile::entryTextRefusal(text).value_or(QString()); };
    EXPECT_EQ(refusal(QStringLiteral("\x1a")), QStringLiteral("An entry cannot consist of the character Ctrl-Z alone."));
    EXPECT_EQ(refusal(QStringLiteral(" Intro=INTRO")), QStringLiteral("An entry cannot begin with a blank or a TAB."));
    EXPECT_EQ(refusal(QStringLiteral("\tIntro")), QStringLiteral("An entry cannot begin with a blank or a TAB."));
    EXPECT_EQ(refusal(QStringLiteral("Two\nlines")), QStringLiteral("An entry cannot hold a line break."));
    EXPECT_EQ(refusal(QStringLiteral("\u0416uk")), QStringLiteral("An entry cannot hold the character '\u0416'."));
    for (const QString& fine : {QStringLiteral("\x1aX"), QString(), QStringLiteral("Caf\u00e9 = \u20ac "),
                                QStringLiteral("Title=ID@f.hlp>w")})
        EXPECT_EQ(refusal(fine), QString()) << fine.toStdString();
}

TEST(ContentsFile, TextIsKeptWholeWithTrailingBlanksAndAnsiBytes)
{
    const QByteArray longTitle(700, 'x');
    const QByteArray file = "Caf\xe9 \x80  \r\n" + longTitle + "=ID@other.hlp>" + QByteArray(600, 'w') + "\r\n";
    const auto r = ContentsFile::parse(file);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.Tree[0].Text, QStringLiteral("Caf\u00e9 \u20ac  "));
    EXPECT_EQ(r.Tree[1].Text.size(), 700 + 14 + 600);
    EXPECT_EQ(ContentsFile::serialize(r.Tree), file);
}

TEST(ContentsFile, LoadAndSaveNameTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Demo.tsc"));
    EXPECT_THROW(
        {
            try {
                ContentsFile::load(path);
            } catch (const IoError& e) {
                EXPECT_TRUE(e.message().contains(path)) << e.what();
                throw;
            }
        },
        IoError);

    ContentsTree tree;
    tree.push_back(ContentsEntry{QStringLiteral("Book"), ContentsKind::Heading, {}, true});
    tree[0].Children.push_back(ContentsEntry{QStringLiteral("Page=PAGE"), ContentsKind::Topic, {}, false});
    ContentsFile::save(tree, path);
    EXPECT_EQ(readAll(path), QByteArray("Book\r\n\tPage=PAGE\r\n"));
    ContentsTree back = ContentsFile::load(path);
    tree[0].Expanded = false; // display state is not stored
    EXPECT_EQ(back, tree);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("A\r\n\t\t\tC\r\n");
    f.close();
    try {
        ContentsFile::load(path);
        FAIL() << "a bad level must not load";
    } catch (const ContentsLevelError& e) {
        EXPECT_EQ(ContentsLevelError::text(), QStringLiteral("Invalid item level assignment"));
        EXPECT_TRUE(e.message().contains(QStringLiteral("Invalid item level assignment")));
        EXPECT_TRUE(e.message().contains(path));
        EXPECT_EQ(e.line(), 2);
        EXPECT_EQ(contentsNodeCount(e.entriesRead()), 2);
    }
    const auto read = ContentsFile::read(path);
    EXPECT_EQ(contentsNodeCount(read.Tree), 2);
    EXPECT_EQ(read.repairMessage(), QStringLiteral("Line 2 'C' had an invalid level and was moved to level 1"));

    EXPECT_THROW(ContentsFile::save(tree, dir.filePath(QStringLiteral("missing/Demo.tsc"))), IoError);
}

TEST(ContentsNotation, SplitsAtTheFirstSignsAndComposesBack)
{
    struct Case {
        const char *text, *title, *id, *file, *window;
    } cases[] = {
        {"Printing=PRINTING", "Printing", "PRINTING", "", "main"},
        {"Printing=PRINTING>pop", "Printing", "PRINTING", "", "pop"},
        {"Other=OTHER@other.hlp", "Other", "OTHER", "other.hlp", "main"},
        {"Other=OTHER@other.hlp>win", "Other", "OTHER", "other.hlp", "win"},
        {"Just a heading", "Just a heading", "", "", ""},
        // A title holding a sign can't be represented: the first sign splits.
        {"a>b=ID", "a>b", "", "", "b=ID"},
    };
    for (const Case& c : cases) {
        const ContentsEntryParts p = splitContentsText(QString::fromLatin1(c.text));
        EXPECT_EQ(p.Title, QString::fromLatin1(c.title)) << c.text;
        EXPECT_EQ(p.TopicId, QString::fromLatin1(c.id)) << c.text;
        EXPECT_EQ(p.HelpFile, QString::fromLatin1(c.file)) << c.text;
        EXPECT_EQ(p.Window, QString::fromLatin1(c.window)) << c.text;
        if (QByteArray(c.id).size() > 0) {
            EXPECT_EQ(composeContentsText(p, true), QString::fromLatin1(c.text));
        }
    }
    // Long parts are kept whole.
    const QString window(600, QLatin1Char('w')), id(400, QLatin1Char('I'));
    const ContentsEntryParts p = splitContentsText(QStringLiteral("T=") + id + QLatin1Char('>') + window);
    EXPECT_EQ(p.TopicId, id);
    EXPECT_EQ(p.Window, window);

    // "main" gets no suffix, "Main" does; without the trigger's condition none.
    ContentsEntryParts parts{QStringLiteral("T"), QStringLiteral("ID"), QString(), QStringLiteral("Main")};
    EXPECT_EQ(composeContentsText(parts, true), QStringLiteral("T=ID>Main"));
    EXPECT_EQ(composeContentsText(parts, false), QStringLiteral("T=ID"));
    parts.Window = QStringLiteral("main");
    EXPECT_EQ(composeContentsText(parts, true), QStringLiteral("T=ID"));
}

// Contents waiting for the project's Save stand for the file; empty ones are
// a project whose entries were all deleted, and the Save deletes the file.
TEST(ContentsFile, PendingContentsStandForTheFileUntilTheSave)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
    const QString path = ContentsFile::pathFor(project);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Old=OLD\r\n");
    f.close();

    project.PendingContents = QByteArray("New=NEW\r\n");
    EXPECT_TRUE(ContentsFile::existsFor(project));
    EXPECT_EQ(shape(ContentsFile::loadFor(project)), QStringList{QStringLiteral("0 New=NEW")});
    EXPECT_EQ(readAll(path), QByteArray("Old=OLD\r\n"));

    project.PendingContents = ContentsFile::serialize(ContentsTree());
    EXPECT_FALSE(ContentsFile::existsFor(project));
    EXPECT_TRUE(ContentsFile::readFor(project).Tree.empty());
    ContentsFile::savePending(project);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(project.PendingContents);
    // Nothing to delete is no failure.
    project.PendingContents = QByteArray();
    EXPECT_NO_THROW(ContentsFile::savePending(project));
    EXPECT_FALSE(QFile::exists(path));
}
