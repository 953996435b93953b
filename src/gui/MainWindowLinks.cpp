// MainWindow: link maintenance after a Topic ID rename or a window change.
// The callers store the editors into the current topic first and load it
// back afterwards, so the current topic is rewritten through its stored
// blocks like every other topic.

#include "MainWindow.h"

#include "Prompter.h"
#include "SearchProgressDialog.h"
#include "links/LinkMaintenance.h"
#include "model/IoError.h"

namespace ts {

void MainWindow::rewriteLinks(const QString& oldText, const QString& newText)
{
    // The pass borrows the search's progress window and hands it back as
    // search expects it, however the pass ends.
    struct Borrowed {
        SearchProgressDialog* window;
        explicit Borrowed(SearchProgressDialog* w) : window(w)
        {
            window->setValue(0);
            window->setText(QStringLiteral("Updating links..."));
            window->showAndPaint();
        }
        ~Borrowed()
        {
            window->setValue(0);
            window->setText(QStringLiteral("Searching topics..."));
            window->hide();
        }
    };

    QString failure;
    {
        Borrowed progress(searchProgress);
        try {
            UpdateJumps(project_, oldText, newText,
                        [this](int step) { searchProgress->setValue(searchProgress->value() + step); });
        } catch (const IoError& e) {
            // Only the contents file can fail; the topics are rewritten by then.
            failure = e.message();
        }
    }
    if (!failure.isEmpty())
        showIoError(failure);
}

} // namespace ts
