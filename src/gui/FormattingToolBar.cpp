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
#include <QTextCharFormat>
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

// A paragraph's start indent in whole points, as it is stored.
int indentPoints(qreal pixels)
{
    return int(std::lround(pixelsToTwips(pixels) / 20.0));
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
    addFontBoxes(row);
    addColourBox(row);
    addStyleButtons(row);
    addIndentBox(row);
    connectControls();
}

void FormattingToolBar::addFontBoxes(QHBoxLayout* row)
{
    fontCombo_ = new QComboBox(this);
    fontCombo_->setObjectName(QStringLiteral("fontCombo"));
    fontCombo_->setToolTip(QStringLiteral("Font Face"));
    fontCombo_->setEditable(true);
    fontCombo_->setInsertPolicy(QComboBox::NoInsert);
    fontCombo_->setMaxVisibleItems(16);
    fontCombo_->setMinimumContentsLength(18);
    fontCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fontCombo_->blockSignals(true);
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    families.sort(Qt::CaseInsensitive);
    fontCombo_->addItems(families);
    fontCombo_->setCurrentText(QStringLiteral("Arial"));
    fontCombo_->blockSignals(false);
    row->addWidget(fontCombo_);

    sizeCombo_ = new QComboBox(this);
    sizeCombo_->setObjectName(QStringLiteral("sizeCombo"));
    sizeCombo_->setToolTip(QStringLiteral("Font Size"));
    sizeCombo_->setEditable(true);
    sizeCombo_->setInsertPolicy(QComboBox::NoInsert);
    for (int points : {6, 8, 10, 12, 14, 16, 18, 20, 24, 26, 28, 30, 35, 40, 50, 60, 70})
        sizeCombo_->addItem(QString::number(points));
    sizeCombo_->setCurrentIndex(sizeCombo_->findText(QStringLiteral("8")));
    sizeCombo_->setMinimumContentsLength(3);
    row->addWidget(sizeCombo_);
}

// "Color" above the swatch of the current text colour; both are click areas.
void FormattingToolBar::addColourBox(QHBoxLayout* row)
{
    auto* colourBox = new QWidget(this);
    auto* colourLayout = new QVBoxLayout(colourBox);
    colourLayout->setContentsMargins(3, 0, 3, 0);
    colourLayout->setSpacing(1);
    colourLabel_ = new QLabel(QStringLiteral("Color"), colourBox);
    colourLabel_->setObjectName(QStringLiteral("colourLabel"));
    colourLabel_->setToolTip(QStringLiteral("Font Color"));
    colourLabel_->setAlignment(Qt::AlignCenter);
    QFont small = colourLabel_->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    colourLabel_->setFont(small);
    colourSwatch_ = new QLabel(colourBox);
    colourSwatch_->setObjectName(QStringLiteral("colourSwatch"));
    colourSwatch_->setToolTip(QStringLiteral("Font Color"));
    colourSwatch_->setFixedSize(30, 8);
    colourSwatch_->setAutoFillBackground(true);
    colourSwatch_->setFrameShape(QFrame::Box);
    QPalette swatch = colourSwatch_->palette();
    swatch.setColor(QPalette::Window, Qt::black);
    colourSwatch_->setPalette(swatch);
    colourSwatch_->installEventFilter(this);
    colourLabel_->installEventFilter(this);
    colourLayout->addWidget(colourLabel_);
    colourLayout->addWidget(colourSwatch_, 0, Qt::AlignHCenter);
    row->addWidget(colourBox);
}

