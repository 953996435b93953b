#include "HtmlSiteIndexes.h"

#include "HtmlSiteAssets.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace ts::publish {

int firstTopic(const HelpDocument& doc)
{
    if (doc.contentsTopic >= 0 && doc.contentsTopic < int(doc.topics.size()))
        return doc.contentsTopic;
    return doc.topics.empty() ? -1 : 0;
}

namespace {

QString siteTitle(const HelpDocument& doc)
{
    if (!doc.contents.title.trimmed().isEmpty())
        return doc.contents.title;
    if (!doc.title.trimmed().isEmpty())
        return doc.title;
    return doc.fileName.section(QLatin1Char('/'), -1);
}

QString topicText(const HelpDocument& doc, int topic)
{
    const HelpTopic& t = doc.topics[size_t(topic)];
    return t.title.trimmed().isEmpty() ? t.idOrHash() : t.title;
}

ContentsItem contentsEntryItem(const SitePlan& plan, const HelpContentsEntry& entry)
{
    const HelpDocument& doc = plan.document();
    ContentsItem item;
    item.level = std::max(1, entry.level);
    item.text = entry.text;
    if (entry.kind == HelpContentsEntry::Kind::Book) {
        item.heading = true;
        return item;
    }
    if (entry.kind == HelpContentsEntry::Kind::Macro) {
        const SiteLink link = plan.linkForMacro(entry.macro, -1);
        if (link.kind == SiteLink::Kind::Page || link.kind == SiteLink::Kind::External || link.kind == SiteLink::Kind::Popup)
            item.page = link.href;
        else if (link.kind == SiteLink::Kind::Keywords)
            item.page = QStringLiteral("keywords.html");
        else
            item.note = link.note.isEmpty() ? QStringLiteral("This entry does nothing in a web page") : link.note;
        return item;
    }
    const QString own = doc.fileName.section(QLatin1Char('/'), -1);
    const bool otherFile = !entry.file.isEmpty() && entry.file.section(QLatin1Char('\\'), -1).compare(own, Qt::CaseInsensitive) != 0;
    if (otherFile) {
        item.page = plan.otherFileHref(entry.file, entry.topicId);
        plan.log().tally(QStringLiteral("Contents entries that open %1 point to the site published beside this one")
                             .arg(entry.file));
        return item;
    }
    const int topic = entry.topic >= 0 ? entry.topic : doc.findTopic(entry.topicId);
    if (topic < 0) {
        item.note = QStringLiteral("No topic has the Topic ID %1").arg(entry.topicId);
        plan.log().warn(QStringLiteral("Contents: the entry \"%1\" opens %2: no topic has this Topic ID")
                            .arg(entry.text, entry.topicId));
        return item;
    }
    item.page = plan.hrefFor(HelpLocation{topic, doc.topics[size_t(topic)].topicOffset, true},
                             entry.window.isEmpty() ? -1 : doc.windowByName(entry.window));
    return item;
}

} // namespace

std::vector<ContentsItem> contentsItems(const SitePlan& plan)
{
    const HelpDocument& doc = plan.document();
    std::vector<ContentsItem> items;
    for (const HelpContentsEntry& entry : doc.contents.entries)
        if (entry.kind != HelpContentsEntry::Kind::Include)
            items.push_back(contentsEntryItem(plan, entry));
    if (items.empty()) {
        for (int t = 0; t < plan.topicCount(); ++t)
            items.push_back(ContentsItem{1, topicText(doc, t), plan.pageOf(t), false, QString()});
    }
    return items;
}

namespace {

// The contents as nested lists; a book is a <details> element, so it opens
// and closes with the keyboard without any script.
QString contentsTree(const std::vector<ContentsItem>& items)
{
    QString out = QStringLiteral("<ul>\n");
    std::vector<int> open; // levels of the books whose lists are open
    for (size_t i = 0; i < items.size(); ++i) {
        const ContentsItem& item = items[i];
        while (!open.empty() && open.back() >= item.level) {
            out += QLatin1String("</ul></details></li>\n");
            open.pop_back();
        }
        const QString text = htmlEscaped(item.text.isEmpty() ? QStringLiteral("(untitled)") : item.text);
        if (item.heading) {
            const bool hasChildren = i + 1 < items.size() && items[i + 1].level > item.level;
            if (hasChildren) {
                out += QStringLiteral("<li><details><summary>%1</summary><ul>\n").arg(text);
                open.push_back(item.level);
            } else {
                out += QStringLiteral("<li><span>%1</span></li>\n").arg(text);
            }
        } else if (item.page.isEmpty()) {
            out += QStringLiteral("<li><span class=\"broken\" title=\"%1\">%2</span></li>\n").arg(htmlEscaped(item.note), text);
        } else {
            out += QStringLiteral("<li><a href=\"%1\" target=\"topic\">%2</a></li>\n").arg(htmlEscaped(item.page), text);
        }
    }
    for (size_t k = 0; k < open.size(); ++k)
        out += QLatin1String("</ul></details></li>\n");
    return out + QLatin1String("</ul>\n");
}

} // namespace

