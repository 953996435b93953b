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

    // The box's labels, for the tests.
    QLabel* banner() const { return banner_; }
    QLabel* versionLabel() const { return versionLabel_; } // "Version " and the version --version prints
    QLabel* creditLabel() const { return creditLabel_; }
    QLabel* iconLabel() const { return iconLabel_; }
    QLabel* closeLabel() const { return closeLabel_; } // "Close"
    QLabel* emailLink() const { return emailLink_; }
    QLabel* webLink() const { return webLink_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Which link is under the mouse: emailLink, webLink or none.
    void highlight(const QLabel* link);
    static void setTextColour(QLabel* label, const QColor& colour);

    QLabel* banner_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* creditLabel_ = nullptr;
    QLabel* iconLabel_ = nullptr;
    QLabel* closeLabel_ = nullptr;
    QLabel* emailLink_ = nullptr;
    QLabel* webLink_ = nullptr;
};

} // namespace ts
