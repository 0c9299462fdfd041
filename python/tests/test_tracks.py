"""Tracks from Python: the values kfx sample prints, edits, modes, and handles that stay safe."""

import copy
import csv
import gc
import io
import subprocess
import threading

import numpy as np
import pytest

import kivfx


def _kfx_sample(kfx, path, track, *how):
    out = subprocess.run([kfx, "sample", str(path), "--track", str(track), *how], check=True, capture_output=True, text=True).stdout
    rows = list(csv.reader(io.StringIO(out)))
    return rows[0], rows[1:]


def test_samples_agree_with_kfx_sample(kfx, demo):
    project = kivfx.load(demo / "demo.kfa")
    tracks = [o for o in project if isinstance(o, kivfx.Track)]
    assert [type(t) for t in tracks] == [kivfx.ScalarTrack, kivfx.PositionTrack, kivfx.ColourTrack]
    for index, track in enumerate(tracks):
        hows = [("--count", "37")] if isinstance(track, kivfx.ColourTrack) else [("--frames", "-5:110"), ("--count", "37")]
        for how in hows:
            header, rows = _kfx_sample(kfx, demo / "demo.kfa", index, *how)
            if how[0] == "--frames":
                got = track.sample(frames=range(-5, 111))
                expected = np.array([[float(v) for v in r[1:]] for r in rows], dtype=np.float32)
            else:
                got = track.sample(count=37)
                expected = np.array([[float(v) for v in r[2:]] for r in rows]).astype(got.dtype)
            assert got.shape[0] == len(rows), (header, how)
            np.testing.assert_array_equal(got.reshape(len(rows), -1), expected, err_msg=f"{header} {how}")
        if not isinstance(track, kivfx.ColourTrack):
            # value_at and sample give the same values, whether sample walks a run of frames
            # (in chunks) or evaluates a stepped range frame by frame.
            for frames in (range(-140000, 140000), range(100, -6, -7)):
                per_frame = np.array([track.value_at(frame=f) for f in frames], dtype=np.float32)
                np.testing.assert_array_equal(track.sample(frames=frames).reshape(len(frames), -1), per_frame.reshape(len(frames), -1))


def test_sample_arguments():
    track = kivfx.ScalarTrack()
    assert track.sample(count=0).shape == (0,)
    assert track.sample(frames=range(3, 3)).shape == (0,)
    assert kivfx.PositionTrack().sample(count=2).shape == (2, 3)
    assert kivfx.ColourTrack().sample(count=2).dtype == np.uint8
    with pytest.raises(TypeError):
        track.sample()
    with pytest.raises(TypeError):
        track.sample(frames=[1, 2])
    with pytest.raises(OverflowError):
        track.sample(frames=range(2**31 - 1, 2**31 + 1))
    with pytest.raises(ValueError):
        track.sample(count=-1)
    with pytest.raises(TypeError):
        kivfx.ColourTrack().sample(frames=range(3))
    with pytest.raises(TypeError):
        track.value_at(frame=1, location=0.5)


def test_editing_a_scalar_track():
    track = kivfx.ScalarTrack()
    track.MaxValue = 100.0
    track.interpolation = kivfx.Interpolation.LINEAR
    first = track.add(frame=0, value=10.0)
    track.add(frame=10, value=30.0)
    assert track.value_at(frame=5) == pytest.approx(20.0)
    assert track.add(frame=10, value=40.0).Value == 40.0 and len(track) == 2, "a keyframe at the same frame is set, not added"
    track.shift(5)
    assert [k.Frame for k in track.keyframes] == [5, 15]
    track.reverse(5, 15)
    assert [(k.Frame, k.Value) for k in track.keyframes] == [(5, 40.0), (15, 10.0)]
    track.scale(0.5)
    assert track.value_at(frame=5) == 20.0 and track.MaxValue == 50.0
    track.select(first)
    assert track.selected == [first]
    track.unselect_all()
    assert track.selected == []
    track.InsMode = 7  # an older project's value: evaluated as Bezier, shown as it is
    assert track.interpolation == 7
    track.handle_coupling = kivfx.HandleCoupling.SYMMETRY
    assert track.CtrlMode == 2
    with pytest.raises(ValueError):
        track.remove(kivfx.create("CKivFXValueKeyFrm"))


def test_value_at_never_answers_for_keyframes_as_they_were():
    """value_at keeps a view of the track between calls; writes through any keyframe handle
    must reach it, keys included (those do not move the track's modification count)."""
    track = kivfx.ScalarTrack()
    track.MaxValue = 100.0
    track.interpolation = kivfx.Interpolation.LINEAR
    for frame, value in ((0, 0.0), (10, 10.0), (20, 80.0)):
        track.add(frame=frame, value=value)
    assert track.value_at(frame=5) == 5.0 and track.sample(frames=range(5, 6))[0] == 5.0
    key = track.keyframes[1]  # a handle of its own, not the track's
    key.Value = 20.0
    assert track.value_at(frame=5) == 10.0 and track.sample(frames=range(5, 6))[0] == 10.0
    key.Frame = 30  # the list is now out of frame order: 0, 30, 20
    assert track.value_at(frame=5) == 20.0 and track.value_at(frame=25) == 50.0
    fresh = copy.copy(track)  # no view made yet
    frames = range(-3, 35)
    assert [track.value_at(frame=f) for f in frames] == [fresh.value_at(frame=f) for f in frames]
    np.testing.assert_array_equal(track.sample(frames=frames), np.array([fresh.value_at(frame=f) for f in frames], dtype=np.float32))


def test_position_and_colour_values():
    path = kivfx.PositionTrack()
    path.add(frame=0, value=(1.0, 2.0, 3.0))
    path.offset(1.0, 1.0, 1.0)
    assert path.value_at(frame=0) == (2.0, 3.0, 4.0)
    ramp = kivfx.ColourTrack()
    ramp.add(location=0.0, value=(255, 0, 0, 255))
    ramp.add(location=1.0, value=0x800000FF)
    assert ramp.value_at(location=0.0) == (255, 0, 0, 255)
    assert ramp.value_at(location=1.0) == (0, 0, 255, 128)
    with pytest.raises(TypeError):
        ramp.add(frame=3, value=0)
    with pytest.raises(ValueError):
        ramp.add(location=0.5, value=(256, 0, 0, 0))


def test_handles_outlive_removal_and_their_project():
    project = kivfx.Project()
    track = kivfx.ScalarTrack()
    project.append(track)
    key = track.add(frame=1, value=2.0)
    track.remove(key)
    del project
    gc.collect()
    assert len(track) == 0 and key.Value == 2.0, "the track lives while its handle does, the removed key too"
    with pytest.raises(ValueError):
        kivfx.Project().append(track)  # it already belongs to a list
    own = kivfx.Project()
    nested = kivfx.Project()
    own.append(nested)
    with pytest.raises(ValueError):
        nested.append(own)  # a list holding itself


def test_sampling_from_threads_agrees():
    track = kivfx.ScalarTrack()
    track.interpolation = kivfx.Interpolation.BEZIER
    track.MaxValue = 1000.0
    for f in range(0, 1000, 10):
        track.add(frame=f, value=float(f % 70))
    expected = track.sample(frames=range(0, 1000))
    results = [None] * 4

    def work(i):
        results[i] = track.sample(frames=range(0, 1000))

    threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for r in results:
        np.testing.assert_array_equal(r, expected)
