#include "RtfTokenizer.h"

#include <array>
#include <climits>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ts::rtf {
namespace {

enum : std::uint8_t { Plain = 0, StopText = 1, Ignored = 2, Letter = 4, Digit = 8, GroupByte = 16 };

constexpr std::array<std::uint8_t, 256> makeClasses()
{
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 0x20; ++c)
        t[c] = StopText | Ignored; // RTF ignores line ends; other control bytes carry nothing
    t['\t'] = Plain;                // a literal tab is a tab
    t['\\'] = StopText | GroupByte;
    t['{'] = StopText | GroupByte;
    t['}'] = StopText | GroupByte;
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = Letter;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = Letter;
    for (int c = '0'; c <= '9'; ++c)
        t[c] = Digit;
    return t;
}

constexpr std::array<std::uint8_t, 256> Class = makeClasses();

inline std::uint8_t cls(char c)
{
    return Class[static_cast<unsigned char>(c)];
}

inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The first byte at or after p that ends a run of literal text.
inline const char* endOfText(const char* p, const char* end)
{
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i control = _mm_andnot_si128(_mm_cmpeq_epi8(x, tab),
                                                 _mm_cmpeq_epi8(_mm_max_epu8(x, lastControl), lastControl));
        const __m128i special = _mm_or_si128(_mm_or_si128(control, _mm_cmpeq_epi8(x, backslash)),
                                             _mm_or_si128(_mm_cmpeq_epi8(x, open), _mm_cmpeq_epi8(x, close)));
        const int mask = _mm_movemask_epi8(special);
        if (mask != 0)
            return p + __builtin_ctz(unsigned(mask));
        p += 16;
    }
#endif
    while (p < end && !(cls(*p) & StopText))
        ++p;
    return p;
}

} // namespace

void Tokenizer::readWord(Token& t)
{
    const char* name = p_;
    std::uint32_t h = HashSeed;
    while (p_ < end_ && (cls(*p_) & Letter)) {
        h = hashStep(h, static_cast<unsigned char>(*p_));
        ++p_;
    }
    t.kind = TokenKind::Word;
    t.data = name;
    t.size = std::size_t(p_ - name);
    t.hash = h;
    t.hasParam = false;
    t.param = 0;

    const char* q = p_;
    bool negative = false;
    if (q < end_ && *q == '-' && q + 1 < end_ && (cls(q[1]) & Digit)) {
        negative = true;
        ++q;
    }
    if (q < end_ && (cls(*q) & Digit)) {
        // Saturate instead of overflowing; the digits are consumed all the same.
        std::int64_t v = 0;
        while (q < end_ && (cls(*q) & Digit)) {
            if (v <= std::int64_t(INT_MAX) + 1)
                v = v * 10 + (*q - '0');
            ++q;
        }
        if (negative)
            v = -v;
        if (v > INT_MAX)
            v = INT_MAX;
        if (v < INT_MIN)
            v = INT_MIN;
        t.hasParam = true;
        t.param = std::int32_t(v);
        p_ = q;
    }
    if (p_ < end_ && *p_ == ' ')
        ++p_; // the blank that ends a control word belongs to it

    if (t.size == 3 && std::memcmp(name, "bin", 3) == 0) {
        const std::size_t left = std::size_t(end_ - p_);
        std::size_t n = (t.hasParam && t.param > 0) ? std::size_t(t.param) : 0;
        if (n > left)
            n = left;
        t.kind = TokenKind::Binary;
        t.data = p_;
        t.size = n;
        p_ += n;
    }
}

Token Tokenizer::next()
{
    Token t;
    while (p_ < end_) {
        const char c = *p_;
        const std::uint8_t k = cls(c);
        if (!(k & StopText)) {
            const char* start = p_;
            p_ = endOfText(p_ + 1, end_);
            t.kind = TokenKind::Text;
            t.data = start;
            t.size = std::size_t(p_ - start);
            return t;
        }
        if (k & Ignored) {
            ++p_;
            continue;
        }
        ++p_;
        if (c == '{') {
            t.kind = TokenKind::GroupStart;
            return t;
        }
        if (c == '}') {
            t.kind = TokenKind::GroupEnd;
            return t;
        }
        // A backslash.
        if (p_ >= end_)
            break;
        const char e = *p_;
        if (cls(e) & Letter) {
            readWord(t);
            return t;
        }
        ++p_;
        if (e == '\'') {
            int v = 0;
            int digits = 0;
            while (digits < 2 && p_ < end_) {
                const int d = hexValue(*p_);
                if (d < 0)
                    break;
                v = v * 16 + d;
                ++p_;
                ++digits;
            }
            if (digits == 0)
                continue; // a broken escape carries nothing
            t.kind = TokenKind::Hex;
            t.param = v;
            return t;
        }
        t.kind = TokenKind::Symbol;
        t.param = static_cast<unsigned char>(e);
        return t;
    }
    t.kind = TokenKind::End;
    return t;
}

void Tokenizer::skipGroup()
{
    std::size_t depth = 1;
    while (p_ < end_) {
        const char c = *p_++;
        if (!(cls(c) & GroupByte))
            continue;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return;
        } else { // backslash
            if (p_ >= end_)
                return;
            if (cls(*p_) & Letter) {
                Token t;
                readWord(t); // passes over \bin data
            } else {
                ++p_; // \{ \} \\ and the rest are one character
            }
        }
    }
}

} // namespace ts::rtf
