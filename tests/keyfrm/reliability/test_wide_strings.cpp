// Text fields from damaged archives, for every class whose record ends with text: an odd
// number of bytes left for the UTF-16 units is end of file (the object stays usable), and
// lone surrogates load as U+FFFD, so that nothing invalid reaches the host or XML.
#include <gtest/gtest.h>

#include <memory>

#include "ReliabilityChecks.h"
#include "fuzz/common/KivFuzzTargets.h"
#include "platform/fw/ArchiveTestUtil.h"

using kfxrel::ClassParam;

namespace {

class TextField : public testing::TestWithParam<ClassParam> {};

// The class's record with its text empty, without the length byte that ends it.
Bytes RecordBeforeTheLength(const CRuntimeClass* cls) {
    const std::unique_ptr<CObject> empty = KivFuzzCreate(cls);
    static_cast<CString*>(kfxrel::LastStoredField(cls)->At(empty.get()))->Empty();
    Bytes record = KivFuzzStoreRecord(*empty);
    EXPECT_EQ(Bytes(record.end() - 4, record.end()), (Bytes{0xFF, 0xFE, 0xFF, 0x00})) << "ends with an empty wide string";
    record.pop_back();
    return record;
}

}  // namespace

TEST_P(TextField, AnOddNumberOfBytesForTheUnitsIsEndOfFile) {
    const CRuntimeClass* cls = GetParam().cls;
    const Bytes head = RecordBeforeTheLength(cls);
    for (const BYTE units : {1, 2, 3, 200}) {
        // One byte short of the units the length promises, so an odd number of bytes is left.
        const Bytes bytes = head + Bytes{units} + Bytes(units * 2u - 1u, 'A');
        const auto outcome = kfxrel::RunLoad([&] {
            const std::unique_ptr<CObject> object = KivFuzzCreate(cls);
            try {
                KivFuzzLoadRecord(*object, bytes);
            } catch (const CArchiveException&) {
                KivFuzzExpectArchiveRoundTrip(*object);
                throw;
            }
        });
        EXPECT_TRUE(kfxrel::RefusedWith(outcome, CArchiveException::endOfFile)) << static_cast<int>(units) << " unit(s)";
    }
}

TEST_P(TextField, LoneSurrogatesLoadAsReplacementCharacters) {
    const CRuntimeClass* cls = GetParam().cls;
    const KivFieldDef* field = kfxrel::LastStoredField(cls);
    const Bytes head = RecordBeforeTheLength(cls);
    const struct {
        const char* what;
        Bytes units;
    } cases[] = {
        {"a high surrogate at the end", Words({'a', 0xD800})},
        {"a low surrogate alone", Words({'a', 0xDC00, 'b'})},
        {"a high surrogate before a letter", Words({'a', 0xDBFF, 'b'})},
        {"two high surrogates", Words({'a', 0xD800, 0xD800, 'b'})},
    };
    for (const auto& c : cases) {
        const Bytes bytes = head + Bytes{static_cast<BYTE>(c.units.size() / 2)} + c.units;
        const std::unique_ptr<CObject> object = KivFuzzCreate(cls);
        KivFuzzLoadRecord(*object, bytes);
        const CString& text = *static_cast<const CString*>(field->At(object.get()));
        const std::wstring w(text.GetString(), static_cast<size_t>(text.GetLength()));
        EXPECT_EQ(w.front(), L'a') << c.what;
        EXPECT_NE(w.find(L'\uFFFD'), std::wstring::npos) << c.what;
        for (const wchar_t ch : w) EXPECT_FALSE(ch >= 0xD800 && ch <= 0xDFFF) << c.what;
        EXPECT_NO_THROW(KivFuzzExpectXmlRoundTrip(*object)) << c.what;
    }
}

// No class may end with text in some builds; the suite covers those that do.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(TextField);
INSTANTIATE_TEST_SUITE_P(EveryClassEndingWithText, TextField, testing::ValuesIn(kfxrel::ClassesWhere(kfxrel::EndsWithText)),
                         kfxrel::ParamName);
