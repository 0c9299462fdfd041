// The position dialog driven with the mouse as a person drives it: the current-frame
// marker, a keyframe's time square with the overlap rule, positions clamped to the track's
// range at any zoom, Z offsets left out of coupling. What every editor's drag does alike is
// in test_editor_drags.cpp.
#include <cmath>

#include "PosiDialogTestSupport.h"

namespace {

using Flags = std::vector<std::pair<int, int>>;
constexpr float kStep = 1.0f / 100.0f;  // one frame's worth of location over frames 0 to 99

// Keyframes at frames 10, 50 and 99 (time squares at x 40, 120 and 218).
std::unique_ptr<CKivFXPosiKeyFrmList> ThreeKeys(int insMode = 1, int ctrlMode = 0) {
    return MakePosiTrack({{10.0 / 99.0, -300.0f, 0.0f, 5.0f},
                          {50.0 / 99.0, 0.0f, 0.0f, 6.0f, {-100.0f, 0.0f, 7.0f}, {100.0f, 0.0f, 9.0f}},
                          {1.0, 300.0f, 0.0f, 8.0f}},
                         insMode, ctrlMode);
}

}  // namespace

using PosiDialogMouse = PosiDialogTest;

TEST_F(PosiDialogMouse, TheMarkerDragsTheCurrentFrameWithItsTip) {
    Open(ThreeKeys());
    Press(Screen(CPoint(20, 226)));
    ASSERT_EQ(dlg.GetDragKind(), CKivFXPosiKeyFrmDlg::kDragTimeLine);
    const CKivToolTipDlg& tip = dlg.GetToolTip();
    CRect tipRect;
    tip.GetWindowRect(&tipRect);
    EXPECT_EQ(tipRect.TopLeft(), Screen(CPoint(20, 241 + 25))) << "25 pixels below the strip";
    Move(Screen(CPoint(120, 100)));
    EXPECT_EQ(dlg.GetCurFrame(), 50);
    EXPECT_EQ(tip.GetToolTipText(), CString(L"50"));
    Move(Screen(CPoint(-50, 100)));
    EXPECT_EQ(dlg.GetCurFrame(), 0) << "held at story in";
    Release(Screen(CPoint(-50, 100)));
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(host.Flags(), (Flags{{0, 1}, {0, 1}, {0, 1}}));
    EXPECT_EQ(host.modifies[0].dLocation, 50.0 / 99.0);
    EXPECT_EQ(host.modifies[0].fZ, 6.0f);

    // The marker's old and new places are repainted wholly, whatever the margin.
    dlg.UpTimeLine(30);
    EXPECT_TRUE(dlg.lastUpdate.PtInRect(CPoint(20 - 7, 221)) && dlg.lastUpdate.PtInRect(CPoint(80 + 7, 230)));
    EXPECT_EQ(host.modifies.size(), 3u) << "UpTimeLine tells nothing";
}

TEST_F(PosiDialogMouse, ATimeSquareMovesItsKeyframeInTimeAndKeepsOffOthers) {
    Open(ThreeKeys());
    CKivFXPosiKeyFrm* first = Key(0);
    Press(Screen(CPoint(40, 241)));
    ASSERT_EQ(dlg.GetDragKind(), CKivFXPosiKeyFrmDlg::kDragTimeNote);
    EXPECT_EQ(dlg.GetDragKF(), first);
    EXPECT_TRUE(first->IsSelect());
    EXPECT_EQ(At(40, 241), RGB(255, 0, 0)) << "the dragged square is red";
    Move(Screen(CPoint(60, 241)));
    EXPECT_EQ(first->Location, 20.0 / 99.0);
    EXPECT_EQ(dlg.GetToolTip().GetToolTipText(), CString(L"20"));
    Move(Screen(CPoint(120, 241)));
    EXPECT_EQ(first->Location, 50.0 / 99.0 + kStep) << "onto another keyframe while moving: one frame on";
    EXPECT_EQ(track->GetFXKeyFrmIndex(first), 1) << "re-sorted";
    Move(Screen(CPoint(120, 250)));
    EXPECT_EQ(first->Location, 50.0 / 99.0 - kStep) << "held still: one frame back";
    Move(Screen(CPoint(300, 241)));
    EXPECT_EQ(first->Location, 1.0 - kStep) << "at the end: back";
    EXPECT_FLOAT_EQ(first->PosiX, -300.0f) << "a time drag leaves the position";
    Release(Screen(CPoint(300, 241)));
    EXPECT_EQ(At(dlg.LocationToPixel(first->Location), 241), RGB(0, 0, 220));
    EXPECT_EQ(host.Flags(), (Flags{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}}));
    EXPECT_FALSE(dlg.GetToolTip().IsWindowVisible());
}

