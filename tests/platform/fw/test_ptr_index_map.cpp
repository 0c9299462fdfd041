// The archive's pointer map: whatever order keys come in (rising as allocated, a few out of
// order, or shuffled), it answers exactly as an ordinary map does.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <vector>

#include "platform/fw/KivPtrIndexMap.h"

namespace {

// Keys 16 bytes apart, as allocations are; every other one is never inserted.
constexpr size_t kKeys = 20000;
constexpr size_t kStride = 16;

class PtrIndexMap : public ::testing::Test {
protected:
    std::vector<char> memory = std::vector<char>(2 * kKeys * kStride);
    const void* Key(size_t i) const { return &memory[2 * i * kStride]; }
    const void* Absent(size_t i) const { return &memory[(2 * i + 1) * kStride]; }

    // Inserts keys in the order given, checking every answer against an ordinary map.
    void InsertAndCompare(const std::vector<size_t>& order, bool reserve) {
        KivPtrIndexMap map;
        if (reserve) map.Reserve(order.size());
        std::map<const void*, DWORD> plain;
        DWORD index = 1;
        for (size_t i : order) {
            ASSERT_EQ(map.Find(Key(i)), 0u) << "not yet inserted: " << i;
            map.Insert(Key(i), index);
            plain[Key(i)] = index++;
            ASSERT_EQ(map.Find(Key(i)), plain[Key(i)]);
        }
        EXPECT_EQ(map.Size(), order.size());
        for (size_t i = 0; i < kKeys; ++i) {
            const auto it = plain.find(Key(i));
            EXPECT_EQ(map.Find(Key(i)), it == plain.end() ? 0u : it->second) << i;
            EXPECT_EQ(map.Find(Absent(i)), 0u) << i;
        }
    }
};

}  // namespace

TEST_F(PtrIndexMap, RisingKeys) {
    std::vector<size_t> order(kKeys);
    std::iota(order.begin(), order.end(), 0);
    InsertAndCompare(order, true);
    InsertAndCompare(order, false);
}

TEST_F(PtrIndexMap, RisingKeysWithAFewOutOfOrder) {
    std::vector<size_t> order;
    for (size_t i = 0; i < kKeys; i += 2) order.push_back(i);
    for (size_t i = 1; i < kKeys; i += 500) order.push_back(i);  // holes filled later
    InsertAndCompare(order, true);
}

TEST_F(PtrIndexMap, FallingAndShuffledKeys) {
    std::vector<size_t> order(kKeys);
    std::iota(order.rbegin(), order.rend(), 0);
    InsertAndCompare(order, false);
    std::mt19937 random(7);
    std::shuffle(order.begin(), order.end(), random);
    InsertAndCompare(order, true);
    order.resize(kKeys / 2);
    std::sort(order.begin(), order.begin() + kKeys / 4);  // a rising run, then shuffled ones
    InsertAndCompare(order, false);
}
