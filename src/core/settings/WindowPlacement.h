#pragma once
// Where the main window goes at start: the bounds the settings file keeps
// (the frame's top left corner, the inner width and height), brought onto the
// screen they are on; on the first start, a window of a sensible size in the
// middle of the screen.

#include <QRect>
#include <QSize>

namespace ts {

// `saved` moved and, when larger, shrunk so that the whole window, its frame
// included, lies in `available` (a screen's room without its panels). The
// frame adds `frame` to the inner size (its title bar and borders).
QRect fitIntoScreen(const QRect& saved, const QRect& available, const QSize& frame);

// Two thirds of the room in each direction, centred in it.
QRect firstStartBounds(const QRect& available);

} // namespace ts
