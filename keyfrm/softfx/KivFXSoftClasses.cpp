#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/softfx/KivFXSoft.h"

std::span<const KivFXPersistClass> KivFXSoftPersistClasses() {
    static const KivFXPersistClass classes[] = {
        KIV_CLASS(CKivSoftFXBaseKeyFrm),
        KIV_CLASS(CKivSoftFXArrayKeyFrm),
        KIV_CLASS(CKivSoftFXCoolKeyFrm),
        // Members of CKivSoftFXBaseKeyFrm.
        KIV_CLASS(CKivSoftFXFaderKeyFrm),
        KIV_CLASS(CKivSoftFXFlashKeyFrm),
        KIV_CLASS(CKivSoftFXMoveKeyFrm),
        KIV_CLASS(CKivSoftFXMovieKeyFrm),
        KIV_CLASS(CKivSoftFXShineKeyFrm),
        // Members of CKivSoftFXArrayKeyFrm.
        KIV_CLASS(CKivSoftFXAllyScrollKeyFrm),
        KIV_CLASS(CKivSoftFXAlphaKeyFrm),
        KIV_CLASS(CKivSoftFXCrossKeyFrm),
        KIV_CLASS(CKivSoftFXGlideKeyFrm),
        KIV_CLASS(CKivSoftFXGrowKeyFrm),
        KIV_CLASS(CKivSoftFXPathKeyFrm),
        KIV_CLASS(CKivSoftFXPullKeyFrm),
        KIV_CLASS(CKivSoftFXQueueKeyFrm),
        KIV_CLASS(CKivSoftFXScatterKeyFrm),
        KIV_CLASS(CKivSoftFXScrubKeyFrm),
        KIV_CLASS(CKivSoftFXSpreadKeyFrm),
        KIV_CLASS(CKivSoftFXStepBlurKeyFrm),
        KIV_CLASS(CKivSoftFXTypeKeyFrm),
        // Members of CKivSoftFXCoolKeyFrm.
        KIV_CLASS(CKivSoftFXBannerWaveKeyFrm),
        KIV_CLASS(CKivSoftFXBlurWipeKeyFrm),
        KIV_CLASS(CKivSoftFXColorFlowKeyFrm),
        KIV_CLASS(CKivSoftFXFlameKeyFrm),
        KIV_CLASS(CKivSoftFXHelixFormKeyFrm),
        KIV_CLASS(CKivSoftFXMotionBlurKeyFrm),
        KIV_CLASS(CKivSoftFXPageCurlKeyFrm),
        KIV_CLASS(CKivSoftFXPerspectiveKeyFrm),
        KIV_CLASS(CKivSoftFXPolygonFormKeyFrm),
        KIV_CLASS(CKivSoftFXRadialBlurKeyFrm),
        KIV_CLASS(CKivSoftFXRainDropKeyFrm),
        KIV_CLASS(CKivSoftFXReflectionKeyFrm),
        KIV_CLASS(CKivSoftFXRotateKeyFrm),
        KIV_CLASS(CKivSoftFXSineWaveKeyFrm),
        KIV_CLASS(CKivSoftFXSkewFormKeyFrm),
        KIV_CLASS(CKivSoftFXSlideKeyFrm),
        KIV_CLASS(CKivSoftFXSphereFormKeyFrm),
        KIV_CLASS(CKivSoftFXTailKeyFrm),
        KIV_CLASS(CKivSoftFXWaterWaveKeyFrm),
        KIV_CLASS(CKivSoftFXWipeKeyFrm),
    };
    return classes;
}
