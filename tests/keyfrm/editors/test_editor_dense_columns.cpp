// A dense track paints every keyframe where it lies however many share a pixel column: the
// curve dialog's paint against each note drawn on its own in list order, the pixel scaler
// against the division it stands for, and drag steps in the curve and position dialogs that
// repaint only where the dragged keyframe shows, leaving the picture a whole paint gives.
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "CurveDialogTestSupport.h"
#include "PosiDialogTestSupport.h"
#include "ScreenPictureSupport.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/editors/KivFXVisibleNotes.h"

namespace {

// Keyframes over frames first..first+count-1, one a frame, placed by frame over story
// [in, out]; handle offsets vary from keyframe to keyframe and repeat in runs.
std::unique_ptr<CKivFXInsKeyFrmList> ColumnTrack(int first, int count, int in, int out) {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->MinValue = -100.0f;
    t->MaxValue = 100.0f;
    t->InsMode = 1;
    t->SetBaseOnFrame(1);
    for (int i = 0; i < count; ++i) {
        const int f = first + i;
        CKivFXValueKeyFrm* k = t->SendKeyFrmValue(f, static_cast<float>(60.0 * std::sin(i * 0.013) + 25.0 * std::sin(i * 0.9)));
        k->Location = (static_cast<double>(f) - in) / (static_cast<double>(out) - in);
        k->PtFore = SKivFXBezierHandle{-static_cast<float>(i % 3), -static_cast<double>(i / 4 % 3 + 1)};
        k->PtAfter = SKivFXBezierHandle{static_cast<float>(i % 5) - 2.0f, static_cast<double>(i / 3 % 4)};
        if (i % 41 == 0) k->SetSelect(1);
    }
    return t;
}

// Repaints the editor whole, presses at grip and moves by each step in turn: after every
// step the picture is the one a whole paint gives, and afterStep() checks what it checks.
template <class W, class Check>
void ExpectDragStepsPaintTheWhole(W& editor, CPoint grip, const std::vector<CPoint>& moves, Check afterStep) {
    editor.Invalidate(TRUE);
    KivScreen::Get().PaintAll();
    KivScreen::Get().MouseDown(grip);
    ASSERT_TRUE(editor.IsDragging());
    for (size_t i = 0; i < moves.size(); ++i) {
        SCOPED_TRACE("move " + std::to_string(i + 1));
        KivScreen::Get().MouseMove(CPoint(grip.x + moves[i].x, grip.y + moves[i].y));
        KivScreen::Get().PaintAll();
        afterStep();
        EXPECT_EQ(DifferenceFromFullRepaint(editor), "");
    }
    KivScreen::Get().MouseUp(grip);
}

class DenseColumns : public CurveDialogTest {};

TEST_F(DenseColumns, EveryNoteLiesWhereItsOwnMappingPutsIt) {
    // Stories from 3 to 21 frames a column, one starting below zero and one whose keyframes
    // start past story in: every column holds several keyframes and handles.
    struct Story {
        int first, count, in, out;
    };
    const Story stories[] = {{0, 700, 0, 699}, {-37, 1900, -37, 1862}, {250, 3000, 11, 4100}};
    Open(ColumnTrack(0, 700, 0, 699));
    for (const Story& s : stories) {
        SCOPED_TRACE(::testing::Message() << "story " << s.in << ".." << s.out);
        auto shown = ColumnTrack(s.first, s.count, s.in, s.out);
        dlg.SetRange(AquaEdit_Type_Number, s.in, s.out, shown.get());
        track = std::move(shown);
        dlg.UpStoryInOut(s.in, s.out);  // laid out for the story
        dlg.Invalidate(TRUE);
        dlg.UpdateWindow();
        const std::vector<COLORREF> painted = ShownPixels(dlg);
        // Notes are drawn last, in list order: each drawn again on its own, at the points
        // the dialog gives that keyframe alone, must change no pixel.
        CDC* dc = dlg.GetDC();
        const int count = track->GetKeyFrmCount();
        for (int i = 0; i < count; ++i) {
            CKivFXValueKeyFrm* k = track->GetFXKeyFrm(i);
            CPoint pts[3];
            for (int part : {kKivFXPartForePt, kKivFXPartKeyFrm, kKivFXPartAfterPt}) {
                const CRect r = dlg.GetKeyFrmRect(k, part);
                pts[part == kKivFXPartForePt ? 0 : part == kKivFXPartKeyFrm ? 1 : 2] = CPoint(r.left + 2, r.top + 2);
            }
            KivFXDrawKeyFrmNote(*dc, pts, k->IsSelect() != 0, KivFXNoteKind(i, count, track->InsMode));
        }
        dlg.ReleaseDC(dc);
        EXPECT_EQ(ShownPixels(dlg), painted);
        EXPECT_LT(dlg.GetFramesPerPixel(), 25.0f);
        EXPECT_GT(dlg.GetFramesPerPixel(), 3.0f) << "several keyframes a column";
    }
}

TEST(PixelScaler, GivesTheDividedPixelForEveryInput) {
    // Quotients on and beside each half (where the product and the division may round apart),
    // near the fast path's reach, and inputs that are not finite, on scales of every kind.
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const double scales[] = {0.35, 1.0 / 3.0, 7.8125, static_cast<float>(10000.0 / 1265.0), 0.277777, 1e-300, 4e-320, 1e300,
                             -0.5, 0.0, inf, nan};
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> spread(-2e8, 2e8);
    std::uniform_int_distribution<int> halves(-70'000'000, 70'000'000), ulps(-4, 4);
    for (const double scale : scales) {
        SCOPED_TRACE(::testing::Message() << "scale " << scale);
        const KivPixelScaler scaler(scale);
        std::vector<double> nums = {0.0, -0.0, inf, -inf, nan, 1e300, -1e300, 67108863.5 * scale, 67108864.5 * scale};
        for (int i = 0; i < 4000; ++i) {
            double n = (halves(random) + 0.5) * scale;
            for (int u = ulps(random); u != 0; u += u > 0 ? -1 : 1) n = std::nextafter(n, u > 0 ? inf : -inf);
            nums.push_back(n);
            nums.push_back(spread(random) * (std::isfinite(scale) && scale != 0.0 ? std::fabs(scale) * 1e-6 : 1.0));
        }
        for (const double n : nums) ASSERT_EQ(scaler(n), KivRoundToPixel(KivScaled(n, scale))) << "num " << n;
    }
}

TEST_F(DenseColumns, DragStepsRepaintTheKeyframeAndLeaveTheWholePicture) {
    // Keyframe, fore handle and after handle of a keyframe among its column's neighbours; the
    // keyframe itself also dragged past its neighbours in time (the whole dialog repaints).
    struct Case {
        const char* name;
        int part;
        std::vector<CPoint> moves;
    };
    const Case cases[] = {
        {"keyframe up and down in place", kKivFXPartKeyFrm, {{0, -9}, {0, 14}, {0, 3}}},
        {"keyframe across columns", kKivFXPartKeyFrm, {{6, 0}, {-11, 5}, {0, 0}}},
        {"fore handle", kKivFXPartForePt, {{-5, -7}, {-1, 12}, {-9, 0}}},
        {"after handle", kKivFXPartAfterPt, {{4, 10}, {12, -6}, {1, 1}}},
    };
    Open(ColumnTrack(0, 900, 0, 899));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto shown = ColumnTrack(0, 900, 0, 899);
        shown->CtrlMode = 1;
        dlg.SetRange(AquaEdit_Type_Number, 0, 899, shown.get());
        track = std::move(shown);
        dlg.UpStoryInOut(0, 899);
        CKivFXValueKeyFrm* k = track->GetFXKeyFrm(450);
        // Only this keyframe shows its parts where the press lands.
        k->PtFore = SKivFXBezierHandle{-8.0f, -60.0};
        k->PtAfter = SKivFXBezierHandle{9.0f, 70.0};
        k->Value = 95.0f;
        ExpectDragStepsPaintTheWhole(dlg, ScreenOfPart(k, c.part), c.moves, [] {});
    }
}

