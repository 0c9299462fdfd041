// The keyframe list functions: lookup, bracketing, insertion, overlap and re-sort.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "keyfrm/core/KivFXExchangeSort.h"
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"

namespace {

// A plain (location-based) list of value keyframes at the given locations, in that order.
struct KeyList {
    CKivObList list;
    std::vector<CKivFXValueKeyFrm*> keys;
    explicit KeyList(std::initializer_list<double> locations, std::initializer_list<int> frames = {}) {
        auto f = frames.begin();
        for (double loc : locations) {
            auto* k = new CKivFXValueKeyFrm;  // owned by list from the next line on
            list.AddTail(k);
            k->Location = loc;
            if (f != frames.end()) k->Frame = *f++;
            keys.push_back(k);
        }
    }
    std::vector<CObject*> Order() const {
        std::vector<CObject*> out;
        for (POSITION p = list.GetHeadPosition(); p;) out.push_back(list.GetNext(p));
        return out;
    }
};

}  // namespace

TEST(ListLookup, ExactLookupFindsTheFirstOfEqualKeys) {
    KeyList l({0.25, 0.5, 0.5});
    EXPECT_EQ(KivFXKeyFrmFindKF(0.5, &l.list), l.keys[1]);
    EXPECT_EQ(KivFXKeyFrmIsPoint(0.25, &l.list), 1);
    EXPECT_EQ(KivFXKeyFrmIsPoint(0.3, &l.list), 0);
    EXPECT_EQ(KivFXKeyFrmFindKF(std::nan(""), &l.list), nullptr) << "NaN matches nothing";
    EXPECT_EQ(KivFXKeyFrmFindKF(0.5, nullptr), nullptr);
}

TEST(ListLookup, NegativeLocationsAreNeverFoundButLocationsAboveOneAre) {
    KeyList l({-0.0001, 1.5});
    EXPECT_EQ(KivFXKeyFrmIsPoint(-0.0001, &l.list), 0);
    EXPECT_EQ(KivFXKeyFrmIsPoint(1.5, &l.list), 1);
}

TEST(ListLookup, FrameOverloadsCompareFrames) {
    KeyList l({0.9, 0.1, 0.5}, {-5, 10, 10});
    EXPECT_EQ(KivFXKeyFrmFindKF(10, &l.list), l.keys[1]);
    EXPECT_EQ(KivFXKeyFrmFindKF(-5, &l.list), l.keys[0]) << "no negative check for frames";
    EXPECT_EQ(KivFXKeyFrmFindPrv(10, &l.list), l.keys[0]);
    EXPECT_EQ(KivFXKeyFrmFindNext(-5, &l.list), l.keys[1]);
}

TEST(ListLookup, NeighboursSkipKeysAtThePosition) {
    KeyList l({0.1, 0.5, 0.5, 0.9});
    EXPECT_EQ(KivFXKeyFrmFindPrv(0.5, &l.list), l.keys[0]);
    EXPECT_EQ(KivFXKeyFrmFindNext(0.5, &l.list), l.keys[3]);
    EXPECT_EQ(KivFXKeyFrmFindPrv(0.1, &l.list), nullptr);
    EXPECT_EQ(KivFXKeyFrmFindNext(0.9, &l.list), nullptr);
    // Unsorted: the walk order decides (previous from the tail, next from the head).
    KeyList u({0.2, 0.8, 0.1, 0.7});
    EXPECT_EQ(KivFXKeyFrmFindPrv(0.5, &u.list), u.keys[2]);
    EXPECT_EQ(KivFXKeyFrmFindNext(0.5, &u.list), u.keys[1]);
}

TEST(ListBracketing, ExactHitReturnsOneWithThatKeyAsPrevious) {
    KeyList l({0.25, 0.5, 0.5});
    CKivFXBaseKeyFrm* prev = nullptr;
    CKivFXBaseKeyFrm* next = l.keys[0];
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(0.5, &l.list, &prev, &next), 1);
    EXPECT_EQ(prev, l.keys[1]);
    EXPECT_EQ(next, nullptr);
}

