// Compiles projects read from arbitrary bytes with the built-in help
// compiler. Whatever the project holds, the compiler must not crash and
// must produce a help file whose header and directory are sound.

#include "helpfile/HelpCompiler.h"
#include "model/IoError.h"
#include "model/ProjectFile.h"

#include <cstdlib>

namespace {

std::uint32_t u32(const QByteArray& b, qsizetype at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
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
            std::abort(); // a failure must be counted in the log
        return 0;
    }
    if (file.size() < 16 + 9 || u32(file, 0) != 0x00035F3F || u32(file, 12) != std::uint32_t(file.size()))
        std::abort();
    const std::uint32_t directory = u32(file, 4);
    if (directory < 16 || qsizetype(directory) + 9 > file.size() || file[directory + 8] != 4)
        std::abort();
    if (report.topics != project.TopicCount() || report.logLines.isEmpty()
        || report.logLines.last() != report.summary())
        std::abort();
    return 0;
}
