#pragma once
// TopicPropertiesDialog: the topic properties dialog, shared by "Add new topic" and
// "Change Topic Properties". It edits the Topic ID, the title, the window and
// the Application Call ID. OK (or Enter) closes it through its checks;
// Cancel, Escape and the close box leave it without a change. OK with an
// empty Topic ID changes nothing either while the project has topics. The
// command that opened the dialog reads the fields after an accepted close
// and applies them to the project.

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace ts {

class Project;
class Prompter;

class TopicPropertiesDialog : public QDialog {
    Q_OBJECT

public:
    TopicPropertiesDialog(Project& project, Prompter& prompter, QWidget* parent = nullptr);

    // Whether the dialog adds a topic (Add new topic) or changes the current
    // one (Change Topic Properties). When changing, the current topic is not
    // compared with itself.
    void setAdding(bool adding) { adding_ = adding; }
    bool adding() const { return adding_; }
    // The current topic: when changing it is not compared with itself, and
    // prepareFields selects its window when topicIdEdit holds an ID.
    void setCurrentTopic(int index);
    int currentTopic() const { return currentTopic_; }

    // The window index the command stores and links to: the selected entry
    // (0 when none is).
    int selectedWindowIndex() const;
    // The Application Call ID when callIdCheck is checked and callIdEdit holds an
    // integer (always so after the dialog closed with callIdCheck checked).
    std::optional<int> callId() const;

    QLineEdit* topicIdEdit = nullptr;
    QLineEdit* titleEdit = nullptr;
    QComboBox* windowCombo = nullptr;
    QCheckBox* callIdCheck = nullptr;
    QLineEdit* callIdEdit = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

public slots:
    // The checks; closes the dialog (accept) when they pass.
    void acceptIfValid();
    // Proposes a free Application Call ID when checked, empties callIdEdit when not.
    void callIdToggled();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void prepareFields();

    Project& project_;
    Prompter& prompter_;
    int currentTopic_ = -1;
    bool adding_ = false;
};

} // namespace ts
