// Feeds link maintenance's hotspot scan a topic text (RTF) and an old and a
// new name, in both modes, and compares its work with a reference that
// rewrites the text character by character: occurrences are found left to
// right in the paragraph text (upper-cased for Topic IDs), an occurrence
// whose first character is struck out or underlined is replaced by the new
// text in that character's format, and the search goes on behind it.
//
// Input: mode byte, old name, NUL, new name, NUL, RTF.

#include "FuzzSupport.h"

#include "links/LinkMaintenance.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfReader.h"
#include "search/TopicSearch.h"

#include <vector>

namespace {

struct Char {
    QChar c;
    ts::CharFormat format;
};

std::vector<Char> charsOf(const ts::Paragraph& paragraph)
{
    std::vector<Char> out;
    for (const ts::Run& run : paragraph.Runs)
        for (const QChar c : run.Text)
            out.push_back({c, run.Format});
    return out;
}

QString textOf(const std::vector<Char>& chars)
{
    QString text;
    for (const Char& ch : chars)
        text += ch.c;
    return text;
}

bool rewriteReference(std::vector<Char>& chars, const QString& searched, const QString& replacement, bool exact)
{
    bool found = false;
    qsizetype from = 0;
    for (;;) {
        const QString text = textOf(chars);
        const QString compared = exact ? text : ts::SearchUpper(text);
        if (compared.size() != text.size())
            fuzzsupport::fail("upper-casing changed the length of '%s'", fuzzsupport::printable(text).constData());
        const qsizetype at = compared.indexOf(searched, from);
        if (at < 0)
            return found;
        found = true;
        const ts::CharFormat format = chars[size_t(at)].format;
        if (!format.Strike && !format.Underline) {
            from = at + searched.size();
            continue;
        }
        std::vector<Char> inserted;
        for (const QChar c : replacement)
            inserted.push_back({c, format});
        chars.erase(chars.begin() + at, chars.begin() + at + searched.size());
        chars.insert(chars.begin() + at, inserted.begin(), inserted.end());
        from = at + replacement.size();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool windowMode = data[0] & 1;
    const std::vector<QByteArray> parts = fuzzsupport::pieces(fuzzsupport::bytesOf(data + 1, size - 1), 3);
    const QString oldText = fuzzsupport::textOf(parts[0]);
    const QString newText = fuzzsupport::textOf(parts[1]);
    const ts::RichDocument original = ts::RtfReader::read(parts[2]);

    ts::RichDocument document = original;
    const bool found = ts::SearchJumps(document, oldText, newText, windowMode);

    const QString searched = windowMode ? oldText : QLatin1Char('>') + oldText;
    const QString replacement = windowMode ? newText : QLatin1Char('>') + newText;
    bool expectedFound = false;
    if (document.Paragraphs.size() != original.Paragraphs.size())
        fuzzsupport::fail("the scan changed the number of paragraphs");
    for (size_t p = 0; p < original.Paragraphs.size(); ++p) {
        std::vector<Char> expected = charsOf(original.Paragraphs[p]);
        if (!searched.isEmpty())
            expectedFound = rewriteReference(expected, searched, replacement, windowMode) || expectedFound;
        const std::vector<Char> actual = charsOf(document.Paragraphs[p]);
        bool same = actual.size() == expected.size();
        for (size_t i = 0; same && i < actual.size(); ++i)
            same = actual[i].c == expected[i].c && actual[i].format == expected[i].format;
        if (!same)
            fuzzsupport::fail("paragraph %zu rewritten as '%s', expected '%s'", p,
                              fuzzsupport::printable(textOf(actual)).constData(),
                              fuzzsupport::printable(textOf(expected)).constData());
        if (document.Paragraphs[p].Runs.empty())
            fuzzsupport::fail("paragraph %zu lost its last run", p);
    }
    if (found != expectedFound)
        fuzzsupport::fail("the scan says the name %s, but it %s", found ? "occurs" : "does not occur",
                          expectedFound ? "does" : "does not");
    return 0;
}
