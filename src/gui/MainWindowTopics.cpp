// TGlavniForm: the editors as a working copy of the current topic (store and
// load), switching by tab and by list, adding, deleting and changing topics,
// and the topic list toggle.

#include "MainWindow.h"

#include "ChangeTopicDialog.h"
#include "WindowEditorDialog.h"
#include "MainWindowTabBar.h"
#include "Prompter.h"
#include "RichTextAdapter.h"
#include "model/TopicRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTextEdit>
#include <QToolButton>

namespace ts {

namespace {

QColor fromColorRef(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

int TGlavniForm::CurrentTopic() const
{
    const int i = TopicTab->currentIndex();
    return i >= 0 && i < Project_.TopicCount() ? i : -1;
}

void TGlavniForm::selectTab(int index)
{
    const QSignalBlocker block(TopicTab);
    TopicTab->setCurrentIndex(index);
}

void TGlavniForm::copyTabsToList()
{
    const QSignalBlocker block(TopicLB);
    QStringList captions;
    captions.reserve(TopicTab->count());
    for (int i = 0; i < TopicTab->count(); ++i)
        captions.append(TopicTab->tabText(i));
    TopicLB->clear();
    TopicLB->addItems(captions);
    TopicLB->setCurrentRow(TopicTab->currentIndex());
}

void TGlavniForm::setEditorColor(QTextEdit* editor, std::uint32_t color)
{
    QPalette pal = editor->palette();
    const QColor c = fromColorRef(color);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, c);
    editor->setPalette(pal);
}

void TGlavniForm::clearEditor(QTextEdit* editor)
{
    LoadEditorRtf(*editor, QByteArray());
    editor->document()->clearUndoRedoStacks();
    editor->document()->setModified(false);
}

void TGlavniForm::TopicTabChanging()
{
    const int i = CurrentTopic();
    if (i < 0)
        return;
    TTopicRecord& t = Project_.Topic(i);
    t.Keywords.setText(Edit1->text());
    t.HeaderRtf = SaveEditorRtf(*Header);
    t.BodyRtf = SaveEditorRtf(*TopicText);
}

void TGlavniForm::TopicTabChange()
{
    const int i = CurrentTopic();
    if (i < 0)
        return;
    const TTopicRecord& t = Project_.Topic(i);
    const TWindowRecord& w = Project_.WindowOf(t);
    Edit1->setText(t.Keywords.text());
    setEditorColor(Header, w.NonScrollColor);
    setEditorColor(TopicText, w.TopicColor);
    if (TopicLB->currentRow() != i) {
        const QSignalBlocker block(TopicLB);
        TopicLB->setCurrentRow(i);
    }
    for (auto [editor, rtf] : {std::pair{Header, &t.HeaderRtf}, std::pair{TopicText, &t.BodyRtf}}) {
        LoadEditorRtf(*editor, *rtf);
        // Undo must not bring back the text of the topic shown before.
        editor->document()->clearUndoRedoStacks();
        editor->document()->setModified(false);
    }
    Label2->setText(t.Title.text() + QLatin1Char(' '));
}

// QTabBar reports a switch after it happened: the tab is put back for the
// store, so that the store always writes into the selected tab's topic.
// TopicLB still marks the topic that was shown before the switch.
void TGlavniForm::onTabSwitched(int index)
{
    const int left = TopicLB->currentRow();
    if (left >= 0 && left < Project_.TopicCount() && left != index) {
        selectTab(left);
        TopicTabChanging();
        selectTab(index);
    }
    TopicTabChange();
}

void TGlavniForm::TopicLBClick()
{
    const int row = TopicLB->currentRow();
    if (row < 0 || row >= TopicTab->count() || row == TopicTab->currentIndex())
        return;
    TopicTabChanging();
    selectTab(row);
    TopicTabChange();
}

void TGlavniForm::TLButtonClick()
{
    TopicPanel->setVisible(TLButton->isChecked());
}

void TGlavniForm::ATButtonClick()
{
    if (Project_.TopicTableFull()) {
        Prompter_.message(this, QStringLiteral("You can not have more than %1 topics").arg(Project::TopicSlots),
                          QStringLiteral("Add new topic"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    Project_.AddMode = true;
    ChangeTopic->setWindowTitle(QStringLiteral("Add new topic"));
    ChangeTopic->setCurrentTopic(CurrentTopic());
    ChangeTopic->AssignID->setChecked(false);
    ChangeTopic->TID->clear();
    ChangeTopic->TT->clear();
    ChangeTopic->Edit1->clear();
    ChangeTopic->exec();

    if (ChangeTopic->TID->text().isEmpty())
        return;
    const QString id = UpperTopicId(ChangeTopic->TID->text());

    TTopicRecord topic;
    topic.TopicID.setText(id);
    topic.Title.setText(ChangeTopic->TT->text());
    topic.WindowIndex = qMax(0, ChangeTopic->selectedWindowIndex());
    if (const auto callId = ChangeTopic->callId()) {
        topic.HasMapID = true;
        topic.MapID = *callId;
    }

    // The topic being left keeps what was typed into it.
    if (Project_.TopicCount() > 0)
        TopicTabChanging();
    Project_.AddTopic(topic);
    {
        const QSignalBlocker block(TopicTab);
        TopicTab->addTab(topic.TopicID.text());
    }
    selectTab(Project_.TopicCount() - 1);
    copyTabsToList();
    // The first topic of a new project takes the editors as New left them.
    if (Project_.TopicCount() > 1)
        TopicTabChange();
    else
        Label2->setText(topic.Title.text() + QLatin1Char(' '));
    EnableControls();
    // The user goes on writing the new topic.
    TopicText->setFocus();
}

void TGlavniForm::DTButtonClick()
{
    int i = CurrentTopic();
    if (i < 0)
        return;
    if (Project_.TopicCount() == 1) {
        Prompter_.message(this,
                          QStringLiteral("You can not delete all topics!\rSelect New if You want to start a new project"),
                          QStringLiteral("Delete Topic"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    const TTopicRecord& t = Project_.Topic(i);
    const auto answer = Prompter_.message(
        this, QStringLiteral("You are about to delete Topic:\r") + t.TopicID.text() + QStringLiteral(" - ") +
                  t.Title.text() + QStringLiteral("\rAre You sure?"),
        QStringLiteral("Delete Topic?"), Prompter::Buttons::OkCancel, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Ok)
        return;

    const bool wasLast = i == Project_.TopicCount() - 1;
    Project_.DeleteTopic(i);
    {
        const QSignalBlocker block(TopicTab);
        TopicTab->removeTab(i);
    }
    if (wasLast)
        --i;
    selectTab(i);
    copyTabsToList();
    TopicTabChange();
}

void TGlavniForm::CWButtonClick()
{
    const int i = CurrentTopic();
    if (i < 0)
        return;
    TopicTabChanging();
    ChangeWin->setTopicWindow(Project_.Topic(i).WindowIndex);
    ChangeWin->exec();
    // The editor has stored its fields; the topic is shown again in its
    // window's colours, and with the links a deleted window's rewrite changed.
    TopicTabChange();
}

void TGlavniForm::CTButtonClick()
{
    const int i = CurrentTopic();
    if (i < 0)
        return;
    TopicTabChanging();
    ChangeTopic->setWindowTitle(QStringLiteral("Change Topic Properties"));
    Project_.AddMode = false;
    ChangeTopic->setCurrentTopic(i);

    const TTopicRecord& before = Project_.Topic(i);
    ChangeTopic->TID->setText(before.TopicID.text());
    ChangeTopic->TT->setText(before.Title.text());
    ChangeTopic->AssignID->setChecked(before.HasMapID);
    if (before.HasMapID)
        ChangeTopic->Edit1->setText(QString::number(before.MapID));
    else
        ChangeTopic->Edit1->clear();
    ChangeTopic->exec();

    if (ChangeTopic->TID->text().isEmpty())
        return;
    const QString newId = UpperTopicId(ChangeTopic->TID->text());
    const CountedString<50> newIdStored(newId);
    const QString oldId = Project_.Topic(i).TopicID.text();
    const int oldWindow = Project_.Topic(i).WindowIndex;
    const int newWindow = qMax(0, ChangeTopic->ComboBox1->currentIndex());

    Project_.WindowLinkMode = false;
    if (!(newIdStored == Project_.Topic(i).TopicID))
        RewriteLinks(oldId, newIdStored.text());
    if (newWindow != oldWindow) {
        Project_.WindowLinkMode = true;
        const auto windowName = [this](int k) {
            return k >= 0 && k < Project_.WindowCount() ? Project_.Window(k).Name.text() : QString();
        };
        RewriteLinks(newIdStored.text() + QLatin1Char('>') + windowName(oldWindow),
                     newIdStored.text() + QLatin1Char('>') + windowName(newWindow));
    }

    TopicTab->setTabText(i, newIdStored.text());
    copyTabsToList();

    TTopicRecord& t = Project_.Topic(i);
    t.TopicID = newIdStored;
    t.Title.setText(ChangeTopic->TT->text());
    t.WindowIndex = qMax(0, ChangeTopic->selectedWindowIndex());
    const auto callId = ChangeTopic->callId();
    t.HasMapID = callId.has_value();
    t.MapID = callId.value_or(0);
    TopicTabChange();
}

} // namespace ts
