// The curve window as a host creates and sets it up, and its exact mapping between frames
// and values and client pixels.
#include <cfloat>

#include "CurveWindowTestSupport.h"

using CurveMapping = CurveWindowTest;

TEST_F(CurveMapping, CreateGivesIdAndTheParentsFont) {
    ASSERT_TRUE(host.CreateTop(CRect(0, 0, 240, 140)));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Arial"));
    host.SetFont(&font, FALSE);
    EXPECT_EQ(wnd.Create(WS_CHILD | WS_VISIBLE, &host, CRect(0, 0, 100, 50)), TRUE);
    EXPECT_EQ(wnd.GetDlgCtrlID(), 130);
    EXPECT_EQ(wnd.GetFont(), &font);
    EXPECT_EQ(wnd.GetParent(), &host);
    EXPECT_EQ(wnd.Create(WS_CHILD, &host, CRect(0, 0, 10, 10)), FALSE) << "already created";
    CKivFXInsKeyFrmWnd orphan;
    EXPECT_EQ(orphan.Create(WS_CHILD, nullptr, CRect(0, 0, 10, 10)), FALSE) << "a child needs a parent";
    EXPECT_STREQ(wnd.GetRuntimeClass()->m_lpszClassName, "CKivFXInsKeyFrmWnd");
    EXPECT_TRUE(wnd.IsKindOf(RUNTIME_CLASS(CWnd)));
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CKivFXInsKeyFrmWnd)->CreateObject());
    EXPECT_NE(dynamic_cast<CKivFXInsKeyFrmWnd*>(made.get()), nullptr);
    wnd.DestroyWindow();
    host.SetFont(nullptr, FALSE);
}

TEST_F(CurveMapping, TheTrackGivesTheRangeAndTheHeightGivesTheScale) {
    auto t = MakeTrack({{0, 1.0f}});
    t->MaxValue = 300.0f;
    t->MinValue = -100.0f;
    t->DefValue = 7.0f;
    EXPECT_EQ(wnd.GetTopValue(), 1000.0f) << "defaults before a track";
    EXPECT_EQ(wnd.GetBottomValue(), -1000.0f);
    Open(std::move(t));
    EXPECT_EQ(wnd.GetTopValue(), 300.0f);
    EXPECT_EQ(wnd.GetBottomValue(), -100.0f);
    EXPECT_EQ(wnd.GetDefValue(), 7.0f);
    EXPECT_EQ(wnd.GetValuePrePixel(), 4.0) << "400 values over (108 - 4) - 4 pixels";
    track->MaxValue = 500.0f;
    wnd.SetKeyFrmList(track.get());
    EXPECT_EQ(wnd.GetValuePrePixel(), 4.0) << "attaching does not rescale";
    wnd.MoveWindow(kLeft, kTop, kWidth, 58);
    EXPECT_EQ(wnd.GetValuePrePixel(), 12.0) << "600 values over 50 pixels, on WM_SIZE";
    wnd.MoveWindow(kLeft, kTop, kWidth, 8);
    EXPECT_EQ(wnd.GetValuePrePixel(), 600.0) << "no room between the margins counts as one pixel";
}

TEST_F(CurveMapping, FramesAndPixelsRoundAsTheWindowDraws) {
    Open(MakeTrack({}));
    wnd.SetScrollPos(10);
    wnd.SetPixelPreFrame(1.5);
    EXPECT_EQ(wnd.FrameToPixelX(13, 0), 5) << "3 x 1.5 + 0.5";
    EXPECT_EQ(wnd.FrameToPixelX(14, 0), 6) << "6.5 truncated";
    EXPECT_EQ(wnd.FrameToPixelX(8, 0), -2) << "-2.5 truncated toward zero";
    EXPECT_EQ(wnd.FrameToPixelX(3, 1), 5) << "relative: no scroll";
    EXPECT_EQ(wnd.PixelToFrameX(5, 0), 13);
    EXPECT_EQ(wnd.PixelToFrameX(-5, 0), 7) << "-3.33 - 0.5 truncated, then the scroll";
    EXPECT_EQ(wnd.PixelToFrameX(-1, 0), 9);
    EXPECT_EQ(wnd.PixelToFrameX(-1, 1), -1);
    EXPECT_EQ(wnd.GetStoryIn(), 10);
    EXPECT_EQ(wnd.GetStoryOut(), 143) << "200 / 1.5 + 0.5 truncated, plus 10";
}

