#!/usr/bin/env python3
"""Plots the demo project's scalar and colour tracks with matplotlib (the picture in docs/PYTHON.md).

usage: plot_demo_tracks.py DEMO.kfa OUT.png   (kfx demo writes DEMO.kfa)
"""

import sys

import matplotlib

matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import kivfx  # noqa: E402


def main(project_path, out_path):
    project = kivfx.load(project_path)
    curve = next(o for o in project if isinstance(o, kivfx.ScalarTrack))
    ramp = next(o for o in project if isinstance(o, kivfx.ColourTrack))

    frames = range(0, 101)
    fig, (top, bottom) = plt.subplots(2, 1, figsize=(7, 4.2), height_ratios=[3, 1], constrained_layout=True)
    top.plot(list(frames), curve.sample(frames=frames), color="#1f5fa8", label="value")
    keys = list(curve.keyframes)
    top.plot([k.Frame for k in keys], [k.Value for k in keys], "o", color="#c0392b", label="keyframes")
    top.set(xlabel="frame", ylabel="value", title="Scalar track (Bezier)")
    top.legend(loc="upper left")

    colours = ramp.sample(count=256)  # uint8 RGBA
    bottom.imshow(colours[np.newaxis, :, :], aspect="auto", extent=(0.0, 1.0, 0.0, 1.0))
    bottom.set(xlabel="location", yticks=[], title="Colour track")
    fig.savefig(out_path, dpi=100)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
