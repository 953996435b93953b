#include "model/ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using namespace ts;

namespace {

std::int32_t intAt(const QByteArray& b, qsizetype offset)
{
    return qFromLittleEndian<std::int32_t>(b.constData() + offset);
}

void setIntAt(QByteArray& b, qsizetype offset, std::int32_t v)
{
    qToLittleEndian<std::int32_t>(v, b.data() + offset);
}

TopicRecord topic(const char* id, int headerLen = 0, int bodyLen = 0)
{
    TopicRecord t;
    t.TopicID.setBytes(id);
    t.HeaderRtf = QByteArray(headerLen, 'h');
    t.BodyRtf = QByteArray(bodyLen, 'b');
    return t;
}

// Two windows, three topics with blocks of 100/0, 250/0 and 0/80 bytes.
Project exampleProject()
{
    Project p;
    WindowRecord pop;
    pop.Name.setBytes("pop");
    pop.Caption.setBytes("Pop-up");
    pop.Left = 10;
    pop.Top = 20;
    pop.Width = 500;
    pop.Height = 400;
    pop.DefaultPosition = false;
    pop.OnTop = true;
    pop.Buttons[Browse] = true;
    pop.Buttons[Back] = true;
    p.addWindow(pop);
    TopicRecord a = topic("INTRO", 100, 0);
    a.Title.setBytes("Introduction");
    a.Keywords.setBytes("start;begin");
    a.HasCallId = true;
    a.CallId = -5;
    p.addTopic(a);
    TopicRecord b = topic("SECOND", 250, 0);
    b.WindowIndex = 1;
    p.addTopic(b);
    p.addTopic(topic("THIRD", 0, 80));
    return p;
}

std::string parseError(const QByteArray& bytes)
{
    try {
        ProjectFile::parse(bytes, QStringLiteral("x.tsp"));
    } catch (const IoError& e) {
        return e.message().toStdString();
    }
    return "no error";
}

} // namespace

TEST(ProjectFile, ExampleProjectIs1899BytesLaidOutAsTheTablesSay)
{
    const QByteArray b = ProjectFile::serialize(exampleProject());
    ASSERT_EQ(b.size(), 8 + 336 + 3 * 375 + 430);
    ASSERT_EQ(b.size(), 1899);
    EXPECT_EQ(intAt(b, 0), 3);
    EXPECT_EQ(intAt(b, 4), 2);

    // Window 1 ("pop") starts at 8 + 168.
    const qsizetype w = 8 + 168;
    EXPECT_EQ(b[w], 3);
    EXPECT_EQ(b.mid(w + 1, 3), QByteArray("pop"));
    EXPECT_EQ(intAt(b, w + 32), 0xC0C0C0);
    EXPECT_EQ(intAt(b, w + 36), 0xDCFFFF);
    EXPECT_EQ(b[w + 40], 1); // on top
    EXPECT_EQ(b[w + 41], 0); // auto-size height
    EXPECT_EQ(intAt(b, w + 44), 10);
    EXPECT_EQ(intAt(b, w + 48), 20);
    EXPECT_EQ(intAt(b, w + 52), 500);
    EXPECT_EQ(intAt(b, w + 56), 400);
    EXPECT_EQ(b[w + 60], 6);
    EXPECT_EQ(b.mid(w + 61, 6), QByteArray("Pop-up"));
    EXPECT_EQ(b[w + 161], 0); // default position
    EXPECT_EQ(b.mid(w + 162, 6), QByteArray("\1\0\0\0\1\0", 6));

    // Topic 0 starts after both windows.
    const qsizetype t = 8 + 336;
    EXPECT_EQ(b[t], 5);
    EXPECT_EQ(b.mid(t + 1, 5), QByteArray("INTRO"));
    EXPECT_EQ(b[t + 51], 1);
    EXPECT_EQ(intAt(b, t + 52), -5);
    EXPECT_EQ(intAt(b, t + 56), 0);
    EXPECT_EQ(b[t + 60], 11);
    EXPECT_EQ(b.mid(t + 61, 11), QByteArray("start;begin"));
    EXPECT_EQ(b[t + 316], 12);
    EXPECT_EQ(b.mid(t + 317, 12), QByteArray("Introduction"));
    EXPECT_EQ(intAt(b, t + 367), 100);
    EXPECT_EQ(intAt(b, t + 371), 0);
    EXPECT_EQ(b.mid(t + 375, 100), QByteArray(100, 'h'));
    // Topic 1 follows its predecessor's blocks directly.
    const qsizetype t1 = t + 375 + 100;
    EXPECT_EQ(b.mid(t1 + 1, 6), QByteArray("SECOND"));
    EXPECT_EQ(intAt(b, t1 + 56), 1);
    EXPECT_EQ(intAt(b, t1 + 367), 250);
}

