// Class records a loader must refuse: unknown names, names of 64 characters or more (up to
// the word's 0xFFFF, refused before anything of that size is allocated), a class of the
// wrong kind where a keyframe is asked for, and any schema other than the class's 0.
#include <gtest/gtest.h>

#include <memory>

#include "ReliabilityChecks.h"
#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "platform/fw/ArchiveTestUtil.h"

using kfxrel::ClassParam;
using kfxrel::kMostBytesForBookkeeping;
using kfxrel::RefusedWith;
using kfxrel::RunLoad;

namespace {

// A new-class record of schema 0 with that name, then a few bytes of an object.
Bytes ClassRecord(const std::string& name) {
    return Words({0xFFFF, 0, static_cast<WORD>(name.size())}) + Text(name) + Words({0, 0, 0});
}

class ListElementClass : public testing::TestWithParam<ClassParam> {};
class ObjectSchema : public testing::TestWithParam<ClassParam> {};
class NotAKeyframe : public testing::TestWithParam<ClassParam> {};

bool IsNotAKeyframe(const CRuntimeClass* cls) { return !cls->IsDerivedFrom(RUNTIME_CLASS(CKivFXBaseKeyFrm)); }

}  // namespace

TEST_P(ListElementClass, UnknownAndForeignClassesAreBadClassAndTheListStaysEmpty) {
    using namespace std::string_literals;
    for (const std::string& name : {"CKivFXNoSuchKeyFrm"s, ""s, "CKivFXValueKeyFrm\0x"s, "ckivfxvaluekeyfrm"s, "CObject"s,
                                    "CKivFXValueKeyFrm "s, "\xFF\xFE"s}) {
        INT_PTR left = -1;
        const auto outcome = RunLoad([&] {
            const std::unique_ptr<CObject> list = KivFuzzCreate(GetParam().cls);
            try {
                KivFuzzLoadRecord(*list, Words({1}) + ClassRecord(name));
            } catch (const CArchiveException&) {
                left = static_cast<CKivObList&>(*list).GetCount();
                throw;
            }
        });
        EXPECT_TRUE(RefusedWith(outcome, CArchiveException::badClass)) << "'" << name << "'";
        EXPECT_EQ(left, 0) << "'" << name << "'";
    }
}

TEST_P(ListElementClass, NamesOf64CharactersOrMoreAreRefusedBeforeTheyAreRead) {
    for (const WORD length : {64, 65, 255, 256, 0x7FFF, 0xFFFE, 0xFFFF}) {
        // The name's bytes are all there for the shorter lengths, cut short for the longer.
        const Bytes record = Words({1, 0xFFFF, 0, length}) + Text(std::string(std::min<WORD>(length, 300), 'C'));
        size_t largest = 0;
        const auto outcome = RunLoad([&] {
            const std::unique_ptr<CObject> list = KivFuzzCreate(GetParam().cls);
            const kfxtest::LargestAllocation measure;
            try {
                KivFuzzLoadRecord(*list, record);
            } catch (const CArchiveException&) {
                largest = measure.Bytes();
                throw;
            }
        });
        EXPECT_TRUE(RefusedWith(outcome, CArchiveException::badClass)) << length;
        EXPECT_LE(largest, kMostBytesForBookkeeping) << length;
    }
}

TEST_P(ListElementClass, AFrameworkListHoldingKeyframesIsRefusedBeforeItIsRead) {
    // The framework's list does not own what it holds: read whole and then refused, the
    // keyframes inside it would be lost.
    const std::unique_ptr<CObject> keyframe = KivFuzzSample(KivFuzzObjectClasses().back());
    const Bytes bytes = Words({1}) + Words({0xFFFF, 0, 7}) + Text("CObList") + Words({2}) +
                        KivFuzzStoreObject(keyframe.get()) + KivFuzzStoreObject(keyframe.get());
    const auto outcome = RunLoad([&] {
        const std::unique_ptr<CObject> list = KivFuzzCreate(GetParam().cls);
        KivFuzzLoadRecord(*list, bytes);
    });
    EXPECT_TRUE(RefusedWith(outcome, CArchiveException::badClass));
}

INSTANTIATE_TEST_SUITE_P(EveryList, ListElementClass, testing::ValuesIn(kfxrel::ListClasses()), kfxrel::ParamName);

TEST_P(ObjectSchema, AnySchemaButZeroIsBadSchema) {
    const std::unique_ptr<CObject> sample = KivFuzzSample(GetParam().cls);
    const Bytes good = KivFuzzStoreObject(sample.get());
    ASSERT_EQ(good[0], 0xFF);
    ASSERT_EQ(good[2] | good[3], 0) << "every class of the library has schema 0";
    for (const WORD schema : {1, 2, 0x7FFF, 0xFFFF}) {
        Bytes bad = good;
        bad[2] = static_cast<BYTE>(schema & 0xFF);
        bad[3] = static_cast<BYTE>(schema >> 8);
        const auto outcome = RunLoad([&] {
            ArchiveReader reader(bad);
            std::unique_ptr<CObject> object(reader.ar().ReadObject(nullptr));
        });
        EXPECT_TRUE(RefusedWith(outcome, CArchiveException::badSchema)) << schema;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryClass, ObjectSchema, testing::ValuesIn(kfxrel::AllClasses()), kfxrel::ParamName);

TEST_P(NotAKeyframe, WhereAKeyframeIsAskedForIsBadClass) {
    const std::unique_ptr<CObject> sample = KivFuzzSample(GetParam().cls);
    const Bytes bytes = KivFuzzStoreObject(sample.get());
    const auto outcome = RunLoad([&] {
        ArchiveReader reader(bytes);
        std::unique_ptr<CObject> object(reader.ar().ReadObject(RUNTIME_CLASS(CKivFXBaseKeyFrm)));
    });
    EXPECT_TRUE(RefusedWith(outcome, CArchiveException::badClass));
    if (!GetParam().cls->IsDerivedFrom(RUNTIME_CLASS(CKivObList))) return;
    // A track (or any list) is not a persistable object at all.
    const auto asObject = RunLoad([&] {
        ArchiveReader reader(bytes);
        std::unique_ptr<CObject> object(reader.ar().ReadObject(RUNTIME_CLASS(CKivObject)));
    });
    EXPECT_TRUE(RefusedWith(asObject, CArchiveException::badClass));
}

INSTANTIATE_TEST_SUITE_P(EveryOtherClass, NotAKeyframe, testing::ValuesIn(kfxrel::ClassesWhere(IsNotAKeyframe)), kfxrel::ParamName);
