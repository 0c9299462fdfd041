// The colour track: channel interpolation with truncation, packed and channel forms, setting
// keyframes, and the evenly spaced sampler's closed segments and end rules.
#include <gtest/gtest.h>

#include <cmath>

#include "TrackBuilders.h"
#include "TrackReference.h"

using kfxtest::AppendColour;
using kfxtest::SampleList;

namespace {

constexpr DWORD kOpaqueBlack = 0xFF000000u;
constexpr DWORD kOpaqueWhite = 0xFFFFFFFFu;

ULONG Packed(const CKivFXColor32KeyFrmList& t, double x) {
    ULONG c = 0;
    EXPECT_EQ(t.InsValue(x, c), 1);
    return c;
}

std::vector<DWORD> Colours(const SampleList& out) {
    std::vector<DWORD> v;
    for (auto* k : out.As<CKivFXColor32KeyFrm>()) v.push_back(k->Color);
    return v;
}

}  // namespace

TEST(ColourValue, EmptyTrackIsOpaqueWhite) {
    CKivFXColor32KeyFrmList t;
    BYTE r = 0, g = 0, b = 0, a = 0;
    EXPECT_EQ(t.InsValue(0.5, r, g, b, a), 1);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 255);
    EXPECT_EQ(a, 255);
    EXPECT_EQ(Packed(t, 0.5), kOpaqueWhite);
}

TEST(ColourValue, ChannelsTruncateAndPackAlphaRedGreenBlue) {
    CKivFXColor32KeyFrmList t;
    AppendColour(t, 0.0, kOpaqueBlack);
    AppendColour(t, 1.0, kOpaqueWhite);
    BYTE r, g, b, a;
    t.InsValue(0.5, r, g, b, a);
    EXPECT_EQ(r, 127) << "127.5 truncated";
    EXPECT_EQ(g, 127);
    EXPECT_EQ(b, 127);
    EXPECT_EQ(a, 255);
    EXPECT_EQ(Packed(t, 0.5), 0xFF7F7F7Fu);
    EXPECT_EQ(Packed(t, -1.0), kOpaqueBlack);
    EXPECT_EQ(Packed(t, 0.0), kOpaqueBlack);
    EXPECT_EQ(Packed(t, std::nextafter(1.0, 0.0)), kfxref::ColourAt(t, std::nextafter(1.0, 0.0)));
    EXPECT_EQ(Packed(t, 1.0), kOpaqueWhite);
    EXPECT_EQ(Packed(t, 2.0), kOpaqueWhite);
    EXPECT_EQ(Packed(t, std::nan("")), kOpaqueWhite) << "no keyframe brackets NaN";
}

TEST(ColourValue, EachChannelOnItsOwnLine) {
    CKivFXColor32KeyFrmList t;
    AppendColour(t, 0.0, 0x10204080u);
    AppendColour(t, 0.5, 0x90A0C000u);
    for (double x : {0.0, 0.1, 0.45, std::nextafter(0.5, 0.0), 0.5}) EXPECT_EQ(Packed(t, x), kfxref::ColourAt(t, x)) << x;
    EXPECT_EQ(Packed(t, 0.25), 0x50608040u);
}

TEST(ColourEdit, SendKeyFrmValueCreatesThenUpdatesAndAddKeyFrmTakesTheCurrentColour) {
    CKivFXColor32KeyFrmList t;
    CKivFXColor32KeyFrm* k = t.SendKeyFrmValue(0.25, 0x11223344UL);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(t.SendKeyFrmValue(0.25, BYTE{1}, BYTE{2}, BYTE{3}, BYTE{4}), k);
    EXPECT_EQ(k->Color, 0x04010203u) << "alpha, red, green, blue";
    EXPECT_EQ(t.GetKeyFrmCount(), 1);
    EXPECT_EQ(t.AddKeyFrm(1.5), nullptr);
    t.SendKeyFrmValue(0.75, 0xFF0000FFUL);
    CKivFXColor32KeyFrm* mid = t.AddKeyFrm(0.5);
    ASSERT_NE(mid, nullptr);
    EXPECT_EQ(mid->Color, kfxref::ColourAt(t, 0.5));
    EXPECT_EQ(t.GetFXKeyFrm(1), mid);
    EXPECT_EQ(KivFXKeyFrmListIsBaseOnFrame(&t), 0);
}

TEST(ColourSamples, EvenlySpacedRamp) {
    CKivFXColor32KeyFrmList t;
    AppendColour(t, 0.0, kOpaqueBlack);
    AppendColour(t, 1.0, kOpaqueWhite);
    SampleList out;
    ASSERT_EQ(t.BuildInsValueKF(out.Fresh(), 5UL), 1);
    std::vector<BYTE> reds;
    for (DWORD c : Colours(out)) reds.push_back(static_cast<BYTE>(c >> 16));
    EXPECT_EQ(reds, (std::vector<BYTE>{0, 63, 127, 191, 255}));
    EXPECT_EQ(Colours(out).back(), kOpaqueWhite) << "written by the final segment, exactly B's colour";
}

TEST(ColourSamples, LeadingAndTrailingFills) {
    CKivFXColor32KeyFrmList t;
    AppendColour(t, 0.25, 0xFF000010u);
    AppendColour(t, 0.5, 0xFF000030u);
    SampleList out;
    t.BuildInsValueKF(out.Fresh(), 5UL);
    EXPECT_EQ(Colours(out), (std::vector<DWORD>{0xFF000010u, 0xFF000010u, 0xFF000030u, 0xFF000030u, 0xFF000030u}));
    CKivFXColor32KeyFrmList none;
    none.BuildInsValueKF(out.Fresh(), 2UL);
    EXPECT_EQ(Colours(out), (std::vector<DWORD>{kOpaqueWhite, kOpaqueWhite}));
    CKivFXColor32KeyFrmList one;
    AppendColour(one, 0.9, 0x12345678u);
    one.BuildInsValueKF(out.Fresh(), 3UL);
    EXPECT_EQ(Colours(out), (std::vector<DWORD>(3, 0x12345678u)));
    EXPECT_EQ(one.BuildInsValueKF(out.Fresh(), 0UL), 0);
}

TEST(ColourSamples, AKeyframeAboveOneRaisesWithTheSamplesInOut) {
    CKivFXColor32KeyFrmList t;
    AppendColour(t, 0.0, kOpaqueBlack);
    AppendColour(t, 1.5, kOpaqueWhite);
    AppendColour(t, 1.0, kOpaqueWhite);
    SampleList out;
    EXPECT_THROW(t.BuildInsValueKF(out.Fresh(), 4UL), CInvalidArgException);
    EXPECT_EQ(out.GetCount(), 4);
}
