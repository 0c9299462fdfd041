// The keyframe of the 3-D distort effect: where the four corners of the picture go.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"
#include "keyfrm/fx3d/SKiv3DFXPoint.h"

class CKiv3DFXDistortKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXDistortKeyFrm)
public:
    CKiv3DFXDistortKeyFrm();
    ~CKiv3DFXDistortKeyFrm() override = default;
    /// Every level's defaults: the corners of a 720 x 576 frame at depth 0. Cannot fail.
    void Default() override;

    SKiv3DFXPoint LeftTop;
    SKiv3DFXPoint RightTop;
    SKiv3DFXPoint RightBottom;
    SKiv3DFXPoint LeftBottom;
};
