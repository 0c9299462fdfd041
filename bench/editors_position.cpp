// The position dialog at work on the headless screen: one drag step of a keyframe's position
// (the mouse move, the position clamped to the track's range, the repaint of the X-Y view
// with the path dot by dot, the message to the host), one step of a keyframe's time square
// (the overlap test and the re-sort, the strip and the view repainted) and one full repaint,
// in an 800 x 400 dialog holding a Bezier path of 100 keyframes over 1,000 frames. Each is
// reported as a share of a 60 Hz frame, computed from the times measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>

#include "keyfrm/editors/CKivFXPosiKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "EditorBench.h"

namespace {

constexpr int kWidth = 800, kHeight = 400;
constexpr int kKeyFrames = 100;
constexpr int kStoryOut = 999;              // frames 0 to 999

// Counts the host's messages, as a host that reads the record would.
class Host : public CWnd {
public:
    long modifies = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == KivFXEditorMessages().modifyFromPosiKFDlg && lParam) {
            benchmark::DoNotOptimize(reinterpret_cast<const PosiKFDlgModifyInfo*>(lParam)->fX);
            ++modifies;
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

// A looping path through the view: keyframes on a Lissajous figure, handles along it.
std::unique_ptr<CKivFXPosiKeyFrmList> MakePath() {
    auto t = std::make_unique<CKivFXPosiKeyFrmList>();
    t->InsMode = 1;
    for (int i = 0; i < kKeyFrames; ++i) {
        const double a = i * 0.21;
        const auto x = static_cast<float>(400.0 * std::sin(3.0 * a));
        const auto y = static_cast<float>(250.0 * std::sin(2.0 * a));
        CKivFXPosiKeyFrm* k = t->SendKeyFrmValue(static_cast<double>(i) / (kKeyFrames - 1), x, y, 0.0f);
        const auto dx = static_cast<float>(30.0 * std::cos(3.0 * a));
        const auto dy = static_cast<float>(20.0 * std::cos(2.0 * a));
        k->Fore = SKivFXPosiHandle{-dx, -dy, 0.0f};
        k->After = SKivFXPosiHandle{dx, dy, 0.0f};
    }
    return t;
}

// The host and the dialog on a screen of their size, painted once.
struct Scene {
    std::unique_ptr<CKivFXPosiKeyFrmList> track = MakePath();
    Host host;
    CKivFXPosiKeyFrmDlg dialog{&host};
    Scene() {
        dialog.SetRange(0, kStoryOut, track.get());
        KivBenchShowDialog(host, dialog, CSize(kWidth, kHeight));
    }
    ~Scene() {
        dialog.DestroyWindow();
        host.DestroyWindow();
    }
};

// Presses at start, moves back and forth over a few pixels each way, and reports each move.
void DragSteps(benchmark::State& state, Scene& scene, CPoint start, int expectedKind) {
    KivScreen::Get().MouseDown(start);
    if (scene.dialog.GetDragKind() != expectedKind) {
        state.SkipWithError("the keyframe was not grabbed");
        return;
    }
    const CPoint offsets[] = {{3, -4}, {6, 2}, {3, 5}, {0, 0}};
    size_t i = 0;
    const long before = scene.host.modifies;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const CPoint o = offsets[i++ % std::size(offsets)];
        KivScreen::Get().MouseMove(CPoint(start.x + o.x, start.y + o.y));
    }
    KivBenchReportShareOfFrame(state, std::chrono::steady_clock::now() - begin);
    KivScreen::Get().MouseUp(start);
    if (scene.host.modifies - before < static_cast<long>(state.iterations())) state.SkipWithError("a step sent no message");
}

void BM_PosiDragStep(benchmark::State& state) {
    Scene scene;
    // An inner keyframe's point; its handles lie well apart from it.
    const CPoint start = scene.dialog.GetKeyFrmRect(scene.track->GetFXKeyFrm(kKeyFrames / 2), kKivFXPartKeyFrm).CenterPoint();
    DragSteps(state, scene, start, CKivFXPosiKeyFrmDlg::kDragKeyFrm);
}

void BM_PosiTimeNoteDragStep(benchmark::State& state) {
    Scene scene;
    const CPoint start = scene.dialog.GetTimeNoteRect(scene.track->GetFXKeyFrm(kKeyFrames / 2)).CenterPoint();
    DragSteps(state, scene, start, CKivFXPosiKeyFrmDlg::kDragTimeNote);
}

void BM_PosiFullRepaint(benchmark::State& state) {
    Scene scene;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        scene.dialog.Invalidate(TRUE);
        scene.dialog.UpdateWindow();
    }
    KivBenchReportShareOfFrame(state, std::chrono::steady_clock::now() - begin);
}

}  // namespace

BENCHMARK(BM_PosiDragStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PosiTimeNoteDragStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PosiFullRepaint)->Unit(benchmark::kMillisecond);
