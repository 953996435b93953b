#pragma once
// The topic commands: Add new Topic, Delete Current Topic, Change Topic
// Properties and Edit Windows, with the dialogs they open, and the link
// maintenance that follows a Topic ID rename or a window change.

#include <QObject>

#include <cstdint>

class QWidget;

namespace ts {

class AutoSizeDialog;
class Project;
class Prompter;
class SearchProgressDialog;
class TopicEditorPane;
class TopicNavigator;
class TopicPropertiesDialog;
class WindowEditorDialog;

class TopicCommands : public QObject {
    Q_OBJECT
public:
    // `progress` is lent to the link maintenance while it runs.
    TopicCommands(Project& project, Prompter& prompter, TopicNavigator& navigator, TopicEditorPane& editors,
                  SearchProgressDialog& progress, QWidget* window);

    TopicPropertiesDialog* topicPropertiesDialog;
    WindowEditorDialog* windowEditor;
    AutoSizeDialog* autoSizeDialog;

public slots:
    void addTopic();
    void deleteTopic();
    void editWindows();
    void changeTopicProperties();
    // The window editor shows the current topic's window of a project just opened.
    void refillWindows();
    // Link maintenance for a Topic ID rename (WindowLinkMode false) or a
    // window reference rewrite (WindowLinkMode true).
    void rewriteLinks(const QString& oldText, const QString& newText);

signals:
    // A topic was added: the editing commands have something to act on.
    void topicAdded();
    // The command changed the project: topics, windows or links.
    void projectChanged();

private:
    Project& project_;
    Prompter& prompter_;
    TopicNavigator& navigator_;
    TopicEditorPane& editors_;
    SearchProgressDialog& progress_;
    QWidget* window_;
};

} // namespace ts
