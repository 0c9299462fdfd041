// Free functions that treat any keyframe list as a time-ordered sequence: ordered
// insertion, exact and neighbour lookup, bracketing, overlap test and re-sort.
#pragma once

/// Exists for hosts that bracket their use of the library; holds no state. Always 1.
int KivFXKeyFrmOpen();
/// Counterpart of KivFXKeyFrmOpen; always 1.
int KivFXKeyFrmClose();
