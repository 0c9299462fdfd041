"""Tracks to and from MLT animation strings ("0=0;25~=10;50|=3", as MLT 7.12 reads them).

    >>> import kivfx
    >>> track = kivfx.mlt.loads("0=0;25~=10;50|=3", 51)   # a ScalarTrack
    >>> kivfx.mlt.dumps(track)                             # back to a string

See docs/INTEROP.md for the mapping of kinds, the tolerance rule and the known limits.
"""

from kivfx._kivfx import mlt as _mlt

dumps = _mlt.dumps
loads = _mlt.loads

__all__ = ["dumps", "loads"]
