#pragma once
// topicsmith --publish html SOURCE OUTDIR
// topicsmith --publish chm SOURCE OUT.chm
// SOURCE is a project (.tsp) or a help file (.hlp). The publish log goes to
// standard output, its summary last; exit 0 with warnings, 1 on failure,
// 2 for a wrong command line.

#include <QStringList>
#include <QTextStream>

namespace ts {

// `args` start with "--publish".
int runPublishCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace ts
