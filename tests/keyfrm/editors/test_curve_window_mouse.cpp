// The curve window driven with the mouse as a person drives it: presses, moves and releases
// on the headless screen at points computed from the track, the host recording every
// message the window sends it.
#include "CurveWindowTestSupport.h"

namespace {

using Phases = std::vector<int>;
constexpr int kFore = CKivFXInsKeyFrmWnd::kPartForePt;
constexpr int kKey = CKivFXInsKeyFrmWnd::kPartKeyFrm;

// Three keyframes at frames 10, 40, 80 (x 20, 80, 160) with values 0, 50, -50 (y 54, 29, 79).
std::unique_ptr<CKivFXInsKeyFrmList> ThreeKeys(int insMode, int ctrlMode = 0) {
    return MakeTrack({{10, 0.0f, 0, 0, 6, 10}, {40, 50.0f, -10, 0, 10, 0}, {80, -50.0f, -6, 10, 0, 0}}, insMode, ctrlMode);
}

}  // namespace

using CurveMouse = CurveWindowTest;

TEST_F(CurveMouse, AClickOnZeroLengthHandlesDragsAHandleInBezierAndTheKeyframeInLinear) {
    Open(MakeTrack({{10, 0.0f}, {40, 50.0f}, {80, -50.0f}}, 1));
    const int expected[] = {CKivFXInsKeyFrmWnd::kDragAfterPt, CKivFXInsKeyFrmWnd::kDragAfterPt, CKivFXInsKeyFrmWnd::kDragForePt};
    for (int i = 0; i < 3; ++i) {
        const CPoint p = wnd.ScreenOfPart(Key(i), kKey);
        Press(p);
        EXPECT_EQ(wnd.GetDragKind(), expected[i]) << "keyframe " << i;
        Release(p);
    }
    track->InsMode = 0;
    for (int i = 0; i < 3; ++i) {
        const CPoint p = wnd.ScreenOfPart(Key(i), kKey);
        Press(p);
        EXPECT_EQ(wnd.GetDragKind(), CKivFXInsKeyFrmWnd::kDragKeyFrm) << "keyframe " << i;
        Release(p);
    }
}

TEST_F(CurveMouse, AKeyframeDragIsClampedToTheRangeAndReportedAtEveryStep) {
    Open(ThreeKeys(0));
    const CPoint start = wnd.ScreenOfPart(Key(1), kKey);
    Press(start);
    ASSERT_TRUE(wnd.IsDragging());
    EXPECT_TRUE(Key(1)->IsSelect());
    EXPECT_FALSE(Key(0)->IsSelect());
    Move(CPoint(start.x + 40, 0));
    EXPECT_EQ(Key(1)->Value, 100.0f) << "above the top margin: exactly MaxValue";
    Move(CPoint(start.x, 139));
    EXPECT_EQ(Key(1)->Value, -100.0f) << "below the bottom margin: exactly MinValue";
    Move(wnd.Screen(CPoint(80, 54)));
    EXPECT_EQ(Key(1)->Value, -0.5f) << "100 - ((54 - 4) x 2 + 0.5)";
    EXPECT_EQ(Key(1)->Frame, 40) << "the frame never changes";
    Release(wnd.Screen(CPoint(80, 54)));
    EXPECT_EQ(host.Phases(), (Phases{0, 1, 1, 1, 2}));
    for (const InsKFWndModifyInfo& m : host.modifies) {
        EXPECT_EQ(m.nIndex, 1);
        EXPECT_EQ(m.nSignID, kSignId);
    }
    EXPECT_FALSE(Key(1)->IsSelect()) << "deselected when the drag ends";
    EXPECT_FALSE(wnd.IsDragging());
    EXPECT_EQ(wnd.GetDragKind(), CKivFXInsKeyFrmWnd::kDragNone);
    Move(wnd.Screen(CPoint(80, 20)));
    EXPECT_EQ(host.modifies.size(), 5u) << "no drag, no message";
    EXPECT_EQ(Key(0)->Value, 0.0f);
    EXPECT_EQ(Key(2)->Value, -50.0f);
}

// Where a handle goes and how the opposite one follows: the editors' drag table.
TEST_F(CurveMouse, LinkageLeavesAZeroLengthOppositeHandleAsItIs) {
    Open(ThreeKeys(1, 1));
    Press(wnd.ScreenOfPart(Key(2), kFore));  // the last keyframe's after handle has zero length
    Move(wnd.Screen(CPoint(140, 40)));
    EXPECT_EQ(Key(2)->PtAfter.ValueOffset, 0.0f) << "a zero-length opposite handle is not moved";
    EXPECT_EQ(Key(2)->PtAfter.PosOffset, 0.0);
    Release(wnd.Screen(CPoint(140, 40)));
}

TEST_F(CurveMouse, ClicksWithoutATrackDoNothing) {
    Open(nullptr);
    Press(wnd.Screen(CPoint(50, 50)));
    Release(wnd.Screen(CPoint(50, 50)));
    KivScreen::Get().MouseDown(wnd.Screen(CPoint(50, 50)), MK_RBUTTON);
    KivScreen::Get().MouseUp(wnd.Screen(CPoint(50, 50)), MK_RBUTTON);
    EXPECT_FALSE(wnd.IsDragging());
    EXPECT_TRUE(host.modifies.empty());
}
