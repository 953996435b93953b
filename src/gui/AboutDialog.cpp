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

QString AboutDialog::authorEmail() { return QStringLiteral("authors@topicsmith.org"); }
QString AboutDialog::webPage() { return QStringLiteral("https://topicsmith.org/"); }

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      openUrl([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("AboutDialog"));
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

    banner = label("banner", QString());
    banner->setGeometry(0, 0, 329, 70);
    banner->setPixmap(programBanner(QSize(329, 70)));
    banner->setCursor(Qt::PointingHandCursor);

    versionLabel = label("versionLabel", QStringLiteral("Version " TOPICSMITH_VERSION));
    versionLabel->adjustSize();
    versionLabel->move(8, 70 - versionLabel->height() - 2);

    creditLabel = label("creditLabel", QStringLiteral("Written by the Topicsmith authors"));
    creditLabel->adjustSize();
    creditLabel->move(329 - creditLabel->width() - 8, 70 - creditLabel->height() - 2);

    iconLabel = label("iconLabel", QString());
    iconLabel->setGeometry(6, 74, 32, 32);
    iconLabel->setPixmap(QIcon(QStringLiteral(":/icons/logo")).pixmap(32, 32));

    closeLabel = label("closeLabel", QStringLiteral("Close"));
    closeLabel->setGeometry(329 - 57 - 8, 82, 57, 17);
    closeLabel->setAlignment(Qt::AlignCenter);
    closeLabel->setAutoFillBackground(true);
    QPalette closeLook = closeLabel->palette();
    closeLook.setColor(QPalette::Window, Qt::black);
    closeLook.setColor(QPalette::WindowText, Qt::white);
    closeLabel->setPalette(closeLook);
    QFont bold = closeLabel->font();
    bold.setBold(true);
    closeLabel->setFont(bold);
    closeLabel->setCursor(Qt::PointingHandCursor);

    emailLink = label("emailLink", authorEmail());
    emailLink->adjustSize();
    emailLink->move(46, 74);
    emailLink->setCursor(Qt::PointingHandCursor);

    webLink = label("webLink", webPage());
    webLink->adjustSize();
    webLink->move(46, 90);
    webLink->setCursor(Qt::PointingHandCursor);

    installEventFilter(this);
    highlight(nullptr);
}

void AboutDialog::showEvent(QShowEvent* event)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    highlight(nullptr);
    QDialog::showEvent(event);
}

void AboutDialog::setTextColour(QLabel* label, const QColor& colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

void AboutDialog::highlight(const QLabel* link)
{
    setTextColour(emailLink, link == emailLink ? Qt::blue : Qt::black);
    setTextColour(webLink, link == webLink ? Qt::blue : Qt::black);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        // The mouse over a link lights that link only; anywhere else in the
        // box both links are black.
        highlight(watched == emailLink || watched == webLink ? static_cast<QLabel*>(watched) : nullptr);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        if (watched == emailLink) {
            openUrl(QUrl(QStringLiteral("mailto:") + authorEmail() + QStringLiteral("?subject=Topicsmith")));
            return true;
        }
        if (watched == webLink) {
            openUrl(QUrl(webLink->text()));
            return true;
        }
        if (watched == banner || watched == iconLabel || watched == closeLabel) {
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
