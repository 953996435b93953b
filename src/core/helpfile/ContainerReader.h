#pragma once
// The help file as a container of internal files: the file header, the
// directory (a B+ tree of names and offsets) and each internal file's data.

#include "ReadProblems.h"

#include <QByteArray>
#include <QList>
#include <map>

namespace ts::helpfile::reading {

class ContainerReader {
public:
    // Reads the header and the directory of `file`. False when `file` is not
    // a help file at all (the problem says why); a damaged directory still
    // gives the files it lists.
    bool read(const QByteArray& file, ReadProblems& problems);

    bool contains(const QByteArray& name) const { return files_.count(name) != 0; }
    // The data of an internal file; empty when there is none. A file that
    // reaches past the end of the help file gives what is there, reported once.
    QByteArray data(const QByteArray& name) const;
    QList<QByteArray> names() const;

private:
    struct Entry {
        qsizetype offset = 0; // of the data, after the 9-byte header
        qsizetype size = 0;
    };
    QByteArray file_;
    std::map<QByteArray, Entry> files_;
};

} // namespace ts::helpfile::reading
