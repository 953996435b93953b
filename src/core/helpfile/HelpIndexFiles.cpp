#include "HelpIndexFiles.h"

#include "BPlusTree.h"
#include "HelpFileBytes.h"
#include "HelpFileFormat.h"
#include "model/Records.h"
#include "model/WindowRules.h"
#include "model/Windows1252.h"

#include <algorithm>

namespace ts::helpfile {

using namespace format;

QByteArray windowRecord(const WindowRecord& w, const std::function<void(const QString&)>& warn)
{
    const QByteArray name = w.Name.bytes();
    const QByteArray caption = w.Caption.bytes();
    // Both fields keep room for their NUL.
    const int nameLength = WindowNameSize - 1, captionLength = WindowCaptionSize - 1;
    if (name.size() > nameLength)
        warn(QStringLiteral("Window %1: the name is longer than %2 characters; stored as %3")
                 .arg(cp1252::decode(name), QString::number(nameLength), cp1252::decode(name.left(nameLength))));
    if (caption.size() > captionLength)
        warn(QStringLiteral("Window %1: the caption is longer than %2 characters; cut after \"%3\"")
                 .arg(cp1252::decode(name), QString::number(captionLength),
                      cp1252::decode(caption.left(captionLength))));

    unsigned flags = WindowTypeValid | WindowNameValid | WindowScrollingColourValid | WindowNonScrollingColourValid;
    if (!caption.isEmpty())
        flags |= WindowCaptionValid;
    if (!w.DefaultPosition)
        flags |= WindowXValid | WindowYValid | WindowWidthValid | WindowHeightValid;
    if (w.OnTop)
        flags |= WindowOnTop;
    if (w.AutoSizeHeight)
        flags |= WindowAutoSizeHeight;

    QByteArray out;
    putU16(out, flags);
    putFixed(out, QByteArray(), WindowTypeSize);
    putFixed(out, name.left(nameLength), WindowNameSize);
    putFixed(out, caption.left(captionLength), WindowCaptionSize);
    const auto coordinate = [](std::int32_t v) { return int(qBound(-32768, v, 32767)); };
    putS16(out, w.DefaultPosition ? 0 : coordinate(w.Left));
    putS16(out, w.DefaultPosition ? 0 : coordinate(w.Top));
    putS16(out, w.DefaultPosition ? 0 : coordinate(w.Width));
    putS16(out, w.DefaultPosition ? 0 : coordinate(w.Height));
    // The HPJ's state number: 4 plus the weights of the window's buttons.
    putU16(out, unsigned(windowState(w)));
    putU32(out, w.TopicColour & 0xFFFFFF);     // 0x00BBGGRR: bytes R, G, B, 0
    putU32(out, w.NonScrollColour & 0xFFFFFF);
    Q_ASSERT(out.size() == WindowRecordSize);
    return out;
}

QByteArray systemFile(const SystemValues& v, const std::vector<QByteArray>& windowRecords)
{
    QByteArray out;
    putU16(out, SystemMagic);
    putU16(out, Version40);
    putU16(out, MajorVersion);
    putU32(out, v.GenerationTime);
    putU16(out, v.Compressed ? SystemFlagsCompressed : SystemFlagsPlain);
    const auto record = [&out](unsigned type, const QByteArray& data) {
        putU16(out, type);
        putU16(out, unsigned(data.size()));
        out += data;
    };
    if (!v.Title.isEmpty())
        record(SystemTitle, stringz(v.Title));
    if (v.ContentsTopic) {
        QByteArray contents;
        putS32(contents, *v.ContentsTopic);
        record(SystemContents, contents);
    }
    for (const QByteArray& macro : v.Macros)
        record(SystemConfig, stringz(macro));
    for (const QByteArray& window : windowRecords)
        record(SystemWindow, window);
    QByteArray locale(LcidOffset, '\0');
    putU16(locale, v.Locale);
    Q_ASSERT(locale.size() == LcidRecordSize);
    record(SystemLcid, locale);
    if (!v.ContentsFileName.isEmpty())
        record(SystemContentsFile, stringz(v.ContentsFileName));
    return out;
}

namespace {

// Titles longer than this are cut, so that an entry fits a page with room
// to spare.
constexpr qsizetype MaxStoredTitle = 2000;
static_assert(LeafPageHeaderSize + 4 + MaxStoredTitle + 1 <= LookupPageSize);

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
    return buildBTree(tree, {LookupPageSize, OtherTreeFlags, QByteArray(ContextStructure)}).Bytes;
}

} // namespace

QByteArray contextFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries)
{
    return pairTree(entries);
}

QByteArray contextMapFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries)
{
    QByteArray out;
    // The count is a u16: entries past what it can count are left out.
    const size_t count = qMin<size_t>(entries.size(), 0xFFFF);
    putU16(out, unsigned(count));
    for (size_t i = 0; i < count; ++i) {
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
        e.Bytes += stringz(title.left(MaxStoredTitle));
        tree.push_back(std::move(e));
    }
    return buildBTree(tree, {LookupPageSize, OtherTreeFlags, QByteArray(TitleStructure)}).Bytes;
}

QByteArray windowMapFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& entries)
{
    // Page size and structure as those of |CONTEXT: which ones other
    // compilers chose is not known, and readers take both from the tree's
    // header.
    return pairTree(entries);
}

namespace {

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

} // namespace

// Level by level: primary weights (the letters without case or accent,
// digits, symbols), then accents, then case; hyphens and apostrophes take
// part in none of them.
KeywordOrderKey keywordOrderKey(const QString& keyword)
{
    KeywordOrderKey key;
    key.text = keyword;
    for (const QChar c : keyword) {
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
            key.letters.push_back(weight);
            key.accents.push_back(accent);
            key.upper.push_back(upper);
        }
    }
    return key;
}

bool keywordLess(const KeywordOrderKey& x, const KeywordOrderKey& y)
{
    if (x.letters != y.letters)
        return x.letters < y.letters;
    if (x.accents != y.accents)
        return x.accents < y.accents;
    if (x.upper != y.upper)
        return x.upper < y.upper; // lower case first
    if (x.text.size() != y.text.size())
        return x.text.size() < y.text.size(); // without the hyphen first
    return x.text < y.text;
}

bool keywordLess(const QByteArray& a, const QByteArray& b)
{
    // Windows-1252 keeps one character in one byte, in the same order among
    // the characters that can still differ here (hyphens and apostrophes).
    return a != b && keywordLess(keywordOrderKey(cp1252::decode(a)), keywordOrderKey(cp1252::decode(b)));
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
    const BTreeResult result = buildBTree(tree, {KeywordPageSize, OtherTreeFlags, QByteArray(KeywordStructure)});
    files.Tree = result.Bytes;
    putU16(files.Map, unsigned(result.LeafPages));
    for (int p = 0; p < result.LeafPages; ++p) {
        putS32(files.Map, result.EntriesBeforeLeaf[size_t(p)]);
        putU16(files.Map, unsigned(p));
    }
    return files;
}

} // namespace ts::helpfile
