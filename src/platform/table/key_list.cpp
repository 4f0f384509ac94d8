#include "platform/table/key_list.h"

#include <algorithm>
#include <cassert>

namespace table {

namespace {

// -1, 0 or 1 for two sort values of the given kinds (integers and bytes as they apply).
int compareValue(SortKind ka, qint64 ia, const QByteArray* sa, SortKind kb, qint64 ib,
                 const QByteArray* sb) {
    if (ka != kb)
        return ka < kb ? -1 : 1;
    if (ka == SortKind::Integer && ia != ib)
        return ia < ib ? -1 : 1;
    if (ka == SortKind::Text || ka == SortKind::Bytes) {
        const int r = sa->compare(*sb);
        if (r != 0)
            return r < 0 ? -1 : 1;
    }
    return 0;
}

template <typename T> void eraseRange(std::vector<T>& v, std::size_t from, std::size_t count) {
    v.erase(v.begin() + std::ptrdiff_t(from), v.begin() + std::ptrdiff_t(from + count));
}

} // namespace

void KeyList::reset(int stride) {
    blocks_.clear();
    size_ = 0;
    stride_ = stride;
    hintBlock_ = hintStart_ = 0;
}

bool KeyList::hasText(const SortVal* vals, int n) {
    for (int c = 0; c < n; ++c)
        if (vals[c].kind == SortKind::Text || vals[c].kind == SortKind::Bytes)
            return true;
    return false;
}

void KeyList::storeVals(Block& b, int offset, const SortVal* vals) const {
    const std::size_t at = std::size_t(offset) * stride_;
    for (int c = 0; c < stride_; ++c) {
        b.kinds[at + c] = vals[c].kind;
        b.ints[at + c] = vals[c].kind == SortKind::Integer ? vals[c].i : 0;
        if (!b.texts.empty())
            b.texts[at + c] = vals[c].s;
    }
}

void KeyList::appendLast(qint64 key, const SortVal* vals) {
    if (blocks_.empty() || static_cast<int>(blocks_.back().keys.size()) >= kBlock) {
        Block b;
        b.keys.reserve(kBlock);
        b.kinds.reserve(std::size_t(kBlock) * stride_);
        b.ints.reserve(std::size_t(kBlock) * stride_);
        blocks_.push_back(std::move(b));
    }
    Block& b = blocks_.back();
    if (b.texts.empty() && hasText(vals, stride_))
        b.texts.resize(b.keys.size() * stride_);
    b.keys.push_back(key);
    for (int c = 0; c < stride_; ++c) {
        b.kinds.push_back(vals[c].kind);
        b.ints.push_back(vals[c].kind == SortKind::Integer ? vals[c].i : 0);
    }
    if (!b.texts.empty())
        for (int c = 0; c < stride_; ++c)
            b.texts.push_back(vals[c].s);
    ++size_;
}

void KeyList::assign(std::vector<qint64> keys, std::vector<SortVal> vals) {
    reset(stride_);
    for (std::size_t r = 0; r < keys.size(); ++r)
        appendLast(keys[r], stride_ ? &vals[r * stride_] : nullptr);
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
        const int r = compareValue(a[c].kind, a[c].i, &a[c].s, b[c].kind, b[c].i, &b[c].s);
        if (r != 0)
            return r;
    }
    return ka < kb ? -1 : (ka > kb ? 1 : 0);
}

