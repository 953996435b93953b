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

ButtonDialog::ButtonDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ButtonDialog"));
    setWindowTitle(QStringLiteral("Button"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    captionLabel = new QLabel(this);
    captionLabel->setObjectName(QStringLiteral("captionLabel"));
    captionEdit = new QLineEdit(this);
    captionEdit->setObjectName(QStringLiteral("captionEdit"));
    captionLabel->setBuddy(captionEdit);
    targetLabel = new QLabel(this);
    targetLabel->setObjectName(QStringLiteral("targetLabel"));
    targetEdit = new QLineEdit(this);
    targetEdit->setObjectName(QStringLiteral("targetEdit"));
    targetLabel->setBuddy(targetEdit);
    layout->addWidget(captionLabel);
    layout->addWidget(captionEdit);
    layout->addWidget(targetLabel);
    layout->addWidget(targetEdit);

    linkKindGroup = new QGroupBox(QStringLiteral("Link to:"), this);
    linkKindGroup->setObjectName(QStringLiteral("linkKindGroup"));
    auto* choices = new QHBoxLayout(linkKindGroup);
    for (const QString& caption : {QStringLiteral("Web Site"), QStringLiteral("E-Mail")}) {
        auto* b = new QRadioButton(caption, linkKindGroup);
        choices->addWidget(b);
        linkKindButtons.append(b);
    }
    linkKindButtons[0]->setChecked(true);
    layout->addWidget(linkKindGroup);

    addOkCancelRow(this, layout, okButton, cancelButton);

    setupForButton();
}

void ButtonDialog::setupForButton()
{
    setProperty("helpContext", 160);
    setWindowTitle(QStringLiteral("Insert Button"));
    captionLabel->setText(QStringLiteral("Caption:"));
    targetLabel->setText(QStringLiteral("Keywords:"));
    linkKindGroup->hide();
    captionEdit->clear();
    targetEdit->clear();
}

void ButtonDialog::setupForWeb()
{
    setProperty("helpContext", 170);
    setWindowTitle(QStringLiteral("Link to web site or e-mail"));
    captionLabel->setText(QStringLiteral("Text for link:"));
    targetLabel->setText(QStringLiteral("Web site or e-mail address:"));
    linkKindGroup->show();
    captionEdit->clear();
    targetEdit->clear();
}

bool ButtonDialog::emailChosen() const
{
    return linkKindButtons[1]->isChecked();
}

void ButtonDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitInsertionDialog(this);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    targetEdit->setFocus(Qt::OtherFocusReason);
}

} // namespace ts
