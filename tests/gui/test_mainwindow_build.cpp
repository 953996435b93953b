// The Build menu of the main window: the help source files with their status
// text and progress, failures, the built-in compiler, choosing and starting an
// external help compiler, the help viewer, the compile log viewer and the
// extended topic list shown in it.

#include "test_mainwindow_support.h"

#include "LogViewer.h"
#include "helpfile/HelpCompiler.h"
#include "helpsource/CompilerCommand.h"
#include "viewer/HelpViewer.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProgressBar>

using namespace ts;
using namespace ts::testing;

namespace {

const QString CompilerFilter = QStringLiteral("Help Compiler (Hcrtf.exe) or (Hcw.exe)|*.EXE");
const QString UseBuiltIn = QStringLiteral(
    "Compile with the built-in help compiler?\r\r"
    "Yes: Topicsmith compiles the help file itself; no Windows program is needed.\r"
    "No: choose an external help compiler (HCW.EXE or HCRTF.EXE).");

void openProject(MainWindowHarness& h, const QString& path)
{
    h.form->projectCommands->setPendingOpenPath(path);
    h.form->projectCommands->openProject();
    QCOMPARE(h.form->project().ProjectPath, path);
}

// Every move of the progress bar with the status text beside it.
struct Activity {
    QList<int> values;
    QStringList texts;

    explicit Activity(MainWindow& f)
    {
        QObject::connect(f.progressBar, &QProgressBar::valueChanged, &f, [this, &f](int v) {
            values.append(v);
            texts.append(f.statusBar->panelText(1));
        });
    }
};

// What the log viewer showed while a command had it open. The viewer is
// closed with Escape; `whileOpen` runs before that.
struct ViewerSeen {
    bool shown = false;
    QString title, header, text;
};

ViewerSeen runWithViewer(MainWindowHarness& h, const std::function<void()>& command,
                         const std::function<void(LogViewer&)>& whileOpen = {})
{
    ViewerSeen seen;
    LogViewer* log = h.form->build->logViewer;
    QTimer::singleShot(0, log, [&] {
        if (!log->isVisible())
            return;
        seen.shown = true;
        seen.title = log->windowTitle();
        seen.header = log->headerLabel->text();
        seen.text = log->text();
        if (whileOpen)
            whileOpen(*log);
        QTest::keyClick(log->textView(), Qt::Key_Escape);
    });
    command();
    // A command that did not open the viewer leaves the check pending.
    QCoreApplication::processEvents();
    return seen;
}

// A project of topics, each with a title and a body that names it; `callIds`
// gives the Application Call ID of the first topics (-1 for none).
void writeProject(const QString& path, const QStringList& ids, const QList<int>& callIds = {})
{
    Project p;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        TopicRecord t;
        t.TopicID.setText(ids[i]);
        t.Title.setText(i == 1 ? QString() : QStringLiteral("Title of ") + ids[i]);
        t.BodyRtf = RtfWriter::write(RichDocument::fromPlainText(QStringLiteral("Body of ") + ids[i]));
        if (i < callIds.size() && callIds[i] >= 0) {
            t.HasCallId = true;
            t.CallId = callIds[i];
        }
        p.addTopic(t);
    }
    ProjectFile::save(p, path);
}

} // namespace

class MainWindowBuildTest : public QObject {
    Q_OBJECT

private slots:
    void rtfFileStoresTheCurrentTopicAndShowsItsProgress();
    void projectFilesWriteHpjThenCnt();
    void badContentsLevelStopsBeforeTheCnt();
    void writeFailureNamesTheFileAndStopsTheBuild();
    void f9WithNoCompilerChosenCompilesBuiltIn();
    void builtInCompileFailureNamesTheFile();
    void viewHelpFileOpensOurViewerOrWinesAtTheTopic();
    void chosenCompilerIsStartedOnTheHpj();
    void compilerNameDecidesWhatStarts();
    void logViewerBeforeAndAfterACompile();
    void extendedTopicList();
    void buildOfAnUnnamedProjectAsksForItsNameFirst();
};

