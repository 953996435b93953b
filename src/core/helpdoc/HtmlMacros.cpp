#include "HtmlMacros.h"

#include <QHash>

namespace ts::publish {

namespace {

// The argument text starting at `i` (after any blanks): a "..." or `...'
// string (the latter nesting), or everything to the next top-level ',' or ')'.
QString readArgument(const QString& text, qsizetype& i)
{
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    QString out;
    if (i < text.size() && text.at(i) == QLatin1Char('"')) {
        for (++i; i < text.size() && text.at(i) != QLatin1Char('"'); ++i)
            out += text.at(i);
        ++i;
    } else if (i < text.size() && text.at(i) == QLatin1Char('`')) {
        int depth = 1;
        for (++i; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('`'))
                ++depth;
            else if (c == QLatin1Char('\'') && --depth == 0)
                break;
            out += c;
        }
        ++i;
    } else {
        int depth = 0;
        for (; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (depth == 0 && (c == QLatin1Char(',') || c == QLatin1Char(')')))
                break;
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')'))
                --depth;
            out += c;
        }
        return out.trimmed();
    }
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return out;
}

} // namespace

QList<MacroCall> parseMacroCalls(const QString& macro)
{
    QList<MacroCall> calls;
    qsizetype i = 0;
    while (i < macro.size()) {
        while (i < macro.size() && (macro.at(i).isSpace() || macro.at(i) == QLatin1Char(';') || macro.at(i) == QLatin1Char(':')))
            ++i;
        if (i >= macro.size())
            break;
        MacroCall call;
        while (i < macro.size() && (macro.at(i).isLetterOrNumber() || macro.at(i) == QLatin1Char('_')))
            call.name += macro.at(i++);
        while (i < macro.size() && macro.at(i).isSpace())
            ++i;
        if (i < macro.size() && macro.at(i) == QLatin1Char('(')) {
            ++i;
            while (i < macro.size() && macro.at(i) != QLatin1Char(')')) {
                call.arguments << readArgument(macro, i);
                if (i < macro.size() && macro.at(i) == QLatin1Char(','))
                    ++i;
                else if (i < macro.size() && macro.at(i) != QLatin1Char(')'))
                    ++i; // text after a quoted argument: skip it
            }
            ++i;
        } else if (call.name.isEmpty()) {
            ++i; // a character that starts no name
            continue;
        }
        calls << call;
    }
    return calls;
}

MacroKind macroKind(const QString& name)
{
    static const QHash<QString, MacroKind> kinds = {
        {QStringLiteral("jumpid"), MacroKind::JumpId},         {QStringLiteral("ji"), MacroKind::JumpId},
        {QStringLiteral("jumpcontents"), MacroKind::JumpContents},
        {QStringLiteral("jumpcontext"), MacroKind::JumpContext}, {QStringLiteral("jc"), MacroKind::JumpContext},
        {QStringLiteral("popupid"), MacroKind::PopupId},       {QStringLiteral("pi"), MacroKind::PopupId},
        {QStringLiteral("popupcontext"), MacroKind::PopupContext}, {QStringLiteral("pc"), MacroKind::PopupContext},
        {QStringLiteral("klink"), MacroKind::KLink},           {QStringLiteral("kl"), MacroKind::KLink},
        {QStringLiteral("alink"), MacroKind::ALink},           {QStringLiteral("al"), MacroKind::ALink},
        {QStringLiteral("contents"), MacroKind::Contents},
        {QStringLiteral("finder"), MacroKind::Index},          {QStringLiteral("fd"), MacroKind::Index},
        {QStringLiteral("search"), MacroKind::Index},
        {QStringLiteral("back"), MacroKind::Back},
        {QStringLiteral("prev"), MacroKind::Previous},         {QStringLiteral("next"), MacroKind::Next},
        {QStringLiteral("execfile"), MacroKind::ExecFile},     {QStringLiteral("ef"), MacroKind::ExecFile},
        {QStringLiteral("shellexecute"), MacroKind::ExecFile}, {QStringLiteral("se"), MacroKind::ExecFile},
        {QStringLiteral("browsebuttons"), MacroKind::Ignorable},
        {QStringLiteral("closesecondarys"), MacroKind::Ignorable}, {QStringLiteral("cs"), MacroKind::Ignorable},
        {QStringLiteral("closewindow"), MacroKind::Ignorable}, {QStringLiteral("cw"), MacroKind::Ignorable},
        {QStringLiteral("noshow"), MacroKind::Ignorable},      {QStringLiteral("ns"), MacroKind::Ignorable},
        {QStringLiteral("flush"), MacroKind::Ignorable},       {QStringLiteral("fh"), MacroKind::Ignorable},
        {QStringLiteral("setpopupcolor"), MacroKind::Ignorable}, {QStringLiteral("spc"), MacroKind::Ignorable},
        {QStringLiteral("backflush"), MacroKind::Ignorable},   {QStringLiteral("bf"), MacroKind::Ignorable},
        {QStringLiteral("focuswindow"), MacroKind::Ignorable}, {QStringLiteral("positionwindow"), MacroKind::Ignorable},
        {QStringLiteral("pw"), MacroKind::Ignorable},
    };
    return kinds.value(name.toLower(), MacroKind::Other);
}

} // namespace ts::publish
