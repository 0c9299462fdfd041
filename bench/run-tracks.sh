#!/usr/bin/env bash
# Builds bench_tracks in Release (it needs MLT: libmlt-dev) and prints our track evaluation
# against MLT's animation API as ratios (goal: at most 0.1, ten times faster; the view's
# 100,000-keyframe rows against its 10-keyframe rows: at most 2): first by time
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
# A view (live, and the snapshot that copies values beside the keys) against the peer, and
# a view on 100,000 keyframes against one on 10 (goal: about twice at most), at random and
# at rising frames.
for order in random rising; do
  for view in View ViewSnapshot; do
    for keys in 10 1000 100000; do
      pairs+=("${view}_Library/${keys}/${order}:View_Peer/${keys}/${order}")
    done
    pairs+=("${view}_Library/100000/${order}:${view}_Library/10/${order}:2")
  done
  pairs+=("ViewBracket_Library/100000/${order}:ViewBracket_Library/10/${order}:2")  # the search alone
done
timed=()
counted=()
for p in "${pairs[@]}"; do
  # A pair may carry its own goal after a second colon.
  IFS=: read -r lib base own <<<"$p"
  timed+=("BM_${lib}:BM_${base}:${own:-$goal}")
  counted+=("${lib}:${base}:${own:-$goal}")
done
status=0
python3 bench/compare.py --cpu "$bin" "${timed[@]}" || status=$?
if [ "${INSTRUCTIONS:-1}" != 0 ]; then
  echo
  python3 bench/instructions.py "$bin" "${counted[@]}" || status=$?
fi
exit "$status"