int KeyList::compareRow(const Block& b, int offset, const SortVal* v, qint64 key) const {
    const std::size_t at = std::size_t(offset) * stride_;
    for (int c = 0; c < stride_; ++c) {
        const int r =
            compareValue(b.kinds[at + c], b.ints[at + c],
                         b.texts.empty() ? nullptr : &b.texts[at + c], v[c].kind, v[c].i, &v[c].s);
        if (r != 0)
            return r;
    }
    const qint64 k = b.keys[offset];
    return k < key ? -1 : (k > key ? 1 : 0);
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
        if (compareRow(m, static_cast<int>(m.keys.size()) - 1, v, key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    Block& blk = blocks_[lo];
    int a = 0;
    int z = static_cast<int>(blk.keys.size());
    while (a < z) {
        const int mid = (a + z) / 2;
        if (compareRow(blk, mid, v, key) < 0)
            a = mid + 1;
        else
            z = mid;
    }
    const std::size_t at = std::size_t(a) * stride_;
    blk.keys.insert(blk.keys.begin() + a, key);
    blk.kinds.insert(blk.kinds.begin() + std::ptrdiff_t(at), stride_, SortKind::Blank);
    blk.ints.insert(blk.ints.begin() + std::ptrdiff_t(at), stride_, 0);
    if (blk.texts.empty() && hasText(v, stride_))
        blk.texts.resize((blk.keys.size() - 1) * stride_);
    if (!blk.texts.empty())
        blk.texts.insert(blk.texts.begin() + std::ptrdiff_t(at), stride_, QByteArray());
    storeVals(blk, a, v);
    ++size_;
    const int pos = blockStart(lo) + a;
    if (static_cast<int>(blk.keys.size()) > 2 * kBlock) {
        const std::size_t cut = std::size_t(kBlock) * stride_;
        Block tail;
        tail.keys.assign(blk.keys.begin() + kBlock, blk.keys.end());
        blk.keys.resize(kBlock);
        tail.kinds.assign(blk.kinds.begin() + std::ptrdiff_t(cut), blk.kinds.end());
        blk.kinds.resize(cut);
        tail.ints.assign(blk.ints.begin() + std::ptrdiff_t(cut), blk.ints.end());
        blk.ints.resize(cut);
        if (!blk.texts.empty()) {
            tail.texts.assign(std::make_move_iterator(blk.texts.begin() + std::ptrdiff_t(cut)),
                              std::make_move_iterator(blk.texts.end()));
            blk.texts.resize(cut);
        }
        blocks_.insert(blocks_.begin() + lo + 1, std::move(tail));
    }
    return pos;
}

void KeyList::eraseAt(int pos) {
    const auto [b, o] = locate(pos);
    hintBlock_ = hintStart_ = 0;
    Block& blk = blocks_[b];
    const std::size_t at = std::size_t(o) * stride_;
    blk.keys.erase(blk.keys.begin() + o);
    eraseRange(blk.kinds, at, stride_);
    eraseRange(blk.ints, at, stride_);
    if (!blk.texts.empty())
        eraseRange(blk.texts, at, stride_);
    if (blk.keys.empty())
        blocks_.erase(blocks_.begin() + b);
    --size_;
}

int KeyList::eraseKeys(const std::unordered_set<qint64>& keys) {
    hintBlock_ = hintStart_ = 0;
    int removed = 0;
    for (Block& blk : blocks_) {
        const bool texts = !blk.texts.empty();
        std::size_t w = 0;
        for (std::size_t r = 0; r < blk.keys.size(); ++r) {
            if (keys.count(blk.keys[r])) {
                ++removed;
                continue;
            }
            if (w != r) {
                blk.keys[w] = blk.keys[r];
                for (int c = 0; c < stride_; ++c) {
                    blk.kinds[w * stride_ + c] = blk.kinds[r * stride_ + c];
                    blk.ints[w * stride_ + c] = blk.ints[r * stride_ + c];
                    if (texts)
                        blk.texts[w * stride_ + c] = std::move(blk.texts[r * stride_ + c]);
                }
            }
            ++w;
        }
        blk.keys.resize(w);
        blk.kinds.resize(w * stride_);
        blk.ints.resize(w * stride_);
        if (texts)
            blk.texts.resize(w * stride_);
    }
    blocks_.erase(std::remove_if(blocks_.begin(), blocks_.end(),
                                 [](const Block& b) { return b.keys.empty(); }),
                  blocks_.end());
    size_ -= removed;
    return removed;
}

} // namespace table
