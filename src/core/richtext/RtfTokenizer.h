#pragma once
// The lowest layer of the RTF reader: cuts raw bytes into groups, control
// words with their parameter, control symbols, hex escapes, binary data and
// runs of literal text. It knows nothing of what the words mean, except that
// \binN is followed by N raw bytes. It never reads outside [begin, end) and
// every call consumes at least one byte until the input is used up.

#include <cstddef>
#include <cstdint>

namespace ts::rtf {

enum class TokenKind : std::uint8_t {
    End,        // input used up
    GroupStart, // '{'
    GroupEnd,   // '}'
    Word,       // \letters[-digits] ; name in data/size, hasParam/param
    Symbol,     // \ and one non-letter; the character in param
    Hex,        // \'hh ; the byte in param
    Text,       // literal bytes, never holding \ { } or control bytes other than tab
    Binary,     // the raw bytes after \binN (N bounded by the input)
};

struct Token {
    TokenKind kind = TokenKind::End;
    const char* data = nullptr;
    std::size_t size = 0;
    bool hasParam = false;
    std::int32_t param = 0;
    std::uint32_t hash = 0; // Word: hashName() of its name
};

// The hash the tokenizer computes over control word names while it scans them.
constexpr std::uint32_t hashStep(std::uint32_t h, unsigned char c)
{
    return (h ^ c) * 16777619u;
}
constexpr std::uint32_t HashSeed = 2166136261u;
constexpr std::uint32_t hashName(const char* name, std::size_t size)
{
    std::uint32_t h = HashSeed;
    for (std::size_t i = 0; i < size; ++i)
        h = hashStep(h, static_cast<unsigned char>(name[i]));
    return h;
}

class Tokenizer {
public:
    Tokenizer(const char* begin, const char* end) : p_(begin), end_(end) {}

    Token next();

    // Skips to the end of the group the reader is in, consuming its closing
    // brace (or everything, when the input ends first). Nested groups, escaped
    // braces and \bin data are passed over; no recursion, so depth is free.
    void skipGroup();

    bool atEnd() const { return p_ >= end_; }

private:
    void readWord(Token& t);

    const char* p_;
    const char* end_;
};

} // namespace ts::rtf
