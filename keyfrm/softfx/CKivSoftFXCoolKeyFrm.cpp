#include "keyfrm/softfx/CKivSoftFXCoolKeyFrm.h"

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXCoolKeyFrm, CKivSoftFXArrayKeyFrm)

KIV_LEVEL(CKivSoftFXCoolKeyFrm, "CKivSoftFXCoolKeyFrm", 0, 0,
          KivMemoryField<&Self::CoolParam>("CoolParam", 255))
