// The scalar track: its value by location and by frame (linear, Bezier, clamping, the ends),
// setting and adding keyframes, both samplers, and the edits.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "TrackBuilders.h"
#include "TrackReference.h"

using kfxtest::Scalar;
using kfxtest::SampleList;

namespace {

float Bezier(float p0, float p1, float p2, float p3, float t) {
    const float p[4] = {p0, p1, p2, p3};
    return KivPublicInsBezier3(p, t);
}

}  // namespace

TEST(ScalarValue, EmptyTrackGivesDefValueEvenOutsideItsRange) {
    CKivFXInsKeyFrmList t;
    t.DefValue = 5000.0f;
    EXPECT_EQ(t.InsValue(0.5), 5000.0f);
    EXPECT_EQ(t.InsValue(7), 5000.0f);
    EXPECT_EQ(t.InsValue(std::nan("")), 5000.0f);
}

TEST(ScalarValue, OneKeyframeGivesItsValueEverywhereUnclamped) {
    auto t = Scalar({{0.3, 30, 2000.0f}});
    for (double x : {-1.0, 0.0, 0.3, 0.9, 1.5, std::nan("")}) EXPECT_EQ(t->InsValue(x), 2000.0f) << x;
    for (int f : {INT_MIN, -1, 30, INT_MAX}) EXPECT_EQ(t->InsValue(f), 2000.0f) << f;
}

TEST(ScalarValue, LinearProbesBeforeOnJustBeforeBetweenAndAfterKeys) {
    auto t = Scalar({{0.0, 0, 0.0f}, {1.0, 100, 10.0f}});
    EXPECT_EQ(t->InsValue(-1.0), 0.0f) << "below 0.0: the head keyframe";
    EXPECT_EQ(t->InsValue(0.0), 0.0f);
    EXPECT_EQ(t->InsValue(0.5), 5.0f);
    EXPECT_EQ(t->InsValue(std::nextafter(1.0, 0.0)), KivPublicInsValue(0.0, 1.0, 0.0f, 10.0f, std::nextafter(1.0, 0.0)));
    EXPECT_EQ(t->InsValue(1.0), 10.0f);
    EXPECT_EQ(t->InsValue(1.2), 10.0f);
    EXPECT_EQ(t->InsValue(-1), 0.0f) << "a frame before every keyframe: the first";
    EXPECT_EQ(t->InsValue(50), 5.0f);
    EXPECT_EQ(t->InsValue(99), KivPublicInsValue(0, 100, 0.0f, 10.0f, 99.0));
    EXPECT_EQ(t->InsValue(101), 10.0f);
}

TEST(ScalarValue, InterpolatedValuesAreClampedKeyframeValuesAreNot) {
    auto t = Scalar({{0.0, 0, 0.0f}, {1.0, 100, 10.0f}, {1.2, 120, 50.0f}});
    t->MaxValue = 3.0f;
    EXPECT_EQ(t->InsValue(0.5), 3.0f);
    EXPECT_EQ(t->InsValue(1.0), 10.0f) << "exactly on a keyframe";
    EXPECT_EQ(t->InsValue(1.2), 50.0f) << "above 1.0: the last keyframe, unclamped";
    EXPECT_EQ(t->InsValue(110), 3.0f);
    // An inverted range lets MinValue win.
    t->MinValue = 8.0f;
    t->MaxValue = 2.0f;
    EXPECT_EQ(t->InsValue(0.5), 8.0f);
    EXPECT_EQ(t->InsValue(0.01), 8.0f);
}

TEST(ScalarValue, BezierByLocationUsesRoundedThousandths) {
    auto t = Scalar({{0.0, 0, 0.0f}, {1.0, 100, 10.0f}}, 1);
    EXPECT_EQ(t->InsValue(0.5), Bezier(0, 0, 10, 10, (1.0f / 1001.0f) * 500.0f));
    EXPECT_EQ(t->InsValue(0.0), 0.0f);
    EXPECT_EQ(t->InsValue(0.0004), 0.0f) << "0.4 thousandths round to 0: t = 0";
    EXPECT_EQ(t->InsValue(std::nextafter(1.0, 0.0)), Bezier(0, 0, 10, 10, (1.0f / 1001.0f) * 1000.0f)) << "t just below 1";
    // Handle offsets shape the curve: the control values are A + A.after and B + B.fore.
    auto h = Scalar({{0.25, 0, 1.0f, 0.0f, 4.0f}, {0.75, 0, 2.0f, -3.0f, 0.0f}}, 1);
    EXPECT_EQ(h->InsValue(0.4), Bezier(1, 5, -1, 2, (1.0f / 501.0f) * 150.0f));
}

