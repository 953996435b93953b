// The built-in help compiler, checked by reading its output back with the
// tests' own reader (support/HelpFileReader) and comparing it with the project.

#include "HelpFileReader.h"
#include "TopicSamples.h"

#include "helpfile/HelpCompiler.h"
#include "links/LinkMarkup.h"
#include "model/Project.h"
#include "model/Windows1252.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace ts;
using namespace ts::testing;
namespace hr = ts::hlpread;

namespace {

// ------------------------------------------------------- building projects

CharFormat fmt(const char* face = "Arial", int halfPoints = 20)
{
    CharFormat f;
    f.Face = QString::fromLatin1(face);
    f.Size = halfPoints;
    return f;
}

Paragraph para(std::vector<ts::Run> runs, Alignment align = Alignment::Left, int left = 0, int first = 0, int right = 0)
{
    Paragraph p;
    p.Runs = std::move(runs);
    p.Align = align;
    p.LeftIndent = left;
    p.FirstIndent = first;
    p.RightIndent = right;
    return p;
}

ts::Run run(const QString& text, const CharFormat& f = fmt()) { return ts::Run{text, f}; }
ts::Run run(const char* text, const CharFormat& f = fmt()) { return run(QString::fromLatin1(text), f); }

WindowRecord window(const char* name, const char* caption)
{
    WindowRecord w = WindowRecord::defaultWindow();
    w.Name.setBytes(name);
    w.Caption.setBytes(caption);
    return w;
}

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

// ---------------------------------------- what the file should hold, derived

struct Key {
    QByteArray face;
    int halfPoints = 0;
    int attributes = 0;
    quint32 colour = 0;
    friend bool operator==(const Key&, const Key&) = default;
};

std::ostream& operator<<(std::ostream& os, const Key& k)
{
    return os << k.face.constData() << '/' << k.halfPoints << "/a" << k.attributes << "/c" << std::hex << k.colour << std::dec;
}

using Styled = std::vector<std::pair<QByteArray, Key>>;

void addStyled(Styled& s, const QByteArray& text, const Key& k)
{
    if (text.isEmpty())
        return;
    if (!s.empty() && s.back().second == k)
        s.back().first += text;
    else
        s.push_back({text, k});
}

Key keyOf(const CharFormat& f, bool hotspot)
{
    Key k{cp1252::encode(f.Face), f.Size, 0, f.Colour.value_or(0)};
    k.attributes = (f.Bold ? 1 : 0) | (f.Italic ? 2 : 0);
    if (!hotspot)
        k.attributes |= (f.Underline ? 4 : 0) | (f.Strike ? 8 : 0);
    return k;
}

struct ExpectedHotspot {
    hr::Hotspot::Kind kind = hr::Hotspot::Jump;
    QByteArray text, id, window, file, macro;
};

struct ExpectedParagraph {
    QByteArray text; // as hr::Paragraph::plainText renders it
    Styled styled;
    std::vector<ExpectedHotspot> hotspots;
    Alignment align = Alignment::Left;
    int left = 0, first = 0, right = 0;
};

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

// Text outside hotspots: pictures and buttons become what the reader shows
// for them, everything else is text in the run's format.
void plainRunText(ExpectedParagraph& e, const QByteArray& text, const Key& k, Pictures& pictures)
{
    static const QRegularExpression markup(QStringLiteral("\\{(bmct?|button) ([^}]*)\\}"));
    const QString s = QString::fromLatin1(text);
    qsizetype at = 0;
    auto literal = [&](const QString& part) {
        const QByteArray b = part.toLatin1();
        e.text += b;
        QByteArray shown = b;
        shown.replace('\t', "").replace('\n', "");
        addStyled(e.styled, shown, k);
    };
    for (auto m = markup.globalMatch(s); m.hasNext();) {
        const auto match = m.next();
        literal(s.mid(at, match.capturedStart() - at));
        if (match.captured(1) == QStringLiteral("button"))
            e.text += "{button " + match.captured(2).toLatin1() + '}';
        else
            e.text += "{bm " + QByteArray::number(pictures.number(match.captured(2).toLatin1(),
                                                                  match.captured(1) == QStringLiteral("bmct"))) + '}';
        at = match.capturedEnd();
    }
    literal(s.mid(at));
}

ExpectedParagraph expected(const Paragraph& p, Pictures& pictures)
{
    ExpectedParagraph e;
    e.align = p.Align;
    e.left = p.LeftIndent;
    e.first = p.FirstIndent;
    e.right = p.RightIndent;
    for (const ts::Run& r : p.Runs) {
        QByteArray text = cp1252::encode(r.Text);
        for (qsizetype i = 0; i < r.Text.size(); ++i) // line breaks
            if (r.Text[i] == QChar(0x2028))
                text[i] = '\n';
        const qsizetype arrow = text.indexOf("-->");
        if ((r.Format.Strike || r.Format.Underline) && arrow >= 0) {
            ExpectedHotspot h;
            h.text = text.left(arrow);
            QByteArray target = text.mid(arrow + 3).trimmed();
            if (target.startsWith('!')) {
                h.kind = hr::Hotspot::Macro;
                h.macro = target.mid(1);
            } else {
                h.kind = r.Format.Strike ? hr::Hotspot::Jump : hr::Hotspot::Popup;
                const qsizetype atFile = target.indexOf('@');
                if (atFile >= 0) {
                    h.file = target.mid(atFile + 1);
                    target = target.left(atFile);
                }
                const qsizetype atWindow = target.indexOf('>');
                if (atWindow >= 0) {
                    h.window = target.mid(atWindow + 1);
                    target = target.left(atWindow);
                }
                h.id = target;
            }
            e.text += h.text;
            addStyled(e.styled, h.text, keyOf(r.Format, true));
            e.hotspots.push_back(h);
        } else {
            plainRunText(e, text, keyOf(r.Format, false), pictures);
        }
    }
    return e;
}

std::vector<ExpectedParagraph> expectedBlock(const QByteArray& rtfBlock, bool header, Pictures& pictures)
{
    std::vector<ExpectedParagraph> out;
    if (rtfBlock.isEmpty())
        return out;
    const RichDocument d = RtfReader::read(rtfBlock);
    if (header && std::all_of(d.Paragraphs.begin(), d.Paragraphs.end(), [](const Paragraph& p) { return p.isEmpty(); }))
        return out;
    for (const Paragraph& p : d.Paragraphs)
        out.push_back(expected(p, pictures));
    return out;
}

Styled styledOf(const hr::HelpFile& h, const hr::Paragraph& p)
{
    Styled s;
    for (const hr::Piece& piece : p.pieces) {
        if (piece.kind != hr::Piece::Text)
            continue;
        const hr::FontDescriptor& f = h.font(piece.font);
        addStyled(s, piece.text, Key{f.face, f.halfPoints, f.attributes, f.colour});
    }
    return s;
}

// Window names in links are found whatever their case.
int windowNumber(const Project& p, const QByteArray& name)
{
    for (int k = 0; k < p.WindowCount(); ++k)
        if (p.window(k).Name.bytes().compare(name, Qt::CaseInsensitive) == 0)
            return k;
    return -1;
}

// The viewer wants string arguments of macros quoted; a button whose macro's
// arguments the compiler quoted is the button the text asks for.
QByteArray unquoteButtons(QByteArray text)
{
    for (qsizetype at = text.indexOf("{button "); at >= 0; at = text.indexOf("{button ", at + 1))
        for (qsizetype i = at; i < text.size() && text[i] != '}';)
            text[i] == '"' ? void(text.remove(i, 1)) : void(++i);
    return text;
}

void checkParagraphs(const Project& project, const hr::HelpFile& h, const QByteArray& topicId,
                     const QList<hr::Paragraph>& got, const std::vector<ExpectedParagraph>& want, bool nonScrolling)
{
    // An empty body may be stored as no paragraph or as one empty paragraph.
    const bool noText = want.empty() || (want.size() == 1 && want[0].text.isEmpty());
    if (!nonScrolling && noText && (got.isEmpty() || (got.size() == 1 && got[0].plainText().isEmpty())))
        return;
    ASSERT_EQ(size_t(got.size()), want.size()) << topicId.constData() << (nonScrolling ? " header" : " body");
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(QByteArray(topicId + (nonScrolling ? " header " : " body ") + QByteArray::number(qsizetype(i))).constData());
        const hr::Paragraph& g = got[qsizetype(i)];
        const ExpectedParagraph& w = want[i];
        EXPECT_EQ(g.nonScrolling, nonScrolling);
        EXPECT_EQ(unquoteButtons(g.plainText()), w.text);
        if (!w.text.isEmpty()) {
            EXPECT_EQ(styledOf(h, g), w.styled);
        }
        const hr::Paragraph::Align align = w.align == Alignment::Center ? hr::Paragraph::Center
                                           : w.align == Alignment::Right ? hr::Paragraph::Right
                                                                         : hr::Paragraph::Left;
        EXPECT_EQ(g.align(), align);
        EXPECT_EQ(g.leftIndent, w.left / 10);
        EXPECT_EQ(g.firstIndent, w.first / 10);
        EXPECT_EQ(g.rightIndent, w.right / 10);
        ASSERT_EQ(size_t(g.hotspots.size()), w.hotspots.size());
        for (size_t k = 0; k < w.hotspots.size(); ++k) {
            const hr::Hotspot& gh = g.hotspots[qsizetype(k)];
            const ExpectedHotspot& wh = w.hotspots[k];
            EXPECT_EQ(gh.kind, wh.kind) << wh.text.constData();
            EXPECT_EQ(gh.text, wh.text);
            EXPECT_FALSE(gh.plain);
            if (wh.kind == hr::Hotspot::Macro) {
                // The viewer wants string arguments quoted; quoting them is no change.
                EXPECT_EQ(QByteArray(gh.macro).replace('"', "").trimmed(), wh.macro);
                continue;
            }
            EXPECT_EQ(gh.hash, hr::contextHash(wh.id)) << wh.id.constData();
            EXPECT_EQ(gh.file, wh.file);
            const bool windowed = !wh.window.isEmpty() && wh.kind == hr::Hotspot::Jump;
            if (!wh.file.isEmpty()) {
                EXPECT_EQ(gh.linkKind, windowed ? 6 : 4);
                EXPECT_EQ(gh.windowName, windowed ? wh.window : QByteArray());
            } else if (windowed) {
                EXPECT_EQ(gh.linkKind, 1);
                EXPECT_EQ(gh.windowNumber, windowNumber(project, wh.window));
            } else {
                EXPECT_EQ(gh.linkKind, -1) << "short form expected for " << wh.text.constData();
            }
        }
    }
}

