// LZ77 as the topic blocks use it. Small inputs whose best encoding is known
// are checked byte for byte (a longer output is a fault too, not only a wrong
// one); random inputs and inputs with repeats at the edge of the window go
// through every operation of a growing block and are decoded with the help
// file reader's own decoder. The program's decoder, which reads help files
// that may be damaged, is checked on hand-made input at its edges.

#include "HelpFileReader.h"

#include "helpfile/Lz77.h"
#include "helpfile/Lz77Decoder.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace ts::helpfile;
using ts::hlpread::lz77Decompress;

namespace {

// Bytes stored without any back-reference: a zero flag byte before every
// eight of them.
QByteArray literalsOnly(const QByteArray& bytes)
{
    QByteArray out;
    for (qsizetype at = 0; at < bytes.size(); at += 8)
        out += '\0' + bytes.mid(at, 8);
    return out;
}

// The two bytes of a back-reference.
QByteArray backReference(int distance, int length)
{
    const unsigned word = unsigned(length - 3) << 12 | unsigned(distance - 1);
    const char bytes[] = {char(word & 0xFF), char(word >> 8)};
    return QByteArray(bytes, 2);
}

// `count` bytes in which no three bytes in a row occur twice, so that no
// back-reference can be made into them: pairs of a byte with its top bit set
// and one without, every pair different. All other bytes of the tests are
// below 0x80, so no three of them match three of these either.
QByteArray withoutRepeats(qsizetype count)
{
    QByteArray out;
    for (int k = 0; out.size() < count; ++k) {
        out += char(0x80 | (k >> 7));
        out += char(k & 0x7F);
    }
    out.truncate(count);
    return out;
}

// Text of few letters, so that repeats and hash chains are everywhere.
QByteArray fewLetters(QRandomGenerator& random, qsizetype count)
{
    QByteArray out(count, '\0');
    for (char& c : out)
        c = char('a' + random.bounded(4));
    return out;
}

// A length that is rarely a multiple of 8, so that groups end part-full.
qsizetype oddLength(QRandomGenerator& random, int most)
{
    return random.bounded(most / 8) * 8 + 1 + random.bounded(7);
}

QByteArray compressedPieces(std::initializer_list<QByteArray> pieces)
{
    Lz77Block block;
    for (const QByteArray& piece : pieces)
        block.append(piece);
    return block.compressed();
}

} // namespace

TEST(Lz77, SmallInputsGetTheirBestEncoding)
{
    const struct {
        const char* what;
        QByteArray input, encoded;
    } cases[] = {
        {"nothing", QByteArray(), QByteArray()},
        {"a repeat two bytes long stays literal", "abXab", QByteArray("\0abXab", 6)},
        {"a near miss stays literal", "abcXabd", QByteArray("\0abcXabd", 8)},
        {"the shortest repeat, three bytes", "abcXabc", "\x10" "abcX" + backReference(4, 3)},
        {"distance 1, overlapping itself", "aaaa", "\x02" "a" + backReference(1, 3)},
        {"overlapping at a longer distance", "abcabcabc", "\x08" "abc" + backReference(3, 6)},
        {"the longest repeat, 18 bytes, then a literal", QByteArray(20, 'a'),
         "\x02" "a" + backReference(1, 18) + "a"},
        {"of equal repeats the nearest", "abcXabcYabc",
         "\x50" "abcX" + backReference(4, 3) + "Y" + backReference(4, 3)},
        {"a longer repeat farther back before a shorter near one", "abcdXabcYabcd",
         "\xA0" "abcdX" + backReference(5, 3) + "Y" + backReference(9, 4)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lz77Compress(c.input).toHex(' '), c.encoded.toHex(' ')) << c.what;
        EXPECT_EQ(lz77Decompress(c.encoded), c.input) << c.what;
    }

    // 19 bytes repeated: one back-reference of 18, the last byte literal, in
    // the third group.
    const QByteArray nineteen("ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(lz77Compress(nineteen + nineteen).toHex(' '),
              QByteArray(literalsOnly(nineteen.left(16)) + "\x08" + nineteen.mid(16) + backReference(19, 18) + "S")
                  .toHex(' '));

    // A repeat whose first bytes were appended earlier is found all the same,
    // also when they were the last three bytes of an append.
    EXPECT_EQ(compressedPieces({"ab", "cXabc"}).toHex(' '), lz77Compress("abcXabc").toHex(' '));
    EXPECT_EQ(compressedPieces({"abc", "abc"}).toHex(' '), QByteArray("\x08" "abc" + backReference(3, 3)).toHex(' '));
}

