// TGlavniForm: the formatting toolbar and the Edit commands over the two
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

QTextEdit* TGlavniForm::LastUsedEditor() const
{
    return HeaderLastUsed_ ? Header : TopicText;
}

QTextEdit* TGlavniForm::ActiveEditor() const
{
    // The window's focus widget, so that a command reached through the menu
    // or a tool button (which take no focus) still sees the editor.
    QWidget* focus = focusWidget();
    if (focus == Header || focus == TopicText)
        return static_cast<QTextEdit*>(focus);
    return nullptr;
}

void TGlavniForm::HeaderEnter()
{
    HeaderLastUsed_ = true;
}

void TGlavniForm::HeaderExit()
{
    HeaderLastUsed_ = true;
}

void TGlavniForm::TopicTextEnter()
{
    HeaderLastUsed_ = false;
}

void TGlavniForm::TopicTextExit()
{
    HeaderLastUsed_ = false;
}

// ---- Applying the toolbar ----

void TGlavniForm::connectEditing()
{
    connect(Header, &QTextEdit::selectionChanged, this, &TGlavniForm::HeaderSelectionChange);
    connect(Header, &QTextEdit::cursorPositionChanged, this, &TGlavniForm::HeaderSelectionChange);
    connect(TopicText, &QTextEdit::selectionChanged, this, &TGlavniForm::TopicTextSelectionChange);
    connect(TopicText, &QTextEdit::cursorPositionChanged, this, &TGlavniForm::TopicTextSelectionChange);

    // A value typed into a box applies with every keystroke, but the focus
    // stays in the box until Enter: were it handed back after the first
    // character, the second ("2" of "12") would replace the selected text.
    // A value chosen from the list is complete and hands the focus back.
    for (QComboBox* combo : {FontCombo, FSize, IndentCombo}) {
        connect(combo, &QComboBox::activated, this, [this] { returnFocus(LastUsedEditor()); });
        connect(combo->lineEdit(), &QLineEdit::returnPressed, this, [this] { returnFocus(LastUsedEditor()); });
    }
    // Numbers are taken as typed: completing "1" to "10" would apply a size
    // the user did not ask for. Face names keep their completion.
    FSize->setCompleter(nullptr);
    IndentCombo->setCompleter(nullptr);
}

void TGlavniForm::applyCharFormat(const QTextCharFormat& change)
{
    // Applied to the selection, or to what is typed next when there is none.
    LastUsedEditor()->mergeCurrentCharFormat(change);
}

void TGlavniForm::returnFocus(QTextEdit* target)
{
    // The user types on in the editor with the new format.
    if (target->isEnabled())
        target->setFocus(Qt::OtherFocusReason);
}

std::optional<int> TGlavniForm::comboNumber(QComboBox* combo)
{
    const QString text = combo->currentText();
    const std::optional<int> value = decimalWholeNumber(text);
    if (!value) {
        Prompter_.message(this, NotAnIntegerMessage(text), QStringLiteral("Topicsmith"), Prompter::Buttons::Ok,
                          Prompter::Icon::Error);
        // The user corrects the text where it is.
        if (combo->isEnabled())
            combo->setFocus(Qt::OtherFocusReason);
    }
    return value;
}

void TGlavniForm::FontComboChange()
{
    const QString face = FontCombo->currentText().left(MaxFaceLength);
    // A face needs a name; an emptied box waits for the next one.
    if (face.trimmed().isEmpty())
        return;
    QTextCharFormat change;
    change.setFontFamilies(QStringList{face});
    applyCharFormat(change);
}

void TGlavniForm::FSizeChange()
{
    const std::optional<int> points = comboNumber(FSize);
    if (!points)
        return;
    QTextCharFormat change;
    change.setFontPointSize(std::clamp(*points, MinFontPoints, MaxFontPoints));
    applyCharFormat(change);
}

