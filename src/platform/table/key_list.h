// The visible rows of a table: their keys in table order with the values they are sorted by.
// Held in blocks of a few hundred rows, so that a row moved by a post is taken out and put back
// at its place without shifting the whole list. A block keeps the sort values in compact arrays
// (a kind byte and an integer per value, the bytes of text values only in blocks that have any),
// so that the list of a large table is a few bytes a row.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

namespace table {

// What a sort value holds; values of different kinds sort in this order, as SQLite sorts them.
enum class SortKind : std::uint8_t { Blank, Integer, Text, Bytes };

struct SortVal {
    SortKind kind = SortKind::Blank;
    qint64 i = 0; // Integer
    QByteArray s; // Text (UTF-8) or Bytes
};

class KeyList {
public:
    // stride: sort values per row. The key breaks ties after them.
    void reset(int stride);
    // keys in table order, with stride sort values each.
    void assign(std::vector<qint64> keys, std::vector<SortVal> vals);
    void clear() { reset(stride_); }
    // Adds a row (stride sort values) after the last one: for filling the list in table order.
    void appendLast(qint64 key, const SortVal* vals);

    int size() const { return size_; }
    bool empty() const { return size_ == 0; }
    qint64 keyAt(int pos) const;
    int indexOf(qint64 key) const; // -1 when absent
    std::vector<qint64> keys() const;

    // Inserts a row at its place by its sort values and key; returns its position.
    int insertSorted(qint64 key, std::vector<SortVal> vals);
    void eraseAt(int pos);
    // Removes the rows with these keys; returns how many were removed.
    int eraseKeys(const std::unordered_set<qint64>& keys);

    // -1, 0 or 1 for row (a, ka) against row (b, kb).
    int compare(const SortVal* a, qint64 ka, const SortVal* b, qint64 kb) const;

private:
    struct Block {
        std::vector<qint64> keys;
        // stride_ per key: the kind of each sort value and, for Integer values, the integer.
        std::vector<SortKind> kinds;
        std::vector<qint64> ints;
        // stride_ per key when the block holds a Text or Bytes value, else empty.
        std::vector<QByteArray> texts;
    };
    static constexpr int kBlock = 512;

    std::pair<int, int> locate(int pos) const; // block and offset of a position
    int blockStart(int block) const;
    // -1, 0 or 1 for the row at offset of b against the row (v, key).
    int compareRow(const Block& b, int offset, const SortVal* v, qint64 key) const;
    // Stores the sort values of a row at offset of b (whose arrays have room for it).
    void storeVals(Block& b, int offset, const SortVal* vals) const;
    static bool hasText(const SortVal* vals, int n);

    std::vector<Block> blocks_;
    int size_ = 0;
    int stride_ = 0;
    // The block last found by locate(), for walking the rows one by one.
    mutable int hintBlock_ = 0;
    mutable int hintStart_ = 0;
};

} // namespace table
