#include "FormattingToolBar.h"

#include "Prompter.h"
#include "RichTextAdapter.h"
#include "ToolButtons.h"
#include "TopicEditorPane.h"
#include "model/UserInteger.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

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
    return parseUserInteger(text);
}

QTextBlock selectionBlock(const QTextEdit& editor)
{
    return editor.document()->findBlock(editor.textCursor().selectionStart());
}

// The start indent of a paragraph in whole points, as it is stored.
int indentPoints(const QTextBlock& block, qreal indentWidth)
{
    const QTextBlockFormat f = block.blockFormat();
    return int(std::lround(pixelsToTwips(f.leftMargin() + f.indent() * indentWidth) / 20.0));
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
        points = pixelsToTwips(format.intProperty(QTextFormat::FontPixelSize)) / 20.0;
    else if (base.pointSizeF() > 0)
        points = base.pointSizeF();
    else if (base.pixelSize() > 0)
        points = pixelsToTwips(base.pixelSize()) / 20.0;
    return int(std::lround(points));
}

void showColour(QLabel* swatch, const QColor& colour)
{
    QPalette pal = swatch->palette();
    if (pal.color(QPalette::Window) == colour)
        return;
    pal.setColor(QPalette::Window, colour);
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

FormattingToolBar::FormattingToolBar(Prompter& prompter, TopicEditorPane& editors, QWidget* parent)
    : QWidget(parent), prompter_(prompter), editors_(editors)
{
    setObjectName(QStringLiteral("formatting"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    fontCombo = new QComboBox(this);
    fontCombo->setObjectName(QStringLiteral("fontCombo"));
    fontCombo->setToolTip(QStringLiteral("Font Face"));
    fontCombo->setEditable(true);
    fontCombo->setInsertPolicy(QComboBox::NoInsert);
    fontCombo->setMaxVisibleItems(16);
    fontCombo->setMinimumContentsLength(18);
    fontCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    row->addWidget(fontCombo);

    sizeCombo = new QComboBox(this);
    sizeCombo->setObjectName(QStringLiteral("sizeCombo"));
    sizeCombo->setToolTip(QStringLiteral("Font Size"));
    sizeCombo->setEditable(true);
    sizeCombo->setInsertPolicy(QComboBox::NoInsert);
    sizeCombo->addItems({QStringLiteral("6"), QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12"),
                     QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("20"),
                     QStringLiteral("24"), QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("30"),
                     QStringLiteral("35"), QStringLiteral("40"), QStringLiteral("50"), QStringLiteral("60"),
                     QStringLiteral("70")});
    sizeCombo->setCurrentIndex(sizeCombo->findText(QStringLiteral("8")));
    sizeCombo->setMinimumContentsLength(3);
    row->addWidget(sizeCombo);

    // "Color" above the swatch of the current text colour; both are click areas.
    auto* colourBox = new QWidget(this);
    auto* colourLayout = new QVBoxLayout(colourBox);
    colourLayout->setContentsMargins(3, 0, 3, 0);
    colourLayout->setSpacing(1);
    colourLabel = new QLabel(QStringLiteral("Color"), colourBox);
    colourLabel->setObjectName(QStringLiteral("colourLabel"));
    colourLabel->setToolTip(QStringLiteral("Font Color"));
    colourLabel->setAlignment(Qt::AlignCenter);
    QFont small = colourLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    colourLabel->setFont(small);
    colourSwatch = new QLabel(colourBox);
    colourSwatch->setObjectName(QStringLiteral("colourSwatch"));
    colourSwatch->setToolTip(QStringLiteral("Font Color"));
    colourSwatch->setFixedSize(30, 8);
    colourSwatch->setAutoFillBackground(true);
    colourSwatch->setFrameShape(QFrame::Box);
    QPalette swatch = colourSwatch->palette();
    swatch.setColor(QPalette::Window, Qt::black);
    colourSwatch->setPalette(swatch);
    colourSwatch->installEventFilter(this);
    colourLabel->installEventFilter(this);
    colourLayout->addWidget(colourLabel);
    colourLayout->addWidget(colourSwatch, 0, Qt::AlignHCenter);
    row->addWidget(colourBox);

    boldButton = toolButton(this, row, "boldButton", QStringLiteral("Bold"), QStringLiteral("bold"));
    boldButton->setCheckable(true);
    italicButton = toolButton(this, row, "italicButton", QStringLiteral("Italic"), QStringLiteral("italic"));
    italicButton->setCheckable(true);
    separator(row);
    leftAlignButton = toolButton(this, row, "leftAlignButton", QStringLiteral("Left Alignment"), QStringLiteral("left"));
    centreButton = toolButton(this, row, "centreButton", QStringLiteral("Center"), QStringLiteral("center"));
    leftAlignButton->setCheckable(true);
    centreButton->setCheckable(true);
    alignGroup = new QButtonGroup(this);
    alignGroup->setExclusive(true);
    alignGroup->addButton(leftAlignButton);
    alignGroup->addButton(centreButton);
    leftAlignButton->setChecked(true);
    separator(row);

    indentCombo = new QComboBox(this);
    indentCombo->setObjectName(QStringLiteral("indentCombo"));
    indentCombo->setToolTip(QStringLiteral("Indent size"));
    indentCombo->setEditable(true);
    indentCombo->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 0; i <= 50; i += 5)
        indentCombo->addItem(QString::number(i));
    indentCombo->setCurrentText(QStringLiteral("0"));
    indentCombo->setMinimumContentsLength(3);
    row->addWidget(indentCombo);

    fontCombo->blockSignals(true);
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    families.sort(Qt::CaseInsensitive);
    fontCombo->addItems(families);
    fontCombo->setCurrentText(QStringLiteral("Arial"));
    fontCombo->blockSignals(false);

    connect(fontCombo, &QComboBox::currentTextChanged, this, &FormattingToolBar::applyFontFace);
    connect(sizeCombo, &QComboBox::currentTextChanged, this, &FormattingToolBar::applyFontSize);
    connect(indentCombo, &QComboBox::currentTextChanged, this, &FormattingToolBar::applyIndent);
    connect(boldButton, &QToolButton::clicked, this, &FormattingToolBar::applyBold);
    connect(italicButton, &QToolButton::clicked, this, &FormattingToolBar::applyItalic);
    connect(leftAlignButton, &QToolButton::clicked, this, &FormattingToolBar::alignLeft);
    connect(centreButton, &QToolButton::clicked, this, &FormattingToolBar::alignCentre);
    connect(&editors_, &TopicEditorPane::formatAtCaretChanged, this, &FormattingToolBar::showFormat);

    // A value typed into a box applies with every keystroke, but the focus
    // stays in the box until Enter: were it handed back after the first
    // character, the second ("2" of "12") would replace the selected text.
    // A value chosen from the list is complete and hands the focus back.
    for (QComboBox* combo : {fontCombo, sizeCombo, indentCombo}) {
        connect(combo, &QComboBox::activated, this, [this] { returnFocus(editors_.lastUsedEditor()); });
        connect(combo->lineEdit(), &QLineEdit::returnPressed, this, [this] { returnFocus(editors_.lastUsedEditor()); });
    }
    // Numbers are taken as typed: completing "1" to "10" would apply a size
    // the user did not ask for. Face names keep their completion.
    sizeCombo->setCompleter(nullptr);
    indentCombo->setCompleter(nullptr);
}

bool FormattingToolBar::eventFilter(QObject* watched, QEvent* event)
{
    // "Color" and its swatch are click areas.
    if (event->type() == QEvent::MouseButtonRelease && (watched == colourSwatch || watched == colourLabel)) {
        chooseTextColour();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}


// ---- Applying the toolbar ----

void FormattingToolBar::applyCharFormat(const QTextCharFormat& change)
{
    // Applied to the selection, or to what is typed next when there is none.
    editors_.lastUsedEditor()->mergeCurrentCharFormat(change);
}

void FormattingToolBar::returnFocus(QTextEdit* target)
{
    // The user types on in the editor with the new format.
    if (target->isEnabled())
        target->setFocus(Qt::OtherFocusReason);
}

std::optional<int> FormattingToolBar::comboNumber(QComboBox* combo)
{
    const QString text = combo->currentText();
    const std::optional<int> value = decimalWholeNumber(text);
    if (!value) {
        prompter_.message(window(), notAnIntegerMessage(text), QStringLiteral("Topicsmith"), Prompter::Buttons::Ok,
                          Prompter::Icon::Error);
        // The user corrects the text where it is.
        if (combo->isEnabled())
            combo->setFocus(Qt::OtherFocusReason);
    }
    return value;
}

void FormattingToolBar::applyFontFace()
{
    const QString face = fontCombo->currentText().left(MaxFaceLength);
    // A face needs a name; an emptied box waits for the next one.
    if (face.trimmed().isEmpty())
        return;
    QTextCharFormat change;
    change.setFontFamilies(QStringList{face});
    applyCharFormat(change);
}

void FormattingToolBar::applyFontSize()
{
    const std::optional<int> points = comboNumber(sizeCombo);
    if (!points)
        return;
    QTextCharFormat change;
    change.setFontPointSize(std::clamp(*points, MinFontPoints, MaxFontPoints));
    applyCharFormat(change);
}

void FormattingToolBar::chooseTextColour()
{
    // The dialog opens on the colour the swatch shows: the text's at the caret.
    const QColor shown = colourSwatch->palette().color(QPalette::Window);
    const std::uint32_t initial =
        std::uint32_t(shown.red()) | std::uint32_t(shown.green()) << 8 | std::uint32_t(shown.blue()) << 16;
    const std::optional<std::uint32_t> chosen = prompter_.chooseColour(window(), initial);
    if (!chosen)
        return;
    const std::uint32_t rgb = *chosen & 0xFFFFFFu;
    const QColor colour(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
    showColour(colourSwatch, colour);
    QTextCharFormat change;
    change.setForeground(colour);
    applyCharFormat(change);
    returnFocus(editors_.lastUsedEditor());
}

void FormattingToolBar::applyBold()
{
    QTextCharFormat change;
    change.setFontWeight(boldButton->isChecked() ? QFont::Bold : QFont::Normal);
    applyCharFormat(change);
    returnFocus(editors_.lastUsedEditor());
}

void FormattingToolBar::applyItalic()
{
    QTextCharFormat change;
    change.setFontItalic(italicButton->isChecked());
    applyCharFormat(change);
    returnFocus(editors_.lastUsedEditor());
}

void FormattingToolBar::applyIndent()
{
    const std::optional<int> points = comboNumber(indentCombo);
    if (!points)
        return;
    QTextBlockFormat change;
    change.setLeftMargin(twipsToPixels(std::clamp(*points, 0, MaxIndentPoints) * 20));
    // A list-style indent level from pasted text would add to the margin.
    change.setIndent(0);
    editors_.lastUsedEditor()->textCursor().mergeBlockFormat(change);
}

void FormattingToolBar::alignLeft()
{
    if (QTextEdit* editor = editors_.activeEditor())
        editor->setAlignment(Qt::AlignLeft);
}

void FormattingToolBar::alignCentre()
{
    if (QTextEdit* editor = editors_.activeEditor())
        editor->setAlignment(Qt::AlignHCenter);
}

// ---- The toolbar following the caret ----

void FormattingToolBar::showFormat(const QTextCharFormat& format)
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
    const QFont base = editors_.topicEditor->document()->defaultFont();
    showText(fontCombo, faceOf(format, base));
    showText(sizeCombo, QString::number(pointsOf(format, base)));
    const QBrush brush = format.foreground();
    const bool automatic = !format.hasProperty(QTextFormat::ForegroundBrush) || brush.style() == Qt::NoBrush;
    showColour(colourSwatch, automatic ? QApplication::palette().color(QPalette::Text) : brush.color());

    const bool bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                                   : base.bold();
    const bool italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
    boldButton->setChecked(bold);
    italicButton->setChecked(italic);

    // The paragraph of the editor in use, or of the one last used when the
    // focus is elsewhere: the toolbar shows the topic on screen.
    QTextEdit* active = editors_.activeEditor();
    const QTextEdit* shown = active ? active : editors_.lastUsedEditor();
    const QTextBlock block = selectionBlock(*shown);
    showText(indentCombo, QString::number(indentPoints(block, shown->document()->indentWidth())));
    const Qt::Alignment align = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    const bool centred = (align & Qt::AlignHCenter) && !(align & Qt::AlignJustify);
    (centred ? centreButton : leftAlignButton)->setChecked(true);
}

} // namespace ts
