#include "TopicSamples.h"
#include "helpsource/TopicFileWriter.h"
#include "model/Project.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ts;
using namespace ts::testing;

namespace {

CharFormat arial() { return CharFormat(); }

CharFormat courier()
{
    CharFormat f;
    f.Face = QStringLiteral("Courier New");
    f.Size = 24;
    f.Colour = 0xFF0000;
    return f;
}

Paragraph para(std::vector<ts::Run> runs)
{
    Paragraph p;
    p.Runs = std::move(runs);
    return p;
}

Paragraph para(const char* text, const CharFormat& format = arial())
{
    return para({ts::Run{QString::fromLatin1(text), format}});
}

// The topic of the worked example: a one-paragraph header and a body whose
// first paragraph holds a jump to INTRO2.
TopicRecord introTopic()
{
    return topic("INTRO", "Introduction", "start", rtf({para("Introduction")}),
                 rtf({para({ts::Run{QStringLiteral("First body paragraph with "), arial()},
                            ts::Run{QStringLiteral("a link-->INTRO2"), with(arial(), &CharFormat::Strike)},
                            ts::Run{QStringLiteral(" and more"), arial()}}),
                      para("Second body paragraph")}));
}

QList<QByteArray> lines(const QByteArray& file)
{
    QList<QByteArray> out = file.split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    for (QByteArray& l : out)
        if (l.endsWith('\r'))
            l.chop(1);
    return out;
}

// --- An independent model of the file: the combined document with its
// marker paragraphs, serialized, and the line pass over it, rule by rule.

void convert(QByteArray& l)
{
    qsizetype at;
    while ((at = l.indexOf("-->")) >= 0)
        l.replace(at, 3, "\\v ");
}

void keepn(QByteArray& l)
{
    if (l.size() <= 10)
        l.append("\\keepn");
    else
        l.insert(10, "\\keepn");
}

QByteArray footnotes(const Project& p, int i)
{
    const TopicRecord& t = p.topic(i);
    QByteArray out = "\\pard\\plain \\super #{\\*\\footnote #\\pard\\plain " + t.TopicID.bytes() + "}\r\n";
    if (!t.Title.isEmpty())
        out += "\\super ${\\*\\footnote $\\pard\\plain " + t.Title.bytes() + "}\r\n";
    if (!t.Keywords.isEmpty()) {
        out += "\\super K{\\*\\footnote K\\pard\\plain " + t.Keywords.bytes() + "}\r\n";
        out += "\\super A{\\*\\footnote A\\pard\\plain " + t.Keywords.bytes() + "}\r\n";
    }
    out += "\\super >{\\*\\footnote >\\pard\\plain " + p.windowOf(t).Name.bytes() + "}\r\n";
    return out;
}

QByteArray linePass(const Project& p)
{
    RichDocument combined;
    if (p.TopicCount() > 0)
        combined.Paragraphs.clear();
    auto add = [&](const QByteArray& block) {
        const RichDocument d = block.isEmpty() ? RichDocument() : RtfReader::read(block);
        combined.Paragraphs.insert(combined.Paragraphs.end(), d.Paragraphs.begin(), d.Paragraphs.end());
    };
    for (int i = 0; i < p.TopicCount(); ++i) {
        combined.Paragraphs.push_back(para("***CUVAJ!***"));
        add(p.topic(i).HeaderRtf);
        combined.Paragraphs.push_back(para("****KRAJ****"));
        add(p.topic(i).BodyRtf);
        combined.Paragraphs.push_back(para("***STRANA***"));
    }
    const QList<QByteArray> in = lines(RtfWriter::write(combined));
    QByteArray out;
    bool header = false, emptyHeader = false;
    int counter = 0;
    for (qsizetype i = 0; i < in.size(); ++i) {
        QByteArray l = in[i];
        if (l.isEmpty())
            continue;
        convert(l);
        if (header)
            keepn(l);
        if (!l.contains("***")) {
            out += l + "\r\n";
            continue;
        }
        if (l.contains("***CUVAJ!***")) {
            header = true;
            out += footnotes(p, counter);
            l = in[++i];
            convert(l);
            keepn(l);
            l.remove(0, 5);
            emptyHeader = l.indexOf(' ') == l.size() - 1;
            if (emptyHeader)
                l.clear();
            ++counter;
        }
        if (l.contains("***STRANA***"))
            l = "\\page";
        if (l.contains("****KRAJ****")) {
            l = in[++i];
            if (emptyHeader)
                l.remove(0, 5);
            convert(l);
            header = false;
        }
        out += l + "\r\n";
    }
    return out;
}

Project projectOf(std::vector<TopicRecord> topics)
{
    Project p;
    p.ProjectPath = QStringLiteral("/help/Demo.tsp");
    WindowRecord pop;
    pop.Name.setBytes("pop");
    p.addWindow(pop);
    for (auto& t : topics)
        p.addTopic(t);
    return p;
}

} // namespace

