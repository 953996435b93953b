#pragma once
// Build > Publish as HTML... and Publish as CHM...: the project compiled in
// memory, read back and published as a web site or a compiled HTML help
// file. A project never saved is named first. The folder or file is asked
// for through the Prompter and remembered per project in the settings file; the status bar shows the progress; a
// published site is offered to be opened in the browser.

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QWidget;

namespace ts {

class Project;
class Prompter;
class StatusBar;
class TopicNavigator;

namespace publish {
struct HtmlSite;
}

class PublishCommands : public QObject {
    Q_OBJECT
public:
    PublishCommands(Project& project, Prompter& prompter, TopicNavigator& navigator, StatusBar& statusBar,
                    QWidget* window);

    // Opens the site's index.html; QDesktopServices::openUrl unless a test
    // puts its own here.
    std::function<void(const QUrl&)> openInBrowser;

    // Gives a project that was never saved its name (Save As) first, so that
    // the site or file is proposed beside it; false when the user cancelled
    // or the save failed, which stops the publishing. The build commands
    // put their own here.
    std::function<bool()> nameProject;

    // The settings key under which the output of `format` ("HTML", "CHM")
    // is remembered for the project.
    QString settingsKey(const QString& format) const;

public slots:
    void publishHtml();
    void publishChm();

private:
    bool hasTopics();
    // False when the project has no name and did not get one.
    bool projectNamed();
    // The site of the project, with the status bar showing the progress;
    // empty after a failure, which has been shown.
    std::optional<publish::HtmlSite> makeSite(const QString& statusText);
    // Makes the site, hands it to `write` and shows the result; nothing when
    // the site could not be made or written (the failure has been said).
    std::optional<publish::HtmlSite> publishWith(const QString& statusText,
                                                 const std::function<void(const publish::HtmlSite&)>& write);
    QString remembered(const QString& format, const QString& fallback) const;
    void remember(const QString& format, const QString& path);

    Project& project_;
    Prompter& prompter_;
    TopicNavigator& navigator_;
    StatusBar& statusBar_;
    QWidget* window_;
};

} // namespace ts
