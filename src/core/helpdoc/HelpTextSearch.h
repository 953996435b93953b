#pragma once
// Full-text search over every topic of a help file, for the viewer's Find
// tab. The index is built from the document's text (titles included) when
// the search is made, so no .FTS file is needed.
//
// Words are runs of letters and digits, compared without regard to case. A
// typed word matches every word it begins ("print" finds "printer"); a topic
// is found when each typed word matches one of its words.

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace ts {

class HelpDocument;

class HelpTextSearch {
public:
    // Decodes every topic: build it when the user first asks for Find.
    explicit HelpTextSearch(const HelpDocument& document);

    // The words of the file that begin with one of the typed words, sorted
    // without regard to case, each once (in its first spelling).
    QStringList matchingWords(const QString& typed) const;
    // The topics (in file order) that hold, for every typed word, a word it
    // begins. When `chosenWords` is not empty, a typed word matches only the
    // chosen words it begins (the user narrowed the search), unless it begins
    // none of them.
    std::vector<int> topicsFound(const QString& typed, const QStringList& chosenWords = {}) const;

    int wordCount() const { return int(sortedWords_.size()); }

    static QStringList wordsOf(const QString& text);

private:
    struct Word {
        QString folded, spelling;
        std::vector<int> topics; // ascending, each once
    };
    // The index range of the words beginning with `prefix`.
    std::pair<size_t, size_t> wordsBeginning(const QString& foldedPrefix) const;

    std::vector<Word> sortedWords_; // by folded text
};

} // namespace ts
