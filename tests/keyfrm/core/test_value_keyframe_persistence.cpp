// The root and value keyframes in both formats: exact records, version words, 16-bit
// truncation, XML nesting and element names, partial XML, copies.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
#include "kivbase/CKivObList.h"
#include "support/ArchiveBytes.h"

using kfxtest::Bytes;

namespace {

CKivFXValueKeyFrm MakeValueKey() {
    CKivFXValueKeyFrm k;
    k.Restore = 1;
    k.Location = 0.5;
    k.InsKind = 1;
    k.Frame = -3;
    k.Value = 2.0f;
    k.PtFore = {-1.0f, -0.1};
    k.PtAfter = {1.0f, 0.25};
    return k;
}

}  // namespace

TEST(ValueKeyFrameArchive, RootRecordIsVersionRestoreLocation) {
    CKivFXBaseKeyFrm k;
    k.Restore = 1;
    k.Location = 0.5;
    EXPECT_EQ(kfxtest::StoreBytes(k), Bytes({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F}));
}

TEST(ValueKeyFrameArchive, RecordIsFiftyEightBytesLevelByLevel) {
    CKivFXValueKeyFrm k = MakeValueKey();
    const auto bytes = kfxtest::StoreBytes(k);
    ASSERT_EQ(bytes.size(), 58u);
    const auto expected = Bytes({
        0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F,        // root: version, Restore, Location 0.5
        0, 0, 1, 0, 0xFD, 0xFF, 0xFF, 0xFF,               // version, InsKind 1, Frame -3
        0, 0, 0, 0, 0, 0x40,                              // version, Value 2.0f
        0, 0, 0x80, 0xBF, 0, 0, 0, 0,                     // PtFore: -1.0f, four reserved zero bytes,
        0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0xBF,   //   -0.1
        0, 0, 0x80, 0x3F, 0, 0, 0, 0,                     // PtAfter: 1.0f, reserved,
        0, 0, 0, 0, 0, 0, 0xD0, 0x3F,                     //   0.25
    });
    EXPECT_EQ(bytes, expected);

    CKivFXValueKeyFrm back;
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(back.Compare(&k), 0);
    EXPECT_EQ(back.Frame, -3);
    EXPECT_EQ(back.PtAfter.PosOffset, 0.25);
}

TEST(ValueKeyFrameArchive, SixteenBitFieldsKeepTheirLowBits) {
    CKivFXValueKeyFrm k;
    k.Restore = 70000;
    k.InsKind = 70000;
    CKivFXValueKeyFrm back;
    kfxtest::LoadBytes(back, kfxtest::StoreBytes(k));
    EXPECT_EQ(back.Restore, 4464);
    EXPECT_EQ(back.InsKind, 4464);

    k.Restore = -2;  // sign-extended on load
    k.InsKind = -2;  // zero-extended on load
    kfxtest::LoadBytes(back, kfxtest::StoreBytes(k));
    EXPECT_EQ(back.Restore, -2);
    EXPECT_EQ(back.InsKind, 65534);
}

TEST(ValueKeyFrameArchive, OlderVersionWordSkipsTheOptionalFrame) {
    // The InsValue level's word 0xFFFF converts to a negative version: no Frame follows.
    const auto bytes = Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // root
                              0xFF, 0xFF, 7, 0,                    // old version word, InsKind 7
                              0, 0, 0, 0, 0x80, 0x3F,              // version, Value 1.0f
                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    CKivFXValueKeyFrm k;
    k.Frame = 42;
    kfxtest::LoadBytes(k, bytes);
    EXPECT_EQ(k.InsKind, 7);
    EXPECT_EQ(k.Frame, 42) << "an older record keeps the current Frame";
    EXPECT_EQ(k.Value, 1.0f);
}

TEST(ValueKeyFrameArchive, EachRecordOfAListReadsItsOwnVersionWords) {
    CKivObList list;
    for (int i = 0; i < 4; ++i) {
        auto k = std::make_unique<CKivFXValueKeyFrm>(MakeValueKey());
        k->Frame = 10 + i;
        list.AddTail(k.release());
    }
    auto bytes = kfxtest::StoreBytes(list);
    // Count, the first object's class record, then 58-byte records each after a 2-byte tag.
    constexpr size_t kFirstRecord = 2 + 6 + sizeof("CKivFXValueKeyFrm") - 1;
    constexpr size_t kStride = 58 + 2;
    constexpr size_t kInsVersion = 12;
    constexpr size_t kFrame = 16;
    const size_t second = kFirstRecord + kStride, third = second + kStride;
    bytes[second + kInsVersion] = 1;  // a positive version: the record is whole
    bytes[third + kInsVersion] = 0xFF;  // an older record without its Frame
    bytes[third + kInsVersion + 1] = 0xFF;
    bytes.erase(bytes.begin() + static_cast<long>(third + kFrame), bytes.begin() + static_cast<long>(third + kFrame + 4));

    CKivObList back;
    kfxtest::LoadBytes(back, bytes);
    ASSERT_EQ(back.GetCount(), 4);
    const CKivFXValueKeyFrm model = MakeValueKey();
    int i = 0;
    for (POSITION pos = back.GetHeadPosition(); pos; ++i) {
        const auto* k = static_cast<const CKivFXValueKeyFrm*>(back.GetNext(pos));
        EXPECT_EQ(k->Frame, i == 2 ? 0 : 10 + i) << "key " << i << ": an older record keeps the new object's Frame";
        EXPECT_EQ(k->InsKind, model.InsKind) << "key " << i;
        EXPECT_EQ(k->Value, model.Value) << "key " << i;
        EXPECT_EQ(k->PtAfter.PosOffset, model.PtAfter.PosOffset) << "key " << i;
    }
}