void MainWindowBuildTest::rtfFileStoresTheCurrentTopicAndShowsItsProgress()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("seven.tsp"));
    QStringList ids;
    for (int i = 1; i <= 7; ++i)
        ids.append(QStringLiteral("T%1").arg(i));
    writeProject(path, ids);
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("Typed but not yet stored"));

    Activity activity(f);
    h.click(f.toolBar->button(f.actions->topicFile));

    const QByteArray rtf = MainWindowHarness::readFile(h.path(QStringLiteral("seven.RTF")));
    QVERIFY(rtf.contains("Typed but not yet stored"));
    QVERIFY(rtf.contains("Body of T7"));
    QVERIFY(rtf.contains("\\super #{\\*\\footnote #\\pard\\plain T1}"));
    QVERIFY(!QFile::exists(h.path(QStringLiteral("seven.HPJ"))));
    // 90 div 7 per topic, then back to 0 with the status text gone.
    QCOMPARE(activity.values, (QList<int>{12, 24, 36, 48, 60, 72, 84, 0}));
    QCOMPARE(activity.texts.first(), QStringLiteral("Saving RTF file..."));
    QCOMPARE(activity.texts.at(6), QStringLiteral("Saving RTF file..."));
    QCOMPARE(f.statusBar->panelText(1), QString());
    QVERIFY(h.prompter.calls().empty());
}

void MainWindowBuildTest::projectFilesWriteHpjThenCnt()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO"), QStringLiteral("PRINTING")}, {100});
    MainWindowHarness::writeFile(h.path(QStringLiteral("demo.tsc")),
                                 "Getting started\r\n\tIntroduction=INTRO\r\n\tPrinting=PRINTING\r\n");
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);

    Activity activity(f);
    f.actions->projectFiles->trigger();

    const QString base = h.path(QStringLiteral("demo"));
    const QByteArray hpj = MainWindowHarness::readFile(base + QStringLiteral(".HPJ"));
    QVERIFY(hpj.startsWith("[OPTIONS]\r\n"));
    QVERIFY(hpj.contains("\r\n[MAP]\r\nINTRO=100\r\n\r\n[WINDOWS]\r\n"));
    // The compiler is a Windows program: it reads the Windows form of the path.
    QVERIFY(hpj.contains(QString(QStringLiteral("ERRORLOG=") + windowsFormOfPath(base) + QStringLiteral(".LOG\r\n")).toUtf8()));
    QCOMPARE(MainWindowHarness::readFile(base + QStringLiteral(".cnt")),
             QByteArray(":Title \r\n1 Getting started\r\n2 Introduction=INTRO\r\n2 Printing=PRINTING\r\n"));
    QVERIFY(!QFile::exists(base + QStringLiteral(".RTF")));
    // One window: the HPJ's bar jumps to 100; three entries: 33 each.
    QCOMPARE(activity.values, (QList<int>{100, 0, 33, 66, 99, 0}));
    QCOMPARE(activity.texts, (QStringList{QStringLiteral("Saving .HPJ file..."), QString(),
                                          QStringLiteral("Saving .CNT file..."), QStringLiteral("Saving .CNT file..."),
                                          QStringLiteral("Saving .CNT file..."), QString()}));
    QVERIFY(h.prompter.calls().empty());
}

void MainWindowBuildTest::badContentsLevelStopsBeforeTheCnt()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO")});
    MainWindowHarness::writeFile(h.path(QStringLiteral("demo.tsc")), "Heading\r\n\t\tToo deep=INTRO\r\n");
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);
    int starts = 0;
    f.build->startCompiler = [&](const CompilerLaunch&) { ++starts; };
    f.project().CompilerPath = h.path(QStringLiteral("hcw.exe"));

    h.activate();
    QTest::keyClick(&f, Qt::Key_F9);

    QCOMPARE(h.prompter.messages(),
             QStringList{QStringLiteral("Invalid item level assignment in '%1', line 2\rThe contents editor shows the "
                                        "file with the line placed at a valid level; its OK writes it so.")
                             .arg(h.path(QStringLiteral("demo.tsc")))});
    QCOMPARE(int(h.prompter.calls().size()), 1);
    QVERIFY(QFile::exists(h.path(QStringLiteral("demo.RTF"))));
    QVERIFY(QFile::exists(h.path(QStringLiteral("demo.HPJ"))));
    QVERIFY(!QFile::exists(h.path(QStringLiteral("demo.cnt"))));
    QCOMPARE(starts, 0);
    QCOMPARE(f.progressBar->value(), 0);
    QCOMPARE(f.statusBar->panelText(1), QString());
}

