// The engine's ways through a level beside the plain rules: levels declared without a cache,
// records whose chain holds a hand-written Serialize, XML names the engine cannot trust,
// and blocks longer than any member's image.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "keyfrm/core/KivPersistMacros.h"
#include "kivbase/KivBase64.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "support/ArchiveBytes.h"

namespace {

struct Pair {
    float a;
    double b;
};

}  // namespace

/// Stored image, 12 bytes: the float, then the double.
template <>
struct KivBlockCodec<Pair> {
    static constexpr UINT kSize = 12;
    static void Pack(const Pair& p, BYTE* out) {
        KivPutF32(out, p.a);
        KivPutF64(out + 4, p.b);
    }
    static void Unpack(const BYTE* in, Pair& p) {
        p.a = KivGetF32(in);
        p.b = KivGetF64(in + 4);
    }
};

namespace {

// One member of every kind the tables use.
class Sample : public CKivObject {
public:
    int Flag = 0;
    short Small = 0;
    int Kind = 0;
    int Frame = 0;
    DWORD Color = 0;
    float Value = 0;
    double Where = 0;
    Pair Handle{};
    CString Name;
    int Scratch = 0;
    int Optional = 0;
};

const KivFieldDef kSampleFields[] = {
    KivField<&Sample::Flag>("Flag", KivEnc::i16, KivXml::flag, 3),
    KivField<&Sample::Small>("Small", KivEnc::i16, KivXml::i16, -2),
    KivField<&Sample::Kind>("Kind", KivEnc::u16, KivXml::i16, 1),
    KivField<&Sample::Frame>("Frame", KivEnc::i32, KivXml::i32, 5),
    KivField<&Sample::Color>("Color", KivEnc::u32, KivXml::color, 0xFF00FF00u),
    KivField<&Sample::Value>("Value", KivEnc::f32, KivXml::f32, 0.5f),
    KivField<&Sample::Where>("Where", KivEnc::f64, KivXml::f64, 0.25),
    KivField<&Sample::Handle>("Handle", KivEnc::block, KivXml::block, Pair{1.5f, 2.5}),
    KivField<&Sample::Name>("Name", KivEnc::wstr, KivXml::wstr),
    KivMemoryField<&Sample::Scratch>("Scratch", 9),
    KivField<&Sample::Optional>("Optional", KivEnc::i32, KivXml::i32, 7, kKivFieldOptional),
};

// The same fields without the string: a level of fixed size.
const std::span<const KivFieldDef> kFixedFields(kSampleFields, 8);

void Fill(Sample& s) {
    s.Flag = 70000;  // beyond 16 bits: the archive keeps the low bits
    s.Small = -300;
    s.Kind = 0xFFFE;
    s.Frame = -123456;
    s.Color = 0xDEADBEEFu;
    s.Value = -1.25f;
    s.Where = 1.0 / 3.0;
    s.Handle = {0.125f, -8.5};
    s.Name = L"n\u00e4me";
    s.Scratch = 11;
    s.Optional = 42;
}

std::vector<BYTE> Store(const Sample& s, const KivClassLevel& level) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        KivStoreLevel(ar, &s, level);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetBufferPtr(), file.GetBufferPtr() + file.GetLength());
}

Sample Load(std::vector<BYTE> bytes, const KivClassLevel& level) {
    Sample s;
    KivDefaultLevel(&s, level);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    KivLoadLevel(ar, &s, level);
    return s;
}

std::string StoreXml(Sample& s, const KivClassLevel& level) {
    CKivXMLDOMDocObj doc;
    EXPECT_TRUE(doc.CreateNew(L"Root"));
    KivSerializeLevelXML(&doc, doc.GetRootNode(), &s, level);
    return doc.GetXMLUtf8();
}

Sample LoadXml(const std::string& xml, const KivClassLevel& level) {
    Sample s;
    KivDefaultLevel(&s, level);
    CKivXMLDOMDocObj doc;
    EXPECT_TRUE(doc.LoadXMLUtf8(xml)) << xml;
    KivSerializeLevelXML(&doc, doc.GetRootNode(), &s, level);
    return s;
}

}  // namespace

