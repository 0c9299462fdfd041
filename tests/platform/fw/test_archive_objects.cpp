// The object format: exact bytes of class records and references, the big-tag escape,
// and loading that refuses bad data with the right cause and never leaks or dangles.
#include <gtest/gtest.h>

#include <memory>

#include "ArchiveTestClasses.h"
#include "ArchiveTestUtil.h"

namespace {

class ArchiveObjects : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    void TearDown() override {
        EXPECT_EQ(CTestPoint::s_live, 0) << "every point loaded was destroyed";
        EXPECT_EQ(CTestNest::s_live, 0);
        EXPECT_EQ(CTestFaulty::s_live, 0);
    }
};

const Bytes kPointRecord = Words({0xFFFF, 0x0001, 10}) + Text("CTestPoint");

/// Loads one object of any class (or of requested) from bytes and gives its cause.
int LoadCause(const Bytes& bytes, const CRuntimeClass* requested = nullptr) {
    ArchiveReader r(bytes);
    return ArchiveCause([&] { std::unique_ptr<CObject> leftover(r.ar().ReadObject(requested)); });
}

}  // namespace

TEST_F(ArchiveObjects, NewClassThenRepeatedClassThenBackReferenceThenNull) {
    CTestPoint a(1, 2), b(3, 4);
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &a << &b << &a << static_cast<CObject*>(nullptr); });
    const Bytes expected = kPointRecord + Dword(1) + Dword(2)  // class 1, object 2
                           + Words({0x8001}) + Dword(3) + Dword(4)  // class 1 again, object 3
                           + Words({0x0002})                        // object 2 again
                           + Words({0x0000});                       // null
    EXPECT_EQ(bytes, expected);

    ArchiveReader r(bytes);
    std::unique_ptr<CObject> first(r.ar().ReadObject(RUNTIME_CLASS(CTestPoint)));
    std::unique_ptr<CObject> second(r.ar().ReadObject(nullptr));
    CObject* again = r.ar().ReadObject(RUNTIME_CLASS(CObject));
    CObject* null = r.ar().ReadObject(nullptr);
    auto* p = dynamic_cast<CTestPoint*>(first.get());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->x, 1);
    EXPECT_EQ(p->y, 2);
    EXPECT_EQ(static_cast<CTestPoint*>(second.get())->y, 4);
    EXPECT_EQ(again, first.get()) << "a back-reference gives the same object";
    EXPECT_EQ(null, nullptr);
}

TEST_F(ArchiveObjects, InterleavedClassesEachReferToTheirOwnRecord) {
    CTestPoint a(1, 2), b(3, 4);
    CTestTiny t, u;
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &a << &t << &b << &u << &t; });
    const Bytes expected = kPointRecord + Dword(1) + Dword(2)                // class 1, object 2
                           + Words({0xFFFF, 0x0000, 9}) + Text("CTestTiny")  // class 3, object 4
                           + Words({0x8001}) + Dword(3) + Dword(4)           // object 5
                           + Words({0x8003})                                 // object 6
                           + Words({0x0004});                                // object 4 again
    EXPECT_EQ(bytes, expected);

    // The class asked for is checked on every object, whichever class came before.
    ArchiveReader r(bytes);
    std::unique_ptr<CObject> first(r.ar().ReadObject(RUNTIME_CLASS(CTestPoint)));
    EXPECT_EQ(ArchiveCause([&] { r.ar().ReadObject(RUNTIME_CLASS(CTestPoint)); }), CArchiveException::badClass);
    ArchiveReader again(bytes);
    std::unique_ptr<CObject> p(again.ar().ReadObject(RUNTIME_CLASS(CTestPoint)));
    std::unique_ptr<CObject> tiny(again.ar().ReadObject(RUNTIME_CLASS(CTestTiny)));
    std::unique_ptr<CObject> q(again.ar().ReadObject(RUNTIME_CLASS(CObject)));
    EXPECT_EQ(ArchiveCause([&] { again.ar().ReadObject(RUNTIME_CLASS(CTestPoint)); }), CArchiveException::badClass)
        << "a tiny object after a point, with the point's class asked for again";
    EXPECT_EQ(static_cast<CTestPoint*>(q.get())->x, 3);
}

