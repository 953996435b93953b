// Compiled help files opened in Wine's WinHelp viewer on a virtual screen:
// the viewer's trace (WINEDEBUG=+winhelp) must show the file opened, its
// title, every page and the keywords, and a click on a jump must open the
// jump's target. Skipped, with the reason, when wine, Xvfb or xdotool is not
// installed (Debian packages wine, xvfb, xdotool).
//
// TOPICSMITH_WINEPREFIX names a Wine prefix to reuse (one is made in a
// temporary folder otherwise, which takes half a minute); TOPICSMITH_WINE_KEEP
// names a folder that receives the traces and screenshots.

#include "HelpFileReader.h"

#include "helpfile/HelpCompiler.h"
#include "model/Project.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

using namespace ts;

namespace {

QByteArray rtfOf(const QString& text, bool strike = false, int halfPoints = 20)
{
    RichDocument d;
    d.Paragraphs.front().Runs.front().Text = text;
    d.Paragraphs.front().Runs.front().Format.Size = halfPoints;
    d.Paragraphs.front().Runs.front().Format.Strike = strike;
    return RtfWriter::write(d);
}

TopicRecord topic(const char* id, const char* title, const char* keywords, QByteArray body)
{
    TopicRecord t;
    t.TopicID.setBytes(id);
    t.Title.setBytes(title);
    t.Keywords.setBytes(keywords);
    t.BodyRtf = std::move(body);
    return t;
}

// A project whose first topic is all one big jump, so that a click in the
// middle of the window lands on it.
struct Case {
    QString name;
    QString caption;
    Project project;
    QByteArray startId, jumpTarget;
    QList<QByteArray> keywords;
};

// A case whose main window sits at the screen's corner, 640 by 480, so the
// test can click its hotspots; `words` is the long hotspot text.
Case caseAtCorner(const QString& folder, const QString& name, const QString& caption, const QString& word, QString& words)
{
    Case c;
    c.name = name;
    c.caption = caption;
    c.project.ProjectPath = folder + QLatin1Char('/') + name + QStringLiteral(".tsp");
    WindowRecord& main = c.project.window(0);
    main.Caption.setText(c.caption);
    main.DefaultPosition = false;
    main.Left = 0;
    main.Top = 0;
    main.Width = 640;
    main.Height = 480;
    for (int i = 0; i < 40; ++i)
        words += word;
    return c;
}

Case tinyCase(const QString& folder)
{
    QString words;
    Case c = caseAtCorner(folder, QStringLiteral("Tiny"), QStringLiteral("Tiny Help"), QStringLiteral("Click here "), words);
    c.project.addTopic(topic("INTRO", "Introduction", "start;welcome", rtfOf(words + QStringLiteral("-->MORE"), true, 48)));
    c.project.addTopic(topic("MORE", "More", "details", rtfOf(QStringLiteral("Second topic."))));
    c.startId = "INTRO";
    c.jumpTarget = "MORE";
    c.keywords = {"details", "start", "welcome"};
    return c;
}

Case guideCase(const QString& folder)
{
    QString words;
    Case c = caseAtCorner(folder, QStringLiteral("Guide"), QStringLiteral("User Guide"), QStringLiteral("Printing "), words);
    c.project.addTopic(topic("CONTENTS", "Contents", "overview", rtfOf(QStringLiteral("The guide."))));
    c.project.addTopic(topic("SETUP", "Setting up", "install;setup", rtfOf(words + QStringLiteral("-->PRINTING"), true, 48)));
    c.project.addTopic(topic("PRINTING", "Printing", "print;paper", rtfOf(QStringLiteral("How to print."))));
    c.project.addTopic(topic("ABOUT", "About", "", rtfOf(QStringLiteral("Version 1."))));
    c.startId = "SETUP";
    c.jumpTarget = "PRINTING";
    c.keywords = {"install", "overview", "paper", "print", "setup"};
    return c;
}

class WineViewer : public ::testing::Test {
protected:
    QTemporaryDir work;
    QProcess xvfb;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString keep = qEnvironmentVariable("TOPICSMITH_WINE_KEEP");

