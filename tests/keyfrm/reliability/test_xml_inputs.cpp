// Hostile XML for every registered class: attribute values that are not numbers of their
// code (the field then takes the zeroed record's value), bad blocks (the member keeps its
// value unless the block is long enough), duplicate attributes and DOCTYPEs (the document
// is refused), list counts that lie (never believed past the document).
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include <pugixml.hpp>

#include "KfxProject.h"
#include "ReliabilityChecks.h"
#include "kivbase/KivBase64.h"
#include "kivbase/persist/KivMemberAccess.h"

using kfxrel::ClassParam;
using kfxrel::RunLoad;

namespace {

// Stands for a value while the document is saved; replaced by raw markup afterwards.
constexpr const char* kMarker = "KIVRELIABILITYMARKER";

// The "DataMember" element of one level of an object whose XML is under root.
pugi::xml_node DataMemberOf(pugi::xml_node root, const CRuntimeClass* cls, const KivClassLevel* target) {
    const std::vector<const KivClassLevel*> chain = KivLevelChain(cls);
    pugi::xml_node node = root;
    // A class that writes its own part by hand (no table) still nests its base in BaseObject.
    if (!KivFindLevel(cls)) node = root.first_child().child("BaseObject");
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const pugi::xml_node element = node.child((*it)->element);
        if (*it == target) return element.child("DataMember");
        node = element.child("BaseObject");
    }
    return {};
}

// The sample's XML with one attribute of one level spelled as raw markup.
std::string WithRawAttribute(const std::string& xml, const CRuntimeClass* cls, const KivClassLevel* level,
                             const char* name, const std::string& raw) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(xml.c_str()));
    pugi::xml_node data = DataMemberOf(doc.document_element(), cls, level);
    EXPECT_TRUE(data) << cls->m_lpszClassName << " has a DataMember for " << level->className;
    pugi::xml_attribute a = data.attribute(name);
    EXPECT_TRUE(a) << name;
    a.set_value(kMarker);
    std::ostringstream out;
    doc.save(out);
    std::string text = out.str();
    text.replace(text.find(kMarker), std::strlen(kMarker), raw);
    return text;
}

// Loads xml into a new sample of the class (whose fields are all away from zero) and
// hands it to check; the load's outcome.
template <class Check>
kfxrel::LoadOutcome LoadIntoSample(const CRuntimeClass* cls, const std::string& xml, Check check) {
    return RunLoad([&] {
        const std::unique_ptr<CObject> object = KivFuzzSample(cls, 1);
        CKivXMLDOMDocObj doc;
        if (!doc.LoadXMLUtf8(xml)) throw std::runtime_error("the document was refused");
        KivFuzzSerializeXML(*object, &doc, doc.GetRootNode());
        check(*object);
    });
}

bool IsZero(const KivFieldDef& f, const void* m) {
    if (f.member == KivMember::f32 || f.member == KivMember::f64) {
        const double v = KivGetReal(f, m);
        return v == 0.0 && !std::signbit(v);
    }
    if (f.member == KivMember::wstr) return static_cast<const CString*>(m)->IsEmpty();
    return KivGetInt(f, m) == 0;
}

// Spellings no numeric code accepts: out of range, not a number, padded, partial.
const char* const kNotNumbers[] = {"1e400", "-1e400", "1e-400", "abc", "", "-", "+5", " 5", "5 ",
                                   "0x10", "5.5.5", "1e", "nan(", "\xFF\xFE"};

bool IsNumeric(KivXml code) {
    return code == KivXml::flag || code == KivXml::i16 || code == KivXml::i32 || code == KivXml::color ||
           code == KivXml::f32 || code == KivXml::f64;
}

class XmlAttributes : public testing::TestWithParam<ClassParam> {};

}  // namespace

