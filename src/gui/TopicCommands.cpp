#include "TopicCommands.h"

#include "AutoSizeDialog.h"
#include "Prompter.h"
#include "SearchProgressDialog.h"
#include "TopicEditorPane.h"
#include "TopicNavigator.h"
#include "TopicPropertiesDialog.h"
#include "WindowEditorDialog.h"
#include "links/LinkMaintenance.h"
#include "model/IoError.h"
#include "model/Project.h"
#include "model/TopicRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>

#include <utility>
#include <vector>

namespace ts {

TopicCommands::TopicCommands(Project& project, Prompter& prompter, TopicNavigator& navigator,
                             TopicEditorPane& editors, SearchProgressDialog& progress, QWidget* window)
    : QObject(window), project_(project), prompter_(prompter), navigator_(navigator), editors_(editors),
      progress_(progress), window_(window)
{
    setObjectName(QStringLiteral("topicCommands"));
    topicPropertiesDialog = new TopicPropertiesDialog(project_, prompter_, window);
    autoSizeDialog = new AutoSizeDialog(window);
    windowEditor = new WindowEditorDialog(project_, prompter_, *autoSizeDialog, window);
    connect(windowEditor, &WindowEditorDialog::rewriteWindowLinks, this, &TopicCommands::rewriteLinks);
}

void TopicCommands::addTopic()
{
    if (project_.topicTableFull()) {
        prompter_.message(window_, QStringLiteral("You cannot have more than %1 topics.").arg(Project::TopicSlots),
                          QStringLiteral("Add new topic"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    TopicPropertiesDialog& d = *topicPropertiesDialog;
    project_.AddMode = true;
    d.setWindowTitle(QStringLiteral("Add new topic"));
    d.setCurrentTopic(navigator_.currentTopic());
    d.callIdCheck->setChecked(false);
    d.topicIdEdit->clear();
    d.titleEdit->clear();
    d.callIdEdit->clear();
    if (d.exec() != QDialog::Accepted || d.topicIdEdit->text().isEmpty())
        return;
    const QString id = upperTopicId(d.topicIdEdit->text());

    TopicRecord topic;
    topic.TopicID.setText(id);
    topic.Title.setText(d.titleEdit->text());
    topic.WindowIndex = d.selectedWindowIndex();
    if (const auto callId = d.callId()) {
        topic.HasCallId = true;
        topic.CallId = *callId;
    }

    // The topic being left keeps what was typed into it.
    if (project_.TopicCount() > 0)
        navigator_.storeCurrentTopic();
    project_.addTopic(topic);
    navigator_.appendTopic(topic.TopicID.text());
    // The first topic of a new project takes the editors as New left them.
    if (project_.TopicCount() > 1)
        navigator_.loadCurrentTopic();
    else
        editors_.showTitle(topic.Title.text());
    emit topicAdded();
    emit projectChanged();
    // The user goes on writing the new topic.
    editors_.topicEditor->setFocus();
}

void TopicCommands::deleteTopic()
{
    const int i = navigator_.currentTopic();
    if (i < 0)
        return;
    if (project_.TopicCount() == 1) {
        prompter_.message(window_,
                          QStringLiteral("You cannot delete all topics!\rSelect New if you want to start a new project."),
                          QStringLiteral("Delete Topic"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    const TopicRecord& t = project_.topic(i);
    // Links that would be left dangling are the user's choice, made knowingly.
    const QString linked = countLinksTo(project_, i).deleteQuestion(t.TopicID.text());
    const auto answer = prompter_.message(
        window_, QStringLiteral("You are about to delete Topic:\r") + t.TopicID.text() + QStringLiteral(" - ") +
                     t.Title.text() + QStringLiteral("\r") + (linked.isEmpty() ? QStringLiteral("Are you sure?") : linked),
        QStringLiteral("Delete Topic?"), Prompter::Buttons::OkCancel, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Ok)
        return;
    project_.deleteTopic(i);
    navigator_.removeTopic(i);
    emit projectChanged();
}

void TopicCommands::editWindows()
{
    const int i = navigator_.currentTopic();
    if (i < 0)
        return;
    navigator_.storeCurrentTopic();
    const auto windowsAndPlaces = [this] {
        std::vector<WindowRecord> windows;
        for (int k = 0; k < project_.WindowCount(); ++k)
            windows.push_back(project_.window(k));
        std::vector<int> places;
        for (int t = 0; t < project_.TopicCount(); ++t)
            places.push_back(project_.topic(t).WindowIndex);
        return std::pair{windows, places};
    };
    const auto before = windowsAndPlaces();
    windowEditor->setTopicWindow(project_.topic(i).WindowIndex);
    windowEditor->exec();
    if (windowsAndPlaces() != before)
        emit projectChanged();
    // The editor has stored its fields; the topic is shown again in its
    // window's colours, and with the links a deleted window's rewrite changed.
    navigator_.loadCurrentTopic();
}

void TopicCommands::changeTopicProperties()
{
    const int i = navigator_.currentTopic();
    if (i < 0)
        return;
    navigator_.storeCurrentTopic();
    TopicPropertiesDialog& d = *topicPropertiesDialog;
    d.setWindowTitle(QStringLiteral("Change Topic Properties"));
    project_.AddMode = false;
    d.setCurrentTopic(i);

    const TopicRecord before = project_.topic(i);
    d.topicIdEdit->setText(before.TopicID.text());
    d.titleEdit->setText(before.Title.text());
    d.callIdCheck->setChecked(before.HasCallId);
    if (before.HasCallId)
        d.callIdEdit->setText(QString::number(before.CallId));
    else
        d.callIdEdit->clear();
    if (d.exec() != QDialog::Accepted || d.topicIdEdit->text().isEmpty())
        return;
    const QString newId = upperTopicId(d.topicIdEdit->text());
    const CountedString<50> newIdStored(newId);
    const QString oldId = project_.topic(i).TopicID.text();
    const int oldWindow = project_.topic(i).WindowIndex;
    const int newWindow = d.selectedWindowIndex();

    project_.WindowLinkMode = false;
    if (!(newIdStored == project_.topic(i).TopicID))
        rewriteLinks(oldId, newIdStored.text());
    if (newWindow != oldWindow) {
        project_.WindowLinkMode = true;
        const auto windowName = [this](int k) {
            return k >= 0 && k < project_.WindowCount() ? project_.window(k).Name.text() : QString();
        };
        rewriteLinks(newIdStored.text() + QLatin1Char('>') + windowName(oldWindow),
                     newIdStored.text() + QLatin1Char('>') + windowName(newWindow));
    }

    navigator_.renameTopic(i, newIdStored.text());

    TopicRecord& t = project_.topic(i);
    t.TopicID = newIdStored;
    t.Title.setText(d.titleEdit->text());
    t.WindowIndex = newWindow;
    const auto callId = d.callId();
    t.HasCallId = callId.has_value();
    t.CallId = callId.value_or(0);
    navigator_.loadCurrentTopic();
    if (!(project_.topic(i) == before))
        emit projectChanged();
}

void TopicCommands::refillWindows()
{
    windowEditor->refillWindowList(project_.topic(navigator_.currentTopic()).WindowIndex);
}

// The callers store the editors into the current topic first and load it
// back afterwards, so the current topic is rewritten through its stored
// blocks like every other topic.
void TopicCommands::rewriteLinks(const QString& oldText, const QString& newText)
{
    // The pass borrows the search's progress window and hands it back as
    // search expects it, however the pass ends.
    struct Borrowed {
        SearchProgressDialog& window;
        explicit Borrowed(SearchProgressDialog& w) : window(w)
        {
            window.setValue(0);
            window.setText(QStringLiteral("Updating links..."));
            window.showAndPaint();
        }
        ~Borrowed()
        {
            window.setValue(0);
            window.setText(QStringLiteral("Searching topics..."));
            window.hide();
        }
    };

    QString failure;
    {
        Borrowed progress(progress_);
        try {
            updateJumps(project_, oldText, newText, [this](int step) { progress_.setValue(progress_.value() + step); });
        } catch (const IoError& e) {
            // Only the contents file can fail; the topics are rewritten by then.
            failure = e.message();
        }
    }
    // The topics are rewritten even when the contents file failed.
    emit projectChanged();
    if (!failure.isEmpty())
        prompter_.error(window_, failure);
}

} // namespace ts
