#pragma once
// The help project held in memory: the topic table, the window table and the
// program-wide values. The main window owns one Project and hands it to the
// dialogs and writers that need it.
//
// The tables keep their fixed capacities: 2049 topic slots and 256 window
// slots, of which at most 255 are live. Every slot at or past TopicCount()
// is empty (see TopicRecord::clear).

#include "Records.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace ts {

class Project {
public:
    static constexpr int TopicSlots = 2049;
    static constexpr int WindowSlots = 256;
    static constexpr int MaxWindows = 255;

    // The start state: no topics, the default window "main", the unnamed
    // project path in programFolder (which ends with a separator or is empty).
    explicit Project(const QString& programFolder = QString());

    int TopicCount() const { return topicCount_; }
    int WindowCount() const { return windowCount_; }

    // Live topics 0..TopicCount()-1 and live windows 0..WindowCount()-1.
    // Indices outside those ranges are a programming error (asserted).
    const TopicRecord& topic(int i) const;
    TopicRecord& topic(int i);
    const WindowRecord& window(int k) const;
    WindowRecord& window(int k);

    // The window a topic is shown in; window 0 when its index is out of range.
    const WindowRecord& windowOf(const TopicRecord& topic) const;

    // Appends a topic; false (and nothing changes) when all slots are used.
    bool addTopic(const TopicRecord& topic);
    bool topicTableFull() const { return topicCount_ >= TopicSlots; }
    // Removes topic i; the later topics move down one slot.
    void deleteTopic(int i);
    // The index of the topic with this ID, or -1.
    int findTopic(const QByteArray& topicId) const;

    // Appends a window; false when 255 windows are live.
    bool addWindow(const WindowRecord& window);
    // Removes window k (k > 0): its topics go to window 0, topics of later
    // windows follow their window down one index.
    void deleteWindow(int k);

    // Back to an empty project: no topics, only the default window, no
    // pending contents.
    void reset();

    // The program folder the unnamed project lives in, with its separator.
    const QString& programFolder() const { return programFolder_; }
    QString unnamedPath() const { return programFolder_ + QStringLiteral("NoName.tsp"); }
    // Whether `path` is the unnamed project's file: its full path is the
    // program folder's NoName.tsp (a project of that name elsewhere is a
    // named project like any other).
    bool isUnnamedPath(const QString& path) const;
    bool isUnnamed() const { return isUnnamedPath(ProjectPath); }
    // ProjectPath without its last four characters: the base of every
    // companion file (.tsc, .RTF, .HPJ, .cnt, .LOG, .HLP).
    QString projectBase() const { return ProjectPath.left(qMax<qsizetype>(0, ProjectPath.size() - 4)); }

    QString ProjectPath;
    QString CompilerPath = QStringLiteral("NoCompiler");
    // The contents file as link upkeep rewrote it after a rename, waiting for
    // the next Save: the file on disk changes only with the project file, so
    // discarding the project's changes discards these too. The contents
    // editor's OK adds its entries here while a rename waits; empty bytes
    // (every entry deleted) mean the Save deletes the file. No value when
    // the file on disk is current.
    std::optional<QByteArray> PendingContents;

private:
    friend class ProjectFileReader;
    std::vector<TopicRecord> topics_;   // TopicSlots slots
    std::vector<WindowRecord> windows_; // WindowSlots slots
    int topicCount_ = 0;
    int windowCount_ = 1;
    QString programFolder_;
};

} // namespace ts
