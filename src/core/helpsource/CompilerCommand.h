#pragma once
// How the help compiler is started on the project's .HPJ: which compiler,
// with which parameters, in which folder. Pure computation; the GUI starts
// the process without waiting for it.
//
// The compiler's file name is the part of its path after the last "\" or ":"
// (on case-sensitive file systems also "/"), its folder the part up to and
// including that character. "HCW.EXE" runs with "/c /e /r " + HPJ, "HCRTF.EXE"
// with "/xh " + HPJ; any other name starts nothing. Paths chosen on Windows
// are stored in upper case and compared exactly; on case-sensitive file
// systems a path keeps its own case and its upper-cased file name is compared.

#include <QString>
#include <QStringList>
#include <optional>

namespace ts {

// The value of CompilerPath while no compiler has been chosen.
inline const QString NoCompilerPath = QStringLiteral("NoCompiler");

struct CompilerCommand {
    QString Program;       // "hcw.exe" or "hcrtf.exe"
    QString Parameters;    // e.g. "/c /e /r C:\Help\Demo.HPJ": the HPJ unquoted
    QString WorkingFolder; // the compiler's folder, with its trailing separator
    QString CompilerPath;  // the compiler's path in its own case, as stored
    QStringList Arguments; // the parameters as separate arguments, HPJ last and whole
};

// Whether file names differ by case here (all but Windows).
constexpr bool CaseSensitiveFileNames =
#ifdef Q_OS_WIN
    false;
#else
    true;
#endif

// The path as a Windows program under wine sees it: "Z:" and the absolute
// path with "/" turned into "\" (what `winepath -w` gives, computed without
// starting wine). A path that is already a Windows one (a drive letter and
// ":", or "\\") stays where it is and only has its "/" turned into "\".
// The help compilers are Windows programs, so every path they read (the
// .HPJ's file names, the HPJ argument) is given in this form.
QString windowsFormOfPath(const QString& path);

// The part of `path` after its last "\" or ":" (or "/" when `slashToo`).
QString compilerFileName(const QString& path, bool slashToo = CaseSensitiveFileNames);

// The command for `compilerPath` and the HPJ file, or nothing for an unknown
// compiler name (and for "NoCompiler").
std::optional<CompilerCommand> makeCompilerCommand(const QString& compilerPath, const QString& hpjPath,
                                                   bool caseSensitive = CaseSensitiveFileNames);

// What to hand to the process starter.
struct CompilerLaunch {
    QString Program;
    QStringList Arguments;
    QString WorkingFolder;
};

// On Windows the compiler itself runs. Elsewhere a ".exe" compiler runs
// through `wine` when wine is on the PATH, otherwise it is started directly
// (and fails quietly when it can't run, as a failed start always does); in
// both cases it is a Windows program and gets the HPJ (its last argument) in
// the Windows form.
CompilerLaunch planCompilerLaunch(const CompilerCommand& command, bool onWindows, bool wineAvailable);

// Whether `wine` can be found on the PATH.
bool wineAvailable();

} // namespace ts
