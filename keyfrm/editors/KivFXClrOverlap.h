// Keeping a keyframe dragged along the colour strip off the other keyframes: when it lands
// on one, it steps one pixel's worth of location aside, never leaving [0, 1].
#pragma once

#include "keyfrm/editors/KivFXTimeStrip.h"

/// KivFXStepOffOverlap clamped to [0, 1], for a step that is one pixel's worth of location.
/// Returns 1 when the keyframe moved; 0 (nothing changed) without a collision, for a null
/// list or keyframe, or a step that is not a positive finite number.
int KivFXClrMoveOffOverlap(CKivObList* list, CKivFXBaseKeyFrm* keyframe, float step, bool pointerStill);
