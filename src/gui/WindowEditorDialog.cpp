#include "WindowEditorDialog.h"

#include "AutoSizeDialog.h"
#include "Prompter.h"
#include "model/Project.h"
#include "model/UserInteger.h"
#include "model/WindowRules.h"
#include "model/Windows1252.h"
#include "StorableTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>
#include <QVBoxLayout>

namespace ts {

namespace {

QColor fromColorRef(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    // Enter is the dialog's "Ok" wherever the focus is.
    b->setAutoDefault(false);
    return b;
}

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// Focus that comes and goes with the whole window (a message box, another
// program) is not the user moving between the dialog's controls.
bool movesBetweenControls(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

// ---- TColorPanel ----

TColorPanel::TColorPanel(const QString& hint, QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setMinimumHeight(32);
    auto* caption = new QLabel(hint, this);
    caption->setAlignment(Qt::AlignCenter);
    caption->setWordWrap(true);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(caption);
    setColor(0);
}

void TColorPanel::setColor(std::uint32_t color)
{
    color_ = color & 0xFFFFFFu;
    const QColor c = fromColorRef(color_);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, c);
    // The caption stays readable on dark and light colours alike.
    pal.setColor(QPalette::WindowText, c.lightness() < 128 ? Qt::white : Qt::black);
    setPalette(pal);
}

void TColorPanel::mouseReleaseEvent(QMouseEvent* event)
{
    QFrame::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void TColorPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        event->accept();
        emit clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

// A thicker frame shows a keyboard user which panel Space acts on.
void TColorPanel::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    setLineWidth(3);
}

void TColorPanel::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    setLineWidth(1);
}

// ---- TChangeWin ----

TChangeWin::TChangeWin(Project& project, Prompter& prompter, std::uint32_t& lastColor, TAutoSize& autoSize,
                       QWidget* parent)
    : QDialog(parent), project_(project), prompter_(prompter), lastColor_(lastColor), autoSize_(autoSize)
{
    setObjectName(QStringLiteral("ChangeWin"));
    setWindowTitle(QStringLiteral("Change Windows properties"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowContextHelpButtonHint);

    auto* storable = new StorableTextValidator(this);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setMinimumContentsLength(12);
    ComboBox1->setProperty("helpContext", 10);
    Button3 = pushButton(this, "Button3", QStringLiteral("Add New"));
    Button3->setProperty("helpContext", 30);
    Button1 = pushButton(this, "Button1", QStringLiteral("Delete"));
    Button1->setProperty("helpContext", 40);

    Edit2 = lineEdit(this, "Edit2", 100);
    Edit2->setValidator(storable);
    Edit2->setProperty("helpContext", 110);
    Edit3 = lineEdit(this, "Edit3", 4);
    Edit4 = lineEdit(this, "Edit4", 4);
    Edit5 = lineEdit(this, "Edit5", 4);
    Edit6 = lineEdit(this, "Edit6", 4);
    for (QLineEdit* e : {Edit3, Edit4, Edit5, Edit6}) {
        e->setText(QStringLiteral("0"));
        e->setProperty("helpContext", 20);
    }
    Button4 = pushButton(this, "Button4", QStringLiteral("Auto-size"));
    Button4->setProperty("helpContext", 50);
    CheckBox4 = checkBox(this, "CheckBox4", QStringLiteral("Use default position"));
    CheckBox4->setProperty("helpContext", 70);
    CheckBox5 = checkBox(this, "CheckBox5", QStringLiteral("auto-size height"));
    CheckBox5->setProperty("helpContext", 80);
    CheckBox6 = checkBox(this, "CheckBox6", QStringLiteral("Keep window on top"));
    CheckBox6->setProperty("helpContext", 60);

    NSColorP = new TColorPanel(QStringLiteral("Non-scrolling area color - click to change"), this);
    NSColorP->setObjectName(QStringLiteral("NSColorP"));
    NSColorP->setProperty("helpContext", 100);
    TopicColorP = new TColorPanel(QStringLiteral("Topic area color - click to change"), this);
    TopicColorP->setObjectName(QStringLiteral("TopicColorP"));
    TopicColorP->setProperty("helpContext", 100);

    // The six check boxes are the group's first children, in the order of
    // the stored buttons; its layout and push buttons come after them.
    Grupa = new QGroupBox(QStringLiteral("Show Buttons:"), this);
    Grupa->setObjectName(QStringLiteral("Grupa"));
    Grupa->setProperty("helpContext", 90);
    CheckBox1 = checkBox(Grupa, "CheckBox1", QStringLiteral("Browse"));
    CheckBox7 = checkBox(Grupa, "CheckBox7", QStringLiteral("Contents"));
    CheckBox2 = checkBox(Grupa, "CheckBox2", QStringLiteral("Index"));
    CheckBox8 = checkBox(Grupa, "CheckBox8", QStringLiteral("Print"));
    CheckBox3 = checkBox(Grupa, "CheckBox3", QStringLiteral("Back"));
    CheckBox9 = checkBox(Grupa, "CheckBox9", QStringLiteral("Find"));
    Button5 = pushButton(Grupa, "Button5", QStringLiteral("Clear"));
    Button6 = pushButton(Grupa, "Button6", QStringLiteral("Check"));
    auto* buttonGrid = new QGridLayout;
    buttonGrid->addWidget(CheckBox1, 0, 0);
    buttonGrid->addWidget(CheckBox7, 0, 1);
    buttonGrid->addWidget(CheckBox2, 0, 2);
    buttonGrid->addWidget(CheckBox8, 1, 0);
    buttonGrid->addWidget(CheckBox3, 1, 1);
    buttonGrid->addWidget(CheckBox9, 1, 2);
    auto* groupButtons = new QVBoxLayout;
    groupButtons->addWidget(Button5);
    groupButtons->addWidget(Button6);
    auto* groupRow = new QHBoxLayout;
    groupRow->addLayout(buttonGrid, 1);
    groupRow->addLayout(groupButtons);
    Grupa->setLayout(groupRow);

    Button2 = pushButton(this, "Button2", QStringLiteral("Ok"));
    Button7 = pushButton(this, "Button7", QStringLiteral("Ok"));
    Button7->setVisible(false);

    auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };

    auto* selectorRow = new QHBoxLayout;
    selectorRow->addWidget(label(QStringLiteral("Window:"), ComboBox1));
    selectorRow->addWidget(ComboBox1, 1);
    selectorRow->addWidget(Button3);
    selectorRow->addWidget(Button1);

    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(label(QStringLiteral("Title bar text:"), Edit2));
    captionRow->addWidget(Edit2, 1);

    auto* position = new QGridLayout;
    position->addWidget(label(QStringLiteral("Left:"), Edit3), 0, 0);
    position->addWidget(Edit3, 0, 1);
    position->addWidget(label(QStringLiteral("Width:"), Edit4), 0, 2);
    position->addWidget(Edit4, 0, 3);
    position->addWidget(Button4, 0, 4);
    position->addWidget(label(QStringLiteral("Top:"), Edit5), 1, 0);
    position->addWidget(Edit5, 1, 1);
    position->addWidget(label(QStringLiteral("Height:"), Edit6), 1, 2);
    position->addWidget(Edit6, 1, 3);
    position->addWidget(CheckBox4, 1, 4);

    auto* flags = new QHBoxLayout;
    flags->addWidget(CheckBox5);
    flags->addWidget(CheckBox6);
    flags->addStretch(1);

    auto* colours = new QHBoxLayout;
    colours->addWidget(NSColorP, 1);
    colours->addWidget(TopicColorP, 1);

    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(Button2);
    okRow->addWidget(Button7);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(selectorRow);
    layout->addLayout(captionRow);
    layout->addLayout(position);
    layout->addLayout(flags);
    layout->addLayout(colours);
    layout->addWidget(Grupa);
    layout->addLayout(okRow);
    setMinimumWidth(460);

    setTabOrder(ComboBox1, Button3);
    setTabOrder(Button3, Button1);
    setTabOrder(Button1, Edit2);

    for (QWidget* w : std::initializer_list<QWidget*>{
             ComboBox1, Button3, Button1, Edit2, Edit3, Edit4, Edit5, Edit6, Button4, CheckBox4, CheckBox5,
             CheckBox6, NSColorP, TopicColorP, CheckBox1, CheckBox7, CheckBox2, CheckBox8, CheckBox3, CheckBox9,
             Button5, Button6, Button2, Button7})
        watchKeys(w);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TChangeWin::ComboBox1Change);
    connect(Button2, &QPushButton::clicked, this, &TChangeWin::Button2Click);
    connect(Button7, &QPushButton::clicked, this, &TChangeWin::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TChangeWin::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TChangeWin::Button1Click);
    connect(Button4, &QPushButton::clicked, this, &TChangeWin::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TChangeWin::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TChangeWin::Button6Click);
    connect(NSColorP, &TColorPanel::clicked, this, &TChangeWin::NSColorPClick);
    connect(TopicColorP, &TColorPanel::clicked, this, &TChangeWin::TopicColorPClick);
}

