#include "CommandToolBar.h"

#include "MainActions.h"
#include "ToolButtons.h"

#include <QAction>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

namespace ts {

namespace {

// The buttons of a row with their object names; a null action stands for
// the gap between two groups.
using Buttons = std::initializer_list<std::pair<QAction*, const char*>>;

void addButtons(QWidget* toolBar, QHBoxLayout* row, Buttons buttons)
{
    for (const auto& [action, name] : buttons) {
        if (action)
            toolButton(toolBar, row, name, action);
        else
            separator(row);
    }
}

} // namespace

CommandToolBar::CommandToolBar(const MainActions& a, QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("toolBar"));
    setFrameShape(QFrame::StyledPanel);
    setFixedHeight(61);
    // A narrow window clips the toolbar rows instead of refusing to shrink.
    setMinimumWidth(1);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(2, 1, 2, 1);
    rows->setSpacing(1);

    auto* upper = new QHBoxLayout;
    upper->setSpacing(0);
    rows->addLayout(upper);
    addButtons(this, upper,
               {{a.newProject, "newButton"}, {a.openProject, "openButton"}, {a.saveProject, "saveButton"},
                {nullptr, nullptr},
                {a.compile, "compileButton"}, {a.buildAll, "buildAllButton"},
                {a.projectFiles, "projectFilesButton"}, {a.topicFile, "topicFileButton"},
                {nullptr, nullptr},
                {a.contentsEditor, "contentsButton"}, {a.showLog, "logButton"},
                {a.extendedTopicList, "topicListButton"},
                {nullptr, nullptr},
                {a.addBitmap, "bitmapButton"}, {a.addTransparentBitmap, "transparentBitmapButton"},
                {a.addRelatedTopicsButton, "relatedTopicsButton"}, {a.addTopicLink, "topicLinkButton"},
                {a.addWebLink, "webLinkButton"},
                {nullptr, nullptr},
                {a.cut, "cutButton"}, {a.copy, "copyButton"}, {a.paste, "pasteButton"},
                {nullptr, nullptr},
                {a.search, "searchButton"}, {a.spellCheck, "spellButton"}});
    upper->addStretch(1);

    lower_ = new QHBoxLayout;
    lower_->setSpacing(0);
    rows->addLayout(lower_);
    addButtons(this, lower_,
               {{a.showTopicList, "topicListToggle"}, {a.topicProperties, "topicPropertiesButton"},
                {a.addTopic, "addTopicButton"}, {a.deleteTopic, "deleteTopicButton"},
                {a.editWindows, "editWindowsButton"}, {nullptr, nullptr}});
}

void CommandToolBar::addToLowerRow(QWidget* controls)
{
    lower_->addWidget(controls);
    lower_->addStretch(1);
}

QToolButton* CommandToolBar::button(const QAction* action) const
{
    for (QToolButton* b : findChildren<QToolButton*>())
        if (b->defaultAction() == action)
            return b;
    return nullptr;
}

} // namespace ts
