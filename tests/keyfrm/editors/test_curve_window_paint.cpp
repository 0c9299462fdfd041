// Pixels of the painted curve window: background, grid, the XOR-ed time line, the curve's
// dots, keyframe squares and handles, and the frame.
#include "CurveWindowTestSupport.h"

namespace {

constexpr COLORREF kBack = RGB(200, 200, 200);
constexpr COLORREF kMesh = RGB(150, 150, 150);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kCurvePen = RGB(155, 0, 255);

// The time line's colour XOR-ed onto a colour.
COLORREF Xor(COLORREF c) { return c ^ RGB(190, 190, 190); }

// Keyframes at frames 10, 40, 80 (x 20, 80, 160), values 0, 50, -50 (y 54, 29, 79); the head
// and the tail have the handle they do not show pointing somewhere empty.
std::unique_ptr<CKivFXInsKeyFrmList> PaintedTrack(int insMode) {
    return MakeTrack({{10, 0.0f, -5, 10, 6, 10}, {40, 50.0f, -10, 0, 10, 0}, {80, -50.0f, -6, 10, 6, 10}}, insMode);
}

}  // namespace

class CurvePaint : public CurveWindowTest {
protected:
    void ExpectSquare(CKivFXValueKeyFrm* k, int part, COLORREF colour) {
        const CRect r = wnd.GetKeyFrmRect(k, part);
        EXPECT_EQ(r.Width(), 4);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) EXPECT_EQ(At(x, y), colour) << "part " << part << " at " << x << "," << y;
    }
};

TEST_F(CurvePaint, BackgroundGridTimeLineAndFrame) {
    Open(nullptr);
    wnd.SetTimeLine(15);  // x = 30
    wnd.FlushWindow();
    EXPECT_EQ(At(50, 10), kBack);
    EXPECT_EQ(At(50, 20), kMesh) << "horizontal grid every 20 pixels";
    EXPECT_EQ(At(40, 10), kMesh) << "vertical grid every 20 pixels";
    EXPECT_EQ(At(50, 100), kMesh);
    EXPECT_EQ(At(30, 10), Xor(kBack)) << "the time line is XOR-ed onto the background";
    EXPECT_EQ(At(30, 40), Xor(kMesh)) << "and onto the grid";
    for (CPoint p : {CPoint(0, 0), CPoint(199, 0), CPoint(0, 107), CPoint(199, 107), CPoint(100, 0), CPoint(0, 50)})
        EXPECT_EQ(At(p.x, p.y), kBlack) << "frame at " << p.x << "," << p.y;
    EXPECT_EQ(At(30, 0), kBlack) << "the frame is drawn over the time line";
    EXPECT_EQ(At(50, 49), kBack) << "no track, no curve";
}

TEST_F(CurvePaint, AnEmptyTrackIsALineAtTheDefaultAndOneKeyframeALineAtItsValue) {
    Open(MakeTrack({}));
    EXPECT_EQ(At(50, 49), kCurvePen) << "DefValue 10";
    EXPECT_EQ(At(50, 48), kBack);
    EXPECT_EQ(At(1, 49), kCurvePen) << "across the whole width";
    EXPECT_EQ(At(198, 49), kCurvePen);
    track->SendKeyFrmValue(40, -30.0f);
    wnd.FlushWindow();
    EXPECT_EQ(At(50, 69), kCurvePen) << "a lone keyframe's value";
    EXPECT_EQ(At(50, 49), kBack);
    ExpectSquare(Key(0), CKivFXInsKeyFrmWnd::kPartKeyFrm, kWhite);
    EXPECT_EQ(At(70, 69), kCurvePen) << "no handle of a lone keyframe";
}

TEST_F(CurvePaint, BezierKeyframesShowTheirHandlesAndTheCurveIsOneDotPerFrame) {
    Open(PaintedTrack(1));
    Key(1)->SetSelect(1);
    wnd.FlushWindow();
    ExpectSquare(Key(0), CKivFXInsKeyFrmWnd::kPartKeyFrm, kWhite);
    ExpectSquare(Key(1), CKivFXInsKeyFrmWnd::kPartKeyFrm, kRed);
    ExpectSquare(Key(2), CKivFXInsKeyFrmWnd::kPartKeyFrm, kWhite);
    ExpectSquare(Key(0), CKivFXInsKeyFrmWnd::kPartAfterPt, kBlue);
    ExpectSquare(Key(1), CKivFXInsKeyFrmWnd::kPartForePt, kGreen);
    ExpectSquare(Key(1), CKivFXInsKeyFrmWnd::kPartAfterPt, kBlue);
    ExpectSquare(Key(2), CKivFXInsKeyFrmWnd::kPartForePt, kGreen);
    EXPECT_EQ(At(10, 49), kBack) << "the first keyframe shows no fore handle";
    EXPECT_EQ(At(172, 74), kBack) << "the last keyframe shows no after handle";
    EXPECT_EQ(At(65, 29), kRed) << "the line from the fore handle to the keyframe";
    EXPECT_EQ(At(91, 29), kRed) << "the line from the keyframe to the after handle";

    for (int f : {3, 25, 61, 70, 95}) {
        const int x = 2 * f, y = wnd.ValueToPixelY(track->InsValue(f));
        EXPECT_EQ(At(x, y), kBlue) << "a dot at frame " << f;
        EXPECT_NE(At(x + 1, y), kBlue) << "nothing between the dots of frames " << f << " and " << f + 1;
    }
}

TEST_F(CurvePaint, LinearKeyframesShowNoHandles) {
    Open(PaintedTrack(0));
    EXPECT_EQ(At(59, 28), kBack) << "no fore handle";
    EXPECT_EQ(At(65, 29), kBack) << "no handle line";
    ExpectSquare(Key(1), CKivFXInsKeyFrmWnd::kPartKeyFrm, kWhite);
    const int y = wnd.ValueToPixelY(track->InsValue(25));
    EXPECT_EQ(y, wnd.ValueToPixelY(25.0f)) << "halfway along the straight segment";
    EXPECT_EQ(At(50, y), kBlue);
}

TEST_F(CurvePaint, UpdateTimeLineRepaintsOnlyTheStripsItLeavesAndEnters) {
    Open(PaintedTrack(0));
    wnd.SetTimeLine(15);
    wnd.FlushWindow();
    const int paints = wnd.paints;
    wnd.UpdateTimeLine(15);
    EXPECT_EQ(wnd.paints, paints) << "the current frame: nothing repainted";
    CRect pending;
    EXPECT_FALSE(wnd.GetUpdateRect(&pending));

    // A mark far from both strips shows what is left alone.
    CDC* dc = wnd.GetDC();
    dc->SetPixel(150, 10, RGB(1, 2, 3));
    wnd.ReleaseDC(dc);
    wnd.UpdateTimeLine(45);  // x 30 -> 90
    EXPECT_EQ(wnd.paints, paints + 1);
    EXPECT_EQ(wnd.GetTimeLine(), 45);
    EXPECT_EQ(At(30, 10), kBack) << "the old line is gone";
    EXPECT_EQ(At(90, 10), Xor(kBack)) << "the new line is drawn";
    EXPECT_EQ(At(150, 10), RGB(1, 2, 3)) << "outside the strips nothing was repainted";
}
