#include "WindowEditorDialog.h"

#include "AutoSizeDialog.h"
#include "Prompter.h"
#include "model/Project.h"
#include "model/UserInteger.h"
#include "model/WindowRules.h"
#include "model/Windows1252.h"
#include "StorableTextValidator.h"
#include "WindowPlacer.h"

#include <QComboBox>
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

QPushButton* pushButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    // Enter is the dialog's "OK" wherever the focus is.
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
    makeControls();
    layOut();
    connectControls();
}

void WindowEditorDialog::makeControls()
{
    // Made in tab order: the selector row, the fields, OK.
    windowCombo_ = new QComboBox(this);
    windowCombo_->setObjectName(QStringLiteral("windowCombo"));
    windowCombo_->setEditable(false);
    windowCombo_->setMinimumContentsLength(12);
    windowCombo_->setProperty("helpContext", 10);
    addButton_ = pushButton(this, "addButton", QStringLiteral("Add New"));
    addButton_->setProperty("helpContext", 30);
    deleteButton_ = pushButton(this, "deleteButton", QStringLiteral("Delete"));
    deleteButton_->setProperty("helpContext", 40);

    form_ = std::make_unique<WindowFieldsForm>(this);

    okButton_ = pushButton(this, "okButton", QStringLiteral("OK"));
    hiddenOkButton_ = pushButton(this, "hiddenOkButton", QStringLiteral("OK"));
    hiddenOkButton_->setVisible(false);
}

void WindowEditorDialog::layOut()
{
    auto* selectorRow = new QHBoxLayout;
    auto* windowLabel = new QLabel(QStringLiteral("Window:"), this);
    windowLabel->setBuddy(windowCombo_);
    selectorRow->addWidget(windowLabel);
    selectorRow->addWidget(windowCombo_, 1);
    selectorRow->addWidget(addButton_);
    selectorRow->addWidget(deleteButton_);

    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(okButton_);
    okRow->addWidget(hiddenOkButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(selectorRow);
    form_->addRows(layout);
    layout->addLayout(okRow);
    // Wide enough for the two colour panels to show their captions on one line.
    const int colourCaption = fontMetrics().horizontalAdvance(QStringLiteral("Non-scrolling area color - click to change"));
    setMinimumWidth(qMax(460, 2 * (colourCaption + 24) + 30));

    setTabOrder(windowCombo_, addButton_);
    setTabOrder(addButton_, deleteButton_);
    setTabOrder(deleteButton_, form_->captionEdit());
}

void WindowEditorDialog::connectControls()
{
    for (QWidget* w : QList<QWidget*>{windowCombo_, addButton_, deleteButton_} + form_->controls()
                          + QList<QWidget*>{okButton_, hiddenOkButton_})
        watchKeys(w);

    connect(windowCombo_, &QComboBox::currentIndexChanged, this, &WindowEditorDialog::windowSelected);
    connect(okButton_, &QPushButton::clicked, this, &WindowEditorDialog::ok);
    connect(hiddenOkButton_, &QPushButton::clicked, this, &WindowEditorDialog::ok);
    connect(addButton_, &QPushButton::clicked, this, &WindowEditorDialog::addWindow);
    connect(deleteButton_, &QPushButton::clicked, this, &WindowEditorDialog::deleteWindow);
    connect(form_->autoSizeButton(), &QPushButton::clicked, this, &WindowEditorDialog::autoSize);
    connect(form_->clearButtonsButton(), &QPushButton::clicked, this, &WindowEditorDialog::clearButtons);
    connect(form_->checkButtonsButton(), &QPushButton::clicked, this, &WindowEditorDialog::checkButtons);
    connect(form_->nonScrollingColourPanel(), &ColourPanel::clicked, this, &WindowEditorDialog::chooseNonScrollingColour);
    connect(form_->topicColourPanel(), &ColourPanel::clicked, this, &WindowEditorDialog::chooseTopicColour);
}

void WindowEditorDialog::watchKeys(QWidget* widget)
{
    widget->installEventFilter(this);
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
        const QSignalBlocker block(windowCombo_);
        windowCombo_->clear();
        for (int k = 0; k < project_.WindowCount(); ++k)
            windowCombo_->addItem(project_.window(k).Name.text());
        windowCombo_->setCurrentIndex(select);
    }
    loadWindowFields(select);
}

void WindowEditorDialog::loadWindowFields(int k)
{
    if (newNameMode_ || guard_ || k < 0 || k >= project_.WindowCount())
        return;
    shownWindow_ = k;
    form_->setFields(ts::loadWindowFields(project_.window(k)));
}

