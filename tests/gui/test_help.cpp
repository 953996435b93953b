// The program's help: every numbered page exists and its links lead
// somewhere, the number lookup, Help > Contents, F1 in dialogs and the
// What's This pop-ups of the topic dialog and the window editor.

#include "test_mainwindow_support.h"

#include "ContentsDialog.h"
#include "ContextHelp.h"
#include "HelpPages.h"
#include "HelpWindow.h"
#include "WindowEditorDialog.h"

#include <QAction>
#include <QDialog>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QWhatsThis>
#include <QWhatsThisClickedEvent>

using namespace ts;
using namespace ts::testing;

namespace {

bool isWithin(const QWidget* widget, const QWidget* ancestor)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w == ancestor)
            return true;
    return false;
}

QWidget* whatsThisPopup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QWhatsThat") && w->isVisible())
            return w;
    return nullptr;
}

bool whatsThisPopupVisible()
{
    return whatsThisPopup() != nullptr;
}

// Shows `dialog` as the application's modal window and presses F1 in `control`.
void pressF1In(QDialog* dialog, QWidget* control)
{
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_F1);
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void everyNumberHasAPageAndEveryLinkAPage()
    {
        const HelpPages& pages = HelpPages::builtIn();
        const QList<int> numbers = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 130, 140, 150, 160, 170, 180, 190};
        for (int n : numbers) {
            const HelpPage* page = pages.pageForContext(n);
            QVERIFY2(page, qPrintable(QStringLiteral("no page for %1").arg(n)));
            QVERIFY(!page->title.isEmpty() && page->title != page->file);
            QVERIFY2(page->firstParagraph.size() > 40, qPrintable(page->file));
        }
        QCOMPARE(pages.pages().first().file, HelpPages::contentsPage());
        // Every page is reachable from the contents and no link is broken.
        const QRegularExpression linkRe(QStringLiteral("href=\"([^\"]+)\""));
        QSet<QString> linked;
        for (const HelpPage& page : pages.pages()) {
            for (auto it = linkRe.globalMatch(page.html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(pages.page(target), qPrintable(page.file + QStringLiteral(" -> ") + target));
                linked.insert(target);
            }
        }
        for (const HelpPage& page : pages.pages())
            QVERIFY2(page.file == HelpPages::contentsPage() || linked.contains(page.file), qPrintable(page.file));
        // The search finds pages by all their words, in any letter case.
        const QStringList found = pages.search(QStringLiteral("AUTO-SIZE sample"));
        QVERIFY(found.contains(QStringLiteral("window-autosize.html")));
        QVERIFY(!found.contains(QStringLiteral("window-on-top.html")));
        QVERIFY(pages.search(QStringLiteral("xyzzy")).isEmpty());
        QVERIFY(pages.search(QStringLiteral("  ")).isEmpty());
    }

    void numberLookup()
    {
        QDialog dialog;
        dialog.setProperty("helpContext", 190);
        auto* group = new QGroupBox(&dialog);
        group->setProperty("helpContext", 90);
        auto* inGroup = new QWidget(group);
        auto* own = new QWidget(group);
        own->setProperty("helpContext", 20);
        auto* outside = new QWidget(&dialog);
        QCOMPARE(ContextHelp::contextNumber(own), 20);
        QCOMPARE(ContextHelp::contextNumber(inGroup), 90);
        QCOMPARE(ContextHelp::contextNumber(outside), 190);
        QWidget loose;
        QCOMPARE(ContextHelp::contextNumber(&loose), 0);
        // Nothing happens where no number applies.
        ContextHelp* help = ContextHelp::forApplication();
        QSignalSpy popups(help, &ContextHelp::popupShown);
        QVERIFY(!help->showHelpFor(&loose, QPoint()));
        QVERIFY(popups.isEmpty());
    }

    void helpContentsOpensTheContentsPage()
    {
        MainWindowHarness h;
        h.show();
        h.form->actions->helpContents->trigger();
        HelpWindow* w = ContextHelp::forApplication()->helpWindow();
        QVERIFY(w && w->isVisible());
        // Whole on the screen, also one smaller than the window would like.
        QVERIFY(w->screen()->availableGeometry().contains(w->frameGeometry()));
        QCOMPARE(w->currentPage(), QStringLiteral("index.html"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Topicsmith Help"));
        // Following a link, then Back, returns to the contents.
        w->browser()->setSource(QUrl(QStringLiteral("qrc:/help/menu-build.html")));
        QCOMPARE(w->currentPage(), QStringLiteral("menu-build.html"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Build menu - Topicsmith Help"));
        w->browser()->backward();
        QCOMPARE(w->currentPage(), QStringLiteral("index.html"));
        w->close();
    }

    void f1InDialogsOpensTheirPages()
    {
        MainWindowHarness h;
        h.show();
        ContextHelp* help = ContextHelp::forApplication();

        // The topic dialog has the "?" button: F1 gives the short note, F1
        // again the whole page.
        TopicPropertiesDialog* topic = h.form->topics->topicPropertiesDialog;
        QSignalSpy popups(help, &ContextHelp::popupShown);
        pressF1In(topic, topic->titleEdit);
        QCOMPARE(popups.size(), 1);
        QTest::keyClick(whatsThisPopup(), Qt::Key_F1);
        QVERIFY(help->helpWindow()->isVisible());
        QCOMPARE(help->helpWindow()->currentPage(), QStringLiteral("topic-properties.html"));
        // Over a modal dialog the help window belongs to it, so it takes input.
        QVERIFY(isWithin(help->helpWindow(), topic));
        topic->hide();

        ContentsDialog* contents = h.form->tools->contentsDialog;
        pressF1In(contents, contents->titleEdit());
        QCOMPARE(help->helpWindow()->currentPage(), QStringLiteral("contents-editor.html"));
        QVERIFY(isWithin(help->helpWindow(), contents));
        help->helpWindow()->close();
        contents->hide();
    }

    // Shift+F1 (the "?" button's key) and the dialog's context menu give the
    // short note, also where no "?" button is drawn.
    void whatsThisInTheTopicDialog()
    {
        MainWindowHarness h;
        h.show();
        ContextHelp* help = ContextHelp::forApplication();
        QSignalSpy popups(help, &ContextHelp::popupShown);
        TopicPropertiesDialog* topic = h.form->topics->topicPropertiesDialog;
        QVERIFY(topic->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
        topic->show();
        QApplication::setActiveWindow(topic);

        topic->topicIdEdit->setFocus();
        QTest::keyClick(topic->topicIdEdit, Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(QWhatsThis::inWhatsThisMode());
        QTest::mouseClick(topic->titleEdit, Qt::LeftButton, {}, topic->titleEdit->rect().center());
        QCOMPARE(popups.size(), 1);
        QCOMPARE(popups.at(0).at(0).toString(), QStringLiteral("topic-properties.html"));
        QVERIFY(!help->helpWindow() || !help->helpWindow()->isVisible());
        QWhatsThis::hideText();

        auto* label = topic->findChild<QLabel*>(QStringLiteral("windowLabel"));
        QVERIFY(label);
        QString offered;
        QTimer::singleShot(0, topic, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            offered = menu->actions().first()->text();
            menu->setActiveAction(menu->actions().first());
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, label->rect().center(),
                                     label->mapToGlobal(label->rect().center()));
        QApplication::sendEvent(label, &rightClick);
        QCOMPARE(offered, QStringLiteral("What's This?"));
        QCOMPARE(popups.size(), 2);
        QWhatsThis::hideText();

        // A field keeps its own menu, with What's This at the end.
        QStringList fieldMenu;
        QTimer::singleShot(0, topic, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction* action : menu->actions())
                fieldMenu.append(action->text());
            menu->setActiveAction(menu->actions().last());
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QContextMenuEvent inField(QContextMenuEvent::Mouse, topic->titleEdit->rect().center(),
                                  topic->titleEdit->mapToGlobal(topic->titleEdit->rect().center()));
        QApplication::sendEvent(topic->titleEdit, &inField);
        QVERIFY2(fieldMenu.size() > 2 && fieldMenu.last() == QStringLiteral("What's This?"),
                 qPrintable(fieldMenu.join(QLatin1Char('|'))));
        QVERIFY(!fieldMenu.filter(QStringLiteral("Paste")).isEmpty());
        QCOMPARE(popups.size(), 3);
        QCOMPARE(popups.at(2).at(0).toString(), QStringLiteral("topic-properties.html"));
        QWhatsThis::hideText();
        topic->hide();
    }

    void whatsThisInTheWindowEditor()
    {
        MainWindowHarness h;
        h.show();
        ContextHelp* help = ContextHelp::forApplication();
        QSignalSpy popups(help, &ContextHelp::popupShown);
        WindowEditorDialog* editor = h.form->topics->windowEditor;
        editor->show();
        QApplication::setActiveWindow(editor);

        // "?" then a click on a check box of the buttons group: the group's note.
        QGroupBox* group = nullptr;
        for (QGroupBox* g : editor->findChildren<QGroupBox*>())
            if (g->property("helpContext").toInt() == 90)
                group = g;
        QVERIFY(group);
        QWidget* box = group->findChildren<QAbstractButton*>().first();
        QWhatsThis::enterWhatsThisMode();
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QCOMPARE(popups.size(), 1);
        QCOMPARE(popups.at(0).at(0).toString(), QStringLiteral("window-buttons.html"));
        const QString html = popups.at(0).at(1).toString();
        QVERIFY(html.contains(HelpPages::builtIn().page(QStringLiteral("window-buttons.html"))->firstParagraph));
        QVERIFY(html.contains(QStringLiteral("href=\"window-buttons.html\"")));
        QVERIFY(whatsThisPopupVisible());
        QVERIFY(!QWhatsThis::inWhatsThisMode());

        // The pop-up's link opens the whole page in the help window.
        QWhatsThisClickedEvent clicked(QStringLiteral("window-buttons.html"));
        QApplication::sendEvent(box, &clicked);
        QVERIFY(!whatsThisPopupVisible());
        QCOMPARE(help->helpWindow()->currentPage(), QStringLiteral("window-buttons.html"));
        help->helpWindow()->close();

        // F1 in a control with a number of its own gives that control's note.
        QWidget* title = nullptr;
        for (QWidget* w : editor->findChildren<QWidget*>())
            if (w->property("helpContext").toInt() == 110)
                title = w;
        title->setFocus();
        QTest::keyClick(title, Qt::Key_F1);
        QCOMPARE(popups.size(), 2);
        QCOMPARE(popups.at(1).at(0).toString(), QStringLiteral("window-title.html"));
        // F1 again, in the pop-up, opens the whole page: the keyboard's way to the link.
        QVERIFY(whatsThisPopup());
        QTest::keyClick(whatsThisPopup(), Qt::Key_F1);
        QVERIFY(!whatsThisPopupVisible());
        QCOMPARE(help->helpWindow()->currentPage(), QStringLiteral("window-title.html"));
        QVERIFY(help->helpWindow()->isVisible());
        help->helpWindow()->close();
        editor->hide();
    }
};

QTEST_MAIN(HelpTest)
#include "test_help.moc"