TEST(PersistEngine, LevelWithoutCacheWorksAsOneWithIt) {
    for (std::span<const KivFieldDef> fields : {std::span<const KivFieldDef>(kSampleFields), kFixedFields}) {
        static KivLevelCache cache[2];
        const bool fixed = fields.size() == kFixedFields.size();
        const KivClassLevel cached{"Sample", "Sample", 1, 0, fields, &cache[fixed]};
        const KivClassLevel uncached{"Sample", "Sample", 1, 0, fields};
        Sample fresh;
        KivDefaultLevel(&fresh, uncached);
        EXPECT_EQ(fresh.Flag, 3);
        EXPECT_EQ(fresh.Small, -2);
        EXPECT_EQ(fresh.Color, 0xFF00FF00u);
        EXPECT_EQ(fresh.Handle.b, 2.5);
        EXPECT_EQ(fresh.Scratch, fixed ? 0 : 9) << "a memory-only field is defaulted too";

        Sample s;
        Fill(s);
        const auto bytes = Store(s, cached);
        EXPECT_EQ(Store(s, uncached), bytes);
        // Fixed: version word and 38 bytes of fields; then the string (marker, length, four
        // units) and the optional field.
        EXPECT_EQ(bytes.size(), fixed ? 40u : 40u + 12 + 4);
        for (const KivClassLevel* level : {&cached, &uncached}) {
            const Sample back = Load(bytes, *level);
            EXPECT_EQ(back.Flag, 70000 - 65536) << "sign-extended low 16 bits";
            EXPECT_EQ(back.Small, -300);
            EXPECT_EQ(back.Kind, 0xFFFE) << "zero-extended";
            EXPECT_EQ(back.Frame, -123456);
            EXPECT_EQ(back.Color, 0xDEADBEEFu);
            EXPECT_EQ(back.Value, -1.25f);
            EXPECT_EQ(back.Where, 1.0 / 3.0);
            EXPECT_EQ(back.Handle.b, -8.5);
            EXPECT_EQ(back.Scratch, fixed ? 0 : 9) << "never stored";
            Sample whole = back;
            whole.Flag = s.Flag;
            EXPECT_TRUE(KivEqualLevel(&whole, &s, *level)) << "every other stored field as it was";
        }

        const std::string xml = StoreXml(s, cached);
        EXPECT_EQ(StoreXml(s, uncached), xml);
        Sample back = LoadXml(xml, uncached);
        EXPECT_EQ(back.Flag, 70000) << "XML keeps the whole flag";
        EXPECT_EQ(back.Kind, -2) << "XML's 16-bit code sign-extends";
        back.Kind = s.Kind;
        EXPECT_TRUE(KivEqualLevel(&back, &s, cached));
    }
}

TEST(PersistEngine, RepeatedAttributeNamesKeepOneAttributeWithTheLastValue) {
    const KivFieldDef fields[] = {
        KivField<&Sample::Frame>("Same", KivEnc::i32, KivXml::i32, 0),
        KivField<&Sample::Optional>("Same", KivEnc::i32, KivXml::i32, 0),
    };
    static KivLevelCache cache;
    const KivClassLevel level{"Sample", "Sample", 1, 0, fields, &cache};
    Sample s;
    s.Frame = 1;
    s.Optional = 2;
    EXPECT_NE(StoreXml(s, level).find("<DataMember Same=\"2\" />"), std::string::npos) << StoreXml(s, level);
}

TEST(PersistEngine, InvalidNamesWriteNothing) {
    const KivFieldDef fields[] = {KivField<&Sample::Frame>("Frame", KivEnc::i32, KivXml::i32, 0)};
    static KivLevelCache cache[2];
    const KivClassLevel badElement{"Sample", "1Sample", 1, 0, fields, &cache[0]};
    Sample s;
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.CreateNew(L"Root"));
    EXPECT_EQ(KivSerializeLevelXML(&doc, doc.GetRootNode(), &s, badElement), nullptr);
    EXPECT_EQ(doc.GetXMLUtf8().find("Sample"), std::string::npos);

    const KivFieldDef badField[] = {KivField<&Sample::Frame>("Fr ame", KivEnc::i32, KivXml::i32, 0)};
    const KivClassLevel level{"Sample", "Sample", 1, 0, badField, &cache[1]};
    EXPECT_EQ(StoreXml(s, level).find("Fr"), std::string::npos) << "the element is written, the attribute is not";
}

