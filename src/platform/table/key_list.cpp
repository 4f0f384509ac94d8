#include "platform/table/key_list.h"

#include <algorithm>
#include <cassert>

namespace table {

void KeyList::reset(int stride) {
    blocks_.clear();
    size_ = 0;
    stride_ = stride;
    hintBlock_ = hintStart_ = 0;
}

void KeyList::assign(std::vector<qint64> keys, std::vector<SortVal> vals) {
    reset(stride_);
    const std::size_t n = keys.size();
    for (std::size_t start = 0; start < n; start += kBlock) {
        const std::size_t end = std::min(n, start + kBlock);
        Block b;
        b.keys.assign(keys.begin() + start, keys.begin() + end);
        if (stride_)
            b.vals.assign(std::make_move_iterator(vals.begin() + start * stride_),
                          std::make_move_iterator(vals.begin() + end * stride_));
        blocks_.push_back(std::move(b));
    }
    size_ = static_cast<int>(n);
}

std::pair<int, int> KeyList::locate(int pos) const {
    assert(pos >= 0 && pos < size_);
    int b = 0;
    int start = 0;
    if (hintBlock_ < static_cast<int>(blocks_.size()) && pos >= hintStart_) {
        b = hintBlock_;
        start = hintStart_;
    }
    while (pos >= start + static_cast<int>(blocks_[b].keys.size())) {
        start += static_cast<int>(blocks_[b].keys.size());
        ++b;
    }
    hintBlock_ = b;
    hintStart_ = start;
    return {b, pos - start};
}

int KeyList::blockStart(int block) const {
    int start = 0;
    for (int b = 0; b < block; ++b)
        start += static_cast<int>(blocks_[b].keys.size());
    return start;
}

qint64 KeyList::keyAt(int pos) const {
    const auto [b, o] = locate(pos);
    return blocks_[b].keys[o];
}

int KeyList::indexOf(qint64 key) const {
    int start = 0;
    for (const Block& b : blocks_) {
        const auto it = std::find(b.keys.begin(), b.keys.end(), key);
        if (it != b.keys.end())
            return start + static_cast<int>(it - b.keys.begin());
        start += static_cast<int>(b.keys.size());
    }
    return -1;
}

std::vector<qint64> KeyList::keys() const {
    std::vector<qint64> out;
    out.reserve(size_);
    for (const Block& b : blocks_)
        out.insert(out.end(), b.keys.begin(), b.keys.end());
    return out;
}

int KeyList::compare(const SortVal* a, qint64 ka, const SortVal* b, qint64 kb) const {
    for (int c = 0; c < stride_; ++c) {
        if (a[c].kind != b[c].kind)
            return a[c].kind < b[c].kind ? -1 : 1;
        if (a[c].kind == SortKind::Integer && a[c].i != b[c].i)
            return a[c].i < b[c].i ? -1 : 1;
        if (a[c].kind == SortKind::Text || a[c].kind == SortKind::Bytes) {
            const int r = a[c].s.compare(b[c].s);
            if (r != 0)
                return r < 0 ? -1 : 1;
        }
    }
    return ka < kb ? -1 : (ka > kb ? 1 : 0);
}

int KeyList::insertSorted(qint64 key, std::vector<SortVal> vals) {
    hintBlock_ = hintStart_ = 0;
    const SortVal* v = vals.data();
    if (blocks_.empty())
        blocks_.emplace_back();
    // The first block whose last row sorts after the new one takes it (else the last block).
    int lo = 0;
    int hi = static_cast<int>(blocks_.size()) - 1;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        const Block& m = blocks_[mid];
        const int last = static_cast<int>(m.keys.size()) - 1;
        if (compare(valsOf(m, last), m.keys[last], v, key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    Block& blk = blocks_[lo];
    int a = 0;
    int z = static_cast<int>(blk.keys.size());
    while (a < z) {
        const int mid = (a + z) / 2;
        if (compare(valsOf(blk, mid), blk.keys[mid], v, key) < 0)
            a = mid + 1;
        else
            z = mid;
    }
    blk.keys.insert(blk.keys.begin() + a, key);
    if (stride_)
        blk.vals.insert(blk.vals.begin() + std::ptrdiff_t(a) * stride_,
                        std::make_move_iterator(vals.begin()), std::make_move_iterator(vals.end()));
    ++size_;
    const int pos = blockStart(lo) + a;
    if (static_cast<int>(blk.keys.size()) > 2 * kBlock) {
        Block tail;
        tail.keys.assign(blk.keys.begin() + kBlock, blk.keys.end());
        blk.keys.resize(kBlock);
        if (stride_) {
            tail.vals.assign(std::make_move_iterator(blk.vals.begin() + kBlock * stride_),
                             std::make_move_iterator(blk.vals.end()));
            blk.vals.resize(std::size_t(kBlock) * stride_);
        }
        blocks_.insert(blocks_.begin() + lo + 1, std::move(tail));
    }
    return pos;
}

void KeyList::eraseAt(int pos) {
    const auto [b, o] = locate(pos);
    hintBlock_ = hintStart_ = 0;
    Block& blk = blocks_[b];
    blk.keys.erase(blk.keys.begin() + o);
    if (stride_)
        blk.vals.erase(blk.vals.begin() + std::ptrdiff_t(o) * stride_,
                       blk.vals.begin() + std::ptrdiff_t(o + 1) * stride_);
    if (blk.keys.empty())
        blocks_.erase(blocks_.begin() + b);
    --size_;
}

int KeyList::eraseKeys(const std::unordered_set<qint64>& keys) {
    hintBlock_ = hintStart_ = 0;
    int removed = 0;
    for (Block& blk : blocks_) {
        std::size_t w = 0;
        for (std::size_t r = 0; r < blk.keys.size(); ++r) {
            if (keys.count(blk.keys[r])) {
                ++removed;
                continue;
            }
            if (w != r) {
                blk.keys[w] = blk.keys[r];
                for (int c = 0; c < stride_; ++c)
                    blk.vals[w * stride_ + c] = std::move(blk.vals[r * stride_ + c]);
            }
            ++w;
        }
        blk.keys.resize(w);
        blk.vals.resize(w * stride_);
    }
    blocks_.erase(std::remove_if(blocks_.begin(), blocks_.end(),
                                 [](const Block& b) { return b.keys.empty(); }),
                  blocks_.end());
    size_ -= removed;
    return removed;
}

} // namespace table
