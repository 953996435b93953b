#include "helpsource/CompilerCommand.h"

#include <gtest/gtest.h>

using namespace ts;

TEST(CompilerCommand, WindowsPathsStoredInUpperCase)
{
    const auto hcw = makeCompilerCommand(QStringLiteral("C:\\TOOLS\\HCW.EXE"), QStringLiteral("C:\\Help\\Demo.HPJ"), false);
    ASSERT_TRUE(hcw.has_value());
    EXPECT_EQ(hcw->Program, QStringLiteral("hcw.exe"));
    EXPECT_EQ(hcw->Parameters, QStringLiteral("/c /e /r C:\\Help\\Demo.HPJ"));
    EXPECT_EQ(hcw->WorkingFolder, QStringLiteral("C:\\TOOLS\\"));
    EXPECT_EQ(hcw->Arguments, (QStringList{QStringLiteral("/c"), QStringLiteral("/e"), QStringLiteral("/r"),
                                           QStringLiteral("C:\\Help\\Demo.HPJ")}));

    const auto hcrtf = makeCompilerCommand(QStringLiteral("D:HCRTF.EXE"), QStringLiteral("C:\\Help\\Demo.HPJ"), false);
    ASSERT_TRUE(hcrtf.has_value());
    EXPECT_EQ(hcrtf->Program, QStringLiteral("hcrtf.exe"));
    EXPECT_EQ(hcrtf->Parameters, QStringLiteral("/xh C:\\Help\\Demo.HPJ"));
    EXPECT_EQ(hcrtf->WorkingFolder, QStringLiteral("D:"));

    // Capitals count where paths are stored upper-cased.
    EXPECT_FALSE(makeCompilerCommand(QStringLiteral("C:\\TOOLS\\hcw.exe"), QStringLiteral("x.HPJ"), false));
    EXPECT_FALSE(makeCompilerCommand(QStringLiteral("NoCompiler"), QStringLiteral("x.HPJ"), false));
    EXPECT_FALSE(makeCompilerCommand(QStringLiteral("C:\\TOOLS\\HCW.EXE.BAK"), QStringLiteral("x.HPJ"), false));
    EXPECT_FALSE(makeCompilerCommand(QString(), QStringLiteral("x.HPJ"), false));
}

TEST(CompilerCommand, CaseSensitivePathsKeepTheirCase)
{
    const auto c = makeCompilerCommand(QStringLiteral("/opt/hw/hcw.exe"), QStringLiteral("/home/u/My Help/Demo.HPJ"), true);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->Program, QStringLiteral("hcw.exe"));
    EXPECT_EQ(c->CompilerPath, QStringLiteral("/opt/hw/hcw.exe"));
    EXPECT_EQ(c->WorkingFolder, QStringLiteral("/opt/hw/"));
    // The HPJ is neither quoted nor split, blanks and all.
    EXPECT_EQ(c->Parameters, QStringLiteral("/c /e /r /home/u/My Help/Demo.HPJ"));
    EXPECT_EQ(c->Arguments.last(), QStringLiteral("/home/u/My Help/Demo.HPJ"));

    EXPECT_TRUE(makeCompilerCommand(QStringLiteral("/opt/hw/HcRtf.Exe"), QStringLiteral("a.HPJ"), true).has_value());
    EXPECT_FALSE(makeCompilerCommand(QStringLiteral("/opt/hcw.exe/other"), QStringLiteral("a.HPJ"), true));
    EXPECT_FALSE(makeCompilerCommand(NoCompilerPath, QStringLiteral("a.HPJ"), true));
    EXPECT_EQ(compilerFileName(QStringLiteral("/a\\b:c/d.exe"), true), QStringLiteral("d.exe"));
    EXPECT_EQ(compilerFileName(QStringLiteral("/a\\b:c/d.exe"), false), QStringLiteral("c/d.exe"));
}

TEST(CompilerCommand, LaunchGoesThroughWineOnlyWhereNeededAndAvailable)
{
    const auto c = makeCompilerCommand(QStringLiteral("/opt/hw/hcw.exe"), QStringLiteral("/p/D.HPJ"), true);
    ASSERT_TRUE(c.has_value());

    const CompilerLaunch wine = planCompilerLaunch(*c, false, true);
    EXPECT_EQ(wine.Program, QStringLiteral("wine"));
    EXPECT_EQ(wine.Arguments, (QStringList{QStringLiteral("/opt/hw/hcw.exe"), QStringLiteral("/c"), QStringLiteral("/e"),
                                           QStringLiteral("/r"), QStringLiteral("Z:\\p\\D.HPJ")}));
    EXPECT_EQ(wine.WorkingFolder, QStringLiteral("/opt/hw/"));

    const CompilerLaunch direct = planCompilerLaunch(*c, false, false);
    EXPECT_EQ(direct.Program, QStringLiteral("/opt/hw/hcw.exe"));
    EXPECT_EQ(direct.Arguments.last(), QStringLiteral("Z:\\p\\D.HPJ"));

    const auto w = makeCompilerCommand(QStringLiteral("C:\\TOOLS\\HCRTF.EXE"), QStringLiteral("C:\\D.HPJ"), false);
    ASSERT_TRUE(w.has_value());
    const CompilerLaunch onWindows = planCompilerLaunch(*w, true, true);
    EXPECT_EQ(onWindows.Program, QStringLiteral("C:\\TOOLS\\HCRTF.EXE"));
    EXPECT_EQ(onWindows.WorkingFolder, QStringLiteral("C:\\TOOLS\\"));
}

TEST(CompilerCommand, WindowsFormOfPaths)
{
    EXPECT_EQ(windowsFormOfPath(QStringLiteral("/home/u/My Help/Demo")), QStringLiteral("Z:\\home\\u\\My Help\\Demo"));
    EXPECT_EQ(windowsFormOfPath(QStringLiteral("/a/./b/../c.HPJ")), QStringLiteral("Z:\\a\\c.HPJ"));
    EXPECT_EQ(windowsFormOfPath(QStringLiteral("C:\\Help\\Demo")), QStringLiteral("C:\\Help\\Demo"));
    EXPECT_EQ(windowsFormOfPath(QStringLiteral("c:/Help/Demo")), QStringLiteral("c:\\Help\\Demo"));
    EXPECT_EQ(windowsFormOfPath(QStringLiteral("\\\\server\\share\\D")), QStringLiteral("\\\\server\\share\\D"));
}
