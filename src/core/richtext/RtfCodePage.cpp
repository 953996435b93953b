#include "RtfCodePage.h"
#include "RtfCodePageTables.h"

#include "model/Windows1252.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <cerrno>
#include <iconv.h>
#include <memory>
#include <unordered_map>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ts::rtf {
namespace {

constexpr char16_t NoPair = 0xFFFF;
constexpr char16_t Wide = 0xFFFE;
constexpr int Utf8CodePage = 65001;

// The converter's UTF-16 in this machine's byte order, so that its output can
// be copied into a std::u16string as it stands.
constexpr const char* Utf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

const std::array<char16_t, 256>& windows1252()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        char bytes[256];
        for (int b = 0; b < 256; ++b)
            bytes[b] = char(b);
        const QString s = cp1252::decode(bytes, 256);
        for (int b = 0; b < 256; ++b)
            t[b] = s.at(b).unicode();
        return t;
    }();
    return table;
}

// The converter's name for a Windows code page number.
std::string converterName(int number)
{
    switch (number) {
    case 10000: return "MACINTOSH";
    // The Mac's double-byte pages are the Windows ones in all the text an
    // RTF file carries; the converter knows them under those names.
    case 10001: return "CP932";     // Mac Japanese
    case 10002: return "BIG5";      // Mac Traditional Chinese
    case 10003: return "EUC-KR";    // Mac Korean
    case 10008: return "EUC-CN";    // Mac Simplified Chinese
    case 10007: return "MAC-CYRILLIC";
    case 10017: return "MACUKRAINIAN";
    case 10029: return "MAC-CENTRALEUROPE";
    case 10079: return "MAC-IS";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    default: break;
    }
    if (number >= 28591 && number <= 28606)
        return "ISO-8859-" + std::to_string(number - 28590);
    return "CP" + std::to_string(number);
}

// The code pages whose characters take one or two bytes. Any other code page
// in which a byte does not stand alone (UTF-8 aside, read on its own) is more
// than we read (EBCDIC with shifts) and reads as Windows-1252.
bool isDoubleBytePage(int number)
{
    return number == 932 || number == 936 || number == 949 || number == 950 || number == 1361 || number == 10001
           || number == 10002 || number == 10003 || number == 10008;
}

enum class Result { Done, Incomplete, Invalid };

// Converts `size` bytes with a fresh state, including what a converter holds
// back until the end of input (the Hebrew and Vietnamese pages wait for a
// combining mark); `units` receives the number of UTF-16 units, at most 4.
Result convert(iconv_t cd, const unsigned char* src, std::size_t size, char16_t* dst, std::size_t* units)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(src));
    std::size_t inLeft = size;
    char* out = reinterpret_cast<char*>(dst);
    std::size_t outLeft = 4 * sizeof(char16_t);
    Result r = Result::Done;
    if (iconv(cd, &in, &inLeft, &out, &outLeft) == std::size_t(-1))
        r = errno == EINVAL ? Result::Incomplete : Result::Invalid;
    else if (iconv(cd, nullptr, nullptr, &out, &outLeft) == std::size_t(-1))
        r = Result::Invalid;
    *units = (4 * sizeof(char16_t) - outLeft) / sizeof(char16_t);
    return r;
}

