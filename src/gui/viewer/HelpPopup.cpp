#include "HelpPopup.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace ts {

HelpPopup::HelpPopup(QWidget* parent) : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("helpPopup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    view_ = new HelpTopicView(this);
    view_->setObjectName(QStringLiteral("popupView"));
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A one-line pop-up is smaller than a scroll area likes to be.
    view_->setMinimumSize(1, 1);
    layout->addWidget(view_);
    view_->viewport()->installEventFilter(this);
    connect(view_, &HelpTopicView::anchorActivated, this, &HelpPopup::anchorActivated);
}

void HelpPopup::showDocument(QTextDocument* document, const QColor& background, const QPoint& globalPos,
                             int maximumWidth)
{
    view_->showDocument(document, background);
    QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    const int chrome = 2 * (frameWidth() + 1);
    const int widest = std::clamp(maximumWidth, 120, std::max(120, area.width() - 16));
    // As narrow as the text's longest line allows, as high as the text then is.
    document->setTextWidth(widest - chrome);
    const int textWidth = std::min(view_->idealWidth(), widest - chrome);
    document->setTextWidth(textWidth);
    const int height = std::min(int(std::ceil(document->size().height())) + chrome, area.height() - 16);
    resize(textWidth + chrome, height);
    // Centred below the click, kept inside the screen.
    QPoint topLeft(globalPos.x() - width() / 2, globalPos.y() + 4);
    topLeft.setX(std::clamp(topLeft.x(), area.left() + 4, std::max(area.left() + 4, area.right() - width() - 4)));
    if (topLeft.y() + height > area.bottom())
        topLeft.setY(std::max(area.top() + 4, globalPos.y() - height - 4));
    move(topLeft);
    show();
    view_->setFocus();
}

void HelpPopup::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

// A click on the text that is not on a hotspot closes the pop-up, as in WinHelp.
bool HelpPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (view_->anchorAt(mouse->pos()).isEmpty()) {
            close();
            return true;
        }
    }
    if (watched == view_->viewport() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace ts
#include "moc_HelpPopup.cpp"
