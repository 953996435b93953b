#include "LinkMaintenance.h"

#include "contents/ContentsFile.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "search/TopicSearch.h"

#include <QFile>

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

void replaceInEntries(std::vector<ContentsEntry>& entries, const QString& oldText, const QString& newText)
{
    for (ContentsEntry& e : entries) {
        const qsizetype at = e.Text.indexOf(oldText);
        if (at >= 0)
            e.Text = e.Text.left(at) + newText + e.Text.mid(at + oldText.size());
        replaceInEntries(e.Children, oldText, newText);
    }
}

// Rewrites one stored block; an empty block holds no text to search.
void updateBlock(QByteArray& block, const QString& oldText, const QString& newText, bool windowLinkMode)
{
    if (block.isEmpty())
        return;
    RichDocument document = RtfReader::read(block);
    if (SearchJumps(document, oldText, newText, windowLinkMode))
        block = RtfWriter::write(document);
}

} // namespace

bool SearchJumps(RichDocument& document, const QString& oldText, const QString& newText, bool windowLinkMode)
{
    const QString searched = windowLinkMode ? oldText : QLatin1Char('>') + oldText;
    const QString replacement = windowLinkMode ? newText : QLatin1Char('>') + newText;
    if (searched.isEmpty())
        return false;

    bool found = false;
    for (Paragraph& paragraph : document.Paragraphs) {
        const QString text = paragraph.text();
        // The working text follows the paragraph through its replacements.
        // It is upper-cased as the code page does it, which keeps its length
        // (µ and ß stay), so its offsets are the paragraph's.
        QString working = windowLinkMode ? text : SearchUpper(text);
        qsizetype from = 0;
        for (;;) {
            const qsizetype at = working.indexOf(searched, from);
            if (at < 0)
                break;
            found = true;
            const CharFormat format = formatAt(paragraph, at);
            if (format.Underline || format.Strike) {
                replaceRange(paragraph, at, searched.size(), replacement, format);
                working.replace(at, searched.size(), windowLinkMode ? replacement : SearchUpper(replacement));
                from = at + replacement.size();
            } else {
                from = at + searched.size();
            }
        }
    }
    return found;
}

void UpdateJumps(Project& project, const QString& oldText, const QString& newText, const ProgressStep& progress)
{
    const bool windowLinkMode = project.WindowLinkMode;
    const int count = project.TopicCount();
    for (int i = 0; i < count; ++i) {
        TTopicRecord& topic = project.Topic(i);
        updateBlock(topic.HeaderRtf, oldText, newText, windowLinkMode);
        updateBlock(topic.BodyRtf, oldText, newText, windowLinkMode);
        if (progress)
            progress(2048 / count);
    }

    QString contentsOld = oldText;
    QString contentsNew = newText;
    if (windowLinkMode) {
        project.WindowLinkMode = false;
    } else {
        contentsOld.prepend(QLatin1Char('='));
        contentsNew.prepend(QLatin1Char('='));
    }
    if (contentsOld.isEmpty())
        return;

    const QString path = ContentsFile::pathFor(project);
    if (!QFile::exists(path))
        return;
    ContentsTree tree = ContentsFile::load(path);
    replaceInEntries(tree, contentsOld, contentsNew);
    ContentsFile::save(tree, path);
}

} // namespace ts
