#include "HelpTopicsDialog.h"

#include "helpdoc/HelpTextSearch.h"

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
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    contentsTab_ = buildContentsTab();
    indexTab_ = buildIndexTab();
    findTab_ = buildFindTab();
    auto* buttons = new QDialogButtonBox(this);
    displayButton = buttons->addButton(QStringLiteral("&Display"), QDialogButtonBox::ActionRole);
    displayButton->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(tabs, 1);
    layout->addWidget(buttons);
    connect(displayButton, &QPushButton::clicked, this, &HelpTopicsDialog::display);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tabs, &QTabWidget::currentChanged, this, [this] {
        if (tabs->currentWidget() == findTab_)
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
    contentsTree = new QTreeWidget(tab);
    contentsTree->setObjectName(QStringLiteral("contentsTree"));
    contentsTree->setHeaderHidden(true);
    layout->addWidget(stepLabel(QStringLiteral("Click a book, and then click Open. Or click another tab, such as Index."),
                                contentsTree, tab));
    layout->addWidget(contentsTree, 1);
    connect(contentsTree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        contentsTree->setCurrentItem(item);
        display();
    });
    connect(contentsTree, &QTreeWidget::currentItemChanged, this, &HelpTopicsDialog::updateDisplayButton);
    const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
    connect(contentsTree, &QTreeWidget::itemExpanded, this, [open](QTreeWidgetItem* item) { item->setIcon(0, open); });
    connect(contentsTree, &QTreeWidget::itemCollapsed, this, [closed](QTreeWidgetItem* item) { item->setIcon(0, closed); });
    return tab;
}

QWidget* HelpTopicsDialog::buildIndexTab()
{
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    indexEdit = new QLineEdit(tab);
    indexEdit->setObjectName(QStringLiteral("indexEdit"));
    indexList = new QListWidget(tab);
    indexList->setObjectName(QStringLiteral("indexList"));
    layout->addWidget(stepLabel(QStringLiteral("&1  Type the first few letters of the word you're looking for."),
                                indexEdit, tab));
    layout->addWidget(indexEdit);
    layout->addWidget(stepLabel(QStringLiteral("&2  Click the index entry you want, and then click Display."),
                                indexList, tab));
    layout->addWidget(indexList, 1);
    connect(indexEdit, &QLineEdit::textEdited, this, &HelpTopicsDialog::scrollIndexTo);
    connect(indexEdit, &QLineEdit::returnPressed, this, &HelpTopicsDialog::display);
    connect(indexList, &QListWidget::itemActivated, this, &HelpTopicsDialog::display);
    // Up and Down in the box move through the list, as in WinHelp.
    indexEdit->installEventFilter(this);
    return tab;
}

QWidget* HelpTopicsDialog::buildFindTab()
{
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    findEdit = new QLineEdit(tab);
    findEdit->setObjectName(QStringLiteral("findEdit"));
    wordList = new QListWidget(tab);
    wordList->setObjectName(QStringLiteral("wordList"));
    wordList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    findTopicList = new QListWidget(tab);
    findTopicList->setObjectName(QStringLiteral("findTopicList"));
    findStatus = new QLabel(tab);
    findStatus->setObjectName(QStringLiteral("findStatus"));
    layout->addWidget(stepLabel(QStringLiteral("&1  Type the word(s) you want to find"), findEdit, tab));
    layout->addWidget(findEdit);
    layout->addWidget(stepLabel(QStringLiteral("&2  Select some matching words to narrow your search"), wordList, tab));
    layout->addWidget(wordList, 1);
    layout->addWidget(stepLabel(QStringLiteral("&3  Click a topic, then click Display"), findTopicList, tab));
    layout->addWidget(findTopicList, 1);
    layout->addWidget(findStatus);
    connect(findEdit, &QLineEdit::textChanged, this, &HelpTopicsDialog::updateWords);
    connect(findEdit, &QLineEdit::returnPressed, this, &HelpTopicsDialog::display);
    connect(wordList, &QListWidget::itemSelectionChanged, this, &HelpTopicsDialog::updateFoundTopics);
    connect(findTopicList, &QListWidget::itemActivated, this, &HelpTopicsDialog::display);
    connect(findTopicList, &QListWidget::currentRowChanged, this, &HelpTopicsDialog::updateDisplayButton);
    return tab;
}

void HelpTopicsDialog::setSources(const HelpDocument* document, const QString& caption, std::vector<HelpIndexEntry> index)
{
    document_ = document;
    index_ = std::move(index);
    search_.reset();
    found_.clear();
    setWindowTitle(QStringLiteral("Help Topics: ") + caption);
    tabs->clear();
    if (document_ && !document_->contents.entries.empty())
        tabs->addTab(contentsTab_, QStringLiteral("Contents"));
    else
        contentsTab_->hide();
    tabs->addTab(indexTab_, QStringLiteral("Index"));
    tabs->addTab(findTab_, QStringLiteral("Find"));
    fillContents();
    fillIndex();
    findEdit->clear();
    wordList->clear();
    findTopicList->clear();
    findStatus->clear();
}

