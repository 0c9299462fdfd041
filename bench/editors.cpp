// The curve dialog at work on the headless screen: one drag step of a keyframe (the mouse
// move, the track change, the repaint of what the step invalidates, the message to the
// host) and one full repaint, in an 800 x 300 dialog holding a Bezier track of 100
// keyframes. Each is reported as a share of a 60 Hz frame, computed from the times
// measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>

#include "keyfrm/editors/CKivFXInsKeyFrmDlg.h"
#include "keyfrm/editors/KivFXCurveNotes.h"
#include "keyfrm/editors/KivFXEditorMessages.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "EditorBench.h"

namespace {

constexpr int kWidth = 800, kHeight = 300;
constexpr int kKeyFrames = 100;
// The story range, frames 0 to 990: ten frames between neighbouring keyframes.
constexpr int kStoryOut = 990;

// Counts the host's messages, as a host that reads the record would.
class Host : public CWnd {
public:
    long modifies = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == KivFXEditorMessages().modifyFromInsKFDlg && lParam) {
            benchmark::DoNotOptimize(reinterpret_cast<const InsKFDlgModifyInfo*>(lParam)->fValue);
            ++modifies;
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

std::unique_ptr<CKivFXInsKeyFrmList> MakeTrack() {
    auto t = std::make_unique<CKivFXInsKeyFrmList>();
    t->MinValue = -100.0f;
    t->MaxValue = 100.0f;
    t->InsMode = 1;
    for (int i = 0; i < kKeyFrames; ++i) {
        const double location = static_cast<double>(i) / (kKeyFrames - 1);
        CKivFXValueKeyFrm* k = t->SendKeyFrmValue(location, static_cast<float>(80.0 * std::sin(i * 0.7)));
        const double reach = 0.3 / (kKeyFrames - 1);
        k->PtFore = SKivFXBezierHandle{10.0f, -reach};
        k->PtAfter = SKivFXBezierHandle{-10.0f, reach};
    }
    return t;
}

// The host and the dialog on a screen of their size, painted once.
struct Scene {
    std::unique_ptr<CKivFXInsKeyFrmList> track = MakeTrack();
    Host host;
    CKivFXInsKeyFrmDlg dialog{&host};
    Scene() {
        dialog.SetRange(AquaEdit_Type_Number, 0, kStoryOut, track.get());
        KivBenchShowDialog(host, dialog, CSize(kWidth, kHeight));
    }
    ~Scene() {
        dialog.DestroyWindow();
        host.DestroyWindow();
    }
};

void BM_DragStep(benchmark::State& state) {
    Scene scene;
    // An inner keyframe's point; its handles lie well apart from it.
    CKivFXValueKeyFrm* k = scene.track->GetFXKeyFrm(kKeyFrames / 2);
    const CPoint start = scene.dialog.GetKeyFrmRect(k, kKivFXPartKeyFrm).CenterPoint();
    KivScreen::Get().MouseDown(start);
    if (!scene.dialog.IsDragging()) {
        state.SkipWithError("the keyframe was not grabbed");
        return;
    }
    // Back and forth over a few pixels each way: the keyframe moves in both directions and
    // the track is re-sorted at every step.
    const CPoint offsets[] = {{3, -4}, {6, 2}, {3, 5}, {0, 0}};
    size_t i = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const CPoint o = offsets[i++ % std::size(offsets)];
        KivScreen::Get().MouseMove(CPoint(start.x + o.x, start.y + o.y));
    }
    KivBenchReportShareOfFrame(state, std::chrono::steady_clock::now() - begin);
    KivScreen::Get().MouseUp(start);
    if (scene.host.modifies < static_cast<long>(state.iterations())) state.SkipWithError("a step sent no message");
}

void BM_FullRepaint(benchmark::State& state) {
    Scene scene;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        scene.dialog.Invalidate(TRUE);
        scene.dialog.UpdateWindow();
    }
    KivBenchReportShareOfFrame(state, std::chrono::steady_clock::now() - begin);
}

}  // namespace

BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