QString contentsPage(const SitePlan& plan, const PageSettings& settings)
{
    const HelpDocument& doc = plan.document();
    const int first = firstTopic(doc);
    QString out = pageStart(siteTitle(doc), settings.language, QStringLiteral("class=\"contents-page\""));
    out += QLatin1String("<header class=\"top\">\n") + buttonBar(QString(), QString(), QStringLiteral("topic"))
           + QLatin1String("</header>\n");
    out += QStringLiteral("<div class=\"split\">\n<nav class=\"tree\" id=\"tree\" aria-label=\"Contents\">\n"
                          "<h2>Contents</h2>\n%1</nav>\n")
               .arg(contentsTree(contentsItems(plan)));
    if (first >= 0)
        out += QStringLiteral("<main><iframe id=\"topic\" name=\"topic\" title=\"Topic\" src=\"%1\"></iframe></main>\n")
                   .arg(htmlEscaped(plan.pageOf(first)));
    else
        out += QLatin1String("<main><p>This help file has no topics.</p></main>\n");
    return out + QLatin1String("</div>\n") + PageEnd;
}

QString keywordPage(const SitePlan& plan, const PageSettings& settings)
{
    const HelpDocument& doc = plan.document();
    QString out = pageStart(QStringLiteral("Index"), settings.language, QString());
    out += QLatin1String("<header class=\"top\">\n") + buttonBar() + QLatin1String("</header>\n");
    out += QLatin1String("<main class=\"list\">\n<h1>Index</h1>\n");
    const auto table = doc.keywordTables.find(QLatin1Char('K'));
    if (table == doc.keywordTables.end() || table->second.empty()) {
        out += QLatin1String("<p>This help file has no index entries.</p>\n");
        return out + QLatin1String("</main>\n") + PageEnd;
    }
    out += QLatin1String("<ul>\n");
    for (const HelpKeyword& keyword : table->second) {
        std::vector<std::pair<QString, QString>> targets; // href, title
        for (size_t k = 0; k < keyword.topics.size(); ++k) {
            const int t = keyword.topics[k];
            if (t < 0 || t >= plan.topicCount())
                continue;
            const std::uint32_t at = k < keyword.offsets.size() ? keyword.offsets[k] : doc.topics[size_t(t)].topicOffset;
            targets.emplace_back(plan.hrefFor(HelpLocation{t, at, at == doc.topics[size_t(t)].topicOffset}), topicText(doc, t));
        }
        const QString text = htmlEscaped(keyword.text);
        if (targets.empty()) {
            out += QStringLiteral("<li>%1</li>\n").arg(text);
        } else if (targets.size() == 1) {
            out += QStringLiteral("<li><a href=\"%1\">%2</a></li>\n").arg(htmlEscaped(targets.front().first), text);
        } else {
            out += QStringLiteral("<li>%1<ul>\n").arg(text);
            for (const auto& [href, title] : targets)
                out += QStringLiteral("<li><a href=\"%1\">%2</a></li>\n").arg(htmlEscaped(href), htmlEscaped(title));
            out += QLatin1String("</ul></li>\n");
        }
    }
    return out + QLatin1String("</ul>\n</main>\n") + PageEnd;
}

QString searchPage(const PageSettings& settings)
{
    QString out = pageStart(QStringLiteral("Search"), settings.language, QString());
    out += QLatin1String("<header class=\"top\">\n") + buttonBar() + QLatin1String("</header>\n");
    out += QLatin1String("<main class=\"list\">\n<h1>Search</h1>\n"
                         "<form role=\"search\" action=\"search.html\"><label for=\"q\">Find topics with the words</label> "
                         "<input type=\"search\" id=\"q\" name=\"q\"> <button type=\"submit\">Find</button></form>\n"
                         "<div id=\"results\" class=\"results\" aria-live=\"polite\"></div>\n"
                         "<noscript><p>Searching needs JavaScript turned on.</p></noscript>\n</main>\n");
    return out + PageEnd;
}

