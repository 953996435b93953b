#pragma once
// The list definitions of word processors (\listtable, \listoverridetable)
// as the RTF reader collects them, and the labels they give paragraphs. Help
// files have no automatic lists, so a paragraph of a list (\lsN \ilvlN)
// gets its label as text: the level's template with the level numbers
// counted through the document ("1.", "2.a)", a bullet), in the level's font,
// followed by a tab or a blank as the level asks.

#include "RichDocument.h"

#include <QHash>
#include <QString>
#include <string>
#include <cstddef>
#include <optional>
#include <vector>

namespace ts::rtf {

class ListTable {
public:
    // Building, in the order the words come.
    void startList();                 // \list
    void setListId(int id);           // \listidN in a \list, or in a \listoverride
    void startLevel();                // \listlevel
    void setNumberFormat(int nfc);    // \levelnfcN
    void setStartAt(int start);       // \levelstartatN
    void setFollow(int follow);       // \levelfollowN: 0 tab, 1 blank, 2 nothing
    void setLevelFont(int font);      // \fN inside a level
    void setLevelIndents(std::optional<int> first, std::optional<int> left);
    // Inside {\leveltext ...}: a character, or a byte (its length, a level
    // number's place, or text in the level's font).
    void levelTextCharacter(char16_t c);
    void levelTextByte(unsigned char b);
    // Inside {\*\levelmarker ...} (TextEdit): the bullet's shape by name, "{disc}".
    void levelMarkerByte(unsigned char b);
    void startOverride();             // \listoverride
    void setOverrideNumber(int ls);   // \lsN in a \listoverride
    bool inOverrides() const { return inOverrides_; }
    void setInOverrides(bool on) { inOverrides_ = on; }

    struct Label {
        // The label and what follows it; characters that came as bytes are
        // U+E000 + byte, to be read in the label's font.
        QString text;
        int font = -1; // the level's font number, -1 = the paragraph's
        std::optional<int> firstIndent, leftIndent; // the level's, when it gives them
    };
    // The label of the next paragraph of list `ls` at `level`, counting it;
    // nothing when the list or level is not defined.
    std::optional<Label> nextLabel(int ls, int level);

private:
    struct Level {
        int format = 0;
        int startAt = 1;
        int follow = 0;
        int font = -1;
        std::optional<int> firstIndent, leftIndent;
        std::u16string text; // the template: its first character is its length
        std::string marker;  // the bullet's shape by name
    };
    struct List {
        int id = 0;
        std::vector<Level> levels;
    };
public:
    // A number as \levelnfcN spells it (0 decimal, 1 and 2 upper and lower
    // roman, 3 and 4 upper and lower letters, 23 bullet: none).
    static QString number(int value, int format);

private:

    std::vector<List> lists_;
    QHash<int, int> overrides_;            // \lsN -> list id
    QHash<int, std::vector<int>> counts_;  // list id -> the count of each level, 0 = not begun
    int pendingOverride_ = -1;             // list id of the \listoverride being read
    bool inOverrides_ = false;
    bool levelOpen_ = false;
};

// Placing a label into a paragraph's runs (offsets count characters):
// the text from an offset on; the format of the character at an offset (or
// `fallback` past the end); and `label` put in place of [from, to), joined
// to a neighbour of the same format as the reader's runs are.
QString textFrom(const std::vector<Run>& runs, qsizetype offset);
CharFormat formatAt(const std::vector<Run>& runs, qsizetype offset, const CharFormat& fallback);
void putLabel(std::vector<Run>& runs, qsizetype from, qsizetype to, Run label);

} // namespace ts::rtf
