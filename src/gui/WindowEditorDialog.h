#pragma once
// WindowEditorDialog: the window definitions editor. It works on the project's window
// table directly: there is no Cancel. The shown fields reach their window
// when the selector gets the focus, before any change of the selected window
// (so that they survive a switch to another window) and at "OK"; Add New and
// Delete change the table at once.
// Deleting a window asks the main window to rewrite the link references to it
// through rewriteWindowLinks.
//
// The command that opens the dialog stores the current topic before and loads
// it again after, so the editors show the topic's window colours.

#include "ColourPanel.h"
#include "WindowFieldsForm.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace ts {

class AutoSizeDialog;
class ColourPanel;
class Project;
class Prompter;

class WindowEditorDialog : public QDialog {
    Q_OBJECT

public:
    // A colour panel's dialog opens on the panel's own colour.
    WindowEditorDialog(Project& project, Prompter& prompter, AutoSizeDialog& autoSize, QWidget* parent = nullptr);

    // Refills the selector from the window table, selects window `select`
    // (the current topic's window; 0 when out of range) and shows its fields.
    // Showing the dialog does the same with the window last given here.
    void refillWindowList(int select);
    // The window to select at the next show.
    void setTopicWindow(int index) { topicWindow_ = index; }

    // True while the selector is an editable field for a new window's name.
    bool newNameMode() const { return newNameMode_; }

    // The dialog's controls, for the tests.
    QComboBox* windowCombo() const { return windowCombo_; }
    QPushButton* addButton() const { return addButton_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    QPushButton* okButton() const { return okButton_; }
    QLineEdit* captionEdit() const { return form_->captionEdit(); }
    QLineEdit* leftEdit() const { return form_->leftEdit(); }
    QLineEdit* widthEdit() const { return form_->widthEdit(); }
    QLineEdit* topEdit() const { return form_->topEdit(); }
    QLineEdit* heightEdit() const { return form_->heightEdit(); }
    QPushButton* autoSizeButton() const { return form_->autoSizeButton(); }
    QCheckBox* defaultPositionCheck() const { return form_->defaultPositionCheck(); }
    QCheckBox* onTopCheck() const { return form_->onTopCheck(); }
    ColourPanel* nonScrollingColourPanel() const { return form_->nonScrollingColourPanel(); }
    ColourPanel* topicColourPanel() const { return form_->topicColourPanel(); }
    QGroupBox* buttonsGroup() const { return form_->buttonsGroup(); }
    QCheckBox* browseCheck() const { return form_->buttonBoxes()[0]; }
    QCheckBox* contentsCheck() const { return form_->buttonBoxes()[1]; }
    QCheckBox* printCheck() const { return form_->buttonBoxes()[3]; }
    QCheckBox* findCheck() const { return form_->buttonBoxes()[5]; }
    QPushButton* clearButtonsButton() const { return form_->clearButtonsButton(); }
    QPushButton* checkButtonsButton() const { return form_->checkButtonsButton(); }

signals:
    // A window was deleted: references `oldText` (">" and its name) in links
    // are to become `newText` (">main").
    void rewriteWindowLinks(const QString& oldText, const QString& newText);

public slots:
    void ok();  // Ok
    void addWindow();  // Add New
    void deleteWindow();  // Delete
    void autoSize();  // Auto-size
    void clearButtons();  // Clear
    void checkButtons();  // Check
    void chooseNonScrollingColour();
    void chooseTopicColour();
    // The close box: "OK", but the dialog closes even when nothing could be stored.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window selector row and the OK buttons; the fields between them
    // come from WindowFieldsForm.
    void makeControls();
    void layOut();
    void connectControls();
    void loadWindowFields(int k);
    // Stores the shown fields into the shown window; false (after the
    // refusal was shown) when a position or size box is not an integer.
    bool storeWindowFields();
    void windowSelected(int index);
    void selectorEntered();
    // The name typed in new-name mode: added as a window, or refused with the
    // focus kept in the selector. True when the selector left new-name mode.
    bool acceptNewName(bool quiet = false);
    void enterNewNameMode();
    void leaveNewNameMode();
    // Ok from the buttons or Enter, or from the close box.
    void okCommand(bool fromCloseBox);
    void pickColour(ColourPanel* panel);
    void watchKeys(QWidget* widget);
    // Enter is "OK" and Escape gives up a new name, wherever the focus is.
    bool handleKey(QKeyEvent* key);

    Project& project_;
    Prompter& prompter_;
    AutoSizeDialog& autoSize_;
    QComboBox* windowCombo_ = nullptr;
    QPushButton *addButton_ = nullptr, *deleteButton_ = nullptr;
    std::unique_ptr<WindowFieldsForm> form_;
    QPushButton *okButton_ = nullptr, *hiddenOkButton_ = nullptr;
    int topicWindow_ = 0;
    // The window whose fields the dialog shows; -1 before the first.
    int shownWindow_ = -1;
    bool newNameMode_ = false;
    // Set while Delete changes the list: selection changes load nothing.
    bool guard_ = false;
};

} // namespace ts
