#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each one for SECONDS on a seed corpus made from samples of every registered class.
#
#   fuzz/run.sh [SECONDS] [TARGET...]      (default: 60 seconds, every available target)
#
# Any crash, sanitizer report, leak, hang (an input taking over 10 s) or allocation over the
# limit fails the run; the input that caused it is copied to fuzz/regressions/<target>/,
# where the normal tests replay it. Executions and seconds per target are printed at the end
# and kept in <build>/fuzz-work/summary.txt. Environment: KIVFX_FUZZ_BUILD_DIR (build-fuzz),
# KIVFX_JOBS (build jobs, default nproc).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
build=${KIVFX_FUZZ_BUILD_DIR:-build-fuzz}
jobs=${KIVFX_JOBS:-$(nproc)}

# A single allocation of 64 MiB or more is a failure: no input of the sizes fuzzed (the
# largest seed, a few tens of KiB) needs a block of more than a few times its size, while
# a count or length believed from hostile data asks for gigabytes.
malloc_limit_mb=64
rss_limit_mb=2048
# An input that takes this long is a hang (normal inputs take milliseconds under ASan).
timeout_s=10

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DKIVFX_BUILD_FUZZ=ON -DKIVFX_BUILD_TESTS=OFF -DKIVFX_BUILD_SDL=OFF -DKIVFX_BUILD_BENCH=OFF -DKIVFX_SANITIZE=OFF -DKIVFX_BUILD_PYTHON=OFF >/dev/null
cmake --build "$build" -j "$jobs"

work="$build/fuzz-work"
rm -rf "$work/seeds" "$work/artifacts" "$work/logs"
mkdir -p "$work/logs"
"$build/fuzz/kivfx_fuzz_seeds" "$work/seeds"

targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  mapfile -t targets < <("$build/fuzz/kivfx_fuzz_seeds" --list)
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
summary="$work/summary.txt"
printf '%-16s %12s %8s %10s %s\n' target executions seconds exec/s result >"$summary"
for t in "${targets[@]}"; do
  corpus="$work/corpus/$t"
  artifacts="$work/artifacts/$t"
  regressions="fuzz/regressions/$t"
  log="$work/logs/$t.log"
  mkdir -p "$corpus" "$artifacts"
  inputs=("$corpus" "$work/seeds/$t")
  [ -d "$regressions" ] && inputs+=("$regressions")
  options=()
  [ -s "$work/seeds/$t.dict" ] && options+=(-dict="$work/seeds/$t.dict")
  echo "== fuzz_$t for ${seconds}s"
  rc=0
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -malloc_limit_mb="$malloc_limit_mb" \
    -rss_limit_mb="$rss_limit_mb" -timeout="$timeout_s" "${options[@]}" \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "${inputs[@]}" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  runs=${runs:-0}
  secs=${secs:-$seconds}
  rate=$((secs > 0 ? runs / secs : runs))
  result=ok
  if [ "$rc" -ne 0 ]; then
    result="FAILED (exit $rc)"
    failed+=("$t")
    for a in "$artifacts"/*; do
      [ -e "$a" ] || continue
      mkdir -p "$regressions"
      cp "$a" "$regressions/" && echo "kept $regressions/$(basename "$a")"
    done
    tail -n 60 "$log"
  fi
  printf '%-16s %12s %8s %10s %s\n' "$t" "$runs" "$secs" "$rate" "$result" | tee -a "$summary"
done

echo "== summary (also in $summary)"
cat "$summary"
if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs kept under fuzz/regressions/)"
  exit 1
fi
