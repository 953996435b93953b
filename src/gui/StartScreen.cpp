#include "StartScreen.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace ts {

namespace {

// The banner: the program's mark and name on white.
QPixmap banner(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPixmap(QRect(14, 22, 72, 72), QIcon(QStringLiteral(":/icons/logo")).pixmap(72, 72));

    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(30, 60, 140));
    p.drawText(QRect(100, 14, size.width() - 110, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Topicsmith"));

    QFont sub(QStringLiteral("Liberation Sans"));
    sub.setPixelSize(16);
    p.setFont(sub);
    p.setPen(QColor(80, 80, 80));
    p.drawText(QRect(102, 68, size.width() - 110, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Authoring tool for Windows Help projects"));
    return pixmap;
}

} // namespace

TStartForm::TStartForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TStartForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(553, 123);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(8, 4, 537, 118);
    Image2->setPixmap(banner(QSize(537, 118)));

    Label2 = new QLabel(QStringLiteral("V1.1,  Loading..."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label2->adjustSize();
    Label2->move(width() - Label2->width() - 12, height() - Label2->height() - 8);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(0, 0, width(), height());
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TStartForm::showAndPaint()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
    QApplication::processEvents();
}

} // namespace ts
