#include "contents/ContentsFile.h"
#include "helpsource/CntWriter.h"
#include "model/IoError.h"
#include "model/Project.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;

namespace {

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray get(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct CntFile : ::testing::Test {
    QTemporaryDir dir;
    Project project;
    QString tsc, cnt;
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
        tsc = dir.filePath(QStringLiteral("Demo.tsc"));
        cnt = dir.filePath(QStringLiteral("Demo.cnt"));
    }
};

} // namespace

TEST_F(CntFile, ExampleFromTheContentsFile)
{
    project.window(0).Caption.setBytes("Demo Help");
    put(tsc, "Getting started\r\n\tIntroduction=INTRO\r\n\tPrinting=PRINTING>pop\r\n");
    std::vector<int> steps;
    const auto written = CntWriter::write(project, [&](int s) { steps.push_back(s); });
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, cnt);
    EXPECT_EQ(get(cnt), QByteArray(":Title Demo Help\r\n"
                                   "1 Getting started\r\n"
                                   "2 Introduction=INTRO\r\n"
                                   "2 Printing=PRINTING>pop\r\n"));
    EXPECT_EQ(steps, (std::vector<int>{33, 33, 33}));
}

TEST_F(CntFile, LevelsHaveNoUpperLimitAndTextsPassUnchanged)
{
    put(tsc, "A\n\tB\n\t\tC=ID@x.hlp>w\n\t\t\tD \xe9\n\n");
    ASSERT_TRUE(CntWriter::write(project));
    EXPECT_EQ(get(cnt), QByteArray(":Title \r\n1 A\r\n2 B\r\n3 C=ID@x.hlp>w\r\n4 D \xe9\r\n1 \r\n"));
}

TEST_F(CntFile, NoContentsFileWritesNothingAndLeavesAnEarlierCnt)
{
    EXPECT_FALSE(CntWriter::hasContentsFile(project));
    EXPECT_FALSE(CntWriter::write(project).has_value());
    EXPECT_FALSE(QFile::exists(cnt));
    put(cnt, "earlier");
    EXPECT_FALSE(CntWriter::write(project).has_value());
    EXPECT_EQ(get(cnt), QByteArray("earlier"));
}

TEST_F(CntFile, EmptyContentsFileGivesTheTitleLineAlone)
{
    put(tsc, "");
    ASSERT_TRUE(CntWriter::write(project));
    EXPECT_EQ(get(cnt), QByteArray(":Title \r\n"));
}

TEST_F(CntFile, BadLevelStopsBeforeTheCntIsTouched)
{
    put(cnt, "earlier");
    put(tsc, "A\r\n\t\tB\r\n");
    EXPECT_THROW(CntWriter::write(project), ContentsLevelError);
    EXPECT_EQ(get(cnt), QByteArray("earlier"));
}
