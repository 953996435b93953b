#include "HelpFileContainer.h"

#include "BPlusTree.h"
#include "HelpFileBytes.h"

namespace ts::helpfile {
namespace {

void putFileHeader(QByteArray& out, qsizetype used, unsigned flags)
{
    putU32(out, std::uint32_t(used + 9));
    putU32(out, std::uint32_t(used));
    putU8(out, flags);
}

} // namespace

QByteArray HelpFileContainer::bytes() const
{
    qsizetype total = 16;
    for (const auto& [name, data] : files_)
        total += 9 + data.size();

    QByteArray out;
    out.reserve(total + 9 + 38 + 2048);
    out.append(QByteArray(16, '\0'));
    std::vector<BTreeEntry> directory;
    directory.reserve(files_.size());
    for (const auto& [name, data] : files_) {
        BTreeEntry entry;
        entry.Key = stringz(name);
        entry.Bytes = entry.Key;
        putU32(entry.Bytes, std::uint32_t(out.size()));
        directory.push_back(std::move(entry));
        putFileHeader(out, data.size(), 0);
        out += data;
    }
    const qsizetype directoryAt = out.size();
    const BTreeResult tree = buildBTree(directory, {1024, 0x0402, QByteArrayLiteral("z4")});
    putFileHeader(out, tree.Bytes.size(), 4);
    out += tree.Bytes;

    setU32(out, 0, 0x00035F3F);
    setS32(out, 4, std::int32_t(directoryAt));
    setS32(out, 8, -1);
    setU32(out, 12, std::uint32_t(out.size()));
    return out;
}

} // namespace ts::helpfile
