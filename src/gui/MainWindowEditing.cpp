// MainWindow: the formatting toolbar and the Edit commands over the two
// topic editors, the last-used editor they act on, and the toolbar following
// the format at the caret.

#include "MainWindow.h"

#include "Prompter.h"
#include "RichTextAdapter.h"
#include "model/UserInteger.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <optional>

namespace ts {

namespace {

// The largest font size and the widest paragraph indent word processors
// accept, in points. A larger typed value would overflow the twips of the
// stored text or have the editor lay out glyphs metres high; smaller than
// the least sensible value makes no text at all.
constexpr int MinFontPoints = 1;
constexpr int MaxFontPoints = 1638;
constexpr int MaxIndentPoints = 1584;
// Face names are kept to what a font table entry of the editor holds.
constexpr qsizetype MaxFaceLength = 31;

// Sizes and indents are typed as decimal whole numbers: optional blanks, an
// optional sign, digits.
std::optional<int> decimalWholeNumber(const QString& text)
{
    if (text.contains(QLatin1Char('$')))
        return std::nullopt;
    return ParseUserInteger(text);
}

QTextBlock selectionBlock(const QTextEdit& editor)
{
    return editor.document()->findBlock(editor.textCursor().selectionStart());
}

// The start indent of a paragraph in whole points, as it is stored.
int indentPoints(const QTextBlock& block, qreal indentWidth)
{
    const QTextBlockFormat f = block.blockFormat();
    return int(std::lround(PixelsToTwips(f.leftMargin() + f.indent() * indentWidth) / 20.0));
}

QString faceOf(const QTextCharFormat& format, const QFont& base)
{
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty() && !families.front().isEmpty())
        return families.front();
    const QString family = format.property(QTextFormat::FontFamily).toString();
    return family.isEmpty() ? base.family() : family;
}

int pointsOf(const QTextCharFormat& format, const QFont& base)
{
    qreal points = 0;
    if (format.hasProperty(QTextFormat::FontPointSize))
        points = format.fontPointSize();
    else if (format.hasProperty(QTextFormat::FontPixelSize))
        points = PixelsToTwips(format.intProperty(QTextFormat::FontPixelSize)) / 20.0;
    else if (base.pointSizeF() > 0)
        points = base.pointSizeF();
    else if (base.pixelSize() > 0)
        points = PixelsToTwips(base.pixelSize()) / 20.0;
    return int(std::lround(points));
}

void showColor(QLabel* swatch, const QColor& color)
{
    QPalette pal = swatch->palette();
    if (pal.color(QPalette::Window) == color)
        return;
    pal.setColor(QPalette::Window, color);
    swatch->setPalette(pal);
}

void showText(QComboBox* combo, const QString& text)
{
    if (combo->currentText() == text && combo->itemText(combo->currentIndex()) == text)
        return;
    // The list opens on the entry shown, when there is one.
    const int i = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0)
        combo->setCurrentIndex(i);
    if (combo->currentText() != text)
        combo->setEditText(text);
}

} // namespace

// ---- Which editor ----

QTextEdit* MainWindow::lastUsedEditor() const
{
    return headerLastUsed_ ? headerEditor : topicEditor;
}

QTextEdit* MainWindow::activeEditor() const
{
    // The window's focus widget, so that a command reached through the menu
    // or a tool button (which take no focus) still sees the editor.
    QWidget* focus = focusWidget();
    if (focus == headerEditor || focus == topicEditor)
        return static_cast<QTextEdit*>(focus);
    return nullptr;
}

void MainWindow::headerEntered()
{
    headerLastUsed_ = true;
}

void MainWindow::headerLeft()
{
    headerLastUsed_ = true;
}

void MainWindow::topicEditorEntered()
{
    headerLastUsed_ = false;
}

void MainWindow::topicEditorLeft()
{
    headerLastUsed_ = false;
}

// ---- Applying the toolbar ----

void MainWindow::connectEditing()
{
    connect(headerEditor, &QTextEdit::selectionChanged, this, &MainWindow::showHeaderFormat);
    connect(headerEditor, &QTextEdit::cursorPositionChanged, this, &MainWindow::showHeaderFormat);
    connect(topicEditor, &QTextEdit::selectionChanged, this, &MainWindow::showTopicFormat);
    connect(topicEditor, &QTextEdit::cursorPositionChanged, this, &MainWindow::showTopicFormat);

    // A value typed into a box applies with every keystroke, but the focus
    // stays in the box until Enter: were it handed back after the first
    // character, the second ("2" of "12") would replace the selected text.
    // A value chosen from the list is complete and hands the focus back.
    for (QComboBox* combo : {fontCombo, sizeCombo, indentCombo}) {
        connect(combo, &QComboBox::activated, this, [this] { returnFocus(lastUsedEditor()); });
        connect(combo->lineEdit(), &QLineEdit::returnPressed, this, [this] { returnFocus(lastUsedEditor()); });
    }
    // Numbers are taken as typed: completing "1" to "10" would apply a size
    // the user did not ask for. Face names keep their completion.
    sizeCombo->setCompleter(nullptr);
    indentCombo->setCompleter(nullptr);
}

void MainWindow::applyCharFormat(const QTextCharFormat& change)
{
    // Applied to the selection, or to what is typed next when there is none.
    lastUsedEditor()->mergeCurrentCharFormat(change);
}

void MainWindow::returnFocus(QTextEdit* target)
{
    // The user types on in the editor with the new format.
    if (target->isEnabled())
        target->setFocus(Qt::OtherFocusReason);
}

