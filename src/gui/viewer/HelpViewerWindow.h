#pragma once
// A help window as WinHelp 4 shows it: the button bar, the non-scrolling
// band fixed at the top in its colour, and the scrolling topic text below.
// The main window also has the menus; secondary windows have none. The
// window shows what HelpViewer gives it and keeps its own Back list; the
// viewer does the commands.

#include "HelpTopicView.h"

#include <QMainWindow>

#include <cstdint>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QFrame;

namespace ts {

class HelpButtonBar;

// A page shown in a window, for Back and History.
struct HelpPage {
    QString file; // the help file's path
    int topic = -1;
    std::uint32_t topicOffset = 0;
    bool atTopicStart = true;
    QString title;

    bool sameTopic(const HelpPage& other) const { return file == other.file && topic == other.topic; }
};

class HelpViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    // `name` is the window's name ("main", "(w95sec)" ...); `isMain` gives it
    // the menus.
    HelpViewerWindow(const QString& name, bool isMain, QWidget* parent = nullptr);

    QString name() const { return name_; }
    bool isMain() const { return isMain_; }

    // Shows a rendered topic: the band only when it holds text.
    void showRegions(QTextDocument* nonScrolling, const QColor& nonScrollingColour, QTextDocument* scrolling,
                     const QColor& scrollingColour);
    // Scrolls the topic text to the paragraph at or after `topicOffset`.
    void scrollToOffset(std::uint32_t topicOffset);
    // A line under the buttons naming what the page's macros asked for and
    // this viewer does not do; empty hides it.
    void setNotice(const QString& text);
    QString notice() const;
    // Height that shows the whole topic (auto-size windows).
    int heightForWholeTopic() const;

    HelpButtonBar* buttonBar;
    HelpTopicView* nonScrollingView;
    HelpTopicView* scrollingView;
    // The notice line, for the tests.
    QLabel* noticeLabel() const { return noticeLabel_; }

    // Main window menu commands (null in secondary windows).
    QAction* openAction = nullptr;
    QAction* printAction = nullptr;
    QAction* exitAction = nullptr;
    QAction* copyAction = nullptr;
    QAction* historyAction = nullptr;
    QAction* aboutAction = nullptr;
    QActionGroup* fontSizeGroup = nullptr; // data: the scale as double

    // The page shown and the pages before it (newest last).
    HelpPage page;
    std::vector<HelpPage> backList;

signals:
    void closing(ts::HelpViewerWindow* window);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();

    QString name_;
    bool isMain_;
    QLabel* noticeLabel_ = nullptr;
    QFrame* regionSeparator_ = nullptr;
};

} // namespace ts
