#include "HelpFileReader.h"

#include "HelpFileReaderCursor.h"
#include "helpfile/HelpFileFormat.h"
#include "model/Windows1252.h"

#include <QFile>

#include <algorithm>

namespace ts::hlpread {

using namespace detail;
namespace fmt = ts::helpfile::format;

namespace {

bool bytesLess(const QByteArray& a, const QByteArray& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return std::uint8_t(x) < std::uint8_t(y); });
}
bool signedLess(const QByteArray& a, const QByteArray& b) { return readS32(a) < readS32(b); }
bool unsignedLess(const QByteArray& a, const QByteArray& b) { return std::uint32_t(readS32(a)) < std::uint32_t(readS32(b)); }
// Keywords stand in the order Windows compares words: by their letters
// without case or accent, digits and symbols, hyphens and apostrophes passed
// over; symbols before digits before letters. Checked on that level only
// (what breaks a tie between keywords equal there is the compiler's choice).
std::vector<std::pair<int, char16_t>> keywordWeights(const QByteArray& k)
{
    std::vector<std::pair<int, char16_t>> out;
    for (const QChar c : ts::cp1252::decode(k)) {
        if (c == QLatin1Char('-') || c == QLatin1Char('\'') || c == QChar(0xAD))
            continue;
        const QChar base = QString(c.toLower()).normalized(QString::NormalizationForm_D).front();
        out.emplace_back(base.isLetter() ? 2 : base.isDigit() ? 1 : 0, base.unicode());
    }
    return out;
}
bool keywordLess(const QByteArray& a, const QByteArray& b)
{
    return a != b && keywordWeights(a) <= keywordWeights(b);
}

} // namespace

Paragraph::Align Paragraph::align() const
{
    return bits & fmt::ParagraphCentred ? Center : bits & fmt::ParagraphRightAligned ? Right : Left;
}

QByteArray Paragraph::plainText() const
{
    QByteArray out;
    for (const Piece& p : pieces) {
        switch (p.kind) {
        case Piece::Text: out += p.text; break;
        case Piece::Tab: out += '\t'; break;
        case Piece::LineBreak: out += '\n'; break;
        case Piece::NbSpace: out += '\xA0'; break;
        case Piece::NbHyphen: break;
        case Piece::Picture: out += "{bm " + QByteArray::number(pictures[p.picture].number) + '}'; break;
        case Piece::Button: out += "{button " + (p.text.startsWith('!') ? p.text.mid(1) : p.text) + '}'; break;
        }
    }
    return out;
}

const InternalFile* HelpFile::file(const QByteArray& name) const
{
    for (const InternalFile& f : files)
        if (f.name == name)
            return &f;
    return nullptr;
}

const Topic* HelpFile::topicAt(std::uint32_t topicOffset) const
{
    for (const Topic& t : topics)
        if (t.topicOffset == topicOffset)
            return &t;
    return nullptr;
}

const FontDescriptor& HelpFile::font(int number) const
{
    if (number < 0 || number >= fonts.size())
        throw HelpFileError(QStringLiteral("|FONT: no descriptor %1 (%2 exist)").arg(number).arg(fonts.size()).toStdString());
    return fonts[number];
}

