#include "HelpTopicsDialog.h"

#include "helpdoc/HelpTextSearch.h"
#include "helpfile/HelpIndexFiles.h"
#include "model/CountText.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace ts {
namespace {

constexpr int EntryRole = Qt::UserRole + 1;

QLabel* stepLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setBuddy(buddy);
    return label;
}

} // namespace

HelpTopicsDialog::HelpTopicsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("helpTopicsDialog"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    contentsTab_ = buildContentsTab();
    indexTab_ = buildIndexTab();
    findTab_ = buildFindTab();
    auto* buttons = new QDialogButtonBox(this);
    displayButton_ = buttons->addButton(QStringLiteral("&Display"), QDialogButtonBox::ActionRole);
    displayButton_->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons);
    connect(displayButton_, &QPushButton::clicked, this, &HelpTopicsDialog::display);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (tabs_->currentWidget() == findTab_)
            updateWords();
        updateDisplayButton();
    });
    resize(460, 440);
}

HelpTopicsDialog::~HelpTopicsDialog() = default;

QWidget* HelpTopicsDialog::buildContentsTab()
{
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    contentsTree_ = new QTreeWidget(tab);
    contentsTree_->setObjectName(QStringLiteral("contentsTree"));
    contentsTree_->setHeaderHidden(true);
    layout->addWidget(stepLabel(QStringLiteral("Click a book, and then click Open. Or click another tab, such as Index."),
                                contentsTree_, tab));
    layout->addWidget(contentsTree_, 1);
    connect(contentsTree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        contentsTree_->setCurrentItem(item);
        display();
    });
    connect(contentsTree_, &QTreeWidget::currentItemChanged, this, &HelpTopicsDialog::updateDisplayButton);
    const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
    connect(contentsTree_, &QTreeWidget::itemExpanded, this, [open](QTreeWidgetItem* item) { item->setIcon(0, open); });
    connect(contentsTree_, &QTreeWidget::itemCollapsed, this, [closed](QTreeWidgetItem* item) { item->setIcon(0, closed); });
    return tab;
}

QWidget* HelpTopicsDialog::buildIndexTab()
{
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    indexEdit_ = new QLineEdit(tab);
    indexEdit_->setObjectName(QStringLiteral("indexEdit"));
    indexList_ = new QListWidget(tab);
    indexList_->setObjectName(QStringLiteral("indexList"));
    layout->addWidget(stepLabel(QStringLiteral("&1  Type the first few letters of the word you're looking for."),
                                indexEdit_, tab));
    layout->addWidget(indexEdit_);
    layout->addWidget(stepLabel(QStringLiteral("&2  Click the index entry you want, and then click Display."),
                                indexList_, tab));
    layout->addWidget(indexList_, 1);
    connect(indexEdit_, &QLineEdit::textEdited, this, &HelpTopicsDialog::scrollIndexTo);
    connect(indexEdit_, &QLineEdit::returnPressed, this, &HelpTopicsDialog::display);
    connect(indexList_, &QListWidget::itemActivated, this, &HelpTopicsDialog::display);
    // Up and Down in the box move through the list, as in WinHelp.
    indexEdit_->installEventFilter(this);
    return tab;
}

