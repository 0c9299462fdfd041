// Tells the list functions which lists are tracks: the keyframe class each track takes
// and where its BaseOnFrame switch is.
#pragma once

/// Registers every track class of the library with KivFXRegisterTrackKind.
void KivFXRegisterTrackKinds();
