// Painting that costs what the visible pixels cost: the frame scale over any story range,
// the notes drawn once where they fall together, and the three curve editors on a dense
// track painting in strips exactly what they paint whole.
#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "CurveDialogTestSupport.h"
#include "CurveWindowTestSupport.h"
#include "PosiDialogTestSupport.h"
#include "keyfrm/editors/KivFXPixelMath.h"
#include "keyfrm/editors/KivFXTimeStrip.h"
#include "keyfrm/editors/KivFXVisibleNotes.h"

namespace {

// A label's text as wide as a fixed-size font of 6 pixels a character would make it.
int TextWidth(int frame) { return 6 * static_cast<int>(std::to_string(frame).size()); }

TEST(FrameScaleMarks, AnyStoryCostsItsVisibleColumnsAndLabelsNeverOverlap) {
    // A 290-pixel scale laid out for story 0..99 (0.345 frames a pixel, step 2) that keeps
    // its scale when the story grows, as a shown dialog does after SetRange.
    const float framesPerPixel = 100.0f / 290.0f;
    const int step = KivFXScaleStep(framesPerPixel);
    KivFXFrameScaleLook look;
    const KivFXStoryRange ranges[] = {{0, 99}, {0, 10'000'000}, {0, 100'000'000}, {INT_MIN, INT_MAX}, {-7, 5}, {3, 3}, {9, 2}};
    const int scales[] = {step, KivFXScaleStep(1'000'000.0f / 290.0f)};  // the old step, and one fitted to a long story
    for (const KivFXStoryRange& range : ranges) {
        for (const int s : scales) {
            const double fpp = s == step ? framesPerPixel : 1'000'000.0 / 290.0;
            auto toX = [&](int f) { return KivTruncToPixel(15.0 + std::round((static_cast<double>(f) - range.in) / fpp)); };
            SCOPED_TRACE(::testing::Message() << range.in << ".." << range.out << " step " << s);
            const auto whole = KivFXFrameScaleMarks(range, s, look, 0, 320, toX, TextWidth);
            EXPECT_LE(whole.size(), 340u) << "about one mark a column";
            std::vector<std::pair<int, int>> texts;
            for (const KivFXScaleMark& m : whole)
                if (m.labelled && m.frame != range.in && m.frame != range.out)
                    texts.emplace_back(m.x - TextWidth(m.frame) / 2, m.x + (TextWidth(m.frame) + 1) / 2);
            std::sort(texts.begin(), texts.end());
            for (size_t i = 1; i < texts.size(); ++i) EXPECT_LT(texts[i - 1].second, texts[i].first) << "labels overprint";
            // Marks do not depend on the columns asked: two halves give the marks of the whole.
            // What shows in the columns does not depend on the columns asked: two halves
            // give what the whole gives there (a column's tick, which labels).
            auto shown = [](const std::vector<KivFXScaleMark>& marks, int lo, int hi) {
                std::set<std::tuple<int, int, bool, int>> out;
                for (const KivFXScaleMark& m : marks)
                    if (m.x >= lo && m.x < hi) out.emplace(m.x, m.height, m.labelled, m.labelled ? m.frame : 0);
                return out;
            };
            auto halves = shown(KivFXFrameScaleMarks(range, s, look, 0, 160, toX, TextWidth), 0, 160);
            halves.merge(shown(KivFXFrameScaleMarks(range, s, look, 160, 320, toX, TextWidth), 160, 320));
            EXPECT_EQ(halves, shown(whole, 0, 320));
        }
    }
}

TEST(NoteBatch, DrawsThePictureOfEveryNoteInTurn) {
    // Notes crowded on a small canvas, many on the same pixels, with short and long handles;
    // then on a canvas wider than two 64-pixel words with the batch's clip off the origin, so
    // that squares straddle the covered pixels' words and the clip's edges.
    struct Canvas {
        int width, height;
        CRect clip;
        int low;  // of the keyframes' points
    };
    for (const Canvas& c : {Canvas{48, 48, CRect(0, 0, 48, 48), 0}, Canvas{150, 20, CRect(5, 1, 146, 19), -3}}) {
        SCOPED_TRACE(c.width);
        std::mt19937 random(7);
        std::uniform_int_distribution<int> x(c.low, c.width - 8), y(c.low, c.height - 8), handle(-6, 6), kind(-1, 2), pick(0, 3);
        for (int round = 0; round < 20; ++round) {
            MemCanvas sequential(c.width, c.height), batched(c.width, c.height);
            sequential.dc.IntersectClipRect(&c.clip);
            batched.dc.IntersectClipRect(&c.clip);
            KivFXNoteBatch batch(c.clip);
            for (int i = 0; i < 60; ++i) {
                const CPoint key(x(random), y(random));
                const CPoint pts[3] = {{key.x + handle(random), key.y + handle(random)}, key, {key.x + handle(random), key.y + handle(random)}};
                const bool selected = pick(random) == 0;
                const int k = kind(random);
                KivFXDrawKeyFrmNote(sequential.dc, pts, selected, k);
                batch.Add(pts, selected, k);
            }
            batch.Draw(batched.dc);
            ASSERT_EQ(batched.Pixels(), sequential.Pixels()) << "round " << round;
            EXPECT_LT(batch.PartsDrawn(), 60u * 5u) << "covered parts are left out";
        }
    }
}

// One keyframe a frame over frames 0..kDense-1 with short Bezier handles, placed by frame;
// out of order when shuffled (the editors then walk every keyframe).
constexpr int kDense = 1500;

std::unique_ptr<CKivFXInsKeyFrmList> DenseCurve(bool shuffled) {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->MinValue = -100.0f;
    t->MaxValue = 100.0f;
    t->InsMode = 1;
    t->SetBaseOnFrame(1);
    for (int f = 0; f < kDense; ++f) {
        CKivFXValueKeyFrm* k = t->SendKeyFrmValue(f, static_cast<float>(70.0 * std::sin(f * 0.01) + 9.0 * std::sin(f * 0.7)));
        k->Location = static_cast<double>(f) / (kDense - 1);
        k->PtFore = SKivFXBezierHandle{-4.0f, -f % 5 * 0.5};
        k->PtAfter = SKivFXBezierHandle{3.0f, f % 7 * 8.0};  // some reach far past their neighbours
        if (f % 97 == 0) k->SetSelect(1);
    }
    if (shuffled)
        for (POSITION a = t->GetHeadPosition(), b = t->GetTailPosition(); a && b && a != b;) {
            std::swap(t->GetAt(a), t->GetAt(b));
            t->GetNext(a);
            if (a == b) break;
            t->GetPrev(b);
        }
    return t;
}

std::vector<COLORREF> Snapshot(const CWnd& w, int screenLeft, int screenTop) {
    CRect client;
    w.GetClientRect(&client);
    std::vector<COLORREF> px;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) px.push_back(KivScreen::Get().GetPixel(screenLeft + x, screenTop + y));
    return px;
}

