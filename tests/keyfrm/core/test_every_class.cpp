// One generic test over every registered class: creation by name, defaults, a change of
// every stored field, round trips through both formats, Default() and MakeCopy (for the
// tracks, which are lists, the list's copy). A class added to the registration list is
// covered without a new test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "fuzz/common/KivFuzzSamples.h"
#include "keyfrm/KivFXKeyFrmStartup.h"
#include "kivbase/CKivObList.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "support/ArchiveBytes.h"

namespace {

struct ClassCase {
    const CRuntimeClass* cls;
    std::string name;
};

std::vector<ClassCase> PersistableClasses() {
    std::vector<ClassCase> out;
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses())
        if (c.level) out.push_back({c.runtimeClass, c.runtimeClass->m_lpszClassName});
    return out;
}

std::unique_ptr<CObject> Create(const ClassCase& c) {
    CRuntimeClass* cls = CRuntimeClass::FromName(c.name.c_str());
    EXPECT_EQ(cls, c.cls) << c.name << " is registered under its name";
    std::unique_ptr<CObject> o(cls ? cls->CreateObject() : nullptr);
    EXPECT_TRUE(o && (o->IsKindOf(RUNTIME_CLASS(CKivObject)) || o->IsKindOf(RUNTIME_CLASS(CKivObList)))) << c.name;
    return o;
}

const CKivObList* AsList(const CObject* o) { return o->IsKindOf(RUNTIME_CLASS(CKivObList)) ? static_cast<const CKivObList*>(o) : nullptr; }

// Objects compare through CKivObject::Compare, tracks through the list's Compare.
int CompareAny(const CObject* a, const CObject* b) {
    if (const CKivObList* list = AsList(a)) return list->Compare(static_cast<const CKivObList*>(b));
    return static_cast<const CKivObject*>(a)->Compare(static_cast<const CKivObject*>(b));
}

std::string StoreXmlAny(CObject& o) {
    if (AsList(&o)) return kfxtest::StoreXml(static_cast<CKivObList&>(o));
    return kfxtest::StoreXml(static_cast<CKivObject&>(o));
}

void LoadXmlAny(CObject& o, const std::string& xml) {
    if (AsList(&o)) return kfxtest::LoadXml(static_cast<CKivObList&>(o), xml);
    kfxtest::LoadXml(static_cast<CKivObject&>(o), xml);
}

bool IsDefault(const KivFieldDef& f, const CObject* o) {
    const void* m = f.At(o);
    switch (f.member) {
    case KivMember::i32:
    case KivMember::i16:
    case KivMember::u32:
    case KivMember::u8: return KivGetInt(f, m) == static_cast<std::int64_t>(f.defNum);
    case KivMember::f32: return *static_cast<const float*>(m) == static_cast<float>(f.defNum);
    case KivMember::f64: return *static_cast<const double*>(m) == f.defNum;
    case KivMember::wstr: return static_cast<const CString*>(m)->IsEmpty();
    case KivMember::block: {
        BYTE now[kKivMaxBlockSize];
        f.packBlock(m, now);
        return std::memcmp(now, f.defBlock.data(), f.blockSize) == 0;
    }
    case KivMember::custom: return true;  // arrays: each class's own tests look at them
    }
    return false;
}

int ChangeEveryStoredField(CObject& o) {
    int salt = 0, changed = 0;
    for (const KivClassLevel* level : KivLevelChain(o.GetRuntimeClass()))
        for (const KivFieldDef& f : level->fields)
            if (f.IsPersisted()) {
                KivFuzzSetDistinct(f, &o, salt++);
                EXPECT_FALSE(IsDefault(f, &o)) << level->className << "." << f.name;
                ++changed;
            }
    return changed;
}

void PrintTo(const ClassCase& c, std::ostream* os) { *os << c.name; }

// A memory file that hands out one byte per read: the archive's buffer then never holds
// more than the value it asked for, so the engine has to go value by value.
class TrickleFile : public CMemFile {
public:
    using CMemFile::CMemFile;
    UINT Read(void* buffer, UINT count) override { return CMemFile::Read(buffer, std::min<UINT>(count, 1)); }
};

