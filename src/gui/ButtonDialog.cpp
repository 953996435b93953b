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
    captionLabel_ = new QLabel(this);
    captionLabel_->setObjectName(QStringLiteral("captionLabel"));
    captionEdit = new QLineEdit(this);
    captionEdit->setObjectName(QStringLiteral("captionEdit"));
    captionLabel_->setBuddy(captionEdit);
    targetLabel_ = new QLabel(this);
    targetLabel_->setObjectName(QStringLiteral("targetLabel"));
    targetEdit = new QLineEdit(this);
    targetEdit->setObjectName(QStringLiteral("targetEdit"));
    targetLabel_->setBuddy(targetEdit);
    layout->addWidget(captionLabel_);
    layout->addWidget(captionEdit);
    layout->addWidget(targetLabel_);
    layout->addWidget(targetEdit);

    linkKindGroup_ = new QGroupBox(QStringLiteral("Link to:"), this);
    linkKindGroup_->setObjectName(QStringLiteral("linkKindGroup"));
    auto* choices = new QHBoxLayout(linkKindGroup_);
    for (const QString& caption : {QStringLiteral("Web Site"), QStringLiteral("E-Mail")}) {
        auto* b = new QRadioButton(caption, linkKindGroup_);
        choices->addWidget(b);
        linkKindButtons_.append(b);
    }
    linkKindButtons_[0]->setChecked(true);
    layout->addWidget(linkKindGroup_);

    addOkCancelRow(this, layout, okButton_, cancelButton_);

    setupForButton();
}

void ButtonDialog::setupForButton()
{
    setProperty("helpContext", 160);
    setWindowTitle(QStringLiteral("Insert Button"));
    captionLabel_->setText(QStringLiteral("Caption:"));
    targetLabel_->setText(QStringLiteral("Keywords:"));
    linkKindGroup_->hide();
    captionEdit->clear();
    targetEdit->clear();
}

void ButtonDialog::setupForWeb()
{
    setProperty("helpContext", 170);
    setWindowTitle(QStringLiteral("Link to web site or e-mail"));
    captionLabel_->setText(QStringLiteral("Text for link:"));
    targetLabel_->setText(QStringLiteral("Web site or e-mail address:"));
    linkKindGroup_->show();
    captionEdit->clear();
    targetEdit->clear();
}

bool ButtonDialog::emailChosen() const
{
    return linkKindButtons_[1]->isChecked();
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
