#include "LinkDialog.h"

#include "Prompter.h"
#include "links/LinkMarkup.h"
#include "DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace ts {

LinkDialog::LinkDialog(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("LinkDialog"));
    setWindowTitle(QStringLiteral("Link to topic"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
    setModal(true);
    setProperty("helpContext", 180);

    auto* layout = new QVBoxLayout(this);

    auto* hotspotLabel = new QLabel(QStringLiteral("Link text:"), this);
    hotspotLabel->setObjectName(QStringLiteral("hotspotLabel"));
    hotspotEdit = new QLineEdit(this);
    hotspotEdit->setObjectName(QStringLiteral("hotspotEdit"));
    hotspotLabel->setBuddy(hotspotEdit);
    layout->addWidget(hotspotLabel);
    layout->addWidget(hotspotEdit);

    topicLabel_ = new QLabel(QStringLiteral("Select a topic to show:"), this);
    topicLabel_->setObjectName(QStringLiteral("topicLabel"));
    topicCombo = new QComboBox(this);
    topicCombo->setObjectName(QStringLiteral("topicCombo"));
    topicCombo->setEditable(false);
    topicCombo->setInsertPolicy(QComboBox::NoInsert);
    topicIdEdit = new QLineEdit(this);
    topicIdEdit->setObjectName(QStringLiteral("topicIdEdit"));
    topicIdEdit->hide();
    topicLabel_->setBuddy(topicCombo);
    layout->addWidget(topicLabel_);
    layout->addWidget(topicCombo);
    layout->addWidget(topicIdEdit);

    auto* linkTypeGroup = new QGroupBox(QStringLiteral("Link type"), this);
    linkTypeGroup->setObjectName(QStringLiteral("linkTypeGroup"));
    auto* choices = new QGridLayout(linkTypeGroup);
    const QStringList captions{QStringLiteral("Jump to selected topic"), QStringLiteral("Popup selected topic")};
    for (int k = 0; k < captions.size(); ++k) {
        auto* b = new QRadioButton(captions[k], linkTypeGroup);
        choices->addWidget(b, 0, k);
        linkTypeButtons_.append(b);
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                linkTypeChanged();
        });
    }
    layout->addWidget(linkTypeGroup);

    topicWindowCheck = new QCheckBox(QStringLiteral("Show in specific window selected for this topic"), this);
    topicWindowCheck->setObjectName(QStringLiteral("topicWindowCheck"));
    layout->addWidget(topicWindowCheck);
    otherHelpFileCheck = new QCheckBox(QStringLiteral("Jump to topic in another help file (specify below)"), this);
    otherHelpFileCheck->setObjectName(QStringLiteral("otherHelpFileCheck"));
    layout->addWidget(otherHelpFileCheck);
    linkTypeButtons_[0]->setChecked(true);

    auto* fileRow = new QHBoxLayout;
    helpFileEdit = new QLineEdit(this);
    helpFileEdit->setObjectName(QStringLiteral("helpFileEdit"));
    fileRow->addWidget(helpFileEdit, 1);
    browseButton_ = new QPushButton(QStringLiteral("Search"), this);
    browseButton_->setObjectName(QStringLiteral("browseButton"));
    browseButton_->setAutoDefault(false);
    fileRow->addWidget(browseButton_);
    layout->addLayout(fileRow);

    addOkCancelRow(this, layout, okButton_, cancelButton_);

    connect(topicWindowCheck, &QCheckBox::toggled, this, &LinkDialog::topicWindowToggled);
    connect(otherHelpFileCheck, &QCheckBox::toggled, this, &LinkDialog::otherHelpFileToggled);
    connect(browseButton_, &QPushButton::clicked, this, &LinkDialog::browseHelpFile);
}

void LinkDialog::setTopics(const QStringList& entries, int proposed)
{
    proposedTopic_ = proposed >= 0 && proposed < entries.size() ? proposed : 0;
    topicCombo->clear();
    topicCombo->addItems(entries);
    topicCombo->setCurrentIndex(entries.isEmpty() ? -1 : proposedTopic_);
}

int LinkDialog::linkType() const
{
    return linkTypeButtons_[1]->isChecked() ? 1 : 0;
}

void LinkDialog::setLinkType(int index)
{
    linkTypeButtons_[index == 1 ? 1 : 0]->setChecked(true);
    linkTypeChanged();
}

void LinkDialog::linkTypeChanged()
{
    // A pop-up shows a project topic in no particular window.
    const bool jump = linkType() == 0;
    if (!jump) {
        topicWindowCheck->setChecked(false);
        otherHelpFileCheck->setChecked(false);
    }
    topicWindowCheck->setEnabled(jump);
    otherHelpFileCheck->setEnabled(jump);
}

void LinkDialog::topicWindowToggled()
{
    if (topicWindowCheck->isChecked())
        otherHelpFileCheck->setChecked(false);
}

void LinkDialog::otherHelpFileToggled()
{
    if (otherHelpFileCheck->isChecked()) {
        // The user types the other file's Topic ID in place of the prompt.
        topicWindowCheck->setChecked(false);
        topicIdEdit->setText(links::topicIdPrompt());
        topicCombo->hide();
        topicIdEdit->show();
        topicLabel_->setBuddy(topicIdEdit);
        if (topicCombo->hasFocus())
            topicIdEdit->setFocus();
        topicIdEdit->selectAll();
    } else {
        topicCombo->setCurrentIndex(topicCombo->count() > proposedTopic_ ? proposedTopic_ : -1);
        const bool focused = topicIdEdit->hasFocus();
        topicIdEdit->hide();
        topicCombo->show();
        topicLabel_->setBuddy(topicCombo);
        if (focused)
            topicCombo->setFocus();
    }
}

void LinkDialog::browseHelpFile()
{
    const QString path = prompter_.openFile(this, QStringLiteral("Help Files (*.hlp)|*.HLP"), QString());
    if (!path.isEmpty())
        helpFileEdit->setText(path);
}

void LinkDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitInsertionDialog(this);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

} // namespace ts
