#!/usr/bin/env python3
"""Counts the instructions of each measured pass under callgrind (exact and repeatable,
unlike times on a shared machine) and prints them per keyframe with the ratio against
the baseline.

usage: callgrind.py BENCH_BINARY KEYFRAMES PAIRS...
A pair is LIBRARY_NAME:BASELINE_NAME (benchmark names, BM_<X>). Each benchmark runs
for exactly one pass; only its Pass_<X> function is counted.
"""
import json
import os
import re
import subprocess
import sys
import tempfile


def instructions(binary, name):
    """(instructions, iterations) of benchmark name's pass function."""
    pass_fn = "Pass_" + name[len("BM_"):]
    with tempfile.TemporaryDirectory() as tmp:
        out_file = os.path.join(tmp, "callgrind.out")
        run = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out_file}",
                              f"--toggle-collect=*{pass_fn}*", binary, f"--benchmark_filter=^{name}$",
                              "--benchmark_min_time=0.000001", "--benchmark_format=json"],
                             check=True, capture_output=True, text=True)
        iterations = json.loads(run.stdout)["benchmarks"][0]["iterations"]
        with open(out_file) as f:
            totals = re.search(r"^totals:\s+(\d+)", f.read(), re.M)
    return int(totals.group(1)), iterations


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    binary, keyframes, pairs = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    print(f"{'measure (instructions per keyframe)':40} {'library':>12} {'baseline':>12} {'ratio':>8}")
    for pair in pairs:
        lib, base = pair.split(":")
        per_key = {}
        for name in (lib, base):
            ir, iterations = instructions(binary, name)
            per_key[name] = ir / (iterations * keyframes)
        print(f"{lib:40} {per_key[lib]:12.1f} {per_key[base]:12.1f} {per_key[lib] / per_key[base]:8.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
