#include "HtmlTopicPage.h"

#include "HtmlSiteAssets.h"

#include <algorithm>

namespace ts::publish {

QString paragraphStyle(const HelpParagraph& p)
{
    QString s;
    auto add = [&s](const char* property, const QString& value) {
        s += QLatin1String(property) + QLatin1Char(':') + value + QLatin1Char(';');
    };
    if (p.spaceBefore) add("margin-top", twipsAsPoints(p.spaceBefore));
    if (p.spaceAfter) add("margin-bottom", twipsAsPoints(p.spaceAfter));
    if (p.leftIndent) add("margin-left", twipsAsPoints(p.leftIndent));
    if (p.rightIndent) add("margin-right", twipsAsPoints(p.rightIndent));
    if (p.firstIndent) add("text-indent", twipsAsPoints(p.firstIndent));
    if (p.align == HelpAlignment::Center) add("text-align", QStringLiteral("center"));
    if (p.align == HelpAlignment::Right) add("text-align", QStringLiteral("right"));
    if (p.lineSpacing) add("line-height", twipsAsPoints(std::abs(p.lineSpacing)));
    // HTML has no tab stops: tabs advance to multiples of the first stop,
    // which is exact for evenly spaced stops.
    if (!p.tabs.empty() && p.tabs.front().position > 0)
        add("tab-size", twipsAsPoints(p.tabs.front().position));
    if (p.border.any()) {
        const QString line = QStringLiteral("%1 %2 #000")
                                 .arg(p.border.doubleLine ? QStringLiteral("3px") : p.border.thick ? QStringLiteral("2px") : QStringLiteral("1px"),
                                      p.border.doubleLine ? QStringLiteral("double") : QStringLiteral("solid"));
        if (p.border.box || p.border.top) add("border-top", line);
        if (p.border.box || p.border.bottom) add("border-bottom", line);
        if (p.border.box || p.border.left) add("border-left", line);
        if (p.border.box || p.border.right) add("border-right", line);
        add("padding", QStringLiteral("1pt 2pt"));
    }
    return s;
}

namespace {

// Pop-ups are carried in every page that opens them, so what they may add
// to a page is bounded: a pop-up is a definition or a note, and one longer
// than MaxPopupCharacters (a whole topic shown as a pop-up) opens as its
// page instead; a page carries at most MaxPopupPageCharacters of them,
// those of pop-ups that open pop-ups included.
constexpr qsizetype MaxPopupCharacters = 1500;
constexpr qsizetype MaxPopupPageCharacters = 20000;

qsizetype textLength(const HelpTopicContent& content)
{
    qsizetype n = 0;
    for (const auto* region : {&content.nonScrolling, &content.scrolling})
        for (const HelpParagraph& p : *region)
            for (const HelpRun& run : p.runs)
                n += run.text.size();
    return n;
}

QString popupId(int topic) { return QStringLiteral("popup-%1").arg(topic + 1); }

// Writes paragraphs of one topic's text; hotspots index that topic's list.
class RegionWriter {
public:
    // What the writers of one page share.
    struct Page {
        std::vector<int> popups;       // the pop-up topics the page carries, in order
        qsizetype popupCharacters = 0; // their text
        int maps = 0;                  // picture maps so far, for unique names
    };

    RegionWriter(const SitePlan& plan, SitePictures& pictures, const PageSettings& settings, int topic, Page& page,
                 bool anchors)
        : plan_(plan), pictures_(pictures), settings_(settings), topic_(topic), content_(plan.document().content(topic)), page_(page),
          anchors_(anchors)
    {
    }

    QString write(const std::vector<HelpParagraph>& paragraphs)
    {
        QString out;
        for (size_t i = 0; i < paragraphs.size();) {
            if (paragraphs[i].tableRow >= 0) {
                size_t end = i;
                while (end < paragraphs.size() && paragraphs[end].tableRow >= 0)
                    ++end;
                table(paragraphs, i, end, out);
                i = end;
            } else {
                paragraph(paragraphs[i++], out);
            }
        }
        return out;
    }

private:
    void paragraph(const HelpParagraph& p, QString& out);
    void table(const std::vector<HelpParagraph>& ps, size_t begin, size_t end, QString& out);
    void runs(const HelpParagraph& p, QString& out);
    QString picture(const HelpRun& run);
    QString embedded(const HelpRun& run);
    const SiteLink& link(int hotspot);
    // The attributes that make an element lead where `link` does.
    QString linkAttributes(const SiteLink& link, bool forButton);
    std::pair<QString, QString> hotspotTags(int hotspot);

