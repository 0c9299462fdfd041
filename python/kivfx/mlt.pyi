# Type stub of kivfx.mlt: tracks to and from MLT animation strings.
from typing import Literal, Optional, Tuple, Union, overload

from kivfx import ColourTrack, PositionTrack, ScalarTrack

@overload
def dumps(track: PositionTrack, *, tolerance: Optional[float] = None, frames: Optional[int] = None) -> Tuple[str, str, str]: ...
@overload
def dumps(track: Union[ScalarTrack, ColourTrack], *, tolerance: Optional[float] = None, frames: Optional[int] = None) -> str: ...
@overload
def loads(string: str, frames: int, *, kind: Literal["scalar"] = "scalar", min: Optional[float] = None,
          max: Optional[float] = None, tolerance: Optional[float] = None) -> ScalarTrack: ...
@overload
def loads(string: str, frames: int, *, kind: Literal["colour"], min: None = None, max: None = None,
          tolerance: None = None) -> ColourTrack: ...
@overload
def loads(string: str, frames: int, *, kind: Literal["rect"], min: Optional[float] = None,
          max: Optional[float] = None, tolerance: Optional[float] = None) -> PositionTrack: ...
@overload
def loads(string: str, frames: int, *, kind: Literal["auto"], min: Optional[float] = None,
          max: Optional[float] = None, tolerance: Optional[float] = None) -> Union[ScalarTrack, ColourTrack, PositionTrack]: ...