void MainWindowBuildTest::writeFailureNamesTheFileAndStopsTheBuild()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO"), QStringLiteral("MORE")});
    // A folder where the topic file belongs: it cannot be written.
    QVERIFY(QDir(h.folder()).mkdir(QStringLiteral("demo.RTF")));
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);

    h.click(f.toolBar->button(f.actions->buildAll));
    QCOMPARE(h.prompter.messages().size(), 1);
    QVERIFY2(h.prompter.lastMessage().contains(h.path(QStringLiteral("demo.RTF"))),
             qPrintable(h.prompter.lastMessage()));
    QCOMPARE(h.prompter.calls().back().icon, Prompter::Icon::Error);
    QVERIFY(!QFile::exists(h.path(QStringLiteral("demo.HPJ"))));
    QCOMPARE(f.progressBar->value(), 0);
    QCOMPARE(f.statusBar->panelText(1), QString());
}

void MainWindowBuildTest::f9WithNoCompilerChosenCompilesBuiltIn()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO"), QStringLiteral("MORE"), QStringLiteral("LAST")});
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);
    int starts = 0;
    f.build->startCompiler = [&](const CompilerLaunch&) { ++starts; };
    QList<CompilerLaunch> wineViewers;
    f.build->startViewer = [&](const CompilerLaunch& l) { wineViewers.append(l); };
    QCOMPARE(f.project().CompilerPath, QStringLiteral("NoCompiler"));

    Activity activity(f);
    h.activate();
    f.navigator->goToTopic(1);
    QTest::keyClick(&f, Qt::Key_F9);

    QVERIFY2(h.prompter.calls().empty(), qPrintable(h.prompter.messages().join(QLatin1Char('|'))));
    QCOMPARE(starts, 0);
    QVERIFY(wineViewers.isEmpty());
    // "... and show Help": the program's viewer reads the new file and shows the current topic.
    HelpViewerWindow* viewer = f.helpViewer->mainWindow();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(QFileInfo(f.helpViewer->filePath()).fileName(), QStringLiteral("demo.HLP"));
    QCOMPARE(viewer->page.topic, f.helpViewer->document().findTopic(QStringLiteral("MORE")));
    QCOMPARE(viewer->page.topic, 1);
    viewer->close();
    QVERIFY(QFile::exists(h.path(QStringLiteral("demo.RTF"))));
    QVERIFY(QFile::exists(h.path(QStringLiteral("demo.HPJ"))));
    const QByteArray hlp = MainWindowHarness::readFile(h.path(QStringLiteral("demo.HLP")));
    // A WinHelp file starts with its magic number, 0x00035F3F little-endian.
    QVERIFY(hlp.startsWith(QByteArray("\x3f\x5f\x03\x00", 4)));
    QVERIFY(activity.texts.contains(HelpCompileStatusText));
    QCOMPARE(f.statusBar->panelText(3), QStringLiteral("Compiled demo.HLP: 3 topics, 0 warnings"));
    // Shown whole across the bar for a while, whatever the panel's room.
    QCOMPARE(f.statusBar->currentMessage(), QStringLiteral("Compiled demo.HLP: 3 topics, 0 warnings"));
    QCOMPARE(f.statusBar->panelText(1), QString());
    QCOMPARE(f.statusBar->panelText(3), QStringLiteral("Compiled demo.HLP: 3 topics, 0 warnings"));
    QCOMPARE(f.progressBar->value(), 0);
    QVERIFY(f.progressBar->isHidden()); // no empty box while idle

    // The log button shows the log of this compile.
    ViewerSeen log = runWithViewer(h, [&] { h.click(f.toolBar->button(f.actions->showLog)); });
    QVERIFY(log.shown);
    QCOMPARE(log.header, QStringLiteral("  Last compile log for: ") + path);
    QVERIFY2(log.text.contains(QStringLiteral("3 topics, 0 jumps")), qPrintable(log.text));

    // The result belongs to this project: opening one empties the panel.
    openProject(h, path);
    QCOMPARE(f.statusBar->panelText(3), QString());
}

