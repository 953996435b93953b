#include "HtmlPictures.h"

#include "PngWriter.h"

namespace ts::publish {

SitePictures::Shown SitePictures::show(int number, int topic, int inTopic)
{
    const HelpPicture* picture = nullptr;
    QString name;
    if (number >= 0) {
        picture = &doc_.picture(number);
        name = QStringLiteral("bm%1").arg(number);
    } else {
        const auto& pictures = doc_.content(topic).pictures;
        if (inTopic >= 0 && inTopic < int(pictures.size()))
            picture = &pictures[size_t(inTopic)];
        name = QStringLiteral("topic%1-picture%2").arg(topic + 1).arg(inTopic + 1);
    }
    std::lock_guard lock(mutex_);
    const auto known = shown_.find(name);
    if (known != shown_.end())
        return known->second;

    Shown shown;
    shown.name = name;
    const auto file = number >= 0 ? doc_.pictureFiles.find(number) : doc_.pictureFiles.end();
    shown.text = file != doc_.pictureFiles.end() && !file->second.isEmpty() ? file->second : name;
    shown.picture = picture;
    if (!picture || picture->format == HelpPicture::Format::Missing) {
        shown.problem = picture && !picture->problem.isEmpty() ? picture->problem : QStringLiteral("the help file holds no such picture");
        log_.warn(QStringLiteral("Picture %1 is missing (%2); its places show its name").arg(name, shown.problem), topic);
    } else if (picture->format == HelpPicture::Format::Metafile) {
        shown.problem = QStringLiteral("a Windows metafile, which browsers cannot show");
        log_.warn(QStringLiteral("Picture %1 is %2; its places show its name").arg(name, shown.problem), topic);
    } else {
        const QByteArray png = encodePng(picture->image);
        if (png.isEmpty()) {
            shown.problem = QStringLiteral("its pixels could not be read");
            log_.warn(QStringLiteral("Picture %1: %2; its places show its name").arg(name, shown.problem), topic);
        } else {
            shown.file = QStringLiteral("pictures/%1.png").arg(name);
            shown.width = picture->image.width;
            shown.height = picture->image.height;
            files_[shown.file] = png;
        }
    }
    shown_[name] = shown;
    return shown;
}

} // namespace ts::publish
