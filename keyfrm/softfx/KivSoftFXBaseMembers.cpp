#include "keyfrm/softfx/KivSoftFXBaseMembers.h"

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXFaderKeyFrm, CKivSoftFXBaseKeyFrm)
KIV_LEVEL(CKivSoftFXFaderKeyFrm, "CKivSoftFXFaderKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXFlashKeyFrm, CKivSoftFXBaseKeyFrm)
KIV_LEVEL(CKivSoftFXFlashKeyFrm, "CKivSoftFXFlashKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXMoveKeyFrm, CKivSoftFXBaseKeyFrm)
KIV_LEVEL(CKivSoftFXMoveKeyFrm, "CKivSoftFXMoveKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1"),
          KivMemoryField<&Self::Param2>("Param2"))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXShineKeyFrm, CKivSoftFXBaseKeyFrm)
KIV_LEVEL(CKivSoftFXShineKeyFrm, "CKivSoftFXShineKeyFrm", 0, 0,
          KivMemoryField<&Self::Param1>("Param1", 0),
          KivMemoryField<&Self::Param2>("Param2", 0))