QList<QByteArray> keywordsOf(const TopicRecord& t)
{
    QList<QByteArray> out;
    for (const QByteArray& k : t.Keywords.bytes().split(';'))
        if (!k.trimmed().isEmpty())
            out.append(k.trimmed());
    return out;
}

// Everything the file must hold about the project, checked through the reader.
void checkAgainstProject(const Project& project, const hr::HelpFile& h, Pictures& pictures)
{
    ASSERT_EQ(h.topics.size(), project.TopicCount());
    // Internal files: the fixed set, each without slack, and nothing unused.
    std::set<QByteArray> names;
    for (const hr::InternalFile& f : h.files) {
        names.insert(f.name);
        EXPECT_EQ(f.reserved, f.used + 9) << f.name.constData();
    }
    EXPECT_EQ(h.unusedBytes, 0);
    for (const char* n : {"|CONTEXT", "|CTXOMAP", "|FONT", "|SYSTEM", "|TOPIC", "|TTLBTREE"})
        EXPECT_TRUE(names.count(n)) << n;
    // Tree parameters.
    EXPECT_EQ(h.trees[QByteArray()].flags, 0x0402);
    EXPECT_EQ(h.trees[QByteArray()].pageSize, 1024);
    for (const auto& [name, info] : h.trees.asKeyValueRange())
        if (!name.isEmpty()) {
            EXPECT_EQ(info.flags, 0x0002) << name.constData();
        }
    EXPECT_EQ(h.trees["|CONTEXT"].pageSize, 2048);
    EXPECT_EQ(h.trees["|TTLBTREE"].pageSize, 2048);

    // The title is the main window's caption; without one, the project's
    // name (Wine's viewer fails on a file without a title).
    const QByteArray caption = project.window(0).Caption.bytes();
    EXPECT_EQ(h.system.title.value_or(QByteArray()),
              caption.isEmpty() ? QFileInfo(project.ProjectPath).completeBaseName().toLatin1() : caption);
    EXPECT_EQ(h.system.minor, 33);
    EXPECT_EQ(h.system.major, 1);
    ASSERT_TRUE(h.system.contents.has_value());
    if (h.compressed) {
        EXPECT_EQ(h.crossingRecords, 0);
    }

    std::map<QByteArray, std::pair<QByteArray, QList<std::uint32_t>>> keywords; // folded -> spelling, topics
    std::vector<std::pair<std::int32_t, std::uint32_t>> map;
    for (int i = 0; i < project.TopicCount(); ++i) {
        const TopicRecord& t = project.topic(i);
        const hr::Topic& got = h.topics[i];
        SCOPED_TRACE(t.TopicID.bytes().constData());
        EXPECT_EQ(got.title, t.Title.bytes());
        EXPECT_EQ(h.context.value(hr::contextHash(t.TopicID.bytes()), 0xFFFFFFFF), got.topicOffset);
        EXPECT_EQ(h.titles.value(got.topicOffset, "<none>"), t.Title.bytes());
        EXPECT_EQ(h.viola.value(got.topicOffset, -1), t.WindowIndex);
        if (t.HasCallId)
            map.push_back({t.CallId, got.topicOffset});
        for (const QByteArray& k : keywordsOf(t)) {
            auto& entry = keywords[k.toLower()];
            if (entry.first.isEmpty())
                entry.first = k;
            if (!entry.second.contains(got.topicOffset))
                entry.second.append(got.topicOffset);
        }
        checkParagraphs(project, h, t.TopicID.bytes(), got.header, expectedBlock(t.HeaderRtf, true, pictures), true);
        checkParagraphs(project, h, t.TopicID.bytes(), got.body, expectedBlock(t.BodyRtf, false, pictures), false);
    }
    EXPECT_EQ(h.context.size(), project.TopicCount());
    EXPECT_EQ(h.titles.size(), project.TopicCount() + 1);
    EXPECT_EQ(h.titles.value(h.endOffset, "<none>"), QByteArray());
    EXPECT_EQ(h.viola.size(), project.TopicCount());

    auto sortedMap = h.map;
    std::sort(sortedMap.begin(), sortedMap.end());
    std::sort(map.begin(), map.end());
    EXPECT_EQ(std::vector(sortedMap.begin(), sortedMap.end()), map);

    for (const auto* stored : {&h.kKeywords, &h.aKeywords}) {
        ASSERT_EQ(size_t(stored->size()), keywords.size());
        qsizetype i = 0;
        for (const auto& [folded, entry] : keywords) {
            EXPECT_EQ((*stored)[i].first.toLower(), folded);
            auto offsets = entry.second;
            std::sort(offsets.begin(), offsets.end());
            EXPECT_EQ((*stored)[i].second, offsets) << folded.constData();
            ++i;
        }
    }

    ASSERT_EQ(h.system.windows.size(), project.WindowCount());
    for (int k = 0; k < project.WindowCount(); ++k) {
        const WindowRecord& w = project.window(k);
        const hr::WindowRecord& g = h.system.windows[k];
        SCOPED_TRACE(w.Name.bytes().constData());
        const int flags = 0x0003 | (w.Caption.isEmpty() ? 0 : 0x0004) | (w.DefaultPosition ? 0 : 0x0078) | 0x0300 |
                          (w.OnTop ? 0x0400 : 0) | (w.AutoSizeHeight ? 0x0800 : 0);
        EXPECT_EQ(g.flags, flags);
        EXPECT_EQ(g.name, w.Name.bytes());
        EXPECT_EQ(g.caption, w.Caption.bytes());
        if (!w.DefaultPosition) {
            EXPECT_EQ((std::array<int, 4>{g.x, g.y, g.width, g.height}), (std::array<int, 4>{w.Left, w.Top, w.Width, w.Height}));
        }
        int state = 4;
        const int weights[ButtonCount] = {0x200, 0x400, 0x800, 0x2000, 0x4000, 0x8000};
        for (int b = 0; b < ButtonCount; ++b)
            state += w.Buttons[size_t(b)] ? weights[b] : 0;
        EXPECT_EQ(g.state, state);
        EXPECT_EQ(g.scrollColour, w.TopicColour);
        EXPECT_EQ(g.nonScrollColour, w.NonScrollColour);
    }

    // Every picture the text places is stored under its number.
    std::set<int> placed;
    for (const hr::Topic& t : h.topics)
        for (const auto* block : {&t.header, &t.body})
            for (const hr::Paragraph& p : *block)
                for (const hr::Picture& pic : p.pictures)
                    placed.insert(pic.number);
    for (int n : placed)
        EXPECT_TRUE(h.bitmaps.contains(n)) << "|bm" << n;
    EXPECT_EQ(size_t(h.bitmaps.size()), placed.size());
}

} // namespace

