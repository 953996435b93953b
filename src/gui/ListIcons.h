#pragma once
// The small icons of the topic lists: the books and pages of the contents
// editor and the page of a topic found by Search.

#include <QIcon>
#include <QString>

namespace ts {

struct ListIcons {
    QIcon openBook;     // an expanded heading of the contents
    QIcon questionPage; // a topic entry of the contents
    QIcon closedBook;   // a collapsed heading of the contents
    QIcon plainPage;    // a page without a mark
    QIcon checkedPage;  // a topic that Search found

    // The icons from the program's resources, which must be registered.
    static ListIcons fromResources()
    {
        const auto icon = [](const char* name) { return QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(name)); };
        return {icon("book-open"), icon("page-question"), icon("book-closed"), icon("page-plain"), icon("page-checked")};
    }
};

} // namespace ts