namespace {

// ------------------------------------------------------------------ |SYSTEM

WindowRecord readWindow(Cursor& c)
{
    WindowRecord w;
    w.flags = c.u16();
    w.type = fixedString(c, fmt::WindowTypeSize);
    w.name = fixedString(c, fmt::WindowNameSize);
    w.caption = fixedString(c, fmt::WindowCaptionSize);
    w.x = c.s16();
    w.y = c.s16();
    w.width = c.s16();
    w.height = c.s16();
    w.state = c.u16();
    w.scrollColour = c.u32();
    w.nonScrollColour = c.u32();
    return w;
}

SystemInfo readSystem(const InternalFile& f)
{
    SystemInfo s;
    Cursor c(f.data, "|SYSTEM", f.headerOffset + fmt::InternalHeaderSize);
    s.magic = c.u16();
    if (s.magic != fmt::SystemMagic)
        c.errorAt(QStringLiteral("wrong magic %1").arg(hex(s.magic)), 0);
    s.minor = c.u16();
    s.major = c.u16();
    s.generated = c.u32();
    s.flags = c.u16();
    if (s.minor <= fmt::LastVersion30)
        c.errorAt(QStringLiteral("version %1.%2 without records is not read").arg(s.major).arg(s.minor), 2);
    while (!c.atEnd()) {
        const int type = c.u16();
        const int size = c.u16();
        const qsizetype start = c.pos();
        c.need(size);
        Cursor r(f.data, "|SYSTEM", f.headerOffset + fmt::InternalHeaderSize, start, start + size);
        auto whole = [&](int expected) {
            if (size != expected)
                c.errorAt(QStringLiteral("record %1 has %2 bytes instead of %3").arg(type).arg(size).arg(expected), start - 4);
        };
        auto text = [&] {
            QByteArray t = r.stringz();
            if (!r.atEnd())
                r.error(QStringLiteral("bytes after the string of record %1").arg(type));
            return t;
        };
        s.recordTypes.append(type);
        switch (type) {
        case fmt::SystemTitle: s.title = text(); break;
        case fmt::SystemCopyright: s.copyright = text(); break;
        case fmt::SystemContents: whole(4); s.contents = r.u32(); break;
        case fmt::SystemConfig: s.configMacros.append(text()); break;
        case fmt::SystemWindow: whole(fmt::WindowRecordSize); s.windows.append(readWindow(r)); break;
        case fmt::SystemLcid: whole(fmt::LcidRecordSize); r.skip(fmt::LcidOffset); s.lcid = r.u16(); break;
        case fmt::SystemContentsFile: s.cntName = text(); break;
        case fmt::SystemCharset: s.charset = r.bytes(size); break;
        default: break;
        }
        c.skip(size);
    }
    return s;
}

// -------------------------------------------------------------------- |FONT

void readFonts(const InternalFile& f, HelpFile& out)
{
    Cursor c(f.data, "|FONT", f.headerOffset + fmt::InternalHeaderSize);
    const int faces = c.u16();
    const int descriptors = c.u16();
    const int facesAt = c.u16();
    const int descriptorsAt = c.u16();
    if (facesAt < fmt::FontHeaderSize || descriptorsAt < facesAt || (faces > 0 && (descriptorsAt - facesAt) % faces != 0))
        c.errorAt(QStringLiteral("face names at %1 and descriptors at %2 for %3 faces").arg(facesAt).arg(descriptorsAt).arg(faces), 4);
    const int faceLength = faces ? (descriptorsAt - facesAt) / faces : 0;
    Cursor names(f.data, "|FONT", f.headerOffset + fmt::InternalHeaderSize, facesAt);
    for (int i = 0; i < faces; ++i)
        out.faces.append(fixedString(names, faceLength));
    Cursor d(f.data, "|FONT", f.headerOffset + fmt::InternalHeaderSize, descriptorsAt);
    for (int i = 0; i < descriptors; ++i) {
        FontDescriptor fd;
        fd.attributes = d.u8();
        fd.halfPoints = d.u8();
        fd.family = d.u8();
        fd.faceIndex = d.u16();
        if (fd.faceIndex >= faces)
            d.error(QStringLiteral("descriptor %1 names face %2 of %3").arg(i).arg(fd.faceIndex).arg(faces));
        fd.face = out.faces[fd.faceIndex];
        const std::uint32_t r = d.u8(), g = d.u8(), b = d.u8();
        fd.colour = r << 16 | g << 8 | b;
        d.skip(3);
        out.fonts.append(fd);
    }
}

// ---------------------------------------------------- lookups and keywords

std::uint32_t u32Of(const QByteArray& b) { return std::uint32_t(readS32(b)); }
int u16Of(const QByteArray& b) { return std::uint8_t(b[0]) | std::uint8_t(b[1]) << 8; }

void needTopic(const HelpFile& h, std::uint32_t offset, const QByteArray& what)
{
    if (!h.topicAt(offset))
        fail(what, QStringLiteral("TOPICOFFSET %1 is no topic").arg(hex(offset)));
}

std::vector<BTreeEntry> tree(HelpFile& h, const QByteArray& name, const QByteArray& structure,
                             bool (*less)(const QByteArray&, const QByteArray&))
{
    const InternalFile* f = h.file(name);
    if (!f)
        return {};
    BTreeInfo info;
    auto entries = readBTree(f->data, name, info, less);
    if (info.structure != structure)
        fail(name, QStringLiteral("Structure \"%1\" instead of \"%2\"").arg(QString::fromLatin1(info.structure), QString::fromLatin1(structure)));
    h.trees.insert(name, info);
    return entries;
}

void readKeywords(HelpFile& h, char letter, QList<std::pair<QByteArray, QList<std::uint32_t>>>& out)
{
    const QByteArray btree = QByteArray("|") + letter + "WBTREE", dataName = QByteArray("|") + letter + "WDATA",
                     mapName = QByteArray("|") + letter + "WMAP";
    const InternalFile* data = h.file(dataName);
    const InternalFile* map = h.file(mapName);
    if (!h.file(btree)) {
        if (data || map)
            fail(dataName, QStringLiteral("keyword data without %1").arg(QString::fromLatin1(btree)));
        return;
    }
    if (!data || !map)
        fail(btree, QStringLiteral("keyword tree without its data or map file"));
    const auto entries = tree(h, btree, fmt::KeywordStructure, keywordLess);
    std::uint32_t expectedOffset = 0;
    for (const BTreeEntry& e : entries) {
        const int count = u16Of(e[1]);
        const std::uint32_t offset = u32Of(e[2]);
        if (offset != expectedOffset || count < 1)
            fail(btree, QStringLiteral("keyword \"%1\": %2 topics at %3, expected the list at %4")
                            .arg(QString::fromLatin1(e[0])).arg(count).arg(offset).arg(expectedOffset));
        Cursor c(data->data, dataName, data->headerOffset + fmt::InternalHeaderSize, offset);
        QList<std::uint32_t> offsets;
        for (int i = 0; i < count; ++i) {
            offsets.append(c.u32());
            needTopic(h, offsets.last(), dataName);
        }
        expectedOffset += 4u * std::uint32_t(count);
        out.append({e[0], offsets});
    }
    if (expectedOffset != data->data.size())
        fail(dataName, QStringLiteral("%1 bytes, the keywords use %2").arg(data->data.size()).arg(expectedOffset));

    const BTreeInfo& info = h.trees[btree];
    Cursor c(map->data, mapName, map->headerOffset + fmt::InternalHeaderSize);
    const int n = c.u16();
    if (n != info.leafPages.size())
        c.errorAt(QStringLiteral("%1 pages listed, the tree has %2 leaves").arg(n).arg(info.leafPages.size()), 0);
    // Keywords before each leaf: count them by walking the leaves again.
    int before = 0;
    for (int i = 0; i < n; ++i) {
        const std::int32_t stored = c.s32();
        const int page = c.u16();
        if (stored != before || page != info.leafPages[i])
            c.error(QStringLiteral("entry %1 holds %2 keywords before page %3, expected %4 before page %5")
                        .arg(i).arg(stored).arg(page).arg(before).arg(info.leafPages[i]));
        Cursor leaf(h.file(btree)->data, btree, 0, fmt::TreeHeaderSize + qsizetype(info.leafPages[i]) * info.pageSize + 2);
        before += leaf.s16();
    }
    if (!c.atEnd())
        c.error(QStringLiteral("bytes after the page list"));
}

Bitmap readBitmap(const InternalFile& f)
{
    Cursor c(f.data, f.name, f.headerOffset + fmt::InternalHeaderSize);
    Bitmap b;
    b.magic = c.u16();
    if (b.magic != fmt::PictureMagicBitmap && b.magic != fmt::PictureMagicMultiResolution)
        c.errorAt(QStringLiteral("wrong magic %1").arg(hex(b.magic)), 0);
    if (c.u16() < 1)
        c.errorAt(QStringLiteral("no picture"), 2);
    const std::uint32_t at = c.u32();
    if (at >= std::uint32_t(f.data.size()))
        c.errorAt(QStringLiteral("picture offset %1 outside the file").arg(at), 4);
    Cursor p(f.data, f.name, f.headerOffset + fmt::InternalHeaderSize, at);
    b.type = p.u8();
    b.packing = p.u8();
    if (b.type != fmt::PictureDib)
        p.error(QStringLiteral("picture type %1 is not a device-independent bitmap").arg(b.type));
    if (b.packing != fmt::PackingNone && b.packing != fmt::PackingLz77)
        p.error(QStringLiteral("packing %1 is not read").arg(b.packing));
    b.xdpi = p.cul();
    b.ydpi = p.cul();
    b.planes = p.cus();
    b.bitCount = p.cus();
    b.width = p.cul();
    b.height = p.cul();
    b.coloursUsed = p.cul();
    b.coloursImportant = p.cul();
    const std::uint32_t pixelSize = p.cul();
    p.cul(); // hotspot data size
    const std::uint32_t pixelsAt = p.u32();
    p.u32(); // hotspot data offset
    std::uint32_t colours = b.coloursUsed;
    if (colours == 0 && b.bitCount <= 8)
        colours = 1u << b.bitCount;
    if (b.bitCount != 1 && b.bitCount != 4 && b.bitCount != 8 && b.bitCount != 24)
        p.error(QStringLiteral("%1 bits per pixel").arg(b.bitCount));
    if (colours > 256)
        p.error(QStringLiteral("%1 palette entries").arg(colours));
    b.palette = p.bytes(qsizetype(colours) * 4);
    Cursor px(f.data, f.name, f.headerOffset + fmt::InternalHeaderSize, qsizetype(at) + pixelsAt);
    b.pixels = px.bytes(pixelSize);
    if (b.packing == fmt::PackingLz77)
        b.pixels = lz77Decompress(b.pixels);
    const qsizetype row = (qsizetype(b.width) * b.bitCount + 31) / 32 * 4;
    if (b.pixels.size() != row * qsizetype(b.height))
        px.error(QStringLiteral("%1 pixel bytes for %2 x %3 at %4 bits").arg(b.pixels.size()).arg(b.width).arg(b.height).arg(b.bitCount));
    return b;
}


} // namespace

