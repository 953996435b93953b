#include "HelpViewerWindow.h"

#include "HelpButtonBar.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QAbstractTextDocumentLayout>

namespace ts {

HelpViewerWindow::HelpViewerWindow(const QString& name, bool isMain, QWidget* parent)
    : QMainWindow(parent), name_(name), isMain_(isMain)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(isMain ? QStringLiteral("helpMainWindow") : QStringLiteral("helpWindow_") + name);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    buttonBar = new HelpButtonBar(central);
    buttonBar->setObjectName(QStringLiteral("buttonBar"));
    noticeLabel_ = new QLabel(central);
    noticeLabel_->setObjectName(QStringLiteral("noticeLabel"));
    noticeLabel_->setWordWrap(true);
    noticeLabel_->setContentsMargins(6, 2, 6, 2);
    noticeLabel_->setStyleSheet(QStringLiteral("background: #FFFFE1; color: #202020;"));
    noticeLabel_->hide();
    nonScrollingView = new HelpTopicView(central);
    nonScrollingView->setObjectName(QStringLiteral("nonScrollingView"));
    nonScrollingView->setFitted(true);
    regionSeparator_ = new QFrame(central);
    regionSeparator_->setFrameShape(QFrame::HLine);
    regionSeparator_->setFrameShadow(QFrame::Plain);
    regionSeparator_->setFixedHeight(1);
    scrollingView = new HelpTopicView(central);
    scrollingView->setObjectName(QStringLiteral("scrollingView"));

    layout->addWidget(buttonBar);
    layout->addWidget(noticeLabel_);
    layout->addWidget(nonScrollingView);
    layout->addWidget(regionSeparator_);
    layout->addWidget(scrollingView, 1);
    setCentralWidget(central);
    nonScrollingView->hide();
    regionSeparator_->hide();
    if (isMain_)
        buildMenus();
}

void HelpViewerWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    openAction = file->addAction(QStringLiteral("&Open..."));
    openAction->setShortcut(QKeySequence::Open);
    printAction = file->addAction(QStringLiteral("&Print Topic..."));
    printAction->setShortcut(QKeySequence::Print);
    file->addSeparator();
    exitAction = file->addAction(QStringLiteral("E&xit"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    copyAction = edit->addAction(QStringLiteral("&Copy"));
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WindowShortcut);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    QMenu* font = options->addMenu(QStringLiteral("&Font"));
    fontSizeGroup = new QActionGroup(this);
    const std::pair<const char*, double> sizes[] = {{"&Small", 0.8}, {"&Normal", 1.0}, {"&Large", 1.25}};
    for (const auto& [caption, scale] : sizes) {
        QAction* size = font->addAction(QString::fromLatin1(caption));
        size->setCheckable(true);
        size->setData(scale);
        size->setChecked(scale == 1.0);
        fontSizeGroup->addAction(size);
    }
    historyAction = options->addAction(QStringLiteral("Display &History Window"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    aboutAction = help->addAction(QStringLiteral("&About Help..."));
}

void HelpViewerWindow::showRegions(QTextDocument* nonScrolling, const QColor& nonScrollingColour,
                                   QTextDocument* scrolling, const QColor& scrollingColour)
{
    const bool band = nonScrolling && !nonScrolling->isEmpty();
    if (nonScrolling)
        nonScrollingView->showDocument(nonScrolling, nonScrollingColour);
    nonScrollingView->setVisible(band);
    regionSeparator_->setVisible(band);
    scrollingView->showDocument(scrolling, scrollingColour);
    scrollingView->verticalScrollBar()->setValue(0);
    scrollingView->horizontalScrollBar()->setValue(0);
}

void HelpViewerWindow::scrollToOffset(std::uint32_t topicOffset)
{
    QTextDocument* doc = scrollingView->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QVariant offset = block.blockFormat().property(HelpTopicRenderer::ParagraphOffsetProperty);
        if (offset.isValid() && offset.toUInt() >= topicOffset) {
            const QRectF rect = doc->documentLayout()->blockBoundingRect(block);
            scrollingView->verticalScrollBar()->setValue(int(rect.top()));
            return;
        }
    }
}

void HelpViewerWindow::setNotice(const QString& text)
{
    noticeLabel_->setText(text);
    noticeLabel_->setVisible(!text.isEmpty());
}

QString HelpViewerWindow::notice() const { return noticeLabel_->text(); }

int HelpViewerWindow::heightForWholeTopic() const
{
    QTextDocument* doc = scrollingView->document();
    doc->setTextWidth(scrollingView->viewport()->width());
    int height = int(std::ceil(doc->size().height())) + 4;
    height += buttonBar->sizeHint().height();
    if (nonScrollingView->isVisibleTo(this))
        height += nonScrollingView->fittedHeight() + 1;
    if (noticeLabel_->isVisibleTo(this))
        height += noticeLabel_->sizeHint().height();
    if (menuWidget())
        height += menuWidget()->sizeHint().height();
    return height;
}

void HelpViewerWindow::closeEvent(QCloseEvent* event)
{
    emit closing(this);
    QMainWindow::closeEvent(event);
}

} // namespace ts
#include "moc_HelpViewerWindow.cpp"
