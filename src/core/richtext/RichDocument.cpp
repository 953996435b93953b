#include "RichDocument.h"

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