// The smallest buffer an archive takes: records near its end fall in two fills.
constexpr int kSmallBuffer = 64;

struct LoadOutcome {
    std::unique_ptr<CObject> object;
    int cause = -1;  // -1: loaded without an exception
    std::string message;
};

template <class File>
LoadOutcome LoadThrough(const ClassCase& c, std::vector<BYTE> bytes) {
    LoadOutcome out;
    out.object = Create(c);
    File file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    try {
        out.object->Serialize(ar);
    } catch (const CArchiveException& e) {
        out.cause = e.m_cause;
        out.message = e.what();
    }
    return out;
}

class EveryClass : public testing::TestWithParam<ClassCase> {};

}  // namespace

TEST_P(EveryClass, NewObjectHasEveryTableDefault) {
    auto o = Create(GetParam());
    ASSERT_TRUE(o);
    for (const KivClassLevel* level : KivLevelChain(o->GetRuntimeClass()))
        for (const KivFieldDef& f : level->fields) EXPECT_TRUE(IsDefault(f, o.get())) << level->className << "." << f.name;
}

TEST_P(EveryClass, EveryStoredFieldSurvivesTheArchive) {
    auto o = Create(GetParam());
    ASSERT_TRUE(o);
    ChangeEveryStoredField(*o);
    auto back = Create(GetParam());
    kfxtest::LoadBytes(*back, kfxtest::StoreBytes(*o));
    EXPECT_EQ(CompareAny(back.get(), o.get()), 0);

    // And as an object of the archive's object format, created by its class record.
    const auto bytes = kfxtest::StoreObjectBytes(o.get());
    std::vector<BYTE> copy(bytes);
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> read(ar.ReadObject(nullptr));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetRuntimeClass(), o->GetRuntimeClass());
    EXPECT_EQ(CompareAny(read.get(), o.get()), 0);
}

TEST_P(EveryClass, EveryStoredFieldSurvivesXml) {
    auto o = Create(GetParam());
    ASSERT_TRUE(o);
    ChangeEveryStoredField(*o);
    auto back = Create(GetParam());
    LoadXmlAny(*back, StoreXmlAny(*o));
    EXPECT_EQ(CompareAny(back.get(), o.get()), 0) << StoreXmlAny(*o);
}

TEST_P(EveryClass, DefaultRestoresTheLevelsItCovers) {
    auto o = Create(GetParam());
    ASSERT_TRUE(o);
    if (!o->IsKindOf(RUNTIME_CLASS(CKivFXBaseKeyFrm))) GTEST_SKIP() << "not a keyframe";
    ChangeEveryStoredField(*o);
    static_cast<CKivFXBaseKeyFrm*>(o.get())->Default();
    for (const KivClassLevel* level : KivLevelChain(o->GetRuntimeClass()))
        for (const KivFieldDef& f : level->fields)
            EXPECT_EQ(IsDefault(f, o.get()), !(level->flags & kKivLevelKeptByDefault)) << level->className << "." << f.name;
}

// A level's prepared defaults are copied at offsets learned from an object of the level's
// own class; in an object of this class they must fall exactly on the level's members and
// carry the table's defaults.
TEST_P(EveryClass, NumberDefaultsLandOnTheirMembers) {
    auto o = Create(GetParam());
    ASSERT_TRUE(o);
    ChangeEveryStoredField(*o);
    const auto* base = reinterpret_cast<const char*>(o.get());
    int levels = 0;
    for (const KivClassLevel* level : KivLevelChain(o->GetRuntimeClass())) {
        const KivNumberDefaults* numbers = level->cache ? level->cache->numberDefaults.load() : nullptr;
        if (!numbers) continue;
        ++levels;
        std::vector<std::ptrdiff_t> members, copied;
        for (const KivFieldDef& f : level->fields)
            if (!(f.flags & kKivFieldNoAssign)) members.push_back(static_cast<const char*>(f.At(o.get())) - base);
        for (std::uint32_t i = 0; i < numbers->ends[KivNumberDefaults::kSizes - 1]; ++i) copied.push_back(numbers->numbers[i].offset);
        std::sort(members.begin(), members.end());
        std::sort(copied.begin(), copied.end());
        EXPECT_EQ(copied, members) << level->className;
        numbers->Apply(o.get());
        for (const KivFieldDef& f : level->fields) {
            if (f.flags & kKivFieldNoAssign) continue;
            EXPECT_TRUE(IsDefault(f, o.get())) << level->className << "." << f.name;
        }
    }
    if (levels == 0) GTEST_SKIP() << "no level with number defaults";
}

