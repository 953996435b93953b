// TGlavniForm: spell checking of the topic area of every topic, one topic
// after the other through the editors, with link hotspots and the fixed
// exception words passed over and replacements made in the editor.

#include "MainWindow.h"

#include "MainWindowTabBar.h"
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

ts::Speller& TGlavniForm::speller()
{
    if (!Speller_) {
        Speller_ = new ts::Speller(this);
        Speller_->setObjectName(QStringLiteral("Speller"));
        Speller_->setPersonalDictionary(ProgramFolder_ + QStringLiteral("Topicsmith.dic"));
        Speller_->OnMisspelled = [this](ts::Speller& sender, std::int16_t& action) {
            SpellerMisspelled(sender, action);
        };
        Speller_->OnClickIn = [this](ts::Speller& sender, std::int16_t& action) { SpellerClickIn(sender, action); };
        SpellExceptions = SpellExceptionWords();
    }
    return *Speller_;
}

void TGlavniForm::SpellButtonClick()
{
    const int count = Project_.TopicCount();
    if (count == 0)
        return;
    ts::Speller& s = speller();
    if (!s.hasDictionary() && !s.loadDictionary(ts::Speller::defaultAffPath(), ts::Speller::defaultDicPath())) {
        showIoError(QStringLiteral("Cannot check the spelling: the dictionary '%1' or '%2' cannot be read.")
                        .arg(ts::Speller::defaultDicPath(), ts::Speller::defaultAffPath()));
        return;
    }
    s.setDisableDialogElements(DisabledDialogElements);

    const int shown = CurrentTopic();
    SB->setPanelText(1, QStringLiteral("Spell Checking..."));
    const int step = count > 1 ? 100 / (count - 1) : 0;
    bool stopped = false;
    for (int i = 0; i < count; ++i) {
        TopicTabChanging();
        selectTab(i);
        TopicTabChange();
        s.setCheckText(TopicText->toPlainText());
        QTextCursor c = TopicText->textCursor();
        c.clearSelection();
        TopicText->setTextCursor(c);
        if (s.ResultCode() == ts::Speller::Cancelled) {
            stopped = true;
            break;
        }
        SB->advance(step);
    }
    SB->finishActivity();
    TopicTabChanging();
    selectTab(shown);
    TopicTabChange();
    if (!stopped)
        Prompter_.message(this, QStringLiteral("Spell Checking Complete!"), QStringLiteral("Topicsmith"));
}

void TGlavniForm::SpellerMisspelled(ts::Speller& sender, std::int16_t& EventAction)
{
    const QString word = sender.MisspelledWord();
    if (SpellExceptions.contains(word, Qt::CaseSensitive)) {
        EventAction = 1;
        return;
    }
    QTextCursor c = TopicText->textCursor();
    const int start = sender.WordOffset();
    const int end = qMin(start + int(word.size()), TopicText->document()->characterCount() - 1);
    c.setPosition(qMin(start, end));
    c.setPosition(end, QTextCursor::KeepAnchor);
    TopicText->setTextCursor(c);
    TopicText->ensureCursorVisible();
    if (struckOut(TopicText->document(), start, end - start))
        EventAction = 1;
}

void TGlavniForm::SpellerClickIn(ts::Speller& sender, std::int16_t& EventAction)
{
    if (sender.ClickedButton() != ts::Speller::ChangeButton)
        return;
    const QString replacement = sender.ClickInfoText();
    ImeBuffer->setText(replacement);
    ImeBuffer->selectAll();
    ImeBuffer->copy();
    if (replacement.isEmpty()) {
        EventAction = 1;
        return;
    }
    // The replacement takes the format of the word it replaces.
    QTextCursor c = TopicText->textCursor();
    QTextCursor first(TopicText->document());
    first.setPosition(qMin(c.selectionStart() + 1, TopicText->document()->characterCount() - 1));
    const QTextCharFormat format = first.charFormat();
    c.insertText(replacement, format);
    TopicText->setTextCursor(c);
}

} // namespace ts
