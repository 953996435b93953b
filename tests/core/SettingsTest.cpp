#include "model/IoError.h"
#include "settings/IniFile.h"
#include "settings/ProgramFolder.h"
#include "settings/RecentFiles.h"
#include "settings/Settings.h"
#include "settings/WindowPlacement.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ts;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

RecentFiles listOf(std::initializer_list<const char*> paths)
{
    RecentFiles r;
    int k = 0;
    for (const char* p : paths) {
        r.setCaption(k, QStringLiteral("&%1 %2").arg(k + 1).arg(QString::fromUtf8(p)));
        ++k;
    }
    return r;
}

QStringList captions(const RecentFiles& r)
{
    QStringList out;
    for (int k = 0; k < RecentFiles::Count; ++k)
        out << r.caption(k);
    return out;
}

} // namespace

TEST(Settings, WritesTheIniTextInItsOrder)
{
    Settings s;
    s.Left = 10;
    s.Top = -4;
    s.Width = 800;
    s.Height = 600;
    s.topicListShown = false;
    s.HelpCompiler = QStringLiteral("C:\\Program Files\\HCW\\HCW.EXE");
    s.Maximized = true;
    s.Recent.arrangeReopen(QStringLiteral("/home/u/Help One.tsp"));
    IniFile ini;
    s.toIni(ini);
    EXPECT_EQ(ini.serialize(),
              QByteArray("[CONFIG]\r\nLeft=10\r\nTop=-4\r\nWidth=800\r\nHeight=600\r\nTLB=0\r\n"
                         "HelpCompiler=C:\\Program Files\\HCW\\HCW.EXE\r\nMaximized=1\r\n"
                         "\r\n[RECENT FILES]\r\n0=&1 /home/u/Help One.tsp\r\n1=&2 NoName\r\n2=&3 NoName\r\n"
                         "3=&4 NoName\r\n4=&5 NoName\r\n"));
}

TEST(Settings, MissingKeysAndNonNumbersGiveDefaults)
{
    const Settings s = Settings::fromIni(IniFile::parse("[CONFIG]\r\nLeft=0x20\r\nTop=-7\r\nWidth=wide\r\n"
                                                         "TLB=yes\r\n"));
    EXPECT_EQ(s.Left, 32);
    EXPECT_EQ(s.Top, -7);
    EXPECT_EQ(s.Width, 640);
    EXPECT_EQ(s.Height, 400);
    EXPECT_TRUE(s.topicListShown);
    EXPECT_EQ(s.HelpCompiler, QStringLiteral("NoCompiler"));
    EXPECT_FALSE(s.Maximized); // a file of an older version
    for (int k = 0; k < RecentFiles::Count; ++k)
        EXPECT_EQ(s.Recent.caption(k), RecentFiles::emptyCaption(k));

    const Settings empty = Settings::fromIni(IniFile());
    EXPECT_EQ(empty.Width, 640);
    EXPECT_TRUE(empty.topicListShown);
    EXPECT_EQ(empty.Recent.caption(4), QStringLiteral("&5 NoName"));
}

TEST(Settings, HandEditedFileIsReadAsWritten)
{
    // Lower-case section, blanks around '=', LF line ends, a comment, hex
    // in upper case, a recent entry carrying another place's number.
    const Settings s = Settings::fromIni(IniFile::parse(
        "; edited by hand\n[config]\nHeight = 0X1F4\nTLB=0\nHelpCompiler=C:\\HCW\\hcrtf.exe\n"
        "[RECENT FILES]\n0=&3 /data/a.tsp\n2=&3 /data/c.tsp\n"));
    EXPECT_EQ(s.Height, 500);
    EXPECT_FALSE(s.topicListShown);
    EXPECT_EQ(s.HelpCompiler, QStringLiteral("C:\\HCW\\hcrtf.exe"));
    EXPECT_EQ(s.Recent.caption(0), QStringLiteral("&3 /data/a.tsp"));
    EXPECT_EQ(s.Recent.path(0), QStringLiteral("/data/a.tsp"));
    EXPECT_EQ(s.Recent.caption(1), QStringLiteral("&2 NoName"));
}

