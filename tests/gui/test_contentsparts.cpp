// The contents editor's parts on their own: the tree widget draws a
// ContentsTree, finds items by path, gives each entry its icon and reports
// only the user's changes; the entry boxes show an entry and compose its
// text back as each way of ending an edit asks.

#include "ContentsEntryForm.h"
#include "ContentsTreeWidget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

using namespace ts;

namespace {

ContentsEntry heading(const QString& text, std::vector<ContentsEntry> children = {})
{
    return ContentsEntry{text, ContentsKind::Heading, std::move(children), false};
}

ContentsEntry topic(const QString& text)
{
    return ContentsEntry{text, ContentsKind::Topic, {}, false};
}

// H: [a=A, Sub: [b=B]], Empty, c=C
ContentsTree sampleTree()
{
    return {heading(QStringLiteral("H"), {topic(QStringLiteral("a=A")), heading(QStringLiteral("Sub"), {topic(QStringLiteral("b=B"))})}),
            heading(QStringLiteral("Empty")), topic(QStringLiteral("c=C"))};
}

QIcon colourIcon(Qt::GlobalColor colour)
{
    QPixmap p(8, 8);
    p.fill(colour);
    return QIcon(p);
}

} // namespace

class ContentsPartsTest : public QObject {
    Q_OBJECT

private slots:
    void drawsTheTreeAndFindsItemsByPath();
    void reportsTheUsersChangesOnly();
    void entryBoxesShowAndComposeTheEntry();
};

void ContentsPartsTest::drawsTheTreeAndFindsItemsByPath()
{
    ContentsTreeWidget view;
    const QList<QIcon> icons{colourIcon(Qt::red), colourIcon(Qt::green), colourIcon(Qt::blue)};
    view.iconFor = [&icons](int index) { return icons.value(index); };
    ContentsTree tree = sampleTree();
    view.draw(tree, {0, 1, 0});

    // The selected entry is current, and the headings above it opened, in
    // the tree as on the screen.
    QCOMPARE(view.currentItem()->text(0), QStringLiteral("b=B"));
    QVERIFY(tree[0].Expanded && tree[0].Children[1].Expanded);
    QVERIFY(view.itemFor({0})->isExpanded() && view.itemFor({0, 1})->isExpanded());
    QVERIFY(!tree[1].Expanded);

    for (const ContentsPath& path : std::vector<ContentsPath>{{0}, {0, 0}, {0, 1}, {0, 1, 0}, {1}, {2}}) {
        QTreeWidgetItem* item = view.itemFor(path);
        QVERIFY(item);
        QCOMPARE(ContentsTreeWidget::pathOf(item), path);
        QCOMPARE(item->text(0), contentsAt(tree, path)->Text);
    }
    QVERIFY(!view.itemFor({3}));
    QVERIFY(!view.itemFor({1, 0}));
    QVERIFY(ContentsTreeWidget::pathOf(nullptr).empty());

    // Icons: 0 open heading, 1 topic, 2 closed heading.
    const auto iconOf = [&view](const ContentsPath& path) { return view.itemFor(path)->data(0, ContentsTreeWidget::IconRole).toInt(); };
    QCOMPARE(iconOf({0}), 0);
    QCOMPARE(iconOf({0, 0}), 1);
    QCOMPARE(iconOf({1}), 2);
    QCOMPARE(view.itemFor({1})->icon(0).cacheKey(), icons[2].cacheKey());
    QCOMPARE(view.itemFor({2})->icon(0).cacheKey(), icons[1].cacheKey());

    // Drawing anew with nothing selected leaves no current item.
    tree.erase(tree.begin());
    view.draw(tree, {});
    QCOMPARE(view.topLevelItemCount(), 2);
    QVERIFY(!view.currentItem());
}