TEST(ScalarValue, BezierByFrameScalesShortSpansBy100) {
    auto shortSpan = Scalar({{0.0, 10, 0.0f}, {0.0, 20, 10.0f}}, 1);
    for (int f : {10, 11, 15, 19})
        EXPECT_EQ(shortSpan->InsValue(f), Bezier(0, 0, 10, 10, (1.0f / 1001.0f) * static_cast<float>(100 * (f - 10)))) << f;
    auto longSpan = Scalar({{0.0, 0, 0.0f}, {0.0, 200, 10.0f}}, 1);
    for (int f : {1, 100, 199}) EXPECT_EQ(longSpan->InsValue(f), Bezier(0, 0, 10, 10, (1.0f / 201.0f) * static_cast<float>(f))) << f;
    // Frames near the ends of int: the x100 scaling is done wide, with the same t.
    auto farOff = Scalar({{0.0, 1000000000, 0.0f}, {0.0, 1000000010, 10.0f}}, 1);
    EXPECT_EQ(farOff->InsValue(1000000005), Bezier(0, 0, 10, 10, (1.0f / 1001.0f) * 500.0f));
}

TEST(ScalarValue, UnsortedTracksAndEqualKeysFollowTheBracketingRule) {
    auto t = Scalar({{0.5, 50, 5.0f}, {0.1, 10, 1.0f}, {0.9, 90, 9.0f}, {0.5, 50, 7.0f}});
    EXPECT_EQ(t->InsValue(0.3), KivPublicInsValue(0.1, 0.5, 1.0f, 5.0f, 0.3)) << "between 0.1 and the first 0.5";
    EXPECT_EQ(t->InsValue(0.5), 5.0f) << "the first of two keyframes at 0.5";
    EXPECT_EQ(t->InsValue(0.7), KivPublicInsValue(0.5, 0.9, 5.0f, 9.0f, 0.7));
    EXPECT_EQ(t->InsValue(-0.1), 5.0f) << "below 0.0: the head in list order, not the smallest key";
    EXPECT_EQ(t->InsValue(1.5), 7.0f) << "above 1.0: the tail in list order";
    EXPECT_EQ(t->InsValue(70), KivPublicInsValue(50, 90, 5.0f, 9.0f, 70.0));
}

TEST(ScalarValue, PositionsNoKeyframeBracketsGiveDefValue) {
    auto t = Scalar({{0.2, 1073741823, 1.0f}, {0.8, 2000000000, 2.0f}});
    t->DefValue = -7.0f;
    EXPECT_EQ(t->InsValue(std::nan("")), -7.0f) << "NaN";
    EXPECT_EQ(t->InsValue(0), -7.0f) << "both keyframes at or beyond the search bound";
    EXPECT_EQ(t->InsValue(1073741823), 1.0f) << "an exact hit still counts";
    EXPECT_EQ(t->InsValue(1500000000), 1.0f) << "only a keyframe below";
}

TEST(ScalarValue, ForeignElementsArePassedOver) {
    auto t = Scalar({{0.0, 0, 0.0f}});
    kfxtest::AppendColour(*t, 0.5, 0xFF000000u);
    kfxtest::Append(*t, kfxtest::ScalarKey{1.0, 100, 10.0f});
    EXPECT_EQ(t->InsValue(0.5), 5.0f);
    EXPECT_EQ(t->InsValue(50), 5.0f);
    EXPECT_EQ(t->GetKeyFrmCount(), 3);
    EXPECT_EQ(t->GetFXKeyFrm(1), nullptr) << "not a value keyframe";
    EXPECT_EQ(t->GetFXKeyFrm(3), nullptr);
    EXPECT_EQ(t->GetFXKeyFrm(-1), nullptr);
    EXPECT_EQ(t->GetFXKeyFrmIndex(t->GetFXKeyFrm(2)), 2);
    EXPECT_EQ(t->GetFXKeyFrmIndex(nullptr), -1);
}

