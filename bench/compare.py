#!/usr/bin/env python3
"""Runs a Google Benchmark program and prints each library figure as a ratio against
its baseline measured in the same run, in wall and in CPU time.

usage: compare.py [--cpu] BENCH_BINARY [PAIRS...] [-- extra benchmark args]
A pair is LIBRARY_NAME:BASELINE_NAME[:GOAL] (goal = the largest acceptable ratio; a pair
without one is only shown).
Without pairs, every BM_X_Library is paired with BM_X_<anything else> of the same X.
The goal is checked on wall time, or with --cpu on CPU time (steadier on a machine shared
with others).
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
                pairs.append((lib, base, None))
    return pairs


def main():
    args = sys.argv[1:]
    checked = "wall"
    if args and args[0] == "--cpu":
        checked, args = "CPU", args[1:]
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
    times = {}  # wall and CPU time of each measure's median run
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            times[b["run_name"]] = (b["real_time"], b["cpu_time"], b["time_unit"])
    pairs = []
    for p in rest:
        lib, base, *goal = p.split(":")
        pairs.append((lib, base, float(goal[0]) if goal else None))
    if not pairs:
        pairs = auto_pairs(list(times))
    failed = False
    print(f"{'measure (median)':44} {'lib wall':>10} {'base wall':>10} {'ratio':>7} "
          f"{'lib CPU':>10} {'base CPU':>10} {'ratio':>7}  goal ({checked})")
    for lib, base, goal in pairs:
        if lib not in times or base not in times:
            print(f"{lib}: missing from the run")
            failed = True
            continue
        (lib_wall, lib_cpu, unit), (base_wall, base_cpu, _) = times[lib], times[base]
        wall, cpu = lib_wall / base_wall, lib_cpu / base_cpu
        verdict = "-"
        if goal is not None:
            ratio = cpu if checked == "CPU" else wall
            failed |= ratio > goal
            verdict = f"{goal:g} {'ok' if ratio <= goal else 'OVER'}"
        print(f"{lib:44} {lib_wall:10.3f} {base_wall:10.3f} {wall:7.3f} "
              f"{lib_cpu:10.3f} {base_cpu:10.3f} {cpu:7.3f}  {verdict}  ({unit})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