TEST_P(XmlAttributes, ANumberThatDoesNotReadGivesTheZeroedValue) {
    const CRuntimeClass* cls = GetParam().cls;
    const std::string xml = KivFuzzStoreXml(*KivFuzzSample(cls));
    for (const KivClassLevel* level : KivLevelChain(cls))
        for (const KivFieldDef& f : level->fields) {
            if (!f.IsPersisted() || !IsNumeric(f.xml)) continue;
            for (const char* spelling : kNotNumbers) {
                bool zero = false;
                const auto outcome = LoadIntoSample(cls, WithRawAttribute(xml, cls, level, f.name, spelling),
                                                    [&](CObject& o) { zero = IsZero(f, f.At(&o)); });
                EXPECT_TRUE(kfxrel::Accepted(outcome)) << level->className << "." << f.name << "=\"" << spelling << "\"";
                EXPECT_TRUE(zero) << level->className << "." << f.name << "=\"" << spelling << "\"";
            }
            // "NaN" is a float's spelling of NaN and no integer's.
            bool asExpected = false;
            const bool floating = f.xml == KivXml::f32 || f.xml == KivXml::f64;
            const auto outcome = LoadIntoSample(cls, WithRawAttribute(xml, cls, level, f.name, "NaN"), [&](CObject& o) {
                asExpected = floating ? std::isnan(KivGetReal(f, f.At(&o))) : IsZero(f, f.At(&o));
            });
            EXPECT_TRUE(kfxrel::Accepted(outcome)) << level->className << "." << f.name;
            EXPECT_TRUE(asExpected) << level->className << "." << f.name << "=\"NaN\"";
        }
}

TEST_P(XmlAttributes, ABlockThatIsNotLongEnoughBase64LeavesTheMember) {
    const CRuntimeClass* cls = GetParam().cls;
    const std::unique_ptr<CObject> sample = KivFuzzSample(cls, 1);
    const std::string xml = KivFuzzStoreXml(*KivFuzzSample(cls));
    for (const KivClassLevel* level : KivLevelChain(cls))
        for (const KivFieldDef& f : level->fields) {
            if (!f.IsPersisted() || f.xml != KivXml::block) continue;
            BYTE before[kKivMaxBlockSize], longer[kKivMaxBlockSize + 3];
            f.packBlock(f.At(sample.get()), before);
            for (BYTE& b : longer) b = static_cast<BYTE>(&b - longer + 0x41);
            std::string shortBlock, longBlock;
            KivBase64Encode(longer, f.blockSize - 1, shortBlock);
            KivBase64Encode(longer, sizeof longer, longBlock);
            for (const std::string& spelling : {std::string("!!!!"), std::string("AAA"), std::string("AAAA="), std::string(),
                                                shortBlock, std::string("\xFF\xFE\xFD\xFC")}) {
                BYTE after[kKivMaxBlockSize];
                const auto outcome = LoadIntoSample(cls, WithRawAttribute(xml, cls, level, f.name, spelling),
                                                    [&](CObject& o) { f.packBlock(f.At(&o), after); });
                EXPECT_TRUE(kfxrel::Accepted(outcome)) << level->className << "." << f.name;
                EXPECT_EQ(std::memcmp(after, before, f.blockSize), 0) << level->className << "." << f.name << "=\"" << spelling << "\"";
            }
            // A longer block gives its first bytes (as the member holds them: padding is not kept).
            BYTE expected[kKivMaxBlockSize], after[kKivMaxBlockSize];
            const std::unique_ptr<CObject> scratch = KivFuzzCreate(cls);
            f.unpackBlock(longer, f.At(scratch.get()));
            f.packBlock(f.At(scratch.get()), expected);
            const auto outcome = LoadIntoSample(cls, WithRawAttribute(xml, cls, level, f.name, longBlock),
                                                [&](CObject& o) { f.packBlock(f.At(&o), after); });
            EXPECT_TRUE(kfxrel::Accepted(outcome)) << level->className << "." << f.name;
            EXPECT_EQ(std::memcmp(after, expected, f.blockSize), 0) << level->className << "." << f.name << ": a longer block";
        }
}

