#pragma once
// Shared helpers of the main window tests: a program folder of its own for
// every test (TOPICSMITH_HOME), the window with a scripted Prompter, and
// drivers for the modal topic properties dialog.

#include "TopicPropertiesDialog.h"
#include "MainWindow.h"
#include "BuildCommands.h"
#include "CommandToolBar.h"
#include "FormattingToolBar.h"
#include "InsertCommands.h"
#include "MainActions.h"
#include "MainMenus.h"
#include "ProjectCommands.h"
#include "ToolsCommands.h"
#include "TopicCommands.h"
#include "TopicEditorPane.h"
#include "TopicNavigator.h"
#include "TopicTabBar.h"
#include "ScriptedPrompter.h"
#include "StatusBar.h"
#include "model/ProjectFile.h"
#include "richtext/RtfWriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <optional>

namespace ts::testing {

// What the scripted user types into the topic properties dialog. Fields left
// empty are left as the command prepared them, except `id`, which is always set.
struct TopicEntry {
    QString id;
    std::optional<QString> title;
    std::optional<int> window;         // entry of windowCombo
    std::optional<QString> callId;     // checks callIdCheck and types the number
};

class MainWindowHarness {
public:
    // `settings`: the text of Topicsmith.ini to put into the program folder
    // before the window is made; none when empty.
    explicit MainWindowHarness(const QByteArray& settings = QByteArray(), const QString& argument = QString())
    {
        Q_ASSERT(home.isValid());
        qputenv("TOPICSMITH_HOME", home.path().toLocal8Bit());
        if (!settings.isEmpty())
            writeFile(folder() + QStringLiteral("Topicsmith.ini"), settings);
        form = std::make_unique<MainWindow>(prompter);
        // No test starts a real help viewer; the ones that look replace this.
        form->build->startViewer = [](const CompilerLaunch&) {};
        if (!argument.isEmpty())
            form->setProgramArgument(argument);
    }

    ~MainWindowHarness()
    {
        form.reset();
        qunsetenv("TOPICSMITH_HOME");
    }

    QString folder() const { return home.path() + QLatin1Char('/'); }
    QString path(const QString& name) const { return folder() + name; }

    void show()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        activate();
    }

    // The offscreen platform does not give the activation back to the
    // window when a modal dialog closes; window shortcuts need it.
    void activate()
    {
        form->activateWindow();
        QApplication::setActiveWindow(form.get());
    }

    // Schedules the scripted user of the next modal TopicPropertiesDialog: fills the
    // fields, presses Enter. A dialog that stays open (its checks refused)
    // is closed by hand with an empty Topic ID and `refused` is set.
    void onTopicDialog(const TopicEntry& entry)
    {
        QTimer::singleShot(0, form.get(), [this, entry] {
            TopicPropertiesDialog* d = form->topics->topicPropertiesDialog;
            if (!d->isVisible()) {
                refused = true;
                return;
            }
            dialogTitle = d->windowTitle();
            dialogWindows.clear();
            for (int k = 0; k < d->windowCombo->count(); ++k)
                dialogWindows.append(d->windowCombo->itemText(k));
            d->topicIdEdit->clear();
            QTest::keyClicks(d->topicIdEdit, entry.id);
            if (entry.title) {
                d->titleEdit->clear();
                QTest::keyClicks(d->titleEdit, *entry.title);
            }
            if (entry.window)
                d->windowCombo->setCurrentIndex(*entry.window);
            if (entry.callId) {
                d->callIdCheck->setChecked(true);
                d->callIdEdit->clear();
                QTest::keyClicks(d->callIdEdit, *entry.callId);
            }
            QTest::keyClick(d->topicIdEdit, Qt::Key_Return);
            if (d->isVisible()) {
                refused = true;
                d->topicIdEdit->clear();
                d->hide();
            }
        });
    }

    void click(QAbstractButton* button)
    {
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    // "Add new Topic" with the dialog filled as given.
    void addTopic(const QString& id, const QString& title = QString())
    {
        onTopicDialog({id, title, {}, {}});
        click(form->toolBar->button(form->actions->addTopic));
    }

    // "New Project" on a window without a project: the first topic's dialog.
    void newProject(const QString& firstId, const QString& title = QString())
    {
        onTopicDialog({firstId, title, {}, {}});
        click(form->toolBar->button(form->actions->newProject));
    }

    void clickTab(int index)
    {
        QTabBar* tabs = form->navigator->topicTabs;
        QVERIFY(index < tabs->count());
        tabs->setCurrentIndex(tabs->currentIndex()); // lays the tabs out
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    void clickListEntry(int row)
    {
        QListWidget* list = form->navigator->topicList;
        QListWidgetItem* item = list->item(row);
        QVERIFY(item);
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    // Replaces an editor's text as a user would: select all, type.
    static void typeInto(QTextEdit* editor, const QString& text)
    {
        editor->setFocus();
        editor->selectAll();
        QTest::keyClicks(editor, text);
    }

    static void typeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    QStringList tabCaptions() const
    {
        QStringList out;
        for (int i = 0; i < form->navigator->topicTabs->count(); ++i)
            out.append(form->navigator->topicTabs->topicId(i));
        return out;
    }

    QStringList listEntries() const
    {
        QStringList out;
        for (int i = 0; i < form->navigator->topicList->count(); ++i)
            out.append(form->navigator->topicList->item(i)->text());
        return out;
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray();
        return f.readAll();
    }

    // A project file of topics with these IDs; topic i's body says "Body of <id>".
    static void writeProject(const QString& path, const QStringList& ids, int windows = 1)
    {
        Project p;
        for (int k = 1; k < windows; ++k) {
            WindowRecord w = WindowRecord::defaultWindow();
            w.Name.setText(QStringLiteral("win%1").arg(k));
            w.TopicColour = 0x00FF0000 + std::uint32_t(k);
            p.addWindow(w);
        }
        for (const QString& id : ids) {
            TopicRecord t;
            t.TopicID.setText(id);
            t.Title.setText(QStringLiteral("Title of ") + id);
            t.Keywords.setText(QStringLiteral("keys of ") + id);
            t.BodyRtf = RtfWriter::write(RichDocument::fromPlainText(QStringLiteral("Body of ") + id));
            p.addTopic(t);
        }
        ProjectFile::save(p, path);
    }

    QTemporaryDir home;
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> form;
    bool refused = false;
    QString dialogTitle;
    QStringList dialogWindows;
};

} // namespace ts::testing
