// The keyframe of the 3-D ghost effect: the picture and a fainter ghost image of it.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

class CKiv3DFXGhostKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXGhostKeyFrm)
public:
    CKiv3DFXGhostKeyFrm();
    ~CKiv3DFXGhostKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float Pitch;
    float Distance;    // distance of the ghost image
    float ProjectDir;  // projection direction
    float ZDirection;  // direction along the depth axis
    float BodyAlpha;   // opacity of the picture itself
    float GhostAlpha;  // opacity of the ghost image
};