void ContentsPartsTest::reportsTheUsersChangesOnly()
{
    ContentsTreeWidget view;
    QSignalSpy current(&view, &ContentsTreeWidget::currentEntryChanged);
    QSignalSpy expanded(&view, &ContentsTreeWidget::entryExpandedChanged);
    ContentsTree tree = sampleTree();
    view.draw(tree, {0, 1, 0});
    view.draw(tree, {2});
    QCOMPARE(current.count(), 0);
    QCOMPARE(expanded.count(), 0);

    QTreeWidgetItem* first = view.itemFor({0});
    view.setCurrentItem(first);
    QCOMPARE(current.count(), 1);
    QCOMPARE(current.at(0).at(0).value<QTreeWidgetItem*>(), first);
    QCOMPARE(current.at(0).at(1).value<QTreeWidgetItem*>(), view.itemFor({2}));
    first->setExpanded(false);
    QCOMPARE(expanded.count(), 1);
    QCOMPARE(expanded.at(0).at(1).toBool(), false);

    // The keys the dialog acts on.
    QSignalSpy moves(&view, &ContentsTreeWidget::moveKeyPressed);
    QSignalSpy levels(&view, &ContentsTreeWidget::levelKeyPressed);
    QSignalSpy deletes(&view, &ContentsTreeWidget::deletePressed);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Delete);
    QCOMPARE(moves.count(), 1);
    QCOMPARE(moves.at(0).at(0).toInt(), 1);
    QCOMPARE(levels.at(0).at(0).toInt(), -1);
    QCOMPARE(deletes.count(), 1);
}

void ContentsPartsTest::entryBoxesShowAndComposeTheEntry()
{
    QWidget dialog;
    ContentsEntryForm form(&dialog);
    dialog.setLayout(form.layout());
    form.setWindowNames({QStringLiteral("main"), QStringLiteral("popwin")});
    using Trigger = ContentsEntryForm::Trigger;

    // With no entries at all every box is empty and closed.
    form.titleEdit()->setText(QStringLiteral("left over"));
    form.show(nullptr, true);
    for (QWidget* box : form.boxes())
        QVERIFY(!box->isEnabled());
    QVERIFY(form.titleEdit()->text().isEmpty());

    // A heading: the title alone.
    const ContentsEntry h = heading(QStringLiteral("Chapter"));
    form.show(&h, false);
    QVERIFY(form.titleEdit()->isEnabled() && !form.topicIdEdit()->isEnabled() && !form.windowCombo()->isEnabled());
    form.titleEdit()->setText(QStringLiteral("Chapter 2"));
    QCOMPARE(form.composedText(Trigger::TitleLeft, ContentsKind::Heading), QStringLiteral("Chapter 2"));

    // A topic: every part in its box; the window joins the text as the
    // trigger decides.
    const ContentsEntry t = topic(QStringLiteral("Intro=IDH_INTRO@other.hlp>popwin"));
    form.show(&t, false);
    QCOMPARE(form.titleEdit()->text(), QStringLiteral("Intro"));
    QCOMPARE(form.topicIdEdit()->text(), QStringLiteral("IDH_INTRO"));
    QCOMPARE(form.helpFileEdit()->text(), QStringLiteral("other.hlp"));
    QCOMPARE(form.windowCombo()->currentText(), QStringLiteral("popwin"));
    QVERIFY(form.windowCombo()->isEnabled());
    QCOMPARE(form.composedText(Trigger::TitleLeft, ContentsKind::Topic), t.Text);
    QCOMPARE(form.composedText(Trigger::SelectionMove, ContentsKind::Topic), t.Text);

    // Emptying the Topic ID closes the Window box: Enter leaves the window out.
    form.topicIdEdit()->clear();
    QVERIFY(!form.windowCombo()->isEnabled());
    QCOMPARE(form.composedText(Trigger::EnterKey, ContentsKind::Topic), QStringLiteral("Intro@other.hlp"));
    QCOMPARE(form.composedText(Trigger::ComboExit, ContentsKind::Topic), QStringLiteral("Intro@other.hlp>popwin"));

    // A topic entry without "=" shows the first window in a closed box.
    const ContentsEntry bare = topic(QStringLiteral("Just a title"));
    form.show(&bare, false);
    QCOMPARE(form.windowCombo()->currentText(), QStringLiteral("main"));
    QVERIFY(!form.windowCombo()->isEnabled());

    QVERIFY(form.leaving(form.titleEdit()) == Trigger::TitleLeft);
    QVERIFY(form.leaving(form.topicIdEdit()) == Trigger::TopicIdLeft);
    QVERIFY(form.leaving(form.helpFileEdit()) == Trigger::HelpFileLeft);
    QVERIFY(form.leaving(form.windowCombo()) == Trigger::ComboExit);
    QVERIFY(!form.leaving(&dialog));
}

QTEST_MAIN(ContentsPartsTest)
#include "test_contentsparts.moc"
