#!/usr/bin/env bash
# Builds bench_editors in Release and measures one mouse move of a keyframe drag in kfx edit
# twice: with the presenter's copy going through X11 to a private Xvfb server, and without a
# display (SDL's dummy driver). Medians of three repetitions; frame_% is the share of a 60 Hz
# frame in CPU time (goal: under 10). BUILD_DIR names the build folder (build-bench-x11).
# Exits 77 when xvfb-run is not installed (Debian: xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run not found: install xvfb" >&2
  exit 77
fi
dir=${BUILD_DIR:-build-bench-x11}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIVFX_BUILD_BENCH=ON -DKIVFX_BUILD_TESTS=OFF -DKIVFX_BUILD_SDL=ON >/dev/null
cmake --build "$dir" --target bench_editors -j2 >/dev/null
bin=$dir/bench/bench_editors
args=(--benchmark_filter=HostDragMove --benchmark_repetitions=3 --benchmark_report_aggregates_only=true)
echo "Through X11 to Xvfb (1280 x 800, 24 bits):"
xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "$bin" "${args[@]}" | grep _median
echo "Without a display (SDL's dummy driver):"
env -u DISPLAY "$bin" "${args[@]}" | grep _median
