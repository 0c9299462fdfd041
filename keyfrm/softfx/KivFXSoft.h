// The soft (2-D) effect keyframes.
#pragma once

#include "keyfrm/softfx/CKivInsDoubleThree.h"
#include "keyfrm/softfx/CKivSoftFXAlphaKeyFrm.h"
#include "keyfrm/softfx/CKivSoftFXArrayKeyFrm.h"
#include "keyfrm/softfx/CKivSoftFXBaseKeyFrm.h"
#include "keyfrm/softfx/CKivSoftFXCoolKeyFrm.h"
#include "keyfrm/softfx/CKivSoftFXMovieKeyFrm.h"
#include "keyfrm/softfx/CKivSoftFXSlideInsStream.h"
#include "keyfrm/softfx/CKivSoftFXSlideKeyFrm.h"
#include "keyfrm/softfx/KivSoftFXArrayMembers.h"
#include "keyfrm/softfx/KivSoftFXBaseMembers.h"
#include "keyfrm/softfx/KivSoftFXCoolMembers.h"
