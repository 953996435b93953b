#pragma once
// The build commands' work, without any window: the RTF topic file, then the
// HPJ, then the CNT when the project has a contents file. The GUI's Build
// menu and `topicsmith --build` both call these; the caller stores the
// editors into the current topic first.
//
// Each file is written whole or not at all. The first failure stops the
// build with an IoError (a ContentsLevelError for a contents file with a bad
// level, after the RTF and HPJ are written); later files are not touched and
// the status and progress keep their last values.

#include "model/BuildFeedback.h"

#include <QString>
#include <QStringList>

namespace ts {

class Project;

// "RTF File Only": the topic file. Returns its path.
QString buildTopicFile(const Project& project, const BuildFeedback& feedback = {});

// "Project and Contents Files Only": the HPJ, then the CNT when a contents
// file exists. Returns the paths written.
QStringList buildProjectAndContents(const Project& project, const BuildFeedback& feedback = {});

// "Build All Without Compiling": the topic file, the HPJ and the CNT.
QStringList buildAllWithoutCompiling(const Project& project, const BuildFeedback& feedback = {});

} // namespace ts
