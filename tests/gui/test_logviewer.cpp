// The compile log viewer LogViewer on its own: its first look, the text it
// shows, Escape from any of its controls, printing under the header's text.

#include "LogViewer.h"
#include "ScriptedPrompter.h"

#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace ts;

class LogViewerTest : public QObject {
    Q_OBJECT

private slots:
    void firstLook();
    void textLinesEndWhateverTheLineEnds();
    void escapeClosesFromEveryControl();
    void printUsesTheHeaderAsJobTitle();
};

void LogViewerTest::firstLook()
{
    ScriptedPrompter prompter;
    LogViewer form(prompter);
    QCOMPARE(form.windowTitle(), QStringLiteral("Last Compile Information"));
    QCOMPARE(form.headerLabel->text(), QStringLiteral("  Nothing compiled yet!"));
    QCOMPARE(form.printButton()->toolTip(), QStringLiteral("Print!"));
    QVERIFY(form.textView()->isReadOnly());
    QCOMPARE(form.textView()->lineWrapMode(), QTextEdit::NoWrap);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(511, 379));
    QCOMPARE(form.headerLabel->height(), 29);
    // The print button sits inside the header at its right end.
    const QRect button = form.printButtonPanel()->geometry();
    QVERIFY(button.right() < form.headerLabel->width());
    QVERIFY(button.left() > form.headerLabel->width() / 2);
}

void LogViewerTest::textLinesEndWhateverTheLineEnds()
{
    ScriptedPrompter prompter;
    LogViewer form(prompter);
    form.setText(QStringLiteral("Compiling C:\\HELP\\DEMO.RTF\r\n\tTopic 1\rDone\n"));
    QCOMPARE(form.text(), QStringLiteral("Compiling C:\\HELP\\DEMO.RTF\n\tTopic 1\nDone\n"));
    QCOMPARE(form.textView()->document()->blockCount(), 4);
}

void LogViewerTest::escapeClosesFromEveryControl()
{
    ScriptedPrompter prompter;
    LogViewer form(prompter);
    for (QWidget* target : {static_cast<QWidget*>(form.textView()), static_cast<QWidget*>(form.printButton())}) {
        bool wasOpen = false;
        QTimer::singleShot(0, &form, [&] {
            wasOpen = form.isVisible();
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Escape);
        });
        // Should Escape fail to close it, the guard does, and the test fails.
        QTimer guard;
        guard.setSingleShot(true);
        bool guardFired = false;
        connect(&guard, &QTimer::timeout, &form, [&] {
            guardFired = true;
            form.done(QDialog::Accepted);
        });
        guard.start(3000);
        form.exec();
        QVERIFY(wasOpen);
        QVERIFY2(!guardFired, qPrintable(target->objectName()));
        QVERIFY(!form.isVisible());
    }
    QCOMPARE(int(prompter.calls().size()), 0);
}

void LogViewerTest::printUsesTheHeaderAsJobTitle()
{
    ScriptedPrompter prompter;
    LogViewer form(prompter);
    form.headerLabel->setText(QStringLiteral("  Last compile log for: /help/demo.tsp"));
    form.setText(QStringLiteral("line one\r\nline two"));
    prompter.printAnswer(true);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.printButton(), Qt::LeftButton);

    QCOMPARE(int(prompter.calls().size()), 1);
    const auto& call = prompter.calls().front();
    QCOMPARE(call.kind, ScriptedPrompter::Kind::Print);
    QCOMPARE(call.text, QStringLiteral("  Last compile log for: /help/demo.tsp"));
    QCOMPARE(call.document, QStringLiteral("line one\nline two"));
    // Printing does not close the viewer.
    QVERIFY(form.isVisible());
}

QTEST_MAIN(LogViewerTest)
#include "test_logviewer.moc"
