// MainWindow: layout of the window, the menu tree, the toolbar rows and the
// switch that enables the editing commands.

#include "MainWindow.h"

#include "AboutDialog.h"
#include "AutoSizeDialog.h"
#include "ButtonDialog.h"
#include "TopicPropertiesDialog.h"
#include "ContentsDialog.h"
#include "LinkDialog.h"
#include "LogViewer.h"
#include "TopicTabBar.h"
#include "Prompter.h"
#include "SearchDialog.h"
#include "SearchProgressDialog.h"
#include "StartScreen.h"
#include "StatusBar.h"
#include "WindowEditorDialog.h"
#include "model/Windows1252.h"
#include "settings/ProgramFolder.h"
#include "StorableTextValidator.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

// Resources of a static library are registered by hand.
static void initTopicsmithResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace ts {

namespace {

// The menu shortcuts that win over the editors' own keys (Ctrl+A is Save As
// here, Ctrl+Ins and Ctrl+Del add and delete topics). Ctrl+X, Ctrl+C and
// Ctrl+V are the Edit menu's and act on the topic editors only: in the
// keywords field or the topic list they do nothing.
bool isWindowShortcut(const QKeyEvent* key)
{
    const QKeyCombination combo = key->keyCombination();
    const Qt::KeyboardModifiers mods = combo.keyboardModifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier) {
        switch (combo.key()) {
        case Qt::Key_A:
        case Qt::Key_C:
        case Qt::Key_V:
        case Qt::Key_X:
        case Qt::Key_O:
        case Qt::Key_S:
        case Qt::Key_Insert:
        case Qt::Key_Delete:
            return true;
        default:
            return false;
        }
    }
    return mods == Qt::NoModifier && combo.key() == Qt::Key_F9;
}

QToolButton* toolButton(QWidget* parent, QLayout* row, const char* name, const QString& hint,
                        const QString& icon)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(QIcon(QStringLiteral(":/icons/") + icon));
    b->setIconSize(QSize(18, 18));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    row->addWidget(b);
    return b;
}

void separator(QHBoxLayout* row)
{
    row->addSpacing(8);
}

QTextEdit* makeTopicEditor(QWidget* parent, const char* name)
{
    auto* e = new QTextEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAcceptRichText(true);
    e->setTabChangesFocus(false);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The selection stays visible when the editor loses the focus.
    QPalette pal = e->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    e->setPalette(pal);
    return e;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = QKeySequence())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

} // namespace

MainWindow::MainWindow(Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), programFolder_(ts::ProgramFolder()), project_(programFolder_)
{
    initTopicsmithResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Topicsmith"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/logo")));
    setProperty("helpContext", 140);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    buildToolbar();
    layout->addWidget(toolBarPanel);
    buildTopicArea();
    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(2);
    body->addWidget(topicListPanel);
    body->addWidget(editorPanel, 1);
    layout->addLayout(body, 1);

    statusBar = new StatusBar(this);
    progressBar = statusBar->progressBar;
    setStatusBar(statusBar);

    buildMenus();

    startScreenTimer = new QTimer(this);
    startScreenTimer->setObjectName(QStringLiteral("startScreenTimer"));
    startScreenTimer->setSingleShot(true);
    startScreenTimer->setInterval(2000);

    topicPropertiesDialog = new TopicPropertiesDialog(project_, prompter_, this);
    autoSizeDialog = new AutoSizeDialog(this);
    windowEditor = new WindowEditorDialog(project_, prompter_, lastColour_, *autoSizeDialog, this);
    connect(windowEditor, &WindowEditorDialog::rewriteWindowLinks, this, &MainWindow::rewriteLinks);
    logViewer = new LogViewer(prompter_, this);
    searchProgress = new SearchProgressDialog(this);
    searchDialog = new SearchDialog(project_, *searchProgress, listIcons, this);
    contentsDialog = new ContentsDialog(project_, prompter_, *searchDialog, listIcons, this);
    aboutDialog = new AboutDialog(this);
    linkDialog = new LinkDialog(prompter_, this);
    buttonDialog = new ButtonDialog(this);

    connectCommands();
    qApp->installEventFilter(this);
    initialise();
}

MainWindow::~MainWindow()
{
    if (startScreen_)
        delete startScreen_.data();
}

