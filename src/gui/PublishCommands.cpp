#include "PublishCommands.h"

#include "Prompter.h"
#include "StatusBar.h"
#include "TopicNavigator.h"
#include "helpdoc/ChmPublisher.h"
#include "helpdoc/HtmlPublisher.h"
#include "helpdoc/PublishSource.h"
#include "model/IoError.h"
#include "model/Project.h"
#include "settings/IniFile.h"
#include "settings/ProgramFolder.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QStandardPaths>

namespace ts {

namespace {

const QString PublishSection = QStringLiteral("PUBLISH");
const QString ChmFilter = QStringLiteral("Compiled HTML Help (*.chm)|*.CHM");
// The most log lines a message box shows; the rest are counted.
constexpr int ShownLogLines = 8;

// The warnings of the publish log for a message box, then the summary.
QString logForMessage(const publish::PublishReport& report)
{
    QStringList lines = report.logLines;
    lines.removeLast(); // the summary, shown last
    QString text;
    for (qsizetype i = 0; i < lines.size() && i < ShownLogLines; ++i)
        text += QStringLiteral("- ") + lines.at(i) + QLatin1Char('\r');
    if (lines.size() > ShownLogLines)
        text += QStringLiteral("- and %1 more\r").arg(lines.size() - ShownLogLines);
    return text + report.summary();
}

} // namespace

PublishCommands::PublishCommands(Project& project, Prompter& prompter, TopicNavigator& navigator, StatusBar& statusBar,
                                 QWidget* window)
    : QObject(window), project_(project), prompter_(prompter), navigator_(navigator), statusBar_(statusBar),
      window_(window)
{
    setObjectName(QStringLiteral("publishCommands"));
}

QString PublishCommands::settingsKey(const QString& format) const
{
    // A key ends at the first '=' of its line, so one in a path is written out.
    QString path = QFileInfo(project_.ProjectPath).absoluteFilePath();
    return format + QLatin1Char(' ') + path.replace(QLatin1Char('='), QLatin1String("%3D"));
}

QString PublishCommands::remembered(const QString& format, const QString& fallback) const
{
    const IniFile ini = IniFile::read(programFolder() + Settings::fileName());
    return ini.value(PublishSection, settingsKey(format), fallback);
}

void PublishCommands::remember(const QString& format, const QString& path)
{
    const QString file = programFolder() + Settings::fileName();
    IniFile ini = IniFile::read(file);
    ini.setValue(PublishSection, settingsKey(format), path);
    try {
        ini.save(file);
    } catch (const IoError&) {
        // Not remembering the folder loses no work; publishing goes on.
    }
}

bool PublishCommands::hasTopics()
{
    navigator_.storeCurrentTopic();
    if (project_.TopicCount() > 0)
        return true;
    prompter_.message(window_, QStringLiteral("The project has no topics to publish."), QStringLiteral("Topicsmith"),
                      Prompter::Buttons::Ok, Prompter::Icon::Information);
    return false;
}

bool PublishCommands::projectNamed()
{
    return !project_.isUnnamed() || (nameProject && nameProject() && !project_.isUnnamed());
}

std::optional<publish::HtmlSite> PublishCommands::makeSite(const QString& statusText)
{
    statusBar_.setPanelText(1, QStringLiteral("Compiling help file..."));
    statusBar_.progressBar->setValue(0);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
        const HelpDocument doc = publish::documentFromProject(project_);
        statusBar_.setPanelText(1, statusText);
        publish::PublishOptions options;
        // Pages are made on this thread too; the bar moves as they are done.
        options.progress = [this](int done, int total) {
            const int percent = total > 0 ? done * 100 / total : 100;
            if (percent != statusBar_.progressBar->value()) {
                statusBar_.progressBar->setValue(percent);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        };
        return publish::publishHtml(doc, options);
    } catch (const IoError& e) {
        statusBar_.finishActivity();
        prompter_.error(window_, e.message());
        return std::nullopt;
    }
}

void PublishCommands::publishHtml()
{
    if (!hasTopics() || !projectNamed())
        return;
    const QString folder = prompter_.chooseFolder(window_, QStringLiteral("Publish as HTML: choose the site's folder"),
                                                  remembered(QStringLiteral("HTML"), project_.projectBase() + QStringLiteral("-html")));
    if (folder.isEmpty())
        return;
    remember(QStringLiteral("HTML"), folder);
    const std::optional<publish::HtmlSite> site = publishWith(
        QStringLiteral("Publishing as HTML..."), [&](const publish::HtmlSite& made) { publish::writeSite(made, folder); });
    if (!site)
        return;
    const QString index = QDir(folder).filePath(QStringLiteral("index.html"));
    const auto answer = prompter_.message(window_,
                                          QStringLiteral("The help was published as a web site in %1.\r\r%2\r\rOpen it in the browser?")
                                              .arg(QDir::toNativeSeparators(folder), logForMessage(site->report)),
                                          QStringLiteral("Publish as HTML"), Prompter::Buttons::YesNo, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Yes)
        return;
    if (openInBrowser)
        openInBrowser(QUrl::fromLocalFile(index));
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(index)))
        prompter_.error(window_, QStringLiteral("No browser could be started for %1.").arg(QDir::toNativeSeparators(index)));
}

std::optional<publish::HtmlSite> PublishCommands::publishWith(
    const QString& statusText, const std::function<void(const publish::HtmlSite&)>& write)
{
    std::optional<publish::HtmlSite> site = makeSite(statusText);
    if (!site)
        return std::nullopt;
    try {
        write(*site);
    } catch (const IoError& e) {
        statusBar_.finishActivity();
        prompter_.error(window_, e.message());
        return std::nullopt;
    }
    statusBar_.finishActivity();
    statusBar_.setPanelText(StatusBar::ResultPanel, QStringLiteral("Published %1").arg(site->report.summary()));
    return site;
}

void PublishCommands::publishChm()
{
    if (!hasTopics())
        return;
    if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty()) {
        prompter_.error(window_, publish::chmCompilerMissingText());
        return;
    }
    if (!projectNamed())
        return;
    QString path = prompter_.saveFile(window_, ChmFilter, remembered(QStringLiteral("CHM"), project_.projectBase() + QStringLiteral(".chm")),
                                      QStringLiteral("chm"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".chm");
    if (QFileInfo::exists(path)
        && prompter_.message(window_, QStringLiteral("%1 already exists.\rDo you want to replace it?").arg(QDir::toNativeSeparators(path)),
                             QStringLiteral("Publish as CHM"), Prompter::Buttons::YesNo, Prompter::Icon::Question)
               != Prompter::Answer::Yes)
        return;
    remember(QStringLiteral("CHM"), path);
    const std::optional<publish::HtmlSite> site = publishWith(
        QStringLiteral("Publishing as CHM..."), [&](const publish::HtmlSite& made) { publish::writeChm(made, path); });
    if (!site)
        return;
    prompter_.message(window_, QStringLiteral("The help was published as %1.\r\r%2").arg(QDir::toNativeSeparators(path), logForMessage(site->report)),
                      QStringLiteral("Publish as CHM"), Prompter::Buttons::Ok, Prompter::Icon::Information);
}

} // namespace ts
