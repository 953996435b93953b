#pragma once
// Help macros as a published page can run them. A page is no WinHelp: it can
// jump, open a pop-up, look keywords up, show the contents or the index and
// go back; everything else (programs, DLL routines, menus, buttons of the
// viewer) stays inert and says so. The macro text is parsed here, once, at
// publish time; the page's script only carries out the navigation.

#include <QString>
#include <QStringList>

namespace ts::publish {

// One call of a macro string: "JumpId(`x.hlp>sec', `ID')" -> name "JumpId",
// arguments "x.hlp>sec" and "ID" (quotes removed, nested `...' kept inside).
struct MacroCall {
    QString name; // as written
    QStringList arguments;
};

// The calls of a macro string joined with ';' or ':' outside quotes and
// parentheses. Text that is no call (a stray word) is a call without arguments.
QList<MacroCall> parseMacroCalls(const QString& macro);

enum class MacroKind {
    JumpId,       // (file>window, Topic ID)
    JumpContents, // (file)
    JumpContext,  // (file, map number)
    PopupId,      // (file, Topic ID)
    PopupContext, // (file, map number)
    KLink,        // (keywords, ...)
    ALink,        // (keywords, ...)
    Contents,
    Index,        // Finder, Search: the keyword index
    Back,
    Previous,
    Next,
    ExecFile,     // a web or mail address opens as a link
    Ignorable,    // makes no sense on a page and has nothing to show (BrowseButtons, CloseSecondarys, ...)
    Other         // does something a page cannot do
};

// The kind of a macro by its name or alias, without regard to case.
MacroKind macroKind(const QString& name);

} // namespace ts::publish
