#pragma once
// TChangeTopic: the topic properties dialog, shared by "Add new topic" and
// "Change Topic Properties". It edits the Topic ID, the title, the window and
// the Application Call ID, and closes only through its checks (Button1 or
// Enter); it has no close box and no cancel. An empty Topic ID is how the
// user cancels while the project has topics. The command that opened the
// dialog reads the fields afterwards and applies them to the project.

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace ts {

class Project;
class Prompter;

class TChangeTopic : public QDialog {
    Q_OBJECT

public:
    TChangeTopic(Project& project, Prompter& prompter, QWidget* parent = nullptr);

    // The current topic: when changing (Project::AddMode false) it is not
    // compared with itself, and FormShow selects its window when TID holds
    // an ID.
    void setCurrentTopic(int index);
    int currentTopic() const { return currentTopic_; }

    // The window index the command stores: the selected entry, except 0 when
    // that entry's text is exactly "Default".
    int selectedWindowIndex() const;
    // The Application Call ID when AssignID is checked and Edit1 holds an
    // integer (always so after the dialog closed with AssignID checked).
    std::optional<int> callId() const;

    QLineEdit* TID = nullptr;
    QLineEdit* TT = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QCheckBox* AssignID = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;

public slots:
    // The checks; closes the dialog (accept) when they pass.
    void Button1Click();
    // Proposes a free Application Call ID when checked, empties Edit1 when not.
    void AssignIDClick();
    // Title-bar close and the like: the same checks as Button1.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();

    Project& project_;
    Prompter& prompter_;
    int currentTopic_ = -1;
};

} // namespace ts