// The user-defined characters (EUDC) of the Windows double-byte code pages:
// Windows reads them as private-use characters, row after row. The
// converter does not know them; a pair in these rows is one character, not
// two bytes. Returns 0 for a pair outside them.
char16_t userDefinedCharacter(int page, unsigned char lead, unsigned char trail)
{
    struct Rows {
        unsigned char firstLead, lastLead, firstTrail, lastTrail;
        char16_t first; // the character of the first pair
    };
    // Trails 0x40-0x7E and 0xA1-0xFE (157 a row), as Big5 has them; the rows
    // from 0xC6 on begin at 0xC6A1, the 63rd place of their first row.
    static constexpr Rows big5[] = {{0xFA, 0xFE, 0x40, 0xFE, 0xE000}, {0x8E, 0xA0, 0x40, 0xFE, 0xE311},
                                    {0x81, 0x8D, 0x40, 0xFE, 0xEEB8}, {0xC6, 0xC8, 0x40, 0xFE, 0xF672}};
    // Shift-JIS trails 0x40-0x7E and 0x80-0xFC (188 a row).
    static constexpr Rows sjis[] = {{0xF0, 0xF9, 0x40, 0xFC, 0xE000}};
    // GBK and Unified Hangul rows of 94 trails (0xA1-0xFE), and GBK's rows
    // of 96 (0x40-0xA0 without 0x7F).
    static constexpr Rows gbk[] = {{0xAA, 0xAF, 0xA1, 0xFE, 0xE000}, {0xF8, 0xFE, 0xA1, 0xFE, 0xE234},
                                   {0xA1, 0xA7, 0x40, 0xA0, 0xE4C6}};
    static constexpr Rows hangul[] = {{0xC9, 0xC9, 0xA1, 0xFE, 0xE000}, {0xFE, 0xFE, 0xA1, 0xFE, 0xE05E}};
    const Rows* rows = nullptr;
    std::size_t count = 0;
    int (*column)(unsigned char) = nullptr;
    switch (page) {
    case 950:
    case 10002:
        rows = big5, count = std::size(big5);
        column = [](unsigned char t) { return t <= 0x7E ? t - 0x40 : t >= 0xA1 ? t - 0xA1 + 63 : -1; };
        break;
    case 932:
    case 10001:
        rows = sjis, count = std::size(sjis);
        column = [](unsigned char t) { return t <= 0x7E ? t - 0x40 : t >= 0x80 ? t - 0x80 + 63 : -1; };
        break;
    case 936:
    case 10008:
        rows = gbk, count = std::size(gbk);
        break;
    case 949:
    case 10003:
        rows = hangul, count = std::size(hangul);
        break;
    default:
        return 0;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Rows& r = rows[i];
        if (lead < r.firstLead || lead > r.lastLead || trail < r.firstTrail || trail > r.lastTrail)
            continue;
        int col = 0, perRow = 0;
        if (column) {
            col = column(trail);
            perRow = page == 932 || page == 10001 ? 188 : 157;
        } else if (r.firstTrail == 0xA1) {
            col = trail - 0xA1;
            perRow = 94;
        } else {
            col = trail == 0x7F ? -1 : trail < 0x7F ? trail - 0x40 : trail - 0x41;
            perRow = 96;
        }
        if (col < 0 || col >= perRow)
            return 0;
        const int offset = (lead - r.firstLead) * perRow + col;
        return char16_t(r.first + offset);
    }
    return 0;
}

// The length of the UTF-8 sequence a byte starts, 0 for a byte that starts
// none (ASCII is handled before; overlong and out-of-range leads start none).
int utf8Length(unsigned char b)
{
    return b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
}

// Whether `b` may follow `first` as the byte at `position` (1 to 3) of its
// sequence: overlong forms, surrogates and code points past U+10FFFF are no
// UTF-8.
bool utf8Continues(unsigned char first, int position, unsigned char b)
{
    if (b < 0x80 || b > 0xBF)
        return false;
    if (position != 1)
        return true;
    switch (first) {
    case 0xE0: return b >= 0xA0;
    case 0xED: return b <= 0x9F;
    case 0xF0: return b >= 0x90;
    case 0xF4: return b <= 0x8F;
    default: return true;
    }
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;    // ANSI
    case 77: return 10000;  // Macintosh
    case 78: return 10001;  // Mac Japanese
    case 79: return 10003;  // Mac Korean
    case 80: return 10008;  // Mac Simplified Chinese
    case 81: return 10002;  // Mac Traditional Chinese
    case 128: return 932;   // Shift-JIS
    case 129: return 949;   // Hangul
    case 130: return 1361;  // Johab
    case 134: return 936;   // GB2312
    case 136: return 950;   // Big5
    case 161: return 1253;  // Greek
    case 162: return 1254;  // Turkish
    case 163: return 1258;  // Vietnamese
    case 177: return 1255;  // Hebrew
    case 178: return 1256;  // Arabic
    case 186: return 1257;  // Baltic
    case 204: return 1251;  // Russian
    case 222: return 874;   // Thai
    case 238: return 1250;  // Eastern European
    case 254: return 437;   // PC 437
    case 255: return 437;   // OEM: the US OEM code page
    default: return 0;      // 1 default, 2 symbol and unknown values
    }
}

