#pragma once
// Building topics for the tests of the help sources and the help file: a
// format with one flag set, rich text stored as the editors store it, and a
// topic record from its fields.

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

inline TTopicRecord topic(const QByteArray& id, const QByteArray& title, const QByteArray& keywords, QByteArray header,
                          QByteArray body, int window = 0)
{
    TTopicRecord t;
    t.TopicID.setBytes(id);
    t.Title.setBytes(title);
    t.Keywords.setBytes(keywords);
    t.HeaderRtf = std::move(header);
    t.BodyRtf = std::move(body);
    t.WindowIndex = window;
    return t;
}

} // namespace ts::testing
