#pragma once
// Writing a help source file whole or not at all: the bytes go to a
// temporary file in the same folder, which replaces the target only once
// everything is on disk. A failure leaves an earlier file as it was.

#include <QByteArray>
#include <QString>

namespace ts {

// Throws IoError naming `path` and the system's reason.
void WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace ts
