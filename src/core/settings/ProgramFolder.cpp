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
        if (!exeFolder.isEmpty() && info.isDir() && info.isWritable())
            return withSlash(exeFolder);
    }
    QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config/Topicsmith");
    QDir().mkpath(config);
    return withSlash(config);
}

} // namespace ts
