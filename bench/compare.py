#!/usr/bin/env python3
"""Runs a Google Benchmark program and prints each library figure as a ratio against
its baseline measured in the same run.

usage: compare.py [--cpu] BENCH_BINARY [PAIRS...] [-- extra benchmark args]
A pair is LIBRARY_NAME:BASELINE_NAME:GOAL (goal = the largest acceptable ratio).
Without pairs, every BM_X_Library is paired with BM_X_<anything else> of the same X.
--cpu compares CPU time instead of wall time (steadier on a machine shared with others).
"""
import json
import re
import subprocess
import sys


def auto_pairs(names):
    pairs = []
    for lib in names:
        m = re.match(r"^(BM_.+)_Library(.*)$", lib)
        if not m:
            continue
        for base in names:
            b = re.match(r"^(BM_.+)_(?!Library)[A-Za-z0-9]+(.*)$", base)
            if b and b.group(1) == m.group(1) and b.group(2) == m.group(2):
                pairs.append((lib, base, float("inf")))
    return pairs


def main():
    args = sys.argv[1:]
    field = "real_time"
    if args and args[0] == "--cpu":
        field, args = "cpu_time", args[1:]
    if not args:
        print(__doc__)
        return 2
    binary, rest = args[0], args[1:]
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
            times[b["run_name"]] = b[field]
    pairs = []
    for p in rest:
        lib, base, goal = p.rsplit(":", 2)
        pairs.append((lib, base, float(goal)))
    if not pairs:
        pairs = auto_pairs(list(times))
    failed = False
    print(f"{'measure (' + field + ', ns)':44} {'library':>12} {'baseline':>12} {'ratio':>8} {'goal':>6}")
    for lib, base, goal in pairs:
        if lib not in times or base not in times:
            print(f"{lib}: missing from the run")
            failed = True
            continue
        ratio = times[lib] / times[base]
        ok = ratio <= goal
        failed |= not ok
        print(f"{lib:44} {times[lib]:12.3f} {times[base]:12.3f} {ratio:8.3f} {goal:6.2f} {'ok' if ok else 'OVER'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
