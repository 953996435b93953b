#include "HelpFileLoading.h"

#include <QFileInfo>

namespace ts {

HelpDocument readHelpDocument(const QString& path)
{
    // The help file reader is not part of this build yet: every file is
    // reported as unreadable.
    HelpDocument document;
    document.fileName = QFileInfo(path).fileName();
    document.problems.push_back({document.fileName, QString(), -1, -1,
                                 QStringLiteral("this build of Topicsmith cannot read help files yet")});
    return document;
}

} // namespace ts
