// The base of the soft effect keyframes of the "cool" effects (waves, blurs, forms).
#pragma once

#include "keyfrm/softfx/CKivSoftFXArrayKeyFrm.h"

class CKivSoftFXCoolKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXCoolKeyFrm)
    BYTE CoolParam;
};
