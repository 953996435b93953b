#include "CntWriter.h"

#include "model/WholeFile.h"
#include "contents/ContentsFile.h"
#include "model/Project.h"
#include "model/Windows1252.h"

#include <QFileInfo>

namespace ts::CntWriter {

QString pathFor(const Project& project) { return project.projectBase() + QStringLiteral(".cnt"); }

QByteArray generate(const Project& project, const ContentsTree& tree, const ProgressStep& progress)
{
    QByteArray out = ":Title " + project.window(0).Caption.bytes() + "\r\n";
    const std::vector<ContentsNode> nodes = contentsNodes(tree);
    const int count = int(nodes.size());
    for (const ContentsNode& node : nodes) {
        if (progress)
            progress(100 / count);
        out += QByteArray::number(node.Level + 1) + ' ' + cp1252::encode(node.Entry->Text) + "\r\n";
    }
    return out;
}

bool hasContentsFile(const Project& project) { return ContentsFile::existsFor(project); }

std::optional<QString> write(const Project& project, const ProgressStep& progress)
{
    if (!hasContentsFile(project))
        return std::nullopt;
    const ContentsTree tree = ContentsFile::loadFor(project);
    const QString path = pathFor(project);
    writeWholeFile(path, generate(project, tree, progress));
    return path;
}

} // namespace ts::CntWriter
