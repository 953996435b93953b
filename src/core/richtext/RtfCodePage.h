#pragma once
// The code pages of RTF text: \'hh escapes and raw 8-bit bytes mean characters
// of the code page in force (the font's \fcharsetN or \cpgN, else the
// document's \ansicpgN, \mac, \pc or \pca). The tables come from the C
// library's iconv, so every code page it knows is read the way it defines it;
// the Mac pages it has no name for come from tables of our own
// (RtfCodePageTables.h), and UTF-8 (65001) is read here. Any other code page
// reads as Windows-1252, and so do single bytes a code page leaves undefined
// and bytes that are no UTF-8 (so decoding never fails and never drops a
// byte).
//
// Decoders are cached per thread (an iconv descriptor carries conversion state
// and must not be shared); the references get() hands out stay valid for the
// thread's lifetime.

#include <array>
#include <cstddef>
#include <string>

namespace ts::rtf {

constexpr int Windows1252CodePage = 1252;

// The code page a \fcharsetN names, or 0 when it names none (1 "default",
// 2 symbol, values we do not know): the next source in line decides then.
int codePageForCharset(int charset);

class CodePage {
public:
    // The decoder for a Windows code page number. Never fails: a number the
    // converter does not know gives the Windows-1252 decoder.
    static const CodePage& get(int number);

    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;
    ~CodePage();

    int number() const { return number_; }
    bool doubleByte() const { return doubleByte_; }
    // How many bytes follow `b` in the character it starts: 1 after a lead
    // byte of a double-byte page, up to 3 after a UTF-8 lead, else 0.
    int trailBytes(unsigned char b) const;
    // Each byte read alone (a lead byte alone reads as Windows-1252).
    const std::array<char16_t, 256>& single() const { return single_; }

    // Appends the characters of `size` bytes to `out`. `lead` carries the
    // start of a character that ends one call over to the next (-1 = none; a
    // lead byte, or up to three bytes of UTF-8), so a character stays whole
    // when its bytes stand as \'hh escapes or a formatting change falls
    // between them.
    void decode(const unsigned char* src, std::size_t size, std::u16string& out, int& lead) const;
    // A lead byte left without its trail, or an unfinished UTF-8 sequence, is
    // read byte by byte.
    void flushLead(std::u16string& out, int& lead) const;

private:
    explicit CodePage(int number);
    void decodeDoubleByte(const unsigned char* src, std::size_t size, std::u16string& out, int& lead) const;
    void decodeUtf8(const unsigned char* src, std::size_t size, std::u16string& out, int& lead) const;
    // Appends the character of a lead and trail byte; false when the code
    // page does not define the pair.
    bool appendPair(unsigned char lead, unsigned char trail, std::u16string& out) const;

    friend struct CodePageCache;

    int number_ = Windows1252CodePage;
    bool doubleByte_ = false;
    bool utf8_ = false;
    void* iconv_ = nullptr; // iconv_t; kept open for double-byte code pages
    std::array<char16_t, 256> single_{};
    std::array<bool, 256> lead_{};
    // What the converter made of each lead/trail pair asked so far, indexed
    // lead * 256 + trail: 0 not asked yet, NoPair undefined, Wide outside
    // the 16-bit range (asked again each time).
    mutable std::u16string pairs_;
};

} // namespace ts::rtf