void FormattingToolBar::addStyleButtons(QHBoxLayout* row)
{
    boldButton_ = toolButton(this, row, "boldButton", QStringLiteral("Bold"), QStringLiteral("bold"));
    boldButton_->setCheckable(true);
    italicButton_ = toolButton(this, row, "italicButton", QStringLiteral("Italic"), QStringLiteral("italic"));
    italicButton_->setCheckable(true);
    separator(row);
    leftAlignButton_ =
        toolButton(this, row, "leftAlignButton", QStringLiteral("Left Alignment"), QStringLiteral("left"));
    centreButton_ = toolButton(this, row, "centreButton", QStringLiteral("Center"), QStringLiteral("center"));
    leftAlignButton_->setCheckable(true);
    centreButton_->setCheckable(true);
    auto* alignGroup = new QButtonGroup(this);
    alignGroup->setExclusive(true);
    alignGroup->addButton(leftAlignButton_);
    alignGroup->addButton(centreButton_);
    leftAlignButton_->setChecked(true);
    separator(row);
}

void FormattingToolBar::addIndentBox(QHBoxLayout* row)
{
    indentCombo_ = new QComboBox(this);
    indentCombo_->setObjectName(QStringLiteral("indentCombo"));
    indentCombo_->setToolTip(QStringLiteral("Indent size"));
    indentCombo_->setEditable(true);
    indentCombo_->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 0; i <= 50; i += 5)
        indentCombo_->addItem(QString::number(i));
    indentCombo_->setCurrentText(QStringLiteral("0"));
    indentCombo_->setMinimumContentsLength(3);
    row->addWidget(indentCombo_);
}

void FormattingToolBar::connectControls()
{
    connect(fontCombo_, &QComboBox::currentTextChanged, this, &FormattingToolBar::applyFontFace);
    connect(sizeCombo_, &QComboBox::currentTextChanged, this, &FormattingToolBar::applyFontSize);
    connect(indentCombo_, &QComboBox::currentTextChanged, this, &FormattingToolBar::applyIndent);
    connect(boldButton_, &QToolButton::clicked, this, &FormattingToolBar::applyBold);
    connect(italicButton_, &QToolButton::clicked, this, &FormattingToolBar::applyItalic);
    connect(leftAlignButton_, &QToolButton::clicked, this, &FormattingToolBar::alignLeft);
    connect(centreButton_, &QToolButton::clicked, this, &FormattingToolBar::alignCentre);
    connect(&editors_, &TopicEditorPane::formatAtCaretChanged, this, &FormattingToolBar::showFormat);

    // A value typed into a box applies with every keystroke, but the focus
    // stays in the box until Enter: were it handed back after the first
    // character, the second ("2" of "12") would replace the selected text.
    // A value chosen from the list is complete and hands the focus back.
    for (QComboBox* combo : {fontCombo_, sizeCombo_, indentCombo_}) {
        connect(combo, &QComboBox::activated, this, &FormattingToolBar::returnFocus);
        connect(combo->lineEdit(), &QLineEdit::returnPressed, this, &FormattingToolBar::returnFocus);
    }
    // Numbers are taken as typed: completing "1" to "10" would apply a size
    // the user did not ask for. Face names keep their completion.
    sizeCombo_->setCompleter(nullptr);
    indentCombo_->setCompleter(nullptr);
}

