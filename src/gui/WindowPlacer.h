#pragma once
// Where the main window goes: on the first start about two thirds of the
// screen in its middle; later where the settings file says, whole on the
// screen, maximised when it was closed so. The settings keep the corner of
// the window's frame and the size of its inside; a maximised window keeps
// the bounds it is restored to.
//
// On X11 a window manager frames the window only once it is shown, and may
// take a corner given before that for the inside's: the placer moves the
// frame to its corner again once the frame is known, or every start would
// put the window a title bar higher than the last.
//
// Windows that open where they were left, or where Qt or a help file puts
// them, are brought inside the screen by keepOnScreen.

#include <QObject>
#include <QPoint>
#include <QRect>

#include <optional>

class QWidget;

namespace ts {

// Moves the top-level `window` so that its frame lies inside the room of the
// screen it is on (the screen without its panels), shrinking it when it is
// larger than that room. A window that lies on no screen goes onto the one
// Qt gives it. Before the window manager has framed the window, room for a
// usual title bar and border is kept.
void keepOnScreen(QWidget& window);

class WindowPlacer : public QObject {
    Q_OBJECT
public:
    explicit WindowPlacer(QWidget& window);

    void placeOnFirstStart();
    // `saved`: the frame's corner and the inside's size, as the settings keep them.
    void restore(const QRect& saved, bool maximized);
    // What the settings keep: the bounds of the window as it is, or as it is
    // restored to when it is maximised or minimised.
    QRect boundsToKeep() const;

    // A title bar's height, allowed for while the frame is not known.
    static constexpr int TypicalTitleBarHeight = 30;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize frameAllowance() const;
    void moveFrameTo(const QPoint& corner);
    // The frame to its corner once it is known.
    void placeFrame();

    QWidget& window_;
    std::optional<QPoint> frameCorner_;
    // The bounds a window started maximised is restored to: it was never
    // shown at them, so the platform does not know them.
    std::optional<QRect> restoreBounds_;
    // Where the inside lies in the frame of the window when not maximised.
    QPoint normalFrameOffset_;
};

} // namespace ts
