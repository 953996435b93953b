#pragma once
// Pictures of a help file (|bm<n>, and pictures stored in the text): device
// independent and dependent bitmaps of every depth, stored, RLE-packed,
// LZ77-packed or both, decoded to RGBA pixels; metafiles kept as .WMF bytes;
// the hotspot rectangles of segmented pictures.

#include "helpfile/HelpDocument.h"

#include <QByteArray>

namespace ts::helpfile::reading {

// Decodes the picture container `data` (its first picture when it holds
// several resolutions). Never fails: what cannot be decoded is said in
// HelpPicture::problem. Hotspot target strings are decoded with `codePage`.
HelpPicture decodePicture(const QByteArray& data, int codePage);

// The most pixels a picture may have; larger ones are refused as damage.
inline constexpr qint64 MaxPicturePixels = qint64(1) << 24;

} // namespace ts::helpfile::reading
