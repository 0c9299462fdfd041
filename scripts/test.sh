#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the plain build, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, a host program built
# against the installed package, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
# Every configure below states every project option, so what an earlier command (the demo,
# a build by hand) left in a build folder's cache never decides what is built or tested;
# every ctest call fails when it finds no tests instead of passing quietly.
options=(-DKIVFX_BUILD_TESTS=ON -DKIVFX_BUILD_BENCH=OFF -DKIVFX_BUILD_FUZZ=OFF)

echo "== plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" -DKIVFX_SANITIZE=OFF -DKIVFX_BUILD_SDL=ON \
  -DKIVFX_BUILD_PYTHON=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure --no-tests=error -j "$jobs"

echo "== the Python package installed by pip into a scratch virtual environment"
# Reuses the plain build's objects: the check is the packaging, not another compile.
bash python/tests/pip_install_check.sh build

echo "== sanitizer build and tests"
# The Python module stays out: the interpreter itself is not built with the sanitizers.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug "${options[@]}" -DKIVFX_SANITIZE=ON -DKIVFX_BUILD_SDL=OFF \
  -DKIVFX_BUILD_PYTHON=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure --no-tests=error -j "$jobs"

echo "== installed package used by a host program"
bash tests/host/run.sh build

echo "== fuzzing: every target for a short while (fuzz/run.sh)"
# A crash, leak or limit fails the whole run (the input is kept under fuzz/regressions/);
# KIVFX_FUZZ_STRICT=0 reports it loudly without failing, e.g. while a loader change waits
# for its first full fuzz run.
if ! KIVFX_JOBS="$jobs" bash fuzz/run.sh "${KIVFX_FUZZ_SECONDS:-45}"; then
  echo "FUZZING FOUND A PROBLEM: see the output above (fuzz/run.sh)"
  if [ "${KIVFX_FUZZ_STRICT:-1}" = 1 ]; then exit 1; fi
fi
