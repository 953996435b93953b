#pragma once
// The spelling dialog: the unknown word in its sentence, a field with the
// replacement, the dictionary's suggestions, and the buttons Ignore,
// Ignore All, Change, Add and Cancel. Escape and closing the window cancel.

#include "Speller.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ts {

class SpellingDialog : public QDialog {
    Q_OBJECT
public:
    explicit SpellingDialog(const Speller::Question& question, QWidget* parent = nullptr);

    // Shows the dialog modally over the active window and returns the answer.
    static Speller::Answer ask(const Speller::Question& question);

    Speller::Answer answer() const { return answer_; }

    QLabel* contextLabel;
    QLineEdit* changeToEdit;
    QListWidget* suggestionList;
    QPushButton *ignoreButton, *ignoreAllButton, *changeButton, *addButton, *cancelButton;

    // The word in its surroundings (about 40 characters each side, on one
    // line), as rich text with the word in bold.
    static QString contextHtml(const Speller::Question& question);

private:
    void finish(Speller::Answer::Kind kind);

    Speller::Answer answer_;
};

} // namespace ts