void TChangeWin::watchKeys(QWidget* widget)
{
    widget->installEventFilter(this);
}

std::array<QCheckBox*, 6> TChangeWin::buttonBoxes() const
{
    return {CheckBox1, CheckBox7, CheckBox2, CheckBox8, CheckBox3, CheckBox9};
}

WindowFields TChangeWin::shownFields() const
{
    WindowFields f;
    f.Caption = Edit2->text();
    f.Left = Edit3->text();
    f.Width = Edit4->text();
    f.Top = Edit5->text();
    f.Height = Edit6->text();
    f.DefaultPosition = CheckBox4->isChecked();
    f.AutoSizeHeight = CheckBox5->isChecked();
    f.OnTop = CheckBox6->isChecked();
    f.NonScrollColor = NSColorP->color();
    f.TopicColor = TopicColorP->color();
    const auto boxes = buttonBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        f.Buttons[i] = boxes[i]->isChecked();
    return f;
}

void TChangeWin::RefillWindowList(int select)
{
    guard_ = false;
    if (newNameMode_)
        leaveNewNameMode();
    if (select < 0 || select >= project_.WindowCount())
        select = 0;
    topicWindow_ = select;
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->clear();
        for (int k = 0; k < project_.WindowCount(); ++k)
            ComboBox1->addItem(project_.Window(k).Name.text());
        ComboBox1->setCurrentIndex(select);
    }
    LoadFields(select);
}

