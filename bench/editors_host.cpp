// One mouse move of a keyframe drag in kfx edit's host window at 1280 x 720, the whole way a
// person's hand takes: the event into the screen, the curve window's drag and repaint, its
// message to the host, the host's status line and value box, the screen's paint, and the
// presenter's copy of the changed rectangles into the real window's surface (SDL's dummy
// driver stands in for a display where there is none; with DISPLAY set the copy goes to that
// X server); and one step of play. Figures are shares of a 60 Hz frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "KfxEditHost.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "platform/ui/Screen.h"
#if KIVFX_HAVE_SDL
#include "platform/sdl/KivSdl.h"
#endif

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
// One frame at 60 Hz in seconds; counters give each move's share of it in percent.
constexpr double kFrameSeconds = 1.0 / 60.0;
// The drag swings this many pixels up and down, so every move changes the value.
constexpr int kSwing = 40;

/// A document of one track, the demo's curve, on a screen of 1280 x 720.
std::unique_ptr<KfxEditDocument> DemoCurve() {
    KivScreen::Get().Resize(kWidth, kHeight);
    auto doc = KfxEditDocument::New(KfxTrackKindId::scalar, "/tmp/kfx-bench-editors.kfa");
    auto& t = static_cast<CKivFXInsKeyFrmList&>(*doc->Tracks()[0]);
    t.SetBaseOnFrame(1);
    t.InsMode = 1;
    t.MinValue = 0;
    t.MaxValue = 100;
    for (auto [f, v] : {std::pair{0, 0.0f}, {25, 80.0f}, {60, 20.0f}, {100, 100.0f}}) t.SendKeyFrmValue(f, v);
    return doc;
}

/// The host over the demo's curve, with keyframe 2 held by a drag.
class DragScene {
public:
    DragScene() {
        m_doc = DemoCurve();
        m_host = std::make_unique<KfxEditHost>(*m_doc);
        m_host->CreateOnScreen(0);
        KivScreen::Get().PaintAll();
        m_grip = m_host->Slot()->KeyFramePoints()[1];
        KivScreen::Get().MouseDown(m_grip);
        KivScreen::Get().TakeChangedArea();
    }
    ~DragScene() {
        KivScreen::Get().MouseUp(m_grip);
        m_host.reset();
    }
    bool Dragging() const { return m_host->Slot()->IsBusy(); }
    void Move() {
        m_up = !m_up;
        KivScreen::Get().MouseMove(CPoint(m_grip.x, m_grip.y + (m_up ? -kSwing : kSwing)));
    }

private:
    std::unique_ptr<KfxEditDocument> m_doc;
    std::unique_ptr<KfxEditHost> m_host;
    CPoint m_grip;
    bool m_up = false;
};

/// The presenter's copy: into an SDL window's surface when one opens, else the changed
/// rectangles into a buffer of the window's size row by row, as the surface copy does.
class Copy {
public:
    Copy() {
#if KIVFX_HAVE_SDL
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "dummy", 0);
        m_presenter = std::make_unique<KivSdlPresenter>();
        if (!m_presenter->Open("bench")) m_presenter.reset();
#endif
        m_buffer.resize(static_cast<size_t>(kWidth) * kHeight);
    }
    /// What the copy goes to: the SDL window's surface through its video driver (x11 when a
    /// display is set), or a plain buffer.
    std::string What() const {
#if KIVFX_HAVE_SDL
        if (m_presenter) return "SDL window surface through " + m_presenter->VideoDriver();
#endif
        return "buffer copy";
    }
    void Present() {
#if KIVFX_HAVE_SDL
        if (m_presenter) {
            m_presenter->PresentChanged();
            return;
        }
#endif
        KivScreen& screen = KivScreen::Get();
        for (const CRect& r : screen.TakeChangedRects())
            for (int y = r.top; y < r.bottom; ++y)
                std::memcpy(&m_buffer[static_cast<size_t>(y) * kWidth + static_cast<size_t>(r.left)],
                            screen.GetBits() + static_cast<size_t>(y) * static_cast<size_t>(screen.GetWidth()) + static_cast<size_t>(r.left),
                            static_cast<size_t>(r.Width()) * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(m_buffer.data());
    }

private:
#if KIVFX_HAVE_SDL
    std::unique_ptr<KivSdlPresenter> m_presenter;
#endif
    std::vector<std::uint32_t> m_buffer;
};

void ShareOfFrame(benchmark::State& state) {
    state.counters["frame_%"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFrameSeconds / 100.0,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The whole way of one move, as kfx edit runs it between two frames.
void BM_HostDragMove_Whole(benchmark::State& state) {
    Copy copy;
    DragScene scene;
    if (!scene.Dragging()) return state.SkipWithError("the drag did not start");
    for (auto _ : state) {
        scene.Move();
        KivScreen::Get().PaintAll();
        copy.Present();
    }
    state.SetLabel(copy.What());
    ShareOfFrame(state);
}

// The event, the editor with its own repaint, the message and the host's status update.
void BM_HostDragMove_EventToHost(benchmark::State& state) {
    DragScene scene;
    if (!scene.Dragging()) return state.SkipWithError("the drag did not start");
    for (auto _ : state) {
        scene.Move();
        KivScreen::Get().TakeChangedArea();
    }
    KivScreen::Get().PaintAll();
    ShareOfFrame(state);
}

// The screen's paint of what the host invalidated (status line, value box) and the copy.
void BM_HostDragMove_PaintAndCopy(benchmark::State& state) {
    Copy copy;
    DragScene scene;
    if (!scene.Dragging()) return state.SkipWithError("the drag did not start");
    for (auto _ : state) {
        state.PauseTiming();
        scene.Move();
        state.ResumeTiming();
        KivScreen::Get().PaintAll();
        copy.Present();
    }
    state.SetLabel(copy.What());
    ShareOfFrame(state);
}

// One step of play: the clock moves a frame on, the current frame advances, the curve dialog
// and window repaint what the marker's move changed, the value box and the status line
// follow, the screen paints.
void BM_HostPlaybackStep(benchmark::State& state) {
    auto doc = DemoCurve();
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
    ShareOfFrame(state);
}

}  // namespace

BENCHMARK(BM_HostPlaybackStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HostDragMove_Whole)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HostDragMove_EventToHost)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HostDragMove_PaintAndCopy)->Unit(benchmark::kMicrosecond);
