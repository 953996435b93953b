#include "HelpTopicRenderer.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace ts {
namespace {

const QString HotspotScheme = QStringLiteral("hotspot:");
const QString MacroScheme = QStringLiteral("macro:");
const QString PictureScheme = QStringLiteral("picture:");

QFont::StyleHint styleHintOf(HelpFont::Family family)
{
    switch (family) {
    case HelpFont::Family::Modern: return QFont::TypeWriter;
    case HelpFont::Family::Roman: return QFont::Serif;
    case HelpFont::Family::Swiss: return QFont::SansSerif;
    case HelpFont::Family::Script: return QFont::Cursive;
    case HelpFont::Family::Decorative: return QFont::Decorative;
    case HelpFont::Family::Unknown: break;
    }
    return QFont::AnyStyle;
}

Qt::Alignment alignmentOf(HelpAlignment align)
{
    switch (align) {
    case HelpAlignment::Center: return Qt::AlignHCenter;
    case HelpAlignment::Right: return Qt::AlignRight;
    case HelpAlignment::Left: break;
    }
    return Qt::AlignLeft;
}

QTextOption::TabType tabTypeOf(HelpTabStop::Kind kind)
{
    switch (kind) {
    case HelpTabStop::Kind::Right: return QTextOption::RightTab;
    case HelpTabStop::Kind::Center: return QTextOption::CenterTab;
    case HelpTabStop::Kind::Left: break;
    }
    return QTextOption::LeftTab;
}

QTextBlockFormat blockFormatOf(const HelpParagraph& p)
{
    QTextBlockFormat format;
    format.setTopMargin(HelpTopicRenderer::pixels(p.spaceBefore));
    format.setBottomMargin(HelpTopicRenderer::pixels(p.spaceAfter));
    format.setLeftMargin(HelpTopicRenderer::pixels(std::max(0, p.leftIndent)));
    format.setRightMargin(HelpTopicRenderer::pixels(std::max(0, p.rightIndent)));
    format.setTextIndent(HelpTopicRenderer::pixels(p.firstIndent));
    format.setAlignment(alignmentOf(p.align));
    if (p.lineSpacing > 0)
        format.setLineHeight(HelpTopicRenderer::pixels(p.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (p.lineSpacing < 0)
        format.setLineHeight(HelpTopicRenderer::pixels(-p.lineSpacing), QTextBlockFormat::FixedHeight);
    // Help files measure tab stops from the left margin, Qt from where the
    // paragraph's first line starts. A hanging indent also stops a tab at the
    // indent, so the text after a bullet lines up with the lines below it.
    QList<QTextOption::Tab> tabs;
    const int firstLine = std::max(0, p.leftIndent) + p.firstIndent;
    bool indentStop = p.firstIndent < 0;
    for (const HelpTabStop& tab : p.tabs) {
        if (indentStop && tab.position >= p.leftIndent) {
            if (tab.position > p.leftIndent)
                tabs.append(QTextOption::Tab(HelpTopicRenderer::pixels(p.leftIndent - firstLine), QTextOption::LeftTab));
            indentStop = false;
        }
        if (tab.position > firstLine)
            tabs.append(QTextOption::Tab(HelpTopicRenderer::pixels(tab.position - firstLine), tabTypeOf(tab.kind)));
    }
    if (indentStop)
        tabs.append(QTextOption::Tab(HelpTopicRenderer::pixels(p.leftIndent - firstLine), QTextOption::LeftTab));
    format.setTabPositions(tabs);
    // WinHelp's "keep" paragraphs do not wrap; the window scrolls sideways.
    format.setNonBreakableLines(p.keepTogether);
    format.setProperty(HelpTopicRenderer::ParagraphOffsetProperty, uint(p.topicOffset));
    return format;
}

// A horizontal line as a block of its own, for a border on one side only.
void insertRule(QTextCursor& cursor, bool newBlock)
{
    QTextBlockFormat rule;
    rule.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, QTextLength(QTextLength::PercentageLength, 100));
    if (newBlock)
        cursor.insertBlock(rule);
    else
        cursor.setBlockFormat(rule);
}

// A push button drawn by the style, as {button} shows it in the text.
QImage buttonImage(const QString& caption, const QFont& font)
{
    QStyleOptionButton option;
    option.text = caption;
    option.fontMetrics = QFontMetrics(font);
    option.state = QStyle::State_Enabled | QStyle::State_Raised;
    const QSize text = option.fontMetrics.size(Qt::TextShowMnemonic, caption);
    option.rect = QRect(QPoint(0, 0), QSize(std::max(text.width() + 16, 24), text.height() + 8));
    QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    QApplication::style()->drawControl(QStyle::CE_PushButton, &option, &painter);
    return image;
}

bool boxed(const HelpBorder& border) { return border.box || border.left || border.right; }

} // namespace

// ------------------------------------------------------------------- anchors

HelpAnchor HelpAnchor::parse(const QString& href)
{
    HelpAnchor anchor;
    if (href.startsWith(HotspotScheme)) {
        anchor.kind = Kind::Hotspot;
        anchor.hotspot = href.mid(HotspotScheme.size()).toInt();
    } else if (href.startsWith(MacroScheme)) {
        anchor.kind = Kind::Macro;
        anchor.macro = QUrl::fromPercentEncoding(href.mid(MacroScheme.size()).toLatin1());
    } else if (href.startsWith(PictureScheme)) {
        anchor.kind = Kind::Picture;
        const QString rest = href.mid(PictureScheme.size());
        if (rest.startsWith(QLatin1Char('t')))
            anchor.pictureInTopic = rest.mid(1).toInt();
        else
            anchor.picture = rest.toInt();
    }
    return anchor;
}

QString HelpAnchor::hotspotHref(int index) { return HotspotScheme + QString::number(index); }

QString HelpAnchor::macroHref(const QString& macro)
{
    return MacroScheme + QString::fromLatin1(QUrl::toPercentEncoding(macro));
}

QString HelpAnchor::pictureHref(int picture, int pictureInTopic)
{
    return PictureScheme + (picture >= 0 ? QString::number(picture) : QLatin1Char('t') + QString::number(pictureInTopic));
}

// ------------------------------------------------------------------ renderer

HelpTopicRenderer::HelpTopicRenderer(const HelpDocument& document, int topic, double fontScale)
    : document_(document), content_(document.content(topic)), fontScale_(fontScale)
{
}

QTextDocument* HelpTopicRenderer::render(const std::vector<HelpParagraph>& paragraphs, QObject* parent) const
{
    auto* doc = new QTextDocument(parent);
    doc->setDocumentMargin(6);
    QFont base(QStringLiteral("Arial"));
    base.setPointSizeF(10 * fontScale_);
    doc->setDefaultFont(base);
    // Tabs without stops go to the next half inch, as in WinHelp.
    QTextOption option = doc->defaultTextOption();
    option.setTabStopDistance(pixels(720));
    doc->setDefaultTextOption(option);
    QTextCursor cursor(doc);
    bool newBlock = false; // the document starts with one empty block to fill
    for (int i = 0; i < int(paragraphs.size());) {
        const HelpParagraph& p = paragraphs[size_t(i)];
        if (p.tableRow >= 0 && p.tableRow < int(content_.tableRows.size())) {
            i = renderTable(cursor, paragraphs, i);
            newBlock = false; // a table is followed by an empty block
        } else if (boxed(p.border)) {
            i = renderBoxed(cursor, paragraphs, i);
            newBlock = false;
        } else {
            if (p.border.top) {
                insertRule(cursor, newBlock);
                newBlock = true;
            }
            renderParagraph(cursor, p, newBlock);
            newBlock = true;
            if (p.border.bottom)
                insertRule(cursor, true);
            ++i;
        }
    }
    return doc;
}

void HelpTopicRenderer::renderParagraph(QTextCursor& cursor, const HelpParagraph& paragraph, bool newBlock) const
{
    const QTextBlockFormat format = blockFormatOf(paragraph);
    // An empty paragraph is as high as its font says.
    const QTextCharFormat blockChars =
        paragraph.runs.empty() ? charFormat(HelpRun()) : charFormat(paragraph.runs.front());
    if (newBlock)
        cursor.insertBlock(format, blockChars);
    else {
        cursor.setBlockFormat(format);
        cursor.setBlockCharFormat(blockChars);
    }
    for (const HelpRun& run : paragraph.runs)
        renderRun(cursor, run);
}

// Paragraphs boxed alike are drawn in one frame, as WinHelp joins their boxes.
int HelpTopicRenderer::renderBoxed(QTextCursor& cursor, const std::vector<HelpParagraph>& paragraphs, int first) const
{
    QTextFrameFormat frame;
    frame.setBorder(paragraphs[size_t(first)].border.thick ? 2 : 1);
    frame.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    frame.setPadding(3);
    frame.setLeftMargin(pixels(std::max(0, paragraphs[size_t(first)].leftIndent)));
    cursor.movePosition(QTextCursor::End);
    cursor.insertFrame(frame);
    int i = first;
    for (; i < int(paragraphs.size()) && paragraphs[size_t(i)].tableRow < 0 && boxed(paragraphs[size_t(i)].border); ++i) {
        HelpParagraph inside = paragraphs[size_t(i)];
        inside.leftIndent -= paragraphs[size_t(first)].leftIndent;
        renderParagraph(cursor, inside, i != first);
    }
    cursor.movePosition(QTextCursor::End);
    return i;
}

int HelpTopicRenderer::renderTable(QTextCursor& cursor, const std::vector<HelpParagraph>& paragraphs, int first) const
{
    // The rows in the order they come, and each row's paragraphs.
    std::vector<int> rows;
    int last = first;
    for (; last < int(paragraphs.size()); ++last) {
        const HelpParagraph& p = paragraphs[size_t(last)];
        if (p.tableRow < 0 || p.tableRow >= int(content_.tableRows.size()))
            break;
        if (rows.empty() || rows.back() != p.tableRow)
            rows.push_back(p.tableRow);
    }
    int columns = 1;
    for (int row : rows)
        columns = std::max(columns, int(content_.tableRows[size_t(row)].columns.size()));

    const HelpTableRow& shape = content_.tableRows[size_t(rows.front())];
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellSpacing(0);
    const int gap = shape.columns.empty() ? 0 : shape.columns.front().gap;
    format.setCellPadding(std::clamp(pixels(gap) / 2, 1.0, 12.0));
    format.setAlignment(Qt::AlignLeft);
    QList<QTextLength> widths;
    for (const HelpTableRow::Column& column : shape.columns)
        widths.append(shape.fixedWidth ? QTextLength(QTextLength::FixedLength, pixels(column.width + column.gap))
                                       : QTextLength(QTextLength::PercentageLength, column.width * 100.0 / 32767));
    format.setColumnWidthConstraints(widths);
    if (!shape.fixedWidth)
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));

    cursor.movePosition(QTextCursor::End);
    QTextTable* table = cursor.insertTable(int(rows.size()), columns, format);
    std::vector<std::vector<bool>> started(rows.size(), std::vector<bool>(size_t(columns), false));
    for (int i = first; i < last; ++i) {
        const HelpParagraph& p = paragraphs[size_t(i)];
        const int row = int(std::find(rows.begin(), rows.end(), p.tableRow) - rows.begin());
        const int column = std::clamp(p.column, 0, columns - 1);
        QTextCursor cell = table->cellAt(row, column).lastCursorPosition();
        HelpParagraph inCell = p;
        inCell.tableRow = -1;
        renderParagraph(cell, inCell, started[size_t(row)][size_t(column)]);
        started[size_t(row)][size_t(column)] = true;
    }
    cursor.movePosition(QTextCursor::End);
    return last;
}

