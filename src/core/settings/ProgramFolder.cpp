#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ts {

namespace {

QString withSlash(const QString& folder)
{
    QString f = QDir::fromNativeSeparators(QDir(folder).absolutePath());
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f;
}

} // namespace

bool isBuildFolder(const QString& folder)
{
    const QDir dir(folder);
    return !folder.isEmpty()
           && (dir.exists(QStringLiteral("CMakeCache.txt")) || QFileInfo(dir.absoluteFilePath(QStringLiteral("../CMakeCache.txt"))).isFile());
}

QString programFolder()
{
    const QString home = qEnvironmentVariable("TOPICSMITH_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return withSlash(home);
    }
    if (QCoreApplication::instance()) {
        const QString exeFolder = QCoreApplication::applicationDirPath();
        const QFileInfo info(exeFolder);
        if (!exeFolder.isEmpty() && info.isDir() && info.isWritable() && isBuildFolder(exeFolder))
            return withSlash(exeFolder);
    }
    QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config/Topicsmith");
    QDir().mkpath(config);
    return withSlash(config);
}

} // namespace ts
