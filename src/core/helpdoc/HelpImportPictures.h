#pragma once
// The pictures of a help file as files beside the imported project, and the
// markup that places them in the topic text ({bmc FILE}, {bml FILE},
// {bmr FILE}, with a "t" for a transparent background).
//
// Bitmaps become Windows BMP files named after the project, base_bmN.bmp
// (N the picture's number in the help file); metafiles are kept as .wmf
// files. What a picture loses (hotspot areas, further resolutions, a
// metafile's form for the compiler) goes to the import log once per
// picture. Nothing is written here: the importer writes the files.

#include "HelpImportLog.h"
#include "helpfile/HelpDocument.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <vector>

namespace ts::helpimport {

// A file the import writes beside the project.
struct ImportedFile {
    QString path;
    QByteArray bytes;
};

// A Windows BMP of the image (alpha left out; a transparent picture's
// background pixels keep the white they hold). Images of 256 colours or
// fewer get a palette (1, 4 or 8 bits), so that the help compiler can keep
// them transparent; others are 24 bits. An empty array for a null image.
QByteArray bmpFromImage(const HelpImage& image);

class PictureFiles {
public:
    PictureFiles(const HelpDocument& document, const QString& projectBase, ImportLog& log);

    // The markup that places the picture of `run` (a picture run of topic
    // `topic`), or an empty string when the picture can not be kept (logged).
    QString markupFor(const HelpRun& run, const HelpTopicContent& content, int topic);

    // Every file to write, in the order first used.
    const std::vector<ImportedFile>& files() const { return files_; }
    int pictureCount() const { return int(files_.size()); }

private:
    // The file name for a picture (empty when it can not be kept); made on
    // first use.
    QString fileFor(const HelpPicture& picture, const QString& stem, const QString& what, int topic);

    const HelpDocument& doc_;
    QString base_;      // the project base, the pictures' folder and name start
    ImportLog& log_;
    std::map<int, QString> byNumber_;                    // picture number -> file name
    std::map<std::pair<int, int>, QString> inTopic_;     // (topic, index) -> file name
    std::vector<ImportedFile> files_;
};

} // namespace ts::helpimport
