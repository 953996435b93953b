#include "ContextHelp.h"

#include "HelpPages.h"
#include "HelpWindow.h"
#include "WindowPlacer.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QHelpEvent>
#include <QIcon>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QWhatsThis>
#include <QWhatsThisClickedEvent>
#include <QWidget>

namespace ts {

namespace {

const char* const contextProperty = "helpContext";
const char* const placedProperty = "placedOnScreen";

// Qt's What's This pop-up; F1 in it opens the page it came from.
bool isWhatsThisPopup(const QObject* object)
{
    return object && object->inherits("QWhatsThat");
}

bool isWithin(const QWidget* widget, const QWidget* ancestor)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w == ancestor)
            return true;
    return false;
}

// The help window opens whole on the screen of the window asking for it
// the first time, in its middle; later where the user left it. It is never
// larger than the screen.
void placeHelpWindow(QWidget& window)
{
    if (!window.property(placedProperty).toBool()) {
        const QWidget* asking = QApplication::activeWindow();
        if (const QScreen* screen = asking ? asking->screen() : QGuiApplication::primaryScreen()) {
            QRect bounds = window.frameGeometry();
            bounds.moveCenter(screen->availableGeometry().center());
            window.move(bounds.topLeft());
        }
        window.setProperty(placedProperty, true);
    }
    keepOnScreen(window);
}

} // namespace

ContextHelp::ContextHelp(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("contextHelp"));
}

ContextHelp* ContextHelp::forApplication()
{
    Q_ASSERT(qApp);
    if (auto* existing = qApp->findChild<ContextHelp*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    auto* help = new ContextHelp(qApp);
    qApp->installEventFilter(help);
    return help;
}

int ContextHelp::contextNumber(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const int n = w->property(contextProperty).toInt();
        if (n > 0)
            return n;
    }
    return 0;
}

bool ContextHelp::answersWithPopup(const QWidget* widget)
{
    return widget && widget->window()->windowFlags().testFlag(Qt::WindowContextHelpButtonHint);
}

bool ContextHelp::showHelpFor(QWidget* widget, const QPoint& globalPos)
{
    const HelpPage* page = HelpPages::builtIn().pageForContext(contextNumber(widget));
    if (!page)
        return false;
    if (answersWithPopup(widget))
        showPopup(widget, page->file, globalPos);
    else
        showPage(page->file);
    return true;
}

bool ContextHelp::showNoteFor(QWidget* widget, const QPoint& globalPos)
{
    const HelpPage* page = HelpPages::builtIn().pageForContext(contextNumber(widget));
    if (!page)
        return false;
    showPopup(widget, page->file, globalPos);
    return true;
}

bool ContextHelp::offerWhatsThis(QDialog* dialog, const QContextMenuEvent& event)
{
    QWidget* target = dialog->childAt(event.pos());
    if (!target)
        target = dialog;
    if (!HelpPages::builtIn().pageForContext(contextNumber(target)))
        return false;
    showMenuWithWhatsThis(new QMenu(dialog), target, event.globalPos());
    return true;
}

bool ContextHelp::offerWhatsThis(QLineEdit* field, const QContextMenuEvent& event)
{
    if (field->contextMenuPolicy() != Qt::DefaultContextMenu || !qobject_cast<QDialog*>(field->window())
        || !HelpPages::builtIn().pageForContext(contextNumber(field)))
        return false;
    showMenuWithWhatsThis(field->createStandardContextMenu(), field, event.globalPos());
    return true;
}

void ContextHelp::showMenuWithWhatsThis(QMenu* menu, QWidget* target, const QPoint& globalPos)
{
    // The menu belongs to a widget that may go while the menu is open (the
    // dialog closed by a shortcut); so may `target`.
    QPointer<QMenu> guardedMenu(menu);
    QPointer<QWidget> guardedTarget(target);
    menu->setObjectName(QStringLiteral("whatsThisMenu"));
    if (!menu->isEmpty())
        menu->addSeparator();
    QAction* whatsThis = menu->addAction(QStringLiteral("What's This?"));
    whatsThis->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    const bool asked = menu->exec(globalPos) == whatsThis;
    delete guardedMenu.data();
    if (asked && guardedTarget)
        showNoteFor(guardedTarget, globalPos);
}