TEST(ProjectFile, ReadGivesBackEveryFieldAndWritesTheSameBytes)
{
    const Project original = exampleProject();
    const QByteArray bytes = ProjectFile::serialize(original);
    const Project read = ProjectFile::parse(bytes, QStringLiteral("x.tsp"));
    ASSERT_EQ(read.TopicCount(), 3);
    ASSERT_EQ(read.WindowCount(), 2);
    for (int k = 0; k < 2; ++k)
        EXPECT_EQ(read.window(k), original.window(k));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(read.topic(i), original.topic(i));
    EXPECT_EQ(ProjectFile::serialize(read), bytes);
}

TEST(ProjectFile, FullWidthStringsAndNonAsciiSurvive)
{
    Project p;
    TopicRecord t = topic("X");
    t.TopicID.setBytes(QByteArray(50, 'I'));
    t.Keywords.setBytes(QByteArray(255, 'k'));
    t.Title.setText(QStringLiteral("Caf\u00e9 \u20ac"));
    p.addTopic(t);
    p.window(0).Caption.setBytes(QByteArray(100, 'c'));
    p.window(0).Name.setBytes(QByteArray(30, 'n'));
    const Project read = ProjectFile::parse(ProjectFile::serialize(p), QStringLiteral("x.tsp"));
    EXPECT_EQ(read.topic(0), p.topic(0));
    EXPECT_EQ(read.window(0), p.window(0));
    EXPECT_EQ(read.topic(0).Title.text(), QStringLiteral("Caf\u00e9 \u20ac"));
}

TEST(ProjectFile, PaddingAndBytesAfterStringLengthsAreIgnoredOnRead)
{
    const Project original = exampleProject();
    QByteArray b = ProjectFile::serialize(original);
    // Fill the unused bytes of counted strings and the window padding with junk.
    const qsizetype w = 8;
    b[w + 31] = 'P';
    b[w + 42] = 'Q';
    b[w + 43] = 'R';
    for (qsizetype i = w + 1 + 4; i < w + 31; ++i)
        b[i] = 'z'; // after "main"
    const qsizetype t = 8 + 336;
    for (qsizetype i = t + 1 + 5; i < t + 51; ++i)
        b[i] = '#'; // after "INTRO"
    const Project read = ProjectFile::parse(b, QStringLiteral("x.tsp"));
    EXPECT_EQ(read.window(0).Name.bytes(), QByteArray("main"));
    EXPECT_EQ(read.topic(0).TopicID.bytes(), QByteArray("INTRO"));
    // Writing again gives the clean bytes.
    EXPECT_EQ(ProjectFile::serialize(read), ProjectFile::serialize(original));
}

