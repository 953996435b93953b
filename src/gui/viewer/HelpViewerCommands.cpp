// HelpViewer's commands beyond showing a topic: other help files beside this
// one, Help Topics (Contents, Index, Find), Topics Found for keywords and
// ALink/KLink, History, printing, copying, About, Open, web addresses.

#include "HelpTopicListDialog.h"
#include "HelpTopicRenderer.h"
#include "HelpViewer.h"
#include "Prompter.h"
#include "helpfile/HelpIndexFiles.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QTextDocument>
#include <QUrl>
#include <QDesktopServices>

#include <algorithm>
#include <set>

namespace ts {
namespace {

const QString MainName = QStringLiteral("main");

void addTargets(std::vector<HelpIndexTarget>& targets, const HelpDocument& document, const QString& path,
                const HelpKeyword& keyword)
{
    for (int topic : keyword.topics) {
        if (topic < 0 || topic >= int(document.topics.size()))
            continue;
        const bool known = std::any_of(targets.begin(), targets.end(), [&](const HelpIndexTarget& t) {
            return t.topic == topic && t.file == path;
        });
        if (!known)
            targets.push_back({path, topic, document.topics[size_t(topic)].title, document.title});
    }
}

} // namespace

// ------------------------------------------------------------ other files

const HelpDocument* HelpViewer::documentFor(const QString& file)
{
    return isThisFile(file) ? &document_ : otherDocument(file);
}

bool HelpViewer::isThisFile(const QString& fileName) const
{
    return fileName.isEmpty()
           || QFileInfo(fileName).fileName().compare(QFileInfo(path_).fileName(), Qt::CaseInsensitive) == 0;
}

const HelpDocument* HelpViewer::otherDocument(const QString& fileName, QString* path)
{
    const QDir folder = QFileInfo(path_).absoluteDir();
    QString found = folder.filePath(QFileInfo(fileName).fileName());
    if (!QFileInfo(found).isFile())
        for (const QString& entry : folder.entryList(QDir::Files))
            if (entry.compare(QFileInfo(fileName).fileName(), Qt::CaseInsensitive) == 0)
                found = folder.filePath(entry);
    if (path)
        *path = found;
    auto it = otherDocuments_.find(found);
    if (it == otherDocuments_.end()) {
        if (!QFileInfo(found).isFile()) {
            warn(dialogParent(), QStringLiteral("The help file %1 does not exist.").arg(QDir::toNativeSeparators(found)));
            return nullptr;
        }
        it = otherDocuments_.emplace(found, loader(found)).first;
    }
    if (!it->second.readable) {
        warn(dialogParent(),
             QStringLiteral("%1 is not a Windows help file, or it is damaged.").arg(QDir::toNativeSeparators(found)));
        return nullptr;
    }
    return &it->second;
}

bool HelpViewer::jumpToLocation(const QString& file, HelpLocation location, const QString& windowName,
                                HelpViewerWindow* from)
{
    if (!isThisFile(file)) {
        QString path;
        const HelpDocument* other = otherDocument(file, &path);
        if (!other || !location.isValid())
            return false;
        // The window switches to the other file and starts a new Back list.
        openDocument(*other, path, other->topics[size_t(location.topic)].idOrHash());
        from = mainWindow();
    }
    return showTopic(location.topic, windowName, from, location.topicOffset, location.atTopicStart);
}

bool HelpViewer::jumpToIndex(const QString& file, int topic, const QString& windowName, HelpViewerWindow* from)
{
    const HelpDocument* document = isThisFile(file) ? &document_ : otherDocument(file);
    if (!document)
        return false;
    if (topic < 0 || topic >= int(document->topics.size()))
        return showTopic(-1);
    return jumpToLocation(file, HelpLocation{topic, document->topics[size_t(topic)].topicOffset, true}, windowName, from);
}

bool HelpViewer::jump(const QString& file, const QString& topicId, const QString& windowName, HelpViewerWindow* from)
{
    const HelpDocument* document = isThisFile(file) ? &document_ : otherDocument(file);
    if (!document)
        return false;
    const int topic = document->findTopic(topicId);
    if (topic < 0) {
        warn(from, QStringLiteral("The topic %1 does not exist in %2.")
                                    .arg(topicId, isThisFile(file) ? QFileInfo(path_).fileName() : file));
        return false;
    }
    return jumpToIndex(file, topic, windowName, from);
}

void HelpViewer::offerAddress(const QString& address, HelpViewerWindow* from)
{
    const QString question =
        QStringLiteral("This help file opens the address\r%1\rin your web browser or mail program. Open it?").arg(address);
    const auto answer = prompter_.message(from, question,
                                          QStringLiteral("Topicsmith"), Prompter::Buttons::YesNo, Prompter::Icon::Question);
    if (answer == Prompter::Answer::Yes && openUrl && !openUrl(QUrl(address)))
        prompter_.error(from, QStringLiteral("No program could be found to open %1.").arg(address));
}

// ------------------------------------------------------------ Help Topics

HelpTopicsDialog* HelpViewer::topicsDialog()
{
    if (!topicsDialog_) {
        topicsDialog_ = new HelpTopicsDialog(mainWindow());
        connect(topicsDialog_, &HelpTopicsDialog::contentsEntryChosen, this, [this](const HelpContentsEntry& entry) {
            lastTab_ = HelpTopicsDialog::Tab::Contents;
            if (entry.kind == HelpContentsEntry::Kind::Macro)
                runMacros(entry.macro, mainWindow());
            else if (entry.file.isEmpty() && entry.topic >= 0)
                showTopic(entry.topic, entry.window, mainWindow());
            else
                jump(entry.file, entry.topicId, entry.window, mainWindow());
        });
        connect(topicsDialog_, &HelpTopicsDialog::indexEntryChosen, this, [this](const HelpIndexEntry& entry) {
            lastTab_ = HelpTopicsDialog::Tab::Index;
            chooseTarget(entry.targets, QString(), mainWindow());
        });
        connect(topicsDialog_, &HelpTopicsDialog::findTopicChosen, this, [this](int topic) {
            lastTab_ = HelpTopicsDialog::Tab::Find;
            showTopic(topic, QString(), mainWindow());
        });
    }
    refreshTopicsDialog();
    return topicsDialog_;
}

void HelpViewer::refreshTopicsDialog()
{
    if (!topicsDialog_ || !topicsDialogStale_)
        return;
    topicsDialogStale_ = false;
    const QString caption = !document_.contents.title.isEmpty() ? document_.contents.title
                            : !document_.title.isEmpty()         ? document_.title
                                                                 : QFileInfo(path_).fileName();
    topicsDialog_->setSources(&document_, caption, buildIndex());
}

// The K keywords of this file and of the files the contents file adds with
// :Index, merged without regard to case and sorted in keyword order, as the
// help compiler sorts a file's index.
std::vector<HelpIndexEntry> HelpViewer::buildIndex()
{
    std::map<QString, HelpIndexEntry> merged;
    auto add = [&](const HelpDocument& document, const QString& path) {
        const auto table = document.keywordTables.find(QLatin1Char('K'));
        if (table == document.keywordTables.end())
            return;
        for (const HelpKeyword& keyword : table->second) {
            HelpIndexEntry& entry = merged[keyword.text.toCaseFolded()];
            if (entry.keyword.isEmpty())
                entry.keyword = keyword.text;
            addTargets(entry.targets, document, path, keyword);
        }
    };
    add(document_, path_);
    for (const HelpContents::Index& extra : document_.contents.indexes) {
        QString path;
        if (!isThisFile(extra.file))
            if (const HelpDocument* other = otherDocument(extra.file, &path))
                add(*other, path);
    }
    std::vector<std::pair<helpfile::KeywordOrderKey, HelpIndexEntry>> keyed;
    keyed.reserve(merged.size());
    for (auto& [key, entry] : merged)
        if (!entry.targets.empty())
            keyed.emplace_back(helpfile::keywordOrderKey(entry.keyword), std::move(entry));
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return helpfile::keywordLess(a.first, b.first); });
    std::vector<HelpIndexEntry> index;
    index.reserve(keyed.size());
    for (auto& [key, entry] : keyed)
        index.push_back(std::move(entry));
    return index;
}

