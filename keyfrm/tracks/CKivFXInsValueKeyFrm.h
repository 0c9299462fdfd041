// A keyframe placed by frame number as well as by location, with an interpolation kind.
// The position, colour and scalar keyframes derive from it.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"

class CKivFXInsValueKeyFrm : public CKivFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXInsValueKeyFrm)
public:
    CKivFXInsValueKeyFrm() = default;
    ~CKivFXInsValueKeyFrm() override = default;

    // Members start at their table defaults (the samplers make one keyframe per sample, so
    // construction stays cheap); a test checks every class's new objects against its table.
    int InsKind = 0;  // stored and copied; the tracks' interpolation does not read it (16 bits stored)
    int Frame = 0;    // frame number, for frame-based tracks; optional in older data
};
