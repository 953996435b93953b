#include "BenchTopics.h"

#include "richtext/RtfWriter.h"

namespace bench {

TopicFormats topicFormats()
{
    TopicFormats f;
    f.text.Size = 20;
    f.strong = f.note = f.jump = f.popup = f.text;
    f.strong.Bold = true;
    f.note.Italic = true;
    f.note.Colour = 0x004080;
    f.jump.Strike = true;
    f.popup.Underline = true;
    return f;
}

QByteArray stepsTopicBody(int i, int topics)
{
    const auto [text, strong, note, jump, popup] = topicFormats();
    const QString sentence = QStringLiteral(
        "Choose the command from the menu and fill in the fields of the dialog box before you press OK. ");
    ts::RichDocument d;
    d.Paragraphs.clear();
    for (int p = 0; p < 14; ++p) {
        ts::Paragraph para;
        para.LeftIndent = (p % 3) * 360;
        para.FirstIndent = p % 3 == 2 ? -360 : 0;
        para.Runs = {ts::Run{QStringLiteral("Step %1: ").arg(p + 1), strong},
                     ts::Run{sentence + sentence.left(40 + p * 3), text},
                     ts::Run{QStringLiteral("related page-->TOPIC_%1").arg((i * 7 + p) % topics), jump},
                     ts::Run{QStringLiteral(", "), text},
                     ts::Run{QStringLiteral("term %1-->TOPIC_%2").arg(p).arg((i + p * 13) % topics), popup},
                     ts::Run{QStringLiteral(" (note %1 of topic %2)\t").arg(p).arg(i), note}};
        d.Paragraphs.push_back(para);
    }
    return ts::RtfWriter::write(d);
}

ts::TopicRecord ordinaryTopic(int i, const QByteArray& body, const ts::CharFormat& titleFormat)
{
    ts::TopicRecord t;
    t.TopicID.setBytes("TOPIC_" + QByteArray::number(i));
    t.Title.setBytes("Title of topic " + QByteArray::number(i));
    t.Keywords.setBytes("alpha;beta " + QByteArray::number(i % 50) + ";topic " + QByteArray::number(i));
    t.HasCallId = true;
    t.CallId = 1000 + i;
    t.HeaderRtf = ts::RtfWriter::write(ts::RichDocument::fromPlainText(QStringLiteral("Title of topic %1").arg(i), titleFormat));
    t.BodyRtf = body;
    return t;
}

} // namespace bench