TEST(HelpFileReader, HashesAndBadInput)
{
    // The documented context hashes.
    EXPECT_EQ(hr::contextHash("MORE"), 0x00241459);
    EXPECT_EQ(hr::contextHash("INTRO"), 0x053D9A5C);
    EXPECT_EQ(hr::contextHash("intro"), 0x053D9A5C);
    EXPECT_EQ(hr::contextHash("SECOND"), 0x370E6D04);
    EXPECT_EQ(hr::contextHash("CONTENTS"), 0x25F4558A);
    EXPECT_EQ(hr::contextHash(""), 1);

    // A small compiled file, damaged byte by byte and cut short: the reader
    // reads it or says what is wrong, and never reads outside the bytes.
    Project p;
    p.ProjectPath = QDir::temp().filePath(QStringLiteral("TsReaderCheck.tsp"));
    p.addTopic(topic("INTRO", "Introduction", "start", rtf({para({run("Intro")})}),
                     rtf({para({run("See "), run("more-->MORE", with(fmt(), &CharFormat::Strike)), run(".")})})));
    p.addTopic(topic("MORE", "More", "", QByteArray(), rtf({para({run("Second topic.")})})));
    HelpCompileReport report;
    const QByteArray good = compileHelpFileBytes(p, report);
    ASSERT_NO_THROW(hr::readHelpFile(good));
    int refused = 0;
    for (qsizetype i = 0; i < good.size(); ++i) {
        QByteArray bad = good;
        bad[i] = char(bad[i] ^ 0x5A);
        try {
            hr::readHelpFile(bad);
        } catch (const hr::HelpFileError& e) {
            ++refused;
            EXPECT_FALSE(QByteArray(e.what()).isEmpty());
        }
    }
    EXPECT_GT(refused, good.size() / 2); // most of the file is structure

    EXPECT_THROW(hr::readHelpFile(good.left(good.size() - 1)), hr::HelpFileError);
    QByteArray badMagic = good;
    badMagic[0] = 'X';
    try {
        hr::readHelpFile(badMagic);
        ADD_FAILURE() << "a wrong magic was read";
    } catch (const hr::HelpFileError& e) {
        EXPECT_STREQ(e.what(), "file header: not a help file (wrong magic) at offset 0x0");
    }
}

