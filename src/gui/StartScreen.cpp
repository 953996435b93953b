#include "StartScreen.h"

#include "Banner.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace ts {

StartScreen::StartScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("StartScreen"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(553, 123);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    banner = new QLabel(this);
    banner->setObjectName(QStringLiteral("banner"));
    banner->setGeometry(8, 4, 537, 118);
    banner->setPixmap(programBanner(QSize(537, 118)));

    versionLabel = new QLabel(QStringLiteral("V" TOPICSMITH_VERSION ", Loading..."), this);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    QFont bold = versionLabel->font();
    bold.setBold(true);
    versionLabel->setFont(bold);
    versionLabel->adjustSize();
    versionLabel->move(width() - versionLabel->width() - 12, height() - versionLabel->height() - 8);

    frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("frame"));
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(0, 0, width(), height());
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void StartScreen::showAndPaint()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
    QApplication::processEvents();
}

} // namespace ts