struct CodePageCache {
    std::vector<std::unique_ptr<CodePage>> owned;
    std::unordered_map<int, const CodePage*> byNumber;
};

const CodePage& CodePage::get(int number)
{
    thread_local CodePageCache cache;
    if (number <= 0 || number > 65535)
        number = Windows1252CodePage;
    if (const auto it = cache.byNumber.find(number); it != cache.byNumber.end())
        return *it->second;
    std::unique_ptr<CodePage> page(new CodePage(number));
    const CodePage* p = page.get();
    if (page->number_ != number) // the converter lacks it: share the Windows-1252 page
        p = &get(Windows1252CodePage);
    else
        cache.owned.push_back(std::move(page));
    cache.byNumber.emplace(number, p);
    return *p;
}

CodePage::CodePage(int number)
{
    single_ = windows1252();
    if (number == Windows1252CodePage)
        return;
    if (number == Utf8CodePage) {
        number_ = number;
        utf8_ = true; // a byte alone is no UTF-8 and reads as Windows-1252
        return;
    }
    if (const UpperHalf* table = builtInUpperHalf(number)) {
        number_ = number;
        for (int b = 0x80; b < 0x100; ++b)
            if (const char16_t c = (*table)[b - 0x80])
                single_[b] = c;
        return;
    }
    const iconv_t cd = iconv_open(Utf16, converterName(number).c_str());
    if (cd == iconv_t(-1))
        return;
    std::array<char16_t, 256> single = single_;
    std::array<bool, 256> lead{};
    bool multiByte = false;
    // Bytes below 0x80 are RTF's own ASCII in every code page; the code page
    // speaks for the bytes above.
    for (int b = 0x80; b < 0x100; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        char16_t out[4];
        std::size_t units = 0;
        const Result r = convert(cd, &byte, 1, out, &units);
        if (r == Result::Done && units == 1)
            single[b] = out[0];
        else if (r == Result::Incomplete)
            lead[b] = multiByte = true;
    }
    // The rows of user-defined characters lead pairs too, though the
    // converter knows no character in them.
    if (multiByte)
        for (int b = 0x81; b < 0xFF; ++b)
            if (userDefinedCharacter(number, static_cast<unsigned char>(b), 0xA1) != 0
                || userDefinedCharacter(number, static_cast<unsigned char>(b), 0x40) != 0)
                lead[b] = true;
    if (multiByte && !isDoubleBytePage(number)) {
        iconv_close(cd);
        return;
    }
    number_ = number;
    single_ = single;
    lead_ = lead;
    doubleByte_ = multiByte;
    if (doubleByte_)
        iconv_ = cd;
    else
        iconv_close(cd);
}

CodePage::~CodePage()
{
    if (iconv_)
        iconv_close(static_cast<iconv_t>(iconv_));
}

int CodePage::trailBytes(unsigned char b) const
{
    if (utf8_)
        return std::max(utf8Length(b) - 1, 0);
    return doubleByte_ && lead_[b] ? 1 : 0;
}

void CodePage::decode(const unsigned char* src, std::size_t size, std::u16string& out, int& lead) const
{
    if (doubleByte_) {
        decodeDoubleByte(src, size, out, lead);
        return;
    }
    if (utf8_) {
        decodeUtf8(src, size, out, lead);
        return;
    }
    const std::size_t old = out.size();
    out.resize(old + size);
    char16_t* dst = out.data() + old;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Plain ASCII widens sixteen bytes at a time; anything else goes through
    // the table.
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= size) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        if (_mm_movemask_epi8(x) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_unpacklo_epi8(x, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 8), _mm_unpackhi_epi8(x, zero));
        i += 16;
    }
#endif
    for (; i < size; ++i)
        dst[i] = single_[src[i]];
}

