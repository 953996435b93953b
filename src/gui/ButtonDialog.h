#pragma once
// TInsertButton: the two-field dialog shared by "Related Topics" buttons
// (caption and ALink keywords) and web or e-mail links (hotspot text and
// address, with the choice between web site and e-mail). The command that
// opens it sets its captions with setupForButton or setupForWeb and reads the
// fields afterwards; the web/e-mail choice is kept between uses.

#include <QDialog>
#include <QList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ts {

class TInsertButton : public QDialog {
    Q_OBJECT
public:
    explicit TInsertButton(QWidget* parent = nullptr);

    // Captions, labels and help number of each command; both empty the fields.
    void setupForButton();
    void setupForWeb();
    // "E-Mail" is chosen in RadioGroup1.
    bool emailChosen() const;

    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QGroupBox* RadioGroup1;
    QList<QRadioButton*> RadioButtons; // "Web Site", "E-Mail"
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace ts