TEST(ListBracketing, OutsideTheEffectTheNearestEndAnswersEvenUnsorted) {
    KeyList l({0.5, 0.1, 0.9});
    CKivFXBaseKeyFrm *prev, *next;
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(-0.1, &l.list, &prev, &next), 0);
    EXPECT_EQ(prev, l.keys[0]) << "the head, not the smallest";
    EXPECT_EQ(next, nullptr);
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(1.5, &l.list, &prev, &next), 0);
    EXPECT_EQ(prev, l.keys[2]);
    EXPECT_EQ(next, nullptr);
}

TEST(ListBracketing, UnsortedListsGiveTheNearestOnEachSide) {
    KeyList l({0.5, 0.1, 0.9});
    CKivFXBaseKeyFrm *prev, *next;
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(0.3, &l.list, &prev, &next), 0);
    EXPECT_EQ(prev, l.keys[1]);
    EXPECT_EQ(next, l.keys[0]);
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(0.05, &l.list, &prev, &next), 0);
    EXPECT_EQ(prev, nullptr);
    EXPECT_EQ(next, l.keys[1]);
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(0.95, &l.list, &prev, &next), 0);
    EXPECT_EQ(prev, l.keys[2]);
    EXPECT_EQ(next, nullptr);
}

TEST(ListBracketing, TiesChooseTheFirstInListOrder) {
    KeyList l({0.2, 0.8, 0.2, 0.8});
    CKivFXBaseKeyFrm *prev, *next;
    KivFXKeyFrmCalcRangeKF(0.5, &l.list, &prev, &next);
    EXPECT_EQ(prev, l.keys[0]);
    EXPECT_EQ(next, l.keys[1]);
}

TEST(ListBracketing, FrameOverloadHasNoEndRuleAndBoundedKeys) {
    KeyList l({0, 0, 0}, {30, 10, 20});
    CKivFXBaseKeyFrm *prev, *next;
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(-100, &l.list, &prev, &next), 0);
    EXPECT_EQ(prev, nullptr);
    EXPECT_EQ(next, l.keys[1]);
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(15, &l.list, &prev, &next), 0);
    EXPECT_EQ(prev, l.keys[1]);
    EXPECT_EQ(next, l.keys[2]);
    // Keys at or beyond the search bounds are never chosen as neighbours.
    KeyList far({0, 0}, {std::numeric_limits<int>::max(), std::numeric_limits<int>::min()});
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(0, &far.list, &prev, &next), 0);
    EXPECT_EQ(prev, nullptr);
    EXPECT_EQ(next, nullptr);
}

TEST(ListBracketing, NaNAndEmptyListsGiveNoNeighbours) {
    KeyList l({0.2, 0.8});
    CKivFXBaseKeyFrm *prev = l.keys[0], *next = l.keys[0];
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(std::nan(""), &l.list, &prev, &next), 0);
    EXPECT_EQ(prev, nullptr);
    EXPECT_EQ(next, nullptr);
    CKivObList empty;
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(0.5, &empty, &prev, &next), 0);
    EXPECT_EQ(KivFXKeyFrmCalcRangeKF(0.5, nullptr, nullptr, nullptr), 0);
}

TEST(ListInsertion, EqualKeysGoAfterExistingOnes) {
    KeyList l({0.2, 0.5, 0.8});
    auto* k = new CKivFXValueKeyFrm;
    k->Location = 0.5;
    KivFXKeyFrmInsertKF(&l.list, k);
    const auto order = l.Order();
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[2], k);
    auto* first = new CKivFXValueKeyFrm;
    first->Location = -1.0;
    EXPECT_EQ(KivFXKeyFrmTryInsertKF(&l.list, first), 1);
    EXPECT_EQ(l.list.GetHead(), first);
    auto* last = new CKivFXValueKeyFrm;
    last->Location = 2.0;
    KivFXKeyFrmInsertKF(&l.list, last);
    EXPECT_EQ(l.list.GetTail(), last);
    EXPECT_EQ(KivFXKeyFrmTryInsertKF(nullptr, last), 0);
}

