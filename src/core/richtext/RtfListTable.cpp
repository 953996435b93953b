#include "RtfListTable.h"

#include <algorithm>
#include <iterator>

namespace ts::rtf {
namespace {

// Levels a list may define (RTF allows nine; a few more cost nothing) and
// lists one document may define: bounds on what a hostile file can make us keep.
constexpr std::size_t MaxLevels = 16;
constexpr std::size_t MaxLists = 4096;
constexpr std::size_t MaxTemplate = 64;

QString roman(int value, bool upper)
{
    static const std::pair<int, const char*> parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                                                        {90, "xc"}, {50, "l"}, {40, "xl"}, {10, "x"}, {9, "ix"},
                                                        {5, "v"}, {4, "iv"}, {1, "i"}};
    QString out;
    for (const auto& [n, text] : parts)
        for (; value >= n && out.size() < 32; value -= n)
            out += QString::fromLatin1(text);
    return upper ? out.toUpper() : out;
}

// a, b, ..., z, aa, bb, ... as word processors letter their lists.
QString letters(int value, bool upper)
{
    if (value <= 0)
        return QString();
    const QChar c = QChar(char16_t((upper ? u'A' : u'a') + (value - 1) % 26));
    return QString(std::min(1 + (value - 1) / 26, 32), c);
}

} // namespace

void ListTable::startList()
{
    if (lists_.size() < MaxLists)
        lists_.emplace_back();
    levelOpen_ = false;
}

void ListTable::setListId(int id)
{
    if (inOverrides_)
        pendingOverride_ = id;
    else if (!lists_.empty())
        lists_.back().id = id;
}

void ListTable::startLevel()
{
    levelOpen_ = !lists_.empty() && lists_.back().levels.size() < MaxLevels;
    if (levelOpen_)
        lists_.back().levels.emplace_back();
}

void ListTable::setNumberFormat(int nfc)
{
    if (levelOpen_)
        lists_.back().levels.back().format = nfc;
}

void ListTable::setStartAt(int start)
{
    if (levelOpen_)
        lists_.back().levels.back().startAt = std::clamp(start, 0, 32767);
}

void ListTable::setFollow(int follow)
{
    if (levelOpen_)
        lists_.back().levels.back().follow = follow;
}

void ListTable::setLevelFont(int font)
{
    if (levelOpen_)
        lists_.back().levels.back().font = font;
}

void ListTable::setLevelIndents(std::optional<int> first, std::optional<int> left)
{
    if (!levelOpen_)
        return;
    Level& l = lists_.back().levels.back();
    if (first)
        l.firstIndent = first;
    if (left)
        l.leftIndent = left;
}

void ListTable::levelTextCharacter(char16_t c)
{
    if (levelOpen_ && lists_.back().levels.back().text.size() < MaxTemplate)
        lists_.back().levels.back().text.push_back(c);
}

void ListTable::levelTextByte(unsigned char b)
{
    if (b == ';') // ends the template
        return;
    levelTextCharacter(b < 0x20 ? char16_t(b) : char16_t(0xE000 | b));
}

void ListTable::levelMarkerByte(unsigned char b)
{
    if (levelOpen_ && lists_.back().levels.back().marker.size() < MaxTemplate)
        lists_.back().levels.back().marker += char(b);
}

void ListTable::startOverride()
{
    pendingOverride_ = -1;
}

void ListTable::setOverrideNumber(int ls)
{
    if (pendingOverride_ >= 0 && overrides_.size() < int(MaxLists))
        overrides_.insert(ls, pendingOverride_);
}

QString ListTable::number(int value, int format)
{
    switch (format) {
    case 1: return roman(value, true);
    case 2: return roman(value, false);
    case 3: return letters(value, true);
    case 4: return letters(value, false);
    case 22: return value < 10 ? QStringLiteral("0") + QString::number(value) : QString::number(value);
    case 23:
    case 255: return QString();
    default: return QString::number(value); // decimal and the forms we do not spell out
    }
}

