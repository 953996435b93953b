// Publishing a help document as a web site: escaping, file names, links,
// pop-ups, keywords, map.json, the contents tree, the search index, the
// pictures and the log; and a project of hostile texts end to end.

#include "PublishSamples.h"
#include "TopicSamples.h"
#include "helpdoc/HtmlMacros.h"
#include "helpdoc/HtmlSiteText.h"
#include "helpdoc/PngWriter.h"
#include "helpdoc/PublishSource.h"
#include "links/LinkMaintenance.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtEndian>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;
using namespace ts::publish;
using ts::samples::fileText;

namespace {

struct Published {
    HelpDocument doc = samples::sampleHelpDocument();
    HtmlSite site = publishHtml(doc);
    bool logHas(const QString& words) const
    {
        return site.report.logLines.filter(words).size() > 0;
    }
};

const Published& published()
{
    static const Published p;
    return p;
}

QStringList hrefs(const QString& html)
{
    QStringList out;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    for (auto it = href.globalMatch(html); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

} // namespace

TEST(HtmlPublisher, PageNamesComeFromTopicIdsAndStayInsideTheFolder)
{
    PageNames names;
    EXPECT_EQ(names.take(QStringLiteral("INTRO")), QStringLiteral("INTRO.html"));
    EXPECT_EQ(names.take(QStringLiteral("intro")), QStringLiteral("intro-2.html")); // unique without regard to case
    EXPECT_EQ(names.take(QStringLiteral("../x")), QStringLiteral("_._x.html"));
    EXPECT_EQ(names.take(QStringLiteral("..")), QStringLiteral("_..html"));
    EXPECT_EQ(names.take(QStringLiteral("a/b\\c d")), QStringLiteral("a_b_c_d.html"));
    EXPECT_EQ(names.take(QStringLiteral("index")), QStringLiteral("topic-index.html"));
    EXPECT_EQ(names.take(QStringLiteral("CON")), QStringLiteral("topic-CON.html"));
    EXPECT_EQ(names.take(QString()), QStringLiteral("topic.html"));
    EXPECT_EQ(names.take(QString(200, QLatin1Char('z'))).size(), 80 + 5);

    // The sample's "../x" and "../X" get two pages, neither outside the folder.
    const Published& p = published();
    QTemporaryDir dir;
    writeSite(p.site, dir.path());
    QStringList written;
    for (QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        written << QDir(dir.path()).relativeFilePath(it.next());
    EXPECT_EQ(written.size(), qsizetype(p.site.files.size()));
    EXPECT_TRUE(written.contains(QStringLiteral("_._x.html")));
    EXPECT_TRUE(written.contains(QStringLiteral("_._X-2.html")));
    EXPECT_TRUE(written.contains(QStringLiteral("pictures/bm0.png")));
}

TEST(HtmlPublisher, EveryTextIsEscaped)
{
    const Published& p = published();
    const QString page = fileText(p.site, QStringLiteral("_._x.html"));
    EXPECT_TRUE(page.contains(QStringLiteral("<title>&lt;script&gt;alert(1)&lt;/script&gt;</title>")));
    EXPECT_TRUE(page.contains(QStringLiteral("&lt;/p&gt;&lt;script&gt;alert(2)&lt;/script&gt; zebra")));
    for (const SiteFile& f : p.site.files) {
        EXPECT_FALSE(f.bytes.contains("<script>alert")) << f.path.toStdString();
        EXPECT_FALSE(f.bytes.contains("<b>")) << f.path.toStdString();
        EXPECT_FALSE(f.bytes.contains("<i>")) << f.path.toStdString();
    }
    EXPECT_TRUE(fileText(p.site, QStringLiteral("search-index.js")).contains(QStringLiteral("\\u003cscript\\u003ealert(1)")));
    EXPECT_EQ(jsonString(QStringLiteral("a\"\\\n</script>\u2028")), QStringLiteral("\"a\\\"\\\\\\n\\u003c/script\\u003e\\u2028\""));
    EXPECT_TRUE(fileText(p.site, QStringLiteral("CONTENTS.html")).contains(QStringLiteral("Go &amp; see")));
}

TEST(HtmlPublisher, HotspotsBecomeLinksPopupsAndNotes)
{
    const Published& p = published();
    const QString page = fileText(p.site, QStringLiteral("CONTENTS.html"));
    // A jump, a jump into the secondary window's own page, a link into the other file's site.
    EXPECT_TRUE(page.contains(QStringLiteral("<a class=\"jump\" href=\"_._x.html\">the script topic</a>")));
    EXPECT_TRUE(page.contains(QStringLiteral("href=\"_._X.sec.html\">a glossary entry</a>")));
    EXPECT_TRUE(page.contains(QStringLiteral("href=\"../OTHER/FAR_AWAY.html\">Far</a>")));
    EXPECT_TRUE(p.logHas(QStringLiteral("Links into OTHER.HLP point to the site published beside this one as ../OTHER/")));
    // The pop-up's text is in the page, hidden, and its hotspot points at it.
    EXPECT_TRUE(page.contains(QStringLiteral("<a class=\"popup\" href=\"DEF.html\" data-popup=\"popup-3\" aria-haspopup=\"dialog\">term</a>")));
    EXPECT_TRUE(page.contains(QStringLiteral("id=\"popup-3\" role=\"dialog\" aria-label=\"Definition\" hidden")));
    EXPECT_TRUE(page.contains(QStringLiteral("A definition with quokka words.")));
    // A broken jump is plain text with a note, and the log says so.
    EXPECT_TRUE(page.contains(QStringLiteral("<span class=\"broken\" title=\"No topic has the Topic ID NOWHERE\">lost</span>")));
    EXPECT_TRUE(p.logHas(QStringLiteral("the jump to NOWHERE leads nowhere")));
    // KLink runs in the page; ExecFile of a program is inert with a tooltip; the button jumps.
    EXPECT_TRUE(page.contains(QStringLiteral("data-keywords=\"alpha\" data-table=\"K\">alpha topics</a>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<span class=\"inert\" title=\"In WinHelp this runs ExecFile; a web page cannot\">Notepad</span>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<button type=\"button\" class=\"macro\" data-popup=\"popup-3\" aria-haspopup=\"dialog\">")) ||
                page.contains(QStringLiteral("<button type=\"button\" class=\"macro\" data-href=\"DEF.html\">")));
    EXPECT_TRUE(p.logHas(QStringLiteral("The macro ExecFile does not run in a web page")));
    EXPECT_TRUE(p.logHas(QStringLiteral("The macro RegisterRoutine that WinHelp runs when the file opens")));
    EXPECT_FALSE(p.logHas(QStringLiteral("BrowseButtons")));

    // A pop-up as long as a whole topic is not carried in every page that
    // opens it: its hotspot opens its page, and the log says so.
    HelpDocument longPopup = samples::sampleHelpDocument();
    HelpTopicContent text;
    text.scrolling = {samples::paragraphOf({samples::textRun(QString(2000, QLatin1Char('x')))})};
    longPopup.setContent(2, text);
    const HtmlSite site = publishHtml(longPopup);
    const QString opener = fileText(site, QStringLiteral("CONTENTS.html"));
    EXPECT_TRUE(opener.contains(QStringLiteral("<a class=\"popup\" href=\"DEF.html\">term</a>")));
    EXPECT_FALSE(opener.contains(QStringLiteral("id=\"popup-3\"")));
    EXPECT_EQ(site.report.logLines.filter(QStringLiteral("Pop-ups too long to carry")).size(), 1);

    // The secondary window's page: its caption as the heading, its colour.
    const QString secondary = fileText(p.site, QStringLiteral("_._X.sec.html"));
    EXPECT_TRUE(secondary.contains(QStringLiteral("<h1 class=\"caption\">Glossary &lt;b&gt;</h1>")));
    EXPECT_TRUE(secondary.contains(QStringLiteral("class=\"secondary\" style=\"background-color:#204060\"")));
    EXPECT_TRUE(secondary.contains(QStringLiteral("Second text.<br>New line.")));
}

TEST(HtmlPublisher, RegionsFontsAndParagraphsKeepTheirLook)
{
    const Published& p = published();
    const QString page = fileText(p.site, QStringLiteral("CONTENTS.html"));
    EXPECT_TRUE(page.contains(QStringLiteral("<div class=\"nonscroll r\" style=\"background-color:#c0c0ff\">\n<p><span class=\"f1\">Welcome</span></p>")));
    EXPECT_TRUE(page.contains(QStringLiteral("class=\"main\" style=\"background-color:#fffff0\"")));
    // Paragraph formats are classes of the site's style sheet.
    EXPECT_TRUE(page.contains(QStringLiteral("<p class=\"p0\">Name\tValue &amp; &lt;more&gt;</p>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<img src=\"pictures/bm0.png\" width=\"2\" height=\"2\" alt=\"bm0\" class=\"left\">")));
    const QString css = fileText(p.site, QStringLiteral("site.css"));
    EXPECT_TRUE(css.contains(QStringLiteral("\n.p0{margin-left:18pt;text-align:center;tab-size:72pt;}\n")));
    EXPECT_TRUE(css.contains(QStringLiteral(".f1{font-family:\"Arial\",sans-serif;font-size:14pt;font-weight:bold;font-style:normal;color:#800000;}")));
}

TEST(HtmlPublisher, KeywordsMapAndContents)
{
    const Published& p = published();
    const QString index = fileText(p.site, QStringLiteral("keywords.html"));
    EXPECT_TRUE(index.contains(QStringLiteral("<li>alpha<ul>\n<li><a href=\"CONTENTS.html\">Contents</a></li>\n"
                                              "<li><a href=\"_._x.html\">&lt;script&gt;alert(1)&lt;/script&gt;</a></li>\n</ul></li>")));
    EXPECT_TRUE(index.contains(QStringLiteral("<li><a href=\"_._x.html\">beta &lt;i&gt;</a></li>")));
    EXPECT_LT(index.indexOf(QLatin1String("alpha")), index.indexOf(QLatin1String("beta")));

    const QJsonObject map = QJsonDocument::fromJson(p.site.file(QStringLiteral("map.json"))->bytes).object();
    EXPECT_EQ(map.size(), 2);
    EXPECT_EQ(map.value(QStringLiteral("100")).toString(), QStringLiteral("_._x.html"));
    EXPECT_EQ(map.value(QStringLiteral("300")).toString(), QStringLiteral("_._x.html"));
    EXPECT_TRUE(p.logHas(QStringLiteral("[MAP] number 200 names no topic")));

    const QString contents = fileText(p.site, QStringLiteral("index.html"));
    EXPECT_TRUE(contents.contains(QStringLiteral("<li><details><summary>Getting started</summary><ul>\n"
                                                 "<li><a href=\"CONTENTS.html\" target=\"topic\">Introduction</a></li>\n"
                                                 "<li><span class=\"broken\" title=\"No topic has the Topic ID NOPE\">Gone</span></li>\n"
                                                 "</ul></details></li>")));
    EXPECT_TRUE(contents.contains(QStringLiteral("<iframe id=\"topic\" name=\"topic\" title=\"Topic\" src=\"CONTENTS.html\">")));
    EXPECT_TRUE(p.logHas(QStringLiteral("Contents: the entry \"Gone\" opens NOPE")));

    // Without a contents file the contents are the topic list.
    HelpDocument bare = samples::sampleHelpDocument();
    bare.contents = HelpContents();
    const QString list = fileText(publishHtml(bare), QStringLiteral("index.html"));
    EXPECT_TRUE(list.contains(QStringLiteral("<li><a href=\"DEF.html\" target=\"topic\">Definition</a></li>")));
    EXPECT_EQ(list.count(QLatin1String("<li><a href=")), 4);
}

TEST(HtmlPublisher, SearchIndexFindsWordsOfTitlesAndText)
{
    const Published& p = published();
    QString script = fileText(p.site, QStringLiteral("search-index.js"));
    ASSERT_TRUE(script.startsWith(QLatin1String("window.TS_SITE=")));
    script = script.mid(15);
    script.chop(2); // ";\n"
    const QJsonObject index = QJsonDocument::fromJson(script.toUtf8()).object();
    const QStringList words = index.value(QStringLiteral("w")).toVariant().toStringList();
    const QStringList lists = index.value(QStringLiteral("i")).toVariant().toStringList();
    auto topicsOf = [&](const QString& word) {
        QList<int> out;
        int n = 0;
        const qsizetype at = words.indexOf(word);
        if (at < 0)
            return out;
        for (const QString& delta : lists.at(at).split(QLatin1Char(' ')))
            out << (n += delta.toInt(nullptr, 36));
        return out;
    };
    EXPECT_EQ(topicsOf(QStringLiteral("quokka")), QList<int>{2});
    EXPECT_EQ(topicsOf(QStringLiteral("zebra")), QList<int>{1});
    EXPECT_EQ(topicsOf(QStringLiteral("second")), QList<int>{3}); // title and text
    EXPECT_EQ(topicsOf(QStringLiteral("welcome")), QList<int>{0}); // the non-scrolling region
    EXPECT_TRUE(std::is_sorted(words.begin(), words.end()));
    EXPECT_EQ(index.value(QStringLiteral("p")).toArray().at(1).toString(), QStringLiteral("_._x.html"));
    EXPECT_EQ(index.value(QStringLiteral("k")).toObject().value(QStringLiteral("A")).toArray().at(0).toArray().at(1).toArray().size(), 2);
}

TEST(HtmlPublisher, PicturesArePngWithTransparencyKept)
{
    const QByteArray png = published().site.file(QStringLiteral("pictures/bm0.png"))->bytes;
    ASSERT_TRUE(png.startsWith(QByteArray("\x89PNG\r\n\x1A\n", 8)));
    EXPECT_EQ(png.mid(12, 4), QByteArray("IHDR"));
    EXPECT_EQ(int(png.at(16 + 8 + 1)), 6); // RGBA
    EXPECT_EQ(crc32(png.mid(12, 17)), qFromBigEndian<quint32>(png.constData() + 29));
    // The rows behind the Sub filter are the pixels.
    const qsizetype idat = png.indexOf("IDAT");
    const quint32 length = qFromBigEndian<quint32>(png.constData() + idat - 4);
    QByteArray zlib = png.mid(idat + 4, length);
    zlib.prepend(QByteArray("\0\0\0\x12", 4));
    const QByteArray rows = qUncompress(zlib);
    ASSERT_EQ(rows.size(), 18);
    EXPECT_EQ(rows.at(0), 1);
    EXPECT_EQ(rows.mid(1, 4), QByteArray("\xFF\x00\x00\xFF", 4));
    EXPECT_EQ(rows.mid(5, 4), QByteArray("\x01\xFF\x00\x00", 4)); // green minus red, byte-wise
    HelpImage opaque{1, 1, QByteArray("\x10\x20\x30\xFF", 4)};
    EXPECT_EQ(int(encodePng(opaque).at(25)), 2); // RGB without alpha
    EXPECT_TRUE(encodePng(HelpImage{}).isEmpty());
}

TEST(HtmlPublisher, MacrosAreParsedForTheirNavigation)
{
    const QList<MacroCall> calls = parseMacroCalls(QStringLiteral("CS(); JI(`a.hlp>sec', `ID'):KL(\"x;y\", 1) ; Contents"));
    ASSERT_EQ(calls.size(), 4);
    EXPECT_EQ(calls[1].name, QStringLiteral("JI"));
    EXPECT_EQ(calls[1].arguments, (QStringList{QStringLiteral("a.hlp>sec"), QStringLiteral("ID")}));
    EXPECT_EQ(calls[2].arguments, (QStringList{QStringLiteral("x;y"), QStringLiteral("1")}));
    EXPECT_EQ(calls[3].name, QStringLiteral("Contents"));
    EXPECT_EQ(parseMacroCalls(QStringLiteral("EF(`run `nested'', \"\")")).value(0).arguments.value(0), QStringLiteral("run `nested'"));
    EXPECT_EQ(macroKind(QStringLiteral("alink")), MacroKind::ALink);
    EXPECT_EQ(macroKind(QStringLiteral("PI")), MacroKind::PopupId);
    EXPECT_EQ(macroKind(QStringLiteral("RegisterRoutine")), MacroKind::Other);
}

TEST(HtmlPublisher, LogEndsWithCountsInWords)
{
    const PublishReport& r = published().site.report;
    EXPECT_EQ(r.pages, 5); // four topics and the glossary entry in the secondary window
    EXPECT_EQ(r.pictures, 1);
    EXPECT_EQ(r.keywords, 2);
    EXPECT_EQ(r.logLines.last(), r.summary());
    EXPECT_EQ(r.summary(), QStringLiteral("5 pages, 1 picture, 2 keywords; %1 warnings").arg(r.warnings));
    PublishReport one;
    one.pages = one.keywords = one.warnings = 1;
    EXPECT_EQ(one.summary(), QStringLiteral("1 page, 0 pictures, 1 keyword; 1 warning"));
}

TEST(HtmlPublisher, HostileProjectPublishesSafely)
{
    QTemporaryDir dir;
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Evil.tsp"));
    const QList<QByteArray> ids = {"../x", "index", "..\\..\\etc", "<b>ID</b>"};
    for (int i = 0; i < ids.size(); ++i) {
        TopicRecord t;
        t.TopicID.setBytes(ids[i]);
        t.Title.setBytes("<script>alert(" + QByteArray::number(i) + ")</script>");
        t.Keywords.setBytes("<img src=x onerror=alert(1)>");
        t.BodyRtf = RtfWriter::write(RichDocument::fromPlainText(
            QStringLiteral("<iframe src=\"http://example.com\"></iframe> & \u00e9t\u00e9 <!-- -->"), CharFormat()));
        project.addTopic(t);
    }
    const HelpDocument doc = documentFromProject(project);
    ASSERT_EQ(doc.topics.size(), size_t(4));
    EXPECT_EQ(doc.topics[0].topicId, QStringLiteral("../x"));
    const HtmlSite site = publishHtml(doc);
    const QString out = dir.filePath(QStringLiteral("site"));
    writeSite(site, out);
    for (QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String(".tsp")))
            continue;
        EXPECT_TRUE(path.startsWith(out + QLatin1Char('/'))) << path.toStdString();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_FALSE(bytes.contains("<script>alert")) << path.toStdString();
        EXPECT_FALSE(bytes.contains("<iframe src=\"http")) << path.toStdString();
        EXPECT_FALSE(bytes.contains("<img src=x")) << path.toStdString();
        EXPECT_FALSE(bytes.contains("<!-- -->")) << path.toStdString();
    }
    for (const SiteFile& f : site.files)
        for (const QString& href : hrefs(QString::fromUtf8(f.bytes)))
            EXPECT_FALSE(href.contains(QLatin1Char('/')) || href.contains(QLatin1Char('\\')) || href.contains(QLatin1Char(':')))
                << href.toStdString();
    const QString first = fileText(site, site.firstPage);
    EXPECT_TRUE(first.contains(QStringLiteral("&lt;iframe src=&quot;http://example.com&quot;&gt;&lt;/iframe&gt; &amp; \u00e9t\u00e9")));
    EXPECT_TRUE(first.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/topic-index.html")));
}

TEST(HtmlPublisher, PublishCommandWritesTheSiteOrSaysWhy)
{
    QTemporaryDir dir;
    Project project;
    TopicRecord t;
    t.TopicID.setBytes("START");
    t.Title.setBytes("Start here");
    t.BodyRtf = RtfWriter::write(RichDocument::fromPlainText(QStringLiteral("Hello"), CharFormat()));
    project.addTopic(t);
    const QString source = dir.filePath(QStringLiteral("Guide.TSP")); // any case
    ProjectFile::save(project, source);
    auto run = [](const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(TOPICSMITH_BINARY), args);
        p.waitForFinished(60000);
        return std::tuple{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    };
    const QString site = dir.filePath(QStringLiteral("site"));
    auto [code, out, err] = run({QStringLiteral("--publish"), QStringLiteral("HTML"), source, site});
    EXPECT_EQ(code, 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("\n1 page, 0 pictures, 0 keywords; 0 warnings\n"))) << out.toStdString();
    EXPECT_TRUE(QFile::exists(site + QStringLiteral("/START.html")));
    EXPECT_TRUE(QFile::exists(site + QStringLiteral("/index.html")));

    std::tie(code, out, err) = run({QStringLiteral("--publish"), QStringLiteral("pdf"), source, site});
    EXPECT_EQ(code, 2);
    std::tie(code, out, err) = run({QStringLiteral("--publish"), QStringLiteral("html"), dir.filePath(QStringLiteral("none.hlp")), site});
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(err.contains(QStringLiteral("none.hlp': it does not exist"))) << err.toStdString();
    std::tie(code, out, err) = run({QStringLiteral("--publish"), QStringLiteral("html"), dir.filePath(QStringLiteral("notes.txt")), site});
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(err.contains(QStringLiteral("name a project (.tsp) or a help file (.hlp)"))) << err.toStdString();
    std::tie(code, out, err) = run({QStringLiteral("--publish"), QStringLiteral("html"), source, source});
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(err.contains(QStringLiteral("it is a file, not a folder"))) << err.toStdString();
}

TEST(HtmlPublisher, PublishingAgainReplacesOnlyWhatChanged)
{
    QTemporaryDir dir;
    HtmlSite site = publishHtml(samples::sampleHelpDocument());
    writeSite(site, dir.path());
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-1);
    for (const QString& name : {QStringLiteral("DEF.html"), QStringLiteral("CONTENTS.html")}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    for (SiteFile& f : site.files)
        if (f.path == QLatin1String("CONTENTS.html"))
            f.bytes.replace("Welcome", "Hello there");
    writeSite(site, dir.path());
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("DEF.html"))).lastModified().toUTC(), old.toUTC());
    QFile changed(dir.filePath(QStringLiteral("CONTENTS.html")));
    ASSERT_TRUE(changed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(changed.readAll().contains("Hello there"));
    EXPECT_NE(QFileInfo(changed).lastModified().toUTC(), old.toUTC());
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.html.*")}, QDir::Files).size(), 0); // no temporary left
}

