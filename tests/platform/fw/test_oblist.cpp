// CObList: order after every kind of insertion and removal, searching, the checked
// errors, and its archive form.
#include <gtest/gtest.h>

#include <vector>

#include "ArchiveTestClasses.h"
#include "ArchiveTestUtil.h"

namespace {

// A handful of distinct objects to put in lists (the list never owns them).
struct Items {
    CTestTiny a, b, c, d;
};

std::vector<CObject*> Forward(const CObList& list) {
    std::vector<CObject*> out;
    for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos));
    return out;
}

std::vector<CObject*> Backward(const CObList& list) {
    std::vector<CObject*> out;
    for (POSITION pos = list.GetTailPosition(); pos;) out.push_back(list.GetPrev(pos));
    return out;
}

// Checks both directions agree with the expected order and the count.
void ExpectOrder(const CObList& list, std::vector<CObject*> expected) {
    EXPECT_EQ(Forward(list), expected);
    EXPECT_EQ(list.GetCount(), static_cast<INT_PTR>(expected.size()));
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Backward(list), expected) << "the back links agree";
}

}  // namespace

TEST(CObListEmpty, HasNoPositionsAndRefusesElementAccess) {
    CObList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
    EXPECT_EQ(list.Find(nullptr), nullptr);
    EXPECT_EQ(list.FindIndex(0), nullptr);
    EXPECT_THROW(list.GetHead(), CInvalidArgException);
    EXPECT_THROW(list.GetTail(), CInvalidArgException);
    EXPECT_THROW(list.RemoveHead(), CInvalidArgException);
    EXPECT_THROW(list.RemoveTail(), CInvalidArgException);
    EXPECT_THROW(list.GetAt(nullptr), CInvalidArgException);
    EXPECT_THROW(list.SetAt(nullptr, nullptr), CInvalidArgException);
    EXPECT_THROW(list.RemoveAt(nullptr), CInvalidArgException);
    POSITION none = nullptr;
    EXPECT_THROW(list.GetNext(none), CInvalidArgException);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(CObListInsert, AtBothEndsAndAroundPositions) {
    Items i;
    CObList list(2);  // small blocks, so that several blocks are in use
    list.AddTail(&i.b);
    list.AddHead(&i.a);
    ExpectOrder(list, {&i.a, &i.b});
    list.InsertBefore(list.GetHeadPosition(), &i.c);  // new head
    list.InsertAfter(list.GetTailPosition(), &i.d);   // new tail
    ExpectOrder(list, {&i.c, &i.a, &i.b, &i.d});
    list.InsertBefore(nullptr, &i.d);  // null: at the head
    list.InsertAfter(nullptr, &i.c);   // null: at the tail
    ExpectOrder(list, {&i.d, &i.c, &i.a, &i.b, &i.d, &i.c});
    const POSITION mid = list.InsertAfter(list.FindIndex(2), &i.b);
    EXPECT_EQ(list.GetAt(mid), &i.b);
    ExpectOrder(list, {&i.d, &i.c, &i.a, &i.b, &i.b, &i.d, &i.c});
}

TEST(CObListRemove, HeadTailAndMiddleKeepLinksRight) {
    Items i;
    CObList list;
    for (CObject* o : {&i.a, &i.b, &i.c, &i.d}) list.AddTail(o);
    list.RemoveAt(list.FindIndex(1));
    ExpectOrder(list, {&i.a, &i.c, &i.d});
    list.RemoveAt(list.GetHeadPosition());
    ExpectOrder(list, {&i.c, &i.d});
    list.RemoveAt(list.GetTailPosition());
    ExpectOrder(list, {&i.c});
    EXPECT_EQ(list.RemoveTail(), &i.c);
    ExpectOrder(list, {});
    list.AddTail(&i.a);  // the list works again after emptying (its blocks were given back)
    list.AddTail(&i.b);
    EXPECT_EQ(list.RemoveHead(), &i.a);
    ExpectOrder(list, {&i.b});
}

TEST(CObListFind, SearchesAfterAStartAndByIndex) {
    Items i;
    CObList list;
    for (CObject* o : {&i.a, &i.b, &i.a, &i.c}) list.AddTail(o);
    const POSITION first = list.Find(&i.a);
    EXPECT_EQ(first, list.GetHeadPosition());
    const POSITION second = list.Find(&i.a, first);
    EXPECT_EQ(second, list.FindIndex(2)) << "startAfter skips the start itself";
    EXPECT_EQ(list.Find(&i.a, second), nullptr);
    EXPECT_EQ(list.Find(&i.c, list.GetTailPosition()), nullptr) << "nothing after the tail";
    EXPECT_EQ(list.Find(&i.d), nullptr);
    for (INT_PTR k = 0; k < 4; ++k) EXPECT_NE(list.FindIndex(k), nullptr);
    EXPECT_EQ(list.GetAt(list.FindIndex(3)), &i.c) << "found from the tail end";
    EXPECT_EQ(list.FindIndex(4), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
}

TEST(CObListElements, ReferencesAllowReplacingInPlace) {
    Items i;
    CObList list;
    list.AddTail(&i.a);
    list.AddTail(&i.b);
    list.GetHead() = &i.c;
    list.SetAt(list.GetTailPosition(), &i.d);
    POSITION pos = list.GetHeadPosition();
    list.GetNext(pos) = &i.b;
    ExpectOrder(list, {&i.b, &i.d});
}

TEST(CObListBulk, AddingAListIncludingItself) {
    Items i;
    CObList list, other;
    list.AddTail(&i.a);
    other.AddTail(&i.b);
    other.AddTail(&i.c);
    list.AddTail(&other);
    list.AddHead(&other);
    ExpectOrder(list, {&i.b, &i.c, &i.a, &i.b, &i.c});
    ExpectOrder(other, {&i.b, &i.c});
    CObList self;
    self.AddTail(&i.a);
    self.AddTail(&i.b);
    self.AddTail(&self);
    self.AddHead(&self);
    ExpectOrder(self, {&i.a, &i.b, &i.a, &i.b, &i.a, &i.b, &i.a, &i.b});
    EXPECT_THROW(list.AddTail(static_cast<CObList*>(nullptr)), CInvalidArgException);
}

TEST(CObListNodes, FreedNodesAndFreshBlocksServeAdditionsInAnyMix) {
    // Nodes come from the newest block in order, from the chain of freed ones, and what a
    // block left unused goes to that chain when a bulk addition needs a bigger block.
    std::vector<CTestTiny> items(40);
    CObList list(4);
    std::vector<CObject*> expected;
    for (int i = 0; i < 3; ++i) {
        list.AddTail(&items[i]);
        expected.push_back(&items[i]);
    }
    list.RemoveAt(list.FindIndex(1));  // a freed node beside one block node still unused
    expected.erase(expected.begin() + 1);
    CObList bulk;
    for (int i = 3; i < 20; ++i) {
        bulk.AddTail(&items[i]);
        expected.push_back(&items[i]);
    }
    list.AddTail(&bulk);
    ExpectOrder(list, expected);
    for (int i = 20; i < 40; ++i) {
        if (i % 3 == 0) {
            list.RemoveHead();
            expected.erase(expected.begin());
        }
        list.AddHead(&items[i]);
        expected.insert(expected.begin(), &items[i]);
    }
    ExpectOrder(list, expected);
    while (list.GetCount() > 1) list.RemoveTail();
    list.AddTail(&items[0]);  // an emptied list starts afresh
    list.RemoveAll();
    list.AddTail(&items[1]);
    ExpectOrder(list, {&items[1]});
}

TEST(CObListArchive, LongListLoadsAcrossNodeBlocksInOrder) {
    RegisterTestClasses();
    constexpr int kCount = 2500;  // more than two of the loading list's node blocks
    CTestPoint p(1, 2);
    const auto isNull = [](int i) { return i % 7 == 6; };  // a null now and then
    CObList list;
    for (int i = 0; i < kCount; ++i) list.AddTail(isNull(i) ? nullptr : &p);
    const Bytes bytes = StoreBytes([&](CArchive& ar) { list.Serialize(ar); });
    ArchiveReader r(bytes);
    CObList back;
    back.Serialize(r.ar());
    ASSERT_EQ(back.GetCount(), kCount);
    CObject* loaded = back.GetHead();
    int i = 0;
    for (POSITION pos = back.GetHeadPosition(); pos; ++i)
        EXPECT_EQ(back.GetNext(pos), isNull(i) ? nullptr : loaded) << "element " << i;
    EXPECT_EQ(i, kCount);
    delete loaded;
}

TEST(CObListArchive, CountThenEachElementHeadToTail) {
    RegisterTestClasses();
    CTestPoint p(1, 2);
    CObList list;
    list.AddTail(&p);
    list.AddTail(static_cast<CObject*>(nullptr));
    list.AddTail(&p);
    const Bytes bytes = StoreBytes([&](CArchive& ar) { list.Serialize(ar); });
    EXPECT_EQ(bytes, Words({3, 0xFFFF, 1, 10}) + Text("CTestPoint") + Dword(1) + Dword(2) + Words({0x0000, 0x0002}));

    ArchiveReader r(bytes);
    CObList back;
    back.AddTail(&p);  // loading appends
    back.Serialize(r.ar());
    ASSERT_EQ(back.GetCount(), 4);
    CObject* loaded = back.GetAt(back.FindIndex(1));
    EXPECT_EQ(static_cast<CTestPoint*>(loaded)->y, 2);
    EXPECT_EQ(back.GetAt(back.FindIndex(2)), nullptr);
    EXPECT_EQ(back.GetTail(), loaded);
    delete loaded;
}

TEST(CObListArchive, ElementsReadBeforeAFailureStayInTheList) {
    RegisterTestClasses();
    CTestPoint p(1, 2);
    CObList list;
    list.AddTail(&p);
    list.AddTail(&p);
    Bytes bytes = StoreBytes([&](CArchive& ar) { list.Serialize(ar); });
    bytes[0] = 3;  // claims one more element than there is
    ArchiveReader r(bytes + Words({0x0007}));
    CObList back;
    EXPECT_EQ(ArchiveCause([&] { back.Serialize(r.ar()); }), CArchiveException::badIndex);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetHead(), back.GetTail());
    delete back.GetHead();
}

TEST(CObListModCount, ChangesWithEveryStructuralChangeAndSetAtButNotWithReading) {
    Items i;
    CObList list;
    DWORD_PTR last = list.GetModCount();
    auto changed = [&] {
        const DWORD_PTR now = list.GetModCount();
        const bool moved = now != last;
        last = now;
        return moved;
    };
    list.AddTail(&i.a);
    EXPECT_TRUE(changed()) << "AddTail";
    list.AddHead(&i.b);
    EXPECT_TRUE(changed()) << "AddHead";
    list.InsertAfter(list.GetHeadPosition(), &i.c);
    EXPECT_TRUE(changed()) << "InsertAfter";
    list.InsertBefore(list.GetTailPosition(), &i.d);
    EXPECT_TRUE(changed()) << "InsertBefore";
    list.SetAt(list.GetHeadPosition(), &i.a);
    EXPECT_TRUE(changed()) << "SetAt";
    const CObList& reader = list;
    POSITION pos = reader.GetHeadPosition();
    reader.GetNext(pos);
    reader.GetAt(reader.GetTailPosition());
    (void)reader.Find(&i.c);
    (void)reader.FindIndex(2);
    EXPECT_FALSE(changed()) << "reading";
    list.RemoveAt(list.FindIndex(1));
    EXPECT_TRUE(changed()) << "RemoveAt";
    list.RemoveHead();
    EXPECT_TRUE(changed()) << "RemoveHead";
    list.RemoveAll();
    EXPECT_TRUE(changed()) << "RemoveAll";
    list.AddTail(&i.a);
    EXPECT_TRUE(changed()) << "adding after RemoveAll never returns to an earlier count";
}
