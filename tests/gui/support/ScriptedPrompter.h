#pragma once
// A Prompter for GUI tests: records every message and dialog the program
// shows, and answers from a script instead of waiting for a user.
//
// Questions (OK/Cancel, Yes/No) take the next entry of the answer script; file
// dialogs the next path, the colour dialog the next colour, the print dialog
// the next print answer. A plain message (OK only) needs no answer and never
// takes one from the script. A call that finds its script empty is recorded
// as unexpected, answers the choice that changes nothing (Cancel, No, an
// empty path, no colour, no printing) and sets unexpectedCall().

#include "Prompter.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace ts {

class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, OpenFile, SaveFile, Folder, Colour, Print };

    struct Call {
        Kind kind = Kind::Message;
        QString text;          // message text, or the print job title
        QString caption;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        QString filter;        // file dialogs
        QString fileName;      // file and folder dialogs: the name offered
        QString defaultSuffix; // save dialog
        std::uint32_t colour = 0; // colour dialog: the initial colour
        QString document;      // print: the plain text of the document handed over
        bool unexpected = false; // the script had no answer for it
    };

    // The script.
    ScriptedPrompter& answer(Answer a) { answers_.push_back(a); return *this; }
    ScriptedPrompter& path(const QString& p) { paths_.push_back(p); return *this; }
    ScriptedPrompter& colour(std::optional<std::uint32_t> c) { colours_.push_back(c); return *this; }
    ScriptedPrompter& printAnswer(bool print) { prints_.push_back(print); return *this; }

    // Runs after each call is recorded, before it is answered: lets a test
    // look at the program while a modal question is "open".
    std::function<void(const Call&)> onCall;

    const std::vector<Call>& calls() const { return calls_; }
    // The texts of all messages, in order.
    QStringList messages() const;
    QString lastMessage() const;
    bool unexpectedCall() const { return unexpected_; }
    // Script entries not used yet.
    int unusedScript() const;
    // Forgets the records, the script and the unexpected flag.
    void reset();

    Answer message(QWidget* parent, const QString& text, const QString& caption, Buttons buttons,
                   Icon icon) override;
    QString openFile(QWidget* parent, const QString& filter, const QString& fileName) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& fileName,
                     const QString& defaultSuffix) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    std::optional<std::uint32_t> chooseColour(QWidget* parent, std::uint32_t initial) override;
    bool print(QWidget* parent, const QTextDocument& document, const QString& jobTitle) override;

private:
    template <typename T>
    bool take(std::deque<T>& queue, T& out, Call& call);
    void record(const Call& call);

    std::deque<Answer> answers_;
    std::deque<QString> paths_;
    std::deque<std::optional<std::uint32_t>> colours_;
    std::deque<bool> prints_;
    std::vector<Call> calls_;
    bool unexpected_ = false;
};

// Readable answers in Qt Test failure output (found by QCOMPARE; the caller
// owns the string, as Qt Test expects).
char* toString(Prompter::Answer a);

} // namespace ts
