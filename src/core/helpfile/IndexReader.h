#pragma once
// The lookup files of a help file, read as they are stored: |CONTEXT (hash
// to position), |TopicId and |Petra (topic number to Topic ID and source
// file), |CTXOMAP ([MAP] numbers), |VIOLA (topic windows), the keyword tables
// of every letter (|xWBTREE with |xWDATA), |TOMAP (old files) and the
// [CONFIG-n] macros of each window (|CFn).

#include "ContainerReader.h"
#include "ReadProblems.h"

#include <QByteArray>
#include <QList>
#include <map>
#include <vector>

namespace ts::helpfile::reading {

struct IndexValues {
    std::vector<std::pair<std::int32_t, std::uint32_t>> context; // hash, TOPICOFFSET
    std::map<int, QByteArray> topicIds;    // topic number -> Topic ID
    std::map<int, QByteArray> sourceFiles; // topic number -> source file
    std::vector<std::pair<std::int32_t, std::uint32_t>> mapNumbers; // number, TOPICOFFSET
    std::vector<std::pair<std::uint32_t, std::int32_t>> windows;    // TOPICOFFSET, window number
    struct Keyword {
        QByteArray text;
        std::vector<std::uint32_t> offsets;
    };
    std::map<char, std::vector<Keyword>> keywords; // by footnote letter
    std::vector<std::int32_t> topicPositions;      // |TOMAP: topic number -> TOPICPOS
    std::map<int, QList<QByteArray>> windowMacros; // window number -> macros
};

IndexValues readIndexes(const ContainerReader& container, ReadProblems& problems);

} // namespace ts::helpfile::reading
