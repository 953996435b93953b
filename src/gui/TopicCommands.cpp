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

#include <utility>
#include <vector>

namespace ts {

TopicCommands::TopicCommands(Project& project, Prompter& prompter, TopicNavigator& navigator,
                             TopicEditorPane& editors, QWidget* window)
    : QObject(window), project_(project), prompter_(prompter), navigator_(navigator), editors_(editors),
      window_(window)
{
    setObjectName(QStringLiteral("topicCommands"));
    topicPropertiesDialog = new TopicPropertiesDialog(project_, prompter_, window);
    autoSizeDialog = new AutoSizeDialog(window);
    windowEditor = new WindowEditorDialog(project_, prompter_, *autoSizeDialog, window);
    connect(windowEditor, &WindowEditorDialog::rewriteWindowLinks, this, &TopicCommands::rewriteDeletedWindowLinks);
    linkProgress_ = new SearchProgressDialog(window);
    linkProgress_->setObjectName(QStringLiteral("linkProgress"));
    linkProgress_->setText(QStringLiteral("Updating links..."));
}

void TopicCommands::addTopic()
{
    if (project_.topicTableFull()) {
        prompter_.message(window_, QStringLiteral("You cannot have more than %1 topics.").arg(Project::TopicSlots),
                          QStringLiteral("Add new topic"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    TopicPropertiesDialog& d = *topicPropertiesDialog;
    d.setAdding(true);
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
    editors_.focusArea(TopicEditorPane::Area::Topic);
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
    d.setAdding(false);
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

    if (!(newIdStored == project_.topic(i).TopicID))
        rewriteLinks(topicIdRename(oldId, newIdStored.text()));
    if (newWindow != oldWindow) {
        const auto windowName = [this](int k) {
            return k >= 0 && k < project_.WindowCount() ? project_.window(k).Name.text() : QString();
        };
        rewriteLinks(topicWindowMove(newIdStored.text(), windowName(oldWindow), windowName(newWindow)));
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

void TopicCommands::rewriteDeletedWindowLinks(const QString& oldText, const QString& newText)
{
    // The dialog names the windows as links do, behind a ">".
    const auto windowOf = [](const QString& reference) {
        return reference.mid(reference.indexOf(QLatin1Char('>')) + 1);
    };
    rewriteLinks(windowRename(windowOf(oldText), windowOf(newText)));
}

// The callers store the editors into the current topic first and load it
// back afterwards, so the current topic is rewritten through its stored
// blocks like every other topic.
void TopicCommands::rewriteLinks(const LinkRename& rename)
{
    // The progress window shows from nothing for the length of the pass,
    // however the pass ends.
    struct ShownWhileRewriting {
        SearchProgressDialog& window;
        explicit ShownWhileRewriting(SearchProgressDialog& w) : window(w)
        {
            window.setValue(0);
            window.showAndPaint();
        }
        ~ShownWhileRewriting()
        {
            window.setValue(0);
            window.hide();
        }
    };

    QString failure;
    {
        const ShownWhileRewriting shown(*linkProgress_);
        try {
            updateLinks(project_, rename, [this](int step) { linkProgress_->setValue(linkProgress_->value() + step); });
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
