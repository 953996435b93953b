#include "Speller.h"

#include "spelling/SpellWords.h"

#include <QFile>
#include <QFileInfo>

#include <hunspell.hxx>

namespace ts {

QString Speller::defaultAffPath()
{
    return QStringLiteral("/usr/share/hunspell/en_US.aff");
}

QString Speller::defaultDicPath()
{
    return QStringLiteral("/usr/share/hunspell/en_US.dic");
}

Speller::Speller(QObject* parent) : QObject(parent)
{
}

Speller::~Speller() = default;

bool Speller::loadDictionary(const QString& affPath, const QString& dicPath)
{
    for (const QString& path : {affPath, dicPath}) {
        QFileInfo info(path);
        if (!info.isFile() || !info.isReadable())
            return false;
    }
    auto h = std::make_unique<Hunspell>(QFile::encodeName(affPath).constData(),
                                        QFile::encodeName(dicPath).constData());
    utf8_ = QString::fromLatin1(h->get_dict_encoding()).compare(QStringLiteral("UTF-8"), Qt::CaseInsensitive) == 0;
    hunspell_ = std::move(h);
    if (!personalPath_.isEmpty())
        setPersonalDictionary(personalPath_);
    return true;
}

void Speller::setPersonalDictionary(const QString& path)
{
    personalPath_ = path;
    if (!hunspell_ || path.isEmpty())
        return;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QStringList words = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& w : words)
        hunspell_->add(encode(w.trimmed()));
}

std::string Speller::encode(const QString& word) const
{
    return utf8_ ? word.toStdString() : word.toLatin1().toStdString();
}

QString Speller::decode(const std::string& word) const
{
    return utf8_ ? QString::fromStdString(word) : QString::fromLatin1(word.data(), qsizetype(word.size()));
}

bool Speller::isKnown(const QString& word) const
{
    if (ignored_.contains(word))
        return true;
    return hunspell_ && hunspell_->spell(encode(word));
}

QStringList Speller::suggestions(const QString& word) const
{
    QStringList out;
    if (!hunspell_)
        return out;
    for (const std::string& s : hunspell_->suggest(encode(word)))
        out.append(decode(s));
    return out;
}

void Speller::addWord(const QString& word)
{
    if (hunspell_)
        hunspell_->add(encode(word));
    else
        ignored_.insert(word);
    if (personalPath_.isEmpty())
        return;
    // The word is known for this run even if the list cannot be written.
    QFile f(personalPath_);
    if (f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        f.write(word.toUtf8() + '\n');
}

void Speller::setCheckText(const QString& text)
{
    text_ = text;
    result_ = 0;
    const bool done = runSpellCheck(
        text_, [this](const QString& w) { return isKnown(w); },
        [this](const QString& word, qsizetype offset) {
            word_ = word;
            offset_ = std::int32_t(offset);
            std::int16_t action = 0;
            if (onMisspelled)
                onMisspelled(*this, action);
            if (action == 1)
                return SpellDecision{};
            const Answer a = answers_ ? answers_(Question{word, text_, offset, suggestions(word)}) : Answer{};
            switch (a.kind) {
            case Answer::Kind::Ignore:
                return SpellDecision{};
            case Answer::Kind::IgnoreAll:
                ignored_.insert(word);
                return SpellDecision{};
            case Answer::Kind::Add:
                addWord(word);
                return SpellDecision{};
            case Answer::Kind::Cancel:
                return SpellDecision{SpellDecision::Kind::Stop, {}};
            case Answer::Kind::Change:
                break;
            }
            clicked_ = ChangeButton;
            clickInfo_ = a.replacement;
            action = 0;
            if (onClickIn)
                onClickIn(*this, action);
            if (action == 1 || a.replacement == word)
                return SpellDecision{};
            return SpellDecision{SpellDecision::Kind::Replace, a.replacement};
        });
    if (!done)
        result_ = Cancelled;
}

} // namespace ts
