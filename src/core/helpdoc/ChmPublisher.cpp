#include "ChmPublisher.h"

#include "HtmlSiteText.h"
#include "model/IoError.h"

#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace ts::publish {

namespace {

// Escaped for HTML, and every character past ASCII as a reference.
QByteArray asciiHtml(const QString& text)
{
    QByteArray out;
    const QString escaped = htmlEscaped(text);
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        char32_t c = escaped.at(i).unicode();
        if (escaped.at(i).isHighSurrogate() && i + 1 < escaped.size()) {
            c = QChar::surrogateToUcs4(escaped.at(i), escaped.at(i + 1));
            ++i;
        }
        if (c < 0x80 && c >= 0x20)
            out += char(c);
        else if (c >= 0x80)
            out += "&#" + QByteArray::number(uint(c)) + ';';
    }
    return out;
}

QByteArray asciiLine(const QString& text)
{
    QByteArray out;
    for (const QChar c : text)
        out += c.unicode() >= 0x20 && c.unicode() < 0x80 ? char(c.unicode()) : '_';
    return out;
}

// A name for a [MAP] number: the Topic ID when it is a C identifier, as
// programs' header files name them, else IDH_<number>.
QString mapName(const HtmlSite::MapLine& line, QSet<QString>& used)
{
    bool identifier = !line.topicId.isEmpty() && !line.topicId.at(0).isDigit();
    for (const QChar c : line.topicId)
        identifier = identifier && c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    QString name = identifier ? line.topicId : QStringLiteral("IDH_%1").arg(line.number);
    if (used.contains(name.toLower()))
        name = QStringLiteral("IDH_%1").arg(line.number);
    for (int n = 2; used.contains(name.toLower()); ++n)
        name = QStringLiteral("IDH_%1_%2").arg(line.number).arg(n);
    used.insert(name.toLower());
    return name;
}

QByteArray sitemapObject(const QString& name, const QString& local)
{
    QByteArray out = "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + asciiHtml(name) + "\">";
    if (!local.isEmpty())
        out += "<param name=\"Local\" value=\"" + asciiHtml(local) + "\">";
    return out + "</OBJECT>\r\n";
}

// chmcmd takes one [ALIAS] name per page: a second name for the same page
// makes it refuse the project. A [MAP] number that leads to a page another
// number already leads to gets a page of its own that forwards there.
void addForwardingPages(HtmlSite& site)
{
    QSet<QString> aliased;
    for (HtmlSite::MapLine& line : site.map) {
        if (!aliased.contains(line.page.toLower())) {
            aliased.insert(line.page.toLower());
            continue;
        }
        const QString target = htmlEscaped(line.page);
        QString page = QStringLiteral("map-%1.html").arg(line.number);
        for (int n = 2; aliased.contains(page.toLower()); ++n)
            page = QStringLiteral("map-%1-%2.html").arg(line.number).arg(n);
        aliased.insert(page.toLower());
        site.files.push_back({page, QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                                                   "<meta http-equiv=\"refresh\" content=\"0; url=%1\">\n<title>%1</title>\n</head>\n"
                                                   "<body><p><a href=\"%1\">%1</a></p></body>\n</html>\n")
                                        .arg(target)
                                        .toUtf8()});
        line.page = page;
    }
}

const QByteArray SitemapStart = "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD></HEAD>\r\n<BODY>\r\n";

} // namespace

QByteArray chmProjectFile(const HtmlSite& site, const QString& baseName)
{
    const QByteArray base = asciiLine(baseName);
    QByteArray out = "[OPTIONS]\r\nCompatibility=1.1 or later\r\n";
    out += "Compiled file=" + base + ".chm\r\n";
    out += "Contents file=" + base + ".hhc\r\n";
    out += "Index file=" + base + ".hhk\r\n";
    out += "Default topic=" + asciiLine(site.firstPage) + "\r\n";
    out += "Display compile progress=No\r\nFull-text search=Yes\r\nLanguage=0x409 English (United States)\r\n";
    out += "Title=" + asciiLine(site.title) + "\r\n\r\n[FILES]\r\n";
    for (const SiteFile& file : site.files)
        if (file.path != QLatin1String("map.json"))
            out += asciiLine(file.path) + "\r\n";
    if (!site.map.empty()) {
        QSet<QString> used;
        QByteArray alias = "\r\n[ALIAS]\r\n", map = "\r\n[MAP]\r\n";
        for (const HtmlSite::MapLine& line : site.map) {
            const QByteArray name = asciiLine(mapName(line, used));
            alias += name + '=' + asciiLine(line.page) + "\r\n";
            map += "#define " + name + ' ' + QByteArray::number(line.number) + "\r\n";
        }
        out += alias + map;
    }
    return out;
}