TEST(TopicFile, WorkedExampleLineByLine)
{
    const Project p = projectOf({introTopic()});
    const QByteArray file = TopicFileWriter::generate(p);
    const QList<QByteArray> l = lines(file);
    const qsizetype openingLines = lines(RtfWriter::write(RichDocument())).size() - 2; // less a paragraph and "}"
    ASSERT_EQ(l.size(), openingLines + 10);
    EXPECT_TRUE(l[0].startsWith("{\\rtf1"));
    EXPECT_EQ(l.mid(openingLines),
              (QList<QByteArray>{
                  "\\pard\\plain \\super #{\\*\\footnote #\\pard\\plain INTRO}",
                  "\\super ${\\*\\footnote $\\pard\\plain Introduction}",
                  "\\super K{\\*\\footnote K\\pard\\plain start}",
                  "\\super A{\\*\\footnote A\\pard\\plain start}",
                  "\\super >{\\*\\footnote >\\pard\\plain main}",
                  "\\pard\\keepn\\plain\\f0\\fs16 Introduction",
                  "\\par \\pard\\plain\\f0\\fs16 First body paragraph with \\plain\\f0\\fs16\\strike a link\\v "
                  "INTRO2\\plain\\f0\\fs16  and more",
                  "\\par \\pard\\plain\\f0\\fs16 Second body paragraph",
                  "\\page",
                  "}",
              }));
    // CR LF after every line, nothing else.
    EXPECT_EQ(file.count("\r\n"), file.count('\n'));
    EXPECT_EQ(file.count('\r'), file.count('\n'));
    EXPECT_TRUE(file.endsWith("}\r\n"));
}

TEST(TopicFile, SameBytesAsTheLinePassOverTheCombinedDocument)
{
    const CharFormat bold = with(arial(), &CharFormat::Bold);
    Paragraph centred = para("Centred heading", bold);
    centred.Align = Alignment::Center;
    centred.LeftIndent = 400;
    const Project p = projectOf({
        introTopic(),
        // Three header paragraphs, a link first thing in header and body.
        topic("SECOND", "", "", rtf({para("See-->INTRO"), centred, para("third", courier())}),
              rtf({para({ts::Run{QStringLiteral("pop-->DEF>pop"), with(arial(), &CharFormat::Underline)},
                         ts::Run{QStringLiteral(" tail --> more-->X"), courier()}})}),
              1),
        // Empty header, empty body.
        topic("EMPTY", "Nothing", "a;b", rtf({para("")}), QByteArray()),
        // Empty blocks, never stored.
        topic("BLANK", "", "k", QByteArray(), QByteArray()),
        topic("LAST", "Last one", "", rtf({para("H", courier())}), rtf({para("Body"), para(""), para("end")})),
    });
    EXPECT_EQ(TopicFileWriter::generate(p), linePass(p));
    // And for a project without topics: the serialized empty document.
    const Project none = projectOf({});
    EXPECT_EQ(TopicFileWriter::generate(none), linePass(none));
    EXPECT_EQ(TopicFileWriter::generate(none), RtfWriter::write(RichDocument()));
    EXPECT_FALSE(TopicFileWriter::generate(none).contains("\\page"));
}