TEST(ScalarEdit, SendKeyFrmValueCreatesThenUpdates) {
    CKivFXInsKeyFrmList t;
    CKivFXValueKeyFrm* k = t.SendKeyFrmValue(0.5, 3.0f);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->Location, 0.5);
    EXPECT_EQ(k->PtFore.PosOffset, -0.1);
    EXPECT_EQ(k->PtAfter.PosOffset, 0.1);
    EXPECT_EQ(k->PtFore.ValueOffset, 0.0f);
    EXPECT_EQ(t.SendKeyFrmValue(0.5, 4.0f), k);
    EXPECT_EQ(k->Value, 4.0f);
    EXPECT_EQ(t.GetKeyFrmCount(), 1);
    CKivFXValueKeyFrm* early = t.SendKeyFrmValue(0.2, 1.0f);
    EXPECT_EQ(t.GetFXKeyFrm(0), early) << "re-sorted into place";
    EXPECT_EQ(t.SendKeyFrmValue(std::nan(""), 1.0f), nullptr) << "a NaN location makes no keyframe";
    EXPECT_EQ(t.GetKeyFrmCount(), 2);
}

TEST(ScalarEdit, SendKeyFrmValueByFrameUsesFiveFrameHandlesAndTheTracksSortKey) {
    auto t = Scalar({{0.5, 50, 1.0f}});
    CKivFXValueKeyFrm* k = t->SendKeyFrmValue(70, 2.0f);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->Frame, 70);
    EXPECT_EQ(k->PtFore.PosOffset, -5.0);
    EXPECT_EQ(k->PtAfter.PosOffset, 5.0);
    EXPECT_EQ(t->GetFXKeyFrm(0), k) << "a location-based track sorts the new keyframe by its Location 0.0";
    t->SetBaseOnFrame(1);
    CKivFXValueKeyFrm* m = t->SendKeyFrmValue(60, 3.0f);
    EXPECT_EQ(t->GetFXKeyFrmIndex(m), 1) << "frame-based: between frames 50 and 70";
}

TEST(ScalarEdit, AKeyframeOfAnotherClassAtThePositionIsLeftAlone) {
    CKivFXInsKeyFrmList t;
    CKivFXColor32KeyFrm* c = kfxtest::AppendColour(t, 0.5, 0x11223344u);
    EXPECT_EQ(t.SendKeyFrmValue(0.5, 1.0f), nullptr);
    EXPECT_EQ(c->Color, 0x11223344u);
    EXPECT_EQ(t.GetKeyFrmCount(), 1);
}

TEST(ScalarEdit, AddKeyFrmPutsTheKeyframeOnTheCurveAsItWas) {
    auto t = Scalar({{0.0, 0, 0.0f}, {1.0, 100, 10.0f}});
    EXPECT_EQ(t->AddKeyFrm(1.5), nullptr);
    EXPECT_EQ(t->AddKeyFrm(-0.1), nullptr);
    EXPECT_EQ(t->AddKeyFrm(std::nan("")), nullptr);
    CKivFXValueKeyFrm* k = t->AddKeyFrm(0.25);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->Value, 2.5f);
    EXPECT_EQ(t->GetFXKeyFrmIndex(k), 1);
    CKivFXValueKeyFrm* f = t->AddKeyFrm(75);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Value, 7.5f);
}

TEST(ScalarFrameSamples, OneSamplePerFrameInAscendingOrder) {
    auto t = Scalar({{0.0, 0, 0.0f}, {1.0, 10, 10.0f}});
    SampleList out;
    CKivFXValueKeyFrm keep;
    out.AddTail(&keep);
    ASSERT_EQ(t->BuildInsValueKF(&out, 5, 2), 1);  // unlinks keep, which stays ours
    EXPECT_EQ(out.Values(), (std::vector<float>{2.0f, 3.0f, 4.0f, 5.0f})) << "from 5 to 2 gives frames 2..5; the old element is only unlinked";
    for (auto* s : out.As<CKivFXValueKeyFrm>()) EXPECT_EQ(s->Frame, 0) << "only Value is set";
    ASSERT_EQ(t->BuildInsValueKF(out.Fresh(), 7, 7), 1);
    EXPECT_EQ(out.Values(), std::vector<float>{7.0f});
    EXPECT_EQ(t->BuildInsValueKF(nullptr, 0, 1), 0);
}

