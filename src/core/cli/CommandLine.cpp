#include "CommandLine.h"

#include "helpdoc/HelpImporter.h"
#include "PublishCommand.h"

#include "helpfile/HelpCompiler.h"
#include "helpfile/HelpFileReader.h"
#include "helpsource/BuildAll.h"
#include "model/IoError.h"
#include "model/ProjectFile.h"
#include "model/TopicList.h"

#include <QDir>
#include <QFileInfo>

namespace ts {
namespace {

QString absolutePath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

int topicList(const QString& path, QTextStream& out)
{
    const Project project = ProjectFile::load(absolutePath(path));
    if (project.TopicCount() == 0) {
        out << NothingToListText << Qt::endl;
        return 0;
    }
    for (const QString& line : topicListLines(project))
        out << line << '\n';
    out.flush();
    return 0;
}

// "Build All Without Compiling": the project is read and checked whole
// before anything is written, so a damaged project leaves earlier outputs.
Project buildSources(const QString& path, QTextStream& out, BuildFeedback& feedback)
{
    Project project = ProjectFile::load(absolutePath(path));
    feedback.FileWritten = [&out](const QString& written) {
        out << QStringLiteral("Wrote ") << written << Qt::endl;
    };
    buildAllWithoutCompiling(project, feedback);
    return project;
}

int buildAll(const QString& path, QTextStream& out)
{
    BuildFeedback feedback;
    buildSources(path, out, feedback);
    return 0;
}

// The sources as --build writes them, then the help file and its log from
// the built-in compiler. Warnings leave a usable help file and exit 0.
int compile(const QString& path, QTextStream& out)
{
    BuildFeedback feedback;
    const Project project = buildSources(path, out, feedback);
    const HelpCompileReport report = compileHelpFile(project, feedback);
    for (qsizetype i = 0; i + 1 < report.logLines.size(); ++i)
        out << report.logLines.at(i) << '\n';
    out << report.summary() << Qt::endl;
    return 0;
}

// Every topic of a help file as text: its Topic ID (or hash) and title on a
// line, then its text with the links marked. What could not be read goes to
// stderr; a file that is no help file at all fails.
int helpText(const QString& path, QTextStream& out, QTextStream& err)
{
    const HelpDocument doc = helpfile::readHelpFile(path);
    for (HelpProblem problem : doc.problems) {
        problem.file = path;
        err << problem.text() << '\n';
    }
    err.flush();
    if (!doc.readable)
        return 1;
    for (int i = 0; i < int(doc.topics.size()); ++i) {
        const QString id = doc.topics[size_t(i)].idOrHash();
        out << (id.isEmpty() ? QStringLiteral("-") : id) << QStringLiteral("  ") << doc.topics[size_t(i)].title << '\n'
            << doc.topicText(i, HelpDocument::TextStyle::MarkedLinks) << '\n';
        for (HelpProblem problem : doc.content(i).problems) {
            problem.file = path;
            err << problem.text() << '\n';
        }
    }
    out.flush();
    err.flush();
    return 0;
}

// A project made from a help file. An existing project is never replaced
// from the command line: the user names a new one.
int importHelp(const QString& helpPath, const QString& projectPath, QTextStream& out)
{
    if (QFileInfo::exists(projectPath))
        throw IoError(QStringLiteral("'%1' already exists; name a new project to import into").arg(projectPath));
    const HelpImportReport report = importHelpFile(helpPath, absolutePath(projectPath));
    out << report.summary() << Qt::endl;
    return 0;
}

} // namespace

QString usageText()
{
    return QStringLiteral(
        "Usage: topicsmith [PROJECT.tsp]\n"
        "       topicsmith --build PROJECT.tsp\n"
        "       topicsmith --compile PROJECT.tsp\n"
        "       topicsmith --topic-list PROJECT.tsp\n"
        "       topicsmith --text FILE.HLP\n"
        "       topicsmith --import FILE.HLP PROJECT.tsp\n"
        "       topicsmith --publish html|chm PROJECT-OR-HELPFILE OUTPUT\n"
        "       topicsmith --version | --help\n"
        "\n"
        "Topicsmith edits Windows Help (WinHelp 4) projects.\n"
        "\n"
        "  PROJECT.tsp          start the editor and open the project\n"
        "  --build PROJECT      write the help compiler's sources (.RTF, .HPJ and,\n"
        "                       when a contents file exists, .cnt) without compiling\n"
        "  --compile PROJECT    write the sources as --build does, then compile the\n"
        "                       help file (.HLP) and its log (.LOG) with the built-in\n"
        "                       help compiler\n"
        "  --topic-list PROJECT print every topic: Topic ID, title, Application Call ID\n"
        "  --text FILE.HLP      print every topic of a help file: its Topic ID (or hash)\n"
        "                       and title, then its text with the links marked\n"
        "  --import FILE.HLP PROJECT.tsp\n"
        "                       make a new project from a help file (and the .CNT\n"
        "                       beside it): its topics, windows, pictures and\n"
        "                       contents; PROJECT.import.log names what it could\n"
        "                       not keep\n"
        "  --publish html SOURCE FOLDER   a web site of the project (.tsp) or help\n"
        "                       file (.hlp) in FOLDER; open FOLDER/index.html\n"
        "  --publish chm SOURCE FILE.chm  the same pages as compiled HTML help\n"
        "  --version            print the version\n"
        "  --help               print this text\n");
}

std::optional<int> runHeadless(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty())
        return std::nullopt;
    const QString& command = args.first();
    if (command == QLatin1String("--version")) {
        out << QStringLiteral("Topicsmith ") << QStringLiteral(TOPICSMITH_VERSION) << Qt::endl;
        return 0;
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << usageText();
        out.flush();
        return 0;
    }
    if (command == QLatin1String("--text")) {
        if (args.size() != 2) {
            err << QStringLiteral("topicsmith: --text needs exactly one help file\n");
            err.flush();
            return 2;
        }
        return helpText(args.at(1), out, err);
    }
    if (command == QLatin1String("--import")) {
        if (args.size() != 3) {
            err << QStringLiteral("topicsmith: --import needs a help file and a new project file\n");
            err.flush();
            return 2;
        }
        try {
            return importHelp(args.at(1), args.at(2), out);
        } catch (const IoError& e) {
            err << e.message() << Qt::endl;
            return 1;
        }
    }
    if (command == QLatin1String("--publish"))
        return runPublishCommand(args, out, err);
    const bool takesProject = command == QLatin1String("--topic-list") || command == QLatin1String("--build")
                              || command == QLatin1String("--compile");
    if (!takesProject) {
        if (command.startsWith(QLatin1Char('-'))) {
            err << QStringLiteral("topicsmith: unknown option '%1'\n").arg(command) << usageText();
            err.flush();
            return 2;
        }
        return std::nullopt; // a project to open in the editor
    }
    if (args.size() != 2) {
        err << QStringLiteral("topicsmith: %1 needs exactly one project file\n").arg(command);
        err.flush();
        return 2;
    }
    const bool writesFiles = command == QLatin1String("--build") || command == QLatin1String("--compile");
    if (writesFiles && !ProjectFile::isProjectFileName(args.at(1))) {
        err << ProjectFile::notAProjectFileMessage(args.at(1)) << Qt::endl;
        return 1;
    }
    try {
        if (command == QLatin1String("--topic-list"))
            return topicList(args.at(1), out);
        if (command == QLatin1String("--compile"))
            return compile(args.at(1), out);
        return buildAll(args.at(1), out);
    } catch (const IoError& e) {
        out.flush();
        err << e.message() << Qt::endl;
        return 1;
    }
}

} // namespace ts