TEST_P(EveryClass, MakeCopyGivesTheSameClassWithEqualFields) {
    auto o = Create(GetParam());
    ASSERT_TRUE(o);
    ChangeEveryStoredField(*o);
    std::unique_ptr<CObject> copy;
    if (const CKivObList* list = AsList(o.get())) {
        // Lists have no MakeCopy: a list holding the track copies it through its assignment.
        copy = Create(GetParam());
        *static_cast<CKivObList*>(copy.get()) = *list;
    } else {
        copy.reset(static_cast<CKivObject*>(o.get())->MakeCopy());
    }
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetRuntimeClass(), o->GetRuntimeClass());
    EXPECT_EQ(CompareAny(copy.get(), o.get()), 0);
}

INSTANTIATE_TEST_SUITE_P(Registered, EveryClass, testing::ValuesIn(PersistableClasses()),
                         [](const testing::TestParamInfo<ClassCase>& info) { return info.param.name; });

// Records go straight through the archive's buffer when it holds them whole, and value by
// value otherwise; the bytes, the values and every error must not tell which.
TEST_P(EveryClass, StoredBytesDoNotDependOnWhereTheBufferEnds) {
    auto o = Create(GetParam());
    ASSERT_TRUE(o);
    ChangeEveryStoredField(*o);
    const auto reference = kfxtest::StoreBytes(*o);
    EXPECT_EQ(kfxtest::StoreBytes(*o), reference) << "once the class's record is known";
    const int buffer = kSmallBuffer + static_cast<int>(reference.size());
    for (int pad = 0; pad < buffer; ++pad) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store, buffer);
            const std::vector<BYTE> filler(static_cast<size_t>(pad), 0xEE);
            ar.Write(filler.data(), static_cast<UINT>(pad));
            o->Serialize(ar);
            ar.Close();
        }
        ASSERT_EQ(file.GetLength(), pad + reference.size()) << pad;
        EXPECT_TRUE(std::equal(reference.begin(), reference.end(), file.GetBufferPtr() + pad)) << "record after " << pad << " bytes";
    }
}

TEST_P(EveryClass, LoadingValueByValueGivesTheSameObject) {
    auto o = Create(GetParam());
    ASSERT_TRUE(o);
    ChangeEveryStoredField(*o);
    const auto bytes = kfxtest::StoreBytes(*o);
    for (int twice = 0; twice < 2; ++twice) {  // the second time with the class's record known
        LoadOutcome whole = LoadThrough<CMemFile>(GetParam(), bytes);
        LoadOutcome trickled = LoadThrough<TrickleFile>(GetParam(), bytes);
        EXPECT_EQ(whole.cause, -1) << whole.message;
        EXPECT_EQ(trickled.cause, -1) << trickled.message;
        EXPECT_EQ(CompareAny(whole.object.get(), o.get()), 0);
        EXPECT_EQ(CompareAny(trickled.object.get(), o.get()), 0);
    }
}

TEST_P(EveryClass, CutRecordsFailAlikeWhateverTheBufferHolds) {
    auto o = Create(GetParam());
    ASSERT_TRUE(o);
    ChangeEveryStoredField(*o);
    const auto bytes = kfxtest::StoreBytes(*o);
    for (size_t n = 0; n < bytes.size(); ++n) {
        const std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        LoadOutcome whole = LoadThrough<CMemFile>(GetParam(), cut);
        LoadOutcome trickled = LoadThrough<TrickleFile>(GetParam(), cut);
        EXPECT_EQ(whole.cause, CArchiveException::endOfFile) << n << " bytes";
        EXPECT_EQ(trickled.cause, whole.cause) << n << " bytes";
        EXPECT_EQ(trickled.message, whole.message) << n << " bytes";
        EXPECT_EQ(CompareAny(trickled.object.get(), whole.object.get()), 0) << "the fields read before the end, " << n << " bytes";
    }
}
