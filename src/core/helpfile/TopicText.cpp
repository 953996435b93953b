#include "TopicText.h"

#include "ContextHash.h"
#include "HelpFileBytes.h"
#include "HelpFileFormat.h"
#include "ParagraphInfo.h"
#include "model/Project.h"
#include "model/Windows1252.h"

#include <QRegularExpression>
#include <string>

namespace ts::helpfile {
namespace {

using namespace format;

// Limits that keep every record inside what the format can count: the
// strings of one record stay well below the 32767 characters a record may
// count, the commands well inside one 4 KB block.
constexpr qsizetype MaxRecordText = 30000;
constexpr qsizetype MaxRecordCommands = 3000;
// The longest single command (a link with its file and window names, a
// macro, a button): with the commands before it and a hotspot opened again
// after a split, a record's commands still fit in one block.
constexpr qsizetype MaxCommand = 2000;
// How far back from a split a blank is looked for.
constexpr size_t MaxWordCut = 200;

constexpr char16_t LineSeparator = 0x2028;

// The file name of a help file named with a path: the reader looks for it
// beside the help file and on its help path, never on the author's disk.
QString helpFileName(const QString& file)
{
    const qsizetype cut = qMax(qMax(file.lastIndexOf(QLatin1Char('\\')), file.lastIndexOf(QLatin1Char('/'))),
                               file.lastIndexOf(QLatin1Char(':')));
    return file.mid(cut + 1).trimmed();
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
    unsigned char pictureCommand = CommandObjectInLine;
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
    RecordBuilder(const Paragraph& p, std::vector<TextRecord>& records) : paragraph_(p), records_(records) {}

    void command(const QByteArray& bytes)
    {
        strings_.push_back('\0');
        commands_.append(bytes.constData(), size_t(bytes.size()));
    }
    void command(unsigned char code)
    {
        strings_.push_back('\0');
        commands_.push_back(char(code));
    }
    void text(char byte) { strings_.push_back(byte); }
    void countPicture() { ++pictures_; }
    void fontChange(int font)
    {
        QByteArray change(1, char(CommandFont));
        putU16(change, unsigned(font));
        command(change);
        Font = font;
    }
    // Opens the paragraph in its first font.
    void start(int font)
    {
        fontChange(font);
        openingStrings_ = strings_.size();
        openingCommands_ = commands_.size();
    }
    void openHotspot(const QByteArray& link)
    {
        command(link);
        link_ = link;
    }
    void closeHotspot()
    {
        command(CommandHotspotEnd);
        link_.clear();
    }

    // Called before adding text or a command of `commandBytes`: when the
    // record is full, the paragraph goes on in a record of its own (which the
    // viewer starts on a new line). A full line of text is cut after its last
    // blank, so that no word is broken; an open hotspot is closed and opened
    // again in the new record.
    void makeRoom(qsizetype commandBytes)
    {
        const bool textFull = qsizetype(strings_.size()) + pictures_ > MaxRecordText;
        const bool commandsFull = qsizetype(commands_.size()) + commandBytes > MaxRecordCommands;
        if ((!textFull && !commandsFull) || (strings_.size() == openingStrings_ && commands_.size() == openingCommands_))
            return;
        std::string tail;
        if (textFull) {
            const size_t lastCommand = strings_.rfind('\0');
            const size_t blank = strings_.rfind(' ');
            if (blank != std::string::npos && (lastCommand == std::string::npos || blank > lastCommand)
                && strings_.size() - blank <= MaxWordCut) {
                tail = strings_.substr(blank + 1);
                strings_.resize(blank + 1);
            }
        }
        const int font = Font;
        const QByteArray link = link_;
        if (!link.isEmpty())
            closeHotspot();
        records_.push_back(finish(false));
        ++splits_;
        start(font);
        if (!link.isEmpty())
            openHotspot(link);
        openingCommands_ = commands_.size();
        openingStrings_ = strings_.size();
        strings_ += tail;
    }

    int Font = -1; // the descriptor in force, -1 before the first font change

    // Records added to the paragraph because it did not fit in one.
    int splits() const { return splits_; }

    // Ends the paragraph and the record; the builder starts over for a
    // record that continues the same paragraph.
    TextRecord finish(bool last = true)
    {
        command(CommandParagraphEnd);
        command(CommandEnd);
        QByteArray head;
        putU8(head, TextRecordByte0);
        putU8(head, TextRecordByte1);
        putU16(head, 0); // paragraph id
        // A record that continues the paragraph starts at the left indent,
        // like any line after the first; the space above belongs to the
        // paragraph's first record, the space below to its last.
        head += paragraphInfo(paragraph_, splits_ == 0, last);


        TextRecord record;
        record.LinkData2 = QByteArray(strings_.data(), qsizetype(strings_.size()));
        record.TopicLength = int(strings_.size()) + pictures_;
        putCompressedS32(record.LinkData1, std::int32_t(head.size() + qsizetype(commands_.size())));
        putCompressedU16(record.LinkData1, unsigned(record.TopicLength));
        record.LinkData1 += head;
        record.LinkData1.append(commands_.data(), qsizetype(commands_.size()));
        strings_.clear();
        commands_.clear();
        pictures_ = 0;
        Font = -1;
        return record;
    }

private:
    // The strings so far (each command closes the one before it) and the
    // commands.
    const Paragraph& paragraph_;
    std::vector<TextRecord>& records_;
    std::string commands_;
    std::string strings_;
    int pictures_ = 0;
    int splits_ = 0;
    QByteArray link_; // the command that opened the hotspot in progress
    // What a record holds before anything of its own: nothing to split off.
    size_t openingStrings_ = 0, openingCommands_ = 0;
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

QStringList TopicTextEncoder::takeNotices()
{
    const QStringList out = noticeTexts(notices_);
    notices_ = 0;
    return out;
}

std::vector<TextRecord> TopicTextEncoder::encode(const RichDocument& document)
{
    for (const Paragraph& p : document.Paragraphs)
        notices_ |= unshownFormatting(p);
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
        if (!text.contains(QLatin1Char('{'))) {
            if (!text.isEmpty())
                pieces.push_back({Piece::Text, text, format});
            return;
        }
        qsizetype at = 0;
        QRegularExpressionMatchIterator it = markup.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (m.capturedStart() > at)
                pieces.push_back({Piece::Text, text.mid(at, m.capturedStart() - at), format});
            const QString word = m.captured(1).toLower();
            Piece piece{word == QLatin1String("button") ? Piece::Button : Piece::Picture, m.captured(2), format};
            piece.pictureCommand = word.startsWith(QLatin1String("bml"))   ? CommandObjectLeft
                                   : word.startsWith(QLatin1String("bmr")) ? CommandObjectRight
                                                                           : CommandObjectInLine;
            piece.transparent = word.size() == 4 && word.endsWith(QLatin1Char('t'));
            pieces.push_back(piece);
            at = m.capturedEnd();
        }
        if (at < text.size())
            pieces.push_back({Piece::Text, text.mid(at), format});
    };
    for (const Run& stored : paragraph.Runs) {
        // A symbol font's text holds its ASCII bytes as U+F000 + byte when
        // it was read from a file; as plain ASCII they are the same bytes
        // in the help file, and link markup and its target read as typed.
        Run folded;
        const bool symbols = isSymbolFontFace(stored.Format.Face);
        if (symbols) {
            folded = stored;
            for (QChar& c : folded.Text)
                if (c.unicode() >= 0xF020 && c.unicode() < 0xF07F)
                    c = QChar(c.unicode() - 0xF000);
        }
        const Run& run = symbols ? folded : stored;
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
    RecordBuilder b(paragraph, records);
    // An empty paragraph still sets its font, so that its height is right.
    b.start(fonts_.descriptorFor(paragraph.Runs.empty() ? CharFormat() : paragraph.Runs.front().Format));

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
            emitPiece(b, piece, false);
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
                emitPiece(b, pieces[i], false);
            continue;
        }
        // A hotspot: the hotspot text's own font, the link, the text, its end.
        const QByteArray link = linkCommand(pieces[end].text.trimmed(), kind == 1);
        if (!link.isEmpty()) {
            b.makeRoom(3 + link.size());
            const int hotspotFont = fonts_.descriptorFor(pieces[i].format, true);
            if (hotspotFont != b.Font)
                b.fontChange(hotspotFont);
            b.openHotspot(link);
        }
        for (size_t k = i; k < end; ++k)
            emitPiece(b, pieces[k], !link.isEmpty());
        if (!link.isEmpty())
            b.closeHotspot();
        i = end + 1;
    }
    records.push_back(b.finish());
    if (b.splits() > 0)
        warn_(QStringLiteral("a paragraph beginning \"%1\" is too long for one paragraph of the help file; "
                             "stored as %2 paragraphs, each starting on a new line")
                  .arg(cp1252::decode(records[records.size() - size_t(b.splits()) - 1].LinkData2.left(80))
                           .remove(QChar(0))
                           .simplified()
                           .left(40))
                  .arg(b.splits() + 1));
}

