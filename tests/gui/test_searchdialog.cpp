// The search dialog SearchDialog and its progress window SearchProgressDialog on
// their own: first look, the rows a search lists, the state while it runs,
// picking, cancelling, what stays between uses; then the main window's
// search command, which makes the picked topic the current one.

#include "test_mainwindow_support.h"

#include "SearchDialog.h"
#include "SearchProgressDialog.h"
#include "model/Project.h"
#include "richtext/RtfWriter.h"
#include "search/TopicSearch.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace ts;
using namespace ts::testing;

namespace {

void doubleClickRow(QTreeWidget* list, int row)
{
    const QRect r = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

QStringList rowIds(const QTreeWidget* list)
{
    QStringList out;
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        out.append(list->topLevelItem(r)->text(0));
    return out;
}

QIcon coloured(Qt::GlobalColor c)
{
    QPixmap p(16, 16);
    p.fill(c);
    return QIcon(p);
}

struct Fixture {
    Fixture()
        : images{coloured(Qt::red), coloured(Qt::green), coloured(Qt::blue), coloured(Qt::yellow),
                 coloured(Qt::magenta)},
          form(project, progress, images)
    {
    }

    void addTopic(const QString& id, const QString& title, const QString& body = QString())
    {
        TopicRecord t;
        t.TopicID.setText(id);
        t.Title.setText(title);
        if (!body.isEmpty())
            t.BodyRtf = RtfWriter::write(RichDocument::fromPlainText(body));
        project.addTopic(t);
    }

    void search(const QString& query, int mode)
    {
        form.setSearchMode(mode);
        form.queryEdit()->setText(query);
        QTest::mouseClick(form.searchButton(), Qt::LeftButton);
    }

    QStringList column(int c) const
    {
        QStringList out;
        for (int r = 0; r < form.resultList()->topLevelItemCount(); ++r)
            out.append(form.resultList()->topLevelItem(r)->text(c));
        return out;
    }

    // Runs the dialog modally; `user` acts once it is open.
    int run(const std::function<void()>& user)
    {
        QTimer::singleShot(0, &form, [this, user] {
            opened = form.isVisible();
            user();
            stillOpen = form.isVisible();
            if (stillOpen)
                form.cancelButton()->click();
        });
        return form.execute();
    }

    void doubleClickRow(int row) { ::doubleClickRow(form.resultList(), row); }

    Project project;
    SearchProgressDialog progress;
    ListIcons images;
    SearchDialog form;
    bool opened = false;
    bool stillOpen = false;
};

} // namespace

class SearchDialogTest : public QObject {
    Q_OBJECT

private slots:
    void firstLook();
    void rowsListTheMatchesInTableOrder();
    void whileSearchingTheControlsRestAndTheBarAdvances();
    void doubleClickPicksTheRowsTopic();
    void cancelEscapeAndAnEmptyListReportNoTopic();
    void queryModeAndRowsStayBetweenUses();
    void rowOfAChangedProjectFollowsItsTopicId();
    void progressWindowForOtherWork();
    void mainWindowSwitchesToThePickedTopic();
    void mainWindowWithoutAPickKeepsTheTopic();
    void wordsFoundInTheTextAreSelectedAndInView();
};

void SearchDialogTest::firstLook()
{
    Fixture f;
    QCOMPARE(f.form.windowTitle(), QStringLiteral("Search topic..."));
    QVERIFY(!(f.form.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(f.form.windowFlags() & Qt::WindowContextHelpButtonHint);
    QCOMPARE(f.form.property("helpContext").toInt(), 190);
    QCOMPARE(f.form.searchButton()->text(), QStringLiteral("Search..."));
    QCOMPARE(f.form.cancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(f.form.searchByGroup()->title(), QStringLiteral("Search by"));
    QStringList choices;
    for (QRadioButton* b : f.form.searchByButtons())
        choices.append(b->text());
    QCOMPARE(choices, (QStringList{QStringLiteral("Topic ID"), QStringLiteral("Topic Title"),
                                   QStringLiteral("Text in topic")}));
    QCOMPARE(f.form.searchMode(), 0);
    QTreeWidget* list = f.form.resultList();
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Topic ID"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("Topic Title"));
    QCOMPARE(list->columnWidth(0), 160);
    QCOMPARE(list->columnWidth(1), 245);
    QVERIFY(list->isColumnHidden(SearchDialog::IndexColumn));
    QVERIFY(!list->isSortingEnabled());

    QCOMPARE(f.progress.windowTitle(), QStringLiteral("Searching..."));
    QCOMPARE(f.progress.textLabel->text(), QStringLiteral("Searching topics..."));
    QCOMPARE(f.progress.progressBar->minimum(), 0);
    QCOMPARE(f.progress.progressBar->maximum(), 2048);
    QVERIFY(f.progress.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(f.progress.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!f.progress.isModal());
}

void SearchDialogTest::rowsListTheMatchesInTableOrder()
{
    Fixture f;
    for (const char* id : {"OVERVIEW", "INTRO", "SETUP", "INTRO_2", "MY_INTRO"})
        f.addTopic(QString::fromLatin1(id), QStringLiteral("Title of ") + QString::fromLatin1(id));
    f.search(QStringLiteral("intro"), 0);
    QCOMPARE(f.column(0), (QStringList{QStringLiteral("INTRO"), QStringLiteral("INTRO_2"), QStringLiteral("MY_INTRO")}));
    QCOMPARE(f.column(1).first(), QStringLiteral("Title of INTRO"));
    QCOMPARE(f.column(2), (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("4")}));
    // Every row shows the list icons' checked page.
    const QImage check = f.images.checkedPage.pixmap(16, 16).toImage();
    for (int r = 0; r < 3; ++r)
        QCOMPARE(f.form.resultList()->topLevelItem(r)->icon(0).pixmap(16, 16).toImage(), check);

    // An empty query changes nothing, not even the rows.
    f.search(QString(), 1);
    QCOMPARE(f.column(2).size(), 3);

    // A new search replaces the rows.
    f.search(QStringLiteral("nothing like it"), 0);
    QCOMPARE(f.form.resultList()->topLevelItemCount(), 0);
}

void SearchDialogTest::whileSearchingTheControlsRestAndTheBarAdvances()
{
    Fixture f;
    for (int i = 0; i < 7; ++i)
        f.addTopic(QStringLiteral("T%1").arg(i), QString(), QStringLiteral("body %1").arg(i));
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.progress.setValue(1000);

    QList<int> values;
    bool allDisabled = true;
    bool shown = true;
    connect(f.progress.progressBar, &QProgressBar::valueChanged, &f.form, [&](int v) {
        values.append(v);
        if (v == 0)
            return; // the reset before the window shows
        shown = shown && f.progress.isVisible();
        for (QWidget* w : {static_cast<QWidget*>(f.form.queryEdit()), static_cast<QWidget*>(f.form.searchButton()),
                           static_cast<QWidget*>(f.form.cancelButton()), static_cast<QWidget*>(f.form.resultList())})
            allDisabled = allDisabled && !w->isEnabled();
    });
    f.form.queryEdit()->setFocus();
    f.search(QStringLiteral("BODY 3"), 2);
    QCOMPARE(values, (QList<int>{0, 292, 584, 876, 1168, 1460, 1752, 2044}));
    QVERIFY(shown);
    QVERIFY(allDisabled);
    QCOMPARE(f.column(0), QStringList{QStringLiteral("T3")});
    QVERIFY(!f.progress.isVisible());
    for (QWidget* w : {static_cast<QWidget*>(f.form.queryEdit()), static_cast<QWidget*>(f.form.searchButton()),
                       static_cast<QWidget*>(f.form.cancelButton()), static_cast<QWidget*>(f.form.resultList())})
        QVERIFY(w->isEnabled());
    // The Enter key in the query runs the search too.
    values.clear();
    f.form.queryEdit()->setFocus();
    f.form.queryEdit()->setText(QStringLiteral("body"));
    QTest::keyClick(f.form.queryEdit(), Qt::Key_Return);
    QCOMPARE(f.column(0).size(), 7);
    QCOMPARE(values.size(), 8);
}

void SearchDialogTest::doubleClickPicksTheRowsTopic()
{
    Fixture f;
    for (const char* id : {"A1", "B1", "A2", "A3"})
        f.addTopic(QString::fromLatin1(id), QString());
    f.search(QStringLiteral("a"), 0);
    int result = f.run([&] { f.doubleClickRow(1); });
    QVERIFY(f.opened);
    QVERIFY(!f.stillOpen);
    QCOMPARE(result, 2);
    QCOMPARE(f.form.searchResultIndex, 2);

    // Enter on the selected row picks it as well.
    result = f.run([&] {
        f.form.resultList()->setFocus();
        f.form.resultList()->setCurrentItem(f.form.resultList()->topLevelItem(2));
        QTest::keyClick(f.form.resultList(), Qt::Key_Return);
    });
    QVERIFY(!f.stillOpen);
    QCOMPARE(result, 3);
    // ... and on the row that has the focus but is not selected (Tab from the query).
    result = f.run([&] {
        f.form.resultList()->setCurrentItem(f.form.resultList()->topLevelItem(0));
        f.form.resultList()->clearSelection();
        f.form.resultList()->setFocus();
        QTest::keyClick(f.form.resultList(), Qt::Key_Return);
    });
    QVERIFY(!f.stillOpen);
    QCOMPARE(result, 0);

    // A double-click below the rows with none selected picks nothing and
    // leaves the dialog open.
    result = f.run([&] {
        f.form.resultList()->clearSelection();
        QWidget* viewport = f.form.resultList()->viewport();
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(20, viewport->height() - 5));
    });
    QVERIFY(f.stillOpen);
    QCOMPARE(result, -1);
}

void SearchDialogTest::cancelEscapeAndAnEmptyListReportNoTopic()
{
    Fixture f;
    f.addTopic(QStringLiteral("ONLY"), QString());
    f.search(QStringLiteral("only"), 0);
    f.form.resultList()->setCurrentItem(f.form.resultList()->topLevelItem(0));
    int result = f.run([&] { f.form.cancelButton()->click(); });
    QVERIFY(!f.stillOpen);
    QCOMPARE(result, -1);
    result = f.run([&] { QTest::keyClick(f.form.queryEdit(), Qt::Key_Escape); });
    QVERIFY(!f.stillOpen);
    QCOMPARE(result, -1);

    // Without rows a double-click closes the dialog with no topic.
    f.search(QStringLiteral("none"), 0);
    result = f.run([&] {
        QTest::mouseDClick(f.form.resultList()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    });
    QVERIFY(!f.stillOpen);
    QCOMPARE(result, -1);
}

void SearchDialogTest::queryModeAndRowsStayBetweenUses()
{
    Fixture f;
    f.addTopic(QStringLiteral("INTRO"), QStringLiteral("Welcome"));
    f.addTopic(QStringLiteral("OTHER"), QStringLiteral("Welcome back"));
    f.search(QStringLiteral("welcome"), 1);
    f.run([&] { f.form.cancelButton()->click(); });
    QStringList seen;
    f.run([&] {
        seen = QStringList{f.form.queryEdit()->text(), QString::number(f.form.searchMode())} + f.column(0);
    });
    QCOMPARE(seen, (QStringList{QStringLiteral("welcome"), QStringLiteral("1"), QStringLiteral("INTRO"),
                                QStringLiteral("OTHER")}));
}

void SearchDialogTest::rowOfAChangedProjectFollowsItsTopicId()
{
    Fixture f;
    for (const char* id : {"FIRST", "SECOND", "THIRD"})
        f.addTopic(QString::fromLatin1(id), QString());
    f.search(QStringLiteral("ir"), 0); // FIRST (0), THIRD (2)
    f.project.deleteTopic(0);
    // THIRD is topic 1 now; its row still says 2.
    int result = f.run([&] { f.doubleClickRow(1); });
    QCOMPARE(result, 1);
    // FIRST is gone: nothing is picked.
    result = f.run([&] { f.doubleClickRow(0); });
    QVERIFY(!f.stillOpen);
    QCOMPARE(result, -1);
}

void SearchDialogTest::progressWindowForOtherWork()
{
    SearchProgressDialog pb;
    pb.setText(QStringLiteral("Updating links..."));
    pb.setValue(0);
    pb.showAndPaint();
    QVERIFY(pb.isVisible());
    QCOMPARE(pb.textLabel->text(), QStringLiteral("Updating links..."));
    pb.setValue(900);
    QCOMPARE(pb.value(), 900);
    pb.setValue(5000);
    QCOMPARE(pb.value(), 2048);
    // Escape does not take it away from the work that showed it.
    QTest::keyClick(&pb, Qt::Key_Escape);
    QVERIFY(pb.isVisible());
    pb.setText(QStringLiteral("Searching topics..."));
    pb.hide();
    QCOMPARE(pb.text(), QStringLiteral("Searching topics..."));
    QVERIFY(!pb.isVisible());
}

void SearchDialogTest::mainWindowSwitchesToThePickedTopic()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("search.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("INTRO"), QStringLiteral("SETUP"), QStringLiteral("OVERVIEW")});
    h.show();
    MainWindow& f = *h.form;
    QVERIFY(!f.toolBar->button(f.actions->search)->isEnabled());
    QVERIFY(!f.menus->searchEntry->isEnabled());
    f.projectCommands->setPendingOpenPath(path);
    f.projectCommands->openProject();
    QVERIFY(f.toolBar->button(f.actions->search)->isEnabled());
    QVERIFY(f.menus->searchEntry->isEnabled());
    QCOMPARE(f.navigator->currentTopic(), 0);

    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("fresh words"));
    QStringList typed, found;
    bool progressIsTheWindows = false;
    QTimer::singleShot(0, &f, [&] {
        SearchDialog* s = f.tools->searchDialog;
        progressIsTheWindows = f.findChild<SearchProgressDialog*>() == f.tools->searchProgress();
        s->setSearchMode(2);
        s->queryEdit()->setText(QStringLiteral("fresh"));
        s->searchButton()->click();
        typed = rowIds(s->resultList());
        s->queryEdit()->setText(QStringLiteral("body of overview"));
        s->searchButton()->click();
        found = rowIds(s->resultList());
        if (!found.isEmpty())
            doubleClickRow(s->resultList(), 0);
        if (s->isVisible())
            s->cancelButton()->click();
    });
    h.click(f.toolBar->button(f.actions->search));
    QVERIFY(progressIsTheWindows);
    // Text just typed is searched: the editors are stored first.
    QCOMPARE(typed, QStringList{QStringLiteral("INTRO")});
    QCOMPARE(found, QStringList{QStringLiteral("OVERVIEW")});

    QCOMPARE(f.navigator->currentTopic(), 2);
    QCOMPARE(f.navigator->topicList->currentRow(), 2);
    QCOMPARE(f.editors->topicTitleLabel()->text(), QStringLiteral("Title of OVERVIEW "));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("Body of OVERVIEW"));
    // The topic left behind kept what was typed into it.
    QCOMPARE(topicTextLines(f.project().topic(0).BodyRtf), QStringList{QStringLiteral("fresh words")});

    // Through the menu, with the query and mode of the last use.
    QTimer::singleShot(0, &f, [&] {
        SearchDialog* s = f.tools->searchDialog;
        s->searchButton()->click(); // the query and mode of the last use
        found = rowIds(s->resultList());
        if (!found.isEmpty())
            doubleClickRow(s->resultList(), 0);
        if (s->isVisible())
            s->cancelButton()->click();
    });
    f.tools->searchDialog->queryEdit()->setText(QStringLiteral("FRESH"));
    f.menus->searchEntry->trigger();
    QCOMPARE(found, QStringList{QStringLiteral("INTRO")});
    QCOMPARE(f.navigator->currentTopic(), 0);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("fresh words"));
}

void SearchDialogTest::mainWindowWithoutAPickKeepsTheTopic()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("search.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("INTRO"), QStringLiteral("SETUP")});
    h.show();
    MainWindow& f = *h.form;
    f.projectCommands->setPendingOpenPath(path);
    f.projectCommands->openProject();
    h.clickTab(1);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("unsaved"));
    const QByteArray storedBefore = f.project().topic(1).BodyRtf;
    QTimer::singleShot(0, &f, [&] {
        SearchDialog* s = f.tools->searchDialog;
        s->setSearchMode(0);
        s->queryEdit()->setText(QStringLiteral("intro"));
        s->searchButton()->click();
        s->cancelButton()->click();
    });
    h.click(f.toolBar->button(f.actions->search));
    QCOMPARE(f.tools->searchDialog->searchResultIndex, -1);
    QCOMPARE(f.navigator->currentTopic(), 1);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("unsaved"));
    // What was typed was stored for the search.
    QVERIFY(f.project().topic(1).BodyRtf != storedBefore);
    QCOMPARE(topicTextLines(f.project().topic(1).BodyRtf), QStringList{QStringLiteral("unsaved")});
    QVERIFY(h.prompter.calls().empty());
}

