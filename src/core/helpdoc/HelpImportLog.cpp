#include "HelpImportLog.h"

#include "model/Windows1252.h"

namespace ts::helpimport {
namespace {

// A tally names this many topics; the rest are counted.
constexpr size_t NamedTopics = 8;

} // namespace

QString ImportLog::topicName(int topic) const
{
    if (topic >= 0 && topic < int(topicNames_.size()) && !topicNames_[size_t(topic)].isEmpty())
        return topicNames_[size_t(topic)];
    return QString::number(topic + 1);
}

void ImportLog::topicNote(int topic, const QString& what)
{
    notes_.emplace_back(topic, what);
}

void ImportLog::tally(const QString& what, int topic, int count)
{
    auto [at, added] = tallyIndex_.emplace(what, tallies_.size());
    if (added)
        tallies_.push_back(Tally{what, 0, {}});
    Tally& t = tallies_[at->second];
    t.count += count;
    if (topic >= 0 && (t.topics.empty() || t.topics.back() != topic))
        t.topics.push_back(topic);
}

bool ImportLog::mentions(const QString& text) const
{
    const QStringList all = lines();
    for (const QString& line : all)
        if (line.contains(text))
            return true;
    return false;
}

QStringList ImportLog::lines() const
{
    QStringList out;
    for (const QString& problem : problems_)
        out << QStringLiteral("Not readable: ") + problem;
    for (const auto& [topic, text] : notes_)
        out << (topic < 0 ? text : QStringLiteral("Topic %1: %2").arg(topicName(topic), text));
    for (const Tally& t : tallies_) {
        QString line = QStringLiteral("%1: %2").arg(t.what).arg(t.count);
        if (!t.topics.empty()) {
            QStringList names;
            for (size_t i = 0; i < t.topics.size() && i < NamedTopics; ++i)
                names << topicName(t.topics[i]);
            if (t.topics.size() > NamedTopics)
                names << QStringLiteral("%1 more").arg(t.topics.size() - NamedTopics);
            line += QStringLiteral(" in %1 %2 (%3)")
                        .arg(t.topics.size())
                        .arg(t.topics.size() == 1 ? QStringLiteral("topic") : QStringLiteral("topics"),
                             names.join(QStringLiteral(", ")));
        }
        out << line;
    }
    if (!summary_.isEmpty())
        out << summary_;
    return out;
}

QByteArray ImportLog::bytes() const
{
    QByteArray out;
    for (const QString& line : lines())
        out += cp1252::encode(line) + "\r\n";
    return out;
}

} // namespace ts::helpimport
