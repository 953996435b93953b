#include "SystemReader.h"

#include <algorithm>

#include "ByteCursor.h"
#include "HelpCodePage.h"
#include "HelpFileFormat.h"
#include "model/CountText.h"

namespace ts::helpfile::reading {

namespace {

const QString SystemFile = QStringLiteral("|SYSTEM");
const QString FontFile = QStringLiteral("|FONT");

std::uint32_t rgb(ByteCursor& c)
{
    const std::uint32_t r = c.u8(), g = c.u8(), b = c.u8();
    return r << 16 | g << 8 | b;
}

SystemValues::Window readWindow(ByteCursor& c)
{
    SystemValues::Window w;
    w.flags = c.u16();
    w.type = c.fixedString(format::WindowTypeSize);
    w.name = c.fixedString(format::WindowNameSize);
    w.caption = c.fixedString(format::WindowCaptionSize);
    w.x = c.s16();
    w.y = c.s16();
    w.width = c.s16();
    w.height = c.s16();
    w.state = c.u16();
    w.scrollingColour = rgb(c);
    c.u8();
    w.nonScrollingColour = rgb(c);
    c.u8();
    return w;
}

void readRecord(SystemValues& s, int type, const QByteArray& data, qsizetype offset, ReadProblems& problems)
{
    ByteCursor c(data);
    auto text = [&] { return c.stringz(); };
    switch (type) {
    case format::SystemTitle:
        s.title = text();
        break;
    case format::SystemCopyright:
        s.copyright = text();
        break;
    case format::SystemContents:
        s.contentsOffset = c.u32();
        break;
    case format::SystemConfig:
        s.configMacros.append(text());
        break;
    case format::SystemIcon:
        s.icon = data;
        break;
    case format::SystemWindow:
        if (data.size() < format::WindowRecordSize)
            problems.add(SystemFile, offset, QStringLiteral("a window definition is cut short (%1)")
                                                          .arg(countText(data.size(), QStringLiteral("byte"), QStringLiteral("bytes"))));
        else
            s.windows.push_back(readWindow(c));
        break;
    case format::SystemCitation:
        s.citation = text();
        break;
    case format::SystemLcid:
        c.skip(8);
        s.lcid = c.u16();
        break;
    case format::SystemContentsFile:
        s.contentsFile = text();
        break;
    case format::SystemCharset:
        s.charset = data.isEmpty() ? -1 : std::uint8_t(data[0]);
        break;
    case format::SystemDefaultFont:
        c.u8();
        s.defaultFontCharset = c.ok() ? c.u8() : -1;
        break;
    case format::SystemIndexSeparators:
        s.indexSeparators = text();
        break;
    default:
        break; // records of other kinds mean nothing to a reader; their size lets us step over them
    }
}

} // namespace

bool SystemValues::oldFormat() const { return minor <= format::LastVersion30; }

bool SystemValues::compressed() const
{
    return !oldFormat() && (flags == format::SystemFlagsCompressed || flags == format::SystemFlagsCompressedSmall);
}

int SystemValues::topicBlockSize() const
{
    return oldFormat() || (compressed() && flags == format::SystemFlagsCompressedSmall) ? format::TopicBlockSize30
                                                                                         : format::TopicBlockSize;
}

int SystemValues::codePage() const
{
    for (const int candidate : {codePageForCharset(charset), codePageForLcid(lcid), codePageForCharset(defaultFontCharset)})
        if (candidate != 0 && canDecode(candidate))
            return candidate;
    return 1252;
}

SystemValues readSystem(const QByteArray& data, ReadProblems& problems)
{
    SystemValues s;
    ByteCursor c(data);
    const std::uint16_t magic = c.u16();
    s.minor = c.u16();
    s.major = c.u16();
    s.generated = c.u32();
    s.flags = c.u16();
    if (!c.ok() || magic != format::SystemMagic) {
        problems.add(SystemFile, 0, QStringLiteral("the file's version record is missing or damaged; read as a 4.0 file"));
        s.minor = format::Version40;
        s.major = 1;
        s.flags = 0;
        return s;
    }
    s.present = true;
    if (s.oldFormat()) {
        s.title = c.stringz();
        return s;
    }
    while (c.left() >= 4) {
        const qsizetype at = c.pos();
        const int type = c.u16();
        const int size = c.u16();
        if (size > c.left()) {
            problems.add(SystemFile, at, QStringLiteral("a record of type %1 is cut short").arg(type));
            readRecord(s, type, c.bytes(c.left()), at, problems);
            break;
        }
        readRecord(s, type, c.bytes(size), at, problems);
    }
    return s;
}

namespace {

HelpFont::Family familyOf(int family)
{
    switch (family) {
    case format::FamilyModern:
        return HelpFont::Family::Modern;
    case format::FamilyRoman:
        return HelpFont::Family::Roman;
    case format::FamilySwiss:
        return HelpFont::Family::Swiss;
    case format::FamilyScript:
        return HelpFont::Family::Script;
    case format::FamilyDecorative:
        return HelpFont::Family::Decorative;
    default:
        return HelpFont::Family::Unknown;
    }
}

std::optional<std::uint32_t> colourOf(std::uint32_t rgb)
{
    if (rgb == format::AutomaticColour)
        return std::nullopt;
    return rgb;
}

void readOldDescriptor(ByteCursor& c, HelpFont& f, int& face)
{
    const int attributes = c.u8();
    f.halfPoints = c.u8();
    f.family = familyOf(c.u8());
    face = c.u16();
    f.colour = colourOf(rgb(c));
    c.skip(3); // background, never used
    f.bold = attributes & format::FontBold;
    f.italic = attributes & format::FontItalic;
    f.underline = attributes & format::FontUnderline;
    f.strikeOut = attributes & format::FontStrikeOut;
    f.doubleUnderline = attributes & format::FontDoubleUnderline;
    f.smallCaps = attributes & format::FontSmallCaps;
}

// The Multimedia Viewer's descriptors: sizes in twips, LOGFONT-like fields.
void readNewDescriptor(ByteCursor& c, HelpFont& f, int& face, bool styled)
{
    const qsizetype start = c.pos();
    if (styled) {
        face = c.s16();
        c.skip(4); // style number, two unknown bytes
    } else {
        c.u8();
        face = c.s16();
    }
    f.colour = colourOf(rgb(c));
    c.skip(3);
    if (!styled)
        c.skip(5);
    const std::int32_t height = c.s32();
    c.skip(12);
    f.bold = c.s16() >= 700;
    c.skip(2);
    f.italic = c.u8();
    f.underline = c.u8();
    f.strikeOut = c.u8();
    f.doubleUnderline = c.u8();
    f.smallCaps = c.u8();
    // In 64 bits: the height of a damaged descriptor may be the one int32 whose
    // magnitude does not fit.
    const std::int64_t magnitude = height < 0 ? -std::int64_t(height) : std::int64_t(height);
    f.halfPoints = int(std::clamp<std::int64_t>(magnitude / format::ParagraphUnitTwips, 1, 32767));
    c.seek(start + format::NewFontDescriptorSize);
}

} // namespace

std::vector<HelpFont> readFonts(const QByteArray& data, int codePage, ReadProblems& problems)
{
    std::vector<HelpFont> fonts;
    if (data.isEmpty())
        return fonts;
    ByteCursor c(data);
    const int faceCount = c.u16();
    const int descriptorCount = c.u16();
    const int facesAt = c.u16();
    const int descriptorsAt = c.u16();
    if (!c.ok() || descriptorsAt < facesAt) {
        problems.add(FontFile, 0, QStringLiteral("the font table is damaged; text is shown in a default font"));
        return fonts;
    }
    const int slot = faceCount > 0 ? (descriptorsAt - facesAt) / faceCount : 0;
    QList<QString> faces;
    c.seek(facesAt);
    for (int i = 0; i < faceCount && slot > 0 && c.left() >= slot; ++i)
        faces.append(decodeText(c.fixedString(slot), codePage));
    const bool newForm = facesAt >= format::NewFontFacenamesOffset;
    const int size = newForm ? format::NewFontDescriptorSize : format::OldFontDescriptorSize;
    if (newForm)
        problems.add(FontFile, 0, QStringLiteral("a Multimedia Viewer font table; fonts are read approximately"));
    c.seek(descriptorsAt);
    const int available = int(qMin<qsizetype>(descriptorCount, c.left() / size));
    if (available < descriptorCount)
        problems.add(FontFile, c.pos(), QStringLiteral("the font table is cut short after %1 of its %2")
                                            .arg(QString::number(available),
                                                 countText(descriptorCount, QStringLiteral("font"), QStringLiteral("fonts"))));
    fonts.reserve(size_t(available));
    for (int i = 0; i < available; ++i) {
        HelpFont f;
        int face = 0;
        if (newForm)
            readNewDescriptor(c, f, face, facesAt >= 16);
        else
            readOldDescriptor(c, f, face);
        f.face = face >= 0 && face < faces.size() ? faces.at(face) : QString();
        fonts.push_back(f);
    }
    return fonts;
}

} // namespace ts::helpfile::reading
