// TGlavniForm: the Help menu: the program's help and the about box.

#include "MainWindow.h"

#include "AboutDialog.h"
#include "ContextHelp.h"

namespace ts {

void TGlavniForm::Contents1Click()
{
    ContextHelp::forApplication()->showContents();
}

void TGlavniForm::About1Click()
{
    About->exec();
}

} // namespace ts
