#include "OutputFile.h"

#include "model/IoError.h"

#include <QSaveFile>

namespace ts {

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError(QStringLiteral("Cannot create '%1': %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw IoError(QStringLiteral("Cannot write '%1': %2").arg(path, file.errorString()));
}

} // namespace ts
