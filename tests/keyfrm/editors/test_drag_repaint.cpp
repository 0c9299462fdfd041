// A drag in the curve window repaints only what it moved, in the window and in a curve
// dialog on the same track told of each move, and the picture after every move is the one a
// full repaint of the same state gives, pixel for pixel. The area a line covers, which those
// repaints are made of, holds every pixel of it.
#include <string>
#include <vector>

#include "CurveDialogTestSupport.h"
#include "CurveWindowTestSupport.h"
#include "ScreenPictureSupport.h"
#include "keyfrm/editors/KivFXCurveWalk.h"

namespace {

/// The curve window with the bounds of what each paint had to redraw.
class PaintedCurveWnd : public TestCurveWnd {
public:
    CRect lastUpdate;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) GetUpdateRect(&lastUpdate);
        return TestCurveWnd::WindowProc(msg, wParam, lParam);
    }
};

struct Step {
    int dx, dy;  // from where the drag started, in pixels
};

struct DragCase {
    const char* name;
    int insMode;
    int ctrlMode;
    bool lone;  // one keyframe at frame 40 instead of three
    int index;
    int part;
    std::vector<Step> path;
};

std::ostream& operator<<(std::ostream& os, const DragCase& c) { return os << c.name; }

// Keyframes at frames 10, 40 and 70 (x 20, 80, 140 in the window), values -50, 60 and 0
// (y 79, 24, 54), handles 8 frames either side.
const DragCase kCases[] = {
    {"linear, middle keyframe down past both neighbours and back", 0, 0, false, 1, kKivFXPartKeyFrm,
     {{0, 20}, {0, 40}, {0, 60}, {0, -30}}},
    {"Bezier, first keyframe up past its neighbour", 1, 0, false, 0, kKivFXPartKeyFrm, {{0, -15}, {0, -40}, {0, -60}, {0, 10}}},
    {"Bezier, last keyframe beyond the top and the bottom", 1, 0, false, 2, kKivFXPartKeyFrm,
     {{0, -40}, {0, -70}, {0, 30}, {0, 80}}},
    {"Bezier, symmetric after handle past the next keyframe", 1, 2, false, 1, kKivFXPartAfterPt,
     {{20, 10}, {50, 30}, {80, -20}, {5, 0}}},
    {"Bezier, linked fore handle past the previous keyframe", 1, 1, false, 1, kKivFXPartForePt,
     {{-10, -15}, {-40, 20}, {-75, 5}, {-2, -1}}},
    {"a lone keyframe's line", 1, 0, true, 0, kKivFXPartKeyFrm, {{0, 30}, {0, -50}, {0, 5}}},
};

class DragRepaint : public UiTest, public ::testing::WithParamInterface<DragCase> {
protected:
    static constexpr int kStoryOut = 99;

    void SetUp() override {
        UiTest::SetUp();
        KivScreen::Get().Resize(480, 160);
    }
    void TearDown() override {
        wnd.DestroyWindow();
        dlg.DestroyWindow();
        host.DestroyWindow();
        UiTest::TearDown();
    }

    /// The window at (10, 10), 200 x 108 at 2 pixels a frame, and the dialog right of it at
    /// (220, 10), 230 x 130, over story 0 to 99, both on the track. As `kfx edit` does, the
    /// dialog hears of each move of a drag and is repainted whole on anything else.
    void Open(const DragCase& c) {
        if (c.lone)
            track = MakeTrack({{40, 20.0f, -8, 10.0f, 8, -10.0f}}, c.insMode, c.ctrlMode);
        else
            track = MakeTrack({{10, -50.0f, -8, -10.0f, 8, 10.0f}, {40, 60.0f, -8, 10.0f, 8, -10.0f}, {70, 0.0f, -8, 0.0f, 8, 0.0f}},
                              c.insMode, c.ctrlMode);
        for (int i = 0; i < track->GetKeyFrmCount(); ++i) track->GetFXKeyFrm(i)->Location = track->GetFXKeyFrm(i)->Frame / static_cast<double>(kStoryOut);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 470, 150)));
        wnd.SetKeyFrmList(track.get());
        wnd.SetPixelPreFrame(2.0);
        ASSERT_TRUE(wnd.Create(WS_CHILD | WS_VISIBLE, &host, CRect(10, 10, 210, 118)));
        dlg.SetRange(AquaEdit_Type_Number, 0, kStoryOut, track.get());
        ASSERT_NE(dlg.Create(&host), 0);
        dlg.MoveWindow(220, 10, 230, 130, FALSE);
        dlg.ShowWindow(SW_SHOW);
        host.onModify = [this](const InsKFWndModifyInfo& info) {
            if (info.ucPhase == kInsKFWndDragging)
                dlg.UpKeyFrm(info.nIndex);
            else
                dlg.Invalidate(TRUE);
        };
        KivScreen::Get().PaintAll();
    }

    std::unique_ptr<CKivFXInsKeyFrmList> track;  // outlives the windows
    CurveHost host;
    PaintedCurveWnd wnd;
    TestCurveDlg dlg{&host};
};

