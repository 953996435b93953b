#pragma once
// The two toolbar rows above the topics: project, build, tools, insert and
// clipboard buttons on the upper row, the topic buttons on the lower row
// followed by the formatting controls the window puts there. The buttons
// only trigger; the window wires them to the parts that do the work.

#include <QFrame>

class QHBoxLayout;
class QToolButton;

namespace ts {

class CommandToolBar : public QFrame {
    Q_OBJECT
public:
    explicit CommandToolBar(QWidget* parent = nullptr);

    // Places `controls` after the topic buttons of the lower row.
    void addToLowerRow(QWidget* controls);

    QToolButton *newButton, *openButton, *saveButton, *compileButton, *buildAllButton, *projectFilesButton,
        *topicFileButton, *contentsButton, *logButton, *topicListButton, *bitmapButton, *transparentBitmapButton,
        *relatedTopicsButton, *topicLinkButton, *webLinkButton, *cutButton, *copyButton, *pasteButton,
        *searchButton, *spellButton;
    QToolButton *topicListToggle, *topicPropertiesButton, *addTopicButton, *deleteTopicButton, *editWindowsButton;

private:
    QHBoxLayout* lower_;
};

} // namespace ts
