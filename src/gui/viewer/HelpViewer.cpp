#include "HelpViewer.h"

#include "HelpButtonBar.h"
#include "HelpMacroRunner.h"
#include "HelpPopup.h"
#include "HelpTopicListDialog.h"
#include "HelpTopicRenderer.h"
#include "Prompter.h"
#include "WindowPlacer.h"
#include "helpfile/HelpFileReader.h"

#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace ts {
namespace {

constexpr size_t MaximumBackPages = 40;
constexpr size_t MaximumHistoryPages = 40;
const QString MainName = QStringLiteral("main");

// The state word's button bits, as this program's compiler writes them.
enum ButtonBit : int {
    BrowseBit = 0x0200, ContentsBit = 0x0400, IndexBit = 0x0800,
    PrintBit = 0x2000, BackBit = 0x4000, FindBit = 0x8000,
};
constexpr int ButtonBits = BrowseBit | ContentsBit | IndexBit | PrintBit | BackBit | FindBit;

QColor colourOf(std::uint32_t rgb) { return QColor::fromRgb(QRgb(0xFF000000u | rgb)); }

} // namespace

HelpViewer::HelpViewer(Prompter& prompter, QObject* parent)
    : QObject(parent), loader([](const QString& path) { return helpfile::readHelpFile(path); }),
      openUrl(&QDesktopServices::openUrl), prompter_(prompter),
      macros_(std::make_unique<HelpMacroRunner>(*this, prompter))
{
}

HelpViewer::~HelpViewer()
{
    for (auto& [name, window] : windows_)
        delete window.data();
    delete topicsDialog_.data();
    delete historyDialog_.data();
}

// ------------------------------------------------------------------ opening

bool HelpViewer::openFile(const QString& path, const QString& topicId)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile()) {
        prompter_.error(dialogParent(), QStringLiteral("The help file %1 does not exist.").arg(shown));
        return false;
    }
    HelpDocument document = loader(path);
    if (!document.readable) {
        const QString why = document.problems.empty() ? QString() : QStringLiteral("\r") + document.problems.front().message;
        prompter_.error(dialogParent(), QStringLiteral("%1 is not a Windows help file, or it is damaged.%2").arg(shown, why));
        return false;
    }
    openDocument(std::move(document), path, topicId);
    return true;
}

void HelpViewer::openDocument(HelpDocument document, const QString& path, const QString& topicId)
{
    if (popup_)
        popup_->close();
    closeSecondaryWindows();
    document_ = std::move(document);
    path_ = path;
    otherDocuments_.clear();
    contentsTopic_ = -1;
    browseButtons_ = false;
    popupColour = QColor();
    topicsDialogStale_ = true;
    lastTab_ = HelpTopicsDialog::Tab::Contents;
    macros_->startFile();

    QPointer<HelpViewerWindow> main = ensureWindow(MainName);
    // Another file starts the window afresh: its own buttons, caption, no Back.
    main->backList.clear();
    main->page = HelpPage();
    main->setNotice(QString());
    configureWindow(main);
    keepNotice_ = true;
    macros_->beginBatch();
    for (const QString& macro : document_.configMacros)
        runFileMacros(macro, main);
    int topic = topicId.isEmpty() ? -1 : document_.findTopic(topicId);
    if (topic < 0)
        topic = document_.contentsTopic >= 0 ? document_.contentsTopic : 0;
    // The contents topic opens in the main window, a topic asked for in its own.
    if (!document_.topics.empty())
        showTopic(topic, topicId.isEmpty() ? MainName : QString(), main);
    else if (main)
        main->showRegions(nullptr, Qt::white, new QTextDocument(main), scrollingColour(main));
    keepNotice_ = false;
    if (main)
        main->show();
    macros_->endBatch(main ? main.data() : static_cast<HelpViewerWindow*>(dialogParent()));
    // A file with a contents file opens at Help Topics, as in WinHelp 4.
    if (topicId.isEmpty() && !document_.contents.entries.empty())
        showTopicsDialog(HelpTopicsDialog::Tab::Contents);
}

// ------------------------------------------------------------------ windows

HelpViewerWindow* HelpViewer::mainWindow() const { return window(MainName); }

HelpViewerWindow* HelpViewer::window(const QString& name) const
{
    const auto it = windows_.find(name.toCaseFolded());
    return it == windows_.end() ? nullptr : it->second.data();
}

QList<HelpViewerWindow*> HelpViewer::windows() const
{
    QList<HelpViewerWindow*> out;
    for (const auto& [name, window] : windows_)
        if (window)
            out.append(window.data());
    return out;
}

