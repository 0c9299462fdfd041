# Type stub of kivfx.mlt: tracks to and from MLT animation strings.
from typing import Optional, Tuple, Union, overload

from kivfx import ColourTrack, PositionTrack, ScalarTrack

@overload
def dumps(track: PositionTrack, *, tolerance: Optional[float] = None, frames: Optional[int] = None) -> Tuple[str, str, str]: ...
@overload
def dumps(track: Union[ScalarTrack, ColourTrack], *, tolerance: Optional[float] = None, frames: Optional[int] = None) -> str: ...
def loads(string: str, frames: int, *, min: Optional[float] = None, max: Optional[float] = None,
          tolerance: Optional[float] = None) -> ScalarTrack: ...
