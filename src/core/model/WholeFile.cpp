#include "WholeFile.h"

#include "IoError.h"

#include <QFile>
#include <QSaveFile>

namespace ts {

QByteArray ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("Cannot open '%1': %2").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError(QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString()));
    return bytes;
}

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError(QStringLiteral("Cannot create '%1': %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw IoError(QStringLiteral("Cannot write '%1': %2").arg(path, file.errorString()));
}

} // namespace ts
