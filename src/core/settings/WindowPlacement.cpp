#include "WindowPlacement.h"

#include <algorithm>

namespace ts {

QRect fitIntoScreen(const QRect& saved, const QRect& available, const QSize& frame)
{
    const int width = std::clamp(saved.width(), 1, std::max(1, available.width() - frame.width()));
    const int height = std::clamp(saved.height(), 1, std::max(1, available.height() - frame.height()));
    const int left = std::clamp(saved.left(), available.left(),
                                std::max(available.left(), available.right() + 1 - width - frame.width()));
    const int top = std::clamp(saved.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - height - frame.height()));
    return QRect(left, top, width, height);
}

QRect firstStartBounds(const QRect& available)
{
    QRect bounds(0, 0, available.width() * 2 / 3, available.height() * 2 / 3);
    bounds.moveCenter(available.center());
    return bounds;
}

} // namespace ts
