#include "TopicEditorPane.h"

#include "RichTextAdapter.h"
#include "RichTextEdit.h"
#include "StorableTextValidator.h"
#include "model/Records.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

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

} // namespace

void setEditorColour(QTextEdit* editor, std::uint32_t colour)
{
    QPalette pal = editor->palette();
    const QColor c(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, c);
    editor->setPalette(pal);
}

TopicEditorPane::TopicEditorPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("editors"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);

    auto* captionLine = new QHBoxLayout;
    captionLine->setContentsMargins(2, 0, 2, 0);
    nonScrollingCaption = new QLabel(QStringLiteral("Non-scrolling area"), this);
    nonScrollingCaption->setObjectName(QStringLiteral("nonScrollingCaption"));
    topicTitleLabel = new QLabel(QStringLiteral("Topic Title "), this);
    topicTitleLabel->setObjectName(QStringLiteral("topicTitleLabel"));
    QFont bold = topicTitleLabel->font();
    bold.setBold(true);
    topicTitleLabel->setFont(bold);
    topicTitleLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    topicTitleLabel->setTextFormat(Qt::PlainText);
    captionLine->addWidget(nonScrollingCaption);
    captionLine->addWidget(topicTitleLabel, 1);
    v->addLayout(captionLine);

    headerEditor = makeTopicEditor(this, "headerEditor");
    headerEditor->setFixedHeight(84);
    {
        // The button-face colour until a topic's window colours it.
        QPalette pal = headerEditor->palette();
        const QColor face = QApplication::palette().color(QPalette::Button);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Base, face);
        headerEditor->setPalette(pal);
    }
    v->addWidget(headerEditor);

    topicAreaCaption = new QLabel(QStringLiteral("Topic area"), this);
    topicAreaCaption->setObjectName(QStringLiteral("topicAreaCaption"));
    topicAreaCaption->setContentsMargins(2, 0, 2, 0);
    v->addWidget(topicAreaCaption);

    topicEditor = makeTopicEditor(this, "topicEditor");
    setEditorColour(topicEditor, 0xDCFFFF);
    v->addWidget(topicEditor, 1);

    keywordsCaption = new QLabel(QStringLiteral("Keywords:"), this);
    keywordsCaption->setObjectName(QStringLiteral("keywordsCaption"));
    keywordsCaption->setContentsMargins(2, 0, 2, 0);
    v->addWidget(keywordsCaption);

    keywordsEdit = new QLineEdit(this);
    keywordsEdit->setObjectName(QStringLiteral("keywordsEdit"));
    keywordsEdit->setMaxLength(255);
    keywordsEdit->setValidator(new StorableTextValidator(keywordsEdit));
    v->addWidget(keywordsEdit);

    markupBuffer = new QLineEdit(this);
    markupBuffer->setObjectName(QStringLiteral("markupBuffer"));
    markupBuffer->hide();
    allTopicsText = new QTextEdit(this);
    allTopicsText->setObjectName(QStringLiteral("allTopicsText"));
    allTopicsText->hide();
    scratchText = new QTextEdit(this);
    scratchText->setObjectName(QStringLiteral("scratchText"));
    scratchText->setLineWrapMode(QTextEdit::NoWrap);
    scratchText->move(-2000, 0);
    scratchText->hide();

    for (QTextEdit* editor : {headerEditor, topicEditor}) {
        editor->installEventFilter(this);
        const auto showFormat = [this, editor] { emit formatAtCaretChanged(selectionFormat(*editor)); };
        connect(editor, &QTextEdit::selectionChanged, this, showFormat);
        connect(editor, &QTextEdit::cursorPositionChanged, this, showFormat);
        connect(editor->document(), &QTextDocument::contentsChanged, this, [this] {
            if (!loading_)
                emit edited();
        });
    }
    connect(keywordsEdit, &QLineEdit::textChanged, this, [this] {
        if (!loading_)
            emit edited();
    });
}

QTextEdit* TopicEditorPane::lastUsedEditor() const
{
    return headerLastUsed_ ? headerEditor : topicEditor;
}

QTextEdit* TopicEditorPane::activeEditor() const
{
    // The window's focus widget, so that a command reached through the menu
    // or a tool button (which take no focus) still sees the editor.
    QWidget* focus = window()->focusWidget();
    if (focus == headerEditor || focus == topicEditor)
        return static_cast<QTextEdit*>(focus);
    return nullptr;
}

bool TopicEditorPane::eventFilter(QObject* watched, QEvent* event)
{
    // Entering or leaving an editor makes it the last used one.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (watched == headerEditor)
            headerLastUsed_ = true;
        else if (watched == topicEditor)
            headerLastUsed_ = false;
    }
    return QWidget::eventFilter(watched, event);
}

void TopicEditorPane::store(TopicRecord& topic) const
{
    topic.Keywords.setText(keywordsEdit->text());
    topic.HeaderRtf = saveEditorRtf(*headerEditor);
    topic.BodyRtf = saveEditorRtf(*topicEditor);
}

void TopicEditorPane::load(const TopicRecord& topic, const WindowRecord& window)
{
    const QScopedValueRollback<bool> loading(loading_, true);
    keywordsEdit->setText(topic.Keywords.text());
    setEditorColour(headerEditor, window.NonScrollColour);
    setEditorColour(topicEditor, window.TopicColour);
    loadEditor(headerEditor, topic.HeaderRtf);
    loadEditor(topicEditor, topic.BodyRtf);
    showTitle(topic.Title.text());
    showFormatAtCaret();
}

void TopicEditorPane::clear(const WindowRecord& window)
{
    const QScopedValueRollback<bool> loading(loading_, true);
    keywordsEdit->clear();
    topicTitleLabel->setText(QStringLiteral("Topic Title "));
    loadEditor(headerEditor, QByteArray());
    loadEditor(topicEditor, QByteArray());
    setEditorColour(headerEditor, window.NonScrollColour);
    setEditorColour(topicEditor, window.TopicColour);
    showFormatAtCaret();
}

void TopicEditorPane::showFormatAtCaret()
{
    emit formatAtCaretChanged(selectionFormat(*lastUsedEditor()));
}

void TopicEditorPane::showTitle(const QString& title)
{
    topicTitleLabel->setText(title + QLatin1Char(' '));
}

void TopicEditorPane::setEditingEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{headerEditor, topicEditor, keywordsEdit})
        w->setEnabled(enabled);
}

void TopicEditorPane::putOnClipboard(const QString& text)
{
    markupBuffer->setText(text);
    markupBuffer->selectAll();
    markupBuffer->copy();
}

bool TopicEditorPane::showFound(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QTextEdit* editor : {headerEditor, topicEditor}) {
        const QTextCursor found = editor->document()->find(text);
        if (found.isNull())
            continue;
        editor->setTextCursor(found);
        editor->ensureCursorVisible();
        if (editor->isEnabled())
            editor->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

// The Edit menu's commands act on the text the user is in: one of the
// editors, or the keywords field.
template <typename EditorCommand, typename FieldCommand>
void TopicEditorPane::onTextInUse(EditorCommand onEditor, FieldCommand onField)
{
    if (QTextEdit* editor = activeEditor())
        (editor->*onEditor)();
    else if (window()->focusWidget() == keywordsEdit)
        (keywordsEdit->*onField)();
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
    if (!activeEditor() && window()->focusWidget() != keywordsEdit) {
        QTextEdit* editor = lastUsedEditor();
        if (editor->isEnabled())
            editor->setFocus(Qt::ShortcutFocusReason);
    }
    onTextInUse(&QTextEdit::selectAll, &QLineEdit::selectAll);
}

} // namespace ts