TEST_F(CurveMapping, ValuesAndPixelsRoundAsTheWindowDraws) {
    Open(MakeTrack({}));  // top 100, 2 values per pixel
    EXPECT_EQ(wnd.ValueToPixelY(100.0f), 4) << "the top value on the top margin";
    EXPECT_EQ(wnd.ValueToPixelY(-100.0f), 104) << "the bottom value on the bottom margin";
    EXPECT_EQ(wnd.ValueToPixelY(51.0f), 29) << "24.5 + 0.5";
    EXPECT_EQ(wnd.ValueToPixelY(101.0f), 3) << "above the top: -0.5 - 0.5";
    EXPECT_EQ(wnd.ValueToPixelY(100.5f), 4) << "-0.25 - 0.5 truncated toward zero";
    EXPECT_EQ(wnd.PixelToValueY(4), 99.5f) << "the half unit is added to the value";
    EXPECT_EQ(wnd.PixelToValueY(0), 107.5f);
    EXPECT_EQ(wnd.PixelToValueY(54), -0.5f);
}

TEST_F(CurveMapping, KeyframeSquaresAndBezierPoints) {
    Open(MakeTrack({{40, 50.0f, -10.7, 5.0f, 3.9, -6.0f}, {60, 0.0f}}));
    const CRect fore = wnd.GetKeyFrmRect(Key(0), CKivFXInsKeyFrmWnd::kPartForePt);
    EXPECT_EQ(fore, CRect(58, 25, 62, 29)) << "frame 40 + trunc(-10.7) = 30, value 55";
    EXPECT_EQ(wnd.GetKeyFrmRect(Key(0), CKivFXInsKeyFrmWnd::kPartKeyFrm), CRect(78, 27, 82, 31));
    EXPECT_EQ(wnd.GetKeyFrmRect(Key(0), CKivFXInsKeyFrmWnd::kPartAfterPt), CRect(84, 30, 88, 34)) << "frame 43, value 44";
    EXPECT_TRUE(wnd.GetKeyFrmRect(nullptr, 0).IsRectEmpty());
    CPoint seg[4];
    wnd.CalcuBezierPoints(seg, Key(0), Key(1));
    EXPECT_EQ(seg[0], CPoint(80, 29));
    EXPECT_EQ(seg[1], CPoint(86, 32));
    EXPECT_EQ(seg[2], CPoint(120, 54)) << "the second keyframe's zero fore handle";
    EXPECT_EQ(seg[3], CPoint(120, 54));
    EXPECT_EQ(wnd.IsHitKeyFrm(CPoint(78, 27), 0), Key(0)) << "left and top edges hit";
    EXPECT_EQ(wnd.IsHitKeyFrm(CPoint(82, 29), 0), nullptr) << "the right edge does not";
    EXPECT_EQ(wnd.IsHitKeyFrm(CPoint(60, 27), CKivFXInsKeyFrmWnd::kPartForePt), nullptr) << "the first keyframe has no fore handle";
}

TEST_F(CurveMapping, ExtremeScalesAndValuesPaintInBoundedTime) {
    auto t = MakeTrack({{INT32_MIN, -FLT_MAX, -1e300, -FLT_MAX, 1e300, FLT_MAX}, {0, 0.0f}, {INT32_MAX, FLT_MAX}}, 0);
    t->MinValue = -FLT_MAX;
    t->MaxValue = FLT_MAX;
    Open(std::move(t));
    // A tiny scale that walked every frame would not end within the test's time bound.
    for (double scale : {0.0, 1e-300, 1e-9, 1e300, -3.0}) {
        wnd.SetPixelPreFrame(scale);
        wnd.SetScrollPos(INT32_MIN);
        wnd.FlushWindow();
        wnd.SetScrollPos(INT32_MAX);
        wnd.FlushWindow();
    }
    wnd.SetPixelPreFrame(2.0);
    wnd.SetScrollPos(0);
    const CPoint p = wnd.ScreenOfPart(Key(1), CKivFXInsKeyFrmWnd::kPartKeyFrm);
    KivScreen::Get().MouseDown(p);
    KivScreen::Get().MouseMove(CPoint(p.x, 0));
    KivScreen::Get().MouseUp(CPoint(p.x, 0));
    EXPECT_EQ(Key(1)->Value, FLT_MAX) << "clamped to the top";
}
