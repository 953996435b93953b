#include "LogViewer.h"

#include "Prompter.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace ts {

namespace {

constexpr int FormWidth = 511;
constexpr int FormHeight = 379;
constexpr int HeaderHeight = 29;

// A small printer for the print button: paper above, the body, the tray.
QIcon printerIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(Qt::white);
    p.drawRect(9, 3, 14, 11);
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(3, 13, 26, 11);
    p.setBrush(Qt::white);
    p.drawRect(8, 20, 16, 9);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(11, 23, 21, 23);
    p.drawLine(11, 26, 19, 26);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 160, 0));
    p.drawRect(24, 16, 2, 2);
    return QIcon(pixmap);
}

} // namespace

LogViewer::LogViewer(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("LogViewer"));
    setWindowTitle(QStringLiteral("Last Compile Information"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    resize(FormWidth, FormHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    headerLabel = new QLabel(QStringLiteral("  Nothing compiled yet!"), this);
    headerLabel->setObjectName(QStringLiteral("headerLabel"));
    headerLabel->setFixedHeight(HeaderHeight);
    headerLabel->setFrameShape(QFrame::Panel);
    headerLabel->setFrameShadow(QFrame::Raised);
    headerLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    headerLabel->setTextFormat(Qt::PlainText);
    // A long path does not widen the form; its end may go under the button.
    headerLabel->setMinimumWidth(1);
    layout->addWidget(headerLabel);

    printButtonPanel_ = new QFrame(headerLabel);
    printButtonPanel_->setObjectName(QStringLiteral("printButtonPanel"));
    auto* buttonRow = new QHBoxLayout(printButtonPanel_);
    buttonRow->setContentsMargins(1, 1, 1, 1);
    printButton_ = new QToolButton(printButtonPanel_);
    printButton_->setObjectName(QStringLiteral("printButton"));
    printButton_->setToolTip(QStringLiteral("Print!"));
    printButton_->setIcon(printerIcon());
    printButton_->setIconSize(QSize(18, 18));
    printButton_->setAutoRaise(true);
    buttonRow->addWidget(printButton_);
    headerLabel->installEventFilter(this);

    auto* textFrame = new QFrame(this);
    textFrame->setObjectName(QStringLiteral("textFrame"));
    textFrame->setFrameShape(QFrame::Panel);
    textFrame->setFrameShadow(QFrame::Sunken);
    auto* frame = new QVBoxLayout(textFrame);
    frame->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(textFrame, 1);

    // Display only, yet scrollable and selectable from the keyboard so that
    // a long log can be read and copied.
    textView_ = new QTextEdit(textFrame);
    textView_->setObjectName(QStringLiteral("textView"));
    textView_->setReadOnly(true);
    textView_->setAcceptRichText(false);
    textView_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    textView_->setLineWrapMode(QTextEdit::NoWrap);
    textView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textView_->setTabChangesFocus(true);
    {
        QPalette pal = textView_->palette();
        const QColor face = QApplication::palette().color(QPalette::Button);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Base, face);
        textView_->setPalette(pal);
    }
    frame->addWidget(textView_);

    connect(printButton_, &QToolButton::clicked, this, &LogViewer::print);
    auto* printKey = new QShortcut(QKeySequence::Print, this);
    connect(printKey, &QShortcut::activated, this, &LogViewer::print);

    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void LogViewer::setText(const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    textView_->setPlainText(plain);
}

QString LogViewer::text() const
{
    return textView_->toPlainText();
}

void LogViewer::placeCentred()
{
    resize(FormWidth, FormHeight);
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void LogViewer::showEvent(QShowEvent* event)
{
    // Centred the first time; afterwards it opens where the user left it.
    if (!placed_) {
        placed_ = true;
        placeCentred();
    }
    QDialog::showEvent(event);
    textView_->setFocus();
    placePrintButton();
}

void LogViewer::print()
{
    prompter_.print(this, *textView_->document(), headerLabel->text());
}

bool LogViewer::handleKey(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    reject();
    return true;
}

void LogViewer::placePrintButton()
{
    const QSize hint = printButtonPanel_->sizeHint();
    const int height = qMin(hint.height(), headerLabel->height());
    printButtonPanel_->setGeometry(headerLabel->width() - hint.width() - 2, (headerLabel->height() - height) / 2, hint.width(), height);
}

bool LogViewer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && handleKey(static_cast<QKeyEvent*>(event)->key()))
            return true;
    } else if (watched == headerLabel && event->type() == QEvent::Resize) {
        placePrintButton();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