TEST(Settings, SavedFileReadsBackWithLongAndNonLatinPathsWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(Settings::fileName());
    const QString longPath = QStringLiteral("/very/") + QString(240, QLatin1Char('x')) + QStringLiteral("/p.tsp");
    const QString cyrillic = QStringLiteral("/home/\u0418\u0432\u0430\u043D/\u041F\u043E\u043C\u043E\u045B.tsp");

    Settings s;
    s.Recent.arrangeReopen(longPath);
    s.Recent.arrangeReopen(cyrillic);
    IniFile ini = IniFile::read(path); // missing: empty
    s.toIni(ini);
    ini.save(path);

    const QByteArray bytes = readAll(path);
    EXPECT_TRUE(bytes.startsWith("[CONFIG]\r\nLeft=0\r\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("\r\n[RECENT FILES]\r\n0=&1 /home/")) << bytes.constData();
    const Settings back = Settings::fromIni(IniFile::read(path));
    EXPECT_EQ(back.Recent.path(0), cyrillic);
    EXPECT_EQ(back.Recent.path(1), longPath);
    EXPECT_EQ(back.Recent.path(1).size(), longPath.size());
}

TEST(Settings, WritingKeepsOtherKeysOfTheFile)
{
    IniFile ini = IniFile::parse("[CONFIG]\r\nTop=5\r\nFuture=keep me\r\n[OTHER]\r\nx=1\r\n");
    Settings s;
    s.Top = 9;
    s.toIni(ini);
    EXPECT_EQ(ini.value(QStringLiteral("CONFIG"), QStringLiteral("Future")), QStringLiteral("keep me"));
    EXPECT_EQ(ini.value(QStringLiteral("OTHER"), QStringLiteral("x")), QStringLiteral("1"));
    EXPECT_EQ(ini.intValue(QStringLiteral("CONFIG"), QStringLiteral("Top"), 0), 9);
}

TEST(Settings, FileInTheWindowsCodePageStillReads)
{
    const Settings s = Settings::fromIni(IniFile::parse("[RECENT FILES]\r\n0=&1 C:\\Hilfe\\M\xFC" "ller.tsp\r\n"));
    EXPECT_EQ(s.Recent.path(0), QStringLiteral("C:\\Hilfe\\M\u00FCller.tsp"));
}

TEST(Settings, UnwritableFileThrowsNamingIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no/such/folder/Topicsmith.ini"));
    try {
        IniFile().save(path);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.message().contains(path)) << e.what();
    }
}

TEST(RecentFiles, SameProjectTwiceLeavesTheListUnchanged)
{
    RecentFiles r = listOf({"/a.tsp", "/b.tsp", "/c.tsp"});
    r.arrangeReopen(QStringLiteral("/a.tsp"));
    const QStringList once = captions(r);
    r.arrangeReopen(QStringLiteral("/a.tsp"));
    EXPECT_EQ(captions(r), once);
    EXPECT_EQ(once, (QStringList{QStringLiteral("&1 /a.tsp"), QStringLiteral("&2 /b.tsp"),
                                 QStringLiteral("&3 /c.tsp"), QStringLiteral("&4 NoName"),
                                 QStringLiteral("&5 NoName")}));
}

TEST(RecentFiles, EntryInPlaceThreeExchangesWithTheFirst)
{
    RecentFiles r = listOf({"/a.tsp", "/b.tsp", "/c.tsp", "/d.tsp", "/e.tsp"});
    r.arrangeReopen(QStringLiteral("/c.tsp"));
    EXPECT_EQ(captions(r), (QStringList{QStringLiteral("&1 /c.tsp"), QStringLiteral("&2 /b.tsp"),
                                        QStringLiteral("&3 /a.tsp"), QStringLiteral("&4 /d.tsp"),
                                        QStringLiteral("&5 /e.tsp")}));
}

TEST(RecentFiles, NewProjectPushesDownAndDropsTheFifth)
{
    RecentFiles r = listOf({"/a.tsp", "/b.tsp", "/c.tsp", "/d.tsp", "/e.tsp"});
    r.arrangeReopen(QStringLiteral("/new.tsp"));
    EXPECT_EQ(captions(r), (QStringList{QStringLiteral("&1 /new.tsp"), QStringLiteral("&2 /a.tsp"),
                                        QStringLiteral("&3 /b.tsp"), QStringLiteral("&4 /c.tsp"),
                                        QStringLiteral("&5 /d.tsp")}));
    RecentFiles fresh;
    fresh.arrangeReopen(QStringLiteral("/x.tsp"));
    EXPECT_EQ(fresh.caption(1), QStringLiteral("&2 NoName"));
    EXPECT_EQ(fresh.caption(4), QStringLiteral("&5 NoName"));
}

TEST(RecentFiles, ComparisonIsExactAndTheLastMatchCounts)
{
    RecentFiles r = listOf({"/a.tsp", "/b.tsp"});
    r.arrangeReopen(QStringLiteral("/A.tsp"));
    EXPECT_EQ(r.caption(0), QStringLiteral("&1 /A.tsp"));
    EXPECT_EQ(r.caption(1), QStringLiteral("&2 /a.tsp"));

    // A hand-edited list with the same path twice: the later one moves.
    RecentFiles dup = listOf({"/a.tsp", "/d.tsp", "/b.tsp", "/d.tsp", "/e.tsp"});
    dup.arrangeReopen(QStringLiteral("/d.tsp"));
    EXPECT_EQ(captions(dup), (QStringList{QStringLiteral("&1 /d.tsp"), QStringLiteral("&2 /d.tsp"),
                                          QStringLiteral("&3 /b.tsp"), QStringLiteral("&4 /a.tsp"),
                                          QStringLiteral("&5 /e.tsp")}));
}

TEST(RecentFiles, PathsAreNeverCut)
{
    const QString longPath = QStringLiteral("/") + QString(300, QLatin1Char('p')) + QStringLiteral(".tsp");
    RecentFiles r;
    r.arrangeReopen(longPath);
    EXPECT_EQ(r.path(0), longPath);
    r.arrangeReopen(QStringLiteral("/b.tsp"));
    EXPECT_EQ(r.path(1), longPath);
}

TEST(ProgramFolder, EnvironmentOverridesAndFolderIsCreated)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.filePath(QStringLiteral("sub/home"));
    const QByteArray old = qgetenv("TOPICSMITH_HOME");
    qputenv("TOPICSMITH_HOME", home.toLocal8Bit());
    const QString folder = ts::programFolder();
    if (old.isNull())
        qunsetenv("TOPICSMITH_HOME");
    else
        qputenv("TOPICSMITH_HOME", old);
    EXPECT_EQ(folder, home + QLatin1Char('/'));
    EXPECT_TRUE(QDir(home).exists());
}

