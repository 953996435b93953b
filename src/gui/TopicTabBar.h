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

    // Appends a tab for each caption; emits no signals of its own beyond
    // those of addTab.
    void addTabs(const QStringList& captions);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;

private:
    bool adding_ = false;
};

} // namespace ts
