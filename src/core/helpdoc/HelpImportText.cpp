#include "HelpImportText.h"

#include <QRegularExpression>

#include <algorithm>

namespace ts::helpimport {
namespace {

const QString Arrow = QStringLiteral("-->");
// The compiler prints a non-breaking hyphen as "-": "-" U+2011 ">" shows as
// an arrow in the help file but is no link in the project.
const QString ShownArrow = QStringLiteral("-\u2011>");

// A colour a shade away from `color`, for a link target that must not run
// together with the text after it.
std::optional<std::uint32_t> shadeAway(const std::optional<std::uint32_t>& colour)
{
    if (!colour)
        return 0x000000u;
    if (*colour == 0)
        return std::nullopt;
    return *colour ^ 0x000001u;
}

bool readsAsMarkup(const QString& text)
{
    static const QRegularExpression markup(QStringLiteral("\\{(bmc|bml|bmr|button)t?\\s"),
                                           QRegularExpression::CaseInsensitiveOption);
    return text.contains(QLatin1Char('{')) && text.contains(markup);
}

} // namespace

class TopicTextConverter::ParagraphBuilder {
public:
    ParagraphBuilder(TopicTextConverter& converter, int topic, const HelpTopicContent& content, Paragraph& out)
        : c_(converter), topic_(topic), content_(content), out_(out)
    {
        out_.Runs.clear();
    }

    void add(const HelpRun& run)
    {
        if (run.hotspot != open_)
            closeHotspot();
        if (run.hotspot >= 0 && open_ < 0)
            openHotspot(run.hotspot);
        CharFormat format = c_.formatOf(run);
        if (open_ >= 0)
            format = hotspotFormat(format);
        switch (run.kind) {
        case HelpRun::Kind::Text:
            addText(run.text, format);
            break;
        case HelpRun::Kind::Picture:
            append(c_.pictures_.markupFor(run, content_, topic_), format);
            break;
        case HelpRun::Kind::EmbeddedWindow:
            addEmbedded(run, format);
            break;
        }
    }

    // Between the cells of a table row, and between a cell's paragraphs.
    void separate(QChar separator)
    {
        closeHotspot();
        CharFormat format = out_.Runs.empty() ? CharFormat() : out_.Runs.back().Format;
        format.Strike = format.Underline = false;
        append(QString(separator), format);
    }

    void finish(const CharFormat& emptyFormat)
    {
        closeHotspot();
        if (out_.Runs.empty())
            out_.Runs.push_back(Run{QString(), emptyFormat});
    }

private:
    const HelpHotspot* hotspot() const
    {
        return open_ >= 0 && open_ < int(content_.hotspots.size()) ? &content_.hotspots[size_t(open_)] : nullptr;
    }

    bool isJumpLike() const { return !hotspot() || hotspot()->kind != HelpHotspot::Kind::Popup; }

    CharFormat hotspotFormat(CharFormat format) const
    {
        if (isJumpLike()) {
            format.Strike = true;
        } else {
            if (format.Strike)
                c_.log_.tally(QStringLiteral("Struck-out text of pop-ups, written without strike-out (it would "
                                             "make them jumps)"),
                              topic_);
            format.Strike = false;
            format.Underline = true;
        }
        return format;
    }

    void openHotspot(int index)
    {
        open_ = index;
        hotspotRuns_ = 0;
        hotspotText_.clear();
        const HelpHotspot* h = hotspot();
        if (!h)
            return;
        if (!h->drawnAsHotspot)
            c_.log_.tally(QStringLiteral("Hotspots drawn in the text's own format in the help file; a project draws "
                                         "every hotspot as one"),
                          topic_);
        if (!out_.Runs.empty() && !closedTarget_) {
            const CharFormat& before = out_.Runs.back().Format;
            if (h->kind == HelpHotspot::Kind::Popup ? (before.Underline && !before.Strike) : before.Strike)
                c_.log_.tally(QStringLiteral("Underlined or struck-out text right before a hotspot of that style, "
                                             "which the compiler takes as part of the hotspot"),
                              topic_);
        }
    }

    void closeHotspot()
    {
        if (open_ < 0)
            return;
        const HelpHotspot* h = hotspot();
        open_ = -1;
        if (!h) {
            c_.log_.tally(QStringLiteral("Hotspots the help file does not describe, kept as plain text"), topic_);
            return;
        }
        if (hotspotRuns_ == 0 || out_.Runs.empty()) {
            c_.log_.tally(QStringLiteral("Hotspots without text or picture, left out"), topic_);
            return;
        }
        const QString target = targetOf(*h);
        out_.Runs.back().Text += Arrow + target;
        closedTarget_ = 3 + target.size();
    }

