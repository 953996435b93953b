#include "AutoSizeDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace ts {

namespace {
// How often and how long the sample is watched after it is shown, while the
// window manager frames and places it.
constexpr int SettleInterval = 25;
constexpr int SettleMaxTicks = 80;
// The frame stays the same this many ticks before it counts as settled.
constexpr int StableTicks = 4;
// Without a frame from the window manager by then, the sample has none.
constexpr int UnframedTicks = 12;
} // namespace

AutoSizeDialog::AutoSizeDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AutoSize"));
    setWindowTitle(QStringLiteral("Auto-Size"));
    setModal(true);
    // A sizeable frame with a title bar to drag it by, but no title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setSizeGripEnabled(true);

    auto* resizeLabel = new QLabel(QStringLiteral("Resize and move this window,"), this);
    resizeLabel->setObjectName(QStringLiteral("resizeLabel"));
    auto* okLabel = new QLabel(QStringLiteral("then click OK to keep the changes."), this);
    okLabel->setObjectName(QStringLiteral("okLabel"));
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(resizeLabel, 0, Qt::AlignHCenter);
    layout->addWidget(okLabel, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(okButton_, 0, Qt::AlignHCenter);
    // Any size the user drags it to is taken, however small.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(1, 1);

    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    settleTimer_ = new QTimer(this);
    settleTimer_->setInterval(SettleInterval);
    connect(settleTimer_, &QTimer::timeout, this, &AutoSizeDialog::settle);
}

void AutoSizeDialog::setFrame(const QRect& frame)
{
    wanted_ = frame;
    applyFrame();
}

void AutoSizeDialog::applyFrame()
{
    // The frame's margins are known once the window is on the screen; until
    // then they count as none, and the frame is applied again when shown.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const int extraWidth = qMax(0, outer.width() - inner.width());
    const int extraHeight = qMax(0, outer.height() - inner.height());
    move(wanted_.topLeft());
    resize(qMax(1, wanted_.width() - extraWidth), qMax(1, wanted_.height() - extraHeight));
}

void AutoSizeDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (wanted_.isValid())
        applyFrame();
    settled_ = frameGeometry();
    framed_ = false;
    settleTicks_ = 0;
    stableTicks_ = 0;
    settleTimer_->start();
}

QRect AutoSizeDialog::frame() const
{
    return isVisible() ? frameGeometry() : closedFrame_;
}

bool AutoSizeDialog::frameChanged() const
{
    return !settled_.isValid() || frame() != settled_;
}

void AutoSizeDialog::done(int result)
{
    // Hidden, the window no longer has the frame the user saw.
    closedFrame_ = frameGeometry();
    settleTimer_->stop();
    QDialog::done(result);
}

void AutoSizeDialog::settle()
{
    ++settleTicks_;
    if (!isVisible() || settleTicks_ > SettleMaxTicks) {
        settleTimer_->stop();
        return;
    }
    // A window manager adds its frame some time after the window is shown;
    // the frame is placed again then, so that the outer frame, not the
    // inside, covers the wanted rectangle.
    if (!framed_ && frameGeometry().size() != geometry().size()) {
        framed_ = true;
        if (wanted_.isValid())
            applyFrame();
        stableTicks_ = 0;
        settled_ = frameGeometry();
        return;
    }
    const QRect now = frameGeometry();
    if (now != settled_) {
        settled_ = now;
        stableTicks_ = 0;
        return;
    }
    if (++stableTicks_ >= StableTicks && (framed_ || settleTicks_ >= UnframedTicks))
        settleTimer_->stop();
}

void AutoSizeDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ts
