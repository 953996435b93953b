#include "HelpWindow.h"

#include "HelpPages.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace ts {

namespace {

const QString helpRoot = QStringLiteral("qrc:/help/");

QToolButton* makeButton(QWidget* parent, const char* name, const QString& text, QStyle::StandardPixmap icon)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    return b;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Topicsmith Help"));
    resize(820, 560);

    backButton_ = makeButton(this, "backButton", QStringLiteral("&Back"), QStyle::SP_ArrowBack);
    forwardButton_ = makeButton(this, "forwardButton", QStringLiteral("&Forward"), QStyle::SP_ArrowForward);
    contentsButton_ = makeButton(this, "contentsButton", QStringLiteral("&Contents"), QStyle::SP_DirHomeIcon);
    backButton_->setToolTip(QStringLiteral("Back (Alt+Left)"));
    forwardButton_->setToolTip(QStringLiteral("Forward (Alt+Right)"));
    backButton_->setEnabled(false);
    forwardButton_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(backButton_);
    buttons->addWidget(forwardButton_);
    buttons->addWidget(contentsButton_);
    buttons->addStretch();

    searchEdit_ = new QLineEdit(this);
    searchEdit_->setObjectName(QStringLiteral("searchEdit"));
    searchEdit_->setPlaceholderText(QStringLiteral("Search the help (Ctrl+F)"));
    searchEdit_->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(QStringLiteral("&Find pages with:"), this);
    searchLabel->setBuddy(searchEdit_);

    pageList_ = new QListWidget(this);
    pageList_->setObjectName(QStringLiteral("pageList"));

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(searchLabel);
    sideLayout->addWidget(searchEdit_);
    sideLayout->addWidget(pageList_);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 590});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(backButton_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardButton_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(contentsButton_, &QToolButton::clicked, this, [this] { showPage(HelpPages::contentsPage()); });
    connect(browser_, &QTextBrowser::backwardAvailable, backButton_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardButton_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::pageShown);
    connect(searchEdit_, &QLineEdit::textChanged, this, &HelpWindow::fillList);
    connect(searchEdit_, &QLineEdit::returnPressed, this, &HelpWindow::openFirstFound);
    connect(pageList_, &QListWidget::itemActivated, this, &HelpWindow::openListedPage);
    connect(pageList_, &QListWidget::itemClicked, this, &HelpWindow::openListedPage);

    auto* back = new QShortcut(QKeySequence::Back, this);
    connect(back, &QShortcut::activated, browser_, &QTextBrowser::backward);
    auto* forward = new QShortcut(QKeySequence::Forward, this);
    connect(forward, &QShortcut::activated, browser_, &QTextBrowser::forward);
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        searchEdit_->setFocus(Qt::ShortcutFocusReason);
        searchEdit_->selectAll();
    });
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    fillList(QString());
}

void HelpWindow::showPage(const QString& file)
{
    const QString name = file.section(QLatin1Char('#'), 0, 0);
    QString target = file;
    if (!HelpPages::builtIn().page(name))
        target = HelpPages::contentsPage();
    browser_->setSource(QUrl(helpRoot + target));
}

QString HelpWindow::currentPage() const
{
    return browser_->source().fileName();
}

void HelpWindow::pageShown(const QUrl& url)
{
    // Announced before source() names the new page.
    const QString file = url.fileName();
    const HelpPage* page = HelpPages::builtIn().page(file);
    const bool titled = page && page->file != HelpPages::contentsPage();
    setWindowTitle(titled ? page->title + QStringLiteral(" - Topicsmith Help") : QStringLiteral("Topicsmith Help"));
    // The list follows the page, without opening it a second time.
    const QSignalBlocker block(pageList_);
    pageList_->clearSelection();
    for (int i = 0; i < pageList_->count(); ++i) {
        if (pageList_->item(i)->data(Qt::UserRole).toString() == file) {
            pageList_->setCurrentRow(i);
            break;
        }
    }
}

void HelpWindow::fillList(const QString& query)
{
    const HelpPages& pages = HelpPages::builtIn();
    QStringList files;
    if (query.trimmed().isEmpty()) {
        for (const HelpPage& p : pages.pages())
            files << p.file;
    } else {
        files = pages.search(query);
    }
    const QSignalBlocker block(pageList_);
    pageList_->clear();
    for (const QString& f : files) {
        auto* item = new QListWidgetItem(pages.page(f)->title, pageList_);
        item->setData(Qt::UserRole, f);
    }
    if (files.isEmpty()) {
        auto* item = new QListWidgetItem(QStringLiteral("No page holds these words."), pageList_);
        item->setFlags(Qt::NoItemFlags);
    }
}

void HelpWindow::openListedPage()
{
    const QListWidgetItem* item = pageList_->currentItem();
    if (!item || item->data(Qt::UserRole).toString().isEmpty())
        return;
    showPage(item->data(Qt::UserRole).toString());
    // A page found by the search opens at the first of the words looked for.
    const QString word = searchEdit_->text().simplified().section(QLatin1Char(' '), 0, 0);
    if (!word.isEmpty())
        browser_->find(word);
}

void HelpWindow::openFirstFound()
{
    if (pageList_->count() == 0 || pageList_->item(0)->data(Qt::UserRole).toString().isEmpty())
        return;
    pageList_->setCurrentRow(0);
    openListedPage();
}

} // namespace ts