void TChangeWin::LoadFields(int k)
{
    if (newNameMode_ || guard_ || k < 0 || k >= project_.WindowCount())
        return;
    const WindowFields f = LoadWindowFields(project_.Window(k));
    Edit2->setText(f.Caption);
    Edit3->setText(f.Left);
    Edit4->setText(f.Width);
    Edit5->setText(f.Top);
    Edit6->setText(f.Height);
    CheckBox4->setChecked(f.DefaultPosition);
    CheckBox5->setChecked(f.AutoSizeHeight);
    CheckBox6->setChecked(f.OnTop);
    NSColorP->setColor(f.NonScrollColor);
    TopicColorP->setColor(f.TopicColor);
    const auto boxes = buttonBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(f.Buttons[i]);
}

bool TChangeWin::StoreFields()
{
    const int k = ComboBox1->currentIndex();
    if (newNameMode_ || k < 0 || k >= project_.WindowCount())
        return true;
    if (const auto refusal = StoreWindowFields(project_.Window(k), shownFields())) {
        prompter_.message(this, *refusal, QStringLiteral("Topicsmith"), Prompter::Buttons::Ok,
                          Prompter::Icon::Error);
        return false;
    }
    return true;
}

void TChangeWin::ComboBox1Change(int index)
{
    LoadFields(index);
}

