// TGlavniForm: layout of the window, the menu tree, the toolbar rows and the
// switch that enables the editing commands.

#include "MainWindow.h"

#include "AboutDialog.h"
#include "AutoSizeDialog.h"
#include "ButtonDialog.h"
#include "ChangeTopicDialog.h"
#include "ContentsDialog.h"
#include "LinkDialog.h"
#include "LogDialog.h"
#include "MainWindowTabBar.h"
#include "Prompter.h"
#include "RichTextEdit.h"
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

QTextEdit* topicEditor(QWidget* parent, const char* name)
{
    auto* e = new RichTextEdit(parent);
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

TGlavniForm::TGlavniForm(Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), Prompter_(prompter), ProgramFolder_(ts::ProgramFolder()), Project_(ProgramFolder_)
{
    initTopicsmithResources();
    setObjectName(QStringLiteral("TGlavniForm"));
    setWindowTitle(QStringLiteral("Topicsmith"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/logo")));
    setProperty("helpContext", 140);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    buildToolbar();
    layout->addWidget(Panel1);
    buildTopicArea();
    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(2);
    body->addWidget(TopicPanel);
    body->addWidget(Panel2, 1);
    layout->addLayout(body, 1);

    SB = new TFriendlyStatusBar(this);
    PB = SB->PB;
    setStatusBar(SB);

    buildMenus();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(2000);

    ChangeTopic = new TChangeTopic(Project_, Prompter_, this);
    AutoSize = new TAutoSize(this);
    ChangeWin = new TChangeWin(Project_, Prompter_, LastColor_, *AutoSize, this);
    connect(ChangeWin, &TChangeWin::rewriteWindowLinks, this, &TGlavniForm::RewriteLinks);
    LogForm = new TLogForm(Prompter_, this);
    SearchPBForm = new TSearchPBForm(this);
    SearchForm = new TSearchForm(Project_, *SearchPBForm, ImageList1, this);
    ContentsForm = new TContentsForm(Project_, Prompter_, *SearchForm, ImageList1, this);
    About = new TAbout(this);
    LinkForm = new TLinkForm(Prompter_, this);
    InsertButton = new TInsertButton(this);

    connectCommands();
    qApp->installEventFilter(this);
    FormCreate();
}

TGlavniForm::~TGlavniForm()
{
    if (StartScreen_)
        delete StartScreen_.data();
}

void TGlavniForm::buildToolbar()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFixedHeight(61);
    // A narrow window clips the toolbar rows instead of refusing to shrink.
    Panel1->setMinimumWidth(1);
    auto* rows = new QVBoxLayout(Panel1);
    rows->setContentsMargins(2, 1, 2, 1);
    rows->setSpacing(1);

    auto* upper = new QHBoxLayout;
    upper->setSpacing(0);
    rows->addLayout(upper);
    QWidget* p = Panel1;
    NewButton = toolButton(p, upper, "NewButton", QStringLiteral("New Project"), QStringLiteral("new"));
    OpenButton = toolButton(p, upper, "OpenButton", QStringLiteral("Open Project"), QStringLiteral("open"));
    SaveButton = toolButton(p, upper, "SaveButton", QStringLiteral("Save Project"), QStringLiteral("save"));
    separator(upper);
    GoButton = toolButton(p, upper, "GoButton", QStringLiteral("Build all, compile help file and show it"),
                          QStringLiteral("go"));
    AllButton = toolButton(p, upper, "AllButton", QStringLiteral("Create HPJ, CNT and RTF files"),
                           QStringLiteral("all"));
    PrjButton = toolButton(p, upper, "PrjButton", QStringLiteral("Create PRJ and CNT Files Only"),
                           QStringLiteral("prj"));
    RtfButton = toolButton(p, upper, "RtfButton", QStringLiteral("Create RTF File Only"), QStringLiteral("rtf"));
    separator(upper);
    CntButton = toolButton(p, upper, "CntButton", QStringLiteral("Contentst editor"), QStringLiteral("cnt"));
    LogButton = toolButton(p, upper, "LogButton", QStringLiteral("Show Last Compile Info"), QStringLiteral("log"));
    TopiclButton = toolButton(p, upper, "TopiclButton", QStringLiteral("Show extended Topic List"),
                              QStringLiteral("topicl"));
    separator(upper);
    BmpButton = toolButton(p, upper, "BmpButton", QStringLiteral("Insert Bitmap or Segmented Hypergraphic"),
                           QStringLiteral("bmp"));
    TBmpButton = toolButton(p, upper, "TBmpButton", QStringLiteral("Insert Transparent Bitmap"),
                            QStringLiteral("tbmp"));
    ButtonButton = toolButton(p, upper, "ButtonButton", QStringLiteral("Insert Related Topics button"),
                              QStringLiteral("button"));
    JumpButton = toolButton(p, upper, "JumpButton", QStringLiteral("Insert Link to another topic"),
                            QStringLiteral("jump"));
    WebButton = toolButton(p, upper, "WebButton", QStringLiteral("Insert Link to WEB or e-mail"),
                           QStringLiteral("web"));
    separator(upper);
    CutButton = toolButton(p, upper, "CutButton", QStringLiteral("Cut"), QStringLiteral("cut"));
    CopyButton = toolButton(p, upper, "CopyButton", QStringLiteral("Copy"), QStringLiteral("copy"));
    PasteButton = toolButton(p, upper, "PasteButton", QStringLiteral("Paste"), QStringLiteral("paste"));
    separator(upper);
    SpeedButton1 = toolButton(p, upper, "SpeedButton1", QStringLiteral("Search topic..."), QStringLiteral("search"));
    SpellButton = toolButton(p, upper, "SpellButton", QStringLiteral("Spell Check"), QStringLiteral("spell"));
    upper->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->setSpacing(0);
    rows->addLayout(lower);
    TLButton = toolButton(p, lower, "TLButton", QStringLiteral("Show/Hide Topic ID List"), QStringLiteral("tl"));
    TLButton->setCheckable(true);
    TLButton->setChecked(true);
    CTButton = toolButton(p, lower, "CTButton", QStringLiteral("Change Topic Properties"), QStringLiteral("ct"));
    ATButton = toolButton(p, lower, "ATButton", QStringLiteral("Add new Topic"), QStringLiteral("at"));
    DTButton = toolButton(p, lower, "DTButton", QStringLiteral("Delete Current Topic"), QStringLiteral("dt"));
    CWButton = toolButton(p, lower, "CWButton", QStringLiteral("Edit Windows"), QStringLiteral("cw"));
    separator(lower);

    FontCombo = new QComboBox(p);
    FontCombo->setObjectName(QStringLiteral("FontCombo"));
    FontCombo->setToolTip(QStringLiteral("Font Face"));
    FontCombo->setEditable(true);
    FontCombo->setInsertPolicy(QComboBox::NoInsert);
    FontCombo->setMaxVisibleItems(16);
    FontCombo->setMinimumContentsLength(18);
    FontCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lower->addWidget(FontCombo);

    FSize = new QComboBox(p);
    FSize->setObjectName(QStringLiteral("FSize"));
    FSize->setToolTip(QStringLiteral("Font Size"));
    FSize->setEditable(true);
    FSize->setInsertPolicy(QComboBox::NoInsert);
    FSize->addItems({QStringLiteral("6"), QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12"),
                     QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("20"),
                     QStringLiteral("24"), QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("30"),
                     QStringLiteral("35"), QStringLiteral("40"), QStringLiteral("50"), QStringLiteral("60"),
                     QStringLiteral("70")});
    FSize->setCurrentIndex(FSize->findText(QStringLiteral("8")));
    FSize->setMinimumContentsLength(3);
    lower->addWidget(FSize);

    // "Color" above the swatch of the current text colour; both are click areas.
    auto* colorBox = new QWidget(p);
    auto* colorLayout = new QVBoxLayout(colorBox);
    colorLayout->setContentsMargins(3, 0, 3, 0);
    colorLayout->setSpacing(1);
    Panel7 = new QLabel(QStringLiteral("Color"), colorBox);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setToolTip(QStringLiteral("Font Color"));
    Panel7->setAlignment(Qt::AlignCenter);
    QFont small = Panel7->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    Panel7->setFont(small);
    Panel6 = new QLabel(colorBox);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setToolTip(QStringLiteral("Font Color"));
    Panel6->setFixedSize(30, 8);
    Panel6->setAutoFillBackground(true);
    Panel6->setFrameShape(QFrame::Box);
    QPalette swatch = Panel6->palette();
    swatch.setColor(QPalette::Window, Qt::black);
    Panel6->setPalette(swatch);
    Panel6->installEventFilter(this);
    Panel7->installEventFilter(this);
    colorLayout->addWidget(Panel7);
    colorLayout->addWidget(Panel6, 0, Qt::AlignHCenter);
    lower->addWidget(colorBox);

    FBold = toolButton(p, lower, "FBold", QStringLiteral("Bold"), QStringLiteral("bold"));
    FBold->setCheckable(true);
    Fitalic = toolButton(p, lower, "Fitalic", QStringLiteral("Italic"), QStringLiteral("italic"));
    Fitalic->setCheckable(true);
    separator(lower);
    LeftButton = toolButton(p, lower, "LeftButton", QStringLiteral("Left Allignment"), QStringLiteral("left"));
    CenterButton = toolButton(p, lower, "CenterButton", QStringLiteral("Center"), QStringLiteral("center"));
    LeftButton->setCheckable(true);
    CenterButton->setCheckable(true);
    AlignGroup = new QButtonGroup(this);
    AlignGroup->setExclusive(true);
    AlignGroup->addButton(LeftButton);
    AlignGroup->addButton(CenterButton);
    LeftButton->setChecked(true);
    separator(lower);

    IndentCombo = new QComboBox(p);
    IndentCombo->setObjectName(QStringLiteral("IndentCombo"));
    IndentCombo->setToolTip(QStringLiteral("Indent size"));
    IndentCombo->setEditable(true);
    IndentCombo->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 0; i <= 50; i += 5)
        IndentCombo->addItem(QString::number(i));
    IndentCombo->setCurrentText(QStringLiteral("0"));
    IndentCombo->setMinimumContentsLength(3);
    lower->addWidget(IndentCombo);
    lower->addStretch(1);
}

void TGlavniForm::buildTopicArea()
{
    TopicPanel = new QFrame(this);
    TopicPanel->setObjectName(QStringLiteral("TopicPanel"));
    TopicPanel->setFrameShape(QFrame::Panel);
    TopicPanel->setFrameShadow(QFrame::Sunken);
    TopicPanel->setFixedWidth(165);
    auto* listLayout = new QVBoxLayout(TopicPanel);
    listLayout->setContentsMargins(1, 1, 1, 1);
    TopicLB = new QListWidget(TopicPanel);
    TopicLB->setObjectName(QStringLiteral("TopicLB"));
    TopicLB->setUniformItemSizes(true);
    listLayout->addWidget(TopicLB);

    // Working controls of later commands; never shown.
    ImeBuffer = new QLineEdit(TopicPanel);
    ImeBuffer->setObjectName(QStringLiteral("ImeBuffer"));
    ImeBuffer->hide();
    RichAll = new QTextEdit(TopicPanel);
    RichAll->setObjectName(QStringLiteral("RichAll"));
    RichAll->hide();
    RichTemp = new QTextEdit(TopicPanel);
    RichTemp->setObjectName(QStringLiteral("RichTemp"));
    RichTemp->setLineWrapMode(QTextEdit::NoWrap);
    RichTemp->move(-2000, 0);
    RichTemp->hide();

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* v = new QVBoxLayout(Panel2);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);

    TopicTab = new TTopicTabBar(Panel2);
    TopicTab->setObjectName(QStringLiteral("TopicTab"));
    TopicTab->setExpanding(false);
    TopicTab->setUsesScrollButtons(true);
    TopicTab->setElideMode(Qt::ElideNone);
    // The row keeps its height while it has no tabs, so the editors do not
    // move when the first topic arrives.
    TopicTab->addTab(QStringLiteral("TOPIC"));
    TopicTab->setMinimumHeight(TopicTab->sizeHint().height());
    TopicTab->removeTab(0);
    v->addWidget(TopicTab);

    auto* captionLine = new QHBoxLayout;
    captionLine->setContentsMargins(2, 0, 2, 0);
    Label1 = new QLabel(QStringLiteral("Non Scroll area"), Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Topic Title "), Panel2);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setTextFormat(Qt::PlainText);
    captionLine->addWidget(Label1);
    captionLine->addWidget(Label2, 1);
    v->addLayout(captionLine);

    Header = topicEditor(Panel2, "Header");
    Header->setFixedHeight(84);
    {
        // The button-face colour until a topic's window colours it.
        QPalette pal = Header->palette();
        const QColor face = QApplication::palette().color(QPalette::Button);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Base, face);
        Header->setPalette(pal);
    }
    v->addWidget(Header);

    Panel5 = new QLabel(QStringLiteral("Topic area"), Panel2);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setContentsMargins(2, 0, 2, 0);
    v->addWidget(Panel5);

    TopicText = topicEditor(Panel2, "TopicText");
    setEditorColor(TopicText, 0xDCFFFF);
    v->addWidget(TopicText, 1);

    Panel8 = new QLabel(QStringLiteral("Keywords:"), Panel2);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    Panel8->setContentsMargins(2, 0, 2, 0);
    v->addWidget(Panel8);

    Edit1 = new QLineEdit(Panel2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(255);
    Edit1->setValidator(new StorableTextValidator(Edit1));
    v->addWidget(Edit1);
}

void TGlavniForm::buildMenus()
{
    QMenuBar* bar = menuBar();

    File1 = bar->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    New1 = menuItem(File1, "New1", QStringLiteral("&New"));
    Open1 = menuItem(File1, "Open1", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    Reopen1 = File1->addMenu(QStringLiteral("&Reopen"));
    Reopen1->setObjectName(QStringLiteral("Reopen1"));
    static const char* const reopenNames[RecentFiles::Count] = {"N11", "N21", "N31", "N41", "N51"};
    for (int k = 0; k < RecentFiles::Count; ++k)
        ReopenItems[size_t(k)] = menuItem(Reopen1, reopenNames[k], RecentFiles::emptyCaption(k));
    Save1 = menuItem(File1, "Save1", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1 = menuItem(File1, "SaveAs1", QStringLiteral("Save &As..."), QKeySequence(Qt::CTRL | Qt::Key_A));
    File1->addSeparator();
    Exit1 = menuItem(File1, "Exit1", QStringLiteral("E&xit"));

    Edit2 = bar->addMenu(QStringLiteral("&Edit"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Cut1 = menuItem(Edit2, "Cut1", QStringLiteral("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X));
    Copy1 = menuItem(Edit2, "Copy1", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1 = menuItem(Edit2, "Paste1", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    SelectAll1 = menuItem(Edit2, "SelectAll1", QStringLiteral("Select &All"));
    Edit2->addSeparator();
    AddTopic1 = menuItem(Edit2, "AddTopic1", QStringLiteral("&Add Topic..."), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    DeleteTopic1 =
        menuItem(Edit2, "DeleteTopic1", QStringLiteral("&Delete Topic"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    ChangeTopicProperties1 =
        menuItem(Edit2, "ChangeTopicProperties1", QStringLiteral("Change &Topic Properties..."));
    EditWindows1 = menuItem(Edit2, "EditWindows1", QStringLiteral("Edit &Windows..."));

    Search1 = bar->addAction(QStringLiteral("&Search..."));
    Search1->setObjectName(QStringLiteral("Search1"));

    Build1 = bar->addMenu(QStringLiteral("&Build"));
    Build1->setObjectName(QStringLiteral("Build1"));
    Buildallandshowhelp1 = menuItem(Build1, "Buildallandshowhelp1", QStringLiteral("Build All, &Compile and show Help"),
                                    QKeySequence(Qt::Key_F9));
    ShowLog1 = menuItem(Build1, "ShowLog1", QStringLiteral("Show Last Compile &Log"));
    Build1->addSeparator();
    ProjectRTFfile1 = menuItem(Build1, "ProjectRTFfile1", QStringLiteral("&Build All Without Compiling"));
    Projectfileonly1 = menuItem(Build1, "Projectfileonly1", QStringLiteral("&Project and Contents Files Only"));
    RTFfileonly1 = menuItem(Build1, "RTFfileonly1", QStringLiteral("&RTF File Only"));
    Build1->addSeparator();
    SetHelpCompiler1 = menuItem(Build1, "SetHelpCompiler1", QStringLiteral("Set &Help Compiler..."));

    Tools1 = bar->addMenu(QStringLiteral("&Tools"));
    Tools1->setObjectName(QStringLiteral("Tools1"));
    Contentseditor1 = menuItem(Tools1, "Contentseditor1", QStringLiteral("&Contents editor..."));
    Tools1->addSeparator();
    ShowextendedTopicList1 = menuItem(Tools1, "ShowextendedTopicList1", QStringLiteral("Show e&xtended Topic List..."));
    Tools1->addSeparator();
    SpellCheck1 = menuItem(Tools1, "SpellCheck1", QStringLiteral("&Spell Check"));
    Tools1->addSeparator();
    AddBitmap1 = menuItem(Tools1, "AddBitmap1", QStringLiteral("Add &Bitmap..."));
    AddTransparentBitmap1 = menuItem(Tools1, "AddTransparentBitmap1", QStringLiteral("Add &Transparent Bitmap..."));
    AddRelatedTopicsbutton1 =
        menuItem(Tools1, "AddRelatedTopicsbutton1", QStringLiteral("Add &Related Topics button..."));
    AddLinktoAnotherTopic1 = menuItem(Tools1, "AddLinktoAnotherTopic1", QStringLiteral("Add &Link to Another Topic..."));
    AddInternetlink1 = menuItem(Tools1, "AddInternetlink1", QStringLiteral("Add &Internet Site Link..."));

    Help1 = bar->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Contents1 = menuItem(Help1, "Contents1", QStringLiteral("&Contents"));
    Help1->addSeparator();
    About1 = menuItem(Help1, "About1", QStringLiteral("&About..."));
}

void TGlavniForm::connectCommands()
{
    // Project file.
    connect(NewButton, &QToolButton::clicked, this, &TGlavniForm::NewButtonClick);
    connect(New1, &QAction::triggered, this, &TGlavniForm::NewButtonClick);
    connect(OpenButton, &QToolButton::clicked, this, &TGlavniForm::Open1Click);
    connect(Open1, &QAction::triggered, this, &TGlavniForm::Open1Click);
    connect(SaveButton, &QToolButton::clicked, this, [this] { Save1Click(); });
    connect(Save1, &QAction::triggered, this, [this] { Save1Click(); });
    connect(SaveAs1, &QAction::triggered, this, [this] { SaveAs1Click(); });
    connect(Exit1, &QAction::triggered, this, &TGlavniForm::Exit1Click);
    for (int k = 0; k < RecentFiles::Count; ++k)
        connect(ReopenItems[size_t(k)], &QAction::triggered, this, [this, k] { N11Click(k); });

    // Topics.
    connect(TopicTab, &QTabBar::currentChanged, this, &TGlavniForm::onTabSwitched);
    connect(TopicLB, &QListWidget::currentRowChanged, this, &TGlavniForm::TopicLBClick);
    connect(TLButton, &QToolButton::clicked, this, &TGlavniForm::TLButtonClick);
    connect(ATButton, &QToolButton::clicked, this, &TGlavniForm::ATButtonClick);
    connect(AddTopic1, &QAction::triggered, this, &TGlavniForm::ATButtonClick);
    connect(DTButton, &QToolButton::clicked, this, &TGlavniForm::DTButtonClick);
    connect(DeleteTopic1, &QAction::triggered, this, &TGlavniForm::DTButtonClick);
    connect(CTButton, &QToolButton::clicked, this, &TGlavniForm::CTButtonClick);
    connect(ChangeTopicProperties1, &QAction::triggered, this, &TGlavniForm::CTButtonClick);
    connect(CWButton, &QToolButton::clicked, this, &TGlavniForm::CWButtonClick);
    connect(EditWindows1, &QAction::triggered, this, &TGlavniForm::CWButtonClick);

    // Build, tools, help.
    connect(GoButton, &QToolButton::clicked, this, &TGlavniForm::GoButtonClick);
    connect(Buildallandshowhelp1, &QAction::triggered, this, &TGlavniForm::GoButtonClick);
    connect(AllButton, &QToolButton::clicked, this, &TGlavniForm::AllButtonClick);
    connect(ProjectRTFfile1, &QAction::triggered, this, &TGlavniForm::AllButtonClick);
    connect(PrjButton, &QToolButton::clicked, this, &TGlavniForm::PrjButtonClick);
    connect(Projectfileonly1, &QAction::triggered, this, &TGlavniForm::PrjButtonClick);
    connect(RtfButton, &QToolButton::clicked, this, &TGlavniForm::RtfButtonClick);
    connect(RTFfileonly1, &QAction::triggered, this, &TGlavniForm::RtfButtonClick);
    connect(LogButton, &QToolButton::clicked, this, &TGlavniForm::ShowLog1Click);
    connect(ShowLog1, &QAction::triggered, this, &TGlavniForm::ShowLog1Click);
    connect(SetHelpCompiler1, &QAction::triggered, this, &TGlavniForm::SetHelpCompiler1Click);
    connect(CntButton, &QToolButton::clicked, this, &TGlavniForm::CntButtonClick);
    connect(Contentseditor1, &QAction::triggered, this, &TGlavniForm::CntButtonClick);
    connect(TopiclButton, &QToolButton::clicked, this, &TGlavniForm::TopiclButtonClick);
    connect(ShowextendedTopicList1, &QAction::triggered, this, &TGlavniForm::TopiclButtonClick);
    connect(SpellButton, &QToolButton::clicked, this, &TGlavniForm::SpellButtonClick);
    connect(SpellCheck1, &QAction::triggered, this, &TGlavniForm::SpellButtonClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TGlavniForm::SpeedButton1Click);
    connect(Search1, &QAction::triggered, this, &TGlavniForm::SpeedButton1Click);
    connect(BmpButton, &QToolButton::clicked, this, &TGlavniForm::BmpButtonClick);
    connect(AddBitmap1, &QAction::triggered, this, &TGlavniForm::BmpButtonClick);
    connect(TBmpButton, &QToolButton::clicked, this, &TGlavniForm::BmpButtonClick);
    connect(AddTransparentBitmap1, &QAction::triggered, this, &TGlavniForm::BmpButtonClick);
    connect(ButtonButton, &QToolButton::clicked, this, &TGlavniForm::ButtonButtonClick);
    connect(AddRelatedTopicsbutton1, &QAction::triggered, this, &TGlavniForm::ButtonButtonClick);
    connect(JumpButton, &QToolButton::clicked, this, &TGlavniForm::JumpButtonClick);
    connect(AddLinktoAnotherTopic1, &QAction::triggered, this, &TGlavniForm::JumpButtonClick);
    connect(WebButton, &QToolButton::clicked, this, &TGlavniForm::WebButtonClick);
    connect(AddInternetlink1, &QAction::triggered, this, &TGlavniForm::WebButtonClick);
    connect(Contents1, &QAction::triggered, this, &TGlavniForm::Contents1Click);
    connect(About1, &QAction::triggered, this, &TGlavniForm::About1Click);

    // Editing and formatting.
    connect(CutButton, &QToolButton::clicked, this, &TGlavniForm::CutButtonClick);
    connect(Cut1, &QAction::triggered, this, &TGlavniForm::CutButtonClick);
    connect(CopyButton, &QToolButton::clicked, this, &TGlavniForm::CopyButtonClick);
    connect(Copy1, &QAction::triggered, this, &TGlavniForm::CopyButtonClick);
    connect(PasteButton, &QToolButton::clicked, this, &TGlavniForm::PasteButtonClick);
    connect(Paste1, &QAction::triggered, this, &TGlavniForm::PasteButtonClick);
    connect(SelectAll1, &QAction::triggered, this, &TGlavniForm::SelectAll1Click);
    connect(FontCombo, &QComboBox::currentTextChanged, this, &TGlavniForm::FontComboChange);
    connect(FSize, &QComboBox::currentTextChanged, this, &TGlavniForm::FSizeChange);
    connect(IndentCombo, &QComboBox::currentTextChanged, this, &TGlavniForm::IndentComboChange);
    connect(FBold, &QToolButton::clicked, this, &TGlavniForm::FBoldClick);
    connect(Fitalic, &QToolButton::clicked, this, &TGlavniForm::FitalicClick);
    connect(LeftButton, &QToolButton::clicked, this, &TGlavniForm::LeftButtonClick);
    connect(CenterButton, &QToolButton::clicked, this, &TGlavniForm::CenterButtonClick);
    connectEditing();

    connect(Timer1, &QTimer::timeout, this, &TGlavniForm::Timer1Timer);
}

void TGlavniForm::setEditingEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             CTButton, DTButton, ATButton, CWButton, BmpButton, TBmpButton, ButtonButton, JumpButton, WebButton,
             RtfButton, PrjButton, AllButton, GoButton, SaveButton, SpeedButton1, CutButton, CopyButton,
             PasteButton, CntButton, SpellButton, Header, TopicText, Edit1})
        w->setEnabled(enabled);
    // A disabled menu keeps its items' shortcuts from firing as well.
    for (QMenu* menu : {Edit2, Build1, Tools1}) {
        menu->menuAction()->setEnabled(enabled);
        for (QAction* a : menu->actions())
            a->setEnabled(enabled);
    }
    Search1->setEnabled(enabled);
    Save1->setEnabled(enabled);
    SaveAs1->setEnabled(enabled);
}

void TGlavniForm::EnableControls()
{
    setEditingEnabled(true);
}

void TGlavniForm::DisableControls()
{
    setEditingEnabled(false);
}

bool TGlavniForm::eventFilter(QObject* watched, QEvent* event)
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
        if (watched == Header)
            HeaderEnter();
        else if (watched == TopicText)
            TopicTextEnter();
        break;
    case QEvent::FocusOut:
        if (watched == Header)
            HeaderExit();
        else if (watched == TopicText)
            TopicTextExit();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Panel6 || watched == Panel7) {
            Panel6Click();
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace ts
