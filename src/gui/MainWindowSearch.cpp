// TGlavniForm: topic search. The dialog reports the picked topic; the window
// makes it the current topic. The editors are not stored before the search,
// so it reads the topics' text as last stored.

#include "MainWindow.h"

#include "SearchDialog.h"

namespace ts {

void TGlavniForm::SpeedButton1Click()
{
    const int picked = SearchForm->execute();
    if (picked < 0 || picked >= Project_.TopicCount())
        return;
    TopicTabChanging();
    selectTab(picked);
    TopicTabChange();
}

} // namespace ts
