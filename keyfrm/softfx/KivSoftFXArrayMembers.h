// The soft effect keyframes that derive from CKivSoftFXArrayKeyFrm (the alpha keyframe,
// which stores a list, has its own file). Their parameters live in memory only.
#pragma once

#include "keyfrm/softfx/CKivSoftFXArrayKeyFrm.h"

class CKivSoftFXAllyScrollKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXAllyScrollKeyFrm)
    CArray<CPoint> Points1;
    CArray<CRect> Rects1;
};

class CKivSoftFXCrossKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXCrossKeyFrm)
    CArray<int> Ints1;
};

class CKivSoftFXGlideKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXGlideKeyFrm)
};

class CKivSoftFXGrowKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXGrowKeyFrm)
    CArray<CPoint> Points1;
    CArray<CPoint> Points2;
    CArray<int> Ints1;
    CArray<int> Ints2;
};

class CKivSoftFXPathKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXPathKeyFrm)
};

class CKivSoftFXPullKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXPullKeyFrm)
    CArray<int> Ints1;
};

class CKivSoftFXQueueKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXQueueKeyFrm)
};

/// Its arrays are the effect's working state: Default() and operator= leave them alone,
/// so a copy starts with its own empty arrays.
class CKivSoftFXScatterKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXScatterKeyFrm)
    CArray<int> Ints1;
    CArray<CRect> Rects1;
    CArray<CRect> Rects2;
};

class CKivSoftFXScrubKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXScrubKeyFrm)
};

class CKivSoftFXSpreadKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXSpreadKeyFrm)
    CArray<CPoint> Points1;
};

class CKivSoftFXStepBlurKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXStepBlurKeyFrm)
    CArray<int> Ints1;
    CArray<double> Doubles1;
    CArray<double> Doubles2;
    CArray<BYTE> Bytes1;
    CArray<int> Ints2;
};

/// Loading skips its version word without converting it (as older hosts did).
class CKivSoftFXTypeKeyFrm : public CKivSoftFXArrayKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXTypeKeyFrm)
    int Param1;
};
