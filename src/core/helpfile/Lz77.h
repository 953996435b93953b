#pragma once
// The LZ77 compression of topic blocks: groups of a flag byte and up to eight
// items, each a literal byte (flag bit 0) or a back-reference (flag bit 1) of
// 3..18 bytes at a distance of 1..4096, stored as the word
// (length-3) << 12 | (distance-1).
//
// Lz77Block compresses one block's data as it grows: appended bytes are
// compressed at once, referring back only into the same block, so the
// compressed size is known after every record the layout adds.

#include "HelpFileFormat.h"

#include <QByteArray>
#include <vector>

namespace ts::helpfile {

class Lz77Block {
public:
    Lz77Block();

    // Compresses `bytes` after what the block already holds. Matches never
    // reach past the end of the bytes appended so far.
    void append(const QByteArray& bytes);

    qsizetype rawSize() const { return qsizetype(raw_.size()); }
    qsizetype compressedSize() const { return qsizetype(out_.size()); }
    QByteArray compressed() const;

    // Back to an empty block.
    void clear();

    // The state between two appends, from which compression can go on
    // again later with other bytes.
    struct Checkpoint {
        qsizetype Raw = 0, Out = 0, FlagAt = -1;
        int Items = format::Lz77ItemsPerFlag;
        char Flag = 0;
    };
    Checkpoint checkpoint() const;
    // Takes back everything appended since the checkpoint.
    void rewind(const Checkpoint& checkpoint);
    // Continues from a checkpoint of an earlier block whose first
    // `checkpoint.Raw` bytes were `raw` and whose compressed bytes began
    // with `compressed`: the result is as if those bytes had just been
    // appended.
    void resume(const QByteArray& raw, const QByteArray& compressed, const Checkpoint& checkpoint);

private:
    void emitLiteral(char c);
    void emitMatch(int distance, int length);
    void insertHash(qsizetype pos);

    std::vector<char> raw_;
    std::vector<char> out_;
    qsizetype flagAt_ = -1; // the open group's flag byte in out_
    int items_ = format::Lz77ItemsPerFlag; // items in the open group
    std::vector<int> head_; // latest position of each 3-byte hash, or -1
    std::vector<int> prev_; // earlier position with the same hash, per position
};

// The whole of `data` as one block.
QByteArray lz77Compress(const QByteArray& data);

} // namespace ts::helpfile
