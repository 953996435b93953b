// The main window at start and at exit: its layout and command surface, the
// settings file, the command-line project, the start screen.

#include "test_mainwindow_support.h"

#include "settings/IniFile.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTimer>

using namespace ts;
using namespace ts::testing;

namespace {

QByteArray iniText(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

} // namespace

class MainWindowStartTest : public QObject {
    Q_OBJECT

private slots:
    void layoutAndCommandSurface();
    void disabledUntilAProjectExists();
    void startWithoutSettingsFile();
    void startWithSettingsFile();
    void commandLineProjectNeedsSettingsAndTspExtension_data();
    void commandLineProjectNeedsSettingsAndTspExtension();
    void closeAsksToSaveAndWritesSettingsInOrder();
    void exitYesOnUnnamedProjectCancelledSaveAsStillCloses();
    void unwritableSettingsDoNotBlockClosing();
    void failedSaveOnExitKeepsTheWindowOpen();
    void topicListVisibilitySurvivesRestart();
    void startScreenClosesTwoSecondsAfterFirstShow();
};

void MainWindowStartTest::layoutAndCommandSurface()
{
    MainWindowHarness h;
    TGlavniForm& f = *h.form;
    QCOMPARE(f.windowTitle(), QStringLiteral("Topicsmith"));

    // Every toolbar button is found by its name and carries its hint.
    const QList<std::pair<const char*, const char*>> hints = {
        {"NewButton", "New Project"}, {"OpenButton", "Open Project"}, {"SaveButton", "Save Project"},
        {"GoButton", "Build all, compile help file and show it"}, {"AllButton", "Create HPJ, CNT and RTF files"},
        {"PrjButton", "Create PRJ and CNT Files Only"}, {"RtfButton", "Create RTF File Only"},
        {"CntButton", "Contentst editor"}, {"LogButton", "Show Last Compile Info"},
        {"TopiclButton", "Show extended Topic List"}, {"BmpButton", "Insert Bitmap or Segmented Hypergraphic"},
        {"TBmpButton", "Insert Transparent Bitmap"}, {"ButtonButton", "Insert Related Topics button"},
        {"JumpButton", "Insert Link to another topic"}, {"WebButton", "Insert Link to WEB or e-mail"},
        {"CutButton", "Cut"}, {"CopyButton", "Copy"}, {"PasteButton", "Paste"},
        {"SpeedButton1", "Search topic..."}, {"SpellButton", "Spell Check"},
        {"TLButton", "Show/Hide Topic ID List"}, {"CTButton", "Change Topic Properties"},
        {"ATButton", "Add new Topic"}, {"DTButton", "Delete Current Topic"}, {"CWButton", "Edit Windows"},
        {"FBold", "Bold"}, {"Fitalic", "Italic"}, {"LeftButton", "Left Allignment"}, {"CenterButton", "Center"}};
    for (const auto& [name, hint] : hints) {
        auto* b = f.findChild<QToolButton*>(QString::fromLatin1(name));
        QVERIFY2(b, name);
        QCOMPARE(b->toolTip(), QString::fromLatin1(hint));
    }
    QVERIFY(f.TLButton->isCheckable() && f.TLButton->isChecked());
    QVERIFY(f.FBold->isCheckable() && !f.FBold->isChecked());
    QVERIFY(f.Fitalic->isCheckable() && !f.Fitalic->isChecked());
    QVERIFY(f.LeftButton->isChecked() && !f.CenterButton->isChecked());
    f.CenterButton->click();
    QVERIFY(!f.LeftButton->isChecked() && f.CenterButton->isChecked());

    QCOMPARE(f.FSize->currentText(), QStringLiteral("8"));
    QCOMPARE(f.FSize->count(), 17);
    QCOMPARE(f.FSize->itemText(16), QStringLiteral("70"));
    QCOMPARE(f.IndentCombo->currentText(), QStringLiteral("0"));
    QCOMPARE(f.IndentCombo->count(), 11);
    QCOMPARE(f.IndentCombo->itemText(10), QStringLiteral("50"));
    QVERIFY(f.FontCombo->count() > 0);
    for (int i = 1; i < f.FontCombo->count(); ++i)
        QVERIFY(f.FontCombo->itemText(i - 1).compare(f.FontCombo->itemText(i), Qt::CaseInsensitive) <= 0);
    QCOMPARE(f.FontCombo->maxVisibleItems(), 16);
    QCOMPARE(f.FontCombo->toolTip(), QStringLiteral("Font Face"));
    QCOMPARE(f.Panel6->toolTip(), QStringLiteral("Font Color"));
    QCOMPARE(f.Panel7->text(), QStringLiteral("Color"));

    QCOMPARE(f.Panel1->height(), 61);
    QCOMPARE(f.TopicPanel->width(), 165);
    QCOMPARE(f.Header->height(), 84);
    QVERIFY(!f.Header->tabChangesFocus());
    QCOMPARE(f.Label1->text(), QStringLiteral("Non Scroll area"));
    QCOMPARE(f.Label2->text(), QStringLiteral("Topic Title "));
    QVERIFY(f.Label2->font().bold());
    QVERIFY(f.Label2->alignment() & Qt::AlignRight);
    QCOMPARE(f.Panel5->text(), QStringLiteral("Topic area"));
    QCOMPARE(f.Panel8->text(), QStringLiteral("Keywords:"));
    QCOMPARE(f.Edit1->maxLength(), 255);
    QCOMPARE(f.TopicText->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xDC));
    QCOMPARE(f.ImageList1.size(), 5);
    for (const QIcon& icon : f.ImageList1)
        QVERIFY(!icon.pixmap(16, 16).isNull());

