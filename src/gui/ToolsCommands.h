#pragma once
// The tools commands: topic search, the contents editor, spell checking of
// every topic's text, the about box and the program's help.

#include "ListIcons.h"

#include <QObject>
#include <QStringList>

#include <cstdint>

class QWidget;

namespace ts {

class AboutDialog;
class ContentsDialog;
class Project;
class Prompter;
class SearchDialog;
class SearchProgressDialog;
class Speller;
class StatusBar;
class TopicEditorPane;
class TopicNavigator;

class ToolsCommands : public QObject {
    Q_OBJECT
public:
    // `listIcons` are the window's list icons the search and contents
    // dialogs draw from; they must outlive this object.
    ToolsCommands(Project& project, Prompter& prompter, const QString& programFolder, TopicNavigator& navigator,
                  TopicEditorPane& editors, StatusBar& statusBar, const ListIcons& listIcons, QWidget* window);

    // The speller, made at first use; the user's added words go to
    // Topicsmith.dic in the program folder.
    ts::Speller& speller();

    // The search's progress window; the search alone uses it.
    SearchProgressDialog* searchProgress() const { return searchProgress_; }
    SearchDialog* searchDialog;
    ContentsDialog* contentsDialog;
    AboutDialog* aboutDialog;
    // Words never reported, compared exactly.
    QStringList spellExceptions;

public slots:
    void searchTopics();
    void editContents();
    void checkSpelling();
    void showAbout();
    // The program's help is still to come; until then it does nothing.
    void showHelpContents();

private:
    // The speller's events: an action of 1 passes the word over.
    void onMisspelled(ts::Speller& sender, std::int16_t& action);
    void onSpellerClick(ts::Speller& sender, std::int16_t& action);

    Project& project_;
    Prompter& prompter_;
    QString programFolder_;
    TopicNavigator& navigator_;
    TopicEditorPane& editors_;
    StatusBar& statusBar_;
    QWidget* window_;
    SearchProgressDialog* searchProgress_;
    ts::Speller* speller_ = nullptr;
};

} // namespace ts
