// MainWindow: the editors as a working copy of the current topic (store and
// load), switching by tab and by list, adding, deleting and changing topics,
// and the topic list toggle.

#include "MainWindow.h"

#include "TopicPropertiesDialog.h"
#include "WindowEditorDialog.h"
#include "TopicTabBar.h"
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

int MainWindow::currentTopic() const
{
    const int i = topicTabs->currentIndex();
    return i >= 0 && i < project_.TopicCount() ? i : -1;
}

void MainWindow::selectTab(int index)
{
    const QSignalBlocker block(topicTabs);
    topicTabs->setCurrentIndex(index);
}

void MainWindow::copyTabsToList()
{
    const QSignalBlocker block(topicList);
    QStringList captions;
    captions.reserve(topicTabs->count());
    for (int i = 0; i < topicTabs->count(); ++i)
        captions.append(topicTabs->tabText(i));
    topicList->clear();
    topicList->addItems(captions);
    topicList->setCurrentRow(topicTabs->currentIndex());
}

void MainWindow::setEditorColor(QTextEdit* editor, std::uint32_t color)
{
    QPalette pal = editor->palette();
    const QColor c = fromColorRef(color);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, c);
    editor->setPalette(pal);
}

void MainWindow::clearEditor(QTextEdit* editor)
{
    LoadEditorRtf(*editor, QByteArray());
    editor->document()->clearUndoRedoStacks();
    editor->document()->setModified(false);
}

void MainWindow::storeCurrentTopic()
{
    const int i = currentTopic();
    if (i < 0)
        return;
    TTopicRecord& t = project_.Topic(i);
    t.Keywords.setText(keywordsEdit->text());
    t.HeaderRtf = SaveEditorRtf(*headerEditor);
    t.BodyRtf = SaveEditorRtf(*topicEditor);
}

void MainWindow::loadCurrentTopic()
{
    const int i = currentTopic();
    if (i < 0)
        return;
    const TTopicRecord& t = project_.Topic(i);
    const TWindowRecord& w = project_.WindowOf(t);
    keywordsEdit->setText(t.Keywords.text());
    setEditorColor(headerEditor, w.NonScrollColor);
    setEditorColor(topicEditor, w.TopicColor);
    if (topicList->currentRow() != i) {
        const QSignalBlocker block(topicList);
        topicList->setCurrentRow(i);
    }
    for (auto [editor, rtf] : {std::pair{headerEditor, &t.HeaderRtf}, std::pair{topicEditor, &t.BodyRtf}}) {
        LoadEditorRtf(*editor, *rtf);
        // Undo must not bring back the text of the topic shown before.
        editor->document()->clearUndoRedoStacks();
        editor->document()->setModified(false);
    }
    topicTitleLabel->setText(t.Title.text() + QLatin1Char(' '));
}

// QTabBar reports a switch after it happened: the tab is put back for the
// store, so that the store always writes into the selected tab's topic.
// topicList still marks the topic that was shown before the switch.
void MainWindow::onTabSwitched(int index)
{
    const int left = topicList->currentRow();
    if (left >= 0 && left < project_.TopicCount() && left != index) {
        selectTab(left);
        storeCurrentTopic();
        selectTab(index);
    }
    loadCurrentTopic();
}

void MainWindow::onTopicListClicked()
{
    const int row = topicList->currentRow();
    if (row < 0 || row >= topicTabs->count() || row == topicTabs->currentIndex())
        return;
    storeCurrentTopic();
    selectTab(row);
    loadCurrentTopic();
}

void MainWindow::toggleTopicList()
{
    topicListPanel->setVisible(topicListToggle->isChecked());
}