TEST(TopicFile, EmptyHeaderIsJudgedOnTheWholeHeader)
{
    const Project p = projectOf({
        // Several empty paragraphs: still one empty line, no \keepn.
        topic("ALLEMPTY", "", "", rtf({para(""), para(""), para("")}), rtf({para("b1"), para("b2")})),
        // Text only in the second paragraph: both kept, the first joined.
        topic("LATETEXT", "", "", rtf({para(""), para("Header text")}), rtf({para("b1")})),
    });
    const QList<QByteArray> l = lines(TopicFileWriter::generate(p));
    qsizetype at = l.indexOf("\\super >{\\*\\footnote >\\pard\\plain main}");
    ASSERT_GE(at, 0);
    EXPECT_EQ(l[at + 1], QByteArray());
    EXPECT_EQ(l[at + 2], QByteArray("\\pard\\plain\\f0\\fs16 b1"));
    EXPECT_EQ(l[at + 3], QByteArray("\\par \\pard\\plain\\f0\\fs16 b2"));
    EXPECT_EQ(l[at + 4], QByteArray("\\page"));

    at = l.indexOf("\\super >{\\*\\footnote >\\pard\\plain main}", at + 1);
    ASSERT_GE(at, 0);
    EXPECT_EQ(l[at + 1], QByteArray("\\pard\\keepn\\plain\\f0\\fs16 "));
    EXPECT_EQ(l[at + 2], QByteArray("\\par \\pard\\keepn\\plain\\f0\\fs16 Header text"));
    EXPECT_EQ(l[at + 3], QByteArray("\\par \\pard\\plain\\f0\\fs16 b1"));
    EXPECT_EQ(l.count(QByteArray()), 1);
}

TEST(TopicFile, MarkerTextsTypedByUsersAreOrdinaryText)
{
    const Project p = projectOf({
        topic("A", "", "", rtf({para("***CUVAJ!***")}), rtf({para("x ***STRANA*** y"), para("****KRAJ****")})),
        topic("B", "", "", rtf({para("")}), rtf({para("***STRANA***")})),
    });
    const QByteArray file = TopicFileWriter::generate(p);
    EXPECT_EQ(file.count("\\page"), 2);
    EXPECT_EQ(file.count("\\footnote #"), 2);
    EXPECT_TRUE(file.contains("\\pard\\keepn\\plain\\f0\\fs16 ***CUVAJ!***\r\n"));
    EXPECT_TRUE(file.contains("\\par \\pard\\plain\\f0\\fs16 x ***STRANA*** y\r\n"));
    EXPECT_TRUE(file.contains("\\par \\pard\\plain\\f0\\fs16 ****KRAJ****\r\n"));
    EXPECT_TRUE(file.contains("\r\n\r\n\\pard\\plain\\f0\\fs16 ***STRANA***\r\n\\page\r\n"));
}

TEST(TopicFile, FootnoteTextsAreEscapedAndKeptWhole)
{
    TopicRecord t = topic("ID", "Using {braces} \\ caf\xe9", "", rtf({para("h")}), rtf({para("b")}));
    const QByteArray longKeywords = QByteArray(246, 'k') + "-->x";
    t.Keywords.setBytes(longKeywords + "12345");
    ASSERT_EQ(t.Keywords.length(), 255);
    const QByteArray file = TopicFileWriter::generate(projectOf({t}));
    EXPECT_TRUE(file.contains("\\super ${\\*\\footnote $\\pard\\plain Using \\{braces\\} \\\\ caf\\'e9}\r\n"));
    // Footnotes are not topic text: an arrow in them stays as it is.
    EXPECT_TRUE(file.contains(QByteArray("\\super K{\\*\\footnote K\\pard\\plain " + longKeywords + "12345}\r\n")));
    EXPECT_TRUE(file.contains(QByteArray("\\super A{\\*\\footnote A\\pard\\plain " + longKeywords + "12345}\r\n")));
    EXPECT_EQ(TopicFileWriter::escapeFootnoteText("Plain ASCII; text=1 >x"), QByteArray("Plain ASCII; text=1 >x"));
    EXPECT_EQ(TopicFileWriter::escapeFootnoteText("\x80{}\\\xff"), QByteArray("\\'80\\{\\}\\\\\\'ff"));
}

