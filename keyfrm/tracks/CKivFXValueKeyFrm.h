// The keyframe of a scalar track: a value with an incoming and an outgoing Bezier handle.
#pragma once

#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "keyfrm/tracks/SKivFXBezierHandle.h"

class CKivFXValueKeyFrm : public CKivFXInsValueKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXValueKeyFrm)
public:
    CKivFXValueKeyFrm() = default;
    ~CKivFXValueKeyFrm() override = default;

    // Members start at their table defaults, as the base class's do.
    float Value = 0.0f;             // the parameter's value here
    SKivFXBezierHandle PtFore{};    // handle towards the previous keyframe
    SKivFXBezierHandle PtAfter{};   // handle towards the next keyframe
};
