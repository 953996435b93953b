#include "ChangeTopicDialog.h"

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

TChangeTopic::TChangeTopic(Project& project, Prompter& prompter, QWidget* parent)
    : QDialog(parent), project_(project), prompter_(prompter)
{
    setObjectName(QStringLiteral("ChangeTopic"));
    setWindowTitle(QStringLiteral("Change Topic Properties"));
    setModal(true);
    // No close box: the dialog is left through its checks only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setProperty("helpContext", 150);

    auto* storable = new StorableTextValidator(this);
    TID = lineEdit(this, "TID", 50, storable);
    TT = lineEdit(this, "TT", 50, storable);
    Edit1 = lineEdit(this, "Edit1", 0, storable);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    AssignID = new QCheckBox(QStringLiteral("Call topic from application. ID No: "), this);
    AssignID->setObjectName(QStringLiteral("AssignID"));
    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    auto label = [this](const char* name, const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setBuddy(buddy);
        return l;
    };

    auto* grid = new QGridLayout;
    grid->addWidget(label("Label1", QStringLiteral("Topic ID"), TID), 0, 0);
    grid->addWidget(TID, 0, 1);
    grid->addWidget(label("Label2", QStringLiteral("Topic title"), TT), 1, 0);
    grid->addWidget(TT, 1, 1);
    grid->addWidget(label("Label3", QStringLiteral("Topic Window"), ComboBox1), 2, 0);
    grid->addWidget(ComboBox1, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* callRow = new QHBoxLayout;
    callRow->addWidget(AssignID);
    callRow->addWidget(Edit1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(callRow);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(AssignID, &QCheckBox::toggled, this, &TChangeTopic::AssignIDClick);
    connect(Button1, &QPushButton::clicked, this, &TChangeTopic::Button1Click);
}

void TChangeTopic::setCurrentTopic(int index)
{
    currentTopic_ = index;
}

int TChangeTopic::selectedWindowIndex() const
{
    const int k = ComboBox1->currentIndex();
    if (k < 0 || ComboBox1->currentText() == QLatin1String("Default"))
        return 0;
    return k;
}

std::optional<int> TChangeTopic::callId() const
{
    if (!AssignID->isChecked())
        return std::nullopt;
    return ParseUserInteger(Edit1->text());
}

void TChangeTopic::AssignIDClick()
{
    if (!AssignID->isChecked()) {
        Edit1->clear();
        return;
    }
    Edit1->setText(QString::number(ProposeCallId(project_)));
}

void TChangeTopic::FormShow()
{
    ComboBox1->clear();
    for (int k = 0; k < project_.WindowCount(); ++k)
        ComboBox1->addItem(project_.Window(k).Name.text());
    int select = 0;
    if (!TID->text().isEmpty() && currentTopic_ >= 0 && currentTopic_ < project_.TopicCount()) {
        const int w = project_.Topic(currentTopic_).WindowIndex;
        if (w >= 0 && w < ComboBox1->count())
            select = w;
    }
    ComboBox1->setCurrentIndex(select);
    TID->setFocus(Qt::OtherFocusReason);
}

void TChangeTopic::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void TChangeTopic::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Button1Click();
        return;
    case Qt::Key_Escape:
        // No cancel: Escape does nothing.
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TChangeTopic::reject()
{
    Button1Click();
}

void TChangeTopic::Button1Click()
{
    TopicFields fields;
    fields.TopicID = TID->text();
    fields.AssignID = AssignID->isChecked();
    fields.CallId = Edit1->text();
    const int own = project_.AddMode ? -1 : currentTopic_;
    const TopicCheck check = CheckTopicProperties(project_, fields, own);

    if (check.BlankNotice) {
        prompter_.message(this, *check.BlankNotice, windowTitle(), Prompter::Buttons::Ok,
                          Prompter::Icon::Information);
        TID->setText(check.TopicID);
    }
    if (check.Refusal) {
        prompter_.message(this, *check.Refusal, windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    accept();
}

} // namespace ts
