#pragma once
// ButtonDialog: the two-field dialog shared by "Related Topics" buttons
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

class ButtonDialog : public QDialog {
    Q_OBJECT
public:
    explicit ButtonDialog(QWidget* parent = nullptr);

    // Captions, labels and help number of each command; both empty the fields.
    void setupForButton();
    void setupForWeb();
    // "E-Mail" is chosen in linkKindGroup.
    bool emailChosen() const;

    QLabel* captionLabel;
    QLineEdit* captionEdit;
    QLabel* targetLabel;
    QLineEdit* targetEdit;
    QGroupBox* linkKindGroup;
    QList<QRadioButton*> linkKindButtons; // "Web Site", "E-Mail"
    QPushButton* okButton;
    QPushButton* cancelButton;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace ts
