// The Help Topics dialog: the Index with a keyword of several topics, the
// Contents tab from a contents file, Find over every topic, and a file of our
// compiler read back with the .CNT beside it.

#include "HelpDocumentSamples.h"
#include "ScriptedPrompter.h"
#include "helpfile/HelpCompiler.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"
#include "viewer/HelpButtonBar.h"
#include "viewer/HelpViewer.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace ts;
using namespace ts::testing;

class HelpTopicsTest : public QObject {
    Q_OBJECT

private slots:
    void indexListsSharedKeywordTopics();
    void contentsTabFromTheContentsFile();
    void findSearchesEveryTopic();
    void compiledFileWithItsContentsFile();
};

void HelpTopicsTest::indexListsSharedKeywordTopics()
{
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(sampleDocument(), FilePath);
    HelpViewerWindow* main = viewer.mainWindow();
    main->buttonBar->button(QStringLiteral("btn_search"))->click();
    HelpTopicsDialog* dialog = viewer.topicsDialog();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Help Topics: Demo Help"));
    QVERIFY(!dialog->hasContentsTab());
    QCOMPARE(dialog->tabs()->tabText(dialog->tabs()->currentIndex()), QStringLiteral("Index"));
    QCOMPARE(dialog->indexList()->count(), 2);
    QTest::keyClicks(dialog->indexEdit(), QStringLiteral("PRI"));
    QCOMPARE(dialog->indexList()->currentItem()->text(), QStringLiteral("printer"));

    chooseInNextList(1);
    QTest::keyClick(dialog->indexEdit(), Qt::Key_Return);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(viewer.window(QStringLiteral("sec"))->page.topic, 3);

    // KLink over the same keyword lists the same topics; one topic goes straight there.
    chooseInNextList(0);
    viewer.runMacros(QStringLiteral("KLink(`printer')"), main);
    QCOMPARE(main->page.topic, 1);
    viewer.runMacros(QStringLiteral("KL(`nothing here;definitions')"), main);
    QCOMPARE(main->page.topic, 2);
    viewer.runMacros(QStringLiteral("ALink(`nothing')"), main);
    QCOMPARE(prompter.lastMessage(), QStringLiteral("No topics are linked to \"nothing\"."));
}

