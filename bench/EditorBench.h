// What the editors' benchmarks share: a dialog shown in a host window filling the headless
// screen, and a measured time reported as a share of a 60 Hz frame.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

#include "platform/ui/WindowSystem.h"

inline constexpr double kKivBenchFrameMs = 1000.0 / 60.0;  // one frame at 60 Hz

/// Creates host as a top-level window of size on a screen of that size, creates dialog in
/// it (its range and track already set), shows it over the whole host and paints once.
template <class Dialog>
void KivBenchShowDialog(CWnd& host, Dialog& dialog, CSize size) {
    KivScreen::Get().Resize(size.cx, size.cy);
    const CRect area(0, 0, size.cx, size.cy);
    host.CreateEx(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, area, nullptr, 0);
    dialog.Create(&host);
    dialog.MoveWindow(&area, FALSE);
    dialog.ShowWindow(SW_SHOW);
    KivScreen::Get().PaintAll();
}

/// Reports spent over the run's iterations as counters "ms" (per iteration) and "frame_%"
/// (that time as a share of a 60 Hz frame).
inline void KivBenchReportShareOfFrame(benchmark::State& state, std::chrono::steady_clock::duration spent) {
    const double ms = std::chrono::duration<double, std::milli>(spent).count() / static_cast<double>(state.iterations());
    state.counters["ms"] = ms;
    state.counters["frame_%"] = 100.0 * ms / kKivBenchFrameMs;
}
