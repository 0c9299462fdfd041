// The base of every soft (2-D) effect keyframe. Its parameter lives in memory only: the
// record holds the version word alone.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "keyfrm/softfx/KivSoftFXLevel.h"

class CKivSoftFXBaseKeyFrm : public CKivFXBaseKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXBaseKeyFrm)
    int BaseParam;
};
