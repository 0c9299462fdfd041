// XML of the 3-D effect, particle and colour mask keyframes: element nesting and names,
// levels without "DataMember", attribute order and value spelling, short blocks.
#include <gtest/gtest.h>

#include <string>

#include "keyfrm/fx3d/KivFX3D.h"
#include "support/ArchiveBytes.h"

namespace {

// The object's XML without the declaration, the scratch root and the indentation, so that
// a golden string states the nesting and attribute order and nothing else.
std::string CompactXml(CKivObject& object) {
    std::string out;
    for (char c : kfxtest::StoreXml(object))
        if (c != '\n' && c != '\t') out += c;
    const std::string open = "<Root>", close = "</Root>";
    const size_t from = out.find(open);
    const size_t to = out.rfind(close);
    EXPECT_TRUE(from != std::string::npos && to != std::string::npos) << out;
    return out.substr(from + open.size(), to - from - open.size());
}

const std::string kRootElement =
    "<CKivFXBaseKeyFrm Version=\"0\"><DataMember Restore=\"1\" Location=\"0.25\" /><BaseObject /></CKivFXBaseKeyFrm>";

std::string Base3DElement(const std::string& prog) {
    return "<CKiv3DFXBaseKeyFrm Version=\"0\"><DataMember Prog=\"" + prog + "\" /><BaseObject>" + kRootElement +
           "</BaseObject></CKiv3DFXBaseKeyFrm>";
}

template <class K>
void PlaceAtQuarter(K& k) {
    k.Restore = 1;
    k.Location = 0.25;
}

}  // namespace

TEST(FX3DXml, TileNestsThroughTheArrayBaseWithoutDataMembers) {
    CKiv3DFXTileKeyFrm k;
    PlaceAtQuarter(k);
    k.Prog = 0.5f;
    EXPECT_EQ(CompactXml(k), "<CKiv3DFXTileKeyFrm Version=\"0\"><BaseObject>"
                             "<CKiv3DFXArrayKeyFrm Version=\"0\"><BaseObject>" +
                                 Base3DElement("0.5") +
                                 "</BaseObject></CKiv3DFXArrayKeyFrm>"
                                 "</BaseObject></CKiv3DFXTileKeyFrm>");
    CKiv3DFXTileKeyFrm back;
    kfxtest::LoadXml(back, kfxtest::StoreXml(k));
    EXPECT_EQ(back.Compare(&k), 0);
}

TEST(FX3DXml, SmashHasNoDataMemberAndItsBaseCarriesProg) {
    CKiv3DFXSmashKeyFrm k;
    PlaceAtQuarter(k);
    k.Prog = 0.75f;
    EXPECT_EQ(CompactXml(k), "<CKiv3DFXSmashKeyFrm Version=\"0\"><BaseObject>" + Base3DElement("0.75") +
                                 "</BaseObject></CKiv3DFXSmashKeyFrm>");
}

TEST(FX3DXml, ColourMaskNestsTwoRootNamedElements) {
    CKivFXColorMaskKeyFrm k;
    PlaceAtQuarter(k);
    k.Red = 10.0f;
    k.Green = 20.0f;
    k.Blue = 30.0f;
    k.Alpha = 40.0f;
    EXPECT_EQ(CompactXml(k), "<CKivFXBaseKeyFrm Version=\"0\">"
                             "<DataMember Red=\"10\" Blue=\"30\" Green=\"20\" Alpha=\"40\" />"
                             "<BaseObject>" +
                                 kRootElement + "</BaseObject></CKivFXBaseKeyFrm>");
    CKivFXColorMaskKeyFrm back;
    kfxtest::LoadXml(back, kfxtest::StoreXml(k));
    EXPECT_EQ(back.Compare(&k), 0) << "the outer element gives the components, the inner one the root's fields";
    EXPECT_EQ(back.Location, 0.25);
    EXPECT_EQ(back.Green, 20.0f);
}

TEST(FX3DXml, PartPlayWritesSixteenAttributesUnderThePartLifeName) {
    CKiv3DFXPartPlayKeyFrm k;
    PlaceAtQuarter(k);
    k.Prog = 0.5f;
    k.Number = 16777217;  // 2^24 + 1: written as an integer, not through a float
    k.NumberVar = 0.5f;
    k.Life = 120;
    k.LifeVar = -3;
    k.SizeVar = 1.5f;
    k.AngleVar = -45.0f;
    EXPECT_EQ(CompactXml(k), "<CKiv3DFXPartLifeKeyFrm Version=\"0\"><DataMember Number=\"16777217\" NumberVar=\"0.5\" "
                             "Life=\"120\" LifeVar=\"-3\" Size=\"30\" SizeVar=\"1.5\" Speed=\"5\" SpeedVar=\"0\" "
                             "WeightX=\"0\" WeightXVar=\"0\" WeightY=\"0\" WeightYVar=\"0\" Spin=\"0\" SpinVar=\"0\" "
                             "Angle=\"0\" AngleVar=\"-45\" /><BaseObject>" +
                                 Base3DElement("0.5") + "</BaseObject></CKiv3DFXPartLifeKeyFrm>");
    CKiv3DFXPartPlayKeyFrm back;
    kfxtest::LoadXml(back, kfxtest::StoreXml(k));
    EXPECT_EQ(back.Compare(&k), 0);
    EXPECT_EQ(back.Number, 16777217);
}

