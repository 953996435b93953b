#pragma once
// Shared by the help reader tests: the sample help files beside the
// repository (skipped, saying so, when they are not there), and small ways
// to look at what the reader made of a file.

#include "helpfile/HelpDocument.h"
#include "helpfile/HelpFileReader.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Failures show text as text.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace ts::testing {

inline QString samplesFolder() { return QStringLiteral(TOPICSMITH_HLP_SAMPLES); }

#define REQUIRE_SAMPLES()                                                                                              \
    if (!QFile::exists(QDir(samplesFolder()).filePath(QStringLiteral("SOURCES.txt"))))                               \
    GTEST_SKIP() << "the sample help files are not at " << samplesFolder().toStdString()

// One line of the samples' list: the file, the compiler and what it holds.
struct Sample {
    QString file, compiler, features;
    int number(const QString& pattern) const
    {
        const auto m = QRegularExpression(pattern).match(features);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    QString path() const { return QDir(samplesFolder()).filePath(file); }
};

inline std::vector<Sample> samples()
{
    std::vector<Sample> out;
    QFile list(QDir(samplesFolder()).filePath(QStringLiteral("SOURCES.txt")));
    if (!list.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : list.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (fields.size() >= 8 && !fields[0].startsWith(QLatin1Char('#')))
            out.push_back({fields[0], fields[5], fields[7]});
    }
    return out;
}

inline const Sample& sample(const char* file)
{
    static const std::vector<Sample> all = samples();
    for (const Sample& s : all)
        if (s.file == QLatin1String(file))
            return s;
    static const Sample none;
    return none;
}

inline HelpDocument readSample(const char* file) { return helpfile::readHelpFile(sample(file).path()); }

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Everything of a topic's content, visited once.
template <typename F> void forEachRun(const HelpTopicContent& c, F f)
{
    for (const auto* region : {&c.nonScrolling, &c.scrolling})
        for (const HelpParagraph& p : *region)
            for (const HelpRun& r : p.runs)
                f(p, r);
}

inline QString problemsOf(const HelpDocument& doc)
{
    QStringList lines;
    for (const HelpProblem& p : doc.allProblems())
        lines << p.text();
    return lines.join(QLatin1Char('\n'));
}

} // namespace ts::testing
