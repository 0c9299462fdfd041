// The keyframe of a position track: a point in 3-D space with an incoming and an outgoing
// handle that shape the path on each side.
#pragma once

#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "keyfrm/tracks/SKivFXPosiHandle.h"

class CKivFXPosiKeyFrm : public CKivFXInsValueKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXPosiKeyFrm)
public:
    CKivFXPosiKeyFrm();
    ~CKivFXPosiKeyFrm() override = default;

    /// Moves the position by the three amounts; the handles, being offsets, move with it.
    void OffsetPosi(float dx, float dy, float dz);

    // Members start at their table defaults, as the base class's do.
    float PosiX = 0.0f;
    float PosiY = 0.0f;
    float PosiZ = 0.0f;
    SKivFXPosiHandle Fore{};   // handle towards the previous keyframe
    SKivFXPosiHandle After{};  // handle towards the next keyframe
};
