#include "ContentsDialog.h"

#include "Prompter.h"
#include "SearchDialog.h"
#include "WindowPlacer.h"
#include "contents/ContentsFile.h"
#include "model/Project.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
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

    makeControls();
    layOut();

    askPlacement = [](QMenu* menu, const QPoint& at) {
        const QAction* chosen = menu->exec(at);
        return chosen ? DropChoice(chosen->data().toInt()) : DropChoice::Cancel;
    };
    connectControls();
}

void ContentsDialog::makeControls()
{
    contentsTree_ = new ContentsTreeWidget(this);
    // The image list is filled after the dialog is made.
    contentsTree_->iconFor = [this](int index) {
        const QIcon* const icons[] = {&listIcons_.openBook, &listIcons_.questionPage, &listIcons_.closedBook};
        return index >= 0 && index < 3 ? *icons[index] : QIcon();
    };

    paletteTree_ = new QTreeWidget(this);
    paletteTree_->setObjectName(QStringLiteral("paletteTree"));
    paletteTree_->setHeaderHidden(true);
    paletteTree_->setRootIsDecorated(false);
    paletteTree_->setDragEnabled(true);
    paletteTree_->setDragDropMode(QAbstractItemView::DragOnly);
    paletteTree_->setDefaultDropAction(Qt::CopyAction);
    for (const QString& caption : {QStringLiteral("Heading"), QStringLiteral("Topic")})
        new QTreeWidgetItem(paletteTree_, QStringList{caption});
    paletteTree_->setCurrentItem(paletteTree_->topLevelItem(0));
    paletteTree_->setMaximumHeight(64);

    topicList_ = new QListWidget(this);
    topicList_->setObjectName(QStringLiteral("topicList"));
    topicList_->setDragEnabled(true);
    topicList_->setDragDropMode(QAbstractItemView::DragOnly);
    topicList_->setDefaultDropAction(Qt::CopyAction);

    searchButton_ = new QToolButton(this);
    searchButton_->setObjectName(QStringLiteral("searchButton"));
    searchButton_->setText(QStringLiteral("Search..."));
    searchButton_->setToolTip(QStringLiteral("Search topic"));

    form_ = std::make_unique<ContentsEntryForm>(this);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    // Enter in a box updates the entry; it does not close the dialog.
    for (QPushButton* b : {okButton_, cancelButton_}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    headingDropMenu_ = placementMenu(this, "headingDropMenu");
    topicDropMenu_ = placementMenu(this, "topicDropMenu");
    deleteMenu_ = new QMenu(this);
    deleteMenu_->setObjectName(QStringLiteral("deleteMenu"));
    connect(deleteMenu_->addAction(QStringLiteral("&Delete")), &QAction::triggered, this, &ContentsDialog::deleteEntry);
    deleteMenu_->addAction(QStringLiteral("&Cancel"));
}

void ContentsDialog::layOut()
{
    QGridLayout* fields = form_->layout();

    auto* right = new QVBoxLayout;
    right->addWidget(paletteTree_);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Topics:"), this));
    searchRow->addStretch();
    searchRow->addWidget(searchButton_);
    right->addLayout(searchRow);
    right->addWidget(topicList_, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(contentsTree_, 1);
    top->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

void ContentsDialog::connectControls()
{
    for (QWidget* box : form_->boxes())
        box->installEventFilter(this);
    for (QLineEdit* edit : {form_->titleEdit(), form_->topicIdEdit(), form_->helpFileEdit()})
        connect(edit, &QLineEdit::returnPressed, this, [this] { updateEntry(Trigger::EnterKey); });

    connect(contentsTree_, &ContentsTreeWidget::currentEntryChanged, this, &ContentsDialog::currentChanged);
    connect(contentsTree_, &ContentsTreeWidget::entryExpandedChanged, this, &ContentsDialog::expandedChanged);
    connect(contentsTree_, &ContentsTreeWidget::dropped, this, &ContentsDialog::onDrop);
    connect(contentsTree_, &ContentsTreeWidget::deletePressed, this, &ContentsDialog::deleteEntry);
    connect(contentsTree_, &ContentsTreeWidget::moveKeyPressed, this, &ContentsDialog::moveCurrentBy);
    connect(contentsTree_, &ContentsTreeWidget::levelKeyPressed, this, &ContentsDialog::changeCurrentLevel);
    connect(paletteTree_, &QTreeWidget::itemActivated, this, [this] { addFromKeyboard(paletteTree_); });
    connect(topicList_, &QListWidget::itemActivated, this, [this] { addFromKeyboard(topicList_); });
    connect(contentsTree_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { deleteMenu_->popup(contentsTree_->viewport()->mapToGlobal(at)); });
    connect(searchButton_, &QToolButton::clicked, this, &ContentsDialog::searchTopic);
    connect(okButton_, &QPushButton::clicked, this, &ContentsDialog::ok);
    connect(cancelButton_, &QPushButton::clicked, this, &ContentsDialog::cancel);
}

void ContentsDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        reload();
    QDialog::showEvent(event);
    if (!event->spontaneous())
        keepOnScreen(*this);
}

void ContentsDialog::reload()
{
    entered_ = false;
    form_->clearTexts();

    // The image list is filled after the dialog is made.
    paletteTree_->topLevelItem(PaletteHeading)->setIcon(0, listIcons_.closedBook);
    paletteTree_->topLevelItem(PaletteTopic)->setIcon(0, listIcons_.questionPage);
    topicList_->clear();
    for (int i = 0; i < project_.TopicCount(); ++i) {
        const TopicRecord& t = project_.topic(i);
        auto* item = new QListWidgetItem(listIcons_.questionPage, t.TopicID.text() + QStringLiteral(" - ") + t.Title.text());
        topicList_->addItem(item);
    }

    QStringList windows;
    for (int k = 0; k < project_.WindowCount(); ++k)
        windows.append(project_.window(k).Name.text());
    form_->setWindowNames(windows);

    tree_.clear();
    unreadFile_ = false;
    readContentsFile();
    redraw({});
    form_->titleEdit()->setEnabled(!tree_.empty());
}

void ContentsDialog::readContentsFile()
{
    // A rename since the last Save has rewritten the contents in memory; they
    // are shown as they will be saved.
    if (!ContentsFile::existsFor(project_))
        return;
    const QString path = ContentsFile::pathFor(project_);
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
        prompter_.message(this, e.message() + QStringLiteral("\rThe file is left as it is unless you confirm on OK."),
                          windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Error);
    }
}

void ContentsDialog::redraw(const ContentsPath& select)
{
    contentsTree_->draw(tree_, select);
    loadEntryFields();
}

ContentsEntry* ContentsDialog::selectedEntry()
{
    QTreeWidgetItem* item = contentsTree_->currentItem();
    return item ? contentsAt(tree_, pathOf(item)) : nullptr;
}

void ContentsDialog::loadEntryFields()
{
    form_->show(selectedEntry(), tree_.empty());
}

bool ContentsDialog::updateEntry(Trigger trigger, QTreeWidgetItem* item)
{
    if (!item)
        item = contentsTree_->currentItem();
    ContentsEntry* entry = item ? contentsAt(tree_, pathOf(item)) : nullptr;
    if (!entry)
        return true;
    const QString text = form_->composedText(trigger, entry->Kind);
    // Text the file could not give back as typed is refused; the entry keeps
    // what it had.
    if (const auto refusal = ContentsFile::entryTextRefusal(text)) {
        if (refusing_)
            return false;
        const QScopedValueRollback refusing(refusing_, true);
        prompter_.message(this, *refusal + QStringLiteral(": '") + text + QStringLiteral("'"), windowTitle(),
                          Prompter::Buttons::Ok, Prompter::Icon::Warning);
        if (item == contentsTree_->currentItem())
            loadEntryFields();
        return false;
    }
    entry->Text = text;
    item->setText(0, entry->Text);
    return true;
}

void ContentsDialog::applyBoxesBeforeLeaving()
{
    if (entered_) {
        updateEntry(Trigger::SelectionMove);
        entered_ = false;
    }
}

void ContentsDialog::currentChanged(QTreeWidgetItem*, QTreeWidgetItem* previous)
{
    if (entered_ && previous) {
        // The boxes still show the entry being left: it gets them first.
        updateEntry(Trigger::SelectionMove, previous);
        entered_ = false;
    }
    loadEntryFields();
}

void ContentsDialog::expandedChanged(QTreeWidgetItem* item, bool expanded)
{
    ContentsEntry* entry = contentsAt(tree_, pathOf(item));
    if (!entry)
        return;
    entry->Expanded = expanded;
    entry->Kind = ContentsKind::Heading; // what expands is a heading from now on
    contentsTree_->setIcon(item, *entry);
    if (item == contentsTree_->currentItem() && !entered_)
        loadEntryFields();
}

bool ContentsDialog::applyBoxLeft(const QObject* box)
{
    const std::optional<Trigger> trigger = form_->leaving(box);
    return trigger ? updateEntry(*trigger) : true;
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
        const bool toOk = QApplication::focusWidget() == okButton_;
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
    const ContentsPath target = pathOf(contentsTree_->itemAt(at));
    const QPoint menuAt(geometry().left() + at.x() + 4, geometry().top() + at.y() + 12);
    const auto choiceFor = [this, target, menuAt](QMenu* menu) {
        const ContentsEntry* on = contentsAt(tree_, target);
        return on && contentsDropAsks(*on) ? askPlacement(menu, menuAt) : DropChoice::OnThisLevel;
    };
    if (source == paletteTree_) {
        const int palette = paletteTree_->indexOfTopLevelItem(paletteTree_->currentItem());
        QTimer::singleShot(0, this, [this, palette, target, choiceFor] {
            dropPaletteItem(palette, itemAt(target), choiceFor(headingDropMenu_));
        });
    } else if (source == topicList_) {
        const int topic = topicList_->currentRow();
        QTimer::singleShot(0, this, [this, topic, target, choiceFor] {
            dropTopic(topic, itemAt(target), choiceFor(topicDropMenu_));
        });
    } else if (source == contentsTree_) {
        const ContentsPath dragged = pathOf(contentsTree_->currentItem());
        QTimer::singleShot(0, this, [this, dragged, target] { moveEntry(itemAt(dragged), itemAt(target)); });
    }
}

void ContentsDialog::addFromKeyboard(QObject* source)
{
    QTreeWidgetItem* target = contentsTree_->currentItem();
    const ContentsEntry* on = target ? contentsAt(tree_, pathOf(target)) : nullptr;
    const QPoint menuAt = target ? contentsTree_->viewport()->mapToGlobal(contentsTree_->visualItemRect(target).bottomLeft())
                                 : QPoint();
    QMenu* menu = source == paletteTree_ ? headingDropMenu_ : topicDropMenu_;
    const DropChoice choice = on && contentsDropAsks(*on) ? askPlacement(menu, menuAt) : DropChoice::OnThisLevel;
    if (source == paletteTree_)
        dropPaletteItem(paletteTree_->indexOfTopLevelItem(paletteTree_->currentItem()), target, choice);
    else
        dropTopic(topicList_->currentRow(), target, choice);
}

void ContentsDialog::moveCurrentBy(int step)
{
    QTreeWidgetItem* item = contentsTree_->currentItem();
    if (!item)
        return;
    const ContentsPath path = pathOf(item);
    QTreeWidgetItem* parent = item->parent();
    const int siblings = parent ? parent->childCount() : contentsTree_->topLevelItemCount();
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
        contentsTree_->setCurrentItem(itemAt(other));
    }
}

