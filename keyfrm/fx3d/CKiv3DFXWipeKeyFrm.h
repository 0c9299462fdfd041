// The keyframe of the 3-D wipe effect.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

class CKiv3DFXWipeKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXWipeKeyFrm)
public:
    CKiv3DFXWipeKeyFrm();
    ~CKiv3DFXWipeKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float Angle;  // angle of the wipe edge
    float Soft;   // softness of the wipe edge
};
