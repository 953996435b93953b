#include "HelpImportContents.h"

namespace ts::helpimport {
namespace {

// The entry's text in the contents notation.
QString entryText(const HelpContentsEntry& entry, const HelpDocument& doc, const TopicNames& names, ImportLog& log)
{
    if (entry.kind == HelpContentsEntry::Kind::Book) {
        if (entry.text.contains(QLatin1Char('=')))
            log.note(QStringLiteral("Contents: the heading \"%1\" holds \"=\", so the project reads it as a topic entry")
                         .arg(entry.text));
        return entry.text;
    }
    if (entry.kind == HelpContentsEntry::Kind::Macro)
        return entry.text + QStringLiteral("=!") + entry.macro;
    QString text = entry.text + QLatin1Char('=');
    if (entry.text.contains(QLatin1Char('=')) || entry.text.contains(QLatin1Char('@'))
        || entry.text.contains(QLatin1Char('>')))
        log.note(QStringLiteral("Contents: the title \"%1\" holds \"=\", \"@\" or \">\", which the contents editor "
                                "takes for the start of the Topic ID, file or window")
                     .arg(entry.text));
    const bool here = entry.file.isEmpty() || namesThisHelpFile(doc, entry.file);
    if (here) {
        const QString id = names.targetForName(entry.topicId);
        if (id.compare(entry.topicId, Qt::CaseInsensitive) != 0)
            log.note(QStringLiteral("Contents: the entry \"%1\" opens %2, the Topic ID the topic got (the .CNT names "
                                    "it %3)")
                         .arg(entry.text, id, entry.topicId));
        else if (entry.topic < 0)
            log.note(QStringLiteral("Contents: the entry \"%1\" opens %2, which no topic of the help file has")
                         .arg(entry.text, entry.topicId));
        text += id;
    } else {
        text += entry.topicId + QLatin1Char('@') + entry.file;
    }
    if (!entry.window.isEmpty() && entry.window != QLatin1String("main"))
        text += QLatin1Char('>') + entry.window;
    return text;
}

void logFileLines(const HelpContents& contents, const QString& mainCaption, ImportLog& log)
{
    if (!contents.title.isEmpty() && contents.title != mainCaption)
        log.note(QStringLiteral("Contents: the title \"%1\" is not kept; the built contents file takes the caption "
                                "of the window \"main\" (\"%2\")")
                     .arg(contents.title, mainCaption));
    if (!contents.baseWindow.isEmpty())
        log.note(QStringLiteral("Contents: the default window %1 of the entries (:Base) is not kept").arg(contents.baseWindow));
    for (const QString& link : contents.links)
        log.note(QStringLiteral("Contents: \":Link %1\" (keywords of another file for ALink and KLink) is not kept").arg(link));
    for (const HelpContents::Index& index : contents.indexes)
        log.note(QStringLiteral("Contents: \":Index %1=%2\" (another file's keywords in the index) is not kept")
                     .arg(index.title, index.file));
}

} // namespace

ContentsTree contentsFromHelp(const HelpDocument& document, const TopicNames& names, const QString& mainCaption,
                              ImportLog& log)
{
    const HelpContents& contents = document.contents;
    ContentsTree tree;
    if (contents.path.isEmpty())
        return tree;
    logFileLines(contents, mainCaption, log);
    // The path from the top to the entry last placed.
    std::vector<ContentsEntry*> path;
    for (const HelpContentsEntry& entry : contents.entries) {
        if (entry.kind == HelpContentsEntry::Kind::Include) {
            log.note(QStringLiteral("Contents: \":Include %1\" is not kept; the entries read from it, if any, are "
                                    "written in its place")
                         .arg(entry.topicId));
            continue;
        }
        const int wanted = qMax(0, entry.level - 1);
        const int level = qMin(wanted, int(path.size()));
        if (level != wanted)
            log.note(QStringLiteral("Contents: the entry \"%1\" stands %2 levels below the one before it; it is "
                                    "placed one level below")
                         .arg(entry.text)
                         .arg(wanted - int(path.size()) + 1));
        path.resize(size_t(level));
        ContentsEntry e;
        e.Text = entryText(entry, document, names, log);
        e.Kind = entry.kind == HelpContentsEntry::Kind::Book ? ContentsKind::Heading : ContentsKind::Topic;
        std::vector<ContentsEntry>& siblings = path.empty() ? tree : path.back()->Children;
        siblings.push_back(std::move(e));
        path.push_back(&siblings.back());
    }
    return tree;
}

} // namespace ts::helpimport
