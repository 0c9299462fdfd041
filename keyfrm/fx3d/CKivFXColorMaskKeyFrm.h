// The colour mask keyframe: a mask colour as four float components. Its XML element
// carries the root keyframe's name, so the root's element nests inside one of the same name.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"

class CKivFXColorMaskKeyFrm : public CKivFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXColorMaskKeyFrm)
public:
    CKivFXColorMaskKeyFrm();
    ~CKivFXColorMaskKeyFrm() override = default;
    /// Every level's defaults: each component 255. Cannot fail.
    void Default() override;

    // In memory red, green, blue, alpha; both formats store red, blue, green, alpha.
    float Red;
    float Green;
    float Blue;
    float Alpha;
};
