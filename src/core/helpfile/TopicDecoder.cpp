#include "TopicDecoder.h"

#include "HelpCodePage.h"
#include "HelpFileFormat.h"

namespace ts::helpfile::reading {

namespace {

using namespace format;

const QString TopicFile = QStringLiteral("|TOPIC");

HelpParagraph readParagraphInfo(ByteCursor& c)
{
    HelpParagraph p;
    c.skip(4); // leading bytes whose meaning is not known
    const int bits = c.u16();
    auto twips = [&](int bit, int& field) {
        if (bits & bit)
            field = c.css() * ParagraphUnitTwips;
    };
    if (bits & ParagraphUnknownLong)
        c.csl();
    twips(ParagraphSpaceBefore, p.spaceBefore);
    twips(ParagraphSpaceAfter, p.spaceAfter);
    twips(ParagraphLineSpacing, p.lineSpacing);
    twips(ParagraphLeftIndent, p.leftIndent);
    twips(ParagraphRightIndent, p.rightIndent);
    twips(ParagraphFirstIndent, p.firstIndent);
    if (bits & ParagraphBorder) {
        const int border = c.u8();
        p.border.box = border & BorderBox;
        p.border.top = border & BorderTop;
        p.border.left = border & BorderLeft;
        p.border.bottom = border & BorderBottom;
        p.border.right = border & BorderRight;
        p.border.thick = border & BorderThick;
        p.border.doubleLine = border & BorderDouble;
        p.border.width = c.s16() * ParagraphUnitTwips;
    }
    if (bits & ParagraphTabs) {
        const int count = c.css();
        for (int i = 0; i < count && c.ok() && !c.atEnd(); ++i) {
            const int stop = c.cus();
            const int type = (stop & TabHasType) ? c.cus() : TabLeft;
            HelpTabStop tab;
            tab.position = (stop & TabPositionMask) * ParagraphUnitTwips;
            tab.kind = type == TabRight ? HelpTabStop::Kind::Right
                       : type == TabCentre ? HelpTabStop::Kind::Center
                                           : HelpTabStop::Kind::Left;
            p.tabs.push_back(tab);
        }
    }
    p.align = (bits & ParagraphCentred) ? HelpAlignment::Center
              : (bits & ParagraphRightAligned) ? HelpAlignment::Right
                                               : HelpAlignment::Left;
    p.keepTogether = bits & ParagraphKeepTogether;
    return p;
}

HelpEmbeddedWindow embeddedWindow(const QString& definition, int width, int height)
{
    HelpEmbeddedWindow w;
    w.definition = definition;
    w.width = width;
    w.height = height;
    if (definition.startsWith(QLatin1Char(ButtonPrefix))) {
        w.kind = HelpEmbeddedWindow::Kind::Button;
        const QString rest = definition.mid(1);
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        w.caption = comma < 0 ? rest : rest.left(comma);
        w.macro = comma < 0 ? QString() : rest.mid(comma + 1);
    } else if (definition.startsWith(QLatin1Char(MediaPrefix))) {
        w.kind = HelpEmbeddedWindow::Kind::Media;
        const QStringList parts = definition.mid(1).split(QLatin1Char(','));
        w.options = parts.mid(0, qMin<qsizetype>(2, parts.size() - 1)).join(QLatin1Char(','));
        w.file = parts.size() > 2 ? parts.mid(2).join(QLatin1Char(',')) : parts.value(parts.size() - 1);
    } else {
        w.kind = HelpEmbeddedWindow::Kind::Window;
        const QStringList parts = definition.split(QLatin1Char(','));
        w.dll = parts.value(0);
        w.windowClass = parts.value(1);
        w.parameter = parts.size() > 2 ? parts.mid(2).join(QLatin1Char(',')) : QString();
    }
    return w;
}

class RecordDecoder {
public:
    RecordDecoder(const TopicDecodeContext& context, HelpTopicContent& out, ReadProblems& problems, int topic)
        : context_(context), out_(out), problems_(problems), topic_(topic)
    {
    }

