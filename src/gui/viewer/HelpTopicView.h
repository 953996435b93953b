#pragma once
// One region of a help window: a read-only text view over a rendered topic
// region, in the region's background colour. A click on a hotspot (or Enter
// on the one that Tab brought the focus to) is reported with where it
// happened, for pop-ups to open there; Backspace asks to go back.
//
// The non-scrolling region is "fitted": it never scrolls and is as high as
// its text at the current width.

#include "HelpTopicRenderer.h"

#include <QTextBrowser>

namespace ts {

class HelpTopicView : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpTopicView(QWidget* parent = nullptr);

    // Shows `document` (the view takes it) on `background`.
    void showDocument(QTextDocument* document, const QColor& background);
    QColor background() const { return background_; }

    // As high as the text, no scroll bars (the non-scrolling band, pop-ups).
    void setFitted(bool fitted);
    int fittedHeight() const;
    // The width the text needs without wrapping, for sizing pop-ups.
    int idealWidth() const;

    // The anchor at a point of the viewport, as the hotspot it names; for a
    // picture with hotspot areas, `pictureOffset` gets the point inside it.
    HelpAnchor anchorAtPoint(const QPoint& viewportPoint, QPoint* pictureOffset = nullptr) const;

signals:
    void anchorActivated(const ts::HelpAnchor& anchor, const QPoint& pictureOffset, const QPoint& globalPos);
    void backRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void followFocusedAnchor(const QUrl& link);
    void updateFittedHeight();
    // Where the image at document position `position` lies, in document coordinates.
    QRectF imageRect(int position) const;

    QColor background_ = Qt::white;
    bool fitted_ = false;
    QPoint pressedAt_;
    bool pressedOnAnchor_ = false;
};

} // namespace ts
