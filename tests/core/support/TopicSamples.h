#pragma once
// Building topics for the tests of the help sources and the help file: a
// format with one flag set, rich text stored as the editors store it, a
// topic record from its fields, and BMP files to place in them.

#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QByteArray>
#include <utility>
#include <vector>

namespace ts::testing {

inline CharFormat with(CharFormat f, bool CharFormat::*flag)
{
    f.*flag = true;
    return f;
}

inline QByteArray rtf(std::vector<Paragraph> paragraphs)
{
    RichDocument d;
    d.Paragraphs = std::move(paragraphs);
    return RtfWriter::write(d);
}

inline TopicRecord topic(const QByteArray& id, const QByteArray& title, const QByteArray& keywords, QByteArray header,
                          QByteArray body, int window = 0)
{
    TopicRecord t;
    t.TopicID.setBytes(id);
    t.Title.setBytes(title);
    t.Keywords.setBytes(keywords);
    t.HeaderRtf = std::move(header);
    t.BodyRtf = std::move(body);
    t.WindowIndex = window;
    return t;
}

// A bottom-up BI_RGB bitmap file with `bits` per pixel, filled with a pattern.
inline QByteArray bmpFile(int width, int height, int bits)
{
    const int colours = bits <= 8 ? 1 << bits : 0;
    const int row = (width * bits + 31) / 32 * 4;
    QByteArray palette, pixels;
    for (int i = 0; i < colours; ++i)
        palette += QByteArray(1, char(i * 7)) + char(i * 13) + char(255 - i) + '\0';
    for (int i = 0; i < row * height; ++i)
        pixels += char(i * 37 + bits);
    auto le = [](quint32 v, int n) {
        QByteArray b;
        for (int i = 0; i < n; ++i)
            b += char(v >> (8 * i));
        return b;
    };
    const quint32 offset = 14 + 40 + quint32(palette.size());
    return "BM" + le(offset + quint32(pixels.size()), 4) + le(0, 4) + le(offset, 4) + le(40, 4) + le(quint32(width), 4) +
           le(quint32(height), 4) + le(1, 2) + le(quint32(bits), 2) + le(0, 4) + le(quint32(pixels.size()), 4) +
           le(2835, 4) + le(2835, 4) + le(quint32(colours), 4) + le(0, 4) + palette + pixels;
}

} // namespace ts::testing
