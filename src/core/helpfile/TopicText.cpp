#include "TopicText.h"

#include "ContextHash.h"
#include "HelpFileBytes.h"
#include "model/Project.h"
#include "model/Windows1252.h"

#include <QRegularExpression>

namespace ts::helpfile {
namespace {

// Limits that keep every record inside what the format can count: the
// strings of one record stay well below the 32767 characters a record may
// count, the commands well inside one 4 KB block.
constexpr qsizetype MaxRecordText = 30000;
constexpr qsizetype MaxRecordCommands = 3000;

constexpr char16_t LineSeparator = 0x2028;

enum Command : unsigned char {
    FontChange = 0x80,
    LineBreak = 0x81,
    EndOfParagraph = 0x82,
    Tab = 0x83,
    PictureInLine = 0x86,
    PictureLeft = 0x87,
    PictureRight = 0x88,
    EndOfHotspot = 0x89,
    MacroHotspot = 0xC8,
    PopupHere = 0xE2,
    JumpHere = 0xE3,
    PopupElsewhere = 0xEA,
    JumpElsewhere = 0xEB,
    EndOfCommands = 0xFF,
};

// The file name of a help file named with a path: the reader looks for it
// beside the help file and on its help path, never on the author's disk.
QString helpFileName(const QString& file)
{
    const qsizetype cut = qMax(qMax(file.lastIndexOf(QLatin1Char('\\')), file.lastIndexOf(QLatin1Char('/'))),
                               file.lastIndexOf(QLatin1Char(':')));
    return file.mid(cut + 1).trimmed();
}

int twipsToUnits(int twips)
{
    return qBound(-16384, (twips >= 0 ? twips + 5 : twips - 5) / 10, 16383);
}

} // namespace

QString quotedMacro(const QString& macro)
{
    static const QRegularExpression bare(QStringLiteral("^\\s*(ExecFile|ALink|KLink)\\s*\\(\\s*([^\"`'(),]*?)\\s*\\)\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = bare.match(macro);
    if (!m.hasMatch() || m.captured(2).isEmpty())
        return macro.trimmed();
    return m.captured(1) + QStringLiteral("(\"") + m.captured(2) + QStringLiteral("\")");
}

struct TopicTextEncoder::Piece {
    enum Kind { Text, Target, Picture, Button } kind = Text;
    QString text; // the text, the link target, the picture's path or the button's contents
    CharFormat format;
    unsigned char pictureCommand = PictureInLine;
    bool transparent = false;

    // 1 for a jump's text, 2 for a pop-up's, 0 for anything else.
    int hotspotKind() const
    {
        if (kind != Text && kind != Picture)
            return 0;
        return format.Strike ? 1 : format.Underline ? 2 : 0;
    }
};

class TopicTextEncoder::RecordBuilder {
public:
    explicit RecordBuilder(const Paragraph& p) : paragraph_(p) {}

    void command(const QByteArray& bytes)
    {
        strings_ += pending_;
        strings_ += '\0';
        pending_.clear();
        commands_ += bytes;
    }
    void command(unsigned char code) { command(QByteArray(1, char(code))); }
    void text(char byte) { pending_ += byte; }
    void countPicture() { ++pictures_; }
    bool full() const
    {
        return strings_.size() + pending_.size() > MaxRecordText || commands_.size() > MaxRecordCommands;
    }

    int Font = -1; // the descriptor in force, -1 before the first font change

    // Ends the paragraph and the record; the builder starts over for a
    // record that continues the same paragraph.
    TextRecord finish()
    {
        command(EndOfParagraph);
        command(EndOfCommands);
        QByteArray head;
        head += '\0';
        head += char(0x80);
        putU16(head, 0); // paragraph id
        unsigned bits = 0;
        QByteArray fields;
        if (paragraph_.LeftIndent != 0) {
            bits |= 0x0010;
        }
        if (paragraph_.RightIndent != 0)
            bits |= 0x0020;
        if (paragraph_.FirstIndent != 0)
            bits |= 0x0040;
        if (paragraph_.Align == Alignment::Right)
            bits |= 0x0400;
        else if (paragraph_.Align == Alignment::Center)
            bits |= 0x0800;
        if (bits & 0x0010)
            putCompressedS16(fields, twipsToUnits(paragraph_.LeftIndent));
        if (bits & 0x0020)
            putCompressedS16(fields, twipsToUnits(paragraph_.RightIndent));
        if (bits & 0x0040)
            putCompressedS16(fields, twipsToUnits(paragraph_.FirstIndent));
        putU16(head, bits);
        head += fields;

        TextRecord record;
        record.LinkData2 = strings_;
        record.TopicLength = int(strings_.size()) + pictures_;
        putCompressedS32(record.LinkData1, std::int32_t(head.size() + commands_.size()));
        putCompressedU16(record.LinkData1, unsigned(record.TopicLength));
        record.LinkData1 += head;
        record.LinkData1 += commands_;
        strings_.clear();
        commands_.clear();
        pictures_ = 0;
        Font = -1;
        return record;
    }

private:
    const Paragraph& paragraph_;
    QByteArray commands_;
    QByteArray strings_;
    QByteArray pending_;
    int pictures_ = 0;
};

TopicTextEncoder::TopicTextEncoder(const Project& project, HelpFonts& fonts, HelpPictures& pictures,
                                   const std::map<std::int32_t, int>& topicsByHash,
                                   std::function<void(const QString&)> warn)
    : project_(project), fonts_(fonts), pictures_(pictures), topicsByHash_(topicsByHash), warn_(std::move(warn))
{
}

int TopicTextEncoder::takeUnshownCharacters()
{
    const int n = unshown_;
    unshown_ = 0;
    return n;
}

std::vector<TextRecord> TopicTextEncoder::encode(const RichDocument& document)
{
    std::vector<TextRecord> records;
    for (const Paragraph& p : document.Paragraphs)
        encodeParagraph(p, records);
    return records;
}

// Splits a paragraph's runs into visible text, link targets, pictures and
// buttons.
std::vector<TopicTextEncoder::Piece> TopicTextEncoder::piecesOf(const Paragraph& paragraph) const
{
    static const QRegularExpression markup(
        QStringLiteral("\\{(bmct|bmlt|bmrt|bmc|bml|bmr|button)\\s([^{}]*)\\}"), QRegularExpression::CaseInsensitiveOption);
    std::vector<Piece> pieces;
    const auto addText = [&pieces](const QString& text, const CharFormat& format) {
        qsizetype at = 0;
        QRegularExpressionMatchIterator it = markup.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (m.capturedStart() > at)
                pieces.push_back({Piece::Text, text.mid(at, m.capturedStart() - at), format});
            const QString word = m.captured(1).toLower();
            Piece piece{word == QLatin1String("button") ? Piece::Button : Piece::Picture, m.captured(2), format};
            piece.pictureCommand = word.startsWith(QLatin1String("bml"))   ? PictureLeft
                                   : word.startsWith(QLatin1String("bmr")) ? PictureRight
                                                                           : PictureInLine;
            piece.transparent = word.size() == 4 && word.endsWith(QLatin1Char('t'));
            pieces.push_back(piece);
            at = m.capturedEnd();
        }
        if (at < text.size())
            pieces.push_back({Piece::Text, text.mid(at), format});
    };
    for (const Run& run : paragraph.Runs) {
        if (run.Format.Hidden) {
            if (!pieces.empty() && pieces.back().kind == Piece::Target)
                pieces.back().text += run.Text;
            else
                pieces.push_back({Piece::Target, run.Text, run.Format});
            continue;
        }
        const qsizetype arrow = run.Text.indexOf(QLatin1String("-->"));
        if (arrow < 0) {
            addText(run.Text, run.Format);
            continue;
        }
        addText(run.Text.left(arrow), run.Format);
        pieces.push_back({Piece::Target, run.Text.mid(arrow + 3), run.Format});
    }
    return pieces;
}

void TopicTextEncoder::encodeParagraph(const Paragraph& paragraph, std::vector<TextRecord>& records)
{
    const std::vector<Piece> pieces = piecesOf(paragraph);
    RecordBuilder b(paragraph);
    // An empty paragraph still sets its font, so that its height is right.
    b.Font = fonts_.descriptorFor(paragraph.Runs.empty() ? CharFormat() : paragraph.Runs.front().Format);
    QByteArray font(1, char(FontChange));
    putU16(font, unsigned(b.Font));
    b.command(font);

    for (size_t i = 0; i < pieces.size();) {
        const Piece& piece = pieces[i];
        if (piece.kind == Piece::Target) {
            const QString target = piece.text.trimmed();
            if (!target.isEmpty())
                warn_(QStringLiteral("link target %1 has no hotspot text before it; left out").arg(target));
            ++i;
            continue;
        }
        const int kind = piece.hotspotKind();
        if (kind == 0) {
            emitPiece(b, piece, false, records);
            ++i;
            continue;
        }
        size_t end = i;
        while (end < pieces.size() && pieces[end].hotspotKind() == kind)
            ++end;
        const bool linked = end < pieces.size() && pieces[end].kind == Piece::Target
                            && !pieces[end].text.trimmed().isEmpty();
        if (!linked) {
            for (; i < end; ++i)
                emitPiece(b, pieces[i], false, records);
            continue;
        }
        // A hotspot: the hotspot text's own font, the link, the text, its end.
        const Piece& first = pieces[i];
        const int hotspotFont = fonts_.descriptorFor(first.format, true);
        if (hotspotFont != b.Font) {
            QByteArray change(1, char(FontChange));
            putU16(change, unsigned(hotspotFont));
            b.command(change);
            b.Font = hotspotFont;
        }
        if (emitLinkCommand(b, pieces[end].text.trimmed(), kind == 1)) {
            for (size_t k = i; k < end; ++k)
                emitPiece(b, pieces[k], true, records);
            b.command(EndOfHotspot);
        } else {
            for (size_t k = i; k < end; ++k)
                emitPiece(b, pieces[k], false, records);
        }
        i = end + 1;
    }
    records.push_back(b.finish());
}

void TopicTextEncoder::emitPiece(RecordBuilder& b, const Piece& piece, bool hotspot, std::vector<TextRecord>& records)
{
    if (piece.kind == Piece::Text) {
        emitText(b, piece.text, piece.format, hotspot, records);
        return;
    }
    if (piece.kind == Piece::Picture) {
        const HelpPictures::Lookup picture = pictures_.pictureFor(piece.text, piece.transparent);
        if (!picture.Number) {
            warn_(picture.Problem);
            return;
        }
        QByteArray data;
        putS16(data, 0); // the picture lives in a file of its own
        putS16(data, *picture.Number);
        QByteArray bytes(1, char(piece.pictureCommand));
        putU8(bytes, 0x22);
        putCompressedS32(bytes, std::int32_t(data.size()));
        putCompressedU16(bytes, 1); // one position in the text
        bytes += data;
        b.command(bytes);
        b.countPicture();
        return;
    }
    // A button: its caption and macro in one string behind "!". The three
    // leading words of an embedded button are not known to carry anything;
    // they are written as zeros.
    const qsizetype comma = piece.text.indexOf(QLatin1Char(','));
    const QString caption = comma < 0 ? piece.text.trimmed() : piece.text.left(comma).trimmed();
    const QString macro = comma < 0 ? QString() : quotedMacro(piece.text.mid(comma + 1));
    QByteArray data;
    putS16(data, 0);
    putS16(data, 0);
    putS16(data, 0);
    data += stringz("!" + cp1252::encode(caption) + "," + cp1252::encode(macro));
    QByteArray bytes(1, char(PictureInLine));
    putU8(bytes, 0x05);
    putCompressedS32(bytes, std::int32_t(data.size()));
    bytes += data;
    b.command(bytes);
}

void TopicTextEncoder::emitText(RecordBuilder& b, const QString& text, const CharFormat& format, bool hotspot,
                                std::vector<TextRecord>& records)
{
    const int font = fonts_.descriptorFor(format, hotspot);
    const bool symbols = isSymbolFontFace(format.Face);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (b.Font != font) {
            QByteArray change(1, char(FontChange));
            putU16(change, unsigned(font));
            b.command(change);
            b.Font = font;
        }
        const char16_t c = text.at(i).unicode();
        if (c == u'\t') {
            b.command(Tab);
        } else if (c == LineSeparator || c == u'\n' || c == u'\r') {
            b.command(LineBreak);
        } else if (symbols && c >= 0xF000 && c <= 0xF0FF && c != 0xF000) {
            b.text(char(c - 0xF000));
        } else if (c == 0) {
            // A NUL would end the string early; it is never stored.
        } else if (const int byte = cp1252::byteFor(c); byte > 0) {
            b.text(char(byte));
        } else if (!QChar::isLowSurrogate(c)) {
            ++unshown_;
            b.text('?');
        }
        // A very long paragraph goes on in a record of its own; never inside
        // a hotspot.
        if (!hotspot && b.full())
            records.push_back(b.finish());
    }
}

bool TopicTextEncoder::emitLinkCommand(RecordBuilder& b, const QString& target, bool jump)
{
    const QString what = jump ? QStringLiteral("jump to") : QStringLiteral("pop-up of");
    if (target.startsWith(QLatin1Char('!'))) {
        QByteArray macro = cp1252::encode(quotedMacro(target.mid(1)));
        if (macro.isEmpty() || macro.size() > 4000) {
            warn_(QStringLiteral("macro link %1 is empty or too long; left out").arg(target));
            return false;
        }
        QByteArray bytes(1, char(MacroHotspot));
        putU16(bytes, unsigned(macro.size() + 1));
        bytes += stringz(macro);
        b.command(bytes);
        ++hotspots_;
        return true;
    }
    QString id = target;
    QString file;
    QString window;
    if (const qsizetype at = id.indexOf(QLatin1Char('@')); at >= 0) {
        file = id.mid(at + 1);
        id.truncate(at);
    }
    if (const qsizetype gt = id.indexOf(QLatin1Char('>')); gt >= 0) {
        window = id.mid(gt + 1).trimmed();
        id.truncate(gt);
    }
    if (const qsizetype gt = file.indexOf(QLatin1Char('>')); gt >= 0) {
        window = file.mid(gt + 1).trimmed();
        file.truncate(gt);
    }
    id = id.trimmed();
    file = helpFileName(file);
    if (id.isEmpty()) {
        warn_(QStringLiteral("link %1 names no Topic ID; left out").arg(target));
        return false;
    }
    const QByteArray idBytes = cp1252::encode(id);
    const std::int32_t hash = contextHash(idBytes);
    QByteArray bytes;
    if (file.isEmpty()) {
        if (!topicsByHash_.count(hash))
            warn_(QStringLiteral("%1 %2: no topic has this Topic ID").arg(what, id));
        int windowNumber = -1;
        if (jump && !window.isEmpty()) {
            const QByteArray name = cp1252::encode(window);
            for (int k = 0; k < project_.WindowCount(); ++k)
                if (project_.Window(k).Name.bytes().compare(name, Qt::CaseInsensitive) == 0) {
                    windowNumber = k;
                    break;
                }
            if (windowNumber < 0)
                warn_(QStringLiteral("%1 %2 names the window %3, which does not exist; it opens in the current window")
                          .arg(what, id, window));
        }
        if (windowNumber < 0) {
            putU8(bytes, jump ? JumpHere : PopupHere);
            putS32(bytes, hash);
        } else {
            QByteArray data;
            putU8(data, 1);
            putS32(data, hash);
            putU8(data, unsigned(windowNumber));
            putU8(bytes, JumpElsewhere);
            putU16(bytes, unsigned(data.size()));
            bytes += data;
        }
    } else {
        QByteArray data;
        const bool withWindow = jump && !window.isEmpty();
        putU8(data, withWindow ? 6 : 4);
        putS32(data, hash);
        if (withWindow)
            data += stringz(cp1252::encode(window));
        data += stringz(cp1252::encode(file));
        putU8(bytes, jump ? JumpElsewhere : PopupElsewhere);
        putU16(bytes, unsigned(data.size()));
        bytes += data;
    }
    b.command(bytes);
    ++hotspots_;
    return true;
}

} // namespace ts::helpfile
