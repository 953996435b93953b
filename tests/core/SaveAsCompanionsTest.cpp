#include "model/Project.h"
#include "model/SaveAsCompanions.h"
#include "model/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;

TEST(SaveAsCompanions, OnlyTheProgramFoldersNoNameIsUnnamedAndTargetsThatExistAreAskedFor)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("program")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("work")));
    const QString programFolder = dir.filePath(QStringLiteral("program/"));
    Project project(programFolder);
    EXPECT_TRUE(project.isUnnamed());
    EXPECT_TRUE(project.isUnnamedPath(dir.filePath(QStringLiteral("work/../program/NoName.tsp"))));

    // A user's project that happens to be called NoName.tsp.
    project.ProjectPath = dir.filePath(QStringLiteral("work/NoName.tsp"));
    EXPECT_FALSE(project.isUnnamed());
    writeWholeFile(dir.filePath(QStringLiteral("work/NoName.tsc")), "A=A\r\n");
    writeWholeFile(dir.filePath(QStringLiteral("work/Other.tsc")), "B=B\r\n");
    writeWholeFile(dir.filePath(QStringLiteral("work/Other.cnt")), ":Title x\r\n");

    SaveAsPlan plan = planSaveAsCompanions(project, dir.filePath(QStringLiteral("work/Other.tsp")));
    EXPECT_FALSE(plan.RemoveFromAfterCopy);
    ASSERT_EQ(plan.Files.size(), 2u);
    EXPECT_EQ(plan.Files[0].To, dir.filePath(QStringLiteral("work/Other.tsc")));
    EXPECT_TRUE(plan.Files[0].askBeforeReplacing());
    EXPECT_TRUE(plan.Files[0].copies());
    // No .cnt of our own, but the target has one: keep it or not is asked.
    EXPECT_TRUE(plan.Files[1].askWhetherToKeepTarget());
    EXPECT_FALSE(plan.Files[1].copies());

    // The same base, however written: nothing to do.
    EXPECT_TRUE(planSaveAsCompanions(project, dir.filePath(QStringLiteral("work/./NoName.tsp"))).Files.empty());

    // The unnamed project's contents move to the new name.
    project.ProjectPath = project.unnamedPath();
    plan = planSaveAsCompanions(project, dir.filePath(QStringLiteral("work/New.tsp")));
    EXPECT_TRUE(plan.RemoveFromAfterCopy);
    EXPECT_FALSE(plan.Files[0].askBeforeReplacing());
    EXPECT_FALSE(plan.Files[0].askWhetherToKeepTarget());
}

// Contents waiting for the Save go to the new name in place of a copy; empty
// ones are no contents, so a contents file under the new name is asked about.
TEST(SaveAsCompanions, PendingContentsAreWrittenNotCopied)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Old.tsp"));
    writeWholeFile(dir.filePath(QStringLiteral("Old.tsc")), "A=A\r\n");
    writeWholeFile(dir.filePath(QStringLiteral("New.tsc")), "B=B\r\n");
    const QString newPath = dir.filePath(QStringLiteral("New.tsp"));

    project.PendingContents = QByteArray("A=RENAMED\r\n");
    CompanionFile tsc = planSaveAsCompanions(project, newPath).Files[0];
    EXPECT_TRUE(tsc.Pending);
    EXPECT_TRUE(tsc.askBeforeReplacing());
    EXPECT_FALSE(tsc.copies());

    project.PendingContents = QByteArray();
    tsc = planSaveAsCompanions(project, newPath).Files[0];
    EXPECT_FALSE(tsc.FromExists);
    EXPECT_TRUE(tsc.askWhetherToKeepTarget());
    EXPECT_FALSE(tsc.copies());
}
