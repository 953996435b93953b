#include "RichTextAdapter.h"

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ts {

namespace {

// The leader the editor gives the tab stop it adds at a hanging indent.
constexpr int IndentStopLeader = -1;

qreal logicalDpi()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const qreal dpi = screen->logicalDotsPerInchX();
            if (dpi > 1.0)
                return dpi;
        }
    return 96.0;
}

QTextCharFormat toQt(const CharFormat& f)
{
    QTextCharFormat q;
    q.setFontFamilies(QStringList{f.Face});
    q.setFontPointSize(f.Size > 0 ? f.Size / 2.0 : 8.0);
    q.setFontWeight(f.Bold ? QFont::Bold : QFont::Normal);
    q.setFontItalic(f.Italic);
    q.setFontUnderline(f.Underline || f.DoubleUnderline);
    if (f.DoubleUnderline) {
        q.setProperty(DoubleUnderlineProperty, true);
        q.setProperty(SingleUnderlineProperty, f.Underline);
    }
    q.setFontStrikeOut(f.Strike);
    if (f.Colour)
        q.setForeground(QColor(QRgb(*f.Colour | 0xFF000000u)));
    else
        q.clearForeground();
    if (f.SmallCaps)
        q.setFontCapitalization(QFont::SmallCaps);
    if (f.Vertical != VerticalPosition::Normal)
        q.setVerticalAlignment(f.Vertical == VerticalPosition::Superscript ? QTextCharFormat::AlignSuperScript
                                                                          : QTextCharFormat::AlignSubScript);
    if (f.Highlight)
        q.setBackground(QColor(QRgb(*f.Highlight | 0xFF000000u)));
    q.setProperty(HiddenTextProperty, f.Hidden);
    return q;
}

QTextBlockFormat toQt(const Paragraph& p)
{
    QTextBlockFormat b;
    switch (p.Align) {
    case Alignment::Left: b.setAlignment(Qt::AlignLeft); break;
    case Alignment::Center: b.setAlignment(Qt::AlignHCenter); break;
    case Alignment::Right: b.setAlignment(Qt::AlignRight); break;
    case Alignment::Justify: b.setAlignment(Qt::AlignJustify); break;
    }
    b.setLeftMargin(twipsToPixels(p.LeftIndent));
    b.setTextIndent(twipsToPixels(p.FirstIndent));
    b.setRightMargin(twipsToPixels(p.RightIndent));
    b.setIndent(0);
    b.setTopMargin(twipsToPixels(p.SpaceBefore));
    b.setBottomMargin(twipsToPixels(p.SpaceAfter));
    if (p.LineSpacing != 0) {
        if (p.LineSpacingMultiple)
            b.setLineHeight(p.LineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.LineSpacing > 0)
            b.setLineHeight(twipsToPixels(p.LineSpacing), QTextBlockFormat::MinimumHeight);
        else
            b.setLineHeight(twipsToPixels(-p.LineSpacing), QTextBlockFormat::FixedHeight);
    }
    // Help files measure tab stops from the left margin, Qt from where the
    // line starts, the first line's indent included, so the stops are set off
    // by the first line's start (stops before it stay, unused, for the way
    // back). A hanging indent stops a tab at the indent too, as in the help
    // file, so the text after a bullet lines up with the lines below it; that
    // stop is the editor's own and is never stored.
    const int firstLine = p.LeftIndent + p.FirstIndent;
    QList<QTextOption::Tab> tabs;
    QList<QVariant> leaders;
    const auto add = [&](int position, QTextOption::TabType type, int leader) {
        QTextOption::Tab tab(twipsToPixels(position - firstLine), type);
        if (type == QTextOption::DelimiterTab)
            tab.delimiter = QLatin1Char('.');
        tabs << tab;
        leaders << leader;
    };
    bool indentStop = p.FirstIndent < 0;
    for (const TabStop& t : p.Tabs) {
        if (indentStop && t.Position >= p.LeftIndent) {
            if (t.Position > p.LeftIndent)
                add(p.LeftIndent, QTextOption::LeftTab, IndentStopLeader);
            indentStop = false;
        }
        switch (t.Align) {
        case TabStop::Kind::Left: add(t.Position, QTextOption::LeftTab, int(t.Fill)); break;
        case TabStop::Kind::Right: add(t.Position, QTextOption::RightTab, int(t.Fill)); break;
        case TabStop::Kind::Center: add(t.Position, QTextOption::CenterTab, int(t.Fill)); break;
        case TabStop::Kind::Decimal: add(t.Position, QTextOption::DelimiterTab, int(t.Fill)); break;
        }
    }
    if (indentStop)
        add(p.LeftIndent, QTextOption::LeftTab, IndentStopLeader);
    if (!tabs.empty()) {
        b.setTabPositions(tabs);
        b.setProperty(TabLeadersProperty, leaders);
    }
    return b;
}

