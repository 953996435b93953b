#pragma once
// A pop-up topic: a small borderless window sized to its text (up to a
// maximum width), placed below the click and kept on the screen. A click
// on it (outside a hotspot), a click elsewhere or Escape closes it; a hotspot
// in it is reported to the viewer, which closes it and follows the hotspot.

#include "HelpTopicView.h"

#include <QFrame>

namespace ts {

class HelpPopup : public QFrame {
    Q_OBJECT
public:
    explicit HelpPopup(QWidget* parent = nullptr);

    // Shows `document` (taken) on `background` near `globalPos`, at most
    // `maximumWidth` wide.
    void showDocument(QTextDocument* document, const QColor& background, const QPoint& globalPos, int maximumWidth);

    // The topic text, for the tests.
    HelpTopicView* view() const { return view_; }
    int topic = -1;

signals:
    void anchorActivated(const ts::HelpAnchor& anchor, const QPoint& pictureOffset, const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpTopicView* view_ = nullptr;
};

} // namespace ts
