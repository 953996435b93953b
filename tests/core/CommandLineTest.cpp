// The headless commands, run through the built program as a user would.

#include "model/ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result run(const QStringList& args)
{
    QProcess p;
    // No display of any kind: the headless commands must not need one.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TOPICSMITH_BINARY), args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(CommandLine, TopicListPrintsOneLinePerTopic)
{
    QTemporaryDir dir;
    Project p;
    TopicRecord t;
    t.TopicID.setBytes("INTRO");
    t.Title.setText(QStringLiteral("Welcome \u00e0 bord"));
    t.HasCallId = true;
    t.CallId = 10;
    p.addTopic(t);
    t.TopicID.setBytes("OTHER");
    t.Title.clear();
    t.HasCallId = false;
    t.CallId = 4;
    p.addTopic(t);
    const QString path = dir.filePath(QStringLiteral("demo.tsp"));
    ProjectFile::save(p, path);

    const Result r = run({QStringLiteral("--topic-list"), path});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("INTRO : Welcome \u00e0 bord : Application Call ID: 10\nOTHER :  : No Application Call\n"));
    EXPECT_TRUE(r.err.isEmpty());

    Project empty;
    const QString emptyPath = dir.filePath(QStringLiteral("empty.tsp"));
    ProjectFile::save(empty, emptyPath);
    EXPECT_EQ(run({QStringLiteral("--topic-list"), emptyPath}).out, QStringLiteral("Nothing to list yet!?\n"));
}

TEST(CommandLine, MissingOrDamagedProjectsFailOnStderr)
{
    QTemporaryDir dir;
    Result r = run({QStringLiteral("--topic-list"), dir.filePath(QStringLiteral("nope.tsp"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("nope.tsp"))) << r.err.toStdString();

    const QString bad = dir.filePath(QStringLiteral("bad.tsp"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x05\0\0\0\x01\0\0\0", 8);
    f.close();
    r = run({QStringLiteral("--topic-list"), bad});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("'bad.tsp' is damaged and cannot be opened.\nThe file ends after 8 bytes, in window 0.\n"));

    // Only a .tsp is built: its companions' names come from it.
    for (const char* path : {"sub/x", "Demo.tsp.bak", "sub/.tsp"})
        for (const char* command : {"--build", "--compile"}) {
            r = run({QString::fromLatin1(command), QString::fromLatin1(path)});
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.err, QStringLiteral("'%1' is not a Topicsmith project: project files are named like gadget.tsp.\n")
                                 .arg(QLatin1String(path)));
        }
    r = run({QStringLiteral("--build"), dir.filePath(QStringLiteral("NOPE.TSP"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("There is no file '%1'.\n").arg(dir.filePath(QStringLiteral("NOPE.TSP"))));

    r = run({QStringLiteral("--topic-list")});
    EXPECT_EQ(r.exitCode, 2);
    r = run({QStringLiteral("--no-such-option")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--no-such-option")));
}

TEST(CommandLine, VersionAndHelp)
{
    Result r = run({QStringLiteral("--version")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Topicsmith ")));
    r = run({QStringLiteral("--help")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("--topic-list PROJECT")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("--build PROJECT")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("--compile PROJECT")));
}

TEST(CommandLine, CompileWritesSourcesHelpFileAndLog)
{
    QTemporaryDir dir;
    Project p;
    TopicRecord t;
    t.TopicID.setBytes("INTRO");
    t.BodyRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 See {\\strike more-->MISSING}.\\par}";
    p.addTopic(t);
    const QString path = dir.filePath(QStringLiteral("demo.tsp"));
    ProjectFile::save(p, path);

    Result r = run({QStringLiteral("--compile"), path});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const char* ext : {".RTF", ".HPJ", ".HLP", ".LOG"})
        EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("demo") + QLatin1String(ext)))) << ext;
    EXPECT_TRUE(r.out.contains(QStringLiteral("Topic INTRO: jump to MISSING: no topic has this Topic ID\n")))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("1 topic, 1 jump, 0 keywords, 0 bitmaps; 1 warning, 0 errors\n")))
        << r.out.toStdString();

    // A help file that cannot be written: exit 1, the reason on stderr.
    QFile::remove(dir.filePath(QStringLiteral("demo.HLP")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("demo.HLP")));
    r = run({QStringLiteral("--compile"), path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("demo.HLP"))) << r.err.toStdString();
}
