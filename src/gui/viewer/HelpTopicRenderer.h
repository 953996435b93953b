#pragma once
// Builds the QTextDocument of one region (non-scrolling or scrolling) of a
// help topic from the HelpDocument model: fonts, sizes, colours, alignment,
// indents, spacing, tab stops, borders, tables, pictures and {button}s.
//
// Hotspots become anchors whose href names what to do (see HelpAnchor); the
// views turn a click on one into a HelpHotspot. Jumps and pop-ups the file
// draws as hotspots are green with a solid (jump, macro) or dotted (pop-up)
// underline; "%" hotspots keep the text's own look.

#include "helpfile/HelpDocument.h"

#include <QColor>
#include <QString>

class QObject;
class QTextCursor;
class QTextDocument;
class QTextCharFormat;
class QImage;

namespace ts {

// What an anchor of a rendered topic stands for.
struct HelpAnchor {
    enum class Kind { None, Hotspot, Macro, Picture };
    Kind kind = Kind::None;
    int hotspot = -1;        // Hotspot: index into HelpTopicContent::hotspots
    QString macro;           // Macro: a {button}'s macro
    int picture = -1;        // Picture: HelpDocument::picture(n) ...
    int pictureInTopic = -1; // ... or HelpTopicContent::pictures[n]

    static HelpAnchor parse(const QString& href);
    static QString hotspotHref(int index);
    static QString macroHref(const QString& macro);
    static QString pictureHref(int picture, int pictureInTopic);
};

class HelpTopicRenderer {
public:
    static constexpr QRgb HotspotColour = 0xFF008000; // WinHelp's green
    // Each paragraph's block carries its HelpParagraph::topicOffset under this
    // format property, for jumps to a place inside a topic.
    static constexpr int ParagraphOffsetProperty = 0x100000 + 1; // QTextFormat::UserProperty + 1
    // Font sizes are multiplied by `fontScale` (Options > Font).
    HelpTopicRenderer(const HelpDocument& document, int topic, double fontScale = 1.0);

    // A new document owned by `parent` holding `paragraphs`, which belong to
    // the renderer's topic (its content's hotspots, tables and pictures).
    QTextDocument* render(const std::vector<HelpParagraph>& paragraphs, QObject* parent) const;

    // The picture of a run as an image; a stand-in with a frame and a note
    // for pictures that cannot be drawn (metafiles, missing ones).
    QImage pictureImage(int picture, int pictureInTopic) const;
    const HelpPicture* pictureOf(int picture, int pictureInTopic) const;

    static double pixels(int twips) { return twips / 15.0; } // 96 pixels an inch

private:
    int renderTable(QTextCursor& cursor, const std::vector<HelpParagraph>& paragraphs, int first) const;
    int renderBoxed(QTextCursor& cursor, const std::vector<HelpParagraph>& paragraphs, int first) const;
    void renderParagraph(QTextCursor& cursor, const HelpParagraph& paragraph, bool newBlock) const;
    void renderRun(QTextCursor& cursor, const HelpRun& run) const;
    void renderPicture(QTextCursor& cursor, const HelpRun& run, const QTextCharFormat& format) const;
    void renderEmbedded(QTextCursor& cursor, const HelpRun& run, const QTextCharFormat& format) const;
    QTextCharFormat charFormat(const HelpRun& run) const;

    const HelpDocument& document_;
    const HelpTopicContent& content_;
    double fontScale_;
};

} // namespace ts