TEST(PersistEngine, LongerBlocksGiveTheirFirstBytesAndShorterOnesNothing) {
    static KivLevelCache cache;
    const KivClassLevel level{"Sample", "Sample", 1, 0, std::span<const KivFieldDef>(kSampleFields + 7, 1), &cache};
    std::vector<BYTE> image(12);
    KivBlockCodec<Pair>::Pack(Pair{4.0f, -2.0}, image.data());
    for (size_t length : {12u, 13u, 40u, 64u, 65u, 100u}) {
        std::vector<BYTE> bytes(image);
        bytes.resize(length, 0x7F);
        std::string text;
        KivBase64Encode(bytes.data(), bytes.size(), text);
        const Sample back = LoadXml("<Root><Sample Version=\"0\"><DataMember Handle=\"" + text + "\"/></Sample></Root>", level);
        EXPECT_EQ(back.Handle.a, 4.0f) << length;
        EXPECT_EQ(back.Handle.b, -2.0) << length;
    }
    std::string shortText;
    KivBase64Encode(image.data(), 11, shortText);
    std::string unreadable, longer;
    KivBase64Encode(image.data(), 12, unreadable);
    image.push_back(0x40);
    KivBase64Encode(image.data(), 13, longer);  // 20 characters, the last group "QA=="
    for (const std::string& text : {shortText, unreadable.substr(0, 14) + "?" + unreadable.substr(15), unreadable + "====",
                                    longer.substr(0, 17) + "R==" /* bits left over in the padding */, std::string("QUJD=QUJD")}) {
        const Sample kept = LoadXml("<Root><Sample Version=\"0\"><DataMember Handle=\"" + text + "\"/></Sample></Root>", level);
        EXPECT_EQ(kept.Handle.b, 2.5) << "the default stays for " << text;
    }
}

// ---- records whose chain holds levels that are not the engine's own ----

namespace persist_engine_test {

class TBase : public CKivObject {
    KIV_DECLARE_PERSIST_LEVEL(TBase)
public:
    TBase() { KivDefaultLevel(this, Level()); }
    int Flag;
    double Where;
};
KIV_IMPLEMENT_PERSIST_LEVEL(TBase, CKivObject)
KIV_LEVEL(TBase, "TBase", 0, 0, KivField<&Self::Flag>("Flag", KivEnc::i16, KivXml::flag, 0),
          KivField<&Self::Where>("Where", KivEnc::f64, KivXml::f64, 0.0))

constexpr BYTE kOddMark = 0x5A;

// Writes a byte of its own after its level.
class TOdd : public TBase {
    KIV_DECLARE_PERSIST_LEVEL(TOdd)
public:
    TOdd() { KivDefaultLevel(this, Level()); }
    int Count;
};
KIV_IMPLEMENT_PERSIST_CLASS(TOdd, TBase)
KIV_IMPLEMENT_PERSIST_ASSIGN(TOdd, TBase)
KIV_LEVEL(TOdd, "TOdd", 0, 0, KivField<&Self::Count>("Count", KivEnc::i32, KivXml::i32, 0))
void TOdd::Serialize(CArchive& ar) {
    TBase::Serialize(ar);
    KivSerializeLevel(ar, this, Level());
    BYTE mark = kOddMark;
    if (ar.IsStoring())
        ar << mark;
    else
        ar >> mark;
    if (mark != kOddMark) ar.ThrowError(CArchiveException::genericException, "bad mark");
}
void TOdd::SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {
    if (IXMLDOMNode* base = KivSerializeLevelXML(doc, node, this, Level())) TBase::SerializeXML(doc, base);
}

class TTop : public TOdd {
    KIV_DECLARE_PERSIST_LEVEL(TTop)
public:
    TTop() { KivDefaultLevel(this, Level()); }
    float Value;
};
KIV_IMPLEMENT_PERSIST_LEVEL(TTop, TOdd)
KIV_LEVEL(TTop, "TTop", 0, 0, KivField<&Self::Value>("Value", KivEnc::f32, KivXml::f32, 0.0f))

// Has no table of its own (its Level is TBase's) but writes a byte of its own.
class TMid : public TBase {
    DECLARE_SERIAL(TMid)
public:
    void Serialize(CArchive& ar) override {
        TBase::Serialize(ar);
        BYTE mark = kOddMark;
        if (ar.IsStoring())
            ar << mark;
        else
            ar >> mark;
    }
};
IMPLEMENT_SERIAL(TMid, TBase, 0)

class TLeaf : public TMid {
    KIV_DECLARE_PERSIST_LEVEL(TLeaf)
public:
    TLeaf() { KivDefaultLevel(this, Level()); }
    int Frame;
};
KIV_IMPLEMENT_PERSIST_LEVEL(TLeaf, TMid)
KIV_LEVEL(TLeaf, "TLeaf", 0, 0, KivField<&Self::Frame>("Frame", KivEnc::i32, KivXml::i32, 0))

}  // namespace persist_engine_test

