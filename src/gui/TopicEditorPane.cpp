#include "TopicEditorPane.h"

#include "RichTextAdapter.h"
#include "RichTextEdit.h"
#include "StorableTextValidator.h"
#include "model/Records.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cstdint>
#include <cstdlib>

namespace ts {

namespace {

QTextEdit* makeTopicEditor(QWidget* parent, const char* name)
{
    auto* e = new RichTextEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAcceptRichText(true);
    e->setTabChangesFocus(false);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The selection stays visible when the editor loses the focus.
    QPalette pal = e->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    e->setPalette(pal);
    return e;
}

void loadEditor(QTextEdit* editor, const QByteArray& rtf)
{
    loadEditorRtf(*editor, rtf);
    // Undo must not bring back the text of the topic shown before.
    editor->document()->clearUndoRedoStacks();
    editor->document()->setModified(false);
}

// Paints an editor's background with a 0x00BBGGRR colour.
void setEditorColour(QTextEdit* editor, std::uint32_t colour)
{
    QPalette pal = editor->palette();
    const QColor c(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, c);
    editor->setPalette(pal);
}

QTextBlock paragraphAtCaret(const QTextEdit& editor)
{
    return editor.document()->findBlock(editor.textCursor().selectionStart());
}

// Groups every change made while it lives into one step of the editor's
// undo history.
class EditBlock {
public:
    explicit EditBlock(QTextEdit* editor) : cursor_(editor->textCursor()) { cursor_.beginEditBlock(); }
    ~EditBlock() { cursor_.endEditBlock(); }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;

private:
    QTextCursor cursor_;
};

} // namespace

void putOnClipboard(const QString& text)
{
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

TopicEditorPane::TopicEditorPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("editors"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    addCaptionLine(column);
    addEditors(column);
    addKeywords(column);
    reportChanges();
}

// "Non-scrolling area" on the left, the topic's title in bold on the right.
void TopicEditorPane::addCaptionLine(QVBoxLayout* column)
{
    auto* captionLine = new QHBoxLayout;
    captionLine->setContentsMargins(2, 0, 2, 0);
    nonScrollingCaption_ = new QLabel(QStringLiteral("Non-scrolling area"), this);
    nonScrollingCaption_->setObjectName(QStringLiteral("nonScrollingCaption"));
    topicTitleLabel_ = new QLabel(QStringLiteral("Topic Title "), this);
    topicTitleLabel_->setObjectName(QStringLiteral("topicTitleLabel"));
    QFont bold = topicTitleLabel_->font();
    bold.setBold(true);
    topicTitleLabel_->setFont(bold);
    topicTitleLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    topicTitleLabel_->setTextFormat(Qt::PlainText);
    captionLine->addWidget(nonScrollingCaption_);
    captionLine->addWidget(topicTitleLabel_, 1);
    column->addLayout(captionLine);
}

void TopicEditorPane::addEditors(QVBoxLayout* column)
{
    headerEditor_ = makeTopicEditor(this, "headerEditor");
    headerEditor_->setFixedHeight(84);
    {
        // The button-face colour until a topic's window colours it.
        QPalette pal = headerEditor_->palette();
        const QColor face = QApplication::palette().color(QPalette::Button);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Base, face);
        headerEditor_->setPalette(pal);
    }
    column->addWidget(headerEditor_);

    topicAreaCaption_ = new QLabel(QStringLiteral("Topic area"), this);
    topicAreaCaption_->setObjectName(QStringLiteral("topicAreaCaption"));
    topicAreaCaption_->setContentsMargins(2, 0, 2, 0);
    column->addWidget(topicAreaCaption_);

    topicEditor_ = makeTopicEditor(this, "topicEditor");
    setEditorColour(topicEditor_, 0xDCFFFF);
    column->addWidget(topicEditor_, 1);
}

void TopicEditorPane::addKeywords(QVBoxLayout* column)
{
    keywordsCaption_ = new QLabel(QStringLiteral("Keywords:"), this);
    keywordsCaption_->setObjectName(QStringLiteral("keywordsCaption"));
    keywordsCaption_->setContentsMargins(2, 0, 2, 0);
    column->addWidget(keywordsCaption_);

    keywordsEdit_ = new QLineEdit(this);
    keywordsEdit_->setObjectName(QStringLiteral("keywordsEdit"));
    keywordsEdit_->setMaxLength(255);
    keywordsEdit_->setValidator(new StorableTextValidator(keywordsEdit_));
    column->addWidget(keywordsEdit_);
}

// The format at the caret follows every caret move; every change the user
// makes is an edit.
void TopicEditorPane::reportChanges()
{
    for (QTextEdit* editor : {headerEditor_, topicEditor_}) {
        editor->installEventFilter(this);
        const auto showFormat = [this, editor] { emit formatAtCaretChanged(selectionFormat(*editor)); };
        connect(editor, &QTextEdit::selectionChanged, this, showFormat);
        connect(editor, &QTextEdit::cursorPositionChanged, this, showFormat);
        connect(editor->document(), &QTextDocument::contentsChanged, this, [this] {
            if (!loading_)
                emit edited();
        });
    }
    connect(keywordsEdit_, &QLineEdit::textChanged, this, [this] {
        if (!loading_)
            emit edited();
    });
}

void TopicEditorPane::setMinimumTopicLines(int lines)
{
    const int lineSpacing = topicEditor_->fontMetrics().lineSpacing();
    topicEditor_->setMinimumHeight(lines * lineSpacing + 2 * topicEditor_->frameWidth());
}

TopicEditorPane::Area TopicEditorPane::lastUsedArea() const
{
    return headerLastUsed_ ? Area::Header : Area::Topic;
}

std::optional<TopicEditorPane::Area> TopicEditorPane::areaInUse() const
{
    // The window's focus widget, so that a command reached through the menu
    // or a tool button (which take no focus) still sees the editor.
    QWidget* focus = window()->focusWidget();
    if (focus == headerEditor_)
        return Area::Header;
    if (focus == topicEditor_)
        return Area::Topic;
    return std::nullopt;
}

QTextEdit* TopicEditorPane::editorShown() const
{
    const std::optional<Area> inUse = areaInUse();
    return editor(inUse ? *inUse : lastUsedArea());
}

void TopicEditorPane::focusArea(Area area)
{
    QTextEdit* target = editor(area);
    if (target->isEnabled())
        target->setFocus(Qt::OtherFocusReason);
}

bool TopicEditorPane::eventFilter(QObject* watched, QEvent* event)
{
    // Entering or leaving an editor makes it the last used one.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (watched == headerEditor_)
            headerLastUsed_ = true;
        else if (watched == topicEditor_)
            headerLastUsed_ = false;
    }
    return QWidget::eventFilter(watched, event);
}

