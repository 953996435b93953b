#include "SearchProgressDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace ts {

SearchProgressDialog::SearchProgressDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SearchProgressDialog"));
    setWindowTitle(QStringLiteral("Searching..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(6);
    textLabel = new QLabel(QStringLiteral("Searching topics..."), this);
    textLabel->setObjectName(QStringLiteral("textLabel"));
    textLabel->setTextFormat(Qt::PlainText);
    layout->addWidget(textLabel);
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setRange(0, Maximum);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    progressBar->setMinimumWidth(260);
    layout->addWidget(progressBar);
    setFixedSize(sizeHint());
}

void SearchProgressDialog::setText(const QString& text)
{
    textLabel->setText(text);
    if (isVisible())
        textLabel->repaint();
}

QString SearchProgressDialog::text() const
{
    return textLabel->text();
}

void SearchProgressDialog::setValue(int value)
{
    progressBar->setValue(qBound(0, value, Maximum));
    if (isVisible())
        progressBar->repaint();
}

int SearchProgressDialog::value() const
{
    return progressBar->value();
}

void SearchProgressDialog::showAndPaint()
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

void SearchProgressDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

} // namespace ts
