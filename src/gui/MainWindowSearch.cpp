// MainWindow: topic search. The dialog reports the picked topic; the window
// makes it the current topic. The editors are not stored before the search,
// so it reads the topics' text as last stored.

#include "MainWindow.h"

#include "SearchDialog.h"

namespace ts {

void MainWindow::searchTopics()
{
    const int picked = searchDialog->execute();
    if (picked < 0 || picked >= project_.TopicCount())
        return;
    storeCurrentTopic();
    selectTab(picked);
    loadCurrentTopic();
}

} // namespace ts
