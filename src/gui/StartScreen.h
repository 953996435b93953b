#pragma once
// The start screen: a borderless white window on top of the others, shown
// while the program builds its windows and closed by the main window's
// one-shot timer two seconds after the main window first appears.

#include <QWidget>

class QFrame;
class QLabel;

namespace ts {

class StartScreen : public QWidget {
    Q_OBJECT
public:
    explicit StartScreen(QWidget* parent = nullptr);

    // Shows the screen centred and paints it at once, before the event loop runs.
    void showAndPaint();

    QFrame* frame;
    QLabel* banner;
    QLabel* versionLabel;
};

} // namespace ts
