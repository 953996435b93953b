#include "contents/ContentsEditing.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace ts;

namespace {

ContentsEntry heading(const QString& text, std::vector<ContentsEntry> children = {})
{
    ContentsEntry e{text, ContentsKind::Heading, std::move(children), false};
    return e;
}

ContentsEntry topic(const QString& text)
{
    return ContentsEntry{text, ContentsKind::Topic, {}, false};
}

// "level text" for every entry in pre-order.
QStringList shape(const ContentsTree& tree)
{
    QStringList out;
    for (const ContentsNode& n : contentsNodes(tree))
        out << QString::number(n.Level) + QLatin1Char(' ') + n.Entry->Text;
    return out;
}

// H1 { a=A, b=B }, H2 { H3 { c=C } }, d=D
ContentsTree sample()
{
    return {heading(QStringLiteral("H1"), {topic(QStringLiteral("a=A")), topic(QStringLiteral("b=B"))}),
            heading(QStringLiteral("H2"), {heading(QStringLiteral("H3"), {topic(QStringLiteral("c=C"))})}),
            topic(QStringLiteral("d=D"))};
}

} // namespace

TEST(ContentsEditing, DropOnTopicEntryAppendsAtTheEndOfItsLevel)
{
    ContentsTree tree = sample();
    // On the first child of H1: after H1's last child, not next to the target.
    const ContentsPath p = insertContentsEntry(tree, {0, 0}, topic(QStringLiteral("n=N")), ContentsPlacement::OnThisLevel);
    EXPECT_EQ(p, (ContentsPath{0, 2}));
    EXPECT_EQ(contentsAt(tree, p)->Text, QStringLiteral("n=N"));
    EXPECT_FALSE(contentsDropAsks(*contentsAt(tree, {0, 0})));
    EXPECT_TRUE(contentsDropAsks(*contentsAt(tree, {0})));

    // On a top-level entry: at the end of the top level.
    EXPECT_EQ(insertContentsEntry(tree, {0}, heading(QStringLiteral("T")), ContentsPlacement::OnThisLevel),
              (ContentsPath{3}));
}

TEST(ContentsEditing, DropAsChildExpandsOnlyTheTarget)
{
    ContentsTree tree = sample();
    const ContentsPath p = insertContentsEntry(tree, {1}, topic(QStringLiteral("n")), ContentsPlacement::AsChild);
    EXPECT_EQ(p, (ContentsPath{1, 1}));
    EXPECT_TRUE(tree[1].Expanded);
    EXPECT_FALSE(tree[1].Children[0].Expanded);
}

TEST(ContentsEditing, DropWithoutTargetGoesToTheEndOfTheTopLevel)
{
    ContentsTree empty;
    EXPECT_EQ(insertContentsEntry(empty, {}, heading(QStringLiteral("x")), ContentsPlacement::OnThisLevel),
              (ContentsPath{0}));
    ContentsTree tree = sample();
    EXPECT_EQ(insertContentsEntry(tree, {}, heading(QStringLiteral("x")), ContentsPlacement::AsChild),
              (ContentsPath{3}));
    EXPECT_EQ(insertContentsEntry(tree, {7, 1}, heading(QStringLiteral("y")), ContentsPlacement::AsChild),
              (ContentsPath{4}));
    // A path one step past the last entry of a level leads nowhere.
    const ContentsTree fresh = sample();
    EXPECT_EQ(contentsAt(fresh, {2})->Text, QStringLiteral("d=D"));
    EXPECT_EQ(contentsAt(fresh, {0, 1})->Text, QStringLiteral("b=B"));
    for (const ContentsPath& nowhere : {ContentsPath{3}, ContentsPath{0, 2}, ContentsPath{-1}, ContentsPath{3, 0}})
        EXPECT_EQ(contentsAt(fresh, nowhere), nullptr);
}

