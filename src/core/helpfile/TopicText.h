#pragma once
// The text of a topic as the help file stores it: one text record per
// paragraph, each a paragraph description and formatting commands
// (LinkData1) interleaved with NUL-terminated strings (LinkData2). A
// paragraph too long for one record (more than 30000 characters, or more
// commands than fit a block) goes on in further records, each of which the
// viewer starts on a new line; this is logged.
//
// Link markup is read as the topic file gives it to an outside compiler:
// "-->" starts the link target, which runs to the end of its run (hidden
// runs count as target too); struck-out text right before a target is a
// jump, underlined text a pop-up. A target is a Topic ID, optionally with
// ">WINDOW" and "@FILE", or "!MACRO". "{button CAPTION,MACRO}" becomes a
// button and "{bmc FILE}" / "{bmct FILE}" (also bml/bmr) a picture.

#include "HelpFonts.h"
#include "HelpPictures.h"
#include "richtext/RichDocument.h"

#include <QByteArray>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace ts {
class Project;
}

namespace ts::helpfile {

struct TextRecord {
    QByteArray LinkData1;
    QByteArray LinkData2;
    int TopicLength = 0; // characters the record counts: its strings and pictures
};

class TopicTextEncoder {
public:
    // `topicsByHash` maps the hash of every Topic ID to its topic; `warn`
    // receives each problem found, as a log line without the topic's name.
    TopicTextEncoder(const Project& project, HelpFonts& fonts, HelpPictures& pictures,
                     const std::map<std::int32_t, int>& topicsByHash,
                     std::function<void(const QString&)> warn);

    // The records of one region (the header or the body) of a topic.
    std::vector<TextRecord> encode(const RichDocument& document);

    // Hotspots written so far (jumps, pop-ups and macro hotspots).
    int hotspots() const { return hotspots_; }
    // Characters without a Windows-1252 form met since the last call; they
    // are stored as "?".
    int takeUnshownCharacters();
    // What the help file cannot show as the author formatted it (justified
    // text, raised or lowered text, highlights, decimal tab stops, tab
    // leaders), met since the last call: one log line each, whatever how
    // often it was met.
    QStringList takeNotices();

private:
    struct Piece;
    class RecordBuilder;

    std::vector<struct Piece> piecesOf(const Paragraph& paragraph) const;
    void encodeParagraph(const Paragraph& paragraph, std::vector<TextRecord>& records);
    void emitText(RecordBuilder& b, const QString& text, const CharFormat& format, bool hotspot);
    void emitPiece(RecordBuilder& b, const struct Piece& piece, bool hotspot);
    // The command that opens a hotspot linking to `target`, or nothing when
    // the link is left out (the problem is logged).
    QByteArray linkCommand(const QString& target, bool jump);
    QByteArray macroCommand(const QString& target);
    // The link into this help file; a jump into a window of its own names
    // the window's number.
    QByteArray sameFileCommand(std::int32_t hash, const QString& id, const QString& window, bool jump);
    // The window number of a jump's window name, or -1 (logged) for none.
    int windowNumber(const QString& window, const QString& id, bool jump);

    const Project& project_;
    HelpFonts& fonts_;
    HelpPictures& pictures_;
    const std::map<std::int32_t, int>& topicsByHash_;
    std::function<void(const QString&)> warn_;
    int hotspots_ = 0;
    int unshown_ = 0;
    unsigned notices_ = 0; // Notice bits
};

// A macro as the viewer expects it: ExecFile, ALink and KLink with one bare
// argument get it in quotes ("ExecFile(http://x)" -> "ExecFile(\"http://x\")").
QString quotedMacro(const QString& macro);

} // namespace ts::helpfile
