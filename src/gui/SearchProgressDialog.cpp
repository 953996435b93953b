#include "SearchProgressDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace ts {

TSearchPBForm::TSearchPBForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TSearchPBForm"));
    setWindowTitle(QStringLiteral("Searching..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(6);
    Label1 = new QLabel(QStringLiteral("Searching topics..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    layout->addWidget(Label1);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, Maximum);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(260);
    layout->addWidget(ProgressBar1);
    setFixedSize(sizeHint());
}

void TSearchPBForm::setText(const QString& text)
{
    Label1->setText(text);
    if (isVisible())
        Label1->repaint();
}

QString TSearchPBForm::text() const
{
    return Label1->text();
}

void TSearchPBForm::setValue(int value)
{
    ProgressBar1->setValue(qBound(0, value, Maximum));
    if (isVisible())
        ProgressBar1->repaint();
}

int TSearchPBForm::value() const
{
    return ProgressBar1->value();
}

void TSearchPBForm::showAndPaint()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
    // The window system maps the window only from the event loop; user input
    // stays queued so nothing else starts while the work runs.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSearchPBForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

} // namespace ts
