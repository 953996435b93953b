// A published site checked by outside programs: tidy validates the HTML,
// headless Chromium runs the pages' script, chmcmd and chmls make and list
// the CHM. Each test is skipped, saying why, when its program is missing.

#include "PublishSamples.h"
#include "helpdoc/ChmPublisher.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace ts;
using namespace ts::publish;

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString output;
};

ProgramRun runProgram(const QString& program, const QStringList& args, int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, QStringLiteral("timed out")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

QString publishedSample(QTemporaryDir& dir)
{
    const QString folder = dir.filePath(QStringLiteral("site"));
    writeSite(publishHtml(samples::sampleHelpDocument()), folder);
    return folder;
}

} // namespace

TEST(PublishedSite, TidyFindsNoErrors)
{
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    if (tidy.isEmpty())
        GTEST_SKIP() << "tidy is not installed (Debian package tidy)";
    QTemporaryDir dir;
    const QString folder = publishedSample(dir);
    const QStringList pages = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(pages.size(), 8);
    for (const QString& page : pages) {
        // Exit 2 means errors; 1 only warnings, which are reported but allowed.
        const ProgramRun r = runProgram(tidy, {QStringLiteral("-q"), QStringLiteral("-e"), QStringLiteral("-utf8"),
                                        QStringLiteral("--drop-empty-elements"), QStringLiteral("no"), QDir(folder).filePath(page)});
        EXPECT_GE(r.exitCode, 0) << page.toStdString();
        EXPECT_LT(r.exitCode, 2) << page.toStdString() << ":\n" << r.output.toStdString();
    }
}

// index.html with a script of the test's own: it records uncaught errors,
// then, in the frame beside the contents, clicks a pop-up hotspot of the
// first topic and searches for a word of another topic, and writes what it
// saw into the page, which Chromium prints.
TEST(PublishedSite, ChromiumRunsPopupsAndSearch)
{
    QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed (Debian package chromium)";
    QTemporaryDir dir;
    const QString folder = publishedSample(dir);
    QFile index(QDir(folder).filePath(QStringLiteral("index.html")));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    QString page = QString::fromUtf8(index.readAll());
    page.replace(QLatin1String("<head>"),
                 QLatin1String("<head><script>window.errors=[];window.addEventListener('error',function(e){errors.push(e.message);});</script>"));
    page.replace(QLatin1String("</body>"), QLatin1String(R"(<pre id="check">waiting</pre><script>
function report(text) { document.getElementById('check').textContent = text; }
window.addEventListener('load', function () {
  var frame = document.getElementById('topic'), doc = frame.contentDocument, out = [];
  var link = doc.querySelector('a[data-popup]');
  link.click();
  var box = doc.getElementById(link.getAttribute('data-popup'));
  out.push('popup:' + (box && !box.hidden && doc.activeElement === box ? 'open' : 'closed'));
  doc.dispatchEvent(new KeyboardEvent('keydown', {key: 'Escape', bubbles: true}));
  out.push('escape:' + (box.hidden ? 'closed' : 'open'));
  frame.onload = function () {
    setTimeout(function () {
      var links = frame.contentDocument.querySelectorAll('#results a'), found = [];
      for (var i = 0; i < links.length; i++) found.push(links[i].getAttribute('href'));
      out.push('search:' + found.join(','));
      out.push('errors:' + errors.length + ' ' + errors.join(' | '));
      report(out.join('\n'));
    }, 500);
  };
  frame.src = 'search.html?q=quok';
});
</script></body>)"));
    QFile check(QDir(folder).filePath(QStringLiteral("check.html")));
    ASSERT_TRUE(check.open(QIODevice::WriteOnly));
    check.write(page.toUtf8());
    check.close();

    QTemporaryDir profile;
    const ProgramRun r = runProgram(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                                        QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
                                        QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                                        QStringLiteral("--allow-file-access-from-files"),
                                        QStringLiteral("--user-data-dir=") + profile.path(),
                                        QStringLiteral("--virtual-time-budget=10000"), QStringLiteral("--dump-dom"),
                                        QUrl::fromLocalFile(check.fileName()).toString()});
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains(QLatin1String("popup:open"))) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains(QLatin1String("escape:closed"))) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains(QLatin1String("search:DEF.html"))) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains(QLatin1String("errors:0 "))) << r.output.toStdString();
}

TEST(PublishedSite, ChmHoldsEveryPageTheContentsAndTheIndex)
{
    if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("chmls")).isEmpty())
        GTEST_SKIP() << chmCompilerMissingText().toStdString();
    QTemporaryDir dir;
    const HtmlSite site = publishHtml(samples::sampleHelpDocument());
    const QString chm = dir.filePath(QStringLiteral("Sample.chm"));
    writeChm(site, chm);
    const ProgramRun r = runProgram(QStringLiteral("chmls"), {QStringLiteral("-n"), QStringLiteral("list"), chm});
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    for (const QString& name : {QStringLiteral("/CONTENTS.html"), QStringLiteral("/_._x.html"), QStringLiteral("/DEF.html"),
                                QStringLiteral("/_._X-2.html"), QStringLiteral("/help.hhc"), QStringLiteral("/help.hhk"),
                                QStringLiteral("/pictures/bm0.png"),
                                // chmcmd takes one [ALIAS] per page: the second number to a page forwards
                                QStringLiteral("/map-300.html")})
        EXPECT_TRUE(r.output.contains(name)) << name.toStdString() << " not in\n" << r.output.toStdString();

    // The project maps [MAP] 100 to its page by a name of its own.
    const QByteArray hhp = chmProjectFile(site, QStringLiteral("help"));
    EXPECT_TRUE(hhp.contains("[ALIAS]\r\nIDH_100=_._x.html\r\n"));
    EXPECT_TRUE(hhp.contains("[MAP]\r\n#define IDH_100 100\r\n"));
    EXPECT_TRUE(chmIndexFile(site).contains("<param name=\"Name\" value=\"alpha\"><param name=\"Name\" value=\"Contents\">"));
}
