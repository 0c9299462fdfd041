// Tells the list functions which lists are tracks (the keyframe class each track takes and
// where its BaseOnFrame switch is) and which keyframes are placed by frame.
#pragma once

/// Registers every track class of the library with KivFXRegisterTrackKind, and the
/// frame-placed keyframe class with KivFXRegisterFramedKind.
void KivFXRegisterTrackKinds();
