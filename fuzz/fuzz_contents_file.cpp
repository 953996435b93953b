// Feeds arbitrary bytes to the contents file reader. Whatever tree it reads
// (up to a bad line) must be written to bytes that read back to the same
// tree without a bad line, and those bytes must be written again unchanged.

#include "FuzzSupport.h"

#include "contents/ContentsFile.h"

namespace {

QByteArray describe(const ts::ContentsTree& tree)
{
    QByteArray out;
    for (const ts::ContentsNode& node : ts::contentsNodes(tree))
        out += QByteArray(node.Level, '.') + fuzzsupport::printable(node.Entry->Text) + '\n';
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ts::ContentsFile::ParseResult first = ts::ContentsFile::parse(fuzzsupport::bytesOf(data, size));
    const QByteArray written = ts::ContentsFile::serialize(first.Tree);
    const ts::ContentsFile::ParseResult again = ts::ContentsFile::parse(written);
    if (!again.ok())
        fuzzsupport::fail("the written contents file does not read: bad level at line %d", again.BadLine);
    if (again.Tree != first.Tree)
        fuzzsupport::fail("the tree changed on write and read\n--- read:\n%s--- after writing and reading:\n%s",
                          describe(first.Tree).constData(), describe(again.Tree).constData());
    if (ts::ContentsFile::serialize(again.Tree) != written)
        fuzzsupport::fail("the contents file is not written the same twice");
    return 0;
}
