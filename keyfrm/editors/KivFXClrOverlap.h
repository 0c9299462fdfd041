// Keeping a keyframe dragged along a strip of locations off the other keyframes: when it
// lands on one, it steps one pixel's worth of location aside.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "kivbase/CKivObList.h"

/// Two keyframes closer than this in location count as one place.
constexpr float kKivFXDragOverlapTolerance = 0.001f;

/// When another keyframe of list lies within kKivFXDragOverlapTolerance of keyframe's
/// Location (KivFXKeyFrmIsOverlapKF), moves keyframe by step (the location of one pixel):
/// backwards when the pointer did not move sideways since the last step (pointerStill) or
/// the location is 1 or more, forwards otherwise. The result stays within [0, 1]. Returns 1
/// when the keyframe moved; 0 (nothing changed) without a collision, for a null list or
/// keyframe, or a step that is not a positive finite number.
int KivFXClrMoveOffOverlap(CKivObList* list, CKivFXBaseKeyFrm* keyframe, float step, bool pointerStill);