bool HelpTopicsDialog::hasContentsTab() const { return tabs->indexOf(contentsTab_) >= 0; }

void HelpTopicsDialog::showTab(Tab tab)
{
    QWidget* page = tab == Tab::Contents ? contentsTab_ : tab == Tab::Index ? indexTab_ : findTab_;
    if (tabs->indexOf(page) < 0)
        page = indexTab_;
    tabs->setCurrentWidget(page);
    if (page == indexTab_)
        indexEdit->setFocus();
    else if (page == findTab_)
        findEdit->setFocus();
    else
        contentsTree->setFocus();
    updateDisplayButton();
}

HelpTopicsDialog::Tab HelpTopicsDialog::currentTab() const
{
    QWidget* page = tabs->currentWidget();
    return page == contentsTab_ ? Tab::Contents : page == findTab_ ? Tab::Find : Tab::Index;
}

void HelpTopicsDialog::fillContents()
{
    contentsTree->clear();
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
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contentsTree);
        item->setText(0, entry.text);
        item->setData(0, EntryRole, i);
        item->setIcon(0, entry.kind == HelpContentsEntry::Kind::Book ? book : page);
        if (entry.kind == HelpContentsEntry::Kind::Book) {
            while (int(parents.size()) < level - 1)
                parents.push_back(parent);
            parents.push_back(item);
        }
    }
    if (contentsTree->topLevelItemCount() > 0)
        contentsTree->setCurrentItem(contentsTree->topLevelItem(0));
}

void HelpTopicsDialog::fillIndex()
{
    indexList->clear();
    for (const HelpIndexEntry& entry : index_)
        indexList->addItem(entry.keyword);
    indexEdit->clear();
    if (indexList->count() > 0)
        indexList->setCurrentRow(0);
}

void HelpTopicsDialog::scrollIndexTo(const QString& typed)
{
    const QString key = typed.toCaseFolded();
    int row = 0;
    while (row < int(index_.size()) && index_[size_t(row)].keyword.toCaseFolded() < key)
        ++row;
    if (row < indexList->count()) {
        indexList->setCurrentRow(row);
        indexList->scrollToItem(indexList->item(row), QAbstractItemView::PositionAtTop);
    }
}

bool HelpTopicsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == indexEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QApplication::sendEvent(indexList, event);
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
    const QSignalBlocker blocker(wordList);
    wordList->clear();
    wordList->addItems(search_->matchingWords(findEdit->text()));
    updateFoundTopics();
}

void HelpTopicsDialog::updateFoundTopics()
{
    if (!search_ || !document_)
        return;
    QStringList chosen;
    for (const QListWidgetItem* item : wordList->selectedItems())
        chosen.append(item->text());
    found_ = search_->topicsFound(findEdit->text(), chosen);
    findTopicList->clear();
    for (int topic : found_)
        findTopicList->addItem(document_->topics[size_t(topic)].title.isEmpty()
                                   ? document_->topics[size_t(topic)].idOrHash()
                                   : document_->topics[size_t(topic)].title);
    if (!found_.empty())
        findTopicList->setCurrentRow(0);
    findStatus->setText(findEdit->text().trimmed().isEmpty()
                            ? QString()
                            : QStringLiteral("%1 Topics Found").arg(found_.size()));
    updateDisplayButton();
}

void HelpTopicsDialog::updateDisplayButton()
{
    const bool book = tabs->currentWidget() == contentsTab_ && contentsTree->currentItem()
                      && contentsTree->currentItem()->childCount() > 0;
    displayButton->setText(book ? (contentsTree->currentItem()->isExpanded() ? QStringLiteral("&Close")
                                                                             : QStringLiteral("&Open"))
                                : QStringLiteral("&Display"));
}

void HelpTopicsDialog::display()
{
    QWidget* page = tabs->currentWidget();
    if (page == contentsTab_) {
        QTreeWidgetItem* item = contentsTree->currentItem();
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
        const int row = indexList->currentRow();
        if (row < 0 || row >= int(index_.size()))
            return;
        hide();
        emit indexEntryChosen(index_[size_t(row)]);
    } else {
        const int row = findTopicList->currentRow();
        if (row < 0 || row >= int(found_.size()))
            return;
        hide();
        emit findTopicChosen(found_[size_t(row)]);
    }
}

} // namespace ts
#include "moc_HelpTopicsDialog.cpp"
