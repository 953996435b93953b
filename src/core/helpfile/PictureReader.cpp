#include "PictureReader.h"

#include "ByteCursor.h"
#include "ContextHash.h"
#include "HelpCodePage.h"
#include "HelpFileFormat.h"
#include "Lz77Decoder.h"
#include "model/CountText.h"

#include <algorithm>

namespace ts::helpfile::reading {

namespace {

using namespace format;

QByteArray unRle(const QByteArray& in, qsizetype maxOutput)
{
    QByteArray out;
    out.reserve(qMin(maxOutput, in.size() * 64));
    qsizetype i = 0;
    while (i < in.size() && out.size() < maxOutput) {
        const int n = std::uint8_t(in[i++]);
        if (n & 0x80) {
            const qsizetype count = std::min({qsizetype(n & 0x7F), in.size() - i, maxOutput - out.size()});
            out.append(in.constData() + i, count);
            i += n & 0x7F;
        } else if (i < in.size()) {
            out.append(QByteArray(qMin<qsizetype>(n, maxOutput - out.size()), in[i++]));
        }
    }
    return out;
}

// The largest unpacked size `stored` packed bytes may give.
qint64 maxUnpacked(int packing, qsizetype stored)
{
    switch (packing) {
    case PackingNone:
        return stored;
    case PackingRle:
        return qint64(stored) * 64;
    case PackingLz77:
        return lz77MaxOutput(stored);
    default:
        return qint64(lz77MaxOutput(stored)) * 64;
    }
}

QByteArray unpack(const QByteArray& stored, int packing, qsizetype expected, QString& problem)
{
    switch (packing) {
    case PackingNone:
        return stored.left(expected);
    case PackingRle:
        return unRle(stored, expected);
    case PackingLz77:
    case PackingLz77Rle: {
        const qsizetype limit = packing == PackingLz77 ? expected : lz77MaxOutput(stored.size());
        const Lz77Result lz = lz77Decompress(stored, limit);
        if (lz.damaged)
            problem = QStringLiteral("the picture data is damaged");
        return packing == PackingLz77 ? lz.bytes : unRle(lz.bytes, expected);
    }
    default:
        problem = QStringLiteral("unknown packing %1").arg(packing);
        return QByteArray();
    }
}

struct BitmapHeader {
    int type = 0, packing = 0, bitCount = 0, width = 0, height = 0;
    std::uint32_t coloursUsed = 0, coloursImportant = 0, storedSize = 0, hotspotSize = 0;
    std::uint32_t pixelOffset = 0, hotspotOffset = 0;
    std::vector<std::uint32_t> palette; // 0xRRGGBB
};

std::uint32_t paletteColour(const BitmapHeader& h, int index)
{
    if (index < int(h.palette.size()))
        return h.palette[size_t(index)];
    if (h.palette.empty() && h.bitCount == 1)
        return index ? 0xFFFFFF : 0; // a monochrome device bitmap
    return 0;
}

std::uint32_t pixelAt(const BitmapHeader& h, const char* row, int x)
{
    switch (h.bitCount) {
    case 1:
        return paletteColour(h, (std::uint8_t(row[x / 8]) >> (7 - x % 8)) & 1);
    case 4:
        return paletteColour(h, (std::uint8_t(row[x / 2]) >> (x % 2 ? 0 : 4)) & 0x0F);
    case 8:
        return paletteColour(h, std::uint8_t(row[x]));
    case 16: {
        const unsigned v = std::uint8_t(row[2 * x]) | unsigned(std::uint8_t(row[2 * x + 1])) << 8;
        const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        return (r * 255 / 31) << 16 | (g * 255 / 31) << 8 | (b * 255 / 31);
    }
    default: {
        const int step = h.bitCount / 8;
        const char* p = row + qsizetype(x) * step;
        return std::uint32_t(std::uint8_t(p[2])) << 16 | std::uint32_t(std::uint8_t(p[1])) << 8 | std::uint8_t(p[0]);
    }
    }
}

HelpImage toRgba(const BitmapHeader& h, const QByteArray& pixels, qsizetype stride, bool transparent)
{
    HelpImage image;
    image.width = h.width;
    image.height = h.height;
    image.rgba.resize(qsizetype(h.width) * h.height * 4);
    char* out = image.rgba.data();
    for (int y = 0; y < h.height; ++y) {
        const char* row = pixels.constData() + qsizetype(h.height - 1 - y) * stride; // rows are stored bottom-up
        for (int x = 0; x < h.width; ++x) {
            const std::uint32_t colour = pixelAt(h, row, x);
            *out++ = char(colour >> 16);
            *out++ = char(colour >> 8);
            *out++ = char(colour);
            *out++ = char(transparent && colour == 0xFFFFFF ? 0 : 255);
        }
    }
    return image;
}

HelpHotspot pictureHotspot(int kind, const QString& target)
{
    HelpHotspot h;
    h.drawnAsHotspot = !(kind & HotspotPlainBit);
    if (kind == CommandMacro || kind == CommandMacroPlain) {
        h.kind = HelpHotspot::Kind::Macro;
        h.macro = target;
        return h;
    }
    h.kind = (kind & HotspotJumpBit) ? HelpHotspot::Kind::Jump : HelpHotspot::Kind::Popup;
    QString id = target;
    const qsizetype at = id.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        h.file = id.mid(at + 1);
        id.truncate(at);
    }
    const qsizetype window = id.indexOf(QLatin1Char('>'));
    if (window >= 0) {
        h.window = id.mid(window + 1);
        id.truncate(window);
    }
    h.targetId = id;
    return h;
}

void readHotspots(const QByteArray& picture, std::uint32_t offset, std::uint32_t size, int codePage, HelpPicture& out)
{
    ByteCursor c(picture, offset, qint64(offset) + size);
    if (c.u8() != PictureHotspotMagic)
        return;
    const int count = c.u16();
    const std::uint32_t macroSize = c.u32();
    if (!c.ok() || qint64(count) * PictureHotspotSize > c.left()) {
        out.problem = QStringLiteral("the picture's hotspots are damaged");
        return;
    }
    struct Area { int kind; QRect rect; std::int32_t value; };
    std::vector<Area> areas;
    for (int i = 0; i < count; ++i) {
        Area a;
        a.kind = c.u8();
        c.skip(2);
        const int x = c.u16(), y = c.u16(), w = c.u16(), h = c.u16();
        a.rect = QRect(x, y, w, h);
        a.value = c.s32();
        areas.push_back(a);
    }
    c.skip(macroSize);
    for (const Area& a : areas) {
        const QString name = decodeText(c.stringz(), codePage);
        const QByteArray target = c.stringz();
        HelpPictureHotspot spot{a.rect, name, pictureHotspot(a.kind, decodeText(target, codePage))};
        if (spot.hotspot.kind != HelpHotspot::Kind::Macro)
            spot.hotspot.targetHash = spot.hotspot.targetId.isEmpty()
                                          ? a.value
                                          : contextHash(encodeText(spot.hotspot.targetId, codePage));
        out.hotspots.push_back(spot);
    }
    if (!c.ok())
        out.problem = QStringLiteral("the picture's hotspot names are cut short");
}

bool readBitmapHeader(ByteCursor& c, BitmapHeader& h, HelpPicture& out)
{
    out.xDpi = int(c.cul());
    out.yDpi = int(c.cul());
    c.cus(); // planes
    h.bitCount = c.cus();
    h.width = int(c.cul());
    h.height = int(c.cul());
    h.coloursUsed = c.cul();
    h.coloursImportant = c.cul();
    h.storedSize = c.cul();
    h.hotspotSize = c.cul();
    h.pixelOffset = c.u32();
    h.hotspotOffset = c.u32();
    if (!c.ok() || h.width <= 0 || h.height <= 0 || qint64(h.width) * h.height > MaxPicturePixels
        || !(h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 || h.bitCount == 24
             || h.bitCount == 32)) {
        out.problem = QStringLiteral("the bitmap's header is damaged (%1 x %2, %3)")
                          .arg(QString::number(h.width), QString::number(h.height),
                               countText(h.bitCount, QStringLiteral("bit"), QStringLiteral("bits")));
        return false;
    }
    if (h.type == PictureDib && h.bitCount <= 8) {
        const qint64 colours = h.coloursUsed ? h.coloursUsed : (1u << h.bitCount);
        for (qint64 i = 0; i < colours && i < 256 && c.left() >= 4; ++i) {
            const std::uint32_t b = c.u8(), g = c.u8(), r = c.u8();
            c.u8();
            h.palette.push_back(r << 16 | g << 8 | b);
        }
    }
    return true;
}

void decodeBitmap(const QByteArray& picture, ByteCursor& c, BitmapHeader& h, int codePage, HelpPicture& out)
{
    if (!readBitmapHeader(c, h, out))
        return;
    // Device-dependent rows are padded to 2 bytes, device-independent ones to 4.
    const qsizetype stride = h.type == PictureDdb ? (qsizetype(h.width) * h.bitCount + 15) / 16 * 2
                                                  : (qsizetype(h.width) * h.bitCount + 31) / 32 * 4;
    const qsizetype expected = stride * h.height;
    const QByteArray stored = picture.mid(h.pixelOffset, h.storedSize);
    if (expected > maxUnpacked(h.packing, stored.size())) {
        out.problem = QStringLiteral("the bitmap's pixels are cut short or damaged");
        return;
    }
    QByteArray pixels = unpack(stored, h.packing, expected, out.problem);
    if (pixels.size() < expected) {
        if (out.problem.isEmpty())
            out.problem = QStringLiteral("the bitmap's pixels are cut short");
        pixels.append(QByteArray(expected - pixels.size(), '\0'));
    }
    out.transparent = h.coloursImportant == 1;
    out.image = toRgba(h, pixels, stride, out.transparent);
    out.format = HelpPicture::Format::Bitmap;
    if (h.hotspotSize > 0 && h.hotspotOffset > 0)
        readHotspots(picture, h.hotspotOffset, h.hotspotSize, codePage, out);
}

QByteArray placeableHeader(int width, int height)
{
    QByteArray header;
    auto word = [&](unsigned v) {
        header.append(char(v & 0xFF));
        header.append(char((v >> 8) & 0xFF));
    };
    word(PlaceableMetafileKey & 0xFFFF);
    word(PlaceableMetafileKey >> 16);
    word(0); // handle
    word(0);
    word(0);
    word(unsigned(width));
    word(unsigned(height));
    word(PlaceableMetafileUnitsPerInch);
    word(0); // reserved
    word(0);
    unsigned checksum = 0;
    for (qsizetype i = 0; i < header.size(); i += 2)
        checksum ^= std::uint8_t(header[i]) | unsigned(std::uint8_t(header[i + 1])) << 8;
    word(checksum);
    return header;
}

void decodeMetafile(const QByteArray& picture, ByteCursor& c, int packing, int codePage, HelpPicture& out)
{
    c.cus(); // mapping mode
    out.metafileWidth = c.u16();
    out.metafileHeight = c.u16();
    const std::uint32_t unpackedSize = c.cul();
    const std::uint32_t storedSize = c.cul();
    const std::uint32_t hotspotSize = c.cul();
    const std::uint32_t dataOffset = c.u32();
    const std::uint32_t hotspotOffset = c.u32();
    const QByteArray stored = picture.mid(dataOffset, storedSize);
    if (!c.ok() || unpackedSize > maxUnpacked(packing, stored.size())) {
        out.problem = QStringLiteral("the metafile is cut short or damaged");
        return;
    }
    const QByteArray data = unpack(stored, packing, unpackedSize, out.problem);
    if (data.size() < qsizetype(unpackedSize) && out.problem.isEmpty())
        out.problem = QStringLiteral("the metafile is cut short");
    out.metafile = placeableHeader(out.metafileWidth, out.metafileHeight) + data;
    out.format = HelpPicture::Format::Metafile;
    if (hotspotSize > 0 && hotspotOffset > 0)
        readHotspots(picture, hotspotOffset, hotspotSize, codePage, out);
}

} // namespace

HelpPicture decodePicture(const QByteArray& data, int codePage)
{
    HelpPicture out;
    ByteCursor c(data);
    c.u16(); // magic: not to be relied on
    out.resolutions = c.u16();
    const std::uint32_t first = c.u32();
    if (!c.ok() || out.resolutions < 1 || first >= std::uint32_t(data.size())) {
        out.problem = QStringLiteral("not a picture");
        return out;
    }
    const QByteArray picture = data.mid(first);
    ByteCursor p(picture);
    BitmapHeader h;
    h.type = p.u8();
    h.packing = p.u8();
    if (h.packing > PackingLz77Rle) {
        out.problem = QStringLiteral("unknown packing %1").arg(h.packing);
        return out;
    }
    if (h.type == PictureDib || h.type == PictureDdb)
        decodeBitmap(picture, p, h, codePage, out);
    else if (h.type == PictureMetafile)
        decodeMetafile(picture, p, h.packing, codePage, out);
    else
        out.problem = QStringLiteral("a picture of unknown type %1").arg(h.type);
    return out;
}

} // namespace ts::helpfile::reading
