// CArray: sizes and the growth rule, element access, insertion and removal (also from
// itself), copying, and its archive form.
#include <gtest/gtest.h>

#include <cstring>

#include "ArchiveTestUtil.h"
#include "platform/fw/CArray.h"

namespace {

struct Pair {
    short a;
    BYTE b;
    bool operator==(const Pair&) const = default;
};

enum class Kind : short { none = 0, big = -300 };

template <class T, class A>
std::vector<T> Items(const CArray<T, A>& arr) {
    return std::vector<T>(arr.GetData(), arr.GetData() + arr.GetSize());
}

}  // namespace

TEST(CArraySize, NewElementsAreZeroAndSurvivorsKept) {
    CArray<int> arr;
    EXPECT_TRUE(arr.IsEmpty());
    EXPECT_EQ(arr.GetUpperBound(), -1);
    arr.SetSize(3);
    EXPECT_EQ(arr[2], 0);
    EXPECT_THROW(arr[3], CInvalidArgException);
    EXPECT_THROW(arr.GetAt(-1), CInvalidArgException);
    arr[0] = 10;
    arr.SetAt(2, 12);
    arr.SetSize(5);
    EXPECT_EQ(Items(arr), (std::vector<int>{10, 0, 12, 0, 0}));
    arr.SetSize(2);
    arr.SetSize(4);
    EXPECT_EQ(Items(arr), (std::vector<int>{10, 0, 0, 0})) << "shrinking then growing gives fresh zeros";
    arr.SetSize(0);
    EXPECT_EQ(arr.GetData(), nullptr) << "size 0 frees the storage";
    EXPECT_THROW(arr.SetSize(-1), CInvalidArgException);
    EXPECT_THROW(arr.SetAt(0, 1), CInvalidArgException);
}

TEST(CArraySize, GrowsByTheFrameworkStep) {
    CArray<int> arr;
    arr.SetSize(1);  // capacity max(1, 0 + 4)
    const int* storage = arr.GetData();
    for (int i = 0; i < 3; ++i) arr.Add(i);
    EXPECT_EQ(arr.GetData(), storage) << "four elements fit the first step";
    arr.Add(4);
    EXPECT_NE(arr.GetData(), storage);

    CArray<int> stepped;
    stepped.SetSize(1, 10);  // capacity max(1, 0 + 10)
    storage = stepped.GetData();
    stepped.SetSize(10);
    EXPECT_EQ(stepped.GetData(), storage) << "an explicit grow step is used";
    stepped.SetSize(11);
    EXPECT_NE(stepped.GetData(), storage);

    CArray<int> big;
    big.SetSize(800);  // the next step is 800 / 8 = 100
    big.SetSize(801);
    storage = big.GetData();
    big.SetSize(900);
    EXPECT_EQ(big.GetData(), storage);
    big.FreeExtra();
    EXPECT_EQ(big.GetSize(), 900);
    EXPECT_EQ(big[899], 0);
}

TEST(CArrayEdit, SetAtGrowAddAndInsertAt) {
    CArray<int> arr;
    EXPECT_EQ(arr.Add(1), 0);
    EXPECT_EQ(arr.Add(2), 1);
    arr.SetAtGrow(4, 5);
    EXPECT_EQ(Items(arr), (std::vector<int>{1, 2, 0, 0, 5}));
    arr.InsertAt(1, 9, 2);
    EXPECT_EQ(Items(arr), (std::vector<int>{1, 9, 9, 2, 0, 0, 5}));
    arr.InsertAt(9, 7);  // past the end grows the array
    EXPECT_EQ(Items(arr), (std::vector<int>{1, 9, 9, 2, 0, 0, 5, 0, 0, 7}));
    arr.InsertAt(0, 3, 0);
    EXPECT_EQ(arr.GetSize(), 10) << "inserting nothing";
    EXPECT_THROW(arr.InsertAt(-1, 1), CInvalidArgException);
    EXPECT_THROW(arr.SetAtGrow(-1, 1), CInvalidArgException);
}

TEST(CArrayEdit, RemoveAtChecksTheRange) {
    CArray<int> arr;
    for (int i = 0; i < 6; ++i) arr.Add(i);
    arr.RemoveAt(1, 2);
    EXPECT_EQ(Items(arr), (std::vector<int>{0, 3, 4, 5}));
    arr.RemoveAt(3);
    arr.RemoveAt(0);
    EXPECT_EQ(Items(arr), (std::vector<int>{3, 4}));
    EXPECT_THROW(arr.RemoveAt(1, 2), CInvalidArgException);
    EXPECT_THROW(arr.RemoveAt(2), CInvalidArgException);
    EXPECT_THROW(arr.RemoveAt(0, -1), CInvalidArgException);
    EXPECT_EQ(arr.GetSize(), 2);
}

