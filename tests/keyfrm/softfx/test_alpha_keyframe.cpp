// The alpha keyframe's shade list in both formats: exact record, the loader constant's
// version rule, untrusted counts in the archive and in XML, XML loading that empties first.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "keyfrm/softfx/CKivSoftFXAlphaKeyFrm.h"
#include "kivbase/KivXMLTrusted.h"
#include "kivbase/persist/KivPersistList.h"
#include "support/ArchiveBytes.h"

using kfxtest::Bytes;

namespace {

void Fill(CKivSoftFXAlphaKeyFrm& k, std::initializer_list<double> values) {
    k.ShadeColor.RemoveAll();
    for (double v : values) k.ShadeColor.Add(v);
}

std::vector<double> Values(const CKivSoftFXAlphaKeyFrm& k) {
    return std::vector<double>(k.ShadeColor.GetData(), k.ShadeColor.GetData() + k.ShadeColor.GetSize());
}

// An alpha element whose "DataMember" carries the given attributes, bases down to the root
// keyframe at Location 0.75.
std::string AlphaXml(const std::string& dataMember) {
    return "<Root><CKivSoftFXAlphaKeyFrm Version=\"0\"><DataMember " + dataMember +
           " /><BaseObject><CKivSoftFXArrayKeyFrm Version=\"0\"><BaseObject><CKivSoftFXBaseKeyFrm Version=\"0\">"
           "<BaseObject><CKivFXBaseKeyFrm Version=\"0\"><DataMember Location=\"0.75\" /></CKivFXBaseKeyFrm>"
           "</BaseObject></CKivSoftFXBaseKeyFrm></BaseObject></CKivSoftFXArrayKeyFrm></BaseObject>"
           "</CKivSoftFXAlphaKeyFrm></Root>";
}

const auto kRootAndBases = Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // root record at 0.0, two level words

}  // namespace

TEST(AlphaKeyFrame, StartsEmptyAndCopiesAndDefaultsItsList) {
    CKivSoftFXAlphaKeyFrm k;
    EXPECT_TRUE(k.ShadeColor.IsEmpty());
    Fill(k, {0.25, 0.75});
    k.BaseParam = 4;

    CKivSoftFXAlphaKeyFrm target;
    Fill(target, {1, 2, 3, 4, 5});
    target = k;
    EXPECT_EQ(Values(target), (std::vector<double>{0.25, 0.75}));
    EXPECT_EQ(target.BaseParam, 4);

    std::unique_ptr<CKivObject> copy(k.MakeCopy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Compare(&k), 0);
    Fill(target, {0.25});
    EXPECT_NE(target.Compare(&k), 0) << "the list is stored data, so comparison sees it";

    k.Default();
    EXPECT_TRUE(k.ShadeColor.IsEmpty());
    EXPECT_EQ(k.BaseParam, 1);
}

TEST(AlphaArchive, ListFollowsItsVersionWordInTheFrameworkArrayForm) {
    CKivSoftFXAlphaKeyFrm k;
    Fill(k, {0.25, 0.75});
    auto expected = kRootAndBases;
    expected.insert(expected.end(), {0, 0,                             // alpha's version word
                                     2, 0,                             // count
                                     0, 0, 0, 0, 0, 0, 0xD0, 0x3F,     // 0.25
                                     0, 0, 0, 0, 0, 0, 0xE8, 0x3F});   // 0.75
    const auto bytes = kfxtest::StoreBytes(k);
    EXPECT_EQ(bytes, expected);

    CKivSoftFXAlphaKeyFrm back;
    Fill(back, {9, 9, 9});
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(Values(back), (std::vector<double>{0.25, 0.75}));
}

TEST(AlphaArchive, RecordOfAnOlderVersionCarriesNoList) {
    auto record = kRootAndBases;
    record.insert(record.end(), {0x00, 0x80});  // converts to a negative version: no list follows
    CKivSoftFXAlphaKeyFrm k;
    Fill(k, {0.5});
    kfxtest::LoadBytes(k, record);
    EXPECT_EQ(Values(k), std::vector<double>{0.5});
}