void TopicTextEncoder::emitPiece(RecordBuilder& b, const Piece& piece, bool hotspot)
{
    if (piece.kind == Piece::Text) {
        emitText(b, piece.text, piece.format, hotspot);
        return;
    }
    if (piece.kind == Piece::Picture) {
        const HelpPictures::Lookup picture = pictures_.pictureFor(piece.text, piece.transparent);
        if (!picture.Problem.isEmpty())
            warn_(picture.Problem);
        if (!picture.Number)
            return;
        QByteArray data;
        putS16(data, PictureInOwnFile);
        putS16(data, *picture.Number);
        QByteArray bytes(1, char(piece.pictureCommand));
        putU8(bytes, ObjectPicture);
        putCompressedS32(bytes, std::int32_t(data.size()));
        putCompressedU16(bytes, 1); // one position in the text
        bytes += data;
        b.makeRoom(bytes.size());
        b.command(bytes);
        b.countPicture();
        return;
    }
    // A button: its caption and macro in one string behind "!". The
    // leading words of an embedded button are not known to carry anything;
    // they are written as zeros.
    const qsizetype comma = piece.text.indexOf(QLatin1Char(','));
    const QString caption = comma < 0 ? piece.text.trimmed() : piece.text.left(comma).trimmed();
    const QString macro = comma < 0 ? QString() : quotedMacro(piece.text.mid(comma + 1));
    QByteArray data;
    for (int k = 0; k < EmbeddedWindowUnknownWords; ++k)
        putS16(data, 0);
    data += stringz(ButtonPrefix + cp1252::encode(caption) + "," + cp1252::encode(macro));
    if (data.size() + 8 > MaxCommand) {
        warn_(QStringLiteral("button %1: caption and macro are too long; left out").arg(caption.left(40)));
        return;
    }
    QByteArray bytes(1, char(CommandObjectInLine));
    putU8(bytes, ObjectEmbeddedWindow);
    putCompressedS32(bytes, std::int32_t(data.size()));
    bytes += data;
    b.makeRoom(bytes.size());
    b.command(bytes);
}

