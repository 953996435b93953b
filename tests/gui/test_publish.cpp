// Build > Publish as HTML and Publish as CHM: the folder or file asked for
// through the Prompter and remembered per project, the progress in the
// status bar, the site written and offered to the browser, the CHM made.

#include "test_mainwindow_support.h"

#include "PublishCommands.h"
#include "helpdoc/ChmPublisher.h"
#include "settings/IniFile.h"

#include <QAction>
#include <QProgressBar>
#include <QStandardPaths>

using namespace ts;
using namespace ts::testing;

namespace {

void writeProject(const QString& path, int topics)
{
    Project p;
    for (int i = 0; i < topics; ++i) {
        TopicRecord t;
        t.TopicID.setText(QStringLiteral("T%1").arg(i));
        t.Title.setText(QStringLiteral("Title <%1>").arg(i));
        t.BodyRtf = RtfWriter::write(RichDocument::fromPlainText(QStringLiteral("Body of topic %1").arg(i)));
        p.addTopic(t);
    }
    ProjectFile::save(p, path);
}

void openProject(MainWindowHarness& h, const QString& path)
{
    h.form->projectCommands->setPendingOpenPath(path);
    h.form->projectCommands->openProject();
    QCOMPARE(h.form->project().ProjectPath, path);
}

} // namespace

class PublishTest : public QObject {
    Q_OBJECT

private slots:
    void htmlAsksForTheFolderShowsProgressAndOffersTheBrowser();
    void cancelledFolderPublishesNothing();
    void chmIsWrittenOrTheMissingCompilerNamed();
    void publishingAnUnnamedProjectAsksForItsNameFirst();
};

void PublishTest::htmlAsksForTheFolderShowsProgressAndOffersTheBrowser()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("guide.tsp"));
    writeProject(path, 60);
    h.show();
    openProject(h, path);
    MainWindow& f = *h.form;
    QList<QUrl> opened;
    f.build->publishing->openInBrowser = [&opened](const QUrl& url) { opened << url; };
    QList<int> progress;
    connect(f.progressBar, &QProgressBar::valueChanged, this, [&progress](int v) { progress << v; });

    const QString site = h.path(QStringLiteral("web"));
    h.prompter.path(site).answer(Prompter::Answer::Yes);
    f.actions->publishHtml->trigger();

    QVERIFY(!h.prompter.unexpectedCall());
    const auto& calls = h.prompter.calls();
    QCOMPARE(calls.front().kind, ScriptedPrompter::Kind::Folder);
    QCOMPARE(calls.front().fileName, h.path(QStringLiteral("guide-html")));
    QVERIFY(QFile::exists(site + QStringLiteral("/index.html")));
    QVERIFY(QFile::exists(site + QStringLiteral("/T59.html")));
    QVERIFY(MainWindowHarness::readFile(site + QStringLiteral("/T1.html")).contains("<title>Title &lt;1&gt;</title>"));
    QVERIFY(h.prompter.lastMessage().contains(QStringLiteral("60 pages, 0 pictures, 0 keywords; 0 warnings")));
    QVERIFY(h.prompter.lastMessage().endsWith(QStringLiteral("Open it in the browser?")));
    QCOMPARE(opened, (QList<QUrl>{QUrl::fromLocalFile(site + QStringLiteral("/index.html"))}));
    QVERIFY(progress.size() > 2);
    QCOMPARE(progress.last(), 0); // the bar is back at rest
    QVERIFY(progress.contains(100));

    // The folder is remembered for this project and offered the next time.
    const IniFile ini = IniFile::read(h.path(QStringLiteral("Topicsmith.ini")));
    QCOMPARE(ini.value(QStringLiteral("PUBLISH"), f.build->publishing->settingsKey(QStringLiteral("HTML"))), site);
    h.prompter.reset();
    h.prompter.path(QString());
    f.actions->publishHtml->trigger();
    QCOMPARE(h.prompter.calls().front().fileName, site);
}

