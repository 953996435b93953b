#pragma once
// ContentsTreeWidget: the contents editor's tree (contentsTree). It draws a
// ContentsTree, one item per entry, and finds items by their path; the tree
// itself belongs to the dialog, which changes it through the core edits and
// has it drawn again.
//
// It takes any drag and reports the drop with the widget it came from and the
// point in the viewport; Del deletes, Ctrl+Up and Ctrl+Down move the current
// entry, Ctrl+Left and Ctrl+Right change its level. While it draws, the
// selection, expand and collapse changes it makes are not reported.

#include "contents/ContentsEditing.h"

#include <QIcon>
#include <QTreeWidget>

#include <functional>

namespace ts {

class ContentsTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit ContentsTreeWidget(QWidget* parent = nullptr);
    using QTreeWidget::itemFromIndex;

    // An item's data in this role is the index of its icon: 0 expanded
    // heading, 1 topic entry, 2 collapsed heading.
    static constexpr int IconRole = Qt::UserRole + 1;
    // Gives the icon of an index of IconRole; asked at every drawing.
    std::function<QIcon(int index)> iconFor;

    // Draws `tree` anew and makes the entry at `select` current, opening the
    // headings above it (in the tree too).
    void draw(ContentsTree& tree, const ContentsPath& select);
    // Sets the icon that `entry`, shown by `item`, has now.
    void setIcon(QTreeWidgetItem* item, const ContentsEntry& entry) const;

    // The item that shows the entry at `path`, or nullptr.
    QTreeWidgetItem* itemFor(const ContentsPath& path) const;
    // The path of an item of the tree.
    static ContentsPath pathOf(const QTreeWidgetItem* item);

signals:
    void dropped(QObject* source, const QPoint& at);
    void deletePressed();
    // Ctrl+Up (-1) or Ctrl+Down (+1): the current entry moves among its siblings.
    void moveKeyPressed(int step);
    // Ctrl+Left (-1) or Ctrl+Right (+1).
    void levelKeyPressed(int step);
    // The user's changes of the current item and of a heading's state.
    void currentEntryChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void entryExpandedChanged(QTreeWidgetItem* item, bool expanded);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addItems(QTreeWidgetItem* parent, const std::vector<ContentsEntry>& entries);

    // Set while draw() changes the items.
    bool drawing_ = false;
};

} // namespace ts
