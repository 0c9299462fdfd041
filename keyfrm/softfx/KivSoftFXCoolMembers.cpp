#include "keyfrm/softfx/KivSoftFXCoolMembers.h"

namespace {

// Perspective's angles default to a right angle as the effect has always computed it,
// from a pi cut at eight decimals (not the exact half of pi).
constexpr double kPerspectiveRightAngle = 3.14159265 / 2;

}  // namespace

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXBannerWaveKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXBannerWaveKeyFrm, "CKivSoftFXBannerWaveKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 3.0),
          KivMemoryField<&Self::Param2>("Param2", 120.0),
          KivMemoryField<&Self::Param3>("Param3", 90.0),
          KivMemoryField<&Self::Param4>("Param4", 20.0),
          KivMemoryField<&Self::Param5>("Param5", 0.03),
          KivMemoryField<&Self::Param6>("Param6", 0.1),
          KivMemoryField<&Self::Param7>("Param7", 0.0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXBlurWipeKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXBlurWipeKeyFrm, "CKivSoftFXBlurWipeKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0),
          KivMemoryField<&Self::Param2>("Param2", 50))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXColorFlowKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXColorFlowKeyFrm, "CKivSoftFXColorFlowKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 10),
          KivMemoryField<&Self::Param2>("Param2", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXFlameKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL_EMPTY(CKivSoftFXFlameKeyFrm, "CKivSoftFXFlameKeyFrm", 0, 0)

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXHelixFormKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXHelixFormKeyFrm, "CKivSoftFXHelixFormKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0.0),
          KivMemoryField<&Self::Param2>("Param2", 0.0),
          KivMemoryField<&Self::Param3>("Param3", 0.0),
          KivMemoryField<&Self::Param4>("Param4", 0.0),
          KivMemoryField<&Self::Param5>("Param5", 0.0),
          KivMemoryField<&Self::Param6>("Param6", 0.0),
          KivMemoryField<&Self::Param7>("Param7", 1.0),
          KivMemoryField<&Self::Param8>("Param8", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXMotionBlurKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXMotionBlurKeyFrm, "CKivSoftFXMotionBlurKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0),
          KivMemoryField<&Self::Param2>("Param2", 0.0),
          KivMemoryField<&Self::Param3>("Param3", 0.0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXPageCurlKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXPageCurlKeyFrm, "CKivSoftFXPageCurlKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0),
          KivMemoryField<&Self::Param2>("Param2", 0),
          KivMemoryField<&Self::Param3>("Param3", 0),
          KivMemoryField<&Self::Param4>("Param4", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXPerspectiveKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXPerspectiveKeyFrm, "CKivSoftFXPerspectiveKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 1.0),
          KivMemoryField<&Self::Param2>("Param2", 1.0),
          KivMemoryField<&Self::Param3>("Param3", 1.0),
          KivMemoryField<&Self::Param4>("Param4", kPerspectiveRightAngle),
          KivMemoryField<&Self::Param5>("Param5", kPerspectiveRightAngle),
          KivMemoryField<&Self::Param6>("Param6", kPerspectiveRightAngle))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXPolygonFormKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXPolygonFormKeyFrm, "CKivSoftFXPolygonFormKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0),
          KivMemoryField<&Self::Param2>("Param2", 100),
          KivMemoryField<&Self::Param3>("Param3", 160))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXRadialBlurKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXRadialBlurKeyFrm, "CKivSoftFXRadialBlurKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0),
          KivMemoryField<&Self::Param2>("Param2", 0),
          KivMemoryField<&Self::Param3>("Param3", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXRainDropKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXRainDropKeyFrm, "CKivSoftFXRainDropKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0),
          KivMemoryField<&Self::Param2>("Param2", 0),
          KivMemoryField<&Self::Param3>("Param3", 13),
          KivMemoryField<&Self::Param4>("Param4", 128))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXReflectionKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXReflectionKeyFrm, "CKivSoftFXReflectionKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0.0),
          KivMemoryField<&Self::Param2>("Param2", 30.0),
          KivMemoryField<&Self::Param3>("Param3", 0.2),
          KivMemoryField<&Self::Param4>("Param4", 0.01),
          KivMemoryField<&Self::Param5>("Param5", 0.0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXRotateKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXRotateKeyFrm, "CKivSoftFXRotateKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXSineWaveKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXSineWaveKeyFrm, "CKivSoftFXSineWaveKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0.0),
          KivMemoryField<&Self::Param2>("Param2", 30.0),
          KivMemoryField<&Self::Param3>("Param3", 0.2),
          KivMemoryField<&Self::Param4>("Param4", 0.01),
          KivMemoryField<&Self::Param5>("Param5", 0.0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXSkewFormKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXSkewFormKeyFrm, "CKivSoftFXSkewFormKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 3.0),
          KivMemoryField<&Self::Param2>("Param2", 100.0),
          KivMemoryField<&Self::Param3>("Param3", 0),
          KivMemoryField<&Self::Param4>("Param4", 0),
          KivMemoryField<&Self::Param5>("Param5", 0),
          KivMemoryField<&Self::Param6>("Param6", 3000),
          KivMemoryField<&Self::Param7>("Param7", 0),
          KivMemoryField<&Self::Param8>("Param8", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXSphereFormKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXSphereFormKeyFrm, "CKivSoftFXSphereFormKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1"),
          KivMemoryField<&Self::Param2>("Param2"),
          KivMemoryField<&Self::Param3>("Param3"),
          KivMemoryField<&Self::Param4>("Param4"),
          KivMemoryField<&Self::Param5>("Param5", 0),
          KivMemoryField<&Self::Param6>("Param6", 0),
          KivMemoryField<&Self::Param7>("Param7", 0),
          KivMemoryField<&Self::Param8>("Param8", 0),
          KivMemoryField<&Self::Param9>("Param9", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXTailKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXTailKeyFrm, "CKivSoftFXTailKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0),
          KivMemoryField<&Self::Param2>("Param2", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXWaterWaveKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXWaterWaveKeyFrm, "CKivSoftFXWaterWaveKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0.0),
          KivMemoryField<&Self::Param2>("Param2", 8.0),
          KivMemoryField<&Self::Param3>("Param3", 0.0),
          KivMemoryField<&Self::Param4>("Param4", 0.0),
          KivMemoryField<&Self::Param5>("Param5", 0.0),
          KivMemoryField<&Self::Param6>("Param6", 0.0),
          KivMemoryField<&Self::Param7>("Param7", 50.0),
          KivMemoryField<&Self::Param8>("Param8", 0.5),
          KivMemoryField<&Self::Param9>("Param9", 0.5))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXWipeKeyFrm, CKivSoftFXCoolKeyFrm)
KIV_LEVEL(CKivSoftFXWipeKeyFrm, "CKivSoftFXWipeKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0))
