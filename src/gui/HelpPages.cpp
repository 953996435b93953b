#include "HelpPages.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextDocumentFragment>

// The pages live in a static library; this pulls its resources into the program.
static void initHelpResources()
{
    Q_INIT_RESOURCE(helppages);
}

namespace ts {

namespace {

QString firstMatch(const QString& html, const QRegularExpression& re)
{
    const QRegularExpressionMatch m = re.match(html);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

HelpPage readPage(const QString& folder, const QString& file)
{
    static const QRegularExpression titleRe(QStringLiteral("<title>(.*?)</title>"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression contextRe(
        QStringLiteral("<meta\\s+name=\"context\"\\s+content=\"(\\d+)\""),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression paragraphRe(QStringLiteral("<p\\b[^>]*>(.*?)</p>"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);

    HelpPage page;
    page.file = file;
    QFile f(folder + QLatin1Char('/') + file);
    if (f.open(QIODevice::ReadOnly))
        page.html = QString::fromUtf8(f.readAll());
    page.title = QTextDocumentFragment::fromHtml(firstMatch(page.html, titleRe)).toPlainText();
    if (page.title.isEmpty())
        page.title = file;
    page.context = firstMatch(page.html, contextRe).toInt();
    page.firstParagraph = firstMatch(page.html, paragraphRe);
    QTextDocument doc;
    doc.setHtml(page.html);
    page.plainText = doc.toPlainText();
    return page;
}

} // namespace

HelpPages HelpPages::fromFolder(const QString& folder)
{
    QStringList files = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);

    // The contents page first, then the pages in the order it links them.
    QStringList ordered;
    if (files.contains(contentsPage())) {
        ordered << contentsPage();
        const HelpPage index = readPage(folder, contentsPage());
        static const QRegularExpression linkRe(QStringLiteral("href=\"([^\"#:/]+\\.html)"));
        for (auto it = linkRe.globalMatch(index.html); it.hasNext();) {
            const QString target = it.next().captured(1);
            if (files.contains(target) && !ordered.contains(target))
                ordered << target;
        }
    }
    for (const QString& f : files)
        if (!ordered.contains(f))
            ordered << f;

    HelpPages result;
    for (const QString& f : ordered)
        result.pages_.append(readPage(folder, f));
    return result;
}

const HelpPages& HelpPages::builtIn()
{
    static const HelpPages pages = [] {
        initHelpResources();
        return fromFolder(QStringLiteral(":/help"));
    }();
    return pages;
}

const HelpPage* HelpPages::page(const QString& file) const
{
    for (const HelpPage& p : pages_)
        if (p.file == file)
            return &p;
    return nullptr;
}

const HelpPage* HelpPages::pageForContext(int context) const
{
    if (context <= 0)
        return nullptr;
    for (const HelpPage& p : pages_)
        if (p.context == context)
            return &p;
    return nullptr;
}

QStringList HelpPages::search(const QString& query) const
{
    const QStringList words = query.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QStringList found;
    if (words.isEmpty())
        return found;
    for (const HelpPage& p : pages_) {
        const QString text = p.title + QLatin1Char('\n') + p.plainText;
        bool all = true;
        for (const QString& w : words)
            all = all && text.contains(w, Qt::CaseInsensitive);
        if (all)
            found << p.file;
    }
    return found;
}

} // namespace ts
