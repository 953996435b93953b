#pragma once
// SearchProgressDialog: the small progress window of topic search; link
// maintenance shows one of its own with another text. It stays on top, has
// no title-bar buttons and is shown without blocking for the length of the
// work; the work runs on without returning to the event loop, so every
// change paints at once.
//
// Each user makes one with the main window and keeps it for the run.

#include <QDialog>

class QLabel;
class QProgressBar;

namespace ts {

class SearchProgressDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int Maximum = 2048;

    explicit SearchProgressDialog(QWidget* parent = nullptr);

    // The line above the bar.
    void setText(const QString& text);
    QString text() const;
    // The bar's position, 0..2048; painted at once.
    void setValue(int value);
    int value() const;

    // Centres the window on the screen, shows it in front and paints it
    // before the caller's work goes on.
    void showAndPaint();

    QLabel* textLabel = nullptr;
    QProgressBar* progressBar = nullptr;

protected:
    // Neither Escape nor the window manager closes it: it goes when the work
    // that showed it hides it.
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;
};

} // namespace ts
