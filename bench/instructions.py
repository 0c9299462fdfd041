#!/usr/bin/env python3
"""Counts instructions per evaluation with callgrind for pairs of cases of bench_tracks and
prints their ratios. Collection is switched on only around each case's measured loop
(bench_tracks --instructions CASE N, run under valgrind --collect-atstart=no), so the
counts leave out set-up and repeat exactly from run to run.

usage: instructions.py BENCH_BINARY LIBRARY_CASE:BASELINE_CASE:GOAL ...
(case names without the BM_ prefix; goal = the largest acceptable ratio)
"""
import os
import re
import subprocess
import sys
import tempfile

# Operations per case: enough to swamp the loop's own overhead, few enough for valgrind.
# The peer walks its keys at every call: 100,000 keys cost it about a million instructions.
# The first prefix a case starts with counts (every view of ours: View_, ViewSnapshot_, ViewBracket_).
OPS = {"InsValue": 20000, "SampleFrames": 1, "View_Peer": 200, "View": 20000}  # a sampling op is 100,000 samples


def evaluations_per_op(binary):
    out = subprocess.run([binary, "--list-cases"], check=True, capture_output=True, text=True).stdout
    return {name: int(n) for name, n in (line.split() for line in out.splitlines())}


def count(binary, case, per_op):
    ops = next(n for prefix, n in OPS.items() if case.startswith(prefix))
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "callgrind.out")
        subprocess.run(["valgrind", "--tool=callgrind", "--collect-atstart=no", f"--callgrind-out-file={path}",
                        binary, "--instructions", case, str(ops)], check=True, capture_output=True)
        with open(path) as f:
            total = next(int(m.group(1)) for line in f if (m := re.match(r"^(?:totals|summary):\s+(\d+)", line)))
    return total / (ops * per_op[case])


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    binary = sys.argv[1]
    per_op = evaluations_per_op(binary)
    failed = False
    print(f"{'case (instructions per evaluation)':40} {'library':>12} {'baseline':>12} {'ratio':>8} {'goal':>6}")
    for pair in sys.argv[2:]:
        lib, base, goal = pair.rsplit(":", 2)
        a, b = count(binary, lib, per_op), count(binary, base, per_op)
        ok = a / b <= float(goal)
        failed |= not ok
        print(f"{lib:40} {a:12.1f} {b:12.1f} {a / b:8.3f} {float(goal):6.2f} {'ok' if ok else 'OVER'}", flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