void HelpTopicsTest::contentsTabFromTheContentsFile()
{
    HelpDocument doc = sampleDocument();
    doc.contents.title = QStringLiteral("Demo Contents File");
    auto entry = [](HelpContentsEntry::Kind kind, int level, const char* text, const char* id, int topic) {
        HelpContentsEntry e;
        e.kind = kind;
        e.level = level;
        e.text = QString::fromLatin1(text);
        e.topicId = QString::fromLatin1(id);
        e.topic = topic;
        return e;
    };
    using K = HelpContentsEntry::Kind;
    doc.contents.entries = {entry(K::Book, 1, "Getting Started", "", -1), entry(K::Topic, 2, "Printing", "printing", 1),
                            entry(K::Book, 2, "More", "", -1),           entry(K::Topic, 3, "Setup", "setup", -1),
                            entry(K::Topic, 1, "Definition", "definition", 2)};
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(doc, FilePath);
    // Opened without a topic, the file shows Help Topics first.
    HelpTopicsDialog* dialog = viewer.topicsDialog();
    QVERIFY(dialog->isVisible());
    dialog->hide();
    viewer.mainWindow()->buttonBar->button(QStringLiteral("btn_contents"))->click();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Help Topics: Demo Contents File"));
    QCOMPARE(dialog->tabs()->count(), 3);
    QCOMPARE(dialog->currentTab(), HelpTopicsDialog::Tab::Contents);
    QTreeWidget* tree = dialog->contentsTree();
    QCOMPARE(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* book = tree->topLevelItem(0);
    QCOMPARE(book->childCount(), 2);
    QCOMPARE(book->child(1)->text(0), QStringLiteral("More"));
    QCOMPARE(book->child(1)->child(0)->text(0), QStringLiteral("Setup"));
    // Display opens a book, and shows a topic (found by its ID when the entry has no index).
    tree->setCurrentItem(book);
    QCOMPARE(dialog->displayButton()->text(), QStringLiteral("&Open"));
    dialog->displayButton()->click();
    QVERIFY(book->isExpanded());
    tree->setCurrentItem(book->child(1)->child(0));
    dialog->displayButton()->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(viewer.window(QStringLiteral("sec"))->page.topic, 3);
    QVERIFY(prompter.calls().empty());
}

void HelpTopicsTest::findSearchesEveryTopic()
{
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(sampleDocument(), FilePath);
    viewer.runMacros(QStringLiteral("Find()"), viewer.mainWindow());
    HelpTopicsDialog* dialog = viewer.topicsDialog();
    QCOMPARE(dialog->currentTab(), HelpTopicsDialog::Tab::Find);
    QTest::keyClicks(dialog->findEdit(), QStringLiteral("print"));
    QStringList words;
    for (int i = 0; i < dialog->wordList()->count(); ++i)
        words.append(dialog->wordList()->item(i)->text());
    QCOMPARE(words, (QStringList{QStringLiteral("print"), QStringLiteral("printer"), QStringLiteral("Printing")}));
    QCOMPARE(dialog->findTopicList()->count(), 3);
    QCOMPARE(dialog->findStatus()->text(), QStringLiteral("3 Topics Found"));
    // Choosing a word narrows the topics.
    dialog->wordList()->item(1)->setSelected(true);
    QCOMPARE(dialog->findTopicList()->count(), 1);
    QCOMPARE(dialog->findTopicList()->item(0)->text(), QStringLiteral("Setup"));
    QCOMPARE(dialog->findStatus()->text(), QStringLiteral("1 Topic Found"));
    QTest::keyClick(dialog->findTopicList(), Qt::Key_Return);
    QCOMPARE(viewer.window(QStringLiteral("sec"))->page.topic, 3);
}

// Our compiler's file read by the help file reader, with a .CNT beside it.
void HelpTopicsTest::compiledFileWithItsContentsFile()
{
    QTemporaryDir folder;
    Project project;
    project.ProjectPath = folder.filePath(QStringLiteral("demo.tsp"));
    for (const char* id : {"INTRO", "MORE"}) {
        TopicRecord topic;
        topic.TopicID.setText(QString::fromLatin1(id));
        topic.Title.setText(QStringLiteral("Title of ") + QString::fromLatin1(id));
        // Keywords that byte order would place elsewhere: the index shows
        // them in the compiler's order.
        topic.Keywords.setText(QStringLiteral("shared;only ") + QString::fromLatin1(id) +
                               (id[0] == 'I' ? QStringLiteral(";Auto-Reply;Überblick") : QStringLiteral(";Automation")));
        topic.BodyRtf = RtfWriter::write(RichDocument::fromPlainText(QStringLiteral("Body of ") + QString::fromLatin1(id)));
        project.addTopic(topic);
    }
    HelpCompileReport report;
    const QByteArray bytes = compileHelpFileBytes(project, report);
    const QString hlp = folder.filePath(QStringLiteral("demo.HLP"));
    QFile out(hlp);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    QFile cnt(folder.filePath(QStringLiteral("demo.cnt")));
    QVERIFY(cnt.open(QIODevice::WriteOnly));
    cnt.write(":Base demo.hlp\r\n:Title Demo Contents\r\n1 Getting started\r\n2 Introduction=INTRO\r\n2 More=MORE\r\n");
    cnt.close();

    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    QVERIFY(viewer.openFile(hlp, QStringLiteral("MORE")));
    HelpViewerWindow* main = viewer.mainWindow();
    QCOMPARE(main->scrollingView->toPlainText().trimmed(), QStringLiteral("Body of MORE"));
    viewer.showContents(main);
    HelpTopicsDialog* dialog = viewer.topicsDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Help Topics: Demo Contents"));
    QTreeWidget* tree = dialog->contentsTree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->childCount(), 2);
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    dialog->displayButton()->click();
    QCOMPARE(main->scrollingView->toPlainText().trimmed(), QStringLiteral("Body of INTRO"));
    QStringList keywords;
    for (const HelpIndexEntry& entry : dialog->indexEntries())
        keywords.append(QStringLiteral("%1:%2").arg(entry.keyword).arg(entry.targets.size()));
    QCOMPARE(keywords, (QStringList{QStringLiteral("Automation:1"), QStringLiteral("Auto-Reply:1"),
                                    QStringLiteral("only INTRO:1"), QStringLiteral("only MORE:1"),
                                    QStringLiteral("shared:2"), QStringLiteral("Überblick:1")}));
    // Typing scrolls there without regard to case, accents or hyphens.
    dialog->tabs()->setCurrentWidget(dialog->indexList()->parentWidget());
    for (const auto& [typed, shown] : {std::pair{"uber", "Überblick"}, std::pair{"AUTO-R", "Auto-Reply"},
                                       std::pair{"automa", "Automation"}}) {
        dialog->indexEdit()->clear();
        QTest::keyClicks(dialog->indexEdit(), QString::fromLatin1(typed));
        QCOMPARE(dialog->indexList()->currentItem()->text(), QString::fromUtf8(shown));
    }
    QVERIFY(prompter.calls().empty());
}

QTEST_MAIN(HelpTopicsTest)
#include "test_helptopics.moc"
