#include "CommandLine.h"

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
    for (const QString& line : TopicListLines(project))
        out << line << '\n';
    out.flush();
    return 0;
}

// "Build All Without Compiling": the project is read and checked whole
// before anything is written, so a damaged project leaves earlier outputs.
int buildAll(const QString& path, QTextStream& out)
{
    const Project project = ProjectFile::load(absolutePath(path));
    BuildFeedback feedback;
    feedback.FileWritten = [&out](const QString& written) {
        out << QStringLiteral("Wrote ") << written << Qt::endl;
    };
    BuildAllWithoutCompiling(project, feedback);
    return 0;
}

} // namespace

QString UsageText()
{
    return QStringLiteral(
        "Usage: topicsmith [PROJECT.tsp]\n"
        "       topicsmith --build PROJECT.tsp\n"
        "       topicsmith --topic-list PROJECT.tsp\n"
        "       topicsmith --version | --help\n"
        "\n"
        "Topicsmith edits Windows Help (WinHelp 4) projects.\n"
        "\n"
        "  PROJECT.tsp          start the editor and open the project\n"
        "  --build PROJECT      write the help compiler's sources (.RTF, .HPJ and,\n"
        "                       when a contents file exists, .cnt) without compiling\n"
        "  --topic-list PROJECT print every topic: Topic ID, title, Application Call ID\n"
        "  --version            print the version\n"
        "  --help               print this text\n");
}

std::optional<int> RunHeadless(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty())
        return std::nullopt;
    const QString& command = args.first();
    if (command == QLatin1String("--version")) {
        out << QStringLiteral("Topicsmith ") << QStringLiteral(TOPICSMITH_VERSION) << Qt::endl;
        return 0;
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << UsageText();
        out.flush();
        return 0;
    }
    const bool takesProject = command == QLatin1String("--topic-list") || command == QLatin1String("--build");
    if (!takesProject) {
        if (command.startsWith(QLatin1Char('-'))) {
            err << QStringLiteral("topicsmith: unknown option '%1'\n").arg(command) << UsageText();
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
    if (command == QLatin1String("--build") && !ProjectFile::IsProjectFileName(args.at(1))) {
        err << ProjectFile::NotAProjectFileMessage(args.at(1)) << Qt::endl;
        return 1;
    }
    try {
        if (command == QLatin1String("--topic-list"))
            return topicList(args.at(1), out);
        return buildAll(args.at(1), out);
    } catch (const IoError& e) {
        out.flush();
        err << e.message() << Qt::endl;
        return 1;
    }
}

} // namespace ts
