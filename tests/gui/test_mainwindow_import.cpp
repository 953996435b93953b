// File > Import Help File...: the questions it asks, the project it opens
// and the log it shows, and what it refuses.

#include "test_mainwindow_support.h"

#include "LogViewer.h"
#include "helpfile/HelpCompiler.h"

#include <QAction>
#include <QLabel>

using namespace ts;
using namespace ts::testing;

namespace {

// Writes Source.HLP into the harness's folder from a project of two topics.
QString writeHelpFile(MainWindowHarness& h)
{
    const QString source = h.path(QStringLiteral("Source.tsp"));
    MainWindowHarness::writeProject(source, {QStringLiteral("FIRST"), QStringLiteral("SECOND")});
    Project project = ProjectFile::load(source);
    compileHelpFile(project);
    return helpFilePathFor(project);
}

struct LogSeen {
    bool shown = false;
    QString title, header, text;
};

// Runs the import command; the import log, when it opens, is read and
// closed with Escape.
LogSeen runImport(MainWindowHarness& h)
{
    LogSeen seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* log = qobject_cast<LogViewer*>(QApplication::activeModalWidget());
        if (!log)
            return;
        poll.stop();
        seen = {true, log->windowTitle(), log->headerLabel->text(), log->text()};
        QTest::keyClick(log->textView(), Qt::Key_Escape);
    });
    poll.start();
    h.form->actions->importHelpFile->trigger();
    QCoreApplication::processEvents();
    return seen;
}

} // namespace

class MainWindowImportTest : public QObject {
    Q_OBJECT
private slots:
    void importOpensTheNewProjectAndShowsItsLog();
    void importRefusesWithoutTouchingTheOpenProject();
};

void MainWindowImportTest::importOpensTheNewProjectAndShowsItsLog()
{
    MainWindowHarness h;
    h.show();
    const QString help = writeHelpFile(h);
    const QString project = h.path(QStringLiteral("Imported.tsp"));
    h.prompter.path(help).path(project);

    const LogSeen log = runImport(h);
    QVERIFY(!h.prompter.unexpectedCall());
    const auto& calls = h.prompter.calls();
    QCOMPARE(calls.size(), size_t(2));
    QCOMPARE(calls[0].filter, QStringLiteral("Help Files (*.hlp)|*.HLP"));
    QCOMPARE(calls[1].fileName, h.path(QStringLiteral("Source.tsp")));

    QVERIFY(QFile::exists(project));
    QCOMPARE(h.form->windowTitle(), QStringLiteral("Imported.tsp[*] - Topicsmith"));
    QCOMPARE(h.form->project().TopicCount(), 2);
    QCOMPARE(h.form->project().topic(1).Title.text(), QStringLiteral("Title of SECOND"));
    QVERIFY(h.form->actions->saveProject->isEnabled());

    QVERIFY(log.shown);
    QCOMPARE(log.title, QStringLiteral("Import Log"));
    QVERIFY(log.header.contains(project));
    QVERIFY(log.text.contains(QStringLiteral("Imported 2 of 2 topics")));
    QVERIFY(QFile::exists(h.path(QStringLiteral("Imported.import.log"))));
}

void MainWindowImportTest::importRefusesWithoutTouchingTheOpenProject()
{
    MainWindowHarness h;
    h.show();
    const QString help = writeHelpFile(h);
    const QString open = h.path(QStringLiteral("Open.tsp"));
    MainWindowHarness::writeProject(open, {QStringLiteral("KEEP")});
    h.prompter.path(open);
    h.click(h.form->toolBar->button(h.form->actions->openProject));
    QCOMPARE(h.form->project().TopicCount(), 1);

    // Cancelled file dialogs, and a project that exists and is not replaced.
    h.prompter.path(QString());
    QVERIFY(!runImport(h).shown);
    h.prompter.path(help).path(QString());
    QVERIFY(!runImport(h).shown);
    const QString taken = h.path(QStringLiteral("Taken.tsp"));
    MainWindowHarness::writeFile(taken, "not a project");
    h.prompter.path(help).path(taken).answer(Prompter::Answer::Cancel);
    QVERIFY(!runImport(h).shown);
    QCOMPARE(h.prompter.lastMessage(), taken + QStringLiteral(" already exists\rReplace existing file?"));
    QCOMPARE(MainWindowHarness::readFile(taken), QByteArray("not a project"));

    // The open project's own file, and a file that is no help file.
    h.prompter.path(help).path(open);
    QVERIFY(!runImport(h).shown);
    QVERIFY(h.prompter.lastMessage().contains(QStringLiteral("is the open project")));
    h.prompter.path(open).path(h.path(QStringLiteral("New.tsp")));
    QVERIFY(!runImport(h).shown);
    QVERIFY(h.prompter.lastMessage().contains(QStringLiteral("Open.tsp' can not be imported")));
    QVERIFY(!QFile::exists(h.path(QStringLiteral("New.tsp"))));

    QVERIFY(!h.prompter.unexpectedCall());
    QCOMPARE(h.form->project().TopicCount(), 1);
    QCOMPARE(h.form->project().topic(0).TopicID.text(), QStringLiteral("KEEP"));
    QCOMPARE(h.form->windowTitle(), QStringLiteral("Open.tsp[*] - Topicsmith"));
}

QTEST_MAIN(MainWindowImportTest)
#include "test_mainwindow_import.moc"