TEST_F(ArchiveObjects, FiltersAreAskedAgainForAnotherClassOrAnotherFilter) {
    CTestPoint a(1, 2), b(3, 4), c(5, 6);
    CTestTiny t;
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &a << &b << &t << &c; });
    static const auto pointsOnly = [](const CRuntimeClass* cls) { return cls == RUNTIME_CLASS(CTestPoint); };
    static const auto noPoints = [](const CRuntimeClass* cls) { return cls != RUNTIME_CLASS(CTestPoint); };
    ArchiveReader r(bytes);
    std::unique_ptr<CObject> first(r.ar().ReadObjectOf(pointsOnly, "a point"));
    EXPECT_EQ(ArchiveCause([&] { r.ar().ReadObjectOf(noPoints, "no point"); }), CArchiveException::badClass)
        << "the class the other filter accepted, before another filter";
    ArchiveReader again(bytes);
    std::unique_ptr<CObject> p(again.ar().ReadObjectOf(pointsOnly, "a point"));
    std::unique_ptr<CObject> q(again.ar().ReadObjectOf(pointsOnly, "a point"));
    EXPECT_EQ(ArchiveCause([&] { again.ar().ReadObjectOf(pointsOnly, "a point"); }), CArchiveException::badClass)
        << "another class after a run the filter accepted";
}

TEST_F(ArchiveObjects, ARunOfOneClassIsCheckedAgainstEachClassAskedFor) {
    // The tag of a run's class is remembered with the class it was checked against; asking
    // for another class must check again.
    CTestPoint a(1, 2), b(3, 4), c(5, 6), d(7, 8);
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &a << &b << &c << &d; });
    ArchiveReader r(bytes);
    std::unique_ptr<CObject> first(r.ar().ReadObject(RUNTIME_CLASS(CTestPoint)));
    std::unique_ptr<CObject> second(r.ar().ReadObject(RUNTIME_CLASS(CTestPoint)));
    EXPECT_EQ(ArchiveCause([&] { r.ar().ReadObject(RUNTIME_CLASS(CTestPoint3)); }), CArchiveException::badClass)
        << "a point where a derived class is asked for, after a run checked against its own class";
    ArchiveReader again(bytes);
    std::unique_ptr<CObject> p(again.ar().ReadObject(RUNTIME_CLASS(CObject)));
    std::unique_ptr<CObject> q(again.ar().ReadObject(RUNTIME_CLASS(CTestPoint)));
    std::unique_ptr<CObject> s(again.ar().ReadObject(nullptr));
    EXPECT_EQ(static_cast<CTestPoint*>(s.get())->x, 5);
    EXPECT_EQ(ArchiveCause([&] { again.ar().ReadObject(RUNTIME_CLASS(CTestPoint3)); }), CArchiveException::badClass);
}

TEST_F(ArchiveObjects, ExtractionOperatorChecksTheClass) {
    CTestPoint3 p3;
    p3.z = 9;
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &p3; });
    ArchiveReader r(bytes);
    CTestPoint* loaded = nullptr;
    r.ar() >> loaded;
    std::unique_ptr<CTestPoint> owner(loaded);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(static_cast<CTestPoint3*>(loaded)->z, 9) << "a derived class loads where its base is asked for";

    CTestPoint plain;
    EXPECT_EQ(LoadCause(StoreBytes([&](CArchive& ar) { ar << &plain; }), RUNTIME_CLASS(CTestPoint3)), CArchiveException::badClass)
        << "a base class where a derived one is asked for";
}