    const SitePlan& plan_;
    SitePictures& pictures_;
    const PageSettings& settings_;
    int topic_;
    const HelpTopicContent& content_;
    bool carryPopup(int topic);

    Page& page_;
    bool anchors_;
    std::map<int, SiteLink> links_;
};

void RegionWriter::paragraph(const HelpParagraph& p, QString& out)
{
    out += QLatin1String("<p");
    if (anchors_ && plan_.isAnchor(topic_, p.topicOffset))
        out += QStringLiteral(" id=\"%1\"").arg(SitePlan::anchorName(p.topicOffset));
    const QString style = paragraphStyle(p);
    const int shared = settings_.paragraphStyles ? settings_.paragraphStyles->numbers.value(style, -1) : -1;
    if (shared >= 0)
        out += QStringLiteral(" class=\"p%1\"").arg(shared);
    else if (!style.isEmpty())
        out += QStringLiteral(" style=\"%1\"").arg(style);
    out += QLatin1Char('>');
    const qsizetype before = out.size();
    runs(p, out);
    if (out.size() == before)
        out += QLatin1String("<br>"); // an empty paragraph is an empty line
    out += QLatin1String("</p>\n");
}

void RegionWriter::table(const std::vector<HelpParagraph>& ps, size_t begin, size_t end, QString& out)
{
    out += QLatin1String("<table role=\"presentation\">\n");
    for (size_t i = begin; i < end;) {
        const int row = ps[i].tableRow;
        size_t rowEnd = i;
        int columns = 0;
        while (rowEnd < end && ps[rowEnd].tableRow == row)
            columns = std::max(columns, ps[rowEnd++].column + 1);
        const HelpTableRow* info = row < int(content_.tableRows.size()) ? &content_.tableRows[size_t(row)] : nullptr;
        if (info)
            columns = std::max(columns, int(info->columns.size()));
        out += QLatin1String("<tr>");
        for (int c = 0; c < columns; ++c) {
            QString style;
            if (info && c < int(info->columns.size())) {
                const HelpTableRow::Column& col = info->columns[size_t(c)];
                if (info->fixedWidth && col.width > 0)
                    style = QStringLiteral("width:%1;").arg(twipsAsPoints(col.width));
                else if (!info->fixedWidth && col.width > 0)
                    style = QStringLiteral("width:%1%;").arg(QString::number(col.width * 100.0 / 32767, 'f', 1));
                if (col.gap > 0 && info->fixedWidth)
                    style += QStringLiteral("padding-left:%1;").arg(twipsAsPoints(col.gap));
            }
            out += style.isEmpty() ? QStringLiteral("<td>") : QStringLiteral("<td style=\"%1\">").arg(style);
            for (size_t k = i; k < rowEnd; ++k)
                if (ps[k].column == c || (ps[k].column < 0 && c == 0))
                    paragraph(ps[k], out);
            out += QLatin1String("</td>");
        }
        out += QLatin1String("</tr>\n");
        i = rowEnd;
    }
    out += QLatin1String("</table>\n");
}

const SiteLink& RegionWriter::link(int hotspot)
{
    auto it = links_.find(hotspot);
    if (it == links_.end())
        it = links_.emplace(hotspot, plan_.linkFor(content_.hotspots[size_t(hotspot)], topic_)).first;
    return it->second;
}

QString RegionWriter::linkAttributes(const SiteLink& link, bool forButton)
{
    const QString href = htmlEscaped(link.href);
    switch (link.kind) {
    case SiteLink::Kind::Page:
    case SiteLink::Kind::External:
        return forButton ? QStringLiteral(" data-href=\"%1\"").arg(href) : QStringLiteral(" href=\"%1\"").arg(href);
    case SiteLink::Kind::Popup:
        if (!carryPopup(link.topic))
            return forButton ? QStringLiteral(" data-href=\"%1\"").arg(href) : QStringLiteral(" href=\"%1\"").arg(href);
        return QStringLiteral("%1 data-popup=\"%2\" aria-haspopup=\"dialog\"")
            .arg(forButton ? QString() : QStringLiteral(" href=\"%1\"").arg(href), popupId(link.topic));
    case SiteLink::Kind::Keywords:
        return QStringLiteral("%1 data-keywords=\"%2\" data-table=\"%3\"")
            .arg(forButton ? QString() : QStringLiteral(" href=\"keywords.html\""), htmlEscaped(link.keywords), QString(link.table));
    case SiteLink::Kind::Back:
        return forButton ? QStringLiteral(" data-back=\"1\"") : QStringLiteral(" href=\"index.html\" data-back=\"1\"");
    case SiteLink::Kind::Inert:
    case SiteLink::Kind::Broken:
        return QStringLiteral(" title=\"%1\"%2").arg(htmlEscaped(link.note), forButton ? QStringLiteral(" aria-disabled=\"true\"") : QString());
    }
    return QString();
}

bool RegionWriter::carryPopup(int topic)
{
    if (std::find(page_.popups.begin(), page_.popups.end(), topic) != page_.popups.end())
        return true;
    const qsizetype length = textLength(plan_.document().content(topic));
    if (length > MaxPopupCharacters || page_.popupCharacters + length > MaxPopupPageCharacters) {
        plan_.log().tally(QStringLiteral("Pop-ups too long to carry in the pages that open them open as pages of their own"));
        return false;
    }
    page_.popups.push_back(topic);
    page_.popupCharacters += length;
    return true;
}

std::pair<QString, QString> RegionWriter::hotspotTags(int hotspot)
{
    if (hotspot < 0 || hotspot >= int(content_.hotspots.size()))
        return {};
    const HelpHotspot& h = content_.hotspots[size_t(hotspot)];
    const SiteLink& l = link(hotspot);
    if (l.kind == SiteLink::Kind::Inert || l.kind == SiteLink::Kind::Broken) {
        const QString cls = l.kind == SiteLink::Kind::Inert ? QStringLiteral("inert") : QStringLiteral("broken");
        return {QStringLiteral("<span class=\"%1\"%2>").arg(cls, linkAttributes(l, false)), QStringLiteral("</span>")};
    }
    QString cls = h.kind == HelpHotspot::Kind::Popup ? QStringLiteral("popup")
                  : h.kind == HelpHotspot::Kind::Macro ? QStringLiteral("macro") : QStringLiteral("jump");
    if (!h.drawnAsHotspot)
        cls += QLatin1String(" plain");
    return {QStringLiteral("<a class=\"%1\"%2>").arg(cls, linkAttributes(l, false)), QStringLiteral("</a>")};
}

void RegionWriter::runs(const HelpParagraph& p, QString& out)
{
    int hotspot = -1;
    int font = -2;
    QString closeHotspot;
    auto closeSpan = [&] {
        if (font >= 0)
            out += QLatin1String("</span>");
        font = -2;
    };
    for (const HelpRun& run : p.runs) {
        if (run.hotspot != hotspot) {
            closeSpan();
            out += closeHotspot;
            auto [open, close] = hotspotTags(run.hotspot);
            out += open;
            closeHotspot = close;
            hotspot = run.hotspot;
        }
        if (run.kind != HelpRun::Kind::Text) {
            closeSpan();
            out += run.kind == HelpRun::Kind::Picture ? picture(run) : embedded(run);
            continue;
        }
        const int wanted = run.font >= 0 && run.font < int(plan_.document().fonts.size()) ? run.font : -1;
        if (wanted != font) {
            closeSpan();
            if (wanted >= 0)
                out += QStringLiteral("<span class=\"f%1\">").arg(wanted);
            font = wanted;
        }
        out += htmlEscaped(run.text).replace(QChar(0x2028), QLatin1String("<br>"));
    }
    closeSpan();
    out += closeHotspot;
}

QString RegionWriter::picture(const HelpRun& run)
{
    const SitePictures::Shown shown = pictures_.show(run.picture, topic_, run.pictureInTopic);
    const QString placement = run.placement == HelpPlacement::Left ? QStringLiteral(" class=\"left\"")
                              : run.placement == HelpPlacement::Right ? QStringLiteral(" class=\"right\"") : QString();
    if (shown.file.isEmpty())
        return QStringLiteral("<span class=\"missing\" role=\"img\" aria-label=\"%1\" title=\"%2\">%1</span>")
            .arg(htmlEscaped(shown.text), htmlEscaped(QStringLiteral("Picture %1 cannot be shown: %2").arg(shown.text, shown.problem)));
    QString areas;
    for (const HelpPictureHotspot& spot : shown.picture->hotspots) {
        if (spot.hotspot.kind == HelpHotspot::Kind::Macro && spot.hotspot.macro.isEmpty())
            continue;
        const SiteLink l = spot.hotspot.kind == HelpHotspot::Kind::Macro ? plan_.linkForMacro(spot.hotspot.macro, topic_)
                                                                          : plan_.linkFor(spot.hotspot, topic_);
        if (l.kind == SiteLink::Kind::Inert || l.kind == SiteLink::Kind::Broken)
            continue;
        QString attributes = linkAttributes(l, false);
        if (!attributes.contains(QLatin1String(" href=")))
            attributes += QStringLiteral(" href=\"#\"");
        const QRect& r = spot.area;
        areas += QStringLiteral("<area shape=\"rect\" coords=\"%1,%2,%3,%4\" alt=\"%5\"%6>")
                     .arg(r.left()).arg(r.top()).arg(r.right() + 1).arg(r.bottom() + 1)
                     .arg(htmlEscaped(spot.name.isEmpty() ? shown.text : spot.name), attributes);
    }
    QString out = QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"%4\"%5")
                      .arg(shown.file).arg(shown.width).arg(shown.height).arg(htmlEscaped(shown.text), placement);
    if (areas.isEmpty())
        return out + QLatin1Char('>');
    const QString map = QStringLiteral("map%1").arg(++page_.maps);
    return out + QStringLiteral(" usemap=\"#%1\"><map name=\"%1\">%2</map>").arg(map, areas);
}

QString RegionWriter::embedded(const HelpRun& run)
{
    if (!run.embedded)
        return QString();
    const HelpEmbeddedWindow& w = *run.embedded;
    if (w.kind == HelpEmbeddedWindow::Kind::Button) {
        const SiteLink l = plan_.linkForMacro(w.macro, topic_);
        return QStringLiteral("<button type=\"button\" class=\"macro\"%1>%2</button>")
            .arg(linkAttributes(l, true), htmlEscaped(w.caption));
    }
    const bool media = w.kind == HelpEmbeddedWindow::Kind::Media;
    const QString what = media ? QStringLiteral("the media player for %1").arg(w.file)
                               : QStringLiteral("the window %1 of %2").arg(w.windowClass, w.dll);
    plan_.log().tally(media ? QStringLiteral("Media players ({mci}) cannot be shown in a web page; their places show a note")
                            : QStringLiteral("Embedded windows of DLLs ({ewc}) cannot be shown in a web page; their places show a note"));
    return QStringLiteral("<span class=\"missing\" title=\"%1\">[%2]</span>")
        .arg(htmlEscaped(QStringLiteral("WinHelp shows %1 here; a web page cannot").arg(what)),
             htmlEscaped(media ? w.file : w.windowClass));
}

std::uint32_t scrollingColour(const HelpWindowDefinition* w)
{
    return w && w->has(HelpWindowDefinition::ScrollingColourValid) ? w->scrollingColour : 0xFFFFFF;
}

} // namespace