TEST_P(DragRepaint, EveryMoveRepaintsPartOfEachEditorAndLeavesTheFullPicture) {
    const DragCase& c = GetParam();
    Open(c);
    CKivFXValueKeyFrm* k = track->GetFXKeyFrm(c.index);
    const CPoint grip = wnd.ScreenOfPart(k, c.part);
    // The others start selected: the drag selects its keyframe alone, and their squares
    // must be repainted as unselected.
    for (int i = 0; i < track->GetKeyFrmCount(); ++i) track->GetFXKeyFrm(i)->SetSelect(1);
    wnd.Invalidate(TRUE);
    KivScreen::Get().PaintAll();
    KivScreen::Get().MouseDown(grip);
    ASSERT_TRUE(wnd.IsDragging());
    ASSERT_EQ(wnd.GetDragKind(), c.part == kKivFXPartKeyFrm ? CKivFXInsKeyFrmWnd::kDragKeyFrm
                                 : c.part == kKivFXPartForePt ? CKivFXInsKeyFrmWnd::kDragForePt
                                                              : CKivFXInsKeyFrmWnd::kDragAfterPt);
    KivScreen::Get().PaintAll();
    EXPECT_EQ(DifferenceFromFullRepaint(wnd), "") << "the drag's start";
    CRect wndClient, dlgClient;
    wnd.GetClientRect(&wndClient);
    dlg.GetClientRect(&dlgClient);
    for (size_t i = 0; i < c.path.size(); ++i) {
        SCOPED_TRACE("move " + std::to_string(i + 1));
        const auto state = [k] {
            return std::vector<double>{k->Value, k->PtFore.ValueOffset, k->PtFore.PosOffset, k->PtAfter.ValueOffset, k->PtAfter.PosOffset};
        };
        const std::vector<double> was = state();
        wnd.lastUpdate.SetRectEmpty();
        dlg.lastUpdate.SetRectEmpty();
        KivScreen::Get().MouseMove(CPoint(grip.x + c.path[i].dx, grip.y + c.path[i].dy));
        KivScreen::Get().PaintAll();
        EXPECT_NE(state(), was) << "every move changes the keyframe";
        EXPECT_FALSE(wnd.lastUpdate.IsRectEmpty()) << "the window repaints the move";
        EXPECT_NE(wnd.lastUpdate, wndClient) << "the window repaints only part of itself";
        EXPECT_FALSE(dlg.lastUpdate.IsRectEmpty()) << "the dialog repaints the move";
        // The dialog repaints whole when it first hears of the keyframe.
        if (i > 0) {
            EXPECT_NE(dlg.lastUpdate, dlgClient) << "the dialog repaints only part of itself";
        }
        EXPECT_EQ(DifferenceFromFullRepaint(wnd), "") << "the curve window";
        EXPECT_EQ(DifferenceFromFullRepaint(dlg), "") << "the curve dialog";
    }
    KivScreen::Get().MouseUp(grip);
    KivScreen::Get().PaintAll();
    EXPECT_EQ(DifferenceFromFullRepaint(wnd), "") << "after the drag";
}

INSTANTIATE_TEST_SUITE_P(Cases, DragRepaint, ::testing::ValuesIn(kCases));

TEST(LineFootprint, HoldsEveryPixelOfTheLineInsideTheClipAndFollowsItsSlope) {
    constexpr int kWidth = 1000, kHeight = 700;
    const CRect clip(10, 0, 990, kHeight);
    struct Case {
        CPoint a, b;
    };
    // Shallow both ways, steep, flat, upright, and one reaching far beyond the canvas.
    for (const Case& line : {Case{{0, 5}, {999, 690}}, Case{{999, 690}, {0, 5}}, Case{{3, 690}, {995, 60}}, Case{{400, 2}, {420, 698}},
                             Case{{0, 350}, {999, 350}}, Case{{500, 10}, {500, 690}}, Case{{600, 300}, {1000600, 400300}}}) {
        MemCanvas canvas(kWidth, kHeight);
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        canvas.dc.SelectObject(&pen);
        canvas.dc.MoveTo(line.a);
        canvas.dc.LineTo(line.b);
        KivRegion area;
        KivFXAddLineFootprint(area, line.a, line.b, clip);
        int missing = 0, outside = 0;
        for (CPoint p : canvas.Ink()) {
            if (clip.PtInRect(p) && !area.Contains(p.x, p.y)) ++missing;
            if (!clip.PtInRect(p) && area.Contains(p.x, p.y)) ++outside;
        }
        EXPECT_EQ(missing, 0) << "pixels of the line left out";
        EXPECT_EQ(outside, 0) << "the footprint stays in the clip";
        long covered = 0;
        for (const CRect& r : area.Rects()) covered += static_cast<long>(r.Width()) * r.Height();
        CRect bounds;
        bounds.IntersectRect(KivFXLineBounds(line.a, line.b), clip);
        EXPECT_LE(covered, static_cast<long>(bounds.Width()) * bounds.Height());
        if (std::abs(line.b.x - line.a.x) > std::abs(line.b.y - line.a.y) && bounds.Height() > kHeight / 2) {
            EXPECT_LT(covered, static_cast<long>(bounds.Width()) * bounds.Height() / 2) << "a staircase, not the bounds";
        }
    }
}

}  // namespace
