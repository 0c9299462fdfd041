#!/usr/bin/env python3
"""Runs a Google Benchmark program and prints each library figure as a ratio against
its baseline measured in the same run, in wall and in CPU time; the goal is checked on
CPU time, which other work on a shared machine disturbs less.

usage: compare.py BENCH_BINARY [PAIRS...] [-- extra benchmark args]
A pair is LIBRARY_NAME:BASELINE_NAME[:GOAL] (goal = the largest acceptable ratio; a pair
without one is only shown).
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
    times = {}  # wall and CPU time of each measure's median run
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            times[b["run_name"]] = (b["real_time"], b["cpu_time"])
    pairs = []
    for p in rest:
        lib, base, *goal = p.split(":")
        pairs.append((lib, base, float(goal[0]) if goal else None))
    failed = False
    print(f"{'measure (ms, median)':32} {'lib wall':>9} {'base wall':>9} {'ratio':>6} "
          f"{'lib CPU':>9} {'base CPU':>9} {'ratio':>6} {'goal':>5}")
    for lib, base, goal in pairs:
        if lib not in times or base not in times:
            print(f"{lib}: missing from the run")
            failed = True
            continue
        (lib_wall, lib_cpu), (base_wall, base_cpu) = times[lib], times[base]
        ratio = lib_cpu / base_cpu
        verdict = "-"
        if goal is not None:
            failed |= ratio > goal
            verdict = f"{goal:5.1f} {'ok' if ratio <= goal else 'OVER'}"
        print(f"{lib:32} {lib_wall:9.3f} {base_wall:9.3f} {lib_wall / base_wall:6.2f} "
              f"{lib_cpu:9.3f} {base_cpu:9.3f} {ratio:6.2f} {verdict}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
