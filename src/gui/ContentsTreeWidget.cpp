#include "ContentsTreeWidget.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>

namespace ts {

ContentsTreeWidget::ContentsTreeWidget(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("contentsTree"));
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setMinimumSize(260, 300);

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
        if (!drawing_)
            emit currentEntryChanged(current, previous);
    });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!drawing_)
            emit entryExpandedChanged(item, true);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (!drawing_)
            emit entryExpandedChanged(item, false);
    });
}

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

void ContentsTreeWidget::setIcon(QTreeWidgetItem* item, const ContentsEntry& entry) const
{
    const int index = entry.Kind == ContentsKind::Topic ? 1 : entry.Expanded ? 0 : 2;
    item->setIcon(0, iconFor ? iconFor(index) : QIcon());
    item->setData(0, IconRole, index);
}

void ContentsTreeWidget::addItems(QTreeWidgetItem* parent, const std::vector<ContentsEntry>& entries)
{
    for (const ContentsEntry& e : entries) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, e.Text);
        setIcon(item, e);
        addItems(item, e.Children);
        item->setExpanded(e.Expanded);
    }
}

void ContentsTreeWidget::draw(ContentsTree& tree, const ContentsPath& select)
{
    // The selected entry is shown: the entries above it open.
    for (size_t k = 1; k < select.size(); ++k) {
        if (ContentsEntry* above = contentsAt(tree, ContentsPath(select.begin(), select.begin() + qsizetype(k)))) {
            above->Expanded = true;
            above->Kind = ContentsKind::Heading;
        }
    }
    drawing_ = true;
    clear();
    addItems(nullptr, tree);
    setCurrentItem(itemFor(select));
    drawing_ = false;
    if (QTreeWidgetItem* item = currentItem())
        scrollToItem(item);
}

QTreeWidgetItem* ContentsTreeWidget::itemFor(const ContentsPath& path) const
{
    QTreeWidgetItem* item = nullptr;
    for (int i : path) {
        item = item ? item->child(i) : topLevelItem(i);
        if (!item)
            return nullptr;
    }
    return item;
}

ContentsPath ContentsTreeWidget::pathOf(const QTreeWidgetItem* item)
{
    ContentsPath path;
    for (; item; item = item->parent())
        path.insert(path.begin(), item->parent() ? item->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(item))
                                                 : item->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)));
    return path;
}

} // namespace ts
