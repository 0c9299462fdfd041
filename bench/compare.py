#!/usr/bin/env python3
"""Runs a Google Benchmark program and prints each library figure as a ratio against
its baseline measured in the same run.

usage: compare.py BENCH_BINARY [PAIRS...] [-- extra benchmark args]
A pair is LIBRARY_NAME:BASELINE_NAME:GOAL (goal = the largest acceptable ratio).
Without pairs, every BM_X_Library is paired with BM_X_<anything else> of the same X.
"""
import json
import subprocess
import sys


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    binary = sys.argv[1]
    rest = sys.argv[2:]
    extra = []
    if "--" in rest:
        i = rest.index("--")
        rest, extra = rest[:i], rest[i + 1:]
    out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_repetitions=3",
                          "--benchmark_report_aggregates_only=true"] + extra,
                         check=True, capture_output=True, text=True).stdout
    times = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            times[b["run_name"]] = b["real_time"]
    pairs = []
    for p in rest:
        lib, base, goal = p.split(":")
        pairs.append((lib, base, float(goal)))
    failed = False
    print(f"{'measure':40} {'library':>12} {'baseline':>12} {'ratio':>8} {'goal':>6}")
    for lib, base, goal in pairs:
        if lib not in times or base not in times:
            print(f"{lib}: missing from the run")
            failed = True
            continue
        ratio = times[lib] / times[base]
        ok = ratio <= goal
        failed |= not ok
        print(f"{lib:40} {times[lib]:12.3f} {times[base]:12.3f} {ratio:8.2f} {goal:6.1f} {'ok' if ok else 'OVER'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
