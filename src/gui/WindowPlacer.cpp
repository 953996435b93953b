#include "WindowPlacer.h"

#include "settings/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace ts {

void keepOnScreen(QWidget& window)
{
    const QRect frameNow = window.frameGeometry();
    const QScreen* screen = QGuiApplication::screenAt(frameNow.center());
    if (!screen)
        screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize frame = (frameNow.size() - window.size())
                            .expandedTo(QSize(8, WindowPlacer::TypicalTitleBarHeight));
    const QRect bounds = fitIntoScreen(QRect(window.pos(), window.size()), screen->availableGeometry(), frame);
    if (bounds.size() != window.size())
        window.resize(bounds.size());
    if (bounds.topLeft() != window.pos())
        window.move(bounds.topLeft());
}

WindowPlacer::WindowPlacer(QWidget& window) : QObject(&window), window_(window)
{
    setObjectName(QStringLiteral("windowPlacer"));
    window_.installEventFilter(this);
}

QSize WindowPlacer::frameAllowance() const
{
    const QSize known = window_.frameGeometry().size() - window_.size();
    return known.isEmpty() ? QSize(0, TypicalTitleBarHeight) : known;
}

void WindowPlacer::placeOnFirstStart()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QSize size = firstStartBounds(room).size().expandedTo(window_.minimumSize());
    // The window with its frame goes into the middle.
    QRect framed(QPoint(), size + frameAllowance());
    framed.moveCenter(room.center());
    // A screen smaller than the smallest window still shows its title bar.
    const QPoint corner = fitIntoScreen(QRect(framed.topLeft(), size), room, frameAllowance()).topLeft();
    window_.resize(size);
    moveFrameTo(corner);
}

void WindowPlacer::restore(const QRect& saved, bool maximized)
{
    // The screen the title bar was on (the first one when that screen is
    // gone); the window comes back whole on it, its title bar in reach.
    const QRect titleBar(saved.left() + 20, saved.top(), saved.width() - 40, TypicalTitleBarHeight);
    const QScreen* on = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(titleBar)) {
            on = screen;
            break;
        }
    const QRect bounds = on ? fitIntoScreen(saved, on->availableGeometry(), frameAllowance()) : saved;
    window_.resize(bounds.size());
    moveFrameTo(bounds.topLeft());
    if (maximized) {
        restoreBounds_ = bounds;
        window_.setWindowState(window_.windowState() | Qt::WindowMaximized);
    }
}

QRect WindowPlacer::boundsToKeep() const
{
    if (!window_.isMaximized() && !window_.isMinimized())
        return QRect(window_.pos(), window_.size());
    if (restoreBounds_)
        return *restoreBounds_;
    const QRect normal = window_.normalGeometry();
    return QRect(normal.topLeft() - normalFrameOffset_, normal.size());
}

void WindowPlacer::moveFrameTo(const QPoint& corner)
{
    window_.move(corner);
    frameCorner_ = corner;
}

void WindowPlacer::placeFrame()
{
    if (!frameCorner_ || window_.frameGeometry() == window_.geometry())
        return;
    const QPoint corner = *frameCorner_;
    frameCorner_.reset();
    if (window_.pos() != corner && !window_.isMaximized())
        window_.move(corner);
}

bool WindowPlacer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
        // Framing moves no part of the window; its first showing on the
        // screen is where the frame is known.
        if (watched == &window_ && window_.windowHandle())
            window_.windowHandle()->installEventFilter(this);
        break;
    case QEvent::Expose:
        placeFrame();
        break;
    case QEvent::Move:
        if (watched == &window_) {
            placeFrame();
            if (!window_.isMaximized() && !window_.isMinimized() && window_.frameGeometry() != window_.geometry())
                normalFrameOffset_ = window_.geometry().topLeft() - window_.pos();
        }
        break;
    case QEvent::WindowStateChange:
        // Restored for the first time: to the bounds of the settings.
        if (watched == &window_ && restoreBounds_ && !window_.isMaximized() && !window_.isMinimized()) {
            const QRect bounds = *restoreBounds_;
            restoreBounds_.reset();
            window_.resize(bounds.size());
            moveFrameTo(bounds.topLeft());
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ts
