#include "HelpIndexFiles.h"

#include "BPlusTree.h"
#include "HelpFileBytes.h"
#include "helpsource/HpjWriter.h"
#include "model/Records.h"
#include "model/Windows1252.h"

#include <algorithm>

namespace ts::helpfile {

QByteArray windowRecord(const WindowRecord& w, const std::function<void(const QString&)>& warn)
{
    const QByteArray name = w.Name.bytes();
    const QByteArray caption = w.Caption.bytes();
    if (name.size() > 8)
        warn(QStringLiteral("Window %1: the name is longer than 8 characters; stored as %2")
                 .arg(cp1252::decode(name), cp1252::decode(name.left(8))));
    if (caption.size() > 50)
        warn(QStringLiteral("Window %1: the caption is longer than 50 characters; cut after \"%2\"")
                 .arg(cp1252::decode(name), cp1252::decode(caption.left(50))));

    unsigned flags = 0x0001 | 0x0002 | 0x0100 | 0x0200; // type, name, both colours
    if (!caption.isEmpty())
        flags |= 0x0004;
    if (!w.DefaultPosition)
        flags |= 0x0008 | 0x0010 | 0x0020 | 0x0040;
    if (w.OnTop)
        flags |= 0x0400;
    if (w.AutoSizeHeight)
        flags |= 0x0800;

    QByteArray out;
    putU16(out, flags);
    putFixed(out, QByteArray(), 10);
    putFixed(out, name.left(8), 9);
    putFixed(out, caption.left(50), 51);
    const auto coordinate = [](std::int32_t v) { return int(qBound(-32768, v, 32767)); };
    putS16(out, w.DefaultPosition ? 0 : coordinate(w.Left));
    putS16(out, w.DefaultPosition ? 0 : coordinate(w.Top));
    putS16(out, w.DefaultPosition ? 0 : coordinate(w.Width));
    putS16(out, w.DefaultPosition ? 0 : coordinate(w.Height));
    // The HPJ's state number: 4 plus the weights of the window's buttons.
    putU16(out, unsigned(HpjWriter::windowState(w)));
    putU32(out, w.TopicColour & 0xFFFFFF);     // 0x00BBGGRR: bytes R, G, B, 0
    putU32(out, w.NonScrollColour & 0xFFFFFF);
    Q_ASSERT(out.size() == 90);
    return out;
}

QByteArray systemFile(const SystemValues& v, const std::vector<QByteArray>& windowRecords)
{
    QByteArray out;
    putU16(out, 0x036C);
    putU16(out, 33); // WinHelp 4
    putU16(out, 1);
    putU32(out, v.GenerationTime);
    putU16(out, v.Compressed ? 4 : 0);
    const auto record = [&out](unsigned type, const QByteArray& data) {
        putU16(out, type);
        putU16(out, unsigned(data.size()));
        out += data;
    };
    if (!v.Title.isEmpty())
        record(1, stringz(v.Title));
    if (v.ContentsTopic) {
        QByteArray contents;
        putS32(contents, *v.ContentsTopic);
        record(3, contents);
    }
    for (const QByteArray& macro : v.Macros)
        record(4, stringz(macro));
    for (const QByteArray& window : windowRecords)
        record(6, window);
    QByteArray locale(8, '\0');
    putU16(locale, v.Locale);
    record(9, locale);
    if (!v.ContentsFileName.isEmpty())
        record(10, stringz(v.ContentsFileName));
    return out;
}

namespace {

// A tree of (s32 key, s32 value) entries.
QByteArray pairTree(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries)
{
    std::vector<BTreeEntry> tree;
    tree.reserve(entries.size());
    for (const auto& [key, value] : entries) {
        BTreeEntry e;
        putS32(e.Key, key);
        e.Bytes = e.Key;
        putS32(e.Bytes, value);
        tree.push_back(std::move(e));
    }
    return buildBTree(tree, {2048, 0x0002, QByteArrayLiteral("L4")}).Bytes;
}

} // namespace

QByteArray contextFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries)
{
    return pairTree(entries);
}

QByteArray contextMapFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries)
{
    QByteArray out;
    putU16(out, unsigned(qMin<size_t>(entries.size(), 0xFFFF)));
    for (size_t i = 0; i < entries.size() && i < 0xFFFF; ++i) {
        putS32(out, entries[i].first);
        putS32(out, entries[i].second);
    }
    return out;
}

