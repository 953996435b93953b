#pragma once
// Text on its way into a published site: HTML escaping, JavaScript/JSON
// string literals, CSS colours and lengths, and the file names of pages made
// from Topic IDs. Every text that comes from a help file or a project passes
// through one of these before it is written, so a title such as
// "<script>" shows as those characters and a Topic ID such as "../x" names
// a file inside the output folder.

#include <QSet>
#include <QString>

#include <cstdint>

namespace ts::publish {

// Text for an element's content or a quoted attribute value: & < > " ' escaped.
QString htmlEscaped(const QString& text);
// A JSON (and JavaScript) string literal with its quotes. Besides JSON's own
// escapes, < > & and the line separators U+2028/9 are written as \uXXXX so
// that the literal is also safe inside HTML and in older script engines.
QString jsonString(const QString& text);

// "#RRGGBB".
QString cssColour(std::uint32_t rgb);
// Twips as points, "7.5pt"; 0 as "0".
QString twipsAsPoints(int twips);

// Hands out page file names: the Topic ID (or any name) reduced to letters,
// digits, '-', '_' and '.', never starting with '.', at most 80 characters,
// unique without regard to case (a CHM and some file systems ignore case),
// never one of the site's own files, with ".html" appended.
class PageNames {
public:
    PageNames();
    QString take(const QString& wanted);
    // The stem a name would get before it is made unique, for links into
    // another help file's site.
    static QString stemFor(const QString& wanted);

private:
    QSet<QString> used_; // case-folded
};


} // namespace ts::publish
