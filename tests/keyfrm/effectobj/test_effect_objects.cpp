// The effect objects: defaults, exact records, 16-bit fields in both formats, the
// colour-flow object's "Flow" element, and the buffers Open builds and Close releases.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "keyfrm/effectobj/KivFXEffectObj.h"
#include "support/ArchiveBytes.h"

using kfxtest::Bytes;

namespace {

constexpr size_t kBaseObjRecordBytes = 18;  // version word, "FXBegin", "FXEnd"
constexpr DWORD kOpaqueWhite = 0xFFFFFFFFu;
constexpr DWORD kOpaqueBlack = 0xFF000000u;

std::vector<int> Table(const CKivEffectShineLightObj& shine) {
    if (!shine.ShineTable) return {};
    return std::vector<int>(shine.ShineTable.get(), shine.ShineTable.get() + shine.ShineRadius);
}

std::vector<DWORD> Colors(const CKivColor32Array& colors) {
    std::vector<DWORD> out;
    for (INT_PTR i = 0; i < colors.GetSize(); ++i) out.push_back(colors.GetAt(i).ToDWORD());
    return out;
}

DWORD Pixel(CKivEffectColorFlowObj& flow, int x, int y) {
    return flow.FlowBlock.GetAddress()[y * flow.FlowBlock.GetSize().cx + x].ToDWORD();
}

}  // namespace

TEST(EffectObjects, DefaultsOfEveryClass) {
    CKivEffectBaseObj base;
    EXPECT_EQ(base.FXBegin, 0.0);
    EXPECT_EQ(base.FXEnd, 1.0);
    EXPECT_EQ(base.Open(), 1);

    CKivEffectColorFlowObj flow;
    EXPECT_EQ(flow.FlowSpeed, 10);
    EXPECT_EQ(flow.Restore, 1);
    EXPECT_EQ(flow.RestoreScale, 0.1);
    EXPECT_EQ(Colors(flow.Flow), (std::vector<DWORD>{kOpaqueWhite, kOpaqueBlack, kOpaqueWhite}));
    EXPECT_EQ(flow.FlowBlock.GetAddress(), nullptr) << "closed until Open";

    CKivEffectShineLightObj shine;
    EXPECT_EQ(shine.ShineDir, 2);
    EXPECT_EQ(shine.ShineRadius, 50);
    EXPECT_FALSE(shine.ShineTable);
    EXPECT_EQ(shine.IsHorzDir(), 1);
}

TEST(EffectObjects, DefaultRestoresFieldsAndTheThreeColours) {
    CKivEffectColorFlowObj flow;
    flow.FXEnd = 0.5;
    flow.FlowSpeed = -1;
    flow.Flow.DeleteAll();
    flow.Default();
    EXPECT_EQ(flow.FXEnd, 1.0);
    EXPECT_EQ(flow.FlowSpeed, 10);
    EXPECT_EQ(Colors(flow.Flow), (std::vector<DWORD>{kOpaqueWhite, kOpaqueBlack, kOpaqueWhite}));
}

TEST(ShineLightObj, HorizontalDirectionsAreTwoAndThree) {
    CKivEffectShineLightObj shine;
    for (int dir : {0, 1, 4, -2}) {
        shine.ShineDir = dir;
        EXPECT_EQ(shine.IsHorzDir(), 0) << dir;
    }
    shine.ShineDir = 3;
    EXPECT_EQ(shine.IsHorzDir(), 1);
}

TEST(ShineLightObj, OpenBuildsTheFalloffTableForItsRadius) {
    CKivEffectShineLightObj shine;
    ASSERT_EQ(shine.Open(), 1);
    const auto table = Table(shine);
    ASSERT_EQ(table.size(), 50u);
    EXPECT_EQ(table[0], 255);
    EXPECT_EQ(table[1], 249);
    EXPECT_EQ(table[2], 244);
    EXPECT_EQ(table[48], 10);
    EXPECT_EQ(table[49], 5);

    shine.ShineRadius = 3;
    ASSERT_EQ(shine.Open(), 1) << "a second Open rebuilds from the current radius";
    EXPECT_EQ(Table(shine), (std::vector<int>{255, 170, 85}));
    shine.ShineRadius = 1;
    ASSERT_EQ(shine.Open(), 1);
    EXPECT_EQ(Table(shine), std::vector<int>{255});

    for (short radius : {0, -1}) {
        shine.ShineRadius = radius;
        EXPECT_EQ(shine.Open(), 0) << radius;
        EXPECT_FALSE(shine.ShineTable) << "a failed Open leaves the object closed";
    }
    shine.ShineRadius = 4;
    shine.Open();
    shine.Close();
    EXPECT_FALSE(shine.ShineTable);
    shine.Close();
}

