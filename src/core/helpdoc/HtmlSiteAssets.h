#pragma once
// The files every published site carries (its style sheet and its script)
// and the parts every page shares: the head, the button bar with the
// search box. Nothing here loads anything from outside the site.

#include "helpfile/HelpDocument.h"

#include <QString>

namespace ts::publish {

// site.css: the fixed rules, then one class per font of the help file
// (".f3" for font 3), so that pages name a font in a few bytes.
QString siteStyleSheet(const HelpDocument& doc);
// site.js: pop-ups, keyword links, Back, the search page and the contents
// tree's keys. Written for old script engines too (a CHM viewer's).
QString siteScript();

// Everything up to and including <body ...>. `title` is plain text.
QString pageStart(const QString& title, const QString& language, const QString& bodyAttributes);
// The button bar: Contents, Index, Back, the browse buttons when given
// (hrefs, may be empty) and the search box; `target` names the frame the
// index and the search open in.
QString buttonBar(const QString& previousHref = QString(), const QString& nextHref = QString(),
                  const QString& target = QString());
inline const QString PageEnd = QStringLiteral("</body>\n</html>\n");

} // namespace ts::publish
