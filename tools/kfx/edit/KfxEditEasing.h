// The easing presets keys 1 to 4 give a scalar or position track's keyframes, and which
// keyframes a key acts on.
#pragma once

#include <vector>

#include "KfxEditTime.h"
#include "keyfrm/core/CKivFXBaseKeyFrm.h"

enum class KfxEasing { linear, easeIn, easeOut, easeInOut };

/// The keyframes a key acts on: the selected ones, else the one at the current frame (by
/// Frame; a colour keyframe by the frame nearest its Location); in track order.
std::vector<CKivFXBaseKeyFrm*> KfxChosenKeyFrames(CKivObList& track, const KfxEditTime& time);

/// Gives each chosen keyframe of a scalar or position track the handles of the easing, and
/// the track Bezier interpolation. A handle toward a neighbour is a third of the way to it
/// in time; "linear" points it at the neighbour's value, a flat handle keeps the value (the
/// motion comes to rest there): ease in flattens the handle toward the previous keyframe,
/// ease out the one toward the next, ease in-out both. The first keyframe's handle before
/// it and the last's after it become zero. Returns how many keyframes changed; 0 for a
/// track without handles (colour).
int KfxApplyEasing(CKivObList& track, const std::vector<CKivFXBaseKeyFrm*>& chosen, KfxEasing easing);
