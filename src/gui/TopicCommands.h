#pragma once
// The topic commands: Add new Topic, Delete Current Topic, Change Topic
// Properties and Edit Windows, with the dialogs they open, and the link
// maintenance that follows a Topic ID rename or a window change.

#include <QObject>

class QWidget;

namespace ts {

class AutoSizeDialog;
struct LinkRename;
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
    TopicCommands(Project& project, Prompter& prompter, TopicNavigator& navigator, TopicEditorPane& editors,
                  QWidget* window);

    TopicPropertiesDialog* topicPropertiesDialog;
    WindowEditorDialog* windowEditor;
    AutoSizeDialog* autoSizeDialog;
    // The link maintenance's progress window, shown while it rewrites.
    SearchProgressDialog* linkProgress() const { return linkProgress_; }

public slots:
    void addTopic();
    void deleteTopic();
    void editWindows();
    void changeTopicProperties();
    // The window editor shows the current topic's window of a project just opened.
    void refillWindows();
    // Link maintenance for a Topic ID rename, a topic moved to another
    // window or a window deleted, as `rename` says.
    void rewriteLinks(const LinkRename& rename);

signals:
    // A topic was added: the editing commands have something to act on.
    void topicAdded();
    // The command changed the project: topics, windows or links.
    void projectChanged();

private:
    // The window editor deleted a window: references `oldText` (">" and the
    // window's name) become `newText` (">main").
    void rewriteDeletedWindowLinks(const QString& oldText, const QString& newText);

    Project& project_;
    Prompter& prompter_;
    TopicNavigator& navigator_;
    TopicEditorPane& editors_;
    SearchProgressDialog* linkProgress_;
    QWidget* window_;
};

} // namespace ts