QByteArray chmContentsFile(const HtmlSite& site)
{
    QByteArray out = SitemapStart + "<OBJECT type=\"text/site properties\"><param name=\"ImageType\" value=\"Folder\"></OBJECT>\r\n<UL>\r\n";
    int depth = 1;
    for (const HtmlSite::ContentsLine& line : site.contents) {
        const int level = std::max(1, std::min(line.level, depth + 1));
        for (; depth < level; ++depth)
            out += "<UL>\r\n";
        for (; depth > level; --depth)
            out += "</UL>\r\n";
        out += sitemapObject(line.text, line.page);
    }
    for (; depth > 0; --depth)
        out += "</UL>\r\n";
    return out + "</BODY>\r\n</HTML>\r\n";
}

QByteArray chmIndexFile(const HtmlSite& site)
{
    QByteArray out = SitemapStart + "<UL>\r\n";
    for (const HtmlSite::KeywordLine& line : site.keywords) {
        if (line.pages.isEmpty())
            continue;
        out += "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + asciiHtml(line.keyword) + "\">";
        for (qsizetype i = 0; i < line.pages.size(); ++i) {
            if (line.pages.size() > 1)
                out += "<param name=\"Name\" value=\"" + asciiHtml(line.titles.value(i)) + "\">";
            out += "<param name=\"Local\" value=\"" + asciiHtml(line.pages.at(i)) + "\">";
        }
        out += "</OBJECT>\r\n";
    }
    return out + "</UL>\r\n</BODY>\r\n</HTML>\r\n";
}

QString chmCompilerMissingText()
{
    return QStringLiteral("Cannot make a CHM file: the CHM compiler chmcmd is not installed "
                          "(it comes in the Debian package fp-utils: apt install fp-utils)");
}

void writeChm(const HtmlSite& site, const QString& chmPath, QStringList* compilerOutput)
{
    const QString compiler = QStandardPaths::findExecutable(QStringLiteral("chmcmd"));
    if (compiler.isEmpty())
        throw IoError(chmCompilerMissingText());
    QTemporaryDir work;
    if (!work.isValid())
        throw IoError(QStringLiteral("Cannot make a CHM file: no temporary folder (%1)").arg(work.errorString()));
    const QString base = QStringLiteral("help");
    HtmlSite chm = site;
    addForwardingPages(chm);
    chm.files.push_back({base + QLatin1String(".hhp"), chmProjectFile(chm, base)});
    chm.files.push_back({base + QLatin1String(".hhc"), chmContentsFile(chm)});
    chm.files.push_back({base + QLatin1String(".hhk"), chmIndexFile(chm)});
    writeSite(chm, work.path());

    QProcess process;
    process.setWorkingDirectory(work.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(compiler, {QStringLiteral("--no-html-scan"), base + QLatin1String(".hhp")});
    const bool finished = process.waitForFinished(10 * 60 * 1000);
    const QString output = QString::fromLocal8Bit(process.readAll());
    if (compilerOutput)
        *compilerOutput = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString made = work.filePath(base + QLatin1String(".chm"));
    if (!finished || process.exitStatus() != QProcess::NormalExit || !QFileInfo(made).isFile())
        throw IoError(QStringLiteral("chmcmd could not make '%1': %2").arg(chmPath, output.trimmed().right(400)));

    QFile compiled(made);
    QSaveFile out(chmPath);
    if (!compiled.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("Cannot read the CHM chmcmd made: %1").arg(compiled.errorString()));
    const QByteArray bytes = compiled.readAll();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush() || !out.commit())
        throw IoError(QStringLiteral("Cannot write '%1': %2").arg(chmPath, out.errorString()));
}

} // namespace ts::publish
