#include "LogDialog.h"

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

TLogForm::TLogForm(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("TLogForm"));
    setWindowTitle(QStringLiteral("Last Compile Information"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    resize(FormWidth, FormHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QLabel(QStringLiteral("  Nothing Compiled yet!"), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(HeaderHeight);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel1->setTextFormat(Qt::PlainText);
    // A long path does not widen the form; its end may go under the button.
    Panel1->setMinimumWidth(1);
    layout->addWidget(Panel1);

    Panel3 = new QFrame(Panel1);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto* buttonRow = new QHBoxLayout(Panel3);
    buttonRow->setContentsMargins(1, 1, 1, 1);
    SpeedButton1 = new QToolButton(Panel3);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setToolTip(QStringLiteral("Print!"));
    SpeedButton1->setIcon(printerIcon());
    SpeedButton1->setIconSize(QSize(18, 18));
    SpeedButton1->setAutoRaise(true);
    buttonRow->addWidget(SpeedButton1);
    Panel1->installEventFilter(this);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Sunken);
    auto* frame = new QVBoxLayout(Panel2);
    frame->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(Panel2, 1);

    // Display only, yet scrollable and selectable from the keyboard so that
    // a long log can be read and copied.
    RichEdit1 = new QTextEdit(Panel2);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setTabChangesFocus(true);
    {
        QPalette pal = RichEdit1->palette();
        const QColor face = QApplication::palette().color(QPalette::Button);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Base, face);
        RichEdit1->setPalette(pal);
    }
    frame->addWidget(RichEdit1);

    connect(SpeedButton1, &QToolButton::clicked, this, &TLogForm::SpeedButton1Click);
    auto* printKey = new QShortcut(QKeySequence::Print, this);
    connect(printKey, &QShortcut::activated, this, &TLogForm::SpeedButton1Click);

    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void TLogForm::setText(const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    RichEdit1->setPlainText(plain);
}

QString TLogForm::text() const
{
    return RichEdit1->toPlainText();
}

void TLogForm::placeCentred()
{
    resize(FormWidth, FormHeight);
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void TLogForm::showEvent(QShowEvent* event)
{
    // Centred the first time; afterwards it opens where the user left it.
    if (!placed_) {
        placed_ = true;
        placeCentred();
    }
    QDialog::showEvent(event);
    RichEdit1->setFocus();
    placePrintButton();
}

void TLogForm::SpeedButton1Click()
{
    prompter_.print(this, *RichEdit1->document(), Panel1->text());
}

bool TLogForm::FormKeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    reject();
    return true;
}

void TLogForm::placePrintButton()
{
    const QSize hint = Panel3->sizeHint();
    const int height = qMin(hint.height(), Panel1->height());
    Panel3->setGeometry(Panel1->width() - hint.width() - 2, (Panel1->height() - height) / 2, hint.width(), height);
}

bool TLogForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
            return true;
    } else if (watched == Panel1 && event->type() == QEvent::Resize) {
        placePrintButton();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