// The spacing and tab stops of a block, as toQt(Paragraph) set them; `p`
// already has the block's indents.
void spacingFromQt(const QTextBlockFormat& b, Paragraph& p)
{
    p.SpaceBefore = pixelsToTwips(b.topMargin());
    p.SpaceAfter = pixelsToTwips(b.bottomMargin());
    switch (b.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        p.LineSpacing = int(std::lround(b.lineHeight() * 240.0 / 100.0));
        p.LineSpacingMultiple = p.LineSpacing != 0;
        break;
    case QTextBlockFormat::MinimumHeight: p.LineSpacing = pixelsToTwips(b.lineHeight()); break;
    case QTextBlockFormat::FixedHeight: p.LineSpacing = -pixelsToTwips(b.lineHeight()); break;
    default: break;
    }
    const int firstLine = p.LeftIndent + p.FirstIndent;
    const QList<QTextOption::Tab> tabs = b.tabPositions();
    const QList<QVariant> leaders = b.property(TabLeadersProperty).toList();
    const bool withLeaders = tabs.size() == leaders.size();
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        const int leader = withLeaders ? leaders[i].toInt() : 0;
        if (leader == IndentStopLeader)
            continue;
        TabStop t;
        t.Position = pixelsToTwips(tabs[i].position) + firstLine;
        switch (tabs[i].type) {
        case QTextOption::LeftTab: break;
        case QTextOption::RightTab: t.Align = TabStop::Kind::Right; break;
        case QTextOption::CenterTab: t.Align = TabStop::Kind::Center; break;
        case QTextOption::DelimiterTab: t.Align = TabStop::Kind::Decimal; break;
        }
        t.Fill = TabStop::Leader(std::clamp(leader, 0, int(TabStop::Leader::Equals)));
        p.Tabs.push_back(t);
    }
}

