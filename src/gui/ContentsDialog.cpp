#include "ContentsDialog.h"

#include "Prompter.h"
#include "SearchDialog.h"
#include "StorableTextValidator.h"
#include "contents/ContentsFile.h"
#include "model/Project.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace ts {

namespace {

const QString NewEntryText = QStringLiteral("Type in the title");

QMenu* placementMenu(QWidget* parent, const char* name)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QLatin1String(name));
    menu->addAction(QStringLiteral("Insert as &Child of Heading"))->setData(int(ContentsDialog::DropChoice::AsChild));
    menu->addAction(QStringLiteral("Insert at This &Level"))->setData(int(ContentsDialog::DropChoice::OnThisLevel));
    menu->addAction(QStringLiteral("&Cancel"))->setData(int(ContentsDialog::DropChoice::Cancel));
    return menu;
}

// Every heading that holds entries opens, so the whole tree is in view.
void expandHeadings(std::vector<ContentsEntry>& entries)
{
    for (ContentsEntry& e : entries) {
        if (e.Kind == ContentsKind::Heading && !e.Children.empty())
            e.Expanded = true;
        expandHeadings(e.Children);
    }
}

} // namespace

// ---- ContentsTreeWidget ----

void ContentsTreeWidget::dragEnterEvent(QDragEnterEvent* event)
{
    event->acceptProposedAction();
}

void ContentsTreeWidget::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidget::dragMoveEvent(event); // scrolls near the edges
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ContentsTreeWidget::dropEvent(QDropEvent* event)
{
    // Copy, never move: the source views keep their items; the dialog
    // changes the tree itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped(event->source(), event->position().toPoint());
}

void ContentsTreeWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit deletePressed();
        return;
    }
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && event->modifiers() == Qt::ControlModifier) {
        emit moveKeyPressed(event->key() == Qt::Key_Up ? -1 : 1);
        return;
    }
    if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) && event->modifiers() == Qt::ControlModifier) {
        emit levelKeyPressed(event->key() == Qt::Key_Left ? -1 : 1);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

// ---- ContentsDialog ----

ContentsDialog::ContentsDialog(Project& project, Prompter& prompter, SearchDialog& search,
                             const ListIcons& listIcons, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), project_(project),
      prompter_(prompter), search_(search), listIcons_(listIcons)
{
    setObjectName(QStringLiteral("ContentsDialog"));
    setWindowTitle(QStringLiteral("Contents Editor"));
    setProperty("helpContext", 130);
    setModal(true);

    contentsTree = new ContentsTreeWidget(this);
    contentsTree->setObjectName(QStringLiteral("contentsTree"));
    contentsTree->setHeaderHidden(true);
    contentsTree->setRootIsDecorated(false);
    contentsTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    contentsTree->setExpandsOnDoubleClick(true);
    contentsTree->setDragEnabled(true);
    contentsTree->setAcceptDrops(true);
    contentsTree->setDragDropMode(QAbstractItemView::DragDrop);
    contentsTree->setDefaultDropAction(Qt::CopyAction);
    contentsTree->setContextMenuPolicy(Qt::CustomContextMenu);
    contentsTree->setMinimumSize(260, 300);

    paletteTree = new QTreeWidget(this);
    paletteTree->setObjectName(QStringLiteral("paletteTree"));
    paletteTree->setHeaderHidden(true);
    paletteTree->setRootIsDecorated(false);
    paletteTree->setDragEnabled(true);
    paletteTree->setDragDropMode(QAbstractItemView::DragOnly);
    paletteTree->setDefaultDropAction(Qt::CopyAction);
    for (const QString& caption : {QStringLiteral("Heading"), QStringLiteral("Topic")})
        new QTreeWidgetItem(paletteTree, QStringList{caption});
    paletteTree->setCurrentItem(paletteTree->topLevelItem(0));
    paletteTree->setMaximumHeight(64);

    topicList = new QListWidget(this);
    topicList->setObjectName(QStringLiteral("topicList"));
    topicList->setDragEnabled(true);
    topicList->setDragDropMode(QAbstractItemView::DragOnly);
    topicList->setDefaultDropAction(Qt::CopyAction);

    searchButton = new QToolButton(this);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    searchButton->setText(QStringLiteral("Search..."));
    searchButton->setToolTip(QStringLiteral("Search topic"));

    titleEdit = new QLineEdit(this);
    titleEdit->setObjectName(QStringLiteral("titleEdit"));
    topicIdEdit = new QLineEdit(this);
    topicIdEdit->setObjectName(QStringLiteral("topicIdEdit"));
    helpFileEdit = new QLineEdit(this);
    helpFileEdit->setObjectName(QStringLiteral("helpFileEdit"));
    for (QLineEdit* edit : {titleEdit, topicIdEdit, helpFileEdit})
        edit->setValidator(new StorableTextValidator(edit));
    windowCombo = new QComboBox(this);
    windowCombo->setObjectName(QStringLiteral("windowCombo"));
    windowCombo->setEditable(true);
    windowCombo->setInsertPolicy(QComboBox::NoInsert);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    // Enter in a box updates the entry; it does not close the dialog.
    for (QPushButton* b : {okButton, cancelButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    headingDropMenu = placementMenu(this, "headingDropMenu");
    topicDropMenu = placementMenu(this, "topicDropMenu");
    deleteMenu = new QMenu(this);
    deleteMenu->setObjectName(QStringLiteral("deleteMenu"));
    QAction* delete1 = deleteMenu->addAction(QStringLiteral("&Delete"));
    deleteMenu->addAction(QStringLiteral("&Cancel"));

    auto* fields = new QGridLayout;
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    fields->addWidget(label(QStringLiteral("&Title:"), titleEdit), 0, 0);
    fields->addWidget(titleEdit, 0, 1);
    fields->addWidget(label(QStringLiteral("Topic &ID:"), topicIdEdit), 1, 0);
    fields->addWidget(topicIdEdit, 1, 1);
    fields->addWidget(label(QStringLiteral("&Help File"), helpFileEdit), 2, 0);
    fields->addWidget(helpFileEdit, 2, 1);
    fields->addWidget(label(QStringLiteral("&Window"), windowCombo), 3, 0);
    fields->addWidget(windowCombo, 3, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(paletteTree);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Topics:"), this));
    searchRow->addStretch();
    searchRow->addWidget(searchButton);
    right->addLayout(searchRow);
    right->addWidget(topicList, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(contentsTree, 1);
    top->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    askPlacement = [](QMenu* menu, const QPoint& at) {
        const QAction* chosen = menu->exec(at);
        return chosen ? DropChoice(chosen->data().toInt()) : DropChoice::Cancel;
    };

    for (QWidget* box : {static_cast<QWidget*>(titleEdit), static_cast<QWidget*>(topicIdEdit), static_cast<QWidget*>(helpFileEdit),
                         static_cast<QWidget*>(windowCombo)})
        box->installEventFilter(this);

    connect(topicIdEdit, &QLineEdit::textChanged, this, [this](const QString& text) { windowCombo->setEnabled(!text.isEmpty()); });
    for (QLineEdit* edit : {titleEdit, topicIdEdit, helpFileEdit})
        connect(edit, &QLineEdit::returnPressed, this, [this] { updateEntry(Trigger::EnterKey); });
    connect(contentsTree, &QTreeWidget::currentItemChanged, this, &ContentsDialog::currentChanged);
    connect(contentsTree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* i) { expandedChanged(i, true); });
    connect(contentsTree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* i) { expandedChanged(i, false); });
    connect(contentsTree, &ContentsTreeWidget::dropped, this, &ContentsDialog::onDrop);
    connect(contentsTree, &ContentsTreeWidget::deletePressed, this, &ContentsDialog::deleteEntry);
    connect(contentsTree, &ContentsTreeWidget::moveKeyPressed, this, &ContentsDialog::moveCurrentBy);
    connect(contentsTree, &ContentsTreeWidget::levelKeyPressed, this, &ContentsDialog::changeCurrentLevel);
    connect(paletteTree, &QTreeWidget::itemActivated, this, [this] { addFromKeyboard(paletteTree); });
    connect(topicList, &QListWidget::itemActivated, this, [this] { addFromKeyboard(topicList); });
    connect(contentsTree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { deleteMenu->popup(contentsTree->viewport()->mapToGlobal(at)); });
    connect(delete1, &QAction::triggered, this, &ContentsDialog::deleteEntry);
    connect(searchButton, &QToolButton::clicked, this, &ContentsDialog::searchTopic);
    connect(okButton, &QPushButton::clicked, this, &ContentsDialog::ok);
    connect(cancelButton, &QPushButton::clicked, this, &ContentsDialog::cancel);
}

void ContentsDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        reload();
    QDialog::showEvent(event);
}

void ContentsDialog::reload()
{
    entered_ = false;
    titleEdit->clear();
    topicIdEdit->clear();
    helpFileEdit->clear();

    // The image list is filled after the dialog is made.
    paletteTree->topLevelItem(PaletteHeading)->setIcon(0, listIcons_.closedBook);
    paletteTree->topLevelItem(PaletteTopic)->setIcon(0, listIcons_.questionPage);
    topicList->clear();
    for (int i = 0; i < project_.TopicCount(); ++i) {
        const TopicRecord& t = project_.topic(i);
        auto* item = new QListWidgetItem(listIcons_.questionPage, t.TopicID.text() + QStringLiteral(" - ") + t.Title.text());
        topicList->addItem(item);
    }

    windowCombo->clear();
    for (int k = 0; k < project_.WindowCount(); ++k)
        windowCombo->addItem(project_.window(k).Name.text());

    tree_.clear();
    unreadFile_ = false;
    const QString path = ContentsFile::pathFor(project_);
    // A rename since the last Save has rewritten the contents in memory; they
    // are shown as they will be saved.
    if (ContentsFile::existsFor(project_)) {
        try {
            ContentsFile::ParseResult read = ContentsFile::readFor(project_);
            tree_ = std::move(read.Tree);
            expandHeadings(tree_);
            // Every line is kept; the ones whose level could not be taken as
            // it stands are named with the place they were given. The file
            // itself changes only on OK.
            if (!read.ok())
                prompter_.message(this,
                                  ContentsLevelError::text() + QStringLiteral(" in ") + path + QStringLiteral("\r")
                                      + read.repairMessage()
                                      + QStringLiteral("\rOK writes the contents as shown; Cancel leaves the file "
                                                       "as it is."),
                                  windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        } catch (const IoError& e) {
            unreadFile_ = true;
            prompter_.message(this,
                              e.message() + QStringLiteral("\rThe file is left as it is unless you confirm on OK."),
                              windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Error);
        }
    }
    redraw({});
    titleEdit->setEnabled(!tree_.empty());
}

void ContentsDialog::setIcon(QTreeWidgetItem* item, const ContentsEntry& entry) const
{
    const int index = entry.Kind == ContentsKind::Topic ? 1 : entry.Expanded ? 0 : 2;
    const QIcon* const icons[] = {&listIcons_.openBook, &listIcons_.questionPage, &listIcons_.closedBook};
    item->setIcon(0, *icons[index]);
    item->setData(0, IconRole, index);
}

void ContentsDialog::addItems(QTreeWidgetItem* parent, const std::vector<ContentsEntry>& entries)
{
    for (const ContentsEntry& e : entries) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contentsTree);
        item->setText(0, e.Text);
        setIcon(item, e);
        addItems(item, e.Children);
        item->setExpanded(e.Expanded);
    }
}

void ContentsDialog::redraw(const ContentsPath& select)
{
    // The selected entry is shown: the entries above it open.
    for (size_t k = 1; k < select.size(); ++k) {
        if (ContentsEntry* above = contentsAt(tree_, ContentsPath(select.begin(), select.begin() + qsizetype(k)))) {
            above->Expanded = true;
            above->Kind = ContentsKind::Heading;
        }
    }
    guard_ = true;
    contentsTree->clear();
    addItems(nullptr, tree_);
    contentsTree->setCurrentItem(itemAt(select));
    guard_ = false;
    if (QTreeWidgetItem* item = contentsTree->currentItem())
        contentsTree->scrollToItem(item);
    loadEntryFields();
}

QTreeWidgetItem* ContentsDialog::itemAt(const ContentsPath& path) const
{
    QTreeWidgetItem* item = nullptr;
    for (int i : path) {
        item = item ? item->child(i) : contentsTree->topLevelItem(i);
        if (!item)
            return nullptr;
    }
    return item;
}

ContentsPath ContentsDialog::pathOf(const QTreeWidgetItem* item)
{
    ContentsPath path;
    for (; item; item = item->parent())
        path.insert(path.begin(), item->parent() ? item->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(item))
                                                 : item->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)));
    return path;
}