void HelpViewer::showTopicsDialog(HelpTopicsDialog::Tab tab)
{
    HelpTopicsDialog* dialog = topicsDialog();
    dialog->showTab(tab);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void HelpViewer::showLastTopicsTab() { showTopicsDialog(lastTab_); }

// Contents: the Help Topics dialog when a contents file lists the topics,
// else the contents topic.
void HelpViewer::showContents(HelpViewerWindow* from)
{
    if (!document_.contents.entries.empty())
        showTopicsDialog(HelpTopicsDialog::Tab::Contents);
    else
        jumpContents(QString(), QString(), from);
}

void HelpViewer::jumpContents(const QString& file, const QString& windowName, HelpViewerWindow* from)
{
    if (!isThisFile(file)) {
        QString path;
        if (const HelpDocument* other = otherDocument(file, &path))
            jumpToIndex(file, std::max(0, other->contentsTopic), windowName, from);
        return;
    }
    const int topic = contentsTopic_ >= 0 ? contentsTopic_ : std::max(0, document_.contentsTopic);
    showTopic(topic, windowName, from);
}

// ------------------------------------------------------- keywords, ALink, KLink

void HelpViewer::keywordLink(QChar table, const QString& keywords, int type, const QString& topicId,
                             const QString& windowName, HelpViewerWindow* from)
{
    std::vector<HelpIndexTarget> targets;
    std::vector<std::pair<const HelpDocument*, QString>> files{{&document_, path_}};
    for (const QString& link : document_.contents.links) {
        QString path;
        if (!isThisFile(link))
            if (const HelpDocument* other = otherDocument(link, &path))
                files.emplace_back(other, path);
    }
    for (const QString& word : keywords.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        for (const auto& [document, path] : files)
            if (const HelpKeyword* keyword = document->findKeyword(table, word.trimmed()))
                addTargets(targets, *document, path, *keyword);
    if (targets.empty()) {
        if (!topicId.isEmpty())
            jump(QString(), topicId, windowName, from);
        else
            prompter_.message(from, QStringLiteral("No topics are linked to \"%1\".").arg(keywords),
                              QStringLiteral("Topicsmith"), Prompter::Buttons::Ok, Prompter::Icon::Information);
        return;
    }
    // Type 1 (JUMP) shows the first topic instead of the list.
    if (type & 1)
        targets.resize(1);
    chooseTarget(targets, windowName, from);
}

void HelpViewer::chooseTarget(const std::vector<HelpIndexTarget>& targets, const QString& windowName,
                              HelpViewerWindow* from)
{
    if (targets.empty())
        return;
    int row = 0;
    if (targets.size() > 1) {
        const bool severalFiles = std::any_of(targets.begin(), targets.end(),
                                              [&](const HelpIndexTarget& t) { return t.file != targets.front().file; });
        std::vector<HelpTopicListDialog::Item> items;
        for (const HelpIndexTarget& target : targets)
            items.push_back({target.title, severalFiles ? target.location : QString()});
        row = HelpTopicListDialog::choose(from ? static_cast<QWidget*>(from) : mainWindow(), QStringLiteral("Topics Found"),
                                          QStringLiteral("Click a topic, then click Display."), items);
        if (row < 0)
            return;
    }
    goToTarget(targets[size_t(row)], windowName, from);
}

void HelpViewer::goToTarget(const HelpIndexTarget& target, const QString& windowName, HelpViewerWindow* from)
{
    jumpToIndex(target.file == path_ ? QString() : target.file, target.topic, windowName, from);
}

bool HelpViewer::jumpKeyword(const QString& file, const QString& keyword, HelpViewerWindow* from)
{
    QString path = path_;
    const HelpDocument* document = isThisFile(file) ? &document_ : otherDocument(file, &path);
    const HelpKeyword* found = document ? document->findKeyword(QLatin1Char('K'), keyword) : nullptr;
    if (!found || found->topics.empty()) {
        if (document)
            prompter_.message(from, QStringLiteral("No topics are linked to \"%1\".").arg(keyword),
                              QStringLiteral("Topicsmith"), Prompter::Buttons::Ok, Prompter::Icon::Information);
        return false;
    }
    return jumpToIndex(file, found->topics.front(), QString(), from);
}

// ------------------------------------------------------------ History

void HelpViewer::showHistory()
{
    if (!historyDialog_) {
        historyDialog_ = new HelpTopicListDialog(QStringLiteral("Windows Help History Window"),
                                                 QStringLiteral("Topics shown, the most recent first:"), mainWindow());
        historyDialog_->setObjectName(QStringLiteral("historyDialog"));
        historyDialog_->displayButton->setText(QStringLiteral("&Display"));
        connect(historyDialog_, &HelpTopicListDialog::rowChosen, this, [this](int row) {
            if (row < 0 || row >= int(history_.size()))
                return;
            const HelpPage page = history_[size_t(row)];
            if (page.file == path_)
                showTopic(page.topic, MainName, mainWindow(), page.topicOffset, page.atTopicStart);
            else if (openFile(page.file))
                showTopic(page.topic, MainName, mainWindow(), page.topicOffset, page.atTopicStart);
        });
    }
    refreshHistoryDialog();
    historyDialog_->show();
    historyDialog_->raise();
}

void HelpViewer::refreshHistoryDialog()
{
    if (!historyDialog_)
        return;
    std::vector<HelpTopicListDialog::Item> items;
    for (const HelpPage& page : history_)
        items.push_back({page.title.isEmpty() ? QStringLiteral("(untitled topic)") : page.title,
                         page.file == path_ ? QString() : QFileInfo(page.file).fileName()});
    historyDialog_->setItems(items);
}

// ------------------------------------------------------ print, copy, font

void HelpViewer::printTopic(HelpViewerWindow* window)
{
    if (!window || window->page.topic < 0)
        return;
    const HelpTopicContent& content = document_.content(window->page.topic);
    std::vector<HelpParagraph> paragraphs = content.nonScrolling;
    paragraphs.insert(paragraphs.end(), content.scrolling.begin(), content.scrolling.end());
    QObject owner;
    const QTextDocument* text = HelpTopicRenderer(document_, window->page.topic).render(paragraphs, &owner);
    prompter_.print(window, *text, window->page.title.isEmpty() ? window->windowTitle() : window->page.title);
}

// Copy takes the selection, or the whole topic when nothing is selected.
void HelpViewer::copyTopic(HelpViewerWindow* window)
{
    if (!window || window->page.topic < 0)
        return;
    for (HelpTopicView* view : {window->scrollingView, window->nonScrollingView})
        if (view->textCursor().hasSelection()) {
            view->copy();
            return;
        }
    auto* data = new QMimeData;
    QString text = document_.topicText(window->page.topic);
    data->setText(text);
    QString html = window->nonScrollingView->isVisibleTo(window) ? window->nonScrollingView->document()->toHtml() : QString();
    data->setHtml(html + window->scrollingView->document()->toHtml());
    QApplication::clipboard()->setMimeData(data);
}

void HelpViewer::setFontScale(double scale)
{
    fontScale_ = scale;
    for (HelpViewerWindow* window : windows())
        if (window->page.topic >= 0)
            renderPage(window);
}

void HelpViewer::showAbout(HelpViewerWindow* from)
{
    QString text = document_.title.isEmpty() ? QFileInfo(path_).fileName() : document_.title;
    if (!document_.copyright.isEmpty())
        text += QStringLiteral("\r") + document_.copyright;
    text += QStringLiteral("\r\rShown by Topicsmith %1").arg(QStringLiteral(TOPICSMITH_VERSION));
    prompter_.message(from, text, QStringLiteral("About Help"), Prompter::Buttons::Ok, Prompter::Icon::Information);
}

void HelpViewer::chooseAndOpenFile()
{
    const QString chosen =
        prompter_.openFile(mainWindow(), QStringLiteral("Help Files (*.hlp)|*.HLP"), QStringLiteral("*.hlp"));
    if (!chosen.isEmpty())
        openFile(chosen);
}

} // namespace ts
