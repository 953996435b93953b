#pragma once
// TLinkForm: the "Link to topic" dialog. It collects a hotspot text, a topic
// of the project (or a typed Topic ID and another help file), the kind of
// link and whether the topic's own window is named. JumpButtonClick prepares
// it and builds the markup from its fields; between uses it keeps only the
// other help file's path (Edit2).

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ts {

class Prompter;

class TLinkForm : public QDialog {
    Q_OBJECT
public:
    explicit TLinkForm(Prompter& prompter, QWidget* parent = nullptr);

    // Fills ComboBox1 with these entries and selects the first.
    void setTopics(const QStringList& entries);
    // "Jump to selected topic" (0) or "Popup selected topic" (1).
    int linkType() const;
    void setLinkType(int index);

    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QComboBox* ComboBox1;
    QGroupBox* RadioGroup1;
    QList<QRadioButton*> RadioButtons;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QLineEdit* Edit2;
    QPushButton* Button3;
    QPushButton* Button1;
    QPushButton* Button2;

public slots:
    void RadioGroup1Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void Button3Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Prompter& prompter_;
};

} // namespace ts
