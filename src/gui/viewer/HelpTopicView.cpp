#include "HelpTopicView.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace ts {

HelpTopicView::HelpTopicView(QWidget* parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setFrameShape(QFrame::NoFrame);
    setTextInteractionFlags(Qt::TextBrowserInteraction);
    // Mouse clicks are handled on release (to know the point inside a
    // picture); anchorClicked then only comes from the keyboard.
    connect(this, &QTextBrowser::anchorClicked, this, &HelpTopicView::followFocusedAnchor);
}

void HelpTopicView::showDocument(QTextDocument* document, const QColor& background)
{
    // The view owns the document; setDocument deletes the one it owned before.
    document->setParent(this);
    setDocument(document);
    background_ = background;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, Qt::black);
    setPalette(palette);
    viewport()->setAutoFillBackground(true);
    updateFittedHeight();
}

void HelpTopicView::setFitted(bool fitted)
{
    fitted_ = fitted;
    const auto policy = fitted ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    setVerticalScrollBarPolicy(policy);
    setHorizontalScrollBarPolicy(policy);
    updateFittedHeight();
}

int HelpTopicView::fittedHeight() const
{
    return int(std::ceil(document()->size().height())) + frameWidth() * 2;
}

int HelpTopicView::idealWidth() const
{
    return int(std::ceil(document()->idealWidth() + document()->documentMargin())) + frameWidth() * 2 + 2;
}

void HelpTopicView::updateFittedHeight()
{
    if (!fitted_)
        return;
    document()->setTextWidth(viewport()->width());
    setFixedHeight(document()->isEmpty() ? 0 : fittedHeight());
}

void HelpTopicView::resizeEvent(QResizeEvent* event)
{
    QTextBrowser::resizeEvent(event);
    updateFittedHeight();
}

void HelpTopicView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
        emit backRequested();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

QRectF HelpTopicView::imageRect(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    const QTextLayout* layout = block.layout();
    if (!layout)
        return {};
    const int inBlock = position - block.position();
    const QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid())
        return {};
    QTextCursor cursor(document());
    cursor.setPosition(position + 1);
    const QTextImageFormat image = cursor.charFormat().toImageFormat();
    const QRectF blockRect = document()->documentLayout()->blockBoundingRect(block);
    const qreal x = blockRect.x() + line.cursorToX(inBlock);
    const qreal baseline = blockRect.y() + line.y() + line.ascent();
    return QRectF(x, baseline - image.height(), image.width(), image.height());
}

HelpAnchor HelpTopicView::anchorAtPoint(const QPoint& viewportPoint, QPoint* pictureOffset) const
{
    const HelpAnchor anchor = HelpAnchor::parse(anchorAt(viewportPoint));
    if (anchor.kind == HelpAnchor::Kind::Picture && pictureOffset) {
        const QPointF inDocument =
            viewportPoint + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
        const int position = document()->documentLayout()->hitTest(inDocument, Qt::FuzzyHit);
        // The hit lands before or after the picture's character.
        for (int at : {position, position - 1}) {
            const QRectF rect = imageRect(at);
            if (rect.contains(inDocument)) {
                *pictureOffset = (inDocument - rect.topLeft()).toPoint();
                break;
            }
        }
    }
    return anchor;
}

void HelpTopicView::mousePressEvent(QMouseEvent* event)
{
    pressedAt_ = event->pos();
    pressedOnAnchor_ = event->button() == Qt::LeftButton && !anchorAt(event->pos()).isEmpty();
    QTextBrowser::mousePressEvent(event);
}

void HelpTopicView::mouseReleaseEvent(QMouseEvent* event)
{
    if (pressedOnAnchor_ && event->button() == Qt::LeftButton
        && (event->pos() - pressedAt_).manhattanLength() < 4) {
        pressedOnAnchor_ = false;
        QPoint offset;
        const HelpAnchor anchor = anchorAtPoint(event->pos(), &offset);
        if (anchor.kind != HelpAnchor::Kind::None) {
            // Leave no selection behind, and take the click from the base.
            QTextCursor cursor = textCursor();
            cursor.clearSelection();
            setTextCursor(cursor);
            emit anchorActivated(anchor, offset, event->globalPosition().toPoint());
            return;
        }
    }
    pressedOnAnchor_ = false;
    QTextBrowser::mouseReleaseEvent(event);
}

void HelpTopicView::followFocusedAnchor(const QUrl& link)
{
    const HelpAnchor anchor = HelpAnchor::parse(link.toString());
    const QRect caret = cursorRect();
    emit anchorActivated(anchor, QPoint(), viewport()->mapToGlobal(caret.bottomLeft()));
}

} // namespace ts
#include "moc_HelpTopicView.cpp"
