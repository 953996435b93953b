#pragma once
// Phrase compression of topic text: the old |Phrases table (HC 3.0/3.1, some
// HCW files) and Hall compression (|PhrIndex + |PhrImage, HCW). A record whose
// stored text is shorter than its stated length is expanded with the table.

#include "ContainerReader.h"
#include "ReadProblems.h"

#include <QByteArray>
#include <vector>

namespace ts::helpfile::reading {

class PhraseTable {
public:
    enum class Method { None, Phrases, Hall };

    // Reads whichever table the file carries. `oldFormat` is true for 3.0 files.
    void read(const ContainerReader& container, bool oldFormat, ReadProblems& problems);

    Method method() const { return method_; }
    int count() const { return int(starts_.size()) - 1; }

    // Expands `stored` to exactly `length` bytes (shorter when the stored
    // bytes run out, or when they refer to a phrase the table lacks: then
    // `damaged` is set).
    QByteArray expand(const char* stored, qsizetype size, qsizetype length, bool* damaged) const;

private:
    void readPhrases(const QByteArray& data, bool oldFormat, ReadProblems& problems);
    void readHall(const QByteArray& index, const QByteArray& image, ReadProblems& problems);
    bool appendPhrase(QByteArray& out, qsizetype phrase) const;

    Method method_ = Method::None;
    QByteArray text_;                 // all phrases, one after another
    std::vector<qsizetype> starts_{0}; // phrase k is text_[starts_[k], starts_[k+1])
};

} // namespace ts::helpfile::reading