std::optional<int> MainWindow::comboNumber(QComboBox* combo)
{
    const QString text = combo->currentText();
    const std::optional<int> value = decimalWholeNumber(text);
    if (!value) {
        prompter_.message(this, NotAnIntegerMessage(text), QStringLiteral("Topicsmith"), Prompter::Buttons::Ok,
                          Prompter::Icon::Error);
        // The user corrects the text where it is.
        if (combo->isEnabled())
            combo->setFocus(Qt::OtherFocusReason);
    }
    return value;
}

void MainWindow::applyFontFace()
{
    const QString face = fontCombo->currentText().left(MaxFaceLength);
    // A face needs a name; an emptied box waits for the next one.
    if (face.trimmed().isEmpty())
        return;
    QTextCharFormat change;
    change.setFontFamilies(QStringList{face});
    applyCharFormat(change);
}

void MainWindow::applyFontSize()
{
    const std::optional<int> points = comboNumber(sizeCombo);
    if (!points)
        return;
    QTextCharFormat change;
    change.setFontPointSize(std::clamp(*points, MinFontPoints, MaxFontPoints));
    applyCharFormat(change);
}

void MainWindow::chooseTextColour()
{
    const std::optional<std::uint32_t> chosen = prompter_.chooseColor(this, lastColour_);
    if (!chosen)
        return;
    lastColour_ = *chosen & 0xFFFFFFu;
    const QColor color(int(lastColour_ & 0xFF), int((lastColour_ >> 8) & 0xFF), int((lastColour_ >> 16) & 0xFF));
    showColor(colourSwatch, color);
    QTextCharFormat change;
    change.setForeground(color);
    applyCharFormat(change);
    returnFocus(lastUsedEditor());
}

void MainWindow::applyBold()
{
    QTextCharFormat change;
    change.setFontWeight(boldButton->isChecked() ? QFont::Bold : QFont::Normal);
    applyCharFormat(change);
    returnFocus(lastUsedEditor());
}

void MainWindow::applyItalic()
{
    QTextCharFormat change;
    change.setFontItalic(italicButton->isChecked());
    applyCharFormat(change);
    returnFocus(lastUsedEditor());
}

void MainWindow::applyIndent()
{
    const std::optional<int> points = comboNumber(indentCombo);
    if (!points)
        return;
    QTextBlockFormat change;
    change.setLeftMargin(TwipsToPixels(std::clamp(*points, 0, MaxIndentPoints) * 20));
    // A list-style indent level from pasted text would add to the margin.
    change.setIndent(0);
    lastUsedEditor()->textCursor().mergeBlockFormat(change);
}

void MainWindow::alignLeft()
{
    if (QTextEdit* editor = activeEditor())
        editor->setAlignment(Qt::AlignLeft);
}

void MainWindow::alignCentre()
{
    if (QTextEdit* editor = activeEditor())
        editor->setAlignment(Qt::AlignHCenter);
}

// ---- Clipboard and selection ----

void MainWindow::cut()
{
    if (QTextEdit* editor = activeEditor())
        editor->cut();
}

void MainWindow::copy()
{
    if (QTextEdit* editor = activeEditor())
        editor->copy();
}

void MainWindow::paste()
{
    if (QTextEdit* editor = activeEditor())
        editor->paste();
}

void MainWindow::selectAll()
{
    if (QTextEdit* editor = activeEditor())
        editor->selectAll();
}

// ---- The toolbar following the caret ----

void MainWindow::showHeaderFormat()
{
    showFormat(SelectionFormat(*headerEditor));
}

void MainWindow::showTopicFormat()
{
    showFormat(SelectionFormat(*topicEditor));
}

void MainWindow::showFormat(const QTextCharFormat& format)
{
    // Showing the format is not a user change: none of the change handlers
    // may run from here.
    const QSignalBlocker blockFace(fontCombo);
    const QSignalBlocker blockSize(sizeCombo);
    const QSignalBlocker blockIndent(indentCombo);
    const QSignalBlocker blockBold(boldButton);
    const QSignalBlocker blockItalic(italicButton);
    const QSignalBlocker blockLeft(leftAlignButton);
    const QSignalBlocker blockCenter(centreButton);

    // Both editors draw unformatted text in the application's font.
    const QFont base = topicEditor->document()->defaultFont();
    showText(fontCombo, faceOf(format, base));
    showText(sizeCombo, QString::number(pointsOf(format, base)));
    const QBrush brush = format.foreground();
    const bool automatic = !format.hasProperty(QTextFormat::ForegroundBrush) || brush.style() == Qt::NoBrush;
    showColor(colourSwatch, automatic ? QApplication::palette().color(QPalette::Text) : brush.color());

    const bool bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                                   : base.bold();
    const bool italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
    boldButton->setChecked(bold);
    italicButton->setChecked(italic);

    QTextEdit* active = activeEditor();
    const QTextEdit* indentFrom = active == headerEditor ? headerEditor : topicEditor;
    showText(indentCombo,
             QString::number(indentPoints(selectionBlock(*indentFrom), indentFrom->document()->indentWidth())));

    if (active) {
        const Qt::Alignment align = selectionBlock(*active).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        const bool centred = (align & Qt::AlignHCenter) && !(align & Qt::AlignJustify);
        (centred ? centreButton : leftAlignButton)->setChecked(true);
    }
}

} // namespace ts