TEST(FX3DXml, BothParticleClassesLoadFromTheSharedElementName) {
    CKiv3DFXPartLifeKeyFrm life;
    life.SpinScale = 2.0f;
    life.Color = 0x80FF8000;
    const std::string xml = kfxtest::StoreXml(life);
    EXPECT_NE(xml.find("<CKiv3DFXPartLifeKeyFrm Version=\"0\">"), std::string::npos) << xml;
    EXPECT_NE(xml.find("Color=\"2164228096\""), std::string::npos) << xml;
    CKiv3DFXPartLifeKeyFrm back;
    kfxtest::LoadXml(back, xml);
    EXPECT_EQ(back.Compare(&life), 0);

    // A PartPlay keyframe reads the same element: its fields absent there load as zero.
    CKiv3DFXPartPlayKeyFrm play;
    kfxtest::LoadXml(play, xml);
    EXPECT_EQ(play.Number, 0);
    EXPECT_EQ(play.Size, 0.0f);
}

TEST(FX3DXml, ShortOrMissingBlocksLeaveCornersAndVerticesUnchanged) {
    CKiv3DFXDistortKeyFrm distort;
    distort.LeftTop = {5.0f, 6.0f, 7.0f};
    // "AAAA" is 3 bytes, shorter than a corner; RightBottom is absent. A 16-byte block is
    // longer than a corner: its first 12 bytes are the corner (1, 2, 3).
    kfxtest::LoadXml(distort, "<Root><CKiv3DFXDistortKeyFrm Version=\"0\"><DataMember LeftTop=\"AAAA\" "
                              "RightTop=\"AACAPwAAAEAAAEBAAAAAAA==\" LeftBottom=\"\" /></CKiv3DFXDistortKeyFrm></Root>");
    EXPECT_EQ(distort.LeftTop, (SKiv3DFXPoint{5.0f, 6.0f, 7.0f}));
    EXPECT_EQ(distort.RightTop, (SKiv3DFXPoint{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(distort.RightBottom, (SKiv3DFXPoint{720.0f, 576.0f, 0.0f}));
    EXPECT_EQ(distort.LeftBottom, (SKiv3DFXPoint{0.0f, 576.0f, 0.0f}));

    CKivFXEmitTriangleKeyFrm triangle;
    // 12 bytes of zeros: enough for a Distort corner, short of a 16-byte vertex.
    kfxtest::LoadXml(triangle, "<Root><CKivFXEmitTriangleKeyFrm Version=\"0\"><DataMember PtVec1=\"AAAAAAAAAAAAAAAA\" />"
                               "</CKivFXEmitTriangleKeyFrm></Root>");
    EXPECT_EQ(triangle.PtVec0, (SKivFXEmitVertex{0.0, 116.0}));
    EXPECT_EQ(triangle.PtVec1, (SKivFXEmitVertex{100.0, -58.0}));
    EXPECT_EQ(triangle.PtVec2, (SKivFXEmitVertex{-100.0, -58.0}));
}

TEST(FX3DColour, FlyLightColourWithTopBitSurvivesBothFormats) {
    CKiv3DFXFlyLightKeyFrm k;
    k.Color = 0x80000001;
    const auto bytes = kfxtest::StoreBytes(k);
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - 4, bytes.end()), kfxtest::Bytes({1, 0, 0, 0x80}));
    CKiv3DFXFlyLightKeyFrm fromArchive;
    kfxtest::LoadBytes(fromArchive, bytes);
    EXPECT_EQ(fromArchive.Color, 0x80000001u);

    const std::string xml = kfxtest::StoreXml(k);
    EXPECT_NE(xml.find("Color=\"2147483649\""), std::string::npos) << "unsigned decimal: " << xml;
    CKiv3DFXFlyLightKeyFrm fromXml;
    kfxtest::LoadXml(fromXml, xml);
    EXPECT_EQ(fromXml.Color, 0x80000001u);
}
