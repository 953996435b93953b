#include "ParagraphInfo.h"

#include "HelpFileBytes.h"
#include "HelpFileFormat.h"

#include <utility>

namespace ts::helpfile {
namespace {

using namespace format;

// The line spacing field: at least (> 0) or exactly (< 0) so many units. A
// multiple of single spacing (\slmult1) becomes an "at least" of that many
// lines of the paragraph's first font, a line being 1.2 times its size; one
// line or less is single spacing, which needs no field.
int lineSpacingUnits(const Paragraph& p)
{
    if (!p.LineSpacingMultiple)
        return twipsToUnits(p.LineSpacing);
    if (p.LineSpacing <= 240)
        return 0;
    const int halfPoints = p.Runs.empty() ? 24 : p.Runs.front().Format.Size;
    // lines = LineSpacing / 240; a line = halfPoints * 10 twips * 1.2.
    return twipsToUnits(int(qMin<qint64>(qint64(p.LineSpacing) * halfPoints / 20, 163830)));
}

// Tab stops: a count, then each position, marked when a kind follows (1
// right, 2 centre). The format knows no decimal stops; they are left stops.
void putTabStops(QByteArray& fields, const std::vector<TabStop>& tabs)
{
    const std::size_t count = qMin<std::size_t>(tabs.size(), MaxTabStops);
    putCompressedS16(fields, int(count));
    for (std::size_t i = 0; i < count; ++i) {
        const TabStop& t = tabs[i];
        const unsigned position = unsigned(qBound(0, twipsToUnits(t.Position), TabPositionMask));
        const unsigned kind = t.Align == TabStop::Kind::Right    ? TabRight
                              : t.Align == TabStop::Kind::Center ? TabCentre
                                                                 : TabLeft;
        putCompressedU16(fields, kind != TabLeft ? position | TabHasType : position);
        if (kind != TabLeft)
            putCompressedU16(fields, kind);
    }
}

enum Notice : unsigned {
    JustifiedNotice = 1,
    SuperscriptNotice = 2,
    SubscriptNotice = 4,
    HighlightNotice = 8,
    DecimalTabNotice = 16,
    TabLeaderNotice = 32,
};

unsigned noticesOf(const Paragraph& p)
{
    unsigned n = 0;
    if (p.Align == Alignment::Justify)
        n |= JustifiedNotice;
    for (const TabStop& t : p.Tabs) {
        if (t.Align == TabStop::Kind::Decimal)
            n |= DecimalTabNotice;
        if (t.Fill != TabStop::Leader::None)
            n |= TabLeaderNotice;
    }
    for (const Run& r : p.Runs) {
        if (r.Text.isEmpty() || r.Format.Hidden)
            continue;
        if (r.Format.Vertical == VerticalPosition::Superscript)
            n |= SuperscriptNotice;
        else if (r.Format.Vertical == VerticalPosition::Subscript)
            n |= SubscriptNotice;
        if (r.Format.Highlight)
            n |= HighlightNotice;
    }
    return n;
}

} // namespace

int twipsToUnits(int twips)
{
    const int half = ParagraphUnitTwips / 2;
    return qBound(-16384, (twips >= 0 ? twips + half : twips - half) / ParagraphUnitTwips, 16383);
}

QByteArray paragraphInfo(const Paragraph& p, bool firstRecord, bool lastRecord)
{
    const int firstIndent = firstRecord ? p.FirstIndent : 0;
    const int spaceBefore = firstRecord ? twipsToUnits(p.SpaceBefore) : 0;
    const int spaceAfter = lastRecord ? twipsToUnits(p.SpaceAfter) : 0;
    const int lineSpacing = lineSpacingUnits(p);
    unsigned bits = 0;
    QByteArray fields;
    if (spaceBefore != 0)
        bits |= ParagraphSpaceBefore;
    if (spaceAfter != 0)
        bits |= ParagraphSpaceAfter;
    if (lineSpacing != 0)
        bits |= ParagraphLineSpacing;
    if (p.LeftIndent != 0)
        bits |= ParagraphLeftIndent;
    if (p.RightIndent != 0)
        bits |= ParagraphRightIndent;
    if (firstIndent != 0)
        bits |= ParagraphFirstIndent;
    if (!p.Tabs.empty())
        bits |= ParagraphTabs;
    if (p.Align == Alignment::Right)
        bits |= ParagraphRightAligned;
    else if (p.Align == Alignment::Center)
        bits |= ParagraphCentred;
    // The fields follow in the order of their bits.
    if (bits & ParagraphSpaceBefore)
        putCompressedS16(fields, spaceBefore);
    if (bits & ParagraphSpaceAfter)
        putCompressedS16(fields, spaceAfter);
    if (bits & ParagraphLineSpacing)
        putCompressedS16(fields, lineSpacing);
    if (bits & ParagraphLeftIndent)
        putCompressedS16(fields, twipsToUnits(p.LeftIndent));
    if (bits & ParagraphRightIndent)
        putCompressedS16(fields, twipsToUnits(p.RightIndent));
    if (bits & ParagraphFirstIndent)
        putCompressedS16(fields, twipsToUnits(firstIndent));
    if (bits & ParagraphTabs)
        putTabStops(fields, p.Tabs);
    QByteArray out;
    putU16(out, bits);
    return out + fields;
}

unsigned unshownFormatting(const Paragraph& p)
{
    return noticesOf(p);
}

QStringList noticeTexts(unsigned kinds)
{
    static const std::pair<Notice, const char*> texts[] = {
        {JustifiedNotice, "justified text is shown left-aligned"},
        {SuperscriptNotice, "superscript text is shown on the line, like the text around it"},
        {SubscriptNotice, "subscript text is shown on the line, like the text around it"},
        {HighlightNotice, "highlighted text is shown without its highlight colour"},
        {DecimalTabNotice, "decimal tab stops are shown as left tab stops"},
        {TabLeaderNotice, "tab leaders (dots or lines before a tab stop) are not shown"},
    };
    QStringList out;
    for (const auto& [bit, text] : texts)
        if (kinds & bit)
            out << QString::fromLatin1(text);
    return out;
}

} // namespace ts::helpfile
