#include "HelpFileChecks.h"

#include "model/Windows1252.h"
#include "richtext/RtfReader.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <set>

namespace ts::testing {

CharFormat fmt(const char* face, int halfPoints)
{
    CharFormat f;
    f.Face = QString::fromLatin1(face);
    f.Size = halfPoints;
    return f;
}

Paragraph para(std::vector<ts::Run> runs, Alignment align, int left, int first, int right)
{
    Paragraph p;
    p.Runs = std::move(runs);
    p.Align = align;
    p.LeftIndent = left;
    p.FirstIndent = first;
    p.RightIndent = right;
    return p;
}

ts::Run run(const QString& text, const CharFormat& f) { return ts::Run{text, f}; }
ts::Run run(const char* text, const CharFormat& f) { return run(QString::fromLatin1(text), f); }

WindowRecord window(const char* name, const char* caption)
{
    WindowRecord w = WindowRecord::defaultWindow();
    w.Name.setBytes(name);
    w.Caption.setBytes(caption);
    return w;
}

namespace {

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

} // namespace

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

} // namespace ts::testing