TEST(CArrayEdit, ElementsFromTheSameArrayAreCopiedBeforeItMoves) {
    CArray<CString> arr;
    arr.Add(CString(L"first"));
    for (int i = 0; i < 40; ++i) arr.Add(arr[0]);  // each Add may move the storage
    EXPECT_EQ(arr[40], CString(L"first"));
    arr.InsertAt(0, arr[40], 3);
    EXPECT_EQ(arr[0], CString(L"first"));
    arr.SetAtGrow(100, arr[1]);
    EXPECT_EQ(arr[100], CString(L"first"));
    EXPECT_EQ(arr[99], CString());
}

TEST(CArrayCopy, CopyAppendAndInsertArray) {
    CArray<int> a, b;
    for (int i = 1; i <= 3; ++i) a.Add(i);
    b.Copy(a);
    EXPECT_EQ(Items(b), Items(a));
    EXPECT_EQ(b.Append(a), 3);
    EXPECT_EQ(Items(b), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    b.Append(b);
    EXPECT_EQ(b.GetSize(), 12) << "appending itself doubles it";
    EXPECT_EQ(b[11], 3);
    a.InsertAt(1, &a);
    EXPECT_EQ(Items(a), (std::vector<int>{1, 1, 2, 3, 2, 3}));
    const CArray<int> c(a);  // copying is Copy
    CArray<int> d;
    d = c;
    EXPECT_EQ(Items(d), Items(a));
    CArray<int> e(std::move(d));
    EXPECT_EQ(Items(e), Items(a));
    b.Copy(CArray<int>());
    EXPECT_TRUE(b.IsEmpty());
}

TEST(CArrayMemory, ImpossibleSizesRaiseMemoryAndLeaveTheArrayAlone) {
    CArray<double> arr;
    arr.Add(1.5);
    EXPECT_THROW(arr.SetSize(PTRDIFF_MAX), CMemoryException);
    EXPECT_THROW(arr.SetAtGrow(PTRDIFF_MAX, 2.0), CMemoryException);
    EXPECT_THROW(arr.InsertAt(0, 2.0, PTRDIFF_MAX), CMemoryException);
    ASSERT_EQ(arr.GetSize(), 1);
    EXPECT_EQ(arr[0], 1.5);
}

TEST(CArrayArchive, NumbersAsLittleEndianAndRawTypesAsBytes) {
    CArray<short> shorts;
    shorts.Add(-2);
    shorts.Add(0x1234);
    CArray<Pair> pairs;
    pairs.Add(Pair{0x0102, 3});
    CArray<Kind> kinds;
    kinds.Add(Kind::big);
    CArray<CString> strings;
    strings.Add(CString(L"ab"));
    const Bytes bytes = StoreBytes([&](CArchive& ar) {
        shorts.Serialize(ar);
        pairs.Serialize(ar);
        kinds.Serialize(ar);
        strings.Serialize(ar);
    });
    Bytes pairBytes(sizeof(Pair));
    std::memcpy(pairBytes.data(), &pairs[0], sizeof(Pair));
    const Bytes expected = Words({2, 0xFFFE, 0x1234}) + Words({1}) + pairBytes + Words({1, 0xFED4}) + Words({1}) +
                           Bytes{0xFF, 0xFE, 0xFF, 2} + Words({'a', 'b'});
    EXPECT_EQ(bytes, expected);

    ArchiveReader r(bytes);
    CArray<short> s2;
    CArray<Pair> p2;
    CArray<Kind> k2;
    CArray<CString> c2;
    s2.Serialize(r.ar());
    p2.Serialize(r.ar());
    k2.Serialize(r.ar());
    c2.Serialize(r.ar());
    EXPECT_EQ(Items(s2), Items(shorts));
    EXPECT_EQ(Items(p2), Items(pairs));
    EXPECT_EQ(Items(k2), Items(kinds));
    EXPECT_EQ(Items(c2), Items(strings));
}

TEST(CArrayArchive, HugeCountRaisesBeforeAllocatingAndShortDataKeepsWhatWasRead) {
    ArchiveReader huge(Words({0xFFFF, 0xFFFF, 0xFFFF}) + Dword(0) + Dword(0x10000000u) + Dword(7));
    CArray<int> arr;
    const std::string msg = ArchiveMessage([&] { arr.Serialize(huge.ar()); });
    EXPECT_NE(msg.find("array elements of at least 4 bytes each"), std::string::npos) << msg;
    EXPECT_TRUE(arr.IsEmpty());

    CArray<CString> strings;
    ArchiveReader shortData(Words({3}) + Bytes{1, 'x', 1, 'y', 5, 'z'});
    EXPECT_EQ(ArchiveCause([&] { strings.Serialize(shortData.ar()); }), CArchiveException::endOfFile);
    ASSERT_EQ(strings.GetSize(), 3);
    EXPECT_EQ(strings[0], CString(L"x"));
    EXPECT_EQ(strings[1], CString(L"y"));
    EXPECT_EQ(strings[2], CString());
}

TEST(CArrayArchive, PointersCannotBeArchived) {
    CArray<CObject*> ptrs;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_THROW(ptrs.Serialize(ar), CNotSupportedException);
}
