#pragma once
// Help file macros as data: the text a help file stores ("JumpId(`a.hlp',
// `intro'):BrowseButtons()") parsed into calls, and the decision what a
// viewer may do with each call. Nothing here runs anything; the viewer
// executes the calls it is told are safe.
//
// Syntax: Name(arg, ...) calls joined by ';' or ':'; strings in "..." (with
// \" and \\ escapes) or `...' (which nest); numbers decimal or 0x hex; an
// argument may itself be a call, kept as its text. Names are compared without
// regard to case, and the short aliases (JI, AL, CBB, ...) name the same macro.
//
// Errors: a text that cannot be parsed gives the calls read before the fault
// and a message in HelpMacroList::error; nothing throws.

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace ts {

struct HelpMacroCall {
    QString name;      // as written: "JI"
    QString macro;     // the built-in macro's full name ("JumpId"), empty when not built in
    QStringList args;  // strings without their quotes, numbers and nested calls as written
    QString text;      // the whole call as written, for messages

    QString arg(int index) const { return index < args.size() ? args.at(index) : QString(); }
    // A numeric argument (decimal, 0x hex, or negative decimal); empty when it is not a number.
    std::optional<qint64> number(int index) const;
    bool is(const QString& fullName) const { return macro.compare(fullName, Qt::CaseInsensitive) == 0; }
};

struct HelpMacroList {
    std::vector<HelpMacroCall> calls;
    QString error; // empty when the whole text was read
};

HelpMacroList parseHelpMacros(const QString& text);

// The full name of a built-in macro or alias ("cbb" -> "ChangeButtonBinding");
// empty for any other name.
QString builtInMacroName(const QString& name);

// What a viewer may do with one call.
struct HelpMacroDecision {
    enum class Kind {
        Run,          // a macro the viewer carries out itself (navigation, buttons, windows)
        OpenAddress,  // a web or mail address: show it, and open the browser if the user agrees
        RunsProgram,  // would start a program or load a library: refused, never run
        NotSupported, // anything else: shown as not supported, the rest goes on
    };
    Kind kind = Kind::NotSupported;
    // OpenAddress: the address (a bare "www." name gets "http://");
    // RunsProgram: what it would run, for "This help file asks to run ...".
    QString detail;
};

// Decides about calls one after the other. It remembers the routines a file
// registers with RegisterRoutine, so that a later call of one is refused as
// a program rather than reported as an unknown macro.
class HelpMacroPolicy {
public:
    HelpMacroDecision decide(const HelpMacroCall& call);

    // The macros that decide() answers Run for, by full name.
    static const QStringList& runnableMacros();

    // "This help file asks to run X; Topicsmith does not run programs from help files."
    static QString refusalMessage(const QStringList& whatItRuns);

private:
    QHash<QString, QString> registered_; // folded routine name -> its library
};

} // namespace ts
