"""KivFXKeyFrm from Python: projects, every stored class, and the scalar, position and colour tracks.

    >>> import kivfx
    >>> project = kivfx.load("kfx-demo/demo.kfa")
    >>> curve = next(o for o in project if isinstance(o, kivfx.ScalarTrack))
    >>> curve.sample(frames=range(0, 101))       # float32 NumPy array, one value per frame

See docs/PYTHON.md for the type mapping, the errors and what may be shared between threads.
"""

from kivfx._kivfx import (
    ColourTrack,
    FormatError,
    HandleCoupling,
    Interpolation,
    List,
    Object,
    PositionTrack,
    Project,
    ScalarTrack,
    Track,
    classes,
    create,
    load,
    loads,
)
from kivfx import mlt as mlt  # tracks to and from MLT animation strings

__all__ = [
    "ColourTrack",
    "FormatError",
    "HandleCoupling",
    "Interpolation",
    "List",
    "Object",
    "PositionTrack",
    "Project",
    "ScalarTrack",
    "Track",
    "classes",
    "create",
    "load",
    "loads",
]
