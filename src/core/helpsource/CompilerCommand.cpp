#include "CompilerCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace ts {
namespace {

qsizetype lastSeparator(const QString& path, bool slashToo)
{
    qsizetype at = qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':')));
    if (slashToo)
        at = qMax(at, path.lastIndexOf(QLatin1Char('/')));
    return at;
}

} // namespace

QString windowsFormOfPath(const QString& path)
{
    static const QRegularExpression windowsPath(QStringLiteral("^([A-Za-z]:|\\\\\\\\)"));
    QString form = windowsPath.match(path).hasMatch()
                       ? path
                       : QStringLiteral("Z:") + QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    form.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return form;
}

QString compilerFileName(const QString& path, bool slashToo) { return path.mid(lastSeparator(path, slashToo) + 1); }

std::optional<CompilerCommand> makeCompilerCommand(const QString& compilerPath, const QString& hpjPath,
                                                   bool caseSensitive)
{
    const qsizetype sep = lastSeparator(compilerPath, caseSensitive);
    QString name = compilerPath.mid(sep + 1);
    if (caseSensitive)
        name = name.toUpper();

    CompilerCommand command;
    if (name == QLatin1String("HCW.EXE")) {
        command.Program = QStringLiteral("hcw.exe");
        command.Arguments = {QStringLiteral("/c"), QStringLiteral("/e"), QStringLiteral("/r")};
    } else if (name == QLatin1String("HCRTF.EXE")) {
        command.Program = QStringLiteral("hcrtf.exe");
        command.Arguments = {QStringLiteral("/xh")};
    } else {
        return std::nullopt;
    }
    command.Parameters = command.Arguments.join(QLatin1Char(' ')) + QLatin1Char(' ') + hpjPath;
    command.Arguments.append(hpjPath);
    command.WorkingFolder = compilerPath.left(sep + 1);
    command.CompilerPath = compilerPath;
    return command;
}

CompilerLaunch planCompilerLaunch(const CompilerCommand& command, bool onWindows, bool wineAvailable)
{
    CompilerLaunch launch;
    launch.WorkingFolder = command.WorkingFolder;
    // The compiler is started by its full path: a bare "hcw.exe" would be
    // looked up on the PATH, not in its own folder.
    const bool windowsProgram = command.CompilerPath.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
    launch.Program = command.CompilerPath;
    launch.Arguments = command.Arguments;
    if (!onWindows && windowsProgram) {
        if (!launch.Arguments.isEmpty())
            launch.Arguments.last() = windowsFormOfPath(launch.Arguments.last());
        if (wineAvailable) {
            launch.Arguments.prepend(command.CompilerPath);
            launch.Program = QStringLiteral("wine");
        }
    }
    return launch;
}

bool wineAvailable() { return !QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty(); }

} // namespace ts
