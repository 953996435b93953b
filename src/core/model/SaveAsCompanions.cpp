#include "SaveAsCompanions.h"

#include "Project.h"

#include <QDir>
#include <QFileInfo>

namespace ts {

SaveAsPlan planSaveAsCompanions(const Project& project, const QString& newPath)
{
    SaveAsPlan plan;
    const auto full = [](const QString& p) { return QDir::cleanPath(QFileInfo(p).absoluteFilePath()); };
    const QString oldBase = full(project.projectBase());
    const QString newBase = full(newPath.left(qMax<qsizetype>(0, newPath.size() - 4)));
    if (oldBase == newBase)
        return plan;
    plan.RemoveFromAfterCopy = project.isUnnamed();
    for (const QString& extension : {QStringLiteral(".tsc"), QStringLiteral(".cnt")}) {
        CompanionFile file;
        file.Extension = extension;
        file.From = oldBase + extension;
        file.To = newBase + extension;
        file.Pending = extension == QStringLiteral(".tsc") && project.PendingContents.has_value();
        // Empty pending contents are a project whose contents were all deleted.
        file.FromExists = file.Pending ? !project.PendingContents->isEmpty() : QFileInfo(file.From).isFile();
        const QFileInfo to(file.To);
        // The same file under another name (a link) is not another file.
        file.ToExists = to.exists()
                        && !(file.FromExists && to.canonicalFilePath() == QFileInfo(file.From).canonicalFilePath());
        plan.Files.push_back(file);
    }
    return plan;
}

} // namespace ts
