#include "ContentsDialog.h"

#include "Prompter.h"
#include "SearchDialog.h"
#include "contents/ContentsFile.h"
#include "model/Project.h"

#include <QApplication>
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

namespace ts {

namespace {

const QString NewEntryText = QStringLiteral("Type in the title");

QMenu* placementMenu(QWidget* parent, const char* name, const QString& levelCaption)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QLatin1String(name));
    menu->addAction(QStringLiteral("As &Child"))->setData(int(TContentsForm::DropChoice::AsChild));
    menu->addAction(levelCaption)->setData(int(TContentsForm::DropChoice::OnThisLevel));
    menu->addAction(QStringLiteral("&Cancel"))->setData(int(TContentsForm::DropChoice::Cancel));
    return menu;
}

} // namespace

// ---- TContentsTree ----

void TContentsTree::dragEnterEvent(QDragEnterEvent* event)
{
    event->acceptProposedAction();
}

void TContentsTree::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidget::dragMoveEvent(event); // scrolls near the edges
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TContentsTree::dropEvent(QDropEvent* event)
{
    // Copy, never move: the source views keep their items; the dialog
    // changes the tree itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped(event->source(), event->position().toPoint());
}

void TContentsTree::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit deletePressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

// ---- TContentsForm ----

TContentsForm::TContentsForm(const Project& project, Prompter& prompter, TSearchForm& search,
                             const QList<QIcon>& imageList, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), project_(project),
      prompter_(prompter), search_(search), imageList_(imageList)
{
    setObjectName(QStringLiteral("TContentsForm"));
    setWindowTitle(QStringLiteral("Contents Editor"));
    setProperty("helpContext", 130);
    setModal(true);

    TreeView1 = new TContentsTree(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setExpandsOnDoubleClick(true);
    TreeView1->setDragEnabled(true);
    TreeView1->setAcceptDrops(true);
    TreeView1->setDragDropMode(QAbstractItemView::DragDrop);
    TreeView1->setDefaultDropAction(Qt::CopyAction);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    TreeView1->setMinimumSize(260, 300);

    TreeView2 = new QTreeWidget(this);
    TreeView2->setObjectName(QStringLiteral("TreeView2"));
    TreeView2->setHeaderHidden(true);
    TreeView2->setRootIsDecorated(false);
    TreeView2->setDragEnabled(true);
    TreeView2->setDragDropMode(QAbstractItemView::DragOnly);
    TreeView2->setDefaultDropAction(Qt::CopyAction);
    for (const QString& caption : {QStringLiteral("Heading"), QStringLiteral("Topic")})
        new QTreeWidgetItem(TreeView2, QStringList{caption});
    TreeView2->setCurrentItem(TreeView2->topLevelItem(0));
    TreeView2->setMaximumHeight(64);

    ListView1 = new QListWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setDragEnabled(true);
    ListView1->setDragDropMode(QAbstractItemView::DragOnly);
    ListView1->setDefaultDropAction(Qt::CopyAction);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Search..."));
    SpeedButton1->setToolTip(QStringLiteral("Search topic"));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    // Enter in a box updates the entry; it does not close the dialog.
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    PopupMenu1 = placementMenu(this, "PopupMenu1", QStringLiteral("On This &Level"));
    PopupMenu2 = placementMenu(this, "PopupMenu2", QStringLiteral("OnThis &Level"));
    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    QAction* delete1 = PopupMenu3->addAction(QStringLiteral("&Delete"));
    PopupMenu3->addAction(QStringLiteral("&Cancel"));

    auto* fields = new QGridLayout;
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    fields->addWidget(label(QStringLiteral("&Title:"), Edit1), 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(label(QStringLiteral("Topic &ID:"), Edit2), 1, 0);
    fields->addWidget(Edit2, 1, 1);
    fields->addWidget(label(QStringLiteral("&Help File"), Edit3), 2, 0);
    fields->addWidget(Edit3, 2, 1);
    fields->addWidget(label(QStringLiteral("&Window"), ComboBox1), 3, 0);
    fields->addWidget(ComboBox1, 3, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(TreeView2);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Topics:"), this));
    searchRow->addStretch();
    searchRow->addWidget(SpeedButton1);
    right->addLayout(searchRow);
    right->addWidget(ListView1, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(TreeView1, 1);
    top->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    AskPlacement = [](QMenu* menu, const QPoint& at) {
        const QAction* chosen = menu->exec(at);
        return chosen ? DropChoice(chosen->data().toInt()) : DropChoice::Cancel;
    };

    for (QWidget* box : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Edit3),
                         static_cast<QWidget*>(ComboBox1)})
        box->installEventFilter(this);

    connect(Edit2, &QLineEdit::textChanged, this, [this](const QString& text) { ComboBox1->setEnabled(!text.isEmpty()); });
    for (QLineEdit* edit : {Edit1, Edit2, Edit3})
        connect(edit, &QLineEdit::returnPressed, this, [this] { UpdateEntry(Trigger::EnterKey); });
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, &TContentsForm::currentChanged);
    connect(TreeView1, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* i) { expandedChanged(i, true); });
    connect(TreeView1, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* i) { expandedChanged(i, false); });
    connect(TreeView1, &TContentsTree::dropped, this, &TContentsForm::onDrop);
    connect(TreeView1, &TContentsTree::deletePressed, this, &TContentsForm::Delete1Click);
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu3->popup(TreeView1->viewport()->mapToGlobal(at)); });
    connect(delete1, &QAction::triggered, this, &TContentsForm::Delete1Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TContentsForm::SpeedButton1Click);
    connect(Button1, &QPushButton::clicked, this, &TContentsForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TContentsForm::Button2Click);
}

void TContentsForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        Show();
    QDialog::showEvent(event);
}

void TContentsForm::Show()
{
    entered_ = false;
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();

    // The image list is filled after the dialog is made.
    TreeView2->topLevelItem(PaletteHeading)->setIcon(0, imageList_.value(2));
    TreeView2->topLevelItem(PaletteTopic)->setIcon(0, imageList_.value(1));
    ListView1->clear();
    for (int i = 0; i < project_.TopicCount(); ++i) {
        const TTopicRecord& t = project_.Topic(i);
        auto* item = new QListWidgetItem(imageList_.value(1), t.TopicID.text() + QStringLiteral(" - ") + t.Title.text());
        ListView1->addItem(item);
    }

    ComboBox1->clear();
    for (int k = 0; k < project_.WindowCount(); ++k)
        ComboBox1->addItem(project_.Window(k).Name.text());

    tree_.clear();
    const QString path = ContentsFile::pathFor(project_);
    if (QFile::exists(path)) {
        try {
            tree_ = ContentsFile::load(path);
        } catch (const ContentsLevelError& e) {
            tree_ = e.entriesRead();
            prompter_.message(this, ContentsLevelError::text(), windowTitle(), Prompter::Buttons::Ok,
                              Prompter::Icon::Error);
        } catch (const IoError& e) {
            prompter_.message(this, e.message(), windowTitle(), Prompter::Buttons::Ok, Prompter::Icon::Error);
        }
    }
    redraw({});
    Edit1->setEnabled(!tree_.empty());
}

void TContentsForm::setIcon(QTreeWidgetItem* item, const ContentsEntry& entry) const
{
    const int index = entry.Kind == ContentsKind::Topic ? 1 : entry.Expanded ? 0 : 2;
    item->setIcon(0, imageList_.value(index));
    item->setData(0, IconRole, index);
}

void TContentsForm::addItems(QTreeWidgetItem* parent, const std::vector<ContentsEntry>& entries)
{
    for (const ContentsEntry& e : entries) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView1);
        item->setText(0, e.Text);
        setIcon(item, e);
        addItems(item, e.Children);
        item->setExpanded(e.Expanded);
    }
}

void TContentsForm::redraw(const ContentsPath& select)
{
    // The selected entry is shown: the entries above it open.
    for (size_t k = 1; k < select.size(); ++k) {
        if (ContentsEntry* above = ContentsAt(tree_, ContentsPath(select.begin(), select.begin() + qsizetype(k)))) {
            above->Expanded = true;
            above->Kind = ContentsKind::Heading;
        }
    }
    guard_ = true;
    TreeView1->clear();
    addItems(nullptr, tree_);
    TreeView1->setCurrentItem(itemAt(select));
    guard_ = false;
    if (QTreeWidgetItem* item = TreeView1->currentItem())
        TreeView1->scrollToItem(item);
    LoadFields();
}

QTreeWidgetItem* TContentsForm::itemAt(const ContentsPath& path) const
{
    QTreeWidgetItem* item = nullptr;
    for (int i : path) {
        item = item ? item->child(i) : TreeView1->topLevelItem(i);
        if (!item)
            return nullptr;
    }
    return item;
}

ContentsPath TContentsForm::pathOf(const QTreeWidgetItem* item)
{
    ContentsPath path;
    for (; item; item = item->parent())
        path.insert(path.begin(), item->parent() ? item->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(item))
                                                 : item->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)));
    return path;
}

ContentsEntry* TContentsForm::selectedEntry()
{
    QTreeWidgetItem* item = TreeView1->currentItem();
    return item ? ContentsAt(tree_, pathOf(item)) : nullptr;
}

