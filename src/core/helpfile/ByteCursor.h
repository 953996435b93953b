#pragma once
// Reads little-endian values and the compressed integers of the help file
// from a range of bytes without ever reading outside it. A read past the end
// returns 0 (or what is left) and marks the cursor failed; the reader checks
// ok() where a failure matters and goes on with what it has.

#include <QByteArray>
#include <cstdint>

namespace ts::helpfile::reading {

class ByteCursor {
public:
    ByteCursor() = default;
    ByteCursor(const char* data, qsizetype size) : data_(data), end_(size < 0 ? 0 : size) {}
    // The bytes [from, to) of `bytes` (to -1: to the end), clamped to the array.
    explicit ByteCursor(const QByteArray& bytes, qsizetype from = 0, qsizetype to = -1)
        : data_(bytes.constData()), end_(bytes.size())
    {
        if (to >= 0 && to < end_)
            end_ = to;
        pos_ = from < 0 ? 0 : (from > end_ ? end_ : from);
        if (from > end_ || from < 0)
            failed_ = true;
    }

    // The cursor points into the array: a temporary would be gone before it is read.
    ByteCursor(QByteArray&&, qsizetype = 0, qsizetype = -1) = delete;

    bool ok() const { return !failed_; }
    void fail() { failed_ = true; }
    qsizetype pos() const { return pos_; }
    qsizetype size() const { return end_; }
    qsizetype left() const { return end_ - pos_; }
    bool atEnd() const { return pos_ >= end_; }
    const char* data() const { return data_; }
    void seek(qsizetype pos)
    {
        if (pos < 0 || pos > end_) {
            failed_ = true;
            pos_ = end_;
        } else {
            pos_ = pos;
        }
    }

    bool has(qsizetype n)
    {
        if (n >= 0 && left() >= n)
            return true;
        failed_ = true;
        pos_ = end_;
        return false;
    }
    std::uint8_t peek() const { return pos_ < end_ ? std::uint8_t(data_[pos_]) : 0; }
    std::uint8_t u8() { return has(1) ? std::uint8_t(data_[pos_++]) : 0; }
    std::uint16_t u16()
    {
        if (!has(2))
            return 0;
        const auto v = std::uint16_t(std::uint8_t(data_[pos_]) | std::uint8_t(data_[pos_ + 1]) << 8);
        pos_ += 2;
        return v;
    }
    std::int16_t s16() { return std::int16_t(u16()); }
    std::uint32_t u32()
    {
        if (!has(4))
            return 0;
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | std::uint8_t(data_[pos_ + i]);
        pos_ += 4;
        return v;
    }
    std::int32_t s32() { return std::int32_t(u32()); }
    void skip(qsizetype n)
    {
        if (has(n))
            pos_ += n;
    }
    QByteArray bytes(qsizetype n)
    {
        if (!has(n))
            return QByteArray();
        const QByteArray out(data_ + pos_, n);
        pos_ += n;
        return out;
    }
    // A NUL-terminated string; without its NUL, what is left (and failed).
    QByteArray stringz()
    {
        const qsizetype start = pos_;
        while (pos_ < end_ && data_[pos_] != '\0')
            ++pos_;
        const QByteArray out(data_ + start, pos_ - start);
        if (pos_ < end_)
            ++pos_;
        else
            failed_ = true;
        return out;
    }
    // A NUL-padded string in a slot of `n` bytes; it may fill the slot.
    QByteArray fixedString(qsizetype n)
    {
        QByteArray slot = bytes(n);
        const qsizetype nul = slot.indexOf('\0');
        return nul < 0 ? slot : slot.left(nul);
    }

    // The compressed integers: bit 0 of the first byte chooses the long form.
    int cus() { return (peek() & 1) ? int(u16() >> 1) : int(u8() >> 1); }
    int css() { return (peek() & 1) ? int(u16() >> 1) - 16384 : int(u8() >> 1) - 64; }
    std::uint32_t cul() { return (peek() & 1) ? u32() >> 1 : std::uint32_t(u16() >> 1); }
    std::int32_t csl()
    {
        return (peek() & 1) ? std::int32_t(std::int64_t(u32() >> 1) - 0x40000000) : int(u16() >> 1) - 16384;
    }

private:
    const char* data_ = nullptr;
    qsizetype pos_ = 0;
    qsizetype end_ = 0;
    bool failed_ = false;
};

} // namespace ts::helpfile::reading