QByteArray titleFile(const std::vector<std::pair<std::int32_t, QByteArray>>& entries)
{
    std::vector<BTreeEntry> tree;
    tree.reserve(entries.size());
    for (const auto& [offset, title] : entries) {
        BTreeEntry e;
        putS32(e.Key, offset);
        e.Bytes = e.Key;
        e.Bytes += stringz(title.left(2000));
        tree.push_back(std::move(e));
    }
    return buildBTree(tree, {2048, 0x0002, QByteArrayLiteral("Lz")}).Bytes;
}

QByteArray windowMapFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries)
{
    // Page size and structure as those of |CONTEXT: which ones other
    // compilers chose is not known, and readers take both from the tree's
    // header.
    return pairTree(entries);
}

namespace {

// A keyword's sort key, level by level: primary weights (the letters without
// case or accent, digits, symbols), then accents, then case; hyphens and
// apostrophes take part in none of them.
struct KeywordKey {
    std::vector<char32_t> primary;
    std::vector<char16_t> accents;
    std::vector<bool> upper;
    QByteArray bytes;
};

enum : char32_t { SymbolWeight = 0x100000, DigitWeight = 0x200000, LetterWeight = 0x300000 };

// Letters that stand for two (ß, æ, œ, þ) or whose accent is no mark of
// their own (ø, đ, ł).
QString expansionOf(QChar lower)
{
    switch (lower.unicode()) {
    case u'\u00DF': return QStringLiteral("ss");
    case u'\u00E6': return QStringLiteral("ae");
    case u'\u0153': return QStringLiteral("oe");
    case u'\u00FE': return QStringLiteral("th");
    case u'\u00F8': return QStringLiteral("o");
    case u'\u00F0': return QStringLiteral("d");
    case u'\u0111': return QStringLiteral("d");
    case u'\u0142': return QStringLiteral("l");
    default: return QString();
    }
}

KeywordKey keywordKey(const QByteArray& keyword)
{
    KeywordKey key;
    key.bytes = keyword;
    const QString text = cp1252::decode(keyword);
    for (const QChar c : text) {
        if (c == QLatin1Char('-') || c == QLatin1Char('\'') || c == QChar(0x00AD))
            continue;
        const bool upper = c.isUpper();
        const QChar lower = c.toLower();
        QString base = expansionOf(lower);
        char16_t accent = base.isEmpty() ? 0 : lower.unicode();
        if (base.isEmpty()) {
            const QString decomposed = QString(lower).normalized(QString::NormalizationForm_KD);
            base = decomposed.isEmpty() ? QString(lower) : decomposed.left(1);
            if (decomposed.size() > 1)
                accent = decomposed.at(1).unicode();
        }
        for (const QChar b : base) {
            const char32_t weight = b.isLetter() ? LetterWeight + b.toLower().unicode()
                                    : b.isDigit() ? DigitWeight + char32_t(b.digitValue())
                                                  : SymbolWeight + b.unicode();
            key.primary.push_back(weight);
            key.accents.push_back(accent);
            key.upper.push_back(upper);
        }
    }
    return key;
}

} // namespace

bool keywordLess(const QByteArray& a, const QByteArray& b)
{
    if (a == b)
        return false;
    const KeywordKey x = keywordKey(a), y = keywordKey(b);
    if (x.primary != y.primary)
        return x.primary < y.primary;
    if (x.accents != y.accents)
        return x.accents < y.accents;
    if (x.upper != y.upper)
        return x.upper < y.upper; // lower case first
    if (a.size() != b.size())
        return a.size() < b.size(); // without the hyphen first
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char p, char q) { return std::uint8_t(p) < std::uint8_t(q); });
}

QString keywordIdentity(const QByteArray& keyword)
{
    return cp1252::decode(keyword).toCaseFolded();
}

KeywordFiles keywordFiles(const std::vector<KeywordEntry>& keywords)
{
    KeywordFiles files;
    std::vector<BTreeEntry> tree;
    tree.reserve(keywords.size());
    for (const KeywordEntry& k : keywords) {
        BTreeEntry e;
        e.Key = stringz(k.Keyword);
        e.Bytes = e.Key;
        putU16(e.Bytes, unsigned(k.Topics.size()));
        putU32(e.Bytes, std::uint32_t(files.Data.size()));
        for (const std::int32_t offset : k.Topics)
            putS32(files.Data, offset);
        tree.push_back(std::move(e));
    }
    const BTreeResult result = buildBTree(tree, {1024, 0x0002, QByteArrayLiteral("F24")});
    files.Tree = result.Bytes;
    putU16(files.Map, unsigned(result.LeafPages));
    for (int p = 0; p < result.LeafPages; ++p) {
        putS32(files.Map, result.EntriesBeforeLeaf[size_t(p)]);
        putU16(files.Map, unsigned(p));
    }
    return files;
}

} // namespace ts::helpfile
