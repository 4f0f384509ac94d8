// The visible rows of a table: their keys in table order with the values they are sorted by.
// Held in blocks of a few hundred rows, so that a row moved by a post is taken out and put back
// at its place without shifting the whole list.
#pragma once

#include <QByteArray>

#include <unordered_set>
#include <utility>
#include <vector>

namespace table {

// What a sort value holds; values of different kinds sort in this order, as SQLite sorts them.
enum class SortKind { Blank, Integer, Text, Bytes };

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
        std::vector<SortVal> vals; // stride_ per key
    };
    static constexpr int kBlock = 512;

    std::pair<int, int> locate(int pos) const; // block and offset of a position
    int blockStart(int block) const;
    const SortVal* valsOf(const Block& b, int offset) const {
        return stride_ ? &b.vals[std::size_t(offset) * stride_] : nullptr;
    }

    std::vector<Block> blocks_;
    int size_ = 0;
    int stride_ = 0;
    // The block last found by locate(), for walking the rows one by one.
    mutable int hintBlock_ = 0;
    mutable int hintStart_ = 0;
};

} // namespace table