// A value the fragment does not set itself comes from the document's font,
// as the editor draws it.
CharFormat fromQt(const QTextCharFormat& q, const QFont& base)
{
    CharFormat f;
    const QStringList families = q.property(QTextFormat::FontFamilies).toStringList();
    const QString family = q.property(QTextFormat::FontFamily).toString();
    if (!families.isEmpty() && !families.front().isEmpty())
        f.Face = families.front();
    else if (!family.isEmpty())
        f.Face = family;
    else
        f.Face = base.family();

    qreal points = 0;
    if (q.hasProperty(QTextFormat::FontPointSize))
        points = q.fontPointSize();
    else if (q.hasProperty(QTextFormat::FontPixelSize))
        points = q.intProperty(QTextFormat::FontPixelSize) * 72.0 / logicalDpi();
    else if (base.pointSizeF() > 0)
        points = base.pointSizeF();
    else if (base.pixelSize() > 0)
        points = base.pixelSize() * 72.0 / logicalDpi();
    const int half = int(std::lround(points * 2));
    f.Size = half > 0 ? half : 16;

    f.Bold = q.hasProperty(QTextFormat::FontWeight) ? q.fontWeight() >= QFont::DemiBold : base.bold();
    f.Italic = q.hasProperty(QTextFormat::FontItalic) ? q.fontItalic() : base.italic();
    f.Underline = q.hasProperty(QTextFormat::TextUnderlineStyle) || q.hasProperty(QTextFormat::FontUnderline)
                      ? q.fontUnderline()
                      : base.underline();
    if (q.property(DoubleUnderlineProperty).toBool() && f.Underline) {
        f.DoubleUnderline = true;
        f.Underline = q.property(SingleUnderlineProperty).toBool();
    }
    f.SmallCaps = q.hasProperty(QTextFormat::FontCapitalization) && q.fontCapitalization() == QFont::SmallCaps;
    if (q.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        f.Vertical = VerticalPosition::Superscript;
    else if (q.verticalAlignment() == QTextCharFormat::AlignSubScript)
        f.Vertical = VerticalPosition::Subscript;
    if (q.hasProperty(QTextFormat::BackgroundBrush)) {
        const QBrush brush = q.background();
        if (brush.style() != Qt::NoBrush)
            f.Highlight = std::uint32_t(brush.color().rgb() & 0xFFFFFFu);
    }
    f.Strike = q.hasProperty(QTextFormat::FontStrikeOut) ? q.fontStrikeOut() : base.strikeOut();

    if (q.hasProperty(QTextFormat::ForegroundBrush)) {
        const QBrush brush = q.foreground();
        if (brush.style() != Qt::NoBrush)
            f.Colour = std::uint32_t(brush.color().rgb() & 0xFFFFFFu);
    }
    f.Hidden = isHiddenText(q);
    return f;
}

Alignment fromQt(Qt::Alignment a)
{
    const Qt::Alignment h = a & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignJustify)
        return Alignment::Justify;
    if (h & Qt::AlignHCenter)
        return Alignment::Center;
    if (h & (Qt::AlignRight | Qt::AlignTrailing))
        return Alignment::Right;
    return Alignment::Left;
}

// Paragraph ends inside a run would split the paragraph in the editor; they
// become line breaks there.
QString editorText(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::ParagraphSeparator)
            c = QChar::LineSeparator;
    return out;
}

// Characters the QTextDocument uses for its own structure (frames, objects).
QString documentText(const QString& text)
{
    QString out = text;
    out.removeIf([](QChar c) {
        const char16_t u = c.unicode();
        return u == 0xFDD0 || u == 0xFDD1 || u == QChar::ObjectReplacementCharacter;
    });
    return out;
}

// Whether the character at `position` is hidden text; a paragraph break never is.
bool hiddenCharacter(const QTextDocument& document, int position)
{
    if (position < 0)
        return false;
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid() || position >= block.position() + block.length() - 1)
        return false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(position))
            return isHiddenText(fragment.charFormat());
    }
    return false;
}

} // namespace

qreal twipsToPixels(int twips)
{
    return twips * logicalDpi() / 1440.0;
}

int pixelsToTwips(qreal pixels)
{
    return int(std::lround(pixels * 1440.0 / logicalDpi()));
}

bool isHiddenText(const QTextCharFormat& format)
{
    return format.property(HiddenTextProperty).toBool();
}

void useHelpTabGrid(QTextDocument& document)
{
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(twipsToPixels(DefaultTabTwips));
    document.setDefaultTextOption(option);
}

void toTextDocument(const RichDocument& source, QTextDocument& target)
{
    target.clear();
    useHelpTabGrid(target);
    QTextCursor cursor(&target);
    insertRichDocument(cursor, source);
}

