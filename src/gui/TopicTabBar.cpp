#include "TopicTabBar.h"

namespace ts {

namespace {

QString captionFor(QString topicId) { return topicId.replace(QLatin1Char('&'), QLatin1String("&&")); }

} // namespace

int TopicTabBar::addTopicTab(const QString& topicId) { return addTab(captionFor(topicId)); }

void TopicTabBar::setTopicId(int index, const QString& topicId) { setTabText(index, captionFor(topicId)); }

QString TopicTabBar::topicId(int index) const
{
    return tabText(index).replace(QLatin1String("&&"), QLatin1String("&"));
}

void TopicTabBar::addTopicTabs(const QStringList& topicIds)
{
    if (topicIds.isEmpty())
        return;
    // While the tabs go in, the interim layouts measure nothing.
    adding_ = true;
    for (const QString& id : topicIds)
        addTopicTab(id);
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
