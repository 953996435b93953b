// Link maintenance from the main window: renaming a topic or moving it to
// another window through the topic properties dialog rewrites the links in
// every topic, the current one included, and in the contents file.

#include "test_mainwindow_support.h"

#include "RichTextAdapter.h"
#include "SearchProgressDialog.h"
#include "contents/ContentsFile.h"
#include "richtext/RtfReader.h"

#include <QProgressBar>

using namespace ts;
using namespace ts::testing;

namespace {

// Types `before`, then `link` in the given style, then `after`, as a user
// who formats the link with the toolbar would.
void typeLink(QTextEdit* editor, const QString& before, const QString& link, const QString& after, bool strike)
{
    MainWindowHarness::typeInto(editor, before + link + after);
    QTextCursor c(editor->document());
    c.setPosition(int(before.size()));
    c.setPosition(int(before.size() + link.size()), QTextCursor::KeepAnchor);
    QTextCharFormat style;
    if (strike)
        style.setFontStrikeOut(true);
    else
        style.setFontUnderline(true);
    c.mergeCharFormat(style);
}

// The runs of a stored block as "text|S" (struck out), "text|U" (underlined)
// or "text|" pieces.
QStringList runs(const QByteArray& rtf)
{
    QStringList out;
    for (const Paragraph& p : RtfReader::read(rtf).Paragraphs)
        for (const Run& r : p.Runs)
            out.append(r.Text + QLatin1Char('|') + (r.Format.Strike ? QStringLiteral("S") : QString()) +
                       (r.Format.Underline ? QStringLiteral("U") : QString()));
    return out;
}

} // namespace

class MainWindowLinksTest : public QObject {
    Q_OBJECT
private slots:
    void renameAndMoveRewriteLinksEverywhere();
    void badContentsFileIsReportedAndTheRenameStillHappens();
    void renamedContentsWaitForTheProjectsSave();
    void windowCalledDefaultIsStoredAndLinkedAsChosen();
    void theRewriteShowsAProgressWindowOfItsOwn();
};

void MainWindowLinksTest::renameAndMoveRewriteLinksEverywhere()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("OLD"), QStringLiteral("Title"));
    WindowRecord side = WindowRecord::defaultWindow();
    side.Name.setText(QStringLiteral("side"));
    QVERIFY(f.project().addWindow(side));
    h.addTopic(QStringLiteral("OTHER"));
    typeLink(f.editors->topicEditor(), QStringLiteral("See "), QStringLiteral("Jump-->OLD"), QStringLiteral(" or a>OLD"), true);
    h.clickTab(0);
    // Typed into the current topic and not stored yet: the command stores it
    // before the rewrite and shows the rewritten text afterwards.
    typeLink(f.editors->topicEditor(), QString(), QStringLiteral("Self-->OLD>main"), QStringLiteral(" end"), false);
    const QString contents = ContentsFile::pathFor(f.project());
    MainWindowHarness::writeFile(contents, "Book\r\n\tTitle=OLD\r\n\tOther=OTHER\r\n");

    // A new ID and window 1: first the rename, then the window rewrite.
    h.onTopicDialog({QStringLiteral("new"), {}, 1, {}});
    h.click(f.toolBar->button(f.actions->topicProperties));
    QVERIFY(!h.refused);
    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("NEW"), QStringLiteral("OTHER")}));

    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("Self-->NEW>side end"));
    QCOMPARE(runs(f.project().topic(0).BodyRtf), (QStringList{QStringLiteral("Self-->NEW>side|U"), QStringLiteral(" end|")}));
    QCOMPARE(runs(f.project().topic(1).BodyRtf),
             (QStringList{QStringLiteral("See |"), QStringLiteral("Jump-->NEW|S"), QStringLiteral(" or a>OLD|")}));
    QCOMPARE(ContentsFile::bytesFor(f.project()), QByteArray("Book\r\n\tTitle=NEW\r\n\tOther=OTHER\r\n"));
    QVERIFY(h.prompter.messages().isEmpty());
    // The link upkeep's progress window is gone again; search's was never touched.
    QVERIFY(!f.topics->linkProgress()->isVisible());
    QCOMPARE(f.tools->searchProgress()->text(), QStringLiteral("Searching topics..."));
    QCOMPARE(f.tools->searchProgress()->value(), 0);

    h.clickTab(1);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("See Jump-->NEW or a>OLD"));
}