void ContentsDialog::changeCurrentLevel(int step)
{
    QTreeWidgetItem* item = contentsTree_->currentItem();
    if (!item)
        return;
    applyBoxesBeforeLeaving();
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
    applyBoxesBeforeLeaving();
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
        form_->titleEdit()->setFocus(Qt::OtherFocusReason);
        form_->titleEdit()->selectAll();
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
    applyBoxesBeforeLeaving();
    if (const auto to = moveContentsEntry(tree_, pathOf(dragged), pathOf(target)))
        redraw(*to);
}

// ---- Commands ----

void ContentsDialog::deleteEntry()
{
    QTreeWidgetItem* item = contentsTree_->currentItem();
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
    if (t < 0 || t >= topicList_->count())
        return;
    topicList_->setCurrentRow(t);
    topicList_->scrollToItem(topicList_->item(t));
    topicList_->setFocus();
}

void ContentsDialog::ok()
{
    // The box being edited gives up its text first, as its leaving would.
    // A refused text keeps the dialog open, so that the entry can be mended.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->parentWidget() == form_->windowCombo())
        focus = form_->windowCombo();
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
    // While a rename's contents wait for the project's Save, the file on disk
    // still goes with the project file as saved: the edited entries join the
    // waiting ones (none at all when every entry was deleted), so that Save
    // writes them and discarding the project's changes leaves the file as it
    // was.
    if (project_.PendingContents) {
        project_.PendingContents = ContentsFile::serialize(tree_);
        accept();
        return;
    }
    try {
        if (!tree_.empty()) {
            ContentsFile::save(tree_, path);
        } else if (QFile::exists(path) && !QFile::remove(path)) {
            throw IoError(QStringLiteral("Cannot delete the contents file '%1'.").arg(path));
        }
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