using namespace persist_engine_test;

TEST(PersistEngine, HandWrittenLevelsInTheChainKeepTheirOwnBytes) {
    TTop top;
    top.Flag = 1;
    top.Where = 0.5;
    top.Count = 7;
    top.Value = 2.0f;
    const auto expected = kfxtest::Bytes({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F,  // TBase
                                          0, 0, 7, 0, 0, 0, kOddMark,                // TOdd and its mark
                                          0, 0, 0, 0, 0, 0x40});                     // TTop
    for (int i = 0; i < 3; ++i) EXPECT_EQ(kfxtest::StoreBytes(top), expected) << "store " << i;
    for (int i = 0; i < 3; ++i) {
        TTop back;
        kfxtest::LoadBytes(back, expected);
        EXPECT_EQ(back.Compare(&top), 0) << "load " << i;
    }
    auto badMark = expected;
    badMark[18] = 0;
    TTop refused;
    EXPECT_THROW(kfxtest::LoadBytes(refused, badMark), CArchiveException) << "TOdd's own read still runs";

    TLeaf leaf;
    leaf.Frame = 9;
    const auto leafBytes = kfxtest::Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kOddMark, 0, 0, 9, 0, 0, 0});
    for (int i = 0; i < 3; ++i) EXPECT_EQ(kfxtest::StoreBytes(leaf), leafBytes) << "a base whose table is inherited, store " << i;
}

// ---- records whose steps are partly plain copies, partly converted ----

namespace persist_engine_test {

// Members whose stored bytes are not their own image, between members whose bytes are.
class TMixed : public CKivObject {
    KIV_DECLARE_PERSIST_LEVEL(TMixed)
public:
    TMixed() { KivDefaultLevel(this, Level()); }
    double Ratio;  // stored as a float
    int Count;     // 16 bits, sign-extended back
    short Small;   // stored as 32 bits
    BYTE Tiny;     // stored as 16 bits
    float Value;   // its own image
    DWORD Mask;    // 16 bits, zero-extended back
};
KIV_IMPLEMENT_PERSIST_LEVEL(TMixed, CKivObject)
KIV_LEVEL(TMixed, "TMixed", 0, 0, KivField<&Self::Ratio>("Ratio", KivEnc::f32, KivXml::f64, 0.0),
          KivField<&Self::Count>("Count", KivEnc::i16, KivXml::i32, 0),
          KivField<&Self::Small>("Small", KivEnc::i32, KivXml::i16, 0),
          KivField<&Self::Tiny>("Tiny", KivEnc::u16, KivXml::i16, 0),
          KivField<&Self::Value>("Value", KivEnc::f32, KivXml::f32, 0.0f),
          KivField<&Self::Mask>("Mask", KivEnc::u16, KivXml::color, 0u))

}  // namespace persist_engine_test

TEST(PersistEngine, ConvertedStepsBesideCopiesKeepTheirBytes) {
    TMixed m;
    m.Ratio = 0.1;
    m.Count = -2;
    m.Small = -3;
    m.Tiny = 200;
    m.Value = 2.0f;
    m.Mask = 0x12345678u;
    const auto expected = kfxtest::Bytes({0, 0,                     // version
                                          0xCD, 0xCC, 0xCC, 0x3D,   // 0.1 as a float
                                          0xFE, 0xFF,               // -2
                                          0xFD, 0xFF, 0xFF, 0xFF,   // -3 widened
                                          0xC8, 0,                  // 200
                                          0, 0, 0, 0x40,            // 2.0f
                                          0x78, 0x56});             // low bits of the mask
    // The first record of a class goes level by level, the later ones as the whole record.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(kfxtest::StoreBytes(m), expected) << "store " << i;
    for (int i = 0; i < 3; ++i) {
        TMixed back;
        kfxtest::LoadBytes(back, expected);
        EXPECT_EQ(back.Ratio, static_cast<double>(0.1f)) << "load " << i;
        EXPECT_EQ(back.Count, -2) << "load " << i;
        EXPECT_EQ(back.Small, -3) << "load " << i;
        EXPECT_EQ(back.Tiny, 200) << "load " << i;
        EXPECT_EQ(back.Value, 2.0f) << "load " << i;
        EXPECT_EQ(back.Mask, 0x5678u) << "load " << i;
    }
}
