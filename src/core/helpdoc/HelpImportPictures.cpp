#include "HelpImportPictures.h"

#include "model/CountText.h"

#include <QFileInfo>
#include <QHash>

namespace ts::helpimport {
namespace {

void putU16(QByteArray& out, unsigned v)
{
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void putU32(QByteArray& out, std::uint32_t v)
{
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}

std::uint32_t rgbAt(const HelpImage& image, qsizetype pixel)
{
    const auto* p = reinterpret_cast<const unsigned char*>(image.rgba.constData()) + pixel * 4;
    return std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
}

// The colours of the image in order of first use; more than 256 stops the
// count.
std::vector<std::uint32_t> paletteOf(const HelpImage& image, QHash<std::uint32_t, int>& index)
{
    std::vector<std::uint32_t> colours;
    const qsizetype pixels = qsizetype(image.width) * image.height;
    for (qsizetype i = 0; i < pixels; ++i) {
        const std::uint32_t rgb = rgbAt(image, i);
        if (index.contains(rgb))
            continue;
        if (colours.size() == 256)
            return {};
        index.insert(rgb, int(colours.size()));
        colours.push_back(rgb);
    }
    return colours;
}

QString placementWord(HelpPlacement placement)
{
    switch (placement) {
    case HelpPlacement::Left:
        return QStringLiteral("bml");
    case HelpPlacement::Right:
        return QStringLiteral("bmr");
    case HelpPlacement::InLine:
        break;
    }
    return QStringLiteral("bmc");
}

} // namespace

QByteArray bmpFromImage(const HelpImage& image)
{
    if (image.isNull() || image.rgba.size() < qsizetype(image.width) * image.height * 4)
        return {};
    QHash<std::uint32_t, int> index;
    const std::vector<std::uint32_t> palette = paletteOf(image, index);
    const int bits = palette.empty() ? 24 : palette.size() <= 2 ? 1 : palette.size() <= 16 ? 4 : 8;
    const qsizetype stride = ((qsizetype(image.width) * bits + 31) / 32) * 4;
    const qsizetype pixelBytes = stride * image.height;
    const qsizetype paletteBytes = qsizetype(palette.size()) * 4;
    const qsizetype pixelsAt = 14 + 40 + paletteBytes;

    QByteArray out;
    out.reserve(pixelsAt + pixelBytes);
    out += "BM";
    putU32(out, std::uint32_t(pixelsAt + pixelBytes));
    putU32(out, 0);
    putU32(out, std::uint32_t(pixelsAt));
    putU32(out, 40);
    putU32(out, std::uint32_t(image.width));
    putU32(out, std::uint32_t(image.height));
    putU16(out, 1);
    putU16(out, unsigned(bits));
    putU32(out, 0); // not compressed
    putU32(out, std::uint32_t(pixelBytes));
    putU32(out, 3780); // 96 dots per inch, in dots per metre
    putU32(out, 3780);
    putU32(out, std::uint32_t(palette.size()));
    putU32(out, 0);
    for (const std::uint32_t rgb : palette) {
        out += char(rgb & 0xFF);
        out += char((rgb >> 8) & 0xFF);
        out += char((rgb >> 16) & 0xFF);
        out += '\0';
    }
    // Rows bottom-up, each padded to four bytes.
    QByteArray row(stride, '\0');
    for (int y = image.height - 1; y >= 0; --y) {
        row.fill('\0');
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t rgb = rgbAt(image, qsizetype(y) * image.width + x);
            if (bits == 24) {
                row[x * 3] = char(rgb & 0xFF);
                row[x * 3 + 1] = char((rgb >> 8) & 0xFF);
                row[x * 3 + 2] = char((rgb >> 16) & 0xFF);
                continue;
            }
            const int colour = index.value(rgb);
            const int perByte = 8 / bits;
            const int shift = 8 - bits * (x % perByte + 1);
            row[x / perByte] = char(row[x / perByte] | char(colour << shift));
        }
        out += row;
    }
    return out;
}

PictureFiles::PictureFiles(const HelpDocument& document, const QString& projectBase, ImportLog& log)
    : doc_(document), base_(projectBase), log_(log)
{
}

QString PictureFiles::fileFor(const HelpPicture& picture, const QString& stem, const QString& what, int topic)
{
    const QString name = QFileInfo(base_).fileName() + stem;
    const QString folder = QFileInfo(base_).path();
    if (picture.format == HelpPicture::Format::Missing) {
        log_.topicNote(topic, QStringLiteral("%1 can not be read (%2); left out").arg(what, picture.problem));
        return QString();
    }
    QString file;
    if (picture.format == HelpPicture::Format::Metafile) {
        file = name + QStringLiteral(".wmf");
        files_.push_back({folder + QLatin1Char('/') + file, picture.metafile});
        log_.note(QStringLiteral("%1 is a Windows metafile: kept as %2, which the help compiler does not place; "
                                 "convert it to a BMP of that name")
                      .arg(what, file));
    } else {
        file = name + QStringLiteral(".bmp");
        const QByteArray bmp = bmpFromImage(picture.image);
        if (bmp.isEmpty()) {
            log_.topicNote(topic, QStringLiteral("%1 holds no image; left out").arg(what));
            return QString();
        }
        files_.push_back({folder + QLatin1Char('/') + file, bmp});
        if (picture.transparent && bmp.at(28) == 24)
            log_.note(QStringLiteral("%1 has more than 256 colours, so %2 can not keep its transparent background")
                          .arg(what, file));
    }
    if (!picture.problem.isEmpty())
        log_.note(QStringLiteral("%1: %2").arg(what, picture.problem));
    if (picture.resolutions > 1)
        log_.note(QStringLiteral("%1 holds %2 resolutions; %3 keeps the first").arg(what).arg(picture.resolutions).arg(file));
    if (!picture.hotspots.empty()) {
        QStringList areas;
        for (const HelpPictureHotspot& area : picture.hotspots)
            areas << QStringLiteral("%1 -> %2").arg(area.name, doc_.targetText(area.hotspot));
        log_.note(QStringLiteral("%1 has %2, which a project can not hold (%3): %4")
                      .arg(what,
                           countText(qint64(picture.hotspots.size()), QStringLiteral("hotspot area"),
                                     QStringLiteral("hotspot areas")),
                           file, areas.join(QStringLiteral("; "))));
    }
    return file;
}

QString PictureFiles::markupFor(const HelpRun& run, const HelpTopicContent& content, int topic)
{
    const HelpPicture* picture = nullptr;
    QString file;
    if (run.picture >= 0) {
        picture = &doc_.picture(run.picture);
        auto [at, added] = byNumber_.emplace(run.picture, QString());
        if (added)
            at->second = fileFor(*picture, QStringLiteral("_bm%1").arg(run.picture),
                                 QStringLiteral("Picture %1").arg(run.picture), topic);
        file = at->second;
    } else if (run.pictureInTopic >= 0 && run.pictureInTopic < int(content.pictures.size())) {
        picture = &content.pictures[size_t(run.pictureInTopic)];
        auto [at, added] = inTopic_.emplace(std::pair(topic, run.pictureInTopic), QString());
        if (added)
            at->second = fileFor(*picture, QStringLiteral("_t%1_%2").arg(topic + 1).arg(run.pictureInTopic + 1),
                                 QStringLiteral("Picture %1 in the text of topic %2").arg(run.pictureInTopic + 1).arg(topic + 1),
                                 topic);
        file = at->second;
    } else {
        log_.topicNote(topic, QStringLiteral("a picture that the help file does not hold is left out"));
    }
    if (file.isEmpty() || !picture)
        return QString();
    QString word = placementWord(run.placement);
    if (picture->transparent)
        word += QLatin1Char('t');
    return QStringLiteral("{%1 %2}").arg(word, file.toUpper());
}

} // namespace ts::helpimport
