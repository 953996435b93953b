#include "HelpMacro.h"

#include <QRegularExpression>

namespace ts {
namespace {

// Every built-in macro with its short alias, where it has one.
struct MacroName {
    const char* full;
    const char* alias;
};

constexpr MacroName MacroNames[] = {
    {"About", nullptr},           {"AddAccelerator", "AA"},     {"ALink", "AL"},
    {"Annotate", nullptr},        {"AppendItem", nullptr},      {"Back", nullptr},
    {"BackFlush", "BF"},          {"BookmarkDefine", nullptr},  {"BookmarkMore", nullptr},
    {"BrowseButtons", nullptr},   {"ChangeButtonBinding", "CBB"}, {"ChangeEnable", "CE"},
    {"ChangeItemBinding", "CIB"}, {"CheckItem", "CI"},          {"CloseSecondarys", "CS"},
    {"CloseWindow", "CW"},        {"Compare", nullptr},         {"Contents", nullptr},
    {"ControlPanel", nullptr},    {"CopyDialog", nullptr},      {"CopyTopic", "CT"},
    {"CreateButton", "CB"},       {"DeleteItem", nullptr},      {"DeleteMark", nullptr},
    {"DestroyButton", nullptr},   {"DisableButton", "DB"},      {"DisableItem", "DI"},
    {"EnableButton", "EB"},       {"EnableItem", "EI"},         {"EndMPrint", nullptr},
    {"ExecFile", "EF"},           {"ExecProgram", "EP"},        {"Exit", nullptr},
    {"ExtAbleItem", nullptr},     {"ExtInsertItem", nullptr},   {"ExtInsertMenu", nullptr},
    {"FileExist", "FE"},          {"FileOpen", "FO"},           {"Find", nullptr},
    {"Finder", "FD"},             {"FloatingMenu", nullptr},    {"Flush", "FH"},
    {"FocusWindow", nullptr},     {"Generate", nullptr},        {"GotoMark", nullptr},
    {"HelpOn", nullptr},          {"HelpOnTop", nullptr},       {"History", nullptr},
    {"InitMPrint", nullptr},      {"InsertItem", nullptr},      {"InsertMenu", nullptr},
    {"IfThen", "IF"},             {"IfThenElse", "IE"},         {"IsBook", nullptr},
    {"IsMark", nullptr},          {"IsNotMark", "NM"},          {"JumpContents", nullptr},
    {"JumpContext", "JC"},        {"JumpHash", "JH"},           {"JumpHelpOn", nullptr},
    {"JumpId", "JI"},             {"JumpKeyword", "JK"},        {"KLink", "KL"},
    {"Menu", "MU"},               {"MPrintHash", nullptr},      {"MPrintId", nullptr},
    {"Next", nullptr},            {"NoShow", "NS"},             {"PopupContext", "PC"},
    {"PopupHash", nullptr},       {"PopupId", "PI"},            {"PositionWindow", "PW"},
    {"Prev", nullptr},            {"Print", nullptr},           {"PrinterSetup", nullptr},
    {"RegisterRoutine", "RR"},    {"RemoveAccelerator", "RA"},  {"ResetMenu", nullptr},
    {"SaveMark", nullptr},        {"Search", nullptr},          {"SetContents", nullptr},
    {"SetHelpOnFile", nullptr},   {"SetPopupColor", "SPC"},     {"ShellExecute", "SE"},
    {"ShortCut", "SH"},           {"TCard", nullptr},           {"Test", nullptr},
    {"TestALink", nullptr},       {"TestKLink", nullptr},       {"UncheckItem", "UI"},
    {"UpdateWindow", "UW"},
};

const QHash<QString, QString>& macroNamesByFoldedName()
{
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> map;
        for (const MacroName& name : MacroNames) {
            const QString full = QString::fromLatin1(name.full);
            map.insert(full.toCaseFolded(), full);
            if (name.alias)
                map.insert(QString::fromLatin1(name.alias).toCaseFolded(), full);
        }
        return map;
    }();
    return names;
}

// Reads macro text left to right. Each read function leaves `pos` after what
// it read and returns false, with `error` set, on a fault.
class MacroReader {
public:
    explicit MacroReader(const QString& text) : text_(text) {}

    HelpMacroList readAll()
    {
        HelpMacroList list;
        skipSeparators();
        while (pos_ < text_.size()) {
            HelpMacroCall call;
            if (!readCall(call)) {
                list.error = error_;
                break;
            }
            list.calls.push_back(std::move(call));
            skipSpaces();
            if (pos_ < text_.size() && !isSeparator(text_.at(pos_))) {
                list.error = QStringLiteral("';' or ':' expected after %1 at position %2")
                                 .arg(list.calls.back().name)
                                 .arg(pos_ + 1);
                break;
            }
            skipSeparators();
        }
        return list;
    }

private:
    static bool isSeparator(QChar c) { return c == QLatin1Char(';') || c == QLatin1Char(':'); }

