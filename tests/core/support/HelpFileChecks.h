#pragma once
// What the help file tests share: building topics and windows, a fixture
// that compiles its project and reads the file back with the tests' own
// reader (support/HelpFileReader), and the check that compares everything
// the file holds with the project.

#include "HelpFileReader.h"
#include "TopicSamples.h"

#include "helpfile/HelpCompiler.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace ts::testing {

namespace hr = ts::hlpread;

// ------------------------------------------------------- building projects

CharFormat fmt(const char* face = "Arial", int halfPoints = 20);
Paragraph para(std::vector<ts::Run> runs, Alignment align = Alignment::Left, int left = 0, int first = 0, int right = 0);
ts::Run run(const QString& text, const CharFormat& f = fmt());
ts::Run run(const char* text, const CharFormat& f = fmt());
WindowRecord window(const char* name, const char* caption);

class HelpFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Project project;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
    }

    void put(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    hr::HelpFile compile(HelpCompileReport& report)
    {
        const QByteArray bytes = compileHelpFileBytes(project, report);
        try {
            return hr::readHelpFile(bytes);
        } catch (const hr::HelpFileError& e) {
            ADD_FAILURE() << "the compiled file does not read back: " << e.what();
            return {};
        }
    }
};

// ------------------------------------------------ comparing with the project

// Pictures get numbers in order of first use, one per file and transparency.
struct Pictures {
    std::map<std::pair<QByteArray, bool>, int> numbers;
    std::vector<std::pair<QByteArray, bool>> inOrder;
    int number(const QByteArray& path, bool transparent)
    {
        const auto key = std::make_pair(QFileInfo(QString::fromLatin1(path)).fileName().toUpper().toLatin1(), transparent);
        auto [it, added] = numbers.insert({key, int(inOrder.size())});
        if (added)
            inOrder.push_back(key);
        return it->second;
    }
};

// Everything the file must hold about the project, checked through the reader.
void checkAgainstProject(const Project& project, const hr::HelpFile& h, Pictures& pictures);

} // namespace ts::testing
