#pragma once
// What the pieces of the tests' help file reader share: failing with a
// message that names the place, and a bounds-checked little-endian cursor.
// Internal to support/HelpFileReader*.cpp.

#include "HelpFileReader.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace ts::hlpread::detail {

[[noreturn]] inline void fail(const QByteArray& what, const QString& message, qsizetype offset = -1)
{
    QString text = QString::fromLatin1(what) + QStringLiteral(": ") + message;
    if (offset >= 0)
        text += QStringLiteral(" at offset 0x") + QString::number(offset, 16);
    throw HelpFileError(text.toStdString());
}

inline QString hex(qint64 v) { return QStringLiteral("0x") + QString::number(v, 16); }

// Reads little-endian values from a byte range; every read is bounds-checked
// and reports the offset `base` + position, so that messages name the place
// in the file (or in the decompressed topic stream).
class Cursor {
public:
    Cursor(const QByteArray& data, QByteArray what, qsizetype base = 0, qsizetype from = 0, qsizetype to = -1)
        : d_(data), what_(std::move(what)), base_(base), pos_(from), end_(to < 0 ? data.size() : to)
    {
        if (end_ > d_.size() || from > end_)
            fail(what_, QStringLiteral("range past the end of the data"), base_ + from);
    }

    qsizetype pos() const { return pos_; }
    qsizetype left() const { return end_ - pos_; }
    bool atEnd() const { return pos_ >= end_; }
    qsizetype where() const { return base_ + pos_; }
    [[noreturn]] void error(const QString& message) const { fail(what_, message, where()); }
    [[noreturn]] void errorAt(const QString& message, qsizetype at) const { fail(what_, message, base_ + at); }

    void need(qsizetype n) const
    {
        if (n < 0 || left() < n)
            error(QStringLiteral("%1 bytes needed, %2 left").arg(n).arg(left()));
    }
    std::uint8_t u8()
    {
        need(1);
        return std::uint8_t(d_[pos_++]);
    }
    std::uint16_t u16()
    {
        need(2);
        const auto v = std::uint16_t(std::uint8_t(d_[pos_]) | std::uint8_t(d_[pos_ + 1]) << 8);
        pos_ += 2;
        return v;
    }
    std::int16_t s16() { return std::int16_t(u16()); }
    std::uint32_t u32()
    {
        need(4);
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | std::uint8_t(d_[pos_ + i]);
        pos_ += 4;
        return v;
    }
    std::int32_t s32() { return std::int32_t(u32()); }
    QByteArray bytes(qsizetype n)
    {
        need(n);
        const QByteArray out = d_.mid(pos_, n);
        pos_ += n;
        return out;
    }
    QByteArray stringz()
    {
        const qsizetype nul = d_.indexOf('\0', pos_);
        if (nul < 0 || nul >= end_)
            error(QStringLiteral("string without its terminating NUL"));
        const QByteArray out = d_.mid(pos_, nul - pos_);
        pos_ = nul + 1;
        return out;
    }
    void skip(qsizetype n)
    {
        need(n);
        pos_ += n;
    }
    bool peekLarge() const
    {
        need(1);
        return d_[pos_] & 1;
    }
    // The compressed integers of topic text and pictures.
    int cus() { return peekLarge() ? u16() >> 1 : u8() >> 1; }
    int css() { return peekLarge() ? int(u16() >> 1) - 16384 : int(u8() >> 1) - 64; }
    std::uint32_t cul() { return peekLarge() ? u32() >> 1 : u16() >> 1; }
    std::int32_t csl() { return peekLarge() ? std::int32_t(std::int64_t(u32() >> 1) - 0x40000000) : int(u16() >> 1) - 16384; }

private:
    const QByteArray& d_;
    QByteArray what_;
    qsizetype base_;
    qsizetype pos_;
    qsizetype end_;
};

inline std::int32_t readS32(const QByteArray& b)
{
    QByteArray copy = b;
    return Cursor(copy, "value").s32();
}

inline QByteArray fixedString(Cursor& c, int n)
{
    QByteArray b = c.bytes(n);
    const qsizetype nul = b.indexOf('\0');
    return nul < 0 ? b : b.left(nul);
}

// The topics of |TOPIC, checked record by record (HelpFileReaderTopics.cpp).
void readTopics(const InternalFile& f, HelpFile& out);

} // namespace ts::hlpread::detail