// The contents file changes with the project file: a rename that is
// discarded leaves it as it was, a Save (or Save As) writes it.
void MainWindowLinksTest::renamedContentsWaitForTheProjectsSave()
{
    MainWindowHarness h;
    const QString project = h.path(QStringLiteral("gadget.tsp"));
    const QString contents = h.path(QStringLiteral("gadget.tsc"));
    MainWindowHarness::writeProject(project, {QStringLiteral("SETUP_GUIDE"), QStringLiteral("OTHER")});
    const QByteArray before("Book\r\n\tSetup=SETUP_GUIDE\r\n");
    MainWindowHarness::writeFile(contents, before);
    h.show();
    MainWindow& f = *h.form;
    const auto open = [&] {
        h.prompter.path(project);
        f.actions->openProject->trigger();
    };
    const auto rename = [&](const QString& id) {
        h.onTopicDialog({id, {}, {}, {}});
        h.click(f.toolBar->button(f.actions->topicProperties));
    };
    open();
    rename(QStringLiteral("INSTALL2"));
    QCOMPARE(MainWindowHarness::readFile(contents), before);

    // Reopened without saving: the file is byte for byte as before.
    h.prompter.answer(Prompter::Answer::No);
    open();
    QCOMPARE(f.project().topic(0).TopicID.text(), QStringLiteral("SETUP_GUIDE"));
    QCOMPARE(MainWindowHarness::readFile(contents), before);
    QVERIFY(!f.project().PendingContents);

    rename(QStringLiteral("INSTALL2"));
    f.actions->saveProject->trigger();
    QCOMPARE(MainWindowHarness::readFile(contents), QByteArray("Book\r\n\tSetup=INSTALL2\r\n"));

    // Save As: the new name gets the pending entries, the old file stays.
    rename(QStringLiteral("INSTALL3"));
    h.prompter.path(h.path(QStringLiteral("copy.tsp")));
    f.actions->saveProjectAs->trigger();
    QCOMPARE(MainWindowHarness::readFile(h.path(QStringLiteral("copy.tsc"))), QByteArray("Book\r\n\tSetup=INSTALL3\r\n"));
    QCOMPARE(MainWindowHarness::readFile(contents), QByteArray("Book\r\n\tSetup=INSTALL2\r\n"));
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowLinksTest::badContentsFileIsReportedAndTheRenameStillHappens()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("OLD"));
    h.addTopic(QStringLiteral("OTHER"));
    typeLink(f.editors->topicEditor(), QString(), QStringLiteral("Go-->OLD"), QString(), true);
    h.clickTab(0);
    const QString contents = ContentsFile::pathFor(f.project());
    const QByteArray bad("Title=OLD\r\n\t\t\tToo deep\r\n");
    MainWindowHarness::writeFile(contents, bad);

    bool progressShownWithMessage = true;
    h.prompter.onCall = [&](const ScriptedPrompter::Call&) {
        progressShownWithMessage = f.topics->linkProgress()->isVisible();
    };
    h.onTopicDialog({QStringLiteral("NEW"), {}, {}, {}});
    h.click(f.toolBar->button(f.actions->topicProperties));
    QCOMPARE(h.prompter.messages().size(), 1);
    QVERIFY(!progressShownWithMessage);
    QVERIFY(h.prompter.lastMessage().contains(contents));
    QVERIFY(h.prompter.lastMessage().contains(QStringLiteral("Invalid item level assignment")));
    QCOMPARE(MainWindowHarness::readFile(contents), bad);
    // The links and the topic agree on the new ID.
    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("NEW"), QStringLiteral("OTHER")}));
    QCOMPARE(runs(f.project().topic(1).BodyRtf), QStringList{QStringLiteral("Go-->NEW|S")});
    QCOMPARE(f.tools->searchProgress()->text(), QStringLiteral("Searching topics..."));
}

// "Default" in any case is a window name like any other: the record and the
// link both get the window chosen.
void MainWindowLinksTest::windowCalledDefaultIsStoredAndLinkedAsChosen()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("ONE"));
    for (const char* name : {"side", "dEfAuLt"}) {
        WindowRecord w = WindowRecord::defaultWindow();
        w.Name.setText(QLatin1String(name));
        QVERIFY(f.project().addWindow(w));
    }
    h.onTopicDialog({QStringLiteral("TWO"), {}, 2, {}});
    h.click(f.toolBar->button(f.actions->addTopic));
    QCOMPARE(f.project().topic(1).WindowIndex, 2);

    typeLink(f.editors->topicEditor(), QString(), QStringLiteral("Self-->TWO>dEfAuLt"), QString(), false);
    h.onTopicDialog({QStringLiteral("TWO"), {}, 1, {}});
    h.click(f.toolBar->button(f.actions->topicProperties));
    QCOMPARE(f.project().topic(1).WindowIndex, 1);
    QCOMPARE(runs(f.project().topic(1).BodyRtf), QStringList{QStringLiteral("Self-->TWO>side|U")});

    h.onTopicDialog({QStringLiteral("TWO"), {}, 2, {}});
    h.click(f.toolBar->button(f.actions->topicProperties));
    QCOMPARE(f.project().topic(1).WindowIndex, 2);
    QCOMPARE(runs(f.project().topic(1).BodyRtf), QStringList{QStringLiteral("Self-->TWO>dEfAuLt|U")});
}

// The search's progress window stays the search's: the rewrite shows its
// own, with its own text, for as long as it runs.
void MainWindowLinksTest::theRewriteShowsAProgressWindowOfItsOwn()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("OLD"));
    for (const QString& id : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}) {
        h.addTopic(id);
        typeLink(f.editors->topicEditor(), QString(), QStringLiteral("Go-->OLD"), QString(), true);
    }
    h.clickTab(0);

    SearchProgressDialog* own = f.topics->linkProgress();
    QVERIFY(own != f.tools->searchProgress());
    QList<int> values;
    bool alwaysShownAlone = true;
    connect(own->progressBar, &QProgressBar::valueChanged, &f, [&](int v) {
        values.append(v);
        if (v > 0)
            alwaysShownAlone = alwaysShownAlone && own->isVisible()
                               && own->text() == QStringLiteral("Updating links...")
                               && !f.tools->searchProgress()->isVisible();
    });
    h.onTopicDialog({QStringLiteral("NEW"), {}, {}, {}});
    h.click(f.toolBar->button(f.actions->topicProperties));

    QCOMPARE(values, (QList<int>{512, 1024, 1536, 2048, 0}));
    QVERIFY(alwaysShownAlone);
    QVERIFY(!own->isVisible());
    QCOMPARE(f.tools->searchProgress()->text(), QStringLiteral("Searching topics..."));
    QCOMPARE(runs(f.project().topic(3).BodyRtf), QStringList{QStringLiteral("Go-->NEW|S")});
}

QTEST_MAIN(MainWindowLinksTest)
#include "test_mainwindow_links.moc"
