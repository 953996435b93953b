#pragma once
// Context help for every window of the program. Windows and controls carry
// their help page's number in the dynamic property "helpContext". F1 looks up
// the number of the focused control, or of the nearest enclosing control or
// window that has one, and shows that page; with no number nothing happens.
// Windows with a "?" button in the title bar answer with a pop-up holding the
// page's first paragraph and a link to the whole page; other windows open the
// page in the help window. The "?" button (or Shift+F1) followed by a click
// on a control, or "What's This?" on the context menu of a dialog or of a
// text field in it, always gives the pop-up.
//
// One instance serves the whole application: it watches the application's
// events and owns the help window.

#include <QObject>
#include <QPointer>

class QContextMenuEvent;
class QDialog;
class QIcon;
class QLineEdit;
class QMenu;
class QPoint;
class QWidget;

namespace ts {

class HelpWindow;

class ContextHelp : public QObject {
    Q_OBJECT
public:
    // The application's context help, made and installed on first use.
    // Needs a QApplication.
    static ContextHelp* forApplication();

    // The number that applies to `widget`: its own, else that of the nearest
    // enclosing widget; 0 when none has one.
    static int contextNumber(const QWidget* widget);
    // Whether help for `widget` comes as a pop-up: its window has the title-bar
    // "?" button.
    static bool answersWithPopup(const QWidget* widget);

    // Help for `widget`, as F1 gives it. `globalPos` places a pop-up.
    // Returns false when no number applies (nothing is shown).
    bool showHelpFor(QWidget* widget, const QPoint& globalPos);
    // The short note about `widget` as a pop-up, as What's This gives it in
    // every window; false when no number applies.
    bool showNoteFor(QWidget* widget, const QPoint& globalPos);

    // The program's own icon, as the desktop shows it.
    static QIcon applicationIcon();

    void showContents();
    void showPage(const QString& file);

    // The help window, made on first use; null until then.
    HelpWindow* helpWindow() const;

signals:
    // A pop-up was shown: the page it comes from and the pop-up's HTML.
    void popupShown(const QString& page, const QString& html);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ContextHelp(QObject* parent);
    void showPopup(QWidget* widget, const QString& page, const QPoint& globalPos);
    // The context menu of a dialog's background: "What's This?" for the
    // control under the mouse. False when no help number applies.
    bool offerWhatsThis(QDialog* dialog, const QContextMenuEvent& event);
    // The text field's own context menu with "What's This?" added, when the
    // field is in a dialog and a help number applies; false otherwise (the
    // field shows its menu as ever).
    bool offerWhatsThis(QLineEdit* field, const QContextMenuEvent& event);
    // Shows `menu` with "What's This?" at its end, gives the note about
    // `target` when that is chosen, and deletes the menu.
    void showMenuWithWhatsThis(QMenu* menu, QWidget* target, const QPoint& globalPos);
    HelpWindow* windowOverModalDialog();

    QPointer<HelpWindow> window_;
    QString popupPage_;
};

} // namespace ts
