// The base of the soft effect keyframes that keep arrays of run-time parameters (memory
// only, like every parameter of the family).
#pragma once

#include "keyfrm/softfx/CKivSoftFXBaseKeyFrm.h"

class CKivSoftFXArrayKeyFrm : public CKivSoftFXBaseKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXArrayKeyFrm)
    int ArrayParam1;
    int ArrayParam2;
    int ArrayParam3;
    CArray<int> ArrayInts1;
    CArray<CRect> ArrayRects1;
    CArray<CRect> ArrayRects2;
    CArray<int> ArrayInts2;
    CArray<int> ArrayInts3;
};
