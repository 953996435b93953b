#include "links/LinkMarkup.h"

#include <algorithm>
#include "model/Project.h"
#include "model/TopicRules.h"

namespace ts::links {

QString topicIdPrompt()
{
    return QStringLiteral("Please type in the topic ID!");
}

QString topicChoiceText(const QString& topicId, const QString& title)
{
    return topicId + QStringLiteral(" - ") + title;
}

int proposedLinkTarget(const Project& project, int currentTopic, const QString& selectedText)
{
    const int count = project.TopicCount();
    if (count == 0)
        return -1;
    const QString wanted = selectedText.simplified();
    if (!wanted.isEmpty()) {
        // Topic IDs are stored upper-cased with '_' for blanks.
        const QString asId = upperTopicId(wanted).replace(QLatin1Char(' '), QLatin1Char('_'));
        for (int i = 0; i < count; ++i)
            if (i != currentTopic && project.topic(i).TopicID.text() == asId)
                return i;
        for (int i = 0; i < count; ++i)
            if (i != currentTopic && project.topic(i).Title.text().simplified().compare(wanted, Qt::CaseInsensitive) == 0)
                return i;
    }
    for (int i = 0; i < count; ++i)
        if (i != currentTopic)
            return i;
    return 0;
}

QString topicLink(const QString& linkText, const QString& topicId, const QString& title,
                  const std::optional<QString>& windowName)
{
    QString markup = (linkText.isEmpty() ? title : linkText) + QStringLiteral("-->") + topicId;
    if (windowName)
        markup += QLatin1Char('>') + *windowName;
    return markup;
}

QString otherHelpFileLink(const QString& linkText, const QString& typedId, const QString& helpFile)
{
    return linkText + QStringLiteral("-->") + typedId + QLatin1Char('@') + helpFile;
}

std::optional<QString> otherHelpFileRefusal(const QString& typedId, const QString& helpFile)
{
    // An ID left empty would make a link to nowhere: it is not entered either.
    if (typedId == topicIdPrompt() || typedId.trimmed().isEmpty())
        return QStringLiteral("Could not create the link to another help file!\r\nThe Topic ID was not entered!");
    if (helpFile.isEmpty())
        return QStringLiteral("Could not create the link to another help file!\r\nThe file name was not entered!");
    return std::nullopt;
}

QString webLink(const QString& linkText, const QString& address, bool email)
{
    const QString target = email ? QStringLiteral("mailto:") + address : address;
    return (linkText.isEmpty() ? address : linkText) + QStringLiteral("-->!ExecFile(") + target + QLatin1Char(')');
}

QString relatedTopicsButton(const QString& caption, const QString& keywords)
{
    QString markup = QStringLiteral(" {button ") + caption + QStringLiteral(",Alink(") + keywords
                     + QStringLiteral(")} ");
    if (caption.isEmpty())
        markup += QStringLiteral(" Related Topics");
    return markup;
}

QString bitmapMarkup(const QString& path, bool transparent)
{
    return (transparent ? QStringLiteral(" {bmct ") : QStringLiteral(" {bmc ")) + path.toUpper()
           + QStringLiteral("} ");
}

} // namespace ts::links
