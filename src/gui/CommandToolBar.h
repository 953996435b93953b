#pragma once
// The two toolbar rows above the topics: project, build, tools, insert and
// clipboard buttons on the upper row, the topic buttons on the lower row
// followed by the formatting controls the window puts there. Each button
// shows one of the window's actions and runs it when clicked.

#include <QFrame>

class QAction;
class QHBoxLayout;
class QToolButton;

namespace ts {

class MainActions;

class CommandToolBar : public QFrame {
    Q_OBJECT
public:
    explicit CommandToolBar(const MainActions& actions, QWidget* parent = nullptr);

    // Places `controls` after the topic buttons of the lower row.
    void addToLowerRow(QWidget* controls);

    // The button that shows `action`; null when the toolbar has none.
    QToolButton* button(const QAction* action) const;

private:
    QHBoxLayout* lower_;
};

} // namespace ts
