#pragma once
// The program's settings, read from and written to "Topicsmith.ini" in the
// program folder: sections CONFIG and RECENT FILES.

#include "IniFile.h"
#include "RecentFiles.h"

namespace ts {

struct Settings {
    int Left = 0;
    int Top = 0;
    int Width = 640;
    int Height = 400;
    bool topicListShown = true;                                // topic list shown
    // The window was maximised when it closed; Left to Height then hold its
    // bounds before it was, where it goes when it is restored. A key of its
    // own, so that older versions read the bounds as they always did.
    bool Maximized = false;
    QString HelpCompiler = QStringLiteral("NoCompiler");
    RecentFiles Recent;

    static QString fileName() { return QStringLiteral("Topicsmith.ini"); }

    // Missing keys and integers that do not parse give the defaults above.
    static Settings fromIni(const IniFile& ini);
    // Writes CONFIG/Left, Top, Width, Height, TLB, HelpCompiler, Maximized,
    // then RECENT FILES/0..4, in this order, into `ini` (other keys are kept).
    void toIni(IniFile& ini) const;
};

} // namespace ts
