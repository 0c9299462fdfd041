// The 3-D effects without parameters of their own (blur wipe, screw, smash): their
// keyframes carry only the progress of the 3-D base.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"

class CKiv3DFXBlurWipeKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXBlurWipeKeyFrm)
public:
    CKiv3DFXBlurWipeKeyFrm() = default;
    ~CKiv3DFXBlurWipeKeyFrm() override = default;
    /// The 3-D base's defaults. Cannot fail.
    void Default() override;
};

class CKiv3DFXScrewKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXScrewKeyFrm)
public:
    CKiv3DFXScrewKeyFrm() = default;
    ~CKiv3DFXScrewKeyFrm() override = default;
    /// The 3-D base's defaults. Cannot fail.
    void Default() override;
};

class CKiv3DFXSmashKeyFrm : public CKiv3DFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKiv3DFXSmashKeyFrm)
public:
    CKiv3DFXSmashKeyFrm() = default;
    ~CKiv3DFXSmashKeyFrm() override = default;
    /// The 3-D base's defaults. Cannot fail.
    void Default() override;
};
