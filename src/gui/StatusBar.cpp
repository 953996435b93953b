#include "StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace ts {

namespace {
constexpr int PanelWidths[TFriendlyStatusBar::PanelCount] = {200, 100, 200, 200};
constexpr int ProgressLeft = 300;
constexpr int ProgressWidth = 201;
} // namespace

TFriendlyStatusBar::TFriendlyStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("SB"));
    // The panels sit in one container so that their widths are exact and the
    // progress bar can be laid over the third one.
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < PanelCount; ++i) {
        auto* panel = new QLabel(row);
        panel->setObjectName(QStringLiteral("SBPanel%1").arg(i));
        panel->setFixedWidth(PanelWidths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(2, 0, 2, 0);
        panel->setAlignment((i == 1 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        layout->addWidget(panel);
        panels_[i] = panel;
    }
    layout->addStretch(1);
    // A narrow window clips the panels instead of refusing to shrink.
    row->setMinimumWidth(1);
    addWidget(row, 1);

    PB = new QProgressBar(this);
    PB->setObjectName(QStringLiteral("PB"));
    PB->setRange(0, 100);
    PB->setValue(0);
    PB->setTextVisible(false);
    placeProgressBar();
}

QString TFriendlyStatusBar::panelText(int panel) const
{
    return panels_[panel]->text();
}

void TFriendlyStatusBar::setPanelText(int panel, const QString& text)
{
    if (panels_[panel]->text() == text)
        return;
    panels_[panel]->setText(text);
    if (isVisible())
        panels_[panel]->repaint();
}

void TFriendlyStatusBar::advance(int step)
{
    if (step == 0)
        return;
    PB->setValue(qMin(PB->maximum(), PB->value() + step));
    if (PB->isVisible())
        PB->repaint();
}

void TFriendlyStatusBar::finishActivity()
{
    setPanelText(1, QString());
    PB->setValue(0);
}

void TFriendlyStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    placeProgressBar();
}

void TFriendlyStatusBar::placeProgressBar()
{
    const int margin = 2;
    PB->setGeometry(ProgressLeft, margin, ProgressWidth, qMax(1, height() - 2 * margin));
    PB->raise();
}

} // namespace ts