TEST(AlphaArchive, CountBeyondTheDataIsRefusedBeforeAnythingIsAllocated) {
    for (const auto& count : {Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
                              Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
                              Bytes({0x03, 0x00, 0, 0, 0, 0, 0, 0, 0xD0, 0x3F})}) {
        auto record = kRootAndBases;
        record.insert(record.end(), {0, 0});
        record.insert(record.end(), count.begin(), count.end());
        CKivSoftFXAlphaKeyFrm k;
        Fill(k, {0.5});
        try {
            kfxtest::LoadBytes(k, record);
            ADD_FAILURE() << "a count the data cannot hold loads";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
            EXPECT_NE(std::string(e.what()).find("ShadeColor"), std::string::npos) << e.what();
        }
        EXPECT_EQ(Values(k), std::vector<double>{0.5}) << "the list is left as it was";
    }
}

TEST(AlphaArchive, EveryTruncatedRecordFailsWithEndOfFileAndAConsistentList) {
    CKivSoftFXAlphaKeyFrm full;
    Fill(full, {0.25, 0.75, 1.0});
    const auto bytes = kfxtest::StoreBytes(full);
    for (size_t n = 0; n < bytes.size(); ++n) {
        CKivSoftFXAlphaKeyFrm k;
        Fill(k, {9.0});
        try {
            kfxtest::LoadBytes(k, std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)));
            ADD_FAILURE() << n << " bytes load";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << n;
        }
        const auto values = Values(k);
        EXPECT_TRUE(values == std::vector<double>{9.0} || values.size() == 3) << n << " bytes leave " << values.size() << " values";
    }
}

TEST(AlphaXml, StoresCountAndOneAttributePerValue) {
    CKivSoftFXAlphaKeyFrm k;
    Fill(k, {0.25, 0.75});
    const std::string xml = kfxtest::StoreXml(k);
    EXPECT_NE(xml.find("<CKivSoftFXAlphaKeyFrm Version=\"0\">"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<DataMember Count=\"2\" ShadeColor0=\"0.25\" ShadeColor1=\"0.75\" />"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<CKivSoftFXArrayKeyFrm Version=\"0\">"), std::string::npos) << xml;

    CKivSoftFXAlphaKeyFrm back;
    Fill(back, {1, 2, 3, 4, 5});
    kfxtest::LoadXml(back, xml);
    EXPECT_EQ(Values(back), (std::vector<double>{0.25, 0.75}));
}

TEST(AlphaXml, WithoutDataMemberTheListIsEmptiedAndTheBasesAreNotRead) {
    CKivSoftFXAlphaKeyFrm k;
    Fill(k, {0.5});
    k.Location = 0.25;
    kfxtest::LoadXml(k,
                     "<Root><CKivSoftFXAlphaKeyFrm Version=\"0\"><BaseObject><CKivSoftFXArrayKeyFrm Version=\"0\">"
                     "<BaseObject><CKivSoftFXBaseKeyFrm Version=\"0\"><BaseObject><CKivFXBaseKeyFrm Version=\"0\">"
                     "<DataMember Location=\"0.75\" /></CKivFXBaseKeyFrm></BaseObject></CKivSoftFXBaseKeyFrm>"
                     "</BaseObject></CKivSoftFXArrayKeyFrm></BaseObject></CKivSoftFXAlphaKeyFrm></Root>");
    EXPECT_TRUE(k.ShadeColor.IsEmpty());
    EXPECT_EQ(k.Location, 0.25);

    Fill(k, {0.5});
    kfxtest::LoadXml(k, "<Root><CKivSoftFXFaderKeyFrm Version=\"0\" /></Root>");
    EXPECT_TRUE(k.ShadeColor.IsEmpty()) << "emptied even when the element is missing";
    EXPECT_EQ(k.Location, 0.25);
}

TEST(AlphaXml, AbsentValuesLoadAsZeroAndTheBasesFollow) {
    CKivSoftFXAlphaKeyFrm k;
    kfxtest::LoadXml(k, AlphaXml("Count=\"3\" ShadeColor0=\"0.5\" ShadeColor2=\"-1\""));
    EXPECT_EQ(Values(k), (std::vector<double>{0.5, 0.0, -1.0}));
    EXPECT_EQ(k.Location, 0.75);

    kfxtest::LoadXml(k, AlphaXml("Count=\"0\" ShadeColor0=\"0.5\""));
    EXPECT_TRUE(k.ShadeColor.IsEmpty());
}

