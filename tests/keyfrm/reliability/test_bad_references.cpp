// Object and class references that name nothing or the wrong thing, after one good element
// of every list class: each is a bad index, the good element stays in (and is owned by) the
// list, the list stays usable, nothing leaks.
#include <gtest/gtest.h>

#include <memory>

#include "ReliabilityChecks.h"
#include "fuzz/common/KivFuzzTargets.h"
#include "platform/fw/ArchiveTestUtil.h"

using kfxrel::ClassParam;
using kfxrel::RefusedWith;
using kfxrel::RunLoad;

namespace {

struct BadReference {
    const char* what;
    Bytes tag;
};

// In a fresh archive the first element's class is index 1 and the element itself index 2.
const BadReference kBadReferences[] = {
    {"an object reference past what was loaded", Words({0x0005})},
    {"an object reference that lands on a class", Words({0x0001})},
    {"a reference to the element the list already owns", Words({0x0002})},
    {"class reference 0x8000 (index 0)", Words({0x8000})},
    {"class reference 0x8002, which is an object", Words({0x8002})},
    {"the big-tag escape with 0xFFFFFFFF", Words({0x7FFF}) + Dword(0xFFFFFFFFu)},
    {"the big-tag escape naming the owned element", Words({0x7FFF}) + Dword(2)},
    {"the big-tag escape with a class index never given", Words({0x7FFF}) + Dword(0x80000009u)},
};

// The first element of a sample of the list class: a keyframe the list accepts.
std::unique_ptr<CObject> FirstElementOf(const CRuntimeClass* listClass) {
    std::unique_ptr<CObject> sample = KivFuzzSample(listClass);
    auto& list = static_cast<CKivObList&>(*sample);
    std::unique_ptr<CObject> first(list.RemoveHead());
    return first;
}

class BadReferenceInList : public testing::TestWithParam<ClassParam> {};

}  // namespace

TEST_P(BadReferenceInList, IsBadIndexAndKeepsTheGoodElement) {
    const std::unique_ptr<CObject> good = FirstElementOf(GetParam().cls);
    ASSERT_TRUE(good) << "the sample list holds an element";
    for (const BadReference& bad : kBadReferences) {
        const Bytes bytes = Words({2}) + KivFuzzStoreObject(good.get()) + bad.tag;
        INT_PTR kept = -1;
        int sameElement = -1;
        const auto outcome = RunLoad([&] {
            const std::unique_ptr<CObject> object = KivFuzzCreate(GetParam().cls);
            auto& list = static_cast<CKivObList&>(*object);
            try {
                KivFuzzLoadRecord(list, bytes);
            } catch (const CArchiveException&) {
                kept = list.GetCount();
                sameElement = list.GetCount() == 1 ? KivFuzzCompare(*list.GetHead(), *good) : -1;
                KivFuzzExpectArchiveRoundTrip(list);
                throw;
            }
        });
        EXPECT_TRUE(RefusedWith(outcome, CArchiveException::badIndex)) << bad.what;
        EXPECT_EQ(kept, 1) << bad.what;
        EXPECT_EQ(sameElement, 0) << bad.what;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryList, BadReferenceInList, testing::ValuesIn(kfxrel::ListClasses()), kfxrel::ParamName);

TEST(BadReferenceAlone, AnyReferenceAsTheFirstObjectOfAnArchiveIsBadIndex) {
    for (const BadReference& bad : kBadReferences) {
        const auto outcome = RunLoad([&] {
            ArchiveReader reader(bad.tag);
            std::unique_ptr<CObject> object(reader.ar().ReadObject(RUNTIME_CLASS(CKivObject)));
        });
        EXPECT_TRUE(RefusedWith(outcome, CArchiveException::badIndex)) << bad.what;
    }
}
