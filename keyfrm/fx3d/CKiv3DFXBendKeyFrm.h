// The keyframe of the 3-D bend effect.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

class CKiv3DFXBendKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXBendKeyFrm)
public:
    CKiv3DFXBendKeyFrm();
    ~CKiv3DFXBendKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float Center;    // centre of the bend
    float Distance;  // bend distance
};