void MainWindowBuildTest::builtInCompileFailureNamesTheFile()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO")});
    // A folder where the help file belongs: it cannot be written.
    QVERIFY(QDir(h.folder()).mkdir(QStringLiteral("demo.HLP")));
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);

    f.actions->compile->trigger();

    QCOMPARE(h.prompter.messages().size(), 1);
    QVERIFY2(h.prompter.lastMessage().contains(h.path(QStringLiteral("demo.HLP"))),
             qPrintable(h.prompter.lastMessage()));
    QCOMPARE(h.prompter.calls().back().icon, Prompter::Icon::Error);
    QVERIFY(QFile::exists(h.path(QStringLiteral("demo.HPJ"))));
    QCOMPARE(f.statusBar->panelText(1), QString());
    QCOMPARE(f.statusBar->panelText(3), QString());
    QCOMPARE(f.progressBar->value(), 0);
}

void MainWindowBuildTest::viewHelpFileOpensOurViewerOrWinesAtTheTopic()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO_1.A"), QStringLiteral("SEE-ALSO")});
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);
    QList<CompilerLaunch> launches;
    f.build->startViewer = [&](const CompilerLaunch& l) { launches.append(l); };
    bool wine = true;
    f.build->wineAvailable = [&] { return wine; };

    QList<std::pair<QString, QString>> shown;
    f.build->showHelpFile = [&](const QString& file, const QString& id) { shown.append({file, id}); };

    // Not compiled yet: the message names the file.
    f.actions->viewInWine->trigger();
    QCOMPARE(h.prompter.messages().size(), 1);
    QVERIFY2(h.prompter.lastMessage().contains(h.path(QStringLiteral("demo.HLP"))),
             qPrintable(h.prompter.lastMessage()));
    QVERIFY(launches.isEmpty());

    f.build->compileProject(); // shows the file too, as F9's test checks
    shown.clear();
    h.prompter.reset();
    // View Help File opens the program's viewer at the topic, View in Wine's Viewer Wine's.
    f.actions->viewHelp->trigger();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].first, h.path(QStringLiteral("demo.HLP")));
    QCOMPARE(shown[0].second, QStringLiteral("INTRO_1.A"));
    QVERIFY(launches.isEmpty());
    f.actions->viewInWine->trigger();
    QVERIFY(h.prompter.calls().empty());
    QCOMPARE(launches.size(), 1);
    QCOMPARE(launches[0].Program, QStringLiteral("wine"));
    QCOMPARE(launches[0].Arguments, (QStringList{QStringLiteral("winhlp32"), QStringLiteral("-i"),
                                                 QStringLiteral("INTRO_1.A"), QStringLiteral("demo.HLP")}));
    QCOMPARE(QDir(launches[0].WorkingFolder), QDir(h.folder()));

    // An ID Wine cannot look up: the file opens at its contents topic.
    f.navigator->goToTopic(1);
    f.build->viewHelpFileInWine();
    QCOMPARE(launches.size(), 2);
    QCOMPARE(launches[1].Arguments, (QStringList{QStringLiteral("winhlp32"), QStringLiteral("demo.HLP")}));

    // No wine: the message names the package to install.
    wine = false;
    f.build->viewHelpFileInWine();
    QCOMPARE(launches.size(), 2);
    QCOMPARE(h.prompter.messages().size(), 1);
    QVERIFY2(h.prompter.lastMessage().contains(QStringLiteral("Debian package \"wine\"")),
             qPrintable(h.prompter.lastMessage()));
}

