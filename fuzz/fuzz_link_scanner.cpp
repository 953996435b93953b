// Feeds link maintenance a topic text (RTF) and a name to rename, as a Topic
// ID, a window or the window of one topic's links, and checks what must hold
// whatever the text: paragraphs without link markup keep every character and
// format, the number of paragraphs stays, a name that occurs nowhere changes
// nothing, and renaming to a name the text never held and back again gives
// the text it started with, with as many names rewritten each way.
//
// Input: mode byte, old name, NUL, topic for a window move, NUL, RTF.

#include "FuzzSupport.h"

#include "links/LinkMaintenance.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfReader.h"
#include "search/TopicSearch.h"

namespace {

bool isName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
        if (c.isSpace() || c == QLatin1Char('>') || c == QLatin1Char('@'))
            return false;
    return true;
}

ts::LinkRename renameOf(int mode, const QString& topic, const QString& from, const QString& to)
{
    switch (mode) {
    case 0: return ts::topicIdRename(from, to);
    case 1: return ts::windowRename(from, to);
    default: return ts::topicWindowMove(topic, from, to);
    }
}

// The paragraph texts, upper-cased where Topic IDs are compared so.
QStringList textsOf(const ts::RichDocument& document, bool upper)
{
    QStringList texts;
    for (const ts::Paragraph& p : document.Paragraphs)
        texts << (upper ? ts::searchUpper(p.text()) : p.text());
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int mode = data[0] % 3;
    const std::vector<QByteArray> parts = fuzzsupport::pieces(fuzzsupport::bytesOf(data + 1, size - 1), 3);
    const QString oldName = fuzzsupport::textOf(parts[0]);
    const QString topic = fuzzsupport::textOf(parts[1]);
    const ts::RichDocument original = ts::RtfReader::read(parts[2]);
    const QString fresh = QStringLiteral("FRESH_NAME_7Q");
    const QStringList originalTexts = textsOf(original, true);
    if (!isName(oldName) || (mode == 2 && !isName(topic)) || originalTexts.join(QLatin1Char('\n')).contains(fresh))
        return 0;

    ts::RichDocument renamed = original;
    const int there = ts::renameInLinks(renamed, renameOf(mode, topic, oldName, fresh));
    if (renamed.Paragraphs.size() != original.Paragraphs.size())
        fuzzsupport::fail("the rename changed the number of paragraphs");
    for (size_t p = 0; p < original.Paragraphs.size(); ++p) {
        if (renamed.Paragraphs[p].Runs.empty())
            fuzzsupport::fail("paragraph %zu lost its last run", p);
        if (!original.Paragraphs[p].text().contains(QLatin1String("-->"))
            && !(renamed.Paragraphs[p] == original.Paragraphs[p]))
            fuzzsupport::fail("paragraph %zu holds no link but was changed", p);
    }
    if (there == 0 && !(renamed == original))
        fuzzsupport::fail("nothing was renamed but the text changed");

    // A name that occurs nowhere changes nothing.
    ts::RichDocument untouched = original;
    if (ts::renameInLinks(untouched, renameOf(mode, topic, fresh, oldName)) != 0 || !(untouched == original))
        fuzzsupport::fail("renaming a name that occurs nowhere changed the text");

    // And back again.
    ts::RichDocument back = renamed;
    const int returned = ts::renameInLinks(back, renameOf(mode, topic, fresh, oldName));
    if (returned != there)
        fuzzsupport::fail("%d names renamed there but %d back", there, returned);
    const bool upper = mode == 0; // Topic IDs compare without regard to case
    if (textsOf(back, upper) != textsOf(original, upper))
        fuzzsupport::fail("renaming '%s' there and back changed the text",
                          fuzzsupport::printable(oldName).constData());
    return 0;
}
