// Keyframes as clipboard text: the XML form of a track holding copies of them, so any
// program can read it and another `kfx edit` window can paste it.
#pragma once

#include <string>
#include <vector>

#include "KfxEditTime.h"
#include "keyfrm/core/CKivFXBaseKeyFrm.h"

/// The text of a track of track's class and settings holding copies of the chosen
/// keyframes (members of track). Raises KfxError or CMemoryException.
std::string KfxKeyFramesText(CKivObList& track, const std::vector<CKivFXBaseKeyFrm*>& chosen);

/// Pastes text made by KfxKeyFramesText into track: the first pasted keyframe lands on the
/// current frame and the others keep their spacing, values and handles; a keyframe landing
/// on an occupied frame replaces the one there. Returns how many were pasted; 0 with why
/// (one sentence) when the text holds no keyframes of a track of track's kind.
int KfxPasteKeyFramesText(CKivObList& track, const std::string& text, const KfxEditTime& time, std::string& why);