TEST_F(ArchiveObjects, BackReferenceOfTheWrongClassIsBadClass) {
    CTestPoint p;
    CTestTiny t;
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &p << &t << &p; });
    ArchiveReader r(bytes);
    std::unique_ptr<CObject> a(r.ar().ReadObject(nullptr));
    std::unique_ptr<CObject> b(r.ar().ReadObject(nullptr));
    EXPECT_EQ(ArchiveCause([&] { r.ar().ReadObject(RUNTIME_CLASS(CTestTiny)); }), CArchiveException::badClass);
}

TEST_F(ArchiveObjects, BadClassRecordsAreRefused) {
    EXPECT_EQ(LoadCause(Words({0xFFFF, 0, 5}) + Text("CNope")), CArchiveException::badClass) << "unknown class";
    EXPECT_EQ(LoadCause(Words({0xFFFF, 1, 64}) + Bytes(64, 'A')), CArchiveException::badClass) << "name of 64";
    // A length of 0xFFFF on a short archive: refused before any name is read.
    EXPECT_EQ(LoadCause(Words({0xFFFF, 1, 0xFFFF}) + Text("CTest")), CArchiveException::badClass) << "name of 0xFFFF";
    EXPECT_EQ(LoadCause(Words({0xFFFF, 1, 12}) + Text("CTestPoint") + Bytes{0, 'x'}), CArchiveException::badClass)
        << "a NUL inside the name";
    EXPECT_EQ(LoadCause(Words({0xFFFF, 2, 10}) + Text("CTestPoint") + Dword(1) + Dword(2)), CArchiveException::badSchema);
    EXPECT_EQ(LoadCause(Words({0xFFFF, 0xFFFF, 12}) + Text("CTestDynamic")), CArchiveException::badClass)
        << "a class that is not serializable";
}

TEST_F(ArchiveObjects, BadIndicesAreRefused) {
    EXPECT_EQ(LoadCause(Words({0x0005})), CArchiveException::badIndex) << "object index never given";
    EXPECT_EQ(LoadCause(Words({0x8001})), CArchiveException::badIndex) << "class index never given";
    EXPECT_EQ(LoadCause(Words({0x8000})), CArchiveException::badIndex) << "class index 0";
    const Bytes onePoint = kPointRecord + Dword(1) + Dword(2);
    for (const auto& [tail, what] : {std::pair{Words({0x0001}), "a class index used as an object"},
                                     std::pair{Words({0x8002}), "an object index used as a class"}}) {
        ArchiveReader r(onePoint + tail);
        std::unique_ptr<CObject> first(r.ar().ReadObject(nullptr));
        EXPECT_EQ(ArchiveCause([&] { std::unique_ptr<CObject> o(r.ar().ReadObject(nullptr)); }), CArchiveException::badIndex) << what;
    }
    EXPECT_EQ(LoadCause(Words({0x7FFF}) + Dword(0xFFFFFFFFu)), CArchiveException::badIndex) << "big tag 0xFFFFFFFF";
    EXPECT_EQ(LoadCause(Words({0x7FFF}) + Dword(0x00000009u)), CArchiveException::badIndex) << "big object tag never given";
}

