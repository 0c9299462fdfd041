// The effect objects.
#pragma once

#include "keyfrm/effectobj/CKivEffectBaseObj.h"
#include "keyfrm/effectobj/CKivEffectColorFlowObj.h"
#include "keyfrm/effectobj/CKivEffectShineLightObj.h"
