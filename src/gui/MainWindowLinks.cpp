// TGlavniForm: link maintenance after a Topic ID rename or a window change.
// The callers store the editors into the current topic first and load it
// back afterwards, so the current topic is rewritten through its stored
// blocks like every other topic.

#include "MainWindow.h"

#include "Prompter.h"
#include "StatusBar.h"
#include "links/LinkMaintenance.h"
#include "model/IoError.h"

#include <QProgressBar>

namespace ts {

void TGlavniForm::RewriteLinks(const QString& oldText, const QString& newText)
{
    // The pass advances the bar by 2048 / TopicCount per topic; the bar
    // goes back to the range the other commands use when it ends, however
    // it ends.
    struct BarRange {
        TFriendlyStatusBar* bar;
        explicit BarRange(TFriendlyStatusBar* sb) : bar(sb)
        {
            bar->PB->setRange(0, 2048);
            bar->PB->setValue(0);
        }
        ~BarRange()
        {
            bar->finishActivity();
            bar->PB->setRange(0, 100);
        }
    };

    QString failure;
    {
        BarRange range(SB);
        SB->setPanelText(1, QStringLiteral("Updating links..."));
        try {
            UpdateJumps(Project_, oldText, newText, [this](int step) { SB->advance(step); });
        } catch (const IoError& e) {
            // Only the contents file can fail; the topics are rewritten by then.
            failure = e.message();
        }
    }
    if (!failure.isEmpty())
        showIoError(failure);
}

} // namespace ts
