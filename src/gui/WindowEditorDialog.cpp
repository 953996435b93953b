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
    // Enter is the dialog's "OK" wherever the focus is.
    b->setAutoDefault(false);
    return b;
}

// A position or size box: typing stops at `limit` characters, but a longer
// value put there by the program (a stored -1000 or 12345, an Auto-size
// result) is shown and kept whole, and may be shortened by typing.
class TypingLimitEdit : public QLineEdit {
public:
    TypingLimitEdit(QWidget* parent, int limit) : QLineEdit(parent), limit_(limit) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const Before before = remember();
        QLineEdit::keyPressEvent(event);
        undoIfTooLong(before);
    }
    void inputMethodEvent(QInputMethodEvent* event) override
    {
        const Before before = remember();
        QLineEdit::inputMethodEvent(event);
        undoIfTooLong(before);
    }

private:
    struct Before {
        QString Text;
        int Cursor;
    };
    Before remember() const { return {text(), cursorPosition()}; }
    void undoIfTooLong(const Before& before)
    {
        if (text().size() > limit_ && text().size() > before.Text.size()) {
            setText(before.Text);
            setCursorPosition(before.Cursor);
        }
    }

    int limit_;
};

QLineEdit* limitedEdit(QWidget* parent, const char* name, int limit)
{
    auto* e = new TypingLimitEdit(parent, limit);
    e->setObjectName(QString::fromLatin1(name));
    return e;
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

// ---- WindowEditorDialog ----

WindowEditorDialog::WindowEditorDialog(Project& project, Prompter& prompter, AutoSizeDialog& autoSize,
                                       QWidget* parent)
    : QDialog(parent), project_(project), prompter_(prompter), autoSize_(autoSize)
{
    setObjectName(QStringLiteral("windowEditor"));
    setWindowTitle(QStringLiteral("Change Window Properties"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowContextHelpButtonHint);

    auto* storable = new StorableTextValidator(this);

    windowCombo = new QComboBox(this);
    windowCombo->setObjectName(QStringLiteral("windowCombo"));
    windowCombo->setEditable(false);
    windowCombo->setMinimumContentsLength(12);
    windowCombo->setProperty("helpContext", 10);
    addButton = pushButton(this, "addButton", QStringLiteral("Add New"));
    addButton->setProperty("helpContext", 30);
    deleteButton = pushButton(this, "deleteButton", QStringLiteral("Delete"));
    deleteButton->setProperty("helpContext", 40);

    captionEdit = lineEdit(this, "captionEdit", 100);
    captionEdit->setValidator(storable);
    captionEdit->setProperty("helpContext", 110);
    leftEdit = limitedEdit(this, "leftEdit", 4);
    widthEdit = limitedEdit(this, "widthEdit", 4);
    topEdit = limitedEdit(this, "topEdit", 4);
    heightEdit = limitedEdit(this, "heightEdit", 4);
    for (QLineEdit* e : {leftEdit, widthEdit, topEdit, heightEdit}) {
        e->setText(QStringLiteral("0"));
        e->setProperty("helpContext", 20);
    }
    autoSizeButton = pushButton(this, "autoSizeButton", QStringLiteral("Auto-size"));
    autoSizeButton->setProperty("helpContext", 50);
    defaultPositionCheck = checkBox(this, "defaultPositionCheck", QStringLiteral("Use default position"));
    defaultPositionCheck->setProperty("helpContext", 70);
    autoHeightCheck = checkBox(this, "autoHeightCheck", QStringLiteral("auto-size height"));
    autoHeightCheck->setProperty("helpContext", 80);
    onTopCheck = checkBox(this, "onTopCheck", QStringLiteral("Keep window on top"));
    onTopCheck->setProperty("helpContext", 60);

    nonScrollingColourPanel = new ColourPanel(QStringLiteral("Non-scrolling area color - click to change"), this);
    nonScrollingColourPanel->setObjectName(QStringLiteral("nonScrollingColourPanel"));
    nonScrollingColourPanel->setProperty("helpContext", 100);
    topicColourPanel = new ColourPanel(QStringLiteral("Topic area color - click to change"), this);
    topicColourPanel->setObjectName(QStringLiteral("topicColourPanel"));
    topicColourPanel->setProperty("helpContext", 100);

    // The six check boxes are the group's first children, in the order of
    // the stored buttons; its layout and push buttons come after them.
    buttonsGroup = new QGroupBox(QStringLiteral("Show Buttons:"), this);
    buttonsGroup->setObjectName(QStringLiteral("buttonsGroup"));
    buttonsGroup->setProperty("helpContext", 90);
    browseCheck = checkBox(buttonsGroup, "browseCheck", QStringLiteral("Browse"));
    contentsCheck = checkBox(buttonsGroup, "contentsCheck", QStringLiteral("Contents"));
    indexCheck = checkBox(buttonsGroup, "indexCheck", QStringLiteral("Index"));
    printCheck = checkBox(buttonsGroup, "printCheck", QStringLiteral("Print"));
    backCheck = checkBox(buttonsGroup, "backCheck", QStringLiteral("Back"));
    findCheck = checkBox(buttonsGroup, "findCheck", QStringLiteral("Find"));
    clearButtonsButton = pushButton(buttonsGroup, "clearButtonsButton", QStringLiteral("Clear"));
    checkButtonsButton = pushButton(buttonsGroup, "checkButtonsButton", QStringLiteral("Check"));
    auto* buttonGrid = new QGridLayout;
    buttonGrid->addWidget(browseCheck, 0, 0);
    buttonGrid->addWidget(contentsCheck, 0, 1);
    buttonGrid->addWidget(indexCheck, 0, 2);
    buttonGrid->addWidget(printCheck, 1, 0);
    buttonGrid->addWidget(backCheck, 1, 1);
    buttonGrid->addWidget(findCheck, 1, 2);
    auto* groupButtons = new QVBoxLayout;
    groupButtons->addWidget(clearButtonsButton);
    groupButtons->addWidget(checkButtonsButton);
    auto* groupRow = new QHBoxLayout;
    groupRow->addLayout(buttonGrid, 1);
    groupRow->addLayout(groupButtons);
    buttonsGroup->setLayout(groupRow);

    okButton = pushButton(this, "okButton", QStringLiteral("OK"));
    hiddenOkButton = pushButton(this, "hiddenOkButton", QStringLiteral("OK"));
    hiddenOkButton->setVisible(false);

    auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };

    auto* selectorRow = new QHBoxLayout;
    selectorRow->addWidget(label(QStringLiteral("Window:"), windowCombo));
    selectorRow->addWidget(windowCombo, 1);
    selectorRow->addWidget(addButton);
    selectorRow->addWidget(deleteButton);

    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(label(QStringLiteral("Title bar text:"), captionEdit));
    captionRow->addWidget(captionEdit, 1);

    auto* position = new QGridLayout;
    position->addWidget(label(QStringLiteral("Left:"), leftEdit), 0, 0);
    position->addWidget(leftEdit, 0, 1);
    position->addWidget(label(QStringLiteral("Width:"), widthEdit), 0, 2);
    position->addWidget(widthEdit, 0, 3);
    position->addWidget(autoSizeButton, 0, 4);
    position->addWidget(label(QStringLiteral("Top:"), topEdit), 1, 0);
    position->addWidget(topEdit, 1, 1);
    position->addWidget(label(QStringLiteral("Height:"), heightEdit), 1, 2);
    position->addWidget(heightEdit, 1, 3);
    position->addWidget(defaultPositionCheck, 1, 4);

    auto* flags = new QHBoxLayout;
    flags->addWidget(autoHeightCheck);
    flags->addWidget(onTopCheck);
    flags->addStretch(1);

    auto* colours = new QHBoxLayout;
    colours->addWidget(nonScrollingColourPanel, 1);
    colours->addWidget(topicColourPanel, 1);

    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(okButton);
    okRow->addWidget(hiddenOkButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(selectorRow);
    layout->addLayout(captionRow);
    layout->addLayout(position);
    layout->addLayout(flags);
    layout->addLayout(colours);
    layout->addWidget(buttonsGroup);
    layout->addLayout(okRow);
    // Wide enough for the two colour panels to show their captions on one line.
    const int colourCaption = fontMetrics().horizontalAdvance(QStringLiteral("Non-scrolling area color - click to change"));
    setMinimumWidth(qMax(460, 2 * (colourCaption + 24) + 30));

    setTabOrder(windowCombo, addButton);
    setTabOrder(addButton, deleteButton);
    setTabOrder(deleteButton, captionEdit);

    for (QWidget* w : std::initializer_list<QWidget*>{
             windowCombo, addButton, deleteButton, captionEdit, leftEdit, widthEdit, topEdit, heightEdit, autoSizeButton, defaultPositionCheck, autoHeightCheck,
             onTopCheck, nonScrollingColourPanel, topicColourPanel, browseCheck, contentsCheck, indexCheck, printCheck, backCheck, findCheck,
             clearButtonsButton, checkButtonsButton, okButton, hiddenOkButton})
        watchKeys(w);

    connect(windowCombo, &QComboBox::currentIndexChanged, this, &WindowEditorDialog::windowSelected);
    connect(okButton, &QPushButton::clicked, this, &WindowEditorDialog::ok);
    connect(hiddenOkButton, &QPushButton::clicked, this, &WindowEditorDialog::ok);
    connect(addButton, &QPushButton::clicked, this, &WindowEditorDialog::addWindow);
    connect(deleteButton, &QPushButton::clicked, this, &WindowEditorDialog::deleteWindow);
    connect(autoSizeButton, &QPushButton::clicked, this, &WindowEditorDialog::autoSize);
    connect(clearButtonsButton, &QPushButton::clicked, this, &WindowEditorDialog::clearButtons);
    connect(checkButtonsButton, &QPushButton::clicked, this, &WindowEditorDialog::checkButtons);
    connect(nonScrollingColourPanel, &ColourPanel::clicked, this, &WindowEditorDialog::chooseNonScrollingColour);
    connect(topicColourPanel, &ColourPanel::clicked, this, &WindowEditorDialog::chooseTopicColour);
}

void WindowEditorDialog::watchKeys(QWidget* widget)
{
    widget->installEventFilter(this);
}

std::array<QCheckBox*, 6> WindowEditorDialog::buttonBoxes() const
{
    return {browseCheck, contentsCheck, indexCheck, printCheck, backCheck, findCheck};
}

WindowFields WindowEditorDialog::shownFields() const
{
    WindowFields f;
    f.Caption = captionEdit->text();
    f.Left = leftEdit->text();
    f.Width = widthEdit->text();
    f.Top = topEdit->text();
    f.Height = heightEdit->text();
    f.DefaultPosition = defaultPositionCheck->isChecked();
    f.AutoSizeHeight = autoHeightCheck->isChecked();
    f.OnTop = onTopCheck->isChecked();
    f.NonScrollColour = nonScrollingColourPanel->colour();
    f.TopicColour = topicColourPanel->colour();
    const auto boxes = buttonBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        f.Buttons[i] = boxes[i]->isChecked();
    return f;
}

void WindowEditorDialog::refillWindowList(int select)
{
    guard_ = false;
    if (newNameMode_)
        leaveNewNameMode();
    if (select < 0 || select >= project_.WindowCount())
        select = 0;
    topicWindow_ = select;
    {
        const QSignalBlocker block(windowCombo);
        windowCombo->clear();
        for (int k = 0; k < project_.WindowCount(); ++k)
            windowCombo->addItem(project_.window(k).Name.text());
        windowCombo->setCurrentIndex(select);
    }
    loadWindowFields(select);
}

void WindowEditorDialog::loadWindowFields(int k)
{
    if (newNameMode_ || guard_ || k < 0 || k >= project_.WindowCount())
        return;
    shownWindow_ = k;
    const WindowFields f = ts::loadWindowFields(project_.window(k));
    captionEdit->setText(f.Caption);
    leftEdit->setText(f.Left);
    widthEdit->setText(f.Width);
    topEdit->setText(f.Top);
    heightEdit->setText(f.Height);
    defaultPositionCheck->setChecked(f.DefaultPosition);
    autoHeightCheck->setChecked(f.AutoSizeHeight);
    onTopCheck->setChecked(f.OnTop);
    nonScrollingColourPanel->setColour(f.NonScrollColour);
    topicColourPanel->setColour(f.TopicColour);
    const auto boxes = buttonBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(f.Buttons[i]);
}

bool WindowEditorDialog::storeWindowFields()
{
    const int k = shownWindow_;
    if (newNameMode_ || guard_ || k < 0 || k >= project_.WindowCount())
        return true;
    if (const auto refusal = ts::storeWindowFields(project_.window(k), shownFields())) {
        prompter_.message(this, *refusal, QStringLiteral("Topicsmith"), Prompter::Buttons::Ok,
                          Prompter::Icon::Error);
        return false;
    }
    return true;
}

void WindowEditorDialog::windowSelected(int index)
{
    // However the selection moved (a click, the wheel, a key, the program),
    // the window shown so far gets its fields first. When they cannot be
    // stored the selection goes back to it, so that nothing typed is lost.
    if (!newNameMode_ && !guard_ && shownWindow_ != index && !storeWindowFields()) {
        const QSignalBlocker block(windowCombo);
        windowCombo->setCurrentIndex(shownWindow_);
        return;
    }
    loadWindowFields(index);
}

void WindowEditorDialog::selectorEntered()
{
    if (!newNameMode_ && !guard_)
        storeWindowFields();
}

void WindowEditorDialog::enterNewNameMode()
{
    newNameMode_ = true;
    {
        const QSignalBlocker block(windowCombo);
        windowCombo->setEditable(true);
        windowCombo->setInsertPolicy(QComboBox::NoInsert);
        windowCombo->setCompleter(nullptr);
    }
    QLineEdit* name = windowCombo->lineEdit();
    name->setObjectName(QStringLiteral("NewWindowName"));
    name->setMaxLength(30);
    name->setValidator(new StorableTextValidator(name));
    watchKeys(name);
    name->clear();
    windowCombo->setFocus(Qt::OtherFocusReason);
}

void WindowEditorDialog::leaveNewNameMode()
{
    const QSignalBlocker block(windowCombo);
    const int k = windowCombo->currentIndex();
    windowCombo->setEditable(false);
    windowCombo->setCurrentIndex(k);
    newNameMode_ = false;
}

bool WindowEditorDialog::acceptNewName(bool quiet)
{
    if (!newNameMode_)
        return true;
    const QString name = windowCombo->currentText();
    if (const auto refusal = checkNewWindowName(name)) {
        if (quiet)
            return false;
        prompter_.message(this, *refusal, windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        windowCombo->setFocus(Qt::OtherFocusReason);
        return false;
    }
    const int k = addWindowLikeMain(project_, name);
    leaveNewNameMode();
    if (k < 0) {
        prompter_.message(this, WindowMessages::tooManyWindows(), windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Warning);
        loadWindowFields(windowCombo->currentIndex());
        return true;
    }
    {
        const QSignalBlocker block(windowCombo);
        windowCombo->addItem(project_.window(k).Name.text());
        windowCombo->setCurrentIndex(k);
    }
    loadWindowFields(k);
    return true;
}

void WindowEditorDialog::okCommand(bool fromCloseBox)
{
    if (newNameMode_ && !acceptNewName(fromCloseBox)) {
        // Closing drops a name that could not be used; no window is selected,
        // so nothing is stored.
        if (fromCloseBox) {
            leaveNewNameMode();
            done(Accepted);
        }
        return;
    }
    if (!windowFieldsHoldIntegers(shownFields())) {
        prompter_.message(this, WindowMessages::invalidSizeOrPosition(), windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Warning);
        if (fromCloseBox)
            done(Accepted);
        return;
    }
    storeWindowFields();
    done(Accepted);
}

void WindowEditorDialog::ok()
{
    okCommand(false);
}

void WindowEditorDialog::reject()
{
    okCommand(true);
}

void WindowEditorDialog::addWindow()
{
    if (!acceptNewName())
        return;
    if (project_.WindowCount() >= Project::MaxWindows) {
        prompter_.message(this, WindowMessages::tooManyWindows(), windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Warning);
        return;
    }
    // The new window becomes the selected one: the shown one keeps its edits.
    if (!storeWindowFields())
        return;
    enterNewNameMode();
}

void WindowEditorDialog::deleteWindow()
{
    if (!acceptNewName())
        return;
    const int k = windowCombo->currentIndex();
    if (k < 0 || k >= project_.WindowCount())
        return;
    if (k == 0) {
        prompter_.message(this, WindowMessages::cannotDeleteMain(), windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Warning);
        return;
    }
    const QString name = project_.window(k).Name.text();
    const auto answer = prompter_.message(this, WindowMessages::deleteQuestion(name), WindowMessages::deleteCaption(),
                                          Prompter::Buttons::OkCancel, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Ok)
        return;

    const QString oldText = QLatin1Char('>') + name;
    guard_ = true;
    // Later windows move down one slot; topics on the deleted window go to
    // "main", those on later windows follow their window.
    project_.deleteWindow(k);
    windowCombo->setCurrentIndex(k - 1);
    windowCombo->removeItem(k);
    guard_ = false;
    loadWindowFields(k - 1);

    emit rewriteWindowLinks(oldText, QStringLiteral(">main"));
}

void WindowEditorDialog::autoSize()
{
    if (!acceptNewName())
        return;
    int units[4] = {}; // left, top, width, height
    const QLineEdit* boxes[4] = {leftEdit, topEdit, widthEdit, heightEdit};
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> value = parseUserInteger(boxes[i]->text());
        if (!value) {
            prompter_.message(this, notAnIntegerMessage(boxes[i]->text()), QStringLiteral("Topicsmith"),
                              Prompter::Buttons::Ok, Prompter::Icon::Error);
            return;
        }
        units[i] = *value;
    }
    const QScreen* s = screen();
    const QRect area = s ? s->geometry() : QRect(0, 0, 1024, 768);
    const int sw = area.width();
    const int sh = area.height();
    autoSize_.setFrame(QRect(area.x() + helpUnitsToPixels(units[0], sw), area.y() + helpUnitsToPixels(units[1], sh),
                             helpUnitsToPixels(units[2], sw), helpUnitsToPixels(units[3], sh)));
    // OK on a sample the user left as it was placed keeps the values as they
    // stand: placing it may round them, and a window manager may have
    // moved a sample that did not fit on the screen.
    if (autoSize_.exec() != QDialog::Accepted || !autoSize_.frameChanged())
        return;
    const QRect f = autoSize_.frame();
    leftEdit->setText(QString::number(pixelsToHelpUnits(f.x() - area.x(), sw)));
    topEdit->setText(QString::number(pixelsToHelpUnits(f.y() - area.y(), sh)));
    widthEdit->setText(QString::number(pixelsToHelpUnits(f.width(), sw)));
    heightEdit->setText(QString::number(pixelsToHelpUnits(f.height(), sh)));
}

void WindowEditorDialog::clearButtons()
{
    for (QCheckBox* box : buttonBoxes())
        box->setChecked(false);
}

void WindowEditorDialog::checkButtons()
{
    for (QCheckBox* box : buttonBoxes())
        box->setChecked(true);
}

void WindowEditorDialog::pickColour(ColourPanel* panel)
{
    if (!acceptNewName())
        return;
    okButton->setFocus(Qt::OtherFocusReason);
    const std::optional<std::uint32_t> chosen = prompter_.chooseColour(this, panel->colour());
    if (!chosen)
        return;
    panel->setColour(*chosen & 0xFFFFFFu);
}

void WindowEditorDialog::chooseNonScrollingColour()
{
    pickColour(nonScrollingColourPanel);
}

void WindowEditorDialog::chooseTopicColour()
{
    pickColour(topicColourPanel);
}

void WindowEditorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    refillWindowList(topicWindow_);
    windowCombo->setFocus(Qt::ActiveWindowFocusReason);
}

bool WindowEditorDialog::handleKey(QKeyEvent* key)
{
    if (isEnter(key)) {
        ok();
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        // Escape gives up a new name being typed; otherwise the dialog has
        // nothing to cancel.
        if (newNameMode_) {
            leaveNewNameMode();
            loadWindowFields(windowCombo->currentIndex());
        }
        return true;
    }
    return false;
}

void WindowEditorDialog::keyPressEvent(QKeyEvent* event)
{
    if (handleKey(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool WindowEditorDialog::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (handleKey(static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::FocusIn:
        if (watched == windowCombo && movesBetweenControls(static_cast<QFocusEvent*>(event)->reason()))
            selectorEntered();
        break;
    case QEvent::FocusOut:
        // The name is judged once the focus has settled on the next control.
        if (newNameMode_ && (watched == windowCombo || watched == windowCombo->lineEdit())
            && movesBetweenControls(static_cast<QFocusEvent*>(event)->reason()))
            QTimer::singleShot(0, this, [this] {
                if (newNameMode_ && isVisible() && !windowCombo->hasFocus())
                    acceptNewName();
            });
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
