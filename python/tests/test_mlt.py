"""kivfx.mlt: the demo's tracks written as MLT strings and read back within the tolerance, and
the string faults raised as FormatError with the library's message."""

import re

import pytest

import kivfx


def test_demo_tracks_go_out_and_back(demo):
    scalar, position, colour = [o for o in kivfx.load(demo / "demo.kfa") if isinstance(o, kivfx.Track)]
    tolerance = 0.001 * (scalar.MaxValue - scalar.MinValue)
    text = kivfx.mlt.dumps(scalar, tolerance=tolerance)
    assert isinstance(text, str) and "~=" in text
    frames = int(text.rsplit(";", 1)[1].split("=")[0].rstrip("~|")) + 1
    back = kivfx.mlt.loads(text, frames, min=scalar.MinValue, max=scalar.MaxValue, tolerance=tolerance)
    assert isinstance(back, kivfx.ScalarTrack) and len(back) >= len(scalar)
    # Out within the tolerance of the track, back within the tolerance of MLT.
    worst = max(abs(back.value_at(frame=f) - scalar.value_at(frame=f)) for f in range(frames))
    assert worst <= 2 * tolerance
    # The original keyframes keep their frames and values through both ways.
    for k in scalar.keyframes:
        assert back.value_at(frame=k.Frame) == pytest.approx(k.Value, abs=1e-4)

    # Colours and rectangles come back as the track classes that hold them.
    assert kivfx.mlt.loads(kivfx.mlt.dumps(colour), 101, kind="colour").value_at(location=0.5) == colour.value_at(location=0.5)
    rect = kivfx.mlt.loads("0=0/0:10x10;10~=50 -20 5 5;20=100/40:1x1", 21, kind="auto")
    assert isinstance(rect, kivfx.PositionTrack) and rect.value_at(frame=20) == (100.0, 40.0, 0.0)

    xyz = kivfx.mlt.dumps(position)
    assert isinstance(xyz, tuple) and len(xyz) == 3 and all(isinstance(s, str) for s in xyz)
    assert re.fullmatch(r"(\d+=#[0-9a-f]{8};)*\d+=#[0-9a-f]{8}", kivfx.mlt.dumps(colour))


@pytest.mark.parametrize("string, fault", [
    ("0=0;25~=10;1.5=3", r"^position 12: unexpected '.' in the frame number"),
    ("0=0;25a=10", r"^position 6: keyframe kind 'a'= \(sinusoidal in\) is not supported by this version"),
    ("0=0;25$=10", r"^position 6: .*smooth natural"),
    ("0=#ff000000;5=#fff", r"^position 14: a colour has 8 or 6 hex digits"),
])
def test_refused_strings_name_the_position(string, fault):
    with pytest.raises(kivfx.FormatError, match=fault):
        kivfx.mlt.loads(string, 51, kind="auto")


def test_bad_arguments_are_value_errors():
    for call in (lambda: kivfx.mlt.loads("0=1", 0), lambda: kivfx.mlt.dumps(kivfx.ScalarTrack(), tolerance=-1.0),
                 lambda: kivfx.mlt.loads("0=1", 5, min=2.0, max=1.0), lambda: kivfx.mlt.loads("0=1", 5, kind="hsv")):
        with pytest.raises(ValueError) as caught:
            call()
        assert not isinstance(caught.value, kivfx.FormatError)
