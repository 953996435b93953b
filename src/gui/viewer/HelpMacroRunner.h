#pragma once
// Carries out a help file's macros in the viewer. Core's HelpMacroPolicy
// decides what each call is: the navigation and button macros run here, a
// web or mail address is shown before the browser opens it, anything that
// would start a program or load a library is refused with a message, and
// the rest is named on the window's notice line while the page goes on.

#include "helpdoc/HelpMacro.h"

#include <QPoint>
#include <QStringList>

namespace ts {

class HelpViewer;
class HelpViewerWindow;
class Prompter;

class HelpMacroRunner {
public:
    // Who asked: the user (a hotspot, a button) is told every time what is
    // refused; the file's own macros only the first time.
    enum class Source { User, File };

    HelpMacroRunner(HelpViewer& viewer, Prompter& prompter);

    // A new help file: routines registered by the last one are forgotten.
    void startFile()
    {
        policy_ = HelpMacroPolicy();
        refusalsTold_.clear();
    }
    void run(const QString& text, HelpViewerWindow* from, const QPoint& globalPos, Source source);
    // Between these, refusals are gathered and told in one message at the
    // end (a file's opening macros, a window's).
    void beginBatch() { ++batchDepth_; }
    void endBatch(HelpViewerWindow* window);

private:
    void execute(const HelpMacroCall& call, HelpViewerWindow* from, const QPoint& globalPos);
    bool executeNavigation(const HelpMacroCall& call, HelpViewerWindow* from, const QPoint& globalPos);
    bool executeButtons(const HelpMacroCall& call, HelpViewerWindow* from);

    HelpViewer& viewer_;
    Prompter& prompter_;
    HelpMacroPolicy policy_;
    QStringList refusalsTold_;
    QStringList batchedRefusals_;
    int batchDepth_ = 0;
    int depth_ = 0; // a topic's entry macro that jumps to a topic whose entry macro jumps back
};

} // namespace ts