TEST(ContentsEditing, MoveGoesBeforeTheTargetUnderItsParent)
{
    // A later top-level entry into a heading.
    ContentsTree tree = sample();
    EXPECT_EQ(moveContentsEntry(tree, {2}, {0, 1}), (ContentsPath{0, 1}));
    EXPECT_EQ(shape(tree), (QStringList{QStringLiteral("0 H1"), QStringLiteral("1 a=A"), QStringLiteral("1 d=D"),
                                        QStringLiteral("1 b=B"), QStringLiteral("0 H2"), QStringLiteral("1 H3"),
                                        QStringLiteral("2 c=C")}));

    // An earlier heading, with its sub-entries, under a later one: the target
    // path shifts up by one when the heading leaves the top level.
    tree = sample();
    EXPECT_EQ(moveContentsEntry(tree, {0}, {1, 0, 0}), (ContentsPath{0, 0, 0}));
    EXPECT_EQ(shape(tree), (QStringList{QStringLiteral("0 H2"), QStringLiteral("1 H3"), QStringLiteral("2 H1"),
                                        QStringLiteral("3 a=A"), QStringLiteral("3 b=B"), QStringLiteral("2 c=C"),
                                        QStringLiteral("0 d=D")}));

    // Between siblings, forwards.
    tree = sample();
    EXPECT_EQ(moveContentsEntry(tree, {0}, {2}), (ContentsPath{1}));
    EXPECT_EQ(tree[1].Text, QStringLiteral("H1"));
    EXPECT_EQ(tree[2].Text, QStringLiteral("d=D"));
}

TEST(ContentsEditing, MoveOntoItselfOrItsOwnSubEntryChangesNothing)
{
    ContentsTree tree = sample();
    EXPECT_EQ(moveContentsEntry(tree, {1}, {1}), (ContentsPath{1}));
    EXPECT_EQ(tree, sample());
    EXPECT_EQ(moveContentsEntry(tree, {1}, {1, 0, 0}), std::nullopt);
    EXPECT_EQ(tree, sample());
    EXPECT_EQ(moveContentsEntry(tree, {9}, {1}), std::nullopt);
    EXPECT_EQ(tree, sample());
}

TEST(ContentsEditing, RemoveSelectsNextThenPreviousThenParent)
{
    ContentsTree tree = sample();
    EXPECT_EQ(removeContentsEntry(tree, {0, 0}), (ContentsPath{0, 0})); // b=B moves up
    EXPECT_EQ(removeContentsEntry(tree, {0, 0}), (ContentsPath{0}));    // H1 is left
    EXPECT_EQ(removeContentsEntry(tree, {2}), (ContentsPath{1}));       // d=D: H2 before it
    EXPECT_EQ(shape(tree), (QStringList{QStringLiteral("0 H1"), QStringLiteral("0 H2"), QStringLiteral("1 H3"),
                                        QStringLiteral("2 c=C")}));
    removeContentsEntry(tree, {1});
    EXPECT_EQ(removeContentsEntry(tree, {0}), ContentsPath{});
    EXPECT_TRUE(tree.empty());
}

TEST(ContentsEditing, TopicEntriesWithoutIdAreRemovedHeadingsStay)
{
    ContentsTree tree = {heading(QStringLiteral("Type in the title"), {topic(QStringLiteral("Type in the title")),
                                                                       topic(QStringLiteral("ok=OK"))}),
                         topic(QStringLiteral("no id")), topic(QStringLiteral("Type in the title")),
                         heading(QStringLiteral("x=y"))};
    tree[1].Children.push_back(topic(QStringLiteral("under=U")));
    EXPECT_EQ(removeTopicsWithoutId(tree), 3);
    EXPECT_EQ(shape(tree), (QStringList{QStringLiteral("0 Type in the title"), QStringLiteral("1 ok=OK"),
                                        QStringLiteral("0 x=y")}));
    EXPECT_EQ(removeTopicsWithoutId(tree), 0);
}

TEST(ContentsEditing, TopicTextNamesTheWindowUnlessItIsTheFirst)
{
    EXPECT_EQ(contentsTextForTopic(QStringLiteral("Intro"), QStringLiteral("INTRO"), 0, QStringLiteral("main")),
              QStringLiteral("Intro=INTRO"));
    EXPECT_EQ(contentsTextForTopic(QStringLiteral("Intro"), QStringLiteral("INTRO"), 2, QStringLiteral("popwin")),
              QStringLiteral("Intro=INTRO>popwin"));
    // The composed boxes: "Main" is not "main".
    ContentsEntryParts parts{QStringLiteral("T"), QStringLiteral("ID"), QString(), QStringLiteral("Main")};
    EXPECT_EQ(composeContentsText(parts, true), QStringLiteral("T=ID>Main"));
    parts.Window = QStringLiteral("main");
    EXPECT_EQ(composeContentsText(parts, true), QStringLiteral("T=ID"));
}
