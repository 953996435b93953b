#pragma once
// The main window TGlavniForm: the toolbar rows, the topic list, the tab row,
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
class TChangeTopic;
class TChangeWin;
class TAutoSize;
class TLogForm;
class TAbout;
class TSearchForm;
class TContentsForm;
class TSearchPBForm;
class TLinkForm;
class TInsertButton;
class TFriendlyStatusBar;
class TTopicTabBar;
class Speller;

class TGlavniForm : public QMainWindow {
    Q_OBJECT
public:
    // How a save command ended. A cancelled Save As lets the commands that
    // asked for it go on; a failed write stops them.
    enum class SaveResult { Saved, Cancelled, Failed };

    explicit TGlavniForm(Prompter& prompter, QWidget* parent = nullptr);
    ~TGlavniForm() override;

    // The start screen that Timer1 closes two seconds after the first show.
    void setStartScreen(TStartForm* startScreen);
    TStartForm* startScreen() const { return StartScreen_; }
    // The program's argument; opened at the first show when it names a
    // project file and the settings file exists.
    void setProgramArgument(const QString& argument) { ProgramArgument_ = argument; }

    Project& project() { return Project_; }
    const Project& project() const { return Project_; }
    const RecentFiles& recentFiles() const { return Recent_; }
    // The folder of the settings file and the unnamed project, with its '/'.
    const QString& programFolder() const { return ProgramFolder_; }
    // The index of the current topic (the selected tab), or -1 without topics.
    int CurrentTopic() const;
    // The editor the formatting toolbar acts on: of Header and TopicText, the
    // one that last gained or lost the focus (Header at start). The combo
    // boxes take the focus when used, so the focus cannot tell.
    QTextEdit* LastUsedEditor() const;
    // The one of Header and TopicText that has the focus, or nullptr.
    QTextEdit* ActiveEditor() const;

    // ---- Controls, named as on the form (each also its objectName) ----
    QFrame* Panel1;
    QToolButton *NewButton, *OpenButton, *SaveButton, *GoButton, *AllButton, *PrjButton, *RtfButton,
        *CntButton, *LogButton, *TopiclButton, *BmpButton, *TBmpButton, *ButtonButton, *JumpButton,
        *WebButton, *CutButton, *CopyButton, *PasteButton, *SpeedButton1, *SpellButton;
    QToolButton *TLButton, *CTButton, *ATButton, *DTButton, *CWButton;
    QComboBox *FontCombo, *FSize, *IndentCombo;
    QLabel *Panel7, *Panel6;
    QToolButton *FBold, *Fitalic, *LeftButton, *CenterButton;
    QButtonGroup* AlignGroup;

    QFrame* TopicPanel;
    QListWidget* TopicLB;
    QLineEdit* ImeBuffer;
    QTextEdit *RichAll, *RichTemp;

    QWidget* Panel2;
    TTopicTabBar* TopicTab;
    QLabel *Label1, *Label2;
    QTextEdit* Header;
    QLabel* Panel5;
    QTextEdit* TopicText;
    QLabel* Panel8;
    QLineEdit* Edit1;

    TFriendlyStatusBar* SB;
    QProgressBar* PB;
    QTimer* Timer1;
    // "OPEN", "UPITNIK", "CLOSE", "UNCHECK", "CHECK" at indices 0..4.
    QList<QIcon> ImageList1;
    TChangeTopic* ChangeTopic;
    TChangeWin* ChangeWin;
    TAutoSize* AutoSize;
    TLogForm* LogForm;
    TAbout* About;
    TSearchForm* SearchForm;
    TContentsForm* ContentsForm;
    TSearchPBForm* SearchPBForm;
    TLinkForm* LinkForm;
    TInsertButton* InsertButton;

    // Starts the help compiler without waiting for it; a failed start says
    // nothing. QProcess::startDetached unless a test puts its own here.
    std::function<void(const CompilerLaunch&)> StartCompiler;

