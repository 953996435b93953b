// Save and Save As in the main window: in place with progress and status,
// under a new name with the companion files and the contents file, and what
// a failed Save As leaves.

#include "test_mainwindow_project_support.h"

#include <QProgressBar>
#include <QWindow>

using namespace ts;
using namespace ts::testing;

class MainWindowSaveTest : public QObject {
    Q_OBJECT

private slots:
    void saveOfUnnamedProjectIsSaveAs();
    void saveWritesInPlaceWithProgressAndStatus();
    void saveAsAsksBeforeReplacing();
    void saveAsCarriesCompanionFiles();
    void saveAsOfUnnamedProjectMovesItsContentsFile();
    void saveAsOfUserProjectCalledNoNameKeepsItsFiles();
    void saveAsAsksWhetherTheTargetContentsStay();
    void failedSaveAsLeavesTheProjectAsItWas();
};

void MainWindowSaveTest::saveOfUnnamedProjectIsSaveAs()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("INTRO"), QStringLiteral("Introduction"));
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("Welcome"));
    MainWindowHarness::typeInto(f.editors->keywordsEdit(), QStringLiteral("start;begin"));
    const QString path = h.path(QStringLiteral("guide.tsp"));
    saveAs(h, path);

    const auto& call = h.prompter.calls().back();
    QCOMPARE(call.kind, ScriptedPrompter::Kind::SaveFile);
    QCOMPARE(call.filter, ProjectFilter);
    QCOMPARE(call.defaultSuffix, QStringLiteral("tsp"));
    QCOMPARE(f.project().ProjectPath, path);
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("Project: guide.tsp"));
    QCOMPARE(f.statusBar->panelText(1), QString());
    QCOMPARE(f.progressBar->value(), 0);
    QCOMPARE(f.actions->reopen[0]->text(), QStringLiteral("&1 ") + path);
    QVERIFY(!QFile::exists(h.path(QStringLiteral("NoName.tsp"))));

    const Project saved = loadProject(path);
    QCOMPARE(saved.TopicCount(), 1);
    QCOMPARE(saved.topic(0).TopicID.text(), QStringLiteral("INTRO"));
    QCOMPARE(saved.topic(0).Title.text(), QStringLiteral("Introduction"));
    QCOMPARE(saved.topic(0).Keywords.text(), QStringLiteral("start;begin"));
    QCOMPARE(storedBody(saved, 0), QStringLiteral("Welcome"));
}

void MainWindowSaveTest::saveWritesInPlaceWithProgressAndStatus()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("seven.tsp"));
    QStringList ids;
    for (int i = 1; i <= 7; ++i)
        ids.append(QStringLiteral("T%1").arg(i));
    MainWindowHarness::writeProject(path, ids, 3);
    h.show();
    MainWindow& f = *h.form;
    f.projectCommands->setPendingOpenPath(path);
    f.projectCommands->openProject();
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("Project: seven.tsp"));
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("changed first topic"));

    QList<int> steps;
    QStringList activity;
    connect(f.progressBar, &QProgressBar::valueChanged, &f, [&](int v) {
        steps.append(v);
        activity.append(f.statusBar->panelText(1));
    });
    const int callsBefore = int(h.prompter.calls().size());
    h.click(f.toolBar->button(f.actions->saveProject));
    QCOMPARE(int(h.prompter.calls().size()), callsBefore); // no dialog
    // 16 per window, 7 per topic, then back to 0.
    QCOMPARE(steps, (QList<int>{16, 32, 48, 55, 62, 69, 76, 83, 90, 97, 0}));
    QCOMPARE(activity.first(), QStringLiteral("Saving project..."));
    QCOMPARE(f.statusBar->panelText(1), QString());
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("Project: seven.tsp"));
    QCOMPARE(storedBody(loadProject(path), 0), QStringLiteral("changed first topic"));
}

