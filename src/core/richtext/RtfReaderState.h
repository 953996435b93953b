#pragma once
// The state the RTF reader keeps per group: where text goes (the
// destination), the character format as table numbers, and the paragraph's
// properties; and what a formatting word does to it.

#include "RichDocument.h"
#include "RtfControlWords.h"
#include "RtfTokenizer.h"

#include <climits>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace ts::rtf {

enum class Dest : std::uint8_t { Normal, FontTable, ColourTable, ListTable, LevelText, LevelMarker, FieldInstruction };

constexpr int DefaultSize = 24; // RTF's default: 12 pt
enum : std::uint16_t {
    BoldFlag = 1, ItalicFlag = 2, UnderlineFlag = 4, StrikeFlag = 8, HiddenFlag = 16,
    DoubleUnderlineFlag = 32, SmallCapsFlag = 64, SuperscriptFlag = 128, SubscriptFlag = 256,
};

// The character format as the RTF describes it: numbers into the tables.
// Cheap to copy and compare; resolved to a CharFormat only when text arrives
// under a key that differs from the current run's.
struct CharKey {
    int font = 0;
    int size = DefaultSize;
    int colour = -1; // colour table index; -1 = no \cf given (automatic)
    int highlight = 0; // colour table index of \highlightN; 0 = none
    std::uint16_t flags = 0;

    friend bool operator==(const CharKey&, const CharKey&) = default;
};

struct State {
    CharKey chr;
    Dest dest = Dest::Normal;
    int uc = 1; // characters to skip after \uN
    Alignment align = Alignment::Left;
    int li = 0;
    int fi = 0;
    int ri = 0;
    int sb = 0;
    int sa = 0;
    int sl = 0;
    bool slmult = false;
    int tabs = -1; // index into the document's TabSets; -1 = none
    TabStop pendingTab; // the kind and leader words seen before the next \tx
    int ls = 0;         // the paragraph's list (\lsN), 0 = none
    int ilvl = 0;       // its level in the list
    bool listText = false; // inside {\listtext ...} or {\pntext ...}
    bool field = false;    // inside {\field ...}
    bool ansiTextNext = false; // after \upr: the next group is the ANSI text of the pair
};

// A key no text is ever formatted with: the next text looks its format up again.
constexpr CharKey StaleKey{INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0};

// The tab stop lists paragraphs set, each kept once: a state names one by
// index, so that groups copy a number rather than a list. Bounded, so that
// a hostile file cannot make the reader keep more than a few megabytes.
class TabSets {
public:
    // The list `current` (-1 = none) with a stop at `position` of the kind
    // and leader of `stop`; a stop at a position already set is replaced.
    // Returns its index, or `current` when the bounds are reached.
    int add(int current, TabStop stop, int position);
    const std::vector<TabStop>& at(int index) const { return sets_[std::size_t(index)]; }

private:
    std::vector<std::vector<TabStop>> sets_;
    std::unordered_map<std::string, int> index_;
};

// Applies a word that sets character or paragraph formatting; `deff` is the
// document's default font (\plain returns to it). Returns false for a word
// that is not formatting.
bool applyFormattingWord(const WordInfo& w, const Token& t, State& s, TabSets& tabs, int deff);

} // namespace ts::rtf
