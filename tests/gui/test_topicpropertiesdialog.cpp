// The topic properties dialog driven as a user drives it: typing, the
// check box, Enter; messages are read from the scripted prompter.

#include "TopicPropertiesDialog.h"
#include "ScriptedPrompter.h"
#include "model/Project.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace ts;

namespace {

TopicRecord topic(const char* id, const char* title, int window = 0, std::optional<int> callId = std::nullopt)
{
    TopicRecord t;
    t.TopicID.setBytes(QByteArray(id));
    t.Title.setBytes(QByteArray(title));
    t.WindowIndex = window;
    if (callId) {
        t.HasCallId = true;
        t.CallId = *callId;
    }
    return t;
}

WindowRecord window(const char* name)
{
    WindowRecord w;
    w.Name.setBytes(QByteArray(name));
    return w;
}

const QString NoTopicId = QStringLiteral("You must enter the Topic ID!");

} // namespace

class TopicPropertiesDialogTest : public QObject {
    Q_OBJECT

    Project project;
    ScriptedPrompter prompter;
    std::unique_ptr<TopicPropertiesDialog> dialog;

    // Prepares the dialog as the add command does, and shows it.
    void openForAdding()
    {
        dialog->setAdding(true);
        dialog->setWindowTitle(QStringLiteral("Add new topic"));
        dialog->callIdCheck->setChecked(false);
        dialog->topicIdEdit->clear();
        dialog->titleEdit->clear();
        dialog->callIdEdit->clear();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    // Prepares the dialog as the change command does for topic i.
    void openForChanging(int i)
    {
        dialog->setAdding(false);
        const TopicRecord& t = project.topic(i);
        dialog->setWindowTitle(QStringLiteral("Change Topic Properties"));
        dialog->setCurrentTopic(i);
        dialog->topicIdEdit->setText(t.TopicID.text());
        dialog->titleEdit->setText(t.Title.text());
        dialog->callIdCheck->setChecked(t.HasCallId);
        if (t.HasCallId)
            dialog->callIdEdit->setText(QString::number(t.CallId));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    void enter(QWidget* in) { QTest::keyClick(in, Qt::Key_Return); }

private slots:
    void init()
    {
        project = Project();
        prompter.reset();
        dialog = std::make_unique<TopicPropertiesDialog>(project, prompter);
    }

    void cleanup()
    {
        QVERIFY2(!prompter.unexpectedCall(), "a question the test did not expect");
        dialog.reset();
    }

    void firstTopicNeedsAnIdThenCloses()
    {
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("topicIdEdit")), dialog->topicIdEdit);
        QCOMPARE(dialog->property("helpContext").toInt(), 150);
        openForAdding();
        QCOMPARE(dialog->focusWidget(), dialog->topicIdEdit);
        enter(dialog->topicIdEdit);
        QCOMPARE(prompter.messages(), QStringList{NoTopicId});
        QVERIFY(dialog->isVisible());

        QTest::keyClicks(dialog->topicIdEdit, QStringLiteral("intro"));
        QTest::keyClicks(dialog->titleEdit, QStringLiteral("Introduction"));
        enter(dialog->titleEdit);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(prompter.messages().size(), 1);
        QCOMPARE(dialog->topicIdEdit->text(), QStringLiteral("intro"));
    }

