#pragma once
// ContentsDialog "Contents Editor": builds the table of contents of the help
// file. The tree is read from the project's contents file at every opening
// and written back (or the file deleted, when the tree is empty) only by OK.
//
// The dialog keeps the tree as a ContentsTree and shows it in contentsTree;
// every change to the structure goes through the core edits and redraws the
// tree with the changed entry selected. Entries are dragged into contentsTree
// from the palette paletteTree, from the topic list topicList and from
// contentsTree itself; a drop runs dropPaletteItem, dropTopic or moveEntry,
// which tests may also call directly. Without a mouse, Enter on a palette
// item or a topic adds it at the current entry, and Ctrl+Up/Ctrl+Down move
// the current entry.

#include "ListIcons.h"
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
class SearchDialog;

// contentsTree: takes any drag and reports the drop with the widget it came
// from and the point in the viewport; Del deletes, Ctrl+Up and Ctrl+Down
// move the current entry.
class ContentsTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;
    using QTreeWidget::itemFromIndex;

signals:
    void dropped(QObject* source, const QPoint& at);
    void deletePressed();
    // Ctrl+Up (-1) or Ctrl+Down (+1): the current entry moves among its siblings.
    void moveKeyPressed(int step);
    // Ctrl+Left (-1) or Ctrl+Right (+1).
    void levelKeyPressed(int step);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

class ContentsDialog : public QDialog {
    Q_OBJECT

public:
    // `listIcons` are the main window's; they must outlive the dialog.
    ContentsDialog(Project& project, Prompter& prompter, SearchDialog& search, const ListIcons& listIcons,
                  QWidget* parent = nullptr);

    // The choice of headingDropMenu / topicDropMenu for a drop on a heading.
    enum class DropChoice { AsChild, OnThisLevel, Cancel };
    // Palette items of paletteTree.
    enum PaletteItem { PaletteHeading = 0, PaletteTopic = 1 };

    // The tree being edited, as it stands.
    const ContentsTree& tree() const { return tree_; }
    // An item's data in this role is the index of its icon in the image list.
    static constexpr int IconRole = Qt::UserRole + 1;

    // The item of contentsTree that shows the entry at `path`, or nullptr.
    QTreeWidgetItem* itemAt(const ContentsPath& path) const;
    // The path of an item of contentsTree.
    static ContentsPath pathOf(const QTreeWidgetItem* item);

    // The three drops. `target` is the contentsTree item under the drop, or
    // nullptr; `choice` is what the user picked from the popup menu when the
    // target is a heading (ignored otherwise).
    void dropPaletteItem(int paletteItem, QTreeWidgetItem* target, DropChoice choice = DropChoice::OnThisLevel);
    void dropTopic(int topic, QTreeWidgetItem* target, DropChoice choice = DropChoice::OnThisLevel);
    void moveEntry(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

    // Asks headingDropMenu or topicDropMenu at a global point; tests may replace it.
    std::function<DropChoice(QMenu* menu, const QPoint& globalPos)> askPlacement;

    ContentsTreeWidget* contentsTree = nullptr;
    QTreeWidget* paletteTree = nullptr;
    QListWidget* topicList = nullptr;
    QToolButton* searchButton = nullptr;
    QLineEdit *titleEdit = nullptr, *topicIdEdit = nullptr, *helpFileEdit = nullptr;
    QComboBox* windowCombo = nullptr;
    QPushButton *okButton = nullptr, *cancelButton = nullptr;
    QMenu *headingDropMenu = nullptr, *topicDropMenu = nullptr, *deleteMenu = nullptr;

public slots:
    // Reads the contents file and fills the lists; run by every opening.
    void reload();
    void ok(); // OK
    void cancel(); // Cancel
    void deleteEntry();
    void searchTopic();
    void reject() override; // Escape: Cancel

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Trigger { TitleLeft, TopicIdLeft, EnterKey, HelpFileLeft, ComboExit, SelectionMove };

    // Redraws contentsTree from the tree and selects the entry at `select`.
    void redraw(const ContentsPath& select);
    void addItems(QTreeWidgetItem* parent, const std::vector<ContentsEntry>& entries);
    void setIcon(QTreeWidgetItem* item, const ContentsEntry& entry) const;
    ContentsEntry* selectedEntry();
    void loadEntryFields();
    // Composes the text of `item` (the selected entry when null) from the boxes.
    // False when the text was refused (the entry keeps what it had).
    bool updateEntry(Trigger trigger, QTreeWidgetItem* item = nullptr);
    // The update that leaving `box` makes (nothing for another widget); false
    // when its text was refused.
    bool applyBoxLeft(const QObject* box);
    void currentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void expandedChanged(QTreeWidgetItem* item, bool expanded);
    void onDrop(QObject* source, const QPoint& at);
    // False when the user cancelled the placement.
    bool placeNew(ContentsEntry entry, QTreeWidgetItem* target, DropChoice choice);
    // Enter or a double-click on a palette item or a topic: placed as if
    // dropped on the current entry, asking where when that is a heading.
    void addFromKeyboard(QObject* source);
    void moveCurrentBy(int step);
    // Into the heading above (+1) or out of its heading (-1).
    void changeCurrentLevel(int step);

    Project& project_;
    Prompter& prompter_;
    SearchDialog& search_;
    const ListIcons& listIcons_;
    ContentsTree tree_;
    bool entered_ = false;
    // Set while the dialog changes contentsTree itself: selection, expand and
    // collapse signals are not the user's.
    bool guard_ = false;
    // A refusal message is up: the focus it takes does not apply the boxes again.
    bool refusing_ = false;
    // The box left for the OK button had its text refused.
    bool refusedOnTheWayToOk_ = false;
    // The contents file existed but could not be read.
    bool unreadFile_ = false;
};

} // namespace ts
