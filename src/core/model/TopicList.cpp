#include "TopicList.h"

namespace ts {

QStringList topicListLines(const Project& project)
{
    QStringList lines;
    lines.reserve(project.TopicCount());
    for (int i = 0; i < project.TopicCount(); ++i) {
        const auto& t = project.topic(i);
        QString line = t.TopicID.text() + QStringLiteral(" : ") + t.Title.text();
        if (t.HasCallId)
            line += QStringLiteral(" : Application Call ID: ") + QString::number(t.CallId);
        else
            line += QStringLiteral(" : No Application Call");
        lines.append(line);
    }
    return lines;
}

} // namespace ts