TEST(ShineLightObj, CopiesNeverCarryATable) {
    CKivEffectShineLightObj source;
    source.ShineDir = 3;
    source.ShineRadius = 7;
    source.FXBegin = 0.25;
    ASSERT_EQ(source.Open(), 1);

    std::unique_ptr<CKivObject> copy(source.MakeCopy());
    auto* shine = dynamic_cast<CKivEffectShineLightObj*>(copy.get());
    ASSERT_TRUE(shine);
    EXPECT_EQ(shine->ShineDir, 3);
    EXPECT_EQ(shine->ShineRadius, 7);
    EXPECT_EQ(shine->FXBegin, 0.25);
    EXPECT_FALSE(shine->ShineTable);

    CKivEffectShineLightObj target;
    ASSERT_EQ(target.Open(), 1);
    target = source;
    EXPECT_FALSE(target.ShineTable) << "the target's own table is released";
    EXPECT_TRUE(source.ShineTable) << "the source keeps its table";
}

TEST(ShineLightObj, RecordAndDirectionOutsideSixteenBits) {
    CKivEffectShineLightObj shine;
    shine.ShineDir = 70000;
    const auto bytes = kfxtest::StoreBytes(shine);
    ASSERT_EQ(bytes.size(), kBaseObjRecordBytes + 6);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + kBaseObjRecordBytes, bytes.end()), Bytes({0, 0, 0x70, 0x11, 50, 0}));

    CKivEffectShineLightObj fromArchive;
    kfxtest::LoadBytes(fromArchive, bytes);
    EXPECT_EQ(fromArchive.ShineDir, 4464);

    const std::string xml = kfxtest::StoreXml(shine);
    EXPECT_NE(xml.find("<DataMember ShineDir=\"4464\" ShineRadius=\"50\" />"), std::string::npos) << xml;
    CKivEffectShineLightObj fromXml;
    kfxtest::LoadXml(fromXml, xml);
    EXPECT_EQ(fromXml.ShineDir, 4464);
}

TEST(ColorFlowObj, RecordIsTheFieldsThenTheColourArray) {
    CKivEffectColorFlowObj flow;
    flow.FlowSpeed = -5;
    flow.Restore = 0;
    flow.RestoreScale = 0.5;
    flow.Flow.DeleteAll();
    flow.Flow.Add(CKivColor32(0x80112233u), 1);
    const auto bytes = kfxtest::StoreBytes(flow);
    const auto expected = Bytes({0, 0, 0xFB, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F,  // version, -5, 0, 0.5
                                 0, 0, 1, 0, 0x33, 0x22, 0x11, 0x80});                 // colours: version, count, colour
    ASSERT_EQ(bytes.size(), kBaseObjRecordBytes + expected.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + kBaseObjRecordBytes, bytes.end()), expected);

    CKivEffectColorFlowObj back;
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(back.FlowSpeed, -5);
    EXPECT_EQ(back.Restore, 0);
    EXPECT_EQ(Colors(back.Flow), std::vector<DWORD>{0x80112233u});
}

TEST(ColorFlowObj, XmlHoldsDataMemberThenFlowThenBaseObject) {
    CKivEffectColorFlowObj flow;
    flow.FlowSpeed = -5;
    flow.FXBegin = 0.25;
    const std::string xml = kfxtest::StoreXml(flow);
    const auto data = xml.find("<DataMember FlowSpeed=\"-5\" Restore=\"1\" RestoreScale=\"0.1\" />");
    const auto colours = xml.find("<Flow>");
    const auto array = xml.find("<CKivColor32Array Version=\"0\">");
    const auto base = xml.find("<CKivEffectBaseObj Version=\"0\">");
    ASSERT_NE(data, std::string::npos) << xml;
    ASSERT_NE(base, std::string::npos) << xml;
    EXPECT_TRUE(data < colours && colours < array && array < base) << xml;

    CKivEffectColorFlowObj back;
    back.Flow.DeleteAll();
    kfxtest::LoadXml(back, xml);
    EXPECT_EQ(back.FlowSpeed, -5);
    EXPECT_EQ(back.FXBegin, 0.25);
    EXPECT_EQ(Colors(back.Flow), (std::vector<DWORD>{kOpaqueWhite, kOpaqueBlack, kOpaqueWhite}));
}

