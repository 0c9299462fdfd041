// The array-based 3-D effects (grow, queue, spread, tile): a shared base level and four
// members, none with parameters beyond the progress of the 3-D base.
#pragma once

#include "keyfrm/fx3d/CKiv3DFXBaseKeyFrm.h"
#include "keyfrm/fx3d/KivFX3DFieldlessLevel.h"

// The shared base of the array effects; its record and element carry only its version.
KIV_DECLARE_FIELDLESS_KEYFRM(CKiv3DFXArrayKeyFrm, CKiv3DFXBaseKeyFrm)

KIV_DECLARE_FIELDLESS_KEYFRM(CKiv3DFXGrowKeyFrm, CKiv3DFXArrayKeyFrm)
KIV_DECLARE_FIELDLESS_KEYFRM(CKiv3DFXQueueKeyFrm, CKiv3DFXArrayKeyFrm)
KIV_DECLARE_FIELDLESS_KEYFRM(CKiv3DFXSpreadKeyFrm, CKiv3DFXArrayKeyFrm)
KIV_DECLARE_FIELDLESS_KEYFRM(CKiv3DFXTileKeyFrm, CKiv3DFXArrayKeyFrm)