    void SetUp() override
    {
        for (const char* tool : {"wine", "wineserver", "Xvfb", "xdotool"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (Debian packages wine, xvfb, xdotool); "
                             << "the viewer check is skipped";
        ASSERT_TRUE(work.isValid());
        // A free display, chosen by the server itself.
        xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                            QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                            QStringLiteral("tcp")});
        ASSERT_TRUE(xvfb.waitForStarted(10000));
        QByteArray display;
        for (QElapsedTimer t; !display.contains('\n') && (t.isValid() || (t.start(), true)) && t.elapsed() < 15000;)
            if (xvfb.waitForReadyRead(500))
                display += xvfb.readAllStandardOutput();
        ASSERT_TRUE(display.contains('\n')) << "Xvfb did not report its display";
        const QString runtime = work.filePath(QStringLiteral("xdg"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(display.trimmed()));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
        const QString prefix = qEnvironmentVariable("TOPICSMITH_WINEPREFIX", work.filePath(QStringLiteral("prefix")));
        env.insert(QStringLiteral("WINEPREFIX"), prefix);
        env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        if (!QFile::exists(prefix + QStringLiteral("/system.reg"))) {
            const auto [code, out] = run(QStringLiteral("wineboot"), {QStringLiteral("-i")}, 300000);
            ASSERT_EQ(code, 0) << "wineboot failed: " << out.constData();
        }
    }

    void TearDown() override
    {
        if (env.contains(QStringLiteral("WINEPREFIX")))
            run(QStringLiteral("wineserver"), {QStringLiteral("-k")}, 20000);
        if (xvfb.state() != QProcess::NotRunning) {
            xvfb.terminate();
            if (!xvfb.waitForFinished(5000))
                xvfb.kill();
            xvfb.waitForFinished(2000);
        }
    }

    std::pair<int, QByteArray> run(const QString& program, const QStringList& args, int timeoutMs = 20000)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished(2000);
            return {-1, p.readAll() + "\n(timed out)"};
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAll()};
    }

