#include "HelpFonts.h"

#include "HelpFileBytes.h"
#include "model/Windows1252.h"

namespace ts::helpfile {
namespace {

enum Family : unsigned { Modern = 1, Roman = 2, Swiss = 3, Script = 4, Decorative = 5 };

// The font family the viewer falls back on when the face is not installed.
unsigned familyOf(const QString& face)
{
    const QString f = face.toLower();
    const auto has = [&f](const char* part) { return f.contains(QLatin1String(part)); };
    if (isSymbolFontFace(face))
        return Decorative;
    if (has("courier") || has("mono") || has("console") || has("consolas") || has("fixedsys")
        || has("terminal"))
        return Modern;
    if (has("times") || has("roman") || has("serif") || has("georgia") || has("garamond")
        || has("book") || has("palatino") || has("century"))
        return f.contains(QLatin1String("sans")) ? Swiss : Roman;
    if (has("script") || has("comic") || has("brush") || has("hand"))
        return Script;
    return Swiss;
}

} // namespace

int HelpFonts::faceIndex(const QString& face)
{
    // A face name holds at most 31 bytes and its NUL.
    QByteArray name = cp1252::encode(face).left(31);
    if (name.isEmpty())
        name = QByteArrayLiteral("Arial");
    const auto found = faceIndex_.find(name);
    if (found != faceIndex_.end())
        return found->second;
    const int index = int(faces_.size());
    faces_.push_back(name);
    faceIndex_.emplace(name, index);
    return index;
}

int HelpFonts::descriptorFor(const CharFormat& format, bool hotspotText)
{
    // Text mostly goes on in the format it had.
    if (lastIndex_ >= 0 && lastHotspot_ == hotspotText && lastFormat_ == format)
        return lastIndex_;
    lastFormat_ = format;
    lastHotspot_ = hotspotText;
    lastIndex_ = lookUp(format, hotspotText);
    return lastIndex_;
}

int HelpFonts::lookUp(const CharFormat& format, bool hotspotText)
{
    Descriptor d;
    if (format.Bold)
        d.Attributes |= 0x01;
    if (format.Italic)
        d.Attributes |= 0x02;
    if (format.Underline && !hotspotText)
        d.Attributes |= 0x04;
    if (format.Strike && !hotspotText)
        d.Attributes |= 0x08;
    if (format.DoubleUnderline && !hotspotText)
        d.Attributes |= 0x10;
    if (format.SmallCaps)
        d.Attributes |= 0x20;
    d.HalfPoints = unsigned(qBound(2, format.Size, 255));
    d.Family = familyOf(format.Face);
    d.Face = faceIndex(format.Face);
    d.Rgb = format.Colour.value_or(0) & 0xFFFFFF;
    const auto key = d.key();
    const auto found = descriptorIndex_.find(key);
    if (found != descriptorIndex_.end())
        return found->second;
    const int index = int(descriptors_.size());
    descriptors_.push_back(d);
    descriptorIndex_.emplace(key, index);
    return index;
}

QByteArray HelpFonts::bytes() const
{
    QByteArray out;
    const auto faceCount = unsigned(faces_.size());
    putU16(out, faceCount);
    putU16(out, unsigned(descriptors_.size()));
    putU16(out, 8);
    putU16(out, 8 + 32 * faceCount);
    for (const QByteArray& face : faces_)
        putFixed(out, face, 32);
    for (const Descriptor& d : descriptors_) {
        putU8(out, d.Attributes);
        putU8(out, d.HalfPoints);
        putU8(out, d.Family);
        putU16(out, unsigned(d.Face));
        putU8(out, (d.Rgb >> 16) & 0xFF); // red
        putU8(out, (d.Rgb >> 8) & 0xFF);  // green
        putU8(out, d.Rgb & 0xFF);         // blue
        // The background colour is not used by the viewer; every descriptor
        // carries these three bytes.
        putU8(out, 1);
        putU8(out, 1);
        putU8(out, 0);
    }
    return out;
}

} // namespace ts::helpfile