ContentsEntry* ContentsDialog::selectedEntry()
{
    QTreeWidgetItem* item = contentsTree->currentItem();
    return item ? contentsAt(tree_, pathOf(item)) : nullptr;
}

void ContentsDialog::loadEntryFields()
{
    const ContentsEntry* entry = selectedEntry();
    if (tree_.empty()) {
        titleEdit->clear();
        topicIdEdit->clear();
        helpFileEdit->clear();
        for (QWidget* w : {static_cast<QWidget*>(titleEdit), static_cast<QWidget*>(topicIdEdit), static_cast<QWidget*>(helpFileEdit),
                           static_cast<QWidget*>(windowCombo)})
            w->setEnabled(false);
        return;
    }
    if (!entry)
        return;
    titleEdit->setEnabled(true);
    if (entry->Kind == ContentsKind::Heading) {
        titleEdit->setText(entry->Text);
        topicIdEdit->clear();
        helpFileEdit->clear();
        windowCombo->setEditText(QString());
        topicIdEdit->setEnabled(false);
        helpFileEdit->setEnabled(false);
        windowCombo->setEnabled(false);
        return;
    }
    topicIdEdit->setEnabled(true);
    helpFileEdit->setEnabled(true);
    const ContentsEntryParts parts = splitContentsText(entry->Text);
    titleEdit->setText(parts.Title);
    topicIdEdit->setText(parts.TopicId); // enables the Window box when not empty
    helpFileEdit->setText(parts.HelpFile);
    if (!entry->Text.contains(QLatin1Char('='))) {
        windowCombo->setEditText(windowCombo->itemText(0));
        windowCombo->setEnabled(false);
    } else {
        windowCombo->setEditText(parts.Window);
    }
}

