#include "Project.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace ts {

WindowRecord WindowRecord::defaultWindow()
{
    WindowRecord w;
    w.Name.setBytes(QByteArrayLiteral("main"));
    return w;
}

Project::Project(const QString& programFolder)
    : topics_(TopicSlots), windows_(WindowSlots), programFolder_(programFolder)
{
    windows_[0] = WindowRecord::defaultWindow();
    ProjectPath = unnamedPath();
}

bool Project::isUnnamedPath(const QString& path) const
{
    const auto full = [](const QString& p) { return QDir::cleanPath(QFileInfo(p).absoluteFilePath()); };
    return full(path) == full(unnamedPath());
}

const TopicRecord& Project::topic(int i) const
{
    Q_ASSERT(i >= 0 && i < topicCount_);
    return topics_[size_t(i)];
}

TopicRecord& Project::topic(int i)
{
    Q_ASSERT(i >= 0 && i < topicCount_);
    return topics_[size_t(i)];
}

const WindowRecord& Project::window(int k) const
{
    Q_ASSERT(k >= 0 && k < windowCount_);
    return windows_[size_t(k)];
}

WindowRecord& Project::window(int k)
{
    Q_ASSERT(k >= 0 && k < windowCount_);
    return windows_[size_t(k)];
}

const WindowRecord& Project::windowOf(const TopicRecord& topic) const
{
    const int k = topic.WindowIndex;
    return windows_[size_t(k >= 0 && k < windowCount_ ? k : 0)];
}

bool Project::addTopic(const TopicRecord& topic)
{
    if (topicTableFull())
        return false;
    topics_[size_t(topicCount_++)] = topic;
    return true;
}

void Project::deleteTopic(int i)
{
    Q_ASSERT(i >= 0 && i < topicCount_);
    for (int j = i; j + 1 < topicCount_; ++j)
        topics_[size_t(j)] = std::move(topics_[size_t(j + 1)]);
    topics_[size_t(topicCount_ - 1)].clear();
    --topicCount_;
}

int Project::findTopic(const QByteArray& topicId) const
{
    for (int i = 0; i < topicCount_; ++i)
        if (topics_[size_t(i)].TopicID.bytes() == topicId)
            return i;
    return -1;
}

bool Project::addWindow(const WindowRecord& window)
{
    if (windowCount_ >= MaxWindows)
        return false;
    windows_[size_t(windowCount_++)] = window;
    return true;
}

void Project::deleteWindow(int k)
{
    Q_ASSERT(k > 0 && k < windowCount_);
    for (int i = 0; i < topicCount_; ++i) {
        auto& w = topics_[size_t(i)].WindowIndex;
        if (w == k)
            w = 0;
        else if (w > k)
            --w;
    }
    for (int j = k; j + 1 < windowCount_; ++j)
        windows_[size_t(j)] = windows_[size_t(j + 1)];
    --windowCount_;
}

void Project::reset()
{
    for (int i = 0; i < topicCount_; ++i)
        topics_[size_t(i)].clear();
    windows_[0] = WindowRecord::defaultWindow();
    windowCount_ = 1;
    topicCount_ = 0;
    PendingContents.reset();
}

} // namespace ts
