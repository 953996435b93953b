// A topic as plain text, for text dumps, search and tests.

#include "HelpDocument.h"

namespace ts {
namespace {

QString hotspotOpening(HelpHotspot::Kind kind)
{
    switch (kind) {
    case HelpHotspot::Kind::Jump:
        return QStringLiteral("[jump ");
    case HelpHotspot::Kind::Popup:
        return QStringLiteral("[pop-up ");
    case HelpHotspot::Kind::Macro:
        return QStringLiteral("[macro ");
    }
    return QStringLiteral("[");
}

class TopicTextWriter {
public:
    TopicTextWriter(const HelpDocument& document, const HelpTopicContent& content, bool marked)
        : document_(document), content_(content), marked_(marked)
    {
    }

    void paragraphs(const std::vector<HelpParagraph>& paragraphs)
    {
        int row = -1, column = -1;
        for (const HelpParagraph& paragraph : paragraphs) {
            // The cells of a table row share one line, a tab apart; a cell's
            // further paragraphs and everything else start a line of their own.
            if (paragraph.tableRow >= 0 && paragraph.tableRow == row && paragraph.column != column)
                out_ += QLatin1Char('\t');
            else if (started_)
                out_ += QLatin1Char('\n');
            started_ = true;
            row = paragraph.tableRow;
            column = paragraph.column;
            for (const HelpRun& run : paragraph.runs)
                this->run(run);
            closeHotspot();
        }
    }

    QString text()
    {
        if (started_)
            out_ += QLatin1Char('\n');
        return out_;
    }

private:
    void run(const HelpRun& run)
    {
        if (run.hotspot != hotspot_) {
            closeHotspot();
            if (run.hotspot >= 0 && run.hotspot < int(content_.hotspots.size()) && marked_)
                out_ += hotspotOpening(content_.hotspots[size_t(run.hotspot)].kind);
            hotspot_ = run.hotspot;
        }
        if (run.kind == HelpRun::Kind::Text) {
            QString text = run.text;
            text.replace(QChar::LineSeparator, QLatin1Char('\n'));
            out_ += text;
        } else if (run.kind == HelpRun::Kind::EmbeddedWindow && marked_ && run.embedded
                   && run.embedded->kind == HelpEmbeddedWindow::Kind::Button) {
            out_ += QStringLiteral("{button ") + run.embedded->caption + QLatin1Char('}');
        }
    }

    void closeHotspot()
    {
        if (hotspot_ >= 0 && hotspot_ < int(content_.hotspots.size()) && marked_)
            out_ += QStringLiteral(" -> ") + document_.targetText(content_.hotspots[size_t(hotspot_)])
                    + QLatin1Char(']');
        hotspot_ = -1;
    }

    const HelpDocument& document_;
    const HelpTopicContent& content_;
    bool marked_;
    bool started_ = false;
    int hotspot_ = -1;
    QString out_;
};

} // namespace

QString HelpDocument::topicText(int index, TextStyle style) const
{
    const HelpTopicContent& topicContent = content(index);
    TopicTextWriter writer(*this, topicContent, style == TextStyle::MarkedLinks);
    writer.paragraphs(topicContent.nonScrolling);
    writer.paragraphs(topicContent.scrolling);
    return writer.text();
}

} // namespace ts
