#pragma once
// Hotspots as other WinHelp tools write them in help source RTF (hotspot
// text followed by hidden text naming its target), made into this program's
// link markup "text-->TARGET". The RTF reader applies it to what it reads,
// the RTF writer to what it is given; the link markup itself is links/.

#include "richtext/RichDocument.h"

#include <QString>

namespace ts {

// Whether a text names what a hotspot links to, as the hidden text behind a
// hotspot does in help source RTF: a Topic ID, optionally with ">WINDOW"
// and "@FILE" (in either order), or "!MACRO". A Topic ID holds no blank and
// none of the characters the program refuses in one.
bool isLinkTarget(const QString& text);

// Hotspots as other WinHelp tools write them, made into this program's link
// markup: text struck out or double-underlined directly followed by hidden
// text naming a target (isLinkTarget, optionally after the "%" or "*" that
// asks for an uncoloured hotspot) becomes a struck-out jump
// "text-->TARGET", singly underlined text a pop-up, underlined
// "text-->TARGET". Hidden text of any other kind is left as it is. Returns
// whether the paragraph changed.
bool hiddenTargetsToMarkup(Paragraph& paragraph);
// Whether hiddenTargetsToMarkup would change the paragraph.
bool hasHiddenTargets(const Paragraph& paragraph);

} // namespace ts