bool FormattingToolBar::eventFilter(QObject* watched, QEvent* event)
{
    // "Color" and its swatch are click areas.
    if (event->type() == QEvent::MouseButtonRelease && (watched == colourSwatch_ || watched == colourLabel_)) {
        chooseTextColour();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}


// ---- Applying the toolbar ----

void FormattingToolBar::applyCharFormat(const QTextCharFormat& change)
{
    // Applied to the selection, or to what is typed next when there is none.
    editors_.mergeCharFormat(change);
}

void FormattingToolBar::returnFocus()
{
    // The user types on in the editor with the new format.
    editors_.focusLastUsedArea();
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
    const QString face = fontCombo_->currentText().left(MaxFaceLength);
    // A face needs a name; an emptied box waits for the next one.
    if (face.trimmed().isEmpty())
        return;
    QTextCharFormat change;
    change.setFontFamilies(QStringList{face});
    applyCharFormat(change);
}

void FormattingToolBar::applyFontSize()
{
    const std::optional<int> points = comboNumber(sizeCombo_);
    if (!points)
        return;
    QTextCharFormat change;
    change.setFontPointSize(std::clamp(*points, MinFontPoints, MaxFontPoints));
    applyCharFormat(change);
}

void FormattingToolBar::chooseTextColour()
{
    // The dialog opens on the colour the swatch shows: the text's at the caret.
    const QColor shown = colourSwatch_->palette().color(QPalette::Window);
    const std::uint32_t initial =
        std::uint32_t(shown.red()) | std::uint32_t(shown.green()) << 8 | std::uint32_t(shown.blue()) << 16;
    const std::optional<std::uint32_t> chosen = prompter_.chooseColour(window(), initial);
    if (!chosen)
        return;
    const std::uint32_t rgb = *chosen & 0xFFFFFFu;
    const QColor colour(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
    showColour(colourSwatch_, colour);
    QTextCharFormat change;
    change.setForeground(colour);
    applyCharFormat(change);
    returnFocus();
}

void FormattingToolBar::applyBold()
{
    QTextCharFormat change;
    change.setFontWeight(boldButton_->isChecked() ? QFont::Bold : QFont::Normal);
    applyCharFormat(change);
    returnFocus();
}

void FormattingToolBar::applyItalic()
{
    QTextCharFormat change;
    change.setFontItalic(italicButton_->isChecked());
    applyCharFormat(change);
    returnFocus();
}

void FormattingToolBar::applyIndent()
{
    const std::optional<int> points = comboNumber(indentCombo_);
    if (!points)
        return;
    QTextBlockFormat change;
    change.setLeftMargin(twipsToPixels(std::clamp(*points, 0, MaxIndentPoints) * 20));
    // A list-style indent level from pasted text would add to the margin.
    change.setIndent(0);
    editors_.mergeBlockFormat(change);
}

void FormattingToolBar::alignLeft()
{
    editors_.alignParagraphs(Qt::AlignLeft);
}

void FormattingToolBar::alignCentre()
{
    editors_.alignParagraphs(Qt::AlignHCenter);
}

// ---- The toolbar following the caret ----

void FormattingToolBar::showFormat(const QTextCharFormat& format)
{
    // Showing the format is not a user change: none of the change handlers
    // may run from here.
    const QSignalBlocker blockFace(fontCombo_);
    const QSignalBlocker blockSize(sizeCombo_);
    const QSignalBlocker blockIndent(indentCombo_);
    const QSignalBlocker blockBold(boldButton_);
    const QSignalBlocker blockItalic(italicButton_);
    const QSignalBlocker blockLeft(leftAlignButton_);
    const QSignalBlocker blockCenter(centreButton_);

    // Both editors draw unformatted text in the application's font.
    const QFont base = editors_.baseFont();
    showText(fontCombo_, faceOf(format, base));
    showText(sizeCombo_, QString::number(pointsOf(format, base)));
    const QBrush brush = format.foreground();
    const bool automatic = !format.hasProperty(QTextFormat::ForegroundBrush) || brush.style() == Qt::NoBrush;
    showColour(colourSwatch_, automatic ? QApplication::palette().color(QPalette::Text) : brush.color());

    const bool bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                                   : base.bold();
    const bool italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
    boldButton_->setChecked(bold);
    italicButton_->setChecked(italic);

    // The paragraph of the editor in use, or of the one last used when the
    // focus is elsewhere: the toolbar shows the topic on screen.
    showText(indentCombo_, QString::number(indentPoints(editors_.paragraphIndentAtCaret())));
    const Qt::Alignment align = editors_.paragraphAlignmentAtCaret();
    const bool centred = (align & Qt::AlignHCenter) && !(align & Qt::AlignJustify);
    (centred ? centreButton_ : leftAlignButton_)->setChecked(true);
}

} // namespace ts
