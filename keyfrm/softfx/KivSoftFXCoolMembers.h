// The soft effect keyframes that derive from CKivSoftFXCoolKeyFrm. Their parameters live
// in memory only: each class level stores its version word alone.
#pragma once

#include "keyfrm/softfx/CKivSoftFXCoolKeyFrm.h"

class CKivSoftFXBannerWaveKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXBannerWaveKeyFrm)
    double Param1, Param2, Param3, Param4, Param5, Param6, Param7;
};

class CKivSoftFXBlurWipeKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXBlurWipeKeyFrm)
    short Param1, Param2;
};

class CKivSoftFXColorFlowKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXColorFlowKeyFrm)
    short Param1;
    int Param2;
};

class CKivSoftFXFlameKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXFlameKeyFrm)
};

class CKivSoftFXHelixFormKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXHelixFormKeyFrm)
    double Param1, Param2, Param3, Param4, Param5, Param6, Param7;
    int Param8;
};

class CKivSoftFXMotionBlurKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXMotionBlurKeyFrm)
    int Param1;
    double Param2, Param3;
};

class CKivSoftFXPageCurlKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXPageCurlKeyFrm)
    int Param1, Param2, Param3, Param4;
};

class CKivSoftFXPerspectiveKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXPerspectiveKeyFrm)
    double Param1, Param2, Param3, Param4, Param5, Param6;
};

class CKivSoftFXPolygonFormKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXPolygonFormKeyFrm)
    int Param1, Param2, Param3;
};

class CKivSoftFXRadialBlurKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXRadialBlurKeyFrm)
    int Param1, Param2, Param3;
};

class CKivSoftFXRainDropKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXRainDropKeyFrm)
    int Param1, Param2, Param3, Param4;
};

class CKivSoftFXReflectionKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXReflectionKeyFrm)
    double Param1, Param2, Param3, Param4, Param5;
};

class CKivSoftFXRotateKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXRotateKeyFrm)
    int Param1;
};

class CKivSoftFXSineWaveKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXSineWaveKeyFrm)
    double Param1, Param2, Param3, Param4, Param5;
};

class CKivSoftFXSkewFormKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXSkewFormKeyFrm)
    double Param1, Param2;
    int Param3, Param4, Param5, Param6, Param7, Param8;
};

class CKivSoftFXSphereFormKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXSphereFormKeyFrm)
    CPoint Param1, Param2;
    CRect Param3, Param4;
    int Param5, Param6, Param7, Param8, Param9;
};

class CKivSoftFXTailKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXTailKeyFrm)
    int Param1, Param2;
};

class CKivSoftFXWaterWaveKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXWaterWaveKeyFrm)
    double Param1, Param2, Param3, Param4, Param5, Param6, Param7, Param8, Param9;
};

class CKivSoftFXWipeKeyFrm : public CKivSoftFXCoolKeyFrm {
    KIV_DECLARE_SOFTFX_LEVEL(CKivSoftFXWipeKeyFrm)
    int Param1;
};