    void skipSpaces()
    {
        while (pos_ < text_.size() && text_.at(pos_).isSpace())
            ++pos_;
    }
    void skipSeparators()
    {
        while (pos_ < text_.size() && (text_.at(pos_).isSpace() || isSeparator(text_.at(pos_))))
            ++pos_;
    }
    bool fail(const QString& message)
    {
        error_ = message;
        return false;
    }

    bool readCall(HelpMacroCall& call)
    {
        const qsizetype start = pos_;
        while (pos_ < text_.size() && (text_.at(pos_).isLetterOrNumber() || text_.at(pos_) == QLatin1Char('_')))
            ++pos_;
        call.name = text_.mid(start, pos_ - start);
        if (call.name.isEmpty())
            return fail(QStringLiteral("a macro name expected at position %1").arg(start + 1));
        call.macro = builtInMacroName(call.name);
        skipSpaces();
        // A call without parentheses ("Back") is the call without arguments.
        if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char('(')) {
            ++pos_;
            if (!readArguments(call))
                return false;
        }
        call.text = text_.mid(start, pos_ - start);
        return true;
    }

    bool readArguments(HelpMacroCall& call)
    {
        skipSpaces();
        if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char(')')) {
            ++pos_;
            return true;
        }
        for (;;) {
            QString arg;
            if (!readArgument(arg))
                return false;
            call.args.append(arg);
            skipSpaces();
            if (pos_ >= text_.size())
                return fail(QStringLiteral("')' missing after the arguments of %1").arg(call.name));
            const QChar c = text_.at(pos_++);
            if (c == QLatin1Char(')'))
                return true;
            if (c != QLatin1Char(','))
                return fail(QStringLiteral("',' or ')' expected in %1 at position %2").arg(call.name).arg(pos_));
            skipSpaces();
        }
    }

    bool readArgument(QString& arg)
    {
        skipSpaces();
        if (pos_ >= text_.size())
            return fail(QStringLiteral("an argument expected at the end"));
        const QChar c = text_.at(pos_);
        if (c == QLatin1Char('"'))
            return readDoubleQuoted(arg);
        if (c == QLatin1Char('`'))
            return readBackQuoted(arg);
        return readBare(arg);
    }

    bool readDoubleQuoted(QString& arg)
    {
        const qsizetype start = pos_++;
        while (pos_ < text_.size()) {
            const QChar c = text_.at(pos_++);
            if (c == QLatin1Char('"'))
                return true;
            if (c == QLatin1Char('\\') && pos_ < text_.size())
                arg += text_.at(pos_++);
            else
                arg += c;
        }
        return fail(QStringLiteral("the string at position %1 is not closed").arg(start + 1));
    }

    // `...' strings nest, so a macro inside a macro keeps its own quotes.
    bool readBackQuoted(QString& arg)
    {
        const qsizetype start = pos_++;
        int depth = 1;
        while (pos_ < text_.size()) {
            const QChar c = text_.at(pos_++);
            if (c == QLatin1Char('`'))
                ++depth;
            else if (c == QLatin1Char('\'') && --depth == 0)
                return true;
            arg += c;
        }
        return fail(QStringLiteral("the string at position %1 is not closed").arg(start + 1));
    }

    // A number, a name or a nested call: up to the ',' or ')' that ends it.
    bool readBare(QString& arg)
    {
        const qsizetype start = pos_;
        int depth = 0;
        while (pos_ < text_.size()) {
            const QChar c = text_.at(pos_);
            if (depth == 0 && (c == QLatin1Char(',') || c == QLatin1Char(')')))
                break;
            if (c == QLatin1Char('"') || c == QLatin1Char('`')) {
                QString ignored;
                if (!(c == QLatin1Char('"') ? readDoubleQuoted(ignored) : readBackQuoted(ignored)))
                    return false;
                continue;
            }
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')'))
                --depth;
            ++pos_;
        }
        if (depth != 0)
            return fail(QStringLiteral("')' missing in the argument at position %1").arg(start + 1));
        arg = text_.mid(start, pos_ - start).trimmed();
        return true;
    }

    const QString& text_;
    qsizetype pos_ = 0;
    QString error_;
};

