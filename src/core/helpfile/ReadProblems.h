#pragma once
// Collects what the help file reader could not read, each problem naming the
// file, the internal file, the offset and the topic where known. A damaged
// file can hold thousands of bad records; after a limit only their number is
// kept, so a problem list never grows with the damage.

#include "helpfile/HelpDocument.h"

#include <vector>

namespace ts::helpfile::reading {

class ReadProblems {
public:
    static constexpr int Limit = 200;

    ReadProblems(QString file, std::vector<HelpProblem>& out) : file_(std::move(file)), out_(out) {}

    void add(const QString& internalFile, qint64 offset, const QString& message, int topic = -1)
    {
        if (int(out_.size()) < Limit) {
            out_.push_back(HelpProblem{file_, internalFile, offset, topic, message});
        } else if (int(out_.size()) == Limit) {
            out_.push_back(HelpProblem{file_, QString(), -1, -1,
                                       QStringLiteral("more problems follow; only the first %1 are listed").arg(Limit)});
        }
    }
    void add(const QString& internalFile, const QString& message) { add(internalFile, -1, message); }
    const QString& file() const { return file_; }
    int count() const { return int(out_.size()); }

private:
    QString file_;
    std::vector<HelpProblem>& out_;
};

} // namespace ts::helpfile::reading
