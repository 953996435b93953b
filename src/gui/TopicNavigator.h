#pragma once
// The tab row and the topic list, kept in step: one tab and one list entry
// per topic, both showing its Topic ID, the selected one the current topic.
// Switching stores the editors into the topic being left and loads the one
// chosen; the list panel can be hidden (the "Show/Hide Topic ID List" toggle).

#include <QObject>

class QFrame;
class QListWidget;
class QWidget;

namespace ts {

class Project;
class TopicEditorPane;
class TopicTabBar;

class TopicNavigator : public QObject {
    Q_OBJECT
public:
    TopicNavigator(Project& project, TopicEditorPane& editors, QWidget* parent);

    // The index of the current topic (the selected tab), or -1 without topics.
    int currentTopic() const;
    // The editors into the current topic, and the current topic into the editors.
    void storeCurrentTopic();
    void loadCurrentTopic();
    // Stores the current topic, selects topic `index` and loads it.
    void goToTopic(int index);

    // Tabs for every topic of the project, the first one shown.
    void showProject();
    // No tabs, no entries.
    void clear();
    // A tab for a topic just appended to the project, selected; the editors
    // are left as they are.
    void appendTopic(const QString& id);
    // The tab of a topic just deleted from the project; its neighbour is shown.
    void removeTopic(int index);
    void renameTopic(int index, const QString& id);
    void setListVisible(bool visible);

    TopicTabBar* topicTabs;
    QFrame* topicListPanel;
    QListWidget* topicList;

private:
    void selectTab(int index);
    void copyTabsToList();
    void onTabSwitched(int index);
    void onTopicListClicked();

    Project& project_;
    TopicEditorPane& editors_;
};

} // namespace ts