TEST(ProjectFile, ProgressAdvancesPerWindowAndPerTopic)
{
    Project p;
    p.addWindow(WindowRecord());
    p.addWindow(WindowRecord());
    for (int i = 0; i < 7; ++i)
        p.addTopic(topic("T"));
    std::vector<int> steps;
    const QByteArray bytes = ProjectFile::serialize(p, [&](int s) { steps.push_back(s); });
    EXPECT_EQ(steps, (std::vector<int>{16, 16, 16, 7, 7, 7, 7, 7, 7, 7}));
    int total = 0;
    for (int s : steps)
        total += s;
    EXPECT_EQ(total, 97);

    steps.clear();
    ProjectFile::parse(bytes, QStringLiteral("x.tsp"), QString(), [&](int s) { steps.push_back(s); });
    EXPECT_EQ(steps, (std::vector<int>{16, 16, 16, 7, 7, 7, 7, 7, 7, 7}));
}

TEST(ProjectFile, EmptyBlocksStayEmpty)
{
    Project p;
    p.addTopic(topic("EMPTY"));
    const QByteArray b = ProjectFile::serialize(p);
    EXPECT_EQ(b.size(), 8 + 168 + 375);
    const Project read = ProjectFile::parse(b, QStringLiteral("x.tsp"));
    EXPECT_EQ(read.topic(0).HeaderLen(), 0);
    EXPECT_TRUE(read.topic(0).HeaderRtf.isEmpty());
}

TEST(ProjectFile, DamagedFilesAreRefusedWithTheFileAndTheFault)
{
    const QByteArray good = ProjectFile::serialize(exampleProject());
    const qsizetype t0 = 8 + 336;
    const qsizetype t2 = t0 + 375 + 100 + 375 + 250;

    // A file that does not start like a project says so first, the detail
    // on a second line.
    EXPECT_EQ(parseError(QByteArray()), "'x.tsp' is empty.");
    const std::string notAProject = "'x.tsp' is not a Topicsmith project (it does not start like one).\n";
    EXPECT_EQ(parseError(good.left(6)), "'x.tsp' is not a Topicsmith project (it is too short to be one).\n"
                                        "The file ends after 6 bytes, in the topic and window counts.");
    EXPECT_EQ(parseError(good.left(1)), "'x.tsp' is not a Topicsmith project (it is too short to be one).\n"
                                        "The file ends after 1 byte, in the topic and window counts.");
    EXPECT_EQ(parseError("Some notes\n"), notAProject + "It claims 1701670739 topics; a project holds 0 to 2049.");

    // Truncated in a window record and in a topic's fixed part.
    EXPECT_EQ(parseError(good.left(8 + 200)),
              "'x.tsp' is damaged and cannot be opened.\nThe file ends after 208 bytes, in window 1.");
    EXPECT_EQ(parseError(good.left(t0 + 100)),
              "'x.tsp' is damaged and cannot be opened.\nThe file ends after 444 bytes, in topic 1.");

    // A block longer than the rest of the file, a negative length.
    QByteArray b = good;
    setIntAt(b, t2 + 371, 4000000);
    EXPECT_EQ(parseError(b),
              "'x.tsp' is damaged and cannot be opened.\nTopic 3 claims 4000000 bytes of text but the file ends after 1899 bytes.");
    // The size named is the file's own, also behind a header block.
    b = good;
    setIntAt(b, t0 + 371, 4000000);
    EXPECT_EQ(parseError(b),
              "'x.tsp' is damaged and cannot be opened.\nTopic 1 claims 4000000 bytes of text but the file ends after 1899 bytes.");
    b = good;
    setIntAt(b, t0 + 367, -3);
    EXPECT_EQ(parseError(b), "'x.tsp' is damaged and cannot be opened.\nTopic 1 claims -3 bytes of header text.");
    b = good;
    setIntAt(b, t0 + 367, 0x7FFFFFFF);
    EXPECT_EQ(parseError(b),
              "'x.tsp' is damaged and cannot be opened.\nTopic 1 claims 2147483647 bytes of header text but the file ends after 1899 bytes.");
    EXPECT_EQ(parseError(good.left(good.size() - 1)),
              "\'x.tsp\' is damaged and cannot be opened.\nTopic 3 claims 80 bytes of text but the file ends after 1898 bytes.");
    // A few bytes past the end, and past it only with the header block counted.
    b = good;
    setIntAt(b, t2 + 371, 83);
    EXPECT_EQ(parseError(b), "\'x.tsp\' is damaged and cannot be opened.\nTopic 3 claims 83 bytes of text but the file ends after 1899 bytes.");
    b = good;
    const std::int32_t afterTopic0 = std::int32_t(good.size() - (t0 + 375));
    setIntAt(b, t0 + 371, afterTopic0 - 100 + 1);
    EXPECT_EQ(parseError(b), "\'x.tsp\' is damaged and cannot be opened.\nTopic 1 claims 1081 bytes of text but the file ends after 1899 bytes.");
    setIntAt(b, t0 + 371, afterTopic0 - 100);
    EXPECT_EQ(parseError(b), "\'x.tsp\' is damaged and cannot be opened.\nThe file ends after 1899 bytes, in topic 2.");
    setIntAt(b, t0 + 367, afterTopic0 + 1);
    setIntAt(b, t0 + 371, 0);
    EXPECT_EQ(parseError(b),
              "\'x.tsp\' is damaged and cannot be opened.\nTopic 1 claims 1181 bytes of header text but the file ends after 1899 bytes.");
}