QWidget* HelpTopicsDialog::buildFindTab()
{
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    findEdit_ = new QLineEdit(tab);
    findEdit_->setObjectName(QStringLiteral("findEdit"));
    wordList_ = new QListWidget(tab);
    wordList_->setObjectName(QStringLiteral("wordList"));
    wordList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    findTopicList_ = new QListWidget(tab);
    findTopicList_->setObjectName(QStringLiteral("findTopicList"));
    findStatus_ = new QLabel(tab);
    findStatus_->setObjectName(QStringLiteral("findStatus"));
    layout->addWidget(stepLabel(QStringLiteral("&1  Type the word(s) you want to find"), findEdit_, tab));
    layout->addWidget(findEdit_);
    layout->addWidget(stepLabel(QStringLiteral("&2  Select some matching words to narrow your search"), wordList_, tab));
    layout->addWidget(wordList_, 1);
    layout->addWidget(stepLabel(QStringLiteral("&3  Click a topic, then click Display"), findTopicList_, tab));
    layout->addWidget(findTopicList_, 1);
    layout->addWidget(findStatus_);
    connect(findEdit_, &QLineEdit::textChanged, this, &HelpTopicsDialog::updateWords);
    connect(findEdit_, &QLineEdit::returnPressed, this, &HelpTopicsDialog::display);
    connect(wordList_, &QListWidget::itemSelectionChanged, this, &HelpTopicsDialog::updateFoundTopics);
    connect(findTopicList_, &QListWidget::itemActivated, this, &HelpTopicsDialog::display);
    connect(findTopicList_, &QListWidget::currentRowChanged, this, &HelpTopicsDialog::updateDisplayButton);
    return tab;
}

void HelpTopicsDialog::setSources(const HelpDocument* document, const QString& caption, std::vector<HelpIndexEntry> index)
{
    document_ = document;
    index_ = std::move(index);
    indexLetters_.clear();
    for (const HelpIndexEntry& entry : index_)
        indexLetters_.push_back(helpfile::keywordOrderKey(entry.keyword).letters);
    search_.reset();
    found_.clear();
    setWindowTitle(QStringLiteral("Help Topics: ") + caption);
    tabs_->clear();
    if (document_ && !document_->contents.entries.empty())
        tabs_->addTab(contentsTab_, QStringLiteral("Contents"));
    else
        contentsTab_->hide();
    tabs_->addTab(indexTab_, QStringLiteral("Index"));
    tabs_->addTab(findTab_, QStringLiteral("Find"));
    fillContents();
    fillIndex();
    findEdit_->clear();
    wordList_->clear();
    findTopicList_->clear();
    findStatus_->clear();
}

bool HelpTopicsDialog::hasContentsTab() const { return tabs_->indexOf(contentsTab_) >= 0; }

void HelpTopicsDialog::showTab(Tab tab)
{
    QWidget* page = tab == Tab::Contents ? contentsTab_ : tab == Tab::Index ? indexTab_ : findTab_;
    if (tabs_->indexOf(page) < 0)
        page = indexTab_;
    tabs_->setCurrentWidget(page);
    if (page == indexTab_)
        indexEdit_->setFocus();
    else if (page == findTab_)
        findEdit_->setFocus();
    else
        contentsTree_->setFocus();
    updateDisplayButton();
}

HelpTopicsDialog::Tab HelpTopicsDialog::currentTab() const
{
    QWidget* page = tabs_->currentWidget();
    return page == contentsTab_ ? Tab::Contents : page == findTab_ ? Tab::Find : Tab::Index;
}

void HelpTopicsDialog::fillContents()
{
    contentsTree_->clear();
    if (!document_)
        return;
    const QIcon book = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon page = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    // parents[level - 1] is the book that entries of `level` go into.
    std::vector<QTreeWidgetItem*> parents;
    const auto& entries = document_->contents.entries;
    for (int i = 0; i < int(entries.size()); ++i) {
        const HelpContentsEntry& entry = entries[size_t(i)];
        if (entry.kind == HelpContentsEntry::Kind::Include)
            continue; // the included file's entries follow it
        const int level = std::max(1, entry.level);
        parents.resize(size_t(std::min(int(parents.size()), level - 1)));
        QTreeWidgetItem* parent = parents.empty() ? nullptr : parents.back();
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contentsTree_);
        item->setText(0, entry.text);
        item->setData(0, EntryRole, i);
        item->setIcon(0, entry.kind == HelpContentsEntry::Kind::Book ? book : page);
        if (entry.kind == HelpContentsEntry::Kind::Book) {
            while (int(parents.size()) < level - 1)
                parents.push_back(parent);
            parents.push_back(item);
        }
    }
    if (contentsTree_->topLevelItemCount() > 0)
        contentsTree_->setCurrentItem(contentsTree_->topLevelItem(0));
}