    QStringList windows(const QString& titlePattern)
    {
        const auto [code, out] = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"), titlePattern});
        return code == 0 ? QString::fromLatin1(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList();
    }

    void screenshot(const QString& name)
    {
        if (!keep.isEmpty() && !QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
            run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), keep + QLatin1Char('/') + name});
    }

    // Waits until `done` holds for the viewer's trace so far.
    bool waitFor(QProcess& viewer, QByteArray& trace, const std::function<bool()>& done, int ms)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms) {
            viewer.waitForReadyRead(200);
            trace += viewer.readAll();
        }
        return done();
    }

    void check(Case c)
    {
        SCOPED_TRACE(c.name.toStdString());
        const HelpCompileReport report = compileHelpFile(c.project);
        ASSERT_EQ(report.errors, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
        const QString hlp = helpFilePathFor(c.project);
        ASSERT_TRUE(QFile::exists(hlp));

        QProcess viewer;
        QProcessEnvironment viewerEnv = env;
        viewerEnv.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("+winhelp"));
        viewer.setProcessEnvironment(viewerEnv);
        viewer.setProcessChannelMode(QProcess::MergedChannels);
        viewer.setWorkingDirectory(QFileInfo(hlp).absolutePath());
        viewer.start(QStringLiteral("wine"), {QStringLiteral("winhlp32"), QStringLiteral("-i"), QString::fromLatin1(c.startId),
                                              QFileInfo(hlp).fileName()});
        ASSERT_TRUE(viewer.waitForStarted(10000));
        QByteArray trace;
        const int pages = c.project.TopicCount() + 1; // every topic and the closing header
        const QString title = QStringLiteral("^") + c.caption + QStringLiteral("$");
        const QByteArray startTitle = c.project.topic(c.project.findTopic(c.startId)).Title.bytes();
        const QByteArray targetTitle = c.project.topic(c.project.findTopic(c.jumpTarget)).Title.bytes();
        // The page offsets as the viewer lists them: title -> TOPICOFFSET in hex.
        auto offsetOf = [&](const QByteArray& pageTitle) {
            const QRegularExpression added(QStringLiteral("Added page\\[\\d+\\]: title=\"%1\" \\w+ << ([0-9a-f]{8}) >>")
                                               .arg(QRegularExpression::escape(QString::fromLatin1(pageTitle))));
            const auto m = added.match(QString::fromLatin1(trace));
            return m.hasMatch() ? QByteArray::number(m.captured(1).toUInt(nullptr, 16), 16) : QByteArray("?");
        };
        auto opened = [&](qsizetype from, const QByteArray& id, const QByteArray& pageTitle) {
            const QByteArray part = trace.mid(from);
            const QByteArray hash = QByteArray::number(quint32(hlpread::contextHash(id)), 16);
            const qsizetype byHash = part.indexOf(QByteArray(">[" + hash + "]"));
            return byHash >= 0 && part.indexOf("PageByOffset <", byHash) >= 0 &&
                   part.indexOf(QByteArray(">[" + offsetOf(pageTitle) + "]"), byHash) >= 0;
        };
        const bool shown = waitFor(viewer, trace, [&]() -> bool {
            return trace.count("Added page") >= pages && opened(0, c.startId, startTitle) && !windows(title).isEmpty();
        }, 90000);
        QThread::msleep(1500);
        trace += viewer.readAll();
        screenshot(c.name + QStringLiteral("-start.png"));

        bool jumped = false, indexed = false;
        qsizetype jumpFrom = 0, indexFrom = 0;
        QByteArray keywordLines;
        for (const QByteArray& k : c.keywords)
            keywordLines += "Adding \"" + k + "\" to search list\n";
        auto listed = [&] {
            QByteArray got;
            for (const QByteArray& line : trace.mid(indexFrom).split('\n'))
                if (line.contains("cb_KWBTree Adding"))
                    got += line.mid(line.indexOf("Adding")) + '\n';
            return got;
        };
        if (shown) {
            // A click into the middle of the big jump opens the jump's target.
            const QString w = windows(title).first();
            jumpFrom = trace.size();
            run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), w, QStringLiteral("320"),
                                            QStringLiteral("240"), QStringLiteral("click"), QStringLiteral("1")});
            jumped = waitFor(viewer, trace, [&]() -> bool { return opened(jumpFrom, c.jumpTarget, targetTitle); }, 15000);
            screenshot(c.name + QStringLiteral("-jump.png"));
            // The Index button lists the keywords.
            indexFrom = trace.size();
            run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("89"), QStringLiteral("52"),
                                            QStringLiteral("click"), QStringLiteral("1")});
            indexed = waitFor(viewer, trace, [&]() -> bool { return listed().count('\n') >= c.keywords.size(); }, 15000);
            screenshot(c.name + QStringLiteral("-index.png"));
            for (const QString& win : windows(c.caption))
                run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--window"), win, QStringLiteral("alt+F4")});
        }
        if (!viewer.waitForFinished(10000)) {
            run(QStringLiteral("wineserver"), {QStringLiteral("-k")});
            viewer.waitForFinished(5000);
        }
        trace += viewer.readAll();
        if (!keep.isEmpty()) {
            QFile f(keep + QLatin1Char('/') + c.name + QStringLiteral("-trace.log"));
            if (f.open(QIODevice::WriteOnly))
                f.write(trace);
        }

        ASSERT_TRUE(shown) << "the viewer did not show the file at " << c.startId.constData() << "; trace:\n"
                           << trace.right(20000).constData();
        EXPECT_FALSE(trace.contains("err:winhelp"));
        EXPECT_TRUE(trace.contains("Got system header: magic=036c version=1.33"));
        EXPECT_TRUE(trace.contains(QByteArray("Title: \"" + c.caption.toLatin1() + "\"")));
        EXPECT_TRUE(trace.contains(QByteArray("name=\"main\" caption=\"" + c.caption.toLatin1() + "\"")));
        EXPECT_EQ(trace.count("Added page"), pages);
        for (int i = 0; i < c.project.TopicCount(); ++i)
            EXPECT_TRUE(trace.contains(QByteArray("title=\"" + c.project.topic(i).Title.bytes() + "\"")))
                << c.project.topic(i).Title.bytes().constData();
        EXPECT_TRUE(jumped) << "the click on the jump did not open " << c.jumpTarget.constData();
        EXPECT_TRUE(indexed) << "keywords listed:\n" << listed().constData();
        EXPECT_EQ(listed(), keywordLines);
    }
};

} // namespace

TEST_F(WineViewer, TwoProjectsOpenShowTheirPagesAndJump)
{
    const QString folder = work.filePath(QStringLiteral("projects"));
    ASSERT_TRUE(QDir().mkpath(folder));
    check(tinyCase(folder));
    check(guideCase(folder));
}