// The window's client painted whole, then scribbled over and painted again in strips of
// odd widths, one paint per strip: the pixels must be the same.
void ExpectStripsPaintTheWhole(CWnd& w, int screenLeft, int screenTop) {
    CRect client;
    w.GetClientRect(&client);
    w.Invalidate(TRUE);
    w.UpdateWindow();
    const std::vector<COLORREF> whole = Snapshot(w, screenLeft, screenTop);
    CDC* dc = w.GetDC();
    dc->FillSolidRect(&client, RGB(1, 2, 3));
    w.ReleaseDC(dc);
    for (int x = 0; x < client.right; x += 37) {
        const CRect strip(x, 0, std::min<int>(x + 37, client.right), client.bottom);
        w.InvalidateRect(&strip, TRUE);
        w.UpdateWindow();
    }
    EXPECT_EQ(Snapshot(w, screenLeft, screenTop), whole);
}

class DenseCurveDialog : public CurveDialogTest {};
class DenseCurveWindow : public CurveWindowTest {};
class DensePosiDialog : public PosiDialogTest {};

TEST_F(DenseCurveDialog, StripsPaintWhatAWholePaintDoes) {
    Open(DenseCurve(false));
    for (bool shuffled : {false, true}) {
        SCOPED_TRACE(shuffled ? "out of order" : "in order");
        auto shown = DenseCurve(shuffled);
        dlg.SetRange(AquaEdit_Type_Number, 0, kDense - 1, shown.get());
        track = std::move(shown);
        dlg.UpStoryInOut(0, kDense - 1);
        ExpectStripsPaintTheWhole(dlg, kLeft, kTop);
    }
}

