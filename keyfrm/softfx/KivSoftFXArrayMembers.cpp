#include "keyfrm/softfx/KivSoftFXArrayMembers.h"

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXAllyScrollKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL(CKivSoftFXAllyScrollKeyFrm, "CKivSoftFXAllyScrollKeyFrm", 0, 0,
          KivMemoryField<&Self::Points1>("Points1"),
          KivMemoryField<&Self::Rects1>("Rects1"))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXCrossKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL(CKivSoftFXCrossKeyFrm, "CKivSoftFXCrossKeyFrm", 0, 0,
          KivMemoryField<&Self::Ints1>("Ints1"))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXGlideKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL_EMPTY(CKivSoftFXGlideKeyFrm, "CKivSoftFXGlideKeyFrm", 0, 0)

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXGrowKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL(CKivSoftFXGrowKeyFrm, "CKivSoftFXGrowKeyFrm", 0, 0,
          KivMemoryField<&Self::Points1>("Points1"),
          KivMemoryField<&Self::Points2>("Points2"),
          KivMemoryField<&Self::Ints1>("Ints1"),
          KivMemoryField<&Self::Ints2>("Ints2"))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXPathKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL_EMPTY(CKivSoftFXPathKeyFrm, "CKivSoftFXPathKeyFrm", 0, 0)

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXPullKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL(CKivSoftFXPullKeyFrm, "CKivSoftFXPullKeyFrm", 0, 0,
          KivMemoryField<&Self::Ints1>("Ints1"))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXQueueKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL_EMPTY(CKivSoftFXQueueKeyFrm, "CKivSoftFXQueueKeyFrm", 0, 0)

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXScatterKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL(CKivSoftFXScatterKeyFrm, "CKivSoftFXScatterKeyFrm", 0, 0,
          KivMemoryField<&Self::Ints1>("Ints1", 0, kKivFieldNoAssign),
          KivMemoryField<&Self::Rects1>("Rects1", 0, kKivFieldNoAssign),
          KivMemoryField<&Self::Rects2>("Rects2", 0, kKivFieldNoAssign))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXScrubKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL_EMPTY(CKivSoftFXScrubKeyFrm, "CKivSoftFXScrubKeyFrm", 0, 0)

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXSpreadKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL(CKivSoftFXSpreadKeyFrm, "CKivSoftFXSpreadKeyFrm", 0, 0,
          KivMemoryField<&Self::Points1>("Points1"))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXStepBlurKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL(CKivSoftFXStepBlurKeyFrm, "CKivSoftFXStepBlurKeyFrm", 0, 0,
          KivMemoryField<&Self::Ints1>("Ints1"),
          KivMemoryField<&Self::Doubles1>("Doubles1"),
          KivMemoryField<&Self::Doubles2>("Doubles2"),
          KivMemoryField<&Self::Bytes1>("Bytes1"),
          KivMemoryField<&Self::Ints2>("Ints2"))

KIV_IMPLEMENT_SOFTFX_LEVEL(CKivSoftFXTypeKeyFrm, CKivSoftFXArrayKeyFrm)
KIV_LEVEL(CKivSoftFXTypeKeyFrm, "CKivSoftFXTypeKeyFrm", 0, kKivLevelSkipVersionConvert,
          KivMemoryField<&Self::Param1>("Param1", 2))
