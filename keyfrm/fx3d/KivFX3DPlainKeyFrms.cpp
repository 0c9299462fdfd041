#include "keyfrm/fx3d/KivFX3DPlainKeyFrms.h"

// No level here has fields: each writes its version word alone and no "DataMember".

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXBlurWipeKeyFrm, CKiv3DFXBaseKeyFrm)
KIV_LEVEL_EMPTY(CKiv3DFXBlurWipeKeyFrm, "CKiv3DFXBlurWipeKeyFrm", 0, 0)
KIV_IMPLEMENT_DEFAULT(CKiv3DFXBlurWipeKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXScrewKeyFrm, CKiv3DFXBaseKeyFrm)
KIV_LEVEL_EMPTY(CKiv3DFXScrewKeyFrm, "CKiv3DFXScrewKeyFrm", 0, 0)
KIV_IMPLEMENT_DEFAULT(CKiv3DFXScrewKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_IMPLEMENT_PERSIST_LEVEL(CKiv3DFXSmashKeyFrm, CKiv3DFXBaseKeyFrm)
KIV_LEVEL_EMPTY(CKiv3DFXSmashKeyFrm, "CKiv3DFXSmashKeyFrm", 0, 0)
KIV_IMPLEMENT_DEFAULT(CKiv3DFXSmashKeyFrm, CKiv3DFXBaseKeyFrm)
