// The insert commands that put link markup, "Related Topics" buttons
// and bitmaps into the topic text. Every command ends the same way: the
// editor pane puts the markup on the clipboard and in at the caret of the
// area the user was in (or over its selection) in the format set for that
// point, so the clipboard afterwards holds the last text inserted. The
// hotspot is made by the character style given to the inserted run.

#include "InsertCommands.h"

#include "ButtonDialog.h"
#include "LinkDialog.h"
#include "Prompter.h"
#include "TopicEditorPane.h"
#include "TopicNavigator.h"
#include "links/LinkMarkup.h"
#include "model/Project.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTextCharFormat>

#include <optional>

namespace ts {

namespace {

using Area = TopicEditorPane::Area;

// The selection when it is longer than one character, copied through the
// clipboard into the dialog's hotspot field (which starts empty).
void proposeHotspot(TopicEditorPane& pane, std::optional<Area> area, QLineEdit& field)
{
    field.clear();
    if (!area || !pane.copySelection(*area, 2))
        return;
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

// The point size at the caret: the text's own, or the editor's font's.
qreal pointsAtCaret(const TopicEditorPane& pane, Area area)
{
    const QTextCharFormat format = pane.formatAtCaret(area);
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    const QFont base = pane.baseFont();
    return base.pointSizeF() > 0 ? base.pointSizeF() : 8.0;
}

// Buttons and bitmaps go in at 8 points; the size in force afterwards is
// the size before.
void insertSmall(TopicEditorPane& pane, std::optional<Area> area, const QString& markup)
{
    QTextCharFormat small;
    QTextCharFormat restore;
    if (area) {
        small.setFontPointSize(8);
        restore.setFontPointSize(pointsAtCaret(pane, *area));
    }
    pane.insertMarkup(area, markup, small, restore);
}

// The user works on in the editor the command wrote into.
void giveFocusBack(TopicEditorPane& pane, std::optional<Area> area)
{
    if (area)
        pane.focusArea(*area);
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
    // The dialog takes the focus; the area to write into is the one the
    // user was in when the command started.
    const std::optional<Area> area = editors_.areaInUse();
    LinkDialog& d = *linkDialog;

    proposeHotspot(editors_, area, *d.hotspotEdit);
    QStringList entries;
    for (int i = 0; i < project_.TopicCount(); ++i)
        entries.append(links::topicChoiceText(project_.topic(i).TopicID.text(), project_.topic(i).Title.text()));
    d.topicWindowCheck->setChecked(false);
    d.otherHelpFileCheck->setChecked(false);
    // A link from a topic to itself is seldom meant: another topic is
    // proposed, the one the selected words name when there is one.
    const QString selected = area ? editors_.selectedText(*area) : QString();
    d.setTopics(entries, links::proposedLinkTarget(project_, navigator_.currentTopic(), selected));
    d.setLinkType(0);

    if (d.exec() != QDialog::Accepted) {
        giveFocusBack(editors_, area);
        return;
    }

    QString markup;
    if (d.otherHelpFileCheck->isChecked()) {
        const QString typedId = d.topicIdEdit->text();
        const QString helpFile = d.helpFileEdit->text();
        if (const std::optional<QString> refusal = links::otherHelpFileRefusal(typedId, helpFile)) {
            prompter_.message(window_, *refusal, QStringLiteral("Topicsmith"));
            giveFocusBack(editors_, area);
            return;
        }
        markup = links::otherHelpFileLink(d.hotspotEdit->text(), typedId, helpFile);
    } else {
        const int i = d.topicCombo->currentIndex();
        if (i < 0 || i >= project_.TopicCount()) {
            giveFocusBack(editors_, area);
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
    // The hotspot ends where its style does: what is typed next at the
    // caret has strike-out and underline taken away again.
    editors_.insertMarkup(area, markup, popup ? styleChange(std::nullopt, true) : styleChange(true, std::nullopt),
                          styleChange(false, false));
    giveFocusBack(editors_, area);
}

void InsertCommands::insertWebLink()
{
    const std::optional<Area> area = editors_.areaInUse();
    ButtonDialog& d = *buttonDialog;
    d.setupForWeb();
    proposeHotspot(editors_, area, *d.captionEdit);

    if (d.exec() != QDialog::Accepted) {
        giveFocusBack(editors_, area);
        return;
    }
    const QString markup = links::webLink(d.captionEdit->text(), d.targetEdit->text(), d.emailChosen());
    editors_.insertMarkup(area, markup, styleChange(true, std::nullopt), styleChange(false, std::nullopt));
    giveFocusBack(editors_, area);
}

void InsertCommands::insertRelatedTopicsButton()
{
    const std::optional<Area> area = editors_.areaInUse();
    ButtonDialog& d = *buttonDialog;
    d.setupForButton();

    if (d.exec() != QDialog::Accepted) {
        giveFocusBack(editors_, area);
        return;
    }
    insertSmall(editors_, area, links::relatedTopicsButton(d.captionEdit->text(), d.targetEdit->text()));
    giveFocusBack(editors_, area);
}

void InsertCommands::insertBitmap(bool transparent)
{
    const std::optional<Area> area = editors_.areaInUse();

    const QString path = prompter_.openFile(
        window_, QStringLiteral("Bitmaps (*.bmp)|*.BMP|Segmented Hypergraphics (*.shg)|*.SHG"), QStringLiteral("*.bmp"));
    if (path.isEmpty()) {
        giveFocusBack(editors_, area);
        return;
    }
    insertSmall(editors_, area, links::bitmapMarkup(path, transparent));
    giveFocusBack(editors_, area);
}

} // namespace ts
