// The window definitions editor opened from the main window: the fields of
// the selected window, storing on Ok and on the way into the selector, new
// windows, deleting a window, the colour panels and the auto-size dialog.

#include "test_mainwindow_support.h"

#include "AutoSizeDialog.h"
#include "WindowEditorDialog.h"
#include "model/WindowRules.h"
#include "richtext/RtfReader.h"

#include <QGroupBox>
#include <QScreen>
#include <QSignalSpy>
#include <QWheelEvent>

#include <functional>

using namespace ts;
using namespace ts::testing;

namespace {

QColor baseOf(const QTextEdit* editor)
{
    return editor->palette().color(QPalette::Active, QPalette::Base);
}

QColor fromBgr(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QStringList itemsOf(const QComboBox* combo)
{
    QStringList out;
    for (int k = 0; k < combo->count(); ++k)
        out.append(combo->itemText(k));
    return out;
}

// A window with this name and a caption of its own.
WindowRecord window(const QString& name)
{
    WindowRecord w = WindowRecord::defaultWindow();
    w.Name.setText(name);
    w.Caption.setText(QStringLiteral("Caption of ") + name);
    w.Left = 11;
    w.Width = 222;
    w.TopicColour = 0x102030;
    return w;
}

// The main window with a project open whose windows are main plus `windows`
// and whose topics T0, T1, ... show in `topicWindows`.
struct Editor {
    explicit Editor(const QStringList& windows = {}, const QList<int>& topicWindows = {0})
    {
        Project p;
        for (const QString& name : windows)
            p.addWindow(window(name));
        for (int w : topicWindows) {
            TopicRecord t;
            t.TopicID.setText(QStringLiteral("T%1").arg(p.TopicCount()));
            t.WindowIndex = w;
            p.addTopic(t);
        }
        const QString path = h.path(QStringLiteral("win.tsp"));
        ProjectFile::save(p, path);
        h.show();
        h.form->projectCommands->setPendingOpenPath(path);
        h.form->projectCommands->openProject();
    }

    WindowEditorDialog* d() const { return h.form->topics->windowEditor; }
    Project& project() const { return h.form->project(); }

    // Opens the editor with "Edit Windows" and runs `script` while it is
    // shown. A dialog the script leaves open is closed without storing and
    // `stayedOpen` is set.
    void run(const std::function<void(WindowEditorDialog*)>& script)
    {
        ran = false;
        stayedOpen = false;
        QTimer::singleShot(0, h.form.get(), [this, script] {
            WindowEditorDialog* dialog = d();
            if (!dialog->isVisible())
                return;
            ran = true;
            dialog->activateWindow();
            QApplication::setActiveWindow(dialog);
            script(dialog);
            if (dialog->isVisible()) {
                stayedOpen = true;
                dialog->done(QDialog::Rejected);
            }
        });
        h.click(h.form->toolBar->button(h.form->actions->editWindows));
        QVERIFY(ran);
    }

    // Moves the focus between the dialog's controls, as Tab or a click does,
    // and lets the dialog react to it.
    static void focus(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    MainWindowHarness h;
    bool ran = false;
    bool stayedOpen = false;
};

} // namespace

class WindowEditorTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheCurrentTopicsWindowAndOkStoresIt();
    void okRefusesNonIntegersButTheCloseBoxCloses();
    void fieldsAreStoredOnTheWayIntoTheSelector();
    void addNewChecksTheNameAndCopiesMain();
    void addNewRefusesThe256thWindow();
    void deleteMovesTopicsAndAsksForTheLinkRewrite();
    void deleteRefusesMainAndHonoursCancel();
    void colourPanelsOpenTheColourDialogOnTheirColour();
    void enterActsAsOkAndGroupButtonsSetAllSix();
    void autoSizePlacesTheSampleAndReadsItBack();
    void openRefillsTheWindowList();
    void longValuesAreShownAndKeptWhole();
    void everySelectionChangeStoresTheShownWindowFirst();
};

void WindowEditorTest::showsTheCurrentTopicsWindowAndOkStoresIt()
{
    Editor e({QStringLiteral("win1"), QStringLiteral("win2")}, {0, 2});
    e.h.clickTab(1);
    e.run([&](WindowEditorDialog* d) {
        QCOMPARE(itemsOf(d->windowCombo()), (QStringList{QStringLiteral("main"), QStringLiteral("win1"), QStringLiteral("win2")}));
        QCOMPARE(d->windowCombo()->currentIndex(), 2);
        QCOMPARE(d->captionEdit()->text(), QStringLiteral("Caption of win2"));
        QCOMPARE(d->leftEdit()->text(), QStringLiteral("11"));
        QCOMPARE(d->widthEdit()->text(), QStringLiteral("222"));
        QVERIFY(d->defaultPositionCheck()->isChecked());
        QCOMPARE(d->topicColourPanel()->colour(), 0x102030u);

        MainWindowHarness::typeInto(d->captionEdit(), QStringLiteral("New caption"));
        MainWindowHarness::typeInto(d->leftEdit(), QStringLiteral("-5"));
        MainWindowHarness::typeInto(d->widthEdit(), QStringLiteral("$1F"));
        d->onTopCheck()->setChecked(true);
        d->defaultPositionCheck()->setChecked(false);
        d->printCheck()->setChecked(true);
        d->topicColourPanel()->setColour(0x00FF00);
        e.h.click(d->okButton());
    });
    QVERIFY(!e.stayedOpen);
    QVERIFY(e.h.prompter.messages().isEmpty());
    const WindowRecord& w = e.project().window(2);
    QCOMPARE(w.Caption.text(), QStringLiteral("New caption"));
    QCOMPARE(w.Left, -5);
    QCOMPARE(w.Width, 31);
    QVERIFY(w.OnTop);
    QVERIFY(!w.DefaultPosition);
    QCOMPARE(w.Buttons, (std::array<bool, ButtonCount>{false, false, false, true, false, false}));
    // The topic shows at once in its window's new colour.
    QCOMPARE(baseOf(e.h.form->editors->topicEditor()), fromBgr(0x00FF00));
    QCOMPARE(e.project().window(1), window(QStringLiteral("win1")));
}

void WindowEditorTest::okRefusesNonIntegersButTheCloseBoxCloses()
{
    Editor e;
    const WindowRecord before = e.project().window(0);
    e.run([&](WindowEditorDialog* d) {
        MainWindowHarness::typeInto(d->captionEdit(), QStringLiteral("changed"));
        MainWindowHarness::typeInto(d->topEdit(), QStringLiteral("12a"));
        e.h.click(d->okButton());
        QVERIFY(d->isVisible());
        QCOMPARE(e.h.prompter.lastMessage(), QStringLiteral("Invalid Window size or position"));
        d->topEdit()->clear();
        e.h.click(d->okButton());
        QVERIFY(d->isVisible());
        QCOMPARE(e.h.prompter.messages().size(), 2);

        MainWindowHarness::typeInto(d->leftEdit(), QStringLiteral("x"));
        d->close();
        QVERIFY(!d->isVisible());
    });
    QCOMPARE(e.h.prompter.messages(), QStringList(3, QStringLiteral("Invalid Window size or position")));
    QCOMPARE(e.project().window(0), before);
}

void WindowEditorTest::fieldsAreStoredOnTheWayIntoTheSelector()
{
    Editor e({QStringLiteral("win1")});
    e.run([&](WindowEditorDialog* d) {
        MainWindowHarness::typeInto(d->captionEdit(), QStringLiteral("Main caption"));
        MainWindowHarness::typeInto(d->heightEdit(), QStringLiteral("400"));
        Editor::focus(d->windowCombo());
        QCOMPARE(e.project().window(0).Caption.text(), QStringLiteral("Main caption"));
        QCOMPARE(e.project().window(0).Height, 400);
        d->windowCombo()->setCurrentIndex(1);
        QCOMPARE(d->captionEdit()->text(), QStringLiteral("Caption of win1"));
        QCOMPARE(d->heightEdit()->text(), QStringLiteral("300"));

        // A bad box stops the store there: Left and Width are stored, the
        // rest not.
        MainWindowHarness::typeInto(d->leftEdit(), QStringLiteral("7"));
        MainWindowHarness::typeInto(d->widthEdit(), QStringLiteral("8"));
        MainWindowHarness::typeInto(d->topEdit(), QStringLiteral("x"));
        MainWindowHarness::typeInto(d->heightEdit(), QStringLiteral("9"));
        Editor::focus(d->windowCombo());
        QCOMPARE(e.h.prompter.lastMessage(), QStringLiteral("'x' is not a valid integer value"));
        const WindowRecord& w = e.project().window(1);
        QCOMPARE(w.Left, 7);
        QCOMPARE(w.Width, 8);
        QCOMPARE(w.Top, 0);
        QCOMPARE(w.Height, 300);
        d->done(QDialog::Accepted);
    });
    QCOMPARE(e.h.prompter.messages().size(), 1);
}

void WindowEditorTest::addNewChecksTheNameAndCopiesMain()
{
    Editor e;
    WindowRecord& main = e.project().window(0);
    main.Caption.setText(QStringLiteral("My Help"));
    main.Width = 500;
    main.Buttons[Browse] = true;
    e.run([&](WindowEditorDialog* d) {
        // Typed into main's fields: stored before the new window is selected.
        MainWindowHarness::typeInto(d->captionEdit(), QStringLiteral("Typed"));
        e.h.click(d->addButton());
        QVERIFY(d->newNameMode());
        QVERIFY(d->windowCombo()->isEditable());
        QVERIFY(d->windowCombo()->currentText().isEmpty());

        Editor::focus(d->captionEdit());
        QCOMPARE(e.h.prompter.lastMessage(), QStringLiteral("Please type in the name of the new window!"));
        QVERIFY(d->newNameMode());
        QVERIFY(d->windowCombo()->hasFocus());

        QTest::keyClicks(d->windowCombo(), QStringLiteral("abcdefghi"));
        Editor::focus(d->captionEdit());
        QCOMPARE(e.h.prompter.lastMessage(), QStringLiteral("A window name cannot have more than 8 characters!"));
        QVERIFY(d->newNameMode());
        QCOMPARE(e.project().WindowCount(), 1);

        QTest::keyClick(d->windowCombo(), Qt::Key_Backspace);
        Editor::focus(d->captionEdit());
        QVERIFY(!d->newNameMode());
        QVERIFY(!d->windowCombo()->isEditable());
        QCOMPARE(itemsOf(d->windowCombo()), (QStringList{QStringLiteral("main"), QStringLiteral("abcdefgh")}));
        QCOMPARE(d->windowCombo()->currentIndex(), 1);
        QCOMPARE(d->captionEdit()->text(), QStringLiteral("Typed"));
        QCOMPARE(d->widthEdit()->text(), QStringLiteral("500"));
        QVERIFY(d->browseCheck()->isChecked());
        e.h.click(d->okButton());
    });
    QCOMPARE(e.h.prompter.messages().size(), 2);
    QCOMPARE(e.project().WindowCount(), 2);
    WindowRecord expected = e.project().window(0);
    expected.Name.setText(QStringLiteral("abcdefgh"));
    QCOMPARE(e.project().window(1), expected);
    QCOMPARE(e.project().window(0).Caption.text(), QStringLiteral("Typed"));

    // A name typed and confirmed with Enter is kept; Escape gives one up.
    e.run([&](WindowEditorDialog* d) {
        e.h.click(d->addButton());
        QTest::keyClicks(d->windowCombo(), QStringLiteral("third"));
        QTest::keyClick(d->windowCombo(), Qt::Key_Return);
        QVERIFY(!d->isVisible());
    });
    QCOMPARE(e.project().WindowCount(), 3);
    QCOMPARE(e.project().window(2).Name.text(), QStringLiteral("third"));
    e.run([&](WindowEditorDialog* d) {
        e.h.click(d->addButton());
        QTest::keyClicks(d->windowCombo(), QStringLiteral("dropped"));
        QTest::keyClick(d->windowCombo(), Qt::Key_Escape);
        QVERIFY(!d->newNameMode());
        QCOMPARE(d->windowCombo()->currentIndex(), 0);
        e.h.click(d->okButton());
    });
    QCOMPARE(e.project().WindowCount(), 3);
}

void WindowEditorTest::addNewRefusesThe256thWindow()
{
    Editor e;
    for (int k = 1; k < Project::MaxWindows; ++k)
        addWindowLikeMain(e.project(), QStringLiteral("w%1").arg(k));
    e.run([&](WindowEditorDialog* d) {
        e.h.click(d->addButton());
        QVERIFY(!d->newNameMode());
        e.h.click(d->okButton());
    });
    QCOMPARE(e.h.prompter.messages(), QStringList{QStringLiteral("You cannot have more than 255 windows.")});
    QCOMPARE(e.project().WindowCount(), Project::MaxWindows);
}

void WindowEditorTest::deleteMovesTopicsAndAsksForTheLinkRewrite()
{
    Editor e({QStringLiteral("W1"), QStringLiteral("W2"), QStringLiteral("W3")}, {2, 3, 0});
    // T2 links to T0 in W2: a struck-out hotspot, and the same text plain.
    CharFormat struck;
    struck.Strike = true;
    RichDocument body = RichDocument::fromPlainText(QStringLiteral("See-->T0>W2"), struck);
    body.Paragraphs.front().Runs.push_back(Run{QStringLiteral(" plain T0>W2"), CharFormat()});
    e.project().topic(2).BodyRtf = RtfWriter::write(body);

    QStringList rewrites;
    QObject::connect(e.d(), &WindowEditorDialog::rewriteWindowLinks, e.h.form.get(),
                     [&](const QString& oldText, const QString& newText) { rewrites << oldText << newText; });
    e.h.prompter.answer(Prompter::Answer::Ok).answer(Prompter::Answer::Ok);
    e.run([&](WindowEditorDialog* d) {
        QCOMPARE(d->windowCombo()->currentIndex(), 2);
        e.h.click(d->deleteButton());
        QCOMPARE(itemsOf(d->windowCombo()), (QStringList{QStringLiteral("main"), QStringLiteral("W1"), QStringLiteral("W3")}));
        QCOMPARE(d->windowCombo()->currentIndex(), 1);
        QCOMPARE(d->captionEdit()->text(), QStringLiteral("Caption of W1"));
        QCOMPARE(e.project().topic(0).WindowIndex, 0);
        QCOMPARE(e.project().topic(1).WindowIndex, 2);
        // The last window in the table: the one before it is selected.
        d->windowCombo()->setCurrentIndex(2);
        e.h.click(d->deleteButton());
        QCOMPARE(itemsOf(d->windowCombo()), (QStringList{QStringLiteral("main"), QStringLiteral("W1")}));
        QCOMPARE(d->windowCombo()->currentIndex(), 1);
        e.h.click(d->okButton());
    });
    const auto& calls = e.h.prompter.calls();
    QCOMPARE(int(calls.size()), 2);
    QCOMPARE(calls[0].text, QStringLiteral("You are about to delete Window: W2\rAll topics assigned to this window will "
                                           "be reset to the \"main\" window.\rAre you sure?"));
    QCOMPARE(calls[0].caption, QStringLiteral("Delete window?"));
    QCOMPARE(calls[0].buttons, Prompter::Buttons::OkCancel);
    QCOMPARE(calls[0].icon, Prompter::Icon::Question);
    QCOMPARE(rewrites, (QStringList{QStringLiteral(">W2"), QStringLiteral(">main"), QStringLiteral(">W3"),
                                    QStringLiteral(">main")}));
    QCOMPARE(e.project().WindowCount(), 2);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(e.project().topic(i).WindowIndex, 0);
    // Only the hotspot follows the deleted window to "main".
    QCOMPARE(RtfReader::read(e.project().topic(2).BodyRtf).paragraphTexts(),
             QStringList{QStringLiteral("See-->T0>main plain T0>W2")});
}

void WindowEditorTest::deleteRefusesMainAndHonoursCancel()
{
    Editor e({QStringLiteral("pop")}, {1});
    e.h.prompter.answer(Prompter::Answer::Cancel);
    e.run([&](WindowEditorDialog* d) {
        e.h.click(d->deleteButton());
        QCOMPARE(d->windowCombo()->count(), 2);
        d->windowCombo()->setCurrentIndex(0);
        e.h.click(d->deleteButton());
        QCOMPARE(e.h.prompter.lastMessage(), QStringLiteral("You cannot delete the main window!"));
        e.h.click(d->okButton());
    });
    QCOMPARE(e.h.prompter.messages().size(), 2);
    QCOMPARE(e.project().WindowCount(), 2);
    QCOMPARE(e.project().topic(0).WindowIndex, 1);
    QVERIFY(!e.h.prompter.unexpectedCall());
}

void WindowEditorTest::colourPanelsOpenTheColourDialogOnTheirColour()
{
    Editor e;
    e.h.prompter.colour(0x0000FF).colour(std::nullopt).colour(0x123456);
    e.run([&](WindowEditorDialog* d) {
        e.h.click(d->addButton()); // a new name being typed is judged first
        QTest::keyClicks(d->windowCombo(), QStringLiteral("side"));
        QTest::mouseClick(d->nonScrollingColourPanel(), Qt::LeftButton);
        QVERIFY(!d->newNameMode());
        QCOMPARE(d->windowCombo()->currentText(), QStringLiteral("side"));
        QCOMPARE(d->nonScrollingColourPanel()->colour(), 0x0000FFu);
        QVERIFY(d->okButton()->hasFocus());
        QTest::mouseClick(d->topicColourPanel(), Qt::LeftButton); // cancelled
        QCOMPARE(d->topicColourPanel()->colour(), 0xDCFFFFu);
        d->topicColourPanel()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d->topicColourPanel(), Qt::Key_Space);
        QCOMPARE(d->topicColourPanel()->colour(), 0x123456u);
        e.h.click(d->okButton());
    });
    const auto& calls = e.h.prompter.calls();
    QCOMPARE(int(calls.size()), 3);
    // The dialog opens on the colour of the panel clicked.
    QCOMPARE(calls[0].colour, 0xC0C0C0u);
    QCOMPARE(calls[1].colour, 0xDCFFFFu);
    QCOMPARE(calls[2].colour, 0xDCFFFFu);
    QCOMPARE(e.project().window(1).NonScrollColour, 0x0000FFu);
    QCOMPARE(e.project().window(1).TopicColour, 0x123456u);
    QCOMPARE(e.project().window(0).NonScrollColour, 0xC0C0C0u);
}

