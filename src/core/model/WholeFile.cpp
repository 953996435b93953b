#include "WholeFile.h"

#include "IoError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <new>

namespace ts {

QByteArray readWholeFile(const QString& path, qint64 maxBytes)
{
    // Checked before opening: opening a FIFO for reading waits for a writer.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw IoError(QStringLiteral("Cannot open '%1': it is not a regular file").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("Cannot open '%1': %2").arg(path, file.errorString()));
    if (file.isSequential())
        throw IoError(QStringLiteral("Cannot open '%1': it is not a regular file").arg(path));
    if (file.size() > maxBytes)
        throw IoError(QStringLiteral("Cannot read '%1': it is %2 bytes long, larger than such a file can be "
                                     "(%3 bytes)")
                          .arg(path)
                          .arg(file.size())
                          .arg(maxBytes));
    QByteArray bytes;
    try {
        bytes = file.readAll();
    } catch (const std::bad_alloc&) {
        throw IoError(QStringLiteral("Cannot read '%1': not enough memory").arg(path));
    }
    if (file.error() != QFileDevice::NoError)
        throw IoError(QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString()));
    if (bytes.size() > maxBytes)
        throw IoError(QStringLiteral("Cannot read '%1': it is larger than such a file can be (%2 bytes)")
                          .arg(path)
                          .arg(maxBytes));
    return bytes;
}

std::optional<QString> writeAllBytes(QIODevice& device, const QByteArray& bytes)
{
    const auto reason = [&device]() {
        const QString text = device.errorString();
        return text.isEmpty() ? QStringLiteral("the data could not be written") : text;
    };
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return reason();
        done += qsizetype(n);
    }
    // A file device keeps the last bytes in its buffer; only a flush shows
    // whether they fit on the disk.
    if (auto* file = qobject_cast<QFileDevice*>(&device); file && !file->flush())
        return reason();
    return std::nullopt;
}

void writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError(QStringLiteral("Cannot create '%1': %2").arg(path, file.errorString()));
    if (const auto failure = writeAllBytes(file, bytes)) {
        file.cancelWriting();
        throw IoError(QStringLiteral("Cannot write '%1': %2").arg(path, *failure));
    }
    if (!file.commit())
        throw IoError(QStringLiteral("Cannot write '%1': %2").arg(path, file.errorString()));
}

void copyWholeFile(const QString& from, const QString& to, qint64 maxBytes)
{
    writeWholeFile(to, readWholeFile(from, maxBytes));
}

} // namespace ts
