#include "HelpPictures.h"

#include "HelpFileBytes.h"
#include "HelpFileFormat.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ts::helpfile {
namespace {

using namespace format;

// The BMP file's own headers.
constexpr qsizetype BmpFileHeaderSize = 14;
constexpr std::uint32_t BmpInfoHeaderSize = 40; // BITMAPINFOHEADER; larger ones extend it
// The resolution of the screen the help file is made for.
constexpr std::uint32_t ScreenDotsPerInch = 96;

std::uint32_t readU32(const QByteArray& b, qsizetype at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}
unsigned readU16(const QByteArray& b, qsizetype at)
{
    return unsigned(static_cast<unsigned char>(b[at])) | unsigned(static_cast<unsigned char>(b[at + 1])) << 8;
}

// The file name at the end of a path written with "\", "/" or a drive ":".
QString fileNameOf(const QString& path)
{
    const qsizetype cut = qMax(qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/'))),
                               path.lastIndexOf(QLatin1Char(':')));
    return path.mid(cut + 1);
}

// An absolute path whose letter case may differ from the files' (the
// insertion writes it in capitals): each part is taken as it stands when it
// exists, else the one entry of its folder that differs only in case.
QString existingIgnoringCase(const QString& absolutePath)
{
    if (!absolutePath.startsWith(QLatin1Char('/')))
        return QString();
    QDir at(QStringLiteral("/"));
    const QStringList parts = absolutePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // The kernel's own file systems hold no pictures, and some of their
    // files never end when read.
    static const QStringList systemFolders{QStringLiteral("proc"), QStringLiteral("sys"), QStringLiteral("dev")};
    if (parts.isEmpty() || systemFolders.contains(parts.first(), Qt::CaseInsensitive))
        return QString();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QString part = parts[i];
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return QString();
        if (!QFileInfo::exists(at.filePath(part))) {
            const QDir::Filters kind = i + 1 < parts.size() ? QDir::Dirs : QDir::Files;
            const QStringList entries = at.entryList(kind | QDir::Hidden | QDir::NoDotAndDotDot);
            const auto match = std::find_if(entries.begin(), entries.end(), [&part](const QString& entry) {
                return entry.compare(part, Qt::CaseInsensitive) == 0;
            });
            if (match == entries.end())
                return QString();
            part = *match;
        }
        if (i + 1 < parts.size() && !at.cd(part))
            return QString();
        if (i + 1 == parts.size())
            return QFileInfo(at.filePath(part)).isFile() ? at.filePath(part) : QString();
    }
    return QString();
}

constexpr std::uint32_t RleEightBits = 1; // BI_RLE8
constexpr std::uint32_t RleFourBits = 2;  // BI_RLE4

// The rows of a run-length encoded bitmap (8 or 4 bits a pixel), bottom-up
// and padded as an uncompressed one. Pixels the codes never reach (a jump, or
// data that ends early) are colour 0; codes that would write outside the
// picture are dropped, so damaged data never writes out of bounds.
QByteArray decodeRle(const QByteArray& data, int width, int rows, int bits, qsizetype rowBytes)
{
    QByteArray out(rowBytes * rows, '\0');
    int x = 0, y = 0;
    const auto put = [&](int value) {
        if (x < width && y < rows) {
            char& byte = out[qsizetype(y) * rowBytes + (bits == 8 ? x : x / 2)];
            if (bits == 8)
                byte = char(value);
            else
                byte = char(x % 2 == 0 ? (byte & 0x0F) | (value & 0x0F) << 4 : (byte & 0xF0) | (value & 0x0F));
        }
        ++x;
    };
    const auto at = [&data](qsizetype i) { return static_cast<unsigned char>(data[i]); };
    qsizetype i = 0;
    while (i + 1 < data.size() && y < rows) {
        const int count = at(i), code = at(i + 1);
        i += 2;
        if (count > 0) { // a run: `count` pixels of one byte (two alternating pixels at 4 bits)
            for (int k = 0; k < count; ++k)
                put(bits == 8 ? code : (k % 2 == 0 ? code >> 4 : code & 0x0F));
        } else if (code == 0) { // end of line
            x = 0;
            ++y;
        } else if (code == 1) { // end of the picture
            break;
        } else if (code == 2) { // jump right and up
            if (i + 1 >= data.size())
                break;
            x += at(i);
            y += at(i + 1);
            i += 2;
        } else { // `code` pixels as they stand, padded to a whole word
            const qsizetype bytes = bits == 8 ? code : (code + 1) / 2;
            if (i + bytes > data.size())
                break;
            for (int k = 0; k < code; ++k)
                put(bits == 8 ? at(i + k) : (k % 2 == 0 ? at(i + k / 2) >> 4 : at(i + k / 2) & 0x0F));
            i += bytes + (bytes % 2);
        }
    }
    return out;
}

} // namespace