void MainWindowSaveTest::saveAsAsksBeforeReplacing()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    const QString existing = h.path(QStringLiteral("taken.tsp"));
    MainWindowHarness::writeProject(existing, {QStringLiteral("THEIRS")});
    const QByteArray before = MainWindowHarness::readFile(existing);
    h.newProject(QStringLiteral("MINE"));

    h.prompter.path(existing).answer(Prompter::Answer::Cancel);
    f.actions->saveProjectAs->trigger();
    const auto& q = h.prompter.calls().back();
    QCOMPARE(q.text, existing + QStringLiteral(" already exists\rReplace existing file?"));
    QCOMPARE(q.caption, QStringLiteral("Save As"));
    QCOMPARE(q.buttons, Prompter::Buttons::OkCancel);
    QCOMPARE(q.icon, Prompter::Icon::Question);
    QCOMPARE(MainWindowHarness::readFile(existing), before);
    QVERIFY(f.project().isUnnamed());
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("Project: NoName.tsp"));

    h.prompter.path(existing).answer(Prompter::Answer::Ok);
    f.actions->saveProjectAs->trigger();
    QCOMPARE(loadProject(existing).topic(0).TopicID.text(), QStringLiteral("MINE"));
    QCOMPARE(f.project().ProjectPath, existing);

    // Save As onto its own path asks too, then rewrites the file.
    h.prompter.path(existing).answer(Prompter::Answer::Ok);
    f.actions->saveProjectAs->trigger();
    QCOMPARE(h.prompter.calls().back().caption, QStringLiteral("Save As"));
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowSaveTest::saveAsCarriesCompanionFiles()
{
    MainWindowHarness h;
    const QString oldPath = h.path(QStringLiteral("old.tsp"));
    MainWindowHarness::writeProject(oldPath, {QStringLiteral("A")});
    MainWindowHarness::writeFile(h.path(QStringLiteral("old.tsc")), "contents");
    MainWindowHarness::writeFile(h.path(QStringLiteral("old.cnt")), "cnt file");
    MainWindowHarness::writeFile(h.path(QStringLiteral("new.tsc")), "to be replaced");
    h.show();
    openByDialog(h, oldPath, false);
    QCOMPARE(h.form->project().ProjectPath, oldPath);

    // Another project's contents file is replaced only after a question
    // that names it; Cancel leaves everything as it was.
    const QString newContents = h.path(QStringLiteral("new.tsc"));
    const QString question = newContents + QStringLiteral(" already exists\rReplace it with this project's contents file?");
    h.prompter.path(h.path(QStringLiteral("new.tsp"))).answer(Prompter::Answer::Cancel);
    h.form->actions->saveProjectAs->trigger();
    QCOMPARE(h.prompter.calls().back().text, question);
    QCOMPARE(MainWindowHarness::readFile(newContents), QByteArray("to be replaced"));
    QVERIFY(!QFile::exists(h.path(QStringLiteral("new.tsp"))));
    QVERIFY(!QFile::exists(h.path(QStringLiteral("new.cnt"))));
    QCOMPARE(h.form->project().ProjectPath, oldPath);

    h.prompter.path(h.path(QStringLiteral("new.tsp"))).answer(Prompter::Answer::Ok);
    h.form->actions->saveProjectAs->trigger();
    QCOMPARE(h.prompter.calls().back().text, question);
    QCOMPARE(MainWindowHarness::readFile(newContents), QByteArray("contents"));
    QCOMPARE(MainWindowHarness::readFile(h.path(QStringLiteral("new.cnt"))), QByteArray("cnt file"));
    QVERIFY(QFile::exists(h.path(QStringLiteral("old.tsc"))));
    QVERIFY(QFile::exists(h.path(QStringLiteral("old.cnt"))));
    QCOMPARE(h.form->statusBar->panelText(0), QStringLiteral("Project: new.tsp"));
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowSaveTest::saveAsOfUnnamedProjectMovesItsContentsFile()
{
    MainWindowHarness h;
    h.show();
    h.newProject(QStringLiteral("A"));
    MainWindowHarness::writeFile(h.path(QStringLiteral("NoName.tsc")), "unnamed contents");
    MainWindowHarness::writeFile(h.path(QStringLiteral("NoName.cnt")), "unnamed cnt");
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("named.tsp"));
    saveAs(h, target);
    QCOMPARE(MainWindowHarness::readFile(elsewhere.filePath(QStringLiteral("named.tsc"))),
             QByteArray("unnamed contents"));
    QCOMPARE(MainWindowHarness::readFile(elsewhere.filePath(QStringLiteral("named.cnt"))), QByteArray("unnamed cnt"));
    QVERIFY(!QFile::exists(h.path(QStringLiteral("NoName.tsc"))));
    QVERIFY(QFile::exists(h.path(QStringLiteral("NoName.cnt"))));
}

