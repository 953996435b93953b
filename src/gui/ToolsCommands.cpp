// Spell checking of the topic area of every topic, one topic
// after the other through the editors, with link hotspots and the fixed
// exception words passed over and replacements made in the editor.

#include "ToolsCommands.h"

#include "AboutDialog.h"
#include "ContentsDialog.h"
#include "ContextHelp.h"
#include "Prompter.h"
#include "SearchDialog.h"
#include "SearchProgressDialog.h"
#include "Speller.h"
#include "SpellingDialog.h"
#include "StatusBar.h"
#include "TopicEditorPane.h"
#include "TopicNavigator.h"
#include "model/Project.h"
#include "search/TopicSearch.h"
#include "spelling/SpellWords.h"

namespace ts {

namespace {

// The dialog elements switched off at the start of every run.
constexpr std::int32_t DisabledDialogElements = 139292;

} // namespace

ToolsCommands::ToolsCommands(Project& project, Prompter& prompter, const QString& programFolder,
                             TopicNavigator& navigator, TopicEditorPane& editors, StatusBar& statusBar,
                             const ListIcons& listIcons, QWidget* window)
    : QObject(window), project_(project), prompter_(prompter), programFolder_(programFolder), navigator_(navigator),
      editors_(editors), statusBar_(statusBar), window_(window)
{
    setObjectName(QStringLiteral("toolsCommands"));
    searchProgress_ = new SearchProgressDialog(window);
    searchDialog = new SearchDialog(project_, *searchProgress_, listIcons, window);
    contentsDialog = new ContentsDialog(project_, prompter_, *searchDialog, listIcons, window);
    aboutDialog = new AboutDialog(window);
}

// The dialog reports the picked topic, which becomes the current topic. The
// editors are stored first, so that the search reads what the user sees.
void ToolsCommands::searchTopics()
{
    navigator_.storeCurrentTopic();
    const int picked = searchDialog->execute();
    if (picked < 0 || picked >= project_.TopicCount())
        return;
    navigator_.goToTopic(picked);
    // A topic found by its text shows where: the words found are selected.
    if (searchDialog->foundMode == int(SearchMode::TextInTopic))
        editors_.showFound(searchDialog->foundQuery);
}

// The contents editor reads the contents at every opening and writes the
// file only on OK; the project itself is not changed, unless a rename's
// contents wait for its Save: then OK's entries wait with them, and the
// project shows it has unsaved changes.
void ToolsCommands::editContents()
{
    if (contentsDialog->exec() == QDialog::Accepted && project_.PendingContents)
        window_->setWindowModified(true);
}

void ToolsCommands::showHelpContents()
{
    ContextHelp::forApplication()->showContents();
}

void ToolsCommands::showAbout()
{
    aboutDialog->exec();
}

ts::Speller& ToolsCommands::speller()
{
    if (!speller_) {
        speller_ = new ts::Speller(this);
        speller_->setObjectName(QStringLiteral("Speller"));
        speller_->setPersonalDictionary(programFolder_ + QStringLiteral("Topicsmith.dic"));
        speller_->setAnswerSource(&SpellingDialog::ask);
        speller_->onMisspelled = [this](ts::Speller& sender, std::int16_t& action) {
            onMisspelled(sender, action);
        };
        speller_->onClickIn = [this](ts::Speller& sender, std::int16_t& action) { onSpellerClick(sender, action); };
        spellExceptions = spellExceptionWords();
    }
    return *speller_;
}

void ToolsCommands::checkSpelling()
{
    const int count = project_.TopicCount();
    if (count == 0)
        return;
    ts::Speller& s = speller();
    if (!s.hasDictionary() && !s.loadDictionary(ts::Speller::defaultAffPath(), ts::Speller::defaultDicPath())) {
        prompter_.error(window_, QStringLiteral("Cannot check the spelling: the dictionary '%1' or '%2' cannot be read.")
                                     .arg(ts::Speller::defaultDicPath(), ts::Speller::defaultAffPath()));
        return;
    }
    s.setDisableDialogElements(DisabledDialogElements);

    const int shown = navigator_.currentTopic();
    statusBar_.setPanelText(1, QStringLiteral("Spell Checking..."));
    const int step = count > 1 ? 100 / (count - 1) : 0;
    bool stopped = false;
    for (int i = 0; i < count; ++i) {
        navigator_.goToTopic(i);
        s.setCheckText(editors_.plainText(TopicEditorPane::Area::Topic));
        editors_.clearSelection(TopicEditorPane::Area::Topic);
        if (s.resultCode() == ts::Speller::Cancelled) {
            stopped = true;
            break;
        }
        statusBar_.advance(step);
    }
    statusBar_.finishActivity();
    navigator_.goToTopic(shown);
    if (!stopped)
        prompter_.message(window_, QStringLiteral("Spell Checking Complete!"), QStringLiteral("Topicsmith"));
}

void ToolsCommands::onMisspelled(ts::Speller& sender, std::int16_t& action)
{
    const QString word = sender.misspelledWord();
    if (spellExceptions.contains(word, Qt::CaseSensitive)) {
        action = 1;
        return;
    }
    // Words inside a jump or web hotspot or its markup are passed over.
    const int start = sender.wordOffset();
    const int selected = editors_.selectText(TopicEditorPane::Area::Topic, start, int(word.size()));
    if (editors_.isStruckOut(TopicEditorPane::Area::Topic, start, selected))
        action = 1;
}

void ToolsCommands::onSpellerClick(ts::Speller& sender, std::int16_t& action)
{
    if (sender.clickedButton() != ts::Speller::ChangeButton)
        return;
    const QString replacement = sender.clickInfoText();
    putOnClipboard(replacement);
    if (replacement.isEmpty()) {
        action = 1;
        return;
    }
    // The replacement takes the format of the word it replaces.
    editors_.replaceSelection(TopicEditorPane::Area::Topic, replacement);
}

} // namespace ts