bool WindowEditorDialog::storeWindowFields()
{
    const int k = shownWindow_;
    if (newNameMode_ || guard_ || k < 0 || k >= project_.WindowCount())
        return true;
    if (const auto refusal = ts::storeWindowFields(project_.window(k), form_->fields())) {
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
        const QSignalBlocker block(windowCombo_);
        windowCombo_->setCurrentIndex(shownWindow_);
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
        const QSignalBlocker block(windowCombo_);
        windowCombo_->setEditable(true);
        windowCombo_->setInsertPolicy(QComboBox::NoInsert);
        windowCombo_->setCompleter(nullptr);
    }
    QLineEdit* name = windowCombo_->lineEdit();
    name->setObjectName(QStringLiteral("NewWindowName"));
    name->setMaxLength(30);
    name->setValidator(new StorableTextValidator(name));
    watchKeys(name);
    name->clear();
    windowCombo_->setFocus(Qt::OtherFocusReason);
}

void WindowEditorDialog::leaveNewNameMode()
{
    const QSignalBlocker block(windowCombo_);
    const int k = windowCombo_->currentIndex();
    windowCombo_->setEditable(false);
    windowCombo_->setCurrentIndex(k);
    newNameMode_ = false;
}

bool WindowEditorDialog::acceptNewName(bool quiet)
{
    if (!newNameMode_)
        return true;
    const QString name = windowCombo_->currentText();
    if (const auto refusal = checkNewWindowName(name)) {
        if (quiet)
            return false;
        prompter_.message(this, *refusal, windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        windowCombo_->setFocus(Qt::OtherFocusReason);
        return false;
    }
    const int k = addWindowLikeMain(project_, name);
    leaveNewNameMode();
    if (k < 0) {
        prompter_.message(this, WindowMessages::tooManyWindows(), windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Warning);
        loadWindowFields(windowCombo_->currentIndex());
        return true;
    }
    {
        const QSignalBlocker block(windowCombo_);
        windowCombo_->addItem(project_.window(k).Name.text());
        windowCombo_->setCurrentIndex(k);
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
    if (!windowFieldsHoldIntegers(form_->fields())) {
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
    const int k = windowCombo_->currentIndex();
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
    windowCombo_->setCurrentIndex(k - 1);
    windowCombo_->removeItem(k);
    guard_ = false;
    loadWindowFields(k - 1);

    emit rewriteWindowLinks(oldText, QStringLiteral(">main"));
}

void WindowEditorDialog::autoSize()
{
    if (!acceptNewName())
        return;
    int units[4] = {}; // left, top, width, height
    const auto boxes = form_->placeBoxes();
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
    boxes[0]->setText(QString::number(pixelsToHelpUnits(f.x() - area.x(), sw)));
    boxes[1]->setText(QString::number(pixelsToHelpUnits(f.y() - area.y(), sh)));
    boxes[2]->setText(QString::number(pixelsToHelpUnits(f.width(), sw)));
    boxes[3]->setText(QString::number(pixelsToHelpUnits(f.height(), sh)));
}

void WindowEditorDialog::clearButtons()
{
    form_->setAllButtons(false);
}

void WindowEditorDialog::checkButtons()
{
    form_->setAllButtons(true);
}

void WindowEditorDialog::pickColour(ColourPanel* panel)
{
    if (!acceptNewName())
        return;
    okButton_->setFocus(Qt::OtherFocusReason);
    const std::optional<std::uint32_t> chosen = prompter_.chooseColour(this, panel->colour());
    if (!chosen)
        return;
    panel->setColour(*chosen & 0xFFFFFFu);
}

void WindowEditorDialog::chooseNonScrollingColour()
{
    pickColour(form_->nonScrollingColourPanel());
}

void WindowEditorDialog::chooseTopicColour()
{
    pickColour(form_->topicColourPanel());
}

void WindowEditorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    keepOnScreen(*this);
    refillWindowList(topicWindow_);
    windowCombo_->setFocus(Qt::ActiveWindowFocusReason);
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
            loadWindowFields(windowCombo_->currentIndex());
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
        if (watched == windowCombo_ && movesBetweenControls(static_cast<QFocusEvent*>(event)->reason()))
            selectorEntered();
        break;
    case QEvent::FocusOut:
        // The name is judged once the focus has settled on the next control.
        if (newNameMode_ && (watched == windowCombo_ || watched == windowCombo_->lineEdit())
            && movesBetweenControls(static_cast<QFocusEvent*>(event)->reason()))
            QTimer::singleShot(0, this, [this] {
                if (newNameMode_ && isVisible() && !windowCombo_->hasFocus())
                    acceptNewName();
            });
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
