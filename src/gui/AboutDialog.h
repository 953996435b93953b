#pragma once
// The about box: the banner, the version, a credit line, the program's icon,
// a "Close" label and two links (e-mail and web page) that turn blue under
// the mouse. A click on a picture or on "Close" closes the box.

#include <QDialog>
#include <functional>

class QLabel;
class QUrl;

namespace ts {

class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);

    static QString authorEmail();
    static QString webPage();

    // Opens an address with the desktop's handler; tests replace it.
    std::function<void(const QUrl&)> OpenUrl;

    QLabel* Image2; // banner
    QLabel* Label1; // "Version 1.1"
    QLabel* Label5; // credit line
    QLabel* Image1; // icon
    QLabel* Label2; // "Close"
    QLabel* Label3; // e-mail link
    QLabel* Label4; // web link

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Which link is under the mouse: Label3, Label4 or none.
    void highlight(const QLabel* link);
    static void setTextColor(QLabel* label, const QColor& color);
};

} // namespace ts