void MainWindow::buildToolbar()
{
    toolBarPanel = new QFrame(this);
    toolBarPanel->setObjectName(QStringLiteral("toolBarPanel"));
    toolBarPanel->setFrameShape(QFrame::StyledPanel);
    toolBarPanel->setFixedHeight(61);
    // A narrow window clips the toolbar rows instead of refusing to shrink.
    toolBarPanel->setMinimumWidth(1);
    auto* rows = new QVBoxLayout(toolBarPanel);
    rows->setContentsMargins(2, 1, 2, 1);
    rows->setSpacing(1);

    auto* upper = new QHBoxLayout;
    upper->setSpacing(0);
    rows->addLayout(upper);
    QWidget* p = toolBarPanel;
    newButton = toolButton(p, upper, "newButton", QStringLiteral("New Project"), QStringLiteral("new"));
    openButton = toolButton(p, upper, "openButton", QStringLiteral("Open Project"), QStringLiteral("open"));
    saveButton = toolButton(p, upper, "saveButton", QStringLiteral("Save Project"), QStringLiteral("save"));
    separator(upper);
    compileButton = toolButton(p, upper, "compileButton", QStringLiteral("Build all, compile help file and show it"),
                          QStringLiteral("go"));
    buildAllButton = toolButton(p, upper, "buildAllButton", QStringLiteral("Create HPJ, CNT and RTF files"),
                           QStringLiteral("all"));
    projectFilesButton = toolButton(p, upper, "projectFilesButton", QStringLiteral("Create PRJ and CNT Files Only"),
                           QStringLiteral("prj"));
    topicFileButton = toolButton(p, upper, "topicFileButton", QStringLiteral("Create RTF File Only"), QStringLiteral("rtf"));
    separator(upper);
    contentsButton = toolButton(p, upper, "contentsButton", QStringLiteral("Contentst editor"), QStringLiteral("cnt"));
    logButton = toolButton(p, upper, "logButton", QStringLiteral("Show Last Compile Info"), QStringLiteral("log"));
    topicListButton = toolButton(p, upper, "topicListButton", QStringLiteral("Show extended Topic List"),
                              QStringLiteral("topicl"));
    separator(upper);
    bitmapButton = toolButton(p, upper, "bitmapButton", QStringLiteral("Insert Bitmap or Segmented Hypergraphic"),
                           QStringLiteral("bmp"));
    transparentBitmapButton = toolButton(p, upper, "transparentBitmapButton", QStringLiteral("Insert Transparent Bitmap"),
                            QStringLiteral("tbmp"));
    relatedTopicsButton = toolButton(p, upper, "relatedTopicsButton", QStringLiteral("Insert Related Topics button"),
                              QStringLiteral("button"));
    topicLinkButton = toolButton(p, upper, "topicLinkButton", QStringLiteral("Insert Link to another topic"),
                            QStringLiteral("jump"));
    webLinkButton = toolButton(p, upper, "webLinkButton", QStringLiteral("Insert Link to WEB or e-mail"),
                           QStringLiteral("web"));
    separator(upper);
    cutButton = toolButton(p, upper, "cutButton", QStringLiteral("Cut"), QStringLiteral("cut"));
    copyButton = toolButton(p, upper, "copyButton", QStringLiteral("Copy"), QStringLiteral("copy"));
    pasteButton = toolButton(p, upper, "pasteButton", QStringLiteral("Paste"), QStringLiteral("paste"));
    separator(upper);
    searchButton = toolButton(p, upper, "searchButton", QStringLiteral("Search topic..."), QStringLiteral("search"));
    spellButton = toolButton(p, upper, "spellButton", QStringLiteral("Spell Check"), QStringLiteral("spell"));
    upper->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->setSpacing(0);
    rows->addLayout(lower);
    topicListToggle = toolButton(p, lower, "topicListToggle", QStringLiteral("Show/Hide Topic ID List"), QStringLiteral("tl"));
    topicListToggle->setCheckable(true);
    topicListToggle->setChecked(true);
    topicPropertiesButton = toolButton(p, lower, "topicPropertiesButton", QStringLiteral("Change Topic Properties"), QStringLiteral("ct"));
    addTopicButton = toolButton(p, lower, "addTopicButton", QStringLiteral("Add new Topic"), QStringLiteral("at"));
    deleteTopicButton = toolButton(p, lower, "deleteTopicButton", QStringLiteral("Delete Current Topic"), QStringLiteral("dt"));
    editWindowsButton = toolButton(p, lower, "editWindowsButton", QStringLiteral("Edit Windows"), QStringLiteral("cw"));
    separator(lower);

    fontCombo = new QComboBox(p);
    fontCombo->setObjectName(QStringLiteral("fontCombo"));
    fontCombo->setToolTip(QStringLiteral("Font Face"));
    fontCombo->setEditable(true);
    fontCombo->setInsertPolicy(QComboBox::NoInsert);
    fontCombo->setMaxVisibleItems(16);
    fontCombo->setMinimumContentsLength(18);
    fontCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lower->addWidget(fontCombo);

    sizeCombo = new QComboBox(p);
    sizeCombo->setObjectName(QStringLiteral("sizeCombo"));
    sizeCombo->setToolTip(QStringLiteral("Font Size"));
    sizeCombo->setEditable(true);
    sizeCombo->setInsertPolicy(QComboBox::NoInsert);
    sizeCombo->addItems({QStringLiteral("6"), QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12"),
                     QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("20"),
                     QStringLiteral("24"), QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("30"),
                     QStringLiteral("35"), QStringLiteral("40"), QStringLiteral("50"), QStringLiteral("60"),
                     QStringLiteral("70")});
    sizeCombo->setCurrentIndex(sizeCombo->findText(QStringLiteral("8")));
    sizeCombo->setMinimumContentsLength(3);
    lower->addWidget(sizeCombo);

    // "Color" above the swatch of the current text colour; both are click areas.
    auto* colorBox = new QWidget(p);
    auto* colorLayout = new QVBoxLayout(colorBox);
    colorLayout->setContentsMargins(3, 0, 3, 0);
    colorLayout->setSpacing(1);
    colourLabel = new QLabel(QStringLiteral("Color"), colorBox);
    colourLabel->setObjectName(QStringLiteral("colourLabel"));
    colourLabel->setToolTip(QStringLiteral("Font Color"));
    colourLabel->setAlignment(Qt::AlignCenter);
    QFont small = colourLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    colourLabel->setFont(small);
    colourSwatch = new QLabel(colorBox);
    colourSwatch->setObjectName(QStringLiteral("colourSwatch"));
    colourSwatch->setToolTip(QStringLiteral("Font Color"));
    colourSwatch->setFixedSize(30, 8);
    colourSwatch->setAutoFillBackground(true);
    colourSwatch->setFrameShape(QFrame::Box);
    QPalette swatch = colourSwatch->palette();
    swatch.setColor(QPalette::Window, Qt::black);
    colourSwatch->setPalette(swatch);
    colourSwatch->installEventFilter(this);
    colourLabel->installEventFilter(this);
    colorLayout->addWidget(colourLabel);
    colorLayout->addWidget(colourSwatch, 0, Qt::AlignHCenter);
    lower->addWidget(colorBox);

    boldButton = toolButton(p, lower, "boldButton", QStringLiteral("Bold"), QStringLiteral("bold"));
    boldButton->setCheckable(true);
    italicButton = toolButton(p, lower, "italicButton", QStringLiteral("Italic"), QStringLiteral("italic"));
    italicButton->setCheckable(true);
    separator(lower);
    leftAlignButton = toolButton(p, lower, "leftAlignButton", QStringLiteral("Left Allignment"), QStringLiteral("left"));
    centreButton = toolButton(p, lower, "centreButton", QStringLiteral("Center"), QStringLiteral("center"));
    leftAlignButton->setCheckable(true);
    centreButton->setCheckable(true);
    alignGroup = new QButtonGroup(this);
    alignGroup->setExclusive(true);
    alignGroup->addButton(leftAlignButton);
    alignGroup->addButton(centreButton);
    leftAlignButton->setChecked(true);
    separator(lower);

    indentCombo = new QComboBox(p);
    indentCombo->setObjectName(QStringLiteral("indentCombo"));
    indentCombo->setToolTip(QStringLiteral("Indent size"));
    indentCombo->setEditable(true);
    indentCombo->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 0; i <= 50; i += 5)
        indentCombo->addItem(QString::number(i));
    indentCombo->setCurrentText(QStringLiteral("0"));
    indentCombo->setMinimumContentsLength(3);
    lower->addWidget(indentCombo);
    lower->addStretch(1);
}

