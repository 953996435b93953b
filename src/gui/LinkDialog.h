#pragma once
// LinkDialog: the "Link to topic" dialog. It collects a hotspot text, a topic
// of the project (or a typed Topic ID and another help file), the kind of
// link and whether the topic's own window is named. insertTopicLink prepares
// it and builds the markup from its fields; between uses it keeps only the
// other help file's path (helpFileEdit).

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ts {

class Prompter;

class LinkDialog : public QDialog {
    Q_OBJECT
public:
    explicit LinkDialog(Prompter& prompter, QWidget* parent = nullptr);

    // Fills topicCombo with these entries and selects entry `proposed`
    // (the first when out of range), also when the other help file is
    // unchecked again.
    void setTopics(const QStringList& entries, int proposed = 0);
    // "Jump to selected topic" (0) or "Popup selected topic" (1).
    int linkType() const;
    void setLinkType(int index);

    QLineEdit* hotspotEdit;
    // The project's topics; in "other help file" mode topicIdEdit, a plain
    // box for the other file's Topic ID, stands in its place.
    QComboBox* topicCombo;
    QLineEdit* topicIdEdit;
    QCheckBox* topicWindowCheck;
    QCheckBox* otherHelpFileCheck;
    QLineEdit* helpFileEdit;

    // The other controls, for the tests.
    // "Jump to selected topic", "Popup selected topic".
    const QList<QRadioButton*>& linkTypeButtons() const { return linkTypeButtons_; }
    QPushButton* browseButton() const { return browseButton_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

public slots:
    void linkTypeChanged();
    void topicWindowToggled();
    void otherHelpFileToggled();
    void browseHelpFile();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Prompter& prompter_;
    QLabel* topicLabel_ = nullptr;
    QList<QRadioButton*> linkTypeButtons_;
    QPushButton* browseButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    int proposedTopic_ = 0;
};

} // namespace ts
