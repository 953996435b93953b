// The tests' help file reader: |TOPIC, its blocks, the record chain and
// the text of every record.

#include "HelpFileReaderCursor.h"

#include "helpfile/HelpFileFormat.h"

#include <algorithm>
#include <array>

namespace ts::hlpread::detail {
namespace {

namespace fmt = ts::helpfile::format;

// ------------------------------------------------------------------- |TOPIC

struct TopicStream {
    QList<QByteArray> blocks;    // each block's record bytes
    QList<qsizetype> starts;     // stream position of each block's first byte
    QByteArray stream;           // all blocks one after the other
    QList<std::array<std::int32_t, 3>> headers;

    // The stream position of a TOPICPOS, checked.
    qsizetype locate(std::int32_t topicPos, const QString& what) const
    {
        const qsizetype block = std::uint32_t(topicPos) >> fmt::TopicPosBlockShift;
        const qsizetype offset = qsizetype(std::uint32_t(topicPos) & ((1u << fmt::TopicPosBlockShift) - 1)) - fmt::TopicBlockHeaderSize;
        if (topicPos < 0 || block >= blocks.size() || offset < 0 || offset >= blocks[block].size())
            fail("|TOPIC", what + QStringLiteral(" TOPICPOS %1 points outside the blocks").arg(hex(topicPos)));
        return starts[block] + offset;
    }
    int blockOf(qsizetype streamPos) const
    {
        return int(std::upper_bound(starts.begin(), starts.end(), streamPos) - starts.begin()) - 1;
    }
};

TopicStream readBlocks(const InternalFile& f, bool compressed)
{
    TopicStream s;
    for (qsizetype at = 0; at < f.data.size(); at += fmt::TopicBlockSize) {
        Cursor c(f.data, "|TOPIC", f.headerOffset + fmt::InternalHeaderSize, at,
                 std::min<qsizetype>(at + fmt::TopicBlockSize, f.data.size()));
        std::array<std::int32_t, 3> h{c.s32(), c.s32(), c.s32()};
        QByteArray raw = c.bytes(c.left());
        if (compressed) {
            try {
                raw = lz77Decompress(raw);
            } catch (const HelpFileError& e) {
                fail("|TOPIC", QStringLiteral("block %1: %2").arg(s.blocks.size()).arg(QString::fromUtf8(e.what())),
                     f.headerOffset + fmt::InternalHeaderSize + at);
            }
            if (raw.size() > fmt::DecompressedBlockSize)
                fail("|TOPIC", QStringLiteral("block %1 decompresses to %2 bytes").arg(s.blocks.size()).arg(raw.size()),
                     f.headerOffset + fmt::InternalHeaderSize + at);
        }
        s.headers.append(h);
        s.starts.append(s.stream.size());
        s.blocks.append(raw);
        s.stream += raw;
    }
    if (s.blocks.isEmpty())
        fail("|TOPIC", QStringLiteral("no blocks"));
    return s;
}

struct RawRecord {
    std::int32_t pos = 0;
    qsizetype at = 0; // stream position
    std::int32_t blockSize = 0, dataLen2 = 0, prev = 0, next = 0, dataLen1 = 0;
    std::uint8_t type = 0;
    QByteArray linkData1, linkData2;
    std::uint32_t topicOffset = 0;
};

// The paragraph bits and the fields they announce.
Paragraph readParagraphFormat(Cursor& c, bool nonScrolling)
{
    Paragraph format;
    format.nonScrolling = nonScrolling;
    format.bits = c.u16();
    const std::uint16_t b = format.bits;
    if (b & fmt::ParagraphUnknownLong)
        c.csl();
    if (b & fmt::ParagraphSpaceBefore)
        format.spaceBefore = c.css();
    if (b & fmt::ParagraphSpaceAfter)
        format.spaceAfter = c.css();
    if (b & fmt::ParagraphLineSpacing)
        format.lineSpacing = c.css();
    if (b & fmt::ParagraphLeftIndent)
        format.leftIndent = c.css();
    if (b & fmt::ParagraphRightIndent)
        format.rightIndent = c.css();
    if (b & fmt::ParagraphFirstIndent)
        format.firstIndent = c.css();
    if (b & fmt::ParagraphBorder) {
        format.border = c.u8();
        c.s16();
    }
    if (b & fmt::ParagraphTabs) {
        const int n = c.css();
        if (n < 0)
            c.error(QStringLiteral("negative tab count"));
        for (int i = 0; i < n; ++i) {
            const int position = c.cus();
            format.tabs.append({position & fmt::TabPositionMask, position & fmt::TabHasType ? c.cus() : 0});
        }
    }
    return format;
}

void readText(const RawRecord& r, QList<Paragraph>& into, bool nonScrolling)
{
    const QString where = QStringLiteral("text record at TOPICPOS ") + hex(r.pos);
    const QByteArray what = where.toLatin1();
    Cursor c(r.linkData1, what);
    const std::int32_t topicSize = c.csl();
    const int topicLength = c.cus();
    if (topicSize != c.left())
        c.error(QStringLiteral("TopicSize %1 but %2 bytes follow").arg(topicSize).arg(c.left()));
    c.u8();
    c.u8();
    c.u16();
    const Paragraph format = readParagraphFormat(c, nonScrolling);

    Cursor strings(r.linkData2, what);
    Paragraph p = format;
    int font = -1;
    int hotspot = -1;
    int counted = int(r.linkData2.size());
    auto addPiece = [&](Piece::Kind kind, const QByteArray& text = QByteArray()) {
        Piece piece{kind, text, font, hotspot, -1};
        if (hotspot >= 0 && kind == Piece::Text)
            p.hotspots[hotspot].text += text;
        p.pieces.append(piece);
    };
    auto openHotspot = [&](Hotspot h) {
        if (hotspot >= 0)
            c.error(QStringLiteral("hotspot inside a hotspot"));
        p.hotspots.append(h);
        hotspot = int(p.hotspots.size() - 1);
    };
    auto closeParagraph = [&] {
        if (hotspot >= 0)
            c.error(QStringLiteral("hotspot not closed at the end of the paragraph"));
        into.append(p);
        p = format;
    };
    for (;;) {
        const QByteArray text = strings.stringz();
        if (!text.isEmpty())
            addPiece(Piece::Text, text);
        const std::uint8_t code = c.u8();
        switch (code) {
        case fmt::CommandFont: font = c.u16(); break;
        case fmt::CommandLineBreak: addPiece(Piece::LineBreak); break;
        case fmt::CommandParagraphEnd: closeParagraph(); break;
        case fmt::CommandTab: addPiece(Piece::Tab); break;
        case fmt::CommandNonBreakingSpace: addPiece(Piece::NbSpace); break;
        case fmt::CommandNonBreakingHyphen: addPiece(Piece::NbHyphen); break;
        case fmt::CommandObjectInLine:
        case fmt::CommandObjectLeft:
        case fmt::CommandObjectRight: {
            const std::uint8_t type = c.u8();
            const std::int32_t size = c.csl();
            if (type == fmt::ObjectPicture) {
                counted += c.cus();
                Cursor data(r.linkData1, what, 0, c.pos(), c.pos() + size);
                if (size < 4 || data.s16() != 0)
                    c.error(QStringLiteral("picture not stored in a file of its own"));
                p.pictures.append(Picture{code, data.s16()});
                addPiece(Piece::Picture);
                p.pieces.last().picture = int(p.pictures.size() - 1);
            } else if (type == fmt::ObjectEmbeddedWindow) {
                Cursor data(r.linkData1, what, 0, c.pos(), c.pos() + size);
                data.skip(2 * fmt::EmbeddedWindowUnknownWords);
                addPiece(Piece::Button, data.stringz());
            } else {
                c.error(QStringLiteral("unknown picture type %1").arg(hex(type)));
            }
            c.skip(size);
            break;
        }
        case fmt::CommandPopup:
        case fmt::CommandJump:
        case fmt::CommandPopupPlain:
        case fmt::CommandJumpPlain: {
            Hotspot h;
            h.code = code;
            h.kind = code & fmt::HotspotJumpBit ? Hotspot::Jump : Hotspot::Popup;
            h.plain = code & fmt::HotspotPlainBit;
            h.hash = c.s32();
            openHotspot(h);
            break;
        }
        case fmt::CommandPopupFile:
        case fmt::CommandJumpFile:
        case fmt::CommandPopupFilePlain:
        case fmt::CommandJumpFilePlain: {
            Hotspot h;
            h.code = code;
            h.kind = code & fmt::HotspotJumpBit ? Hotspot::Jump : Hotspot::Popup;
            h.plain = code & fmt::HotspotPlainBit;
            const int n = c.u16();
            Cursor data(r.linkData1, what, 0, c.pos(), c.pos() + n);
            h.linkKind = data.u8();
            h.hash = data.s32();
            if (h.linkKind == fmt::LinkWindow)
                h.windowNumber = data.u8();
            else if (h.linkKind == fmt::LinkFile)
                h.file = data.stringz();
            else if (h.linkKind == fmt::LinkFileWindow) {
                h.windowName = data.stringz();
                h.file = data.stringz();
            } else if (h.linkKind != fmt::LinkSameFile)
                data.error(QStringLiteral("unknown link kind %1").arg(h.linkKind));
            if (!data.atEnd())
                data.error(QStringLiteral("%1 bytes left over in a link").arg(data.left()));
            c.skip(n);
            openHotspot(h);
            break;
        }
        case fmt::CommandMacro:
        case fmt::CommandMacroPlain: {
            Hotspot h;
            h.code = code;
            h.kind = Hotspot::Macro;
            h.plain = code & fmt::HotspotPlainBit;
            const int n = c.u16();
            Cursor data(r.linkData1, what, 0, c.pos(), c.pos() + n);
            h.macro = data.stringz();
            if (!data.atEnd())
                data.error(QStringLiteral("macro length %1 does not end at its NUL").arg(n));
            c.skip(n);
            openHotspot(h);
            break;
        }
        case fmt::CommandHotspotEnd:
            if (hotspot < 0)
                c.error(QStringLiteral("end of a hotspot that was not opened"));
            hotspot = -1;
            break;
        case fmt::CommandEnd:
            if (!p.pieces.isEmpty())
                closeParagraph();
            if (hotspot >= 0)
                c.error(QStringLiteral("hotspot not closed at the end of the record"));
            if (!c.atEnd())
                c.error(QStringLiteral("%1 bytes after the end command").arg(c.left()));
            if (!strings.atEnd())
                strings.error(QStringLiteral("%1 text bytes without a command").arg(strings.left()));
            if (topicLength != counted)
                fail(what, QStringLiteral("TopicLength %1, but text and pictures count %2").arg(topicLength).arg(counted));
            return;
        default:
            c.error(QStringLiteral("unknown command %1").arg(hex(code)));
        }
    }
}

// Each block header against the records that start in the block.
void checkBlockHeaders(const TopicStream& s, const QList<RawRecord>& records)
{
    for (qsizetype bi = 0; bi < s.blocks.size(); ++bi) {
        std::int32_t lastLink = -1, lastHeader = 0, first = -1;
        for (const RawRecord& r : records) {
            const int b = s.blockOf(r.at);
            if (b < bi) {
                lastLink = r.pos;
                if (r.type == fmt::RecordTopicHeader)
                    lastHeader = r.pos;
            } else if (b == bi && first == -1) {
                first = r.pos;
            }
        }
        if (first == -1)
            continue;
        const std::array<std::int32_t, 3> want{lastLink, first, lastHeader};
        if (s.headers[bi] != want)
            fail("|TOPIC", QStringLiteral("block %1 header holds %2 %3 %4 instead of %5 %6 %7")
                               .arg(bi).arg(hex(s.headers[bi][0]), hex(s.headers[bi][1]), hex(s.headers[bi][2]),
                                            hex(want[0]), hex(want[1]), hex(want[2])));
    }
}

// The records in chain order, each checked against its neighbours and its
// block; counts the stream's size and the records crossing a block end.
QList<RawRecord> readChain(const TopicStream& s, HelpFile& out)
{
    QList<RawRecord> records;
    std::int32_t pos = s.headers[0][1];
    std::int32_t previous = -1;
    int block = -1;
    std::uint32_t chars = 0;
    while (pos != -1) {
        RawRecord r;
        r.pos = pos;
        r.at = s.locate(pos, QStringLiteral("record"));
        if (!records.isEmpty() && r.at <= records.last().at)
            fail("|TOPIC", QStringLiteral("record chain goes backwards to TOPICPOS %1").arg(hex(pos)));
        Cursor c(s.stream, "|TOPIC stream", 0, r.at);
        r.blockSize = c.s32();
        r.dataLen2 = c.s32();
        r.prev = c.s32();
        r.next = c.s32();
        r.dataLen1 = c.s32();
        r.type = c.u8();
        const QString here = QStringLiteral(" in the record at TOPICPOS ") + hex(pos);
        if (r.prev != previous)
            fail("|TOPIC", QStringLiteral("PrevBlock %1 instead of %2").arg(hex(r.prev), hex(previous)) + here);
        if (r.dataLen1 < fmt::RecordHeaderSize || r.blockSize < r.dataLen1 || r.blockSize - r.dataLen1 != r.dataLen2)
            fail("|TOPIC", QStringLiteral("sizes BlockSize %1, DataLen1 %2, DataLen2 %3 do not agree")
                               .arg(r.blockSize).arg(r.dataLen1).arg(r.dataLen2) + here);
        const int b = s.blockOf(r.at);
        if (r.at + r.dataLen1 > s.starts[b] + s.blocks[b].size())
            fail("|TOPIC", QStringLiteral("header and LinkData1 cross the end of block %1").arg(b) + here);
        if (r.at + r.blockSize > s.stream.size())
            fail("|TOPIC", QStringLiteral("record runs past the last block") + here);
        if (r.at + r.blockSize > s.starts[b] + s.blocks[b].size())
            ++out.crossingRecords;
        r.linkData1 = s.stream.mid(r.at + fmt::RecordHeaderSize, r.dataLen1 - fmt::RecordHeaderSize);
        r.linkData2 = s.stream.mid(r.at + r.dataLen1, r.dataLen2);
        out.topicUncompressedSize += r.blockSize;
        if (b != block) {
            block = b;
            chars = 0;
        }
        r.topicOffset = (std::uint32_t(b) << fmt::TopicOffsetBlockShift) + chars;
        if (r.type == fmt::RecordText) {
            Cursor lengths(r.linkData1, "text record");
            lengths.csl();
            chars += std::uint32_t(lengths.cus());
        } else if (r.type != fmt::RecordTopicHeader) {
            fail("|TOPIC", QStringLiteral("record type %1 is not read").arg(hex(r.type)) + here);
        }
        records.append(r);
        previous = pos;
        pos = r.next;
    }
    if (records.isEmpty() || records.last().type != fmt::RecordTopicHeader)
        fail("|TOPIC", QStringLiteral("the chain does not end with the closing topic header"));
    return records;
}

} // namespace

void readTopics(const InternalFile& f, HelpFile& out)
{
    if (out.system.flags != fmt::SystemFlagsPlain && out.system.flags != fmt::SystemFlagsCompressed)
        fail("|SYSTEM", QStringLiteral("flags %1: only 0 and 4 are read").arg(out.system.flags));
    out.compressed = out.system.flags == fmt::SystemFlagsCompressed;
    const TopicStream s = readBlocks(f, out.compressed);
    out.topicBlocks = int(s.blocks.size());

    const QList<RawRecord> records = readChain(s, out);
    checkBlockHeaders(s, records);

    // Topics.
    QList<std::pair<Topic, QList<const RawRecord*>>> topics;
    for (const RawRecord& r : records) {
        if (r.type == fmt::RecordTopicHeader) {
            Cursor c(r.linkData1, QString(QStringLiteral("topic header at TOPICPOS ") + hex(r.pos)).toLatin1());
            Topic t;
            t.topicPos = r.pos;
            t.topicOffset = r.topicOffset;
            t.blockSize = c.s32();
            t.browseBack = c.s32();
            t.browseForward = c.s32();
            t.topicNumber = c.s32();
            t.nonScroll = c.s32();
            t.scroll = c.s32();
            t.nextTopic = c.s32();
            const QList<QByteArray> parts = r.linkData2.split('\0');
            t.title = parts.value(0);
            t.entryMacros = parts.mid(1);
            topics.append({t, {}});
        } else {
            if (topics.isEmpty())
                fail("|TOPIC", QStringLiteral("text record before the first topic header at TOPICPOS ") + hex(r.pos));
            topics.last().second.append(&r);
        }
    }
    const Topic end = topics.last().first;
    if (!topics.last().second.isEmpty() || !end.title.isEmpty() || end.nonScroll != -1 || end.scroll != -1 ||
        end.nextTopic != -1)
        fail("|TOPIC", QStringLiteral("the closing topic header at TOPICPOS %1 is not empty").arg(hex(end.topicPos)));
    out.endOffset = end.topicOffset;
    for (qsizetype i = 0; i < topics.size(); ++i) {
        Topic& t = topics[i].first;
        const QString here = QStringLiteral(" in the topic header at TOPICPOS ") + hex(t.topicPos);
        if (t.topicNumber != i)
            fail("|TOPIC", QStringLiteral("TopicNum %1 instead of %2").arg(t.topicNumber).arg(i) + here);
        if (i + 1 < topics.size() && t.nextTopic != topics[i + 1].first.topicPos)
            fail("|TOPIC", QStringLiteral("NextTopic %1 instead of %2").arg(hex(t.nextTopic), hex(topics[i + 1].first.topicPos)) + here);
        if (i + 1 == topics.size())
            break;
        const QList<const RawRecord*>& texts = topics[i].second;
        qsizetype scrollAt = texts.size();
        if (t.scroll != -1) {
            scrollAt = std::find_if(texts.begin(), texts.end(), [&](const RawRecord* r) { return r->pos == t.scroll; }) - texts.begin();
            if (scrollAt == texts.size())
                fail("|TOPIC", QStringLiteral("Scroll %1 is none of the topic's records").arg(hex(t.scroll)) + here);
        }
        if (!texts.isEmpty()) {
            const std::int32_t firstPos = texts.first()->pos;
            if ((t.nonScroll != -1) != (scrollAt > 0) || (t.nonScroll != -1 && t.nonScroll != firstPos))
                fail("|TOPIC", QStringLiteral("NonScroll %1 does not name the topic's first header record").arg(hex(t.nonScroll)) + here);
        } else if (t.nonScroll != -1 || t.scroll != -1) {
            fail("|TOPIC", QStringLiteral("NonScroll/Scroll set for a topic without text") + here);
        }
        for (qsizetype k = 0; k < texts.size(); ++k)
            readText(*texts[k], k < scrollAt ? t.header : t.body, k < scrollAt);
        out.topics.append(t);
    }
    for (const Topic& t : out.topics)
        for (std::int32_t browse : {t.browseBack, t.browseForward})
            if (browse != -1 && !out.topicAt(std::uint32_t(browse)))
                fail("|TOPIC", QStringLiteral("browse link %1 is no topic").arg(hex(browse)));
}

} // namespace ts::hlpread::detail
