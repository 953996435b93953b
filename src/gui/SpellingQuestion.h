#pragma once
// What the speller puts to the user about one unknown word, and the answer
// it gets back. The speller asks and the spelling dialog answers; both speak
// these two types and neither needs the other's header for them.

#include <QString>
#include <QStringList>

namespace ts {

// The word, the text it stands in with its offset there, and the
// dictionary's suggestions.
struct SpellingQuestion {
    QString word;
    QString text;
    qsizetype offset = 0;
    QStringList suggestions;
};

// The user's answer for one unknown word.
struct SpellingAnswer {
    enum class Kind { Ignore, IgnoreAll, Change, Add, Cancel };
    Kind kind = Kind::Cancel;
    QString replacement; // Change
};

} // namespace ts
