// The keyframe of the 3-D wave effect.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

class CKiv3DFXWaveKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXWaveKeyFrm)
public:
    CKiv3DFXWaveKeyFrm();
    ~CKiv3DFXWaveKeyFrm() override = default;
    /// Every level's defaults. Cannot fail.
    void Default() override;

    float SpanAngle;  // angle spanned by the wave
    float WaveSplit;  // wave split
    float Swing;      // swing of the wave
};
