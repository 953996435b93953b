#include "TopicNavigator.h"

#include "TopicEditorPane.h"
#include "TopicTabBar.h"
#include "model/Project.h"

#include <QFrame>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ts {

TopicNavigator::TopicNavigator(Project& project, TopicEditorPane& editors, QWidget* parent)
    : QObject(parent), project_(project), editors_(editors)
{
    setObjectName(QStringLiteral("navigator"));
    topicListPanel = new QFrame(parent);
    topicListPanel->setObjectName(QStringLiteral("topicListPanel"));
    topicListPanel->setFrameShape(QFrame::Panel);
    topicListPanel->setFrameShadow(QFrame::Sunken);
    topicListPanel->setFixedWidth(165);
    auto* listLayout = new QVBoxLayout(topicListPanel);
    listLayout->setContentsMargins(1, 1, 1, 1);
    topicList = new QListWidget(topicListPanel);
    topicList->setObjectName(QStringLiteral("topicList"));
    topicList->setUniformItemSizes(true);
    listLayout->addWidget(topicList);

    topicTabs = new TopicTabBar(parent);
    topicTabs->setObjectName(QStringLiteral("topicTabs"));
    topicTabs->setExpanding(false);
    topicTabs->setUsesScrollButtons(true);
    topicTabs->setElideMode(Qt::ElideNone);
    // The row keeps its height while it has no tabs, so the editors do not
    // move when the first topic arrives.
    topicTabs->addTab(QStringLiteral("TOPIC"));
    topicTabs->setMinimumHeight(topicTabs->sizeHint().height());
    topicTabs->removeTab(0);

    connect(topicTabs, &QTabBar::currentChanged, this, &TopicNavigator::onTabSwitched);
    connect(topicList, &QListWidget::currentRowChanged, this, &TopicNavigator::onTopicListClicked);
}

int TopicNavigator::currentTopic() const
{
    const int i = topicTabs->currentIndex();
    return i >= 0 && i < project_.TopicCount() ? i : -1;
}

void TopicNavigator::selectTab(int index)
{
    const QSignalBlocker block(topicTabs);
    topicTabs->setCurrentIndex(index);
}

void TopicNavigator::copyTabsToList()
{
    const QSignalBlocker block(topicList);
    QStringList captions;
    captions.reserve(topicTabs->count());
    for (int i = 0; i < topicTabs->count(); ++i)
        captions.append(topicTabs->topicId(i));
    topicList->clear();
    topicList->addItems(captions);
    topicList->setCurrentRow(topicTabs->currentIndex());
}

void TopicNavigator::storeCurrentTopic()
{
    const int i = currentTopic();
    if (i >= 0)
        editors_.store(project_.topic(i));
}

void TopicNavigator::loadCurrentTopic()
{
    const int i = currentTopic();
    if (i < 0)
        return;
    if (topicList->currentRow() != i) {
        const QSignalBlocker block(topicList);
        topicList->setCurrentRow(i);
    }
    const TopicRecord& t = project_.topic(i);
    editors_.load(t, project_.windowOf(t));
}

void TopicNavigator::goToTopic(int index)
{
    storeCurrentTopic();
    selectTab(index);
    loadCurrentTopic();
}

// QTabBar reports a switch after it happened: the tab is put back for the
// store, so that the store always writes into the selected tab's topic.
// topicList still marks the topic that was shown before the switch.
void TopicNavigator::onTabSwitched(int index)
{
    const int left = topicList->currentRow();
    if (left >= 0 && left < project_.TopicCount() && left != index) {
        selectTab(left);
        storeCurrentTopic();
        selectTab(index);
    }
    loadCurrentTopic();
}

void TopicNavigator::onTopicListClicked()
{
    const int row = topicList->currentRow();
    if (row < 0 || row >= topicTabs->count() || row == topicTabs->currentIndex())
        return;
    goToTopic(row);
}

void TopicNavigator::showProject()
{
    {
        const QSignalBlocker block(topicTabs);
        QStringList captions;
        captions.reserve(project_.TopicCount());
        for (int i = 0; i < project_.TopicCount(); ++i)
            captions.append(project_.topic(i).TopicID.text());
        topicTabs->addTopicTabs(captions);
    }
    selectTab(0);
    copyTabsToList();
    loadCurrentTopic();
}

void TopicNavigator::clear()
{
    const QSignalBlocker blockTabs(topicTabs);
    const QSignalBlocker blockList(topicList);
    while (topicTabs->count() > 0)
        topicTabs->removeTab(topicTabs->count() - 1);
    topicList->clear();
}

void TopicNavigator::appendTopic(const QString& id)
{
    {
        const QSignalBlocker block(topicTabs);
        topicTabs->addTopicTab(id);
    }
    selectTab(topicTabs->count() - 1);
    copyTabsToList();
}

void TopicNavigator::removeTopic(int index)
{
    const bool wasLast = index == topicTabs->count() - 1;
    {
        const QSignalBlocker block(topicTabs);
        topicTabs->removeTab(index);
    }
    selectTab(wasLast ? index - 1 : index);
    copyTabsToList();
    loadCurrentTopic();
}

void TopicNavigator::renameTopic(int index, const QString& id)
{
    topicTabs->setTopicId(index, id);
    copyTabsToList();
}

void TopicNavigator::setListVisible(bool visible)
{
    topicListPanel->setVisible(visible);
}

} // namespace ts
