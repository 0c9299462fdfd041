// The curve dialog on tracks placed by frame and by location: the keyframes it makes and
// drags keep the key the track sorts by in step with the location it draws by, and handle
// offsets are read and written in the track's own unit (frames or location), so on a frame
// track the dialog shows the handles the curve window shows.
#include <cmath>

#include "CurveDialogTestSupport.h"
#include "keyfrm/tracks/KivFXHandleModes.h"

namespace {

// A track over the fixture's story 0 to 99, keyframes at the frames given, placed by both
// keys as a host places them.
std::unique_ptr<CKivFXInsKeyFrmList> Placed(bool byFrame, std::initializer_list<int> frames) {
    auto t = MakeDlgTrack({});
    t->SetBaseOnFrame(byFrame);
    for (int f : frames) {
        auto* k = new CKivFXValueKeyFrm();
        k->Frame = f;
        k->Location = f / 99.0;
        t->AddTail(k);
    }
    return t;
}

// n frames of the story in the track's position unit.
double Frames(bool byFrame, int n) { return byFrame ? n : n / 99.0; }

int CentreX(const CRect& r) { return r.CenterPoint().x; }

}  // namespace

using CurveDialogTrackUnits = CurveDialogTest;

TEST_F(CurveDialogTrackUnits, KeyframesMadeOrDraggedKeepTheTracksOwnKey) {
    struct Case {
        bool byFrame;
        int handleReach;  // frames to a new keyframe's handles: 5 frames, or 0.1 of the story
    };
    for (const Case& c : {Case{true, 5}, Case{false, 10}}) {
        SCOPED_TRACE(c.byFrame ? "placed by frame" : "placed by location");
        Open(Placed(c.byFrame, {0, 33, 66, 99}));
        dlg.UpTimeLine(50);
        Command(ID_MENU_ADD_KF);
        ASSERT_EQ(track->GetKeyFrmCount(), 5);
        CKivFXValueKeyFrm* added = Key(2);
        EXPECT_TRUE(added->IsSelect()) << "the new keyframe is sorted in between frames 33 and 66";
        EXPECT_EQ(added->Location, 50.0 / 99.0);
        if (c.byFrame) {
            EXPECT_EQ(added->Frame, 50);
        }
        EXPECT_EQ(host.modifies.back().bOnKeyFrm, 1);
        EXPECT_EQ(CentreX(dlg.GetKeyFrmRect(added, kKivFXPartForePt)), dlg.FrameToPixelX(50 - c.handleReach));
        EXPECT_EQ(CentreX(dlg.GetKeyFrmRect(added, kKivFXPartAfterPt)), dlg.FrameToPixelX(50 + c.handleReach));

        dlg.UpTimeLine(33);
        dlg.SendCurKFValue(7.0f, 1);
        EXPECT_EQ(track->GetKeyFrmCount(), 5) << "the keyframe at frame 33 takes the value";
        EXPECT_EQ(Key(1)->Value, 7.0f);

        Press(ScreenOfPart(added, kKivFXPartKeyFrm));
        Move(ScreenOf(66, 0.0f));
        EXPECT_EQ(dlg.GetSBFrame(added->Location), 67) << "off the keyframe at frame 66, one frame on";
        if (c.byFrame) {
            EXPECT_EQ(added->Frame, 67);
        }
        EXPECT_EQ(track->GetFXKeyFrmIndex(added), 3) << "sorted by the track's key";
        Release(ScreenOf(66, 0.0f));
        dlg.DestroyWindow();
        host.DestroyWindow();
    }
}

TEST_F(CurveDialogTrackUnits, HandleOffsetsAreReadAndWrittenInTheTracksUnit) {
    struct Case {
        bool byFrame;
        int ctrlMode;
    };
    const Case cases[] = {{true, kCtrlModeSymmetry}, {true, kCtrlModeLinkage}, {false, kCtrlModeSymmetry}, {false, kCtrlModeLinkage}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.byFrame ? "placed by frame" : "placed by location") << ", coupling " << c.ctrlMode);
        auto t = Placed(c.byFrame, {0, 50, 99});
        t->CtrlMode = c.ctrlMode;
        CKivFXValueKeyFrm* k = t->GetFXKeyFrm(1);
        k->PtFore = SKivFXBezierHandle{10.0f, Frames(c.byFrame, -10)};
        k->PtAfter = SKivFXBezierHandle{-30.0f, Frames(c.byFrame, 19)};
        Open(std::move(t));
        EXPECT_EQ(CentreX(dlg.GetKeyFrmRect(k, kKivFXPartForePt)), dlg.FrameToPixelX(40));
        EXPECT_EQ(CentreX(dlg.GetKeyFrmRect(k, kKivFXPartAfterPt)), dlg.FrameToPixelX(69));
        const CSize after = dlg.GetKeyFrmRect(k, kKivFXPartAfterPt).TopLeft() - dlg.GetKeyFrmRect(k, kKivFXPartKeyFrm).TopLeft();

        Press(ScreenOfPart(k, kKivFXPartForePt));
        ASSERT_EQ(dlg.GetDragKind(), CKivFXInsKeyFrmDlg::kDragForePt);
        Move(Screen(CPoint(dlg.FrameToPixelX(30), 45)));
        EXPECT_EQ(k->PtFore.PosOffset, Frames(c.byFrame, 30) - Frames(c.byFrame, 50));
        if (c.byFrame) {
            // What the curve window reads: the handle at the keyframe's Frame plus the offset.
            EXPECT_EQ(dlg.PixelToFrameX(CentreX(dlg.GetKeyFrmRect(k, kKivFXPartForePt))), k->Frame + k->PtFore.PosOffset);
        }
        if (c.ctrlMode == kCtrlModeSymmetry) {
            EXPECT_EQ(k->PtAfter.PosOffset, -k->PtFore.PosOffset);
        } else {
            const CSize now = dlg.GetKeyFrmRect(k, kKivFXPartAfterPt).TopLeft() - dlg.GetKeyFrmRect(k, kKivFXPartKeyFrm).TopLeft();
            EXPECT_NEAR(std::hypot(now.cx, now.cy), std::hypot(after.cx, after.cy), 3.0) << "the opposite handle keeps its pixels";
            EXPECT_GT(k->PtAfter.PosOffset, 0.0);
        }
        Move(Screen(CPoint(dlg.FrameToPixelX(60), 45)));
        EXPECT_EQ(k->PtFore.PosOffset, 0.0) << "a fore handle never passes its keyframe";
        Release(Screen(CPoint(dlg.FrameToPixelX(60), 45)));
        dlg.DestroyWindow();
        host.DestroyWindow();
    }
}
