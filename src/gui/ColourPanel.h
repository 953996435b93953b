#pragma once

#include <QFrame>

#include <cstdint>

namespace ts {

// A colour swatch that acts on a click (or Space when it has the focus).
// Its colour is 0x00BBGGRR.
class ColourPanel : public QFrame {
    Q_OBJECT

public:
    ColourPanel(const QString& hint, QWidget* parent = nullptr);
    std::uint32_t colour() const { return colour_; }
    void setColour(std::uint32_t colour);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::uint32_t colour_ = 0;
};

} // namespace ts