    // ---- Menus ----
    QMenu *File1, *Reopen1, *Edit2, *Build1, *Tools1, *Help1;
    QAction *New1, *Open1, *Save1, *SaveAs1, *Exit1;
    std::array<QAction*, RecentFiles::Count> ReopenItems; // N11, N21, N31, N41, N51
    QAction *Cut1, *Copy1, *Paste1, *SelectAll1, *AddTopic1, *DeleteTopic1, *ChangeTopicProperties1,
        *EditWindows1;
    QAction* Search1;
    QAction *Buildallandshowhelp1, *ShowLog1, *ProjectRTFfile1, *Projectfileonly1, *RTFfileonly1,
        *SetHelpCompiler1;
    QAction *Contentseditor1, *ShowextendedTopicList1, *SpellCheck1, *AddBitmap1, *AddTransparentBitmap1,
        *AddRelatedTopicsbutton1, *AddLinktoAnotherTopic1, *AddInternetlink1;
    QAction *Contents1, *About1;

    // ---- Spell checking (MainWindowSpelling.cpp) ----
    // The speller, made at first use; the user's added words go to
    // Topicsmith.dic in the program folder.
    ts::Speller& speller();
    // Words never reported, compared exactly.
    QStringList SpellExceptions;
    // The speller's events: an EventAction of 1 passes the word over.
    void SpellerMisspelled(ts::Speller& sender, std::int16_t& EventAction);
    void SpellerClickIn(ts::Speller& sender, std::int16_t& EventAction);

public slots:
    // Start and end (MainWindowStart.cpp).
    void FormShow();
    bool FormClose();
    void Exit1Click();
    void Timer1Timer();

    // Topics (MainWindowTopics.cpp).
    void TopicTabChanging();
    void TopicTabChange();
    void TopicLBClick();
    void TLButtonClick();
    void ATButtonClick();
    void DTButtonClick();
    void CWButtonClick();
    void CTButtonClick();
    // Link maintenance for a Topic ID rename (WindowLinkMode false) or a
    // window reference rewrite (WindowLinkMode true) (MainWindowLinks.cpp).
    void RewriteLinks(const QString& oldText, const QString& newText);

    // Project file (MainWindowProject.cpp).
    void NewButtonClick();
    void Open1Click();
    SaveResult Save1Click();
    SaveResult SaveAs1Click();
    void ArrangeReopen();
    void N11Click(int item);

    void EnableControls();
    void DisableControls();

    // Editing and formatting (MainWindowEditing.cpp).
    void CutButtonClick();
    void CopyButtonClick();
    void PasteButtonClick();
    void SelectAll1Click();
    void FontComboChange();
    void FSizeChange();
    void Panel6Click();
    void FBoldClick();
    void FitalicClick();
    void LeftButtonClick();
    void CenterButtonClick();
    void IndentComboChange();
    void HeaderEnter();
    void HeaderExit();
    void TopicTextEnter();
    void TopicTextExit();
    void HeaderSelectionChange();
    void TopicTextSelectionChange();
    // Shows `format` (an editor's selection format) and the paragraph at the
    // active editor's caret on the toolbar, without running its handlers.
    void UpdateInfo(const QTextCharFormat& format);

    // Build menu, compile log and extended topic list (MainWindowBuild.cpp).
    void GoButtonClick();
    void AllButtonClick();
    void PrjButtonClick();
    void RtfButtonClick();
    void ShowLog1Click();
    void SetHelpCompiler1Click();
    void TopiclButtonClick();

    // Topic search (MainWindowSearch.cpp).
    void SpeedButton1Click();

    // Link, button and bitmap insertion (MainWindowInsert.cpp). BmpButtonClick
    // inserts a transparent bitmap when TBmpButton or AddTransparentBitmap1
    // invoked it.
    void BmpButtonClick();
    void ButtonButtonClick();
    void JumpButtonClick();
    void WebButtonClick();

    // Commands whose work is still to come (MainWindowLater.cpp).
    void CntButtonClick();
    void SpellButtonClick();
    void Contents1Click();
    void About1Click();

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
    void FormCreate();
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

    Prompter& Prompter_;
    QString ProgramFolder_;
    Project Project_;
    RecentFiles Recent_;
    QString ProgramArgument_;
    QPointer<TStartForm> StartScreen_;
    QString LastSavedPath_;
    bool Shown_ = false;
    bool Closed_ = false;
    bool HeaderLastUsed_ = true;
    // The colour the colour dialog starts on, 0x00BBGGRR.
    std::uint32_t LastColor_ = 0;
    ts::Speller* Speller_ = nullptr;
};

} // namespace ts