QTextCharFormat HelpTopicRenderer::charFormat(const HelpRun& run) const
{
    const HelpFont& font = document_.fontOf(run);
    QTextCharFormat format;
    const QString face = font.face.isEmpty() ? QStringLiteral("Arial") : font.face;
    format.setFontFamilies(QStringList{face});
    format.setFontStyleHint(styleHintOf(font.family));
    format.setFontPointSize(std::max(1, font.halfPoints > 0 ? font.halfPoints : 20) / 2.0 * fontScale_);
    format.setFontWeight(font.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(font.italic);
    format.setFontUnderline(font.underline || font.doubleUnderline);
    format.setFontStrikeOut(font.strikeOut);
    if (font.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    format.setForeground(QColor(font.colour ? QRgb(0xFF000000 | *font.colour) : QRgb(0xFF000000)));

    if (run.hotspot >= 0 && run.hotspot < int(content_.hotspots.size())) {
        const HelpHotspot& hotspot = content_.hotspots[size_t(run.hotspot)];
        format.setAnchor(true);
        format.setAnchorHref(HelpAnchor::hotspotHref(run.hotspot));
        format.setToolTip(document_.targetText(hotspot));
        if (hotspot.drawnAsHotspot) {
            format.setForeground(QColor::fromRgb(HotspotColour));
            format.setUnderlineStyle(hotspot.kind == HelpHotspot::Kind::Popup ? QTextCharFormat::DotLine
                                                                              : QTextCharFormat::SingleUnderline);
        }
    }
    return format;
}

void HelpTopicRenderer::renderRun(QTextCursor& cursor, const HelpRun& run) const
{
    const QTextCharFormat format = charFormat(run);
    switch (run.kind) {
    case HelpRun::Kind::Text:
        cursor.insertText(run.text, format);
        break;
    case HelpRun::Kind::Picture:
        renderPicture(cursor, run, format);
        break;
    case HelpRun::Kind::EmbeddedWindow:
        renderEmbedded(cursor, run, format);
        break;
    }
}

const HelpPicture* HelpTopicRenderer::pictureOf(int picture, int pictureInTopic) const
{
    if (picture >= 0)
        return &document_.picture(picture);
    if (pictureInTopic >= 0 && pictureInTopic < int(content_.pictures.size()))
        return &content_.pictures[size_t(pictureInTopic)];
    return nullptr;
}

QImage HelpTopicRenderer::pictureImage(int picture, int pictureInTopic) const
{
    const HelpPicture* pic = pictureOf(picture, pictureInTopic);
    if (pic && pic->format == HelpPicture::Format::Bitmap && !pic->image.isNull()
        && pic->image.rgba.size() >= qsizetype(pic->image.width) * pic->image.height * 4)
        return QImage(reinterpret_cast<const uchar*>(pic->image.rgba.constData()), pic->image.width,
                      pic->image.height, pic->image.width * 4, QImage::Format_RGBA8888)
            .copy();
    // A stand-in as large as the picture would be (metafiles give 0.01 mm).
    QSize size(96, 48);
    if (pic && pic->format == HelpPicture::Format::Metafile && pic->metafileWidth > 0 && pic->metafileHeight > 0)
        size = QSize(std::clamp(pic->metafileWidth * 96 / 2540, 16, 1600),
                     std::clamp(pic->metafileHeight * 96 / 2540, 16, 1600));
    QImage image(size, QImage::Format_ARGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter painter(&image);
    painter.setPen(Qt::gray);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.setFont(QFont(QStringLiteral("Arial"), 7));
    const bool metafile = pic && pic->format == HelpPicture::Format::Metafile;
    painter.drawText(image.rect().adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap,
                     metafile ? QStringLiteral("metafile picture") : QStringLiteral("picture missing"));
    return image;
}

void HelpTopicRenderer::renderPicture(QTextCursor& cursor, const HelpRun& run, const QTextCharFormat& text) const
{
    const QImage image = pictureImage(run.picture, run.pictureInTopic);
    const QString name = QStringLiteral("hlp-picture:") + HelpAnchor::pictureHref(run.picture, run.pictureInTopic);
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    const HelpPicture* pic = pictureOf(run.picture, run.pictureInTopic);
    if (text.isAnchor()) {
        // A picture inside a text hotspot is that hotspot as a whole.
        format.setAnchor(true);
        format.setAnchorHref(text.anchorHref());
        format.setToolTip(text.toolTip());
    } else if (pic && !pic->hotspots.empty()) {
        format.setAnchor(true);
        format.setAnchorHref(HelpAnchor::pictureHref(run.picture, run.pictureInTopic));
    }
    if (run.placement == HelpPlacement::InLine) {
        cursor.insertImage(format);
        return;
    }
    // {bml}/{bmr}: the picture sits at the margin and the text flows beside it.
    QTextFrameFormat frame;
    frame.setPosition(run.placement == HelpPlacement::Left ? QTextFrameFormat::FloatLeft : QTextFrameFormat::FloatRight);
    frame.setBorder(0);
    frame.setPadding(0);
    frame.setMargin(2);
    // The text after the picture goes on in a block formatted like this one.
    const QTextBlockFormat paragraph = cursor.blockFormat();
    const QTextCharFormat paragraphChars = cursor.blockCharFormat();
    cursor.insertFrame(frame);
    cursor.insertImage(format);
    cursor.movePosition(QTextCursor::End);
    cursor.setBlockFormat(paragraph);
    cursor.setBlockCharFormat(paragraphChars);
}

void HelpTopicRenderer::renderEmbedded(QTextCursor& cursor, const HelpRun& run, const QTextCharFormat& text) const
{
    if (!run.embedded)
        return;
    const HelpEmbeddedWindow& window = *run.embedded;
    if (window.kind == HelpEmbeddedWindow::Kind::Button) {
        const QImage image = buttonImage(window.caption, text.font());
        const QString name = QStringLiteral("hlp-button:%1").arg(cursor.position());
        cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat format;
        format.setName(name);
        format.setWidth(image.width());
        format.setHeight(image.height());
        format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
        format.setAnchor(true);
        format.setAnchorHref(HelpAnchor::macroHref(window.macro));
        format.setToolTip(window.caption);
        cursor.insertImage(format);
        return;
    }
    // Media players and windows of a library are not shown; say what was there.
    QTextCharFormat note = text;
    note.setAnchor(false);
    note.setForeground(Qt::gray);
    note.setFontItalic(true);
    const QString what = window.kind == HelpEmbeddedWindow::Kind::Media
                             ? QStringLiteral("[media: %1]").arg(window.file)
                             : QStringLiteral("[window of %1 not shown]").arg(window.dll);
    cursor.insertText(what, note);
}

} // namespace ts