void CodePage::decodeDoubleByte(const unsigned char* src, std::size_t size, std::u16string& out, int& lead) const
{
    std::size_t i = 0;
    if (lead >= 0 && size > 0) {
        const unsigned char first = static_cast<unsigned char>(lead);
        lead = -1;
        if (appendPair(first, src[0], out))
            i = 1;
        else
            out.push_back(single_[first]); // the byte after it starts afresh
    }
    while (i < size) {
        const unsigned char b = src[i];
        if (!lead_[b]) {
            out.push_back(b < 0x80 ? char16_t(b) : single_[b]);
            ++i;
        } else if (i + 1 == size) {
            lead = b;
            ++i;
        } else if (appendPair(b, src[i + 1], out)) {
            i += 2;
        } else {
            out.push_back(single_[b]);
            ++i;
        }
    }
}

// `lead` holds the bytes of an unfinished sequence: their count above bit 24,
// the bytes themselves below, the first one highest.
void CodePage::decodeUtf8(const unsigned char* src, std::size_t size, std::u16string& out, int& lead) const
{
    unsigned char seq[4];
    int have = 0;
    if (lead >= 0) {
        have = lead >> 24;
        for (int k = 0; k < have; ++k)
            seq[k] = static_cast<unsigned char>(lead >> (8 * (have - 1 - k)));
        lead = -1;
    }
    std::size_t i = 0;
    while (i < size || have > 0) {
        if (have == 0) {
            while (i < size && src[i] < 0x80)
                out.push_back(char16_t(src[i++]));
            if (i == size)
                break;
            const unsigned char b = src[i++];
            if (utf8Length(b) == 0) {
                out.push_back(single_[b]);
                continue;
            }
            seq[have++] = b;
        }
        const int length = utf8Length(seq[0]);
        while (have < length && i < size && utf8Continues(seq[0], have, src[i]))
            seq[have++] = src[i++];
        if (have == length) {
            char32_t c = seq[0] & (0x7F >> length);
            for (int k = 1; k < length; ++k)
                c = c << 6 | (seq[k] & 0x3F);
            if (c >= 0x10000) {
                out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
                out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
            } else {
                out.push_back(char16_t(c));
            }
        } else if (i == size) {
            int packed = 0;
            for (int k = 0; k < have; ++k)
                packed = packed << 8 | seq[k];
            lead = have << 24 | packed;
            return;
        } else {
            // Broken off by a byte that cannot follow: what came so far reads
            // byte by byte, and that byte starts afresh.
            for (int k = 0; k < have; ++k)
                out.push_back(single_[seq[k]]);
        }
        have = 0;
    }
}

bool CodePage::appendPair(unsigned char lead, unsigned char trail, std::u16string& out) const
{
    if (pairs_.empty())
        pairs_.assign(256 * 256, u'\0');
    char16_t& known = pairs_[std::size_t(lead) << 8 | trail];
    if (known != 0 && known != Wide) {
        if (known == NoPair)
            return false;
        out.push_back(known);
        return true;
    }
    const unsigned char pair[2] = {lead, trail};
    char16_t chars[4];
    std::size_t units = 0;
    if (convert(static_cast<iconv_t>(iconv_), pair, 2, chars, &units) != Result::Done || units == 0 || units > 2) {
        const char16_t userDefined = userDefinedCharacter(number_, lead, trail);
        known = userDefined != 0 ? userDefined : NoPair;
        if (userDefined != 0)
            out.push_back(userDefined);
        return userDefined != 0;
    }
    if (units == 1 && chars[0] != NoPair && chars[0] != Wide && chars[0] != 0)
        known = chars[0];
    else
        known = Wide; // not memoized: converted again next time
    out.append(chars, units);
    return true;
}

void CodePage::flushLead(std::u16string& out, int& lead) const
{
    if (lead < 0)
        return;
    if (utf8_) {
        const int have = lead >> 24;
        for (int k = have - 1; k >= 0; --k)
            out.push_back(single_[static_cast<unsigned char>(lead >> (8 * k))]);
    } else {
        out.push_back(single_[static_cast<unsigned char>(lead)]);
    }
    lead = -1;
}

} // namespace ts::rtf
