#pragma once
// One topic as a page: the non-scrolling region as a band that stays at the
// top in its colour, the scrolling region in the topic colour, and the text
// of every pop-up the page opens, hidden until its hotspot is used. Fonts,
// sizes, colours, alignment, indents, spacing and tab stops are kept as far
// as HTML allows; every text of the help file is escaped.

#include "HtmlPictures.h"
#include "HtmlSitePlan.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace ts::publish {

// The metrics of a paragraph as CSS declarations ("margin-left:18pt;"),
// empty for a paragraph with none.
QString paragraphStyle(const HelpParagraph& paragraph);

// Every paragraph style of a document, numbered in the order of the topics:
// pages name them as classes ("p3") that site.css defines, since help files
// repeat a few paragraph formats thousands of times.
struct ParagraphStyles {
    QHash<QString, int> numbers;
    QStringList inOrder;
    static ParagraphStyles of(const HelpDocument& doc);
    QString css() const; // ".p0{margin-left:18pt;}" one a line
};

struct PageSettings {
    QString language = QStringLiteral("en");
    // The background of pop-ups (SetPopupColor); empty = the caller's colour.
    std::optional<std::uint32_t> popupColour;
    // Paragraph formats shared through site.css; none = inline styles.
    const ParagraphStyles* paragraphStyles = nullptr;
};

// The page of `topic` shown in `window` (an index into the document's
// windows, -1 for a window the file does not define).
QString topicPage(const SitePlan& plan, SitePictures& pictures, const PageSettings& settings, int topic, int window);

} // namespace ts::publish
