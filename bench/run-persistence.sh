#!/usr/bin/env bash
# Builds bench_persistence in Release and prints the library/baseline ratios with their goals.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIVFX_BUILD_BENCH=ON -DKIVFX_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench --target bench_persistence >/dev/null
python3 bench/compare.py build-bench/bench/bench_persistence \
  BM_ArchiveStore_Library:BM_ArchiveStore_Baseline:5 \
  BM_ArchiveLoad_Library:BM_ArchiveLoad_Baseline:10 \
  BM_XmlStore_Library:BM_XmlStore_Pugixml:1.5 \
  BM_XmlLoad_Library:BM_XmlLoad_Pugixml:1.5
