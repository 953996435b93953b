#include "TopicFileWriter.h"

#include "model/WholeFile.h"
#include "model/Project.h"
#include "richtext/RtfWriter.h"
#include "richtext/StoredText.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace ts::TopicFileWriter {
namespace {

const QByteArray Eol = QByteArrayLiteral("\r\n");
const QByteArray Keepn = QByteArrayLiteral("\\keepn");
const QByteArray ParPard = QByteArrayLiteral("\\par \\pard");

struct TopicText {
    RichDocument Header;
    RichDocument Body;
};

// Link markup: every "-->" from `from` on becomes "\v ", which starts the
// hidden link target. Both are three characters, so the text is rewritten
// in place, and the replacement holds neither "-" nor ">", so no arrow is
// left behind.
void convertLinks(QByteArray& text, qsizetype from)
{
    std::string_view view(text.constData(), size_t(text.size()));
    size_t at = view.find("-->", size_t(from));
    if (at == std::string_view::npos)
        return;
    char* data = text.data(); // may detach: search the copy written to
    view = std::string_view(data, size_t(text.size()));
    do {
        std::memcpy(data + at, "\\v ", 3);
        at = view.find("-->", at + 3);
    } while (at != std::string_view::npos);
}

void appendFootnote(QByteArray& out, char mark, const QByteArray& text)
{
    // "\super #{\*\footnote #\pard\plain " : 34 characters, the last a blank.
    out += "\\super ";
    out += mark;
    out += "{\\*\\footnote ";
    out += mark;
    out += "\\pard\\plain ";
    out += escapeFootnoteText(text);
    out += '}';
    out += Eol;
}

void appendFootnotes(QByteArray& out, const Project& project, const TopicRecord& topic)
{
    // \page keeps the character formatting in force: without a reset, a page
    // whose text ends in a link would give the next page's marks its
    // strike-out, underline or hidden text.
    out += "\\pard\\plain ";
    appendFootnote(out, '#', topic.TopicID.bytes());
    if (!topic.Title.isEmpty())
        appendFootnote(out, '$', topic.Title.bytes());
    if (!topic.Keywords.isEmpty()) {
        appendFootnote(out, 'K', topic.Keywords.bytes());
        appendFootnote(out, 'A', topic.Keywords.bytes());
    }
    appendFootnote(out, '>', project.windowOf(topic).Name.bytes());
}

// The non-scrolling region: every paragraph carries \keepn right behind its
// \pard; the first one continues the footnote paragraph, so it has no
// "\par ". Returns whether the header had no text at all, in which case one
// empty line stands for it.
bool appendHeader(QByteArray& out, const RtfWriter& writer, const RichDocument& header)
{
    if (!hasText(header)) {
        out += Eol;
        return true;
    }
    bool first = true;
    for (const Paragraph& p : header.Paragraphs) {
        const qsizetype start = out.size();
        writer.appendParagraphLine(out, p, first);
        const qsizetype pard = first ? 5 : ParPard.size();
        Q_ASSERT(QByteArrayView(out).sliced(start).startsWith(QByteArrayView(ParPard).last(pard)));
        out.insert(start + pard, Keepn);
        convertLinks(out, start);
        out += Eol;
        first = false;
    }
    return false;
}

// The scrolling region. After a header with text the body's first paragraph
// ends the header's last with "\par "; after an empty header it continues the
// footnote paragraph and starts with "\pard".
void appendBody(QByteArray& out, const RtfWriter& writer, const RichDocument& body, bool emptyHeader)
{
    bool first = true;
    for (const Paragraph& p : body.Paragraphs) {
        const qsizetype start = out.size();
        writer.appendParagraphLine(out, p, first && emptyHeader);
        convertLinks(out, start);
        out += Eol;
        first = false;
    }
}

// Lines the file starts or ends with get the link conversion too, as every
// line of topic text does; they are passed line by line, without empty ones.
void appendConverted(QByteArray& out, const QByteArray& lines)
{
    for (QByteArray line : lines.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        convertLinks(line, 0);
        out += line;
        out += Eol;
    }
}

} // namespace

QString pathFor(const Project& project) { return project.projectBase() + QStringLiteral(".RTF"); }

QByteArray escapeFootnoteText(const QByteArray& text)
{
    static const char hex[] = "0123456789abcdef";
    QByteArray out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (b > 127) {
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray generate(const Project& project, const ProgressStep& progress)
{
    const int count = project.TopicCount();
    if (count == 0) {
        // The combined document is then one empty paragraph.
        QByteArray out;
        appendConverted(out, RtfWriter::write(RichDocument()));
        return out;
    }

    std::vector<TopicText> topics;
    topics.reserve(size_t(count));
    RtfWriter writer;
    qsizetype estimate = 0;
    for (int i = 0; i < count; ++i) {
        const TopicRecord& t = project.topic(i);
        TopicText text{readStoredText(t.HeaderRtf), readStoredText(t.BodyRtf)};
        // One font and colour table for the whole file, in the order the
        // topics use them: each topic's header, then its body.
        writer.addToTables(text.Header);
        writer.addToTables(text.Body);
        topics.push_back(std::move(text));
        estimate += t.HeaderRtf.size() + t.BodyRtf.size() + 600;
        if (progress)
            progress(90 / count);
    }

    QByteArray out;
    out.reserve(estimate + 4096);
    appendConverted(out, writer.openingLines());
    for (int i = 0; i < count; ++i) {
        appendFootnotes(out, project, project.topic(i));
        const bool emptyHeader = appendHeader(out, writer, topics[size_t(i)].Header);
        appendBody(out, writer, topics[size_t(i)].Body, emptyHeader);
        out += "\\page";
        out += Eol;
    }
    appendConverted(out, RtfWriter::closingLine());
    return out;
}

QString write(const Project& project, const ProgressStep& progress)
{
    const QString path = pathFor(project);
    writeWholeFile(path, generate(project, progress));
    return path;
}

} // namespace ts::TopicFileWriter
