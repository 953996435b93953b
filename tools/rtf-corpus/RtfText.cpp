// Prints the text the program's RTF reader finds in each file named on the
// command line, as UTF-8: a paragraph a line, tabs as tabs, line breaks as
// line ends, hidden text too (LibreOffice and unrtf both print it).
// Between files it prints a line "\f" + the file name, so that one run can
// serve a whole folder. Used by measure.py beside it.

#include "richtext/RtfReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList files = app.arguments().mid(1);
    int failures = 0;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
            ++failures;
            continue;
        }
        const ts::RichDocument doc = ts::RtfReader::read(file.readAll());
        QString text;
        for (const ts::Paragraph& p : doc.Paragraphs) {
            for (const ts::Run& r : p.Runs)
                text += r.Text;
            text += QLatin1Char('\n');
        }
        text.replace(QChar(0x2028), QLatin1Char('\n'));
        const QByteArray out = "\f" + path.toUtf8() + '\n' + text.toUtf8();
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    }
    return failures == 0 ? 0 : 1;
}
