#include "RtfReaderState.h"

#include <algorithm>

namespace ts::rtf {
namespace {

// Tab stops one paragraph may set; more than a line could ever use.
constexpr std::size_t MaxTabs = TabStop::MaxPerParagraph;
// Different tab stop lists one document may set.
constexpr std::size_t MaxTabSets = 4096;

} // namespace

int TabSets::add(int current, TabStop stop, int position)
{
    stop.Position = std::clamp(position, 0, TabStop::MaxPosition);
    std::vector<TabStop> set = current >= 0 ? sets_[std::size_t(current)] : std::vector<TabStop>();
    if (set.size() >= MaxTabs)
        return current;
    const auto at = std::lower_bound(set.begin(), set.end(), stop.Position,
                                     [](const TabStop& t, int pos) { return t.Position < pos; });
    if (at != set.end() && at->Position == stop.Position)
        *at = stop;
    else
        set.insert(at, stop);
    // The same lists come again in every paragraph of a document: each is
    // kept once.
    std::string key;
    for (const TabStop& t : set) {
        key.append(reinterpret_cast<const char*>(&t.Position), sizeof t.Position);
        key += char(t.Align);
        key += char(t.Fill);
    }
    if (sets_.size() >= MaxTabSets && !index_.count(key))
        return current;
    const auto [found, added] = index_.emplace(std::move(key), int(sets_.size()));
    if (added)
        sets_.push_back(std::move(set));
    return found->second;
}

bool applyFormattingWord(const WordInfo& w, const Token& t, State& s, TabSets& tabs, int deff)
{
    const bool on = !t.hasParam || t.param != 0;
    auto flag = [&](std::uint16_t bit) {
        s.chr.flags = on ? std::uint16_t(s.chr.flags | bit) : std::uint16_t(s.chr.flags & ~bit);
    };
    auto vertical = [&](std::uint16_t bit) {
        s.chr.flags = std::uint16_t((s.chr.flags & ~(SuperscriptFlag | SubscriptFlag)) | bit);
    };
    switch (w.id) {
    case WordId::Pard:
        s.align = Alignment::Left;
        s.li = s.fi = s.ri = 0;
        s.sb = s.sa = s.sl = 0;
        s.slmult = false;
        s.tabs = -1;
        s.pendingTab = TabStop();
        s.ls = s.ilvl = 0;
        break;
    case WordId::Plain:
        s.chr = CharKey{deff, DefaultSize, -1, 0, 0};
        break;
    case WordId::Ql: s.align = Alignment::Left; break;
    case WordId::Qc: s.align = Alignment::Center; break;
    case WordId::Qr: s.align = Alignment::Right; break;
    case WordId::Qj: s.align = Alignment::Justify; break;
    case WordId::UlNone: s.chr.flags &= std::uint16_t(~(UnderlineFlag | DoubleUnderlineFlag)); break;
    case WordId::DoubleUnderline: flag(DoubleUnderlineFlag); break;
    case WordId::SmallCaps: flag(SmallCapsFlag); break;
    case WordId::Superscript: vertical(SuperscriptFlag); break;
    case WordId::Subscript: vertical(SubscriptFlag); break;
    case WordId::NoSuperSub: vertical(0); break;
    case WordId::Raise: vertical(t.hasParam && t.param == 0 ? 0 : SuperscriptFlag); break;
    case WordId::Lower: vertical(t.hasParam && t.param == 0 ? 0 : SubscriptFlag); break;
    case WordId::Highlight: s.chr.highlight = t.hasParam ? std::max(0, t.param) : 0; break;
    case WordId::SpaceBefore: s.sb = t.hasParam ? t.param : 0; break;
    case WordId::SpaceAfter: s.sa = t.hasParam ? t.param : 0; break;
    case WordId::LineSpacing: s.sl = t.hasParam ? t.param : 0; break;
    case WordId::LineMultiple: s.slmult = t.hasParam && t.param == 1; break;
    case WordId::TabRight: s.pendingTab.Align = TabStop::Kind::Right; break;
    case WordId::TabCenter: s.pendingTab.Align = TabStop::Kind::Center; break;
    case WordId::TabDecimal: s.pendingTab.Align = TabStop::Kind::Decimal; break;
    case WordId::LeaderDots: s.pendingTab.Fill = TabStop::Leader::Dots; break;
    case WordId::LeaderHyphens: s.pendingTab.Fill = TabStop::Leader::Hyphens; break;
    case WordId::LeaderUnderline: s.pendingTab.Fill = TabStop::Leader::Underline; break;
    case WordId::LeaderThick: s.pendingTab.Fill = TabStop::Leader::ThickLine; break;
    case WordId::LeaderEquals: s.pendingTab.Fill = TabStop::Leader::Equals; break;
    case WordId::ListNumber: s.ls = t.hasParam ? t.param : 0; break;
    case WordId::ListLevelNumber: s.ilvl = t.hasParam ? std::clamp(t.param, 0, 15) : 0; break;
    case WordId::TabPosition:
    case WordId::BarTab:
        if (t.hasParam)
            s.tabs = tabs.add(s.tabs, s.pendingTab, t.param);
        s.pendingTab = TabStop();
        break;
    case WordId::Bold: flag(BoldFlag); break;
    case WordId::Italic: flag(ItalicFlag); break;
    case WordId::Underline: flag(UnderlineFlag); break;
    case WordId::Strike: flag(StrikeFlag); break;
    case WordId::Hidden: flag(HiddenFlag); break;
    case WordId::Font:
        if (t.hasParam)
            s.chr.font = t.param;
        break;
    case WordId::FontSize:
        s.chr.size = t.hasParam ? t.param : DefaultSize;
        break;
    case WordId::Colour:
        s.chr.colour = t.hasParam ? t.param : 0;
        break;
    case WordId::LeftIndent: s.li = t.hasParam ? t.param : 0; break;
    case WordId::FirstIndent: s.fi = t.hasParam ? t.param : 0; break;
    case WordId::RightIndent: s.ri = t.hasParam ? t.param : 0; break;
    default:
        return false;
    }
    return true;
}

} // namespace ts::rtf
