#include "ButtonDialog.h"
#include "DialogButtons.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace ts {

TInsertButton::TInsertButton(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TInsertButton"));
    setWindowTitle(QStringLiteral("Button"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Label2->setBuddy(Edit2);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addWidget(Label2);
    layout->addWidget(Edit2);

    RadioGroup1 = new QGroupBox(QStringLiteral("Link to:"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* choices = new QHBoxLayout(RadioGroup1);
    for (const QString& caption : {QStringLiteral("Web Site"), QStringLiteral("E-Mail")}) {
        auto* b = new QRadioButton(caption, RadioGroup1);
        choices->addWidget(b);
        RadioButtons.append(b);
    }
    RadioButtons[0]->setChecked(true);
    layout->addWidget(RadioGroup1);

    AddOkCancelRow(this, layout, Button1, Button2);

    setupForButton();
}

void TInsertButton::setupForButton()
{
    setProperty("helpContext", 160);
    setWindowTitle(QStringLiteral("Insert Button"));
    Label1->setText(QStringLiteral("Caption:"));
    Label2->setText(QStringLiteral("Keywords:"));
    RadioGroup1->hide();
    Edit1->clear();
    Edit2->clear();
}

void TInsertButton::setupForWeb()
{
    setProperty("helpContext", 170);
    setWindowTitle(QStringLiteral("Link to web site or e-mail"));
    Label1->setText(QStringLiteral("Text for link:"));
    Label2->setText(QStringLiteral("Web site or e-mail address:"));
    RadioGroup1->show();
    Edit1->clear();
    Edit2->clear();
}

bool TInsertButton::emailChosen() const
{
    return RadioButtons[1]->isChecked();
}

void TInsertButton::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    adjustSize();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    Edit2->setFocus(Qt::OtherFocusReason);
}

} // namespace ts
