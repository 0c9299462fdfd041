// The keyframe of the 3-D page curl effect.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

class CKiv3DFXPageCurlKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXPageCurlKeyFrm)
public:
    CKiv3DFXPageCurlKeyFrm();
    ~CKiv3DFXPageCurlKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float Angle;   // angle of the curl
    float Radius;  // radius of the curl
};