void TopicEditorPane::store(TopicRecord& topic) const
{
    topic.Keywords.setText(keywordsEdit_->text());
    topic.HeaderRtf = saveEditorRtf(*headerEditor_);
    topic.BodyRtf = saveEditorRtf(*topicEditor_);
}

void TopicEditorPane::load(const TopicRecord& topic, const WindowRecord& window)
{
    const QScopedValueRollback<bool> loading(loading_, true);
    keywordsEdit_->setText(topic.Keywords.text());
    setEditorColour(headerEditor_, window.NonScrollColour);
    setEditorColour(topicEditor_, window.TopicColour);
    loadEditor(headerEditor_, topic.HeaderRtf);
    loadEditor(topicEditor_, topic.BodyRtf);
    showTitle(topic.Title.text());
    showFormatAtCaret();
}

void TopicEditorPane::clear(const WindowRecord& window)
{
    const QScopedValueRollback<bool> loading(loading_, true);
    keywordsEdit_->clear();
    topicTitleLabel_->setText(QStringLiteral("Topic Title "));
    loadEditor(headerEditor_, QByteArray());
    loadEditor(topicEditor_, QByteArray());
    setEditorColour(headerEditor_, window.NonScrollColour);
    setEditorColour(topicEditor_, window.TopicColour);
    showFormatAtCaret();
}

void TopicEditorPane::showFormatAtCaret()
{
    emit formatAtCaretChanged(selectionFormat(*editor(lastUsedArea())));
}

void TopicEditorPane::showTitle(const QString& title)
{
    topicTitleLabel_->setText(title + QLatin1Char(' '));
}

void TopicEditorPane::setEditingEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{headerEditor_, topicEditor_, keywordsEdit_})
        w->setEnabled(enabled);
}

// ---- Text ----

QString TopicEditorPane::plainText(Area area) const
{
    return editor(area)->toPlainText();
}

QString TopicEditorPane::selectedText(Area area) const
{
    return editor(area)->textCursor().selectedText();
}

bool TopicEditorPane::copySelection(Area area, int minimum)
{
    QTextEdit* source = editor(area);
    const QTextCursor cursor = source->textCursor();
    if (std::abs(cursor.selectionEnd() - cursor.selectionStart()) < minimum)
        return false;
    source->copy();
    return true;
}

void TopicEditorPane::insertMarkup(std::optional<Area> area, const QString& markup, const QTextCharFormat& style,
                                   const QTextCharFormat& afterwards)
{
    if (!area) {
        putOnClipboard(markup);
        return;
    }
    QTextEdit* target = editor(*area);
    // One Undo takes back the whole insertion, format changes included.
    const EditBlock block(target);
    target->mergeCurrentCharFormat(style);
    putOnClipboard(markup);
    QTextCursor cursor = target->textCursor();
    cursor.insertText(markup, selectionFormat(*target));
    target->setTextCursor(cursor);
    target->mergeCurrentCharFormat(afterwards);
}