TEST_P(XmlAttributes, TextThatIsNotUtf8OrALoneSurrogateLoadsAsReplacementCharacters) {
    const CRuntimeClass* cls = GetParam().cls;
    const std::string xml = KivFuzzStoreXml(*KivFuzzSample(cls));
    for (const KivClassLevel* level : KivLevelChain(cls))
        for (const KivFieldDef& f : level->fields) {
            if (!f.IsPersisted() || f.xml != KivXml::wstr) continue;
            for (const char* spelling : {"a\xFF" "b", "a&#xD800;b", "a\xED\xA0\x80" "b"}) {
                CString text;
                const auto outcome = LoadIntoSample(cls, WithRawAttribute(xml, cls, level, f.name, spelling),
                                                    [&](CObject& o) { text = *static_cast<const CString*>(f.At(&o)); });
                EXPECT_TRUE(kfxrel::Accepted(outcome)) << level->className << "." << f.name;
                const std::wstring w = text.GetString();
                EXPECT_TRUE(w.size() >= 3 && w.front() == L'a' && w.back() == L'b' && w.find(L'\uFFFD') != std::wstring::npos)
                    << level->className << "." << f.name << "=\"" << spelling << "\"";
                for (const wchar_t c : w) EXPECT_FALSE(c >= 0xD800 && c <= 0xDFFF) << "no lone surrogate survives";
            }
        }
}

TEST_P(XmlAttributes, DuplicateAttributesRefuseTheDocument) {
    const CRuntimeClass* cls = GetParam().cls;
    const std::string xml = KivFuzzStoreXml(*KivFuzzSample(cls));
    std::string many = " ";
    for (int i = 0; i < 40; ++i) many += "A" + std::to_string(i) + "=\"1\" ";
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"<Root", "<Root X=\"1\" X=\"2\""},
                                   {"<Root", "<Root" + many + "A7=\"2\""},
                                   {"Version=\"0\"", "Version=\"0\" Version=\"1\""}}) {
        std::string bad = xml;
        const size_t at = bad.find(from);
        if (at == std::string::npos) continue;  // CKivObject's XML has no element of its own
        bad.replace(at, from.size(), to);
        CKivXMLDOMDocObj doc;
        EXPECT_FALSE(doc.LoadXMLUtf8(bad)) << to;
        EXPECT_EQ(doc.GetRootNode(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryClass, XmlAttributes, testing::ValuesIn(kfxrel::AllClasses()), kfxrel::ParamName);

namespace {

class XmlListCount : public testing::TestWithParam<ClassParam> {};

// The "Count" the object writes now, as a number.
long StoredCount(CObject& o) {
    const std::string xml = KivFuzzStoreXml(o);
    const size_t at = xml.find("Count=\"");
    return at == std::string::npos ? -1 : std::stol(xml.substr(at + 7));
}

}  // namespace

TEST_P(XmlListCount, ACountThatLiesIsNeverBelievedPastTheDocument) {
    const CRuntimeClass* cls = GetParam().cls;
    const std::string xml = KivFuzzStoreXml(*KivFuzzSample(cls));
    const std::string sampleCount = "Count=\"3\"";
    ASSERT_NE(xml.find(sampleCount), std::string::npos) << "the sample's list holds three values";
    for (const char* count : {"4294967295", "-1", "2147483647", "-2147483648", "1e9", "abc", ""}) {
        std::string bad = xml;
        for (size_t at; (at = bad.find(sampleCount)) != std::string::npos;) bad.replace(at, sampleCount.size(), std::string("Count=\"") + count + "\"");
        long loaded = -2;
        size_t largest = 0;
        const auto outcome = RunLoad([&] {
            const std::unique_ptr<CObject> object = KivFuzzCreate(cls);
            CKivXMLDOMDocObj doc;
            if (!doc.LoadXMLUtf8(bad)) return;
            {
                const kfxtest::LargestAllocation measure;
                KivFuzzSerializeXML(*object, &doc, doc.GetRootNode());
                largest = measure.Bytes();
            }
            loaded = StoredCount(*object);
        });
        EXPECT_TRUE(kfxrel::Accepted(outcome)) << count;
        EXPECT_GE(loaded, 0) << count;
        EXPECT_LE(loaded, 4) << count << ": no more values than the count and three value attributes";
        EXPECT_LE(largest, kfxrel::kMostBytesForBookkeeping) << count;
    }
}

TEST_P(XmlListCount, ManyValuesLoadInTimeInProportionToTheDocument) {
    // Values looked up one name at a time once took time in the square of their number:
    // this document took minutes (past the test's time bound). Read in one pass it takes a
    // fraction of a second.
    constexpr int kValues = 200000;
    const CRuntimeClass* cls = GetParam().cls;
    const std::string xml = KivFuzzStoreXml(*KivFuzzSample(cls));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str()));
    pugi::xml_node data = doc.find_node([](pugi::xml_node n) { return n.attribute("Count"); });
    ASSERT_TRUE(data);
    std::string prefix = data.attribute("Count").next_attribute().name();
    while (!prefix.empty() && std::isdigit(static_cast<unsigned char>(prefix.back()))) prefix.pop_back();
    data.attribute("Count").set_value(kValues);
    for (int i = 3; i < kValues; ++i) data.append_attribute((prefix + std::to_string(i)).c_str()).set_value(i);
    std::ostringstream out;
    doc.save(out);
    const std::string big = out.str();

    CKivXMLDOMDocObj loaded;
    ASSERT_TRUE(loaded.LoadXMLUtf8(big));
    const std::unique_ptr<CObject> object = KivFuzzCreate(cls);
    KivFuzzSerializeXML(*object, &loaded, loaded.GetRootNode());
    constexpr size_t kLeastBytesPerValue = 4;  // a packed colour; a shade value takes 8
    EXPECT_GE(KivFuzzStoreRecord(*object).size(), kValues * kLeastBytesPerValue) << "every value was loaded";
}

