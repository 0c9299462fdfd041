#!/usr/bin/env bash
# Installs what is missing, builds the library and kfx, and runs `kfx demo`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVFX_BUILD_TESTS=OFF
cmake --build build --target kfx
./build/tools/kfx/kfx demo "${1:-kfx-demo}"
