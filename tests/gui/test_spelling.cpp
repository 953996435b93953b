// Spell checking from the main window: every topic area passes through the
// speller, link hotspots and the fixed exception words are passed over, the
// user's answers (scripted here instead of the dialog) replace, ignore, add
// or cancel, and the window comes back to the topic it showed.

#include "test_mainwindow_support.h"

#include <optional>

#include "Speller.h"
#include "SpellingDialog.h"
#include "richtext/RtfReader.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QProgressBar>

using namespace ts;
using namespace ts::testing;

namespace {

// A small dictionary of its own, so that what is unknown is certain.
void writeDictionary(MainWindowHarness& h, const QStringList& words)
{
    MainWindowHarness::writeFile(h.path(QStringLiteral("test.aff")), "SET UTF-8\n");
    MainWindowHarness::writeFile(h.path(QStringLiteral("test.dic")),
                                 QByteArray::number(words.size()) + '\n' + words.join(QLatin1Char('\n')).toUtf8() + '\n');
    QVERIFY(h.form->tools->speller().loadDictionary(h.path(QStringLiteral("test.aff")), h.path(QStringLiteral("test.dic"))));
}

void openProject(MainWindowHarness& h, const QString& path)
{
    h.form->projectCommands->setPendingOpenPath(path);
    h.form->projectCommands->openProject();
    QCOMPARE(h.form->project().ProjectPath, path);
}

// Types `before`, `styled` struck out (or underlined), then `after`.
void typeStyled(QTextEdit* editor, const QString& before, const QString& styled, const QString& after, bool strike)
{
    MainWindowHarness::typeInto(editor, before + styled + after);
    QTextCursor c(editor->document());
    c.setPosition(int(before.size()));
    c.setPosition(int(before.size() + styled.size()), QTextCursor::KeepAnchor);
    QTextCharFormat style;
    if (strike)
        style.setFontStrikeOut(true);
    else
        style.setFontUnderline(true);
    c.mergeCharFormat(style);
}

// What the scripted user saw of each question.
struct Asked {
    QString word;
    qsizetype offset = 0;
    QString selected; // topicEditor's selection while the question was open
    QString status;
    int topic = -1;
};

// Answers from a list; records what was asked.
struct ScriptedAnswers {
    QList<Speller::Answer> script;
    QList<Asked> asked;

    void install(MainWindow& f)
    {
        f.tools->speller().setAnswerSource([this, &f](const Speller::Question& q) {
            asked.append({q.word, q.offset, f.editors->topicEditor()->textCursor().selectedText(), f.statusBar->panelText(1),
                          f.navigator->currentTopic()});
            return script.isEmpty() ? Speller::Answer{Speller::Answer::Kind::Ignore, {}} : script.takeFirst();
        });
    }
    QStringList words() const
    {
        QStringList out;
        for (const Asked& a : asked)
            out.append(a.word);
        return out;
    }
};

// The runs of a stored block as "text|B" (bold) or "text|".
QStringList runs(const QByteArray& rtf)
{
    QStringList out;
    for (const Paragraph& p : RtfReader::read(rtf).Paragraphs)
        for (const Run& r : p.Runs)
            out.append(r.Text + QLatin1Char('|') + (r.Format.Bold ? QStringLiteral("B") : QString()));
    return out;
}

} // namespace

class SpellingTest : public QObject {
    Q_OBJECT
private slots:
    void passesOverExceptionsHotspotsAndHeaderAndReturns();
    void changeIgnoreAllAddAndCancel();
    void realDictionaryThroughTheDialog();
    void enterChangesOnlyALetterCaseCorrection();
    void dialogStaysWhereItWasFromWordToWord();
    void dialogLeftOffTheScreenOpensOnIt();
    void withNoOneToAnswerAnUnknownWordStopsTheCheck();
};