// An installed program's folder (~/.local/bin) is writable but no place for
// settings; a build folder is.
TEST(ProgramFolder, OnlyABuildFolderKeepsTheSettingsBesideTheProgram)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("prefix/bin")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("build/tests")));
    QFile cache(dir.filePath(QStringLiteral("build/CMakeCache.txt")));
    ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
    cache.close();
    EXPECT_FALSE(ts::isBuildFolder(dir.filePath(QStringLiteral("prefix/bin"))));
    EXPECT_TRUE(ts::isBuildFolder(dir.filePath(QStringLiteral("build"))));
    EXPECT_TRUE(ts::isBuildFolder(dir.filePath(QStringLiteral("build/tests"))));
    EXPECT_FALSE(ts::isBuildFolder(QString()));
}

TEST(WindowPlacement, SavedBoundsComeBackOnTheScreenAndAFirstStartIsCentred)
{
    const QRect screen(0, 0, 1280, 1024);
    const QSize frame(0, 30);
    // A window that fits stays where it was.
    EXPECT_EQ(ts::fitIntoScreen(QRect(100, 50, 800, 600), screen, frame), QRect(100, 50, 800, 600));
    // The bounds of a maximised window, its title bar above the screen: as
    // large as the screen allows with the frame, and moved onto it.
    EXPECT_EQ(ts::fitIntoScreen(QRect(-1, -1, 1280, 1005), screen, frame), QRect(0, 0, 1280, 994));
    // Off to the right and below: pulled back whole.
    EXPECT_EQ(ts::fitIntoScreen(QRect(1200, 1000, 400, 300), screen, frame), QRect(880, 694, 400, 300));
    // A second screen's room counts from its own corner.
    EXPECT_EQ(ts::fitIntoScreen(QRect(1200, 10, 400, 300), QRect(1280, 0, 1920, 1080), frame),
              QRect(1280, 10, 400, 300));
    EXPECT_EQ(ts::firstStartBounds(QRect(0, 0, 1920, 1080)), QRect(320, 180, 1280, 720));
    EXPECT_EQ(ts::firstStartBounds(QRect(0, 24, 1024, 744)), QRect(171, 148, 682, 496));
}