    void decode(const TopicLinkRecord& record, std::vector<HelpParagraph>& region);

private:
    void decodeTable(ByteCursor& c);
    // Runs the commands up to the 0xFF that ends them; false when the
    // record cannot be read on.
    bool runCommands(ByteCursor& c);
    bool command(std::uint8_t code, ByteCursor& c);
    bool hotspotCommand(std::uint8_t code, ByteCursor& c);
    bool objectCommand(std::uint8_t code, ByteCursor& c);
    void takeString();
    void appendText(const QString& text);
    void appendRun(HelpRun run);
    void endParagraph(bool evenIfEmpty);
    void startParagraph();
    void problem(const QString& message, qint64 at = -1);
    int addHotspot(HelpHotspot hotspot);

    const TopicDecodeContext& context_;
    HelpTopicContent& out_;
    ReadProblems& problems_;
    int topic_;
    std::vector<HelpParagraph>* region_ = nullptr;
    const TopicLinkRecord* record_ = nullptr;

    QByteArray text_;
    qsizetype textPos_ = 0;
    std::uint32_t offset_ = 0;      // TOPICOFFSET of the next character
    HelpParagraph format_;          // the record's (or cell's) paragraph info
    HelpParagraph paragraph_;       // the paragraph being built
    int font_ = -1;
    int hotspot_ = -1;
    bool nonBreakingHyphen_ = false;
};

void RecordDecoder::problem(const QString& message, qint64 at)
{
    problems_.add(TopicFile, at >= 0 ? at : record_->pos, message, topic_);
}

void RecordDecoder::decode(const TopicLinkRecord& record, std::vector<HelpParagraph>& region)
{
    record_ = &record;
    region_ = &region;
    bool damaged = false;
    text_ = context_.stream->text(record, *context_.phrases, &damaged);
    if (damaged)
        problem(QStringLiteral("the record's text cannot be expanded whole"));
    textPos_ = 0;
    offset_ = record.topicOffset;
    hotspot_ = -1;
    ByteCursor c = context_.stream->linkData1(record);
    if (record.type == RecordText30) {
        c.csl();
    } else {
        c.csl(); // size of what follows
        c.cus(); // characters, counted already
    }
    if (record.type == RecordTable) {
        decodeTable(c);
        return;
    }
    format_ = readParagraphInfo(c);
    startParagraph();
    if (!c.ok())
        problem(QStringLiteral("the paragraph information is cut short"));
    else
        runCommands(c);
    endParagraph(false);
}

void RecordDecoder::decodeTable(ByteCursor& c)
{
    HelpTableRow row;
    const int columns = c.u8();
    const int type = c.u8();
    row.fixedWidth = type == TableFixed || type == TableFixed2;
    if (!row.fixedWidth)
        row.minimumWidth = c.s16() * ParagraphUnitTwips;
    for (int i = 0; i < columns && c.ok(); ++i) {
        HelpTableRow::Column column;
        column.width = c.s16();
        column.gap = c.s16();
        if (row.fixedWidth) {
            column.width *= ParagraphUnitTwips;
            column.gap *= ParagraphUnitTwips;
        }
        row.columns.push_back(column);
    }
    const int rowIndex = int(out_.tableRows.size());
    out_.tableRows.push_back(row);
    for (int cells = 0; c.ok() && cells <= 64; ++cells) {
        const int column = c.s16();
        if (column == TableEnd || !c.ok())
            return;
        c.skip(3); // bytes whose meaning is not known
        format_ = readParagraphInfo(c);
        format_.tableRow = rowIndex;
        format_.column = column;
        startParagraph();
        const bool readOn = c.ok() && runCommands(c);
        // An empty cell still takes its place in the row.
        endParagraph(paragraph_.runs.empty() && (region_->empty() || region_->back().tableRow != rowIndex
                                                 || region_->back().column != column));
        if (!readOn)
            return;
    }
    problem(QStringLiteral("a table row is damaged"));
}

bool RecordDecoder::runCommands(ByteCursor& c)
{
    while (true) {
        takeString();
        if (c.atEnd()) {
            problem(QStringLiteral("the record's commands end without their end mark"));
            return false;
        }
        const std::uint8_t code = c.u8();
        if (code == CommandEnd)
            return true;
        if (!command(code, c))
            return false;
        if (!c.ok()) {
            problem(QStringLiteral("the record's commands are cut short"));
            return false;
        }
    }
}

bool RecordDecoder::command(std::uint8_t code, ByteCursor& c)
{
    switch (code) {
    case CommandField:
        c.s32();
        return true;
    case CommandDataType:
        c.s16();
        return true;
    case CommandFont: {
        const int font = c.u16();
        font_ = font < context_.fontCount ? font : -1;
        if (font >= context_.fontCount && c.ok())
            problem(QStringLiteral("font %1 is not in the font table").arg(font));
        return true;
    }
    case CommandLineBreak:
        appendText(QString(QChar::LineSeparator));
        return true;
    case CommandParagraphEnd:
        endParagraph(true);
        startParagraph();
        return true;
    case CommandTab:
        appendText(QStringLiteral("\t"));
        return true;
    case CommandObjectInLine:
    case CommandObjectLeft:
    case CommandObjectRight:
        return objectCommand(code, c);
    case CommandHotspotEnd:
        hotspot_ = -1;
        return true;
    case CommandNonBreakingSpace:
        appendText(QString(QChar(0x00A0)));
        return true;
    case CommandNonBreakingHyphen:
        nonBreakingHyphen_ = true;
        return true;
    default:
        if (code == CommandMacro || code == CommandMacroPlain || (code >= CommandPopup30 && code <= CommandJumpFilePlain))
            return hotspotCommand(code, c);
        problem(QStringLiteral("unknown text command 0x%1; the rest of the record is left out").arg(code, 2, 16, QLatin1Char('0')));
        return false;
    }
}

int RecordDecoder::addHotspot(HelpHotspot hotspot)
{
    if (hotspot.kind != HelpHotspot::Kind::Macro && hotspot.file.isEmpty()) {
        if (hotspot.targetTopicNumber >= 0) {
            const auto it = context_.topicByNumber.find(hotspot.targetTopicNumber);
            hotspot.targetTopic = it == context_.topicByNumber.end() ? -1 : it->second;
        } else {
            const auto it = context_.targets.find(hotspot.targetHash);
            hotspot.targetTopic = it == context_.targets.end() ? -1 : it->second.topic;
            const auto id = context_.idNames.find(hotspot.targetHash);
            if (id != context_.idNames.end())
                hotspot.targetId = id->second;
        }
    }
    out_.hotspots.push_back(std::move(hotspot));
    return int(out_.hotspots.size()) - 1;
}

bool RecordDecoder::hotspotCommand(std::uint8_t code, ByteCursor& c)
{
    HelpHotspot h;
    h.drawnAsHotspot = !(code & HotspotPlainBit);
    if (code == CommandMacro || code == CommandMacroPlain) {
        h.kind = HelpHotspot::Kind::Macro;
        const QByteArray stored = c.bytes(c.u16());
        ByteCursor macro(stored);
        h.macro = decodeText(macro.stringz(), context_.codePage);
    } else if (code == CommandPopup30 || code == CommandJump30) {
        h.kind = (code & HotspotJumpBit) ? HelpHotspot::Kind::Jump : HelpHotspot::Kind::Popup;
        h.targetTopicNumber = c.s32();
    } else if (code <= CommandJumpPlain) {
        h.kind = (code & HotspotJumpBit) ? HelpHotspot::Kind::Jump : HelpHotspot::Kind::Popup;
        h.targetHash = c.s32();
    } else {
        h.kind = (code & HotspotJumpBit) ? HelpHotspot::Kind::Jump : HelpHotspot::Kind::Popup;
        const QByteArray argument = c.bytes(c.u16());
        ByteCursor a(argument);
        const int kind = a.u8();
        h.targetHash = a.s32();
        if (kind == LinkWindow) {
            h.windowNumber = a.u8();
            h.window = context_.windowNames.size() > size_t(h.windowNumber) ? context_.windowNames[size_t(h.windowNumber)]
                                                                            : QString();
        } else if (kind == LinkFile) {
            h.file = decodeText(a.stringz(), context_.codePage);
        } else if (kind == LinkFileWindow) {
            h.window = decodeText(a.stringz(), context_.codePage);
            h.file = decodeText(a.stringz(), context_.codePage);
        }
        if (!a.ok())
            problem(QStringLiteral("a link's target is damaged"));
    }
    if (!c.ok())
        return true; // reported by the caller
    hotspot_ = addHotspot(std::move(h));
    return true;
}

bool RecordDecoder::objectCommand(std::uint8_t code, ByteCursor& c)
{
    const int type = c.u8();
    const std::int32_t size = c.csl();
    const int positions = type == ObjectPicture ? c.cus() : 0;
    if (size < 0 || size > c.left()) {
        problem(QStringLiteral("a picture or embedded window is cut short"));
        return false;
    }
    const QByteArray object = c.bytes(size);
    ByteCursor data(object);
    HelpRun run;
    run.font = font_;
    run.hotspot = hotspot_;
    run.placement = code == CommandObjectLeft ? HelpPlacement::Left
                    : code == CommandObjectRight ? HelpPlacement::Right
                                                 : HelpPlacement::InLine;
    if (type == ObjectPicture || type == ObjectPicture30) {
        run.kind = HelpRun::Kind::Picture;
        if (data.s16() == 0) {
            run.picture = data.s16();
        } else if (context_.decodePicture) {
            run.pictureInTopic = int(out_.pictures.size());
            out_.pictures.push_back(context_.decodePicture(data.bytes(data.left())));
        }
        offset_ += std::uint32_t(positions);
    } else if (type == ObjectEmbeddedWindow) {
        run.kind = HelpRun::Kind::EmbeddedWindow;
        const int width = data.s16();
        const int height = data.s16();
        data.s16();
        run.embedded = embeddedWindow(decodeText(data.stringz(), context_.codePage), width, height);
    } else {
        problem(QStringLiteral("an object of unknown type %1 is left out").arg(type));
        return true;
    }
    appendRun(std::move(run));
    return true;
}

void RecordDecoder::takeString()
{
    qsizetype end = text_.indexOf('\0', textPos_);
    const bool terminated = end >= 0;
    if (!terminated)
        end = text_.size();
    if (end > textPos_) {
        QString text = decodeText(text_.mid(textPos_, end - textPos_), context_.codePage);
        if (nonBreakingHyphen_) {
            if (text.startsWith(QLatin1Char('-')))
                text[0] = QChar(0x2011);
            else
                text.prepend(QChar(0x2011));
            nonBreakingHyphen_ = false;
        }
        appendText(text);
    }
    offset_ += std::uint32_t(end - textPos_ + (terminated ? 1 : 0));
    textPos_ = terminated ? end + 1 : end;
}

void RecordDecoder::appendText(const QString& text)
{
    if (!paragraph_.runs.empty()) {
        HelpRun& last = paragraph_.runs.back();
        if (last.kind == HelpRun::Kind::Text && last.font == font_ && last.hotspot == hotspot_) {
            last.text += text;
            return;
        }
    }
    HelpRun run;
    run.text = text;
    run.font = font_;
    run.hotspot = hotspot_;
    appendRun(std::move(run));
}

void RecordDecoder::appendRun(HelpRun run) { paragraph_.runs.push_back(std::move(run)); }

void RecordDecoder::startParagraph()
{
    std::vector<HelpRun> none;
    paragraph_ = format_;
    paragraph_.runs.swap(none);
    paragraph_.topicOffset = offset_;
}

void RecordDecoder::endParagraph(bool evenIfEmpty)
{
    if (paragraph_.runs.empty() && !evenIfEmpty)
        return;
    region_->push_back(std::move(paragraph_));
    paragraph_.runs.clear();
}

} // namespace

HelpTopicContent decodeTopic(const TopicDecodeContext& context, int topic, int first, int end,
                             std::int32_t scrollPos, bool hasNonScrolling, const QString& fileName)
{
    HelpTopicContent content;
    ReadProblems problems(fileName, content.problems);
    RecordDecoder decoder(context, content, problems, topic);
    bool scrolling = !hasNonScrolling;
    const auto& records = context.stream->records();
    for (int i = first; i < end && i < int(records.size()); ++i) {
        const TopicLinkRecord& record = records[size_t(i)];
        if (record.pos == scrollPos)
            scrolling = true;
        if (record.type != RecordText && record.type != RecordTable && record.type != RecordText30) {
            problems.add(TopicFile, record.pos, QStringLiteral("a record of unknown type %1 is left out").arg(record.type), topic);
            continue;
        }
        decoder.decode(record, scrolling ? content.scrolling : content.nonScrolling);
    }
    return content;
}

} // namespace ts::helpfile::reading