void MainWindowBuildTest::chosenCompilerIsStartedOnTheHpj()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO")});
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);
    QList<CompilerLaunch> launches;
    f.build->startCompiler = [&](const CompilerLaunch& l) { launches.append(l); };

    // The path keeps its case here; only the compiler's name is compared in capitals.
    const QString compiler = h.path(QStringLiteral("Help Tools/HcW.exe"));
    h.prompter.answer(Prompter::Answer::No).path(compiler);
    f.actions->setCompiler->trigger();
    QCOMPARE(h.prompter.messages(), QStringList{UseBuiltIn});
    QCOMPARE(h.prompter.calls()[0].buttons, Prompter::Buttons::YesNo);
    h.click(f.toolBar->button(f.actions->compile));

    QCOMPARE(f.project().CompilerPath, compiler);
    QCOMPARE(launches.size(), 1);
    const QString hpj = h.path(QStringLiteral("demo.HPJ"));
    QVERIFY(QFile::exists(hpj));
    const QStringList compilerArgs{QStringLiteral("/c"), QStringLiteral("/e"), QStringLiteral("/r"),
                                   windowsFormOfPath(hpj)};
    const CompilerLaunch& l = launches.first();
    QCOMPARE(l.WorkingFolder, h.path(QStringLiteral("Help Tools/")));
    if (ts::wineAvailable()) {
        QCOMPARE(l.Program, QStringLiteral("wine"));
        QCOMPARE(l.Arguments, QStringList{compiler} + compilerArgs);
    } else {
        QCOMPARE(l.Program, compiler);
        QCOMPARE(l.Arguments, compilerArgs);
    }

    // Known now: the next build starts it without asking.
    h.prompter.reset();
    h.click(f.toolBar->button(f.actions->compile));
    QVERIFY(h.prompter.calls().empty());
    QCOMPARE(launches.size(), 2);
    QVERIFY(!QFile::exists(h.path(QStringLiteral("demo.HLP"))));

    // Back to the built-in compiler.
    h.prompter.answer(Prompter::Answer::Yes);
    f.actions->setCompiler->trigger();
    QCOMPARE(f.project().CompilerPath, QStringLiteral("NoCompiler"));
    h.click(f.toolBar->button(f.actions->compile));
    QCOMPARE(launches.size(), 2);
    QVERIFY(QFile::exists(h.path(QStringLiteral("demo.HLP"))));
}

void MainWindowBuildTest::compilerNameDecidesWhatStarts()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO")});
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);
    QList<CompilerLaunch> launches;
    f.build->startCompiler = [&](const CompilerLaunch& l) { launches.append(l); };

    // Set Help Compiler: a cancelled dialog keeps what was there.
    const QString hcrtf = h.path(QStringLiteral("tools/hcrtf.EXE"));
    h.prompter.answer(Prompter::Answer::No).path(hcrtf).answer(Prompter::Answer::No).path(QString());
    f.actions->setCompiler->trigger();
    QCOMPARE(f.project().CompilerPath, hcrtf);
    f.actions->setCompiler->trigger();
    QCOMPARE(f.project().CompilerPath, hcrtf);
    QCOMPARE(h.prompter.calls()[1].kind, ScriptedPrompter::Kind::OpenFile);
    QCOMPARE(h.prompter.calls()[1].filter, CompilerFilter);
    QCOMPARE(h.prompter.calls()[1].fileName, QStringLiteral("*.exe"));
    QCOMPARE(h.prompter.unusedScript(), 0);

    f.build->compileProject();
    QCOMPARE(launches.size(), 1);
    const QStringList args = launches.first().Arguments;
    QCOMPARE(args.mid(args.size() - 2),
             (QStringList{QStringLiteral("/xh"), windowsFormOfPath(h.path(QStringLiteral("demo.HPJ")))}));

    // Any other program starts nothing and says nothing.
    h.prompter.reset();
    h.prompter.answer(Prompter::Answer::No).path(h.path(QStringLiteral("tools/notepad.exe")));
    f.build->setHelpCompiler();
    f.build->compileProject();
    QCOMPARE(launches.size(), 1);
    QCOMPARE(int(h.prompter.calls().size()), 2);
}