    QCOMPARE(f.SB->PB->minimum(), 0);
    QCOMPARE(f.SB->PB->maximum(), 100);
    QCOMPARE(f.SB->PB->x(), 300);
    QCOMPARE(f.SB->PB->width(), 201);

    // The menu tree with access keys and shortcuts.
    const QList<std::pair<const char*, QString>> items = {
        {"New1", QStringLiteral("&New")},
        {"Open1", QStringLiteral("&Open")},
        {"Save1", QStringLiteral("&Save")},
        {"SaveAs1", QStringLiteral("Save &As...")},
        {"Exit1", QStringLiteral("E&xit")},
        {"AddTopic1", QStringLiteral("&Add Topic...")},
        {"DeleteTopic1", QStringLiteral("&Delete Topic")},
        {"ChangeTopicProperties1", QStringLiteral("Change &Topic Properties...")},
        {"EditWindows1", QStringLiteral("Edit &Windows...")},
        {"Search1", QStringLiteral("&Search...")},
        {"Buildallandshowhelp1", QStringLiteral("Build All, &Compile and show Help")},
        {"ProjectRTFfile1", QStringLiteral("&Build All Without Compiling")},
        {"Projectfileonly1", QStringLiteral("&Project and Contents Files Only")},
        {"RTFfileonly1", QStringLiteral("&RTF File Only")},
        {"SetHelpCompiler1", QStringLiteral("Set &Help Compiler...")},
        {"ShowextendedTopicList1", QStringLiteral("Show e&xtended Topic List...")},
        {"About1", QStringLiteral("&About...")},
    };
    for (const auto& [name, caption] : items) {
        auto* a = f.findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(a, name);
        QCOMPARE(a->text(), caption);
    }
    QCOMPARE(f.Open1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(f.Save1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(f.SaveAs1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    QCOMPARE(f.AddTopic1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    QCOMPARE(f.DeleteTopic1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    QCOMPARE(f.Buildallandshowhelp1->shortcut(), QKeySequence(Qt::Key_F9));
    QStringList bar;
    for (QAction* a : f.menuBar()->actions())
        bar.append(a->text());
    QCOMPARE(bar, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&Search..."),
                               QStringLiteral("&Build"), QStringLiteral("&Tools"), QStringLiteral("&Help")}));
    for (int k = 0; k < 5; ++k)
        QCOMPARE(f.ReopenItems[size_t(k)]->text(), QStringLiteral("&%1 NoName").arg(k + 1));
    QCOMPARE(f.ReopenItems[0]->objectName(), QStringLiteral("N11"));
    QCOMPARE(f.ReopenItems[4]->objectName(), QStringLiteral("N51"));
}

void MainWindowStartTest::disabledUntilAProjectExists()
{
    MainWindowHarness h;
    h.show();
    TGlavniForm& f = *h.form;
    const QList<QWidget*> switched = {f.CTButton, f.DTButton, f.ATButton, f.CWButton, f.BmpButton, f.TBmpButton,
                                      f.ButtonButton, f.JumpButton, f.WebButton, f.RtfButton, f.PrjButton,
                                      f.AllButton, f.GoButton, f.SaveButton, f.SpeedButton1, f.CutButton,
                                      f.CopyButton, f.PasteButton, f.CntButton, f.SpellButton, f.Header,
                                      f.TopicText, f.Edit1};
    const QList<QWidget*> always = {f.NewButton, f.OpenButton, f.TLButton, f.LogButton, f.TopiclButton,
                                    f.FontCombo, f.FSize, f.IndentCombo, f.FBold, f.Fitalic,
                                    f.LeftButton, f.CenterButton};
    for (QWidget* w : switched)
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    for (QWidget* w : always)
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(!f.Edit2->menuAction()->isEnabled());
    QVERIFY(!f.Build1->menuAction()->isEnabled());
    QVERIFY(!f.Tools1->menuAction()->isEnabled());
    QVERIFY(!f.Search1->isEnabled());
    QVERIFY(!f.Save1->isEnabled() && !f.SaveAs1->isEnabled());
    QVERIFY(f.New1->isEnabled() && f.Open1->isEnabled() && f.Exit1->isEnabled() && f.Reopen1->isEnabled());
    QVERIFY(f.Help1->menuAction()->isEnabled());

    // Ctrl+Ins is an Edit menu command: without a project it does nothing.
    QTest::keyClick(&f, Qt::Key_Insert, Qt::ControlModifier);
    QVERIFY(!f.ChangeTopic->isVisible());
    QCOMPARE(f.project().TopicCount(), 0);

    h.newProject(QStringLiteral("FIRST"));
    QCOMPARE(f.project().TopicCount(), 1);
    for (QWidget* w : switched)
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(f.Edit2->menuAction()->isEnabled() && f.Build1->menuAction()->isEnabled());
    QVERIFY(f.Tools1->menuAction()->isEnabled() && f.Search1->isEnabled());
    QVERIFY(f.Save1->isEnabled() && f.SaveAs1->isEnabled() && f.AddTopic1->isEnabled());
}

void MainWindowStartTest::startWithoutSettingsFile()
{
    QTemporaryDir projects;
    const QString argument = projects.filePath(QStringLiteral("never-opened.tsp"));
    MainWindowHarness::writeProject(argument, {QStringLiteral("A")});
    MainWindowHarness h(QByteArray(), argument);
    h.show();
    TGlavniForm& f = *h.form;
    QVERIFY(f.TLButton->isChecked());
    QVERIFY(f.TopicPanel->isVisible());
    QCOMPARE(f.project().CompilerPath, QStringLiteral("NoCompiler"));
    QCOMPARE(f.project().ProjectPath, h.path(QStringLiteral("NoName.tsp")));
    QCOMPARE(f.ReopenItems[2]->text(), QStringLiteral("&3 NoName"));
    // The argument belongs to the settings branch: not opened.
    QCOMPARE(f.project().TopicCount(), 0);

    // Closing with no project asks nothing and writes the settings.
    QVERIFY(f.close());
    QVERIFY(h.prompter.calls().empty());
    const IniFile ini = IniFile::read(h.path(QStringLiteral("Topicsmith.ini")));
    QCOMPARE(ini.value(QStringLiteral("CONFIG"), QStringLiteral("TLB")), QStringLiteral("1"));
    QCOMPARE(ini.value(QStringLiteral("CONFIG"), QStringLiteral("HelpCompiler")), QStringLiteral("NoCompiler"));
    QCOMPARE(ini.value(QStringLiteral("RECENT FILES"), QStringLiteral("4")), QStringLiteral("&5 NoName"));
}

void MainWindowStartTest::startWithSettingsFile()
{
    MainWindowHarness h(iniText({QStringLiteral("[CONFIG]"), QStringLiteral("Left=30"), QStringLiteral("Top=40"),
                                 QStringLiteral("Width=0x2BC"), QStringLiteral("Height=450"), QStringLiteral("TLB=0"),
                                 QStringLiteral("HelpCompiler=C:\\HCW\\HCW.EXE"), QStringLiteral("[RECENT FILES]"),
                                 QStringLiteral("0=&1 /projects/a.tsp"), QStringLiteral("1=&7 edited by hand")}));
    h.show();
    TGlavniForm& f = *h.form;
    QCOMPARE(f.pos(), QPoint(30, 40));
    QCOMPARE(f.size(), QSize(700, 450));
    QVERIFY(!f.TLButton->isChecked());
    QVERIFY(!f.TopicPanel->isVisible());
    QCOMPARE(f.project().CompilerPath, QStringLiteral("C:\\HCW\\HCW.EXE"));
    QCOMPARE(f.ReopenItems[0]->text(), QStringLiteral("&1 /projects/a.tsp"));
    QCOMPARE(f.ReopenItems[1]->text(), QStringLiteral("&7 edited by hand"));
    QCOMPARE(f.ReopenItems[2]->text(), QStringLiteral("&3 NoName"));
}

void MainWindowStartTest::commandLineProjectNeedsSettingsAndTspExtension_data()
{
    QTest::addColumn<bool>("settings");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("opened");
    QTest::newRow("tsp with settings") << true << QStringLiteral("demo.tsp") << true;
    QTest::newRow("TSP in capitals") << true << QStringLiteral("DEMO.TsP") << true;
    QTest::newRow("other extension") << true << QStringLiteral("demo.txt") << false;
    QTest::newRow("no settings file") << false << QStringLiteral("demo.tsp") << false;
}

void MainWindowStartTest::commandLineProjectNeedsSettingsAndTspExtension()
{
    QFETCH(bool, settings);
    QFETCH(QString, fileName);
    QFETCH(bool, opened);
    QTemporaryDir projects;
    const QString argument = projects.filePath(fileName);
    MainWindowHarness::writeProject(argument, {QStringLiteral("INTRO"), QStringLiteral("USAGE")});
    MainWindowHarness h(settings ? iniText({QStringLiteral("[CONFIG]"), QStringLiteral("TLB=1")}) : QByteArray(),
                        argument);
    h.show();
    TGlavniForm& f = *h.form;
    QCOMPARE(f.project().TopicCount(), opened ? 2 : 0);
    if (opened) {
        QCOMPARE(f.project().ProjectPath, argument);
        QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("INTRO"), QStringLiteral("USAGE")}));
        QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("Body of INTRO"));
        QCOMPARE(f.ReopenItems[0]->text(), QStringLiteral("&1 ") + argument);
        QVERIFY(f.project().PendingOpenPath.isEmpty());
    }
    QVERIFY(h.prompter.calls().empty());
}