TEST(HtmlPublisher, PicturesOfAProjectAreDescribedByTheirFileNames)
{
    QTemporaryDir dir;
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Pics.tsp"));
    QFile bmp(dir.filePath(QStringLiteral("tools&\"parts\".bmp")));
    ASSERT_TRUE(bmp.open(QIODevice::WriteOnly));
    bmp.write(ts::testing::bmpFile(4, 3, 24));
    bmp.close();
    TopicRecord t;
    t.TopicID.setBytes("PARTS");
    t.Title.setBytes("Parts");
    t.BodyRtf = RtfWriter::write(
        RichDocument::fromPlainText(QStringLiteral("The parts: {bmc tools&\"parts\".bmp}"), CharFormat()));
    project.addTopic(t);
    const HtmlSite site = publishHtml(documentFromProject(project));
    const SiteFile* page = site.file(QStringLiteral("PARTS.html"));
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->bytes.contains("<img src=\"pictures/bm0.png\" width=\"4\" height=\"3\" alt=\"tools&amp;&quot;parts&quot;.bmp\">"))
        << page->bytes.toStdString();
}

// A rename not yet saved has rewritten the contents in memory only: the
// published contents open the topic by its new Topic ID, as the compile
// checks them.
TEST(HtmlPublisher, ProjectContentsWaitingForTheSaveArePublished)
{
    QTemporaryDir dir;
    Project project;
    project.ProjectPath = dir.filePath(QStringLiteral("Guide.tsp"));
    TopicRecord t;
    t.TopicID.setBytes("SETUP");
    t.Title.setBytes("Setting up");
    t.BodyRtf = RtfWriter::write(RichDocument::fromPlainText(QStringLiteral("Steps"), CharFormat()));
    project.addTopic(t);
    QFile tsc(dir.filePath(QStringLiteral("Guide.tsc")));
    ASSERT_TRUE(tsc.open(QIODevice::WriteOnly));
    tsc.write("Book\r\n\tSetup=SETUP\r\n");
    tsc.close();

    project.topic(0).TopicID.setBytes("INSTALL");
    updateLinks(project, topicIdRename(QStringLiteral("SETUP"), QStringLiteral("INSTALL")));
    ASSERT_TRUE(project.PendingContents);

    const HelpDocument doc = documentFromProject(project);
    ASSERT_EQ(doc.contents.entries.size(), size_t(2));
    EXPECT_EQ(doc.contents.entries[1].topicId, QStringLiteral("INSTALL"));
    EXPECT_EQ(doc.contents.entries[1].topic, 0);
    const QString index = fileText(publishHtml(doc), QStringLiteral("index.html"));
    EXPECT_TRUE(index.contains(QStringLiteral("INSTALL.html"))) << index.toStdString();
    EXPECT_FALSE(index.contains(QStringLiteral("SETUP"))) << index.toStdString();
}