TEST(Lz77, RepeatsReachBackExactlyTheWindow)
{
    // 4096 bytes back is the farthest a back-reference reaches; 4097 back
    // the bytes are literals.
    for (const QByteArray& repeat : {QByteArray("abc"), QByteArray("ABCDEFGHIJKLMNOPQR")}) {
        const QByteArray atEdge = repeat + withoutRepeats(4096 - repeat.size()) + repeat;
        EXPECT_EQ(lz77Compress(atEdge).toHex(),
                  QByteArray(literalsOnly(atEdge.left(4096)) + '\x01' + backReference(4096, int(repeat.size()))).toHex())
            << repeat.constData();
        const QByteArray pastEdge = repeat + withoutRepeats(4097 - repeat.size()) + repeat;
        EXPECT_EQ(lz77Compress(pastEdge).toHex(), literalsOnly(pastEdge).toHex()) << repeat.constData();
        EXPECT_EQ(lz77Decompress(lz77Compress(pastEdge)), pastEdge);
    }

    // Repeats of every length placed 4095 to 4098 bytes after their first
    // copy, behind text whose own repeats are near: all decode back, also
    // when the block grows piece by piece.
    QRandomGenerator random(23);
    for (int distance : {4095, 4096, 4097, 4098}) {
        QByteArray data = fewLetters(random, 300) + withoutRepeats(distance + 400);
        for (int length = 3; length <= 20; ++length)
            data += data.mid(data.size() - distance, length) + 'z';
        EXPECT_EQ(lz77Decompress(lz77Compress(data)), data) << distance;
        Lz77Block pieces;
        for (qsizetype at = 0; at < data.size(); at += 777)
            pieces.append(data.mid(at, 777));
        EXPECT_EQ(lz77Decompress(pieces.compressed()), data) << distance;
    }
}

TEST(Lz77, RandomInputsRoundTripThroughEveryOperation)
{
    QRandomGenerator random(61);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        // Every fifth round the checkpoint falls inside the first group, after
        // a back-reference.
        const QByteArray kept =
            round % 5 ? fewLetters(random, oddLength(random, 3000)) : "aaaa" + fewLetters(random, round % 6);
        const QByteArray more = fewLetters(random, oddLength(random, 2000));
        // Taken back later; it shares letters with `more`, so that anything it
        // leaves in the match chains would be found.
        const QByteArray discarded = round % 2 ? fewLetters(random, oddLength(random, 600)) : more.left(more.size() / 2);

        // Grown piece by piece: the sizes agree with the bytes, which decode back.
        Lz77Block grown;
        qsizetype at = 0;
        const QByteArray all = kept + more;
        while (at < all.size()) {
            const qsizetype n = 1 + random.bounded(qsizetype(300));
            grown.append(all.mid(at, n));
            at += n;
            ASSERT_EQ(grown.rawSize(), qMin(at, all.size()));
            ASSERT_EQ(grown.compressedSize(), grown.compressed().size());
        }
        EXPECT_EQ(lz77Decompress(grown.compressed()), all);

        Lz77Block direct;
        direct.append(kept);
        direct.append(more);
        EXPECT_EQ(lz77Decompress(direct.compressed()), all);

        // Appending, taking it back and appending other bytes gives what
        // appending only the kept bytes gives, also twice over.
        Lz77Block taken;
        taken.append(kept);
        const Lz77Block::Checkpoint mark = taken.checkpoint();
        const QByteArray atMark = taken.compressed();
        for (int again = 0; again < 2; ++again) {
            taken.append(discarded);
            taken.rewind(mark);
            ASSERT_EQ(taken.compressed(), atMark);
            ASSERT_EQ(taken.rawSize(), kept.size());
        }
        taken.append(more);
        EXPECT_EQ(taken.compressed(), direct.compressed());

        // A new block resumed at the checkpoint of one that went on with
        // other bytes continues as if it had appended the kept bytes itself.
        Lz77Block earlier;
        earlier.append(kept);
        earlier.append(discarded);
        Lz77Block resumed;
        resumed.resume(kept + discarded, earlier.compressed(), mark);
        EXPECT_EQ(resumed.compressed(), atMark);
        resumed.append(more);
        EXPECT_EQ(resumed.compressed(), direct.compressed());

        // A checkpoint of the empty block, and clearing.
        Lz77Block fresh;
        const Lz77Block::Checkpoint empty = fresh.checkpoint();
        fresh.append(discarded);
        fresh.rewind(empty);
        fresh.append(all);
        EXPECT_EQ(fresh.compressed(), lz77Compress(all));
        fresh.clear();
        EXPECT_EQ(fresh.compressedSize(), 0);
        fresh.append(kept);
        EXPECT_EQ(fresh.compressed(), lz77Compress(kept));
    }

    // Text compresses well; bytes without repeats grow by their flag bytes only.
    QByteArray text;
    for (int i = 0; i < 400; ++i)
        text += "The quick brown fox " + QByteArray::number(i % 37) + " jumps; ";
    EXPECT_LT(lz77Compress(text).size(), text.size() / 4);
    const QByteArray plain = withoutRepeats(5001);
    EXPECT_EQ(lz77Compress(plain), literalsOnly(plain));
}