void TopicTextEncoder::emitText(RecordBuilder& b, const QString& text, const CharFormat& format, bool hotspot)
{
    const int font = fonts_.descriptorFor(format, hotspot);
    const bool symbols = isSymbolFontFace(format.Face);
    for (qsizetype i = 0; i < text.size(); ++i) {
        b.makeRoom(3);
        if (b.Font != font)
            b.fontChange(font);
        const char16_t c = text.at(i).unicode();
        if (c == u'\t') {
            b.command(CommandTab);
        } else if (c == LineSeparator || c == u'\n' || c == u'\r') {
            b.command(CommandLineBreak);
        } else if (symbols && c >= 0xF000 && c <= 0xF0FF && c != 0xF000) {
            b.text(char(c - 0xF000));
        } else if (c == 0) {
            // A NUL would end the string early; it is never stored.
        } else if (const int byte = cp1252::byteFor(c); byte > 0) {
            b.text(char(byte));
        } else if (c == u'\u2010' || c == u'\u2011') {
            b.text('-'); // hyphen, non-breaking hyphen
        } else if (c >= u'\u2002' && c <= u'\u200A') {
            b.text(' '); // en, em and the narrower spaces
        } else if (!QChar::isLowSurrogate(c)) {
            ++unshown_;
            b.text('?');
        }
    }
}

