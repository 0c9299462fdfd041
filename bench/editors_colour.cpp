// The colour dialog's costs on a 100-keyframe track, each reported as a share of a 60 Hz
// frame in percent ("frame%" counter, 100 = 16.7 ms of CPU time): one step of a colour-field drag (the edits, the
// luminance strip and the preview repainted), the end of that drag (the keyframe written,
// both bars redrawn) and a full repaint, at the template's size and laid out for 800 x 600.
#include <benchmark/benchmark.h>

#include <memory>

#include "keyfrm/editors/CKivFXClr32KeyFrmDlg.h"
#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"
#include "platform/ui/WindowSystem.h"

namespace {

constexpr int kKeyFrames = 100;
// A hundredth of a 60 Hz frame, in seconds: the counter's unit.
constexpr double kFramePercentSeconds = 1.0 / 60.0 / 100.0;
// Arguments: 0 for the template's size, else a client of kWideWidth x kWideHeight.
constexpr int kTemplateSize = 0;
constexpr int kWideWidth = 800;
constexpr int kWideHeight = 600;

std::unique_ptr<CKivFXColor32KeyFrmList> HundredKeys() {
    auto track = std::make_unique<CKivFXColor32KeyFrmList>();
    for (int i = 0; i < kKeyFrames; ++i) {
        const auto v = static_cast<BYTE>(i * 255 / (kKeyFrames - 1));
        track->SendKeyFrmValue(static_cast<double>(i) / (kKeyFrames - 1), v, static_cast<BYTE>(255 - v), BYTE{128}, BYTE{200});
    }
    return track;
}

// The dialog shown on a clean screen of its own size.
struct Shown {
    std::unique_ptr<CKivFXColor32KeyFrmList> track = HundredKeys();
    CWnd host;
    CKivFXClr32KeyFrmDlg dlg{track.get()};

    explicit Shown(int size) {
        KivScreen& screen = KivScreen::Get();
        const bool wide = size != kTemplateSize;
        screen.Resize(wide ? kWideWidth : 1, wide ? kWideHeight : 1);
        host.CreateEx(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, screen.GetWidth(), screen.GetHeight()), nullptr, 0);
        dlg.SetBuildEditor(wide ? 1 : 0);
        dlg.Create(&host);
        CRect r(0, 0, kWideWidth, kWideHeight);
        if (wide) {
            dlg.MoveWindow(&r);
        } else {
            dlg.GetWindowRect(&r);
            screen.Resize(r.Width(), r.Height());
            host.MoveWindow(0, 0, r.Width(), r.Height());
        }
        dlg.UpCurLocation(0.505);  // between two keyframes
        dlg.ShowWindow(SW_SHOW);
        screen.PaintAll();
    }
    ~Shown() {
        dlg.DestroyWindow();
        host.DestroyWindow();
    }
    // Two points inside the colour field, a few pixels apart.
    CPoint FieldPoint(bool second) const {
        const CRect f = dlg.GetAreaRect(IDC_CLR_PIC);
        return CPoint(f.left + f.Width() / 3 + (second ? 7 : 0), f.top + f.Height() / 2 + (second ? 5 : 0));
    }
};

void ReportFrameShare(benchmark::State& state) {
    // CPU seconds per iteration over a hundredth of a frame's seconds.
    state.counters["frame%"] =
        benchmark::Counter(kFramePercentSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ColourFieldDragStep(benchmark::State& state) {
    Shown shown(static_cast<int>(state.range(0)));
    KivScreen& screen = KivScreen::Get();
    screen.MouseDown(shown.FieldPoint(false));
    bool second = false;
    for (auto _ : state) {
        second = !second;
        screen.MouseMove(shown.FieldPoint(second));
        screen.PaintAll();
    }
    screen.MouseUp(shown.FieldPoint(second));
    ReportFrameShare(state);
}

void BM_ColourFieldDragEnd(benchmark::State& state) {
    Shown shown(static_cast<int>(state.range(0)));
    KivScreen& screen = KivScreen::Get();
    bool second = false;
    for (auto _ : state) {
        second = !second;
        const CPoint p = shown.FieldPoint(second);
        state.PauseTiming();
        screen.MouseDown(p);
        screen.PaintAll();
        state.ResumeTiming();
        screen.MouseUp(p);
        screen.PaintAll();
    }
    ReportFrameShare(state);
}

void BM_ColourFullRepaint(benchmark::State& state) {
    Shown shown(static_cast<int>(state.range(0)));
    KivScreen& screen = KivScreen::Get();
    for (auto _ : state) {
        shown.dlg.Invalidate(TRUE);
        screen.PaintAll();
    }
    ReportFrameShare(state);
}

void BM_ColourRelayout(benchmark::State& state) {
    Shown shown(kWideWidth);
    bool narrower = false;
    for (auto _ : state) {
        narrower = !narrower;
        shown.dlg.MoveWindow(0, 0, kWideWidth - (narrower ? 1 : 0), kWideHeight - (narrower ? 1 : 0));
        KivScreen::Get().PaintAll();
    }
    ReportFrameShare(state);
}

}  // namespace

BENCHMARK(BM_ColourFieldDragStep)->Arg(kTemplateSize)->Arg(kWideWidth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColourFieldDragEnd)->Arg(kTemplateSize)->Arg(kWideWidth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColourFullRepaint)->Arg(kTemplateSize)->Arg(kWideWidth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColourRelayout)->Unit(benchmark::kMicrosecond);