TEST(ListOverlap, ToleranceRules) {
    KeyList l({0.5, 0.5009});
    EXPECT_EQ(KivFXKeyFrmIsOverlapKF(&l.list, l.keys[0], -1.0f), 1) << "negative tolerance means 0.001";
    KeyList m({0.5, 0.5011});
    EXPECT_EQ(KivFXKeyFrmIsOverlapKF(&m.list, m.keys[0], -1.0f), 0);
    KeyList same({0.5, 0.5});
    EXPECT_EQ(KivFXKeyFrmIsOverlapKF(&same.list, same.keys[0], 0.0f), 0) << "zero tolerance never overlaps";
    EXPECT_EQ(KivFXKeyFrmIsOverlapKF(&same.list, same.keys[0], 0.001f), 1);
    KeyList one({0.5});
    EXPECT_EQ(KivFXKeyFrmIsOverlapKF(&one.list, one.keys[0], 1.0f), 0) << "a keyframe never collides with itself";
    EXPECT_EQ(KivFXKeyFrmIsOverlapKF(nullptr, one.keys[0], 1.0f), 0);
    EXPECT_EQ(KivFXKeyFrmIsOverlapKF(&one.list, nullptr, 1.0f), 0);
}

TEST(ListResort, SortedListsAreLeftAloneAndReversedOnesSorted) {
    KeyList sorted({0.1, 0.2, 0.3});
    const auto before = sorted.Order();
    EXPECT_EQ(KivFXKeyFrmTaxisList(&sorted.list), 0);
    EXPECT_EQ(sorted.Order(), before);

    KeyList reversed({0.3, 0.2, 0.1});
    EXPECT_EQ(KivFXKeyFrmTaxisList(&reversed.list), 1);
    const std::vector<CObject*> expected{reversed.keys[2], reversed.keys[1], reversed.keys[0]};
    EXPECT_EQ(reversed.Order(), expected) << "the same objects, now ascending";
    KeyList single({0.5});
    EXPECT_EQ(KivFXKeyFrmTaxisList(&single.list), 0);
    EXPECT_EQ(KivFXKeyFrmTaxisList(nullptr), 0);
}

TEST(ListResort, EqualKeysMoveTheWayTheExchangeSortMovesThem) {
    KeyList l({2, 2, 1});
    EXPECT_EQ(KivFXKeyFrmTaxisList(&l.list), 1);
    const std::vector<CObject*> expected{l.keys[2], l.keys[1], l.keys[0]};
    EXPECT_EQ(l.Order(), expected) << "2, 2, 1 comes out as 1, second 2, first 2";
}

TEST(ListResort, FastPathsGiveThePlainRulesPermutation) {
    std::mt19937 rng(12345);
    struct Entry {
        int id;
        double key;
        bool operator==(const Entry&) const = default;
    };
    const auto key = [](const Entry& e) { return e.key; };
    for (int round = 0; round < 2000; ++round) {
        const int n = 1 + static_cast<int>(rng() % 12);
        std::vector<Entry> table;
        for (int i = 0; i < n; ++i) table.push_back({i, static_cast<double>(rng() % 5)});
        switch (round % 4) {
        case 0: break;  // random
        case 1: std::stable_sort(table.begin(), table.end(), [](auto& a, auto& b) { return a.key < b.key; }); break;
        case 2:  // sorted with one appended, the shape editing makes
            std::stable_sort(table.begin(), table.end() - 1, [](auto& a, auto& b) { return a.key < b.key; });
            break;
        case 3: table[rng() % table.size()].key = std::nan(""); break;
        }
        auto plain = table;
        auto fast = table;
        const bool plainChanged = KivFXExchangeSortPlain(plain, key);
        const bool fastChanged = KivFXExchangeSort(fast, key);
        ASSERT_EQ(plainChanged, fastChanged) << "round " << round;
        for (size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(plain[i].id, fast[i].id) << "round " << round << " index " << i;
    }
}