void TContentsForm::LoadFields()
{
    const ContentsEntry* entry = selectedEntry();
    if (tree_.empty()) {
        Edit1->clear();
        Edit2->clear();
        Edit3->clear();
        for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Edit3),
                           static_cast<QWidget*>(ComboBox1)})
            w->setEnabled(false);
        return;
    }
    if (!entry)
        return;
    Edit1->setEnabled(true);
    if (entry->Kind == ContentsKind::Heading) {
        Edit1->setText(entry->Text);
        Edit2->clear();
        Edit3->clear();
        ComboBox1->setEditText(QString());
        Edit2->setEnabled(false);
        Edit3->setEnabled(false);
        ComboBox1->setEnabled(false);
        return;
    }
    Edit2->setEnabled(true);
    Edit3->setEnabled(true);
    const ContentsEntryParts parts = SplitContentsText(entry->Text);
    Edit1->setText(parts.Title);
    Edit2->setText(parts.TopicId); // enables the Window box when not empty
    Edit3->setText(parts.HelpFile);
    if (!entry->Text.contains(QLatin1Char('='))) {
        ComboBox1->setEditText(ComboBox1->itemText(0));
        ComboBox1->setEnabled(false);
    } else {
        ComboBox1->setEditText(parts.Window);
    }
}

void TContentsForm::UpdateEntry(Trigger trigger, QTreeWidgetItem* item)
{
    if (!item)
        item = TreeView1->currentItem();
    ContentsEntry* entry = item ? ContentsAt(tree_, pathOf(item)) : nullptr;
    if (!entry)
        return;
    if (trigger == Trigger::Edit1Exit && entry->Kind == ContentsKind::Heading) {
        entry->Text = Edit1->text();
    } else {
        bool withWindow = true;
        if (trigger == Trigger::Edit2Exit || trigger == Trigger::EnterKey)
            withWindow = ComboBox1->isEnabled();
        else if (trigger == Trigger::SelectionMove)
            withWindow = !ComboBox1->currentText().isEmpty();
        entry->Text = ComposeContentsText(
            ContentsEntryParts{Edit1->text(), Edit2->text(), Edit3->text(), ComboBox1->currentText()}, withWindow);
    }
    item->setText(0, entry->Text);
}

void TContentsForm::currentChanged(QTreeWidgetItem*, QTreeWidgetItem* previous)
{
    if (guard_)
        return;
    if (entered_ && previous) {
        // The boxes still show the entry being left: it gets them first.
        UpdateEntry(Trigger::SelectionMove, previous);
        entered_ = false;
    }
    LoadFields();
}

void TContentsForm::expandedChanged(QTreeWidgetItem* item, bool expanded)
{
    if (guard_)
        return;
    ContentsEntry* entry = ContentsAt(tree_, pathOf(item));
    if (!entry)
        return;
    entry->Expanded = expanded;
    entry->Kind = ContentsKind::Heading; // what expands is a heading from now on
    setIcon(item, *entry);
    if (item == TreeView1->currentItem() && !entered_)
        LoadFields();
}

bool TContentsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        entered_ = true;
    } else if (event->type() == QEvent::FocusOut
               && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == Edit1)
            UpdateEntry(Trigger::Edit1Exit);
        else if (watched == Edit2)
            UpdateEntry(Trigger::Edit2Exit);
        else if (watched == Edit3)
            UpdateEntry(Trigger::Edit3Exit);
        else if (watched == ComboBox1)
            UpdateEntry(Trigger::ComboExit);
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Drops ----

void TContentsForm::onDrop(QObject* source, const QPoint& at)
{
    // Where the drop happened and what was dragged are taken now; the work
    // waits until the drag has ended, so that it may ask with a popup menu
    // and rebuild the tree.
    const ContentsPath target = pathOf(TreeView1->itemAt(at));
    const QPoint menuAt(geometry().left() + at.x() + 4, geometry().top() + at.y() + 12);
    const auto choiceFor = [this, target, menuAt](QMenu* menu) {
        const ContentsEntry* on = ContentsAt(tree_, target);
        return on && ContentsDropAsks(*on) ? AskPlacement(menu, menuAt) : DropChoice::OnThisLevel;
    };
    if (source == TreeView2) {
        const int palette = TreeView2->indexOfTopLevelItem(TreeView2->currentItem());
        QTimer::singleShot(0, this, [this, palette, target, choiceFor] {
            DropPaletteItem(palette, itemAt(target), choiceFor(PopupMenu1));
        });
    } else if (source == ListView1) {
        const int topic = ListView1->currentRow();
        QTimer::singleShot(0, this, [this, topic, target, choiceFor] {
            DropTopic(topic, itemAt(target), choiceFor(PopupMenu2));
        });
    } else if (source == TreeView1) {
        const ContentsPath dragged = pathOf(TreeView1->currentItem());
        QTimer::singleShot(0, this, [this, dragged, target] { MoveEntry(itemAt(dragged), itemAt(target)); });
    }
}

