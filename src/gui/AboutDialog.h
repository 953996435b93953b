#pragma once
// The about box: the banner, the version, a credit line, the program's icon,
// a "Close" label and two links (e-mail and web page) that turn blue under
// the mouse. A click on a picture or on "Close" closes the box.

#include <QDialog>
#include <functional>

class QLabel;
class QUrl;

namespace ts {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    static QString authorEmail();
    static QString webPage();

    // Opens an address with the desktop's handler; tests replace it.
    std::function<void(const QUrl&)> openUrl;

    QLabel* banner; // banner
    QLabel* versionLabel; // "Version " and the version --version prints
    QLabel* creditLabel; // credit line
    QLabel* iconLabel; // icon
    QLabel* closeLabel; // "Close"
    QLabel* emailLink; // e-mail link
    QLabel* webLink; // web link

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Which link is under the mouse: emailLink, webLink or none.
    void highlight(const QLabel* link);
    static void setTextColour(QLabel* label, const QColor& colour);
};

} // namespace ts
