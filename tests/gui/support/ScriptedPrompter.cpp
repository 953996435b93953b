#include "ScriptedPrompter.h"

#include <QByteArray>
#include <QTextDocument>

namespace ts {

template <typename T>
bool ScriptedPrompter::take(std::deque<T>& queue, T& out, Call& call)
{
    if (queue.empty()) {
        call.unexpected = true;
        unexpected_ = true;
        return false;
    }
    out = queue.front();
    queue.pop_front();
    return true;
}

void ScriptedPrompter::record(const Call& call)
{
    calls_.push_back(call);
    if (onCall)
        onCall(call);
}

QStringList ScriptedPrompter::messages() const
{
    QStringList out;
    for (const Call& c : calls_)
        if (c.kind == Kind::Message)
            out.append(c.text);
    return out;
}

QString ScriptedPrompter::lastMessage() const
{
    const QStringList all = messages();
    return all.isEmpty() ? QString() : all.constLast();
}

int ScriptedPrompter::unusedScript() const
{
    return int(answers_.size() + paths_.size() + colours_.size() + prints_.size());
}

void ScriptedPrompter::reset()
{
    answers_.clear();
    paths_.clear();
    colours_.clear();
    prints_.clear();
    calls_.clear();
    unexpected_ = false;
}

Prompter::Answer ScriptedPrompter::message(QWidget*, const QString& text, const QString& caption,
                                           Buttons buttons, Icon icon)
{
    Call call;
    call.kind = Kind::Message;
    call.text = text;
    call.caption = caption;
    call.buttons = buttons;
    call.icon = icon;
    Answer a = Answer::Ok;
    if (buttons != Buttons::Ok && !take(answers_, a, call))
        a = buttons == Buttons::YesNo || buttons == Buttons::YesNoOrKeep ? Answer::No : Answer::Cancel;
    record(call);
    return a;
}

QString ScriptedPrompter::openFile(QWidget*, const QString& filter, const QString& fileName)
{
    Call call;
    call.kind = Kind::OpenFile;
    call.filter = filter;
    call.fileName = fileName;
    QString p;
    take(paths_, p, call);
    record(call);
    return p;
}

QString ScriptedPrompter::saveFile(QWidget*, const QString& filter, const QString& fileName,
                                   const QString& defaultSuffix)
{
    Call call;
    call.kind = Kind::SaveFile;
    call.filter = filter;
    call.fileName = fileName;
    call.defaultSuffix = defaultSuffix;
    QString p;
    take(paths_, p, call);
    record(call);
    return p;
}

// A folder dialog takes the next path of the script, as file dialogs do.
QString ScriptedPrompter::chooseFolder(QWidget*, const QString& caption, const QString& folder)
{
    Call call;
    call.kind = Kind::Folder;
    call.caption = caption;
    call.fileName = folder;
    QString p;
    take(paths_, p, call);
    record(call);
    return p;
}

std::optional<std::uint32_t> ScriptedPrompter::chooseColour(QWidget*, std::uint32_t initial)
{
    Call call;
    call.kind = Kind::Colour;
    call.colour = initial;
    std::optional<std::uint32_t> c;
    take(colours_, c, call);
    record(call);
    return c;
}

bool ScriptedPrompter::print(QWidget*, const QTextDocument& document, const QString& jobTitle)
{
    Call call;
    call.kind = Kind::Print;
    call.text = jobTitle;
    call.document = document.toPlainText();
    bool p = false;
    take(prints_, p, call);
    record(call);
    return p;
}

char* toString(Prompter::Answer a)
{
    switch (a) {
    case Prompter::Answer::Ok: return qstrdup("Ok");
    case Prompter::Answer::Cancel: return qstrdup("Cancel");
    case Prompter::Answer::Yes: return qstrdup("Yes");
    case Prompter::Answer::No: return qstrdup("No");
    }
    return qstrdup("?");
}

} // namespace ts
