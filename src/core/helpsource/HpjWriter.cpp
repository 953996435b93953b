#include "HpjWriter.h"

#include "CompilerCommand.h"
#include "model/IoError.h"
#include "model/WholeFile.h"
#include "model/Project.h"
#include "model/WindowRules.h"
#include "model/Windows1252.h"

namespace ts::HpjWriter {
namespace {

const QByteArray Eol = QByteArrayLiteral("\r\n");

QByteArray number(qint64 value) { return QByteArray::number(value); }

} // namespace

QString pathFor(const Project& project) { return project.projectBase() + QStringLiteral(".HPJ"); }

QByteArray windowLine(const WindowRecord& w)
{
    QByteArray line = w.Name.bytes() + "=\"" + w.Caption.bytes() + '"';
    if (w.DefaultPosition)
        line += ",,";
    else
        line += ",(" + number(w.Left) + ',' + number(w.Top) + ',' + number(w.Width) + ',' + number(w.Height) + "),";
    line += number(windowState(w));
    // Colours are 0x00BBGGRR values printed whole as one decimal number.
    line += ",(r" + number(qint32(w.TopicColour)) + "),(r" + number(qint32(w.NonScrollColour)) + ')';
    if (w.AutoSizeHeight && w.OnTop)
        line += ",f3";
    else if (w.AutoSizeHeight)
        line += ",f2";
    else if (w.OnTop)
        line += ",1";
    return line;
}

QByteArray compilerBase(const Project& project)
{
    const QString base = windowsFormOfPath(project.projectBase());
    for (const QChar c : base)
        if (!cp1252::canEncode(c))
            throw IoError(QStringLiteral("Cannot write the help project for '%1': the help compiler can not read "
                                         "the character '%2' in its path")
                              .arg(project.ProjectPath, c));
    return cp1252::encode(base);
}

QByteArray generate(const Project& project, const ProgressStep& progress)
{
    const QByteArray base = compilerBase(project);
    QByteArray out;
    out += "[OPTIONS]" + Eol;
    out += "COMPRESS=8 Zeck" + Eol;
    out += "ERRORLOG=" + base + ".LOG" + Eol;
    out += "HLP=" + base + ".HLP" + Eol;
    out += Eol;
    out += "[FILES]" + Eol;
    out += base + ".RTF" + Eol;
    out += Eol;
    out += "[MAP]" + Eol;
    for (int i = 0; i < project.TopicCount(); ++i) {
        const TopicRecord& t = project.topic(i);
        if (t.HasCallId)
            out += t.TopicID.bytes() + '=' + number(t.CallId) + Eol;
    }
    out += Eol;
    out += "[WINDOWS]" + Eol;
    const int windows = project.WindowCount();
    for (int k = 0; k < windows; ++k) {
        if (progress)
            progress(100 / windows);
        out += windowLine(project.window(k)) + Eol;
    }
    return out;
}

QString write(const Project& project, const ProgressStep& progress)
{
    const QString path = pathFor(project);
    writeWholeFile(path, generate(project, progress));
    return path;
}

} // namespace ts::HpjWriter
