#include "CommandToolBar.h"

#include "ToolButtons.h"

#include <QVBoxLayout>

namespace ts {

CommandToolBar::CommandToolBar(QWidget* parent) : QFrame(parent)
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
    QWidget* p = this;
    newButton = toolButton(p, upper, "newButton", QStringLiteral("New Project"), QStringLiteral("new"));
    openButton = toolButton(p, upper, "openButton", QStringLiteral("Open Project"), QStringLiteral("open"));
    saveButton = toolButton(p, upper, "saveButton", QStringLiteral("Save Project"), QStringLiteral("save"));
    separator(upper);
    compileButton = toolButton(p, upper, "compileButton", QStringLiteral("Build all, compile help file and show it"),
                          QStringLiteral("go"));
    buildAllButton = toolButton(p, upper, "buildAllButton", QStringLiteral("Create HPJ, CNT and RTF files"),
                           QStringLiteral("all"));
    projectFilesButton = toolButton(p, upper, "projectFilesButton", QStringLiteral("Create HPJ and CNT Files Only"),
                           QStringLiteral("prj"));
    topicFileButton = toolButton(p, upper, "topicFileButton", QStringLiteral("Create RTF File Only"), QStringLiteral("rtf"));
    separator(upper);
    contentsButton = toolButton(p, upper, "contentsButton", QStringLiteral("Contents editor"), QStringLiteral("cnt"));
    logButton = toolButton(p, upper, "logButton", QStringLiteral("Show Last Compile Info"), QStringLiteral("log"));
    topicListButton = toolButton(p, upper, "topicListButton", QStringLiteral("Show extended Topic List"),
                              QStringLiteral("topicl"));
    separator(upper);
    bitmapButton = toolButton(p, upper, "bitmapButton", QStringLiteral("Insert Bitmap or Segmented Hypergraphic"),
                           QStringLiteral("bmp"));
    transparentBitmapButton = toolButton(p, upper, "transparentBitmapButton", QStringLiteral("Insert Transparent Bitmap"),
                            QStringLiteral("tbmp"));
    relatedTopicsButton = toolButton(p, upper, "relatedTopicsButton", QStringLiteral("Insert Related Topics button"),
                              QStringLiteral("button"));
    topicLinkButton = toolButton(p, upper, "topicLinkButton", QStringLiteral("Insert Link to another topic"),
                            QStringLiteral("jump"));
    webLinkButton = toolButton(p, upper, "webLinkButton", QStringLiteral("Insert Link to web site or e-mail"),
                           QStringLiteral("web"));
    separator(upper);
    cutButton = toolButton(p, upper, "cutButton", QStringLiteral("Cut"), QStringLiteral("cut"));
    copyButton = toolButton(p, upper, "copyButton", QStringLiteral("Copy"), QStringLiteral("copy"));
    pasteButton = toolButton(p, upper, "pasteButton", QStringLiteral("Paste"), QStringLiteral("paste"));
    separator(upper);
    searchButton = toolButton(p, upper, "searchButton", QStringLiteral("Search topic..."), QStringLiteral("search"));
    spellButton = toolButton(p, upper, "spellButton", QStringLiteral("Spell Check"), QStringLiteral("spell"));
    upper->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->setSpacing(0);
    rows->addLayout(lower);
    topicListToggle = toolButton(p, lower, "topicListToggle", QStringLiteral("Show/Hide Topic ID List"), QStringLiteral("tl"));
    topicListToggle->setCheckable(true);
    topicListToggle->setChecked(true);
    topicPropertiesButton = toolButton(p, lower, "topicPropertiesButton", QStringLiteral("Change Topic Properties"), QStringLiteral("ct"));
    addTopicButton = toolButton(p, lower, "addTopicButton", QStringLiteral("Add new Topic"), QStringLiteral("at"));
    deleteTopicButton = toolButton(p, lower, "deleteTopicButton", QStringLiteral("Delete Current Topic"), QStringLiteral("dt"));
    editWindowsButton = toolButton(p, lower, "editWindowsButton", QStringLiteral("Edit Windows"), QStringLiteral("cw"));
    separator(lower);

    lower_ = lower;
}

void CommandToolBar::addToLowerRow(QWidget* controls)
{
    lower_->addWidget(controls);
    lower_->addStretch(1);
}

} // namespace ts