HelpPopup* HelpViewer::popup() const { return popup_.data(); }

void HelpViewer::warn(QWidget* parent, const QString& text)
{
    prompter_.message(parent, text, QStringLiteral("Topicsmith"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

QWidget* HelpViewer::dialogParent() const
{
    if (HelpViewerWindow* main = mainWindow())
        return main;
    const QList<HelpViewerWindow*> open = windows();
    return open.isEmpty() ? nullptr : open.first();
}

const HelpWindowDefinition* HelpViewer::definitionOf(const HelpViewerWindow* window) const
{
    const int index = window ? document_.windowByName(window->name()) : -1;
    return index >= 0 ? &document_.windows[size_t(index)] : nullptr;
}

QColor HelpViewer::scrollingColour(const HelpViewerWindow* window) const
{
    const HelpWindowDefinition* def = definitionOf(window);
    return def && def->has(HelpWindowDefinition::ScrollingColourValid) ? colourOf(def->scrollingColour) : QColor(Qt::white);
}

QColor HelpViewer::nonScrollingColour(const HelpViewerWindow* window) const
{
    const HelpWindowDefinition* def = definitionOf(window);
    return def && def->has(HelpWindowDefinition::NonScrollingColourValid) ? colourOf(def->nonScrollingColour) : QColor(Qt::white);
}

HelpViewerWindow* HelpViewer::ensureWindow(const QString& name)
{
    if (HelpViewerWindow* existing = window(name))
        return existing;
    const bool isMain = name.compare(MainName, Qt::CaseInsensitive) == 0;
    auto* created = new HelpViewerWindow(isMain ? MainName : name, isMain);
    windows_[name.toCaseFolded()] = created;
    connectWindow(created);
    configureWindow(created);
    if (!isMain)
        if (const HelpWindowDefinition* def = definitionOf(created)) {
            macros_->beginBatch();
            for (const QString& macro : def->configMacros)
                runFileMacros(macro, created);
            macros_->endBatch(created);
        }
    return created;
}

// Caption, place, size, colours, buttons and on-top, from the file's
// definition of the window (position and size in 1/1024 of the screen).
void HelpViewer::configureWindow(HelpViewerWindow* window)
{
    const HelpWindowDefinition* def = definitionOf(window);
    QString caption = def && def->has(HelpWindowDefinition::CaptionValid) ? def->caption : QString();
    if (caption.isEmpty())
        caption = document_.title;
    if (caption.isEmpty())
        caption = QStringLiteral("Windows Help - %1").arg(QFileInfo(path_).fileName());
    window->setWindowTitle(caption);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    if (def && def->hasPosition() && def->width > 0 && def->height > 0) {
        // Kept on the screen: files made for other screens store places beyond it.
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize size(std::clamp(def->width * screen.width() / 1024, 160, std::max(160, available.width())),
                         std::clamp(def->height * screen.height() / 1024, 100, std::max(100, available.height() - 40)));
        const QPoint place(screen.x() + def->x * screen.width() / 1024, screen.y() + def->y * screen.height() / 1024);
        const QPoint last(std::max(available.left(), available.right() - size.width()),
                          std::max(available.top(), available.bottom() - size.height() - 40));
        window->move(std::clamp(place.x(), available.left(), last.x()), std::clamp(place.y(), available.top(), last.y()));
        window->resize(size);
    } else if (!window->isVisible()) {
        window->resize(std::min(640, screen.width() * 2 / 3), std::min(560, screen.height() * 3 / 4));
    }
    window->setWindowFlag(Qt::WindowStaysOnTopHint, def && def->onTop());

    HelpButtonBar* bar = window->buttonBar;
    for (const QString& id : bar->ids())
        bar->removeButton(id);
    // The main window always has WinHelp's own buttons; the state word adds
    // to them, and chooses those of a secondary window.
    int bits = def ? def->state & ButtonBits : 0;
    if (window->isMain())
        bits |= ContentsBit | IndexBit | BackBit | PrintBit;
    if (bits & ContentsBit)
        bar->addButton(QStringLiteral("btn_contents"), QStringLiteral("&Contents"), QStringLiteral("Contents()"));
    if (bits & IndexBit)
        bar->addButton(QStringLiteral("btn_search"), QStringLiteral("&Index"), QStringLiteral("Search()"));
    if (bits & FindBit)
        bar->addButton(QStringLiteral("btn_find"), QStringLiteral("&Find"), QStringLiteral("Find()"));
    if (bits & BackBit)
        bar->addButton(QStringLiteral("btn_back"), QStringLiteral("&Back"), QStringLiteral("Back()"));
    if (bits & PrintBit)
        bar->addButton(QStringLiteral("btn_print"), QStringLiteral("&Print"), QStringLiteral("Print()"));
    if (bits & BrowseBit)
        addBrowseButtons(window);
    bar->setVisible(!bar->ids().isEmpty());
    updateButtons(window);
}

void HelpViewer::addBrowseButtons(HelpViewerWindow* window)
{
    if (!window)
        return;
    if (window->isMain())
        browseButtons_ = true;
    window->buttonBar->addButton(QStringLiteral("btn_previous"), QStringLiteral("<<"), QStringLiteral("Prev()"));
    window->buttonBar->addButton(QStringLiteral("btn_next"), QStringLiteral(">>"), QStringLiteral("Next()"));
    window->buttonBar->show();
    updateButtons(window);
}

void HelpViewer::connectWindow(HelpViewerWindow* window)
{
    QPointer<HelpViewerWindow> guarded(window);
    connect(window->buttonBar, &HelpButtonBar::macroRequested, this,
            [this, guarded](const QString& macro) { runMacros(macro, guarded); });
    for (HelpTopicView* view : {window->nonScrollingView, window->scrollingView}) {
        connect(view, &HelpTopicView::anchorActivated, this,
                [this, guarded](const HelpAnchor& anchor, const QPoint& offset, const QPoint& pos) {
                    if (guarded)
                        handleAnchor(anchor, document_, path_, guarded->page.topic, offset, guarded, pos);
                });
        connect(view, &HelpTopicView::backRequested, this, [this, guarded] { back(guarded); });
    }
    connect(window, &HelpViewerWindow::closing, this, [this](HelpViewerWindow* closing) {
        windows_.erase(closing->name().toCaseFolded());
        // The user closing the main window closes help; a file's CloseWindow
        // closes only the window it names.
        if ((closing->isMain() && !closingByMacro_) || windows().isEmpty())
            closeAll();
    });
    if (!window->isMain())
        return;
    connect(window->openAction, &QAction::triggered, this, &HelpViewer::chooseAndOpenFile);
    connect(window->printAction, &QAction::triggered, this, [this, guarded] { printTopic(guarded); });
    connect(window->exitAction, &QAction::triggered, this, &HelpViewer::closeAll);
    connect(window->copyAction, &QAction::triggered, this, [this, guarded] { copyTopic(guarded); });
    connect(window->historyAction, &QAction::triggered, this, &HelpViewer::showHistory);
    connect(window->aboutAction, &QAction::triggered, this, [this, guarded] { showAbout(guarded); });
    connect(window->fontSizeGroup, &QActionGroup::triggered, this,
            [this](QAction* size) { setFontScale(size->data().toDouble()); });
}

void HelpViewer::closeWindow(const QString& name)
{
    if (HelpViewerWindow* w = window(name)) {
        closingByMacro_ = true;
        w->close();
        closingByMacro_ = false;
    }
}

void HelpViewer::closeSecondaryWindows(HelpViewerWindow* except)
{
    for (HelpViewerWindow* w : windows())
        if (!w->isMain() && w != except)
            w->close();
}

void HelpViewer::closeAll()
{
    if (closingAll_)
        return;
    closingAll_ = true;
    if (popup_)
        popup_->close();
    if (topicsDialog_)
        topicsDialog_->hide();
    if (historyDialog_)
        historyDialog_->hide();
    for (HelpViewerWindow* w : windows())
        w->close();
    closingAll_ = false;
    emit allWindowsClosed();
}

// --------------------------------------------------------------- showing

bool HelpViewer::showTopic(int topic, const QString& windowName, HelpViewerWindow* from, std::uint32_t topicOffset,
                           bool atTopicStart)
{
    if (topic < 0 || topic >= int(document_.topics.size())) {
        warn(dialogParent(), QStringLiteral("The topic does not exist in %1.").arg(QFileInfo(path_).fileName()));
        return false;
    }
    const HelpTopic& info = document_.topics[size_t(topic)];
    QString name = windowName;
    if (name.isEmpty() && info.window >= 0 && info.window < int(document_.windows.size()))
        name = document_.windows[size_t(info.window)].name;
    if (name.isEmpty())
        name = from ? from->name() : MainName;
    // A window the file does not define shows in the main window.
    if (name.compare(MainName, Qt::CaseInsensitive) != 0 && document_.windowByName(name) < 0)
        name = MainName;
    HelpViewerWindow* target = ensureWindow(name);

    const HelpPage page{path_, topic, topicOffset, atTopicStart, info.title};
    if (target->page.topic >= 0 && !target->page.sameTopic(page)) {
        target->backList.push_back(target->page);
        if (target->backList.size() > MaximumBackPages)
            target->backList.erase(target->backList.begin());
    }
    target->page = page;
    if (!keepNotice_)
        target->setNotice(QString());
    renderPage(target);
    if (!target->isVisible()) {
        target->show();
        // The window manager adds the frame a moment later; a window placed
        // at the top of the screen may then have its caption above it.
        QTimer::singleShot(250, target, [target] { keepOnScreen(*target); });
    }
    target->raise();
    target->activateWindow();
    fitHeight(target);
    if (!atTopicStart)
        target->scrollToOffset(topicOffset);
    rememberInHistory(page);
    updateButtons(target);
    target->scrollingView->setFocus();
    for (const QString& macro : info.entryMacros)
        runFileMacros(macro, target);
    return true;
}

void HelpViewer::renderPage(HelpViewerWindow* window)
{
    const int topic = window->page.topic;
    const HelpTopicRenderer renderer(document_, topic, fontScale_);
    const HelpTopicContent& content = document_.content(topic);
    window->showRegions(renderer.render(content.nonScrolling, window), nonScrollingColour(window),
                        renderer.render(content.scrolling, window), scrollingColour(window));
}

// Auto-size windows shrink or grow to their text, within the screen: a
// window that grows below the screen's bottom edge moves up.
void HelpViewer::fitHeight(HelpViewerWindow* window)
{
    const HelpWindowDefinition* def = definitionOf(window);
    if (!def || !def->autoSizeHeight())
        return;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window->resize(window->width(), std::clamp(window->heightForWholeTopic(), 80, screen.height() - 40));
    keepOnScreen(*window);
}

void HelpViewer::updateButtons(HelpViewerWindow* window)
{
    if (!window)
        return;
    HelpButtonBar* bar = window->buttonBar;
    bar->setAvailable(QStringLiteral("btn_back"), !window->backList.empty());
    const int topic = window->page.topic;
    const bool known = topic >= 0 && topic < int(document_.topics.size());
    bar->setAvailable(QStringLiteral("btn_previous"), known && document_.topics[size_t(topic)].browsePrevious >= 0);
    bar->setAvailable(QStringLiteral("btn_next"), known && document_.topics[size_t(topic)].browseNext >= 0);
}

void HelpViewer::rememberInHistory(const HelpPage& page)
{
    if (history_.empty() || !history_.front().sameTopic(page))
        history_.insert(history_.begin(), page);
    if (history_.size() > MaximumHistoryPages)
        history_.pop_back();
    refreshHistoryDialog();
}

void HelpViewer::back(HelpViewerWindow* window)
{
    if (!window || window->backList.empty())
        return;
    const HelpPage previous = window->backList.back();
    window->backList.pop_back();
    // Going back is not a new step: the page left is not put on the list.
    window->page = HelpPage();
    showTopic(previous.topic, window->name(), window, previous.topicOffset, previous.atTopicStart);
}

void HelpViewer::browse(HelpViewerWindow* window, bool next)
{
    if (!window || window->page.topic < 0 || window->page.topic >= int(document_.topics.size()))
        return;
    const HelpTopic& topic = document_.topics[size_t(window->page.topic)];
    const int target = next ? topic.browseNext : topic.browsePrevious;
    // Like a jump: a topic with its own window shows there.
    if (target >= 0)
        showTopic(target, QString(), window);
}

// ------------------------------------------------------------ pop-ups

void HelpViewer::showPopup(const QString& file, int topic, const QPoint& globalPos, HelpViewerWindow* from)
{
    QString path = path_;
    const HelpDocument* document = isThisFile(file) ? &document_ : otherDocument(file, &path);
    if (!document)
        return;
    if (topic < 0 || topic >= int(document->topics.size())) {
        warn(dialogParent(), QStringLiteral("The pop-up topic does not exist in %1.").arg(QFileInfo(path).fileName()));
        return;
    }
    if (popup_)
        popup_->close();
    HelpViewerWindow* caller = from ? from : mainWindow();
    auto* popup = new HelpPopup(caller);
    popup_ = popup;
    popup->topic = topic;
    const HelpTopicRenderer renderer(*document, topic, fontScale_);
    const HelpTopicContent& content = document->content(topic);
    std::vector<HelpParagraph> paragraphs = content.nonScrolling;
    paragraphs.insert(paragraphs.end(), content.scrolling.begin(), content.scrolling.end());
    QTextDocument* text = renderer.render(paragraphs, popup);
    const QColor background = popupColour.isValid() ? popupColour : scrollingColour(caller);
    const int maximumWidth = std::max(320, (caller ? caller->width() : 640) * 2 / 3);
    QPointer<HelpViewerWindow> guarded(caller);
    connect(popup, &HelpPopup::anchorActivated, this,
            [this, popup, document, path, topic, guarded](const HelpAnchor& anchor, const QPoint& offset, const QPoint& pos) {
                popup->close();
                handleAnchor(anchor, *document, path, topic, offset, guarded, pos);
            });
    popup->showDocument(text, background, globalPos.isNull() && caller ? caller->mapToGlobal(caller->rect().center())
                                                                        : globalPos,
                        maximumWidth);
}

// ------------------------------------------------------------ hotspots

void HelpViewer::handleAnchor(const HelpAnchor& anchor, const HelpDocument& document, const QString& file, int topic,
                              const QPoint& pictureOffset, HelpViewerWindow* from, const QPoint& globalPos)
{
    const HelpTopicContent& content = document.content(topic);
    // A hotspot of another file leads from that file.
    const QString fileName = file == path_ ? QString() : file;
    switch (anchor.kind) {
    case HelpAnchor::Kind::Hotspot:
        if (anchor.hotspot >= 0 && anchor.hotspot < int(content.hotspots.size())) {
            HelpHotspot hotspot = content.hotspots[size_t(anchor.hotspot)];
            if (hotspot.file.isEmpty())
                hotspot.file = fileName;
            activateHotspot(hotspot, from, globalPos);
        }
        break;
    case HelpAnchor::Kind::Macro:
        runMacros(anchor.macro, from, globalPos);
        break;
    case HelpAnchor::Kind::Picture: {
        const HelpTopicRenderer renderer(document, topic, fontScale_);
        const HelpPicture* picture = renderer.pictureOf(anchor.picture, anchor.pictureInTopic);
        if (!picture)
            break;
        for (const HelpPictureHotspot& area : picture->hotspots)
            if (area.area.contains(pictureOffset)) {
                HelpHotspot hotspot = area.hotspot;
                if (hotspot.file.isEmpty())
                    hotspot.file = fileName;
                activateHotspot(hotspot, from, globalPos);
                break;
            }
        break;
    }
    case HelpAnchor::Kind::None:
        break;
    }
}

void HelpViewer::activateHotspot(const HelpHotspot& hotspot, HelpViewerWindow* from, const QPoint& globalPos)
{
    if (hotspot.kind == HelpHotspot::Kind::Macro) {
        runMacros(hotspot.macro, from, globalPos);
        return;
    }
    QString path = path_;
    const HelpDocument* document = isThisFile(hotspot.file) ? &document_ : otherDocument(hotspot.file, &path);
    if (!document)
        return;
    HelpLocation location;
    if (isThisFile(hotspot.file) && hotspot.targetTopic >= 0)
        location = HelpLocation{hotspot.targetTopic, document->topics[size_t(hotspot.targetTopic)].topicOffset, true};
    if (!location.isValid())
        location = document->locate(hotspot.targetHash);
    if (!location.isValid() && !hotspot.targetId.isEmpty())
        location.topic = document->findTopic(hotspot.targetId);
    if (!location.isValid()) {
        warn(from, QStringLiteral("The topic %1 does not exist in %2.")
                                    .arg(document->targetText(hotspot), QFileInfo(path).fileName()));
        return;
    }
    if (hotspot.kind == HelpHotspot::Kind::Popup)
        showPopup(hotspot.file, location.topic, globalPos, from);
    else
        jumpToLocation(hotspot.file, location, hotspot.window, from);
}

void HelpViewer::runMacros(const QString& text, HelpViewerWindow* from, const QPoint& globalPos)
{
    macros_->run(text, from ? from : mainWindow(), globalPos, HelpMacroRunner::Source::User);
}

void HelpViewer::runFileMacros(const QString& text, HelpViewerWindow* from)
{
    macros_->run(text, from ? from : mainWindow(), QPoint(), HelpMacroRunner::Source::File);
}

} // namespace ts
#include "moc_HelpViewer.cpp"
