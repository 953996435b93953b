#pragma once
// Files read and written whole. Writing goes to a temporary file in the same
// folder that replaces the target only when complete, so a failure never
// leaves a half-written file in place of a good one. Both throw IoError with
// a message that names the file and the system's reason.

#include <QByteArray>
#include <QString>

namespace ts {

QByteArray ReadWholeFile(const QString& path);
void WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace ts