TEST(TopicFile, ClassicRichEditTextKeepsItsHotspots)
{
    // As a Windows rich-edit control of the time saved it.
    const QByteArray body(
        "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
        "{\\f2\\fswiss\\fprq2 Arial;}}\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
        "\\deflang1033\\pard\\plain\\f2\\fs20 Click \\plain\\f2\\fs20\\strike here-->INTRO\\plain\\f2\\fs20  or "
        "\\plain\\f2\\fs20\\ul there-->GLOSS\\plain\\f2\\fs20 . \\plain\\f1\\fs20\\strike \\'b7-->SYM\r\n"
        "\\par \\plain\\f2\\fs20\\cf1\\b Green bold\\plain\\f2\\fs20 \r\n\\par }\r\n");
    const QByteArray file = TopicFileWriter::generate(projectOf({topic("T", "", "", QByteArray(), body)}));
    EXPECT_FALSE(file.contains("-->"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(\\strike(\\[a-z]+\d*)* here\\v INTRO\\plain)"))
                    .match(QString::fromLatin1(file))
                    .hasMatch())
        << file.constData();
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(\\ul(\\[a-z]+\d*)* there\\v GLOSS\\plain)"))
                    .match(QString::fromLatin1(file))
                    .hasMatch())
        << file.constData();
    // Link markup in a symbol font is written as text like any other.
    EXPECT_TRUE(file.contains("\\'b7\\v SYM")) << file.constData();
    EXPECT_TRUE(file.contains(" Green bold"));
}

TEST(TopicFile, ProgressAdvancesByNinetyDivTopicCount)
{
    std::vector<TopicRecord> seven;
    for (int i = 0; i < 7; ++i)
        seven.push_back(topic("T", "", "", QByteArray(), QByteArray()));
    std::vector<int> steps;
    TopicFileWriter::generate(projectOf(seven), [&](int s) { steps.push_back(s); });
    EXPECT_EQ(steps, std::vector<int>(7, 12));
}

// unrtf's output for `bytes` in `mode` ("--text", "--html").
static QString runUnrtf(const QString& unrtf, const QByteArray& bytes, const char* mode)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.rtf"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QProcess proc;
    proc.start(unrtf, {QString::fromLatin1(mode), path});
    EXPECT_TRUE(proc.waitForFinished(30000));
    EXPECT_EQ(proc.exitCode(), 0) << proc.readAllStandardError().constData();
    return QString::fromLatin1(proc.readAllStandardOutput());
}

