#pragma once
// The five recently used projects. Each place holds a menu caption
// "&k path" (or "&k NoName" when empty); the caption is the only store and is
// written to the settings file as it stands.

#include <QString>
#include <array>

namespace ts {

class RecentFiles {
public:
    static constexpr int Count = 5;

    RecentFiles(); // all places "&k NoName"

    const QString& caption(int k) const { return captions_[size_t(k)]; }
    void setCaption(int k, const QString& caption) { captions_[size_t(k)] = caption; }
    static QString emptyCaption(int k); // "&1 NoName" .. "&5 NoName"

    // The path of place k: its caption from the fourth character on.
    QString path(int k) const;

    // Puts `projectPath` first after an Open or Save As: an entry already in
    // the list (exact comparison, the last match counts) exchanges places with
    // the first; otherwise every entry moves down one place and the fifth is lost.
    void arrangeReopen(const QString& projectPath);

private:
    std::array<QString, Count> captions_;
};

} // namespace ts