// Counts and the length bytes of counted strings are read up to their
// limits; one past them is refused like a count or length far beyond.
TEST(ProjectFile, CountsAndStringLengthsAreReadUpToTheirLimits)
{
    const QByteArray good = ProjectFile::serialize(exampleProject());
    const qsizetype t0 = 8 + 336;

    QByteArray b = good;
    setIntAt(b, 0, 2050);
    EXPECT_EQ(parseError(b), "\'x.tsp\' is not a Topicsmith project (it does not start like one).\nIt claims 2050 topics; a project holds 0 to 2049.");
    setIntAt(b, 0, -1);
    EXPECT_EQ(parseError(b), "\'x.tsp\' is not a Topicsmith project (it does not start like one).\nIt claims -1 topics; a project holds 0 to 2049.");
    setIntAt(b, 0, 0);
    EXPECT_EQ(ProjectFile::parse(b.left(8 + 336), QStringLiteral("x.tsp")).TopicCount(), 0);
    setIntAt(b, 0, 2049);
    EXPECT_EQ(parseError(b), "\'x.tsp\' is damaged and cannot be opened.\nThe file ends after 1899 bytes, in topic 4.");

    b = good;
    setIntAt(b, 4, 0);
    EXPECT_EQ(parseError(b), "\'x.tsp\' is not a Topicsmith project (it does not start like one).\nIt claims 0 windows; a project holds 1 to 255.");
    setIntAt(b, 4, 256);
    EXPECT_EQ(parseError(b), "\'x.tsp\' is not a Topicsmith project (it does not start like one).\nIt claims 256 windows; a project holds 1 to 255.");
    Project fullTables;
    while (fullTables.addWindow(WindowRecord()))
        ;
    while (fullTables.addTopic(topic("T")))
        ;
    const Project readFull = ProjectFile::parse(ProjectFile::serialize(fullTables), QStringLiteral("x.tsp"));
    EXPECT_EQ(readFull.WindowCount(), 255);
    EXPECT_EQ(readFull.TopicCount(), 2049);
    b = good.left(8 + 168);
    setIntAt(b, 0, 0);
    setIntAt(b, 4, 1);
    EXPECT_EQ(ProjectFile::parse(b, QStringLiteral("x.tsp")).WindowCount(), 1);

    // Length bytes of counted strings: the capacity is read, one more refused.
    const struct {
        qsizetype at;
        int capacity;
        const char* what;
    } strings[] = {
        {t0, 50, "Topic 1's Topic ID"},
        {t0 + 316, 50, "Topic 1's title"},
        {8, 30, "Window 0's name"},
        {8 + 60, 100, "Window 0's caption"},
    };
    for (const auto& field : strings) {
        b = good;
        b[field.at] = char(field.capacity);
        EXPECT_EQ(parseError(b), "no error") << field.what;
        b[field.at] = char(field.capacity + 1);
        EXPECT_EQ(parseError(b), std::string("'x.tsp' is damaged and cannot be opened.\n") + field.what + " has a length of " +
                                     std::to_string(field.capacity + 1) + " characters, more than its " +
                                     std::to_string(field.capacity) + ".");
    }
    b = good;
    b[t0 + 316] = char(200);
    EXPECT_EQ(parseError(b), "'x.tsp' is damaged and cannot be opened.\nTopic 1's title has a length of 200 characters, more than its 50.");
}

