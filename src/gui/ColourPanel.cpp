#include "ColourPanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace ts {

namespace {

QColor fromColourRef(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

ColourPanel::ColourPanel(const QString& hint, QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setMinimumHeight(32);
    auto* caption = new QLabel(hint, this);
    caption->setAlignment(Qt::AlignCenter);
    caption->setWordWrap(true);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(caption);
    setColour(0);
}

void ColourPanel::setColour(std::uint32_t colour)
{
    colour_ = colour & 0xFFFFFFu;
    const QColor c = fromColourRef(colour_);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, c);
    // The caption stays readable on dark and light colours alike.
    pal.setColor(QPalette::WindowText, c.lightness() < 128 ? Qt::white : Qt::black);
    setPalette(pal);
}

void ColourPanel::mouseReleaseEvent(QMouseEvent* event)
{
    QFrame::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void ColourPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        event->accept();
        emit clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

// A thicker frame shows a keyboard user which panel Space acts on.
void ColourPanel::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    setLineWidth(3);
}

void ColourPanel::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    setLineWidth(1);
}

} // namespace ts
