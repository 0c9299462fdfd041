// The 3-D effects without parameters of their own (blur wipe, screw, smash): their
// keyframes carry only the progress of the 3-D base.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"
#include "keyfrm/fx3d/KivFX3DFieldlessLevel.h"

KIV_DECLARE_FIELDLESS_KEYFRM(CKiv3DFXBlurWipeKeyFrm, CKiv3DFXBaseKeyFrm)
KIV_DECLARE_FIELDLESS_KEYFRM(CKiv3DFXScrewKeyFrm, CKiv3DFXBaseKeyFrm)
KIV_DECLARE_FIELDLESS_KEYFRM(CKiv3DFXSmashKeyFrm, CKiv3DFXBaseKeyFrm)
