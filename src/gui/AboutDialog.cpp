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

    banner_ = label("banner", QString());
    banner_->setGeometry(0, 0, 329, 70);
    banner_->setPixmap(programBanner(QSize(329, 70)));
    banner_->setCursor(Qt::PointingHandCursor);

    versionLabel_ = label("versionLabel", QStringLiteral("Version " TOPICSMITH_VERSION));
    versionLabel_->adjustSize();
    versionLabel_->move(8, 70 - versionLabel_->height() - 2);

    creditLabel_ = label("creditLabel", QStringLiteral("Written by the Topicsmith authors"));
    creditLabel_->adjustSize();
    creditLabel_->move(329 - creditLabel_->width() - 8, 70 - creditLabel_->height() - 2);

    iconLabel_ = label("iconLabel", QString());
    iconLabel_->setGeometry(6, 74, 32, 32);
    iconLabel_->setPixmap(QIcon(QStringLiteral(":/icons/logo")).pixmap(32, 32));

    closeLabel_ = label("closeLabel", QStringLiteral("Close"));
    closeLabel_->setGeometry(329 - 57 - 8, 82, 57, 17);
    closeLabel_->setAlignment(Qt::AlignCenter);
    closeLabel_->setAutoFillBackground(true);
    QPalette closeLook = closeLabel_->palette();
    closeLook.setColor(QPalette::Window, Qt::black);
    closeLook.setColor(QPalette::WindowText, Qt::white);
    closeLabel_->setPalette(closeLook);
    QFont bold = closeLabel_->font();
    bold.setBold(true);
    closeLabel_->setFont(bold);
    closeLabel_->setCursor(Qt::PointingHandCursor);

    emailLink_ = label("emailLink", authorEmail());
    emailLink_->adjustSize();
    emailLink_->move(46, 74);
    emailLink_->setCursor(Qt::PointingHandCursor);

    webLink_ = label("webLink", webPage());
    webLink_->adjustSize();
    webLink_->move(46, 90);
    webLink_->setCursor(Qt::PointingHandCursor);

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
    setTextColour(emailLink_, link == emailLink_ ? Qt::blue : Qt::black);
    setTextColour(webLink_, link == webLink_ ? Qt::blue : Qt::black);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        // The mouse over a link lights that link only; anywhere else in the
        // box both links are black.
        highlight(watched == emailLink_ || watched == webLink_ ? static_cast<QLabel*>(watched) : nullptr);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        if (watched == emailLink_) {
            openUrl(QUrl(QStringLiteral("mailto:") + authorEmail() + QStringLiteral("?subject=Topicsmith")));
            return true;
        }
        if (watched == webLink_) {
            openUrl(QUrl(webLink_->text()));
            return true;
        }
        if (watched == banner_ || watched == iconLabel_ || watched == closeLabel_) {
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