bool ContentsDialog::updateEntry(Trigger trigger, QTreeWidgetItem* item)
{
    if (!item)
        item = contentsTree->currentItem();
    ContentsEntry* entry = item ? contentsAt(tree_, pathOf(item)) : nullptr;
    if (!entry)
        return true;
    QString text;
    if (trigger == Trigger::TitleLeft && entry->Kind == ContentsKind::Heading) {
        text = titleEdit->text();
    } else {
        bool withWindow = true;
        if (trigger == Trigger::TopicIdLeft || trigger == Trigger::EnterKey)
            withWindow = windowCombo->isEnabled();
        else if (trigger == Trigger::SelectionMove)
            withWindow = !windowCombo->currentText().isEmpty();
        text = composeContentsText(
            ContentsEntryParts{titleEdit->text(), topicIdEdit->text(), helpFileEdit->text(), windowCombo->currentText()}, withWindow);
    }
    // Text the file could not give back as typed is refused; the entry keeps
    // what it had.
    if (const auto refusal = ContentsFile::entryTextRefusal(text)) {
        if (refusing_)
            return false;
        const QScopedValueRollback refusing(refusing_, true);
        prompter_.message(this, *refusal + QStringLiteral(": '") + text + QStringLiteral("'"), windowTitle(),
                          Prompter::Buttons::Ok, Prompter::Icon::Warning);
        if (item == contentsTree->currentItem())
            loadEntryFields();
        return false;
    }
    entry->Text = text;
    item->setText(0, entry->Text);
    return true;
}

void ContentsDialog::currentChanged(QTreeWidgetItem*, QTreeWidgetItem* previous)
{
    if (guard_)
        return;
    if (entered_ && previous) {
        // The boxes still show the entry being left: it gets them first.
        updateEntry(Trigger::SelectionMove, previous);
        entered_ = false;
    }
    loadEntryFields();
}

void ContentsDialog::expandedChanged(QTreeWidgetItem* item, bool expanded)
{
    if (guard_)
        return;
    ContentsEntry* entry = contentsAt(tree_, pathOf(item));
    if (!entry)
        return;
    entry->Expanded = expanded;
    entry->Kind = ContentsKind::Heading; // what expands is a heading from now on
    setIcon(item, *entry);
    if (item == contentsTree->currentItem() && !entered_)
        loadEntryFields();
}

bool ContentsDialog::applyBoxLeft(const QObject* box)
{
    if (box == titleEdit)
        return updateEntry(Trigger::TitleLeft);
    if (box == topicIdEdit)
        return updateEntry(Trigger::TopicIdLeft);
    if (box == helpFileEdit)
        return updateEntry(Trigger::HelpFileLeft);
    if (box == windowCombo)
        return updateEntry(Trigger::ComboExit);
    return true;
}