    // Cancel, Escape and the window manager's close box leave without the
    // checks and with the dialog rejected, also for a first topic.
    void cancelEscapeAndCloseBoxLeaveWithoutChecks()
    {
        QVERIFY(dialog->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(dialog->okButton->text(), QStringLiteral("OK"));
        QVERIFY(dialog->okButton->isDefault());
        const std::function<void()> leaveBy[] = {
            [this] { QTest::keyClick(dialog->topicIdEdit, Qt::Key_Escape); },
            [this] { dialog->close(); },
            [this] { QTest::mouseClick(dialog->cancelButton, Qt::LeftButton); },
        };
        for (const auto& leave : leaveBy) {
            openForAdding();
            QTest::keyClicks(dialog->topicIdEdit, QStringLiteral("typed"));
            leave();
            QVERIFY(!dialog->isVisible());
            QCOMPARE(dialog->result(), int(QDialog::Rejected));
        }
        QVERIFY(prompter.messages().isEmpty());
    }

    void enterInTheWindowListAndOnTheCheckBoxRunsTheChecks()
    {
        openForAdding();
        dialog->windowCombo->setFocus();
        enter(dialog->windowCombo);
        QCOMPARE(prompter.messages(), QStringList{NoTopicId});
        dialog->callIdCheck->setFocus();
        enter(dialog->callIdCheck);
        QCOMPARE(prompter.messages().size(), 2);
        QVERIFY(dialog->isVisible());
    }

    void invalidCallIdIsRefused()
    {
        openForAdding();
        QTest::keyClicks(dialog->topicIdEdit, QStringLiteral("A"));
        dialog->callIdCheck->setFocus();
        QTest::keyClick(dialog->callIdCheck, Qt::Key_Space);
        QVERIFY(dialog->callIdCheck->isChecked());
        QCOMPARE(dialog->callIdEdit->text(), QStringLiteral("10"));
        dialog->callIdEdit->clear();
        QTest::keyClicks(dialog->callIdEdit, QStringLiteral("12a"));
        enter(dialog->callIdEdit);
        QCOMPARE(prompter.messages(), QStringList{QStringLiteral("The Application Call ID number is not valid!")});
        QVERIFY(dialog->isVisible());

        dialog->callIdEdit->clear();
        QTest::keyClicks(dialog->callIdEdit, QStringLiteral(" $1F"));
        enter(dialog->callIdEdit);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->callId(), 31);
    }

    void blankNoticeThenConflictShowingTheEntryWithUnderscore()
    {
        project.addTopic(topic("INTRO", "Start"));
        project.addTopic(topic("MY_TOPIC", "Mine"));
        openForAdding();
        QTest::keyClicks(dialog->topicIdEdit, QStringLiteral("my topic"));
        enter(dialog->topicIdEdit);
        QCOMPARE(prompter.messages(),
                 (QStringList{QStringLiteral("Spaces found in the Topic ID\rwill be replaced with the \"_\" sign."),
                              QStringLiteral("Topic ID my_topic is already in use by:\r\nMY_TOPIC - Mine")}));
        QCOMPARE(dialog->topicIdEdit->text(), QStringLiteral("my_topic"));
        QVERIFY(dialog->isVisible());

        // The notice is not repeated once the blanks are gone.
        dialog->topicIdEdit->setText(QStringLiteral("my_topic2"));
        enter(dialog->topicIdEdit);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(prompter.messages().size(), 2);
    }

    // The numbers themselves are the core's; here the box drives them.
    void checkingTheBoxProposesAndUncheckingClears()
    {
        project.addTopic(topic("PLAIN", "No number"));
        project.addTopic(topic("T1", "T", 0, 10));
        project.addTopic(topic("T2", "T", 0, 20));
        openForAdding();
        const QPoint box(5, dialog->callIdCheck->height() / 2);
        QTest::mouseClick(dialog->callIdCheck, Qt::LeftButton, {}, box);
        QVERIFY(dialog->callIdCheck->isChecked());
        QCOMPARE(dialog->callIdEdit->text(), QStringLiteral("30"));
        QTest::mouseClick(dialog->callIdCheck, Qt::LeftButton, {}, box);
        QVERIFY(dialog->callIdEdit->text().isEmpty());
    }

    void proposalFortyCollidesWithTheFirstTopic()
    {
        project.addTopic(topic("FIRST", "One", 0, 40));
        project.addTopic(topic("SECOND", "Two", 0, 30));
        openForAdding();
        QTest::keyClicks(dialog->topicIdEdit, QStringLiteral("third"));
        dialog->callIdCheck->setChecked(true);
        QCOMPARE(dialog->callIdEdit->text(), QStringLiteral("40"));
        enter(dialog->topicIdEdit);
        QCOMPARE(prompter.messages(),
                 QStringList{QStringLiteral("Application Call ID 40 is already in use by:\r\nFIRST - One")});
        QVERIFY(dialog->isVisible());
    }

