// The topic properties dialog driven as a user drives it: typing, the
// check box, Enter; messages are read from the scripted prompter.

#include "ChangeTopicDialog.h"
#include "ScriptedPrompter.h"
#include "model/Project.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace ts;

namespace {

TTopicRecord topic(const char* id, const char* title, int window = 0, std::optional<int> callId = std::nullopt)
{
    TTopicRecord t;
    t.TopicID.setBytes(QByteArray(id));
    t.Title.setBytes(QByteArray(title));
    t.WindowIndex = window;
    if (callId) {
        t.HasMapID = true;
        t.MapID = *callId;
    }
    return t;
}

TWindowRecord window(const char* name)
{
    TWindowRecord w;
    w.Name.setBytes(QByteArray(name));
    return w;
}

const QString NoTopicId = QStringLiteral("You must enter the Topic ID!");

} // namespace

class ChangeTopicDialogTest : public QObject {
    Q_OBJECT

    Project project;
    ScriptedPrompter prompter;
    std::unique_ptr<TChangeTopic> dialog;

    // Prepares the dialog as the add command does, and shows it.
    void openForAdding()
    {
        project.AddMode = true;
        dialog->setWindowTitle(QStringLiteral("Add new topic"));
        dialog->AssignID->setChecked(false);
        dialog->TID->clear();
        dialog->TT->clear();
        dialog->Edit1->clear();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    // Prepares the dialog as the change command does for topic i.
    void openForChanging(int i)
    {
        project.AddMode = false;
        const TTopicRecord& t = project.Topic(i);
        dialog->setWindowTitle(QStringLiteral("Change Topic Properties"));
        dialog->setCurrentTopic(i);
        dialog->TID->setText(t.TopicID.text());
        dialog->TT->setText(t.Title.text());
        dialog->AssignID->setChecked(t.HasMapID);
        if (t.HasMapID)
            dialog->Edit1->setText(QString::number(t.MapID));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    void enter(QWidget* in) { QTest::keyClick(in, Qt::Key_Return); }

private slots:
    void init()
    {
        project = Project();
        prompter.reset();
        dialog = std::make_unique<TChangeTopic>(project, prompter);
    }

    void cleanup()
    {
        QVERIFY2(!prompter.unexpectedCall(), "a question the test did not expect");
        dialog.reset();
    }

    void firstTopicNeedsAnIdThenCloses()
    {
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("TID")), dialog->TID);
        QCOMPARE(dialog->property("helpContext").toInt(), 150);
        openForAdding();
        QCOMPARE(dialog->focusWidget(), dialog->TID);
        enter(dialog->TID);
        QCOMPARE(prompter.messages(), QStringList{NoTopicId});
        QVERIFY(dialog->isVisible());

        QTest::keyClicks(dialog->TID, QStringLiteral("intro"));
        QTest::keyClicks(dialog->TT, QStringLiteral("Introduction"));
        enter(dialog->TT);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(prompter.messages().size(), 1);
        QCOMPARE(dialog->TID->text(), QStringLiteral("intro"));
    }

    void escapeAndTitleBarCloseDoNotBypassTheChecks()
    {
        QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
        openForAdding();
        QTest::keyClick(dialog->TID, Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        QVERIFY(prompter.messages().isEmpty());
        dialog->close(); // what the window manager's close does
        QVERIFY(dialog->isVisible());
        QCOMPARE(prompter.messages(), QStringList{NoTopicId});
    }

    void enterInTheWindowListAndOnTheCheckBoxRunsTheChecks()
    {
        openForAdding();
        dialog->ComboBox1->setFocus();
        enter(dialog->ComboBox1);
        QCOMPARE(prompter.messages(), QStringList{NoTopicId});
        dialog->AssignID->setFocus();
        enter(dialog->AssignID);
        QCOMPARE(prompter.messages().size(), 2);
        QVERIFY(dialog->isVisible());
    }

    void invalidCallIdIsRefused()
    {
        openForAdding();
        QTest::keyClicks(dialog->TID, QStringLiteral("A"));
        dialog->AssignID->setFocus();
        QTest::keyClick(dialog->AssignID, Qt::Key_Space);
        QVERIFY(dialog->AssignID->isChecked());
        QCOMPARE(dialog->Edit1->text(), QStringLiteral("10"));
        dialog->Edit1->clear();
        QTest::keyClicks(dialog->Edit1, QStringLiteral("12a"));
        enter(dialog->Edit1);
        QCOMPARE(prompter.messages(), QStringList{QStringLiteral("The call from Application ID no. is not valid!")});
        QVERIFY(dialog->isVisible());

        dialog->Edit1->clear();
        QTest::keyClicks(dialog->Edit1, QStringLiteral(" $1F"));
        enter(dialog->Edit1);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->callId(), 31);
    }

    void blankNoticeThenConflictShowingTheEntryWithUnderscore()
    {
        project.AddTopic(topic("INTRO", "Start"));
        project.AddTopic(topic("MY_TOPIC", "Mine"));
        openForAdding();
        QTest::keyClicks(dialog->TID, QStringLiteral("my topic"));
        enter(dialog->TID);
        QCOMPARE(prompter.messages(),
                 (QStringList{QStringLiteral("Spaces wich are detected in Topic ID\rwill be replaced with \"_\" sign"),
                              QStringLiteral("Topic ID:my_topic is allready in use by:\r\nMY_TOPIC-Mine")}));
        QCOMPARE(dialog->TID->text(), QStringLiteral("my_topic"));
        QVERIFY(dialog->isVisible());

        // The notice is not repeated once the blanks are gone.
        dialog->TID->setText(QStringLiteral("my_topic2"));
        enter(dialog->TID);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(prompter.messages().size(), 2);
    }