namespace {

// What a link target names: "ID", "ID>WINDOW", "ID@FILE", "ID>WINDOW@FILE"
// or "ID@FILE>WINDOW"; the file by its name alone.
struct LinkTarget {
    QString Id, File, Window;
};

LinkTarget splitTarget(const QString& target)
{
    LinkTarget t;
    t.Id = target;
    if (const qsizetype at = t.Id.indexOf(QLatin1Char('@')); at >= 0) {
        t.File = t.Id.mid(at + 1);
        t.Id.truncate(at);
    }
    if (const qsizetype gt = t.Id.indexOf(QLatin1Char('>')); gt >= 0) {
        t.Window = t.Id.mid(gt + 1).trimmed();
        t.Id.truncate(gt);
    }
    if (const qsizetype gt = t.File.indexOf(QLatin1Char('>')); gt >= 0) {
        t.Window = t.File.mid(gt + 1).trimmed();
        t.File.truncate(gt);
    }
    t.Id = t.Id.trimmed();
    t.File = helpFileName(t.File);
    return t;
}

// A command with a u16 length before its data.
QByteArray commandWithData(unsigned char code, const QByteArray& data)
{
    QByteArray bytes;
    putU8(bytes, code);
    putU16(bytes, unsigned(data.size()));
    return bytes + data;
}

// A link into another help file, into one of its windows when a jump names one.
QByteArray otherFileCommand(std::int32_t hash, const LinkTarget& t, bool jump)
{
    QByteArray data;
    const bool withWindow = jump && !t.Window.isEmpty();
    putU8(data, withWindow ? LinkFileWindow : LinkFile);
    putS32(data, hash);
    if (withWindow)
        data += stringz(cp1252::encode(t.Window));
    data += stringz(cp1252::encode(t.File));
    return commandWithData(jump ? CommandJumpFile : CommandPopupFile, data);
}

QString linkWhat(bool jump) { return jump ? QStringLiteral("jump to") : QStringLiteral("pop-up of"); }

} // namespace

QByteArray TopicTextEncoder::linkCommand(const QString& target, bool jump)
{
    if (target.startsWith(QLatin1Char('!')))
        return macroCommand(target);
    const LinkTarget t = splitTarget(target);
    if (t.Id.isEmpty()) {
        warn_(QStringLiteral("link %1 names no Topic ID; left out").arg(target));
        return {};
    }
    const std::int32_t hash = contextHash(cp1252::encode(t.Id));
    const QByteArray bytes = t.File.isEmpty() ? sameFileCommand(hash, t.Id, t.Window, jump)
                                              : otherFileCommand(hash, t, jump);
    if (bytes.size() > MaxCommand) {
        warn_(QStringLiteral("%1 %2: the help file or window name is too long; left out").arg(linkWhat(jump), t.Id));
        return {};
    }
    ++hotspots_;
    return bytes;
}

QByteArray TopicTextEncoder::macroCommand(const QString& target)
{
    QByteArray macro = cp1252::encode(quotedMacro(target.mid(1)));
    if (macro.isEmpty() || macro.size() + 4 > MaxCommand) {
        warn_(QStringLiteral("macro link %1 is empty or too long; left out").arg(target));
        return {};
    }
    ++hotspots_;
    return commandWithData(CommandMacro, stringz(macro));
}

QByteArray TopicTextEncoder::sameFileCommand(std::int32_t hash, const QString& id, const QString& window, bool jump)
{
    if (!topicsByHash_.count(hash))
        warn_(QStringLiteral("%1 %2: no topic has this Topic ID").arg(linkWhat(jump), id));
    const int number = jump && !window.isEmpty() ? windowNumber(window, id, jump) : -1;
    QByteArray bytes;
    if (number < 0) {
        putU8(bytes, jump ? CommandJump : CommandPopup);
        putS32(bytes, hash);
        return bytes;
    }
    QByteArray data;
    putU8(data, LinkWindow);
    putS32(data, hash);
    putU8(data, unsigned(number));
    return commandWithData(CommandJumpFile, data);
}

int TopicTextEncoder::windowNumber(const QString& window, const QString& id, bool jump)
{
    const QByteArray name = cp1252::encode(window);
    for (int k = 0; k < project_.WindowCount(); ++k)
        if (project_.window(k).Name.bytes().compare(name, Qt::CaseInsensitive) == 0)
            return k;
    warn_(QStringLiteral("%1 %2 names the window %3, which does not exist; it opens in the current window")
              .arg(linkWhat(jump), id, window));
    return -1;
}

} // namespace ts::helpfile
