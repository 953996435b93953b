#include "HtmlPublisher.h"

#include "HtmlPictures.h"
#include "HtmlSiteAssets.h"
#include "HtmlSiteIndexes.h"
#include "HtmlSitePlan.h"
#include "HtmlTopicPage.h"
#include "model/CountText.h"
#include "model/IoError.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace ts::publish {

QString PublishReport::summary() const
{
    return QStringLiteral("%1, %2, %3; %4")
        .arg(countText(pages, QStringLiteral("page"), QStringLiteral("pages")),
             countText(pictures, QStringLiteral("picture"), QStringLiteral("pictures")),
             countText(keywords, QStringLiteral("keyword"), QStringLiteral("keywords")),
             countText(warnings, QStringLiteral("warning"), QStringLiteral("warnings")));
}

const SiteFile* HtmlSite::file(const QString& path) const
{
    for (const SiteFile& f : files)
        if (f.path == path)
            return &f;
    return nullptr;
}

namespace {

// SetPopupColor(r, g, b) or SetPopupColor(COLORREF) among the file's macros.
std::optional<std::uint32_t> popupColour(const HelpDocument& doc)
{
    std::optional<std::uint32_t> colour;
    for (const QString& macro : doc.configMacros) {
        for (const MacroCall& call : parseMacroCalls(macro)) {
            const QString name = call.name.toLower();
            if (name != QLatin1String("setpopupcolor") && name != QLatin1String("spc"))
                continue;
            if (call.arguments.size() >= 3) {
                colour = (call.arguments[0].toUInt(nullptr, 0) & 0xFF) << 16 | (call.arguments[1].toUInt(nullptr, 0) & 0xFF) << 8
                        | (call.arguments[2].toUInt(nullptr, 0) & 0xFF);
            } else if (call.arguments.size() == 1) {
                const std::uint32_t bgr = call.arguments[0].toUInt(nullptr, 0);
                colour = (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
            }
        }
    }
    return colour;
}

// Macros that WinHelp runs by itself (when the file opens, when a topic is
// shown) have no hotspot to make inert; the log says which cannot run.
void noteUnrunMacros(const HelpDocument& doc, PublishLog& log)
{
    auto note = [&log](const QString& macro, const QString& where) {
        for (const MacroCall& call : parseMacroCalls(macro)) {
            const MacroKind kind = macroKind(call.name);
            if (kind != MacroKind::Ignorable)
                log.tally(QStringLiteral("The macro %1 that WinHelp runs %2 does not run in a web page").arg(call.name, where));
        }
    };
    for (const QString& macro : doc.configMacros)
        note(macro, QStringLiteral("when the file opens"));
    for (const HelpWindowDefinition& window : doc.windows)
        for (const QString& macro : window.configMacros)
            note(macro, QStringLiteral("when a window opens"));
    for (const HelpTopic& topic : doc.topics)
        for (const QString& macro : topic.entryMacros)
            note(macro, QStringLiteral("when a topic is shown"));
}

int threadsFor(const PublishOptions& options)
{
    return options.threads > 0 ? options.threads : int(std::max(1u, std::thread::hardware_concurrency()));
}

struct PageJob {
    int topic;
    int window;
    QString path;
};

// Makes the pages on several threads, each taking every n-th page, so the
// calling thread, the only one that reports progress, always makes its
// share and the progress moves however the threads are scheduled.
std::vector<QByteArray> makePages(const std::vector<PageJob>& jobs, const SitePlan& plan, SitePictures& pictures,
                                  const PageSettings& settings, const PublishOptions& options)
{
    std::vector<QByteArray> pages(jobs.size());
    std::atomic<size_t> done{0};
    const int threads = std::min<int>(threadsFor(options), int(jobs.size() / 16 + 1));
    auto work = [&](int first) {
        for (size_t i = size_t(first); i < jobs.size(); i += size_t(threads)) {
            pages[i] = topicPage(plan, pictures, settings, jobs[i].topic, jobs[i].window).toUtf8();
            const size_t finished = ++done;
            if (first == 0 && options.progress)
                options.progress(int(finished), int(jobs.size()));
        }
    };
    std::vector<std::thread> helpers;
    for (int k = 1; k < threads; ++k)
        helpers.emplace_back(work, k);
    work(0);
    for (std::thread& t : helpers)
        t.join();
    if (options.progress)
        options.progress(int(jobs.size()), int(jobs.size()));
    return pages;
}

void describeForChm(HtmlSite& site, const SitePlan& plan)
{
    const HelpDocument& doc = plan.document();
    for (const ContentsItem& item : contentsItems(plan))
        site.contents.push_back({item.level, item.text, item.page});
    const auto table = doc.keywordTables.find(QLatin1Char('K'));
    if (table != doc.keywordTables.end()) {
        for (const HelpKeyword& keyword : table->second) {
            HtmlSite::KeywordLine line{keyword.text, {}, {}};
            for (const int t : keyword.topics) {
                if (t >= 0 && t < plan.topicCount() && !line.pages.contains(plan.pageOf(t))) {
                    line.pages << plan.pageOf(t);
                    line.titles << doc.topics[size_t(t)].title;
                }
            }
            site.keywords.push_back(line);
        }
    }
    for (const HelpMapEntry& entry : doc.mapEntries)
        if (entry.location.isValid())
            site.map.push_back({entry.number, doc.topics[size_t(entry.location.topic)].idOrHash(),
                                plan.pageOf(entry.location.topic)});
}

} // namespace

HtmlSite publishHtml(const HelpDocument& doc, const PublishOptions& options)
{
    PublishLog log;
    for (const HelpProblem& problem : doc.problems)
        log.warn(QStringLiteral("Could not be read: %1").arg(problem.text()), -2);
    const SitePlan plan(doc, log);
    for (int t = 0; t < plan.topicCount(); ++t)
        for (const HelpProblem& problem : doc.content(t).problems)
            log.warn(QStringLiteral("%1 could not be read in full: %2").arg(plan.topicLabel(t), problem.text()), t);
    noteUnrunMacros(doc, log);

    PageSettings settings;
    settings.language = options.language;
    settings.popupColour = popupColour(doc);
    const ParagraphStyles paragraphStyles = ParagraphStyles::of(doc);
    settings.paragraphStyles = &paragraphStyles;
    SitePictures pictures(doc, log);

    std::vector<PageJob> jobs;
    for (int t = 0; t < plan.topicCount(); ++t)
        jobs.push_back({t, plan.windowOf(t), plan.pageOf(t)});
    for (const auto& [key, page] : plan.windowPages())
        jobs.push_back({key.first, key.second, page});
    const std::vector<QByteArray> pages = makePages(jobs, plan, pictures, settings, options);

    HtmlSite site;
    site.files.reserve(jobs.size() + pictures.files().size() + 8);
    for (size_t i = 0; i < jobs.size(); ++i)
        site.files.push_back({jobs[i].path, pages[i]});
    const int first = firstTopic(doc);
    site.firstPage = first >= 0 ? plan.pageOf(first) : QStringLiteral("index.html");
    site.files.push_back({QStringLiteral("index.html"), contentsPage(plan, settings).toUtf8()});
    site.files.push_back({QStringLiteral("keywords.html"), keywordPage(plan, settings).toUtf8()});
    site.files.push_back({QStringLiteral("search.html"), searchPage(settings).toUtf8()});
    site.files.push_back({QStringLiteral("search-index.js"), searchIndexScript(plan).toUtf8()});
    site.files.push_back({QStringLiteral("site.css"), (siteStyleSheet(doc) + paragraphStyles.css()).toUtf8()});
    site.files.push_back({QStringLiteral("site.js"), siteScript().toUtf8()});
    site.files.push_back({QStringLiteral("map.json"), mapJson(plan).toUtf8()});
    for (const auto& [path, png] : pictures.files())
        site.files.push_back({path, png});
    describeForChm(site, plan);
    site.title = doc.contents.title.isEmpty() ? doc.title : doc.contents.title;

    PublishReport& report = site.report;
    report.pages = int(jobs.size());
    report.pictures = int(pictures.files().size());
    const auto keywords = doc.keywordTables.find(QLatin1Char('K'));
    report.keywords = keywords == doc.keywordTables.end() ? 0 : int(keywords->second.size());
    report.logLines = log.lines();
    report.warnings = log.warnings();
    report.logLines << report.summary();
    return site;
}

namespace {

// Threads that write a site's files.
constexpr size_t SiteWriters = 4;

// Whole or not at all, like QSaveFile, but without its sync to disk: a site
// of thousands of pages would otherwise wait for the disk thousands of times,
// and a page lost to a power cut is made again by publishing again. A file
// that is there already is replaced only once its successor is complete; a
// new one is written in place and removed again when the writing fails.
void writeWhole(const QString& path, const QByteArray& bytes)
{
    const QFileInfo existing(path);
    if (existing.exists() && existing.size() == bytes.size()) {
        // Publishing again leaves the pages that did not change as they are.
        QFile old(path);
        if (old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
            return;
    }
    if (!existing.exists()) {
        QFile out(path);
        if (out.open(QIODevice::NewOnly) && out.write(bytes) == bytes.size() && out.flush())
            return;
        const QString why = out.errorString();
        if (out.isOpen())
            out.remove();
        throw IoError(QStringLiteral("Cannot write '%1': %2").arg(path, why));
    }
    QTemporaryFile temporary(path + QLatin1String(".XXXXXX"));
    temporary.setAutoRemove(true);
    if (!temporary.open() || temporary.write(bytes) != bytes.size() || !temporary.flush())
        throw IoError(QStringLiteral("Cannot write '%1': %2").arg(path, temporary.errorString()));
    temporary.setPermissions(QFile::permissions(path));
    temporary.close();
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        throw IoError(QStringLiteral("Cannot write '%1': %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    temporary.setAutoRemove(false);
}

} // namespace

void writeSite(const HtmlSite& site, const QString& folder)
{
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (QFileInfo(root).exists() && !QFileInfo(root).isDir())
        throw IoError(QStringLiteral("Cannot publish into '%1': it is a file, not a folder").arg(root));
    if (!QDir().mkpath(root))
        throw IoError(QStringLiteral("Cannot make the folder '%1'").arg(root));
    std::vector<QString> paths;
    paths.reserve(site.files.size());
    QSet<QString> folders;
    for (const SiteFile& file : site.files) {
        const QString path = QDir::cleanPath(root + QLatin1Char('/') + file.path);
        if (!path.startsWith(root + QLatin1Char('/')))
            throw IoError(QStringLiteral("Refused to write '%1': it lies outside '%2'").arg(file.path, root));
        const QString parent = QFileInfo(path).absolutePath();
        if (parent != root && !folders.contains(parent)) {
            if (!QDir().mkpath(parent))
                throw IoError(QStringLiteral("Cannot make the folder '%1'").arg(parent));
            folders.insert(parent);
        }
        paths.push_back(path);
    }
    // Most of a first publish is the file system making thousands of files;
    // several writers keep it busy while one waits. The first failure stops
    // the others and is the one reported.
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto work = [&] {
        for (size_t i = next++; i < paths.size() && !failed; i = next++) {
            try {
                writeWhole(paths[i], site.files[i].bytes);
            } catch (...) {
                std::lock_guard lock(failureMutex);
                if (!failed.exchange(true))
                    failure = std::current_exception();
            }
        }
    };
    const int writers = int(std::min<size_t>(SiteWriters, paths.size() / 64 + 1));
    std::vector<std::thread> helpers;
    for (int k = 1; k < writers; ++k)
        helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
}

QByteArray publishLogText(const PublishReport& report)
{
    return report.logLines.join(QLatin1Char('\n')).toUtf8() + '\n';
}

} // namespace ts::publish
