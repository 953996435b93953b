#include "TopicPropertiesDialog.h"

#include "Prompter.h"
#include "model/Project.h"
#include "model/TopicRules.h"
#include "model/UserInteger.h"
#include "model/Windows1252.h"
#include "StorableTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QValidator>
#include <QVBoxLayout>

namespace ts {

namespace {

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength, QValidator* validator)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    e->setValidator(validator);
    return e;
}

} // namespace

TopicPropertiesDialog::TopicPropertiesDialog(Project& project, Prompter& prompter, QWidget* parent)
    : QDialog(parent), project_(project), prompter_(prompter)
{
    setObjectName(QStringLiteral("topicPropertiesDialog"));
    setWindowTitle(QStringLiteral("Change Topic Properties"));
    setModal(true);
    // The close box cancels; the "?" button gives a control's short note.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowContextHelpButtonHint);
    setProperty("helpContext", 150);

    auto* storable = new StorableTextValidator(this);
    topicIdEdit = lineEdit(this, "topicIdEdit", 50, storable);
    titleEdit = lineEdit(this, "titleEdit", 50, storable);
    callIdEdit = lineEdit(this, "callIdEdit", 0, storable);
    windowCombo = new QComboBox(this);
    windowCombo->setObjectName(QStringLiteral("windowCombo"));
    windowCombo->setEditable(false);
    callIdCheck = new QCheckBox(QStringLiteral("Call topic from application. ID No: "), this);
    callIdCheck->setObjectName(QStringLiteral("callIdCheck"));

    auto label = [this](const char* name, const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setBuddy(buddy);
        return l;
    };

    auto* grid = new QGridLayout;
    grid->addWidget(label("topicIdLabel", QStringLiteral("Topic ID"), topicIdEdit), 0, 0);
    grid->addWidget(topicIdEdit, 0, 1);
    grid->addWidget(label("titleLabel", QStringLiteral("Topic title"), titleEdit), 1, 0);
    grid->addWidget(titleEdit, 1, 1);
    grid->addWidget(label("windowLabel", QStringLiteral("Topic Window"), windowCombo), 2, 0);
    grid->addWidget(windowCombo, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* callRow = new QHBoxLayout;
    callRow->addWidget(callIdCheck);
    callRow->addWidget(callIdEdit, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(callRow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    connect(callIdCheck, &QCheckBox::toggled, this, &TopicPropertiesDialog::callIdToggled);
    connect(okButton, &QPushButton::clicked, this, &TopicPropertiesDialog::acceptIfValid);
}

void TopicPropertiesDialog::setCurrentTopic(int index)
{
    currentTopic_ = index;
}

int TopicPropertiesDialog::selectedWindowIndex() const
{
    // Every entry is the window of its row, whatever its name: a window
    // called "Default" is a window like any other.
    return qMax(0, windowCombo->currentIndex());
}

std::optional<int> TopicPropertiesDialog::callId() const
{
    if (!callIdCheck->isChecked())
        return std::nullopt;
    return parseUserInteger(callIdEdit->text());
}

void TopicPropertiesDialog::callIdToggled()
{
    if (!callIdCheck->isChecked()) {
        callIdEdit->clear();
        return;
    }
    callIdEdit->setText(QString::number(proposeCallId(project_)));
}

void TopicPropertiesDialog::prepareFields()
{
    windowCombo->clear();
    for (int k = 0; k < project_.WindowCount(); ++k)
        windowCombo->addItem(project_.window(k).Name.text());
    int select = 0;
    if (!topicIdEdit->text().isEmpty() && currentTopic_ >= 0 && currentTopic_ < project_.TopicCount()) {
        const int w = project_.topic(currentTopic_).WindowIndex;
        if (w >= 0 && w < windowCombo->count())
            select = w;
    }
    windowCombo->setCurrentIndex(select);
    topicIdEdit->setFocus(Qt::OtherFocusReason);
}

void TopicPropertiesDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    prepareFields();
}

void TopicPropertiesDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        acceptIfValid();
        return;
    default:
        // Escape cancels.
        QDialog::keyPressEvent(event);
    }
}

void TopicPropertiesDialog::acceptIfValid()
{
    TopicFields fields;
    fields.TopicID = topicIdEdit->text();
    fields.AssignID = callIdCheck->isChecked();
    fields.CallId = callIdEdit->text();
    const int own = adding_ ? -1 : currentTopic_;
    const TopicCheck check = checkTopicProperties(project_, fields, own);

    if (check.BlankNotice) {
        prompter_.message(this, *check.BlankNotice, windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Information);
        topicIdEdit->setText(check.TopicID);
    }
    if (check.Refusal) {
        prompter_.message(this, *check.Refusal, windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    accept();
}

} // namespace ts
