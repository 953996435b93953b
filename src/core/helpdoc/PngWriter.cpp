#include "PngWriter.h"

#include <array>

namespace ts::publish {

namespace {

const std::array<std::uint32_t, 256>& crcTable()
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void appendBigEndian(QByteArray& out, std::uint32_t value)
{
    out.append(char(value >> 24)).append(char(value >> 16)).append(char(value >> 8)).append(char(value));
}

void appendChunk(QByteArray& out, const char type[5], const QByteArray& data)
{
    appendBigEndian(out, std::uint32_t(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    out += typed;
    appendBigEndian(out, crc32(typed));
}

bool hasTransparency(const HelpImage& image)
{
    const auto* p = reinterpret_cast<const unsigned char*>(image.rgba.constData());
    const qsizetype pixels = qsizetype(image.width) * image.height;
    for (qsizetype i = 0; i < pixels; ++i)
        if (p[i * 4 + 3] != 0xFF)
            return true;
    return false;
}

// Each row is filtered with "Sub" (the difference from the pixel to the
// left), which shrinks the flat areas and gradients of help pictures well
// below what unfiltered rows compress to.
QByteArray filteredRows(const HelpImage& image, int channels)
{
    const auto* src = reinterpret_cast<const unsigned char*>(image.rgba.constData());
    const qsizetype rowBytes = qsizetype(image.width) * channels;
    QByteArray rows(image.height * (rowBytes + 1), Qt::Uninitialized);
    auto* out = reinterpret_cast<unsigned char*>(rows.data());
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* in = src + qsizetype(y) * image.width * 4;
        unsigned char* row = out + y * (rowBytes + 1);
        row[0] = 1; // Sub
        unsigned char* pixel = row + 1;
        for (int x = 0; x < image.width; ++x) {
            for (int c = 0; c < channels; ++c) {
                const unsigned char left = x > 0 ? in[(x - 1) * 4 + c] : 0;
                pixel[x * channels + c] = static_cast<unsigned char>(in[x * 4 + c] - left);
            }
        }
    }
    return rows;
}

} // namespace

std::uint32_t crc32(const QByteArray& bytes, std::uint32_t crc)
{
    const auto& table = crcTable();
    crc = ~crc;
    for (const char b : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

QByteArray encodePng(const HelpImage& image)
{
    if (image.isNull() || image.rgba.size() < qsizetype(image.width) * image.height * 4)
        return {};
    const bool alpha = hasTransparency(image);
    QByteArray header;
    appendBigEndian(header, std::uint32_t(image.width));
    appendBigEndian(header, std::uint32_t(image.height));
    header.append(char(8));              // bits per channel
    header.append(char(alpha ? 6 : 2));  // RGBA or RGB
    header.append(char(0)).append(char(0)).append(char(0)); // deflate, adaptive filters, no interlace

    // qCompress gives a zlib stream behind a 4-byte length of its own.
    const QByteArray zlib = qCompress(filteredRows(image, alpha ? 4 : 3), 6).mid(4);

    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlib);
    appendChunk(png, "IEND", QByteArray());
    return png;
}

} // namespace ts::publish
