#pragma once
// The speller of the main window: checks a text word by word against a
// Hunspell dictionary and reports through two callbacks, the way the main
// window expects of its spell-checking control.
//
//   setCheckText(text)  checks `text` before it returns. Each unknown word
//                       raises onMisspelled (misspelledWord, wordOffset);
//                       an action of 1 passes it over, otherwise the
//                       word is put to the user (the answer source). A
//                       chosen replacement raises onClickIn with
//                       clickedButton 32 and clickInfoText; an action
//                       of 1 there keeps the word.
//   resultCode()        after a check: 0, or -3 when the user cancelled.
//
// wordOffset is the word's offset in the checked text as it stands after the
// replacements made earlier in the same check.

#include "SpellingQuestion.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class Hunspell;

namespace ts {

class Speller : public QObject {
    Q_OBJECT
public:
    // clickedButton of the Change button.
    static constexpr std::int32_t ChangeButton = 32;
    static constexpr std::int16_t Cancelled = -3;

    using Answer = SpellingAnswer;
    using Question = SpellingQuestion;
    using AnswerSource = std::function<Answer(const Question&)>;
    using Event = std::function<void(Speller& sender, std::int16_t& action)>;

    static QString defaultAffPath();
    static QString defaultDicPath();

    explicit Speller(QObject* parent = nullptr);
    ~Speller() override;

    // Loads a dictionary; false when either file is missing or unreadable
    // (the speller keeps the dictionary it had).
    bool loadDictionary(const QString& affPath, const QString& dicPath);
    bool hasDictionary() const { return static_cast<bool>(hunspell_); }
    // A word list of the user's, one word a line: read now, and the words
    // the user adds are appended to it. Empty: added words last the run.
    void setPersonalDictionary(const QString& path);
    QString personalDictionary() const { return personalPath_; }

    // Who answers for the user: none at first (an unknown word then cancels
    // the check); the tools commands put the spelling dialog here, tests a
    // scripted user.
    void setAnswerSource(AnswerSource source) { answers_ = std::move(source); }

    bool isKnown(const QString& word) const;
    QStringList suggestions(const QString& word) const;

    // The mask of dialog elements that are switched off; kept, not used.
    void setDisableDialogElements(std::int32_t mask) { disable_ = mask; }
    std::int32_t disabledDialogElements() const { return disable_; }

    void setCheckText(const QString& text);
    QString checkText() const { return text_; }
    std::int16_t resultCode() const { return result_; }
    QString misspelledWord() const { return word_; }
    std::int32_t wordOffset() const { return offset_; }
    std::int32_t clickedButton() const { return clicked_; }
    QString clickInfoText() const { return clickInfo_; }

    Event onMisspelled;
    Event onClickIn;

private:
    std::string encode(const QString& word) const;
    QString decode(const std::string& word) const;
    void addWord(const QString& word);

    std::unique_ptr<Hunspell> hunspell_;
    bool utf8_ = true;
    QString personalPath_;
    QSet<QString> ignored_;
    AnswerSource answers_;
    std::int32_t disable_ = 0;
    QString text_;
    std::int16_t result_ = 0;
    QString word_;
    std::int32_t offset_ = 0;
    std::int32_t clicked_ = 0;
    QString clickInfo_;
};

} // namespace ts