QString addressOf(const QString& target)
{
    static const QRegularExpression scheme(QStringLiteral("^(https?|ftp|mailto|news):"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = target.trimmed();
    if (scheme.match(trimmed).hasMatch())
        return trimmed;
    if (trimmed.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QStringLiteral("http://") + trimmed;
    return QString();
}

// Macros that start programs, load libraries or talk to other programs.
bool startsProgram(const QString& macro)
{
    static const QStringList names = {QStringLiteral("ExecFile"),     QStringLiteral("ShellExecute"),
                                      QStringLiteral("ExecProgram"),  QStringLiteral("RegisterRoutine"),
                                      QStringLiteral("ShortCut"),     QStringLiteral("ControlPanel")};
    return names.contains(macro);
}

HelpMacroDecision refuse(const QString& what) { return {HelpMacroDecision::Kind::RunsProgram, what}; }

HelpMacroDecision decideProgram(const HelpMacroCall& call)
{
    if (call.is(QStringLiteral("ExecFile")) || call.is(QStringLiteral("ShellExecute"))) {
        const QString address = addressOf(call.arg(0));
        if (!address.isEmpty())
            return {HelpMacroDecision::Kind::OpenAddress, address};
        return refuse(QStringLiteral("the program %1").arg(call.arg(0)));
    }
    if (call.is(QStringLiteral("ExecProgram")))
        return refuse(QStringLiteral("the program %1").arg(call.arg(0)));
    if (call.is(QStringLiteral("ShortCut")))
        return refuse(QStringLiteral("the program %1").arg(call.arg(1)));
    if (call.is(QStringLiteral("ControlPanel")))
        return refuse(QStringLiteral("the Control Panel item %1").arg(call.arg(0)));
    return refuse(QStringLiteral("%1 from the library %2").arg(call.arg(1), call.arg(0)));
}

} // namespace

std::optional<qint64> HelpMacroCall::number(int index) const
{
    const QString text = arg(index).trimmed();
    bool ok = false;
    qint64 value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

HelpMacroList parseHelpMacros(const QString& text) { return MacroReader(text).readAll(); }

QString builtInMacroName(const QString& name) { return macroNamesByFoldedName().value(name.toCaseFolded()); }

const QStringList& HelpMacroPolicy::runnableMacros()
{
    static const QStringList names = {
        QStringLiteral("About"),         QStringLiteral("ALink"),           QStringLiteral("Back"),
        QStringLiteral("BackFlush"),     QStringLiteral("BrowseButtons"),   QStringLiteral("ChangeButtonBinding"),
        QStringLiteral("CloseSecondarys"), QStringLiteral("CloseWindow"),   QStringLiteral("Contents"),
        QStringLiteral("CopyTopic"),     QStringLiteral("CreateButton"),    QStringLiteral("DestroyButton"),
        QStringLiteral("DisableButton"), QStringLiteral("EnableButton"),    QStringLiteral("Exit"),
        QStringLiteral("Find"),          QStringLiteral("Finder"),          QStringLiteral("Flush"),
        QStringLiteral("FocusWindow"),   QStringLiteral("History"),         QStringLiteral("JumpContents"),
        QStringLiteral("JumpContext"),   QStringLiteral("JumpHash"),        QStringLiteral("JumpId"),
        QStringLiteral("JumpKeyword"),   QStringLiteral("KLink"),           QStringLiteral("Next"),
        QStringLiteral("PopupContext"),  QStringLiteral("PopupHash"),       QStringLiteral("PopupId"),
        QStringLiteral("Prev"),          QStringLiteral("Print"),           QStringLiteral("Search"),
        QStringLiteral("SetContents"),   QStringLiteral("SetPopupColor"),
    };
    return names;
}

HelpMacroDecision HelpMacroPolicy::decide(const HelpMacroCall& call)
{
    if (call.is(QStringLiteral("RegisterRoutine")) && !call.arg(1).isEmpty())
        registered_.insert(call.arg(1).toCaseFolded(), call.arg(0));
    if (startsProgram(call.macro))
        return decideProgram(call);
    const auto routine = registered_.constFind(call.name.toCaseFolded());
    if (call.macro.isEmpty() && routine != registered_.constEnd())
        return refuse(QStringLiteral("%1 from the library %2").arg(call.name, routine.value()));
    if (runnableMacros().contains(call.macro))
        return {HelpMacroDecision::Kind::Run, QString()};
    return {HelpMacroDecision::Kind::NotSupported, QString()};
}

QString HelpMacroPolicy::refusalMessage(const QStringList& whatItRuns)
{
    return QStringLiteral("This help file asks to run %1; Topicsmith does not run programs from help files.")
        .arg(whatItRuns.join(QStringLiteral(", ")));
}

} // namespace ts
