#pragma once
// A counted string: one length byte and N Windows-1252 character bytes on
// disk. In memory only the significant bytes are kept; a longer value is cut
// to its first N bytes when stored.

#include "Windows1252.h"

#include <QByteArray>
#include <QString>

namespace ts {

template <int N>
class CountedString {
    static_assert(N > 0 && N <= 255, "the length byte holds at most 255");

public:
    static constexpr int Capacity = N;

    CountedString() = default;
    explicit CountedString(const QString& text) { setText(text); }

    // Windows-1252 bytes, cut to the capacity.
    void setBytes(const QByteArray& bytes) { bytes_ = bytes.left(N); }
    const QByteArray& bytes() const { return bytes_; }

    // Unicode text; characters without a Windows-1252 form become '?'.
    // Callers that must not lose characters check cp1252::canEncode first.
    void setText(const QString& text) { setBytes(cp1252::encode(text.left(N))); }
    QString text() const { return cp1252::decode(bytes_); }

    int length() const { return int(bytes_.size()); }
    bool isEmpty() const { return bytes_.isEmpty(); }
    void clear() { bytes_.clear(); }

    friend bool operator==(const CountedString& a, const CountedString& b) { return a.bytes_ == b.bytes_; }

private:
    QByteArray bytes_;
};

} // namespace ts