namespace {

// The words of a text as the search finds them: lower case, split at every
// character that is no letter or digit.
void addWords(const QString& text, QSet<QString>& words)
{
    const QString lower = text.toLower();
    qsizetype start = -1;
    for (qsizetype i = 0; i <= lower.size(); ++i) {
        const bool letter = i < lower.size() && lower.at(i).isLetterOrNumber();
        if (letter && start < 0)
            start = i;
        if (!letter && start >= 0) {
            if (i - start <= 40)
                words.insert(lower.mid(start, i - start));
            start = -1;
        }
    }
}

void addRegionWords(const std::vector<HelpParagraph>& paragraphs, QSet<QString>& words)
{
    for (const HelpParagraph& p : paragraphs)
        for (const HelpRun& run : p.runs)
            if (run.kind == HelpRun::Kind::Text)
                addWords(run.text, words);
}

// Topic numbers rising, the first as it is and the rest as differences,
// in base 36: "a 3 1z".
QString numberList(const std::vector<int>& topics)
{
    QString out;
    int previous = 0;
    for (const int t : topics) {
        if (!out.isEmpty())
            out += QLatin1Char(' ');
        out += QString::number(t - previous, 36);
        previous = t;
    }
    return out;
}

QString keywordTableScript(const HelpDocument& doc, QChar letter)
{
    const auto table = doc.keywordTables.find(letter);
    QString out = QStringLiteral("\"%1\":[").arg(letter);
    if (table != doc.keywordTables.end()) {
        bool first = true;
        for (const HelpKeyword& keyword : table->second) {
            out += (first ? QString() : QStringLiteral(",")) + QLatin1Char('[') + jsonString(keyword.text) + QLatin1String(",[");
            QStringList topics;
            for (const int t : keyword.topics)
                if (t >= 0 && t < int(doc.topics.size()))
                    topics << QString::number(t);
            out += topics.join(QLatin1Char(',')) + QLatin1String("]]");
            first = false;
        }
    }
    return out + QLatin1Char(']');
}

} // namespace

QString searchIndexScript(const SitePlan& plan)
{
    const HelpDocument& doc = plan.document();
    QHash<QString, std::vector<int>> topicsByWord;
    QStringList pages, titles;
    for (int t = 0; t < plan.topicCount(); ++t) {
        QSet<QString> words;
        addWords(doc.topics[size_t(t)].title, words);
        const HelpTopicContent& content = doc.content(t);
        addRegionWords(content.nonScrolling, words);
        addRegionWords(content.scrolling, words);
        for (const QString& word : words)
            topicsByWord[word].push_back(t);
        pages << jsonString(plan.pageOf(t));
        titles << jsonString(topicText(doc, t));
    }
    QStringList words = topicsByWord.keys();
    std::sort(words.begin(), words.end());
    QStringList wordLiterals, lists;
    wordLiterals.reserve(words.size());
    lists.reserve(words.size());
    for (const QString& word : words) {
        wordLiterals << jsonString(word);
        lists << QLatin1Char('"') + numberList(topicsByWord.value(word)) + QLatin1Char('"');
    }
    return QStringLiteral("window.TS_SITE={\"p\":[%1],\n\"t\":[%2],\n\"w\":[%3],\n\"i\":[%4],\n\"k\":{%5,%6}};\n")
        .arg(pages.join(QLatin1Char(',')), titles.join(QLatin1Char(',')), wordLiterals.join(QLatin1Char(',')),
             lists.join(QLatin1Char(',')), keywordTableScript(doc, QLatin1Char('K')), keywordTableScript(doc, QLatin1Char('A')));
}

QString mapJson(const SitePlan& plan)
{
    const HelpDocument& doc = plan.document();
    QStringList lines, unknown;
    QSet<int> seen;
    for (const HelpMapEntry& entry : doc.mapEntries) {
        const QString href = plan.hrefFor(entry.location);
        if (href.isEmpty()) {
            unknown << QString::number(entry.number);
            continue;
        }
        if (seen.contains(entry.number)) {
            plan.log().warn(QStringLiteral("[MAP] number %1 is given twice; map.json keeps the first").arg(entry.number));
            continue;
        }
        seen.insert(entry.number);
        lines << QStringLiteral("  %1: %2").arg(jsonString(QString::number(entry.number)), jsonString(href));
    }
    // A file can map thousands of numbers to places it does not hold; the
    // log names the first few.
    if (unknown.size() == 1)
        plan.log().warn(QStringLiteral("[MAP] number %1 names no topic; map.json leaves it out").arg(unknown.front()));
    else if (unknown.size() > 1)
        plan.log().warn(QStringLiteral("%1 [MAP] numbers name no topic; map.json leaves them out: %2%3")
                            .arg(unknown.size())
                            .arg(QStringList(unknown.mid(0, 20)).join(QStringLiteral(", ")),
                                 unknown.size() > 20 ? QStringLiteral(", ...") : QString()));
    return lines.isEmpty() ? QStringLiteral("{}\n") : QStringLiteral("{\n%1\n}\n").arg(lines.join(QStringLiteral(",\n")));
}

} // namespace ts::publish