TEST(ValueKeyFrameArchive, HandlesWriteTheirReservedBytesAsZerosWhateverTheirPadding) {
    // The first record goes level by level, later ones as whole records copying the
    // handles' members: both must write zeros where the padding of the handle lies.
    CKivObList list;
    for (int i = 0; i < 3; ++i) {
        auto k = std::make_unique<CKivFXValueKeyFrm>(MakeValueKey());
        for (SKivFXBezierHandle* h : {&k->PtFore, &k->PtAfter}) {
            const SKivFXBezierHandle keep = *h;
            std::memset(static_cast<void*>(h), 0xAB, sizeof *h);
            h->ValueOffset = keep.ValueOffset;
            h->PosOffset = keep.PosOffset;
        }
        list.AddTail(k.release());
    }
    const auto bytes = kfxtest::StoreBytes(list);
    constexpr size_t kFirstRecord = 2 + 6 + sizeof("CKivFXValueKeyFrm") - 1;
    constexpr size_t kStride = 58 + 2;
    const std::vector<BYTE> reserved = {0, 0, 0, 0};
    for (size_t i = 0; i < 3; ++i) {
        const size_t record = kFirstRecord + i * kStride;
        for (const size_t handle : {26u, 42u}) {
            const auto at = bytes.begin() + static_cast<long>(record + handle);
            EXPECT_EQ(std::vector<BYTE>(at + 4, at + 8), reserved)
                << "record " << i << ", handle at " << handle;
            float value;
            std::memcpy(&value, bytes.data() + record + handle, 4);
            EXPECT_EQ(value, handle == 26u ? -1.0f : 1.0f);
        }
    }
    CKivObList back;
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(back.Compare(&list), 0);
}

TEST(ValueKeyFrameArchive, EveryLevelStartsWithVersionZero) {
    CKivFXValueKeyFrm k = MakeValueKey();
    const auto bytes = kfxtest::StoreBytes(k);
    for (size_t at : {0u, 12u, 20u}) {
        EXPECT_EQ(bytes[at], 0) << "level at byte " << at;
        EXPECT_EQ(bytes[at + 1], 0) << "level at byte " << at;
    }
}

TEST(ValueKeyFrameArchive, EveryTruncatedPrefixRaisesEndOfFile) {
    CKivFXValueKeyFrm k = MakeValueKey();
    const auto bytes = kfxtest::StoreBytes(k);
    for (size_t n = 0; n < bytes.size(); ++n) {
        CKivFXValueKeyFrm back;
        try {
            kfxtest::LoadBytes(back, std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
            ADD_FAILURE() << "prefix of " << n << " bytes loaded";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << n;
        }
    }
}

TEST(ValueKeyFrameArchive, MisusedArchiveDirectionRaisesWithCause) {
    CKivFXValueKeyFrm k;
    CMemFile file;
    CArchive loading(&file, CArchive::load);
    try {
        KivStoreLevel(loading, &k, CKivFXValueKeyFrm::Level());
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
    }
    CMemFile out;
    CArchive storing(&out, CArchive::store);
    try {
        KivLoadLevel(storing, &k, CKivFXValueKeyFrm::Level());
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
    }
}

TEST(ValueKeyFrameXml, NestsLevelsUnderTheirElementNames) {
    CKivFXValueKeyFrm k = MakeValueKey();
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.CreateNew(L"Root"));
    k.SerializeXML(&doc, doc.GetRootNode());
    IXMLDOMNode* outer = doc.GetFirstNameMatchChildNode(doc.GetRootNode(), "CKivFXEmitTriangleKeyFrm");
    ASSERT_NE(outer, nullptr) << "the value keyframe uses the triangle emitter's element name";
    EXPECT_EQ(doc.GetFirstNameMatchChildNode(doc.GetRootNode(), "CKivFXValueKeyFrm"), nullptr);
    IXMLDOMNode* ins = doc.GetFirstNameMatchChildNode(doc.GetFirstNameMatchChildNode(outer, "BaseObject"), "CKivFXInsValueKeyFrm");
    ASSERT_NE(ins, nullptr);
    IXMLDOMNode* root = doc.GetFirstNameMatchChildNode(doc.GetFirstNameMatchChildNode(ins, "BaseObject"), "CKivFXBaseKeyFrm");
    ASSERT_NE(root, nullptr);
    EXPECT_NE(doc.GetFirstNameMatchChildNode(root, "BaseObject"), nullptr) << "the root's BaseObject holds CKivObject's (empty) XML";

    const std::string xml = doc.GetXML().ToUtf8();
    EXPECT_NE(xml.find("Value=\"2\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("InsKind=\"1\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("Frame=\"-3\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("Location=\"0.5\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("Version=\"0\""), std::string::npos) << xml;
}

