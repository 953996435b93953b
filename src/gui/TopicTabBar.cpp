#include "TopicTabBar.h"

namespace ts {

void TopicTabBar::addTabs(const QStringList& captions)
{
    if (captions.isEmpty())
        return;
    // While the tabs go in, the interim layouts measure nothing.
    adding_ = true;
    for (const QString& caption : captions)
        addTab(caption);
    adding_ = false;
    // One layout with the real sizes.
    setTabText(count() - 1, tabText(count() - 1));
}

QSize TopicTabBar::tabSizeHint(int index) const
{
    return adding_ ? QSize(1, 1) : QTabBar::tabSizeHint(index);
}

QSize TopicTabBar::minimumTabSizeHint(int index) const
{
    return adding_ ? QSize(1, 1) : QTabBar::minimumTabSizeHint(index);
}

} // namespace ts
