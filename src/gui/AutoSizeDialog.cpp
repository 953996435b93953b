#include "AutoSizeDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ts {

TAutoSize::TAutoSize(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AutoSize"));
    setWindowTitle(QStringLiteral("Auto-Size"));
    setModal(true);
    // A sizeable frame with a title bar to drag it by, but no title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setSizeGripEnabled(true);

    Label1 = new QLabel(QStringLiteral("Resize and move this window,"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("then click OK to take changes."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    layout->addWidget(Label2, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    // Any size the user drags it to is taken, however small.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(1, 1);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TAutoSize::setFrame(const QRect& frame)
{
    wanted_ = frame;
    applyFrame();
}

void TAutoSize::applyFrame()
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

void TAutoSize::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && wanted_.isValid())
        applyFrame();
}

void TAutoSize::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ts
