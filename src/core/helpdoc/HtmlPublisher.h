#pragma once
// Publishing a help file as a static web site: a HelpDocument in, the
// site's files out (in memory, then written to a folder), with a publish log
// that says what HTML could not show, which links lead nowhere and which
// pictures are missing. The site works opened from its folder and from any
// web server and loads nothing from elsewhere:
//
//   index.html        the contents as a tree beside the first topic
//   ID.html           one page per topic, named from its Topic ID
//   keywords.html     the index of K keywords
//   search.html       the search over search-index.js, written here
//   site.css site.js  the site's style and script
//   pictures/*.png    the pictures
//   map.json          [MAP] numbers -> pages
//
// Errors: building the site never fails (a damaged document gives what
// could be read, with notes in the log); writeSite() throws IoError naming
// the file that could not be written.

#include "helpfile/HelpDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace ts::publish {

struct PublishOptions {
    QString language = QStringLiteral("en"); // the pages' lang
    // Called as pages are made: (pages done, pages in all).
    std::function<void(int done, int total)> progress;
    // Pages are made on this many threads; 0 = one per core.
    int threads = 0;
};

struct PublishReport {
    int pages = 0, pictures = 0, keywords = 0, warnings = 0;
    QStringList logLines;    // the warnings, then the summary as the last line
    QString summary() const; // "12 pages, 3 pictures, 40 keywords; 2 warnings"
};

struct SiteFile {
    QString path; // relative to the site's folder, '/' between folders
    QByteArray bytes;
};

struct HtmlSite {
    std::vector<SiteFile> files;
    QString firstPage;          // the page of the contents topic
    PublishReport report;
    // For the CHM: the contents, one line per entry ({level, text, page}),
    // the K keywords with their pages, and [MAP] numbers with their pages.
    struct ContentsLine { int level; QString text, page; };
    std::vector<ContentsLine> contents;
    struct KeywordLine { QString keyword; QStringList pages, titles; };
    std::vector<KeywordLine> keywords;
    struct MapLine { int number; QString topicId, page; };
    std::vector<MapLine> map;
    QString title;

    const SiteFile* file(const QString& path) const;
};

HtmlSite publishHtml(const HelpDocument& doc, const PublishOptions& options = {});

// Writes every file of the site into `folder` (made when missing), each
// whole or not at all. Other files in the folder are left alone.
void writeSite(const HtmlSite& site, const QString& folder);

// The publish log as a text file: one line each, the summary last.
QByteArray publishLogText(const PublishReport& report);

} // namespace ts::publish
