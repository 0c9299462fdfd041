// The keyframe of the 3-D flying light effect.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

class CKiv3DFXFlyLightKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXFlyLightKeyFrm)
public:
    CKiv3DFXFlyLightKeyFrm();
    ~CKiv3DFXFlyLightKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float Angle;      // angle of the flying light
    float HalfRange;  // half of the light's range
    DWORD Color;      // packed colour of the light (alpha << 24 | red << 16 | green << 8 | blue)
};
