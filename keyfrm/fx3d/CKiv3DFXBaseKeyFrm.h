// The base of every 3-D effect keyframe: the root keyframe plus the effect's progress.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"

class CKiv3DFXBaseKeyFrm : public CKivFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXBaseKeyFrm)
public:
    CKiv3DFXBaseKeyFrm();
    ~CKiv3DFXBaseKeyFrm() override = default;
    /// The root's defaults, then "Prog" 0.0. Cannot fail.
    void Default() override;

    float Prog;  // progress of the 3-D effect at this keyframe
};
