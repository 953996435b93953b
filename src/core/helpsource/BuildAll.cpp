#include "BuildAll.h"

#include "CntWriter.h"
#include "HpjWriter.h"
#include "TopicFileWriter.h"

namespace ts {
namespace {

void status(const BuildFeedback& feedback, const QString& text)
{
    if (feedback.Status)
        feedback.Status(text);
}

void written(const BuildFeedback& feedback, const QString& path)
{
    if (feedback.FileWritten)
        feedback.FileWritten(path);
}

} // namespace

QString buildTopicFile(const Project& project, const BuildFeedback& feedback)
{
    status(feedback, TopicFileWriter::StatusText);
    const QString path = TopicFileWriter::write(project, feedback.Progress);
    status(feedback, QString());
    written(feedback, path);
    return path;
}

QStringList buildProjectAndContents(const Project& project, const BuildFeedback& feedback)
{
    QStringList paths;
    status(feedback, HpjWriter::StatusText);
    paths << HpjWriter::write(project, feedback.Progress);
    status(feedback, QString());
    written(feedback, paths.last());

    if (!CntWriter::hasContentsFile(project))
        return paths;
    status(feedback, CntWriter::StatusText);
    const auto cnt = CntWriter::write(project, feedback.Progress);
    status(feedback, QString());
    if (cnt) {
        paths << *cnt;
        written(feedback, *cnt);
    }
    return paths;
}

QStringList buildAllWithoutCompiling(const Project& project, const BuildFeedback& feedback)
{
    QStringList paths{buildTopicFile(project, feedback)};
    paths << buildProjectAndContents(project, feedback);
    return paths;
}

} // namespace ts
