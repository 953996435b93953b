#pragma once
// The plan of a published site, made before any page is written: a page
// file name for every topic (and for every topic that a jump shows in
// another window), the places inside topics that jumps and [MAP] numbers
// lead to, and where every hotspot and navigating macro leads. The pages,
// the contents tree, the index and the CHM's files all take their links
// from here, so they agree.

#include "helpfile/HelpDocument.h"
#include "HtmlMacros.h"
#include "HtmlSiteText.h"

#include <QString>
#include <QStringList>

#include <map>
#include <mutex>
#include <set>
#include <vector>

namespace ts::publish {

// What the site could not show, broken links, missing pictures: the lines
// of the publish log. Safe to add to from several threads. Pages are made
// in any order and a pop-up is written into every page that opens it, so
// lines are kept once each and ordered by the topic they are about.
class PublishLog {
public:
    void warn(const QString& line, int topic = -1);
    // Counts one use of something repeated (an inert macro, links into
    // another file); one line per key is written at the end.
    void tally(const QString& key);
    QStringList lines() const; // the warnings, then one line per tallied key
    int warnings() const;

private:
    mutable std::mutex mutex_;
    std::map<std::pair<int, QString>, qsizetype> lines_; // (topic, line) -> the order it came in
    std::set<QString> known_;
    std::map<QString, int> tallies_;
};

// Where a link leads on the site.
struct SiteLink {
    enum class Kind { Page, Popup, External, Keywords, Back, Inert, Broken };
    Kind kind = Kind::Broken;
    QString href;       // Page, Popup (the target's page, for a browser without script), External
    int topic = -1;     // Popup: the topic shown in the pop-up; Page: the target topic when in this file
    QString keywords;   // Keywords: the ';'-separated keywords
    QChar table;        // Keywords: 'K' or 'A'
    QString note;       // Inert and Broken: why, for the tooltip
};

class SitePlan {
public:
    // Plans the site of `doc`: decodes every topic once to find the windows
    // and places that links use.
    SitePlan(const HelpDocument& doc, PublishLog& log);

    const HelpDocument& document() const { return doc_; }
    PublishLog& log() const { return log_; }
    // The page of a topic in its own window.
    const QString& pageOf(int topic) const { return pages_[size_t(topic)]; }
    int topicCount() const { return int(pages_.size()); }
    // The window a topic shows in: its own, else "main"; -1 when the file
    // defines no window at all.
    int windowOf(int topic) const;
    // Topic pages made for a jump into another window: (topic, window) -> page.
    const std::map<std::pair<int, int>, QString>& windowPages() const { return windowPages_; }
    // Whether a paragraph at `offset` of `topic` needs an anchor.
    bool isAnchor(int topic, std::uint32_t offset) const { return anchors_.count({topic, offset}) != 0; }
    static QString anchorName(std::uint32_t offset) { return QStringLiteral("at-%1").arg(offset); }

    SiteLink linkFor(const HelpHotspot& hotspot, int fromTopic) const;
    SiteLink linkForMacro(const QString& macro, int fromTopic) const;
    // The page (and anchor) a place in this file leads to; empty when invalid.
    QString hrefFor(const HelpLocation& location, int window = -1) const;
    // A page of another help file's site published beside this one.
    QString otherFileHref(const QString& file, const QString& topicId) const;

    QString topicLabel(int topic) const; // "'Title' (ID)" for the log

private:
    void planWindowPages();
    void planAnchors();
    int windowIndex(const QString& name) const;
    SiteLink linkToId(const QString& fileAndWindow, const QString& id, bool popup, int fromTopic) const;
    SiteLink linkToLocation(const HelpLocation& at, int window, bool popup) const;

    const HelpDocument& doc_;
    PublishLog& log_;
    QString ownFileName_; // "NAME.HLP" without a folder, to tell links into this file
    std::vector<QString> pages_;
    std::map<std::pair<int, int>, QString> windowPages_;
    std::set<std::pair<int, std::uint32_t>> anchors_;
    PageNames names_;
};

} // namespace ts::publish