// An RTF reader that is not ours: Debian's unrtf.
TEST(TopicFile, UnrtfReadsEveryTopic)
{
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty())
        GTEST_SKIP() << "unrtf is not installed";

    std::vector<TopicRecord> topics;
    topics.push_back(introTopic());
    topics.push_back(topic("BRACES", "Using {braces}", "open;close", rtf({para("Brace header")}),
                           rtf({para("Text with {curly} and \\ back"),
                                para({ts::Run{QStringLiteral("Popup word-->GLOSSARY"), with(arial(), &CharFormat::Underline)}})}),
                           1));
    topics.push_back(topic("NOHEAD", "", "", rtf({para("")}), rtf({para("Headless body words")})));
    topics.push_back(topic("MARKERS", "Markers", "", rtf({para("***STRANA***")}), rtf({para("after ***CUVAJ!*** marker")})));
    const Project p = projectOf(topics);

    const QByteArray file = TopicFileWriter::generate(p);
    auto run = [&](const QByteArray& bytes, const char* mode) { return runUnrtf(unrtf, bytes, mode); };

    const QString text = run(file, "--text");
    for (const char* words : {"Introduction", "First body paragraph with a linkINTRO2 and more", "Second body paragraph",
                              "Brace header", "Text with {curly} and \\ back", "Popup wordGLOSSARY",
                              "Headless body words", "***STRANA***", "after ***CUVAJ!*** marker"})
        EXPECT_TRUE(text.contains(QLatin1String(words))) << words << "\n" << text.toStdString();

    const QString html = run(file, "--html");
    EXPECT_EQ(html.count(QStringLiteral("<hr>")), 4) << html.toStdString(); // one page per topic
    EXPECT_EQ(html.count(QStringLiteral("<sup>#</sup>")), 4);
    EXPECT_TRUE(html.contains(QStringLiteral("<s>a linkINTRO2</s>")));
    // The popup is the body's last run; its underline ends with the page.
    EXPECT_TRUE(html.contains(QStringLiteral("<u>Popup wordGLOSSARY"))) << html.toStdString();

    // unrtf skips every "\*" destination; without the star it shows the
    // footnote texts, in order, so the footnote groups must be whole.
    QByteArray starless = file;
    starless.replace("{\\*\\footnote ", "{\\footnote ");
    const QString notes = run(starless, "--text");
    for (const char* footnotes : {"##INTRO$$IntroductionKKstartAAstart>>main", "##BRACES$$Using {braces}KKopen;closeAAopen;close>>pop",
                                  "##NOHEAD>>main", "##MARKERS$$Markers>>main"})
        EXPECT_TRUE(notes.contains(QLatin1String(footnotes))) << footnotes << "\n" << notes.toStdString();
}

// Whatever the text before a page ends in, the page's footnote marks are
// plain superscript: no strike-out or underline (checked by unrtf) and no
// hidden text (checked by our reader, which keeps \v).
TEST(TopicFile, FootnoteMarksNeverTakeTheFormatOfTheTextBefore)
{
    const CharFormat hidden = with(arial(), &CharFormat::Hidden);
    const Project p = projectOf({
        topic("STRUCK", "Struck", "k", QByteArray(),
              rtf({para({ts::Run{QStringLiteral("Go-->UNDER"), with(arial(), &CharFormat::Strike)}})})),
        topic("UNDER", "Under", "k", QByteArray(),
              rtf({para({ts::Run{QStringLiteral("Pop-->HIDDEN"), with(arial(), &CharFormat::Underline)}})})),
        topic("HIDDEN", "Hidden", "k", QByteArray(), rtf({para({ts::Run{QStringLiteral("secret"), hidden}})})),
        topic("LAST", "Last", "k", QByteArray(), rtf({para("end")})),
    });
    const QByteArray file = TopicFileWriter::generate(p);

    const RichDocument read = RtfReader::read(file);
    QString marks;
    for (const Paragraph& paragraph : read.Paragraphs)
        for (const ts::Run& r : paragraph.Runs)
            if (r.Text.contains(QLatin1String("#$KA>")))
                marks += r.Format.Hidden || r.Format.Strike || r.Format.Underline ? QLatin1Char('x') : QLatin1Char('.');
    EXPECT_EQ(marks, QStringLiteral("....")) << file.constData();

    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty())
        GTEST_SKIP() << "unrtf is not installed";
    const QString html = runUnrtf(unrtf, file, "--html");
    // Walk the tags: no superscript opens while strike-out or underline is open.
    int open = 0;
    int sups = 0;
    static const QRegularExpression tag(QStringLiteral("<(/?)(s|u|sup)>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2) == QLatin1String("sup")) {
            sups += m.captured(1).isEmpty() ? 1 : 0;
            EXPECT_EQ(open, 0) << "a mark inside strike-out or underline at " << m.capturedStart() << "\n"
                               << html.toStdString();
        } else {
            open += m.captured(1).isEmpty() ? 1 : -1;
        }
    }
    EXPECT_GE(sups, 4 * 5);
}