HelpPictures::HelpPictures(const QString& projectFolder) : folder_(projectFolder) {}

QString HelpPictures::findFile(const QString& markupPath)
{
    // Every use of a picture asks again; the folders are read once for each.
    const auto known = located_.find(markupPath);
    if (known != located_.end())
        return known->second;
    return located_[markupPath] = locate(markupPath);
}

QString HelpPictures::locate(const QString& markupPath) const
{
    const QString name = fileNameOf(markupPath.trimmed());
    if (name.isEmpty())
        return QString();
    // A path relative to the project, written with "\" or "/" ("pics\a.bmp").
    QString relative = markupPath.trimmed();
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool absolute = relative.startsWith(QLatin1Char('/')) || (relative.size() > 1 && relative.at(1) == QLatin1Char(':'));
    if (!absolute && relative.contains(QLatin1Char('/'))) {
        const QString found = existingIgnoringCase(QDir::cleanPath(folder_.absoluteFilePath(relative)));
        if (!found.isEmpty())
            return found;
    }
    if (QFileInfo(folder_.filePath(name)).isFile())
        return folder_.filePath(name);
    const QStringList entries = folder_.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder_.filePath(entry);
    // A picture inserted from another folder is found where it was picked.
    return existingIgnoringCase(markupPath.trimmed());
}

HelpPictures::Lookup HelpPictures::pictureFor(const QString& markupPath, bool transparent)
{
    const QString path = findFile(markupPath);
    if (path.isEmpty())
        return {std::nullopt,
                QStringLiteral("bitmap %1 not found beside the project or at that path").arg(markupPath.trimmed())};
    const auto key = std::pair(QFileInfo(path).canonicalFilePath(), transparent);
    const auto found = known_.find(key);
    if (found != known_.end())
        return found->second;

    Lookup lookup;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        lookup.Problem = QStringLiteral("bitmap %1 cannot be read: %2").arg(path, file.errorString());
    } else {
        QString problem;
        const QByteArray bmp = file.readAll();
        const std::optional<QByteArray> picture = pictureFromBmp(bmp, transparent, &problem);
        if (picture) {
            lookup.Number = int(pictures_.size());
            pictures_.push_back(*picture);
            fileNames_.append(QFileInfo(path).fileName());
            if (transparent && readU16(bmp, 28) > 8)
                lookup.Problem = QStringLiteral("bitmap %1 has no colour palette, so it cannot be transparent; "
                                                "stored opaque (save it with 256 colours or fewer)")
                                     .arg(path);
        } else {
            lookup.Problem = QStringLiteral("bitmap %1 %2").arg(path, problem);
        }
    }
    known_.emplace(key, lookup);
    return lookup;
}

