#include "RichTextEdit.h"

#include "RichTextAdapter.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>

#include <algorithm>

namespace ts {

namespace {

// Draws hidden runs grey with a dotted underline. The look lives in the
// layout's display formats only; the document's formats are untouched.
class HiddenTextLook : public QSyntaxHighlighter {
public:
    explicit HiddenTextLook(QTextDocument* document)
        : QSyntaxHighlighter(document)
    {
        const QColor grey(128, 128, 128);
        look_.setForeground(grey);
        look_.setUnderlineStyle(QTextCharFormat::DotLine);
        look_.setUnderlineColor(grey);
    }

protected:
    void highlightBlock(const QString&) override
    {
        const QTextBlock block = currentBlock();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && isHiddenText(fragment.charFormat()))
                setFormat(fragment.position() - block.position(), fragment.length(), look_);
        }
    }

private:
    QTextCharFormat look_;
};

// Text a key press types into the editor.
bool typesText(const QString& text)
{
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    return c.isPrint() || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// The names programs give RTF on the clipboard and in drags.
QStringList rtfTypes()
{
    return {RichTextEdit::rtfMimeType(), QStringLiteral("application/rtf"), QStringLiteral("text/richtext")};
}

bool offersRtf(const QMimeData& source)
{
    const QStringList types = rtfTypes();
    return std::any_of(types.begin(), types.end(), [&](const QString& type) { return source.hasFormat(type); });
}

// The first non-empty RTF the data offers.
QByteArray rtfOf(const QMimeData& source)
{
    for (const QString& type : rtfTypes())
        if (source.hasFormat(type)) {
            const QByteArray bytes = source.data(type);
            if (!bytes.isEmpty())
                return bytes;
        }
    return {};
}

} // namespace

RichTextEdit::RichTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
    new HiddenTextLook(document());
    useHelpTabGrid(*document());
}

QString RichTextEdit::rtfMimeType()
{
    return QStringLiteral("text/rtf");
}

QMimeData* RichTextEdit::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return data;
    const RichDocument selection = fromTextDocument(*document(), cursor.selectionStart(), cursor.selectionEnd());
    data->setData(rtfMimeType(), RtfWriter::write(selection));
    const QTextDocumentFragment fragment(cursor);
    data->setHtml(fragment.toHtml());
    data->setText(fragment.toPlainText());
    return data;
}

bool RichTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    // Asked on every move of a drag: the formats only, not the data.
    return source && (offersRtf(*source) || QTextEdit::canInsertFromMimeData(source));
}

void RichTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source || isReadOnly())
        return;
    const QByteArray rtf = rtfOf(*source);
    if (!rtf.isEmpty()) {
        QTextCursor cursor = textCursor();
        insertRichDocument(cursor, RtfReader::read(rtf));
        setTextCursor(cursor);
    } else if (acceptRichText() && source->hasHtml()) {
        QTextEdit::insertFromMimeData(source);
    } else if (source->hasText()) {
        pastePlainText(source->text());
    }
    ensureCursorVisible();
}

void RichTextEdit::pastePlainText(const QString& text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|[\r\n\u2029]"));
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const QTextCharFormat format = insertionFormat(cursor);
    const QStringList lines = text.split(lineEnd);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(cursor.blockFormat(), format);
        cursor.insertText(lines[i], format);
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void RichTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (!isReadOnly() && typesText(event->text())) {
        QTextCursor cursor = textCursor();
        const QTextCharFormat format = insertionFormat(cursor);
        if (format != cursor.charFormat()) {
            if (!cursor.hasSelection()) {
                setCurrentCharFormat(format);
            } else if (event->text().front().isPrint()) {
                // Typing over a selection: setting the format first would
                // change the selected text as a separate undo step.
                cursor.insertText(event->text(), format);
                setTextCursor(cursor);
                event->accept();
                return;
            }
        }
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!isReadOnly() && !event->commitString().isEmpty() && !textCursor().hasSelection()) {
        const QTextCharFormat format = insertionFormat(textCursor());
        if (format != textCursor().charFormat())
            setCurrentCharFormat(format);
    }
    QTextEdit::inputMethodEvent(event);
}

} // namespace ts