    QString targetOf(const HelpHotspot& h)
    {
        if (h.kind == HelpHotspot::Kind::Macro)
            return QLatin1Char('!') + h.macro;
        QString target = c_.names_.linkTarget(h, hotspotText_, topic_);
        if (h.kind == HelpHotspot::Kind::Jump) {
            QString window = h.window;
            if (window.isEmpty() && h.windowNumber >= 0 && h.windowNumber < int(c_.doc_.windows.size()))
                window = c_.doc_.windows[size_t(h.windowNumber)].name;
            if (!window.isEmpty())
                target += QLatin1Char('>') + window;
        }
        if (!h.file.isEmpty() && !namesThisHelpFile(c_.doc_, h.file))
            target += QLatin1Char('@') + h.file;
        return target;
    }

    void addText(QString text, const CharFormat& format)
    {
        if (text.contains(Arrow)) {
            text.replace(Arrow, ShownArrow);
            c_.log_.tally(QStringLiteral("\"-->\" in the text, written with a non-breaking hyphen so that it is no "
                                         "link"),
                          topic_);
        }
        if (readsAsMarkup(text))
            c_.log_.tally(QStringLiteral("Text that reads as picture or button markup ({bmc ...}, {button ...}), "
                                         "which the compiler places as such"),
                          topic_);
        append(text, format);
    }

    void addEmbedded(const HelpRun& run, const CharFormat& format)
    {
        if (!run.embedded)
            return;
        const HelpEmbeddedWindow& e = *run.embedded;
        if (e.kind == HelpEmbeddedWindow::Kind::Button && !e.caption.contains(QLatin1Char('}'))
            && !e.macro.contains(QLatin1Char('}'))) {
            append(QStringLiteral("{button %1,%2}").arg(e.caption, e.macro), format);
            return;
        }
        const QString what = e.kind == HelpEmbeddedWindow::Kind::Media    ? QStringLiteral("a media player {mci %1}")
                             : e.kind == HelpEmbeddedWindow::Kind::Button ? QStringLiteral("a button {button %1}")
                                                                          : QStringLiteral("an embedded window {ewc %1}");
        c_.log_.topicNote(topic_, what.arg(e.definition) + QStringLiteral(" is left out; a project can not hold it"));
    }

    void append(const QString& text, const CharFormat& format)
    {
        if (text.isEmpty())
            return;
        if (closedTarget_ > 0 && !out_.Runs.empty() && out_.Runs.back().Format == format) {
            // The text would run on into the link's target: the target
            // becomes a run of its own, a shade away.
            Run& last = out_.Runs.back();
            Run target{last.Text.right(closedTarget_), last.Format};
            target.Format.Colour = shadeAway(target.Format.Colour);
            last.Text.chop(closedTarget_);
            if (last.Text.isEmpty())
                last = target;
            else
                out_.Runs.push_back(target);
        }
        closedTarget_ = 0;
        out_.Runs.push_back(Run{text, format});
        if (open_ >= 0) {
            ++hotspotRuns_;
            hotspotText_ += text;
        }
    }

