#pragma once
// ContentsDialog "Contents Editor": builds the table of contents of the help
// file. The tree is read from the project's contents (ContentsFile::readFor)
// at every opening and written back (or the file deleted, when the tree is
// empty) only by OK. While a rename's rewritten contents wait for the
// project's Save (Project::PendingContents), OK puts the tree there instead,
// and the file changes with the Save.
//
// The dialog keeps the tree as a ContentsTree and shows it in contentsTree;
// every change to the structure goes through the core edits and redraws the
// tree with the changed entry selected. Entries are dragged into contentsTree
// from the palette paletteTree, from the topic list topicList and from
// contentsTree itself; a drop runs dropPaletteItem, dropTopic or moveEntry,
// which tests may also call directly. Without a mouse, Enter on a palette
// item or a topic adds it at the current entry, and Ctrl+Up/Ctrl+Down move
// the current entry.

#include "ContentsEntryForm.h"
#include "ContentsTreeWidget.h"
#include "ListIcons.h"

#include <QDialog>
#include <QIcon>
#include <QList>

#include <functional>
#include <memory>

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
    static constexpr int IconRole = ContentsTreeWidget::IconRole;

    // The item of contentsTree that shows the entry at `path`, or nullptr.
    QTreeWidgetItem* itemAt(const ContentsPath& path) const { return contentsTree_->itemFor(path); }
    // The path of an item of contentsTree.
    static ContentsPath pathOf(const QTreeWidgetItem* item) { return ContentsTreeWidget::pathOf(item); }

    // The three drops. `target` is the contentsTree item under the drop, or
    // nullptr; `choice` is what the user picked from the popup menu when the
    // target is a heading (ignored otherwise).
    void dropPaletteItem(int paletteItem, QTreeWidgetItem* target, DropChoice choice = DropChoice::OnThisLevel);
    void dropTopic(int topic, QTreeWidgetItem* target, DropChoice choice = DropChoice::OnThisLevel);
    void moveEntry(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

    // Asks headingDropMenu or topicDropMenu at a global point; tests may replace it.
    std::function<DropChoice(QMenu* menu, const QPoint& globalPos)> askPlacement;

    // The dialog's controls, for the tests.
    ContentsTreeWidget* contentsTree() const { return contentsTree_; }
    QTreeWidget* paletteTree() const { return paletteTree_; }
    QListWidget* topicList() const { return topicList_; }
    QLineEdit* titleEdit() const { return form_->titleEdit(); }
    QLineEdit* topicIdEdit() const { return form_->topicIdEdit(); }
    QLineEdit* helpFileEdit() const { return form_->helpFileEdit(); }
    QComboBox* windowCombo() const { return form_->windowCombo(); }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QMenu* headingDropMenu() const { return headingDropMenu_; }
    QMenu* topicDropMenu() const { return topicDropMenu_; }

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
    using Trigger = ContentsEntryForm::Trigger;

    // Made in tab order: the tree, the palette, the topics and their search
    // button, the boxes of the entry, OK and Cancel; then the popup menus.
    void makeControls();
    void layOut();
    void connectControls();
    // Redraws contentsTree from the tree and selects the entry at `select`.
    void redraw(const ContentsPath& select);
    ContentsEntry* selectedEntry();
    void loadEntryFields();
    // Composes the text of `item` (the selected entry when null) from the boxes.
    // False when the text was refused (the entry keeps what it had).
    bool updateEntry(Trigger trigger, QTreeWidgetItem* item = nullptr);
    // The update that leaving `box` makes (nothing for another widget); false
    // when its text was refused.
    bool applyBoxLeft(const QObject* box);
    // The boxes still show the entry being left: it gets them first.
    void applyBoxesBeforeLeaving();
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
    // Reads the contents file into the tree; says what could not be read.
    void readContentsFile();

    Project& project_;
    Prompter& prompter_;
    SearchDialog& search_;
    const ListIcons& listIcons_;
    ContentsTree tree_;
    bool entered_ = false;
    ContentsTreeWidget* contentsTree_ = nullptr;
    QTreeWidget* paletteTree_ = nullptr;
    QListWidget* topicList_ = nullptr;
    QToolButton* searchButton_ = nullptr;
    std::unique_ptr<ContentsEntryForm> form_;
    QPushButton *okButton_ = nullptr, *cancelButton_ = nullptr;
    QMenu *headingDropMenu_ = nullptr, *topicDropMenu_ = nullptr, *deleteMenu_ = nullptr;
    // A refusal message is up: the focus it takes does not apply the boxes again.
    bool refusing_ = false;
    // The box left for the OK button had its text refused.
    bool refusedOnTheWayToOk_ = false;
    // The contents file existed but could not be read.
    bool unreadFile_ = false;
};

} // namespace ts