void HelpTopicsDialog::fillIndex()
{
    indexList_->clear();
    for (const HelpIndexEntry& entry : index_)
        indexList_->addItem(entry.keyword);
    indexEdit_->clear();
    if (indexList_->count() > 0)
        indexList_->setCurrentRow(0);
}

void HelpTopicsDialog::scrollIndexTo(const QString& typed)
{
    // The index is in keyword order; what is typed is compared on its first
    // level, without regard to case, accents or hyphens.
    const std::u32string letters = helpfile::keywordOrderKey(typed).letters;
    const int row = int(std::lower_bound(indexLetters_.begin(), indexLetters_.end(), letters) - indexLetters_.begin());
    if (row < indexList_->count()) {
        indexList_->setCurrentRow(row);
        indexList_->scrollToItem(indexList_->item(row), QAbstractItemView::PositionAtTop);
    }
}

bool HelpTopicsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == indexEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QApplication::sendEvent(indexList_, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void HelpTopicsDialog::updateWords()
{
    if (!document_)
        return;
    if (!search_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        search_ = std::make_unique<HelpTextSearch>(*document_);
        QApplication::restoreOverrideCursor();
    }
    const QSignalBlocker blocker(wordList_);
    wordList_->clear();
    wordList_->addItems(search_->matchingWords(findEdit_->text()));
    updateFoundTopics();
}

void HelpTopicsDialog::updateFoundTopics()
{
    if (!search_ || !document_)
        return;
    QStringList chosen;
    for (const QListWidgetItem* item : wordList_->selectedItems())
        chosen.append(item->text());
    found_ = search_->topicsFound(findEdit_->text(), chosen);
    findTopicList_->clear();
    for (int topic : found_)
        findTopicList_->addItem(document_->topics[size_t(topic)].title.isEmpty()
                                   ? document_->topics[size_t(topic)].idOrHash()
                                   : document_->topics[size_t(topic)].title);
    if (!found_.empty())
        findTopicList_->setCurrentRow(0);
    findStatus_->setText(findEdit_->text().trimmed().isEmpty()
                            ? QString()
                            : countText(qint64(found_.size()), QStringLiteral("Topic Found"), QStringLiteral("Topics Found")));
    updateDisplayButton();
}

void HelpTopicsDialog::updateDisplayButton()
{
    const bool book = tabs_->currentWidget() == contentsTab_ && contentsTree_->currentItem()
                      && contentsTree_->currentItem()->childCount() > 0;
    displayButton_->setText(book ? (contentsTree_->currentItem()->isExpanded() ? QStringLiteral("&Close")
                                                                             : QStringLiteral("&Open"))
                                : QStringLiteral("&Display"));
}

void HelpTopicsDialog::display()
{
    QWidget* page = tabs_->currentWidget();
    if (page == contentsTab_) {
        QTreeWidgetItem* item = contentsTree_->currentItem();
        if (!item || !document_)
            return;
        const HelpContentsEntry& entry = document_->contents.entries[size_t(item->data(0, EntryRole).toInt())];
        if (entry.kind == HelpContentsEntry::Kind::Book) {
            item->setExpanded(!item->isExpanded());
            updateDisplayButton();
            return;
        }
        hide();
        emit contentsEntryChosen(entry);
    } else if (page == indexTab_) {
        const int row = indexList_->currentRow();
        if (row < 0 || row >= int(index_.size()))
            return;
        hide();
        emit indexEntryChosen(index_[size_t(row)]);
    } else {
        const int row = findTopicList_->currentRow();
        if (row < 0 || row >= int(found_.size()))
            return;
        hide();
        emit findTopicChosen(found_[size_t(row)]);
    }
}

} // namespace ts
#include "moc_HelpTopicsDialog.cpp"
