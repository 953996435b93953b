#include "SpellWords.h"

namespace ts {

const QStringList& spellExceptionWords()
{
    static const QStringList words{
        QStringLiteral("Alink"),     QStringLiteral("bmc"),          QStringLiteral("bmct"),
        QStringLiteral("bitmap"),    QStringLiteral("Bitmap"),       QStringLiteral("popup"),
        QStringLiteral("Popup"),     QStringLiteral("keyword"),      QStringLiteral("keywords"),
        QStringLiteral("automaticly"), QStringLiteral("Microsoft"),  QStringLiteral("s"),
        QStringLiteral("e"),         QStringLiteral("Uncheck"),      QStringLiteral("uncheck"),
        QStringLiteral("Nonscroll"), QStringLiteral("nonscroll"),    QStringLiteral("Hypergraphic"),
        QStringLiteral("Download"),  QStringLiteral("download"),     QStringLiteral("Shareware"),
        QStringLiteral("shareware"), QStringLiteral("internet"),     QStringLiteral("Internet"),
    };
    return words;
}

bool isSpellException(const QString& word)
{
    return spellExceptionWords().contains(word, Qt::CaseSensitive);
}

namespace {

bool isApostrophe(QChar c)
{
    return c == QLatin1Char('\'') || c == QChar(0x2019);
}

// Whether the word from `start` to `end` belongs to a file name, an address
// or the like: the blank-separated piece of text around it, without the
// punctuation of the sentence it stands in, holds a dot, a slash, an "@" or
// another sign that ordinary words do not join with ("setup.exe",
// "www.example.com", "C:\Pics\logo.bmp", "user@example.com").
bool inFileNameOrAddress(const QString& text, qsizetype start, qsizetype end)
{
    static const QString sentencePunctuation = QStringLiteral(".,;:!?()[]{}<>\"'\u00AB\u00BB\u2018\u2019\u201C\u201D");
    static const QString joiningSigns = QStringLiteral("./\\@:_~#=%&|");
    qsizetype from = start;
    while (from > 0 && !text.at(from - 1).isSpace())
        --from;
    qsizetype to = end;
    while (to < text.size() && !text.at(to).isSpace())
        ++to;
    while (from < start && sentencePunctuation.contains(text.at(from)))
        ++from;
    while (to > end && sentencePunctuation.contains(text.at(to - 1)))
        --to;
    for (qsizetype k = from; k < to; ++k)
        if (joiningSigns.contains(text.at(k)))
            return true;
    return false;
}

} // namespace

std::optional<TextWord> nextWord(const QString& text, qsizetype from)
{
    const qsizetype n = text.size();
    qsizetype i = qMax<qsizetype>(0, from);
    while (i < n) {
        if (!text.at(i).isLetterOrNumber()) {
            ++i;
            continue;
        }
        // A run of letters and digits, with single apostrophes between them.
        const qsizetype start = i;
        bool digit = false;
        while (i < n) {
            const QChar c = text.at(i);
            if (c.isLetterOrNumber()) {
                digit = digit || !c.isLetter();
                ++i;
            } else if (isApostrophe(c) && i + 1 < n && text.at(i + 1).isLetterOrNumber()) {
                ++i;
            } else {
                break;
            }
        }
        if (!digit && !inFileNameOrAddress(text, start, i))
            return TextWord{start, i - start};
    }
    return std::nullopt;
}

QList<TextWord> splitWords(const QString& text)
{
    QList<TextWord> words;
    qsizetype at = 0;
    while (const auto w = nextWord(text, at)) {
        words.append(*w);
        at = w->offset + w->length;
    }
    return words;
}

bool runSpellCheck(QString& text, const std::function<bool(const QString&)>& known,
                   const std::function<SpellDecision(const QString& word, qsizetype offset)>& onUnknown)
{
    qsizetype at = 0;
    while (const auto w = nextWord(text, at)) {
        const QString word = text.mid(w->offset, w->length);
        at = w->offset + w->length;
        if (known(word))
            continue;
        const SpellDecision d = onUnknown(word, w->offset);
        switch (d.kind) {
        case SpellDecision::Kind::Skip:
            break;
        case SpellDecision::Kind::Replace:
            text.replace(w->offset, w->length, d.replacement);
            at = w->offset + d.replacement.size();
            break;
        case SpellDecision::Kind::Stop:
            return false;
        }
    }
    return true;
}

} // namespace ts