void WindowEditorTest::enterActsAsOkAndGroupButtonsSetAllSix()
{
    Editor e;
    e.run([&](WindowEditorDialog* d) {
        QGroupBox* group = d->buttonsGroup();
        const QList<QCheckBox*> boxes = group->findChildren<QCheckBox*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(boxes.size(), 6);
        QCOMPARE(boxes.first()->text(), QStringLiteral("Browse"));
        QCOMPARE(boxes.last()->text(), QStringLiteral("Find"));
        e.h.click(d->checkButtonsButton());
        for (QCheckBox* b : boxes)
            QVERIFY(b->isChecked());
        e.h.click(d->clearButtonsButton());
        for (QCheckBox* b : boxes)
            QVERIFY(!b->isChecked());
        d->findCheck()->setChecked(true);
        d->contentsCheck()->setChecked(true);
        // There is nothing to cancel: Escape leaves the dialog open.
        QTest::keyClick(d->captionEdit(), Qt::Key_Escape);
        QVERIFY(d->isVisible());
        QTest::keyClick(d->captionEdit(), Qt::Key_Return);
    });
    QVERIFY(!e.stayedOpen);
    QCOMPARE(e.project().window(0).Buttons, (std::array<bool, ButtonCount>{false, true, false, false, false, true}));
}

