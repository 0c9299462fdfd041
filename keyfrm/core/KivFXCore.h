// The keyframe core: the root keyframe, the list functions and the module.
#pragma once

#include "keyfrm/core/CKivFXBaseKeyFrm.h"
#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/core/KivFXKeyFrmModule.h"
