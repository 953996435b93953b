#include "HelpTopicListDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ts {

HelpTopicListDialog::HelpTopicListDialog(const QString& caption, const QString& prompt, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    setObjectName(QStringLiteral("topicListDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(prompt, this);
    topicList_ = new QTreeWidget(this);
    topicList_->setObjectName(QStringLiteral("topicList"));
    topicList_->setRootIsDecorated(false);
    topicList_->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Location")});
    label->setBuddy(topicList_);
    auto* buttons = new QDialogButtonBox(this);
    displayButton = buttons->addButton(QStringLiteral("&Display"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(label);
    layout->addWidget(topicList_, 1);
    layout->addWidget(buttons);
    resize(420, 300);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (chosenRow() >= 0) {
            emit rowChosen(chosenRow());
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(topicList_, &QTreeWidget::itemActivated, this, [this] {
        emit rowChosen(chosenRow());
        accept();
    });
}

void HelpTopicListDialog::setItems(const std::vector<Item>& items)
{
    topicList_->clear();
    bool locations = false;
    for (const Item& item : items) {
        new QTreeWidgetItem(topicList_, {item.title, item.location});
        locations = locations || !item.location.isEmpty();
    }
    topicList_->setHeaderHidden(!locations);
    topicList_->setColumnHidden(1, !locations);
    topicList_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    if (topicList_->topLevelItemCount() > 0)
        topicList_->setCurrentItem(topicList_->topLevelItem(0));
    topicList_->setFocus();
}

int HelpTopicListDialog::chosenRow() const
{
    return topicList_->currentItem() ? topicList_->indexOfTopLevelItem(topicList_->currentItem()) : -1;
}

int HelpTopicListDialog::choose(QWidget* parent, const QString& caption, const QString& prompt,
                                const std::vector<Item>& items)
{
    HelpTopicListDialog dialog(caption, prompt, parent);
    dialog.setObjectName(QStringLiteral("topicsFoundDialog"));
    dialog.setItems(items);
    return dialog.exec() == QDialog::Accepted ? dialog.chosenRow() : -1;
}

} // namespace ts
#include "moc_HelpTopicListDialog.cpp"
