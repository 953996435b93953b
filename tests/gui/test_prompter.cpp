// The real dialogs behind WidgetPrompter, driven while they are open, and
// the scripted prompter the other GUI tests rely on.

#include "Prompter.h"
#include "ScriptedPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace ts;

namespace {

// Runs `inspect` on the modal dialog once it is open.
template <typename Dialog>
void whenOpen(std::function<void(Dialog*)> inspect)
{
    QTimer::singleShot(0, [inspect]() {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!d) {
            // Not up yet: look again shortly.
            whenOpen<Dialog>(inspect);
            return;
        }
        inspect(d);
    });
}

} // namespace

class PrompterTest : public QObject {
    Q_OBJECT
private slots:
    void filtersBecomeQtFilters()
    {
        QCOMPARE(WidgetPrompter::qtFilter(QStringLiteral("Topicsmith Project (*.tsp)|*.TSP")),
                 QStringLiteral("Topicsmith Project (*.tsp) (*.TSP *.tsp)"));
        QCOMPARE(WidgetPrompter::qtFilter(QStringLiteral("Bitmaps|*.bmp;*.shg|All files|*.*")),
                 QStringLiteral("Bitmaps (*.bmp *.BMP *.shg *.SHG);;All files (*.*)"));
    }

    void carriageReturnsBecomeLineBreaks()
    {
        QCOMPARE(WidgetPrompter::lineBreaks(QStringLiteral("a\rb\r\nc")), QStringLiteral("a\nb\nc"));
    }

    void messageBoxShowsTextCaptionButtonsAndAnswers()
    {
        WidgetPrompter prompter;
        QString seenText, seenTitle;
        bool hadNo = false;
        whenOpen<QMessageBox>([&](QMessageBox* box) {
            seenText = box->text();
            seenTitle = box->windowTitle();
            hadNo = box->button(QMessageBox::No) != nullptr;
            box->button(QMessageBox::No)->click();
        });
        const auto a = prompter.message(nullptr, QStringLiteral("Save Project Before Exiting?\rSecond"),
                                        QStringLiteral("Exit"), Prompter::Buttons::YesNo,
                                        Prompter::Icon::Question);
        QCOMPARE(a, Prompter::Answer::No);
        QCOMPARE(seenText, QStringLiteral("Save Project Before Exiting?\nSecond"));
        QCOMPARE(seenTitle, QStringLiteral("Exit"));
        QVERIFY(hadNo);
    }

    void escapeOnOkCancelMeansCancel()
    {
        WidgetPrompter prompter;
        whenOpen<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(prompter.message(nullptr, QStringLiteral("Delete?"), QStringLiteral("Delete Topic?"),
                                  Prompter::Buttons::OkCancel, Prompter::Icon::Question),
                 Prompter::Answer::Cancel);
    }

    // The questions whose No throws work away show Yes and No; Escape keeps.
    void escapeOnASaveQuestionKeepsTheWork()
    {
        WidgetPrompter prompter;
        QList<QMessageBox::StandardButton> shown;
        whenOpen<QMessageBox>([&](QMessageBox* box) {
            for (QAbstractButton* b : box->buttons())
                if (b->isVisibleTo(box))
                    shown.append(box->standardButton(b));
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(prompter.message(nullptr, QStringLiteral("Save Project Before Exiting?"), QStringLiteral("Exit"),
                                  Prompter::Buttons::YesNoOrKeep, Prompter::Icon::Question),
                 Prompter::Answer::Cancel);
        QCOMPARE(shown, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
    }

    // The program asks its own replace question, so the save dialog must
    // not ask one as well.
    void saveDialogLeavesTheReplaceQuestionToTheProgram()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString existing = dir.filePath(QStringLiteral("Old.tsp"));
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();

        WidgetPrompter prompter;
        bool noOverwriteQuestion = false;
        QString suffix;
        QStringList filters;
        whenOpen<QFileDialog>([&](QFileDialog* d) {
            noOverwriteQuestion = d->testOption(QFileDialog::DontConfirmOverwrite);
            suffix = d->defaultSuffix();
            filters = d->nameFilters();
            static_cast<QDialog*>(d)->accept();
        });
        const QString chosen = prompter.saveFile(nullptr, QStringLiteral("Topicsmith Project (*.tsp)|*.TSP"),
                                                 existing, QStringLiteral("tsp"));
        QVERIFY(noOverwriteQuestion);
        QCOMPARE(suffix, QStringLiteral("tsp"));
        QCOMPARE(filters, QStringList{QStringLiteral("Topicsmith Project (*.tsp) (*.TSP *.tsp)")});
        QCOMPARE(QFileInfo(chosen).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
    }

    void cancelledOpenDialogGivesEmptyPath()
    {
        WidgetPrompter prompter;
        whenOpen<QFileDialog>([](QFileDialog* d) { static_cast<QDialog*>(d)->reject(); });
        QVERIFY(prompter.openFile(nullptr, QStringLiteral("Topicsmith Project (*.tsp)|*.TSP"), QString())
                    .isEmpty());
    }

    void scriptedPrompterAnswersInOrderAndFlagsWhatWasNotScripted()
    {
        ScriptedPrompter p;
        p.answer(Prompter::Answer::Yes).path(QStringLiteral("/tmp/a.tsp"));
        // A plain message takes nothing from the script.
        QCOMPARE(p.message(nullptr, QStringLiteral("Info"), QString(), Prompter::Buttons::Ok,
                           Prompter::Icon::None),
                 Prompter::Answer::Ok);
        QCOMPARE(p.message(nullptr, QStringLiteral("Q?"), QStringLiteral("Exit"), Prompter::Buttons::YesNo,
                           Prompter::Icon::Question),
                 Prompter::Answer::Yes);
        QCOMPARE(p.saveFile(nullptr, QStringLiteral("F|*.TSP"), QStringLiteral("x.tsp"), QStringLiteral("tsp")),
                 QStringLiteral("/tmp/a.tsp"));
        QVERIFY(!p.unexpectedCall());
        QCOMPARE(p.unusedScript(), 0);

        QCOMPARE(p.message(nullptr, QStringLiteral("Delete?"), QString(), Prompter::Buttons::OkCancel,
                           Prompter::Icon::Question),
                 Prompter::Answer::Cancel);
        QVERIFY(p.unexpectedCall());
        QVERIFY(p.openFile(nullptr, QString(), QString()).isEmpty());
        QVERIFY(!p.chooseColour(nullptr, 0xFF));

        QCOMPARE(p.calls().size(), size_t(6));
        QCOMPARE(p.messages(), (QStringList{QStringLiteral("Info"), QStringLiteral("Q?"), QStringLiteral("Delete?")}));
        QCOMPARE(p.calls()[1].caption, QStringLiteral("Exit"));
        QCOMPARE(p.calls()[2].fileName, QStringLiteral("x.tsp"));
        QVERIFY(!p.calls()[2].unexpected);
        QVERIFY(p.calls()[3].unexpected);
        QCOMPARE(p.calls()[5].colour, 0xFFu);
    }
};

QTEST_MAIN(PrompterTest)
#include "test_prompter.moc"