TEST_F(ArchiveObjects, IndicesFrom0x7FFFUseTheBigTag) {
    // Object k of class CTestTiny (class 1) has index k + 2.
    constexpr int kTiny = 0x7FFF;
    std::vector<CTestTiny> tiny(kTiny);
    CTestPoint p(5, 6), q(7, 8);
    const Bytes bytes = StoreBytes([&](CArchive& ar) {
        for (const CTestTiny& t : tiny) ar << &t;
        ar << &tiny[0x7FFC];  // index 0x7FFE: still a word
        ar << &tiny[0x7FFD];  // index 0x7FFF: the escape
        ar << &p << &q;       // a new class at index 0x8001, then referenced by the big tag
        ar << &q;
    });
    size_t at = 6 + 9 + 2 * (kTiny - 1);
    const auto wordAt = [&](size_t i) { return static_cast<WORD>(bytes[i] | (bytes[i + 1] << 8)); };
    const auto dwordAt = [&](size_t i) { return static_cast<DWORD>(wordAt(i) | (static_cast<DWORD>(wordAt(i + 2)) << 16)); };
    EXPECT_EQ(wordAt(at), 0x7FFE);
    EXPECT_EQ(wordAt(at + 2), 0x7FFF);
    EXPECT_EQ(dwordAt(at + 4), 0x7FFFu);
    at += 8;
    EXPECT_EQ(wordAt(at), 0xFFFF) << "new class record for the point";
    at += 6 + 10 + 8;
    EXPECT_EQ(wordAt(at), 0x7FFF);
    EXPECT_EQ(dwordAt(at + 2), 0x80000000u | 0x8001u) << "class reference through the big tag";
    at += 6 + 8;
    EXPECT_EQ(wordAt(at), 0x7FFF);
    EXPECT_EQ(dwordAt(at + 2), 0x8003u) << "q: class 0x8001, p 0x8002, q 0x8003";
    ASSERT_EQ(bytes.size(), at + 6);

    ArchiveReader r(bytes);
    std::vector<std::unique_ptr<CObject>> loaded;
    for (int i = 0; i < kTiny; ++i) loaded.emplace_back(r.ar().ReadObject(RUNTIME_CLASS(CTestTiny)));
    EXPECT_EQ(r.ar().ReadObject(nullptr), loaded[0x7FFC].get());
    EXPECT_EQ(r.ar().ReadObject(nullptr), loaded[0x7FFD].get());
    std::unique_ptr<CObject> lp(r.ar().ReadObject(RUNTIME_CLASS(CTestPoint)));
    std::unique_ptr<CObject> lq(r.ar().ReadObject(RUNTIME_CLASS(CTestPoint)));
    EXPECT_EQ(static_cast<CTestPoint*>(lq.get())->y, 8);
    EXPECT_EQ(r.ar().ReadObject(nullptr), lq.get());
}

TEST_F(ArchiveObjects, FailingSerializeDestroysTheObjectAndKillsItsIndices) {
    auto faulty = std::make_unique<CTestFaulty>();
    faulty->point = std::make_unique<CTestPoint>(1, 1);
    faulty->flag = CTestFaulty::kFail;
    CObject* inner = faulty->point.get();
    CTestPoint after(3, 4);
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << faulty.get() << &after << faulty.get() << inner << &after; });
    faulty.reset();

    ArchiveReader r(bytes);
    EXPECT_EQ(ArchiveCause([&] { r.ar().ReadObject(nullptr); }), CArchiveException::genericException);
    EXPECT_EQ(CTestFaulty::s_live, 0);
    EXPECT_EQ(CTestPoint::s_live, 1) << "only the point stored after it is alive (in this test)";
    std::unique_ptr<CObject> next(r.ar().ReadObject(RUNTIME_CLASS(CTestPoint)));
    EXPECT_EQ(static_cast<CTestPoint*>(next.get())->x, 3) << "the archive goes on after the failed object";
    EXPECT_EQ(ArchiveCause([&] { r.ar().ReadObject(nullptr); }), CArchiveException::badIndex) << "the failed object";
    EXPECT_EQ(ArchiveCause([&] { r.ar().ReadObject(nullptr); }), CArchiveException::badIndex) << "the object inside it";
    EXPECT_EQ(r.ar().ReadObject(nullptr), next.get()) << "later objects keep their indices";
}

TEST_F(ArchiveObjects, ForeignExceptionsFromSerializePassUnchanged) {
    CTestFaulty faulty;
    faulty.flag = CTestFaulty::kForeign;
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &faulty; });
    ArchiveReader r(bytes);
    try {
        r.ar().ReadObject(nullptr);
        ADD_FAILURE() << "the exception must pass on";
    } catch (const TestForeignError& e) {
        EXPECT_EQ(e.code, CTestFaulty::kForeign);
    }
    EXPECT_EQ(CTestFaulty::s_live, 1) << "only the stored one";
}

