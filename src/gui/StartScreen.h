#pragma once
// The start screen: a borderless white window on top of the others, shown
// while the program builds its windows and closed by the main window's
// one-shot timer two seconds after the main window first appears.

#include <QWidget>

class QFrame;
class QLabel;

namespace ts {

class TStartForm : public QWidget {
    Q_OBJECT
public:
    explicit TStartForm(QWidget* parent = nullptr);

    // Shows the screen centred and paints it at once, before the event loop runs.
    void showAndPaint();

    QFrame* Shape1;
    QLabel* Image2;
    QLabel* Label2;
};

} // namespace ts