// The project of the HPJ example: INTRO with Application Call ID 100, a
// topic without one, the window "main" as a new project has it; then a
// second window as the example's "pop" line describes. Compiled to disk.
TEST_F(HelpFile, ExampleProjectReadsBack)
{
    project.addTopic(topic("INTRO", "Introduction", "start", rtf({para({run("Introduction", with(fmt(), &CharFormat::Bold))})}),
                           rtf({para({run("Welcome. "), run("Next-->SECOND", with(fmt(), &CharFormat::Strike))})})));
    project.topic(0).HasCallId = true;
    project.topic(0).CallId = 100;
    project.addTopic(topic("SECOND", "Second", "", QByteArray(), rtf({para({run("Second topic.")})})));
    project.topic(1).CallId = 7; // not mapped: HasCallId is off

    const HelpCompileReport written = compileHelpFile(project);
    EXPECT_EQ(written.errors, 0);
    EXPECT_EQ(written.warnings, 0) << written.logLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(written.topics, 2);
    hr::HelpFile h;
    ASSERT_NO_THROW(h = hr::readHelpFile(dir.filePath(QStringLiteral("Demo.HLP"))));
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
    EXPECT_EQ(h.map, (QList<std::pair<std::int32_t, std::uint32_t>>{{100, h.topics[0].topicOffset}}));
    ASSERT_EQ(h.system.windows.size(), 1);
    EXPECT_EQ(h.system.windows[0].flags, 0x0303);
    EXPECT_EQ(h.system.windows[0].name, QByteArray("main"));
    EXPECT_EQ(*h.system.contents, h.topics[0].topicOffset);
    EXPECT_EQ(h.system.recordTypes.count(6), 1);
    EXPECT_EQ(h.trees["|CONTEXT"].levels, 1);

    // The example's second window line: pop="Pop-up",(10,20,500,400),16900,...,1
    WindowRecord pop = window("pop", "Pop-up");
    pop.DefaultPosition = false;
    pop.Left = 10;
    pop.Top = 20;
    pop.Width = 500;
    pop.Height = 400;
    pop.Buttons[Browse] = pop.Buttons[Back] = true;
    pop.OnTop = true;
    ASSERT_TRUE(project.addWindow(pop));
    project.topic(1).WindowIndex = 1;
    HelpCompileReport report;
    h = compile(report);
    checkAgainstProject(project, h, pictures);
    ASSERT_EQ(h.system.windows.size(), 2);
    EXPECT_EQ(h.system.windows[1].flags, 0x077F);
    EXPECT_EQ(h.system.windows[1].state, 16900);
}

