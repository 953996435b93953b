#include "AboutDialog.h"

#include "Banner.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>

namespace ts {

QString TAbout::authorEmail() { return QStringLiteral("authors@topicsmith.org"); }
QString TAbout::webPage() { return QStringLiteral("https://topicsmith.org/"); }

TAbout::TAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      OpenUrl([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("TAbout"));
    setWindowTitle(QStringLiteral("About Topicsmith"));
    setFixedSize(329, 109);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);

    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->installEventFilter(this);
        return l;
    };

    Image2 = label("Image2", QString());
    Image2->setGeometry(0, 0, 329, 70);
    Image2->setPixmap(ProgramBanner(QSize(329, 70)));
    Image2->setCursor(Qt::PointingHandCursor);

    Label1 = label("Label1", QStringLiteral("Version 1.1"));
    Label1->adjustSize();
    Label1->move(8, 70 - Label1->height() - 2);

    Label5 = label("Label5", QStringLiteral("Written by the Topicsmith authors"));
    Label5->adjustSize();
    Label5->move(329 - Label5->width() - 8, 70 - Label5->height() - 2);

    Image1 = label("Image1", QString());
    Image1->setGeometry(6, 74, 32, 32);
    Image1->setPixmap(QIcon(QStringLiteral(":/icons/logo")).pixmap(32, 32));

    Label2 = label("Label2", QStringLiteral("Close"));
    Label2->setGeometry(329 - 57 - 8, 82, 57, 17);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setAutoFillBackground(true);
    QPalette closeLook = Label2->palette();
    closeLook.setColor(QPalette::Window, Qt::black);
    closeLook.setColor(QPalette::WindowText, Qt::white);
    Label2->setPalette(closeLook);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label2->setCursor(Qt::PointingHandCursor);

    Label3 = label("Label3", authorEmail());
    Label3->adjustSize();
    Label3->move(46, 74);
    Label3->setCursor(Qt::PointingHandCursor);

    Label4 = label("Label4", webPage());
    Label4->adjustSize();
    Label4->move(46, 90);
    Label4->setCursor(Qt::PointingHandCursor);

    installEventFilter(this);
    highlight(nullptr);
}

void TAbout::showEvent(QShowEvent* event)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    highlight(nullptr);
    QDialog::showEvent(event);
}

void TAbout::setTextColor(QLabel* label, const QColor& color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
}

void TAbout::highlight(const QLabel* link)
{
    setTextColor(Label3, link == Label3 ? Qt::blue : Qt::black);
    setTextColor(Label4, link == Label4 ? Qt::blue : Qt::black);
}

bool TAbout::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        // The mouse over a link lights that link only; anywhere else in the
        // box both links are black.
        highlight(watched == Label3 || watched == Label4 ? static_cast<QLabel*>(watched) : nullptr);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        if (watched == Label3) {
            OpenUrl(QUrl(QStringLiteral("mailto:") + authorEmail() + QStringLiteral("?subject=Topicsmith")));
            return true;
        }
        if (watched == Label4) {
            OpenUrl(QUrl(Label4->text()));
            return true;
        }
        if (watched == Image2 || watched == Image1 || watched == Label2) {
            accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