void TChangeWin::ComboBox1Enter()
{
    if (!newNameMode_ && !guard_)
        StoreFields();
}

void TChangeWin::enterNewNameMode()
{
    newNameMode_ = true;
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->setEditable(true);
        ComboBox1->setInsertPolicy(QComboBox::NoInsert);
        ComboBox1->setCompleter(nullptr);
    }
    QLineEdit* name = ComboBox1->lineEdit();
    name->setObjectName(QStringLiteral("NewWindowName"));
    name->setMaxLength(30);
    name->setValidator(new StorableTextValidator(name));
    watchKeys(name);
    name->clear();
    ComboBox1->setFocus(Qt::OtherFocusReason);
}

void TChangeWin::leaveNewNameMode()
{
    const QSignalBlocker block(ComboBox1);
    const int k = ComboBox1->currentIndex();
    ComboBox1->setEditable(false);
    ComboBox1->setCurrentIndex(k);
    newNameMode_ = false;
}

bool TChangeWin::AcceptNewName(bool quiet)
{
    if (!newNameMode_)
        return true;
    const QString name = ComboBox1->currentText();
    if (const auto refusal = CheckNewWindowName(name)) {
        if (quiet)
            return false;
        prompter_.message(this, *refusal, windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        ComboBox1->setFocus(Qt::OtherFocusReason);
        return false;
    }
    const int k = AddWindowLikeMain(project_, name);
    leaveNewNameMode();
    if (k < 0) {
        prompter_.message(this, WindowMessages::TooManyWindows(), windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Warning);
        LoadFields(ComboBox1->currentIndex());
        return true;
    }
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->addItem(project_.Window(k).Name.text());
        ComboBox1->setCurrentIndex(k);
    }
    LoadFields(k);
    return true;
}

void TChangeWin::okCommand(bool fromCloseBox)
{
    if (newNameMode_ && !AcceptNewName(fromCloseBox)) {
        // Closing drops a name that could not be used; no window is selected,
        // so nothing is stored.
        if (fromCloseBox) {
            leaveNewNameMode();
            done(Accepted);
        }
        return;
    }
    if (!WindowFieldsHoldIntegers(shownFields())) {
        prompter_.message(this, WindowMessages::InvalidSizeOrPosition(), windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Warning);
        if (fromCloseBox)
            done(Accepted);
        return;
    }
    StoreFields();
    done(Accepted);
}

void TChangeWin::Button2Click()
{
    okCommand(false);
}

void TChangeWin::reject()
{
    okCommand(true);
}

void TChangeWin::Button3Click()
{
    if (!AcceptNewName())
        return;
    if (project_.WindowCount() >= Project::MaxWindows) {
        prompter_.message(this, WindowMessages::TooManyWindows(), windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Warning);
        return;
    }
    enterNewNameMode();
}

void TChangeWin::Button1Click()
{
    if (!AcceptNewName())
        return;
    const int k = ComboBox1->currentIndex();
    if (k < 0 || k >= project_.WindowCount())
        return;
    if (k == 0) {
        prompter_.message(this, WindowMessages::CannotDeleteMain(), windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Warning);
        return;
    }
    const QString name = project_.Window(k).Name.text();
    const auto answer = prompter_.message(this, WindowMessages::DeleteQuestion(name), WindowMessages::DeleteCaption(),
                                          Prompter::Buttons::OkCancel, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Ok)
        return;

    const QString oldText = QLatin1Char('>') + name;
    guard_ = true;
    // Later windows move down one slot; topics on the deleted window go to
    // "main", those on later windows follow their window.
    project_.DeleteWindow(k);
    ComboBox1->setCurrentIndex(k - 1);
    ComboBox1->removeItem(k);
    guard_ = false;
    LoadFields(k - 1);

    project_.WindowLinkMode = true;
    emit rewriteWindowLinks(oldText, QStringLiteral(">main"));
}

