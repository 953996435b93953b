#pragma once
// The spelling dialog: the unknown word in its sentence, a field with the
// replacement, the dictionary's suggestions, and the buttons Ignore,
// Ignore All, Change, Add and Cancel. Escape and closing the window cancel.

#include "SpellingQuestion.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ts {

class SpellingDialog : public QDialog {
    Q_OBJECT
public:
    explicit SpellingDialog(const SpellingQuestion& question, QWidget* parent = nullptr);

    // Shows the dialog modally over the active window and returns the answer.
    static SpellingAnswer ask(const SpellingQuestion& question);

    SpellingAnswer answer() const { return answer_; }

    QLabel* contextLabel;
    QLineEdit* changeToEdit;
    QListWidget* suggestionList;
    QPushButton *ignoreButton, *ignoreAllButton, *changeButton, *addButton, *cancelButton;

    // The word in its surroundings (about 40 characters each side, on one
    // line), as rich text with the word in bold.
    static QString contextHtml(const SpellingQuestion& question);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void finish(SpellingAnswer::Kind kind);

    SpellingAnswer answer_;
};

} // namespace ts
