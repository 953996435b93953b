#pragma once
// The pieces of a help document that the tests build by hand: runs,
// paragraphs and hotspots, for the publishing, import and viewer tests.

#include "helpfile/HelpDocument.h"

#include <QString>

#include <utility>
#include <vector>

namespace ts::testing {

inline HelpRun textRun(const QString& text, int font = -1, int hotspot = -1)
{
    HelpRun run;
    run.text = text;
    run.font = font;
    run.hotspot = hotspot;
    return run;
}

inline HelpParagraph paragraphOf(std::vector<HelpRun> runs)
{
    HelpParagraph p;
    p.runs = std::move(runs);
    return p;
}

// A jump or pop-up to `topic`, named `id`, shown in `window`.
inline HelpHotspot hotspotTo(HelpHotspot::Kind kind, int topic, const QString& id = QString(),
                             const QString& window = QString())
{
    HelpHotspot h;
    h.kind = kind;
    h.targetTopic = topic;
    h.targetId = id;
    h.window = window;
    return h;
}

inline HelpHotspot macroHotspot(const QString& macro)
{
    HelpHotspot h;
    h.kind = HelpHotspot::Kind::Macro;
    h.macro = macro;
    return h;
}

} // namespace ts::testing
