#include "keyfrm/softfx/CKivSoftFXArrayKeyFrm.h"

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXArrayKeyFrm, CKivSoftFXBaseKeyFrm)

KIV_LEVEL(CKivSoftFXArrayKeyFrm, "CKivSoftFXArrayKeyFrm", 0, 0,
          KivMemoryField<&Self::ArrayParam1>("ArrayParam1", 0),
          KivMemoryField<&Self::ArrayParam2>("ArrayParam2", 0),
          KivMemoryField<&Self::ArrayParam3>("ArrayParam3", 0),
          KivMemoryField<&Self::ArrayInts1>("ArrayInts1"),
          KivMemoryField<&Self::ArrayRects1>("ArrayRects1"),
          KivMemoryField<&Self::ArrayRects2>("ArrayRects2"),
          KivMemoryField<&Self::ArrayInts2>("ArrayInts2"),
          KivMemoryField<&Self::ArrayInts3>("ArrayInts3"))