void insertRichDocument(QTextCursor& cursor, const RichDocument& source)
{
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const std::vector<Paragraph> empty(1);
    const std::vector<Paragraph>& paragraphs = source.Paragraphs.empty() ? empty : source.Paragraphs;
    bool first = true;
    for (const Paragraph& p : paragraphs) {
        // The block's own character format is what typing into an empty
        // paragraph continues with.
        CharFormat blockChars;
        if (!p.Runs.empty())
            blockChars = p.isEmpty() ? p.Runs.back().Format : p.Runs.front().Format;
        const QTextBlockFormat blockFormat = toQt(p);
        const QTextCharFormat charFormat = toQt(blockChars);
        if (first) {
            const bool emptyBlock = cursor.block().length() <= 1;
            if (emptyBlock || paragraphs.size() > 1)
                cursor.setBlockFormat(blockFormat);
            if (emptyBlock)
                cursor.setBlockCharFormat(charFormat);
            first = false;
        } else {
            cursor.insertBlock(blockFormat, charFormat);
        }
        for (const Run& r : p.Runs)
            if (!r.Text.isEmpty())
                cursor.insertText(editorText(r.Text), toQt(r.Format));
    }
    cursor.endEditBlock();
}

RichDocument fromTextDocument(const QTextDocument& source)
{
    return fromTextDocument(source, 0, std::numeric_limits<int>::max());
}

RichDocument fromTextDocument(const QTextDocument& source, int from, int to)
{
    const QFont base = source.defaultFont();
    const qreal indentWidth = source.indentWidth();
    RichDocument doc;
    doc.Paragraphs.clear();
    from = std::clamp(from, 0, std::max(0, source.characterCount() - 1));
    for (QTextBlock block = source.findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        Paragraph p;
        p.Align = fromQt(bf.alignment());
        p.LeftIndent = pixelsToTwips(bf.leftMargin() + bf.indent() * indentWidth);
        p.FirstIndent = pixelsToTwips(bf.textIndent());
        p.RightIndent = pixelsToTwips(bf.rightMargin());
        spacingFromQt(bf, p);
        p.Runs.clear();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            if (end <= start)
                continue;
            Run r{documentText(fragment.text().mid(start - fragment.position(), end - start)),
                  fromQt(fragment.charFormat(), base)};
            if (!r.Text.isEmpty())
                p.Runs.push_back(std::move(r));
        }
        if (p.Runs.empty())
            p.Runs.push_back(Run{QString(), fromQt(block.charFormat(), base)});
        doc.Paragraphs.push_back(std::move(p));
    }
    doc.normalize();
    return doc;
}

QByteArray saveEditorRtf(const QTextEdit& editor)
{
    return RtfWriter::write(fromTextDocument(*editor.document()));
}

void loadEditorRtf(QTextEdit& editor, const QByteArray& rtf)
{
    const RichDocument doc = rtf.isEmpty() ? RichDocument() : RtfReader::read(rtf);
    QTextDocument& target = *editor.document();
    // A loaded topic starts a fresh undo history: undo must never bring back
    // the text of the topic shown before.
    target.setUndoRedoEnabled(false);
    toTextDocument(doc, target);
    target.setUndoRedoEnabled(true);
    target.setModified(false);
    editor.moveCursor(QTextCursor::Start);
}

QTextCharFormat insertionFormat(const QTextCursor& cursor)
{
    QTextCharFormat format = cursor.charFormat();
    if (isHiddenText(format)) {
        const QTextDocument& document = *cursor.document();
        const bool inside = hiddenCharacter(document, cursor.selectionStart() - 1) &&
                            hiddenCharacter(document, cursor.selectionEnd());
        if (!inside)
            format.setProperty(HiddenTextProperty, false);
    }
    return format;
}

QTextCharFormat selectionFormat(const QTextEdit& editor)
{
    const QTextCursor cursor = editor.textCursor();
    if (!cursor.hasSelection())
        return insertionFormat(cursor);
    QTextCursor first(editor.document());
    first.setPosition(cursor.selectionStart());
    if (!first.atBlockEnd())
        first.movePosition(QTextCursor::NextCharacter);
    return first.charFormat();
}

} // namespace ts