void WindowEditorTest::autoSizePlacesTheSampleAndReadsItBack()
{
    Editor e;
    bool sampleShown = false;
    QRect placed;
    QRect expected;
    const QRect moved(40, 30, 200, 150);
    e.run([&](WindowEditorDialog* d) {
        MainWindowHarness::typeInto(d->leftEdit(), QStringLiteral("100"));
        MainWindowHarness::typeInto(d->topEdit(), QStringLiteral("200"));
        MainWindowHarness::typeInto(d->widthEdit(), QStringLiteral("$200"));
        MainWindowHarness::typeInto(d->heightEdit(), QStringLiteral("300"));
        const QRect screen = d->screen()->geometry();
        expected = QRect(helpUnitsToPixels(100, screen.width()), helpUnitsToPixels(200, screen.height()),
                         helpUnitsToPixels(512, screen.width()), helpUnitsToPixels(300, screen.height()));
        QTimer::singleShot(0, d, [&] {
            AutoSizeDialog* a = e.h.form->topics->autoSizeDialog;
            sampleShown = a->isVisible();
            placed = a->frame();
            a->setFrame(moved);
            QTest::keyClick(a->okButton(), Qt::Key_Return);
        });
        e.h.click(d->autoSizeButton());
        QVERIFY(sampleShown);
        QCOMPARE(placed, expected);
        QCOMPARE(d->leftEdit()->text(), QString::number(pixelsToHelpUnits(moved.x(), screen.width())));
        QCOMPARE(d->topEdit()->text(), QString::number(pixelsToHelpUnits(moved.y(), screen.height())));
        QCOMPARE(d->widthEdit()->text(), QString::number(pixelsToHelpUnits(moved.width(), screen.width())));
        QCOMPARE(d->heightEdit()->text(), QString::number(pixelsToHelpUnits(moved.height(), screen.height())));
        // Nothing reaches the window before a store.
        QCOMPARE(e.project().window(0).Left, 0);

        sampleShown = false;
        MainWindowHarness::typeInto(d->heightEdit(), QStringLiteral("1x"));
        QTimer::singleShot(0, d, [&] { sampleShown = e.h.form->topics->autoSizeDialog->isVisible(); });
        e.h.click(d->autoSizeButton());
        QCoreApplication::processEvents();
        QVERIFY(!sampleShown);
        QCOMPARE(e.h.prompter.lastMessage(), QStringLiteral("'1x' is not a valid integer value"));
        d->done(QDialog::Accepted);
    });
}

