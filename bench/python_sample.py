#!/usr/bin/env python3
"""Sampling from Python: kivfx's sample() against a per-frame value_at loop and against MLT's
own Python binding evaluating an equivalent animated property per frame.

The track: 100 keyframes, Bezier, over frames 0..99,000; 100,000 frames sampled. MLT's
property holds the same keyframes as a "smooth" animation (its curved kind). Figures are
ratios against the per-frame loops measured in the same run; each time is the process's CPU time (the
best of several rounds), steadier than wall time on a shared machine. Run with Debian's interpreter and the built package on the path:

    PYTHONPATH=build/python /usr/bin/python3 bench/python_sample.py

Instructions instead of time (steady on a busy machine): run each way once under callgrind
and subtract the set-up, e.g.

    PYTHONPATH=build/python valgrind --tool=callgrind --callgrind-out-file=/dev/null \
        /usr/bin/python3 bench/python_sample.py --once sample    # and none, loop, mlt-setup, mlt
"""

import argparse
import random
import sys
import time

import kivfx

FRAMES = 100_000
KEYFRAMES = 100
SPACING = 1_000


def make_track():
    rng = random.Random(7)
    track = kivfx.ScalarTrack()
    track.MinValue, track.MaxValue = -1000.0, 1000.0
    track.interpolation = kivfx.Interpolation.BEZIER
    for i in range(KEYFRAMES):
        key = track.add(frame=i * SPACING, value=rng.uniform(-100.0, 100.0))
        key.PtFore = (rng.uniform(-20.0, 20.0), -SPACING / 3)
        key.PtAfter = (rng.uniform(-20.0, 20.0), SPACING / 3)
    return track


def best(fn, rounds):
    times = []
    for _ in range(rounds):
        start = time.process_time()
        fn()
        times.append(time.process_time() - start)
    return min(times)


def mlt_loop(track):
    try:
        import mlt7
    except ImportError:
        return None
    mlt7.Factory().init()
    props = mlt7.Properties()
    props.set("v", ";".join(f"{k.Frame}~={k.Value!r}" for k in track.keyframes))
    get = props.anim_get_double

    def run():
        for f in range(FRAMES):
            get("v", f, FRAMES)

    return run


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--once", choices=["none", "sample", "loop", "mlt-setup", "mlt"],
                        help="run one way once, untimed (for instruction counts under callgrind; "
                             "'none' and 'mlt-setup' are the set-ups alone, to subtract)")
    args = parser.parse_args()
    track = make_track()
    frames = range(FRAMES)
    value_at = track.value_at
    if args.once:
        track.sample(frames=range(1))  # loads NumPy, which every way then has
        if args.once.startswith("mlt"):
            run = mlt_loop(track)
            if args.once == "mlt":
                run()
        elif args.once == "sample":
            track.sample(frames=frames)
        elif args.once == "loop":
            [value_at(frame=f) for f in frames]
        return 0
    t_sample = best(lambda: track.sample(frames=frames), args.rounds)
    t_loop = best(lambda: [value_at(frame=f) for f in frames], max(1, args.rounds // 2))
    print(f"sample():            {t_sample * 1e3:9.2f} ms  ({t_sample / FRAMES * 1e9:7.1f} ns/frame)")
    print(f"value_at loop:       {t_loop * 1e3:9.2f} ms  ({t_loop / FRAMES * 1e9:7.1f} ns/frame)  "
          f"sample is {t_loop / t_sample:6.1f}x faster (goal 50x)")
    run = mlt_loop(track)
    if run is None:
        print("MLT loop:            skipped (python3-mlt is not installed)")
        return 0
    t_mlt = best(run, max(1, args.rounds // 2))
    print(f"MLT anim_get_double: {t_mlt * 1e3:9.2f} ms  ({t_mlt / FRAMES * 1e9:7.1f} ns/frame)  "
          f"sample is {t_mlt / t_sample:6.1f}x faster (goal 10x)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
