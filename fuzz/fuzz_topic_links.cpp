// Feeds the topic file writer topics whose text comes from arbitrary RTF and
// checks its link conversion against the same project with every arrow
// "-->" in the text made harmless ("=->"): the two files must be the same
// except that where the second has "=->" the first has "\v ", and the first
// must hold no arrow at all.
//
// Input: up to four RTF blocks (header, body, header, body), NUL between them.

#include "FuzzSupport.h"

#include "helpsource/TopicFileWriter.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace {

// The block as the editor would store it, with the arrows of its text
// (and of its font names) replaced by "=->" when `disarm` holds. Runs of one format are joined
// first, so that an arrow is one piece of text in both projects.
QByteArray storedBlock(const QByteArray& rtf, bool disarm)
{
    if (rtf.isEmpty())
        return rtf;
    ts::RichDocument document = ts::RtfReader::read(rtf);
    document.normalize();
    if (disarm)
        for (ts::Paragraph& p : document.Paragraphs)
            for (ts::Run& r : p.Runs) {
                r.Text.replace(QStringLiteral("-->"), QStringLiteral("=->"));
                // Font names stand in the file's opening lines, which are
                // converted like every other line.
                r.Format.Face.replace(QStringLiteral("-->"), QStringLiteral("=->"));
            }
    return ts::RtfWriter::write(document);
}

QByteArray topicFile(const std::vector<QByteArray>& blocks, bool disarm)
{
    ts::Project project;
    for (size_t t = 0; t + 1 < blocks.size(); t += 2) {
        ts::TopicRecord topic;
        topic.TopicID = ts::CountedString<50>(QStringLiteral("T%1").arg(t / 2 + 1));
        topic.HeaderRtf = storedBlock(blocks[t], disarm);
        topic.BodyRtf = storedBlock(blocks[t + 1], disarm);
        project.addTopic(topic);
    }
    return ts::TopicFileWriter::generate(project);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<QByteArray> blocks = fuzzsupport::pieces(fuzzsupport::bytesOf(data, size), 4);
    const QByteArray converted = topicFile(blocks, false);
    const QByteArray disarmed = topicFile(blocks, true);

    if (converted.contains("-->"))
        fuzzsupport::fail("an arrow is left in the topic file:\n%s", converted.constData());
    if (converted.size() != disarmed.size())
        fuzzsupport::fail("the link conversion changed more than the arrows:\n--- converted:\n%s\n--- text:\n%s",
                          converted.constData(), disarmed.constData());
    for (qsizetype i = 0; i < converted.size(); ++i) {
        if (converted[i] == disarmed[i])
            continue;
        if (converted.mid(i, 3) != "\\v " || disarmed.mid(i, 3) != "=->")
            fuzzsupport::fail("the link conversion changed byte %lld:\n--- converted:\n%s\n--- text:\n%s",
                              qlonglong(i), converted.constData(), disarmed.constData());
        i += 2;
    }
    return 0;
}