void WindowEditorTest::openRefillsTheWindowList()
{
    Editor e({QStringLiteral("win1"), QStringLiteral("win2")}, {1, 0});
    WindowEditorDialog* d = e.d();
    QVERIFY(!d->isVisible());
    QCOMPARE(itemsOf(d->windowCombo()), (QStringList{QStringLiteral("main"), QStringLiteral("win1"), QStringLiteral("win2")}));
    QCOMPARE(d->windowCombo()->currentIndex(), 1);
    QCOMPARE(d->captionEdit()->text(), QStringLiteral("Caption of win1"));
}

// The four-character limit is for typing; stored values and Auto-size
// results of any length are shown and written back whole.
void WindowEditorTest::longValuesAreShownAndKeptWhole()
{
    Editor e;
    WindowRecord& main = e.project().window(0);
    main.Left = -1000;
    main.Width = 12345;
    main.Top = 7;
    main.Height = 99999;
    const WindowRecord before = main;
    e.run([&](WindowEditorDialog* d) {
        QCOMPARE(d->leftEdit()->text(), QStringLiteral("-1000"));
        QCOMPARE(d->widthEdit()->text(), QStringLiteral("12345"));
        QCOMPARE(d->heightEdit()->text(), QStringLiteral("99999"));
        // Auto-size closed with OK on the sample as it was placed.
        QTimer::singleShot(0, d, [&] {
            QTest::keyClick(e.h.form->topics->autoSizeDialog->okButton(), Qt::Key_Return);
        });
        e.h.click(d->autoSizeButton());
        QCOMPARE(d->leftEdit()->text(), QStringLiteral("-1000"));
        QCOMPARE(d->widthEdit()->text(), QStringLiteral("12345"));
        e.h.click(d->okButton());
    });
    QCOMPARE(e.project().window(0), before);

    e.run([&](WindowEditorDialog* d) {
        // Typing stops at four characters but may shorten a longer value.
        Editor::focus(d->widthEdit());
        d->widthEdit()->end(false);
        QTest::keyClick(d->widthEdit(), Qt::Key_6);
        QCOMPARE(d->widthEdit()->text(), QStringLiteral("12345"));
        QTest::keyClick(d->widthEdit(), Qt::Key_Backspace);
        QCOMPARE(d->widthEdit()->text(), QStringLiteral("1234"));
        MainWindowHarness::typeInto(d->topEdit(), QStringLiteral("123456"));
        QCOMPARE(d->topEdit()->text(), QStringLiteral("1234"));

        // A sample moved far to the left gives a five-character Left.
        const int screenWidth = d->screen()->geometry().width();
        QTimer::singleShot(0, d, [&] {
            AutoSizeDialog* a = e.h.form->topics->autoSizeDialog;
            a->setFrame(QRect(d->screen()->geometry().x() - 2 * screenWidth, 30, 200, 150));
            QTest::keyClick(a->okButton(), Qt::Key_Return);
        });
        e.h.click(d->autoSizeButton());
        QCOMPARE(d->leftEdit()->text(), QStringLiteral("-2048"));
        e.h.click(d->okButton());
    });
    QCOMPARE(e.project().window(0).Left, -2048);
}

