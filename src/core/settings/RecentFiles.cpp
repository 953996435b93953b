#include "RecentFiles.h"

namespace ts {

namespace {

QString placeCaption(int k, const QString& path)
{
    return QLatin1Char('&') + QString::number(k + 1) + QLatin1Char(' ') + path;
}

} // namespace

RecentFiles::RecentFiles()
{
    for (int k = 0; k < Count; ++k)
        captions_[size_t(k)] = emptyCaption(k);
}

QString RecentFiles::emptyCaption(int k)
{
    return placeCaption(k, QStringLiteral("NoName"));
}

// The whole path, however long: a cut path would open another file or none.
QString RecentFiles::path(int k) const
{
    return caption(k).mid(3);
}

void RecentFiles::arrangeReopen(const QString& projectPath)
{
    int match = -1;
    for (int k = 0; k < Count; ++k)
        if (path(k) == projectPath)
            match = k;
    if (match < 0) {
        for (int k = Count - 1; k >= 1; --k)
            setCaption(k, placeCaption(k, path(k - 1)));
    } else {
        setCaption(match, placeCaption(match, path(0)));
    }
    setCaption(0, placeCaption(0, projectPath));
}

} // namespace ts
