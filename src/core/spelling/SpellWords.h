#pragma once
// What the spell check looks at in a topic's text: the words, with their
// offsets in the text as the editor holds it, and the fixed words that are
// never reported because they belong to help-file markup or to the program's
// own vocabulary.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace ts {

struct TextWord {
    qsizetype offset = 0; // in the text, from 0
    qsizetype length = 0;
    friend bool operator==(const TextWord&, const TextWord&) = default;
};

// The words never reported, in their fixed order. The comparison is exact:
// "Popup" and "popup" are separate items.
const QStringList& spellExceptionWords();
bool isSpellException(const QString& word);

// The next word of `text` at or after `from`, or none. A word is a run of
// letters that may hold apostrophes between letters ("don't"); runs that
// touch a digit ("Win32", "3rd") are not words, as a dictionary cannot judge
// them, and neither are the parts of file names and addresses ("setup.exe",
// "www.example.com", "user@example.com", "C:\Help\gadget.hlp"): a piece of
// text between blanks that holds a dot, slash, "@" or similar sign inside it
// (sentence punctuation around it aside). A trailing or leading apostrophe
// is not part of the word.
std::optional<TextWord> nextWord(const QString& text, qsizetype from);

// All words of `text`, in order.
QList<TextWord> splitWords(const QString& text);

// What becomes of an unknown word: passed over, replaced (the text goes on
// after the replacement), or the end of the check.
struct SpellDecision {
    enum class Kind { Skip, Replace, Stop };
    Kind kind = Kind::Skip;
    QString replacement;
};

// Walks the words of `text` in order; each word that `known` rejects goes to
// `onUnknown` with its offset in the text as it stands, after the
// replacements made so far. Replacements are made in `text`. Returns false
// when a decision stopped the check.
bool runSpellCheck(QString& text, const std::function<bool(const QString&)>& known,
                   const std::function<SpellDecision(const QString& word, qsizetype offset)>& onUnknown);

} // namespace ts