void SpellingTest::passesOverExceptionsHotspotsAndHeaderAndReturns()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    const QString path = h.path(QStringLiteral("three.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    openProject(h, path);
    writeDictionary(h, {QStringLiteral("body"), QStringLiteral("of"), QStringLiteral("and"), QStringLiteral("a"),
                        QStringLiteral("b"), QStringLiteral("c")});
    ScriptedAnswers answers;
    answers.install(f);

    h.clickTab(0);
    MainWindowHarness::typeInto(f.editors->headerEditor(), QStringLiteral("Headerwurd"));
    MainWindowHarness::typeInto(f.editors->keywordsEdit(), QStringLiteral("keywurd"));
    typeStyled(f.editors->topicEditor(), QStringLiteral("{bmct x.bmp} Bmct "), QStringLiteral("Setup guide-->SETUP"),
               QStringLiteral(" and "), true);
    QTextCursor end(f.editors->topicEditor()->document());
    end.movePosition(QTextCursor::End);
    const int popupAt = end.position();
    end.insertText(QStringLiteral("Setup guide-->SETUP"));
    end.setPosition(popupAt, QTextCursor::KeepAnchor);
    QTextCharFormat underline;
    underline.setFontUnderline(true);
    end.mergeCharFormat(underline);
    h.clickTab(1);

    QList<int> progress;
    connect(f.progressBar, &QProgressBar::valueChanged, &f, [&](int v) { progress.append(v); });
    h.click(f.toolBar->button(f.actions->spellCheck));

    // The picture's file name is passed over; only the exception "bmct" is
    // passed over, not "Bmct".
    QCOMPARE(answers.words(), (QStringList{QStringLiteral("Bmct"), QStringLiteral("Setup"), QStringLiteral("guide"),
                                           QStringLiteral("SETUP")}));
    for (const Asked& a : answers.asked) {
        QCOMPARE(a.selected, a.word);
        QCOMPARE(a.status, QStringLiteral("Spell Checking..."));
        QCOMPARE(a.topic, 0);
    }
    QCOMPARE(answers.asked.at(1).offset, qsizetype(popupAt));
    QCOMPARE(h.prompter.messages(), QStringList{QStringLiteral("Spell Checking Complete!")});
    QCOMPARE(f.navigator->currentTopic(), 1);
    QCOMPARE(f.navigator->topicList->currentRow(), 1);
    QCOMPARE(f.statusBar->panelText(1), QString());
    QCOMPARE(f.progressBar->value(), 0);
    QCOMPARE(progress, (QList<int>{50, 100, 0}));
    QCOMPARE(f.tools->speller().disabledDialogElements(), 139292);
    QCOMPARE(f.tools->speller().resultCode(), std::int16_t(0));
    QVERIFY(!f.editors->topicEditor()->textCursor().hasSelection());
}

void SpellingTest::changeIgnoreAllAddAndCancel()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    const QString path = h.path(QStringLiteral("three.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    openProject(h, path);
    writeDictionary(h, {QStringLiteral("aaa")});
    ScriptedAnswers answers;
    answers.install(f);

    h.clickTab(0);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("aaa blorp aaa flarn"));
    QTextCursor bold(f.editors->topicEditor()->document());
    bold.setPosition(4);
    bold.setPosition(9, QTextCursor::KeepAnchor);
    QTextCharFormat b;
    b.setFontWeight(QFont::Bold);
    bold.mergeCharFormat(b);
    h.clickTab(1);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("flarn zig"));
    h.clickTab(2);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("zig quux aaa"));
    h.clickTab(1);

    using K = Speller::Answer::Kind;
    answers.script = {{K::Change, QStringLiteral("blip bloop")}, {K::IgnoreAll, {}}, {K::Add, {}}, {K::Cancel, {}}};
    QList<int> progress;
    connect(f.progressBar, &QProgressBar::valueChanged, &f, [&](int v) { progress.append(v); });
    h.click(f.toolBar->button(f.actions->spellCheck));

    QCOMPARE(answers.words(), (QStringList{QStringLiteral("blorp"), QStringLiteral("flarn"), QStringLiteral("zig"),
                                           QStringLiteral("quux")}));
    // After the longer replacement the next word's offset is that of the
    // changed text, and the selection there is the word.
    QCOMPARE(answers.asked.at(1).offset, qsizetype(19));
    QCOMPARE(answers.asked.at(1).selected, QStringLiteral("flarn"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("blip bloop"));
    // Cancelled: no completion message, back on the topic shown before.
    QVERIFY(h.prompter.messages().isEmpty());
    QCOMPARE(f.tools->speller().resultCode(), std::int16_t(-3));
    QCOMPARE(f.navigator->currentTopic(), 1);
    QCOMPARE(f.statusBar->panelText(1), QString());
    QCOMPARE(f.progressBar->value(), 0);
    QCOMPARE(progress, (QList<int>{50, 100, 0}));
    // The replacement is stored and took the replaced word's format.
    QCOMPARE(runs(f.project().topic(0).BodyRtf),
             (QStringList{QStringLiteral("aaa |"), QStringLiteral("blip bloop|B"), QStringLiteral(" aaa flarn|")}));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("flarn zig"));
    // The added word went to the user's word list and counts from now on.
    QVERIFY(MainWindowHarness::readFile(h.path(QStringLiteral("Topicsmith.dic"))).contains("zig\n"));
    QVERIFY(f.tools->speller().isKnown(QStringLiteral("zig")));

    // An empty replacement changes nothing.
    answers.asked.clear();
    answers.script = {{K::Change, QString()}};
    h.clickTab(0);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("aaa quux aaa"));
    h.prompter.reset();
    h.click(f.toolBar->button(f.actions->spellCheck));
    QCOMPARE(answers.words(), (QStringList{QStringLiteral("quux"), QStringLiteral("quux")}));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("aaa quux aaa"));
    QCOMPARE(h.prompter.messages(), QStringList{QStringLiteral("Spell Checking Complete!")});
}