void MainWindowSaveTest::saveAsOfUserProjectCalledNoNameKeepsItsFiles()
{
    MainWindowHarness h;
    QTemporaryDir elsewhere;
    const auto at = [&](const char* name) { return elsewhere.filePath(QLatin1String(name)); };
    MainWindowHarness::writeProject(at("NoName.tsp"), {QStringLiteral("A")});
    MainWindowHarness::writeFile(at("NoName.tsc"), "my contents");
    MainWindowHarness::writeFile(at("NoName.cnt"), "my cnt");
    h.show();
    openByDialog(h, at("NoName.tsp"), false);
    QVERIFY(!h.form->project().isUnnamed());

    h.prompter.path(at("named.tsp"));
    h.form->actions->saveProjectAs->trigger();
    QCOMPARE(MainWindowHarness::readFile(at("NoName.tsc")), QByteArray("my contents"));
    QCOMPARE(MainWindowHarness::readFile(at("NoName.cnt")), QByteArray("my cnt"));
    QCOMPARE(MainWindowHarness::readFile(at("named.tsc")), QByteArray("my contents"));
    QVERIFY(!h.prompter.unexpectedCall());
}

// The project has no contents file and the target name has one: Yes keeps
// it for the renamed project, No leaves the project without contents and
// keeps the file under another name.
void MainWindowSaveTest::saveAsAsksWhetherTheTargetContentsStay()
{
    MainWindowHarness h;
    h.show();
    h.newProject(QStringLiteral("A"));
    MainWindowHarness::writeFile(h.path(QStringLiteral("kept.tsc")), "theirs 1");
    MainWindowHarness::writeFile(h.path(QStringLiteral("aside.tsc")), "theirs 2");

    h.prompter.path(h.path(QStringLiteral("aside.tsp"))).answer(Prompter::Answer::No);
    h.click(h.form->toolBar->button(h.form->actions->saveProject));
    QVERIFY(!QFile::exists(h.path(QStringLiteral("aside.tsc"))));
    QCOMPARE(MainWindowHarness::readFile(h.path(QStringLiteral("aside.tsc.old"))), QByteArray("theirs 2"));

    h.prompter.path(h.path(QStringLiteral("kept.tsp"))).answer(Prompter::Answer::Yes);
    h.form->actions->saveProjectAs->trigger();
    const auto& q = h.prompter.calls().back();
    QVERIFY(q.text.startsWith(h.path(QStringLiteral("kept.tsc")) + QStringLiteral(" already exists")));
    QCOMPARE(q.buttons, Prompter::Buttons::YesNo);
    QCOMPARE(MainWindowHarness::readFile(h.path(QStringLiteral("kept.tsc"))), QByteArray("theirs 1"));
    QCOMPARE(h.form->project().ProjectPath, h.path(QStringLiteral("kept.tsp")));

    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowSaveTest::failedSaveAsLeavesTheProjectAsItWas()
{
    MainWindowHarness h;
    const QString oldPath = h.path(QStringLiteral("old.tsp"));
    MainWindowHarness::writeProject(oldPath, {QStringLiteral("A")});
    h.show();
    openByDialog(h, oldPath, false);

    // Without and with a contents file to carry: the project file, then the
    // companion copy fails.
    for (const bool withContents : {false, true}) {
        if (withContents)
            MainWindowHarness::writeFile(h.path(QStringLiteral("old.tsc")), "contents");
        const QString target = h.path(QStringLiteral("missing/new.tsp"));
        h.prompter.path(target);
        h.form->actions->saveProjectAs->trigger();
        const auto& error = h.prompter.calls().back();
        QCOMPARE(error.icon, Prompter::Icon::Error);
        QVERIFY2(error.text.contains(h.path(QStringLiteral("missing/new."))), qPrintable(error.text));
        QCOMPARE(h.form->project().ProjectPath, oldPath);
        QCOMPARE(h.form->statusBar->panelText(0), QStringLiteral("Project: old.tsp"));
        QCOMPARE(h.form->statusBar->panelText(1), QString());

        // The next Save writes the old file without a dialog.
        const auto calls = h.prompter.calls().size();
        QFile::remove(oldPath);
        QTest::keyClick(h.form.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(h.prompter.calls().size(), calls);
        QCOMPARE(loadProject(oldPath).topic(0).TopicID.text(), QStringLiteral("A"));
    }
}

QTEST_MAIN(MainWindowSaveTest)
#include "test_mainwindow_save.moc"