QString topicPage(const SitePlan& plan, SitePictures& pictures, const PageSettings& settings, int topic, int window)
{
    const HelpDocument& doc = plan.document();
    const HelpTopic& t = doc.topics[size_t(topic)];
    const HelpTopicContent& content = doc.content(topic);
    const HelpWindowDefinition* w = window >= 0 && window < int(doc.windows.size()) ? &doc.windows[size_t(window)] : nullptr;
    const bool secondary = w && w->name.compare(QLatin1String("main"), Qt::CaseInsensitive) != 0
                           && w->type.compare(QLatin1String("main"), Qt::CaseInsensitive) != 0;
    const std::uint32_t scroll = scrollingColour(w);
    const std::uint32_t nonScroll = w && w->has(HelpWindowDefinition::NonScrollingColourValid) ? w->nonScrollingColour : scroll;

    RegionWriter::Page state;
    RegionWriter writer(plan, pictures, settings, topic, state, true);
    QString out = pageStart(t.title, settings.language,
                            QStringLiteral("class=\"%1\" style=\"background-color:%2\"")
                                .arg(secondary ? QStringLiteral("secondary") : QStringLiteral("main"), cssColour(scroll)));
    out += QLatin1String("<header class=\"top\">\n");
    const auto pageOf = [&plan](int to) { return to >= 0 && to < plan.topicCount() ? plan.pageOf(to) : QString(); };
    if (secondary) {
        const QString caption = w->has(HelpWindowDefinition::CaptionValid) && !w->caption.isEmpty() ? w->caption : doc.title;
        out += QStringLiteral("<h1 class=\"caption\">%1</h1>\n").arg(htmlEscaped(caption.isEmpty() ? t.title : caption));
        out += buttonBar(pageOf(t.browsePrevious), pageOf(t.browseNext));
        out += QStringLiteral("<h2 class=\"vh\">%1</h2>\n").arg(htmlEscaped(t.title));
    } else {
        out += buttonBar(pageOf(t.browsePrevious), pageOf(t.browseNext));
        out += QStringLiteral("<h1 class=\"vh\">%1</h1>\n").arg(htmlEscaped(t.title));
    }
    if (!content.nonScrolling.empty())
        out += QStringLiteral("<div class=\"nonscroll r\" style=\"background-color:%1\">\n%2</div>\n")
                   .arg(cssColour(nonScroll), writer.write(content.nonScrolling));
    out += QStringLiteral("</header>\n<main class=\"scroll r\">\n%1</main>\n").arg(writer.write(content.scrolling));

    // Pop-ups show no non-scrolling band; one made only of that band shows it.
    const QString popupBackground = cssColour(settings.popupColour.value_or(scroll));
    for (size_t i = 0; i < state.popups.size(); ++i) {
        const int p = state.popups[i];
        const HelpTopicContent& pc = doc.content(p);
        RegionWriter popupWriter(plan, pictures, settings, p, state, false);
        out += QStringLiteral("<div class=\"popup-box r\" id=\"%1\" role=\"dialog\" aria-label=\"%2\" hidden style=\"background-color:%3\">\n%4</div>\n")
                   .arg(popupId(p), htmlEscaped(doc.topics[size_t(p)].title.isEmpty() ? QStringLiteral("Pop-up") : doc.topics[size_t(p)].title),
                        popupBackground, popupWriter.write(pc.scrolling.empty() ? pc.nonScrolling : pc.scrolling));
    }
    return out + PageEnd;
}

ParagraphStyles ParagraphStyles::of(const HelpDocument& doc)
{
    ParagraphStyles styles;
    for (int t = 0; t < int(doc.topics.size()); ++t) {
        const HelpTopicContent& content = doc.content(t);
        for (const auto* region : {&content.nonScrolling, &content.scrolling}) {
            for (const HelpParagraph& p : *region) {
                const QString style = paragraphStyle(p);
                if (!style.isEmpty() && !styles.numbers.contains(style)) {
                    styles.numbers.insert(style, int(styles.inOrder.size()));
                    styles.inOrder << style;
                }
            }
        }
    }
    return styles;
}

QString ParagraphStyles::css() const
{
    QString out;
    for (int i = 0; i < int(inOrder.size()); ++i)
        out += QStringLiteral(".p%1{%2}\n").arg(i).arg(inOrder.at(i));
    return out;
}

} // namespace ts::publish
