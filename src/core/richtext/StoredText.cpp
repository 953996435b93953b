#include "StoredText.h"

#include "RtfReader.h"

namespace ts {

RichDocument readStoredText(const QByteArray& rtf)
{
    if (rtf.isEmpty())
        return RichDocument();
    RichDocument document = RtfReader::read(rtf);
    if (document.Paragraphs.empty())
        document = RichDocument();
    return document;
}

bool hasText(const RichDocument& document)
{
    for (const Paragraph& p : document.Paragraphs)
        if (!p.isEmpty())
            return true;
    return false;
}

} // namespace ts
