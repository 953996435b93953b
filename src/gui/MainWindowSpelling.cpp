// MainWindow: spell checking of the topic area of every topic, one topic
// after the other through the editors, with link hotspots and the fixed
// exception words passed over and replacements made in the editor.

#include "MainWindow.h"

#include "TopicTabBar.h"
#include "Prompter.h"
#include "Speller.h"
#include "StatusBar.h"
#include "spelling/SpellWords.h"

#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>

namespace ts {

namespace {

// The dialog elements switched off at the start of every run.
constexpr std::int32_t DisabledDialogElements = 139292;

// True when every character from `start` for `length` characters is struck
// out: the word lies inside a jump or web hotspot or its markup.
bool struckOut(QTextDocument* document, int start, int length)
{
    QTextCursor c(document);
    for (int p = start; p < start + length; ++p) {
        c.setPosition(p + 1);
        if (!c.charFormat().fontStrikeOut())
            return false;
    }
    return length > 0;
}

} // namespace

ts::Speller& MainWindow::speller()
{
    if (!speller_) {
        speller_ = new ts::Speller(this);
        speller_->setObjectName(QStringLiteral("Speller"));
        speller_->setPersonalDictionary(programFolder_ + QStringLiteral("Topicsmith.dic"));
        speller_->onMisspelled = [this](ts::Speller& sender, std::int16_t& action) {
            onMisspelled(sender, action);
        };
        speller_->onClickIn = [this](ts::Speller& sender, std::int16_t& action) { onSpellerClick(sender, action); };
        spellExceptions = SpellExceptionWords();
    }
    return *speller_;
}

void MainWindow::checkSpelling()
{
    const int count = project_.TopicCount();
    if (count == 0)
        return;
    ts::Speller& s = speller();
    if (!s.hasDictionary() && !s.loadDictionary(ts::Speller::defaultAffPath(), ts::Speller::defaultDicPath())) {
        showIoError(QStringLiteral("Cannot check the spelling: the dictionary '%1' or '%2' cannot be read.")
                        .arg(ts::Speller::defaultDicPath(), ts::Speller::defaultAffPath()));
        return;
    }
    s.setDisableDialogElements(DisabledDialogElements);

    const int shown = currentTopic();
    statusBar->setPanelText(1, QStringLiteral("Spell Checking..."));
    const int step = count > 1 ? 100 / (count - 1) : 0;
    bool stopped = false;
    for (int i = 0; i < count; ++i) {
        storeCurrentTopic();
        selectTab(i);
        loadCurrentTopic();
        s.setCheckText(topicEditor->toPlainText());
        QTextCursor c = topicEditor->textCursor();
        c.clearSelection();
        topicEditor->setTextCursor(c);
        if (s.resultCode() == ts::Speller::Cancelled) {
            stopped = true;
            break;
        }
        statusBar->advance(step);
    }
    statusBar->finishActivity();
    storeCurrentTopic();
    selectTab(shown);
    loadCurrentTopic();
    if (!stopped)
        prompter_.message(this, QStringLiteral("Spell Checking Complete!"), QStringLiteral("Topicsmith"));
}

void MainWindow::onMisspelled(ts::Speller& sender, std::int16_t& action)
{
    const QString word = sender.misspelledWord();
    if (spellExceptions.contains(word, Qt::CaseSensitive)) {
        action = 1;
        return;
    }
    QTextCursor c = topicEditor->textCursor();
    const int start = sender.wordOffset();
    const int end = qMin(start + int(word.size()), topicEditor->document()->characterCount() - 1);
    c.setPosition(qMin(start, end));
    c.setPosition(end, QTextCursor::KeepAnchor);
    topicEditor->setTextCursor(c);
    topicEditor->ensureCursorVisible();
    if (struckOut(topicEditor->document(), start, end - start))
        action = 1;
}

void MainWindow::onSpellerClick(ts::Speller& sender, std::int16_t& action)
{
    if (sender.clickedButton() != ts::Speller::ChangeButton)
        return;
    const QString replacement = sender.clickInfoText();
    markupBuffer->setText(replacement);
    markupBuffer->selectAll();
    markupBuffer->copy();
    if (replacement.isEmpty()) {
        action = 1;
        return;
    }
    // The replacement takes the format of the word it replaces.
    QTextCursor c = topicEditor->textCursor();
    QTextCursor first(topicEditor->document());
    first.setPosition(qMin(c.selectionStart() + 1, topicEditor->document()->characterCount() - 1));
    const QTextCharFormat format = first.charFormat();
    c.insertText(replacement, format);
    topicEditor->setTextCursor(c);
}

} // namespace ts