void MainWindow::addTopic()
{
    if (project_.TopicTableFull()) {
        prompter_.message(this, QStringLiteral("You can not have more than %1 topics").arg(Project::TopicSlots),
                          QStringLiteral("Add new topic"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    project_.AddMode = true;
    topicPropertiesDialog->setWindowTitle(QStringLiteral("Add new topic"));
    topicPropertiesDialog->setCurrentTopic(currentTopic());
    topicPropertiesDialog->callIdCheck->setChecked(false);
    topicPropertiesDialog->topicIdEdit->clear();
    topicPropertiesDialog->titleEdit->clear();
    topicPropertiesDialog->callIdEdit->clear();
    topicPropertiesDialog->exec();

    if (topicPropertiesDialog->topicIdEdit->text().isEmpty())
        return;
    const QString id = UpperTopicId(topicPropertiesDialog->topicIdEdit->text());

    TTopicRecord topic;
    topic.TopicID.setText(id);
    topic.Title.setText(topicPropertiesDialog->titleEdit->text());
    topic.WindowIndex = qMax(0, topicPropertiesDialog->selectedWindowIndex());
    if (const auto callId = topicPropertiesDialog->callId()) {
        topic.HasMapID = true;
        topic.MapID = *callId;
    }

    // The topic being left keeps what was typed into it.
    if (project_.TopicCount() > 0)
        storeCurrentTopic();
    project_.AddTopic(topic);
    {
        const QSignalBlocker block(topicTabs);
        topicTabs->addTab(topic.TopicID.text());
    }
    selectTab(project_.TopicCount() - 1);
    copyTabsToList();
    // The first topic of a new project takes the editors as New left them.
    if (project_.TopicCount() > 1)
        loadCurrentTopic();
    else
        topicTitleLabel->setText(topic.Title.text() + QLatin1Char(' '));
    enableControls();
    // The user goes on writing the new topic.
    topicEditor->setFocus();
}

void MainWindow::deleteTopic()
{
    int i = currentTopic();
    if (i < 0)
        return;
    if (project_.TopicCount() == 1) {
        prompter_.message(this,
                          QStringLiteral("You can not delete all topics!\rSelect New if You want to start a new project"),
                          QStringLiteral("Delete Topic"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    const TTopicRecord& t = project_.Topic(i);
    const auto answer = prompter_.message(
        this, QStringLiteral("You are about to delete Topic:\r") + t.TopicID.text() + QStringLiteral(" - ") +
                  t.Title.text() + QStringLiteral("\rAre You sure?"),
        QStringLiteral("Delete Topic?"), Prompter::Buttons::OkCancel, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Ok)
        return;

    const bool wasLast = i == project_.TopicCount() - 1;
    project_.DeleteTopic(i);
    {
        const QSignalBlocker block(topicTabs);
        topicTabs->removeTab(i);
    }
    if (wasLast)
        --i;
    selectTab(i);
    copyTabsToList();
    loadCurrentTopic();
}

void MainWindow::editWindows()
{
    const int i = currentTopic();
    if (i < 0)
        return;
    storeCurrentTopic();
    windowEditor->setTopicWindow(project_.Topic(i).WindowIndex);
    windowEditor->exec();
    // The editor has stored its fields; the topic is shown again in its
    // window's colours, and with the links a deleted window's rewrite changed.
    loadCurrentTopic();
}

void MainWindow::changeTopicProperties()
{
    const int i = currentTopic();
    if (i < 0)
        return;
    storeCurrentTopic();
    topicPropertiesDialog->setWindowTitle(QStringLiteral("Change Topic Properties"));
    project_.AddMode = false;
    topicPropertiesDialog->setCurrentTopic(i);

    const TTopicRecord& before = project_.Topic(i);
    topicPropertiesDialog->topicIdEdit->setText(before.TopicID.text());
    topicPropertiesDialog->titleEdit->setText(before.Title.text());
    topicPropertiesDialog->callIdCheck->setChecked(before.HasMapID);
    if (before.HasMapID)
        topicPropertiesDialog->callIdEdit->setText(QString::number(before.MapID));
    else
        topicPropertiesDialog->callIdEdit->clear();
    topicPropertiesDialog->exec();

    if (topicPropertiesDialog->topicIdEdit->text().isEmpty())
        return;
    const QString newId = UpperTopicId(topicPropertiesDialog->topicIdEdit->text());
    const CountedString<50> newIdStored(newId);
    const QString oldId = project_.Topic(i).TopicID.text();
    const int oldWindow = project_.Topic(i).WindowIndex;
    const int newWindow = qMax(0, topicPropertiesDialog->windowCombo->currentIndex());

    project_.WindowLinkMode = false;
    if (!(newIdStored == project_.Topic(i).TopicID))
        rewriteLinks(oldId, newIdStored.text());
    if (newWindow != oldWindow) {
        project_.WindowLinkMode = true;
        const auto windowName = [this](int k) {
            return k >= 0 && k < project_.WindowCount() ? project_.Window(k).Name.text() : QString();
        };
        rewriteLinks(newIdStored.text() + QLatin1Char('>') + windowName(oldWindow),
                     newIdStored.text() + QLatin1Char('>') + windowName(newWindow));
    }

    topicTabs->setTabText(i, newIdStored.text());
    copyTabsToList();

    TTopicRecord& t = project_.Topic(i);
    t.TopicID = newIdStored;
    t.Title.setText(topicPropertiesDialog->titleEdit->text());
    t.WindowIndex = qMax(0, topicPropertiesDialog->selectedWindowIndex());
    const auto callId = topicPropertiesDialog->callId();
    t.HasMapID = callId.has_value();
    t.MapID = callId.value_or(0);
    loadCurrentTopic();
}

} // namespace ts
