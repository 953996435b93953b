#include "HtmlSiteText.h"

namespace ts::publish {

QString htmlEscaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += QLatin1String("&quot;"); break;
        case u'\'': out += QLatin1String("&#39;"); break;
        case 0: break; // NUL is no character of an HTML document
        default: out += c;
        }
    }
    return out;
}

QString jsonString(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'"': out += QLatin1String("\\\""); break;
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        default:
            if (u < 0x20 || u == u'<' || u == u'>' || u == u'&' || u == 0x2028 || u == 0x2029)
                out += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString cssColour(std::uint32_t rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

QString twipsAsPoints(int twips)
{
    if (twips == 0)
        return QStringLiteral("0");
    return QString::number(twips / 20.0, 'g', 6) + QLatin1String("pt");
}

namespace {

// Names the site itself uses, and names Windows keeps for devices (a CHM
// is read on Windows, where "con.html" cannot be opened).
const QStringList& reservedStems()
{
    static const QStringList names = {
        QStringLiteral("index"), QStringLiteral("keywords"), QStringLiteral("search"), QStringLiteral("site"),
        QStringLiteral("search-index"), QStringLiteral("map"), QStringLiteral("con"), QStringLiteral("prn"),
        QStringLiteral("aux"), QStringLiteral("nul"), QStringLiteral("com1"), QStringLiteral("com2"),
        QStringLiteral("com3"), QStringLiteral("com4"), QStringLiteral("lpt1"), QStringLiteral("lpt2"),
        QStringLiteral("lpt3"), QStringLiteral("pictures")};
    return names;
}

constexpr int MaxStem = 80;

} // namespace

PageNames::PageNames() = default;

QString PageNames::stemFor(const QString& wanted)
{
    QString stem;
    stem.reserve(wanted.size());
    for (const QChar c : wanted) {
        const char16_t u = c.unicode();
        const bool plain = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ||
                           u == u'-' || u == u'_' || u == u'.';
        stem += plain ? c : QLatin1Char('_');
    }
    // No leading dot: "..", ".hidden" and "../x" all stay ordinary names.
    while (stem.startsWith(QLatin1Char('.')))
        stem.replace(0, 1, QLatin1Char('_'));
    stem.truncate(MaxStem);
    if (stem.isEmpty())
        stem = QStringLiteral("topic");
    const QString folded = stem.section(QLatin1Char('.'), 0, 0).toLower();
    if (reservedStems().contains(folded))
        stem.prepend(QLatin1String("topic-"));
    return stem;
}

QString PageNames::take(const QString& wanted)
{
    const QString stem = stemFor(wanted);
    QString name = stem;
    for (int n = 2; used_.contains(name.toLower()); ++n)
        name = stem + QLatin1Char('-') + QString::number(n);
    used_.insert(name.toLower());
    return name + QLatin1String(".html");
}

} // namespace ts::publish
