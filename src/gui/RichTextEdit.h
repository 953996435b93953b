#pragma once
// The editor of the topic areas: a QTextEdit that
// - draws hidden text apart from the rest (grey with a dotted underline, as
//   word processors show it) without putting that look into the text's
//   format, so the stored document stays as it was;
// - does not continue a hidden run with what the user types or pastes
//   right after (or before) it; text typed inside a hidden run stays hidden;
// - carries its selection to the clipboard and in drags as RTF written by the
//   program's own writer, as HTML and as plain text, and takes in RTF first
//   (read by the program's own reader, so hidden text, strike-out, colours,
//   sizes and indents survive), then HTML, then plain text.

#include <QTextEdit>

class QMimeData;

namespace ts {

class RichTextEdit : public QTextEdit {
    Q_OBJECT

public:
    explicit RichTextEdit(QWidget* parent = nullptr);

    // The MIME type the editor writes its RTF under; it reads this one and
    // the other names programs use for RTF.
    static QString rtfMimeType();

protected:
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void pastePlainText(const QString& text);
};

} // namespace ts
