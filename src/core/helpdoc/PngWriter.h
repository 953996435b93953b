#pragma once
// PNG encoding of decoded pictures, in core. The publisher runs headless and
// core links only QtCore, whose qCompress gives the zlib stream PNG needs;
// QImage (QtGui) would tie publishing to a GUI library, so the few chunks of
// the format are written here instead.

#include "helpfile/HelpDocument.h"

#include <QByteArray>

namespace ts::publish {

// The PNG file for `image`: truecolour, with an alpha channel only when a
// pixel is not fully opaque. An empty array for a null image.
QByteArray encodePng(const HelpImage& image);

// The CRC-32 of PNG chunks (and zip): polynomial 0xEDB88320.
std::uint32_t crc32(const QByteArray& bytes, std::uint32_t crc = 0);

} // namespace ts::publish
