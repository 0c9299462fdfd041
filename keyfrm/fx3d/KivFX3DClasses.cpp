#include "keyfrm/core/KivFXKeyFrmModule.h"
#include "keyfrm/fx3d/KivFX3D.h"

std::span<const KivFXPersistClass> KivFX3DPersistClasses() {
    static const KivFXPersistClass classes[] = {
        KIV_CLASS(CKiv3DFXBaseKeyFrm),
        KIV_CLASS(CKiv3DFXArrayKeyFrm),
        KIV_CLASS(CKiv3DFXBendKeyFrm),
        KIV_CLASS(CKiv3DFXBlurWipeKeyFrm),
        KIV_CLASS(CKiv3DFXDistortKeyFrm),
        KIV_CLASS(CKiv3DFXFlyLightKeyFrm),
        KIV_CLASS(CKiv3DFXGhostKeyFrm),
        KIV_CLASS(CKiv3DFXGrowKeyFrm),
        KIV_CLASS(CKiv3DFXPageCurlKeyFrm),
        KIV_CLASS(CKiv3DFXPartPlayKeyFrm),
        KIV_CLASS(CKiv3DFXPartLifeKeyFrm),
        KIV_CLASS(CKiv3DFXQueueKeyFrm),
        KIV_CLASS(CKiv3DFXScrewKeyFrm),
        KIV_CLASS(CKiv3DFXSmashKeyFrm),
        KIV_CLASS(CKiv3DFXSpreadKeyFrm),
        KIV_CLASS(CKiv3DFXTileKeyFrm),
        KIV_CLASS(CKiv3DFXWaveKeyFrm),
        KIV_CLASS(CKiv3DFXWipeKeyFrm),
        KIV_CLASS(CKivFXEmitEllipseKeyFrm),
        KIV_CLASS(CKivFXEmitLineKeyFrm),
        KIV_CLASS(CKivFXEmitRectKeyFrm),
        KIV_CLASS(CKivFXEmitTriangleKeyFrm),
        KIV_CLASS(CKivFXColorMaskKeyFrm),
    };
    return classes;
}