TEST_F(HelpFile, EveryLinkAndFormatReadsBack)
{
    put(QStringLiteral("Pic16.bmp"), bmpFile(5, 3, 4));
    put(QStringLiteral("photo.BMP"), bmpFile(4, 2, 24));
    WindowRecord side = window("side", "Side window");
    side.DefaultPosition = false;
    side.Left = 100;
    side.Top = 50;
    side.Width = 400;
    side.Height = 600;
    side.TopicColour = 0xFFEBCA;
    side.NonScrollColour = 0x8269FF;
    side.AutoSizeHeight = side.OnTop = true;
    side.Buttons = {true, true, true, true, true, true};
    project.window(0).Caption.setBytes("Everything Help");
    ASSERT_TRUE(project.addWindow(side));
    WindowRecord note = window("note", "");
    note.AutoSizeHeight = true;
    ASSERT_TRUE(project.addWindow(note));

    const CharFormat strike = with(fmt(), &CharFormat::Strike);
    const CharFormat under = with(fmt(), &CharFormat::Underline);
    CharFormat red = fmt("Times New Roman", 28);
    red.Colour = 0xC00000;
    red.Bold = red.Italic = true;
    CharFormat mono = fmt("Courier New", 16);
    mono.Underline = true;
    const QString picture = links::bitmapMarkup(dir.filePath(QStringLiteral("pic16.bmp")), false);
    const QString transparent = links::bitmapMarkup(dir.filePath(QStringLiteral("pic16.bmp")), true);
    const QString photo = links::bitmapMarkup(dir.filePath(QStringLiteral("PHOTO.bmp")), false);

    project.addTopic(topic(
        "LINKS", "All the links", "links; Hotspots;HOTSPOTS ; ;", rtf({para({run("Links", red)}, Alignment::Center)}),
        rtf({
            para({run("Jump "), run("to formats-->FORMATS", strike), run(", pop-up "), run("note-->FORMATS", under)}),
            para({run("In a window "), run("side-->FORMATS>side", strike), run(" and pop-up ignoring it "),
                  run("p-->FORMATS>side", under), run(" spelled otherwise "), run("SIDE-->FORMATS>SIDE", strike)}),
            para({run("Other file "), run("there-->ELSEWHERE@other.hlp", strike), run(" pop "),
                  run("pp-->ELSEWHERE@other.hlp", under), run(" with window "),
                  run("tw-->ELSEWHERE>side@other.hlp", strike)}),
            para({run(links::webLink(QStringLiteral("site"), QStringLiteral("www.example.org"), false), strike),
                  run(" and "),
                  run(links::webLink(QString(), QStringLiteral("me@example.org"), true), strike)}),
            para({run(links::relatedTopicsButton(QStringLiteral("Related"), QStringLiteral("links;formats")))}),
            para({run(picture + QStringLiteral("between") + transparent + photo + picture)}),
        }),
        1));
    project.addTopic(topic(
        "FORMATS", "Formats", "formats;links", QByteArray(),
        rtf({
            para({run("Plain "), run("bold", with(fmt(), &CharFormat::Bold)), run(" italic", with(fmt(), &CharFormat::Italic)),
                  run(" underlined", under), run(" red", red), run(" mono", mono)}),
            para({run(QStringLiteral("tab\there, line\u2028break"))}, Alignment::Right, 720, -360, 1440),
            para({run("centred")}, Alignment::Center, 0, 200, 0),
            para({run("")}),
            para({run(QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac 100%"))}),
        }),
        2));
    project.addTopic(topic("EMPTY", "", "", rtf({para({run("")})}), QByteArray()));
    project.topic(1).HasCallId = true;
    project.topic(1).CallId = -5;
    project.topic(2).HasCallId = true;
    project.topic(2).CallId = 70000;

    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.errors, 0);
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
    Pictures pictures;
    checkAgainstProject(project, h, pictures);

    // Pictures: the 4-bit one plain and transparent, the 24-bit one; each
    // stored as a copy of its bitmap.
    ASSERT_EQ(pictures.inOrder.size(), 3u);
    ASSERT_EQ(h.bitmaps.size(), 3);
    for (int n = 0; n < 3; ++n) {
        const hr::Bitmap& b = h.bitmaps[n];
        const bool four = pictures.inOrder[size_t(n)].first == "PIC16.BMP";
        const QByteArray source = four ? bmpFile(5, 3, 4) : bmpFile(4, 2, 24);
        EXPECT_EQ(b.bitCount, four ? 4 : 24);
        EXPECT_EQ(b.width, four ? 5u : 4u);
        EXPECT_EQ(b.height, four ? 3u : 2u);
        EXPECT_EQ(b.coloursImportant, pictures.inOrder[size_t(n)].second ? 1u : 0u);
        EXPECT_EQ(b.palette, source.mid(54, four ? 64 : 0));
        EXPECT_EQ(b.pixels, source.mid(four ? 54 + 64 : 54));
    }
    // The keyword spelled twice is one keyword, kept in its first spelling.
    ASSERT_EQ(h.kKeywords.size(), 3);
    EXPECT_EQ(h.kKeywords[1].first, QByteArray("Hotspots"));
    // The fonts of the text, one descriptor each, with the family of the face.
    const std::map<QByteArray, int> family{{"Courier New", 1}, {"Times New Roman", 2}, {"Arial", 3}};
    std::set<QByteArray> faces;
    for (const hr::FontDescriptor& f : h.fonts) {
        faces.insert(f.face);
        EXPECT_EQ(f.family, family.at(f.face)) << f.face.constData();
    }
    EXPECT_EQ(faces.size(), 3u);
    for (qsizetype i = 0; i < h.fonts.size(); ++i)
        for (qsizetype k = i + 1; k < h.fonts.size(); ++k)
            EXPECT_FALSE(h.fonts[i].face == h.fonts[k].face && h.fonts[i].halfPoints == h.fonts[k].halfPoints &&
                         h.fonts[i].attributes == h.fonts[k].attributes && h.fonts[i].colour == h.fonts[k].colour)
                << "descriptors " << i << " and " << k << " are the same";
}

// Indents where their stored form grows from one byte to two, and the ends
// of the two-byte form; paragraphs of 120 to 131 characters, among which the
// stored text length grows from one byte to two: all read back as they were.
TEST_F(HelpFile, NumbersAtTheEdgesOfTheirStoredFormsReadBack)
{
    std::vector<Paragraph> body = {
        para({run("edges")}, Alignment::Left, 630, -640, 640),
        para({run("past them")}, Alignment::Left, 640, -650, 163830),
        para({run("ends")}, Alignment::Left, 163830, -163840, 0),
    };
    for (int n = 120; n <= 131; ++n)
        body.push_back(para({run(QString(n, QLatin1Char('t')))}));
    project.addTopic(topic("EDGES", "Edges", "", QByteArray(), rtf(body)));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
}

TEST_F(HelpFile, BrokenLinksAndPicturesAreWarningsAndTheFileStillReads)
{
    project.addTopic(topic("ONLY", "Only", "", QByteArray(),
                           rtf({para({run("gone-->NOWHERE", with(fmt(), &CharFormat::Strike)), run(" "),
                                      run("win-->ONLY>nowin", with(fmt(), &CharFormat::Strike)),
                                      run(QStringLiteral(" {bmc MISSING.BMP} "))})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.errors, 0);
    EXPECT_GE(report.warnings, 3);
    const QString log = report.logLines.join(QLatin1Char('\n'));
    for (const char* named : {"NOWHERE", "nowin", "MISSING.BMP"})
        EXPECT_TRUE(log.contains(QLatin1String(named), Qt::CaseInsensitive)) << named << " not in " << log.toStdString();
    EXPECT_TRUE(log.contains(QLatin1String("ONLY"))) << log.toStdString();
    ASSERT_EQ(h.topics.size(), 1);
    ASSERT_FALSE(h.topics[0].body.isEmpty());
    // A jump to a missing topic is still a jump: the viewer looks it up when clicked.
    ASSERT_FALSE(h.topics[0].body[0].hotspots.isEmpty());
    EXPECT_EQ(h.topics[0].body[0].hotspots[0].hash, hr::contextHash("NOWHERE"));
    EXPECT_TRUE(h.bitmaps.isEmpty());
}

// A picture inserted from another folder: the markup holds its path in
// capitals, and the file is found there.
TEST_F(HelpFile, PicturesAreFoundAtTheirOwnPathWhateverTheCase)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir(elsewhere.path()).mkdir(QStringLiteral("Pics")));
    QFile f(elsewhere.filePath(QStringLiteral("Pics/Logo.bmp")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bmpFile(5, 3, 4));
    f.close();
    const QString markup = links::bitmapMarkup(elsewhere.filePath(QStringLiteral("Pics/Logo.bmp")), false);
    ASSERT_TRUE(markup.contains(QStringLiteral("PICS/LOGO.BMP"))) << markup.toStdString();
    project.addTopic(topic("P", "P", "", QByteArray(),
                           rtf({para({run(markup + QStringLiteral(" {bmc ") + elsewhere.path().toUpper() +
                                          QStringLiteral("/PICS/GONE.BMP}"))})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(h.bitmaps.size(), 1);
    EXPECT_EQ(report.warnings, 1) << report.logLines.join(QLatin1Char('\n')).toStdString();
}

// Hyphens and spaces Windows-1252 lacks (word processors paste them) show
// as their plain forms, not as "?".
TEST_F(HelpFile, TypographicHyphensAndSpacesShowPlain)
{
    project.addTopic(topic("T", "T", "", QByteArray(), rtf({para({run(QStringLiteral("a\u2011b\u2003c\u2002d"))})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(h.topics.size(), 1);
    EXPECT_EQ(h.topics[0].body[0].plainText(), QByteArray("a-b c d"));
    // The topic file writes the non-breaking hyphen as RTF's own, which reads back as it was.
    EXPECT_TRUE(RtfWriter::write(RtfReader::read(project.topic(0).BodyRtf)).contains("a\\_b"));
}

// Link markup in a symbol font, as the reader gives it (U+F000 + byte): the
// same jump as in any other font.
TEST_F(HelpFile, SymbolFontLinksAreJumps)
{
    const CharFormat wingdings = with(fmt("Wingdings", 16), &CharFormat::Strike);
    project.addTopic(topic("A", "A", "", QByteArray(),
                           rtf({para({run(QStringLiteral("\uF0B7\uF02D\uF02D\uF03E\uF042"), wingdings)})})));
    project.addTopic(topic("B", "B", "", QByteArray(), rtf({para({run("b")})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.warnings, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(h.topics.size(), 2);
    ASSERT_EQ(h.topics[0].body.size(), 1);
    ASSERT_EQ(h.topics[0].body[0].hotspots.size(), 1);
    EXPECT_EQ(h.topics[0].body[0].hotspots[0].hash, hr::contextHash("B"));
    EXPECT_EQ(h.topics[0].body[0].plainText(), QByteArray("\xb7"));
}

QString noise(int length)
{
    QString out;
    quint32 seed = 7;
    for (int i = 0; i < length; ++i) {
        seed = seed * 1103515245u + 12345u;
        out += QChar(u'a' + int(seed >> 16) % 26);
    }
    return out;
}

// Paragraphs too long for one block of compressed text: stored as they are,
// or, past the longest paragraph a record can count, cut into paragraphs
// that together hold the text and nothing else; each cut is logged.
TEST_F(HelpFile, LongParagraphsReadBack)
{
    project.addTopic(topic("BIG", "Big", "", QByteArray(), rtf({para({run(noise(20000))}), para({run("after")})})));
    project.addTopic(topic("NEXT", "Next", "", QByteArray(), rtf({para({run("next topic")})})));
    HelpCompileReport report;
    hr::HelpFile h = compile(report);
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
    EXPECT_GT(h.topicBlocks, 1);
    // Too long for a compressed block: stored uncompressed, and the log says so.
    EXPECT_FALSE(report.topicsCompressed);
    EXPECT_TRUE(report.logLines.join(QLatin1Char('\n')).contains(QLatin1String("stored uncompressed")));

    for (int length : {30000, 30001, 45000, 70000}) {
        project.topic(0).BodyRtf = rtf({para({run(noise(length))}, Alignment::Left, 0, 360), para({run("after")})});
        h = compile(report);
        ASSERT_EQ(h.topics.size(), 2);
        QByteArray all;
        const QList<hr::Paragraph>& body = h.topics[0].body;
        for (const hr::Paragraph& p : body) {
            EXPECT_FALSE(p.plainText().isEmpty()) << "an empty paragraph was added to " << length << " characters";
            all += p.plainText();
        }
        EXPECT_EQ(all, noise(length).toLatin1() + "after");
        const qsizetype pieces = (length + 29999) / 30000;
        EXPECT_EQ(body.size(), pieces + 1) << length;
        // Only the paragraph's first line is indented.
        for (qsizetype k = 0; k < pieces; ++k)
            EXPECT_EQ(body[k].firstIndent, k == 0 ? 36 : 0) << length;
        const QString log = report.logLines.join(QLatin1Char('\n'));
        // One line for the cut, one for the file stored uncompressed.
        EXPECT_EQ(report.warnings, pieces > 1 ? 2 : 1) << log.toStdString();
        if (pieces > 1) {
            EXPECT_TRUE(log.startsWith(QStringLiteral("Topic BIG: a paragraph beginning \"%1\"").arg(noise(40))))
                << log.toStdString();
        }
    }

    // Words and a hotspot cut in a long paragraph: the cut falls after a
    // blank, and each part of the hotspot still jumps.
    QString words;
    while (words.size() < 40000)
        words += QStringLiteral("word%1 ").arg(words.size() % 97);
    project.topic(0).BodyRtf = rtf({para({run(words, with(fmt(), &CharFormat::Strike)), run("-->NEXT")})});
    h = compile(report);
    ASSERT_EQ(h.topics.size(), 2);
    const QList<hr::Paragraph>& body = h.topics[0].body;
    ASSERT_EQ(body.size(), 2);
    EXPECT_TRUE(body[0].plainText().endsWith(' '));
    EXPECT_EQ(body[0].plainText() + body[1].plainText(), words.toLatin1());
    for (const hr::Paragraph& p : body) {
        ASSERT_EQ(p.hotspots.size(), 1);
        EXPECT_EQ(p.hotspots[0].hash, hr::contextHash("NEXT"));
        EXPECT_EQ(p.hotspots[0].text, p.plainText());
    }
    EXPECT_EQ(report.jumps, 1);
}

// Text that compresses very well leaves much of a block as padding, which
// decompresses too: the block must still fit a reader's 16 KB block buffer
// (the reader checks), and the file stays compressed.
TEST_F(HelpFile, RepetitiveTextStaysWithinTheBlockBuffer)
{
    for (const char* id : {"A", "B", "C", "D"})
        project.addTopic(topic(id, id, "", QByteArray(), rtf({para({run(QString(13000, QLatin1Char('x')))})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
    EXPECT_TRUE(h.compressed);
}

// A NUL that came in with a project file would end the title early in the
// title index but not in the topic: both show a blank there.
TEST_F(HelpFile, NulInATitleIsStoredAsABlank)
{
    project.addTopic(topic("A", QByteArray("Intro\0duction", 13), "", QByteArray(), rtf({para({run("x")})})));
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    ASSERT_EQ(h.topics.size(), 1);
    EXPECT_EQ(h.topics[0].title, QByteArray("Intro duction"));
    EXPECT_EQ(h.titles.value(h.topics[0].topicOffset), QByteArray("Intro duction"));
}

// A project without topics still gives a file that reads: it names no
// contents topic rather than the end of the topic chain.
TEST_F(HelpFile, ProjectWithoutTopicsReadsBack)
{
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_TRUE(h.topics.isEmpty());
    EXPECT_FALSE(h.system.contents.has_value());
    EXPECT_EQ(report.logLines.first(), QStringLiteral("The project has no topics; the help file shows nothing"));
}

TEST_F(HelpFile, TopicTableFullReadsBack)
{
    const CharFormat strike = with(fmt(), &CharFormat::Strike);
    for (int i = 0; i < Project::TopicSlots; ++i) {
        const QByteArray id = "T" + QByteArray::number(i);
        const QByteArray next = "T" + QByteArray::number((i + 1) % Project::TopicSlots);
        std::vector<Paragraph> body;
        for (int k = 0; k < 3; ++k)
            body.push_back(para({run(QStringLiteral("Paragraph %1 of topic %2, with some words to fill the line. ").arg(k).arg(i)),
                                 run(QString::fromLatin1("next-->" + next), strike)}));
        ASSERT_TRUE(project.addTopic(topic(id, "Topic number " + QByteArray::number(i),
                                           "common;kw" + QByteArray::number(i % 700),
                                           i % 3 ? QByteArray() : rtf({para({run("Header")})}), rtf(body))));
        project.topic(i).HasCallId = i % 2;
        project.topic(i).CallId = 1000 + i;
    }
    HelpCompileReport report;
    const hr::HelpFile h = compile(report);
    EXPECT_EQ(report.topics, Project::TopicSlots);
    EXPECT_EQ(report.warnings, 0);
    Pictures pictures;
    checkAgainstProject(project, h, pictures);
    EXPECT_TRUE(h.compressed);
    EXPECT_GT(h.topicBlocks, 10);
    EXPECT_GE(h.trees["|CONTEXT"].levels, 2);
    EXPECT_GE(h.trees["|TTLBTREE"].levels, 2);
    EXPECT_GE(h.trees["|VIOLA"].levels, 2);
    EXPECT_GE(h.trees["|KWBTREE"].levels, 2);
    EXPECT_EQ(h.kKeywords.first().first, QByteArray("common"));
    EXPECT_EQ(h.kKeywords.first().second.size(), Project::TopicSlots);
}
