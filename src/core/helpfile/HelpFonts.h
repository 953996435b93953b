#pragma once
// The font table of the help file (|FONT): face names and descriptors
// (face, size, attributes, colour) shared by every topic. The topic text
// refers to a descriptor by its number.

#include "richtext/RichDocument.h"

#include <QByteArray>
#include <map>
#include <tuple>
#include <vector>

namespace ts::helpfile {

class HelpFonts {
public:
    // The descriptor for text in this format; the same format always gives
    // the same number. Underline and strike-out count only when
    // `hotspotText` is false: hotspots are drawn by the viewer itself.
    int descriptorFor(const CharFormat& format, bool hotspotText = false);

    int descriptorCount() const { return int(descriptors_.size()); }

    // The |FONT file.
    QByteArray bytes() const;

private:
    struct Descriptor {
        unsigned Attributes = 0;
        unsigned HalfPoints = 0;
        unsigned Family = 0;
        int Face = 0;
        std::uint32_t Rgb = 0;
        auto key() const { return std::tuple(Attributes, HalfPoints, Family, Face, Rgb); }
    };
    int faceIndex(const QString& face);

    std::vector<QByteArray> faces_;
    std::map<QByteArray, int> faceIndex_;
    std::vector<Descriptor> descriptors_;
    std::map<std::tuple<unsigned, unsigned, unsigned, int, std::uint32_t>, int> descriptorIndex_;
};

} // namespace ts::helpfile