void PublishTest::cancelledFolderPublishesNothing()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("guide.tsp"));
    writeProject(path, 3);
    h.show();
    openProject(h, path);
    h.prompter.path(QString());
    h.form->actions->publishHtml->trigger();
    QVERIFY(!h.prompter.unexpectedCall());
    QCOMPARE(h.prompter.calls().size(), size_t(1));
    QVERIFY(!QFile::exists(h.path(QStringLiteral("guide-html"))));
}

void PublishTest::chmIsWrittenOrTheMissingCompilerNamed()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("guide.tsp"));
    writeProject(path, 4);
    h.show();
    openProject(h, path);
    if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty()) {
        h.form->actions->publishChm->trigger();
        QCOMPARE(h.prompter.lastMessage(), publish::chmCompilerMissingText());
        QSKIP("chmcmd is not installed (Debian package fp-utils); only its message was checked");
    }
    const QString chm = h.path(QStringLiteral("out"));
    h.prompter.path(chm);
    h.form->actions->publishChm->trigger();
    QVERIFY(!h.prompter.unexpectedCall());
    QCOMPARE(h.prompter.calls().front().kind, ScriptedPrompter::Kind::SaveFile);
    QCOMPARE(h.prompter.calls().front().fileName, h.path(QStringLiteral("guide.chm")));
    QVERIFY(QFileInfo(chm + QStringLiteral(".chm")).size() > 0);
    QVERIFY(h.prompter.lastMessage().startsWith(QStringLiteral("The help was published as ")));

    // Publishing over it asks first; No keeps the file.
    const QDateTime made = QFileInfo(chm + QStringLiteral(".chm")).lastModified();
    h.prompter.reset();
    h.prompter.path(chm + QStringLiteral(".chm")).answer(Prompter::Answer::No);
    h.form->actions->publishChm->trigger();
    QVERIFY(h.prompter.lastMessage().endsWith(QStringLiteral("Do you want to replace it?")));
    QCOMPARE(QFileInfo(chm + QStringLiteral(".chm")).lastModified(), made);
}

// As the builds: Save As first, nothing published when it is cancelled,
// and then the site proposed beside the named project.
void PublishTest::publishingAnUnnamedProjectAsksForItsNameFirst()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("WELCOME"));
    QTemporaryDir elsewhere;
    const QStringList before = QDir(h.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QList<QAction*> commands{f.actions->publishHtml};
    if (!QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
        commands << f.actions->publishChm;
    for (QAction* command : commands) {
        h.prompter.reset();
        h.prompter.path(QString());
        command->trigger();
        QCOMPARE(h.prompter.calls().size(), size_t(1));
        QCOMPARE(h.prompter.calls().back().kind, ScriptedPrompter::Kind::SaveFile);
        QCOMPARE(h.prompter.calls().back().fileName, QString()); // the project's name, not the site's
        QVERIFY(f.project().isUnnamed());
    }
    QCOMPARE(QDir(h.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);

    h.prompter.reset();
    const QString site = elsewhere.filePath(QStringLiteral("site"));
    h.prompter.path(elsewhere.filePath(QStringLiteral("gadget.tsp"))).path(site).answer(Prompter::Answer::No);
    f.actions->publishHtml->trigger();
    QVERIFY(!h.prompter.unexpectedCall());
    QCOMPARE(f.project().ProjectPath, elsewhere.filePath(QStringLiteral("gadget.tsp")));
    QCOMPARE(h.prompter.calls().at(1).kind, ScriptedPrompter::Kind::Folder);
    QCOMPARE(h.prompter.calls().at(1).fileName, elsewhere.filePath(QStringLiteral("gadget-html")));
    QVERIFY(QFile::exists(site + QStringLiteral("/WELCOME.html")));
}

QTEST_MAIN(PublishTest)
#include "test_publish.moc"
