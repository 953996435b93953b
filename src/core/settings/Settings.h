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
    bool TLB = true;                                // topic list shown
    QString HelpCompiler = QStringLiteral("NoCompiler");
    RecentFiles Recent;

    static QString fileName() { return QStringLiteral("Topicsmith.ini"); }

    // Missing keys and integers that do not parse give the defaults above.
    static Settings fromIni(const IniFile& ini);
    // Writes CONFIG/Left, Top, Width, Height, TLB, HelpCompiler, then
    // RECENT FILES/0..4, in this order, into `ini` (other keys are kept).
    void toIni(IniFile& ini) const;
};

} // namespace ts
