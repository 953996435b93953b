#pragma once
// The import log: what the project could not hold of a help file, or holds
// only in another form, one line each, like the compile log (base.LOG).
//
// Three kinds of line, written in this order:
//   - the help file's own reading problems (what the reader could not read);
//   - notes about one thing, in the order they were made, most of them
//     naming the topic ("Topic INTRO (Introduction): ...");
//   - tallies of what recurs over many topics ("Space before and after
//     paragraphs is not kept: 120 paragraphs in 14 topics (INTRO, SETUP,
//     ...)"), one line each, in the order first met.
// The last line sums the import up.

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace ts::helpimport {

class ImportLog {
public:
    // How topics are named in the log's lines ("INTRO (Introduction)"), by
    // index; until set, by their number. Lines made before keep the topic's
    // index, so the names may come last.
    void setTopicNames(std::vector<QString> names) { topicNames_ = std::move(names); }

    void readProblem(const QString& line) { problems_ << line; }
    void note(const QString& line) { notes_.emplace_back(-1, line); }
    // "Topic <name>: <what>"
    void topicNote(int topic, const QString& what);
    // One more of something that recurs; `what` is the tally's text, and the
    // line reports how many were met and in which topics (-1: none).
    void tally(const QString& what, int topic, int count = 1);

    void setSummary(const QString& line) { summary_ = line; }

    // Notes and tallies: everything the import changed or left out.
    int entryCount() const { return int(notes_.size() + tallies_.size()); }
    int problemCount() const { return int(problems_.size()); }
    bool mentions(const QString& text) const; // any line contains `text` (tests)

    QStringList lines() const;
    // The lines joined with CR LF, in Windows-1252, as the log file holds them.
    QByteArray bytes() const;

private:
    QString topicName(int topic) const;

    struct Tally {
        QString what;
        int count = 0;
        std::vector<int> topics; // distinct, in the order met
    };
    std::vector<QString> topicNames_;
    QStringList problems_;
    std::vector<std::pair<int, QString>> notes_; // topic (-1: none) and text
    std::vector<Tally> tallies_;
    std::map<QString, size_t> tallyIndex_;
    QString summary_;
};

} // namespace ts::helpimport
