#include "LinkMaintenance.h"

#include "contents/ContentsFile.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "search/TopicSearch.h"

#include <QStringList>

#include <optional>
#include <utility>

namespace ts {
namespace {

// The format of the character at `offset` of the paragraph.
const CharFormat& formatAt(const Paragraph& paragraph, qsizetype offset)
{
    qsizetype pos = 0;
    for (const Run& r : paragraph.Runs) {
        if (offset < pos + r.Text.size())
            return r.Format;
        pos += r.Text.size();
    }
    return paragraph.Runs.back().Format;
}

// Replaces the characters [from, from + count) of the paragraph, which may
// span several runs, with one run of `text` in `format`. Neighbouring runs
// of the same format are joined.
void replaceRange(Paragraph& paragraph, qsizetype from, qsizetype count, const QString& text,
                  const CharFormat& format)
{
    const qsizetype to = from + count;
    std::vector<Run> pieces;
    pieces.reserve(paragraph.Runs.size() + 2);
    qsizetype pos = 0;
    for (const Run& r : paragraph.Runs) {
        const qsizetype keep = qBound<qsizetype>(0, from - pos, r.Text.size());
        if (keep > 0)
            pieces.push_back(Run{r.Text.left(keep), r.Format});
        pos += r.Text.size();
    }
    pieces.push_back(Run{text, format});
    pos = 0;
    for (const Run& r : paragraph.Runs) {
        const qsizetype skip = qBound<qsizetype>(0, to - pos, r.Text.size());
        if (skip < r.Text.size())
            pieces.push_back(Run{r.Text.mid(skip), r.Format});
        pos += r.Text.size();
    }

    std::vector<Run> runs;
    runs.reserve(pieces.size());
    for (Run& piece : pieces) {
        if (piece.Text.isEmpty())
            continue;
        if (!runs.empty() && runs.back().Format == piece.Format)
            runs.back().Text += piece.Text;
        else
            runs.push_back(std::move(piece));
    }
    if (runs.empty())
        runs.push_back(Run{QString(), format});
    paragraph.Runs = std::move(runs);
}

// A name found in link markup: where it stands in the paragraph.
struct NameSpan {
    qsizetype From = 0;
    qsizetype To = 0; // one past its last character
    QString text(const QString& paragraph) const { return paragraph.mid(From, To - From); }
};

// One link of a paragraph, read from behind its "-->".
struct LinkParts {
    NameSpan Id;
    std::optional<NameSpan> Window;
    bool OtherFile = false; // "-->ID@FILE": a topic of another help file
    qsizetype End = 0;      // where the search for the next link goes on
};

bool isBlank(QChar c) { return c.isSpace(); }

// The link whose target starts at `from` (behind "-->"); `hot[i]` tells
// whether character i carries underline or strike-out.
LinkParts readLink(const QString& text, const std::vector<bool>& hot, qsizetype from)
{
    const qsizetype n = text.size();
    const auto inName = [&](qsizetype i, bool idPart) {
        if (i >= n || !hot[size_t(i)] || isBlank(text.at(i)) || text.at(i) == QLatin1Char('@'))
            return false;
        return !(idPart && text.at(i) == QLatin1Char('>'));
    };
    LinkParts link;
    qsizetype i = from;
    while (inName(i, true))
        ++i;
    link.Id = NameSpan{from, i};
    if (i < n && hot[size_t(i)] && text.at(i) == QLatin1Char('>')) {
        const qsizetype start = ++i;
        while (inName(i, false))
            ++i;
        link.Window = NameSpan{start, i};
    }
    if (i < n && hot[size_t(i)] && text.at(i) == QLatin1Char('@')) {
        link.OtherFile = true;
        while (i < n && hot[size_t(i)] && !isBlank(text.at(i)))
            ++i;
    }
    link.End = i;
    return link;
}

bool sameTopicId(const QString& a, const QString& b) { return searchUpper(a) == searchUpper(b); }

// The span of `link` that the rename rewrites, if any.
std::optional<NameSpan> spanToRename(const QString& text, const LinkParts& link, const LinkRename& rename)
{
    if (link.OtherFile)
        return std::nullopt;
    if (rename.What == LinkRename::Part::TopicId)
        return sameTopicId(link.Id.text(text), rename.Old) ? std::optional(link.Id) : std::nullopt;
    if (!link.Window || link.Window->text(text) != rename.Old)
        return std::nullopt;
    if (!rename.OfTopic.isEmpty() && !sameTopicId(link.Id.text(text), rename.OfTopic))
        return std::nullopt;
    return link.Window;
}

// The names in the paragraph's link markup that the rename rewrites, from
// left to right.
std::vector<NameSpan> spansToRename(const Paragraph& paragraph, const LinkRename& rename)
{
    const QString text = paragraph.text();
    if (!text.contains(QLatin1String("-->")))
        return {};
    std::vector<bool> hot;
    hot.reserve(size_t(text.size()));
    for (const Run& r : paragraph.Runs)
        hot.insert(hot.end(), size_t(r.Text.size()), r.Format.Underline || r.Format.Strike);

    std::vector<NameSpan> spans;
    qsizetype from = 0;
    for (;;) {
        const qsizetype arrow = text.indexOf(QLatin1String("-->"), from);
        if (arrow < 0)
            break;
        const qsizetype target = arrow + 3;
        from = target;
        if (target >= text.size() || !hot[size_t(target)])
            continue; // not a link: the characters behind the arrow are no hotspot
        if (text.at(target) == QLatin1Char('!')) {
            // A macro: its arguments may hold anything, arrows too.
            while (from < text.size() && hot[size_t(from)])
                ++from;
            continue;
        }
        const LinkParts link = readLink(text, hot, target);
        if (const auto span = spanToRename(text, link, rename))
            spans.push_back(*span);
        from = qMax(link.End, target);
    }
    return spans;
}

int renameInParagraph(Paragraph& paragraph, const LinkRename& rename)
{
    const std::vector<NameSpan> spans = spansToRename(paragraph, rename);
    // From the right, so that the earlier spans keep their offsets.
    for (auto it = spans.rbegin(); it != spans.rend(); ++it)
        replaceRange(paragraph, it->From, it->To - it->From, rename.New, formatAt(paragraph, it->From));
    return int(spans.size());
}

bool renameInEntries(std::vector<ContentsEntry>& entries, const LinkRename& rename)
{
    bool changed = false;
    for (ContentsEntry& e : entries) {
        QString text = renameInContentsEntry(e.Text, rename);
        if (text != e.Text) {
            e.Text = std::move(text);
            changed = true;
        }
        changed = renameInEntries(e.Children, rename) || changed;
    }
    return changed;
}

// Rewrites one stored block; an empty block holds no text to search.
void updateBlock(QByteArray& block, const LinkRename& rename)
{
    if (block.isEmpty())
        return;
    RichDocument document = RtfReader::read(block);
    if (renameInLinks(document, rename) > 0)
        block = RtfWriter::write(document);
}

// How many links of the stored block open the topic.
int linksIn(const QByteArray& block, const LinkRename& toTopic)
{
    if (block.isEmpty())
        return 0;
    int count = 0;
    for (const Paragraph& paragraph : RtfReader::read(block).Paragraphs)
        count += int(spansToRename(paragraph, toTopic).size());
    return count;
}

int entriesNaming(const std::vector<ContentsEntry>& entries, const QString& topicId)
{
    int count = 0;
    for (const ContentsEntry& e : entries) {
        if (e.Kind == ContentsKind::Topic && splitContentsText(e.Text).HelpFile.isEmpty()
            && sameTopicId(splitContentsText(e.Text).TopicId.trimmed(), topicId))
            ++count;
        count += entriesNaming(e.Children, topicId);
    }
    return count;
}

} // namespace

LinksToTopic countLinksTo(const Project& project, int topicIndex)
{
    LinksToTopic found;
    const QString topicId = project.topic(topicIndex).TopicID.text();
    const LinkRename toTopic = topicIdRename(topicId, topicId);
    for (int i = 0; i < project.TopicCount(); ++i) {
        if (i == topicIndex)
            continue; // its own links go with it
        const TopicRecord& topic = project.topic(i);
        const int links = linksIn(topic.HeaderRtf, toTopic) + linksIn(topic.BodyRtf, toTopic);
        found.Links += links;
        found.Topics += links > 0 ? 1 : 0;
    }
    try {
        if (ContentsFile::existsFor(project))
            found.ContentsEntries = entriesNaming(ContentsFile::readFor(project).Tree, topicId);
    } catch (const IoError&) {
        // An unreadable contents file names nothing; the compile says so.
    }
    return found;
}

QString LinksToTopic::deleteQuestion(const QString& topicId) const
{
    QStringList parts;
    if (Links > 0)
        parts << (Links == 1 ? QStringLiteral("1 link") : QStringLiteral("%1 links").arg(Links))
                     + (Topics == 1 ? QStringLiteral(" in 1 topic") : QStringLiteral(" in %1 topics").arg(Topics));
    if (ContentsEntries > 0)
        parts << (ContentsEntries == 1 ? QStringLiteral("1 contents entry")
                                       : QStringLiteral("%1 contents entries").arg(ContentsEntries));
    if (parts.isEmpty())
        return QString();
    const bool one = Links + ContentsEntries == 1;
    return QStringLiteral("%1 %2 %3. Delete it anyway?").arg(parts.join(QStringLiteral(" and ")),
                                                           one ? QStringLiteral("opens") : QStringLiteral("open"),
                                                           topicId);
}

LinkRename topicIdRename(const QString& oldId, const QString& newId)
{
    return LinkRename{LinkRename::Part::TopicId, oldId, newId, QString()};
}

LinkRename windowRename(const QString& oldWindow, const QString& newWindow)
{
    return LinkRename{LinkRename::Part::Window, oldWindow, newWindow, QString()};
}

LinkRename topicWindowMove(const QString& topicId, const QString& oldWindow, const QString& newWindow)
{
    return LinkRename{LinkRename::Part::Window, oldWindow, newWindow, topicId};
}

int renameInLinks(RichDocument& document, const LinkRename& rename)
{
    if (rename.Old.isEmpty())
        return 0;
    int count = 0;
    for (Paragraph& paragraph : document.Paragraphs)
        count += renameInParagraph(paragraph, rename);
    return count;
}

QString renameInContentsEntry(const QString& text, const LinkRename& rename)
{
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0 || rename.Old.isEmpty())
        return text; // a heading
    const qsizetype idFrom = equals + 1;
    qsizetype idTo = idFrom;
    while (idTo < text.size() && text.at(idTo) != QLatin1Char('@') && text.at(idTo) != QLatin1Char('>'))
        ++idTo;
    if (idTo < text.size() && text.at(idTo) == QLatin1Char('@'))
        return text; // a topic of another help file
    const QString id = text.mid(idFrom, idTo - idFrom);
    if (rename.What == LinkRename::Part::TopicId)
        return id == rename.Old ? text.left(idFrom) + rename.New + text.mid(idTo) : text;
    if (idTo >= text.size() || text.mid(idTo + 1) != rename.Old)
        return text;
    if (!rename.OfTopic.isEmpty() && id != rename.OfTopic)
        return text;
    return text.left(idTo + 1) + rename.New;
}

void updateLinks(Project& project, const LinkRename& rename, const ProgressStep& progress)
{
    const int count = project.TopicCount();
    for (int i = 0; i < count; ++i) {
        TopicRecord& topic = project.topic(i);
        updateBlock(topic.HeaderRtf, rename);
        updateBlock(topic.BodyRtf, rename);
        if (progress)
            progress(2048 / count);
    }
    if (rename.Old.isEmpty())
        return;
    if (!ContentsFile::existsFor(project))
        return;
    ContentsTree tree = ContentsFile::loadFor(project);
    if (renameInEntries(tree, rename))
        project.PendingContents = ContentsFile::serialize(tree);
}

} // namespace ts
