#!/usr/bin/env bash
# Builds bench_tracks in Release (it needs MLT: libmlt-dev) and prints our track evaluation
# against MLT's animation API as ratios (goal: at most 0.1, ten times faster): first by time
# (CPU time, median of 3 repetitions), then by instructions counted with callgrind (set
# INSTRUCTIONS=0 to skip that part, which takes a few minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIVFX_BUILD_BENCH=ON -DKIVFX_BUILD_TESTS=OFF -DKIVFX_BUILD_SDL=OFF >/dev/null
cmake --build build-bench --target bench_tracks -j2 >/dev/null
bin=build-bench/bench/bench_tracks
goal=0.1
pairs=()
for keys in 2 10 1000; do
  for mode in linear bezier; do
    for lib in InsValueFrame InsValueLocation; do
      pairs+=("${lib}_Library/${keys}/${mode}:InsValue_Peer/${keys}/${mode}")
    done
  done
done
for keys in 2 100 10000; do
  pairs+=("SampleFrames_Library/${keys}:SampleFrames_Peer/${keys}")
  pairs+=("SampleFramesAndFree_Library/${keys}:SampleFrames_Peer/${keys}")
done
timed=()
counted=()
for p in "${pairs[@]}"; do
  timed+=("BM_${p%%:*}:BM_${p#*:}:${goal}")
  counted+=("${p}:${goal}")
done
status=0
python3 bench/compare.py --cpu "$bin" "${timed[@]}" || status=$?
if [ "${INSTRUCTIONS:-1}" != 0 ]; then
  echo
  python3 bench/instructions.py "$bin" "${counted[@]}" || status=$?
fi
exit "$status"