namespace {

// What the picture file needs of a BMP.
struct BmpInfo {
    std::int32_t Width = 0, Height = 0; // a negative height: rows stored top-down
    unsigned Bits = 0;
    std::uint32_t Colours = 0;  // palette entries to store
    qsizetype PaletteAt = 0;
    std::uint32_t PixelsAt = 0;
    qsizetype RowBytes = 0, Rows = 0;
    bool Rle = false;
};

// The BMP's header, checked against the file's size; nothing, with `problem`
// set, for a BMP the help file cannot hold.
std::optional<BmpInfo> readBmpHeader(const QByteArray& bmp, const char** problem)
{
    const auto fail = [problem](const char* why) {
        *problem = why;
        return std::nullopt;
    };
    if (bmp.size() < BmpFileHeaderSize + BmpInfoHeaderSize || bmp[0] != 'B' || bmp[1] != 'M')
        return fail("is not a BMP file");
    BmpInfo b;
    b.PixelsAt = readU32(bmp, 10);
    const std::uint32_t headerSize = readU32(bmp, 14);
    if (headerSize < BmpInfoHeaderSize || BmpFileHeaderSize + qsizetype(headerSize) > bmp.size())
        return fail("has a picture header this compiler does not know");
    b.Width = std::int32_t(readU32(bmp, 18));
    b.Height = std::int32_t(readU32(bmp, 22));
    const unsigned planes = readU16(bmp, 26);
    b.Bits = readU16(bmp, 28);
    const std::uint32_t compression = readU32(bmp, 30);
    b.Colours = readU32(bmp, 46);
    b.Rle = (compression == RleEightBits && b.Bits == 8) || (compression == RleFourBits && b.Bits == 4);
    if (compression != 0 && !b.Rle)
        return fail("is compressed in a way other than RLE; save it as an uncompressed BMP");
    if (planes != 1 || (b.Bits != 1 && b.Bits != 4 && b.Bits != 8 && b.Bits != 24))
        return fail("has a colour depth other than 1, 4, 8 or 24 bits");
    if (b.Width <= 0 || b.Height == 0 || b.Width > 32767 || b.Height < -32767 || b.Height > 32767
        || (b.Rle && b.Height < 0))
        return fail("has an impossible size");
    if (b.Bits <= 8 && (b.Colours == 0 || b.Colours > (1u << b.Bits)))
        b.Colours = 1u << b.Bits;
    if (b.Bits == 24)
        b.Colours = 0;
    b.PaletteAt = BmpFileHeaderSize + qsizetype(headerSize);
    b.RowBytes = ((qsizetype(b.Width) * b.Bits + 31) / 32) * 4;
    b.Rows = b.Height < 0 ? -qsizetype(b.Height) : b.Height;
    if (b.PaletteAt + qsizetype(b.Colours) * 4 > bmp.size() || b.PixelsAt < b.PaletteAt
        || b.PixelsAt >= std::uint32_t(bmp.size())
        || (!b.Rle && qsizetype(b.PixelsAt) + b.RowBytes * b.Rows > bmp.size()))
        return fail("is cut short");
    return b;
}

// The pixel rows bottom-up and uncompressed, as the help file holds them.
QByteArray plainRows(const QByteArray& bmp, const BmpInfo& b)
{
    if (b.Rle)
        return decodeRle(bmp.mid(qsizetype(b.PixelsAt)), int(b.Width), int(b.Rows), int(b.Bits), b.RowBytes);
    // A top-down BMP (negative height) is turned.
    QByteArray pixels;
    pixels.reserve(b.RowBytes * b.Rows);
    for (qsizetype r = 0; r < b.Rows; ++r) {
        const qsizetype source = b.Height < 0 ? b.Rows - 1 - r : r;
        pixels += bmp.mid(qsizetype(b.PixelsAt) + source * b.RowBytes, b.RowBytes);
    }
    return pixels;
}

} // namespace

std::optional<QByteArray> HelpPictures::pictureFromBmp(const QByteArray& bmp, bool transparent, QString* problem)
{
    const char* why = nullptr;
    const std::optional<BmpInfo> info = readBmpHeader(bmp, &why);
    if (!info) {
        if (problem)
            *problem = QString::fromLatin1(why);
        return std::nullopt;
    }
    const BmpInfo& b = *info;
    const QByteArray pixels = plainRows(bmp, b);

    QByteArray head; // the picture's fields up to the pixel data offset
    putU8(head, PictureDib);
    putU8(head, PackingNone);
    putCompressedU32(head, ScreenDotsPerInch);
    putCompressedU32(head, ScreenDotsPerInch);
    putCompressedU16(head, 1); // planes
    putCompressedU16(head, b.Bits);
    putCompressedU32(head, std::uint32_t(b.Width));
    putCompressedU32(head, std::uint32_t(b.Rows));
    putCompressedU32(head, b.Colours);
    // A transparent picture drops its white; only pictures with a palette
    // can say so.
    putCompressedU32(head, transparent && b.Bits <= 8 ? 1 : 0);
    putCompressedU32(head, std::uint32_t(b.RowBytes * b.Rows));
    putCompressedU32(head, 0); // no hotspots
    // The two offsets below end the fields; the palette follows them.
    const qsizetype fixed = head.size() + 8;
    const qsizetype dataAt = fixed + qsizetype(b.Colours) * 4;
    putU32(head, std::uint32_t(dataAt));
    putU32(head, 0);

    QByteArray out;
    putU16(out, PictureMagicBitmap);
    putU16(out, 1); // one picture
    putU32(out, PictureFileHeaderSize + 4);
    out += head;
    for (std::uint32_t c = 0; c < b.Colours; ++c) {
        out += bmp.mid(b.PaletteAt + qsizetype(c) * 4, 3);
        putU8(out, 0);
    }
    out += pixels;
    return out;
}

} // namespace ts::helpfile
