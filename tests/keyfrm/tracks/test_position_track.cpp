// The position track: per-axis values without clamping, handles that follow the path for
// new keyframes, the per-axis samplers, and what differs from the scalar track.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "TrackBuilders.h"
#include "TrackReference.h"

using kfxtest::SampleList;

namespace {

std::array<float, 3> At(const CKivFXPosiKeyFrmList& t, double x) {
    std::array<float, 3> v{};
    EXPECT_EQ(t.InsValue(x, v[0], v[1], v[2]), 1);
    return v;
}

std::array<float, 3> At(const CKivFXPosiKeyFrmList& t, int f) {
    std::array<float, 3> v{};
    EXPECT_EQ(t.InsValue(f, v[0], v[1], v[2]), 1);
    return v;
}

std::vector<std::array<float, 3>> Positions(const SampleList& out) {
    std::vector<std::array<float, 3>> v;
    for (auto* k : out.As<CKivFXPosiKeyFrm>()) v.push_back({k->PosiX, k->PosiY, k->PosiZ});
    return v;
}

using P = std::array<float, 3>;

}  // namespace

TEST(PositionValue, EmptyTrackGivesTheDefaults) {
    CKivFXPosiKeyFrmList t;
    t.DefX = 1.0f, t.DefY = 2.0f, t.DefZ = 3.0f;
    EXPECT_EQ(At(t, 0.5), (P{1, 2, 3}));
    EXPECT_EQ(At(t, 12), (P{1, 2, 3}));
}

TEST(PositionValue, LinearPerAxisAndNeverClamped) {
    CKivFXPosiKeyFrmList t;
    kfxtest::AppendPosi(t, {0.0, 0, 0, 0, 0});
    kfxtest::AppendPosi(t, {1.0, 100, 10, 20, 3000});
    EXPECT_EQ(At(t, 0.5), (P{5, 10, 1500})) << "z beyond MaxZ 1000 is not clamped";
    EXPECT_EQ(At(t, 50), (P{5, 10, 1500}));
    EXPECT_EQ(At(t, -1.0), (P{0, 0, 0}));
    EXPECT_EQ(At(t, std::nextafter(1.0, 0.0)), kfxref::PathAt(t, std::nextafter(1.0, 0.0)));
    EXPECT_EQ(At(t, 1.0), (P{10, 20, 3000}));
    EXPECT_EQ(At(t, 101), (P{10, 20, 3000}));
}

TEST(PositionValue, BezierSharesOneTAcrossAxes) {
    CKivFXPosiKeyFrmList t;
    t.InsMode = 1;
    auto* a = kfxtest::AppendPosi(t, {0.0, 10, 0, 0, 0});
    auto* b = kfxtest::AppendPosi(t, {1.0, 20, 10, 20, 30});
    a->After = {1, 2, 3};
    b->Fore = {-1, -2, -3};
    const float tl = (1.0f / 1001.0f) * 250.0f;
    const float tf = (1.0f / 1001.0f) * 300.0f;
    const float px[4] = {0, 1, 9, 10}, py[4] = {0, 2, 18, 20}, pz[4] = {0, 3, 27, 30};
    EXPECT_EQ(At(t, 0.25), (P{KivPublicInsBezier3(px, tl), KivPublicInsBezier3(py, tl), KivPublicInsBezier3(pz, tl)}));
    EXPECT_EQ(At(t, 13), (P{KivPublicInsBezier3(px, tf), KivPublicInsBezier3(py, tf), KivPublicInsBezier3(pz, tf)}));
}

TEST(PositionEdit, NewKeyframesTakeHandlesFromThePath) {
    CKivFXPosiKeyFrmList t;
    kfxtest::AppendPosi(t, {0.0, 0, 0, 0, 0});
    kfxtest::AppendPosi(t, {1.0, 100, 10, 0, 50});
    CKivFXPosiKeyFrm* mid = t.SendKeyFrmValue(0.5, 7.0f, 8.0f, 9.0f);
    ASSERT_NE(mid, nullptr);
    EXPECT_EQ(mid->PosiX, 7.0f);
    EXPECT_EQ(mid->After.X, 0.5f) << "measured forwards at 0.5: path(0.55) - path(0.5)";
    EXPECT_EQ(mid->Fore.X, -0.5f);
    EXPECT_EQ(mid->After.Z, 0.0f) << "z of both handles is 0";
    EXPECT_EQ(t.GetFXKeyFrmIndex(mid), 1);

    CKivFXPosiKeyFrmList late;
    kfxtest::AppendPosi(late, {0.0, 0, 0, 0, 0});
    kfxtest::AppendPosi(late, {1.0, 100, 0, 10, 0});
    const P c = kfxref::PathAt(late, 0.8), n = kfxref::PathAt(late, 0.8 - 0.05);  // the path before the keyframe joins it
    CKivFXPosiKeyFrm* k = late.SendKeyFrmValue(0.8, 0, 0, 0);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->After.Y, c[1] - n[1]) << "past the middle: measured backwards";
    EXPECT_EQ(k->Fore.Y, -(c[1] - n[1]));

    CKivFXPosiKeyFrmList byFrame;
    byFrame.SetBaseOnFrame(1);
    kfxtest::AppendPosi(byFrame, {0.0, 0, 0, 0, 0});
    kfxtest::AppendPosi(byFrame, {0.0, 100, 100, 50, 0});
    CKivFXPosiKeyFrm* f = byFrame.SendKeyFrmValue(50, 1, 1, 1);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Fore.X, -5.0f);
    EXPECT_EQ(f->Fore.Y, -2.5f);
    EXPECT_EQ(f->After.X, 5.0f);
    EXPECT_EQ(f->After.Y, 2.5f);
    EXPECT_EQ(byFrame.SendKeyFrmValue(50, 2, 3, 4), f) << "the second time it only moves";
    EXPECT_EQ(f->PosiZ, 4.0f);
    EXPECT_EQ(f->After.X, 5.0f);
    EXPECT_NE(byFrame.SendKeyFrmValue(INT_MIN, 0, 0, 0), nullptr) << "handles measured at the end of int";
}

