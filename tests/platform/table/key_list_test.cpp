// The block list of visible keys against a plain sorted vector, through many inserts and erases.
#include "platform/table/key_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using table::KeyList;
using table::SortVal;

namespace {

struct Ref {
    qint64 level; // -1 = blank
    QByteArray text;
    qint64 key;
};

std::vector<SortVal> valsOf(const Ref& r) {
    SortVal a;
    if (r.level >= 0) {
        a.kind = table::SortKind::Integer;
        a.i = r.level;
    }
    SortVal b;
    if (!r.text.isEmpty()) {
        b.kind = table::SortKind::Text;
        b.s = r.text;
    }
    return {a, b};
}

bool refLess(const Ref& x, const Ref& y) {
    const auto kx = std::make_tuple(x.level, !x.text.isEmpty(), x.text, x.key);
    const auto ky = std::make_tuple(y.level, !y.text.isEmpty(), y.text, y.key);
    return kx < ky;
}

} // namespace

TEST(KeyList, StaysInOrderThroughInsertsAndErases) {
    std::mt19937 rng(7);
    std::vector<Ref> ref;
    KeyList list;
    list.reset(2);
    std::vector<qint64> keys;
    std::vector<SortVal> vals;
    for (qint64 k = 1; k <= 3000; ++k) {
        Ref r{qint64(rng() % 6) - 1, rng() % 3 ? QByteArray::number(int(rng() % 50)) : QByteArray(),
              k};
        ref.push_back(r);
    }
    std::sort(ref.begin(), ref.end(), refLess);
    for (const Ref& r : ref) {
        keys.push_back(r.key);
        for (auto& v : valsOf(r))
            vals.push_back(v);
    }
    list.assign(keys, vals);
    qint64 next = 3001;
    for (int step = 0; step < 6000; ++step) {
        if (rng() % 2 || ref.empty()) {
            Ref r{qint64(rng() % 6) - 1, QByteArray::number(int(rng() % 50)), next++};
            const auto at = std::lower_bound(ref.begin(), ref.end(), r, refLess);
            const int want = static_cast<int>(at - ref.begin());
            ref.insert(at, r);
            ASSERT_EQ(list.insertSorted(r.key, valsOf(r)), want) << step;
        } else {
            const int pos = static_cast<int>(rng() % ref.size());
            ASSERT_EQ(list.keyAt(pos), ref[pos].key);
            list.eraseAt(pos);
            ref.erase(ref.begin() + pos);
        }
    }
    ASSERT_EQ(list.size(), static_cast<int>(ref.size()));
    std::vector<qint64> want;
    for (const Ref& r : ref)
        want.push_back(r.key);
    EXPECT_EQ(list.keys(), want);
    for (int pos = 0; pos < list.size(); pos += 97) {
        EXPECT_EQ(list.keyAt(pos), want[pos]);
        EXPECT_EQ(list.indexOf(want[pos]), pos);
    }
    // Walking backwards after forwards uses the position hint correctly.
    for (int pos = list.size() - 1; pos >= 0; pos -= 313)
        EXPECT_EQ(list.keyAt(pos), want[pos]);

    std::unordered_set<qint64> gone;
    for (std::size_t i = 0; i < want.size(); i += 3)
        gone.insert(want[i]);
    EXPECT_EQ(list.eraseKeys(gone), static_cast<int>(gone.size()));
    std::vector<qint64> rest;
    for (qint64 k : want)
        if (!gone.count(k))
            rest.push_back(k);
    EXPECT_EQ(list.keys(), rest);
    EXPECT_EQ(list.indexOf(want[0]), -1);
}

TEST(KeyList, ValuesOfEveryKindComeToBlocksThatHeldOnlyIntegers) {
    // Blocks of integer values keep no text slots until a text or bytes value arrives in them.
    KeyList list;
    list.reset(1);
    std::vector<std::pair<SortVal, qint64>> ref; // value and key, in list order
    for (qint64 k = 1; k <= 2000; ++k) {
        SortVal v;
        v.kind = table::SortKind::Integer;
        v.i = k / 10;
        list.appendLast(k, &v);
        ref.push_back({v, k});
    }
    const auto less = [&list](const std::pair<SortVal, qint64>& a,
                              const std::pair<SortVal, qint64>& b) {
        return list.compare(&a.first, a.second, &b.first, b.second) < 0;
    };
    struct Row {
        table::SortKind kind;
        qint64 i;
        QByteArray s;
    } rows[] = {
        {table::SortKind::Text, 0, "b"},     {table::SortKind::Integer, 55, {}},
        {table::SortKind::Blank, 0, {}},     {table::SortKind::Bytes, 0, "\x01"},
        {table::SortKind::Text, 0, "a"},     {table::SortKind::Integer, 199, {}},
        {table::SortKind::Text, 0, "b"},     {table::SortKind::Integer, -1, {}},
        {table::SortKind::Bytes, 0, "\x00"}, {table::SortKind::Blank, 0, {}},
    };
    qint64 next = 5000;
    for (const Row& row : rows) {
        SortVal v;
        v.kind = row.kind;
        v.i = row.i;
        v.s = row.s;
        const std::pair<SortVal, qint64> item{v, next--};
        const auto at = std::lower_bound(ref.begin(), ref.end(), item, less);
        const int want = static_cast<int>(at - ref.begin());
        ref.insert(at, item);
        ASSERT_EQ(list.insertSorted(item.second, {v}), want) << item.second;
    }
    // Erasing rows around the inserted ones keeps the values of those that stay in place.
    for (int pos = 0; pos < list.size(); pos += 7) {
        list.eraseAt(pos);
        ref.erase(ref.begin() + pos);
    }
    std::vector<qint64> want;
    for (const auto& item : ref)
        want.push_back(item.second);
    EXPECT_EQ(list.keys(), want);
    SortVal last;
    last.kind = table::SortKind::Text;
    last.s = "c";
    EXPECT_EQ(list.insertSorted(1, {last}), list.size() - 1);
    SortVal first; // blank, and the smallest key
    EXPECT_EQ(list.insertSorted(0, {first}), 0);
}
