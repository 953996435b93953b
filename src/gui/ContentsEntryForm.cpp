#include "ContentsEntryForm.h"

#include "StorableTextValidator.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace ts {

ContentsEntryForm::ContentsEntryForm(QWidget* dialog) : dialog_(dialog)
{
    titleEdit_ = new QLineEdit(dialog);
    titleEdit_->setObjectName(QStringLiteral("titleEdit"));
    topicIdEdit_ = new QLineEdit(dialog);
    topicIdEdit_->setObjectName(QStringLiteral("topicIdEdit"));
    helpFileEdit_ = new QLineEdit(dialog);
    helpFileEdit_->setObjectName(QStringLiteral("helpFileEdit"));
    for (QLineEdit* edit : {titleEdit_, topicIdEdit_, helpFileEdit_})
        edit->setValidator(new StorableTextValidator(edit));
    windowCombo_ = new QComboBox(dialog);
    windowCombo_->setObjectName(QStringLiteral("windowCombo"));
    windowCombo_->setEditable(true);
    windowCombo_->setInsertPolicy(QComboBox::NoInsert);

    QComboBox* combo = windowCombo_;
    QObject::connect(topicIdEdit_, &QLineEdit::textChanged, dialog,
                     [combo](const QString& text) { combo->setEnabled(!text.isEmpty()); });
}

QGridLayout* ContentsEntryForm::layout() const
{
    auto* fields = new QGridLayout;
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, dialog_);
        l->setBuddy(buddy);
        return l;
    };
    fields->addWidget(label(QStringLiteral("&Title:"), titleEdit_), 0, 0);
    fields->addWidget(titleEdit_, 0, 1);
    fields->addWidget(label(QStringLiteral("Topic &ID:"), topicIdEdit_), 1, 0);
    fields->addWidget(topicIdEdit_, 1, 1);
    fields->addWidget(label(QStringLiteral("&Help File"), helpFileEdit_), 2, 0);
    fields->addWidget(helpFileEdit_, 2, 1);
    fields->addWidget(label(QStringLiteral("&Window"), windowCombo_), 3, 0);
    fields->addWidget(windowCombo_, 3, 1);
    return fields;
}

QList<QWidget*> ContentsEntryForm::boxes() const
{
    return {titleEdit_, topicIdEdit_, helpFileEdit_, windowCombo_};
}

void ContentsEntryForm::clearTexts()
{
    titleEdit_->clear();
    topicIdEdit_->clear();
    helpFileEdit_->clear();
}

void ContentsEntryForm::setWindowNames(const QStringList& names)
{
    windowCombo_->clear();
    for (const QString& name : names)
        windowCombo_->addItem(name);
}

void ContentsEntryForm::show(const ContentsEntry* entry, bool treeEmpty)
{
    if (treeEmpty) {
        clearTexts();
        for (QWidget* w : boxes())
            w->setEnabled(false);
        return;
    }
    if (!entry)
        return;
    titleEdit_->setEnabled(true);
    if (entry->Kind == ContentsKind::Heading) {
        titleEdit_->setText(entry->Text);
        topicIdEdit_->clear();
        helpFileEdit_->clear();
        windowCombo_->setEditText(QString());
        topicIdEdit_->setEnabled(false);
        helpFileEdit_->setEnabled(false);
        windowCombo_->setEnabled(false);
        return;
    }
    topicIdEdit_->setEnabled(true);
    helpFileEdit_->setEnabled(true);
    const ContentsEntryParts parts = splitContentsText(entry->Text);
    titleEdit_->setText(parts.Title);
    topicIdEdit_->setText(parts.TopicId); // enables the Window box when not empty
    helpFileEdit_->setText(parts.HelpFile);
    if (!entry->Text.contains(QLatin1Char('='))) {
        windowCombo_->setEditText(windowCombo_->itemText(0));
        windowCombo_->setEnabled(false);
    } else {
        windowCombo_->setEditText(parts.Window);
    }
}

QString ContentsEntryForm::composedText(Trigger trigger, ContentsKind kind) const
{
    if (trigger == Trigger::TitleLeft && kind == ContentsKind::Heading)
        return titleEdit_->text();
    bool withWindow = true;
    if (trigger == Trigger::TopicIdLeft || trigger == Trigger::EnterKey)
        withWindow = windowCombo_->isEnabled();
    else if (trigger == Trigger::SelectionMove)
        withWindow = !windowCombo_->currentText().isEmpty();
    return composeContentsText(
        ContentsEntryParts{titleEdit_->text(), topicIdEdit_->text(), helpFileEdit_->text(), windowCombo_->currentText()},
        withWindow);
}

std::optional<ContentsEntryForm::Trigger> ContentsEntryForm::leaving(const QObject* box) const
{
    if (box == titleEdit_)
        return Trigger::TitleLeft;
    if (box == topicIdEdit_)
        return Trigger::TopicIdLeft;
    if (box == helpFileEdit_)
        return Trigger::HelpFileLeft;
    if (box == windowCombo_)
        return Trigger::ComboExit;
    return std::nullopt;
}

} // namespace ts
