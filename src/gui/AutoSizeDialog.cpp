#include "AutoSizeDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ts {

AutoSizeDialog::AutoSizeDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AutoSize"));
    setWindowTitle(QStringLiteral("Auto-Size"));
    setModal(true);
    // A sizeable frame with a title bar to drag it by, but no title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setSizeGripEnabled(true);

    resizeLabel = new QLabel(QStringLiteral("Resize and move this window,"), this);
    resizeLabel->setObjectName(QStringLiteral("resizeLabel"));
    okLabel = new QLabel(QStringLiteral("then click OK to take changes."), this);
    okLabel->setObjectName(QStringLiteral("okLabel"));
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(resizeLabel, 0, Qt::AlignHCenter);
    layout->addWidget(okLabel, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(okButton, 0, Qt::AlignHCenter);
    // Any size the user drags it to is taken, however small.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(1, 1);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
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
    if (!event->spontaneous() && wanted_.isValid())
        applyFrame();
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