INSTANTIATE_TEST_SUITE_P(EveryClassEndingWithAList, XmlListCount,
                         testing::ValuesIn(kfxrel::ClassesWhere(kfxrel::EndsWithOwnFormList)), kfxrel::ParamName);

TEST(XmlDoctype, AProjectWithEntitiesIsRefusedWithoutExpandingThem) {
    const std::unique_ptr<CKivObList> project = KivFuzzSampleProject();
    const std::vector<BYTE> saved = KfxSaveBytes("p.xml", KfxFormat::xml, *project);
    std::string xml(saved.begin(), saved.end());
    // Each entity ten times the one before: expanding e9 would take ten billion bytes.
    std::string entities = "<!DOCTYPE KivFXProject [<!ENTITY e0 \"0123456789\">";
    for (int i = 1; i < 10; ++i) {
        std::string refs;
        for (int k = 0; k < 10; ++k) refs += "&e" + std::to_string(i - 1) + ";";
        entities += "<!ENTITY e" + std::to_string(i) + " \"" + refs + "\">";
    }
    entities += "]>";
    xml.insert(xml.find("<KivFXProject"), entities);
    xml.replace(xml.find("Class=\""), 7, "Class=\"&e9;");
    bool emptied = false;
    const auto outcome = RunLoad([&] {
        CKivObList list;
        try {
            KfxLoadBytes("p.xml", KfxFormat::xml, std::span<const BYTE>(reinterpret_cast<const BYTE*>(xml.data()), xml.size()), list);
        } catch (const KfxError&) {
            emptied = list.IsEmpty();
            throw;
        }
    });
    EXPECT_EQ(outcome.raised, kfxrel::Raised::other) << outcome;
    EXPECT_NE(std::strstr(outcome.message, "not a readable XML document"), nullptr) << outcome;
    EXPECT_EQ(outcome.leaked, 0);
    EXPECT_TRUE(emptied);
}
