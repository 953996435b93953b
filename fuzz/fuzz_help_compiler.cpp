// Compiles projects read from arbitrary bytes with the built-in help
// compiler. Whatever the project holds, the compiler must not crash, must
// count a failure in its log, and must produce a help file that the tests'
// reader reads back whole, with every topic of the project and its title
// (a NUL in a title is stored as a blank).

#include "HelpFileReader.h"
#include "helpfile/HelpCompiler.h"
#include "model/IoError.h"
#include "model/ProjectFile.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "%s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ts::Project project;
    try {
        // A folder that does not exist: no bitmaps or contents file are found.
        project = ts::ProjectFile::parse(bytes, QStringLiteral("/nonexistent-fuzz-folder/fuzz.tsp"));
    } catch (const ts::IoError&) {
        return 0;
    }
    project.ProjectPath = QStringLiteral("/nonexistent-fuzz-folder/fuzz.tsp");
    ts::HelpCompileReport report;
    QByteArray file;
    try {
        file = ts::compileHelpFileBytes(project, report);
    } catch (const ts::IoError&) {
        if (report.errors == 0)
            fail("a failed compile counts no error");
        return 0;
    }
    if (report.topics != project.TopicCount() || report.logLines.isEmpty()
        || report.logLines.last() != report.summary())
        fail("the report does not match the project");

    ts::hlpread::HelpFile help;
    try {
        help = ts::hlpread::readHelpFile(file);
    } catch (const ts::hlpread::HelpFileError& e) {
        fail("the help file does not read back", e.what());
    }
    if (help.topics.size() != project.TopicCount())
        fail("the help file holds another number of topics than the project",
             std::to_string(help.topics.size()) + " instead of " + std::to_string(project.TopicCount()));
    for (int i = 0; i < project.TopicCount(); ++i)
        if (help.topics[i].title != QByteArray(project.topic(i).Title.bytes()).replace('\0', ' '))
            fail("a topic's title differs", std::to_string(i));
    return 0;
}
