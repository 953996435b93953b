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

TLinkForm::TLinkForm(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("TLinkForm"));
    setWindowTitle(QStringLiteral("Link to topic"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
    setModal(true);
    setProperty("helpContext", 180);

    auto* layout = new QVBoxLayout(this);

    Label1 = new QLabel(QStringLiteral("Link text:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);

    Label2 = new QLabel(QStringLiteral("Select a topic to show:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    Label2->setBuddy(ComboBox1);
    layout->addWidget(Label2);
    layout->addWidget(ComboBox1);

    RadioGroup1 = new QGroupBox(QStringLiteral("Link type"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* choices = new QGridLayout(RadioGroup1);
    const QStringList captions{QStringLiteral("Jump to selected topic"), QStringLiteral("Popup selected topic")};
    for (int k = 0; k < captions.size(); ++k) {
        auto* b = new QRadioButton(captions[k], RadioGroup1);
        choices->addWidget(b, 0, k);
        RadioButtons.append(b);
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                RadioGroup1Click();
        });
    }
    layout->addWidget(RadioGroup1);

    CheckBox1 = new QCheckBox(QStringLiteral("Show in specific window selected for this topic"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    layout->addWidget(CheckBox1);
    CheckBox2 = new QCheckBox(QStringLiteral("Jump to topic in onother help file (specify below)"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    layout->addWidget(CheckBox2);
    RadioButtons[0]->setChecked(true);

    auto* fileRow = new QHBoxLayout;
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    fileRow->addWidget(Edit2, 1);
    Button3 = new QPushButton(QStringLiteral("Search"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setAutoDefault(false);
    fileRow->addWidget(Button3);
    layout->addLayout(fileRow);

    AddOkCancelRow(this, layout, Button1, Button2);

    connect(CheckBox1, &QCheckBox::toggled, this, &TLinkForm::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::toggled, this, &TLinkForm::CheckBox2Click);
    connect(Button3, &QPushButton::clicked, this, &TLinkForm::Button3Click);
}

void TLinkForm::setTopics(const QStringList& entries)
{
    ComboBox1->clear();
    ComboBox1->addItems(entries);
    ComboBox1->setCurrentIndex(entries.isEmpty() ? -1 : 0);
}

int TLinkForm::linkType() const
{
    return RadioButtons[1]->isChecked() ? 1 : 0;
}

void TLinkForm::setLinkType(int index)
{
    RadioButtons[index == 1 ? 1 : 0]->setChecked(true);
    RadioGroup1Click();
}

void TLinkForm::RadioGroup1Click()
{
    // A pop-up shows a project topic in no particular window.
    const bool jump = linkType() == 0;
    if (!jump) {
        CheckBox1->setChecked(false);
        CheckBox2->setChecked(false);
    }
    CheckBox1->setEnabled(jump);
    CheckBox2->setEnabled(jump);
}

void TLinkForm::CheckBox1Click()
{
    if (CheckBox1->isChecked())
        CheckBox2->setChecked(false);
}

void TLinkForm::CheckBox2Click()
{
    if (CheckBox2->isChecked()) {
        // The user types the other file's Topic ID in place of the prompt.
        CheckBox1->setChecked(false);
        ComboBox1->setEditable(true);
        ComboBox1->setEditText(links::TopicIdPrompt());
    } else {
        ComboBox1->setEditable(false);
        ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    }
}

void TLinkForm::Button3Click()
{
    const QString path = prompter_.openFile(this, QStringLiteral("Help Files (*.hlp)|*.HLP"), QString());
    if (!path.isEmpty())
        Edit2->setText(path);
}

void TLinkForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

} // namespace ts