TEST(PositionEdit, AddKeyFrmOffsetPosiAndReverse) {
    CKivFXPosiKeyFrmList t;
    kfxtest::AppendPosi(t, {0.0, 0, 0, 0, 0});
    kfxtest::AppendPosi(t, {1.0, 100, 10, 20, 30});
    EXPECT_EQ(t.AddKeyFrm(1.01), nullptr);
    CKivFXPosiKeyFrm* k = t.AddKeyFrm(0.5);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->PosiY, 10.0f);
    CKivFXPosiKeyFrm* f = t.AddKeyFrm(10);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->PosiZ, 3.0f);
    t.OffsetPosi(1.0f, -1.0f, 0.5f);
    EXPECT_EQ(k->PosiX, 6.0f);
    EXPECT_EQ(k->PosiY, 9.0f);
    EXPECT_EQ(k->PosiZ, 15.5f);
    const SKivFXPosiHandle fore = k->Fore, after = k->After;
    t.MakeReverse(0, 100);
    EXPECT_EQ(k->After.X, fore.X);
    EXPECT_EQ(k->Fore.X, after.X);
    EXPECT_EQ(t.GetFXKeyFrm(0)->PosiX, 11.0f) << "list order reversed";
}

TEST(PositionSamples, FrameSamplesHoldAllThreeCoordinates) {
    CKivFXPosiKeyFrmList t;
    kfxtest::AppendPosi(t, {0.0, 0, 0, 0, 0});
    kfxtest::AppendPosi(t, {1.0, 10, 10, 20, 30});
    SampleList out;
    ASSERT_EQ(t.BuildInsValueKF(out.Fresh(), 7, 7), 1);
    EXPECT_EQ(Positions(out), (std::vector<P>{{7, 14, 21}}));
    CKivFXPosiKeyFrmList one;
    kfxtest::AppendPosi(one, {0.3, 4, 1, 2, 3});
    one.BuildInsValueKF(out.Fresh(), 0, 1);
    EXPECT_EQ(Positions(out), (std::vector<P>{{1, 2, 3}, {1, 2, 3}}));
}

TEST(PositionSamples, EvenlySpacedClampsOnlyInterpolatedSamplesPerAxis) {
    CKivFXPosiKeyFrmList t;
    kfxtest::AppendPosi(t, {0.0, 0, 0, 0, 0});
    kfxtest::AppendPosi(t, {1.0, 0, 10, 20, 3000});
    SampleList out;
    ASSERT_EQ(t.BuildInsValueKF(out.Fresh(), 3UL), 1);
    EXPECT_EQ(Positions(out), (std::vector<P>{{0, 0, 0}, {5, 10, 1000}, {10, 20, 3000}}));
    CKivFXPosiKeyFrmList empty;
    empty.DefZ = 5000.0f;
    empty.BuildInsValueKF(out.Fresh(), 2UL);
    EXPECT_EQ(Positions(out), (std::vector<P>{{0, 0, 5000}, {0, 0, 5000}}));
}

TEST(PositionVaries, AnyAxisCounts) {
    CKivFXPosiKeyFrmList t;
    kfxtest::AppendPosi(t, {0.0, 0, 1, 2, 3});
    kfxtest::AppendPosi(t, {1.0, 0, 1, 2, 3.5f});
    EXPECT_EQ(t.IsNeedInsKF(1), 1);
    t.GetFXKeyFrm(1)->PosiZ = 3.0f;
    EXPECT_EQ(t.IsNeedInsKF(1), 0);
}

TEST(PositionTrackKind, TheListFunctionsKnowThePositionTrack) {
    CKivFXPosiKeyFrmList t;
    t.SetBaseOnFrame(1);
    EXPECT_EQ(KivFXKeyFrmListIsBaseOnFrame(&t), 1);
    CKivFXValueKeyFrm value;
    EXPECT_EQ(KivFXKeyFrmTryInsertKF(&t, &value), 0);
    EXPECT_EQ(t.SendKeyFrmValue(0.5, 1, 2, 3)->Location, 0.5);
}