void MainWindowStartTest::closeAsksToSaveAndWritesSettingsInOrder()
{
    MainWindowHarness h;
    h.show();
    TGlavniForm& f = *h.form;
    h.newProject(QStringLiteral("ONE"));
    f.move(12, 34);
    f.resize(720, 480);
    h.prompter.answer(Prompter::Answer::No);
    QVERIFY(f.close());

    const auto& calls = h.prompter.calls();
    QCOMPARE(int(calls.size()), 1);
    QCOMPARE(calls[0].text, QStringLiteral("Save Project Before Exiting?"));
    QCOMPARE(calls[0].caption, QStringLiteral("Exit"));
    QCOMPARE(calls[0].buttons, Prompter::Buttons::YesNo);
    QCOMPARE(calls[0].icon, Prompter::Icon::Question);
    QVERIFY(!QFile::exists(h.path(QStringLiteral("NoName.tsp"))));

    // The keys in their order, readable by hand.
    const QString text = QString::fromLatin1(MainWindowHarness::readFile(h.path(QStringLiteral("Topicsmith.ini"))));
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QStringList keys;
    for (const QString& line : lines)
        keys.append(line.section(QLatin1Char('='), 0, 0));
    QCOMPARE(keys, (QStringList{QStringLiteral("[CONFIG]"), QStringLiteral("Left"), QStringLiteral("Top"),
                                QStringLiteral("Width"), QStringLiteral("Height"), QStringLiteral("TLB"),
                                QStringLiteral("HelpCompiler"), QStringLiteral("[RECENT FILES]"), QStringLiteral("0"),
                                QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    QVERIFY(lines.contains(QStringLiteral("Left=12")));
    QVERIFY(lines.contains(QStringLiteral("Top=34")));
    QVERIFY(lines.contains(QStringLiteral("Width=720")));
    QVERIFY(lines.contains(QStringLiteral("Height=480")));
}

void MainWindowStartTest::exitYesOnUnnamedProjectCancelledSaveAsStillCloses()
{
    MainWindowHarness h;
    h.show();
    h.newProject(QStringLiteral("ONE"));
    h.prompter.answer(Prompter::Answer::Yes).path(QString());
    QVERIFY(h.form->close());
    QCOMPARE(h.prompter.calls().back().kind, ScriptedPrompter::Kind::SaveFile);
    QVERIFY(!h.prompter.unexpectedCall());
    QVERIFY(!h.form->isVisible());
    QVERIFY(QFile::exists(h.path(QStringLiteral("Topicsmith.ini"))));
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files), QStringList{QStringLiteral("Topicsmith.ini")});
}

void MainWindowStartTest::unwritableSettingsDoNotBlockClosing()
{
    MainWindowHarness h;
    // A folder in the settings file's place cannot be written over.
    QVERIFY(QDir(h.folder()).mkdir(QStringLiteral("Topicsmith.ini")));
    h.show();
    QVERIFY(h.form->close());
    QVERIFY(!h.form->isVisible());
    QVERIFY(h.prompter.calls().empty());
}

void MainWindowStartTest::failedSaveOnExitKeepsTheWindowOpen()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("gone.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("A")});
    h.show();
    h.form->project().PendingOpenPath = path;
    h.form->Open1Click();
    QCOMPARE(h.form->project().TopicCount(), 1);
    // The project file's place is taken by a folder: the save must fail.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(h.folder()).mkdir(QStringLiteral("gone.tsp")));

    h.prompter.answer(Prompter::Answer::Yes);
    QVERIFY(!h.form->close());
    QVERIFY(h.form->isVisible());
    QVERIFY(h.prompter.lastMessage().contains(path));
    QCOMPARE(h.prompter.calls().back().icon, Prompter::Icon::Error);

    // Answering No then closes.
    h.prompter.answer(Prompter::Answer::No);
    QVERIFY(h.form->close());
}

void MainWindowStartTest::topicListVisibilitySurvivesRestart()
{
    QTemporaryDir home;
    {
        MainWindowHarness h;
        h.show();
        const int editorWidth = h.form->Header->width();
        h.click(h.form->TLButton);
        QVERIFY(!h.form->TopicPanel->isVisible());
        QVERIFY(!h.form->TLButton->isChecked());
        // The editors take the freed width.
        QTRY_VERIFY(h.form->Header->width() > editorWidth);
        h.click(h.form->TLButton);
        QVERIFY(h.form->TopicPanel->isVisible());
        QTRY_COMPARE(h.form->Header->width(), editorWidth);
        h.click(h.form->TLButton);
        QVERIFY(h.form->close());
        QFile::copy(h.path(QStringLiteral("Topicsmith.ini")), home.filePath(QStringLiteral("Topicsmith.ini")));
    }
    MainWindowHarness again(MainWindowHarness::readFile(home.filePath(QStringLiteral("Topicsmith.ini"))));
    again.show();
    QVERIFY(!again.form->TLButton->isChecked());
    QVERIFY(!again.form->TopicPanel->isVisible());
}

void MainWindowStartTest::startScreenClosesTwoSecondsAfterFirstShow()
{
    MainWindowHarness h;
    QCOMPARE(h.form->Timer1->interval(), 2000);
    QVERIFY(h.form->Timer1->isSingleShot());
    QVERIFY(!h.form->Timer1->isActive());

    auto* start = new TStartForm;
    start->showAndPaint();
    QCOMPARE(start->size(), QSize(553, 123));
    QCOMPARE(start->Label2->text(), QStringLiteral("V1.1,  Loading..."));
    h.form->setStartScreen(start);
    QPointer<TStartForm> watch(start);
    h.show();
    QVERIFY(h.form->Timer1->isActive());
    QTest::qWait(1000);
    QVERIFY(watch && watch->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(watch.isNull(), 3000);
    QVERIFY(!h.form->Timer1->isActive());
}

QTEST_MAIN(MainWindowStartTest)
#include "test_mainwindow_start.moc"
