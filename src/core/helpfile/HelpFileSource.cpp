#include "HelpFileSource.h"

#include "HelpCodePage.h"
#include "PictureReader.h"

namespace ts::helpfile::reading {

namespace {

// |bm<n> (3.1 and later) or bm<n> (3.0): the picture number, else -1.
int pictureNumber(const QByteArray& name)
{
    const QByteArray digits = name.startsWith("|bm") ? name.mid(3) : name.startsWith("bm") ? name.mid(2) : QByteArray();
    bool ok = false;
    const int number = digits.isEmpty() ? -1 : digits.toInt(&ok);
    return ok && number >= 0 ? number : -1;
}

} // namespace

void HelpFileSource::finish(HelpDocument& doc)
{
    context.stream = &stream;
    context.phrases = &phrases;
    const int codePage = context.codePage;
    context.decodePicture = [codePage](const QByteArray& data) { return decodePicture(data, codePage); };
    for (const QByteArray& name : container.names()) {
        const int number = pictureNumber(name);
        if (number >= 0)
            pictureFiles.emplace(number, name);
        else if (!name.startsWith('|'))
            doc.baggageFiles.append(decodeText(name, codePage));
    }
}

HelpTopicContent HelpFileSource::topicContent(int index) const
{
    if (index < 0 || index >= int(topics.size()))
        return HelpTopicContent();
    const TopicRecords& t = topics[size_t(index)];
    return decodeTopic(context, index, t.first, t.end, t.scrollPos, t.nonScrollPos != -1, fileName);
}

HelpPicture HelpFileSource::picture(int number) const
{
    const auto it = pictureFiles.find(number);
    if (it == pictureFiles.end()) {
        HelpPicture missing;
        missing.problem = QStringLiteral("%1: the help file holds no picture %2").arg(fileName).arg(number);
        return missing;
    }
    HelpPicture picture = decodePicture(container.data(it->second), context.codePage);
    for (HelpPictureHotspot& spot : picture.hotspots) {
        HelpHotspot& h = spot.hotspot;
        if (h.kind == HelpHotspot::Kind::Macro || !h.file.isEmpty())
            continue;
        const auto target = context.targets.find(h.targetHash);
        h.targetTopic = target == context.targets.end() ? -1 : target->second.topic;
        if (!h.window.isEmpty())
            for (size_t w = 0; w < context.windowNames.size(); ++w)
                if (context.windowNames[w].compare(h.window, Qt::CaseInsensitive) == 0)
                    h.windowNumber = int(w);
    }
    if (!picture.problem.isEmpty())
        picture.problem = QStringLiteral("%1: %2: %3").arg(fileName, QString::fromLatin1(it->second), picture.problem);
    return picture;
}

QList<int> HelpFileSource::pictureNumbers() const
{
    QList<int> numbers;
    for (const auto& [number, name] : pictureFiles)
        numbers.append(number);
    return numbers;
}

QByteArray HelpFileSource::baggage(const QString& name) const
{
    const QByteArray key = encodeText(name, context.codePage);
    if (key.startsWith('|'))
        return QByteArray();
    for (const QByteArray& present : container.names())
        if (!present.startsWith('|') && QString::fromLatin1(present).compare(QString::fromLatin1(key), Qt::CaseInsensitive) == 0)
            return container.data(present);
    return QByteArray();
}

} // namespace ts::helpfile::reading
