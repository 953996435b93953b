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

    QLineEdit* captionEdit;
    QLineEdit* targetEdit;

    // The other controls, for the tests.
    QGroupBox* linkKindGroup() const { return linkKindGroup_; }
    const QList<QRadioButton*>& linkKindButtons() const { return linkKindButtons_; } // "Web Site", "E-Mail"
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* captionLabel_ = nullptr;
    QLabel* targetLabel_ = nullptr;
    QGroupBox* linkKindGroup_ = nullptr;
    QList<QRadioButton*> linkKindButtons_;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace ts
