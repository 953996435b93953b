#pragma once
// The topic editors: the non-scrolling area (headerEditor), the topic area
// (topicEditor) and the keywords field, with their captions and the topic's
// title above them. They are a working copy of one topic: store() writes
// them into its record, load() shows a record in its window's colours.
//
// The pane owns its controls. The other parts work on the text through the
// operations below (insert markup, select a word, merge a format, move the
// focus), naming the area they mean; they never reach the editors
// themselves. The pane remembers which area was used last, which the
// formatting toolbar acts on, and carries the Edit menu's commands (undo,
// redo and the clipboard), which act on the editor or the keywords field in
// use.

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QTextEdit;
class QVBoxLayout;

namespace ts {

struct TopicRecord;
struct WindowRecord;

class TopicEditorPane : public QWidget {
    Q_OBJECT
public:
    // The two rich text areas of a topic.
    enum class Area { Header, Topic };

    explicit TopicEditorPane(QWidget* parent = nullptr);

    // ---- The topic shown ----

    // The editors and keywords into `topic`.
    void store(TopicRecord& topic) const;
    // Shows `topic` in the colours of `window`; undo starts afresh.
    void load(const TopicRecord& topic, const WindowRecord& window);
    // Empty editors and keywords in the colours of `window`, the title caption reset.
    void clear(const WindowRecord& window);
    // Reports the format at the caret of the area last used, as a caret
    // move does: load() and clear() end with it.
    void showFormatAtCaret();
    void showTitle(const QString& title);
    void setEditingEnabled(bool enabled);
    // The topic area keeps room for `lines` lines of text however small the
    // window gets.
    void setMinimumTopicLines(int lines);

    // ---- Which area the user works in ----

    // The area the formatting toolbar acts on: of the two, the one that last
    // gained or lost the focus (Header at start). The combo boxes take the
    // focus when used, so the focus cannot tell.
    Area lastUsedArea() const;
    // The area that has the window's focus, if either has. A command that
    // opens a dialog asks before the dialog takes the focus.
    std::optional<Area> areaInUse() const;
    // Puts the focus into `area` unless it is disabled: the user types on there.
    void focusArea(Area area);
    void focusLastUsedArea() { focusArea(lastUsedArea()); }

    // ---- Text ----

    QString plainText(Area area) const;
    QString selectedText(Area area) const;
    // Copies the selection of `area` onto the clipboard when it holds at
    // least `minimum` characters; false, and the clipboard as it was, otherwise.
    bool copySelection(Area area, int minimum);
    // Puts `markup` on the clipboard and, when `area` is given, in place of
    // its selection, as one step of its undo history. The markup takes the
    // format at the caret with `style` merged in; what is typed after it
    // takes the format then at the caret with `afterwards` merged in.
    void insertMarkup(std::optional<Area> area, const QString& markup, const QTextCharFormat& style,
                      const QTextCharFormat& afterwards);
    // Selects `length` characters from `start` (cut off at the end of the
    // text) and scrolls them into view. Returns how many it selected.
    int selectText(Area area, int start, int length);
    // No selection; the caret stays where it is.
    void clearSelection(Area area);
    // The selection replaced with `text` in the format of its first character.
    void replaceSelection(Area area, const QString& text);
    // Whether every character from `start` for `length` characters is
    // struck out (false for none): a jump or web hotspot or its markup.
    bool isStruckOut(Area area, int start, int length) const;
    // Selects the first place where `text` stands (case aside), in the
    // non-scrolling area first, then in the topic area, and scrolls it into
    // view with the focus in that editor. False when neither holds it.
    bool showFound(const QString& text);

    // ---- Format ----

    // The format of the selection of `area`, or the one the next typed text takes.
    QTextCharFormat formatAtCaret(Area area) const;
    // The font of unformatted text (the same in both areas).
    QFont baseFont() const;
    // Merged into the selection of the area last used, or into what is typed
    // there next when nothing is selected.
    void mergeCharFormat(const QTextCharFormat& change);
    // Merged into the paragraphs of the selection of the area last used.
    void mergeBlockFormat(const QTextBlockFormat& change);
    // Aligns the paragraphs of the selection of the area in use; nothing when
    // the focus is elsewhere.
    void alignParagraphs(Qt::Alignment alignment);
    // The paragraph at the caret of the area in use, or of the one last used
    // when the focus is elsewhere: the toolbar shows the topic on screen.
    // Its start indent in pixels (margin and list-style indent together)
    // and its horizontal alignment.
    qreal paragraphIndentAtCaret() const;
    Qt::Alignment paragraphAlignmentAtCaret() const;

    // ---- The controls, for the tests; the other parts use the operations ----

    QTextEdit* headerEditor() const { return headerEditor_; }
    QTextEdit* topicEditor() const { return topicEditor_; }
    QLineEdit* keywordsEdit() const { return keywordsEdit_; }
    QLabel* topicTitleLabel() const { return topicTitleLabel_; }
    QLabel* nonScrollingCaption() const { return nonScrollingCaption_; }
    QLabel* topicAreaCaption() const { return topicAreaCaption_; }
    QLabel* keywordsCaption() const { return keywordsCaption_; }

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
    // The constructor's parts, top to bottom.
    void addCaptionLine(QVBoxLayout* column);
    void addEditors(QVBoxLayout* column);
    void addKeywords(QVBoxLayout* column);
    void reportChanges();
    QTextEdit* editor(Area area) const { return area == Area::Header ? headerEditor_ : topicEditor_; }
    // The editor in use, else the one last used.
    QTextEdit* editorShown() const;
    template <typename EditorCommand, typename FieldCommand>
    void onTextInUse(EditorCommand onEditor, FieldCommand onField);

    QLabel* nonScrollingCaption_;
    QLabel* topicTitleLabel_;
    QTextEdit* headerEditor_;
    QLabel* topicAreaCaption_;
    QTextEdit* topicEditor_;
    QLabel* keywordsCaption_;
    QLineEdit* keywordsEdit_;

    bool headerLastUsed_ = true;
    // Set while load() and clear() fill the editors.
    bool loading_ = false;
};

// Puts `text` on the clipboard; an empty text leaves the clipboard as it was.
void putOnClipboard(const QString& text);

} // namespace ts
