// Defaults the 3-D effect, particle and emitter keyframes promise to hosts, Default()
// reaching every level, and copies of the multi-value fields.
#include <gtest/gtest.h>

#include <bit>
#include <memory>

#include "keyfrm/fx3d/KivFX3D.h"

TEST(FX3DDefaults, DistortCornersFrameA720By576Picture) {
    const CKiv3DFXDistortKeyFrm k;
    EXPECT_EQ(k.LeftTop, (SKiv3DFXPoint{0, 0, 0}));
    EXPECT_EQ(k.RightTop, (SKiv3DFXPoint{720, 0, 0}));
    EXPECT_EQ(k.RightBottom, (SKiv3DFXPoint{720, 576, 0}));
    EXPECT_EQ(k.LeftBottom, (SKiv3DFXPoint{0, 576, 0}));
}

TEST(FX3DDefaults, TriangleHasItsCentroidAtTheOrigin) {
    const CKivFXEmitTriangleKeyFrm k;
    EXPECT_EQ(k.PtVec0, (SKivFXEmitVertex{0, 116}));
    EXPECT_EQ(k.PtVec1, (SKivFXEmitVertex{100, -58}));
    EXPECT_EQ(k.PtVec2, (SKivFXEmitVertex{-100, -58}));
}

TEST(FX3DDefaults, FractionalDefaultsAreTheExactFloatBits) {
    EXPECT_EQ(std::bit_cast<DWORD>(CKiv3DFXGhostKeyFrm().GhostAlpha), 0x3DCCCCCDu);
    EXPECT_EQ(std::bit_cast<DWORD>(CKiv3DFXWipeKeyFrm().Soft), 0x3E99999Au);
}

TEST(FX3DDefaults, ParticleAndLightDefaults) {
    const CKiv3DFXPartPlayKeyFrm play;
    EXPECT_EQ(play.Number, 2);
    EXPECT_EQ(play.Life, 50);
    EXPECT_EQ(play.Size, 30.0f);
    EXPECT_EQ(play.Speed, 5.0f);
    EXPECT_EQ(play.NumberVar, 0.0f);
    EXPECT_EQ(play.LifeVar, 0);
    EXPECT_EQ(play.AngleVar, 0.0f);

    const CKiv3DFXPartLifeKeyFrm life;
    for (float scale : {life.SizeScale, life.SpeedScale, life.WeightXScale, life.WeightYScale, life.SpinScale})
        EXPECT_EQ(scale, 1.0f);
    EXPECT_EQ(life.Color, 0xFFFFFFFFu);
    EXPECT_EQ(CKiv3DFXFlyLightKeyFrm().Color, 0xFFFFFFFFu);
    EXPECT_EQ(CKivFXColorMaskKeyFrm().Blue, 255.0f);
}

TEST(FX3DDefaults, WaveDefaultRestoresEveryLevel) {
    CKiv3DFXWaveKeyFrm k;
    k.Prog = 0.75f;
    k.Location = 0.5;
    k.Restore = 3;
    k.SetSelect(1);
    k.SpanAngle = 1.0f;
    k.WaveSplit = 2.0f;
    k.Swing = 3.0f;
    k.Default();
    EXPECT_EQ(k.Prog, 0.0f);
    EXPECT_EQ(k.Location, 0.0);
    EXPECT_EQ(k.Restore, 0);
    EXPECT_EQ(k.IsSelect(), 0);
    EXPECT_EQ(k.SpanAngle, 10.0f);
    EXPECT_EQ(k.WaveSplit, 0.25f);
    EXPECT_EQ(k.Swing, 50.0f);
}

TEST(FX3DCopies, AssignmentCopiesEveryCoordinateAndKeepsTheTargetSelection) {
    CKiv3DFXDistortKeyFrm distort;
    distort.LeftTop = {1, 2, 3};
    distort.RightTop = {4, 5, 6};
    distort.RightBottom = {7, 8, 9};
    distort.LeftBottom = {10, 11, 12};
    distort.Prog = 0.5f;
    CKiv3DFXDistortKeyFrm distortCopy;
    distortCopy.SetSelect(1);
    distortCopy = distort;
    EXPECT_EQ(distortCopy.Compare(&distort), 0);
    EXPECT_EQ(distortCopy.LeftBottom, (SKiv3DFXPoint{10, 11, 12}));
    EXPECT_EQ(distortCopy.IsSelect(), 1);

    CKivFXEmitTriangleKeyFrm triangle;
    triangle.PtVec0 = {0.125, -1e300};
    triangle.PtVec1 = {3, 4};
    triangle.PtVec2 = {5, 6};
    std::unique_ptr<CKivObject> copy(triangle.MakeCopy());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetRuntimeClass(), RUNTIME_CLASS(CKivFXEmitTriangleKeyFrm));
    const auto& t = static_cast<const CKivFXEmitTriangleKeyFrm&>(*copy);
    EXPECT_EQ(t.PtVec0, (SKivFXEmitVertex{0.125, -1e300}));
    EXPECT_EQ(t.PtVec1, (SKivFXEmitVertex{3, 4}));
    EXPECT_EQ(t.PtVec2, (SKivFXEmitVertex{5, 6}));
}