void MainWindow::buildTopicArea()
{
    topicListPanel = new QFrame(this);
    topicListPanel->setObjectName(QStringLiteral("topicListPanel"));
    topicListPanel->setFrameShape(QFrame::Panel);
    topicListPanel->setFrameShadow(QFrame::Sunken);
    topicListPanel->setFixedWidth(165);
    auto* listLayout = new QVBoxLayout(topicListPanel);
    listLayout->setContentsMargins(1, 1, 1, 1);
    topicList = new QListWidget(topicListPanel);
    topicList->setObjectName(QStringLiteral("topicList"));
    topicList->setUniformItemSizes(true);
    listLayout->addWidget(topicList);

    // Working controls of later commands; never shown.
    markupBuffer = new QLineEdit(topicListPanel);
    markupBuffer->setObjectName(QStringLiteral("markupBuffer"));
    markupBuffer->hide();
    allTopicsText = new QTextEdit(topicListPanel);
    allTopicsText->setObjectName(QStringLiteral("allTopicsText"));
    allTopicsText->hide();
    scratchText = new QTextEdit(topicListPanel);
    scratchText->setObjectName(QStringLiteral("scratchText"));
    scratchText->setLineWrapMode(QTextEdit::NoWrap);
    scratchText->move(-2000, 0);
    scratchText->hide();

    editorPanel = new QWidget(this);
    editorPanel->setObjectName(QStringLiteral("editorPanel"));
    auto* v = new QVBoxLayout(editorPanel);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);

    topicTabs = new TopicTabBar(editorPanel);
    topicTabs->setObjectName(QStringLiteral("topicTabs"));
    topicTabs->setExpanding(false);
    topicTabs->setUsesScrollButtons(true);
    topicTabs->setElideMode(Qt::ElideNone);
    // The row keeps its height while it has no tabs, so the editors do not
    // move when the first topic arrives.
    topicTabs->addTab(QStringLiteral("TOPIC"));
    topicTabs->setMinimumHeight(topicTabs->sizeHint().height());
    topicTabs->removeTab(0);
    v->addWidget(topicTabs);

    auto* captionLine = new QHBoxLayout;
    captionLine->setContentsMargins(2, 0, 2, 0);
    nonScrollingCaption = new QLabel(QStringLiteral("Non Scroll area"), editorPanel);
    nonScrollingCaption->setObjectName(QStringLiteral("nonScrollingCaption"));
    topicTitleLabel = new QLabel(QStringLiteral("Topic Title "), editorPanel);
    topicTitleLabel->setObjectName(QStringLiteral("topicTitleLabel"));
    QFont bold = topicTitleLabel->font();
    bold.setBold(true);
    topicTitleLabel->setFont(bold);
    topicTitleLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    topicTitleLabel->setTextFormat(Qt::PlainText);
    captionLine->addWidget(nonScrollingCaption);
    captionLine->addWidget(topicTitleLabel, 1);
    v->addLayout(captionLine);

    headerEditor = makeTopicEditor(editorPanel, "headerEditor");
    headerEditor->setFixedHeight(84);
    {
        // The button-face colour until a topic's window colours it.
        QPalette pal = headerEditor->palette();
        const QColor face = QApplication::palette().color(QPalette::Button);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Base, face);
        headerEditor->setPalette(pal);
    }
    v->addWidget(headerEditor);

    topicAreaCaption = new QLabel(QStringLiteral("Topic area"), editorPanel);
    topicAreaCaption->setObjectName(QStringLiteral("topicAreaCaption"));
    topicAreaCaption->setContentsMargins(2, 0, 2, 0);
    v->addWidget(topicAreaCaption);

    topicEditor = makeTopicEditor(editorPanel, "topicEditor");
    setEditorColor(topicEditor, 0xDCFFFF);
    v->addWidget(topicEditor, 1);

    keywordsCaption = new QLabel(QStringLiteral("Keywords:"), editorPanel);
    keywordsCaption->setObjectName(QStringLiteral("keywordsCaption"));
    keywordsCaption->setContentsMargins(2, 0, 2, 0);
    v->addWidget(keywordsCaption);

    keywordsEdit = new QLineEdit(editorPanel);
    keywordsEdit->setObjectName(QStringLiteral("keywordsEdit"));
    keywordsEdit->setMaxLength(255);
    keywordsEdit->setValidator(new StorableTextValidator(keywordsEdit));
    v->addWidget(keywordsEdit);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();

    fileMenu = bar->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    newAction = menuItem(fileMenu, "newAction", QStringLiteral("&New"));
    openAction = menuItem(fileMenu, "openAction", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    reopenMenu = fileMenu->addMenu(QStringLiteral("&Reopen"));
    reopenMenu->setObjectName(QStringLiteral("reopenMenu"));
    static const char* const reopenNames[RecentFiles::Count] = {"reopenAction1", "reopenAction2", "reopenAction3", "reopenAction4", "reopenAction5"};
    for (int k = 0; k < RecentFiles::Count; ++k)
        reopenActions[size_t(k)] = menuItem(reopenMenu, reopenNames[k], RecentFiles::emptyCaption(k));
    saveAction = menuItem(fileMenu, "saveAction", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAsAction = menuItem(fileMenu, "saveAsAction", QStringLiteral("Save &As..."), QKeySequence(Qt::CTRL | Qt::Key_A));
    fileMenu->addSeparator();
    exitAction = menuItem(fileMenu, "exitAction", QStringLiteral("E&xit"));

    editMenu = bar->addMenu(QStringLiteral("&Edit"));
    editMenu->setObjectName(QStringLiteral("editMenu"));
    cutAction = menuItem(editMenu, "cutAction", QStringLiteral("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X));
    copyAction = menuItem(editMenu, "copyAction", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    pasteAction = menuItem(editMenu, "pasteAction", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    selectAllAction = menuItem(editMenu, "selectAllAction", QStringLiteral("Select &All"));
    editMenu->addSeparator();
    addTopicAction = menuItem(editMenu, "addTopicAction", QStringLiteral("&Add Topic..."), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    deleteTopicAction =
        menuItem(editMenu, "deleteTopicAction", QStringLiteral("&Delete Topic"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    topicPropertiesAction =
        menuItem(editMenu, "topicPropertiesAction", QStringLiteral("Change &Topic Properties..."));
    editWindowsAction = menuItem(editMenu, "editWindowsAction", QStringLiteral("Edit &Windows..."));

    searchAction = bar->addAction(QStringLiteral("&Search..."));
    searchAction->setObjectName(QStringLiteral("searchAction"));

    buildMenu = bar->addMenu(QStringLiteral("&Build"));
    buildMenu->setObjectName(QStringLiteral("buildMenu"));
    compileAction = menuItem(buildMenu, "compileAction", QStringLiteral("Build All, &Compile and show Help"),
                                    QKeySequence(Qt::Key_F9));
    showLogAction = menuItem(buildMenu, "showLogAction", QStringLiteral("Show Last Compile &Log"));
    buildMenu->addSeparator();
    buildAllAction = menuItem(buildMenu, "buildAllAction", QStringLiteral("&Build All Without Compiling"));
    projectFilesAction = menuItem(buildMenu, "projectFilesAction", QStringLiteral("&Project and Contents Files Only"));
    topicFileAction = menuItem(buildMenu, "topicFileAction", QStringLiteral("&RTF File Only"));
    buildMenu->addSeparator();
    setCompilerAction = menuItem(buildMenu, "setCompilerAction", QStringLiteral("Set &Help Compiler..."));

    toolsMenu = bar->addMenu(QStringLiteral("&Tools"));
    toolsMenu->setObjectName(QStringLiteral("toolsMenu"));
    contentsEditorAction = menuItem(toolsMenu, "contentsEditorAction", QStringLiteral("&Contents editor..."));
    toolsMenu->addSeparator();
    topicListAction = menuItem(toolsMenu, "topicListAction", QStringLiteral("Show e&xtended Topic List..."));
    toolsMenu->addSeparator();
    spellCheckAction = menuItem(toolsMenu, "spellCheckAction", QStringLiteral("&Spell Check"));
    toolsMenu->addSeparator();
    addBitmapAction = menuItem(toolsMenu, "addBitmapAction", QStringLiteral("Add &Bitmap..."));
    addTransparentBitmapAction = menuItem(toolsMenu, "addTransparentBitmapAction", QStringLiteral("Add &Transparent Bitmap..."));
    addRelatedTopicsButtonAction =
        menuItem(toolsMenu, "addRelatedTopicsButtonAction", QStringLiteral("Add &Related Topics button..."));
    addTopicLinkAction = menuItem(toolsMenu, "addTopicLinkAction", QStringLiteral("Add &Link to Another Topic..."));
    addWebLinkAction = menuItem(toolsMenu, "addWebLinkAction", QStringLiteral("Add &Internet Site Link..."));

    helpMenu = bar->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpContentsAction = menuItem(helpMenu, "helpContentsAction", QStringLiteral("&Contents"));
    helpMenu->addSeparator();
    aboutAction = menuItem(helpMenu, "aboutAction", QStringLiteral("&About..."));
}

void MainWindow::connectCommands()
{
    // Project file.
    connect(newButton, &QToolButton::clicked, this, &MainWindow::newProject);
    connect(newAction, &QAction::triggered, this, &MainWindow::newProject);
    connect(openButton, &QToolButton::clicked, this, &MainWindow::openProject);
    connect(openAction, &QAction::triggered, this, &MainWindow::openProject);
    connect(saveButton, &QToolButton::clicked, this, [this] { saveProject(); });
    connect(saveAction, &QAction::triggered, this, [this] { saveProject(); });
    connect(saveAsAction, &QAction::triggered, this, [this] { saveProjectAs(); });
    connect(exitAction, &QAction::triggered, this, &MainWindow::exitProgram);
    for (int k = 0; k < RecentFiles::Count; ++k)
        connect(reopenActions[size_t(k)], &QAction::triggered, this, [this, k] { openRecentProject(k); });

    // Topics.
    connect(topicTabs, &QTabBar::currentChanged, this, &MainWindow::onTabSwitched);
    connect(topicList, &QListWidget::currentRowChanged, this, &MainWindow::onTopicListClicked);
    connect(topicListToggle, &QToolButton::clicked, this, &MainWindow::toggleTopicList);
    connect(addTopicButton, &QToolButton::clicked, this, &MainWindow::addTopic);
    connect(addTopicAction, &QAction::triggered, this, &MainWindow::addTopic);
    connect(deleteTopicButton, &QToolButton::clicked, this, &MainWindow::deleteTopic);
    connect(deleteTopicAction, &QAction::triggered, this, &MainWindow::deleteTopic);
    connect(topicPropertiesButton, &QToolButton::clicked, this, &MainWindow::changeTopicProperties);
    connect(topicPropertiesAction, &QAction::triggered, this, &MainWindow::changeTopicProperties);
    connect(editWindowsButton, &QToolButton::clicked, this, &MainWindow::editWindows);
    connect(editWindowsAction, &QAction::triggered, this, &MainWindow::editWindows);

    // Build, tools, help.
    connect(compileButton, &QToolButton::clicked, this, &MainWindow::compileProject);
    connect(compileAction, &QAction::triggered, this, &MainWindow::compileProject);
    connect(buildAllButton, &QToolButton::clicked, this, &MainWindow::buildSourcesOnly);
    connect(buildAllAction, &QAction::triggered, this, &MainWindow::buildSourcesOnly);
    connect(projectFilesButton, &QToolButton::clicked, this, &MainWindow::buildProjectFilesOnly);
    connect(projectFilesAction, &QAction::triggered, this, &MainWindow::buildProjectFilesOnly);
    connect(topicFileButton, &QToolButton::clicked, this, &MainWindow::buildTopicFileOnly);
    connect(topicFileAction, &QAction::triggered, this, &MainWindow::buildTopicFileOnly);
    connect(logButton, &QToolButton::clicked, this, &MainWindow::showCompileLog);
    connect(showLogAction, &QAction::triggered, this, &MainWindow::showCompileLog);
    connect(setCompilerAction, &QAction::triggered, this, &MainWindow::setHelpCompiler);
    connect(contentsButton, &QToolButton::clicked, this, &MainWindow::editContents);
    connect(contentsEditorAction, &QAction::triggered, this, &MainWindow::editContents);
    connect(topicListButton, &QToolButton::clicked, this, &MainWindow::showTopicList);
    connect(topicListAction, &QAction::triggered, this, &MainWindow::showTopicList);
    connect(spellButton, &QToolButton::clicked, this, &MainWindow::checkSpelling);
    connect(spellCheckAction, &QAction::triggered, this, &MainWindow::checkSpelling);
    connect(searchButton, &QToolButton::clicked, this, &MainWindow::searchTopics);
    connect(searchAction, &QAction::triggered, this, &MainWindow::searchTopics);
    connect(bitmapButton, &QToolButton::clicked, this, &MainWindow::insertBitmap);
    connect(addBitmapAction, &QAction::triggered, this, &MainWindow::insertBitmap);
    connect(transparentBitmapButton, &QToolButton::clicked, this, &MainWindow::insertBitmap);
    connect(addTransparentBitmapAction, &QAction::triggered, this, &MainWindow::insertBitmap);
    connect(relatedTopicsButton, &QToolButton::clicked, this, &MainWindow::insertRelatedTopicsButton);
    connect(addRelatedTopicsButtonAction, &QAction::triggered, this, &MainWindow::insertRelatedTopicsButton);
    connect(topicLinkButton, &QToolButton::clicked, this, &MainWindow::insertTopicLink);
    connect(addTopicLinkAction, &QAction::triggered, this, &MainWindow::insertTopicLink);
    connect(webLinkButton, &QToolButton::clicked, this, &MainWindow::insertWebLink);
    connect(addWebLinkAction, &QAction::triggered, this, &MainWindow::insertWebLink);
    connect(helpContentsAction, &QAction::triggered, this, &MainWindow::showHelpContents);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::showAbout);

    // Editing and formatting.
    connect(cutButton, &QToolButton::clicked, this, &MainWindow::cut);
    connect(cutAction, &QAction::triggered, this, &MainWindow::cut);
    connect(copyButton, &QToolButton::clicked, this, &MainWindow::copy);
    connect(copyAction, &QAction::triggered, this, &MainWindow::copy);
    connect(pasteButton, &QToolButton::clicked, this, &MainWindow::paste);
    connect(pasteAction, &QAction::triggered, this, &MainWindow::paste);
    connect(selectAllAction, &QAction::triggered, this, &MainWindow::selectAll);
    connect(fontCombo, &QComboBox::currentTextChanged, this, &MainWindow::applyFontFace);
    connect(sizeCombo, &QComboBox::currentTextChanged, this, &MainWindow::applyFontSize);
    connect(indentCombo, &QComboBox::currentTextChanged, this, &MainWindow::applyIndent);
    connect(boldButton, &QToolButton::clicked, this, &MainWindow::applyBold);
    connect(italicButton, &QToolButton::clicked, this, &MainWindow::applyItalic);
    connect(leftAlignButton, &QToolButton::clicked, this, &MainWindow::alignLeft);
    connect(centreButton, &QToolButton::clicked, this, &MainWindow::alignCentre);
    connectEditing();

    connect(startScreenTimer, &QTimer::timeout, this, &MainWindow::closeStartScreen);
}

void MainWindow::setEditingEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             topicPropertiesButton, deleteTopicButton, addTopicButton, editWindowsButton, bitmapButton, transparentBitmapButton, relatedTopicsButton, topicLinkButton, webLinkButton,
             topicFileButton, projectFilesButton, buildAllButton, compileButton, saveButton, searchButton, cutButton, copyButton,
             pasteButton, contentsButton, spellButton, headerEditor, topicEditor, keywordsEdit})
        w->setEnabled(enabled);
    // A disabled menu keeps its items' shortcuts from firing as well.
    for (QMenu* menu : {editMenu, buildMenu, toolsMenu}) {
        menu->menuAction()->setEnabled(enabled);
        for (QAction* a : menu->actions())
            a->setEnabled(enabled);
    }
    searchAction->setEnabled(enabled);
    saveAction->setEnabled(enabled);
    saveAsAction->setEnabled(enabled);
}

void MainWindow::enableControls()
{
    setEditingEnabled(true);
}

void MainWindow::disableControls()
{
    setEditingEnabled(false);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // The window's menu shortcuts come before the keys the focused
        // control would otherwise claim (Ctrl+A selects all in an editor).
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && isWindowShortcut(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
        if (watched == headerEditor)
            headerEntered();
        else if (watched == topicEditor)
            topicEditorEntered();
        break;
    case QEvent::FocusOut:
        if (watched == headerEditor)
            headerLeft();
        else if (watched == topicEditor)
            topicEditorLeft();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == colourSwatch || watched == colourLabel) {
            chooseTextColour();
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace ts
