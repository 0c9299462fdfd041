// Archive records of the 3-D effect, particle, emitter and colour mask keyframes: record
// sizes level by level, exact layouts where the format fixes them, truncated blocks.
#include <gtest/gtest.h>

#include <memory>

#include "keyfrm/fx3d/KivFX3D.h"
#include "support/ArchiveBytes.h"

using kfxtest::Bytes;

namespace {

// The root's part for Restore 1 and Location 0.5: version word, Restore, the double.
const std::vector<BYTE> kRootPart = Bytes({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F});

std::vector<BYTE> Concat(std::initializer_list<std::vector<BYTE>> parts) {
    std::vector<BYTE> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

template <class K>
void PlaceAtHalf(K& k) {
    k.Restore = 1;
    k.Location = 0.5;
}

}  // namespace

TEST(FX3DArchive, RecordSizesFollowTheLevels) {
    // root 12, 3-D base 6, array base 2, then the class's version word and fields.
    const std::pair<const char*, size_t> sizes[] = {
        {"CKiv3DFXBaseKeyFrm", 18},       {"CKiv3DFXArrayKeyFrm", 20},     {"CKiv3DFXGrowKeyFrm", 22},
        {"CKiv3DFXQueueKeyFrm", 22},      {"CKiv3DFXSpreadKeyFrm", 22},    {"CKiv3DFXTileKeyFrm", 22},
        {"CKiv3DFXBlurWipeKeyFrm", 20},   {"CKiv3DFXScrewKeyFrm", 20},     {"CKiv3DFXSmashKeyFrm", 20},
        {"CKiv3DFXBendKeyFrm", 28},       {"CKiv3DFXPageCurlKeyFrm", 28},  {"CKiv3DFXWipeKeyFrm", 28},
        {"CKiv3DFXFlyLightKeyFrm", 32},   {"CKiv3DFXWaveKeyFrm", 32},      {"CKiv3DFXGhostKeyFrm", 44},
        {"CKiv3DFXDistortKeyFrm", 68},    {"CKiv3DFXPartPlayKeyFrm", 84},  {"CKiv3DFXPartLifeKeyFrm", 44},
        {"CKivFXEmitEllipseKeyFrm", 22},  {"CKivFXEmitRectKeyFrm", 22},    {"CKivFXEmitLineKeyFrm", 18},
        {"CKivFXEmitTriangleKeyFrm", 62}, {"CKivFXColorMaskKeyFrm", 30},
    };
    for (const auto& [name, size] : sizes) {
        CRuntimeClass* cls = CRuntimeClass::FromName(name);
        ASSERT_NE(cls, nullptr) << name;
        std::unique_ptr<CObject> o(cls->CreateObject());
        ASSERT_NE(o, nullptr) << name;
        EXPECT_EQ(kfxtest::StoreBytes(*o).size(), size) << name;
    }
}

TEST(FX3DArchive, GrowRecordCarriesTheArrayVersionBetweenProgAndItsOwn) {
    CKiv3DFXGrowKeyFrm k;
    PlaceAtHalf(k);
    k.Prog = 1.0f;
    const auto bytes = kfxtest::StoreBytes(k);
    EXPECT_EQ(bytes, Concat({kRootPart, Bytes({0, 0, 0, 0, 0x80, 0x3F,  // 3-D base: version, Prog 1.0f
                                               0, 0,                    // array base: version alone
                                               0, 0})}));               // Grow: version alone
    CKiv3DFXGrowKeyFrm back;
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(back.Prog, 1.0f);
    EXPECT_EQ(back.Location, 0.5);
}

TEST(FX3DArchive, DistortCornersAreTwelveByteBlocksOfThreeFloats) {
    CKiv3DFXDistortKeyFrm k;
    PlaceAtHalf(k);
    k.LeftTop = {1.0f, 2.0f, -1.0f};
    const auto bytes = kfxtest::StoreBytes(k);
    ASSERT_EQ(bytes.size(), 68u);
    const std::vector<BYTE> distortPart(bytes.begin() + 18, bytes.end());
    EXPECT_EQ(distortPart, Bytes({0, 0,                                                    // version
                                  0, 0, 0x80, 0x3F, 0, 0, 0, 0x40, 0, 0, 0x80, 0xBF,       // (1, 2, -1)
                                  0, 0, 0x34, 0x44, 0, 0, 0, 0, 0, 0, 0, 0,                // (720, 0, 0)
                                  0, 0, 0x34, 0x44, 0, 0, 0x10, 0x44, 0, 0, 0, 0,          // (720, 576, 0)
                                  0, 0, 0, 0, 0, 0, 0x10, 0x44, 0, 0, 0, 0}));             // (0, 576, 0)
    CKiv3DFXDistortKeyFrm back;
    back.LeftTop = {9.0f, 9.0f, 9.0f};
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(back.LeftTop, (SKiv3DFXPoint{1.0f, 2.0f, -1.0f}));
}

TEST(FX3DArchive, TriangleVerticesAreSixteenByteBlocksOfTwoDoubles) {
    CKivFXEmitTriangleKeyFrm k;
    PlaceAtHalf(k);
    k.PtVec2 = {-0.5, 2.0};
    const auto bytes = kfxtest::StoreBytes(k);
    ASSERT_EQ(bytes.size(), 62u);
    const std::vector<BYTE> ownPart(bytes.begin() + 12, bytes.end());
    EXPECT_EQ(ownPart, Bytes({0, 0,                                                  // version
                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x5D, 0x40,  // (0, 116)
                              0, 0, 0, 0, 0, 0, 0x59, 0x40, 0, 0, 0, 0, 0, 0, 0x4D, 0xC0,  // (100, -58)
                              0, 0, 0, 0, 0, 0, 0xE0, 0xBF, 0, 0, 0, 0, 0, 0, 0, 0x40}));  // (-0.5, 2)
    CKivFXEmitTriangleKeyFrm back;
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(back.PtVec2, (SKivFXEmitVertex{-0.5, 2.0}));
}

TEST(FX3DArchive, ColourMaskStoresRedBlueGreenAlpha) {
    CKivFXColorMaskKeyFrm k;
    PlaceAtHalf(k);
    k.Red = 10.0f;
    k.Green = 20.0f;
    k.Blue = 30.0f;
    k.Alpha = 40.0f;
    const auto bytes = kfxtest::StoreBytes(k);
    EXPECT_EQ(bytes, Concat({kRootPart, Bytes({0, 0,                   // version
                                               0, 0, 0x20, 0x41,      // red 10
                                               0, 0, 0xF0, 0x41,      // blue 30
                                               0, 0, 0xA0, 0x41,      // green 20
                                               0, 0, 0x20, 0x42})}));  // alpha 40
    CKivFXColorMaskKeyFrm back;
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(back.Red, 10.0f);
    EXPECT_EQ(back.Green, 20.0f);
    EXPECT_EQ(back.Blue, 30.0f);
    EXPECT_EQ(back.Alpha, 40.0f);
}

TEST(FX3DArchive, LineEmitterPartIsVersionThenLength) {
    CKivFXEmitLineKeyFrm k;
    PlaceAtHalf(k);
    EXPECT_EQ(kfxtest::StoreBytes(k), Concat({kRootPart, Bytes({0, 0, 0, 0, 0x48, 0x43})}));  // 200.0f
}

TEST(FX3DArchive, PartPlayWritesIntegersAsIntegersAndNumberVarAsFloat) {
    CKiv3DFXPartPlayKeyFrm k;
    k.Number = 16777217;  // 2^24 + 1: a float would lose the last bit
    k.NumberVar = 0.5f;
    k.Life = -2;
    const auto bytes = kfxtest::StoreBytes(k);
    ASSERT_EQ(bytes.size(), 84u);
    const std::vector<BYTE> head(bytes.begin() + 18, bytes.begin() + 32);
    EXPECT_EQ(head, Bytes({0, 0, 1, 0, 0, 1, 0, 0, 0, 0x3F, 0xFE, 0xFF, 0xFF, 0xFF}));
    CKiv3DFXPartPlayKeyFrm back;
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(back.Number, 16777217);
    EXPECT_EQ(back.NumberVar, 0.5f);
    EXPECT_EQ(back.Life, -2);
}

TEST(FX3DArchive, EveryTruncatedBlockRecordRaisesEndOfFile) {
    // A record cut inside a corner or vertex block must fail, not load a half-filled point.
    CKiv3DFXDistortKeyFrm distort;
    CKivFXEmitTriangleKeyFrm triangle;
    for (CKivFXBaseKeyFrm* k : {static_cast<CKivFXBaseKeyFrm*>(&distort), static_cast<CKivFXBaseKeyFrm*>(&triangle)}) {
        const auto bytes = kfxtest::StoreBytes(*k);
        for (size_t n = 0; n < bytes.size(); ++n) {
            std::unique_ptr<CKivObject> back(k->MakeCopy());
            try {
                kfxtest::LoadBytes(*back, std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
                ADD_FAILURE() << k->GetRuntimeClass()->m_lpszClassName << ": prefix of " << n << " bytes loaded";
            } catch (const CArchiveException& e) {
                EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << n;
            }
        }
    }
}
