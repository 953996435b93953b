// `topicsmith --build`, run as the built program.

#include "helpsource/BuildAll.h"
#include "helpsource/HpjWriter.h"
#include "helpsource/TopicFileWriter.h"
#include "model/ProjectFile.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;

namespace {

struct Result {
    int exitCode = -1;
    QString out, err;
};

QByteArray get(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class BuildCommand : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString tsp, rtf, hpj, cnt, tsc;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // A canonical folder, so that paths printed by the program compare.
        const QString base = QDir(dir.path()).canonicalPath() + QStringLiteral("/Demo");
        tsp = base + QStringLiteral(".tsp");
        rtf = base + QStringLiteral(".RTF");
        hpj = base + QStringLiteral(".HPJ");
        cnt = base + QStringLiteral(".cnt");
        tsc = base + QStringLiteral(".tsc");
        Project p;
        TopicRecord t;
        t.TopicID.setBytes("INTRO");
        t.Title.setBytes("Introduction");
        t.HasCallId = true;
        t.CallId = 100;
        RichDocument body = RichDocument::fromPlainText(QStringLiteral("Welcome-->NEXT"));
        t.BodyRtf = RtfWriter::write(body);
        p.addTopic(t);
        t.TopicID.setBytes("NEXT");
        t.HasCallId = false;
        p.addTopic(t);
        p.window(0).Caption.setBytes("Demo Help");
        ProjectFile::save(p, tsp);
    }

    Result run(const QStringList& args, const QString& workingDir = QString())
    {
        QProcess proc;
        if (!workingDir.isEmpty())
            proc.setWorkingDirectory(workingDir);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TOPICSMITH_HOME"), dir.path());
        proc.setProcessEnvironment(env);
        proc.start(QStringLiteral(TOPICSMITH_BINARY), args);
        Result r;
        if (!proc.waitForFinished(60000))
            return r;
        r.exitCode = proc.exitCode();
        r.out = QString::fromLocal8Bit(proc.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(proc.readAllStandardError());
        return r;
    }
};

} // namespace

TEST_F(BuildCommand, WritesRtfAndHpjFromARelativePath)
{
    const Result r = run({QStringLiteral("--build"), QStringLiteral("Demo.tsp")}, QFileInfo(tsp).path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Wrote ") + rtf + QStringLiteral("\nWrote ") + hpj + QLatin1Char('\n'));
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(cnt));

    const Project p = ProjectFile::load(tsp);
    EXPECT_EQ(get(rtf), TopicFileWriter::generate(p));
    const QByteArray project = get(hpj);
    EXPECT_EQ(project, HpjWriter::generate(p));
    // The compiler runs under wine and reads its paths in Windows form.
    QByteArray folder = "Z:" + QFile::encodeName(QFileInfo(tsp).absolutePath());
    folder.replace('/', '\\');
    EXPECT_TRUE(project.contains(QByteArray("ERRORLOG=" + folder + "\\Demo.LOG\r\n"))) << project.constData();
    EXPECT_TRUE(get(rtf).contains("Welcome\\v NEXT"));
}

TEST_F(BuildCommand, WritesTheCntWhenThereIsAContentsFile)
{
    put(tsc, "Getting started\r\n\tIntroduction=INTRO\r\n");
    const Result r = run({QStringLiteral("--build"), tsp});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("Wrote ") + cnt + QLatin1Char('\n'))) << r.out.toStdString();
    EXPECT_EQ(get(cnt), QByteArray(":Title Demo Help\r\n1 Getting started\r\n2 Introduction=INTRO\r\n"));
}

TEST_F(BuildCommand, BadContentsLevelStopsAfterRtfAndHpj)
{
    put(cnt, "earlier");
    put(tsc, "Top\r\n    Four blanks deep\r\n");
    const Result r = run({QStringLiteral("--build"), tsp});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Invalid item level assignment"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(tsc)) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Wrote ") + rtf + QStringLiteral("\nWrote ") + hpj + QLatin1Char('\n'));
    EXPECT_EQ(get(cnt), QByteArray("earlier"));
}

TEST_F(BuildCommand, DamagedProjectIsRefusedBeforeAnythingIsWritten)
{
    put(rtf, "earlier rtf");
    put(hpj, "earlier hpj");
    const QByteArray whole = get(tsp);
    put(tsp, whole.left(whole.size() - 10));
    const Result r = run({QStringLiteral("--build"), tsp});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Demo.tsp"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(get(rtf), QByteArray("earlier rtf"));
    EXPECT_EQ(get(hpj), QByteArray("earlier hpj"));

    const QString missing = QFileInfo(tsp).path() + QStringLiteral("/Missing.tsp");
    const Result m = run({QStringLiteral("--build"), missing});
    EXPECT_EQ(m.exitCode, 1);
    EXPECT_TRUE(m.err.contains(missing)) << m.err.toStdString();
}

TEST_F(BuildCommand, AFileThatCannotBeWrittenStopsTheBuild)
{
    // A folder where the topic file should go: it can't be replaced.
    ASSERT_TRUE(QDir().mkdir(rtf));
    put(hpj, "earlier hpj");
    const Result r = run({QStringLiteral("--build"), tsp});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(rtf)) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(get(hpj), QByteArray("earlier hpj"));
}

// What the GUI's Build menu sees: the status texts in order, the progress of
// each writer and the files as they are written.
TEST_F(BuildCommand, FeedbackOfBuildAll)
{
    put(tsc, "A\r\n\tB=INTRO\r\n");
    const Project p = ProjectFile::load(tsp);
    QStringList events;
    BuildFeedback feedback;
    feedback.Status = [&](const QString& text) { events << QStringLiteral("status:") + text; };
    feedback.Progress = [&](int step) { events << QString::number(step); };
    feedback.FileWritten = [&](const QString& path) { events << QFileInfo(path).fileName(); };
    EXPECT_EQ(buildAllWithoutCompiling(p, feedback), (QStringList{rtf, hpj, cnt}));
    EXPECT_EQ(events, (QStringList{QStringLiteral("status:Saving RTF file..."), QStringLiteral("45"),
                                   QStringLiteral("45"), QStringLiteral("status:"), QStringLiteral("Demo.RTF"),
                                   QStringLiteral("status:Saving .HPJ file..."), QStringLiteral("100"),
                                   QStringLiteral("status:"), QStringLiteral("Demo.HPJ"),
                                   QStringLiteral("status:Saving .CNT file..."), QStringLiteral("50"),
                                   QStringLiteral("50"), QStringLiteral("status:"), QStringLiteral("Demo.cnt")}));
}
