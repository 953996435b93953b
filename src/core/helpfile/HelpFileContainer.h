#pragma once
// The help file's own file system: a 16-byte header, the internal files one
// after another (each behind a 9-byte file header, without slack), and at
// the end the directory, a B+ tree of the names sorted as unsigned bytes.

#include <QByteArray>
#include <map>

namespace ts::helpfile {

class HelpFileContainer {
public:
    // Adds or replaces an internal file ("|SYSTEM", "|bm0", ...).
    void add(const QByteArray& name, const QByteArray& data) { files_[name] = data; }
    bool contains(const QByteArray& name) const { return files_.count(name) > 0; }

    // The whole help file.
    QByteArray bytes() const;

private:
    std::map<QByteArray, QByteArray> files_; // QByteArray orders as unsigned bytes
};

} // namespace ts::helpfile
