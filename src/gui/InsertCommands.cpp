// The insert commands that put link markup, "Related Topics" buttons
// and bitmaps into the topic text. Every command ends the same way: the
// markup passes through the editor pane's hidden markupBuffer onto the clipboard and goes in
// at the active editor's caret (or over its selection) in the format set for
// that point, so the clipboard afterwards holds the last text inserted. The
// hotspot is made by the character style given to the inserted run.

#include "InsertCommands.h"

#include "ButtonDialog.h"
#include "LinkDialog.h"
#include "Prompter.h"
#include "RichTextAdapter.h"
#include "TopicEditorPane.h"
#include "TopicNavigator.h"
#include "links/LinkMarkup.h"
#include "model/Project.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <cmath>
#include <optional>

namespace ts {

namespace {

// Puts `markup` on the clipboard through the hidden line edit, then into
// `editor` (when there is one) in place of its selection.
void insertMarkup(TopicEditorPane& pane, QTextEdit* editor, const QString& markup)
{
    pane.putOnClipboard(markup);
    if (!editor)
        return;
    QTextCursor cursor = editor->textCursor();
    const QTextCharFormat format = selectionFormat(*editor);
    cursor.insertText(markup, format);
    editor->setTextCursor(cursor);
}

// The selection when it is longer than one character, copied through the
// clipboard into the dialog's hotspot field (which starts empty).
void proposeHotspot(QTextEdit* editor, QLineEdit& field)
{
    field.clear();
    if (!editor || std::abs(editor->textCursor().selectionEnd() - editor->textCursor().selectionStart()) <= 1)
        return;
    editor->copy();
    field.paste();
    // A hotspot is one run of text: paragraph breaks of a selection over
    // several paragraphs become blanks, or the link would break in two.
    QString text = field.text();
    text.replace(QChar(QChar::ParagraphSeparator), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (text != field.text())
        field.setText(text);
}

QTextCharFormat styleChange(std::optional<bool> strike, std::optional<bool> underline)
{
    QTextCharFormat change;
    if (strike)
        change.setFontStrikeOut(*strike);
    if (underline)
        change.setFontUnderline(*underline);
    return change;
}

// Groups every change made while it lives into one step of the editor's
// undo history, so that one Undo takes back a whole insertion.
class EditBlock {
public:
    explicit EditBlock(QTextEdit* editor)
    {
        if (editor) {
            cursor_ = editor->textCursor();
            cursor_.beginEditBlock();
        }
    }
    ~EditBlock()
    {
        if (!cursor_.isNull())
            cursor_.endEditBlock();
    }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;

private:
    QTextCursor cursor_;
};

// A hotspot: the markup in the caret's style with `on` added, and nothing
// else; the text around it stays as it was. The hotspot ends where its style
// does, so what is typed next at the caret has strike-out and underline
// taken away again.
void insertHotspot(TopicEditorPane& pane, QTextEdit* editor, const QString& markup, const QTextCharFormat& on,
                   const QTextCharFormat& off)
{
    const EditBlock block(editor);
    if (editor)
        editor->mergeCurrentCharFormat(on);
    insertMarkup(pane, editor, markup);
    if (editor)
        editor->mergeCurrentCharFormat(off);
}

qreal selectionPoints(const QTextEdit& editor)
{
    const QTextCharFormat format = selectionFormat(editor);
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    const QFont base = editor.document()->defaultFont();
    return base.pointSizeF() > 0 ? base.pointSizeF() : 8.0;
}

// Buttons and bitmaps go in at 8 points; the size in force afterwards is
// the size before.
void insertSmall(TopicEditorPane& pane, QTextEdit* editor, const QString& markup)
{
    if (!editor) {
        insertMarkup(pane, editor, markup);
        return;
    }
    const EditBlock block(editor);
    const qreal before = selectionPoints(*editor);
    QTextCharFormat small;
    small.setFontPointSize(8);
    editor->mergeCurrentCharFormat(small);
    insertMarkup(pane, editor, markup);
    QTextCharFormat restore;
    restore.setFontPointSize(before);
    editor->mergeCurrentCharFormat(restore);
}

// The user works on in the editor the command wrote into.
void giveFocusBack(QTextEdit* editor)
{
    if (editor && editor->isEnabled())
        editor->setFocus(Qt::OtherFocusReason);
}

} // namespace

InsertCommands::InsertCommands(const Project& project, Prompter& prompter, TopicEditorPane& editors,
                               const TopicNavigator& navigator, QWidget* window)
    : QObject(window), project_(project), prompter_(prompter), editors_(editors), navigator_(navigator),
      window_(window)
{
    setObjectName(QStringLiteral("insertCommands"));
    linkDialog = new LinkDialog(prompter_, window);
    buttonDialog = new ButtonDialog(window);
}

void InsertCommands::insertTopicLink()
{
    // The dialog takes the focus; the editor to write into is the one the
    // user was in when the command started.
    QTextEdit* const editor = editors_.activeEditor();
    LinkDialog& d = *linkDialog;

    proposeHotspot(editor, *d.hotspotEdit);
    QStringList entries;
    for (int i = 0; i < project_.TopicCount(); ++i)
        entries.append(links::topicChoiceText(project_.topic(i).TopicID.text(), project_.topic(i).Title.text()));
    d.topicWindowCheck->setChecked(false);
    d.otherHelpFileCheck->setChecked(false);
    // A link from a topic to itself is seldom meant: another topic is
    // proposed, the one the selected words name when there is one.
    const QString selected = editor ? editor->textCursor().selectedText() : QString();
    d.setTopics(entries, links::proposedLinkTarget(project_, navigator_.currentTopic(), selected));
    d.setLinkType(0);

    if (d.exec() != QDialog::Accepted) {
        giveFocusBack(editor);
        return;
    }

    QString markup;
    if (d.otherHelpFileCheck->isChecked()) {
        const QString typedId = d.topicIdEdit->text();
        const QString helpFile = d.helpFileEdit->text();
        if (const std::optional<QString> refusal = links::otherHelpFileRefusal(typedId, helpFile)) {
            prompter_.message(window_, *refusal, QStringLiteral("Topicsmith"));
            giveFocusBack(editor);
            return;
        }
        markup = links::otherHelpFileLink(d.hotspotEdit->text(), typedId, helpFile);
    } else {
        const int i = d.topicCombo->currentIndex();
        if (i < 0 || i >= project_.TopicCount()) {
            giveFocusBack(editor);
            return;
        }
        const TopicRecord& topic = project_.topic(i);
        std::optional<QString> window;
        if (d.topicWindowCheck->isChecked()) {
            const int w = topic.WindowIndex >= 0 && topic.WindowIndex < project_.WindowCount() ? topic.WindowIndex : 0;
            window = project_.window(w).Name.text();
        }
        markup = links::topicLink(d.hotspotEdit->text(), topic.TopicID.text(), topic.Title.text(), window);
    }

    const bool popup = d.linkType() == 1;
    insertHotspot(editors_, editor, markup, popup ? styleChange(std::nullopt, true) : styleChange(true, std::nullopt),
                  styleChange(false, false));
    giveFocusBack(editor);
}

void InsertCommands::insertWebLink()
{
    QTextEdit* const editor = editors_.activeEditor();
    ButtonDialog& d = *buttonDialog;
    d.setupForWeb();
    proposeHotspot(editor, *d.captionEdit);

    if (d.exec() != QDialog::Accepted) {
        giveFocusBack(editor);
        return;
    }
    const QString markup = links::webLink(d.captionEdit->text(), d.targetEdit->text(), d.emailChosen());
    insertHotspot(editors_, editor, markup, styleChange(true, std::nullopt), styleChange(false, std::nullopt));
    giveFocusBack(editor);
}

void InsertCommands::insertRelatedTopicsButton()
{
    QTextEdit* const editor = editors_.activeEditor();
    ButtonDialog& d = *buttonDialog;
    d.setupForButton();

    if (d.exec() != QDialog::Accepted) {
        giveFocusBack(editor);
        return;
    }
    insertSmall(editors_, editor, links::relatedTopicsButton(d.captionEdit->text(), d.targetEdit->text()));
    giveFocusBack(editor);
}

void InsertCommands::insertBitmap(bool transparent)
{
    QTextEdit* const editor = editors_.activeEditor();

    const QString path = prompter_.openFile(
        window_, QStringLiteral("Bitmaps (*.bmp)|*.BMP|Segmented Hypergraphics (*.shg)|*.SHG"), QStringLiteral("*.bmp"));
    if (path.isEmpty()) {
        giveFocusBack(editor);
        return;
    }
    insertSmall(editors_, editor, links::bitmapMarkup(path, transparent));
    giveFocusBack(editor);
}

} // namespace ts