void SpellingTest::realDictionaryThroughTheDialog()
{
    if (!QFile::exists(Speller::defaultDicPath()) || !QFile::exists(Speller::defaultAffPath()))
        QSKIP("The en_US Hunspell dictionary is not installed.");
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("ONLY"), QStringLiteral("Only"));
    // A file name is no word: "exe" is not put to the user.
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("This sentense has a mistake. Run setup.exe."));

    QString context;
    QStringList suggestions;
    int shown = 0;
    bool ignoreIsDefault = false;
    QTimer answer;
    connect(&answer, &QTimer::timeout, &f, [&] {
        auto* d = qobject_cast<SpellingDialog*>(QApplication::activeModalWidget());
        if (!d)
            return;
        if (++shown > 1) {
            d->ignoreButton->click();
            return;
        }
        context = d->contextLabel->text();
        // Enter would not replace the word with a guess.
        ignoreIsDefault = d->ignoreButton->isDefault() && !d->changeButton->isDefault();
        for (int i = 0; i < d->suggestionList->count(); ++i)
            suggestions.append(d->suggestionList->item(i)->text());
        const auto found = d->suggestionList->findItems(QStringLiteral("sentence"), Qt::MatchExactly);
        if (!found.isEmpty())
            d->suggestionList->setCurrentItem(found.first());
        QTest::mouseClick(d->changeButton, Qt::LeftButton);
    });
    answer.start(20);
    h.click(f.toolBar->button(f.actions->spellCheck));
    answer.stop();

    QCOMPARE(shown, 1);
    QVERIFY(ignoreIsDefault);
    QVERIFY2(context.contains(QStringLiteral("This <b>sentense</b> has")), qPrintable(context));
    QVERIFY(suggestions.contains(QStringLiteral("sentence")));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("This sentence has a mistake. Run setup.exe."));
    QCOMPARE(h.prompter.messages(), QStringList{QStringLiteral("Spell Checking Complete!")});
    QCOMPARE(f.progressBar->value(), 0);
}