void TContentsForm::placeNew(ContentsEntry entry, QTreeWidgetItem* target, DropChoice choice)
{
    const ContentsPath on = target ? pathOf(target) : ContentsPath{};
    const ContentsEntry* onEntry = ContentsAt(tree_, on);
    ContentsPlacement placement = ContentsPlacement::OnThisLevel;
    if (onEntry && ContentsDropAsks(*onEntry)) {
        if (choice == DropChoice::Cancel)
            return;
        if (choice == DropChoice::AsChild)
            placement = ContentsPlacement::AsChild;
    }
    if (entered_) {
        UpdateEntry(Trigger::SelectionMove);
        entered_ = false;
    }
    redraw(InsertContentsEntry(tree_, on, std::move(entry), placement));
}

void TContentsForm::DropPaletteItem(int paletteItem, QTreeWidgetItem* target, DropChoice choice)
{
    if (paletteItem != PaletteHeading && paletteItem != PaletteTopic)
        return;
    placeNew(ContentsEntry{NewEntryText, paletteItem == PaletteHeading ? ContentsKind::Heading : ContentsKind::Topic,
                           {}, false},
             target, choice);
}

void TContentsForm::DropTopic(int topic, QTreeWidgetItem* target, DropChoice choice)
{
    if (topic < 0 || topic >= project_.TopicCount())
        return;
    const TTopicRecord& t = project_.Topic(topic);
    const int w = t.WindowIndex;
    const QString window = w > 0 && w < project_.WindowCount() ? project_.Window(w).Name.text() : QString();
    placeNew(ContentsEntry{ContentsTextForTopic(t.Title.text(), t.TopicID.text(), window.isEmpty() ? 0 : w, window),
                           ContentsKind::Topic, {}, false},
             target, choice);
}

void TContentsForm::MoveEntry(QTreeWidgetItem* dragged, QTreeWidgetItem* target)
{
    if (!dragged || !target)
        return;
    if (entered_) {
        UpdateEntry(Trigger::SelectionMove);
        entered_ = false;
    }
    if (const auto to = MoveContentsEntry(tree_, pathOf(dragged), pathOf(target)))
        redraw(*to);
}

// ---- Commands ----

void TContentsForm::Delete1Click()
{
    QTreeWidgetItem* item = TreeView1->currentItem();
    const ContentsEntry* entry = item ? ContentsAt(tree_, pathOf(item)) : nullptr;
    if (!entry)
        return;
    const bool heading = entry->Kind == ContentsKind::Heading;
    const QString text = heading ? QStringLiteral("You are about to delete selected Heading. All subitems will be "
                                                  "deleted also.\rAre You sure?")
                                 : QStringLiteral("You are about to delete selected Topic from contents file.\rAre You sure?");
    const QString caption = heading ? QStringLiteral("Delete Heading") : QStringLiteral("Delete Topic");
    if (prompter_.message(this, text, caption, Prompter::Buttons::YesNo, Prompter::Icon::Question)
        != Prompter::Answer::Yes)
        return;
    entered_ = false;
    redraw(RemoveContentsEntry(tree_, pathOf(item)));
}

void TContentsForm::SpeedButton1Click()
{
    const int t = search_.execute();
    if (t < 0 || t >= ListView1->count())
        return;
    ListView1->setCurrentRow(t);
    ListView1->scrollToItem(ListView1->item(t));
    ListView1->setFocus();
}

void TContentsForm::Button1Click()
{
    // The box being edited gives up its text first, as its leaving would.
    QWidget* focus = QApplication::focusWidget();
    if (focus == Edit1)
        UpdateEntry(Trigger::Edit1Exit);
    else if (focus == Edit2)
        UpdateEntry(Trigger::Edit2Exit);
    else if (focus == Edit3)
        UpdateEntry(Trigger::Edit3Exit);
    else if (focus == ComboBox1 || (focus && focus->parentWidget() == ComboBox1))
        UpdateEntry(Trigger::ComboExit);
    entered_ = false;

    if (RemoveTopicsWithoutId(tree_) > 0) {
        redraw({});
        prompter_.message(this, QStringLiteral("Some topics do not have TopicID and have been removed"), windowTitle(),
                          Prompter::Buttons::Ok, Prompter::Icon::Information);
    }
    const QString path = ContentsFile::pathFor(project_);
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

void TContentsForm::Button2Click()
{
    if (prompter_.message(this, QStringLiteral("Changes will not be saved.\rAre You sure?"), windowTitle(),
                          Prompter::Buttons::YesNo, Prompter::Icon::Question)
        == Prompter::Answer::Yes)
        QDialog::reject();
}

void TContentsForm::reject()
{
    Button2Click();
}

} // namespace ts
