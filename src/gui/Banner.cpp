#include "Banner.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPainter>

namespace ts {

// The program's mark and name on white, drawn on a 537 by 118 plan and
// scaled to the size asked for.
QPixmap programBanner(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(size.width() / 537.0, size.height() / 118.0);
    p.drawPixmap(QRect(14, 22, 72, 72), QIcon(QStringLiteral(":/icons/logo")).pixmap(72, 72));

    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(30, 60, 140));
    p.drawText(QRect(100, 14, 537 - 110, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Topicsmith"));

    QFont sub(QStringLiteral("Liberation Sans"));
    sub.setPixelSize(16);
    p.setFont(sub);
    p.setPen(QColor(80, 80, 80));
    p.drawText(QRect(102, 68, 537 - 110, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Authoring tool for Windows Help projects"));
    return pixmap;
}

} // namespace ts