TEST(Lz77, ReaderDecodesEveryEdgeAndStopsAtBoundsAndDamage)
{
    const QByteArray plain = withoutRepeats(4096);
    const QByteArray aaaa = "\x02" "a" + backReference(1, 3);
    // Nearly as many bytes out as the input's size allows: after a literal,
    // nothing but longest references.
    QByteArray densest = "\xFE" "a" + backReference(1, 18).repeated(7);
    for (int group = 0; group < 20; ++group)
        densest += '\xFF' + backReference(1, 18).repeated(8);
    // Flag 0x35 mixes both kinds in all eight items (reversed bits give
    // other bytes); the last group ends after two of the items its flag marks.
    const QByteArray mixed = literalsOnly("abcdefgh") + "\x35" + backReference(8, 3) + "X" + backReference(1, 4) + "Y"
                             + backReference(17, 5) + backReference(2, 3) + "ZW" + "\xFA" "Q" + backReference(3, 3);
    const struct {
        const char* what;
        QByteArray input;
        qsizetype maxOutput;
        QByteArray decoded;
        bool damaged = false, cutShort = false;
    } cases[] = {
        {"nothing", {}, 100, {}},
        {"distance 1, overlapping itself", aaaa, 100, "aaaa"},
        {"the shortest reference, back to the first byte", "\x08" "abc" + backReference(3, 3), 100, "abcabc"},
        {"the longest reference", "\x04" "ab" + backReference(2, 18), 100, QByteArray("ab").repeated(10)},
        {"the farthest reference", literalsOnly(plain) + '\x01' + backReference(4096, 3), 5000, plain + plain.left(3)},
        {"all eight items, then a group cut short", mixed, 100, "abcdefgh" "abcX" "XXXX" "Y" "abcde" "ded" "ZW" "Q" "ZWQ"},
        {"the densest input", densest, 1 << 20, QByteArray(1 + 7 * 18 + 20 * 144, 'a')},
        {"output exactly at the bound", aaaa, 4, "aaaa"},
        {"a reference one byte past the bound", aaaa, 3, "aaa", false, true},
        {"a literal one byte past the bound", QByteArray("\0abcde", 6), 4, "abcd", false, true},
        {"before the start of the output", "\x01" + backReference(1, 3), 100, {}, true},
        {"one byte before the start; nothing after it is read", "\x08" "abc" + backReference(4, 3) + "d", 100, "abc", true},
        {"the input ends inside a reference", QByteArray("\x08" "abc\0", 5), 100, "abc"},
    };
    for (const auto& c : cases) {
        const reading::Lz77Result result = reading::lz77Decompress(c.input, c.maxOutput);
        EXPECT_EQ(result.bytes, c.decoded) << c.what;
        EXPECT_EQ(result.damaged, c.damaged) << c.what;
        EXPECT_EQ(result.cutShort, c.cutShort) << c.what;
    }

    // What the compiler packs comes back whole when the bound is its size,
    // and one byte short, saying so, when the bound is one less.
    QRandomGenerator random(29);
    std::vector<QByteArray> inputs;
    for (qsizetype size : {1, 7, 9, 3001})
        inputs.push_back(fewLetters(random, size));
    for (int distance : {4096, 4097}) {
        QByteArray data = fewLetters(random, 99) + withoutRepeats(distance);
        inputs.push_back(data + data.mid(data.size() - distance, 18) + 'z');
    }
    for (const QByteArray& input : inputs) {
        const QByteArray packed = lz77Compress(input);
        const reading::Lz77Result whole = reading::lz77Decompress(packed, input.size());
        EXPECT_EQ(whole.bytes, input) << input.size();
        EXPECT_FALSE(whole.cutShort || whole.damaged) << input.size();
        const reading::Lz77Result less = reading::lz77Decompress(packed, input.size() - 1);
        EXPECT_EQ(less.bytes, input.left(input.size() - 1)) << input.size();
        EXPECT_TRUE(less.cutShort) << input.size();
    }
}