TEST_F(PosiDialogMouse, KeyframesMadeOrMovedInTimeKeepTheTracksOwnKey) {
    for (bool byFrame : {true, false}) {
        SCOPED_TRACE(byFrame ? "placed by frame" : "placed by location");
        auto t = ThreeKeys();
        t->SetBaseOnFrame(byFrame);
        for (int i = 0; i < t->GetKeyFrmCount(); ++i) t->GetFXKeyFrm(i)->Frame = static_cast<int>(std::lround(t->GetFXKeyFrm(i)->Location * kOut));
        Open(std::move(t));
        dlg.UpTimeLine(25);
        Command(ID_MENU_ADD_KF);
        ASSERT_EQ(track->GetKeyFrmCount(), 4);
        CKivFXPosiKeyFrm* added = Key(1);
        EXPECT_TRUE(added->IsSelect()) << "the new keyframe is sorted in between frames 10 and 50";
        EXPECT_EQ(added->Location, 25.0 / 99.0);
        EXPECT_EQ(added->Frame, byFrame ? 25 : 0);
        dlg.UpTimeLine(50);
        dlg.SendCurKFValue(1.0f, 2.0f, 3.0f, 1);
        EXPECT_EQ(track->GetKeyFrmCount(), 4) << "the keyframe at frame 50 takes the position";
        EXPECT_EQ(host.modifies.back().bOnKeyFrm, 1);

        CKivFXPosiKeyFrm* first = Key(0);
        Press(Screen(dlg.GetTimeNoteRect(first).CenterPoint()));
        ASSERT_EQ(dlg.GetDragKind(), CKivFXPosiKeyFrmDlg::kDragTimeNote);
        Move(Screen(CPoint(dlg.FrameToPixel(50), 241)));
        EXPECT_EQ(dlg.GetSBFrame(first->Location), 51) << "off the keyframe at frame 50, one frame on";
        if (byFrame) {
            EXPECT_EQ(first->Frame, 51);
        }
        EXPECT_EQ(track->GetFXKeyFrmIndex(first), 2) << "sorted by the track's key";
        Release(Screen(CPoint(dlg.FrameToPixel(50), 241)));
        dlg.DestroyWindow();
        host.DestroyWindow();
    }
}

TEST_F(PosiDialogMouse, APositionStopsAtTheTracksRangeWhateverTheZoom) {
    struct Case {
        int zoomOuts, zoomIns;
        float zoom;
    };
    for (const Case& c : {Case{0, 0, 0.5f}, Case{3, 0, 0.35f}, Case{0, 12, 1.0f}}) {
        SCOPED_TRACE(c.zoom);
        dlg.DestroyWindow();
        host.DestroyWindow();
        auto t = ThreeKeys(0);
        t->MinX = -400.0f;
        t->MaxX = 600.0f;
        t->MinY = -200.0f;
        t->MaxY = 300.0f;
        Open(std::move(t));
        Command(ID_MENU_SHOW_RECOVER);
        for (int i = 0; i < c.zoomOuts; ++i) Command(ID_MENU_SHOW_ZOOM_OUT);
        for (int i = 0; i < c.zoomIns; ++i) Command(ID_MENU_SHOW_ZOOM_IN);
        ASSERT_EQ(dlg.GetZoomScale(), c.zoom);
        CKivFXPosiKeyFrm* k = Key(1);
        Press(ScreenOfPart(k, kKivFXPartKeyFrm));
        ASSERT_EQ(dlg.GetDragKind(), CKivFXPosiKeyFrmDlg::kDragKeyFrm);
        Move(Screen(CPoint(dlg.GetXYRect().left + 10, dlg.GetXYRect().top + 10)));
        EXPECT_EQ(k->PosiX, dlg.PixelToValueX(dlg.GetXYRect().left + 10));
        EXPECT_EQ(k->PosiY, dlg.PixelToValueY(dlg.GetXYRect().top + 10));
        Move(Screen(CPoint(5000, -5000)));
        EXPECT_EQ(k->PosiX, 600.0f);
        EXPECT_EQ(k->PosiY, 300.0f);
        Move(Screen(CPoint(-5000, 5000)));
        EXPECT_EQ(k->PosiX, -400.0f);
        EXPECT_EQ(k->PosiY, -200.0f);
        EXPECT_EQ(k->PosiZ, 6.0f) << "Z is never dragged";
        Release(Screen(CPoint(-5000, 5000)));
        EXPECT_TRUE(k->IsSelect()) << "the keyframe stays selected";
        EXPECT_EQ(host.Flags(), (Flags{{0, 0}, {0, 0}, {0, 0}, {1, 0}}));
    }
}

// Where a handle goes and how the opposite one follows in X and Y: the editors' drag table.
TEST_F(PosiDialogMouse, ZOffsetsAreNeverCoupled) {
    for (int ctrlMode : {1, 2}) {
        SCOPED_TRACE(ctrlMode);
        dlg.DestroyWindow();
        host.DestroyWindow();
        Open(ThreeKeys(1, ctrlMode));
        CKivFXPosiKeyFrm* k = Key(1);
        Press(ScreenOfPart(k, kKivFXPartAfterPt));
        ASSERT_EQ(dlg.GetDragKind(), CKivFXPosiKeyFrmDlg::kDragAfterPt);
        Move(Screen(CPoint(170, 100)));
        EXPECT_EQ(k->Fore.Z, 7.0f);
        EXPECT_EQ(k->After.Z, 9.0f);
        Release(Screen(CPoint(170, 100)));
    }
}

TEST_F(PosiDialogMouse, WithoutTrackOrWindowNothingIsToldAndNothingFails) {
    Open(nullptr);
    KivSetPopupMenuHandler([](const CMenu&, CPoint) { return 0u; });
    Press(Screen(CPoint(120, 120)));
    Release(Screen(CPoint(120, 120)));
    dlg.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(120, 120));
    for (UINT id = ID_MENU_FORWARD_ONE_FRAME; id <= ID_MENU_SHOW_RECOVER; ++id) Command(id);
    dlg.SendCurKFValue(1.0f, 2.0f, 3.0f, 1);
    EXPECT_TRUE(host.modifies.empty());

    auto t = ThreeKeys();
    CKivFXPosiKeyFrmDlg unmade;
    unmade.SetRange(0, 99, t.get());
    unmade.SendCurKFValue(1.0f, 2.0f, 3.0f, 1);
    unmade.UpTimeLine(30);
    unmade.OnCmdMsg(ID_MENU_ADD_KF, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(t->GetKeyFrmCount(), 5) << "the track is edited, no window is touched";
}
