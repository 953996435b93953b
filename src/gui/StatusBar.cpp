#include "StatusBar.h"

#include "helpfile/HelpCompiler.h"
#include "helpsource/CntWriter.h"
#include "helpsource/HpjWriter.h"
#include "helpsource/TopicFileWriter.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace ts {

namespace {
constexpr int PanelWidths[StatusBar::PanelCount] = {200, 100, 200, 200};
constexpr int ProgressWidth = 201;

// What the long commands say in panel 1 while they run.
QStringList activityTexts()
{
    return {QStringLiteral("Loading project..."), QStringLiteral("Saving project..."),
            QStringLiteral("Spell Checking..."), QStringLiteral("Updating links..."), HelpCompileStatusText,
            CntWriter::StatusText, HpjWriter::StatusText, TopicFileWriter::StatusText};
}

// The width at which `panel` shows `text` whole.
int widthFor(const QLabel& panel, const QString& text)
{
    const QMargins m = panel.contentsMargins();
    return QFontMetrics(panel.font()).horizontalAdvance(text) + m.left() + m.right() + 2 * panel.frameWidth() + 4;
}
} // namespace

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("statusBar"));
    // The panels sit in one container so that their widths are exact and the
    // progress bar can be laid over the third one.
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < PanelCount; ++i) {
        auto* panel = new QLabel(row);
        panel->setObjectName(QStringLiteral("SBPanel%1").arg(i));
        // The last panel reports results (a compile's summary) and takes the
        // room left over; in a narrow window it is the one that gives way,
        // so the panels before it keep their widths.
        if (i == PanelCount - 1)
            panel->setMinimumWidth(1);
        else
            panel->setFixedWidth(PanelWidths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(2, 0, 2, 0);
        panel->setAlignment((i == 1 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        layout->addWidget(panel, i == PanelCount - 1 ? 1 : 0);
        panels_[i] = panel;
    }
    // The activity panel is as wide as the longest thing a command says.
    int activityWidth = PanelWidths[1];
    for (const QString& text : activityTexts())
        activityWidth = qMax(activityWidth, widthFor(*panels_[1], text));
    panels_[1]->setFixedWidth(activityWidth);
    addWidget(row, 1);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    // An idle bar would only draw an empty box.
    progressBar->hide();
    placeProgressBar();
    // The bar follows the third panel wherever the layout puts it.
    panels_[2]->installEventFilter(this);
    panels_[ResultPanel]->installEventFilter(this);
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panels_[2] && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeProgressBar();
    if (watched == panels_[ResultPanel] && event->type() == QEvent::Resize)
        showWhole(ResultPanel);
    return QStatusBar::eventFilter(watched, event);
}

QString StatusBar::panelText(int panel) const
{
    return isShortened(panel) ? whole_[panel] : panels_[panel]->text();
}

void StatusBar::showWhole(int index)
{
    // The result panel is the one that gives way in a narrow window: a
    // result longer than its room ends in "..."; a long project name loses
    // its middle, so that its end stays in view.
    QLabel& panel = *panels_[index];
    const QString& whole = whole_[index];
    const QString shown = panel.fontMetrics().elidedText(whole, index == 0 ? Qt::ElideMiddle : Qt::ElideRight,
                                                         panel.contentsRect().width());
    panel.setText(shown);
    panel.setToolTip(shown == whole ? QString() : whole);
}

void StatusBar::setPanelText(int panel, const QString& text)
{
    if (isShortened(panel)) {
        whole_[panel] = text;
        showWhole(panel);
        return;
    }
    if (panels_[panel]->text() == text)
        return;
    // A text longer than foreseen widens the activity panel rather than
    // being cut off.
    if (panel == 1 && widthFor(*panels_[1], text) > panels_[1]->width()) {
        panels_[1]->setFixedWidth(widthFor(*panels_[1], text));
        placeProgressBar();
    }
    panels_[panel]->setText(text);
    if (isVisible())
        panels_[panel]->repaint();
}

void StatusBar::advance(int step)
{
    if (step == 0)
        return;
    progressBar->setValue(qMin(progressBar->maximum(), progressBar->value() + step));
    progressBar->show();
    if (isVisible())
        progressBar->repaint();
}

void StatusBar::finishActivity()
{
    setPanelText(1, QString());
    progressBar->setValue(0);
    progressBar->hide();
}

void StatusBar::showResult(const QString& text)
{
    setPanelText(ResultPanel, text);
    showMessage(text, ResultShownMs);
}

void StatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    placeProgressBar();
}

void StatusBar::placeProgressBar()
{
    const int margin = 2;
    // Over the third panel. Until the layout has placed it, it starts where
    // the first two panels end.
    const int laidOut = panels_[2]->mapTo(this, QPoint(0, 0)).x();
    const int left = qMax(laidOut, panels_[0]->mapTo(this, QPoint(0, 0)).x() + panels_[0]->width() + panels_[1]->width());
    progressBar->setGeometry(left, margin, ProgressWidth, qMax(1, height() - 2 * margin));
    progressBar->raise();
}

} // namespace ts
