#include "HelpFileContainer.h"

#include "BPlusTree.h"
#include "HelpFileBytes.h"
#include "HelpFileFormat.h"

namespace ts::helpfile {
namespace {

using namespace format;

void putFileHeader(QByteArray& out, qsizetype used, unsigned flags)
{
    putU32(out, std::uint32_t(used + InternalHeaderSize));
    putU32(out, std::uint32_t(used));
    putU8(out, flags);
}

} // namespace

QByteArray HelpFileContainer::bytes() const
{
    qsizetype total = FileHeaderSize;
    for (const auto& [name, data] : files_)
        total += InternalHeaderSize + data.size();

    QByteArray out;
    out.reserve(total + InternalHeaderSize + TreeHeaderSize + 2 * DirectoryPageSize);
    out.append(QByteArray(FileHeaderSize, '\0'));
    std::vector<BTreeEntry> directory;
    directory.reserve(files_.size());
    for (const auto& [name, data] : files_) {
        BTreeEntry entry;
        entry.Key = stringz(name);
        entry.Bytes = entry.Key;
        putU32(entry.Bytes, std::uint32_t(out.size()));
        directory.push_back(std::move(entry));
        putFileHeader(out, data.size(), InternalFileFlags);
        out += data;
    }
    const qsizetype directoryAt = out.size();
    const BTreeResult tree =
        buildBTree(directory, {DirectoryPageSize, DirectoryTreeFlags, QByteArray(DirectoryStructure)});
    putFileHeader(out, tree.Bytes.size(), DirectoryFileFlags);
    out += tree.Bytes;

    QByteArray header;
    putU32(header, FileMagic);
    putS32(header, std::int32_t(directoryAt));
    putS32(header, NoFreeList);
    putU32(header, std::uint32_t(out.size()));
    Q_ASSERT(header.size() == FileHeaderSize);
    out.replace(0, FileHeaderSize, header);
    return out;
}

} // namespace ts::helpfile
