#pragma once
// The tab row of the main window. A project may hold 2049 topics; QTabBar
// lays all its tabs out again after every single insertion, so a whole
// project's tabs are added in one go, with one layout at the end.

#include <QStringList>
#include <QTabBar>

namespace ts {

class TopicTabBar : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;

    // Tabs show Topic IDs as they are: an "&" in an ID is text, not the
    // mark of an access key.
    int addTopicTab(const QString& topicId);
    void setTopicId(int index, const QString& topicId);
    QString topicId(int index) const;
    // Appends a tab for each Topic ID; emits no signals of its own beyond
    // those of addTab.
    void addTopicTabs(const QStringList& topicIds);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;

private:
    bool adding_ = false;
};

} // namespace ts
