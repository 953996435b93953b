#pragma once
// A topic's text from a help file as the project's rich text, with its
// links in the program's link markup:
//
//   jump        hotspot text "-->" ID [">" window] ["@" file], struck out
//   pop-up      hotspot text "-->" ID ["@" file], underlined
//   macro       hotspot text "-->!" macro, struck out
//   picture     "{bmc FILE}", "{bml FILE}", "{bmr FILE}" ("t" added when
//               transparent), inside the hotspot's text when it is one
//   button      "{button caption,macro}"
//
// Paragraph alignment, indents, spacing and tab stops and every character
// format the project holds (double underline and small capitals among them)
// are kept, so that compiling the project stores the same paragraph fields
// and fonts again. A table row becomes one paragraph with its cells a tab
// apart and a cell's further paragraphs on lines of their own. What the
// project can not hold (borders, embedded windows, hotspots drawn as plain
// text, ...) is tallied in the import log.
//
// Two things keep the compiled text the same as the help file's: an
// ordinary "-->" is written with a non-breaking hyphen in its middle (the
// compiler prints it as "-"), so that it is no link; and when the text
// right after a link has the link's very format, the link's target gets a
// colour a shade away from it, so that the two stay apart.

#include "HelpImportIds.h"
#include "HelpImportLog.h"
#include "HelpImportPictures.h"
#include "helpfile/HelpDocument.h"
#include "richtext/RichDocument.h"

#include <vector>

namespace ts::helpimport {

class TopicTextConverter {
public:
    TopicTextConverter(const HelpDocument& document, TopicNames& names, PictureFiles& pictures, ImportLog& log);

    // One region (the non-scrolling or the scrolling one) of topic `topic`.
    RichDocument convert(int topic, const std::vector<HelpParagraph>& region, const HelpTopicContent& content);

private:
    class ParagraphBuilder;
    CharFormat formatOf(const HelpRun& run);
    std::vector<TabStop> tabStopsOf(const HelpParagraph& paragraph, int topic);
    void tallyLostFormatting(const HelpParagraph& paragraph, int topic);

    const HelpDocument& doc_;
    TopicNames& names_;
    PictureFiles& pictures_;
    ImportLog& log_;
};

} // namespace ts::helpimport