QIcon ContextHelp::applicationIcon()
{
    HelpPages::builtIn(); // the icon shares the help pages' resources
    QIcon icon;
    icon.addFile(QStringLiteral(":/appicon/topicsmith-48.png"));
    icon.addFile(QStringLiteral(":/appicon/topicsmith-256.png"));
    return icon;
}

HelpWindow* ContextHelp::helpWindow() const
{
    return window_;
}

void ContextHelp::showContents()
{
    showPage(HelpPages::contentsPage());
}

void ContextHelp::showPage(const QString& file)
{
    HelpWindow* w = windowOverModalDialog();
    w->showPage(file);
    if (!w->isVisible())
        placeHelpWindow(*w);
    w->show();
    w->raise();
    w->activateWindow();
}

HelpWindow* ContextHelp::windowOverModalDialog()
{
    // A window outside a modal dialog takes no input while the dialog is open,
    // so the help window becomes the dialog's own window for that time.
    QWidget* modal = QApplication::activeModalWidget();
    if (!window_) {
        window_ = new HelpWindow(modal);
    } else if (modal && !isWithin(window_, modal)) {
        const QRect frame = window_->geometry();
        const bool wasVisible = window_->isVisible();
        window_->setParent(modal, Qt::Window);
        if (wasVisible)
            window_->setGeometry(frame);
    }
    return window_;
}

void ContextHelp::showPopup(QWidget* widget, const QString& file, const QPoint& globalPos)
{
    const HelpPage* page = HelpPages::builtIn().page(file);
    const QString html = QStringLiteral("<p><b>") + page->title.toHtmlEscaped() + QStringLiteral("</b></p><p>")
        + page->firstParagraph + QStringLiteral("</p><p><a href=\"") + file
        + QStringLiteral("\">Show the whole page</a> (F1)</p>");
    popupPage_ = file;
    QWhatsThis::showText(globalPos, html, widget);
    emit popupShown(file, html);
}

bool ContextHelp::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1)
            return false;
        if (key->modifiers() == Qt::ShiftModifier) {
            // The keyboard's way to the title-bar "?" button.
            if (!QWhatsThis::inWhatsThisMode())
                QWhatsThis::enterWhatsThisMode();
            return true;
        }
        if (key->modifiers() != Qt::NoModifier)
            return false;
        if (isWhatsThisPopup(watched)) {
            QWhatsThis::hideText();
            if (!popupPage_.isEmpty())
                showPage(popupPage_);
            return true;
        }
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = qobject_cast<QWidget*>(watched);
        if (!target)
            return false;
        return showHelpFor(target, target->mapToGlobal(target->rect().center()));
    }
    case QEvent::QueryWhatsThis:
    case QEvent::WhatsThis: {
        auto* widget = qobject_cast<QWidget*>(watched);
        // A control with a text of its own keeps Qt's handling of it.
        if (!widget || !widget->whatsThis().isEmpty()
            || !HelpPages::builtIn().pageForContext(contextNumber(widget)))
            return false;
        // The "?" button and Shift+F1 ask for the short note, in every window.
        auto* help = static_cast<QHelpEvent*>(event);
        if (event->type() == QEvent::WhatsThis && !showNoteFor(widget, help->globalPos()))
            return false;
        event->accept();
        return true;
    }
    case QEvent::ContextMenu: {
        // A right-click in a dialog offers What's This, also where the
        // window manager draws no "?" button: a text field adds it to its
        // own menu; a right-click that no control took (on a label, a
        // frame, the dialog itself) gets a menu of it alone.
        const auto& menuEvent = *static_cast<QContextMenuEvent*>(event);
        if (auto* field = qobject_cast<QLineEdit*>(watched))
            return offerWhatsThis(field, menuEvent);
        auto* dialog = qobject_cast<QDialog*>(watched);
        return dialog && offerWhatsThis(dialog, menuEvent);
    }
    case QEvent::WhatsThisClicked: {
        const QString href = static_cast<QWhatsThisClickedEvent*>(event)->href();
        if (href.contains(QLatin1Char(':')))
            return false; // an address outside the help; Qt opens nothing for it
        QWhatsThis::hideText();
        showPage(href);
        return true;
    }
    default:
        return false;
    }
}

} // namespace ts