int TopicEditorPane::selectText(Area area, int start, int length)
{
    QTextEdit* target = editor(area);
    const int end = qMin(start + length, target->document()->characterCount() - 1);
    QTextCursor cursor = target->textCursor();
    cursor.setPosition(qMin(start, end));
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    target->setTextCursor(cursor);
    target->ensureCursorVisible();
    return qMax(0, end - start);
}

void TopicEditorPane::clearSelection(Area area)
{
    QTextEdit* target = editor(area);
    QTextCursor cursor = target->textCursor();
    cursor.clearSelection();
    target->setTextCursor(cursor);
}

void TopicEditorPane::replaceSelection(Area area, const QString& text)
{
    QTextEdit* target = editor(area);
    QTextCursor cursor = target->textCursor();
    QTextCursor first(target->document());
    first.setPosition(qMin(cursor.selectionStart() + 1, target->document()->characterCount() - 1));
    const QTextCharFormat format = first.charFormat();
    cursor.insertText(text, format);
    target->setTextCursor(cursor);
}

bool TopicEditorPane::isStruckOut(Area area, int start, int length) const
{
    QTextCursor cursor(editor(area)->document());
    for (int p = start; p < start + length; ++p) {
        cursor.setPosition(p + 1);
        if (!cursor.charFormat().fontStrikeOut())
            return false;
    }
    return length > 0;
}

bool TopicEditorPane::showFound(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QTextEdit* target : {headerEditor_, topicEditor_}) {
        const QTextCursor found = target->document()->find(text);
        if (found.isNull())
            continue;
        target->setTextCursor(found);
        target->ensureCursorVisible();
        if (target->isEnabled())
            target->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

// ---- Format ----

QTextCharFormat TopicEditorPane::formatAtCaret(Area area) const
{
    return selectionFormat(*editor(area));
}

QFont TopicEditorPane::baseFont() const
{
    return topicEditor_->document()->defaultFont();
}

void TopicEditorPane::mergeCharFormat(const QTextCharFormat& change)
{
    editor(lastUsedArea())->mergeCurrentCharFormat(change);
}

void TopicEditorPane::mergeBlockFormat(const QTextBlockFormat& change)
{
    editor(lastUsedArea())->textCursor().mergeBlockFormat(change);
}

void TopicEditorPane::alignParagraphs(Qt::Alignment alignment)
{
    if (const std::optional<Area> area = areaInUse())
        editor(*area)->setAlignment(alignment);
}

qreal TopicEditorPane::paragraphIndentAtCaret() const
{
    const QTextEdit* shown = editorShown();
    const QTextBlockFormat f = paragraphAtCaret(*shown).blockFormat();
    return f.leftMargin() + f.indent() * shown->document()->indentWidth();
}

Qt::Alignment TopicEditorPane::paragraphAlignmentAtCaret() const
{
    return paragraphAtCaret(*editorShown()).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

// ---- The Edit menu ----

// The Edit menu's commands act on the text the user is in: one of the
// editors, or the keywords field.
template <typename EditorCommand, typename FieldCommand>
void TopicEditorPane::onTextInUse(EditorCommand onEditor, FieldCommand onField)
{
    if (const std::optional<Area> area = areaInUse())
        (editor(*area)->*onEditor)();
    else if (window()->focusWidget() == keywordsEdit_)
        (keywordsEdit_->*onField)();
}

void TopicEditorPane::cut()
{
    onTextInUse(&QTextEdit::cut, &QLineEdit::cut);
}

void TopicEditorPane::copy()
{
    onTextInUse(&QTextEdit::copy, &QLineEdit::copy);
}

void TopicEditorPane::paste()
{
    onTextInUse(&QTextEdit::paste, &QLineEdit::paste);
}

void TopicEditorPane::undo()
{
    onTextInUse(&QTextEdit::undo, &QLineEdit::undo);
}

void TopicEditorPane::redo()
{
    onTextInUse(&QTextEdit::redo, &QLineEdit::redo);
}

void TopicEditorPane::selectAll()
{
    // From outside the texts (the topic list, a toolbar box), Select All
    // selects the editor last used, and goes there.
    if (!areaInUse() && window()->focusWidget() != keywordsEdit_) {
        QTextEdit* target = editor(lastUsedArea());
        if (target->isEnabled())
            target->setFocus(Qt::ShortcutFocusReason);
    }
    onTextInUse(&QTextEdit::selectAll, &QLineEdit::selectAll);
}

} // namespace ts
