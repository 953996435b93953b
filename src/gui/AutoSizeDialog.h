#pragma once
// AutoSizeDialog: a sample window the user moves and resizes with the mouse to set
// a help window's position and size. The window definitions editor places it,
// shows it modally and reads its frame after "OK" (or Enter). Escape closes it
// without taking anything.

#include <QDialog>
#include <QRect>

class QLabel;
class QPushButton;

namespace ts {

class AutoSizeDialog : public QDialog {
    Q_OBJECT

public:
    explicit AutoSizeDialog(QWidget* parent = nullptr);

    // Places the window so that its outer frame covers `frame` (pixels).
    void setFrame(const QRect& frame);
    // The outer frame as it stands (pixels).
    QRect frame() const { return frameGeometry(); }

    QLabel* resizeLabel = nullptr;
    QLabel* okLabel = nullptr;
    QPushButton* okButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyFrame();

    QRect wanted_;
};

} // namespace ts
