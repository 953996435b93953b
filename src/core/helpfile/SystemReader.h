#pragma once
// |SYSTEM: the version and compression of the file and its file-wide values
// (title, copyright, contents topic, [CONFIG] macros, windows, locale, ...),
// kept as bytes until the file's code page is known; and |FONT.

#include "ReadProblems.h"

#include <QByteArray>
#include <QList>
#include <optional>
#include <vector>

namespace ts::helpfile::reading {

struct SystemValues {
    bool present = false;
    int major = 0, minor = 0, flags = 0;
    std::uint32_t generated = 0;
    QByteArray title, copyright, citation, contentsFile, indexSeparators, icon;
    std::optional<std::uint32_t> contentsOffset;
    QList<QByteArray> configMacros;
    struct Window {
        std::uint16_t flags = 0;
        QByteArray type, name, caption;
        int x = 0, y = 0, width = 0, height = 0, state = 0;
        std::uint32_t scrollingColour = 0xFFFFFF, nonScrollingColour = 0xFFFFFF;
    };
    std::vector<Window> windows;
    int lcid = 0;
    int charset = -1;            // first byte of the CHARSET record
    int defaultFontCharset = -1; // of the DEFFONT record

    bool oldFormat() const; // 3.0 rules
    bool compressed() const;
    int topicBlockSize() const;
    // The code page the file's text is in.
    int codePage() const;
};

SystemValues readSystem(const QByteArray& data, ReadProblems& problems);

// The font table; text decoded with `codePage`.
std::vector<HelpFont> readFonts(const QByteArray& data, int codePage, ReadProblems& problems);

} // namespace ts::helpfile::reading