void TChangeWin::Button4Click()
{
    if (!AcceptNewName())
        return;
    int units[4] = {}; // left, top, width, height
    const QLineEdit* boxes[4] = {Edit3, Edit5, Edit4, Edit6};
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> value = ParseUserInteger(boxes[i]->text());
        if (!value) {
            prompter_.message(this, NotAnIntegerMessage(boxes[i]->text()), QStringLiteral("Topicsmith"),
                              Prompter::Buttons::Ok, Prompter::Icon::Error);
            return;
        }
        units[i] = *value;
    }
    const QScreen* s = screen();
    const QRect area = s ? s->geometry() : QRect(0, 0, 1024, 768);
    const int sw = area.width();
    const int sh = area.height();
    autoSize_.setFrame(QRect(area.x() + HelpUnitsToPixels(units[0], sw), area.y() + HelpUnitsToPixels(units[1], sh),
                             HelpUnitsToPixels(units[2], sw), HelpUnitsToPixels(units[3], sh)));
    if (autoSize_.exec() != QDialog::Accepted)
        return;
    const QRect f = autoSize_.frame();
    Edit3->setText(QString::number(PixelsToHelpUnits(f.x() - area.x(), sw)));
    Edit5->setText(QString::number(PixelsToHelpUnits(f.y() - area.y(), sh)));
    Edit4->setText(QString::number(PixelsToHelpUnits(f.width(), sw)));
    Edit6->setText(QString::number(PixelsToHelpUnits(f.height(), sh)));
}

void TChangeWin::Button5Click()
{
    for (QCheckBox* box : buttonBoxes())
        box->setChecked(false);
}

void TChangeWin::Button6Click()
{
    for (QCheckBox* box : buttonBoxes())
        box->setChecked(true);
}

void TChangeWin::pickColor(TColorPanel* panel)
{
    if (!AcceptNewName())
        return;
    Button2->setFocus(Qt::OtherFocusReason);
    const std::optional<std::uint32_t> chosen = prompter_.chooseColor(this, lastColor_);
    if (!chosen)
        return;
    lastColor_ = *chosen & 0xFFFFFFu;
    panel->setColor(lastColor_);
}

void TChangeWin::NSColorPClick()
{
    pickColor(NSColorP);
}

void TChangeWin::TopicColorPClick()
{
    pickColor(TopicColorP);
}

void TChangeWin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    RefillWindowList(topicWindow_);
    ComboBox1->setFocus(Qt::ActiveWindowFocusReason);
}

bool TChangeWin::handleKey(QKeyEvent* key)
{
    if (isEnter(key)) {
        Button2Click();
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        // Escape gives up a new name being typed; otherwise the dialog has
        // nothing to cancel.
        if (newNameMode_) {
            leaveNewNameMode();
            LoadFields(ComboBox1->currentIndex());
        }
        return true;
    }
    return false;
}

void TChangeWin::keyPressEvent(QKeyEvent* event)
{
    if (handleKey(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TChangeWin::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (handleKey(static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::FocusIn:
        if (watched == ComboBox1 && movesBetweenControls(static_cast<QFocusEvent*>(event)->reason()))
            ComboBox1Enter();
        break;
    case QEvent::FocusOut:
        // The name is judged once the focus has settled on the next control.
        if (newNameMode_ && (watched == ComboBox1 || watched == ComboBox1->lineEdit())
            && movesBetweenControls(static_cast<QFocusEvent*>(event)->reason()))
            QTimer::singleShot(0, this, [this] {
                if (newNameMode_ && isVisible() && !ComboBox1->hasFocus())
                    AcceptNewName();
            });
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