class DensePath : public PosiDialogTest {};

TEST_F(DensePath, DragStepsRepaintTheKeyframeAndLeaveTheWholePicture) {
    // A path of many keyframes a few pixels apart, ten frames between neighbours (so that a
    // segment shows as dots between its ends), the current position on the dragged
    // keyframe's segments; its position and both handles dragged in linked and symmetric
    // coupling.
    auto path = std::make_unique<CKivFXPosiKeyFrmList>();
    path->InsMode = 1;
    constexpr int kKeys = 1000;
    for (int f = 0; f < kKeys; ++f) {
        const double a = f * 0.02;
        CKivFXPosiKeyFrm* k = path->SendKeyFrmValue(static_cast<double>(f) / (kKeys - 1), static_cast<float>(300.0 * std::sin(3.0 * a)),
                                                    static_cast<float>(200.0 * std::sin(2.0 * a)), 0.0f);
        k->Fore = SKivFXPosiHandle{-6.0f, 3.0f, 0.0f};
        k->After = SKivFXPosiHandle{6.0f, -3.0f, 0.0f};
    }
    // The dragged keyframe's neighbours far off either way: its two segments lie apart.
    path->GetFXKeyFrm(599)->PosiX -= 150.0f;
    path->GetFXKeyFrm(601)->PosiY -= 120.0f;
    Open(std::move(path), 0, (kKeys - 1) * 10);
    dlg.UpTimeLine(6004);
    struct Case {
        int part;
        int ctrlMode;
        std::vector<CPoint> moves;
    };
    const Case cases[] = {{kKivFXPartKeyFrm, 0, {{0, -9}, {14, 3}, {-4, 20}}},
                          {kKivFXPartForePt, 1, {{-25, -7}, {-1, 30}}},
                          {kKivFXPartAfterPt, 2, {{30, 10}, {12, -40}}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "part " << c.part);
        track->CtrlMode = c.ctrlMode;
        CKivFXPosiKeyFrm* k = Key(600);
        // The parts drawn apart from the neighbours' so that the press takes this keyframe's.
        k->PosiY += 40.0f;
        k->Fore = SKivFXPosiHandle{-30.0f, 30.0f, 0.0f};
        k->After = SKivFXPosiHandle{30.0f, 30.0f, 0.0f};
        dlg.lastUpdate.SetRectEmpty();
        ExpectDragStepsPaintTheWhole(dlg, ScreenOfPart(k, c.part), c.moves, [this] {
            const CRect& xy = dlg.GetXYRect();
            EXPECT_LT(dlg.lastUpdate.Width() * dlg.lastUpdate.Height(), xy.Width() * xy.Height()) << "only part of the view repaints";
            dlg.lastUpdate.SetRectEmpty();
        });
    }
}

}  // namespace
