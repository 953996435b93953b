#include "HelpTextSearch.h"

#include "helpfile/HelpDocument.h"

#include <algorithm>
#include <map>
#include <set>

namespace ts {

QStringList HelpTextSearch::wordsOf(const QString& text)
{
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool inWord = i < text.size() && text.at(i).isLetterOrNumber();
        if (inWord && start < 0)
            start = i;
        else if (!inWord && start >= 0) {
            words.append(text.mid(start, i - start));
            start = -1;
        }
    }
    return words;
}

HelpTextSearch::HelpTextSearch(const HelpDocument& document)
{
    std::map<QString, Word> words;
    for (int topic = 0; topic < int(document.topics.size()); ++topic) {
        const QString text = document.topics[size_t(topic)].title + QLatin1Char('\n') + document.topicText(topic);
        for (const QString& spelling : wordsOf(text)) {
            Word& word = words[spelling.toCaseFolded()];
            if (word.spelling.isEmpty())
                word.spelling = spelling;
            if (word.topics.empty() || word.topics.back() != topic)
                word.topics.push_back(topic);
        }
    }
    sortedWords_.reserve(words.size());
    for (auto& [folded, word] : words) {
        word.folded = folded;
        sortedWords_.push_back(std::move(word));
    }
}

std::pair<size_t, size_t> HelpTextSearch::wordsBeginning(const QString& foldedPrefix) const
{
    const auto first = std::lower_bound(sortedWords_.begin(), sortedWords_.end(), foldedPrefix,
                                        [](const Word& w, const QString& p) { return w.folded < p; });
    auto last = first;
    while (last != sortedWords_.end() && last->folded.startsWith(foldedPrefix))
        ++last;
    return {size_t(first - sortedWords_.begin()), size_t(last - sortedWords_.begin())};
}

QStringList HelpTextSearch::matchingWords(const QString& typed) const
{
    std::set<size_t> found;
    for (const QString& word : wordsOf(typed)) {
        const auto [first, last] = wordsBeginning(word.toCaseFolded());
        for (size_t i = first; i < last; ++i)
            found.insert(i);
    }
    QStringList out;
    for (size_t i : found)
        out.append(sortedWords_[i].spelling);
    return out;
}

std::vector<int> HelpTextSearch::topicsFound(const QString& typed, const QStringList& chosenWords) const
{
    QStringList chosen;
    for (const QString& word : chosenWords)
        chosen.append(word.toCaseFolded());
    std::vector<int> result;
    bool firstWord = true;
    for (const QString& typedWord : wordsOf(typed)) {
        const auto [first, last] = wordsBeginning(typedWord.toCaseFolded());
        bool narrowed = false;
        for (size_t i = first; i < last && !narrowed; ++i)
            narrowed = chosen.contains(sortedWords_[i].folded);
        std::set<int> topics;
        for (size_t i = first; i < last; ++i)
            if (!narrowed || chosen.contains(sortedWords_[i].folded))
                topics.insert(sortedWords_[i].topics.begin(), sortedWords_[i].topics.end());
        if (firstWord)
            result.assign(topics.begin(), topics.end());
        else
            std::erase_if(result, [&](int t) { return !topics.contains(t); });
        firstWord = false;
    }
    return result;
}

} // namespace ts
