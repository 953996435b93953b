#pragma once
// The formatting controls of the lower toolbar row: font face, size and
// colour, bold, italic, left or centred alignment and the paragraph indent.
// They act on the editor pane's last used editor and follow the format at
// its caret.

#include <QTextCharFormat>
#include <QWidget>

#include <cstdint>
#include <optional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QTextEdit;
class QToolButton;

namespace ts {

class Prompter;
class TopicEditorPane;

class FormattingToolBar : public QWidget {
    Q_OBJECT
public:
    FormattingToolBar(Prompter& prompter, TopicEditorPane& editors, QWidget* parent = nullptr);

    QComboBox *fontCombo, *sizeCombo, *indentCombo;
    QLabel *colourLabel, *colourSwatch;
    QToolButton *boldButton, *italicButton, *leftAlignButton, *centreButton;
    QButtonGroup* alignGroup;

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
    void applyCharFormat(const QTextCharFormat& change);
    void returnFocus(QTextEdit* target);
    // The whole number in a size or indent box, or the refusal shown.
    std::optional<int> comboNumber(QComboBox* combo);

    Prompter& prompter_;
    TopicEditorPane& editors_;
};

} // namespace ts