bool ContentsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        entered_ = true;
        refusedOnTheWayToOk_ = false;
    } else if (event->type() == QEvent::FocusOut
               && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // A click on OK takes the focus from the box first: when the box's
        // text is refused then, that click does not close the dialog.
        const bool toOk = QApplication::focusWidget() == okButton;
        refusedOnTheWayToOk_ = !applyBoxLeft(watched) && toOk;
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Drops ----

void ContentsDialog::onDrop(QObject* source, const QPoint& at)
{
    // Where the drop happened and what was dragged are taken now; the work
    // waits until the drag has ended, so that it may ask with a popup menu
    // and rebuild the tree.
    const ContentsPath target = pathOf(contentsTree->itemAt(at));
    const QPoint menuAt(geometry().left() + at.x() + 4, geometry().top() + at.y() + 12);
    const auto choiceFor = [this, target, menuAt](QMenu* menu) {
        const ContentsEntry* on = contentsAt(tree_, target);
        return on && contentsDropAsks(*on) ? askPlacement(menu, menuAt) : DropChoice::OnThisLevel;
    };
    if (source == paletteTree) {
        const int palette = paletteTree->indexOfTopLevelItem(paletteTree->currentItem());
        QTimer::singleShot(0, this, [this, palette, target, choiceFor] {
            dropPaletteItem(palette, itemAt(target), choiceFor(headingDropMenu));
        });
    } else if (source == topicList) {
        const int topic = topicList->currentRow();
        QTimer::singleShot(0, this, [this, topic, target, choiceFor] {
            dropTopic(topic, itemAt(target), choiceFor(topicDropMenu));
        });
    } else if (source == contentsTree) {
        const ContentsPath dragged = pathOf(contentsTree->currentItem());
        QTimer::singleShot(0, this, [this, dragged, target] { moveEntry(itemAt(dragged), itemAt(target)); });
    }
}

void ContentsDialog::addFromKeyboard(QObject* source)
{
    QTreeWidgetItem* target = contentsTree->currentItem();
    const ContentsEntry* on = target ? contentsAt(tree_, pathOf(target)) : nullptr;
    const QPoint menuAt = target ? contentsTree->viewport()->mapToGlobal(contentsTree->visualItemRect(target).bottomLeft())
                                 : QPoint();
    QMenu* menu = source == paletteTree ? headingDropMenu : topicDropMenu;
    const DropChoice choice = on && contentsDropAsks(*on) ? askPlacement(menu, menuAt) : DropChoice::OnThisLevel;
    if (source == paletteTree)
        dropPaletteItem(paletteTree->indexOfTopLevelItem(paletteTree->currentItem()), target, choice);
    else
        dropTopic(topicList->currentRow(), target, choice);
}

void ContentsDialog::moveCurrentBy(int step)
{
    QTreeWidgetItem* item = contentsTree->currentItem();
    if (!item)
        return;
    const ContentsPath path = pathOf(item);
    QTreeWidgetItem* parent = item->parent();
    const int siblings = parent ? parent->childCount() : contentsTree->topLevelItemCount();
    const int to = path.back() + step;
    if (to < 0 || to >= siblings)
        return;
    ContentsPath other = path;
    other.back() = to;
    // Up: before the one above. Down: the one below comes before this one,
    // which then stays selected in its new place.
    if (step < 0) {
        moveEntry(item, itemAt(other));
    } else {
        moveEntry(itemAt(other), item);
        contentsTree->setCurrentItem(itemAt(other));
    }
}

void ContentsDialog::changeCurrentLevel(int step)
{
    QTreeWidgetItem* item = contentsTree->currentItem();
    if (!item)
        return;
    if (entered_) {
        updateEntry(Trigger::SelectionMove);
        entered_ = false;
    }
    if (const auto to = changeContentsLevel(tree_, pathOf(item), step))
        redraw(*to);
}

bool ContentsDialog::placeNew(ContentsEntry entry, QTreeWidgetItem* target, DropChoice choice)
{
    const ContentsPath on = target ? pathOf(target) : ContentsPath{};
    const ContentsEntry* onEntry = contentsAt(tree_, on);
    ContentsPlacement placement = ContentsPlacement::OnThisLevel;
    if (onEntry && contentsDropAsks(*onEntry)) {
        if (choice == DropChoice::Cancel)
            return false;
        if (choice == DropChoice::AsChild)
            placement = ContentsPlacement::AsChild;
    }
    if (entered_) {
        updateEntry(Trigger::SelectionMove);
        entered_ = false;
    }
    redraw(insertContentsEntry(tree_, on, std::move(entry), placement));
    return true;
}

void ContentsDialog::dropPaletteItem(int paletteItem, QTreeWidgetItem* target, DropChoice choice)
{
    if (paletteItem != PaletteHeading && paletteItem != PaletteTopic)
        return;
    const bool placed = placeNew(
        ContentsEntry{NewEntryText, paletteItem == PaletteHeading ? ContentsKind::Heading : ContentsKind::Topic, {},
                      false},
        target, choice);
    // The new entry's title is there to be typed over.
    if (placed) {
        titleEdit->setFocus(Qt::OtherFocusReason);
        titleEdit->selectAll();
    }
}

void ContentsDialog::dropTopic(int topic, QTreeWidgetItem* target, DropChoice choice)
{
    if (topic < 0 || topic >= project_.TopicCount())
        return;
    const TopicRecord& t = project_.topic(topic);
    const int w = t.WindowIndex;
    const QString window = w > 0 && w < project_.WindowCount() ? project_.window(w).Name.text() : QString();
    placeNew(ContentsEntry{contentsTextForTopic(t.Title.text(), t.TopicID.text(), window.isEmpty() ? 0 : w, window),
                           ContentsKind::Topic, {}, false},
             target, choice);
}

void ContentsDialog::moveEntry(QTreeWidgetItem* dragged, QTreeWidgetItem* target)
{
    if (!dragged || !target)
        return;
    if (entered_) {
        updateEntry(Trigger::SelectionMove);
        entered_ = false;
    }
    if (const auto to = moveContentsEntry(tree_, pathOf(dragged), pathOf(target)))
        redraw(*to);
}

// ---- Commands ----

void ContentsDialog::deleteEntry()
{
    QTreeWidgetItem* item = contentsTree->currentItem();
    const ContentsEntry* entry = item ? contentsAt(tree_, pathOf(item)) : nullptr;
    if (!entry)
        return;
    const bool heading = entry->Kind == ContentsKind::Heading;
    const QString text = heading ? QStringLiteral("You are about to delete the selected heading. All its entries will be "
                                                  "deleted too.\rAre you sure?")
                                 : QStringLiteral("You are about to delete the selected topic from the contents file.\rAre you sure?");
    const QString caption = heading ? QStringLiteral("Delete Heading") : QStringLiteral("Delete Topic");
    if (prompter_.message(this, text, caption, Prompter::Buttons::YesNo, Prompter::Icon::Question)
        != Prompter::Answer::Yes)
        return;
    entered_ = false;
    redraw(removeContentsEntry(tree_, pathOf(item)));
}

void ContentsDialog::searchTopic()
{
    const int t = search_.execute();
    if (t < 0 || t >= topicList->count())
        return;
    topicList->setCurrentRow(t);
    topicList->scrollToItem(topicList->item(t));
    topicList->setFocus();
}

void ContentsDialog::ok()
{
    // The box being edited gives up its text first, as its leaving would.
    // A refused text keeps the dialog open, so that the entry can be mended.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->parentWidget() == windowCombo)
        focus = windowCombo;
    if (!applyBoxLeft(focus) || std::exchange(refusedOnTheWayToOk_, false))
        return;
    entered_ = false;

    // A file that could not be read is replaced only when the user says so.
    const QString path = ContentsFile::pathFor(project_);
    if (unreadFile_
        && prompter_.message(this,
                             QStringLiteral("'%1' could not be read when the contents editor opened.\r"
                                            "Replace it with the contents shown here?")
                                 .arg(path),
                             windowTitle(), Prompter::Buttons::OkCancel, Prompter::Icon::Question)
               != Prompter::Answer::Ok)
        return;

    if (removeTopicsWithoutId(tree_) > 0) {
        redraw({});
        prompter_.message(this, QStringLiteral("Some topics did not have a Topic ID and have been removed."), windowTitle(),
                          Prompter::Buttons::Ok, Prompter::Icon::Information);
    }
    try {
        if (!tree_.empty()) {
            ContentsFile::save(tree_, path);
        } else if (QFile::exists(path) && !QFile::remove(path)) {
            throw IoError(QStringLiteral("Cannot delete the contents file '%1'.").arg(path));
        }
        // What OK wrote holds every change a rename made before.
        project_.PendingContents.reset();
    } catch (const IoError& e) {
        // The dialog stays open with the tree, so nothing is lost.
        prompter_.message(this, e.message(), windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Error);
        return;
    }
    accept();
}

void ContentsDialog::cancel()
{
    if (prompter_.message(this, QStringLiteral("Changes will not be saved.\rAre you sure?"), windowTitle(),
                          Prompter::Buttons::YesNo, Prompter::Icon::Question)
        == Prompter::Answer::Yes)
        QDialog::reject();
}

void ContentsDialog::reject()
{
    cancel();
}

} // namespace ts
