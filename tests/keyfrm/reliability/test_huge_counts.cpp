// Counts and lengths that claim more than the data holds (through the 0xFFFF and
// 0xFFFFFFFF escapes up to 64-bit values), for every list, every class that ends with a
// list stored in its own form (the alpha keyframe, colour arrays), and every class that
// ends with text: end of file before any allocation the data left could not fill.
#include <gtest/gtest.h>

#include <memory>

#include "ReliabilityChecks.h"
#include "platform/fw/ArchiveTestUtil.h"

using kfxrel::ClassParam;
using kfxrel::EndsWithOwnFormList;
using kfxrel::EndsWithText;
using kfxrel::kMostBytesForBookkeeping;
using kfxrel::LastStoredField;
using kfxrel::RefusedWith;
using kfxrel::RunLoad;

namespace {

Bytes Qword(ULONGLONG v) { return Dword(static_cast<DWORD>(v)) + Dword(static_cast<DWORD>(v >> 32)); }

// Counts as WriteCount stores them, each far beyond the few bytes that follow.
const Bytes kHugeCounts[] = {
    Words({0xFFFE}),
    Words({0xFFFF}) + Dword(0x00010000u),
    Words({0xFFFF}) + Dword(0xFFFFFFFEu),
    Words({0xFFFF}) + Dword(0xFFFFFFFFu) + Qword(0x100000000ULL),
    Words({0xFFFF}) + Dword(0xFFFFFFFFu) + Qword(0x7FFFFFFFFFFFFFFFULL),
    Words({0xFFFF}) + Dword(0xFFFFFFFFu) + Qword(0xFFFFFFFFFFFFFFFFULL),
};
// String lengths after the wide marker, each far beyond what follows.
const Bytes kHugeLengths[] = {
    Bytes{0xFE},
    Bytes{0xFF} + Words({0xFFFD}),
    Bytes{0xFF} + Words({0xFFFF}) + Dword(0xFFFFFFFEu),
    Bytes{0xFF} + Words({0xFFFF}) + Dword(0xFFFFFFFFu) + Qword(0xFFFFFFFFFFFFFFFFULL),
};
const Bytes kFewBytes = {1, 2, 3, 4, 5};

// Loads bytes into a new object of the class; the outcome, with the largest allocation the
// load itself made.
kfxrel::LoadOutcome LoadMeasured(const CRuntimeClass* cls, const Bytes& bytes, size_t& largest) {
    return RunLoad([&] {
        const std::unique_ptr<CObject> object = KivFuzzCreate(cls);
        ArchiveReader reader(bytes);
        const kfxtest::LargestAllocation measure;
        try {
            object->Serialize(reader.ar());
        } catch (const CArchiveException&) {
            largest = measure.Bytes();
            throw;
        }
    });
}

bool StoresACount(const CRuntimeClass* cls) { return cls->IsDerivedFrom(RUNTIME_CLASS(CKivObList)) || EndsWithOwnFormList(cls); }

class HugeCount : public testing::TestWithParam<ClassParam> {};
class HugeLength : public testing::TestWithParam<ClassParam> {};

}  // namespace

TEST_P(HugeCount, ListCountBeyondTheDataIsEndOfFileBeforeAllocating) {
    const CRuntimeClass* cls = GetParam().cls;
    const KivFieldDef* last = LastStoredField(cls);
    Bytes head;  // the record up to the count
    if (cls->IsDerivedFrom(RUNTIME_CLASS(CKivObList))) {
        // A list's record starts with its element count.
    } else {
        // With its lists empty the record ends with the last list's count, 0.
        const std::unique_ptr<CObject> empty = KivFuzzCreate(cls);
        last->custom->reset(last->At(empty.get()));
        head = KivFuzzStoreRecord(*empty);
        ASSERT_GE(head.size(), 2u);
        ASSERT_EQ(head[head.size() - 1] | head[head.size() - 2], 0) << "the record ends with the empty list's count";
        head.resize(head.size() - 2);
    }
    for (const Bytes& count : kHugeCounts) {
        size_t largest = 0;
        const auto outcome = LoadMeasured(cls, head + count + kFewBytes, largest);
        EXPECT_TRUE(RefusedWith(outcome, CArchiveException::endOfFile)) << count.size() << "-byte count";
        EXPECT_LE(largest, kMostBytesForBookkeeping) << count.size() << "-byte count";
    }
}

TEST_P(HugeLength, TextLengthBeyondTheDataIsEndOfFileBeforeAllocating) {
    const CRuntimeClass* cls = GetParam().cls;
    const std::unique_ptr<CObject> empty = KivFuzzCreate(cls);
    static_cast<CString*>(LastStoredField(cls)->At(empty.get()))->Empty();
    Bytes head = KivFuzzStoreRecord(*empty);
    ASSERT_EQ(Bytes(head.end() - 4, head.end()), (Bytes{0xFF, 0xFE, 0xFF, 0x00})) << "ends with an empty wide string";
    head.pop_back();  // the length
    for (const Bytes& length : kHugeLengths) {
        size_t largest = 0;
        const auto outcome = LoadMeasured(cls, head + length + kFewBytes, largest);
        EXPECT_TRUE(RefusedWith(outcome, CArchiveException::endOfFile)) << length.size() << "-byte length";
        EXPECT_LE(largest, kMostBytesForBookkeeping) << length.size() << "-byte length";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryClassWithACount, HugeCount, testing::ValuesIn(kfxrel::ClassesWhere(StoresACount)), kfxrel::ParamName);
// No class may end with text yet; the suite covers those that will.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(HugeLength);
INSTANTIATE_TEST_SUITE_P(EveryClassEndingWithText, HugeLength, testing::ValuesIn(kfxrel::ClassesWhere(EndsWithText)), kfxrel::ParamName);
