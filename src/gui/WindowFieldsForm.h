#pragma once
// WindowFieldsForm: the fields of one window definition in the window editor
// (title bar text, position and size, the three flags, the two colour panels
// and the buttons group). It makes its controls as children of the dialog it
// is given, in the dialog's tab order, and lays them out as rows of the
// dialog's layout; it shows and reads a WindowFields. When the fields are
// loaded and stored, and what Auto-size and the colour panels do, is the
// dialog's business.

#include "model/WindowRules.h"

#include <QList>

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace ts {

class ColourPanel;

class WindowFieldsForm {
public:
    // Makes the controls on `dialog`; they belong to it.
    explicit WindowFieldsForm(QWidget* dialog);

    // Adds the rows from the title bar text down to the buttons group.
    void addRows(QVBoxLayout* layout) const;

    WindowFields fields() const;
    void setFields(const WindowFields& f);
    // Clear (false) and Check (true) of the buttons group.
    void setAllButtons(bool checked);

    // The position and size boxes in the order Auto-size reads them: left,
    // top, width, height.
    std::array<QLineEdit*, 4> placeBoxes() const { return {leftEdit_, topEdit_, widthEdit_, heightEdit_}; }
    // Every control that takes the focus, in tab order.
    QList<QWidget*> controls() const;

    QLineEdit* captionEdit() const { return captionEdit_; }
    QLineEdit* leftEdit() const { return leftEdit_; }
    QLineEdit* widthEdit() const { return widthEdit_; }
    QLineEdit* topEdit() const { return topEdit_; }
    QLineEdit* heightEdit() const { return heightEdit_; }
    QPushButton* autoSizeButton() const { return autoSizeButton_; }
    QCheckBox* defaultPositionCheck() const { return defaultPositionCheck_; }
    QCheckBox* onTopCheck() const { return onTopCheck_; }
    ColourPanel* nonScrollingColourPanel() const { return nonScrollingColourPanel_; }
    ColourPanel* topicColourPanel() const { return topicColourPanel_; }
    QGroupBox* buttonsGroup() const { return buttonsGroup_; }
    // Browse, Contents, Index, Print, Back, Find: the order of the stored buttons.
    const std::array<QCheckBox*, 6>& buttonBoxes() const { return buttonBoxes_; }
    QPushButton* clearButtonsButton() const { return clearButtonsButton_; }
    QPushButton* checkButtonsButton() const { return checkButtonsButton_; }

private:
    void makeButtonsGroup();

    QWidget* dialog_;
    QLineEdit* captionEdit_ = nullptr;
    QLineEdit *leftEdit_ = nullptr, *widthEdit_ = nullptr, *topEdit_ = nullptr, *heightEdit_ = nullptr;
    QPushButton* autoSizeButton_ = nullptr;
    QCheckBox *defaultPositionCheck_ = nullptr, *autoHeightCheck_ = nullptr, *onTopCheck_ = nullptr;
    ColourPanel *nonScrollingColourPanel_ = nullptr, *topicColourPanel_ = nullptr;
    QGroupBox* buttonsGroup_ = nullptr;
    std::array<QCheckBox*, 6> buttonBoxes_ = {};
    QPushButton *clearButtonsButton_ = nullptr, *checkButtonsButton_ = nullptr;
};

} // namespace ts
