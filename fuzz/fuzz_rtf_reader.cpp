// Feeds arbitrary bytes to the RTF reader. Besides what the sanitizers catch,
// it checks that whatever the reader makes of the input is written stably:
// write(read(write(d))) == write(d) with d = read(input).

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Raw data: no terminating NUL behind the input, so over-reads show.
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const ts::RichDocument document = ts::RtfReader::read(input);
    const QByteArray once = ts::RtfWriter::write(document);
    const QByteArray twice = ts::RtfWriter::write(ts::RtfReader::read(once));
    if (once != twice) {
        std::fprintf(stderr, "write(read(write(d))) differs from write(d)\n--- once:\n%s\n--- twice:\n%s\n",
                     once.constData(), twice.constData());
        std::abort();
    }
    return 0;
}
