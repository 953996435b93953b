#pragma once
// The main window MainWindow: the toolbar rows, the topic list, the tab row,
// the two topic editors, the keywords field and the status bar, and the
// commands behind them. It owns the one Project of the run and hands it to
// the dialogs; every message and file dialog goes through the Prompter.
//
// The implementation is split by concern:
//   MainWindow.cpp         layout, menus, toolbar, enabling
//   MainWindowTopics.cpp   store/load between editors and topics, add, delete,
//                          switch, topic properties, topic list toggle
//   MainWindowProject.cpp  New, Open, Save, Save As, recent files
//   MainWindowBuild.cpp    the Build menu, the compile log viewer and the
//                          extended topic list
//   MainWindowStart.cpp    creation, first show, closing, settings
//   MainWindowEditing.cpp  formatting toolbar, Edit commands, last-used editor
//   MainWindowSearch.cpp   topic search
//   MainWindowLater.cpp    commands whose work is still to come
//   MainWindowTabBar.cpp   the tab row, which takes a whole project at once
//   MainWindowLinks.cpp    link maintenance after renames and window changes
//   MainWindowInsert.cpp   link, button and bitmap insertion into the editors
//   MainWindowSpelling.cpp spell checking of the topic areas

#include "StartScreen.h"
#include "helpsource/CompilerCommand.h"
#include "model/Project.h"
#include "settings/RecentFiles.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QAction;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QTextCharFormat;
class QTextEdit;
class QTimer;
class QToolButton;

namespace ts {

class Prompter;
class TopicPropertiesDialog;
class WindowEditorDialog;
class AutoSizeDialog;
class LogViewer;
class AboutDialog;
class SearchDialog;
class ContentsDialog;
class SearchProgressDialog;
class LinkDialog;
class ButtonDialog;
class StatusBar;
class TopicTabBar;
class Speller;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // How a save command ended. A cancelled Save As lets the commands that
    // asked for it go on; a failed write stops them.
    enum class SaveResult { Saved, Cancelled, Failed };

