#!/usr/bin/env bash
# Builds bench_persistence in Release and prints the library/baseline ratios with their goals
# (wall and CPU time), one keyframe holding 200,000 list values in XML among them, and the
# floor under both loads: creating the objects alone, against the archive reader (no goal).
# With --callgrind, also the instructions per keyframe (per list value for the list rows) of
# each pass, which repeat exactly on a busy machine (takes some minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIVFX_BUILD_BENCH=ON -DKIVFX_BUILD_TESTS=OFF \
  -DKIVFX_BUILD_SDL=OFF >/dev/null
cmake --build build-bench --target bench_persistence -- -j2 >/dev/null
status=0
python3 bench/compare.py --cpu build-bench/bench/bench_persistence \
  BM_ArchiveStore_Library:BM_ArchiveStore_Baseline:5 \
  BM_ArchiveLoad_Library:BM_ArchiveLoad_Baseline:10 \
  BM_XmlStore_Library:BM_XmlStore_Pugixml:1.5 \
  BM_XmlLoad_Library:BM_XmlLoad_Pugixml:1.5 \
  BM_XmlListStore_Library:BM_XmlListStore_Pugixml:1.5 \
  BM_XmlListLoad_Library:BM_XmlListLoad_Pugixml:1.5 \
  BM_CreateObjects_Floor:BM_ArchiveLoad_Baseline || status=$?
if [[ "${1:-}" == "--callgrind" ]]; then
  python3 bench/callgrind.py build-bench/bench/bench_persistence 100000 \
    BM_ArchiveStore_Library:BM_ArchiveStore_Baseline \
    BM_ArchiveLoad_Library:BM_ArchiveLoad_Baseline \
    BM_XmlStore_Library:BM_XmlStore_Pugixml \
    BM_XmlLoad_Library:BM_XmlLoad_Pugixml \
    BM_CreateObjects_Floor:BM_ArchiveLoad_Baseline
  # The long list's rows: instructions per list value.
  python3 bench/callgrind.py build-bench/bench/bench_persistence 200000 \
    BM_XmlListStore_Library:BM_XmlListStore_Pugixml \
    BM_XmlListLoad_Library:BM_XmlListLoad_Pugixml
fi
exit $status
