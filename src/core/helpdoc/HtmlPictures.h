#pragma once
// The pictures of a published site: each picture the pages place is
// written once as PNG under pictures/, on first use, whoever asks first.
// A picture that cannot be shown (missing, a Windows metafile) is said once
// in the log and its pages show a placeholder instead.

#include "helpfile/HelpDocument.h"
#include "HtmlSitePlan.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <mutex>
#include <vector>

namespace ts::publish {

class SitePictures {
public:
    SitePictures(const HelpDocument& doc, PublishLog& log) : doc_(doc), log_(log) {}

    struct Shown {
        QString file;          // "pictures/bm3.png"; empty when it cannot be shown
        QString name;          // the picture's name: "bm3"
        QString text;          // its alternative text: the file it was made from, else its name
        int width = 0, height = 0;
        const HelpPicture* picture = nullptr;
        QString problem;       // why it cannot be shown
    };
    // Picture |bm<number>, or with `number` -1 picture `inTopic` of topic `topic`.
    Shown show(int number, int topic, int inTopic);

    // The PNG files made so far: path -> bytes.
    const std::map<QString, QByteArray>& files() const { return files_; }

private:
    std::mutex mutex_;
    const HelpDocument& doc_;
    PublishLog& log_;
    std::map<QString, Shown> shown_; // by name
    std::map<QString, QByteArray> files_;
};

} // namespace ts::publish
