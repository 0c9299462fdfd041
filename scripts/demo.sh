#!/usr/bin/env bash
# Installs what is missing, builds the library and kfx, and runs `kfx demo`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Every option stated (scripts/test.sh states them all as well, with the tests on): the two
# commands share the build folder in either order.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVFX_BUILD_TESTS=OFF -DKIVFX_BUILD_BENCH=OFF \
  -DKIVFX_BUILD_FUZZ=OFF -DKIVFX_SANITIZE=OFF -DKIVFX_BUILD_SDL=ON -DKIVFX_BUILD_PYTHON=OFF
cmake --build build --target kfx
./build/tools/kfx/kfx demo "${1:-kfx-demo}"
