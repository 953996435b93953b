#pragma once
// AutoSizeDialog: a sample window the user moves and resizes with the mouse to set
// a help window's position and size. The window definitions editor places it,
// shows it modally and reads its frame after "OK" (or Enter). Escape closes it
// without taking anything.

#include <QDialog>
#include <QRect>

class QTimer;
class QPushButton;

namespace ts {

class AutoSizeDialog : public QDialog {
    Q_OBJECT

public:
    explicit AutoSizeDialog(QWidget* parent = nullptr);

    // Places the window so that its outer frame covers `frame` (pixels).
    void setFrame(const QRect& frame);
    // The outer frame (pixels) as it stands, or as it stood when the sample
    // was closed.
    QRect frame() const;
    // True when the frame is no longer the one the sample settled at after
    // it was shown and framed (the user moved or resized it).
    bool frameChanged() const;

    QPushButton* okButton() const { return okButton_; }

public slots:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyFrame();
    // Follows the window manager framing the sample after it is shown.
    void settle();

    QPushButton* okButton_ = nullptr;
    QRect wanted_;
    QRect settled_;
    QRect closedFrame_;
    QTimer* settleTimer_ = nullptr;
    bool framed_ = false;
    int settleTicks_ = 0;
    int stableTicks_ = 0;
};

} // namespace ts
