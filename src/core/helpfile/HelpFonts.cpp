#include "HelpFonts.h"

#include "HelpFileBytes.h"
#include "HelpFileFormat.h"
#include "model/Windows1252.h"

namespace ts::helpfile {
namespace {

using namespace format;

// A colour as the descriptor stores it: the bytes R, G, B.
void putRgb(QByteArray& out, std::uint32_t rgb)
{
    putU8(out, (rgb >> 16) & 0xFF);
    putU8(out, (rgb >> 8) & 0xFF);
    putU8(out, rgb & 0xFF);
}

// The font family the viewer falls back on when the face is not installed.
unsigned familyOf(const QString& face)
{
    const QString f = face.toLower();
    const auto has = [&f](const char* part) { return f.contains(QLatin1String(part)); };
    if (isSymbolFontFace(face))
        return FamilyDecorative;
    if (has("courier") || has("mono") || has("console") || has("consolas") || has("fixedsys")
        || has("terminal"))
        return FamilyModern;
    if (has("times") || has("roman") || has("serif") || has("georgia") || has("garamond")
        || has("book") || has("palatino") || has("century"))
        return f.contains(QLatin1String("sans")) ? FamilySwiss : FamilyRoman;
    if (has("script") || has("comic") || has("brush") || has("hand"))
        return FamilyScript;
    return FamilySwiss;
}

} // namespace

int HelpFonts::faceIndex(const QString& face)
{
    // A face name holds its NUL too.
    QByteArray name = cp1252::encode(face).left(FaceNameSize40 - 1);
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
        d.Attributes |= FontBold;
    if (format.Italic)
        d.Attributes |= FontItalic;
    if (format.Underline && !hotspotText)
        d.Attributes |= FontUnderline;
    if (format.Strike && !hotspotText)
        d.Attributes |= FontStrikeOut;
    if (format.DoubleUnderline && !hotspotText)
        d.Attributes |= FontDoubleUnderline;
    if (format.SmallCaps)
        d.Attributes |= FontSmallCaps;
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
    putU16(out, FontHeaderSize);
    putU16(out, FontHeaderSize + FaceNameSize40 * faceCount);
    for (const QByteArray& face : faces_)
        putFixed(out, face, FaceNameSize40);
    for (const Descriptor& d : descriptors_) {
        putU8(out, d.Attributes);
        putU8(out, d.HalfPoints);
        putU8(out, d.Family);
        putU16(out, unsigned(d.Face));
        putRgb(out, d.Rgb);
        // The background colour is not used by the viewer; every descriptor
        // carries the automatic colour there.
        putRgb(out, AutomaticColour);
    }
    return out;
}

} // namespace ts::helpfile
