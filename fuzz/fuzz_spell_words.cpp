// Splits arbitrary text into the words the spell check looks at and checks
// what a word is: letters, apostrophes only between two of them, no digit
// inside or touching it, never overlapping or out of order. Then runs the
// spell check replacing every word, and checks that it was shown the same
// words at the offsets where they stand and that only they were replaced.

#include "FuzzSupport.h"

#include "spelling/SpellWords.h"

namespace {

bool apostrophe(QChar c) { return c == QLatin1Char('\'') || c == QChar(0x2019); }

void checkWord(const QString& text, const ts::TextWord& w, qsizetype previousEnd)
{
    const QByteArray shown = fuzzsupport::printable(text);
    if (w.offset < previousEnd || w.length <= 0 || w.offset + w.length > text.size())
        fuzzsupport::fail("word at %lld+%lld is out of place in '%s'", qlonglong(w.offset), qlonglong(w.length),
                          shown.constData());
    for (qsizetype i = w.offset; i < w.offset + w.length; ++i) {
        const QChar c = text.at(i);
        const bool inner = i > w.offset && i + 1 < w.offset + w.length;
        if (!c.isLetter() && !(inner && apostrophe(c) && !apostrophe(text.at(i + 1))))
            fuzzsupport::fail("word at %lld+%lld of '%s' holds a character that is no letter", qlonglong(w.offset),
                              qlonglong(w.length), shown.constData());
    }
    // Nothing that would belong to the word stands right beside it.
    const auto joins = [&](qsizetype i) { return i >= 0 && i < text.size() && text.at(i).isLetterOrNumber(); };
    const qsizetype before = w.offset - 1;
    const qsizetype after = w.offset + w.length;
    if (joins(before) || (before >= 0 && apostrophe(text.at(before)) && joins(before - 1)) || joins(after) ||
        (after < text.size() && apostrophe(text.at(after)) && joins(after + 1)))
        fuzzsupport::fail("word at %lld+%lld of '%s' is only part of a word", qlonglong(w.offset),
                          qlonglong(w.length), shown.constData());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = fuzzsupport::textOf(fuzzsupport::bytesOf(data, size));
    const QList<ts::TextWord> words = ts::splitWords(text);
    qsizetype end = 0;
    for (const ts::TextWord& w : words) {
        checkWord(text, w, end);
        end = w.offset + w.length;
    }

    // Every word replaced by one of another length: "Q" repeated.
    QString expected;
    qsizetype copied = 0;
    for (const ts::TextWord& w : words) {
        expected += text.mid(copied, w.offset - copied) + QString(w.length % 3 + 1, QLatin1Char('Q'));
        copied = w.offset + w.length;
    }
    expected += text.mid(copied);

    QString checked = text;
    qsizetype seen = 0;
    const bool finished = ts::runSpellCheck(
        checked, [](const QString&) { return false; },
        [&](const QString& word, qsizetype offset) {
            if (seen >= words.size() || word != text.mid(words[seen].offset, words[seen].length))
                fuzzsupport::fail("the spell check was shown '%s' out of turn",
                                  fuzzsupport::printable(word).constData());
            if (checked.mid(offset, word.size()) != word)
                fuzzsupport::fail("the spell check was shown '%s' at offset %lld, where it does not stand",
                                  fuzzsupport::printable(word).constData(), qlonglong(offset));
            const qsizetype length = words[seen++].length;
            return ts::SpellDecision{ts::SpellDecision::Kind::Replace, QString(length % 3 + 1, QLatin1Char('Q'))};
        });
    if (!finished || seen != words.size() || checked != expected)
        fuzzsupport::fail("the spell check replaced the words of '%s' as '%s', expected '%s'",
                          fuzzsupport::printable(text).constData(), fuzzsupport::printable(checked).constData(),
                          fuzzsupport::printable(expected).constData());
    return 0;
}
