// The curve dialog driven with the mouse as a person drives it: the current-frame marker
// and its repaints, keyframes moved in both directions. What every editor's drag does
// alike is in test_editor_drags.cpp.
#include <iterator>
#include <utility>

#include "CurveDialogTestSupport.h"

namespace {

using Flags = std::vector<std::pair<int, int>>;
constexpr float kStep = 1.0f / 100.0f;  // one frame's worth of location over frames 0 to 99

// Keyframes at frames 0, 33, 66 and 99 (x 15, 81, 147, 213).
std::unique_ptr<CKivFXInsKeyFrmList> FourKeys(int insMode) {
    return MakeDlgTrack({{0.0, 0.0f}, {33.0 / 99.0, 20.0f}, {66.0 / 99.0, -20.0f}, {1.0, 40.0f}}, insMode);
}

}  // namespace

using CurveDialogMouse = CurveDialogTest;

TEST_F(CurveDialogMouse, TheMarkerDragsWithItsFrameTip) {
    Open(FourKeys(1));
    const CRect ruler = dlg.GetTimeRulerRect();
    ASSERT_EQ(ruler, CRect(8, 5, 23, 15));
    Press(Screen(CPoint(15, 10)));
    ASSERT_EQ(dlg.GetDragKind(), CKivFXInsKeyFrmDlg::kDragTimeLine);
    EXPECT_TRUE(host.modifies.empty()) << "pressing tells nothing yet";
    const CKivToolTipDlg& tip = dlg.GetToolTip();
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetToolTipText(), CString(L"0"));
    CRect tipRect;
    tip.GetWindowRect(&tipRect);
    EXPECT_EQ(tipRect.TopLeft(), Screen(CPoint(15, kHeight))) << "below the dialog at the mouse";

    Move(Screen(CPoint(75, 90)));
    EXPECT_EQ(dlg.GetCurFrame(), 30);
    EXPECT_EQ(tip.GetToolTipText(), CString(L"30"));
    Move(Screen(CPoint(400, 90)));
    EXPECT_EQ(dlg.GetCurFrame(), 99) << "held at story out";
    Release(Screen(CPoint(400, 90)));
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(host.Flags(), (Flags{{0, 1}, {0, 1}, {0, 1}}));
    EXPECT_EQ(host.modifies[0].dLocation, 30.0 / 99.0);
    EXPECT_EQ(host.modifies.back().bOnKeyFrm, 1) << "story out holds a keyframe";
    EXPECT_EQ(host.modifies.back().fValue, 40.0f);

    dlg.UpShowTL(0);
    const CRect moved = dlg.GetTimeRulerRect();
    Press(Screen(moved.CenterPoint()));
    EXPECT_EQ(dlg.GetDragKind(), CKivFXInsKeyFrmDlg::kDragTimeLine) << "the marker still drags";
    EXPECT_FALSE(tip.IsWindowVisible()) << "without the scale there is no tip";
    Move(Screen(CPoint(35, 90)));
    EXPECT_EQ(dlg.GetCurFrame(), 10);
    EXPECT_FALSE(tip.IsWindowVisible());
    Release(Screen(CPoint(35, 90)));
}

TEST_F(CurveDialogMouse, AKeyframeMovesBothWaysClampedAndStepsOffOthers) {
    Open(FourKeys(0));
    CKivFXValueKeyFrm* k = Key(1);
    Key(3)->SetSelect(1);
    Press(ScreenOfPart(k, kKivFXPartKeyFrm));
    ASSERT_EQ(dlg.GetDragKind(), CKivFXInsKeyFrmDlg::kDragKeyFrm);
    EXPECT_TRUE(k->IsSelect());
    EXPECT_FALSE(Key(3)->IsSelect()) << "selected alone";
    struct Step {
        const char* what;
        CPoint client;
        double location;
        float value;
        int index;
    };
    // y 55 is value 19.5 and y 60 value 9.5: the half unit is added to the value.
    const Step steps[] = {
        {"right and up", {115, 35}, 50.0 / 99.0, 59.5f, 1},
        {"above the plot: the top value", {115, 0}, 50.0 / 99.0, 100.0f, 1},
        {"below the plot: the bottom value", {115, 200}, 50.0 / 99.0, -100.0f, 1},
        {"onto another keyframe, moving: one step on", {147, 55}, 66.0 / 99.0 + kStep, 19.5f, 2},
        {"onto it again without moving sideways: one step back", {147, 60}, 66.0 / 99.0 - kStep, 9.5f, 1},
        {"past story out onto the last keyframe: back", {400, 55}, 1.0 - kStep, 19.5f, 2},
        {"past story in onto the first keyframe: on", {-50, 55}, 0.0 + kStep, 19.5f, 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        Move(Screen(s.client));
        EXPECT_EQ(k->Location, s.location);
        EXPECT_EQ(k->Value, s.value);
        EXPECT_EQ(track->GetFXKeyFrmIndex(k), s.index) << "the track stays sorted";
    }
    Release(Screen(CPoint(-50, 55)));
    EXPECT_EQ(dlg.GetDragKF(), nullptr);
    EXPECT_TRUE(k->IsSelect()) << "the keyframe stays selected";
    Flags expected(std::size(steps), {0, 0});
    expected.emplace_back(1, 0);
    EXPECT_EQ(host.Flags(), expected);
}

TEST_F(CurveDialogMouse, AHandleTakesThePointersPlaceAndLinkageHoldsTheOppositeLength) {
    // The middle keyframe at frame 50 (x 115, y 65), its after handle 40 pixels long.
    Open(MakeDlgTrack({{0.0, 0.0f}, {0.5, 0.0f, -0.1, 10.0f, 0.2, -30.0f}, {1.0, 0.0f}}, 1, 1));
    CKivFXValueKeyFrm* k = Key(1);
    Press(ScreenOfPart(k, kKivFXPartForePt));
    ASSERT_EQ(dlg.GetDragKind(), CKivFXInsKeyFrmDlg::kDragForePt);
    EXPECT_EQ(dlg.GetHandleLength(), 40) << "linkage keeps the after handle's 40 pixels";
    Move(Screen(CPoint(75, 45)));
    EXPECT_EQ(k->PtFore.PosOffset, 30.0 / 99.0 - 0.5);
    EXPECT_EQ(k->PtFore.ValueOffset, 39.5f);
    Release(Screen(CPoint(75, 45)));
    EXPECT_EQ(dlg.GetHandleLength(), 0);
    EXPECT_EQ(host.Flags(), (Flags{{0, 0}, {1, 0}}));
}

TEST_F(CurveDialogMouse, UpTimeLineRepaintsOnlyTheMarkersTwoStrips) {
    Open(FourKeys(1));
    const int paints = dlg.paints;
    dlg.UpTimeLine(40);
    EXPECT_EQ(dlg.GetCurFrame(), 40);
    EXPECT_EQ(dlg.paints, paints + 1);
    // Strips of the margin's width either side of x 15 and x 95, less 2 pixels at each end.
    EXPECT_EQ(dlg.lastUpdate, CRect(0, 2, 110, kHeight - 2));
    dlg.UpTimeLine(40);
    dlg.UpTimeLine(100);
    dlg.UpTimeLine(-1);
    EXPECT_EQ(dlg.paints, paints + 1) << "the same frame, or one outside the story range, repaints nothing";
    EXPECT_EQ(dlg.GetCurFrame(), 40);
    EXPECT_TRUE(host.modifies.empty()) << "the host moved it: no message";
}
