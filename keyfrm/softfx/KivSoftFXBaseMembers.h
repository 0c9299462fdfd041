// The soft effect keyframes that derive directly from CKivSoftFXBaseKeyFrm. Their
// parameters live in memory only: each class level stores its version word alone.
#pragma once

#include "keyfrm/softfx/CKivSoftFXBaseKeyFrm.h"

class CKivSoftFXFaderKeyFrm : public CKivSoftFXBaseKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXFaderKeyFrm)
    short Param1;
};

class CKivSoftFXFlashKeyFrm : public CKivSoftFXBaseKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXFlashKeyFrm)
    int Param1;
};

class CKivSoftFXMoveKeyFrm : public CKivSoftFXBaseKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXMoveKeyFrm)
    CPoint Param1;
    CRect Param2;
};

class CKivSoftFXShineKeyFrm : public CKivSoftFXBaseKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXShineKeyFrm)
    int Param1;
    int Param2;
};
