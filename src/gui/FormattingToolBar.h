#pragma once
// The formatting controls of the lower toolbar row: font face, size and
// colour, bold, italic, left or centred alignment and the paragraph indent.
// They act on the editor pane's last used area through the pane's format
// operations and follow the format at its caret.

#include <QTextCharFormat>
#include <QWidget>

#include <cstdint>
#include <optional>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QToolButton;

namespace ts {

class Prompter;
class TopicEditorPane;

class FormattingToolBar : public QWidget {
    Q_OBJECT
public:
    FormattingToolBar(Prompter& prompter, TopicEditorPane& editors, QWidget* parent = nullptr);

    // The controls, for the tests.
    QComboBox* fontCombo() const { return fontCombo_; }
    QComboBox* sizeCombo() const { return sizeCombo_; }
    QComboBox* indentCombo() const { return indentCombo_; }
    QLabel* colourLabel() const { return colourLabel_; }
    QLabel* colourSwatch() const { return colourSwatch_; }
    QToolButton* boldButton() const { return boldButton_; }
    QToolButton* italicButton() const { return italicButton_; }
    QToolButton* leftAlignButton() const { return leftAlignButton_; }
    QToolButton* centreButton() const { return centreButton_; }

public slots:
    void applyFontFace();
    void applyFontSize();
    void chooseTextColour();
    void applyBold();
    void applyItalic();
    void alignLeft();
    void alignCentre();
    void applyIndent();
    // Shows `format` (an editor's selection format) and the paragraph at the
    // active editor's caret, without running the change handlers.
    void showFormat(const QTextCharFormat& format);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The constructor's parts, left to right, and the wiring.
    void addFontBoxes(QHBoxLayout* row);
    void addColourBox(QHBoxLayout* row);
    void addStyleButtons(QHBoxLayout* row);
    void addIndentBox(QHBoxLayout* row);
    void connectControls();
    void applyCharFormat(const QTextCharFormat& change);
    void returnFocus();
    // The whole number in a size or indent box, or the refusal shown.
    std::optional<int> comboNumber(QComboBox* combo);

    Prompter& prompter_;
    TopicEditorPane& editors_;
    QComboBox* fontCombo_;
    QComboBox* sizeCombo_;
    QComboBox* indentCombo_;
    QLabel* colourLabel_;
    QLabel* colourSwatch_;
    QToolButton* boldButton_;
    QToolButton* italicButton_;
    QToolButton* leftAlignButton_;
    QToolButton* centreButton_;
};

} // namespace ts
