#include "keyfrm/softfx/CKivSoftFXBaseKeyFrm.h"

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXBaseKeyFrm, CKivFXBaseKeyFrm)

KIV_LEVEL(CKivSoftFXBaseKeyFrm, "CKivSoftFXBaseKeyFrm", 0, 0,
          KivMemoryField<&Self::BaseParam>("BaseParam", 1))
