#pragma once
// LogViewer: the viewer of the help compiler's log, which the extended topic
// list borrows for its report. The command that opens it fills the caption,
// headerLabel and the text, then shows it modally; the viewer itself only shows
// the text, prints it under headerLabel's caption and closes on Escape.
//
// It is made once with the main window and kept for the run, so the last
// caption, header and text stay until a command fills it anew.

#include <QDialog>

class QFrame;
class QLabel;
class QTextEdit;
class QToolButton;

namespace ts {

class Prompter;

class LogViewer : public QDialog {
    Q_OBJECT

public:
    explicit LogViewer(Prompter& prompter, QWidget* parent = nullptr);

    // The text shown, as plain text: CR LF and lone CR end lines as LF does.
    void setText(const QString& text);
    QString text() const;

    // Size and place as the form first appears: 511 by 379, centred on the
    // screen it opens on.
    void placeCentred();

    QLabel* headerLabel = nullptr;        // the header line: what is shown

    // The viewer's controls, for the tests.
    QFrame* printButtonPanel() const { return printButtonPanel_; }
    QToolButton* printButton() const { return printButton_; }
    QTextEdit* textView() const { return textView_; }

public slots:
    // Print dialog, then the text printed with headerLabel's caption as the job title.
    void print();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The form sees keys before its controls: Escape closes it wherever the
    // focus is. Returns true when the key was used.
    bool handleKey(int key);
    void placePrintButton();

    Prompter& prompter_;
    QFrame* printButtonPanel_ = nullptr; // holds the print button at headerLabel's right end
    QToolButton* printButton_ = nullptr;
    QTextEdit* textView_ = nullptr; // the text, read-only, unwrapped
    bool placed_ = false;
};

} // namespace ts