void MainWindowBuildTest::logViewerBeforeAndAfterACompile()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO")});
    h.show();
    MainWindow& f = *h.form;
    openProject(h, path);

    ViewerSeen before = runWithViewer(h, [&] { h.click(f.toolBar->button(f.actions->showLog)); });
    QVERIFY(before.shown);
    QCOMPARE(before.title, QStringLiteral("Last Compile Information"));
    QCOMPARE(before.header, QStringLiteral("No Log File Yet!"));
    QCOMPARE(before.text, QString());

    // The compiler writes its log in the Windows code page.
    MainWindowHarness::writeFile(h.path(QStringLiteral("demo.LOG")),
                                 "Microsoft (R) Help Compiler\r\nCaf\xe9 \x80 topic\r\n\t1 topic, 0 errors\r\n");
    h.prompter.printAnswer(true);
    ViewerSeen after = runWithViewer(h, [&] { f.actions->showLog->trigger(); },
                                     [](LogViewer& log) { QTest::mouseClick(log.printButton(), Qt::LeftButton); });
    QVERIFY(after.shown);
    QCOMPARE(after.header, QStringLiteral("  Last compile log for: ") + path);
    QCOMPARE(after.text, QStringLiteral("Microsoft (R) Help Compiler\nCaf\u00e9 \u20ac topic\n\t1 topic, 0 errors\n"));
    const auto& print = h.prompter.calls().back();
    QCOMPARE(print.kind, ScriptedPrompter::Kind::Print);
    QCOMPARE(print.text, after.header);
    QCOMPARE(print.document, after.text);
    QVERIFY(!f.build->logViewer->isVisible());
}

void MainWindowBuildTest::extendedTopicList()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    // No project: the tool button still answers.
    ViewerSeen none = runWithViewer(h, [&] { h.click(f.toolBar->button(f.actions->extendedTopicList)); });
    QVERIFY(!none.shown);
    QCOMPARE(h.prompter.messages(), QStringList{QStringLiteral("Nothing to list yet!?")});

    const QString path = h.path(QStringLiteral("demo.tsp"));
    writeProject(path, {QStringLiteral("INTRO"), QStringLiteral("SECOND"), QStringLiteral("THIRD")}, {10, -1, 0});
    openProject(h, path);
    h.prompter.reset();
    h.prompter.printAnswer(true);
    ViewerSeen list = runWithViewer(h, [&] { f.actions->extendedTopicList->trigger(); },
                                    [](LogViewer& log) { log.print(); });
    QVERIFY(list.shown);
    QCOMPARE(list.title, QStringLiteral("  Extended Topic List"));
    QCOMPARE(list.header, QStringLiteral("Extended Topic List for: ") + path);
    QCOMPARE(list.text, QStringLiteral("INTRO : Title of INTRO : Application Call ID: 10\n"
                                       "SECOND :  : No Application Call\n"
                                       "THIRD : Title of THIRD : Application Call ID: 0"));
    QCOMPARE(h.prompter.calls().back().text, list.header);

    // The compile log command fills the viewer afresh.
    ViewerSeen log = runWithViewer(h, [&] { f.build->showCompileLog(); });
    QCOMPARE(log.title, QStringLiteral("Last Compile Information"));
    QCOMPARE(log.header, QStringLiteral("No Log File Yet!"));
    QCOMPARE(log.text, QString());
}

// F9 and every Build command on a project never saved: Save As first, then
// the files beside the project; a cancelled name builds nothing.
void MainWindowBuildTest::buildOfAnUnnamedProjectAsksForItsNameFirst()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("WELCOME"));
    QTemporaryDir elsewhere;
    const QStringList before = QDir(h.folder()).entryList(QDir::Files);
    for (QAction* command : {f.actions->compile, f.actions->buildAll, f.actions->projectFiles,
                             f.actions->topicFile}) {
        h.prompter.path(QString());
        command->trigger();
        QCOMPARE(h.prompter.calls().back().kind, ScriptedPrompter::Kind::SaveFile);
        QCOMPARE(QDir(h.folder()).entryList(QDir::Files), before);
        QVERIFY(f.project().isUnnamed());
    }
    h.prompter.path(elsewhere.filePath(QStringLiteral("gadget.tsp")));
    f.actions->compile->trigger();
    QCOMPARE(f.project().ProjectPath, elsewhere.filePath(QStringLiteral("gadget.tsp")));
    for (const char* name : {"gadget.tsp", "gadget.RTF", "gadget.HPJ", "gadget.HLP"})
        QVERIFY2(QFile::exists(elsewhere.filePath(QLatin1String(name))), name);
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files), before);
    QVERIFY(!h.prompter.unexpectedCall());
}

QTEST_MAIN(MainWindowBuildTest)
#include "test_mainwindow_build.moc"
