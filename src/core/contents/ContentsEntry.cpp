#include "ContentsEntry.h"

namespace ts {
namespace {

void collect(const std::vector<ContentsEntry>& entries, int level, std::vector<ContentsNode>& out)
{
    for (const ContentsEntry& e : entries) {
        out.push_back(ContentsNode{&e, level});
        collect(e.Children, level + 1, out);
    }
}

int count(const std::vector<ContentsEntry>& entries)
{
    int n = 0;
    for (const ContentsEntry& e : entries)
        n += 1 + count(e.Children);
    return n;
}

// Text from `from` (0-based) up to but not including `to`; empty when the
// range is reversed, as when an "@" stands before the "=".
QString between(const QString& text, qsizetype from, qsizetype to)
{
    return to > from ? text.mid(from, to - from) : QString();
}

} // namespace

std::vector<ContentsNode> contentsNodes(const ContentsTree& tree)
{
    std::vector<ContentsNode> out;
    out.reserve(size_t(count(tree)));
    collect(tree, 0, out);
    return out;
}

int contentsNodeCount(const ContentsTree& tree) { return count(tree); }

ContentsEntryParts splitContentsText(const QString& text)
{
    ContentsEntryParts parts;
    const qsizetype e = text.indexOf(QLatin1Char('='));
    if (e < 0) {
        parts.Title = text;
        return parts;
    }
    const qsizetype a = text.indexOf(QLatin1Char('@'));
    const qsizetype g = text.indexOf(QLatin1Char('>'));
    const qsizetype end = text.size();
    parts.Title = text.left(e);
    parts.Window = g >= 0 ? text.mid(g + 1) : QStringLiteral("main");
    if (a >= 0) {
        parts.TopicId = between(text, e + 1, a);
        parts.HelpFile = between(text, a + 1, g >= 0 ? g : end);
    } else {
        parts.TopicId = between(text, e + 1, g >= 0 ? g : end);
    }
    return parts;
}

QString composeContentsText(const ContentsEntryParts& parts, bool withWindow)
{
    QString text = parts.Title;
    if (!parts.TopicId.isEmpty())
        text += QLatin1Char('=') + parts.TopicId;
    if (!parts.HelpFile.isEmpty())
        text += QLatin1Char('@') + parts.HelpFile;
    if (withWindow && parts.Window != QLatin1String("main"))
        text += QLatin1Char('>') + parts.Window;
    return text;
}

} // namespace ts
