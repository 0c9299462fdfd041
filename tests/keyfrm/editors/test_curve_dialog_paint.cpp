// The curve dialog's painting: pixels of the axes, the marker, the curve and the keyframes
// at places computed from the mapping, the value labels by edit type, the frame scale
// switch, and whole pictures against the PNGs in golden/.
#include <filesystem>

#include "CurveDialogTestSupport.h"
#include "support/GoldenPng.h"

namespace {

const std::filesystem::path kGoldenDir = std::filesystem::path(KIVFX_SOURCE_DIR) / "tests/keyfrm/editors/golden";
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr COLORREF kCurve = RGB(155, 0, 255);
constexpr COLORREF kMarkerLine = RGB(0, 0, 220);
constexpr COLORREF kLabelBack = RGB(161, 158, 156);

// Counts the pixels of a colour in a rectangle of the dialog's client area, the dialog's
// client origin being at (left, top) on the screen.
int CountIn(int left, int top, COLORREF colour, const CRect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += KivScreen::Get().GetPixel(left + x, top + y) == colour;
    return n;
}

}  // namespace

using CurveDialogPaint = CurveDialogTest;

TEST_F(CurveDialogPaint, AxesMarkerCurveAndKeyframesLandWhereTheMappingSays) {
    // Linear, frames 0 to 99: keyframes at frames 20 (value 60) and 80 (value -60).
    Open(MakeDlgTrack({{20.0 / 99.0, 60.0f}, {80.0 / 99.0, -60.0f}}, 0));
    dlg.UpTimeLine(50);
    KivScreen::Get().PaintAll();
    struct Probe {
        const char* what;
        CPoint at;
        COLORREF colour;
    };
    const Probe probes[] = {
        {"value axis at frame 0", {15, 40}, kBlack},
        {"bottom tick of 8 pixels, left of its label", {19, 115}, kBlack},
        {"a value tick of 5 pixels at the quarter", {19, 90}, kBlack},
        {"and not longer", {20, 90}, kFace},
        {"a short frame tick on the middle", {21, 64}, kBlack},
        {"frame axis at the middle value", {200, 65}, kBlack},
        {"marker line below the bitmap", {115, 100}, kMarkerLine},
        {"marker bitmap outline, top row", {109, 5}, RGB(4, 4, 4)},
        {"flat start at the first keyframe's value", {30, 35}, kCurve},
        {"flat end at the last keyframe's value", {200, 95}, kCurve},
        {"the curve over the frame axis and the marker line", {115, 65}, kCurve},
        {"first keyframe, white square", {55, 35}, RGB(255, 255, 255)},
        {"last keyframe, white square", {175, 95}, RGB(255, 255, 255)},
        {"face colour off the drawing", {225, 125}, kFace},
    };
    for (const Probe& p : probes) EXPECT_EQ(At(p.at.x, p.at.y), p.colour) << p.what;
    EXPECT_EQ(At(85, 50), kCurve) << "the straight segment from (55, 35) to (175, 95)";
}

TEST_F(CurveDialogPaint, ValueLabelsFollowTheEditTypeAndTheScaleCanBeHidden) {
    int inkOf[3] = {};
    for (AquaEdit_Type type : {AquaEdit_Type_Number, AquaEdit_Type_Degree, AquaEdit_Type_Percent}) {
        dlg.DestroyWindow();
        host.DestroyWindow();
        Open(MakeDlgTrack({}), type);
        // The top label's cell sits right of the value axis around y 15.
        inkOf[type] = CountIn(kLeft, kTop, kLabelBack, CRect(20, 0, 65, 30));
        EXPECT_GT(inkOf[type], 0) << "a label on its grey cell for type " << type;
    }
    EXPECT_GT(inkOf[AquaEdit_Type_Degree], inkOf[AquaEdit_Type_Number]) << "\"100°\" is wider than \"100\"";
    EXPECT_GT(inkOf[AquaEdit_Type_Percent], inkOf[AquaEdit_Type_Number]) << "\" 100.0%\" too";

    const CRect scaleArea(20, 40, 215, 64);  // above the frame axis, below the marker's bitmap
    const int withScale = CountIn(kLeft, kTop, kBlack, scaleArea) + CountIn(kLeft, kTop, kLabelBack, scaleArea);
    dlg.UpShowTL(0);
    const int without = CountIn(kLeft, kTop, kBlack, scaleArea) + CountIn(kLeft, kTop, kLabelBack, scaleArea);
    EXPECT_GT(withScale, 0);
    EXPECT_EQ(without, 0) << "no ticks and no frame labels without the scale";
}

class CurveDialogGolden : public CurveDialogTest {
protected:
    void ShowGolden(int insMode, int frame) {
        KivScreen::Get().Resize(320, 160);
        track = MakeDlgTrack({{0.0, 10.0f, 0, 0, 0.15, 60.0f},
                              {0.3, 85.0f, -0.12, -5.0f, 0.15, 10.0f},
                              {0.65, -25.0f, -0.1, 20.0f, 0.1, -20.0f},
                              {1.0, 70.0f, -0.25, 0.0f}},
                             insMode, 1);
        ASSERT_TRUE(host.CreateTop(CRect(0, 0, 320, 160)));
        dlg.SetRange(AquaEdit_Type_Degree, 10, 110, track.get());
        ASSERT_NE(dlg.Create(&host), 0);
        dlg.MoveWindow(0, 0, 320, 160, FALSE);
        dlg.UpTimeLine(frame);
        dlg.ShowWindow(SW_SHOW);
        KivScreen::Get().PaintAll();
    }
};

TEST_F(CurveDialogGolden, BezierTrackWithASelectedKeyframe) {
    ShowGolden(1, 50);
    track->GetFXKeyFrm(2)->SetSelect(1);
    dlg.Invalidate();
    KivScreen::Get().PaintAll();
    ExpectScreenMatchesGolden(kGoldenDir / "curve-dialog-bezier.png");
}

TEST_F(CurveDialogGolden, LinearTrackAfterAKeyframeDragAndZoomIn) {
    ShowGolden(0, 90);
    const CPoint from = Screen(dlg.GetKeyFrmRect(track->GetFXKeyFrm(1), kKivFXPartKeyFrm).CenterPoint());
    Press(from);
    Move(CPoint(from.x + 30, from.y + 20));
    Release(CPoint(from.x + 30, from.y + 20));
    Command(ID_MENU_SHOW_ZOOM_IN);
    KivScreen::Get().PaintAll();
    ExpectScreenMatchesGolden(kGoldenDir / "curve-dialog-linear-zoomed.png");
}
