#pragma once
// What Save As does with the project's companion files, the contents file
// (.tsc) and the compiler's contents file (.cnt), whose names follow the
// project file's. Computed from the file system without changing anything;
// the GUI asks the questions the plan calls for and copies with
// CopyWholeFile, which replaces a target only by a complete copy and never
// removes anything first.

#include <QString>
#include <vector>

namespace ts {

class Project;

struct CompanionFile {
    QString Extension;   // ".tsc" or ".cnt"
    QString From;        // the current project's file of this kind
    QString To;          // the file of this kind for the new project path
    bool FromExists = false;
    bool ToExists = false;
    // The contents wait in memory (Project::PendingContents): the save writes
    // them to To instead of a copy of From. Empty ones are no contents
    // (FromExists is false), and the save leaves To as the questions decide.
    bool Pending = false;
    // From exists and To is another file that exists: ask before replacing
    // it, naming To.
    bool askBeforeReplacing() const { return FromExists && ToExists; }
    // From does not exist but To does: ask whether the renamed project keeps
    // To as its own or goes on without one (To is never deleted).
    bool askWhetherToKeepTarget() const { return !FromExists && ToExists; }
    // Copy From over To (after the answer, when a question was asked).
    bool copies() const { return FromExists && !Pending; }
};

// The companions for saving `project` as `newPath` (a path ending in ".tsp").
// Files is empty when the new path has the same base as the current one.
// RemoveFromAfterCopy is set only for the unnamed project (the program
// folder's NoName.tsp, Project::IsUnnamed), whose contents file moves to the
// new name; a user's project keeps its files.
struct SaveAsPlan {
    std::vector<CompanionFile> Files;
    bool RemoveFromAfterCopy = false;
};
SaveAsPlan planSaveAsCompanions(const Project& project, const QString& newPath);

} // namespace ts
