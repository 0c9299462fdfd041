// The editors on a dense track: a Bezier scalar track of 10,000 keyframes, one a frame, in a
// curve dialog and a curve window of 1280 x 720 (kfx edit's two scalar editors), and a
// position track of as many keyframes in a position dialog of that size. Rows: one step of
// the current frame (as kfx edit's Right and Left do), one drag step driven through the
// mouse, and one full repaint, each as a share of a 60 Hz frame. Two more rows give the
// paint after a host sets a huge story range on a shown 320 x 260 dialog.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>

#include "KfxEditHost.h"
#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/CKivFXInsKeyFrmWnd.h"
#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "EditorBench.h"

namespace {

constexpr int kWidth = 1280, kHeight = 720;
constexpr int kKeyFrames = 10000;  // one a frame, frames 0 to 9,999
constexpr int kStoryOut = kKeyFrames - 1;

// A motion-capture-like curve: a slow swing with a little noise, keyframes placed by frame
// with their locations over the story, short handles along it.
void FillDenseCurve(CKivFXInsKeyFrmList& t) {
    t.MinValue = -100.0f;
    t.MaxValue = 100.0f;
    t.InsMode = 1;
    t.SetBaseOnFrame(1);
    for (int f = 0; f < kKeyFrames; ++f) {
        const auto v = static_cast<float>(70.0 * std::sin(f * 0.002) + 8.0 * std::sin(f * 0.37));
        CKivFXValueKeyFrm* k = t.SendKeyFrmValue(f, v);
        k->Location = static_cast<double>(f) / kStoryOut;
        k->PtFore = SKivFXBezierHandle{-1.0f, -0.3};
        k->PtAfter = SKivFXBezierHandle{1.0f, 0.3};
    }
}

std::unique_ptr<CKivFXInsKeyFrmList> MakeDenseCurve() {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    FillDenseCurve(*t);
    return t;
}

std::unique_ptr<CKivFXPosiKeyFrmList> MakeDensePath() {
    auto t = std::make_unique<CKivFXPosiKeyFrmList>();
    t->InsMode = 1;
    for (int f = 0; f < kKeyFrames; ++f) {
        const double a = f * 0.001;
        CKivFXPosiKeyFrm* k = t->SendKeyFrmValue(static_cast<double>(f) / kStoryOut, static_cast<float>(400.0 * std::sin(3.0 * a)),
                                                 static_cast<float>(250.0 * std::sin(2.0 * a)), 0.0f);
        k->Fore = SKivFXPosiHandle{-1.0f, -1.0f, 0.0f};
        k->After = SKivFXPosiHandle{1.0f, 1.0f, 0.0f};
    }
    return t;
}

void ReportFrames(benchmark::State& state, std::chrono::steady_clock::time_point begin) {
    KivBenchReportShareOfFrame(state, std::chrono::steady_clock::now() - begin);
}

// The current frame back and forth between two neighbours around the middle of the story.
template <class Step>
void FrameSteps(benchmark::State& state, Step step) {
    int frame = kKeyFrames / 2;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        frame += frame == kKeyFrames / 2 ? 1 : -1;
        step(frame);
        KivScreen::Get().PaintAll();
    }
    ReportFrames(state, begin);
}

// A press at start, then small moves back and forth through the screen.
template <class Dragging>
void DragSteps(benchmark::State& state, CPoint start, Dragging dragging) {
    KivScreen::Get().MouseDown(start);
    if (!dragging()) {
        state.SkipWithError("nothing was grabbed");
        return;
    }
    const CPoint offsets[] = {{0, -4}, {0, 2}, {0, 5}, {0, 0}};
    size_t i = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const CPoint o = offsets[i++ % std::size(offsets)];
        KivScreen::Get().MouseMove(CPoint(start.x + o.x, start.y + o.y));
        KivScreen::Get().PaintAll();
    }
    ReportFrames(state, begin);
    KivScreen::Get().MouseUp(start);
}

template <class W>
void FullRepaints(benchmark::State& state, W& w) {
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        w.Invalidate(TRUE);
        w.UpdateWindow();
    }
    ReportFrames(state, begin);
}

struct DialogScene {
    std::unique_ptr<CKivFXInsKeyFrmList> track = MakeDenseCurve();
    CWnd host;
    CKivFXInsKeyFrmDlg dialog{&host};
    DialogScene() {
        dialog.SetRange(AquaEdit_Type_Number, 0, kStoryOut, track.get());
        KivBenchShowDialog(host, dialog, CSize(kWidth, kHeight));
    }
    ~DialogScene() {
        dialog.DestroyWindow();
        host.DestroyWindow();
    }
};

struct WindowScene {
    std::unique_ptr<CKivFXInsKeyFrmList> track = MakeDenseCurve();
    CWnd host;
    CKivFXInsKeyFrmWnd window;
    WindowScene() {
        KivScreen::Get().Resize(kWidth, kHeight);
        const CRect area(0, 0, kWidth, kHeight);
        host.CreateEx(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, area, nullptr, 0);
        window.SetKeyFrmList(track.get());
        window.SetScrollPos(-10);
        window.SetPixelPreFrame(static_cast<double>(kWidth - 1) / (kKeyFrames + 20));
        window.Create(WS_CHILD | WS_VISIBLE, &host, area);
        KivScreen::Get().PaintAll();
    }
    ~WindowScene() {
        window.DestroyWindow();
        host.DestroyWindow();
    }
};

struct PosiScene {
    std::unique_ptr<CKivFXPosiKeyFrmList> track = MakeDensePath();
    CWnd host;
    CKivFXPosiKeyFrmDlg dialog{&host};
    PosiScene() {
        dialog.SetRange(0, kStoryOut, track.get());
        KivBenchShowDialog(host, dialog, CSize(kWidth, kHeight));
    }
    ~PosiScene() {
        dialog.DestroyWindow();
        host.DestroyWindow();
    }
};

