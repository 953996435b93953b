#include "PhraseTable.h"

#include "ByteCursor.h"
#include "HelpFileFormat.h"
#include "Lz77Decoder.h"

namespace ts::helpfile::reading {

namespace {

const QString PhrasesFile = QStringLiteral("|Phrases");
const QString HallFile = QStringLiteral("|PhrIndex");

// A little-endian stream of bits, each 32-bit word read from its lowest bit.
class BitReader {
public:
    explicit BitReader(ByteCursor& c) : c_(c) {}
    int bit()
    {
        if (left_ == 0) {
            if (c_.left() < 4) {
                exhausted_ = true;
                return 0;
            }
            word_ = c_.u32();
            left_ = 32;
        }
        const int b = int(word_ & 1);
        word_ >>= 1;
        --left_;
        return b;
    }
    bool exhausted() const { return exhausted_; }

private:
    ByteCursor& c_;
    std::uint32_t word_ = 0;
    int left_ = 0;
    bool exhausted_ = false;
};

} // namespace

void PhraseTable::read(const ContainerReader& container, bool oldFormat, ReadProblems& problems)
{
    if (container.contains("|PhrIndex") && container.contains("|PhrImage"))
        readHall(container.data("|PhrIndex"), container.data("|PhrImage"), problems);
    else if (container.contains("|Phrases"))
        readPhrases(container.data("|Phrases"), oldFormat, problems);
}

void PhraseTable::readPhrases(const QByteArray& data, bool oldFormat, ReadProblems& problems)
{
    ByteCursor c(data);
    int count = c.u16();
    if (count == format::PhraseViewerMagic) { // Multimedia Viewer: the magic comes first
        count = c.u16();
        c.u16();
        c.u32();
        c.skip(30);
    } else {
        c.u16(); // 0x0100
    }
    const std::uint32_t textSize = oldFormat ? 0 : c.u32();
    std::vector<qsizetype> offsets;
    offsets.reserve(size_t(qMin<qsizetype>(count + 1, c.left() / 2)));
    for (int i = 0; i <= count && c.ok(); ++i)
        offsets.push_back(c.u16());
    if (!c.ok() || offsets.empty()) {
        problems.add(PhrasesFile, c.pos(), QStringLiteral("the phrase table is cut short; compressed text cannot be expanded"));
        return;
    }
    const QByteArray rest = data.mid(c.pos());
    if (oldFormat || qsizetype(textSize) == rest.size()) {
        text_ = rest;
    } else {
        const Lz77Result text = lz77Decompress(rest, qMin<qsizetype>(textSize, lz77MaxOutput(rest.size())));
        text_ = text.bytes;
        if (text.damaged || text_.size() < qsizetype(textSize))
            problems.add(PhrasesFile, c.pos(), QStringLiteral("the phrase text is damaged; some phrases are lost"));
    }
    starts_.clear();
    for (const qsizetype offset : offsets)
        starts_.push_back(qBound<qsizetype>(0, offset - offsets.front(), text_.size()));
    for (size_t i = 1; i < starts_.size(); ++i)
        starts_[i] = qMax(starts_[i], starts_[i - 1]);
    method_ = Method::Phrases;
}

void PhraseTable::readHall(const QByteArray& index, const QByteArray& image, ReadProblems& problems)
{
    ByteCursor c(index);
    const std::uint32_t magic = c.u32();
    const std::uint32_t count = c.u32();
    c.u32();
    const std::uint32_t imageSize = c.u32();
    const std::uint32_t storedSize = c.u32();
    c.u32();
    const int bitCount = c.u16() & 0x0F;
    c.u16();
    if (!c.ok() || magic != format::HallIndexMagic || qint64(count) > c.left() * 8) {
        problems.add(HallFile, 0, QStringLiteral("the phrase index is damaged; compressed text cannot be expanded"));
        return;
    }
    if (storedSize != imageSize && qsizetype(imageSize) != image.size()) {
        const Lz77Result text = lz77Decompress(image, qMin<qsizetype>(imageSize, lz77MaxOutput(image.size())));
        text_ = text.bytes;
        if (text.damaged || text_.size() < qsizetype(imageSize))
            problems.add(QStringLiteral("|PhrImage"), 0, QStringLiteral("the phrase text is damaged; some phrases are lost"));
    } else {
        text_ = image;
    }
    BitReader bits(c);
    starts_.assign(1, 0);
    starts_.reserve(count + 1);
    qsizetype at = 0;
    for (std::uint32_t k = 0; k < count && !bits.exhausted(); ++k) {
        qsizetype length = 1;
        while (bits.bit() && !bits.exhausted())
            length += qsizetype(1) << bitCount;
        for (int i = 0; i < qMax(bitCount, 1); ++i)
            length += qsizetype(bits.bit()) << i;
        at = qMin(at + length, text_.size());
        starts_.push_back(at);
    }
    if (bits.exhausted())
        problems.add(HallFile, c.pos(), QStringLiteral("the phrase lengths are cut short; some phrases are lost"));
    method_ = Method::Hall;
}

bool PhraseTable::appendPhrase(QByteArray& out, qsizetype phrase) const
{
    if (phrase < 0 || phrase + 1 >= qsizetype(starts_.size()))
        return false;
    out.append(text_.constData() + starts_[size_t(phrase)], starts_[size_t(phrase) + 1] - starts_[size_t(phrase)]);
    return true;
}

QByteArray PhraseTable::expand(const char* stored, qsizetype size, qsizetype length, bool* damaged) const
{
    QByteArray out;
    out.reserve(length);
    qsizetype i = 0;
    bool bad = false;
    while (i < size && out.size() < length && !bad) {
        const auto b = std::uint8_t(stored[i++]);
        if (method_ == Method::Phrases) {
            if (b == 0 || b > format::MaxPhraseCodeByte) {
                out.append(char(b));
                continue;
            }
            if (i >= size) {
                bad = true;
                break;
            }
            const unsigned code = 256u * (b - 1) + std::uint8_t(stored[i++]);
            bad = !appendPhrase(out, code >> 1);
            if (code & 1)
                out.append(' ');
        } else if ((b & 1) == 0) {
            bad = !appendPhrase(out, b >> 1);
        } else if ((b & 3) == 1) {
            if (i >= size) {
                bad = true;
                break;
            }
            bad = !appendPhrase(out, 128 + (b >> 2) * 256 + std::uint8_t(stored[i++]));
        } else if ((b & 7) == 3) {
            const qsizetype n = qMin<qsizetype>((b >> 3) + 1, size - i);
            out.append(stored + i, n);
            i += n;
        } else {
            out.append(QByteArray((b >> 4) + 1, (b & 0x0F) == 0x07 ? ' ' : '\0'));
        }
    }
    if (out.size() > length)
        out.truncate(length);
    if (damaged)
        *damaged = bad || out.size() < length;
    return out;
}

} // namespace ts::helpfile::reading
