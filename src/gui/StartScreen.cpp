#include "StartScreen.h"

#include "Banner.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace ts {

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
    Image2->setPixmap(ProgramBanner(QSize(537, 118)));

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
