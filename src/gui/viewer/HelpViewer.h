#pragma once
// The help file viewer: shows a HelpDocument as WinHelp 4 does, in a main
// window and the secondary windows the file defines, with pop-ups, the Help
// Topics dialog (Contents, Index, Find), Back, History, browse buttons,
// printing and copying. Hotspots, buttons and the file's macros all end up
// here; HelpMacroRunner decides with core's HelpMacroPolicy what may run and
// calls back into the viewer.
//
// Ownership: the viewer owns its windows (they delete themselves on close
// and the viewer forgets them); closing the main window closes the others.
// Messages go through the Prompter.

#include "HelpPopup.h"
#include "HelpTopicListDialog.h"
#include "HelpTopicsDialog.h"
#include "HelpViewerWindow.h"
#include "helpfile/HelpDocument.h"

#include <QColor>
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

class QUrl;

namespace ts {

class HelpMacroRunner;
class Prompter;

class HelpViewer : public QObject {
    Q_OBJECT
public:
    explicit HelpViewer(Prompter& prompter, QObject* parent = nullptr);
    ~HelpViewer() override;

    // Reads a help file; the help file reader unless a test puts its own here.
    std::function<HelpDocument(const QString& path)> loader;
    // Opens a web or mail address; QDesktopServices::openUrl unless replaced.
    std::function<bool(const QUrl&)> openUrl;

    // Opens a help file at `topicId` (empty: its contents topic). A file that
    // is missing or not a help file gets a message naming it, and false.
    bool openFile(const QString& path, const QString& topicId = QString());
    // Shows a document already read (`path` names it in messages and finds
    // the files beside it).
    void openDocument(HelpDocument document, const QString& path, const QString& topicId = QString());

    const HelpDocument& document() const { return document_; }
    // This file's document (`file` empty or this file's name) or another's
    // beside it; null when that cannot be read (the user has been told).
    const HelpDocument* documentFor(const QString& file);
    QString filePath() const { return path_; }

    HelpViewerWindow* mainWindow() const;
    HelpViewerWindow* window(const QString& name) const; // null when not open
    QList<HelpViewerWindow*> windows() const;
    HelpPopup* popup() const;
    HelpTopicsDialog* topicsDialog();
    HelpTopicListDialog* historyDialog() const { return historyDialog_; }
    const std::vector<HelpPage>& history() const { return history_; }
    double fontScale() const { return fontScale_; }

    // --- what buttons, hotspots and macros do
    // Shows `topic` of this file in the window named (empty: the topic's own
    // window, else `from`, else main); false when there is no such topic.
    bool showTopic(int topic, const QString& windowName = QString(), HelpViewerWindow* from = nullptr,
                   std::uint32_t topicOffset = 0, bool atTopicStart = true);
    // A topic of this file or another (`file` as the help file names it;
    // empty = this file) by Topic ID, "0x..." hash or topic index.
    bool jump(const QString& file, const QString& topicId, const QString& windowName, HelpViewerWindow* from);
    bool jumpToIndex(const QString& file, int topic, const QString& windowName, HelpViewerWindow* from);
    bool jumpToLocation(const QString& file, HelpLocation location, const QString& windowName, HelpViewerWindow* from);
    void showPopup(const QString& file, int topic, const QPoint& globalPos, HelpViewerWindow* from);
    void activateHotspot(const HelpHotspot& hotspot, HelpViewerWindow* from, const QPoint& globalPos);
    void runMacros(const QString& text, HelpViewerWindow* from, const QPoint& globalPos = QPoint());
    // The file's own macros (when it opens, a window opens, a topic shows):
    // what they would start is told once per file, not each time.
    void runFileMacros(const QString& text, HelpViewerWindow* from);
    // ALink ('A') and KLink ('K'): one topic is shown, several are listed.
    void keywordLink(QChar table, const QString& keywords, int type, const QString& topicId,
                     const QString& windowName, HelpViewerWindow* from);
    bool jumpKeyword(const QString& file, const QString& keyword, HelpViewerWindow* from);

    void back(HelpViewerWindow* window);
    void browse(HelpViewerWindow* window, bool next);
    void showContents(HelpViewerWindow* from);
    void jumpContents(const QString& file, const QString& windowName, HelpViewerWindow* from);
    void setContentsTopic(int topic) { contentsTopic_ = topic; }
    void showTopicsDialog(HelpTopicsDialog::Tab tab);
    void showLastTopicsTab();
    void showHistory();
    void printTopic(HelpViewerWindow* window);
    void copyTopic(HelpViewerWindow* window);
    void setFontScale(double scale);
    void addBrowseButtons(HelpViewerWindow* window);
    void closeWindow(const QString& name);
    // All secondary windows but `except` (the one whose macro asks).
    void closeSecondaryWindows(HelpViewerWindow* except = nullptr);
    void closeAll();
    void showAbout(HelpViewerWindow* from);
    void chooseAndOpenFile();
    // Shows a web or mail address and opens it when the user agrees.
    void offerAddress(const QString& address, HelpViewerWindow* from);

    QColor popupColour; // SetPopupColor; invalid = the calling window's colour

signals:
    void allWindowsClosed();

private:
    HelpViewerWindow* ensureWindow(const QString& name);
    void configureWindow(HelpViewerWindow* window);
    void connectWindow(HelpViewerWindow* window);
    void renderPage(HelpViewerWindow* window);
    void updateButtons(HelpViewerWindow* window);
    void fitHeight(HelpViewerWindow* window);
    void rememberInHistory(const HelpPage& page);
    void handleAnchor(const HelpAnchor& anchor, const HelpDocument& document, const QString& file, int topic,
                      const QPoint& pictureOffset, HelpViewerWindow* from, const QPoint& globalPos);
    void goToTarget(const HelpIndexTarget& target, const QString& windowName, HelpViewerWindow* from);
    void chooseTarget(const std::vector<HelpIndexTarget>& targets, const QString& windowName, HelpViewerWindow* from);
    std::vector<HelpIndexEntry> buildIndex();
    void refreshTopicsDialog();
    void refreshHistoryDialog();
    // Another help file by the name a link gives ("other.hlp"), found beside
    // this one without regard to case; read once and kept. Null when it
    // cannot be read (the user has been told).
    const HelpDocument* otherDocument(const QString& fileName, QString* path = nullptr);
    bool isThisFile(const QString& fileName) const;
    QColor scrollingColour(const HelpViewerWindow* window) const;
    QColor nonScrollingColour(const HelpViewerWindow* window) const;
    const HelpWindowDefinition* definitionOf(const HelpViewerWindow* window) const;
    QWidget* dialogParent() const;
    void warn(QWidget* parent, const QString& text);

    Prompter& prompter_;
    HelpDocument document_;
    QString path_;
    std::map<QString, QPointer<HelpViewerWindow>> windows_; // by folded name
    std::map<QString, HelpDocument> otherDocuments_;          // by path
    QPointer<HelpPopup> popup_;
    QPointer<HelpTopicsDialog> topicsDialog_;
    QPointer<HelpTopicListDialog> historyDialog_;
    bool topicsDialogStale_ = true;
    HelpTopicsDialog::Tab lastTab_ = HelpTopicsDialog::Tab::Contents;
    std::vector<HelpPage> history_; // newest first
    std::unique_ptr<HelpMacroRunner> macros_;
    double fontScale_ = 1.0;
    int contentsTopic_ = -1;
    bool browseButtons_ = false;
    bool keepNotice_ = false;
    bool closingByMacro_ = false;
    bool closingAll_ = false;
};

} // namespace ts