    TopicTextConverter& c_;
    int topic_;
    const HelpTopicContent& content_;
    Paragraph& out_;
    int open_ = -1;        // the hotspot being written
    int hotspotRuns_ = 0;  // runs written for it
    QString hotspotText_;  // its text, for a made-up target name
    qsizetype closedTarget_ = 0; // length of the target just written at the end of the last run
};

TopicTextConverter::TopicTextConverter(const HelpDocument& document, TopicNames& names, PictureFiles& pictures,
                                       ImportLog& log)
    : doc_(document), names_(names), pictures_(pictures), log_(log)
{
}

CharFormat TopicTextConverter::formatOf(const HelpRun& run)
{
    const HelpFont& font = doc_.fontOf(run);
    CharFormat f;
    if (!font.face.isEmpty())
        f.Face = font.face;
    f.Size = qMax(1, font.halfPoints);
    // Black is what automatic colour shows; the project's text is automatic
    // unless coloured.
    if (font.colour && *font.colour != 0)
        f.Colour = font.colour;
    f.Bold = font.bold;
    f.Italic = font.italic;
    f.Underline = font.underline;
    f.DoubleUnderline = font.doubleUnderline;
    f.Strike = font.strikeOut;
    f.SmallCaps = font.smallCaps;
    return f;
}

std::vector<TabStop> TopicTextConverter::tabStopsOf(const HelpParagraph& p, int topic)
{
    // Held as the project's stored text holds them: in ascending order, one
    // stop per position (a later one replacing an earlier), no more and no
    // further right than its RTF reader keeps.
    std::vector<TabStop> tabs;
    for (std::size_t i = 1; i < p.tabs.size(); ++i)
        if (p.tabs[i].position <= p.tabs[i - 1].position) {
            log_.tally(QStringLiteral("Paragraphs whose tab stops the help file stores out of order or twice, "
                                      "written once each in ascending order"),
                       topic);
            break;
        }
    for (const HelpTabStop& t : p.tabs) {
        TabStop stop;
        stop.Position = t.position;
        if (stop.Position > TabStop::MaxPosition) {
            log_.tally(QStringLiteral("Tab stops further right than 22 inches, moved to 22 inches"), topic);
            stop.Position = TabStop::MaxPosition;
        }
        stop.Align = t.kind == HelpTabStop::Kind::Right    ? TabStop::Kind::Right
                     : t.kind == HelpTabStop::Kind::Center ? TabStop::Kind::Center
                                                           : TabStop::Kind::Left;
        const auto at = std::lower_bound(tabs.begin(), tabs.end(), stop.Position,
                                         [](const TabStop& s, int position) { return s.Position < position; });
        if (at != tabs.end() && at->Position == stop.Position)
            *at = stop;
        else if (tabs.size() < TabStop::MaxPerParagraph)
            tabs.insert(at, stop);
        else
            log_.tally(QStringLiteral("Tab stops past the %1th of a paragraph, left out").arg(int(TabStop::MaxPerParagraph)),
                       topic);
    }
    return tabs;
}

void TopicTextConverter::tallyLostFormatting(const HelpParagraph& p, int topic)
{
    if (p.border.any())
        log_.tally(QStringLiteral("Paragraphs whose borders are not kept"), topic);
    if (p.keepTogether)
        log_.tally(QStringLiteral("Paragraphs kept together on a printed page, which a project does not mark"), topic);
}

RichDocument TopicTextConverter::convert(int topic, const std::vector<HelpParagraph>& region,
                                         const HelpTopicContent& content)
{
    RichDocument out;
    out.Paragraphs.clear();
    for (size_t i = 0; i < region.size();) {
        const HelpParagraph& first = region[i];
        // A table row is one paragraph: its cells a tab apart, a cell's
        // further paragraphs on lines of their own.
        size_t end = i + 1;
        if (first.tableRow >= 0) {
            while (end < region.size() && region[end].tableRow == first.tableRow)
                ++end;
            log_.tally(QStringLiteral("Table rows, written as paragraphs with the cells a tab apart"), topic);
        }
        Paragraph paragraph;
        paragraph.Align = first.align == HelpAlignment::Center  ? Alignment::Center
                          : first.align == HelpAlignment::Right ? Alignment::Right
                                                                : Alignment::Left;
        paragraph.LeftIndent = first.leftIndent;
        paragraph.RightIndent = first.rightIndent;
        paragraph.FirstIndent = first.firstIndent;
        // The stored values come back in twips the compiler turns into the
        // very same units; line spacing keeps its sign (at least / exactly).
        // A table row's lines are spaced as its first paragraph, and its
        // space below is its last paragraph's.
        paragraph.SpaceBefore = first.spaceBefore;
        paragraph.SpaceAfter = region[end - 1].spaceAfter;
        paragraph.LineSpacing = first.lineSpacing;
        paragraph.Tabs = tabStopsOf(first, topic);
        ParagraphBuilder builder(*this, topic, content, paragraph);
        for (size_t k = i; k < end; ++k) {
            const HelpParagraph& p = region[k];
            tallyLostFormatting(p, topic);
            if (k > i)
                builder.separate(p.column == region[k - 1].column ? QChar(QChar::LineSeparator) : QChar(u'\t'));
            for (const HelpRun& run : p.runs)
                builder.add(run);
        }
        HelpRun font;
        font.font = first.runs.empty() ? -1 : first.runs.front().font;
        builder.finish(formatOf(font));
        out.Paragraphs.push_back(std::move(paragraph));
        i = end;
    }
    if (out.Paragraphs.empty())
        out.Paragraphs.emplace_back();
    return out;
}

} // namespace ts::helpimport
