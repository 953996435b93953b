// The compile log viewer TLogForm on its own: its first look, the text it
// shows, Escape from any of its controls, printing under the header's text.

#include "LogDialog.h"
#include "ScriptedPrompter.h"

#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace ts;

class LogDialogTest : public QObject {
    Q_OBJECT

private slots:
    void firstLook();
    void textLinesEndWhateverTheLineEnds();
    void escapeClosesFromEveryControl();
    void printUsesTheHeaderAsJobTitle();
};

void LogDialogTest::firstLook()
{
    ScriptedPrompter prompter;
    TLogForm form(prompter);
    QCOMPARE(form.windowTitle(), QStringLiteral("Last Compile Information"));
    QCOMPARE(form.Panel1->text(), QStringLiteral("  Nothing Compiled yet!"));
    QCOMPARE(form.SpeedButton1->toolTip(), QStringLiteral("Print!"));
    QVERIFY(form.RichEdit1->isReadOnly());
    QCOMPARE(form.RichEdit1->lineWrapMode(), QTextEdit::NoWrap);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(511, 379));
    QCOMPARE(form.Panel1->height(), 29);
    // The print button sits inside the header at its right end.
    const QRect button = form.Panel3->geometry();
    QVERIFY(button.right() < form.Panel1->width());
    QVERIFY(button.left() > form.Panel1->width() / 2);
}

void LogDialogTest::textLinesEndWhateverTheLineEnds()
{
    ScriptedPrompter prompter;
    TLogForm form(prompter);
    form.setText(QStringLiteral("Compiling C:\\HELP\\DEMO.RTF\r\n\tTopic 1\rDone\n"));
    QCOMPARE(form.text(), QStringLiteral("Compiling C:\\HELP\\DEMO.RTF\n\tTopic 1\nDone\n"));
    QCOMPARE(form.RichEdit1->document()->blockCount(), 4);
}

void LogDialogTest::escapeClosesFromEveryControl()
{
    ScriptedPrompter prompter;
    TLogForm form(prompter);
    for (QWidget* target : {static_cast<QWidget*>(form.RichEdit1), static_cast<QWidget*>(form.SpeedButton1)}) {
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

void LogDialogTest::printUsesTheHeaderAsJobTitle()
{
    ScriptedPrompter prompter;
    TLogForm form(prompter);
    form.Panel1->setText(QStringLiteral("  Last compile log for: /help/demo.tsp"));
    form.setText(QStringLiteral("line one\r\nline two"));
    prompter.printAnswer(true);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);

    QCOMPARE(int(prompter.calls().size()), 1);
    const auto& call = prompter.calls().front();
    QCOMPARE(call.kind, ScriptedPrompter::Kind::Print);
    QCOMPARE(call.text, QStringLiteral("  Last compile log for: /help/demo.tsp"));
    QCOMPARE(call.document, QStringLiteral("line one\nline two"));
    // Printing does not close the viewer.
    QVERIFY(form.isVisible());
}

QTEST_MAIN(LogDialogTest)
#include "test_logdialog.moc"
