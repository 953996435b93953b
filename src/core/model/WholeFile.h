#pragma once
// Files read and written whole. Writing goes to a temporary file in the same
// folder that replaces the target only when every byte has reached it, so a
// failure (a full disk too) never leaves a half-written or empty file in
// place of a good one. Reading takes only regular files of a bounded size,
// so a FIFO or a device is refused instead of hanging or filling memory.
// All of them throw IoError with a message that names the file and the
// system's reason.

#include <QByteArray>
#include <QString>
#include <optional>

class QIODevice;

namespace ts {

// The largest file ReadWholeFile takes unless told otherwise.
inline constexpr qint64 DefaultReadLimit = qint64(64) << 20;

// Reads `path`, which must be a regular file of at most `maxBytes` bytes.
QByteArray readWholeFile(const QString& path, qint64 maxBytes = DefaultReadLimit);

// Replaces `path` with `bytes`, or leaves it as it was and throws.
void writeWholeFile(const QString& path, const QByteArray& bytes);

// Copies the regular file `from` (at most `maxBytes`) to `to` through
// WriteWholeFile: `to` is replaced only by a complete copy.
void copyWholeFile(const QString& from, const QString& to, qint64 maxBytes = DefaultReadLimit);

// Writes all of `bytes` to an open device and, for a file, pushes them out of
// its buffer. Returns the device's reason when any byte did not get through.
std::optional<QString> writeAllBytes(QIODevice& device, const QByteArray& bytes);

} // namespace ts
