// Help file macros: parsing the stored text into calls, and what the viewer
// may do with each call; the Find tab's word search.

#include "helpfile/HelpDocument.h"
#include "helpdoc/HelpMacro.h"
#include "helpdoc/HelpTextSearch.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {

QStringList argsOf(const QString& text, int call = 0)
{
    const HelpMacroList list = parseHelpMacros(text);
    EXPECT_TRUE(list.error.isEmpty()) << list.error.toStdString();
    return int(list.calls.size()) > call ? list.calls[size_t(call)].args : QStringList();
}

HelpMacroDecision::Kind kindOf(const QString& text)
{
    HelpMacroPolicy policy;
    return policy.decide(parseHelpMacros(text).calls.at(0)).kind;
}

} // namespace

TEST(HelpMacro, ParsesCallsArgumentsAndQuotes)
{
    const HelpMacroList list =
        parseHelpMacros(QStringLiteral("JI(`a.hlp>sec', `intro') ; BrowseButtons():CBB(\"btn_up\", \"JI(`', `x')\")"));
    ASSERT_TRUE(list.error.isEmpty()) << list.error.toStdString();
    ASSERT_EQ(list.calls.size(), 3u);
    EXPECT_EQ(list.calls[0].name, QStringLiteral("JI"));
    EXPECT_EQ(list.calls[0].macro, QStringLiteral("JumpId"));
    EXPECT_EQ(list.calls[0].args, (QStringList{QStringLiteral("a.hlp>sec"), QStringLiteral("intro")}));
    EXPECT_EQ(list.calls[0].text, QStringLiteral("JI(`a.hlp>sec', `intro')"));
    EXPECT_EQ(list.calls[1].macro, QStringLiteral("BrowseButtons"));
    EXPECT_TRUE(list.calls[1].args.isEmpty());
    EXPECT_EQ(list.calls[2].macro, QStringLiteral("ChangeButtonBinding"));
    EXPECT_EQ(list.calls[2].arg(1), QStringLiteral("JI(`', `x')"));

    // Back-quoted strings nest; double-quoted ones take \" and \\.
    EXPECT_EQ(argsOf(QStringLiteral("CB(`b', `&Go', `JI(`', `x')')")).at(2), QStringLiteral("JI(`', `x')"));
    EXPECT_EQ(argsOf(QStringLiteral("ExecFile(\"say \\\"hi\\\" \\\\ now\")")).at(0),
              QStringLiteral("say \"hi\" \\ now"));
    // Bare arguments: numbers, and nested calls with their own commas.
    const QStringList bare = argsOf(QStringLiteral("IfThen(IsMark(`a', 1), JumpContext(`', 0x1F))"));
    EXPECT_EQ(bare, (QStringList{QStringLiteral("IsMark(`a', 1)"), QStringLiteral("JumpContext(`', 0x1F)")}));
    // A name alone is a call without arguments; names ignore case.
    EXPECT_EQ(parseHelpMacros(QStringLiteral("back")).calls.at(0).macro, QStringLiteral("Back"));
    EXPECT_EQ(parseHelpMacros(QStringLiteral("spc(255, 255, 0)")).calls.at(0).macro, QStringLiteral("SetPopupColor"));

    const HelpMacroCall numbers = parseHelpMacros(QStringLiteral("SPC(0x00FFEECC, -3, x)")).calls.at(0);
    EXPECT_EQ(numbers.number(0), std::optional<qint64>(0xFFEECC));
    EXPECT_EQ(numbers.number(1), std::optional<qint64>(-3));
    EXPECT_FALSE(numbers.number(2).has_value());
    EXPECT_FALSE(numbers.number(5).has_value());
}

TEST(HelpMacro, FaultsKeepTheCallsBeforeThemAndSayWhere)
{
    struct Case {
        const char* text;
        size_t callsKept;
        const char* errorPart;
    } cases[] = {
        {"Back();JI(`a', `b'", 1, "')' missing"},
        {"JI(`a, `b')", 0, "not closed"},
        {"Contents() Back()", 1, "';' or ':' expected"},
        {"(x)", 0, "a macro name expected at position 1"},
        {"JI(\"a\" \"b\")", 0, "',' or ')' expected"},
        {"IfThen(IsMark(`a', 1)", 0, "missing"},
    };
    for (const Case& c : cases) {
        const HelpMacroList list = parseHelpMacros(QString::fromLatin1(c.text));
        EXPECT_EQ(list.calls.size(), c.callsKept) << c.text;
        EXPECT_TRUE(list.error.contains(QString::fromLatin1(c.errorPart))) << c.text << ": " << list.error.toStdString();
    }
    EXPECT_TRUE(parseHelpMacros(QString()).calls.empty());
    EXPECT_TRUE(parseHelpMacros(QStringLiteral(" ; ")).error.isEmpty());
}

