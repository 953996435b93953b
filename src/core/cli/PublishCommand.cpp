#include "PublishCommand.h"

#include "helpdoc/ChmPublisher.h"
#include "helpdoc/HtmlPublisher.h"
#include "helpdoc/PublishSource.h"
#include "model/IoError.h"

#include <QFileInfo>

namespace ts {

int runPublishCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString format = args.value(1).toLower();
    if (args.size() != 4 || (format != QLatin1String("html") && format != QLatin1String("chm"))) {
        err << QStringLiteral("topicsmith: --publish needs a format (html or chm), a project or help file, "
                              "and the output (a folder for html, a .chm file for chm)\n");
        err.flush();
        return 2;
    }
    const QString source = args.at(2), target = args.at(3);
    try {
        QStringList compileLog;
        const HelpDocument doc = publish::loadPublishSource(source, &compileLog);
        for (const QString& line : compileLog)
            if (!line.isEmpty())
                out << QStringLiteral("Compile: ") << line << '\n';
        const publish::HtmlSite site = publish::publishHtml(doc);
        if (format == QLatin1String("html"))
            publish::writeSite(site, target);
        else
            publish::writeChm(site, target);
        for (const QString& line : site.report.logLines)
            out << line << '\n';
        out << QStringLiteral("Published %1 to %2").arg(QFileInfo(source).fileName(), QFileInfo(target).absoluteFilePath())
            << Qt::endl;
        return 0;
    } catch (const IoError& e) {
        out.flush();
        err << e.message() << Qt::endl;
        return 1;
    }
}

} // namespace ts