    // The numbers themselves are the core's; here the box drives them.
    void checkingTheBoxProposesAndUncheckingClears()
    {
        project.AddTopic(topic("PLAIN", "No number"));
        project.AddTopic(topic("T1", "T", 0, 10));
        project.AddTopic(topic("T2", "T", 0, 20));
        openForAdding();
        const QPoint box(5, dialog->AssignID->height() / 2);
        QTest::mouseClick(dialog->AssignID, Qt::LeftButton, {}, box);
        QVERIFY(dialog->AssignID->isChecked());
        QCOMPARE(dialog->Edit1->text(), QStringLiteral("30"));
        QTest::mouseClick(dialog->AssignID, Qt::LeftButton, {}, box);
        QVERIFY(dialog->Edit1->text().isEmpty());
    }

    void proposalFortyCollidesWithTheFirstTopic()
    {
        project.AddTopic(topic("FIRST", "One", 0, 40));
        project.AddTopic(topic("SECOND", "Two", 0, 30));
        openForAdding();
        QTest::keyClicks(dialog->TID, QStringLiteral("third"));
        dialog->AssignID->setChecked(true);
        QCOMPARE(dialog->Edit1->text(), QStringLiteral("40"));
        enter(dialog->TID);
        QCOMPARE(prompter.messages(),
                 QStringList{QStringLiteral("Applicaton Call ID:40 is allready in use by:\r\nFIRST-One")});
        QVERIFY(dialog->isVisible());
    }

    void changingDoesNotCompareTheTopicWithItself()
    {
        project.AddTopic(topic("A", "First", 0, 10));
        project.AddTopic(topic("B", "Second", 0, 20));
        openForChanging(1);
        QCOMPARE(dialog->Edit1->text(), QStringLiteral("20"));
        dialog->TID->setText(QStringLiteral("b"));
        enter(dialog->TID);
        QVERIFY(!dialog->isVisible());
        QVERIFY(prompter.messages().isEmpty());

        // Adding compares every topic.
        openForAdding();
        QTest::keyClicks(dialog->TID, QStringLiteral("b"));
        enter(dialog->TID);
        QCOMPARE(prompter.messages(), QStringList{QStringLiteral("Topic ID:b is allready in use by:\r\nB-Second")});
    }

    void emptyTopicIdWithTopicsClosesAsACancel()
    {
        project.AddTopic(topic("A", "First", 0, 10));
        openForChanging(0);
        dialog->TID->selectAll();
        QTest::keyClick(dialog->TID, Qt::Key_Delete);
        QVERIFY(dialog->TID->text().isEmpty());
        enter(dialog->TID);
        QVERIFY(!dialog->isVisible());
        QVERIFY(prompter.messages().isEmpty());
    }

    void windowListShowsLiveWindowsAndTheTopicsWindow()
    {
        project.AddWindow(window("second"));
        project.AddWindow(window("Default"));
        project.AddTopic(topic("A", "First", 1));
        openForChanging(0);
        QCOMPARE(dialog->ComboBox1->count(), 3);
        QCOMPARE(dialog->ComboBox1->itemText(0), QStringLiteral("main"));
        QCOMPARE(dialog->ComboBox1->currentIndex(), 1);
        QCOMPARE(dialog->selectedWindowIndex(), 1);
        // A window named "Default" is stored as window 0.
        dialog->ComboBox1->setCurrentIndex(2);
        QCOMPARE(dialog->selectedWindowIndex(), 0);
        enter(dialog->TID);
        QVERIFY(!dialog->isVisible());

        // Shown again for adding, with an empty Topic ID: the first window.
        project.DeleteWindow(2);
        openForAdding();
        QCOMPARE(dialog->ComboBox1->count(), 2);
        QCOMPARE(dialog->ComboBox1->currentIndex(), 0);
        QCOMPARE(dialog->focusWidget(), dialog->TID);
    }

    void charactersTheProjectFileCannotHoldNeverEnterTheFields()
    {
        openForAdding();
        QTest::keyClicks(dialog->TT, QStringLiteral("ab"));
        QTest::sendKeyEvent(QTest::Click, dialog->TT, Qt::Key_unknown, QString(QChar(0x0416)), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, dialog->TT, Qt::Key_unknown, QString(QChar(0x20AC)), Qt::NoModifier);
        QCOMPARE(dialog->TT->text(), QStringLiteral("ab\u20AC"));
        // A pasted text loses only what cannot be stored.
        dialog->TID->insert(QStringLiteral("x\u4E2Dy\u00E9"));
        QCOMPARE(dialog->TID->text(), QStringLiteral("xy\u00E9"));
        QCOMPARE(dialog->TID->cursorPosition(), 3);
    }

    void execEndsAcceptedThroughEnter()
    {
        project.AddTopic(topic("A", "First"));
        project.AddMode = true;
        dialog->TID->clear();
        QTimer::singleShot(0, this, [this]() {
            QTest::keyClicks(dialog->TID, QStringLiteral("new"));
            QTest::keyClick(dialog->TID, Qt::Key_Return);
        });
        QCOMPARE(dialog->exec(), int(QDialog::Accepted));
        QCOMPARE(dialog->TID->text(), QStringLiteral("new"));
    }
};

QTEST_MAIN(ChangeTopicDialogTest)
#include "test_changetopicdialog.moc"
