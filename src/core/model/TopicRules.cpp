#include "TopicRules.h"

#include "UserInteger.h"
#include "Windows1252.h"

namespace ts {

std::int64_t proposeCallId(const Project& project)
{
    std::int64_t withId = 0;
    for (int i = 0; i < project.TopicCount(); ++i)
        if (project.topic(i).HasCallId)
            ++withId;
    std::int64_t n = 10 + 10 * withId;
    for (int i = 0; i < project.TopicCount(); ++i)
        if (n <= project.topic(i).CallId)
            n += 10;
    return n;
}

QString upperTopicId(const QString& topicId)
{
    QString out = topicId;
    for (QChar& c : out) {
        const QString upper = QString(c).toUpper();
        if (upper.size() == 1 && cp1252::canEncode(upper.at(0)))
            c = upper.at(0);
    }
    return out;
}

std::optional<QChar> forbiddenTopicIdCharacter(const QString& topicId)
{
    static const QString forbidden = QStringLiteral("#=+@*%!>;\"{}\\");
    for (const QChar c : topicId)
        if (c.category() == QChar::Other_Control || forbidden.contains(c))
            return c;
    return std::nullopt;
}

namespace TopicMessages {

QString forbiddenCharacter(QChar c)
{
    if (c.category() == QChar::Other_Control)
        return QStringLiteral("A Topic ID cannot contain the control character %1.").arg(c.unicode());
    return QStringLiteral("A Topic ID cannot contain the character '%1'.").arg(c);
}

QString noTopicId()
{
    return QStringLiteral("You must enter the Topic ID!");
}

QString invalidCallId()
{
    return QStringLiteral("The Application Call ID number is not valid!");
}

QString blankNotice()
{
    return QStringLiteral("Spaces found in the Topic ID\rwill be replaced with the \"_\" sign.");
}

QString callIdInUse(const QString& entered, const TopicRecord& by)
{
    return QStringLiteral("Application Call ID ") + entered.trimmed() + QStringLiteral(" is already in use by:\r\n")
           + by.TopicID.text() + QStringLiteral(" - ") + by.Title.text();
}

QString topicIdInUse(const QString& entered, const TopicRecord& by)
{
    return QStringLiteral("Topic ID ") + entered + QStringLiteral(" is already in use by:\r\n")
           + by.TopicID.text() + QStringLiteral(" - ") + by.Title.text();
}

} // namespace TopicMessages

TopicCheck checkTopicProperties(const Project& project, const TopicFields& fields, int own)
{
    TopicCheck result;
    result.TopicID = fields.TopicID;

    // An empty Topic ID is how the user cancels the command; only the
    // project's first topic must have one. Nothing else is checked, so that
    // cancelling is never blocked by the other fields.
    if (fields.TopicID.isEmpty()) {
        if (project.TopicCount() == 0)
            result.Refusal = TopicMessages::noTopicId();
        return result;
    }
    std::optional<int> callId;
    if (fields.AssignID) {
        callId = parseUserInteger(fields.CallId);
        if (!callId) {
            result.Refusal = TopicMessages::invalidCallId();
            return result;
        }
    }
    if (result.TopicID.contains(QLatin1Char(' '))) {
        result.BlankNotice = TopicMessages::blankNotice();
        result.TopicID.replace(QLatin1Char(' '), QLatin1Char('_'));
    }

    const QByteArray storedForm = cp1252::encode(upperTopicId(result.TopicID)).left(50);
    const bool unchanged = own >= 0 && own < project.TopicCount() && project.topic(own).TopicID.bytes() == storedForm;
    if (const auto c = forbiddenTopicIdCharacter(result.TopicID); c && !unchanged) {
        result.Refusal = TopicMessages::forbiddenCharacter(*c);
        return result;
    }
    for (int i = 0; i < project.TopicCount(); ++i) {
        if (i == own)
            continue;
        const TopicRecord& t = project.topic(i);
        if (t.HasCallId && callId && *callId == t.CallId) {
            result.Refusal = TopicMessages::callIdInUse(fields.CallId, t);
            return result;
        }
        if (t.TopicID.bytes() == storedForm) {
            result.Refusal = TopicMessages::topicIdInUse(result.TopicID, t);
            return result;
        }
    }
    return result;
}

} // namespace ts