TEST(ScalarFrameSamples, EmptyAndSingleKeyframeTracks) {
    CKivFXInsKeyFrmList empty;
    empty.DefValue = 4.0f;
    SampleList out;
    empty.BuildInsValueKF(out.Fresh(), -1, 1);
    EXPECT_EQ(out.Values(), std::vector<float>(3, 4.0f));
    auto one = Scalar({{0.5, 100, 6.0f}});
    one->BuildInsValueKF(out.Fresh(), 0, 2);
    EXPECT_EQ(out.Values(), std::vector<float>(3, 6.0f));
}

TEST(ScalarFrameSamples, RangesAtTheEndsOfIntAndTooManyFrames) {
    auto t = Scalar({{0.0, INT_MAX - 1, 1.0f}, {0.0, INT_MAX, 3.0f}});
    t->DefValue = -1.0f;
    SampleList out;
    ASSERT_EQ(t->BuildInsValueKF(out.Fresh(), INT_MAX, INT_MAX - 2), 1);
    EXPECT_EQ(out.Values(), (std::vector<float>{-1.0f, 1.0f, 3.0f})) << "keys beyond the search bound are found only exactly";
    EXPECT_THROW(t->BuildInsValueKF(&out, INT_MIN, INT_MAX), CMemoryException) << "four billion samples are refused up front";
    EXPECT_EQ(out.GetCount(), 3) << "and out is left as it was";
}

TEST(ScalarEvenSamples, TheSegmentRulesByIndex) {
    auto t = Scalar({{0.2, 0, 1.0f}, {0.8, 0, 7.0f}});
    SampleList out;
    ASSERT_EQ(t->BuildInsValueKF(out.Fresh(), 11UL), 1);
    EXPECT_EQ(out.Values(), (std::vector<float>{1, 1, 1, 2, 3, 4, 5, 6, 7, 7, 7}));
    t->MaxValue = 4.5f;
    t->BuildInsValueKF(out.Fresh(), 11UL);
    EXPECT_EQ(out.Values(), (std::vector<float>{1, 1, 1, 2, 3, 4, 4.5f, 4.5f, 7, 7, 7})) << "only interpolated samples clamp";
}

TEST(ScalarEvenSamples, BezierStepsTInSinglePrecision) {
    auto t = Scalar({{0.0, 0, 0.0f, 0.0f, 2.0f}, {1.0, 0, 10.0f, -1.0f, 0.0f}}, 1);
    SampleList out;
    t->BuildInsValueKF(out.Fresh(), 6UL);
    const float step = 1.0f / 6.0f;
    float tt = 0.0f;
    std::vector<float> expected{0.0f};
    for (int i = 1; i < 5; ++i) expected.push_back(Bezier(0, 2, 9, 10, tt += step));
    expected.push_back(10.0f);
    EXPECT_EQ(out.Values(), expected);
}

TEST(ScalarEvenSamples, FewKeyframesOrOneSample) {
    CKivFXInsKeyFrmList empty;
    empty.DefValue = 2.0f;
    SampleList out;
    empty.BuildInsValueKF(out.Fresh(), 3UL);
    EXPECT_EQ(out.Values(), std::vector<float>(3, 2.0f));
    empty.BuildInsValueKF(out.Fresh(), 1UL);
    EXPECT_EQ(out.Values(), std::vector<float>(1, 2.0f));
    auto two = Scalar({{0.7, 0, 9.0f}, {0.1, 0, 1.0f}});
    two->MaxValue = 5.0f;
    two->BuildInsValueKF(out.Fresh(), 1UL);
    EXPECT_EQ(out.Values(), std::vector<float>{9.0f}) << "n = 1: the head keyframe, unclamped";
    EXPECT_EQ(two->BuildInsValueKF(out.Fresh(), 0UL), 0);
    EXPECT_EQ(two->BuildInsValueKF(nullptr, 4UL), 0);
}

TEST(ScalarEvenSamples, AKeyframeMappingPastTheSamplesRaisesAndLeavesTheSamplesToTheCaller) {
    auto t = Scalar({{0.0, 0, 1.0f}, {0.5, 0, 2.0f}, {1.5, 0, 3.0f}, {1.0, 0, 4.0f}});
    SampleList out;
    EXPECT_THROW(t->BuildInsValueKF(out.Fresh(), 5UL), CInvalidArgException);
    ASSERT_EQ(out.GetCount(), 5) << "every sample was made and is in out";
    const auto v = out.Values();
    EXPECT_EQ(v[0], 1.0f);
    EXPECT_EQ(v[1], 1.5f) << "the segment before the fault is filled";
    EXPECT_EQ(v[2], 0.0f) << "the faulty segment writes nothing";
    auto below = Scalar({{-0.5, 0, 1.0f}, {0.5, 0, 2.0f}});
    EXPECT_THROW(below->BuildInsValueKF(out.Fresh(), 5UL), CInvalidArgException) << "a keyframe below 0.0 maps before the first sample";
}

