// The interpolated tracks and their keyframes.
#pragma once

#include "keyfrm/tracks/CKivFXColor32KeyFrm.h"
#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"
#include "keyfrm/tracks/CKivFXDynamicKeyFrm.h"
#include "keyfrm/tracks/KivFXHandleModes.h"
#include "keyfrm/tracks/CKivFXInsKeyFrmList.h"
#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrm.h"
#include "keyfrm/tracks/CKivFXPosiKeyFrmList.h"
#include "keyfrm/tracks/CKivFXTransformKeyFrm.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