HelpFile readHelpFile(const QByteArray& bytes)
{
    HelpFile h;
    Cursor c(bytes, "file header");
    if (c.u32() != fmt::FileMagic)
        c.errorAt(QStringLiteral("not a help file (wrong magic)"), 0);
    h.directoryOffset = c.u32();
    h.freeList = c.s32();
    h.totalSize = c.u32();
    if (h.totalSize != std::uint32_t(bytes.size()))
        c.errorAt(QStringLiteral("total size %1 but the file has %2 bytes").arg(h.totalSize).arg(bytes.size()), 12);
    if (h.freeList != fmt::NoFreeList)
        c.errorAt(QStringLiteral("free list %1 (none expected)").arg(h.freeList), 8);

    QList<std::pair<qsizetype, qsizetype>> spans{{0, fmt::FileHeaderSize}};
    auto internal = [&](std::uint32_t at, const QByteArray& name) {
        InternalFile f;
        f.name = name;
        f.headerOffset = at;
        Cursor fc(bytes, name.isEmpty() ? QByteArray("directory") : name, 0, std::min<qsizetype>(at, bytes.size()));
        f.reserved = fc.u32();
        f.used = fc.u32();
        f.flags = fc.u8();
        if (qint64(f.reserved) < qint64(f.used) + fmt::InternalHeaderSize)
            fc.errorAt(QStringLiteral("reserved %1 bytes for %2 used").arg(f.reserved).arg(f.used), at);
        if (qint64(at) + f.reserved > bytes.size())
            fc.errorAt(QStringLiteral("%1 bytes reserved run past the end of the file").arg(f.reserved), at);
        f.data = fc.bytes(f.used);
        spans.append({at, qsizetype(at) + f.reserved});
        return f;
    };
    const InternalFile directory = internal(h.directoryOffset, QByteArray());
    if (directory.flags != fmt::DirectoryFileFlags)
        fail("directory", QStringLiteral("flags %1 instead of 4").arg(directory.flags), h.directoryOffset + 8);
    BTreeInfo dirInfo;
    for (const BTreeEntry& e : readBTree(directory.data, "directory", dirInfo, bytesLess)) {
        InternalFile f = internal(u32Of(e[1]), e[0]);
        if (f.flags != fmt::InternalFileFlags)
            fail(e[0], QStringLiteral("flags %1 instead of 0").arg(f.flags), f.headerOffset + 8);
        h.files.append(f);
    }
    if (dirInfo.structure != fmt::DirectoryStructure)
        fail("directory", QStringLiteral("Structure \"%1\"").arg(QString::fromLatin1(dirInfo.structure)));
    h.trees.insert(QByteArray(), dirInfo);
    std::sort(spans.begin(), spans.end());
    qsizetype covered = 0;
    for (const auto& [from, to] : spans) {
        if (from < covered)
            fail("file", QStringLiteral("internal files overlap"), from);
        h.unusedBytes += from - covered;
        covered = to;
    }
    h.unusedBytes += bytes.size() - covered;

    for (const char* required : {"|SYSTEM", "|FONT", "|TOPIC", "|CONTEXT"})
        if (!h.file(required))
            fail("directory", QStringLiteral("no %1").arg(QLatin1String(required)));
    h.system = readSystem(*h.file("|SYSTEM"));
    readFonts(*h.file("|FONT"), h);
    readTopics(*h.file("|TOPIC"), h);
    if (h.system.contents)
        needTopic(h, *h.system.contents, "|SYSTEM contents");

    for (const BTreeEntry& e : tree(h, "|CONTEXT", fmt::ContextStructure, signedLess)) {
        h.context.insert(readS32(e[0]), u32Of(e[1]));
        needTopic(h, u32Of(e[1]), "|CONTEXT");
    }
    for (const BTreeEntry& e : tree(h, "|TTLBTREE", fmt::TitleStructure, unsignedLess)) {
        if (u32Of(e[0]) != h.endOffset)
            needTopic(h, u32Of(e[0]), "|TTLBTREE");
        h.titles.insert(u32Of(e[0]), e[1]);
    }
    for (const BTreeEntry& e : tree(h, "|VIOLA", fmt::ContextStructure, unsignedLess)) {
        needTopic(h, u32Of(e[0]), "|VIOLA");
        h.viola.insert(u32Of(e[0]), readS32(e[1]));
    }
    if (const InternalFile* f = h.file("|CTXOMAP")) {
        Cursor m(f->data, "|CTXOMAP", f->headerOffset + fmt::InternalHeaderSize);
        const int n = m.u16();
        for (int i = 0; i < n; ++i) {
            const std::int32_t number = m.s32();
            h.map.append({number, m.u32()});
            needTopic(h, h.map.last().second, "|CTXOMAP");
        }
        if (!m.atEnd())
            m.error(QStringLiteral("bytes after the %1 entries").arg(n));
    }
    readKeywords(h, 'K', h.kKeywords);
    readKeywords(h, 'A', h.aKeywords);
    for (const InternalFile& f : h.files) {
        if (!f.name.startsWith("|bm"))
            continue;
        bool ok = false;
        const int n = f.name.mid(3).toInt(&ok);
        if (!ok || n < 0 || QByteArray::number(n) != f.name.mid(3))
            fail(f.name, QStringLiteral("picture file name without a plain number"));
        h.bitmaps.insert(n, readBitmap(f));
    }
    return h;
}

HelpFile readHelpFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw HelpFileError(QString(path + QStringLiteral(": ") + f.errorString()).toStdString());
    return readHelpFile(f.readAll());
}


} // namespace ts::hlpread
