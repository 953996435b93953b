// Feeds arbitrary bytes to the project file reader. A file that reads must
// write back to bytes that read to the same project and write identically.

#include "model/ProjectFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const ts::Project project = ts::ProjectFile::parse(bytes, QStringLiteral("fuzz.tsp"));
        const QByteArray written = ts::ProjectFile::serialize(project);
        const ts::Project again = ts::ProjectFile::parse(written, QStringLiteral("fuzz.tsp"));
        if (ts::ProjectFile::serialize(again) != written)
            std::abort();
        if (again.TopicCount() != project.TopicCount() || again.WindowCount() != project.WindowCount())
            std::abort();
        for (int i = 0; i < again.TopicCount(); ++i)
            if (again.topic(i).WindowIndex < 0 || again.topic(i).WindowIndex >= again.WindowCount())
                std::abort();
    } catch (const ts::IoError&) {
    }
    return 0;
}