TEST(ScalarEvenSamples, MatchesTheSegmentRulesOnAssortedTracks) {
    auto t = Scalar({{0.0, 0, -3.0f, 0.0f, 5.0f}, {0.13, 0, 8.0f, 1.0f, -2.0f}, {0.13, 0, 2.0f}, {0.6, 0, 20.0f}, {0.35, 0, 4.0f}, {1.0, 0, 1.0f}});
    t->MinValue = -1.0f;
    t->MaxValue = 15.0f;
    SampleList out;
    for (int mode : {0, 1})
        for (ULONG n : {2UL, 7UL, 64UL, 1001UL}) {
            t->InsMode = mode;
            t->BuildInsValueKF(out.Fresh(), n);
            EXPECT_EQ(out.Values(), kfxref::ScalarEven(*t, n)) << "mode " << mode << ", n " << n;
        }
}

TEST(ScalarVaries, TwoEqualKeyframesDoNotVaryThreeAlwaysDo) {
    CKivFXInsKeyFrmList t;
    EXPECT_EQ(t.IsNeedInsKF(0), 1) << "before any recompute the track is taken to vary";
    EXPECT_EQ(t.IsNeedInsKF(1), 0);
    t.SendKeyFrmValue(0.0, 2.0f);
    t.SendKeyFrmValue(1.0, 2.0f);
    EXPECT_EQ(t.IsNeedInsKF(1), 0);
    t.GetFXKeyFrm(1)->Value = 2.5f;
    EXPECT_EQ(t.IsNeedInsKF(0), 0) << "edits do not reset the cached answer";
    EXPECT_EQ(t.IsNeedInsKF(1), 1);
    t.GetFXKeyFrm(1)->Value = 2.0f;
    t.SendKeyFrmValue(0.5, 2.0f);
    EXPECT_EQ(t.IsNeedInsKF(1), 1);
}

TEST(ScalarEdit, MakeReverseMirrorsFramesAndSwapsHandles) {
    auto t = Scalar({{0.0, 0, 1.0f, -1.0f, 2.0f}, {0.3, 30, 2.0f}, {1.0, 100, 3.0f}});
    auto* a = t->GetFXKeyFrm(0);
    a->PtFore.PosOffset = -5.0;
    a->PtAfter.PosOffset = 5.0;
    auto* b = t->GetFXKeyFrm(1);
    auto* c = t->GetFXKeyFrm(2);
    t->MakeReverse(0, 100);
    EXPECT_EQ(t->GetFXKeyFrm(0), c);
    EXPECT_EQ(t->GetFXKeyFrm(1), b);
    EXPECT_EQ(t->GetFXKeyFrm(2), a);
    EXPECT_EQ(c->Frame, 0);
    EXPECT_EQ(b->Frame, 70);
    EXPECT_EQ(a->Frame, 100);
    EXPECT_EQ(a->Location, 0.0) << "Location is not mirrored";
    EXPECT_EQ(a->PtFore.ValueOffset, 2.0f);
    EXPECT_EQ(a->PtFore.PosOffset, 5.0) << "handles swap whole: offsets keep their signs";
    EXPECT_EQ(a->PtAfter.ValueOffset, -1.0f);
    // The bounds are read once, even when they are a keyframe's own Frame.
    t->MakeReverse(c->Frame, a->Frame);
    EXPECT_EQ(a->Frame, 0);
    EXPECT_EQ(b->Frame, 30);
    EXPECT_EQ(c->Frame, 100);
    t->MakeReverse(INT_MAX, INT_MAX);
    EXPECT_EQ(a->Frame, INT_MAX) << "mirrored frames saturate";
}