void WindowEditorTest::everySelectionChangeStoresTheShownWindowFirst()
{
    Editor e({QStringLiteral("side")});
    e.run([&](WindowEditorDialog* d) {
        // The wheel over the selector while the focus stays in a box.
        MainWindowHarness::typeInto(d->captionEdit(), QStringLiteral("wheeled"));
        const QPointF at(d->windowCombo()->rect().center());
        QWheelEvent wheel(at, d->windowCombo()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(d->windowCombo(), &wheel);
        QCOMPARE(d->windowCombo()->currentIndex(), 1);
        QCOMPARE(e.project().window(0).Caption.text(), QStringLiteral("wheeled"));
        QCOMPARE(d->captionEdit()->text(), QStringLiteral("Caption of side"));

        // The program selecting another window.
        MainWindowHarness::typeInto(d->captionEdit(), QStringLiteral("set"));
        d->windowCombo()->setCurrentIndex(0);
        QCOMPARE(e.project().window(1).Caption.text(), QStringLiteral("set"));

        // Fields that cannot be stored keep the selection where it was.
        MainWindowHarness::typeInto(d->leftEdit(), QStringLiteral("1x"));
        d->windowCombo()->setCurrentIndex(1);
        QCOMPARE(d->windowCombo()->currentIndex(), 0);
        QCOMPARE(d->leftEdit()->text(), QStringLiteral("1x"));
        QCOMPARE(e.h.prompter.lastMessage(), QStringLiteral("'1x' is not a valid integer value"));
        d->done(QDialog::Accepted);
    });
}

QTEST_MAIN(WindowEditorTest)
#include "test_windoweditor.moc"