// A shown dialog keeps its frames per pixel when its story grows: a paint that walked every
// tick of the old step over the new story did not end at the int limits (the test's time
// bound fails it); one that costs its visible columns paints as a whole paint does.
TEST_F(DenseCurveDialog, AStoryGrownToTheIntLimitsPaintsWhatItShows) {
    Open(DenseCurve(false));
    dlg.SetRange(AquaEdit_Type_Number, 0, INT_MAX, track.get());
    ExpectStripsPaintTheWhole(dlg, kLeft, kTop);
}

TEST_F(DensePosiDialog, AStoryGrownToTheIntLimitsPaintsWhatItShows) {
    Open(MakePosiTrack({{0.2, -300.0f, 0.0f}, {0.7, 300.0f, 100.0f}}, 1), 0, 99);
    dlg.SetRange(0, INT_MAX, track.get());
    ExpectStripsPaintTheWhole(dlg, kLeft, kTop);
}

TEST_F(DenseCurveWindow, StripsPaintWhatAWholePaintDoes) {
    Open(DenseCurve(false));
    wnd.SetPixelPreFrame(0.13);  // about 8 frames a column
    for (bool shuffled : {false, true}) {
        SCOPED_TRACE(shuffled ? "out of order" : "in order");
        auto shown = DenseCurve(shuffled);
        wnd.SetKeyFrmList(shown.get());
        track = std::move(shown);
        ExpectStripsPaintTheWhole(wnd, kLeft, kTop);
        // The current frame's line moved far: its two strips painted as a whole paint would.
        wnd.UpdateTimeLine(shuffled ? 40 : kDense - 100);
        const std::vector<COLORREF> stepped = Snapshot(wnd, kLeft, kTop);
        wnd.Invalidate(TRUE);
        wnd.UpdateWindow();
        EXPECT_EQ(stepped, Snapshot(wnd, kLeft, kTop));
    }
}

TEST_F(DensePosiDialog, StripsAndFrameStepsPaintWhatAWholePaintDoes) {
    auto path = std::make_unique<CKivFXPosiKeyFrmList>();
    path->InsMode = 1;
    for (int f = 0; f < kDense; ++f) {
        const double a = f * 0.004;
        CKivFXPosiKeyFrm* k = path->SendKeyFrmValue(static_cast<double>(f) / (kDense - 1), static_cast<float>(300.0 * std::sin(3.0 * a)),
                                                    static_cast<float>(200.0 * std::sin(2.0 * a)), 0.0f);
        k->Fore = SKivFXPosiHandle{-20.0f, 9.0f, 0.0f};
        k->After = SKivFXPosiHandle{20.0f, -9.0f, 0.0f};
    }
    Open(std::move(path), 0, kDense - 1);
    ExpectStripsPaintTheWhole(dlg, kLeft, kTop);
    // Steps of the current frame repaint its mark where it was and where it is now.
    for (int frame : {700, 701, 1200}) {
        dlg.UpTimeLine(frame);
        const std::vector<COLORREF> stepped = Snapshot(dlg, kLeft, kTop);
        dlg.Invalidate(TRUE);
        dlg.UpdateWindow();
        EXPECT_EQ(stepped, Snapshot(dlg, kLeft, kTop)) << "frame " << frame;
    }
}

}  // namespace