void BM_Dense_DialogFrameStep(benchmark::State& state) {
    DialogScene s;
    FrameSteps(state, [&](int f) { s.dialog.UpTimeLine(f); });
}

void BM_Dense_DialogDragStep(benchmark::State& state) {
    DialogScene s;
    CKivFXValueKeyFrm* k = s.track->GetFXKeyFrm(kKeyFrames / 2);
    DragSteps(state, s.dialog.GetKeyFrmRect(k, kKivFXPartKeyFrm).CenterPoint(), [&] { return s.dialog.IsDragging() != FALSE; });
}

void BM_Dense_DialogFullRepaint(benchmark::State& state) {
    DialogScene s;
    FullRepaints(state, s.dialog);
}

void BM_Dense_WindowFrameStep(benchmark::State& state) {
    WindowScene s;
    FrameSteps(state, [&](int f) { s.window.UpdateTimeLine(f); });
}

void BM_Dense_WindowDragStep(benchmark::State& state) {
    WindowScene s;
    const CKivFXValueKeyFrm* k = s.track->GetFXKeyFrm(kKeyFrames / 2);
    const CPoint p(static_cast<int>(std::lround((k->Frame + 10) * s.window.GetPixelPreFrame())),
                   static_cast<int>(std::lround((s.window.GetTopValue() - k->Value) / s.window.GetValuePrePixel())) +
                       CKivFXInsKeyFrmWnd::kMargin);
    DragSteps(state, p, [&] { return s.window.IsDragging() != FALSE; });
}

void BM_Dense_WindowFullRepaint(benchmark::State& state) {
    WindowScene s;
    FullRepaints(state, s.window);
}

void BM_Dense_PosiFrameStep(benchmark::State& state) {
    PosiScene s;
    FrameSteps(state, [&](int f) { s.dialog.UpTimeLine(f); });
}

// A keyframe of the path dragged in the X-Y view (the path around it and the marks redrawn).
void BM_Dense_PosiDragStep(benchmark::State& state) {
    PosiScene s;
    CKivFXPosiKeyFrm* k = s.track->GetFXKeyFrm(kKeyFrames / 2);
    DragSteps(state, s.dialog.GetKeyFrmRect(k, kKivFXPartKeyFrm).CenterPoint(), [&] { return s.dialog.IsDragging() != FALSE; });
}

void BM_Dense_PosiFullRepaint(benchmark::State& state) {
    PosiScene s;
    FullRepaints(state, s.dialog);
}

// kfx edit on the dense curve at 1280 x 720 (its curve dialog above its curve window): one
// press of Right or Left with everything it repaints (both editors, the value box, the
// status line).
void BM_Dense_KfxEditFrameStep(benchmark::State& state) {
    KivScreen::Get().Resize(kWidth, kHeight);
    auto doc = KfxEditDocument::New(KfxTrackKindId::scalar, "/tmp/kfx-bench-dense.kfa");
    FillDenseCurve(static_cast<CKivFXInsKeyFrmList&>(*doc->Tracks()[0]));
    auto host = std::make_unique<KfxEditHost>(*doc);
    host->CreateOnScreen(0);
    KivScreen::Get().PaintAll();
    host->GoToFrame(kKeyFrames / 2);
    KivScreen::Get().PaintAll();
    bool right = true;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        KivScreen::Get().KeyDown(right ? VK_RIGHT : VK_LEFT);
        KivScreen::Get().KeyUp(right ? VK_RIGHT : VK_LEFT);
        right = !right;
        KivScreen::Get().PaintAll();
    }
    ReportFrames(state, begin);
    host.reset();
}

// One paint of a shown 320 x 260 curve or position dialog after the host set a story range
// of 0 to state.range(0) frames (the scales kept until the next layout, as documented).
template <class Dialog, class SetRange>
void HugeRangePaint(benchmark::State& state, Dialog& dialog, CWnd& host, SetRange setRange) {
    KivBenchShowDialog(host, dialog, CSize(320, 260));
    setRange(static_cast<int>(state.range(0)));
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        dialog.Invalidate(TRUE);
        dialog.UpdateWindow();
    }
    ReportFrames(state, begin);
    dialog.DestroyWindow();
    host.DestroyWindow();
}

void BM_HugeRange_DialogPaint(benchmark::State& state) {
    CKivFXInsKeyFrmList track;
    CWnd host;
    CKivFXInsKeyFrmDlg dialog{&host};
    dialog.SetRange(AquaEdit_Type_Number, 0, 99, &track);
    HugeRangePaint(state, dialog, host, [&](int out) { dialog.SetRange(0, out); });
}

void BM_HugeRange_PosiPaint(benchmark::State& state) {
    CKivFXPosiKeyFrmList track;
    track.SendKeyFrmValue(0.0, 0.0f, 0.0f, 0.0f);
    track.SendKeyFrmValue(1.0, 100.0f, 50.0f, 0.0f);
    CWnd host;
    CKivFXPosiKeyFrmDlg dialog{&host};
    dialog.SetRange(0, 99, &track);
    HugeRangePaint(state, dialog, host, [&](int out) { dialog.SetRange(0, out, &track); });
}

}  // namespace

BENCHMARK(BM_Dense_DialogFrameStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_DialogDragStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_DialogFullRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_WindowFrameStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_WindowDragStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_WindowFullRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_PosiFrameStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_PosiDragStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_PosiFullRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dense_KfxEditFrameStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeRange_DialogPaint)->Arg(10'000'000)->Arg(100'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_HugeRange_PosiPaint)->Arg(10'000'000)->Arg(100'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);
