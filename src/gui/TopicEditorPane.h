#pragma once
// The topic editors: the non-scrolling area (headerEditor), the topic area
// (topicEditor) and the keywords field, with their captions and the topic's
// title above them. They are a working copy of one topic: store() writes
// them into its record, load() shows a record in its window's colours.
// The pane also remembers which editor was used last, which the formatting
// toolbar acts on, and carries the Edit menu's commands (undo, redo and the
// clipboard), which act on the editor or the keywords field in use.

#include <QTextCharFormat>
#include <QWidget>

#include <cstdint>

class QLabel;
class QLineEdit;
class QTextEdit;

namespace ts {

struct TopicRecord;
struct WindowRecord;

class TopicEditorPane : public QWidget {
    Q_OBJECT
public:
    explicit TopicEditorPane(QWidget* parent = nullptr);

    // The editor the formatting toolbar acts on: of headerEditor and
    // topicEditor, the one that last gained or lost the focus (headerEditor
    // at start). The combo boxes take the focus when used, so the focus
    // cannot tell.
    QTextEdit* lastUsedEditor() const;
    // The one of headerEditor and topicEditor that has the window's focus, or nullptr.
    QTextEdit* activeEditor() const;

    // The editors and keywords into `topic`.
    void store(TopicRecord& topic) const;
    // Shows `topic` in the colours of `window`; undo starts afresh.
    void load(const TopicRecord& topic, const WindowRecord& window);
    // Empty editors and keywords in the colours of `window`, the title caption reset.
    void clear(const WindowRecord& window);
    // Reports the format at the caret of the editor last used, as a caret
    // move does: load() and clear() end with it.
    void showFormatAtCaret();
    void showTitle(const QString& title);
    void setEditingEnabled(bool enabled);
    // Puts `text` on the clipboard through the hidden markupBuffer.
    void putOnClipboard(const QString& text);
    // Selects the first place where `text` stands (case aside), in the
    // non-scrolling area first, then in the topic area, and scrolls it into
    // view with the focus in that editor. False when neither holds it.
    bool showFound(const QString& text);

    QLabel *nonScrollingCaption, *topicTitleLabel;
    QTextEdit* headerEditor;
    QLabel* topicAreaCaption;
    QTextEdit* topicEditor;
    QLabel* keywordsCaption;
    QLineEdit* keywordsEdit;
    // Working controls; never shown.
    QLineEdit* markupBuffer;
    QTextEdit *allTopicsText, *scratchText;

public slots:
    void cut();
    void copy();
    void paste();
    void undo();
    void redo();
    void selectAll();

signals:
    // The format at the caret or over the selection of an editor changed.
    void formatAtCaretChanged(const QTextCharFormat& format);
    // The user changed the text, its format or the keywords. Loading a topic
    // into the editors, or emptying them, is not an edit.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename EditorCommand, typename FieldCommand>
    void onTextInUse(EditorCommand onEditor, FieldCommand onField);

    bool headerLastUsed_ = true;
    // Set while load() and clear() fill the editors.
    bool loading_ = false;
};

// Paints an editor's background with a 0x00BBGGRR colour.
void setEditorColour(QTextEdit* editor, std::uint32_t colour);

} // namespace ts