TEST(HelpMacro, PolicyRunsNavigationOpensAddressesAndRefusesPrograms)
{
    using Kind = HelpMacroDecision::Kind;
    for (const char* text : {"ALink(`a;b', 0)", "KL(`x')", "JI(`', `x')", "PI(`', `x')", "JC(0, 12)",
                             "JumpContents()", "JK(`', `k')", "Back()", "Contents()", "Finder()", "History()",
                             "BrowseButtons()", "Prev()", "Next()", "CW(`sec')", "CS()", "CB(`b', `B', `Back()')",
                             "CBB(`b', `Back()')", "DB(`b')", "EB(`b')", "SPC(1,2,3)", "About()", "Exit()"})
        EXPECT_EQ(kindOf(QString::fromLatin1(text)), Kind::Run) << text;
    for (const char* text : {"AddAccelerator(0x41, 0, `Back()')", "InsertItem(`m', `i', `&x', `Back()', 0)",
                             "IfThen(IsMark(`a'), `Back()')", "Annotate()", "NoSuchMacro(1)"})
        EXPECT_EQ(kindOf(QString::fromLatin1(text)), Kind::NotSupported) << text;

    HelpMacroPolicy policy;
    auto decide = [&](const char* text) { return policy.decide(parseHelpMacros(QString::fromLatin1(text)).calls.at(0)); };
    EXPECT_EQ(decide("ExecFile(`http://example.com/a b', `', 1)").detail, QStringLiteral("http://example.com/a b"));
    EXPECT_EQ(decide("EF(`mailto:me@example.com')").kind, Kind::OpenAddress);
    EXPECT_EQ(decide("ShellExecute(`www.example.com')").detail, QStringLiteral("http://www.example.com"));
    EXPECT_EQ(decide("EF(`notepad.exe', `readme.txt')").detail, QStringLiteral("the program notepad.exe"));
    EXPECT_EQ(decide("ExecProgram(`calc.exe', 0)").kind, Kind::RunsProgram);
    EXPECT_EQ(decide("EF(`file:///bin/sh')").kind, Kind::RunsProgram);
    EXPECT_EQ(decide("RR(`ftui32.dll', `ftSearch', `U=U')").detail, QStringLiteral("ftSearch from the library ftui32.dll"));
    // A routine registered earlier is refused as the library's, not unknown.
    const HelpMacroDecision routine = decide("FTSEARCH(qchPath)");
    EXPECT_EQ(routine.kind, Kind::RunsProgram);
    EXPECT_EQ(routine.detail, QStringLiteral("FTSEARCH from the library ftui32.dll"));
    EXPECT_EQ(HelpMacroPolicy::refusalMessage({routine.detail}),
              QStringLiteral("This help file asks to run FTSEARCH from the library ftui32.dll; "
                             "Topicsmith does not run programs from help files."));
}

TEST(HelpTextSearch, TypedWordsMatchTheWordsTheyBeginInEveryTopic)
{
    HelpDocument doc;
    for (const char* title : {"Printing", "Setup", "Printer setup"}) {
        HelpTopic topic;
        topic.title = QString::fromLatin1(title);
        doc.topics.push_back(topic);
    }
    auto paragraph = [](const char* text) {
        HelpParagraph p;
        HelpRun run;
        run.text = QString::fromUtf8(text);
        p.runs.push_back(run);
        return p;
    };
    HelpTopicContent first, second, third;
    first.scrolling = {paragraph("Choose Print on the File menu.")};
    second.scrolling = {paragraph("Install the program. Café\tprinter-ready")};
    third.scrolling = {paragraph("Pick a PRINTER first.")};
    doc.setContent(0, first);
    doc.setContent(1, second);
    doc.setContent(2, third);
    doc.finishBuilding();

    const HelpTextSearch search(doc);
    EXPECT_EQ(search.matchingWords(QStringLiteral("print")),
              (QStringList{QStringLiteral("Print"), QStringLiteral("printer"), QStringLiteral("Printing")}));
    EXPECT_EQ(search.topicsFound(QStringLiteral("print")), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(search.topicsFound(QStringLiteral("PRINT setup")), (std::vector<int>{1, 2}));
    EXPECT_EQ(search.topicsFound(QStringLiteral("café")), (std::vector<int>{1}));
    EXPECT_TRUE(search.topicsFound(QStringLiteral("print nothing")).empty());
    EXPECT_TRUE(search.topicsFound(QString()).empty());
    // Choosing words narrows the typed word to them.
    EXPECT_EQ(search.topicsFound(QStringLiteral("print"), {QStringLiteral("printing")}), (std::vector<int>{0}));
    EXPECT_EQ(search.topicsFound(QStringLiteral("print setup"), {QStringLiteral("Print")}), std::vector<int>{});
}
