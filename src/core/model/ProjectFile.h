#pragma once
// The project file (.tsp): the project model written field by field, all
// integers 32-bit little-endian, counted strings at full width.
//
//   topic count, window count, WindowCount x 168-byte window records,
//   TopicCount x (375-byte fixed part + header RTF + body RTF)
//
// Writing goes through QSaveFile, so a failed save leaves the previous file
// whole. Reading checks everything into a fresh Project and throws IoError
// naming the file and the fault; the caller's open project is never touched.

#include "IoError.h"
#include "Progress.h"
#include "Project.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <limits>
#include <optional>

namespace ts::ProjectFile {

// The largest file a project can make: the counts, 255 windows and every
// topic slot used with both text blocks at the largest length a record can
// state. Anything longer is not a project and is not read.
inline constexpr qint64 MaxFileSize =
    8 + qint64(Project::MaxWindows) * WindowRecordSize
    + qint64(Project::TopicSlots) * (TopicEntryFixedSize + 2 * qint64(std::numeric_limits<std::int32_t>::max()));

// Whether `path` names a project file: it ends in ".tsp" (any case). Every
// companion file's name is the project path without its last four
// characters, so anything else would put them beside the wrong name.
bool isProjectFileName(const QString& path);

// The message that refuses any other path for a command.
QString notAProjectFileMessage(const QString& path);

// Why `path` cannot be opened as a project before its bytes are looked at:
// there is no such file, it is a folder or not a regular file. None when it
// is a file. The message names `path` as given.
std::optional<QString> notAProjectFileRefusal(const QString& path);

// The file's bytes. `progress` advances by 50 div WindowCount per window and
// by 50 div TopicCount per topic (before the topic is written).
QByteArray serialize(const Project& project, const ProgressStep& progress = {});

// Writes the project to `path` whole or not at all; throws IoError.
void save(const Project& project, const QString& path, const ProgressStep& progress = {});

// Builds a project from the file's bytes. `fileName` is used in messages,
// `programFolder` for the new Project. ProjectPath is left as the unnamed
// path; callers set it. A topic whose WindowIndex lies outside the window
// table is put on window 0. Throws IoError for a damaged file.
Project parse(const QByteArray& bytes, const QString& fileName, const QString& programFolder = QString(),
              const ProgressStep& progress = {});

// Reads `path` whole, then parses it; ProjectPath becomes `path`. Throws
// IoError, with the refusal above for a missing file or a folder.
Project load(const QString& path, const QString& programFolder = QString(), const ProgressStep& progress = {});

} // namespace ts::ProjectFile