TEST(ScalarEdit, OffsetZoomSelectAndDelete) {
    auto t = Scalar({{0.1, 10, 1.0f, -1.0f, 1.0f}, {0.2, INT_MAX - 1, 2.0f}});
    t->OffsetFrame(5);
    EXPECT_EQ(t->GetFXKeyFrm(0)->Frame, 15);
    EXPECT_EQ(t->GetFXKeyFrm(1)->Frame, INT_MAX) << "saturates";
    EXPECT_EQ(t->GetFXKeyFrm(0)->Location, 0.1);

    t->ZoomRangeValue(-2.0f);
    EXPECT_EQ(t->MinValue, 2000.0f);
    EXPECT_EQ(t->MaxValue, -2000.0f);
    EXPECT_EQ(t->GetFXKeyFrm(0)->Value, -2.0f);
    EXPECT_EQ(t->GetFXKeyFrm(0)->PtFore.ValueOffset, 2.0f);
    EXPECT_EQ(t->GetFXKeyFrm(0)->PtAfter.ValueOffset, -2.0f);

    CKivFXValueKeyFrm stranger;
    EXPECT_EQ(t->SetSelectKF(&stranger, 0), 0) << "not in the list, though its flag is set";
    EXPECT_EQ(stranger.IsSelect(), 1);
    EXPECT_EQ(t->SetSelectKF(nullptr, 0), 0);
    EXPECT_EQ(t->SetSelectKF(t->GetFXKeyFrm(0), 0), 1);
    EXPECT_EQ(t->SetSelectKF(t->GetFXKeyFrm(1), 0), 1);
    EXPECT_EQ(t->GetSelKeyFrmCount(), 2);
    EXPECT_EQ(t->SetSelectKF(t->GetFXKeyFrm(1), 1), 1);
    EXPECT_EQ(t->GetSelKeyFrmCount(), 1) << "exclusive clears the others first";
    t->DeleteSelectKeyFrm();
    EXPECT_EQ(t->GetKeyFrmCount(), 1);
    EXPECT_EQ(t->IsHasSelectKF(), 0);
    t->SetSelectKF(t->GetFXKeyFrm(0), 0);
    t->UnSelectKF();
    EXPECT_EQ(t->IsHasSelectKF(), 0);
    t->DeleteKeyFrm(&stranger);
    EXPECT_EQ(t->GetKeyFrmCount(), 1) << "a keyframe not in the list is left alone";
    t->DeleteKeyFrm(t->GetFXKeyFrm(0));
    EXPECT_EQ(t->GetKeyFrmCount(), 0);
}

TEST(ScalarEdit, GetKFMinRangeIsTheSmallestGapInFrameOrder) {
    CKivFXInsKeyFrmList t;
    EXPECT_EQ(t.GetKFMinRange(), INT_MAX);
    kfxtest::Append(t, {0.0, 40, 0.0f});
    EXPECT_EQ(t.GetKFMinRange(), INT_MAX) << "one keyframe";
    kfxtest::Append(t, {0.0, 0, 0.0f});
    kfxtest::Append(t, {0.0, 100, 0.0f});
    EXPECT_EQ(t.GetKFMinRange(), 40) << "unsorted: 0, 40, 100";
    kfxtest::Append(t, {0.0, 40, 0.0f});
    EXPECT_EQ(t.GetKFMinRange(), 0) << "two keyframes share a frame";
    CKivFXInsKeyFrmList wide;
    kfxtest::Append(wide, {0.0, INT_MIN, 0.0f});
    kfxtest::Append(wide, {0.0, INT_MAX, 0.0f});
    EXPECT_EQ(wide.GetKFMinRange(), INT_MAX) << "a gap wider than int saturates";
}

TEST(ScalarTrackKind, TheListFunctionsKnowTheScalarTrack) {
    CKivFXInsKeyFrmList t;
    EXPECT_EQ(KivFXKeyFrmListIsBaseOnFrame(&t), 0);
    t.SetBaseOnFrame(1);
    EXPECT_EQ(KivFXKeyFrmListIsBaseOnFrame(&t), 1);
    auto posi = std::make_unique<CKivFXPosiKeyFrm>();
    EXPECT_EQ(KivFXKeyFrmTryInsertKF(&t, posi.get()), 0) << "a position keyframe is refused";
    EXPECT_EQ(KivFXKeyFrmIsOverlapKF(&t, posi.get(), 1.0f), 0);
    auto* k = new CKivFXValueKeyFrm;  // the track owns it once inserted
    k->Frame = 3;
    KivFXKeyFrmInsertKF(&t, k);
    EXPECT_EQ(t.GetKeyFrmCount(), 1);
}
