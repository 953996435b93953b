#pragma once
// The pictures that topics place like characters ({bmc FILE}, {bmct FILE}):
// each distinct BMP file becomes one internal file |bmN, numbered in the
// order of first use. A path relative to the project ("pics\sub.bmp" or
// "pics/sub.bmp") is looked for below the project's folder; then the file is
// looked for beside the project by its name alone, since the markup holds an
// upper-cased path that may come from another machine; then at the markup's
// own path. Letter case does not matter in any of them. Uncompressed BMPs
// and RLE-compressed ones of 4 and 8 bits a pixel are stored.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace ts::helpfile {

class HelpPictures {
public:
    explicit HelpPictures(const QString& projectFolder);

    struct Lookup {
        std::optional<int> Number; // the picture number, when the picture can be stored
        QString Problem;           // otherwise what is wrong, for the log; with a
                                   // number, a warning about the stored picture
    };
    // The picture number for a markup path; a transparent picture is stored
    // apart from the same file placed opaque.
    Lookup pictureFor(const QString& markupPath, bool transparent);

    int count() const { return int(pictures_.size()); }
    // The |bmN files, in number order, and the name of the file each was
    // made from.
    const std::vector<QByteArray>& pictures() const { return pictures_; }
    const QStringList& fileNames() const { return fileNames_; }

    // The picture file for a BMP's bytes, or a description of why it cannot
    // be stored (not a BMP, compressed other than by RLE, an unsupported colour
    // depth).
    static std::optional<QByteArray> pictureFromBmp(const QByteArray& bmp, bool transparent, QString* problem);

private:
    QString findFile(const QString& markupPath);
    QString locate(const QString& markupPath) const;

    QDir folder_;
    std::map<std::pair<QString, bool>, Lookup> known_;
    std::map<QString, QString> located_; // markup path -> file, or empty
    std::vector<QByteArray> pictures_;
    QStringList fileNames_;
};

} // namespace ts::helpfile
