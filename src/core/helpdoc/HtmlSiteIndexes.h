#pragma once
// The site's pages and files beside the topics: index.html (the contents
// as a tree beside the first topic), keywords.html (the K keywords),
// search.html with the search index it reads (search-index.js, also the
// keyword tables that ALink and KLink look words up in) and map.json
// ([MAP] numbers -> pages).

#include "HtmlSitePlan.h"
#include "HtmlTopicPage.h"

#include <QString>

namespace ts::publish {

// The page the site opens with: the contents topic, else the first topic.
int firstTopic(const HelpDocument& doc);

QString contentsPage(const SitePlan& plan, const PageSettings& settings);
QString keywordPage(const SitePlan& plan, const PageSettings& settings);
QString searchPage(const PageSettings& settings);
QString searchIndexScript(const SitePlan& plan);
QString mapJson(const SitePlan& plan);

// The contents as the CHM's .hhc wants it: one entry per line, its level,
// its text and its page ("" for a heading); the topic list without a
// contents file.
struct ContentsItem {
    int level = 1;
    QString text;
    QString page; // empty for a heading
    bool heading = false;
    QString note; // an entry that leads nowhere: why
};
std::vector<ContentsItem> contentsItems(const SitePlan& plan);

} // namespace ts::publish
