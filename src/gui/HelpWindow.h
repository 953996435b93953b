#pragma once
// The program's help window: the built-in help pages in a browser with Back
// and Forward, a contents list and a search box over the pages' text.

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;
class QUrl;

namespace ts {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a page by file name ("link-dialog.html", optionally with "#anchor").
    // An unknown name shows the contents page.
    void showPage(const QString& file);
    // The file name of the page shown, without an anchor.
    QString currentPage() const;

    QTextBrowser* browser() const { return browser_; }

private:
    void pageShown(const QUrl& url);
    void fillList(const QString& query);
    void openListedPage();
    void openFirstFound();

    QToolButton* backButton_;
    QToolButton* forwardButton_;
    QToolButton* contentsButton_;
    QLineEdit* searchEdit_;
    QListWidget* pageList_;
    QTextBrowser* browser_;
};

} // namespace ts