    explicit MainWindow(Prompter& prompter, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start screen that startScreenTimer closes two seconds after the first show.
    void setStartScreen(StartScreen* startScreen);
    StartScreen* startScreen() const { return startScreen_; }
    // The program's argument; opened at the first show when it names a
    // project file and the settings file exists.
    void setProgramArgument(const QString& argument) { programArgument_ = argument; }

    Project& project() { return project_; }
    const Project& project() const { return project_; }
    const RecentFiles& recentFiles() const { return recent_; }
    // The folder of the settings file and the unnamed project, with its '/'.
    const QString& programFolder() const { return programFolder_; }
    // The index of the current topic (the selected tab), or -1 without topics.
    int currentTopic() const;
    // The editor the formatting toolbar acts on: of headerEditor and topicEditor, the
    // one that last gained or lost the focus (headerEditor at start). The combo
    // boxes take the focus when used, so the focus cannot tell.
    QTextEdit* lastUsedEditor() const;
    // The one of headerEditor and topicEditor that has the focus, or nullptr.
    QTextEdit* activeEditor() const;

    // ---- Controls, named as on the form (each also its objectName) ----
    QFrame* toolBarPanel;
    QToolButton *newButton, *openButton, *saveButton, *compileButton, *buildAllButton, *projectFilesButton, *topicFileButton,
        *contentsButton, *logButton, *topicListButton, *bitmapButton, *transparentBitmapButton, *relatedTopicsButton, *topicLinkButton,
        *webLinkButton, *cutButton, *copyButton, *pasteButton, *searchButton, *spellButton;
    QToolButton *topicListToggle, *topicPropertiesButton, *addTopicButton, *deleteTopicButton, *editWindowsButton;
    QComboBox *fontCombo, *sizeCombo, *indentCombo;
    QLabel *colourLabel, *colourSwatch;
    QToolButton *boldButton, *italicButton, *leftAlignButton, *centreButton;
    QButtonGroup* alignGroup;

    QFrame* topicListPanel;
    QListWidget* topicList;
    QLineEdit* markupBuffer;
    QTextEdit *allTopicsText, *scratchText;

    QWidget* editorPanel;
    TopicTabBar* topicTabs;
    QLabel *nonScrollingCaption, *topicTitleLabel;
    QTextEdit* headerEditor;
    QLabel* topicAreaCaption;
    QTextEdit* topicEditor;
    QLabel* keywordsCaption;
    QLineEdit* keywordsEdit;

    StatusBar* statusBar;
    QProgressBar* progressBar;
    QTimer* startScreenTimer;
    // "OPEN", "UPITNIK", "CLOSE", "UNCHECK", "CHECK" at indices 0..4.
    QList<QIcon> listIcons;
    TopicPropertiesDialog* topicPropertiesDialog;
    WindowEditorDialog* windowEditor;
    AutoSizeDialog* autoSizeDialog;
    LogViewer* logViewer;
    AboutDialog* aboutDialog;
    SearchDialog* searchDialog;
    ContentsDialog* contentsDialog;
    SearchProgressDialog* searchProgress;
    LinkDialog* linkDialog;
    ButtonDialog* buttonDialog;

    // Starts the help compiler without waiting for it; a failed start says
    // nothing. QProcess::startDetached unless a test puts its own here.
    std::function<void(const CompilerLaunch&)> startCompiler;

    // ---- Menus ----
    QMenu *fileMenu, *reopenMenu, *editMenu, *buildMenu, *toolsMenu, *helpMenu;
    QAction *newAction, *openAction, *saveAction, *saveAsAction, *exitAction;
    std::array<QAction*, RecentFiles::Count> reopenActions; // N11, N21, N31, N41, N51
    QAction *cutAction, *copyAction, *pasteAction, *selectAllAction, *addTopicAction, *deleteTopicAction, *topicPropertiesAction,
        *editWindowsAction;
    QAction* searchAction;
    QAction *compileAction, *showLogAction, *buildAllAction, *projectFilesAction, *topicFileAction,
        *setCompilerAction;
    QAction *contentsEditorAction, *topicListAction, *spellCheckAction, *addBitmapAction, *addTransparentBitmapAction,
        *addRelatedTopicsButtonAction, *addTopicLinkAction, *addWebLinkAction;
    QAction *helpContentsAction, *aboutAction;

    // ---- Spell checking (MainWindowSpelling.cpp) ----
    // The speller, made at first use; the user's added words go to
    // Topicsmith.dic in the program folder.
    ts::Speller& speller();
    // Words never reported, compared exactly.
    QStringList spellExceptions;
    // The speller's events: an action of 1 passes the word over.
    void onMisspelled(ts::Speller& sender, std::int16_t& action);
    void onSpellerClick(ts::Speller& sender, std::int16_t& action);

public slots:
    // Start and end (MainWindowStart.cpp).
    void onFirstShow();
    bool confirmClose();
    void exitProgram();
    void closeStartScreen();

    // Topics (MainWindowTopics.cpp).
    void storeCurrentTopic();
    void loadCurrentTopic();
    void onTopicListClicked();
    void toggleTopicList();
    void addTopic();
    void deleteTopic();
    void editWindows();
    void changeTopicProperties();
    // Link maintenance for a Topic ID rename (WindowLinkMode false) or a
    // window reference rewrite (WindowLinkMode true) (MainWindowLinks.cpp).
    void rewriteLinks(const QString& oldText, const QString& newText);

    // Project file (MainWindowProject.cpp).
    void newProject();
    void openProject();
    SaveResult saveProject();
    SaveResult saveProjectAs();
    void rememberRecentProject();
    void openRecentProject(int item);

    void enableControls();
    void disableControls();

    // Editing and formatting (MainWindowEditing.cpp).
    void cut();
    void copy();
    void paste();
    void selectAll();
    void applyFontFace();
    void applyFontSize();
    void chooseTextColour();
    void applyBold();
    void applyItalic();
    void alignLeft();
    void alignCentre();
    void applyIndent();
    void headerEntered();
    void headerLeft();
    void topicEditorEntered();
    void topicEditorLeft();
    void showHeaderFormat();
    void showTopicFormat();
    // Shows `format` (an editor's selection format) and the paragraph at the
    // active editor's caret on the toolbar, without running its handlers.
    void showFormat(const QTextCharFormat& format);

    // Build menu, compile log and extended topic list (MainWindowBuild.cpp).
    void compileProject();
    void buildSourcesOnly();
    void buildProjectFilesOnly();
    void buildTopicFileOnly();
    void showCompileLog();
    void setHelpCompiler();
    void showTopicList();

    // Topic search (MainWindowSearch.cpp).
    void searchTopics();

    // Link, button and bitmap insertion (MainWindowInsert.cpp). insertBitmap
    // inserts a transparent bitmap when transparentBitmapButton or addTransparentBitmapAction
    // invoked it.
    void insertBitmap();
    void insertRelatedTopicsButton();
    void insertTopicLink();
    void insertWebLink();

    // Commands whose work is still to come (MainWindowLater.cpp).
    void editContents();
    void checkSpelling();
    void showHelpContents();
    void showAbout();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (MainWindow.cpp).
    void buildToolbar();
    void buildTopicArea();
    void buildMenus();
    void connectCommands();
    void setEditingEnabled(bool enabled);

    // Start (MainWindowStart.cpp).
    void initialise();
    void readSettings();
    void writeSettings();

    // Topics.
    void selectTab(int index);
    void onTabSwitched(int index);
    void copyTabsToList();
    void setEditorColor(QTextEdit* editor, std::uint32_t color);
    void clearEditor(QTextEdit* editor);

    // Project file.
    bool askSaveBeforeClosing(const QString& text, const QString& caption);
    void clearProject();
    bool writeProjectFile(const QString& path);
    void showIoError(const QString& message);
    void refreshRecentMenu();
    void setProjectPanel(const QString& path);

    // Editing.
    void connectEditing();
    void applyCharFormat(const QTextCharFormat& change);
    void returnFocus(QTextEdit* target);
    // The whole number in a size or indent box, or the refusal shown.
    std::optional<int> comboNumber(QComboBox* combo);

    // Build: each step reports its own failure and returns false.
    bool buildTopicFile();
    bool buildProjectFiles();
    bool chooseCompiler();

    Prompter& prompter_;
    QString programFolder_;
    Project project_;
    RecentFiles recent_;
    QString programArgument_;
    QPointer<StartScreen> startScreen_;
    QString lastSavedPath_;
    bool shown_ = false;
    bool closed_ = false;
    bool headerLastUsed_ = true;
    // The colour the colour dialog starts on, 0x00BBGGRR.
    std::uint32_t lastColour_ = 0;
    ts::Speller* speller_ = nullptr;
};

} // namespace ts
