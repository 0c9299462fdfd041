// A drag that moves a keyframe in time writes its key directly: views of the track (a
// host's, and the position dialog's own, which paints the path mid-drag) must answer for
// the key where the drag put it, within the step that moved it.
#include "CurveDialogTestSupport.h"
#include "PosiDialogTestSupport.h"
#include "ScreenPictureSupport.h"
#include "keyfrm/tracks/CKivFXTrackView.h"

namespace {

using DragTrackViews = CurveDialogTest;
using PosiDragTrackViews = PosiDialogTest;

TEST_F(DragTrackViews, AHostsViewAnswersForAKeyframeDraggedInTime) {
    // Linear; the second keyframe (frame 33, value 20) is dragged to frame 20 without
    // passing a neighbour, so the list's order stays as it was.
    Open(MakeDlgTrack({{0.0, 0.0f}, {33.0 / 99.0, 20.0f}, {66.0 / 99.0, -20.0f}, {1.0, 40.0f}}, 0));
    CKivFXTrackView<CKivFXInsKeyFrmList> view(*track);
    const double at = 0.25;
    const float before = view.InsValue(at);
    Press(ScreenOfPart(Key(1), kKivFXPartKeyFrm));
    ASSERT_EQ(dlg.GetDragKind(), CKivFXInsKeyFrmDlg::kDragKeyFrm);
    Move(ScreenOf(20, 20.0f));
    ASSERT_EQ(Key(1)->Location, 20.0 / 99.0);
    ASSERT_NE(track->InsValue(at), before) << "the step must change the value asked";
    EXPECT_EQ(view.InsValue(at), track->InsValue(at)) << "mid-drag";
    Release(ScreenOf(20, 20.0f));
    EXPECT_EQ(view.InsValue(at), track->InsValue(at)) << "after the drag";
}

TEST_F(PosiDragTrackViews, ThePathPaintedMidDragIsTheMovedOne) {
    Open(MakePosiTrack({{0.0, -400.0f, -400.0f, 0.0f}, {0.5, 400.0f, 0.0f, 0.0f}, {1.0, -400.0f, 400.0f, 0.0f}}));
    CKivFXTrackView<CKivFXPosiKeyFrmList> view(*track);
    float x = 0.0f, y = 0.0f, z = 0.0f;
    view.InsValue(0.3, x, y, z);
    CKivFXPosiKeyFrm* middle = Key(1);
    Press(Screen(dlg.GetTimeNoteRect(middle).CenterPoint()));
    ASSERT_EQ(dlg.GetDragKind(), CKivFXPosiKeyFrmDlg::kDragTimeNote);
    Move(Screen(CPoint(dlg.FrameToPixel(20), 231)));
    ASSERT_EQ(dlg.GetSBFrame(middle->Location), 20);
    float tx = 0.0f, ty = 0.0f, tz = 0.0f;
    track->InsValue(0.3, tx, ty, tz);
    view.InsValue(0.3, x, y, z);
    EXPECT_EQ(x, tx);
    EXPECT_EQ(y, ty);
    // The dialog painted its path during the step: the picture a full repaint through a
    // fresh view gives.
    KivScreen::Get().PaintAll();
    const std::vector<COLORREF> midDrag = ShownPixels(dlg);
    track->NoteKeyFrmChange();
    dlg.Invalidate(TRUE);
    KivScreen::Get().PaintAll();
    EXPECT_TRUE(ShownPixels(dlg) == midDrag);
    Release(Screen(CPoint(dlg.FrameToPixel(20), 231)));
}

}  // namespace