// Enter changes the word only when a suggestion differs from it in letter
// case alone; a guess is not made by Enter.
void SpellingTest::enterChangesOnlyALetterCaseCorrection()
{
    SpellingDialog guess({QStringLiteral("exe"), QStringLiteral("setup exe"), 6,
                          {QStringLiteral("exr"), QStringLiteral("ewe")}});
    QVERIFY(guess.ignoreButton->isDefault());
    QVERIFY(!guess.changeButton->isDefault());
    SpellingDialog caseOnly({QStringLiteral("english"), QStringLiteral("in english"), 3,
                             {QStringLiteral("Englishes"), QStringLiteral("English")}});
    QVERIFY(caseOnly.changeButton->isDefault());
    QCOMPARE(caseOnly.changeToEdit->text(), QStringLiteral("English"));
}

void SpellingTest::dialogStaysWhereItWasFromWordToWord()
{
    QWidget window;
    window.show();
    QList<QPoint> positions;
    const auto answerAt = [&](std::optional<QPoint> moveTo) {
        QTimer::singleShot(0, &window, [&, moveTo] {
            auto* d = qobject_cast<SpellingDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            if (moveTo)
                d->move(*moveTo);
            positions.append(d->pos());
            d->ignoreButton->click();
        });
    };
    answerAt(QPoint(123, 77));
    SpellingDialog::ask({QStringLiteral("teh"), QStringLiteral("teh cat"), 0, {QStringLiteral("the")}});
    answerAt(std::nullopt);
    // A longer context and no suggestions make a dialog of another size.
    SpellingDialog::ask({QStringLiteral("qwzx"), QStringLiteral("a much longer line of text with qwzx in it"), 31, {}});
    QCOMPARE(positions, (QList<QPoint>{QPoint(123, 77), QPoint(123, 77)}));
}

// The place the last dialog was left is off the screen (a screen unplugged
// or made smaller since): the next dialog opens whole on the screen.
void SpellingTest::dialogLeftOffTheScreenOpensOnIt()
{
    QWidget window;
    window.show();
    const QRect room = window.screen()->availableGeometry();
    QRect opened;
    QTimer::singleShot(0, &window, [&] {
        auto* d = qobject_cast<SpellingDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        d->move(room.bottomRight() + QPoint(200, 100));
        d->ignoreButton->click();
    });
    SpellingDialog::ask({QStringLiteral("teh"), QStringLiteral("teh cat"), 0, {QStringLiteral("the")}});
    QTimer::singleShot(0, &window, [&] {
        auto* d = qobject_cast<SpellingDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        opened = d->frameGeometry();
        d->ignoreButton->click();
    });
    SpellingDialog::ask({QStringLiteral("qwzx"), QStringLiteral("qwzx"), 0, {}});
    QVERIFY2(room.contains(opened), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(opened.x()).arg(opened.y())
                                                   .arg(opened.width()).arg(opened.height())));
}

// The speller knows no dialog of its own: without an answer source the
// first unknown word ends the check as a Cancel would.
void SpellingTest::withNoOneToAnswerAnUnknownWordStopsTheCheck()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    MainWindowHarness::writeFile(dir.filePath(QStringLiteral("t.aff")), "SET UTF-8\n");
    MainWindowHarness::writeFile(dir.filePath(QStringLiteral("t.dic")), "1\nknown\n");
    Speller speller;
    QVERIFY(speller.loadDictionary(dir.filePath(QStringLiteral("t.aff")), dir.filePath(QStringLiteral("t.dic"))));
    QStringList reported;
    speller.onMisspelled = [&](Speller& s, std::int16_t&) { reported.append(s.misspelledWord()); };

    speller.setCheckText(QStringLiteral("known known"));
    QCOMPARE(speller.resultCode(), std::int16_t(0));
    speller.setCheckText(QStringLiteral("known blorp flarn"));
    QCOMPARE(reported, QStringList{QStringLiteral("blorp")});
    QCOMPARE(speller.resultCode(), Speller::Cancelled);
}

QTEST_MAIN(SpellingTest)
#include "test_spelling.moc"