TEST(ProjectFile, AWindowIndexOutsideTheTableOpensOnMain)
{
    QByteArray b = ProjectFile::serialize(exampleProject());
    const qsizetype t1 = 8 + 336 + 375 + 100;
    setIntAt(b, t1 + 56, 7);
    Project p = ProjectFile::parse(b, QStringLiteral("x.tsp"));
    EXPECT_EQ(p.topic(1).WindowIndex, 0);
    setIntAt(b, t1 + 56, -2);
    p = ProjectFile::parse(b, QStringLiteral("x.tsp"));
    EXPECT_EQ(p.topic(1).WindowIndex, 0);
    EXPECT_EQ(p.topic(1).TopicID.bytes(), QByteArray("SECOND"));
    // At the edges of the two-window table: 1 is the last window, 2 and -1 are none.
    for (const auto& [stored, opened] : {std::pair{1, 1}, std::pair{2, 0}, std::pair{-1, 0}}) {
        setIntAt(b, t1 + 56, stored);
        EXPECT_EQ(ProjectFile::parse(b, QStringLiteral("x.tsp")).topic(1).WindowIndex, opened) << stored;
    }
}

TEST(ProjectFile, SaveAndLoadThroughTheFileSystem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Demo.tsp"));
    const Project original = exampleProject();
    ProjectFile::save(original, path);
    const Project read = ProjectFile::load(path, QStringLiteral("/prog/"));
    EXPECT_EQ(read.ProjectPath, path);
    EXPECT_EQ(read.programFolder(), QStringLiteral("/prog/"));
    EXPECT_EQ(read.TopicCount(), 3);
    EXPECT_EQ(ProjectFile::serialize(read), ProjectFile::serialize(original));

    // A failed save (the folder is gone) throws and names the file.
    const QString lost = dir.filePath(QStringLiteral("gone/Demo.tsp"));
    try {
        ProjectFile::save(original, lost);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.message().contains(lost));
    }
    // A file too short to be a project names itself without its folder.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5, '\0'));
    f.close();
    try {
        ProjectFile::load(path);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("'Demo.tsp' is not a Topicsmith project")));
    }
    try {
        ProjectFile::load(dir.filePath(QStringLiteral("missing.tsp")));
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("There is no file '%1'.").arg(dir.filePath(QStringLiteral("missing.tsp"))));
    }
    try {
        ProjectFile::load(dir.path());
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'%1' is a folder, not a project.").arg(dir.path()));
    }
}

TEST(ProjectFile, AFailedSaveLeavesThePreviousFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Keep.tsp"));
    const Project original = exampleProject();
    ProjectFile::save(original, path);
    const QByteArray before = ProjectFile::serialize(original);
    Project changed = exampleProject();
    changed.addTopic(topic("NEW", 10, 10));

    // The save runs in a child without write access to the folder (root
    // ignores folder permissions, so the child gives its rights up).
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                          | QFileDevice::ExeOther);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && setuid(65534) != 0)
            _exit(3);
        try {
            ProjectFile::save(changed, path);
        } catch (const IoError&) {
            _exit(0); // refused, as it should be
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save did not fail";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}