TEST(ValueKeyFrameXml, RoundTripKeepsEveryFieldAndFullRestore) {
    CKivFXValueKeyFrm k = MakeValueKey();
    k.Restore = 70000;  // XML keeps 32 bits
    k.InsKind = 1;
    CKivFXValueKeyFrm back;
    kfxtest::LoadXml(back, kfxtest::StoreXml(k));
    EXPECT_EQ(back.Compare(&k), 0);
    EXPECT_EQ(back.Restore, 70000);
    EXPECT_EQ(back.InsKind, 1);
}

TEST(ValueKeyFrameXml, MissingElementLeavesEverythingAsItWas) {
    CKivFXValueKeyFrm k = MakeValueKey();
    const CKivFXValueKeyFrm before = MakeValueKey();
    kfxtest::LoadXml(k, "<Root><CKivFXValueKeyFrm Version=\"0\"/></Root>");
    EXPECT_EQ(k.Compare(&before), 0);
}

TEST(ValueKeyFrameXml, MissingAttributesLoadAsZeroAndMissingDataMemberKeepsFields) {
    CKivFXValueKeyFrm k = MakeValueKey();
    // The root's DataMember lacks Location: it loads as 0.0. The value level has no
    // DataMember: its fields keep their values.
    kfxtest::LoadXml(k,
                     "<Root><CKivFXEmitTriangleKeyFrm Version=\"0\"><BaseObject>"
                     "<CKivFXInsValueKeyFrm Version=\"0\"><DataMember InsKind=\"5\"/><BaseObject>"
                     "<CKivFXBaseKeyFrm Version=\"0\"><DataMember Restore=\"3\"/></CKivFXBaseKeyFrm>"
                     "</BaseObject></CKivFXInsValueKeyFrm></BaseObject></CKivFXEmitTriangleKeyFrm></Root>");
    EXPECT_EQ(k.Location, 0.0);
    EXPECT_EQ(k.Restore, 3);
    EXPECT_EQ(k.InsKind, 5);
    EXPECT_EQ(k.Frame, 0) << "absent attribute loads as zero";
    EXPECT_EQ(k.Value, 2.0f) << "no DataMember: the level keeps its fields";
    EXPECT_EQ(k.PtAfter.PosOffset, 0.25);
}

TEST(ValueKeyFrameXml, ShortHandleBlockLeavesHandleUnchanged) {
    CKivFXValueKeyFrm k = MakeValueKey();
    // "AAAA" is three zero bytes: shorter than the 16-byte handle image.
    kfxtest::LoadXml(k, "<Root><CKivFXEmitTriangleKeyFrm Version=\"0\"><DataMember Value=\"4\" PtFore=\"AAAA\"/>"
                        "</CKivFXEmitTriangleKeyFrm></Root>");
    EXPECT_EQ(k.Value, 4.0f);
    EXPECT_EQ(k.PtFore.ValueOffset, -1.0f);
    EXPECT_EQ(k.PtAfter.ValueOffset, 1.0f) << "a missing block leaves the handle too";
}

TEST(KeyFrameCopies, KeepLocationAndRestoreButNotSelection) {
    CKivFXValueKeyFrm k = MakeValueKey();
    k.SetSelect(1);
    std::unique_ptr<CKivObject> copy(k.MakeCopy());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetRuntimeClass(), RUNTIME_CLASS(CKivFXValueKeyFrm));
    auto* c = static_cast<CKivFXValueKeyFrm*>(copy.get());
    EXPECT_EQ(c->Compare(&k), 0);
    EXPECT_EQ(c->IsSelect(), 0) << "MakeCopy gives a fresh selection flag";

    CKivFXValueKeyFrm target;
    target.SetSelect(1);
    k.SetSelect(0);
    target = k;
    EXPECT_EQ(target.IsSelect(), 1) << "operator= keeps the target's own selection flag";
    EXPECT_EQ(target.Location, 0.5);
    EXPECT_EQ(target.Restore, 1);
}

TEST(KeyFrameDefaults, RootDefaultResetsButInheritedDefaultLeavesInsValueFields) {
    CKivFXValueKeyFrm k = MakeValueKey();
    k.SetSelect(1);
    k.Default();
    EXPECT_EQ(k.Location, 0.0);
    EXPECT_EQ(k.Restore, 0);
    EXPECT_EQ(k.IsSelect(), 0);
    EXPECT_EQ(k.Frame, -3) << "the value keyframe inherits the root's Default";
    EXPECT_EQ(k.Value, 2.0f);
}