void SearchDialogTest::wordsFoundInTheTextAreSelectedAndInView()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("search.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("INTRO"), QStringLiteral("LONG")});
    h.show();
    MainWindow& f = *h.form;
    f.projectCommands->setPendingOpenPath(path);
    f.projectCommands->openProject();
    h.clickTab(1);
    QTextEdit* editor = f.editors->topicEditor();
    MainWindowHarness::typeInto(editor, QStringLiteral("line"));
    for (int i = 0; i < 100; ++i) {
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, QStringLiteral("line"));
    }
    QTest::keyClicks(editor, QStringLiteral(" the Needle here"));
    h.clickTab(0);
    QTimer::singleShot(0, &f, [&] {
        SearchDialog* s = f.tools->searchDialog;
        s->setSearchMode(2);
        s->queryEdit()->setText(QStringLiteral("NEEDLE"));
        s->searchButton()->click();
        if (s->resultList()->topLevelItemCount() == 1)
            doubleClickRow(s->resultList(), 0);
        if (s->isVisible())
            s->cancelButton()->click();
    });
    h.click(f.toolBar->button(f.actions->search));
    QCOMPARE(f.navigator->currentTopic(), 1);
    QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("Needle"));
    QCOMPARE(f.focusWidget(), editor);
    QVERIFY(editor->verticalScrollBar()->value() > 0);
    QVERIFY(editor->viewport()->rect().contains(editor->cursorRect()));
}

QTEST_MAIN(SearchDialogTest)
#include "test_searchdialog.moc"