    void changingDoesNotCompareTheTopicWithItself()
    {
        project.addTopic(topic("A", "First", 0, 10));
        project.addTopic(topic("B", "Second", 0, 20));
        openForChanging(1);
        QCOMPARE(dialog->callIdEdit->text(), QStringLiteral("20"));
        dialog->topicIdEdit->setText(QStringLiteral("b"));
        enter(dialog->topicIdEdit);
        QVERIFY(!dialog->isVisible());
        QVERIFY(prompter.messages().isEmpty());

        // Adding compares every topic.
        openForAdding();
        QTest::keyClicks(dialog->topicIdEdit, QStringLiteral("b"));
        enter(dialog->topicIdEdit);
        QCOMPARE(prompter.messages(), QStringList{QStringLiteral("Topic ID b is already in use by:\r\nB - Second")});
    }

    void emptyTopicIdWithTopicsClosesAsACancel()
    {
        project.addTopic(topic("A", "First", 0, 10));
        openForChanging(0);
        dialog->topicIdEdit->selectAll();
        QTest::keyClick(dialog->topicIdEdit, Qt::Key_Delete);
        QVERIFY(dialog->topicIdEdit->text().isEmpty());
        enter(dialog->topicIdEdit);
        QVERIFY(!dialog->isVisible());
        QVERIFY(prompter.messages().isEmpty());
    }

    void windowListShowsLiveWindowsAndTheTopicsWindow()
    {
        project.addWindow(window("second"));
        project.addWindow(window("Default"));
        project.addTopic(topic("A", "First", 1));
        openForChanging(0);
        QCOMPARE(dialog->windowCombo->count(), 3);
        QCOMPARE(dialog->windowCombo->itemText(0), QStringLiteral("main"));
        QCOMPARE(dialog->windowCombo->currentIndex(), 1);
        QCOMPARE(dialog->selectedWindowIndex(), 1);
        // A window named "Default" is the window chosen.
        dialog->windowCombo->setCurrentIndex(2);
        QCOMPARE(dialog->selectedWindowIndex(), 2);
        enter(dialog->topicIdEdit);
        QVERIFY(!dialog->isVisible());

        // Shown again for adding, with an empty Topic ID: the first window.
        project.deleteWindow(2);
        openForAdding();
        QCOMPARE(dialog->windowCombo->count(), 2);
        QCOMPARE(dialog->windowCombo->currentIndex(), 0);
        QCOMPARE(dialog->focusWidget(), dialog->topicIdEdit);
    }

    void charactersTheProjectFileCannotHoldNeverEnterTheFields()
    {
        openForAdding();
        QTest::keyClicks(dialog->titleEdit, QStringLiteral("ab"));
        QTest::sendKeyEvent(QTest::Click, dialog->titleEdit, Qt::Key_unknown, QString(QChar(0x0416)), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, dialog->titleEdit, Qt::Key_unknown, QString(QChar(0x20AC)), Qt::NoModifier);
        QCOMPARE(dialog->titleEdit->text(), QStringLiteral("ab\u20AC"));
        // A pasted text loses only what cannot be stored.
        dialog->topicIdEdit->insert(QStringLiteral("x\u4E2Dy\u00E9"));
        QCOMPARE(dialog->topicIdEdit->text(), QStringLiteral("xy\u00E9"));
        QCOMPARE(dialog->topicIdEdit->cursorPosition(), 3);
    }

    void execEndsAcceptedThroughEnter()
    {
        project.addTopic(topic("A", "First"));
        dialog->setAdding(true);
        dialog->topicIdEdit->clear();
        QTimer::singleShot(0, this, [this]() {
            QTest::keyClicks(dialog->topicIdEdit, QStringLiteral("new"));
            QTest::keyClick(dialog->topicIdEdit, Qt::Key_Return);
        });
        QCOMPARE(dialog->exec(), int(QDialog::Accepted));
        QCOMPARE(dialog->topicIdEdit->text(), QStringLiteral("new"));
    }
};

QTEST_MAIN(TopicPropertiesDialogTest)
#include "test_topicpropertiesdialog.moc"