std::optional<ListTable::Label> ListTable::nextLabel(int ls, int level)
{
    const auto id = overrides_.constFind(ls);
    if (id == overrides_.constEnd() || level < 0)
        return std::nullopt;
    const auto list = std::find_if(lists_.begin(), lists_.end(), [&](const List& l) { return l.id == *id; });
    if (list == lists_.end() || std::size_t(level) >= list->levels.size())
        return std::nullopt;
    // Lists that share a definition count on together, as word processors
    // number them.
    std::vector<int>& counts = counts_[*id];
    counts.resize(list->levels.size(), 0);
    counts[std::size_t(level)] = counts[std::size_t(level)] == 0 ? list->levels[std::size_t(level)].startAt
                                                                 : counts[std::size_t(level)] + 1;
    for (std::size_t deeper = std::size_t(level) + 1; deeper < counts.size(); ++deeper)
        counts[deeper] = 0; // a new item starts its sublevels afresh

    const Level& l = list->levels[std::size_t(level)];
    Label label;
    label.font = l.font;
    label.firstIndent = l.firstIndent;
    label.leftIndent = l.leftIndent;
    // A bullet TextEdit names by its shape stands for the level's template,
    // which it writes for readers that do not know the names.
    static const std::pair<const char*, char16_t> shapes[] = {{"{disc}", u'\u2022'},    {"{circle}", u'\u25E6'},
                                                              {"{square}", u'\u25AA'},  {"{hyphen}", u'\u2043'},
                                                              {"{diamond}", u'\u25C6'}, {"{check}", u'\u2713'}};
    const auto shape = std::find_if(std::begin(shapes), std::end(shapes),
                                    [&](const auto& s) { return l.format == 23 && l.marker == s.first; });
    // The length byte is kept as the template's other bytes are: below 0x20
    // as it stands, from 0x20 on as a code to be read in the label's font.
    const char16_t lengthByte = l.text.empty() ? 0 : l.text.front() >= 0xE000 ? l.text.front() & 0xFF : l.text.front();
    const std::size_t length =
        shape != std::end(shapes) || l.text.empty() ? 0 : std::min<std::size_t>(lengthByte, l.text.size() - 1);
    if (shape != std::end(shapes))
        label.text += QChar(shape->second);
    for (std::size_t i = 1; i <= length; ++i) {
        const char16_t c = l.text[i];
        if (c < 10) { // the number of level c
            if (std::size_t(c) < list->levels.size()) {
                const int count = counts[c] == 0 ? list->levels[c].startAt : counts[c];
                label.text += number(count, c == std::size_t(level) ? l.format : list->levels[c].format);
            }
        } else {
            label.text += QChar(c);
        }
    }
    if (l.follow == 0)
        label.text += QLatin1Char('\t');
    else if (l.follow == 1)
        label.text += QLatin1Char(' ');
    return label;
}

namespace {

// The index of the run that starts `offset` characters into `runs`, splitting
// a run there if need be (runs.size() at the end).
std::size_t splitRunsAt(std::vector<Run>& runs, qsizetype offset)
{
    qsizetype start = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const qsizetype size = runs[i].Text.size();
        if (offset <= start)
            return i;
        if (offset < start + size) {
            Run tail{runs[i].Text.mid(offset - start), runs[i].Format};
            runs[i].Text.truncate(offset - start);
            runs.insert(runs.begin() + std::ptrdiff_t(i) + 1, std::move(tail));
            return i + 1;
        }
        start += size;
    }
    return runs.size();
}

} // namespace

QString textFrom(const std::vector<Run>& runs, qsizetype offset)
{
    QString text;
    for (const Run& r : runs)
        text += r.Text;
    return text.mid(offset);
}

CharFormat formatAt(const std::vector<Run>& runs, qsizetype offset, const CharFormat& fallback)
{
    qsizetype start = 0;
    for (const Run& r : runs) {
        if (offset < start + r.Text.size())
            return r.Format;
        start += r.Text.size();
    }
    return runs.empty() ? fallback : runs.back().Format;
}

void putLabel(std::vector<Run>& runs, qsizetype from, qsizetype to, Run label)
{
    const std::size_t at = splitRunsAt(runs, from);
    const std::size_t end = splitRunsAt(runs, to);
    runs.erase(runs.begin() + std::ptrdiff_t(at), runs.begin() + std::ptrdiff_t(end));
    runs.insert(runs.begin() + std::ptrdiff_t(at), std::move(label));
    RichDocument joined;
    joined.Paragraphs.front().Runs = std::move(runs);
    joined.normalize();
    runs = std::move(joined.Paragraphs.front().Runs);
}

} // namespace ts::rtf
