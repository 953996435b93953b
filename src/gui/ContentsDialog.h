#pragma once
// TContentsForm "Contents Editor": builds the table of contents of the help
// file. The tree is read from the project's contents file at every opening
// and written back (or the file deleted, when the tree is empty) only by OK.
//
// The dialog keeps the tree as a ContentsTree and shows it in TreeView1;
// every change to the structure goes through the core edits and redraws the
// tree with the changed entry selected. Entries are dragged into TreeView1
// from the palette TreeView2, from the topic list ListView1 and from
// TreeView1 itself; a drop runs DropPaletteItem, DropTopic or MoveEntry,
// which tests may also call directly.

#include "contents/ContentsEditing.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QTreeWidget>

#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QToolButton;

namespace ts {

class Project;
class Prompter;
class TSearchForm;

// TreeView1: takes any drag and reports the drop with the widget it came
// from and the point in the viewport; Del deletes.
class TContentsTree : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;
    using QTreeWidget::itemFromIndex;

signals:
    void dropped(QObject* source, const QPoint& at);
    void deletePressed();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

class TContentsForm : public QDialog {
    Q_OBJECT

public:
    // `imageList` is the main window's image list: 0 expanded heading,
    // 1 topic entry, 2 collapsed heading.
    TContentsForm(const Project& project, Prompter& prompter, TSearchForm& search, const QList<QIcon>& imageList,
                  QWidget* parent = nullptr);

    // The choice of PopupMenu1 / PopupMenu2 for a drop on a heading.
    enum class DropChoice { AsChild, OnThisLevel, Cancel };
    // Palette items of TreeView2.
    enum PaletteItem { PaletteHeading = 0, PaletteTopic = 1 };

    // The tree being edited, as it stands.
    const ContentsTree& tree() const { return tree_; }
    // An item's data in this role is the index of its icon in the image list.
    static constexpr int IconRole = Qt::UserRole + 1;

    // The item of TreeView1 that shows the entry at `path`, or nullptr.
    QTreeWidgetItem* itemAt(const ContentsPath& path) const;
    // The path of an item of TreeView1.
    static ContentsPath pathOf(const QTreeWidgetItem* item);

    // The three drops. `target` is the TreeView1 item under the drop, or
    // nullptr; `choice` is what the user picked from the popup menu when the
    // target is a heading (ignored otherwise).
    void DropPaletteItem(int paletteItem, QTreeWidgetItem* target, DropChoice choice = DropChoice::OnThisLevel);
    void DropTopic(int topic, QTreeWidgetItem* target, DropChoice choice = DropChoice::OnThisLevel);
    void MoveEntry(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

    // Asks PopupMenu1 or PopupMenu2 at a global point; tests may replace it.
    std::function<DropChoice(QMenu* menu, const QPoint& globalPos)> AskPlacement;

    TContentsTree* TreeView1 = nullptr;
    QTreeWidget* TreeView2 = nullptr;
    QListWidget* ListView1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;
    QMenu *PopupMenu1 = nullptr, *PopupMenu2 = nullptr, *PopupMenu3 = nullptr;

public slots:
    // Reads the contents file and fills the lists; run by every opening.
    void Show();
    void Button1Click(); // OK
    void Button2Click(); // Cancel
    void Delete1Click();
    void SpeedButton1Click();
    void reject() override; // Escape: Cancel

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Trigger { Edit1Exit, Edit2Exit, EnterKey, Edit3Exit, ComboExit, SelectionMove };

    // Redraws TreeView1 from the tree and selects the entry at `select`.
    void redraw(const ContentsPath& select);
    void addItems(QTreeWidgetItem* parent, const std::vector<ContentsEntry>& entries);
    void setIcon(QTreeWidgetItem* item, const ContentsEntry& entry) const;
    ContentsEntry* selectedEntry();
    void LoadFields();
    // Composes the text of `item` (the selected entry when null) from the boxes.
    void UpdateEntry(Trigger trigger, QTreeWidgetItem* item = nullptr);
    void currentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void expandedChanged(QTreeWidgetItem* item, bool expanded);
    void onDrop(QObject* source, const QPoint& at);
    void placeNew(ContentsEntry entry, QTreeWidgetItem* target, DropChoice choice);

    const Project& project_;
    Prompter& prompter_;
    TSearchForm& search_;
    const QList<QIcon>& imageList_;
    ContentsTree tree_;
    bool entered_ = false;
    // Set while the dialog changes TreeView1 itself: selection, expand and
    // collapse signals are not the user's.
    bool guard_ = false;
};

} // namespace ts
