#include "RichDocument.h"

#include <algorithm>

namespace ts {

QString Paragraph::text() const
{
    if (Runs.size() == 1)
        return Runs.front().Text;
    QString out;
    for (const Run& r : Runs)
        out += r.Text;
    return out;
}

bool Paragraph::isEmpty() const
{
    for (const Run& r : Runs)
        if (!r.Text.isEmpty())
            return false;
    return true;
}

RichDocument::RichDocument() : Paragraphs(1) {}

QStringList RichDocument::paragraphTexts() const
{
    QStringList out;
    out.reserve(qsizetype(Paragraphs.size()));
    for (const Paragraph& p : Paragraphs)
        out.append(p.text());
    return out;
}

QString RichDocument::plainText() const
{
    return paragraphTexts().join(QStringLiteral("\r\n"));
}

bool RichDocument::isEmpty() const
{
    return Paragraphs.empty() || (Paragraphs.size() == 1 && Paragraphs.front().isEmpty());
}

qsizetype RichDocument::length() const
{
    qsizetype n = 0;
    for (const Paragraph& p : Paragraphs)
        for (const Run& r : p.Runs)
            n += r.Text.size();
    return Paragraphs.empty() ? 0 : n + 2 * qsizetype(Paragraphs.size() - 1);
}

qsizetype RichDocument::positionOf(const TextPosition& at) const
{
    qsizetype pos = 0;
    const qsizetype count = qsizetype(Paragraphs.size());
    for (qsizetype i = 0; i < count && i < at.Paragraph; ++i)
        pos += Paragraphs[std::size_t(i)].text().size() + 2;
    return pos + at.Offset;
}

RichDocument::TextPosition RichDocument::locate(qsizetype position) const
{
    TextPosition at;
    if (Paragraphs.empty())
        return at;
    qsizetype start = 0;
    const qsizetype last = qsizetype(Paragraphs.size()) - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        const qsizetype len = Paragraphs[std::size_t(i)].text().size();
        if (position <= start + len || i == last) {
            at.Paragraph = i;
            at.Offset = std::clamp(position - start, qsizetype(0), len);
            return at;
        }
        if (position == start + len + 1) { // between CR and LF
            at.Paragraph = i;
            at.Offset = len;
            return at;
        }
        start += len + 2;
    }
    return at;
}

bool isSymbolFontFace(const QString& face)
{
    static const QString Faces[] = {
        QStringLiteral("Symbol"),      QStringLiteral("Wingdings"), QStringLiteral("Wingdings 2"),
        QStringLiteral("Wingdings 3"), QStringLiteral("Webdings"),  QStringLiteral("Marlett"),
    };
    for (const QString& f : Faces)
        if (face.compare(f, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void RichDocument::normalize()
{
    if (Paragraphs.empty())
        Paragraphs.emplace_back();
    for (Paragraph& p : Paragraphs) {
        std::vector<Run> runs;
        runs.reserve(p.Runs.size());
        for (Run& r : p.Runs) {
            if (r.Text.isEmpty())
                continue;
            if (!runs.empty() && runs.back().Format == r.Format)
                runs.back().Text += r.Text;
            else
                runs.push_back(std::move(r));
        }
        if (runs.empty())
            runs.push_back(Run{QString(), p.Runs.empty() ? CharFormat() : p.Runs.back().Format});
        p.Runs = std::move(runs);
    }
}

RichDocument RichDocument::fromPlainText(const QString& text, const CharFormat& format)
{
    RichDocument doc;
    doc.Paragraphs.clear();
    qsizetype start = 0;
    const qsizetype n = text.size();
    auto add = [&](qsizetype end) {
        Paragraph p;
        p.Runs.front() = Run{text.mid(start, end - start), format};
        doc.Paragraphs.push_back(std::move(p));
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            add(i);
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n || doc.Paragraphs.empty())
        add(n);
    return doc;
}

} // namespace ts