TEST(AlphaXml, CorruptCountsNeitherReserveNorInventValues) {
    CKivSoftFXAlphaKeyFrm k;
    for (const char* count : {"-1", "4294967295", "-2147483648", "many"}) {
        Fill(k, {0.5});
        kfxtest::LoadXml(k, AlphaXml(std::string("Count=\"") + count + "\" ShadeColor0=\"0.25\""));
        EXPECT_TRUE(k.ShadeColor.IsEmpty()) << count;
        EXPECT_EQ(k.Location, 0.75) << count;
    }
    kfxtest::LoadXml(k, AlphaXml("Count=\"2147483647\" ShadeColor0=\"0.25\" ShadeColor1=\"0.5\""));
    ASSERT_GE(k.ShadeColor.GetSize(), 2);
    EXPECT_LE(k.ShadeColor.GetSize(), 3) << "no more values than the element has attributes";
    EXPECT_EQ(k.ShadeColor[1], 0.5);
}

// Looking up an attribute by name walks the element's attributes, so a list whose every
// value looked its name up would cost the square of its length. The count of look-ups must
// not grow with the list, in either direction; the values come back whatever the length.
// Nor may loading put the list's names through the document's table of names (its check
// for a name used twice), whose memory traffic made a long list's load slow.
TEST(AlphaXml, LongListsCostNoLookUpPerValue) {
    struct Case {
        int values;
        long storeLookUps;
        long loadLookUps;
        long loadNamesHashed;
    };
    std::vector<Case> cases = {{1, 0, 0, 0}, {100, 0, 0, 0}, {20000, 0, 0, 0}};
    for (Case& c : cases) {
        CKivSoftFXAlphaKeyFrm k;
        for (int i = 0; i < c.values; ++i) k.ShadeColor.Add(i * 0.5);
        const long beforeStore = KivXmlAttributeLookups();
        const std::string xml = kfxtest::StoreXml(k);
        c.storeLookUps = KivXmlAttributeLookups() - beforeStore;

        CKivSoftFXAlphaKeyFrm back;
        const long beforeLoad = KivXmlAttributeLookups();
        const long hashedBefore = KivXmlNamesHashed();
        kfxtest::LoadXml(back, xml);
        c.loadLookUps = KivXmlAttributeLookups() - beforeLoad;
        c.loadNamesHashed = KivXmlNamesHashed() - hashedBefore;
        EXPECT_EQ(Values(back), Values(k)) << c.values;
    }
    for (const Case& c : cases) {
        EXPECT_EQ(c.storeLookUps, cases.front().storeLookUps) << c.values << " values stored";
        EXPECT_EQ(c.loadLookUps, cases.front().loadLookUps) << c.values << " values loaded";
        EXPECT_EQ(c.loadNamesHashed, 0) << c.values << " values loaded";
    }
}

// A "DataMember" that already carries attributes (a caller's own) keeps one attribute per
// name: the list's values replace any of their names in place.
TEST(AlphaXml, AListWrittenOverExistingAttributesReplacesThem) {
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.CreateNew(L"Root"));
    IXMLDOMNode* data = doc.CreateDOMNode(doc.GetRootNode(), "DataMember", 1);
    SKivXMLDataType old{};
    old.type = static_cast<int>(KivXml::f64);
    old.value.dVal = 9.0;
    for (const char* name : {"Other", "ShadeColor1", "Count"}) doc.SetNodeAttribute(data, name, old);
    CArray<double> list;
    list.Add(0.25);
    list.Add(0.75);
    KivXmlSerializeList(&doc, data, "Count", "ShadeColor", list);
    EXPECT_NE(doc.GetXMLUtf8().find("<DataMember Other=\"9\" ShadeColor1=\"0.75\" Count=\"2\" ShadeColor0=\"0.25\" />"),
              std::string::npos)
        << doc.GetXMLUtf8();
}