TEST_F(ArchiveObjects, NestingDeeperThan256IsRefused) {
    // A chain of depth objects, the innermost holding null.
    const auto nested = [](int depth) {
        Bytes bytes = Words({0xFFFF, 0, 9}) + Text("CTestNest");
        for (int i = 1; i < depth; ++i) bytes = bytes + Words({0x8001});
        return bytes + Words({0x0000});
    };
    {
        ArchiveReader r(nested(CArchive::kMaxObjectDepth));
        std::unique_ptr<CObject> chain(r.ar().ReadObject(RUNTIME_CLASS(CTestNest)));
        EXPECT_EQ(CTestNest::s_live, CArchive::kMaxObjectDepth);
    }
    // After the refusal the innermost null is left, then one more shallow object.
    ArchiveReader r(nested(CArchive::kMaxObjectDepth + 1) + Words({0x8001, 0x0000}));
    EXPECT_EQ(ArchiveCause([&] { r.ar().ReadObject(RUNTIME_CLASS(CTestNest)); }), CArchiveException::genericException);
    EXPECT_EQ(CTestNest::s_live, 0) << "all levels were destroyed on the way out";
    EXPECT_EQ(r.ar().ReadObject(nullptr), nullptr);
    std::unique_ptr<CObject> shallow(r.ar().ReadObject(nullptr));
    EXPECT_NE(shallow, nullptr) << "the depth count came back down after the failure";
}

TEST_F(ArchiveObjects, StoringRefusesWhatCouldNotBeLoaded) {
    CTestNest root;
    CTestNest* tip = &root;
    for (int i = 0; i < CArchive::kMaxObjectDepth; ++i) tip = tip->child = new CTestNest;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_EQ(ArchiveCause([&] { ar << &root; }), CArchiveException::genericException) << "257 levels";
    CArchive fresh(&file, CArchive::store);
    EXPECT_EQ(ArchiveCause([&] { fresh << root.child; }), -1) << "256 levels";

    CTestDynamic dynamic;
    EXPECT_THROW(fresh << &dynamic, CNotSupportedException) << "a class without a schema";
}

TEST_F(ArchiveObjects, EveryTruncatedPrefixRaisesEndOfFile) {
    CTestOwningList list;
    list.AddTail(new CTestPoint(1, 2));
    list.AddTail(new CTestPoint3);
    list.AddTail(static_cast<CObject*>(nullptr));
    list.AddTail(list.GetHead());  // a back-reference inside the list
    const Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &list; });
    list.RemoveTail();  // the repeated pointer is owned once

    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        ArchiveReader r(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
        EXPECT_EQ(ArchiveCause([&] { std::unique_ptr<CObject> o(r.ar().ReadObject(nullptr)); }), CArchiveException::endOfFile)
            << "cut at " << cut << " of " << bytes.size();
        EXPECT_EQ(CTestPoint::s_live, 2) << "partial loads leave nothing behind";
    }
    ArchiveReader whole(bytes);
    std::unique_ptr<CObject> loaded(whole.ar().ReadObject(RUNTIME_CLASS(CObList)));
    auto* back = static_cast<CObList*>(loaded.get());
    ASSERT_EQ(back->GetCount(), 4);
    EXPECT_EQ(back->GetAt(back->FindIndex(3)), back->GetHead());
    back->RemoveTail();
}

TEST_F(ArchiveObjects, HugeListCountOnShortDataRaisesBeforeAllocating) {
    const Bytes bytes = Words({0xFFFF, 0, 15}) + Text("CTestOwningList") + Words({0xFFFF, 0xFFFF, 0xFFFF}) +
                        Dword(0) + Dword(0x40000000u) + Words({0x0000});
    ArchiveReader r(bytes);
    const std::string msg = ArchiveMessage([&] { r.ar().ReadObject(nullptr); });
    EXPECT_NE(msg.find("list elements of at least 2 bytes each"), std::string::npos) << msg;
}

TEST_F(ArchiveObjects, FrameworkListIsRegisteredByName) {
    EXPECT_EQ(CRuntimeClass::FromName("CObList"), RUNTIME_CLASS(CObList));
}