TEST(ColorFlowObj, ElementWithoutFlowLoadsOnlyItsOwnFields) {
    CKivEffectColorFlowObj flow;
    flow.FXBegin = 0.125;
    flow.FXEnd = 0.875;
    flow.Flow.DeleteAll();
    kfxtest::LoadXml(flow,
                     "<Root><CKivEffectColorFlowObj Version=\"0\"><DataMember FlowSpeed=\"-7\" Restore=\"0\" RestoreScale=\"2\" />"
                     "<BaseObject><CKivEffectBaseObj Version=\"0\"><DataMember FXBegin=\"0.5\" FXEnd=\"0.5\" />"
                     "</CKivEffectBaseObj></BaseObject></CKivEffectColorFlowObj></Root>");
    EXPECT_EQ(flow.FlowSpeed, -7);
    EXPECT_EQ(flow.Restore, 0);
    EXPECT_EQ(flow.RestoreScale, 2.0);
    EXPECT_EQ(flow.FXBegin, 0.125);
    EXPECT_EQ(flow.FXEnd, 0.875);
    EXPECT_EQ(flow.Flow.GetSize(), 0);
}

TEST(ColorFlowObj, OpenPaintsTheFlowAcrossA256By10Strip) {
    CKivEffectColorFlowObj flow;
    ASSERT_EQ(flow.Open(), 1);
    ASSERT_EQ(flow.FlowBlock.GetSize(), CSize(256, 10));
    EXPECT_EQ(Pixel(flow, 0, 0), kOpaqueWhite);
    EXPECT_EQ(Pixel(flow, 64, 0), 0xFF7F7F7Fu) << "a quarter of the way: half way from white to black";
    EXPECT_EQ(Pixel(flow, 127, 0), 0xFF010101u);
    EXPECT_EQ(Pixel(flow, 128, 0), 0xFF010101u);
    EXPECT_EQ(Pixel(flow, 255, 0), kOpaqueWhite);
    for (int x = 0; x < 256; ++x) {
        EXPECT_EQ(Pixel(flow, x, 0), Pixel(flow, 255 - x, 0)) << "white, black, white is symmetric at " << x;
        if (x > 0 && x < 128) {
            EXPECT_LE(Pixel(flow, x, 0) & 0xFF, Pixel(flow, x - 1, 0) & 0xFF) << x;
        }
        for (int y = 1; y < 10; ++y) ASSERT_EQ(Pixel(flow, x, y), Pixel(flow, x, 0)) << x << "," << y;
    }

    flow.Flow.DeleteAll();
    EXPECT_EQ(flow.Open(), 0) << "no colours to paint";
    EXPECT_EQ(flow.FlowBlock.GetSize(), CSize(256, 10)) << "the block stays until Close";
    flow.Close();
    EXPECT_EQ(flow.FlowBlock.GetAddress(), nullptr);
}

TEST(ColorFlowObj, CopiesTakeTheColoursButNotTheStrip) {
    CKivEffectColorFlowObj source;
    source.Flow.Add(CKivColor32(0xFF00FF00u), 1);
    source.FlowSpeed = 3;
    ASSERT_EQ(source.Open(), 1);

    CKivEffectColorFlowObj target;
    target = source;
    EXPECT_EQ(target.FlowSpeed, 3);
    EXPECT_EQ(Colors(target.Flow), Colors(source.Flow));
    EXPECT_EQ(target.FlowBlock.GetAddress(), nullptr);

    std::unique_ptr<CKivObject> copy(source.MakeCopy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Compare(&source), 0);
    source.Flow.DeleteAll();
    EXPECT_NE(copy->Compare(&source), 0) << "the colours are stored data, so comparison sees them";
}

TEST(ColorFlowObj, FlowSpeedKeepsItsSignInBothFormats) {
    CKivEffectColorFlowObj flow;
    flow.FlowSpeed = -5;
    CKivEffectColorFlowObj fromArchive, fromXml;
    kfxtest::LoadBytes(fromArchive, kfxtest::StoreBytes(flow));
    kfxtest::LoadXml(fromXml, kfxtest::StoreXml(flow));
    EXPECT_EQ(fromArchive.FlowSpeed, -5);
    EXPECT_EQ(fromXml.FlowSpeed, -5);

    kfxtest::LoadXml(fromXml, "<Root><CKivEffectColorFlowObj Version=\"0\"><DataMember FlowSpeed=\"65531\" /></CKivEffectColorFlowObj></Root>");
    EXPECT_EQ(fromXml.FlowSpeed, -5) << "the low 16 bits of the 32-bit attribute";
}