void TGlavniForm::Panel6Click()
{
    const std::optional<std::uint32_t> chosen = Prompter_.chooseColor(this, LastColor_);
    if (!chosen)
        return;
    LastColor_ = *chosen & 0xFFFFFFu;
    const QColor color(int(LastColor_ & 0xFF), int((LastColor_ >> 8) & 0xFF), int((LastColor_ >> 16) & 0xFF));
    showColor(Panel6, color);
    QTextCharFormat change;
    change.setForeground(color);
    applyCharFormat(change);
    returnFocus(LastUsedEditor());
}

void TGlavniForm::FBoldClick()
{
    QTextCharFormat change;
    change.setFontWeight(FBold->isChecked() ? QFont::Bold : QFont::Normal);
    applyCharFormat(change);
    returnFocus(LastUsedEditor());
}

void TGlavniForm::FitalicClick()
{
    QTextCharFormat change;
    change.setFontItalic(Fitalic->isChecked());
    applyCharFormat(change);
    returnFocus(LastUsedEditor());
}

void TGlavniForm::IndentComboChange()
{
    const std::optional<int> points = comboNumber(IndentCombo);
    if (!points)
        return;
    QTextBlockFormat change;
    change.setLeftMargin(TwipsToPixels(std::clamp(*points, 0, MaxIndentPoints) * 20));
    // A list-style indent level from pasted text would add to the margin.
    change.setIndent(0);
    LastUsedEditor()->textCursor().mergeBlockFormat(change);
}

void TGlavniForm::LeftButtonClick()
{
    if (QTextEdit* editor = ActiveEditor())
        editor->setAlignment(Qt::AlignLeft);
}

void TGlavniForm::CenterButtonClick()
{
    if (QTextEdit* editor = ActiveEditor())
        editor->setAlignment(Qt::AlignHCenter);
}

// ---- Clipboard and selection ----

void TGlavniForm::CutButtonClick()
{
    if (QTextEdit* editor = ActiveEditor())
        editor->cut();
}

void TGlavniForm::CopyButtonClick()
{
    if (QTextEdit* editor = ActiveEditor())
        editor->copy();
}

void TGlavniForm::PasteButtonClick()
{
    if (QTextEdit* editor = ActiveEditor())
        editor->paste();
}

void TGlavniForm::SelectAll1Click()
{
    if (QTextEdit* editor = ActiveEditor())
        editor->selectAll();
}

// ---- The toolbar following the caret ----

void TGlavniForm::HeaderSelectionChange()
{
    UpdateInfo(SelectionFormat(*Header));
}

void TGlavniForm::TopicTextSelectionChange()
{
    UpdateInfo(SelectionFormat(*TopicText));
}

void TGlavniForm::UpdateInfo(const QTextCharFormat& format)
{
    // Showing the format is not a user change: none of the change handlers
    // may run from here.
    const QSignalBlocker blockFace(FontCombo);
    const QSignalBlocker blockSize(FSize);
    const QSignalBlocker blockIndent(IndentCombo);
    const QSignalBlocker blockBold(FBold);
    const QSignalBlocker blockItalic(Fitalic);
    const QSignalBlocker blockLeft(LeftButton);
    const QSignalBlocker blockCenter(CenterButton);

    // Both editors draw unformatted text in the application's font.
    const QFont base = TopicText->document()->defaultFont();
    showText(FontCombo, faceOf(format, base));
    showText(FSize, QString::number(pointsOf(format, base)));
    const QBrush brush = format.foreground();
    const bool automatic = !format.hasProperty(QTextFormat::ForegroundBrush) || brush.style() == Qt::NoBrush;
    showColor(Panel6, automatic ? QApplication::palette().color(QPalette::Text) : brush.color());

    const bool bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                                   : base.bold();
    const bool italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
    FBold->setChecked(bold);
    Fitalic->setChecked(italic);

    QTextEdit* active = ActiveEditor();
    const QTextEdit* indentFrom = active == Header ? Header : TopicText;
    showText(IndentCombo,
             QString::number(indentPoints(selectionBlock(*indentFrom), indentFrom->document()->indentWidth())));

    if (active) {
        const Qt::Alignment align = selectionBlock(*active).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        const bool centred = (align & Qt::AlignHCenter) && !(align & Qt::AlignJustify);
        (centred ? CenterButton : LeftButton)->setChecked(true);
    }
}

} // namespace ts
