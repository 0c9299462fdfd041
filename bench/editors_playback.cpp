// One step of play in kfx edit's host window at 1280 x 720 with the demo's scalar track: the
// clock moves a frame on, the current frame advances, the curve dialog and window repaint what
// the marker's move changed, the value box and the status line follow, the screen paints. The
// figure is the step's share of a 60 Hz frame.
#include <benchmark/benchmark.h>

#include "KfxEditHost.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "platform/ui/Screen.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr double kFrameSeconds = 1.0 / 60.0;

void BM_HostPlaybackStep(benchmark::State& state) {
    KivScreen::Get().Resize(kWidth, kHeight);
    auto doc = KfxEditDocument::New(KfxTrackKindId::scalar, "/tmp/kfx-bench-playback.kfa");
    auto& t = static_cast<CKivFXInsKeyFrmList&>(*doc->Tracks()[0]);
    t.SetBaseOnFrame(1);
    t.InsMode = 1;
    t.MinValue = 0;
    t.MaxValue = 100;
    for (auto [f, v] : {std::pair{0, 0.0f}, {25, 80.0f}, {60, 20.0f}, {100, 100.0f}}) t.SendKeyFrmValue(f, v);
    KfxEditHost host(*doc);
    if (!host.CreateOnScreen(0)) return state.SkipWithError("the host did not open");
    KivScreen::Get().PaintAll();
    // A clock of its own: each step is exactly one frame of play later.
    const auto step = std::chrono::duration_cast<KfxEditHost::Clock::duration>(std::chrono::duration<double>(1.0 / host.FramesPerSecond()));
    auto now = KfxEditHost::Clock::now();
    host.TogglePlay(now);
    for (auto _ : state) {
        now += step;
        host.Idle(now);
        // At story out play stops; it starts over from story in, as Space there does.
        if (!host.IsPlaying()) host.TogglePlay(now);
        KivScreen::Get().PaintAll();
        KivScreen::Get().TakeChangedArea();
    }
    state.counters["frame_%"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFrameSeconds / 100.0,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_HostPlaybackStep)->Unit(benchmark::kMicrosecond);
