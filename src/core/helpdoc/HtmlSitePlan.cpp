#include "HtmlSitePlan.h"

#include "model/CountText.h"

#include <QFileInfo>

#include <algorithm>
#include <tuple>

namespace ts::publish {

// ------------------------------------------------------------------ the log

void PublishLog::warn(const QString& line, int topic)
{
    std::lock_guard lock(mutex_);
    if (known_.insert(line).second)
        lines_.emplace(std::pair{topic, line}, qsizetype(lines_.size()));
}

void PublishLog::tally(const QString& key)
{
    std::lock_guard lock(mutex_);
    ++tallies_[key];
}

QStringList PublishLog::lines() const
{
    std::lock_guard lock(mutex_);
    // By topic; within a topic (and for the file as a whole) as they came.
    std::vector<std::tuple<int, qsizetype, QString>> ordered;
    for (const auto& [key, order] : lines_)
        ordered.emplace_back(key.first, order, key.second);
    std::sort(ordered.begin(), ordered.end());
    QStringList out;
    for (const auto& line : ordered)
        out << std::get<2>(line);
    for (const auto& [key, count] : tallies_)
        out << QStringLiteral("%1 (%2)").arg(key, countText(count, QStringLiteral("time"), QStringLiteral("times")));
    return out;
}

int PublishLog::warnings() const
{
    std::lock_guard lock(mutex_);
    return int(lines_.size() + qsizetype(tallies_.size()));
}

// ----------------------------------------------------------------- the plan

namespace {

QString fileNameOnly(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(p).fileName();
}

bool isWebAddress(const QString& text)
{
    const QString t = text.trimmed().toLower();
    return t.startsWith(QLatin1String("http://")) || t.startsWith(QLatin1String("https://"))
           || t.startsWith(QLatin1String("mailto:"));
}

} // namespace

SitePlan::SitePlan(const HelpDocument& doc, PublishLog& log)
    : doc_(doc), log_(log), ownFileName_(fileNameOnly(doc.fileName))
{
    pages_.reserve(doc.topics.size());
    for (size_t i = 0; i < doc.topics.size(); ++i) {
        const QString id = doc.topics[i].idOrHash();
        pages_.push_back(names_.take(id.isEmpty() ? QStringLiteral("topic-%1").arg(i + 1) : id));
    }
    planWindowPages();
    planAnchors();
}

int SitePlan::windowIndex(const QString& name) const
{
    return name.isEmpty() ? -1 : doc_.windowByName(name);
}

int SitePlan::windowOf(int topic) const
{
    const int own = topic >= 0 && topic < int(doc_.topics.size()) ? doc_.topics[size_t(topic)].window : -1;
    if (own >= 0 && own < int(doc_.windows.size()))
        return own;
    return doc_.windowByName(QStringLiteral("main"));
}

void SitePlan::planWindowPages()
{
    auto want = [this](int topic, int window) {
        if (topic < 0 || window < 0 || window == windowOf(topic) || windowPages_.count({topic, window}))
            return;
        const QString stem = doc_.topics[size_t(topic)].idOrHash() + QLatin1Char('.') + doc_.windows[size_t(window)].name;
        windowPages_[{topic, window}] = names_.take(stem);
    };
    for (int t = 0; t < topicCount(); ++t) {
        for (const HelpHotspot& h : doc_.content(t).hotspots) {
            if (h.kind == HelpHotspot::Kind::Jump && !h.window.isEmpty() && h.file.isEmpty())
                want(h.targetTopic, windowIndex(h.window));
            if (h.kind != HelpHotspot::Kind::Macro)
                continue;
            for (const MacroCall& call : parseMacroCalls(h.macro)) {
                if (macroKind(call.name) != MacroKind::JumpId || call.arguments.size() < 2)
                    continue;
                const QString target = call.arguments.at(0);
                const qsizetype gt = target.indexOf(QLatin1Char('>'));
                const QString file = target.left(gt < 0 ? target.size() : gt);
                if (gt >= 0 && (file.isEmpty() || fileNameOnly(file).compare(ownFileName_, Qt::CaseInsensitive) == 0))
                    want(doc_.findTopic(call.arguments.at(1)), windowIndex(target.mid(gt + 1)));
            }
        }
    }
    for (const HelpContentsEntry& entry : doc_.contents.entries)
        if (entry.kind == HelpContentsEntry::Kind::Topic && !entry.window.isEmpty())
            want(entry.topic, windowIndex(entry.window));
}

void SitePlan::planAnchors()
{
    for (const HelpMapEntry& entry : doc_.mapEntries)
        if (entry.location.isValid() && !entry.location.atTopicStart)
            anchors_.insert({entry.location.topic, entry.location.topicOffset});
    const auto keywords = doc_.keywordTables.find(QLatin1Char('K'));
    if (keywords != doc_.keywordTables.end()) {
        for (const HelpKeyword& keyword : keywords->second)
            for (size_t k = 0; k < keyword.topics.size() && k < keyword.offsets.size(); ++k)
                if (keyword.topics[k] >= 0 && keyword.topics[k] < topicCount()
                    && keyword.offsets[k] != doc_.topics[size_t(keyword.topics[k])].topicOffset)
                    anchors_.insert({keyword.topics[k], keyword.offsets[k]});
    }
    for (int t = 0; t < topicCount(); ++t) {
        for (const HelpHotspot& h : doc_.content(t).hotspots) {
            if (h.kind == HelpHotspot::Kind::Macro || !h.file.isEmpty())
                continue;
            const HelpLocation at = doc_.locate(h.targetHash);
            if (at.isValid() && !at.atTopicStart)
                anchors_.insert({at.topic, at.topicOffset});
        }
    }
}

QString SitePlan::hrefFor(const HelpLocation& location, int window) const
{
    if (!location.isValid() || location.topic >= topicCount())
        return QString();
    QString page = pageOf(location.topic);
    const auto variant = windowPages_.find({location.topic, window});
    if (variant != windowPages_.end())
        page = variant->second;
    if (!location.atTopicStart && isAnchor(location.topic, location.topicOffset))
        page += QLatin1Char('#') + anchorName(location.topicOffset);
    return page;
}

QString SitePlan::otherFileHref(const QString& file, const QString& topicId) const
{
    QString path = file;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString site = PageNames::stemFor(QFileInfo(path).completeBaseName());
    return QStringLiteral("../%1/%2.html").arg(site, PageNames::stemFor(topicId));
}

QString SitePlan::topicLabel(int topic) const
{
    if (topic < 0 || topic >= topicCount())
        return QStringLiteral("the contents");
    const HelpTopic& t = doc_.topics[size_t(topic)];
    const QString id = t.idOrHash();
    if (t.title.trimmed().isEmpty())
        return id.isEmpty() ? QStringLiteral("Topic %1").arg(topic + 1) : QStringLiteral("Topic %1 (%2)").arg(topic + 1).arg(id);
    return id.isEmpty() ? QStringLiteral("Topic '%1'").arg(t.title) : QStringLiteral("Topic '%1' (%2)").arg(t.title, id);
}

SiteLink SitePlan::linkToLocation(const HelpLocation& at, int window, bool popup) const
{
    SiteLink link;
    if (!at.isValid())
        return link;
    link.kind = popup ? SiteLink::Kind::Popup : SiteLink::Kind::Page;
    link.topic = at.topic;
    link.href = hrefFor(at, popup ? -1 : window);
    return link;
}

SiteLink SitePlan::linkFor(const HelpHotspot& hotspot, int fromTopic) const
{
    if (hotspot.kind == HelpHotspot::Kind::Macro)
        return linkForMacro(hotspot.macro, fromTopic);
    const bool popup = hotspot.kind == HelpHotspot::Kind::Popup;
    const bool otherFile = !hotspot.file.isEmpty() && fileNameOnly(hotspot.file).compare(ownFileName_, Qt::CaseInsensitive) != 0;
    QString id = hotspot.targetId;
    if (id.isEmpty())
        id = doc_.idForHash(hotspot.targetHash);
    if (otherFile) {
        if (id.isEmpty())
            id = HelpDocument::hashText(hotspot.targetHash);
        log_.tally(QStringLiteral("Links into %1 point to the site published beside this one as %2")
                       .arg(fileNameOnly(hotspot.file), otherFileHref(hotspot.file, QString()).section(QLatin1Char('/'), 0, 1)
                                                            + QLatin1Char('/')));
        SiteLink link;
        link.kind = SiteLink::Kind::External;
        link.href = otherFileHref(hotspot.file, id);
        return link;
    }
    HelpLocation at = doc_.locate(hotspot.targetHash);
    if (hotspot.targetTopic >= 0 && (!at.isValid() || at.topic != hotspot.targetTopic))
        at = HelpLocation{hotspot.targetTopic, doc_.topics[size_t(hotspot.targetTopic)].topicOffset, true};
    SiteLink link = linkToLocation(at, windowIndex(hotspot.window), popup);
    if (link.kind == SiteLink::Kind::Broken) {
        link.note = QStringLiteral("No topic has the Topic ID %1").arg(doc_.targetText(hotspot));
        log_.warn(QStringLiteral("%1: the %2 to %3 leads nowhere: no topic has that Topic ID; shown as plain text")
                      .arg(topicLabel(fromTopic), popup ? QStringLiteral("pop-up") : QStringLiteral("jump"),
                           doc_.targetText(hotspot)),
                  fromTopic);
    }
    return link;
}

SiteLink SitePlan::linkToId(const QString& fileAndWindow, const QString& id, bool popup, int fromTopic) const
{
    const qsizetype gt = fileAndWindow.indexOf(QLatin1Char('>'));
    const QString file = fileAndWindow.left(gt < 0 ? fileAndWindow.size() : gt).trimmed();
    const QString window = gt < 0 ? QString() : fileAndWindow.mid(gt + 1).trimmed();
    if (!file.isEmpty() && fileNameOnly(file).compare(ownFileName_, Qt::CaseInsensitive) != 0) {
        SiteLink link;
        link.kind = SiteLink::Kind::External;
        link.href = otherFileHref(file, id);
        log_.tally(QStringLiteral("Links into %1 point to the site published beside this one").arg(fileNameOnly(file)));
        return link;
    }
    const int topic = doc_.findTopic(id);
    if (topic < 0) {
        SiteLink link;
        link.note = QStringLiteral("No topic has the Topic ID %1").arg(id);
        log_.warn(QStringLiteral("%1: the macro's %2 to %3 leads nowhere: no topic has that Topic ID")
                      .arg(topicLabel(fromTopic), popup ? QStringLiteral("pop-up") : QStringLiteral("jump"), id),
                  fromTopic);
        return link;
    }
    return linkToLocation(HelpLocation{topic, doc_.topics[size_t(topic)].topicOffset, true}, windowIndex(window), popup);
}

SiteLink SitePlan::linkForMacro(const QString& macro, int fromTopic) const
{
    QStringList inert;
    for (const MacroCall& call : parseMacroCalls(macro)) {
        const QString a0 = call.arguments.value(0), a1 = call.arguments.value(1);
        SiteLink link;
        switch (macroKind(call.name)) {
        case MacroKind::JumpId: return linkToId(a0, a1, false, fromTopic);
        case MacroKind::PopupId: return linkToId(a0, a1, true, fromTopic);
        case MacroKind::JumpContents:
            return linkToLocation(HelpLocation{doc_.contentsTopic, 0, true}, -1, false);
        case MacroKind::JumpContext:
        case MacroKind::PopupContext:
            link = linkToLocation(doc_.locateMapNumber(a1.toInt(nullptr, 0)), -1,
                                  macroKind(call.name) == MacroKind::PopupContext);
            if (link.kind == SiteLink::Kind::Broken)
                log_.warn(QStringLiteral("%1: the macro %2 names a [MAP] number no topic has")
                              .arg(topicLabel(fromTopic), call.name),
                          fromTopic);
            return link;
        case MacroKind::KLink:
        case MacroKind::ALink:
            link.kind = SiteLink::Kind::Keywords;
            link.keywords = a0;
            link.table = macroKind(call.name) == MacroKind::KLink ? QLatin1Char('K') : QLatin1Char('A');
            return link;
        case MacroKind::Contents: link.kind = SiteLink::Kind::Page; link.href = QStringLiteral("index.html"); return link;
        case MacroKind::Index: link.kind = SiteLink::Kind::Page; link.href = QStringLiteral("keywords.html"); return link;
        case MacroKind::Back: link.kind = SiteLink::Kind::Back; return link;
        case MacroKind::Previous:
        case MacroKind::Next: {
            const HelpTopic* from = fromTopic >= 0 && fromTopic < topicCount() ? &doc_.topics[size_t(fromTopic)] : nullptr;
            const int to = from ? (macroKind(call.name) == MacroKind::Next ? from->browseNext : from->browsePrevious) : -1;
            if (to >= 0 && to < topicCount())
                return linkToLocation(HelpLocation{to, 0, true}, -1, false);
            inert << call.name;
            break;
        }
        case MacroKind::ExecFile:
            if (isWebAddress(a0)) {
                link.kind = SiteLink::Kind::External;
                link.href = a0.trimmed();
                return link;
            }
            inert << call.name;
            break;
        case MacroKind::Ignorable: break;
        case MacroKind::Other: inert << call.name; break;
        }
    }
    SiteLink link;
    link.kind = SiteLink::Kind::Inert;
    if (inert.isEmpty()) {
        link.note = QStringLiteral("This does nothing in a web page");
    } else {
        link.note = QStringLiteral("In WinHelp this runs %1; a web page cannot").arg(inert.join(QStringLiteral(", ")));
        for (const QString& name : inert)
            log_.tally(QStringLiteral("The macro %1 does not run in a web page; its hotspots and buttons are inert").arg(name));
    }
    return link;
}

} // namespace ts::publish
