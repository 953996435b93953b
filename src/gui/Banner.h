#pragma once
// The program's banner picture, drawn rather than shipped: the start screen
// and the about box show it.

#include <QPixmap>

namespace ts {

QPixmap programBanner(QSize size);

} // namespace ts
