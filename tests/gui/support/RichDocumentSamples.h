#pragma once
// Rich documents the editor tests build: a format, a paragraph, and one
// document with every format the editors keep.

#include "richtext/RichDocument.h"

#include <vector>

namespace ts::testing {

inline CharFormat fmt(const char* face, int size)
{
    CharFormat f;
    f.Face = QString::fromUtf8(face);
    f.Size = size;
    return f;
}

inline Paragraph para(std::vector<Run> runs, Alignment align = Alignment::Left, int left = 0, int first = 0, int right = 0)
{
    Paragraph p;
    p.Align = align;
    p.LeftIndent = left;
    p.FirstIndent = first;
    p.RightIndent = right;
    p.Runs = std::move(runs);
    return p;
}

// A document that uses every feature the editors keep.
inline RichDocument everything()
{
    CharFormat bold = fmt("Arial", 16);
    bold.Bold = true;
    CharFormat italicRed = fmt("Times New Roman", 24);
    italicRed.Italic = true;
    italicRed.Colour = 0xFF0000;
    CharFormat underline = fmt("Courier New", 17); // 8.5 pt
    underline.Underline = true;
    underline.Colour = 0x00FF00;
    CharFormat strike = fmt("Arial", 16);
    strike.Strike = true;
    CharFormat hidden = fmt("Arial", 16);
    hidden.Hidden = true;
    CharFormat all = fmt("Verdana", 40);
    all.Bold = all.Italic = all.Underline = all.Strike = all.Hidden = true;
    all.Colour = 0x000000; // black, which is not "automatic"
    CharFormat emptyLine = fmt("Times New Roman", 28);
    emptyLine.Bold = true;

    RichDocument d;
    d.Paragraphs = {
        para({{QStringLiteral("Plain "), fmt("Arial", 16)}, {QStringLiteral("bold"), bold},
              {QStringLiteral(" italic red\tafter tab"), italicRed}}),
        para({{QStringLiteral("A link"), strike}, {QStringLiteral("-->TARGET_2"), hidden},
              {QStringLiteral(" underlined"), underline}},
             Alignment::Center, 400, -200, 300),
        para({{QStringLiteral("line one\u2028line two"), fmt("Arial", 20)}}, Alignment::Right, 0, 720),
        para({{QStringLiteral("justified \u0416\u20AC\u00E9 {braces} \\ back"), all}}, Alignment::Justify, 1440),
        para({{QString(), emptyLine}}, Alignment::Center),
        para({{QStringLiteral("last"), fmt("Arial", 12)}}),
    };
    return d;
}

} // namespace ts::testing
