#include "ContainerReader.h"

#include "ByteCursor.h"
#include "HelpFileFormat.h"
#include "TreeReader.h"
#include "model/CountText.h"

namespace ts::helpfile::reading {

namespace {

const QString Directory = QStringLiteral("directory");

} // namespace

bool ContainerReader::read(const QByteArray& file, ReadProblems& problems)
{
    file_ = file;
    files_.clear();
    ByteCursor header(file);
    const std::uint32_t magic = header.u32();
    const std::int32_t directoryOffset = header.s32();
    header.s32(); // first free block
    const std::uint32_t totalSize = header.u32();
    if (!header.ok() || magic != format::FileMagic) {
        problems.add(QString(), 0, QStringLiteral("not a help file (it does not start as one)"));
        return false;
    }
    if (totalSize != std::uint32_t(file.size()))
        problems.add(QString(), 12, QStringLiteral("the file is %1 bytes long but says %2; it may be cut short or damaged")
                                       .arg(file.size()).arg(totalSize));
    ByteCursor directory(file, directoryOffset);
    directory.u32(); // reserved
    const std::uint32_t used = directory.u32();
    directory.u8();
    if (!directory.ok() || directoryOffset < format::FileHeaderSize) {
        problems.add(Directory, directoryOffset, QStringLiteral("the directory of internal files is missing"));
        return false;
    }
    const QByteArray tree = file.mid(directory.pos(), qMin<qint64>(used, directory.left()));
    const bool read = readTree(tree, Directory, problems, [&](ByteCursor& c) {
        const QByteArray name = c.stringz();
        const std::uint32_t offset = c.u32();
        if (!c.ok())
            return false;
        ByteCursor inner(file, qsizetype(offset));
        inner.u32(); // reserved
        const std::uint32_t size = inner.u32();
        inner.u8();
        if (!inner.ok()) {
            problems.add(Directory, offset,
                         QStringLiteral("the internal file %1 lies outside the file").arg(QString::fromLatin1(name)));
            return true;
        }
        Entry entry{inner.pos(), qsizetype(size)};
        if (qint64(size) > inner.left()) {
            problems.add(QString::fromLatin1(name), 0,
                         QStringLiteral("cut short after %1 of its %2")
                             .arg(QString::number(inner.left()),
                                  countText(size, QStringLiteral("byte"), QStringLiteral("bytes"))));
            entry.size = inner.left();
        }
        files_.emplace(name, entry);
        return true;
    });
    if (!read)
        return false;
    return true;
}

QByteArray ContainerReader::data(const QByteArray& name) const
{
    const auto it = files_.find(name);
    if (it == files_.end())
        return QByteArray();
    return file_.mid(it->second.offset, it->second.size);
}

QList<QByteArray> ContainerReader::names() const
{
    QList<QByteArray> out;
    for (const auto& [name, entry] : files_)
        out.append(name);
    return out;
}

} // namespace ts::helpfile::reading
