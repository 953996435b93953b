#pragma once
// The insert commands: links to topics, to web sites and e-mail addresses,
// "Related Topics" buttons and bitmaps, put into the topic editor the user
// was in, with the dialogs that collect them.

#include <QObject>

class QWidget;

namespace ts {

class ButtonDialog;
class LinkDialog;
class Project;
class Prompter;
class TopicEditorPane;
class TopicNavigator;

class InsertCommands : public QObject {
    Q_OBJECT
public:
    InsertCommands(const Project& project, Prompter& prompter, TopicEditorPane& editors,
                   const TopicNavigator& navigator, QWidget* window);

    LinkDialog* linkDialog;
    ButtonDialog* buttonDialog;

public slots:
    void insertTopicLink();
    void insertWebLink();
    void insertRelatedTopicsButton();
    void insertBitmap(bool transparent);

private:
    const Project& project_;
    Prompter& prompter_;
    TopicEditorPane& editors_;
    const TopicNavigator& navigator_;
    QWidget* window_;
};

} // namespace ts
