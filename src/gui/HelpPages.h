#pragma once
// The pages of the program's own help, built into the program as HTML
// resources under ":/help/". Each page names its title in <title> and, when
// a window or control opens it by number, that number in
// <meta name="context" content="N">. The contents page ("index.html") lists
// the pages in the order the help window's contents list shows them.

#include <QList>
#include <QString>

namespace ts {

struct HelpPage {
    QString file;            // "window-editor.html", relative to :/help/
    QString title;
    int context = 0;         // 0: no window or control opens this page by number
    QString html;
    QString plainText;       // for the search box
    QString firstParagraph;  // HTML of the first <p>, for pop-ups
};

class HelpPages {
public:
    // The built-in pages, read once from the resources.
    static const HelpPages& builtIn();

    static QString contentsPage() { return QStringLiteral("index.html"); }

    // All pages, in contents order.
    const QList<HelpPage>& pages() const { return pages_; }
    const HelpPage* page(const QString& file) const;
    const HelpPage* pageForContext(int context) const;

    // Files of the pages whose text holds every word of `query` (letter case
    // ignored), in contents order. An empty query matches nothing.
    QStringList search(const QString& query) const;

    // Reads the pages of a resource or disk folder; pages that are not linked
    // from the contents page follow the linked ones in name order.
    static HelpPages fromFolder(const QString& folder);

private:
    QList<HelpPage> pages_;
};

} // namespace ts
